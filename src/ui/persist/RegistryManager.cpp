#include "RegistryManager.h"

#include "ui/persist/PropExchangeRegistry.h"
#include "platform/mfc/afxapp.h"

#include <memory>

namespace
{
const REGSAM samReadWrite = KEY_READ | KEY_WRITE;

// Closes a key when it goes.
class CRegKey
{
public:
    explicit CRegKey(HKEY hKey) : m_hKey(hKey) {}
    ~CRegKey()
    {
        if (m_hKey)
            ::RegCloseKey(m_hKey);
    }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    operator HKEY() const { return m_hKey; }

private:
    HKEY m_hKey;
};
}

CXTPRegistryManager::CXTPRegistryManager(HKEY hKeyBase) : m_hKeyBase(hKeyBase) {}

BOOL CXTPRegistryManager::Init()
{
    if (m_pszRegistryKey && m_pszProfileName)
        return TRUE;
    if (CWinApp* pApp = AfxGetApp()) {
        m_pszRegistryKey = pApp->m_pszRegistryKey;
        m_pszProfileName = pApp->m_pszProfileName;
    }
    return m_pszRegistryKey && m_pszProfileName;
}

HKEY CXTPRegistryManager::GetAppRegistryKey(REGSAM samDesired)
{
    if (!Init())
        return nullptr;
    HKEY hSoftKey = nullptr;
    if (::RegOpenKeyExW(m_hKeyBase, L"Software", 0, samDesired, &hSoftKey) != ERROR_SUCCESS)
        return nullptr;
    CRegKey softKey(hSoftKey);
    HKEY hCompanyKey = nullptr;
    if (::RegCreateKeyExW(softKey, m_pszRegistryKey, 0, nullptr, REG_OPTION_NON_VOLATILE, samDesired, nullptr,
                          &hCompanyKey, nullptr) != ERROR_SUCCESS)
        return nullptr;
    CRegKey companyKey(hCompanyKey);
    HKEY hAppKey = nullptr;
    if (::RegCreateKeyExW(companyKey, m_pszProfileName, 0, nullptr, REG_OPTION_NON_VOLATILE, samDesired, nullptr,
                          &hAppKey, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return hAppKey;
}

HKEY CXTPRegistryManager::GetSectionKey(LPCTSTR lpszSection, REGSAM samDesired)
{
    CRegKey appKey(GetAppRegistryKey(samDesired));
    if (!appKey)
        return nullptr;
    HKEY hSectionKey = nullptr;
    if (::RegCreateKeyExW(appKey, lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, samDesired, nullptr,
                          &hSectionKey, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return hSectionKey;
}

BOOL CXTPRegistryManager::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    if (!lpszEntry) {
        CRegKey appKey(GetAppRegistryKey(samReadWrite));
        return appKey && AfxDelRegTreeHelper(appKey, lpszSection) == ERROR_SUCCESS;
    }
    CRegKey sectionKey(GetSectionKey(lpszSection, samReadWrite));
    if (!sectionKey)
        return FALSE;
    if (!lpszValue)
        return ::RegDeleteValueW(sectionKey, lpszEntry) == ERROR_SUCCESS;
    return ::RegSetValueExW(sectionKey, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                            static_cast<DWORD>((wcslen(lpszValue) + 1) * sizeof(WCHAR))) == ERROR_SUCCESS;
}

CString CXTPRegistryManager::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    CString strDefault(lpszDefault);
    if (!Init())
        return strDefault;
    CRegKey sectionKey(GetSectionKey(lpszSection, KEY_READ));
    DWORD dwType = 0;
    DWORD nBytes = 0;
    if (!sectionKey || ::RegQueryValueExW(sectionKey, lpszEntry, nullptr, &dwType, nullptr, &nBytes) != ERROR_SUCCESS ||
        (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
        return strDefault;
    // The stored text need not end with a zero: the buffer has room for one and is terminated here.
    CString strValue;
    DWORD nChars = nBytes / sizeof(WCHAR);
    LPWSTR pszBuffer = strValue.GetBuffer(static_cast<int>(nChars + 1));
    DWORD nRead = nBytes;
    if (::RegQueryValueExW(sectionKey, lpszEntry, nullptr, &dwType, reinterpret_cast<BYTE*>(pszBuffer), &nRead) !=
        ERROR_SUCCESS) {
        strValue.ReleaseBuffer(0);
        return strDefault;
    }
    pszBuffer[std::min(nRead, nBytes) / sizeof(WCHAR)] = 0;
    strValue.ReleaseBuffer();
    return strValue;
}

BOOL CXTPRegistryManager::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    DWORD dwValue = static_cast<DWORD>(nValue);
    return WriteFixed(lpszSection, lpszEntry, REG_DWORD, &dwValue, sizeof(dwValue));
}

UINT CXTPRegistryManager::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    DWORD dwValue = 0;
    return ReadFixed(lpszSection, lpszEntry, REG_DWORD, &dwValue, sizeof(dwValue)) ? dwValue : static_cast<UINT>(nDefault);
}

BOOL CXTPRegistryManager::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes)
{
    return WriteFixed(lpszSection, lpszEntry, REG_BINARY, pData, nBytes);
}

BOOL CXTPRegistryManager::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, BYTE** ppData, UINT* pBytes)
{
    *ppData = nullptr;
    *pBytes = 0;
    if (!Init())
        return FALSE;
    CRegKey sectionKey(GetSectionKey(lpszSection, KEY_READ));
    DWORD dwType = 0;
    DWORD nBytes = 0;
    if (!sectionKey || ::RegQueryValueExW(sectionKey, lpszEntry, nullptr, &dwType, nullptr, &nBytes) != ERROR_SUCCESS ||
        dwType != REG_BINARY)
        return FALSE;
    std::unique_ptr<BYTE[]> data(new (std::nothrow) BYTE[nBytes ? nBytes : 1]);
    DWORD nRead = nBytes;
    if (!data || ::RegQueryValueExW(sectionKey, lpszEntry, nullptr, &dwType, data.get(), &nRead) != ERROR_SUCCESS ||
        nRead != nBytes)
        return FALSE;
    *ppData = data.release();
    *pBytes = nBytes;
    return TRUE;
}

