// Scoped helpers: a change of the current directory and a temporary file, both undone at scope end.
#pragma once

#include "platform/mfc/afx.h"

// Changes the current directory for the scope. A failure is shown to the user (system error text, error icon)
// and leaves the current directory as it was.
class CCurrentDirectory
{
public:
    explicit CCurrentDirectory(LPCTSTR lpszFolder);
    ~CCurrentDirectory();
    CCurrentDirectory(const CCurrentDirectory&) = delete;
    CCurrentDirectory& operator=(const CCurrentDirectory&) = delete;

    BOOL HasFailed() const { return m_bFailed; }

private:
    CString m_strPrevious;
    BOOL m_bFailed;
};

// A new empty file with a unique name in the folder (the system's temporary folder when null or empty),
// renamed to the given extension when there is one. A failure throws the system's file error (CFileException*).
class CTempFile
{
public:
    CTempFile(LPCTSTR lpszFolder, LPCTSTR lpszPrefix = nullptr, LPCTSTR lpszExtension = nullptr,
              BOOL bAutoDelete = TRUE);
    ~CTempFile();
    CTempFile(const CTempFile&) = delete;
    CTempFile& operator=(const CTempFile&) = delete;

    const CString& GetPath() const { return m_strPath; }
    operator LPCTSTR() const { return m_strPath; }

    BOOL m_bAutoDelete;   // the destructor deletes the file

private:
    CString m_strPath;
};
