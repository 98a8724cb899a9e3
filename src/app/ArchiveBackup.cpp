#include "ArchiveBackup.h"

#include "platform/mfc/afxmsgbox.h"
#include "resource.h"
#include "util/MessageText.h"
#include "util/PathUtil.h"
#include "util/ZipWriter.h"

namespace {

CString ZipCodeText(ZRESULT code)
{
    TCHAR szText[1024] = {};
    FormatZipMessage(code, szText, _countof(szText));
    return szText;
}

// The same file or folder, by the same name or by another one that reaches it (a short name, a share, another drive
// letter): a backup over the archive by such a name would destroy it all the same.
bool IsSamePlace(const CString& strPath1, const CString& strPath2)
{
    return strPath1.CompareNoCase(strPath2) == 0 || IsSameFile(strPath1, strPath2);
}

CString WithoutTrailingBackslash(const CString& strFolder)
{
    CString strResult = strFolder;
    if (strResult.GetLength() > 3 && strResult[strResult.GetLength() - 1] == L'\\')
        strResult.Delete(strResult.GetLength() - 1);
    return strResult;
}

// The path is the folder or lies below it, whatever names either: the path and each folder above it, up to its
// root, are compared with the folder.
bool IsInFolder(const CString& strPath, const CString& strFolder)
{
    if (strFolder.IsEmpty())
        return false;
    const CString strWanted = WithoutTrailingBackslash(strFolder);
    for (CString strAncestor = strPath; !strAncestor.IsEmpty();) {
        if (IsSamePlace(strAncestor, strWanted))
            return true;
        CString strParent = GetPathDir(strAncestor);
        if (strParent == strAncestor)
            break;
        strAncestor = strParent;
    }
    return false;
}

} // namespace

CString GetDefaultBackupName(const COleDateTime& date)
{
    return date.Format(L"%Y.%m.%d") + L".zip";
}

bool IsBackupTargetRefused(LPCTSTR pszTarget, LPCTSTR pszAppDir, LPCTSTR pszArchivePath, LPCTSTR pszProgDatabasePath)
{
    CString strTarget = GetFullPath(pszTarget);
    if (IsSamePlace(strTarget, GetFullPath(pszArchivePath)) || IsSamePlace(strTarget, GetFullPath(pszProgDatabasePath)))
        return true;
    CString strTargetFolder = GetPathDir(strTarget);
    CString strAppDir = WithoutTrailingBackslash(GetFullPath(pszAppDir));
    if (IsInFolder(strTargetFolder, CombinePath(strAppDir, L"DocUt")))
        return true;
    CString strArchiveFolder = WithoutTrailingBackslash(GetPathDir(GetFullPath(pszArchivePath)));
    if (IsSamePlace(strTargetFolder, strArchiveFolder))
        return true;
    // Below the archive's folder too, unless the program folder lies there: its "Backup" folder is where backups
    // belong.
    return !IsInFolder(strAppDir, strArchiveFolder) && IsInFolder(strTargetFolder, strArchiveFolder);
}

bool WriteArchiveZip(LPCTSTR pszZipPath, LPCTSTR pszArchivePath, LPCTSTR pszRelativePath)
{
    ZipHandle hz = CreateZip(const_cast<LPTSTR>(pszZipPath), 0, ZIP_FILENAME);
    if (!hz) {
        AfxMessageBox(FormatResMessage(IDP_ZIP_CREATE_FAILED, ZipCodeText(ZR_RECENT)), MB_ICONERROR);
        return false;
    }
    CString strFolder = GetPathDir(pszRelativePath);
    ZRESULT result = strFolder.IsEmpty() ? ZR_OK : ZipAdd(hz, strFolder, nullptr, 0, ZIP_FOLDER);
    if (result == ZR_OK)
        result = ZipAdd(hz, pszRelativePath, pszArchivePath, 0, ZIP_FILENAME);
    if (result != ZR_OK) {
        DiscardZip(hz);
        AfxMessageBox(FormatResMessage(IDP_ZIP_ADD_FAILED, pszArchivePath, ZipCodeText(result)), MB_ICONWARNING);
        return false;
    }
    result = CloseZip(hz);
    if (result != ZR_OK) {
        AfxMessageBox(FormatResMessage(IDP_ZIP_CREATE_FAILED, ZipCodeText(result)), MB_ICONWARNING);
        return false;
    }
    return true;
}
