// The checks that a workbook's description binds to the data archive: every table, field and row that a
// described cell names must exist, so that a form never loads from or saves into a row or column that is not
// there. The tables and fields are read from the archive itself; the rows are those the program's tables know
// (the row numbering of the budget and balance tables and the keys of the authority's data).
#pragma once

#include "data/ADOConnection.h"
#include "forms/FormInfo.h"

// True when the table has a row keyed so in the program's numbering.
BOOL IsKnownFormRow(const CString& strTable, const CString& strRow);

// Walks the described cells of every sheet in the order the views do, with the table in force (the sheet's,
// switched by a cell's T); returns FALSE at the first cell that names a table or field the archive lacks, with
// strError naming the cell and its sheet. Database errors other than a missing table raise _com_error.
BOOL CheckFormBinding(const CFormInfo& info, CADOConnection& data, CString& strError);
// The same walk for the row keys: FALSE at the first cell whose row is not one of its table's rows in the
// program's numbering. The views add a missing row when they save, so the archive's own rows cannot tell a
// wrong key; the workbook compiler refuses such a source.
BOOL CheckFormRows(const CFormInfo& info, CString& strError);
