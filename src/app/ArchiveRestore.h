// Restoring the data archive from a backup zip. The zip's one file item must be the archive under its path
// relative to the program folder (folder items are passed over); the item is extracted to a temporary file beside
// the archive, checked (size and CRC-32 counted here, a version this program knows, the steps of every opening
// gone through) and only then put in the archive's place in one step. Any refusal is shown to the user, and the
// archive stays as it was. A copy of the former archive is kept beside it until the restore object goes, so that
// the caller can put it back when the new archive does not open; its name says what it holds, for whoever finds it
// after a crash. The databases must be closed.
#pragma once

#include "app/CompactDatabase.h"
#include "util/ZipReader.h"

#include "platform/mfc/afxdisp.h"
#include "platform/mfc/afxstr.h"

// The kept copy of the former archive: "Vorsa08 prima del ripristino 2026-12-11 15.04.mdb" beside
// "Dati\Vorsa08.mdb", for a restore at that time; " (2)", " (3)", ... before the extension while a file of that
// name exists (a copy kept by an earlier restore of the same minute, or left by a crash, stays as it is).
CString GetFormerArchiveName(LPCTSTR pszArchivePath, const COleDateTime& when);

class CArchiveRestore
{
public:
    // pszRelativePath: the archive's path below the program folder, as the backup stores it.
    CArchiveRestore(LPCTSTR pszArchivePath, LPCTSTR pszRelativePath, int nNewestVersion,
                    PFN_REPLACE_FILE pfnReplace = ReplaceFileAtomically);

    ~CArchiveRestore();
    CArchiveRestore(const CArchiveRestore&) = delete;
    CArchiveRestore& operator=(const CArchiveRestore&) = delete;

    bool Run(LPCTSTR pszZipPath);
    // After a Run that answered true: the former archive takes its place again. A failure is shown with the name
    // of the file that still holds the former archive.
    bool PutBackFormer();

private:
    bool FindArchiveItem(ZipHandle hz, ZipEntry& archive);
    bool CheckRoom(const ZipEntry& archive);
    bool Extract(ZipHandle hz, const ZipEntry& archive, LPCTSTR pszTemp);
    bool CheckExtracted(const ZipEntry& archive, LPCTSTR pszTemp, ZRESULT result);
    bool CheckCopy(LPCTSTR pszTemp);

    CString m_strArchivePath;
    CString m_strItemName;        // the relative path with "/" between folders
    int m_nNewestVersion;
    PFN_REPLACE_FILE m_pfnReplace;
    CString m_strFormer;          // the copy of the former archive, while the new one has not opened yet
};
