// CStdioFile: a text file read and written by lines. On disk the text is 8-bit Windows-1252; in memory
// it is CString. In text mode (the default; typeBinary switches it off) a line ends with "\r\n" or "\n"
// when read, and WriteString writes "\n" as "\r\n".
#pragma once

#include "afxfile.h"

#include <string>

class CStdioFile : public CFile
{
    DECLARE_DYNAMIC(CStdioFile)
public:
    CStdioFile() = default;
    // Opens or throws the CFileException of the failure.
    CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags);

    // Writing without truncating starts at the end of the file, as the C library's append mode does.
    BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL) override;

    // The next line without its line end; FALSE (and an empty string) at the end of the file.
    virtual BOOL ReadString(CString& rString);
    virtual void WriteString(LPCTSTR lpsz);

    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    void SetLength(ULONGLONG dwNewLen) override;
    ULONGLONG GetPosition() const override;
    void Close() override;
    void Abort() override;

private:
    static const UINT nCodePage = 1252;

    // Gives back the bytes read ahead by ReadString, so that the handle is where the caller thinks.
    void DropReadAhead();

    std::string m_readAhead;
    size_t m_nReadPos = 0;
    BOOL m_bText = TRUE;
};
