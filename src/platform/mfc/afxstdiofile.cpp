#include "afxstdiofile.h"

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

CStdioFile::CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags) { OpenOrThrow(lpszFileName, nOpenFlags); }

BOOL CStdioFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    m_readAhead.clear();
    m_nReadPos = 0;
    if (!CFile::Open(lpszFileName, nOpenFlags & ~(typeText | typeBinary), pError))
        return FALSE;
    m_bText = (nOpenFlags & typeBinary) == 0;
    bool bWriteOnly = (nOpenFlags & 3) == modeWrite;
    bool bTruncated = (nOpenFlags & modeCreate) && !(nOpenFlags & modeNoTruncate);
    if (bWriteOnly && !bTruncated)
        CFile::Seek(0, end);
    return TRUE;
}

BOOL CStdioFile::ReadString(CString& rString)
{
    std::string line;
    bool bAnything = false;
    bool bLineEnd = false;
    while (!bLineEnd) {
        if (m_nReadPos == m_readAhead.size()) {
            m_readAhead.resize(4096);
            m_readAhead.resize(CFile::Read(&m_readAhead[0], static_cast<UINT>(m_readAhead.size())));
            m_nReadPos = 0;
            if (m_readAhead.empty())
                break;
        }
        bAnything = true;
        size_t nStop = m_readAhead.find('\n', m_nReadPos);
        bLineEnd = nStop != std::string::npos;
        if (!bLineEnd)
            nStop = m_readAhead.size();
        line.append(m_readAhead, m_nReadPos, nStop - m_nReadPos);
        m_nReadPos = bLineEnd ? nStop + 1 : nStop;
    }
    if (m_bText && bLineEnd && !line.empty() && line.back() == '\r')
        line.pop_back();
    rString = CString::FromMultiByte(line.data(), static_cast<int>(line.size()), nCodePage);
    return bAnything;
}

void CStdioFile::WriteString(LPCTSTR lpsz)
{
    if (!lpsz)
        AfxThrowInvalidArgException();
    CString text;
    for (LPCTSTR p = lpsz; *p; ++p) {
        // A "\r\n" already in the text stays as it is.
        if (m_bText && *p == L'\n' && (p == lpsz || p[-1] != L'\r'))
            text += L'\r';
        text += *p;
    }
    std::string bytes = text.ToMultiByte(nCodePage);
    Write(bytes.data(), static_cast<UINT>(bytes.size()));
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount)
{
    DropReadAhead();
    return CFile::Read(lpBuf, nCount);
}

void CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    DropReadAhead();
    CFile::Write(lpBuf, nCount);
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom)
{
    DropReadAhead();
    return CFile::Seek(lOff, nFrom);
}

void CStdioFile::SetLength(ULONGLONG dwNewLen)
{
    DropReadAhead();
    CFile::SetLength(dwNewLen);
}

ULONGLONG CStdioFile::GetPosition() const
{
    return CFile::GetPosition() - (m_readAhead.size() - m_nReadPos);
}

void CStdioFile::Close()
{
    m_readAhead.clear();
    m_nReadPos = 0;
    CFile::Close();
}

void CStdioFile::Abort()
{
    m_readAhead.clear();
    m_nReadPos = 0;
    CFile::Abort();
}

void CStdioFile::DropReadAhead()
{
    size_t nUnread = m_readAhead.size() - m_nReadPos;
    m_readAhead.clear();
    m_nReadPos = 0;
    if (nUnread > 0)
        CFile::Seek(-static_cast<LONGLONG>(nUnread), current);
}
