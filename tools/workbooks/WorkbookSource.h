// The compiler of the workbook sources (content/workbooks/*.wbs, described in FORMAT.md beside them): reads the
// text of one source and builds the workbook it describes, each data sheet followed by its description sheet
// with the settings cell and the "[EOF]" markers, ready to be written as a ".vts" file.
#pragma once

#include "platform/grid/GridBook.h"

// Builds the workbook into book (emptied first). A source that cannot be read returns FALSE with strError
// naming the line ("line 12: ..."); the book is then left in an unspecified state.
BOOL CompileWorkbookSource(const CString& strSource, CGridBook& book, CString& strError);
