// CFile: a binary file on disk through the system's file handle. Every failure raises a CFileException
// that carries the system error and the file's name, except Open's, which answers FALSE.
#pragma once

#include "afxexcept.h"
#include "afxtime.h"

struct CFileStatus
{
    CTime m_ctime;          // creation
    CTime m_mtime;          // last write
    CTime m_atime;          // last access
    ULONGLONG m_size;
    BYTE m_attribute;       // FILE_ATTRIBUTE_* of the low byte
    TCHAR m_szFullName[MAX_PATH];
};

class CFile : public CObject
{
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,      // for CStdioFile
        typeBinary = 0x8000
    };
    enum SeekPosition
    {
        begin = 0,
        current = 1,
        end = 2
    };

    static const HANDLE hFileNull;

    CFile() = default;
    // Opens or throws the CFileException of the failure.
    CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
    ~CFile() override;

    // FALSE on failure; pError (when given) then receives the cause, the system error and the name.
    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);
    virtual UINT Read(void* lpBuf, UINT nCount);     // answers the bytes read, 0 at the end
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG dwNewLen);      // the position moves to the new end
    virtual ULONGLONG GetPosition() const;
    virtual void Flush();
    virtual void Close();
    virtual void Abort();                            // closes and ignores any failure

    virtual CString GetFilePath() const { return m_strFileName; }
    virtual CString GetFileName() const;

    static void Remove(LPCTSTR lpszFileName);
    static void Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName);
    // FALSE when the file does not exist (or cannot be queried).
    static BOOL GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus);

    HANDLE m_hFile = INVALID_HANDLE_VALUE;

protected:
    // Opens through the (derived) Open or throws its CFileException: the opening constructors.
    void OpenOrThrow(LPCTSTR lpszFileName, UINT nOpenFlags);
    // Raises the CFileException of the last system error for this file.
    [[noreturn]] void ThrowLastError() const;

    CString m_strFileName;  // full path
};
