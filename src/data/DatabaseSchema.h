// Creation of new, empty databases from the schemas kept with the program: the program database and a data
// archive at the current version. Database errors raise _com_error; a database left half made is removed.
#pragma once

#include "data/ADOConnection.h"

void CreateProgramDatabase(LPCTSTR pszPath, LPCTSTR pszPassword);
void CreateDataArchive(LPCTSTR pszPath, LPCTSTR pszPassword);

// Runs the Jet statements of a script, one per ";" outside quoted text (lines starting with "--" are comments),
// in one transaction.
void ExecuteSqlScript(CADOConnection& connection, const CString& script);
