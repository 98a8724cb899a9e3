// Machine-wide values of the application: HKEY_LOCAL_MACHINE\SOFTWARE\<registry key>\<profile name>\<section>.
#pragma once

#include "platform/mfc/afxstr.h"

#include <vector>

// Opens the section for reading, or creates it for reading and writing. With a full key the section is
// looked up under HKEY_LOCAL_MACHINE\<full key> instead of under the application's key.
BOOL RegOpenAppKey(LPCTSTR lpszSection, BOOL bCreate, HKEY& hKey, LPCTSTR lpszFullKey = nullptr);

// The default when the section or the value is missing (or of another type).
CString RegGetString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = L"");
int RegGetInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault = 0);
std::vector<BYTE> RegGetBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, const std::vector<BYTE>& defaultData = {});

// Create the section when needed; a null or empty string deletes the value.
BOOL RegSetString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
BOOL RegSetInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
BOOL RegSetBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, const void* pData, UINT nBytes);
