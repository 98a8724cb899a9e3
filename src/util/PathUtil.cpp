#include "PathUtil.h"

#include <algorithm>
#include <commdlg.h>
#include <io.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace {

// A path cut into drive ("C:"), folder (with its trailing separator), name and extension (with its dot).
struct CPathParts
{
    CString m_strDrive;
    CString m_strDir;
    CString m_strName;
    CString m_strExt;

    explicit CPathParts(const CString& strPath)
    {
        CString rest = strPath;
        if (rest.GetLength() >= 2 && rest[1] == L':') {
            m_strDrive = rest.Left(2);
            rest = rest.Mid(2);
        }
        int nSep = std::max(rest.ReverseFind(L'\\'), rest.ReverseFind(L'/'));
        m_strDir = rest.Left(nSep + 1);
        CString strFile = rest.Mid(nSep + 1);
        int nDot = strFile.ReverseFind(L'.');
        m_strName = nDot < 0 ? strFile : strFile.Left(nDot);
        m_strExt = nDot < 0 ? CString() : strFile.Mid(nDot);
    }
};

BOOL ReadAttributes(LPCTSTR lpszPath, DWORD& dwAttributes)
{
    dwAttributes = ::GetFileAttributesW(lpszPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES;
}

// No access asked for but the attributes: a file that another handle holds without sharing answers too.
BOOL ReadFileIdentity(LPCTSTR lpszPath, BY_HANDLE_FILE_INFORMATION& info)
{
    HANDLE hFile = ::CreateFileW(lpszPath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    BOOL bRead = ::GetFileInformationByHandle(hFile, &info);
    ::CloseHandle(hFile);
    return bRead;
}

} // namespace

CString CombinePath(LPCTSTR lpszFolder, LPCTSTR lpszName)
{
    CString strFolder = lpszFolder ? lpszFolder : L"";
    CString strName = lpszName ? lpszName : L"";
    if (strFolder.IsEmpty())
        return strName;
    if (strName.IsEmpty())
        return strFolder;
    if (strFolder[strFolder.GetLength() - 1] == L'\\')
        return strFolder + strName;
    return strFolder + L'\\' + strName;
}

BOOL FileExists(LPCTSTR lpszPath)
{
    return ::_waccess(lpszPath, 0) == 0;
}

BOOL IsDirectory(LPCTSTR lpszPath)
{
    DWORD dwAttributes;
    return ReadAttributes(lpszPath, dwAttributes) && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

BOOL IsValidFileName(LPCTSTR lpszName)
{
    return CString(lpszName).FindOneOf(L"\\/:*?\"<>|") < 0;
}

BOOL IsSameFile(LPCTSTR lpszPath1, LPCTSTR lpszPath2)
{
    BY_HANDLE_FILE_INFORMATION info1 = {}, info2 = {};
    return ReadFileIdentity(lpszPath1, info1) && ReadFileIdentity(lpszPath2, info2) &&
           info1.dwVolumeSerialNumber == info2.dwVolumeSerialNumber && info1.nFileIndexHigh == info2.nFileIndexHigh &&
           info1.nFileIndexLow == info2.nFileIndexLow;
}

CString GetPathDir(LPCTSTR lpszPath)
{
    CPathParts parts(lpszPath);
    CString strDir = parts.m_strDir;
    if (strDir.GetLength() > 1)
        strDir.Truncate(strDir.GetLength() - 1);
    return parts.m_strDrive + strDir;
}

CString GetPathFileName(LPCTSTR lpszPath)
{
    CPathParts parts(lpszPath);
    return parts.m_strName + parts.m_strExt;
}

CString GetPathFileTitle(LPCTSTR lpszPath)
{
    return CPathParts(lpszPath).m_strName;
}

CString GetPathExtension(LPCTSTR lpszPath)
{
    return CPathParts(lpszPath).m_strExt.Mid(1);
}

CString GetFileDisplayTitle(LPCTSTR lpszPath)
{
    TCHAR szTitle[MAX_PATH] = {};
    if (::GetFileTitleW(lpszPath, szTitle, MAX_PATH) != 0)
        return CString();
    return szTitle;
}

void ReplaceExtension(CString& strPath, LPCTSTR lpszExtension)
{
    CPathParts parts(strPath);
    CString strExt = lpszExtension ? lpszExtension : L"";
    if (!strExt.IsEmpty() && strExt[0] != L'.')
        strExt.Insert(0, L'.');
    strPath = parts.m_strDrive + parts.m_strDir + parts.m_strName + strExt;
}

CString GetFullPath(LPCTSTR lpszPath)
{
    TCHAR szFull[MAX_PATH] = {};
    DWORD nLength = ::GetFullPathNameW(lpszPath, MAX_PATH, szFull, nullptr);
    if (nLength == 0 || nLength >= MAX_PATH)
        return lpszPath;
    return szFull;
}

CString GetRelativePath(LPCTSTR lpszFromFolder, LPCTSTR lpszTo, BOOL bToIsFolder, BOOL bDropLeadingBackslash)
{
    TCHAR szRelative[MAX_PATH] = {};
    if (!::PathRelativePathToW(szRelative, lpszFromFolder, FILE_ATTRIBUTE_DIRECTORY, lpszTo,
                               bToIsFolder ? FILE_ATTRIBUTE_DIRECTORY : 0))
        return CString();
    CString strRelative = szRelative;
    if (bDropLeadingBackslash && !strRelative.IsEmpty() && strRelative[0] == L'\\')
        strRelative.Delete(0);
    return strRelative;
}

BOOL IsReadOnly(LPCTSTR lpszPath)
{
    DWORD dwAttributes;
    return ReadAttributes(lpszPath, dwAttributes) && (dwAttributes & FILE_ATTRIBUTE_READONLY) != 0;
}

BOOL SetReadOnly(LPCTSTR lpszPath, BOOL bReadOnly)
{
    DWORD dwAttributes;
    if (!ReadAttributes(lpszPath, dwAttributes))
        return FALSE;
    dwAttributes = bReadOnly ? (dwAttributes | FILE_ATTRIBUTE_READONLY) : (dwAttributes & ~FILE_ATTRIBUTE_READONLY);
    return ::SetFileAttributesW(lpszPath, dwAttributes);
}

BOOL MoveFileKeepAttr(LPCTSTR lpszFrom, LPCTSTR lpszTo)
{
    BOOL bReadOnly = IsReadOnly(lpszFrom);
    if (bReadOnly && !SetReadOnly(lpszFrom, FALSE))
        return FALSE;
    if (!::MoveFileW(lpszFrom, lpszTo)) {
        // The file stays where it was: give it its attribute back, keeping the move's error for the caller.
        DWORD dwError = ::GetLastError();
        if (bReadOnly)
            SetReadOnly(lpszFrom, TRUE);
        ::SetLastError(dwError);
        return FALSE;
    }
    return !bReadOnly || SetReadOnly(lpszTo, TRUE);
}

CString GetTempFileName(LPCTSTR lpszFolder, LPCTSTR lpszPrefix)
{
    TCHAR szFolder[MAX_PATH] = {};
    if (lpszFolder && *lpszFolder)
        ::lstrcpynW(szFolder, lpszFolder, MAX_PATH);
    else if (::GetTempPathW(MAX_PATH, szFolder) == 0)
        return CString();
    TCHAR szFile[MAX_PATH] = {};
    if (!::GetTempFileNameW(szFolder, lpszPrefix ? lpszPrefix : L"", 0, szFile))
        return CString();
    return szFile;
}

CString MakeUniqueFileName(LPCTSTR lpszFolder, LPCTSTR lpszPrefix)
{
    if (!EnsureFolder(lpszFolder))
        return CString();
    // The system picks a number no file of the folder uses; the file itself is not wanted.
    CString strTemp = GetTempFileName(lpszFolder, lpszPrefix);
    if (strTemp.IsEmpty())
        return CString();
    ::DeleteFileW(strTemp);
    return GetFreeFileName(CombinePath(lpszFolder, GetPathFileTitle(strTemp)));
}

CString GetFreeFileName(LPCTSTR lpszCandidate)
{
    CString strName = lpszCandidate;
    for (int nCounter = 0; FileExists(strName); nCounter++)
        strName.Format(L"%s_%02d", lpszCandidate, nCounter);
    return strName;
}

BOOL EnsureFolder(LPCTSTR lpszFolder)
{
    // The shell's function creates the whole chain with wide names; it wants an absolute path.
    CString strFull = GetFullPath(lpszFolder);
    ::SHCreateDirectoryExW(nullptr, strFull, nullptr);
    return IsDirectory(strFull);
}

CString ResolveShellPath(LPCTSTR lpszPath)
{
    CString strResolved = lpszPath;
    IShellFolder* pDesktop = nullptr;
    if (FAILED(::SHGetDesktopFolder(&pDesktop)))
        return strResolved;
    CString strDisplayName = lpszPath;   // ParseDisplayName wants a writable string
    PIDLIST_RELATIVE pidl = nullptr;
    if (SUCCEEDED(pDesktop->ParseDisplayName(nullptr, nullptr, strDisplayName.GetBuffer(), nullptr, &pidl, nullptr))) {
        TCHAR szPath[MAX_PATH] = {};
        if (::SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(pidl), szPath))
            strResolved = szPath;
        ::CoTaskMemFree(pidl);
    }
    strDisplayName.ReleaseBuffer();
    pDesktop->Release();
    return strResolved;
}

CString GetModuleDir()
{
    static const CString strDir = [] {
        TCHAR szModule[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, szModule, MAX_PATH);
        return GetPathDir(szModule);
    }();
    return strDir;
}

BOOL CreateShortcut(LPCTSTR lpszLinkFile, LPCTSTR lpszTarget, LPCTSTR lpszDescription)
{
    IShellLinkW* pLink = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&pLink))))
        return FALSE;
    BOOL bSaved = FALSE;
    IPersistFile* pFile = nullptr;
    if (SUCCEEDED(pLink->SetPath(lpszTarget)) && SUCCEEDED(pLink->SetDescription(lpszDescription))
        && SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile)))) {
        bSaved = SUCCEEDED(pFile->Save(lpszLinkFile, TRUE));
        pFile->Release();
    }
    pLink->Release();
    return bSaved;
}
