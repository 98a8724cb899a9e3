#include "RegistryUtil.h"

#include "platform/mfc/afxappinfo.h"

#include <cstring>

namespace {

BOOL GetAppKeyPath(LPCTSTR lpszSection, LPCTSTR lpszFullKey, CString& strKey)
{
    if (lpszFullKey) {
        strKey.Format(L"%s\\%s", lpszFullKey, lpszSection);
        return TRUE;
    }
    CString strRegistryKey = AfxGetRegistryKey(), strProfile = AfxGetProfileName();
    // Without the application's key the values would land in a malformed key of SOFTWARE.
    if (strRegistryKey.IsEmpty() || strProfile.IsEmpty())
        return FALSE;
    strKey.Format(L"SOFTWARE\\%s\\%s\\%s", strRegistryKey.GetString(), strProfile.GetString(), lpszSection);
    return TRUE;
}

enum class KeyAccess { read, write, create };

// An open section of the application's key, closed at the end of the operation.
class CAppKey
{
public:
    CAppKey(LPCTSTR lpszSection, KeyAccess access)
    {
        CString strKey;
        if (!GetAppKeyPath(lpszSection, nullptr, strKey))
            return;
        if (access == KeyAccess::create)
            m_lResult = ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, strKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          KEY_READ | KEY_WRITE, nullptr, &m_hKey, nullptr);
        else
            m_lResult = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, strKey, 0,
                                        access == KeyAccess::write ? KEY_READ | KEY_WRITE : KEY_READ, &m_hKey);
    }
    ~CAppKey()
    {
        if (IsOpen())
            ::RegCloseKey(m_hKey);
    }
    CAppKey(const CAppKey&) = delete;
    CAppKey& operator=(const CAppKey&) = delete;

    BOOL IsOpen() const { return m_lResult == ERROR_SUCCESS; }
    BOOL IsMissing() const { return m_lResult == ERROR_FILE_NOT_FOUND; }

    // The value's bytes, when it exists with the given type.
    BOOL Query(LPCTSTR lpszEntry, DWORD dwType, std::vector<BYTE>& data) const
    {
        DWORD dwFound = 0, cbData = 0;
        if (!IsOpen() || ::RegQueryValueExW(m_hKey, lpszEntry, nullptr, &dwFound, nullptr, &cbData) != ERROR_SUCCESS
            || dwFound != dwType)
            return FALSE;
        data.resize(cbData);
        if (::RegQueryValueExW(m_hKey, lpszEntry, nullptr, &dwFound, data.data(), &cbData) != ERROR_SUCCESS
            || dwFound != dwType)
            return FALSE;
        data.resize(cbData);
        return TRUE;
    }

    BOOL Set(LPCTSTR lpszEntry, DWORD dwType, const void* pData, UINT nBytes) const
    {
        return IsOpen()
               && ::RegSetValueExW(m_hKey, lpszEntry, 0, dwType, static_cast<const BYTE*>(pData), nBytes) == ERROR_SUCCESS;
    }

    BOOL Delete(LPCTSTR lpszEntry) const
    {
        if (!IsOpen())
            return FALSE;
        LONG lResult = ::RegDeleteValueW(m_hKey, lpszEntry);
        return lResult == ERROR_SUCCESS || lResult == ERROR_FILE_NOT_FOUND;
    }

private:
    HKEY m_hKey = nullptr;
    LONG m_lResult = ERROR_BAD_PATHNAME;
};

} // namespace

BOOL RegOpenAppKey(LPCTSTR lpszSection, BOOL bCreate, HKEY& hKey, LPCTSTR lpszFullKey)
{
    CString strKey;
    if (!GetAppKeyPath(lpszSection, lpszFullKey, strKey))
        return FALSE;
    LONG lResult = bCreate ? ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, strKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                               KEY_READ | KEY_WRITE, nullptr, &hKey, nullptr)
                           : ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, strKey, 0, KEY_READ, &hKey);
    return lResult == ERROR_SUCCESS;
}

CString RegGetString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    std::vector<BYTE> data;
    if (!CAppKey(lpszSection, KeyAccess::read).Query(lpszEntry, REG_SZ, data))
        return lpszDefault;
    // A stored string need not carry its terminator: take the characters up to the first null.
    CString strValue(reinterpret_cast<LPCWSTR>(data.data()), static_cast<int>(data.size() / sizeof(WCHAR)));
    int nEnd = strValue.Find(L'\0');
    if (nEnd >= 0)
        strValue.Truncate(nEnd);
    return strValue;
}

int RegGetInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    std::vector<BYTE> data;
    if (!CAppKey(lpszSection, KeyAccess::read).Query(lpszEntry, REG_DWORD, data) || data.size() != sizeof(DWORD))
        return nDefault;
    DWORD dwValue;
    memcpy(&dwValue, data.data(), sizeof(dwValue));
    return static_cast<int>(dwValue);
}

std::vector<BYTE> RegGetBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, const std::vector<BYTE>& defaultData)
{
    std::vector<BYTE> data;
    if (!CAppKey(lpszSection, KeyAccess::read).Query(lpszEntry, REG_BINARY, data))
        return defaultData;
    return data;
}

BOOL RegSetString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    if (!lpszValue || !*lpszValue) {
        CAppKey key(lpszSection, KeyAccess::write);
        // A missing section holds no value either.
        return key.IsMissing() || key.Delete(lpszEntry);
    }
    UINT nBytes = static_cast<UINT>((wcslen(lpszValue) + 1) * sizeof(WCHAR));
    return CAppKey(lpszSection, KeyAccess::create).Set(lpszEntry, REG_SZ, lpszValue, nBytes);
}

BOOL RegSetInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    DWORD dwValue = static_cast<DWORD>(nValue);
    return CAppKey(lpszSection, KeyAccess::create).Set(lpszEntry, REG_DWORD, &dwValue, sizeof(dwValue));
}

BOOL RegSetBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, const void* pData, UINT nBytes)
{
    return CAppKey(lpszSection, KeyAccess::create).Set(lpszEntry, REG_BINARY, pData, nBytes);
}
