// The framework's exceptions. They are thrown as pointers (throw new CFileException(...)), caught as
// CException* and released with Delete(); the handler shows them with ReportError or reads their text
// with GetErrorMessage. Texts come from the framework's string table (afxres.h).
#pragma once

#include "afxmsgbox.h"
#include "afxobject.h"

class CException : public CObject
{
    DECLARE_DYNAMIC(CException)
public:
    // bAutoDelete: the exception lives on the heap and Delete() frees it.
    explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}

    // Copies at most nMaxError-1 characters of the text; FALSE when there is no text.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const;
    // Shows the text (or string nMessageID, or the unknown-exception text) and answers the button pressed.
    virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);
    void Delete();

    BOOL m_bAutoDelete;

protected:
    // Copies a resource string, "%1" replaced by lpszInsert when given; FALSE when the string is missing.
    static BOOL CopyResourceText(UINT nIDText, LPCTSTR lpszInsert, LPTSTR lpszError, UINT nMaxError,
                                 PUINT pnHelpContext);
};

// An exception whose text is one fixed resource string.
class CSimpleException : public CException
{
    DECLARE_DYNAMIC(CSimpleException)
public:
    CSimpleException(UINT nResourceID, BOOL bAutoDelete) : CException(bAutoDelete), m_nResourceID(nResourceID) {}
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;

private:
    UINT m_nResourceID;
};

class CMemoryException : public CSimpleException
{
    DECLARE_DYNAMIC(CMemoryException)
public:
    explicit CMemoryException(BOOL bAutoDelete = TRUE);
};

class CNotSupportedException : public CSimpleException
{
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    explicit CNotSupportedException(BOOL bAutoDelete = TRUE);
};

class CResourceException : public CSimpleException
{
    DECLARE_DYNAMIC(CResourceException)
public:
    explicit CResourceException(BOOL bAutoDelete = TRUE);
};

// The user has already been told (or chose to stop): handlers end the operation quietly.
class CUserException : public CSimpleException
{
    DECLARE_DYNAMIC(CUserException)
public:
    explicit CUserException(BOOL bAutoDelete = TRUE);
};

class CInvalidArgException : public CSimpleException
{
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    explicit CInvalidArgException(BOOL bAutoDelete = TRUE);
};

class CFileException : public CException
{
    DECLARE_DYNAMIC(CFileException)
public:
    enum
    {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszFileName = NULL);

    // Cause for a system error code (GetLastError); genericException for codes without one of their own.
    static int OsErrorToException(LONG lOsError);
    // Throws the file exception for a system error code; does nothing for 0 (no error).
    static void ThrowOsError(LONG lOsError, LPCTSTR lpszFileName = NULL);

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;

    int m_cause;
    LONG m_lOsError;       // -1: no system error behind the cause
    CString m_strFileName;
};

class CArchiveException : public CException
{
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum
    {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema
    };

    explicit CArchiveException(int cause = none, LPCTSTR lpszArchiveName = NULL);

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;

    int m_cause;
    CString m_strFileName;
};

// AfxThrowMemoryException is declared with CString (afxstr.h).
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, LPCTSTR lpszFileName = NULL);
[[noreturn]] void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName = NULL);
