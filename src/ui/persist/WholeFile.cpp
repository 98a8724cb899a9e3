#include "WholeFile.h"

BOOL ReadWholeFile(LPCTSTR pszPath, std::vector<BYTE>& bytes, ULONGLONG nMax)
{
    HANDLE hFile = ::CreateFileW(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    LARGE_INTEGER size = {};
    BOOL bResult = ::GetFileSizeEx(hFile, &size) && static_cast<ULONGLONG>(size.QuadPart) <= nMax &&
                   static_cast<ULONGLONG>(size.QuadPart) < MAXDWORD;
    if (bResult) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD nRead = 0;
        bResult = bytes.empty() || (::ReadFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &nRead, nullptr) &&
                                    nRead == bytes.size());
    }
    ::CloseHandle(hFile);
    return bResult;
}

BOOL WriteWholeFile(LPCTSTR pszPath, const void* pData, size_t nSize)
{
    CString strPartial = CString(pszPath) + L".tmp";
    HANDLE hFile = ::CreateFileW(strPartial, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD dwWritten = 0;
    BOOL bWritten = nSize < MAXDWORD && ::WriteFile(hFile, pData, static_cast<DWORD>(nSize), &dwWritten, nullptr) &&
                    dwWritten == nSize;
    ::CloseHandle(hFile);
    if (!bWritten || !::MoveFileExW(strPartial, pszPath, MOVEFILE_REPLACE_EXISTING)) {
        ::DeleteFileW(strPartial);
        return FALSE;
    }
    return TRUE;
}
