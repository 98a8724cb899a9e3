// The maker's update server as the updater sees it: a folder to change to and files to read. The real one is an
// FTP server reached through WinInet; tests put a server of their own in its place.
#pragma once

#include "platform/inet/afxinet.h"

#include <memory>

class CUpdateServerFile
{
public:
    virtual ~CUpdateServerFile() = default;
    // The bytes read, 0 at the end; failures raise a framework exception.
    virtual UINT Read(void* lpBuf, UINT nCount) = 0;
};

class CUpdateServer
{
public:
    virtual ~CUpdateServer() = default;
    // Opens the connection (again when one is open); failures raise a framework exception.
    virtual void Connect() = 0;
    // FALSE on failure, the error in GetLastError.
    virtual BOOL SetCurrentDirectory(LPCTSTR lpszFolder) = 0;
    // The file's size as the server reports it; FALSE when it reports none.
    virtual BOOL GetFileSize(LPCTSTR lpszName, ULONGLONG& nSize) = 0;
    // ASCII or binary transfer; failures raise a framework exception.
    virtual std::unique_ptr<CUpdateServerFile> OpenFile(LPCTSTR lpszName, BOOL bBinary) = 0;
};

// The FTP server, in active mode, with a fixed user and password.
class CFtpUpdateServer : public CUpdateServer
{
public:
    CFtpUpdateServer(LPCTSTR lpszHost, INTERNET_PORT nPort, LPCTSTR lpszUser, LPCTSTR lpszPassword);

    void Connect() override;
    BOOL SetCurrentDirectory(LPCTSTR lpszFolder) override;
    BOOL GetFileSize(LPCTSTR lpszName, ULONGLONG& nSize) override;
    std::unique_ptr<CUpdateServerFile> OpenFile(LPCTSTR lpszName, BOOL bBinary) override;

private:
    CString m_strHost;
    INTERNET_PORT m_nPort;
    CString m_strUser;
    CString m_strPassword;
    // The connection goes before the session it was opened on.
    std::unique_ptr<CInternetSession> m_pSession;
    std::unique_ptr<CFtpConnection> m_pConnection;
};
