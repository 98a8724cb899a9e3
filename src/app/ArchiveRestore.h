// Restoring the data archive from a backup zip. The zip's one file item must be the archive under its path
// relative to the program folder (folder items are passed over); the item is extracted to a temporary file beside
// the archive, checked (size and CRC-32 counted here, opens as an archive of a version this program knows) and
// only then put in the archive's place in one step. Any refusal is shown to the user, and the archive stays as it
// was. The databases must be closed.
#pragma once

#include "app/CompactDatabase.h"
#include "util/ZipReader.h"

#include "platform/mfc/afxstr.h"

class CArchiveRestore
{
public:
    // pszRelativePath: the archive's path below the program folder, as the backup stores it.
    CArchiveRestore(LPCTSTR pszArchivePath, LPCTSTR pszRelativePath, int nNewestVersion,
                    PFN_REPLACE_FILE pfnReplace = ReplaceFileAtomically);

    bool Run(LPCTSTR pszZipPath);

private:
    bool FindArchiveItem(ZipHandle hz, ZipEntry& archive);
    bool CheckRoom(const ZipEntry& archive);
    bool Extract(ZipHandle hz, const ZipEntry& archive, LPCTSTR pszTemp);
    bool CheckExtracted(const ZipEntry& archive, LPCTSTR pszTemp, ZRESULT result);
    bool IsKnownArchive(LPCTSTR pszTemp);

    CString m_strArchivePath;
    CString m_strItemName;        // the relative path with "/" between folders
    int m_nNewestVersion;
    PFN_REPLACE_FILE m_pfnReplace;
};
