// Typed settings under a registry root the caller chooses, in the shape of the application's profile
// functions: root\Software\<registry key>\<profile name>\<section>. The two names come from the application
// object; without it (or without a registry key) every read gives its default and every write fails.
// Nothing is reported: reads give the default, writes answer FALSE.
#pragma once

#include "platform/mfc/afx.h"
#include "platform/mfc/afxgeom.h"

class CXTPRegistryManager
{
public:
    explicit CXTPRegistryManager(HKEY hKeyBase = HKEY_CURRENT_USER);
    virtual ~CXTPRegistryManager() = default;
    CXTPRegistryManager(const CXTPRegistryManager&) = delete;
    CXTPRegistryManager& operator=(const CXTPRegistryManager&) = delete;

    // Opened (created when missing) keys, the caller's to close; null when a step fails.
    virtual HKEY GetAppRegistryKey(REGSAM samDesired = KEY_READ | KEY_WRITE);
    virtual HKEY GetSectionKey(LPCTSTR lpszSection, REGSAM samDesired = KEY_READ | KEY_WRITE);

    // A null entry deletes the section, a null value the entry.
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = NULL);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    BOOL WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes);
    // *ppData comes from new[] and is the caller's; null (and FALSE) on failure.
    BOOL GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, BYTE** ppData, UINT* pBytes);

    // Fixed-size values as REG_BINARY of their size; a read needs a stored value of exactly that size and
    // leaves the caller's variable alone otherwise.
    BOOL WriteProfilePoint(LPCTSTR lpszSection, LPCTSTR lpszEntry, CPoint* pValue);
    BOOL GetProfilePoint(LPCTSTR lpszSection, LPCTSTR lpszEntry, CPoint* ptResult);
    BOOL WriteProfileRect(LPCTSTR lpszSection, LPCTSTR lpszEntry, CRect* pValue);
    BOOL GetProfileRect(LPCTSTR lpszSection, LPCTSTR lpszEntry, CRect* rcResult);
    BOOL WriteProfileSize(LPCTSTR lpszSection, LPCTSTR lpszEntry, CSize* pValue);
    BOOL GetProfileSize(LPCTSTR lpszSection, LPCTSTR lpszEntry, CSize* rcResult);
    BOOL WriteProfileDouble(LPCTSTR lpszSection, LPCTSTR lpszEntry, double* pValue);
    BOOL GetProfileDouble(LPCTSTR lpszSection, LPCTSTR lpszEntry, double* dResult);
    // A colour as REG_DWORD.
    BOOL WriteProfileDword(LPCTSTR lpszSection, LPCTSTR lpszEntry, DWORD* pValue);
    BOOL GetProfileDword(LPCTSTR lpszSection, LPCTSTR lpszEntry, DWORD* dwResult);
    BOOL WriteProfileColor(LPCTSTR lpszSection, LPCTSTR lpszEntry, COLORREF* pValue);
    BOOL GetProfileColor(LPCTSTR lpszSection, LPCTSTR lpszEntry, COLORREF* rgbResult);

    // The section's value names (and their registry types into pValueMap); the number of values.
    int EnumValues(LPCTSTR lpszSection, CMap<CString, LPCTSTR, DWORD, DWORD&>* pValueMap, CStringArray* pValueNames);
    int EnumKeys(LPCTSTR lpszSection, CStringArray& arrKeyNames);
    // The subkey with everything below it.
    BOOL DeleteKey(LPCTSTR lpszSection, LPCTSTR lpszKey);
    BOOL DeleteValue(LPCTSTR lpszSection, LPCTSTR lpszKey);

private:
    BOOL Init();
    BOOL WriteFixed(LPCTSTR lpszSection, LPCTSTR lpszEntry, DWORD dwType, const void* pData, DWORD nBytes);
    BOOL ReadFixed(LPCTSTR lpszSection, LPCTSTR lpszEntry, DWORD dwType, void* pData, DWORD nBytes);

    HKEY m_hKeyBase;
    LPCTSTR m_pszRegistryKey = nullptr;
    LPCTSTR m_pszProfileName = nullptr;
};
