// The passwords of the two databases. Each file has its own, built at run time so that no file holds it whole;
// opening, compaction and backup of a file all take it from here.
#pragma once

#include "platform/mfc/afxstr.h"

// "Prog03.mdb"
CString GetProgDatabasePassword();
// The data archive named by Config "nomeDB".
CString GetArchivePassword();
