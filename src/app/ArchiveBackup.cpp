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

// The path is the folder or lies below it.
bool IsInFolder(const CString& strPath, const CString& strFolder)
{
    CString strPrefix = strFolder;
    if (strPrefix.IsEmpty())
        return false;
    if (strPrefix[strPrefix.GetLength() - 1] != L'\\')
        strPrefix += L'\\';
    return strPath.CompareNoCase(strFolder) == 0 ||
           (strPath.GetLength() > strPrefix.GetLength() &&
            strPath.Left(strPrefix.GetLength()).CompareNoCase(strPrefix) == 0);
}

CString WithoutTrailingBackslash(const CString& strFolder)
{
    CString strResult = strFolder;
    if (strResult.GetLength() > 3 && strResult[strResult.GetLength() - 1] == L'\\')
        strResult.Delete(strResult.GetLength() - 1);
    return strResult;
}

} // namespace

CString GetDefaultBackupName(const COleDateTime& date)
{
    return date.Format(L"%Y.%m.%d") + L".zip";
}

bool IsBackupTargetRefused(LPCTSTR pszTarget, LPCTSTR pszAppDir, LPCTSTR pszArchivePath, LPCTSTR pszProgDatabasePath)
{
    CString strTarget = GetFullPath(pszTarget);
    if (strTarget.CompareNoCase(GetFullPath(pszArchivePath)) == 0 ||
        strTarget.CompareNoCase(GetFullPath(pszProgDatabasePath)) == 0)
        return true;
    CString strTargetFolder = GetPathDir(strTarget);
    CString strAppDir = WithoutTrailingBackslash(GetFullPath(pszAppDir));
    if (IsInFolder(strTargetFolder, CombinePath(strAppDir, L"DocUt")))
        return true;
    CString strArchiveFolder = WithoutTrailingBackslash(GetPathDir(GetFullPath(pszArchivePath)));
    if (strTargetFolder.CompareNoCase(strArchiveFolder) == 0)
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
