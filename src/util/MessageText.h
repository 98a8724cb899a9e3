// Turning string-table messages, printf-style formats and error codes into the texts the user reads.
#pragma once

#include "platform/mfc/afxstr.h"

CString LoadResString(UINT nID);
