// The registry store: a section is a key, a value a registry value. Saving a value equal to its default removes
// the stored one, so the key holds only what differs. Registry errors are not reported: a section that cannot
// be opened loads its defaults and saves nothing. A loading section reads all its values in one enumeration when
// it is opened (one call per value instead of three through the registry server).
#pragma once

#include "ui/persist/PropExchange.h"

#include <map>
#include <vector>

class CXTPPropExchangeRegistry : public CXTPPropExchange
{
    DECLARE_DYNAMIC(CXTPPropExchangeRegistry)
public:
    // hParentKey stays the caller's; the section's key is opened (created) on the first value.
    CXTPPropExchangeRegistry(BOOL bLoading, HKEY hParentKey, LPCTSTR lpszSection);
    ~CXTPPropExchangeRegistry() override;

    // Numbers as REG_DWORD, texts as REG_SZ, rectangles and sizes as "%i, %i, %i, %i" and "%i, %i", float and
    // double as REG_BINARY of 4 and 8 bytes. A stored value of another type or size is refused (FALSE, the
    // variable unchanged).
    BOOL ExchangeValue(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp, const void* pvDefault = NULL) override;
    BOOL ExchangeBlob(LPCTSTR pszPropName, BYTE*& pData, DWORD& nBytes) override;
    CXTPPropExchange* GetSection(LPCTSTR pszSection) override;
    void EmptySection() override;
    BOOL IsAllowBlobValues() const override { return TRUE; }
    BOOL OnBeforeExchange() override;

    BOOL IsPropertyExists(LPCTSTR pszPropName);
    BOOL IsSectionExists(LPCTSTR pszSection) override;

private:
    struct CStoredValue
    {
        DWORD dwType = 0;
        std::vector<BYTE> data;
    };
    // Registry value names compare without case.
    struct CNameLess
    {
        bool operator()(const CString& a, const CString& b) const;
    };

    void CloseKey();
    void ReadStoredValues();
    const CStoredValue* FindStoredValue(LPCTSTR pszPropName) const;
    // Reads a value of that type whose size is within [nMin, nMax] bytes; FALSE when absent or different.
    BOOL QueryValue(LPCTSTR pszPropName, DWORD dwType, void* pData, DWORD nMin, DWORD nMax, DWORD* pnRead = NULL);
    BOOL QueryString(LPCTSTR pszPropName, CString& strValue);
    BOOL SetValue(LPCTSTR pszPropName, DWORD dwType, const void* pData, DWORD nBytes);
    BOOL SetString(LPCTSTR pszPropName, const CString& strValue);

    HKEY m_hSectionKey = nullptr;
    HKEY m_hParentKey;
    CString m_strSectionName;
    std::map<CString, CStoredValue, CNameLess> m_values;
};

// Deletes a key with all its subkeys (the system refuses a key that has subkeys).
LONG AfxDelRegTreeHelper(HKEY hParentKey, const CString& strKeyName);