BOOL CXTPRegistryManager::WriteFixed(LPCTSTR lpszSection, LPCTSTR lpszEntry, DWORD dwType, const void* pData, DWORD nBytes)
{
    CRegKey sectionKey(GetSectionKey(lpszSection, samReadWrite));
    return sectionKey && ::RegSetValueExW(sectionKey, lpszEntry, 0, dwType, static_cast<const BYTE*>(pData), nBytes) ==
                             ERROR_SUCCESS;
}

// Exactly nBytes of that type: a larger (or smaller) stored value is refused, never copied over the buffer.
BOOL CXTPRegistryManager::ReadFixed(LPCTSTR lpszSection, LPCTSTR lpszEntry, DWORD dwType, void* pData, DWORD nBytes)
{
    if (!Init())
        return FALSE;
    CRegKey sectionKey(GetSectionKey(lpszSection, KEY_READ));
    DWORD dwStoredType = 0;
    DWORD nStored = 0;
    if (!sectionKey ||
        ::RegQueryValueExW(sectionKey, lpszEntry, nullptr, &dwStoredType, nullptr, &nStored) != ERROR_SUCCESS ||
        dwStoredType != dwType || nStored != nBytes)
        return FALSE;
    BYTE buffer[16];
    DWORD nRead = nBytes;
    if (::RegQueryValueExW(sectionKey, lpszEntry, nullptr, &dwStoredType, buffer, &nRead) != ERROR_SUCCESS ||
        nRead != nBytes)
        return FALSE;
    memcpy(pData, buffer, nBytes);
    return TRUE;
}

