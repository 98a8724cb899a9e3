// The steps that make a data archive ready for this program, on any connection to it: the version check, the
// upgrade of an older archive and the recomputation of the balances, in one transaction. Start-up and maintenance
// run them on the archive, a restore on the extracted copy before it takes the archive's place.
#pragma once

#include "data/ADOConnection.h"

// The archive version this program reads and writes: major * 100 + minor.
const int CURRENT_ARCHIVE_VERSION = 200;

// False, with the text that says why in strRefusal and the archive unchanged, for an archive newer than this
// program or whose "VersioneDB" is not a number or is contradicted by the tables it already holds. Database errors
// leave as _com_error after the rollback.
bool PrepareArchive(CADOConnection& data, CString& strRefusal);

