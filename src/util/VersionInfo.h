// Version information of the program file, read once for the whole process. Reading it raises the
// framework's resource exception when the program file carries none.
#pragma once

#include "platform/mfc/afxstr.h"

VS_FIXEDFILEINFO GetFixedFileInfo();
// A value of the string table of the first translation ("FileVersion", "ProductName", ...); empty when missing.
CString GetVersionString(LPCTSTR lpszKey);
// The four numbers of the file version, one byte each, the first in the high byte; 0 when unreadable.
DWORD GetFileVersionNumber();
