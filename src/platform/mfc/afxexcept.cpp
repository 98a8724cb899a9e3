#include "afxexcept.h"
#include "afxres.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)
IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)
IMPLEMENT_DYNAMIC(CUserException, CSimpleException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (lpszError && nMaxError > 0)
        lpszError[0] = 0;
    if (pnHelpContext)
        *pnHelpContext = 0;
    return FALSE;
}

int CException::ReportError(UINT nType, UINT nMessageID)
{
    // The text may be longer than a first guess (long paths): grow until it fits whole.
    for (UINT nSize = 512; nSize <= 0x10000; nSize *= 2) {
        std::vector<TCHAR> buffer(nSize);
        if (!GetErrorMessage(buffer.data(), nSize))
            break;
        if (::lstrlenW(buffer.data()) < static_cast<int>(nSize) - 1 || nSize == 0x10000)
            return AfxMessageBox(buffer.data(), nType);
    }
    return AfxMessageBox(nMessageID ? nMessageID : AFX_IDS_UNKNOWN_EXCEPTION, nType);
}

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::CopyResourceText(UINT nIDText, LPCTSTR lpszInsert, LPTSTR lpszError, UINT nMaxError,
                                  PUINT pnHelpContext)
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (!lpszError || nMaxError == 0)
        return FALSE;
    lpszError[0] = 0;

    CString text;
    if (!text.LoadString(nIDText))
        return FALSE;
    if (lpszInsert)
        text.FormatMessage(CString(text), lpszInsert);

    UINT nCopy = std::min(static_cast<UINT>(text.GetLength()), nMaxError - 1);
    ::CopyMemory(lpszError, static_cast<LPCTSTR>(text), nCopy * sizeof(TCHAR));
    lpszError[nCopy] = 0;
    if (pnHelpContext)
        *pnHelpContext = nIDText;
    return TRUE;
}

BOOL CSimpleException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return CopyResourceText(m_nResourceID, nullptr, lpszError, nMaxError, pnHelpContext);
}

CMemoryException::CMemoryException(BOOL bAutoDelete) : CSimpleException(AFX_IDS_MEMORY_EXCEPTION, bAutoDelete) {}
CNotSupportedException::CNotSupportedException(BOOL bAutoDelete)
    : CSimpleException(AFX_IDS_NOT_SUPPORTED_EXCEPTION, bAutoDelete) {}
CResourceException::CResourceException(BOOL bAutoDelete)
    : CSimpleException(AFX_IDS_RESOURCE_EXCEPTION, bAutoDelete) {}
CUserException::CUserException(BOOL bAutoDelete) : CSimpleException(AFX_IDS_USER_EXCEPTION, bAutoDelete) {}
CInvalidArgException::CInvalidArgException(BOOL bAutoDelete)
    : CSimpleException(AFX_IDS_INVALID_ARG_EXCEPTION, bAutoDelete) {}

CFileException::CFileException(int cause, LONG lOsError, LPCTSTR lpszFileName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName)
{
}

int CFileException::OsErrorToException(LONG lOsError)
{
    static const struct
    {
        LONG lOsError;
        int cause;
    } s_map[] = {
        {NO_ERROR, none},
        {ERROR_FILE_NOT_FOUND, fileNotFound},
        {ERROR_PATH_NOT_FOUND, badPath},
        {ERROR_INVALID_DRIVE, badPath},
        {ERROR_BAD_NETPATH, badPath},
        {ERROR_BAD_NET_NAME, badPath},
        {ERROR_INVALID_NAME, badPath},
        {ERROR_BAD_PATHNAME, badPath},
        {ERROR_FILENAME_EXCED_RANGE, badPath},
        {ERROR_DIRECTORY, badPath},
        {ERROR_TOO_MANY_OPEN_FILES, tooManyOpenFiles},
        {ERROR_ACCESS_DENIED, accessDenied},
        {ERROR_WRITE_PROTECT, accessDenied},
        {ERROR_FILE_EXISTS, accessDenied},
        {ERROR_ALREADY_EXISTS, accessDenied},
        {ERROR_INVALID_HANDLE, invalidFile},
        {ERROR_CURRENT_DIRECTORY, removeCurrentDir},
        {ERROR_CANNOT_MAKE, directoryFull},
        {ERROR_SEEK, badSeek},
        {ERROR_NEGATIVE_SEEK, badSeek},
        {ERROR_SEEK_ON_DEVICE, badSeek},
        {ERROR_BAD_UNIT, hardIO},
        {ERROR_NOT_READY, hardIO},
        {ERROR_CRC, hardIO},
        {ERROR_NOT_DOS_DISK, hardIO},
        {ERROR_SECTOR_NOT_FOUND, hardIO},
        {ERROR_WRITE_FAULT, hardIO},
        {ERROR_READ_FAULT, hardIO},
        {ERROR_GEN_FAILURE, hardIO},
        {ERROR_SHARING_VIOLATION, sharingViolation},
        {ERROR_SHARING_BUFFER_EXCEEDED, sharingViolation},
        {ERROR_LOCK_VIOLATION, lockViolation},
        {ERROR_LOCK_FAILED, lockViolation},
        {ERROR_DRIVE_LOCKED, lockViolation},
        {ERROR_DISK_FULL, diskFull},
        {ERROR_HANDLE_DISK_FULL, diskFull},
        {ERROR_HANDLE_EOF, endOfFile},
    };
    for (const auto& entry : s_map) {
        if (entry.lOsError == lOsError)
            return entry.cause;
    }
    return genericException;
}

void CFileException::ThrowOsError(LONG lOsError, LPCTSTR lpszFileName)
{
    if (lOsError != 0)
        AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

BOOL CFileException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (m_cause < none || m_cause > endOfFile)
        return CException::GetErrorMessage(lpszError, nMaxError, pnHelpContext);
    return CopyResourceText(AFX_IDP_FILE_NONE + m_cause, m_strFileName, lpszError, nMaxError, pnHelpContext);
}

CArchiveException::CArchiveException(int cause, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName)
{
}

BOOL CArchiveException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (m_cause < none || m_cause > badSchema)
        return CException::GetErrorMessage(lpszError, nMaxError, pnHelpContext);
    return CopyResourceText(AFX_IDP_ARCH_NONE + m_cause, m_strFileName, lpszError, nMaxError, pnHelpContext);
}

void AfxThrowMemoryException()
{
    // Out of memory there may be no heap left for a new exception: one preallocated object, never deleted.
    static CMemoryException s_memoryException(FALSE);
    throw &s_memoryException;
}

void AfxThrowNotSupportedException() { throw new CNotSupportedException; }
void AfxThrowResourceException() { throw new CResourceException; }
void AfxThrowUserException() { throw new CUserException; }
void AfxThrowInvalidArgException() { throw new CInvalidArgException; }

void AfxThrowFileException(int cause, LONG lOsError, LPCTSTR lpszFileName)
{
    throw new CFileException(cause, lOsError, lpszFileName);
}

void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName)
{
    throw new CArchiveException(cause, lpszArchiveName);
}
