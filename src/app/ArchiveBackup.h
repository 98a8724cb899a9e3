// Backup of the data archive into a zip file: its name, where it may go, and the writing.
#pragma once

#include "platform/mfc/afxdisp.h"
#include "platform/mfc/afxstr.h"

// "2008.03.27.zip" for 27 March 2008.
CString GetDefaultBackupName(const COleDateTime& date);

// A backup may not be written over either database file, nor lie in the archive's own folder, wherever that is
// (nor below it, unless the program folder lies there), nor in the users' documents folder "DocUt" or below. What
// exists is compared as the file system knows it, whatever names it (a short name, a share, another drive letter);
// paths are compared whole, ignoring case.
bool IsBackupTargetRefused(LPCTSTR pszTarget, LPCTSTR pszAppDir, LPCTSTR pszArchivePath, LPCTSTR pszProgDatabasePath);

// Writes the zip: the archive's folder entry (when the archive lies in a folder of its own) and the archive
// under its relative path. A failure is shown to the user and leaves the target as it was.
bool WriteArchiveZip(LPCTSTR pszZipPath, LPCTSTR pszArchivePath, LPCTSTR pszRelativePath);
