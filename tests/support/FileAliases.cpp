#include "FileAliases.h"

#include <windows.h>

namespace {

// Wine's own export; absent on Windows.
CString UnixRootName(const CString& strPath)
{
    using PFN_UNIX_NAME = char*(CDECL*)(LPCWSTR);
    auto pfnUnixName = reinterpret_cast<PFN_UNIX_NAME>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* pszUnix = pfnUnixName ? pfnUnixName(strPath) : nullptr;
    if (!pszUnix)
        return CString();
    int nLength = ::MultiByteToWideChar(CP_UTF8, 0, pszUnix, -1, nullptr, 0);
    std::wstring unix(static_cast<size_t>(nLength), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, pszUnix, -1, &unix[0], nLength);
    ::HeapFree(::GetProcessHeap(), 0, pszUnix);
    CString strName = CString(L"Z:") + unix.c_str();
    strName.Replace(L'/', L'\\');
    return strName;
}

} // namespace

std::vector<CString> OtherNamesOf(const CString& strPath)
{
    std::vector<CString> names;
    TCHAR szShort[MAX_PATH] = {};
    DWORD nShort = ::GetShortPathNameW(strPath, szShort, MAX_PATH);
    if (nShort > 0 && nShort < MAX_PATH && strPath.CompareNoCase(szShort) != 0)
        names.push_back(szShort);
    names.push_back(L"\\\\?\\" + strPath);
    CString strUnixRoot = UnixRootName(strPath);
    if (!strUnixRoot.IsEmpty() && ::GetFileAttributesW(strUnixRoot) != INVALID_FILE_ATTRIBUTES)
        names.push_back(strUnixRoot);
    return names;
}