BOOL CXTPRegistryManager::WriteProfilePoint(LPCTSTR s, LPCTSTR e, CPoint* p) { return WriteFixed(s, e, REG_BINARY, p, sizeof(POINT)); }
BOOL CXTPRegistryManager::GetProfilePoint(LPCTSTR s, LPCTSTR e, CPoint* p) { return ReadFixed(s, e, REG_BINARY, p, sizeof(POINT)); }
BOOL CXTPRegistryManager::WriteProfileRect(LPCTSTR s, LPCTSTR e, CRect* p) { return WriteFixed(s, e, REG_BINARY, p, sizeof(RECT)); }
BOOL CXTPRegistryManager::GetProfileRect(LPCTSTR s, LPCTSTR e, CRect* p) { return ReadFixed(s, e, REG_BINARY, p, sizeof(RECT)); }
BOOL CXTPRegistryManager::WriteProfileSize(LPCTSTR s, LPCTSTR e, CSize* p) { return WriteFixed(s, e, REG_BINARY, p, sizeof(SIZE)); }
BOOL CXTPRegistryManager::GetProfileSize(LPCTSTR s, LPCTSTR e, CSize* p) { return ReadFixed(s, e, REG_BINARY, p, sizeof(SIZE)); }
BOOL CXTPRegistryManager::WriteProfileDouble(LPCTSTR s, LPCTSTR e, double* p) { return WriteFixed(s, e, REG_BINARY, p, sizeof(double)); }
BOOL CXTPRegistryManager::GetProfileDouble(LPCTSTR s, LPCTSTR e, double* p) { return ReadFixed(s, e, REG_BINARY, p, sizeof(double)); }
BOOL CXTPRegistryManager::WriteProfileDword(LPCTSTR s, LPCTSTR e, DWORD* p) { return WriteFixed(s, e, REG_DWORD, p, sizeof(DWORD)); }
BOOL CXTPRegistryManager::GetProfileDword(LPCTSTR s, LPCTSTR e, DWORD* p) { return ReadFixed(s, e, REG_DWORD, p, sizeof(DWORD)); }
BOOL CXTPRegistryManager::WriteProfileColor(LPCTSTR s, LPCTSTR e, COLORREF* p) { return WriteProfileDword(s, e, p); }
BOOL CXTPRegistryManager::GetProfileColor(LPCTSTR s, LPCTSTR e, COLORREF* p) { return GetProfileDword(s, e, p); }

// A name longer than the buffer is passed over: the walk goes on with the next index. Any other error ends the
// walk, as it would come back at every index (a key deleted meanwhile answers so for ever).
int CXTPRegistryManager::EnumValues(LPCTSTR lpszSection, CMap<CString, LPCTSTR, DWORD, DWORD&>* pValueMap,
                                    CStringArray* pValueNames)
{
    if (!Init())
        return 0;
    CRegKey sectionKey(GetSectionKey(lpszSection, KEY_READ));
    if (!sectionKey)
        return 0;
    int nCount = 0;
    for (DWORD nIndex = 0;; ++nIndex) {
        WCHAR szName[512];
        DWORD nLength = _countof(szName);
        DWORD dwType = 0;
        LONG lResult = ::RegEnumValueW(sectionKey, nIndex, szName, &nLength, nullptr, &dwType, nullptr, nullptr);
        if (lResult == ERROR_MORE_DATA)
            continue;
        if (lResult != ERROR_SUCCESS)
            break;
        if (pValueNames)
            pValueNames->Add(CString(szName));
        if (pValueMap)
            pValueMap->SetAt(szName, dwType);
        ++nCount;
    }
    return nCount;
}

int CXTPRegistryManager::EnumKeys(LPCTSTR lpszSection, CStringArray& arrKeyNames)
{
    if (!Init())
        return 0;
    CRegKey sectionKey(GetSectionKey(lpszSection, KEY_READ));
    if (!sectionKey)
        return 0;
    int nCount = 0;
    for (DWORD nIndex = 0;; ++nIndex) {
        WCHAR szName[512];
        DWORD nLength = _countof(szName);
        LONG lResult = ::RegEnumKeyExW(sectionKey, nIndex, szName, &nLength, nullptr, nullptr, nullptr, nullptr);
        if (lResult == ERROR_MORE_DATA)
            continue;
        if (lResult != ERROR_SUCCESS)
            break;
        arrKeyNames.Add(CString(szName));
        ++nCount;
    }
    return nCount;
}

BOOL CXTPRegistryManager::DeleteKey(LPCTSTR lpszSection, LPCTSTR lpszKey)
{
    CRegKey sectionKey(GetSectionKey(lpszSection, samReadWrite));
    return sectionKey && AfxDelRegTreeHelper(sectionKey, lpszKey) == ERROR_SUCCESS;
}

BOOL CXTPRegistryManager::DeleteValue(LPCTSTR lpszSection, LPCTSTR lpszKey)
{
    CRegKey sectionKey(GetSectionKey(lpszSection, KEY_ALL_ACCESS));
    return sectionKey && ::RegDeleteValueW(sectionKey, lpszKey) == ERROR_SUCCESS;
}
