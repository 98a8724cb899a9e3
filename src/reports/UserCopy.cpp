#include "UserCopy.h"

#include "platform/mfc/afxexcept.h"
#include "util/PathUtil.h"

CString ResolveDocumentPath(LPCTSTR pszDocUtFolder, LPCTSTR pszDocFolder, LPCTSTR pszName)
{
    CString path = CombinePath(pszDocUtFolder, pszName);
    return FileExists(path) ? path : CombinePath(pszDocFolder, pszName);
}

void SaveUserCopy(const CTextDocument& doc, LPCTSTR pszPath)
{
    const CString strPath(pszPath);
    const CString strNew = strPath + L".new";
    const CString strOld = strPath + L".old";
    doc.Save(strNew, txdFormatOwn);

    if (FileExists(strPath)) {
        if (!::MoveFileExW(strPath, strOld, MOVEFILE_REPLACE_EXISTING)) {
            const DWORD dwError = ::GetLastError();
            ::DeleteFileW(strNew);
            CFileException::ThrowOsError(static_cast<LONG>(dwError), strPath);
        }
    }
    if (!::MoveFileExW(strNew, strPath, MOVEFILE_REPLACE_EXISTING)) {
        const DWORD dwError = ::GetLastError();
        ::DeleteFileW(strNew);
        // The previous copy goes back to its name, so that the user still finds it where it was.
        ::MoveFileW(strOld, strPath);
        CFileException::ThrowOsError(static_cast<LONG>(dwError), strPath);
    }
}
