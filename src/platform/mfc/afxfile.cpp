#include "afxfile.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace
{
[[noreturn]] void ThrowFileError(DWORD dwError, LPCTSTR lpszFileName)
{
    LONG lOsError = static_cast<LONG>(dwError);
    AfxThrowFileException(dwError ? CFileException::OsErrorToException(lOsError) : CFileException::genericException,
                          lOsError, lpszFileName);
}

CTime TimeOf(const FILETIME& ft)
{
    ULONGLONG ticks = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    const ULONGLONG unixEpoch = 116444736000000000ULL; // 1 January 1970 in 100 ns ticks since 1601
    if (ticks < unixEpoch)
        return CTime();
    return CTime(static_cast<time_t>((ticks - unixEpoch) / 10000000ULL));
}

CString FullPath(LPCTSTR lpszFileName)
{
    DWORD n = ::GetFullPathNameW(lpszFileName, 0, nullptr, nullptr);
    if (n == 0)
        return CString(lpszFileName);
    CString path;
    DWORD len = ::GetFullPathNameW(lpszFileName, n, path.GetBuffer(static_cast<int>(n)), nullptr);
    path.ReleaseBuffer(len < n ? static_cast<int>(len) : 0);
    return path.IsEmpty() ? CString(lpszFileName) : path;
}
} // namespace

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags) { OpenOrThrow(lpszFileName, nOpenFlags); }

CFile::~CFile()
{
    // A destructor must not throw: an unflushed failure here has nobody left to tell.
    if (m_hFile != INVALID_HANDLE_VALUE)
        Abort();
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        Close();

    DWORD dwAccess = 0;
    switch (nOpenFlags & 3) {
    case modeRead: dwAccess = GENERIC_READ; break;
    case modeWrite: dwAccess = GENERIC_WRITE; break;
    case modeReadWrite: dwAccess = GENERIC_READ | GENERIC_WRITE; break;
    default: AfxThrowInvalidArgException();
    }

    DWORD dwShare = 0;
    switch (nOpenFlags & 0x70) {
    case shareCompat:
    case shareExclusive: dwShare = 0; break;
    case shareDenyWrite: dwShare = FILE_SHARE_READ; break;
    case shareDenyRead: dwShare = FILE_SHARE_WRITE; break;
    case shareDenyNone: dwShare = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: AfxThrowInvalidArgException();
    }

    DWORD dwCreate = OPEN_EXISTING;
    if (nOpenFlags & modeCreate)
        dwCreate = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;

    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, (nOpenFlags & modeNoInherit) ? FALSE : TRUE};
    HANDLE hFile = ::CreateFileW(lpszFileName, dwAccess, dwShare, &sa, dwCreate, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        if (pError) {
            LONG lOsError = static_cast<LONG>(::GetLastError());
            pError->m_cause = CFileException::OsErrorToException(lOsError);
            pError->m_lOsError = lOsError;
            pError->m_strFileName = lpszFileName;
        }
        return FALSE;
    }
    m_hFile = hFile;
    m_strFileName = FullPath(lpszFileName);
    return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    DWORD dwRead = 0;
    if (!::ReadFile(m_hFile, lpBuf, nCount, &dwRead, nullptr))
        ThrowLastError();
    return dwRead;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    DWORD dwWritten = 0;
    if (!::WriteFile(m_hFile, lpBuf, nCount, &dwWritten, nullptr))
        ThrowLastError();
    if (dwWritten < nCount)
        ThrowFileError(ERROR_DISK_FULL, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    static const DWORD s_method[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    if (nFrom > end)
        AfxThrowInvalidArgException();
    LARGE_INTEGER distance, position;
    distance.QuadPart = lOff;
    if (!::SetFilePointerEx(m_hFile, distance, &position, s_method[nFrom]))
        ThrowLastError();
    return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(m_hFile, &size))
        ThrowLastError();
    return static_cast<ULONGLONG>(size.QuadPart);
}

void CFile::SetLength(ULONGLONG dwNewLen)
{
    Seek(static_cast<LONGLONG>(dwNewLen), begin);
    if (!::SetEndOfFile(m_hFile))
        ThrowLastError();
}

ULONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER distance = {}, position;
    if (!::SetFilePointerEx(m_hFile, distance, &position, FILE_CURRENT))
        ThrowLastError();
    return static_cast<ULONGLONG>(position.QuadPart);
}

void CFile::Flush()
{
    if (m_hFile != INVALID_HANDLE_VALUE && !::FlushFileBuffers(m_hFile))
        ThrowLastError();
}

void CFile::Close()
{
    HANDLE hFile = m_hFile;
    CString strFileName = m_strFileName;
    m_hFile = INVALID_HANDLE_VALUE;
    m_strFileName.Empty();
    if (hFile != INVALID_HANDLE_VALUE && !::CloseHandle(hFile))
        ThrowFileError(::GetLastError(), strFileName);
}

void CFile::Abort()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_strFileName.Empty();
}

CString CFile::GetFileName() const
{
    int nSlash = std::max(m_strFileName.ReverseFind(L'\\'), m_strFileName.ReverseFind(L'/'));
    return m_strFileName.Mid(nSlash + 1);
}

void CFile::Remove(LPCTSTR lpszFileName)
{
    if (!::DeleteFileW(lpszFileName))
        ThrowFileError(::GetLastError(), lpszFileName);
}

void CFile::Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName)
{
    if (!::MoveFileW(lpszOldName, lpszNewName))
        ThrowFileError(::GetLastError(), lpszOldName);
}

BOOL CFile::GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!lpszFileName || !::GetFileAttributesExW(lpszFileName, GetFileExInfoStandard, &data))
        return FALSE;
    CString fullName = FullPath(lpszFileName);
    ::lstrcpynW(rStatus.m_szFullName, fullName, MAX_PATH);
    rStatus.m_ctime = TimeOf(data.ftCreationTime);
    rStatus.m_atime = TimeOf(data.ftLastAccessTime);
    rStatus.m_mtime = TimeOf(data.ftLastWriteTime);
    rStatus.m_size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    rStatus.m_attribute = static_cast<BYTE>(data.dwFileAttributes);
    return TRUE;
}

void CFile::OpenOrThrow(LPCTSTR lpszFileName, UINT nOpenFlags)
{
    CFileException error;
    if (!Open(lpszFileName, nOpenFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

void CFile::ThrowLastError() const
{
    ThrowFileError(::GetLastError(), m_strFileName);
}
