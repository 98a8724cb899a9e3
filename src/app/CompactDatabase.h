// Compaction of a database file: a compacted copy is written next to it and then takes its place in one step,
// so that the file is never absent and a failure leaves the original as it was.
#pragma once

#include <windows.h>

// Puts the replacement file in the place of the existing one; FALSE with the system's last error on failure.
typedef BOOL (*PFN_REPLACE_FILE)(LPCTSTR pszExisting, LPCTSTR pszReplacement);

BOOL ReplaceFileAtomically(LPCTSTR pszExisting, LPCTSTR pszReplacement);

// The copy is "<path>.TEMP" (a stale one is removed first) and keeps the password. A failure is shown to the user
// with the error icon and answers false. The database must not be open on any connection.
bool CompactDatabase(LPCTSTR pszPath, LPCTSTR pszPassword, PFN_REPLACE_FILE pfnReplace = ReplaceFileAtomically);
