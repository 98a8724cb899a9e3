#include "afxinet.h"

#include "platform/mfc/afxstr.h"

IMPLEMENT_DYNAMIC(CInternetException, CException)
IMPLEMENT_DYNAMIC(CInternetFile, CObject)
IMPLEMENT_DYNAMIC(CFtpConnection, CObject)
IMPLEMENT_DYNAMIC(CInternetSession, CObject)

namespace {

CString ServerResponse()
{
    DWORD dwError = 0;
    DWORD dwLength = 0;
    ::InternetGetLastResponseInfoW(&dwError, nullptr, &dwLength);
    if (dwLength == 0)
        return CString();
    CString strText;
    ++dwLength;
    BOOL bRead = ::InternetGetLastResponseInfoW(&dwError, strText.GetBuffer(static_cast<int>(dwLength)), &dwLength);
    strText.ReleaseBuffer(bRead ? static_cast<int>(dwLength) : 0);
    return strText;
}

} // namespace

BOOL CInternetException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (!lpszError || nMaxError == 0)
        return FALSE;
    lpszError[0] = 0;
    CString strText;
    if (m_dwError == ERROR_INTERNET_EXTENDED_ERROR) {
        strText = ServerResponse();
    } else {
        LPWSTR pszBuffer = nullptr;
        const bool bInet = m_dwError >= INTERNET_ERROR_BASE && m_dwError <= INTERNET_ERROR_LAST;
        DWORD dwFlags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                        (bInet ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM);
        HMODULE hModule = bInet ? ::GetModuleHandleW(L"wininet.dll") : nullptr;
        if (::FormatMessageW(dwFlags, hModule, m_dwError, 0, reinterpret_cast<LPWSTR>(&pszBuffer), 0, nullptr) &&
            pszBuffer)
            strText = pszBuffer;
        if (pszBuffer)
            ::LocalFree(pszBuffer);
    }
    strText.TrimRight();
    if (strText.IsEmpty())
        strText.Format(L"Internet error %lu", m_dwError);
    wcsncpy_s(lpszError, nMaxError, strText, _TRUNCATE);
    return TRUE;
}

void AfxThrowInternetException(DWORD_PTR dwContext, DWORD dwError)
{
    throw new CInternetException(dwError ? dwError : ::GetLastError(), dwContext);
}

CInternetFile::~CInternetFile()
{
    Close();
}

UINT CInternetFile::Read(void* lpBuf, UINT nCount)
{
    DWORD dwRead = 0;
    if (!m_hFile || !::InternetReadFile(m_hFile, lpBuf, nCount, &dwRead))
        AfxThrowInternetException(m_dwContext, m_hFile ? 0 : ERROR_INVALID_HANDLE);
    return dwRead;
}

void CInternetFile::Close()
{
    if (m_hFile)
        ::InternetCloseHandle(m_hFile);
    m_hFile = nullptr;
}

CFtpConnection::~CFtpConnection()
{
    Close();
}

BOOL CFtpConnection::SetCurrentDirectory(LPCTSTR pstrDirName)
{
    return ::FtpSetCurrentDirectoryW(m_hConnection, pstrDirName);
}

BOOL CFtpConnection::GetFileSize(LPCTSTR pstrFileName, ULONGLONG& nSize)
{
    WIN32_FIND_DATAW found = {};
    HINTERNET hFind = ::FtpFindFirstFileW(m_hConnection, pstrFileName, &found, INTERNET_FLAG_RELOAD, m_dwContext);
    if (!hFind)
        return FALSE;
    // The listing must end before the connection carries anything else.
    ::InternetCloseHandle(hFind);
    nSize = static_cast<ULONGLONG>(found.nFileSizeHigh) << 32 | found.nFileSizeLow;
    return TRUE;
}

CInternetFile* CFtpConnection::OpenFile(LPCTSTR pstrFileName, DWORD dwAccess, DWORD dwFlags, DWORD_PTR dwContext)
{
    HINTERNET hFile = ::FtpOpenFileW(m_hConnection, pstrFileName, dwAccess, dwFlags, dwContext);
    if (!hFile)
        AfxThrowInternetException(dwContext);
    return new CInternetFile(hFile, dwContext);
}

void CFtpConnection::Close()
{
    if (m_hConnection)
        ::InternetCloseHandle(m_hConnection);
    m_hConnection = nullptr;
}

CInternetSession::CInternetSession(LPCTSTR pstrAgent, DWORD_PTR dwContext, DWORD dwAccessType)
    : m_dwContext(dwContext)
{
    m_hSession = ::InternetOpenW(pstrAgent, dwAccessType, nullptr, nullptr, 0);
    if (!m_hSession)
        AfxThrowInternetException(dwContext);
}

CInternetSession::~CInternetSession()
{
    Close();
}

CFtpConnection* CInternetSession::GetFtpConnection(LPCTSTR pstrServer, LPCTSTR pstrUserName, LPCTSTR pstrPassword,
                                                   INTERNET_PORT nPort, BOOL bPassive)
{
    HINTERNET hConnection = ::InternetConnectW(m_hSession, pstrServer, nPort, pstrUserName, pstrPassword,
                                               INTERNET_SERVICE_FTP, bPassive ? INTERNET_FLAG_PASSIVE : 0,
                                               m_dwContext);
    if (!hConnection)
        AfxThrowInternetException(m_dwContext);
    return new CFtpConnection(hConnection, m_dwContext);
}

void CInternetSession::Close()
{
    if (m_hSession)
        ::InternetCloseHandle(m_hSession);
    m_hSession = nullptr;
}
