// What the reader and the writer of workbook files share: the version and the names of enumerated values.
// The layout is described in VTS-FORMAT.md.
#pragma once

#include "GridCellFormat.h"

const int kVtsVersion = 1;

// Indexed by GridHAlign, GridVAlign, GridBorderStyle and GridBorderSide.
extern const char* const g_vtsHAlignNames[4];
extern const char* const g_vtsVAlignNames[3];
extern const char* const g_vtsBorderNames[7];
extern const char* const g_vtsBorderKeys[gridSideCount];

// The system's text for an error code of GetLastError.
CString GridSystemErrorText(DWORD dwError);
