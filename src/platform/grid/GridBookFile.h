// What the reader and the writer of workbook files share: the version and the names of enumerated values.
// The layout is described in VTS-FORMAT.md.
#pragma once

#include "GridCellFormat.h"

#include <string>

const int kVtsVersion = 1;

// Indexed by GridHAlign, GridVAlign, GridBorderStyle and GridBorderSide.
extern const char* const g_vtsHAlignNames[4];
extern const char* const g_vtsVAlignNames[3];
extern const char* const g_vtsBorderNames[7];
extern const char* const g_vtsBorderKeys[gridSideCount];

// The system's text for an error code of GetLastError.
CString GridSystemErrorText(DWORD dwError);
// Writes a file whole: the content goes to a temporary file first, which then replaces the file. FALSE with the
// reason in strError.
BOOL GridReplaceFile(LPCTSTR pszPath, const std::string& content, CString& strError);
