// CMemFile: a file in memory. It either grows by itself (its buffer comes from malloc and is freed with
// the file) or works on a buffer the caller attaches; Detach hands the buffer back to the caller, who
// releases it with free().
#pragma once

#include "afxfile.h"

class CMemFile : public CFile
{
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT nGrowBytes = 1024);
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override;

    // nGrowBytes 0: the file is the buffer's nBufferSize bytes and cannot grow beyond them; otherwise the
    // file starts empty and the buffer (which must come from malloc) is reallocated as it grows.
    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // The buffer, now the caller's; the file is left empty. Read GetLength() first.
    BYTE* Detach();

    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetLength() const override { return m_nFileSize; }
    void SetLength(ULONGLONG dwNewLen) override;
    ULONGLONG GetPosition() const override { return m_nPosition; }
    void Flush() override {}
    void Close() override;
    void Abort() override { Close(); }

private:
    void GrowFile(SIZE_T nNewSize);
    void Reset();

    UINT m_nGrowBytes;
    BYTE* m_lpBuffer = nullptr;
    SIZE_T m_nBufferSize = 0;
    SIZE_T m_nFileSize = 0;
    SIZE_T m_nPosition = 0;
    BOOL m_bAutoDelete = TRUE;  // the buffer is ours to free
};
