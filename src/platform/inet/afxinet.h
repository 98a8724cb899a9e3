// The framework's internet session classes over the system's WinInet: a session, an FTP connection on it and a
// file opened on the connection. Failures of WinInet raise CInternetException with the system's error code.
#pragma once

#include "platform/mfc/afxexcept.h"

#include <wininet.h>

class CInternetException : public CException
{
    DECLARE_DYNAMIC(CInternetException)
public:
    explicit CInternetException(DWORD dwError, DWORD_PTR dwContext = 0) : m_dwError(dwError), m_dwContext(dwContext) {}
    // WinInet's own text for its error codes (with the server's last answer for an extended error), the
    // system's for the others.
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;

    DWORD m_dwError;
    DWORD_PTR m_dwContext;
};

[[noreturn]] void AfxThrowInternetException(DWORD_PTR dwContext, DWORD dwError = 0);

// A file opened on a connection; closed on destruction.
class CInternetFile : public CObject
{
    DECLARE_DYNAMIC(CInternetFile)
public:
    CInternetFile(HINTERNET hFile, DWORD_PTR dwContext) : m_hFile(hFile), m_dwContext(dwContext) {}
    ~CInternetFile() override;
    CInternetFile(const CInternetFile&) = delete;
    CInternetFile& operator=(const CInternetFile&) = delete;

    // The bytes read, 0 at the end of the file.
    UINT Read(void* lpBuf, UINT nCount);
    void Close();

private:
    HINTERNET m_hFile;
    DWORD_PTR m_dwContext;
};

class CFtpConnection : public CObject
{
    DECLARE_DYNAMIC(CFtpConnection)
public:
    CFtpConnection(HINTERNET hConnection, DWORD_PTR dwContext) : m_hConnection(hConnection), m_dwContext(dwContext) {}
    ~CFtpConnection() override;
    CFtpConnection(const CFtpConnection&) = delete;
    CFtpConnection& operator=(const CFtpConnection&) = delete;

    // FALSE on failure, the error in GetLastError.
    BOOL SetCurrentDirectory(LPCTSTR pstrDirName);
    // The file's size as the server lists it; FALSE when it lists no such file (the error in GetLastError).
    BOOL GetFileSize(LPCTSTR pstrFileName, ULONGLONG& nSize);
    // dwFlags: FTP_TRANSFER_TYPE_ASCII or FTP_TRANSFER_TYPE_BINARY, with INTERNET_FLAG_* options. The caller
    // deletes the file.
    CInternetFile* OpenFile(LPCTSTR pstrFileName, DWORD dwAccess = GENERIC_READ,
                            DWORD dwFlags = FTP_TRANSFER_TYPE_BINARY, DWORD_PTR dwContext = 1);
    void Close();

private:
    HINTERNET m_hConnection;
    DWORD_PTR m_dwContext;
};

class CInternetSession : public CObject
{
    DECLARE_DYNAMIC(CInternetSession)
public:
    // dwAccessType: INTERNET_OPEN_TYPE_PRECONFIG and the like.
    explicit CInternetSession(LPCTSTR pstrAgent = nullptr, DWORD_PTR dwContext = 1,
                              DWORD dwAccessType = INTERNET_OPEN_TYPE_PRECONFIG);
    ~CInternetSession() override;
    CInternetSession(const CInternetSession&) = delete;
    CInternetSession& operator=(const CInternetSession&) = delete;

    // The caller deletes the connection. bPassive FALSE: active mode (the server connects back).
    CFtpConnection* GetFtpConnection(LPCTSTR pstrServer, LPCTSTR pstrUserName = nullptr,
                                     LPCTSTR pstrPassword = nullptr,
                                     INTERNET_PORT nPort = INTERNET_INVALID_PORT_NUMBER, BOOL bPassive = FALSE);
    void Close();

private:
    HINTERNET m_hSession = nullptr;
    DWORD_PTR m_dwContext;
};
