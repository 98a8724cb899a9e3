#include "UpdateServer.h"

namespace {

class CFtpServerFile : public CUpdateServerFile
{
public:
    explicit CFtpServerFile(CInternetFile* pFile) : m_pFile(pFile) {}
    UINT Read(void* lpBuf, UINT nCount) override { return m_pFile->Read(lpBuf, nCount); }

private:
    std::unique_ptr<CInternetFile> m_pFile;
};

} // namespace

CFtpUpdateServer::CFtpUpdateServer(LPCTSTR lpszHost, INTERNET_PORT nPort, LPCTSTR lpszUser, LPCTSTR lpszPassword)
    : m_strHost(lpszHost), m_nPort(nPort), m_strUser(lpszUser), m_strPassword(lpszPassword)
{
}

void CFtpUpdateServer::Connect()
{
    m_pConnection.reset();
    if (!m_pSession)
        m_pSession = std::make_unique<CInternetSession>(L"LumetraUpdate/1.0", 1, INTERNET_OPEN_TYPE_PRECONFIG);
    m_pConnection.reset(m_pSession->GetFtpConnection(m_strHost, m_strUser, m_strPassword, m_nPort, FALSE));
}

BOOL CFtpUpdateServer::SetCurrentDirectory(LPCTSTR lpszFolder)
{
    if (!m_pConnection) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return m_pConnection->SetCurrentDirectory(lpszFolder);
}

BOOL CFtpUpdateServer::GetFileSize(LPCTSTR lpszName, ULONGLONG& nSize)
{
    return m_pConnection && m_pConnection->GetFileSize(lpszName, nSize);
}

std::unique_ptr<CUpdateServerFile> CFtpUpdateServer::OpenFile(LPCTSTR lpszName, BOOL bBinary)
{
    if (!m_pConnection)
        AfxThrowInternetException(1, ERROR_INVALID_HANDLE);
    DWORD dwFlags = (bBinary ? FTP_TRANSFER_TYPE_BINARY : FTP_TRANSFER_TYPE_ASCII) | INTERNET_FLAG_RELOAD;
    return std::make_unique<CFtpServerFile>(m_pConnection->OpenFile(lpszName, GENERIC_READ, dwFlags, 1));
}
