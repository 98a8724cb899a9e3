#include "TempFile.h"

#include "MessageText.h"
#include "PathUtil.h"

namespace {

[[noreturn]] void ThrowLastFileError(LPCTSTR lpszFileName)
{
    LONG lOsError = static_cast<LONG>(::GetLastError());
    if (lOsError == 0)
        lOsError = ERROR_CANNOT_MAKE;
    AfxThrowFileException(CFileException::OsErrorToException(lOsError), lOsError, lpszFileName);
}

} // namespace

CCurrentDirectory::CCurrentDirectory(LPCTSTR lpszFolder)
    : m_bFailed(FALSE)
{
    DWORD nLength = ::GetCurrentDirectoryW(0, nullptr);
    ::GetCurrentDirectoryW(nLength, m_strPrevious.GetBuffer(static_cast<int>(nLength)));
    m_strPrevious.ReleaseBuffer();
    if (!::SetCurrentDirectoryW(lpszFolder)) {
        m_bFailed = TRUE;
        AfxMessageBox(GetSystemErrorText(::GetLastError()), MB_ICONERROR);
    }
}

CCurrentDirectory::~CCurrentDirectory()
{
    if (!m_bFailed)
        ::SetCurrentDirectoryW(m_strPrevious);
}

CTempFile::CTempFile(LPCTSTR lpszFolder, LPCTSTR lpszPrefix, LPCTSTR lpszExtension, BOOL bAutoDelete)
    : m_bAutoDelete(bAutoDelete)
{
    m_strPath = GetTempFileName(lpszFolder, lpszPrefix);
    if (m_strPath.IsEmpty())
        ThrowLastFileError(lpszFolder);
    if (lpszExtension && *lpszExtension) {
        CString strRenamed = m_strPath;
        ReplaceExtension(strRenamed, lpszExtension);
        if (!::MoveFileW(m_strPath, strRenamed)) {
            DWORD dwError = ::GetLastError();
            ::DeleteFileW(m_strPath);
            ::SetLastError(dwError);
            ThrowLastFileError(strRenamed);
        }
        m_strPath = strRenamed;
    }
}

CTempFile::~CTempFile()
{
    if (m_bAutoDelete)
        ::DeleteFileW(m_strPath);
}
