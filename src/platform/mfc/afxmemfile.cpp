#include "afxmemfile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

namespace
{
const SIZE_T nMaxFileSize = static_cast<SIZE_T>(-1);
}

CMemFile::CMemFile(UINT nGrowBytes) : m_nGrowBytes(nGrowBytes) {}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) : m_nGrowBytes(nGrowBytes)
{
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile() { Close(); }

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
{
    Close();
    m_lpBuffer = lpBuffer;
    m_nBufferSize = nBufferSize;
    m_nFileSize = nGrowBytes == 0 ? nBufferSize : 0;
    m_nGrowBytes = nGrowBytes;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach()
{
    BYTE* lpBuffer = m_lpBuffer;
    Reset();
    return lpBuffer;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount)
{
    if (m_nPosition >= m_nFileSize)
        return 0;
    UINT nRead = static_cast<UINT>(std::min<SIZE_T>(nCount, m_nFileSize - m_nPosition));
    std::memcpy(lpBuf, m_lpBuffer + m_nPosition, nRead);
    m_nPosition += nRead;
    return nRead;
}

void CMemFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    // After a seek far past the end the new end could wrap around (32-bit): no buffer can hold it.
    if (nCount > nMaxFileSize - m_nPosition)
        AfxThrowMemoryException();
    SIZE_T nEnd = m_nPosition + nCount;
    if (nEnd > m_nBufferSize)
        GrowFile(nEnd);
    if (m_nPosition > m_nFileSize) // written after a seek past the end: the gap reads as zeros
        std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    std::memmove(m_lpBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition = nEnd;
    m_nFileSize = std::max(m_nFileSize, nEnd);
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom)
{
    LONGLONG lBase = 0;
    switch (nFrom) {
    case begin: lBase = 0; break;
    case current: lBase = static_cast<LONGLONG>(m_nPosition); break;
    case end: lBase = static_cast<LONGLONG>(m_nFileSize); break;
    default: AfxThrowInvalidArgException();
    }
    LONGLONG lNewPos = lBase + lOff;
    if (lNewPos < 0 || static_cast<ULONGLONG>(lNewPos) > nMaxFileSize)
        AfxThrowFileException(CFileException::badSeek);
    m_nPosition = static_cast<SIZE_T>(lNewPos);
    return m_nPosition;
}

void CMemFile::SetLength(ULONGLONG dwNewLen)
{
    if (dwNewLen > nMaxFileSize)
        AfxThrowMemoryException();
    SIZE_T nNewLen = static_cast<SIZE_T>(dwNewLen);
    if (nNewLen > m_nBufferSize)
        GrowFile(nNewLen);
    if (nNewLen > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, nNewLen - m_nFileSize);
    m_nFileSize = nNewLen;
    m_nPosition = std::min(m_nPosition, nNewLen);
}

void CMemFile::Close()
{
    if (m_bAutoDelete)
        std::free(m_lpBuffer);
    Reset();
}

void CMemFile::GrowFile(SIZE_T nNewSize)
{
    if (m_nGrowBytes == 0)
        AfxThrowMemoryException();
    // Whole steps of the grow size, and at least double: writing n bytes in small pieces stays O(n). Near the
    // largest size the steps and the doubling would wrap around; the size asked for is then all there is.
    SIZE_T nNewBufferSize = nNewSize;
    if (nNewSize <= nMaxFileSize - m_nGrowBytes)
        nNewBufferSize = (nNewSize + m_nGrowBytes - 1) / m_nGrowBytes * m_nGrowBytes;
    if (m_nBufferSize <= nMaxFileSize / 2)
        nNewBufferSize = std::max(nNewBufferSize, m_nBufferSize * 2);
    BYTE* lpNew = static_cast<BYTE*>(std::realloc(m_lpBuffer, nNewBufferSize));
    if (!lpNew)
        AfxThrowMemoryException();
    m_lpBuffer = lpNew;
    m_nBufferSize = nNewBufferSize;
}

void CMemFile::Reset()
{
    m_lpBuffer = nullptr;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    m_nPosition = 0;
    m_bAutoDelete = TRUE;
}
