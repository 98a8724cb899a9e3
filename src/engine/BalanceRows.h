// The numbered rows of the budget and balance tables: every row that the input forms, the reports and the
// recomputation read or write, by table. The workbooks may name no other row, and a new archive holds them all
// with their amounts 0, so that nothing the program shows is missing before the forms are first saved.
#pragma once

#include "data/ADOConnection.h"

#include <vector>

struct CBalanceRowRange
{
    long nFirst;
    long nLast;
};

// The table's rows (its name compared without regard to case); empty for a table not numbered so.
const std::vector<CBalanceRowRange>& GetBalanceRows(LPCTSTR pszTable);
bool IsBalanceRow(LPCTSTR pszTable, long nRow);
// The tables that have numbered rows.
const std::vector<LPCTSTR>& GetBalanceTables();

// Adds every numbered row that the archive lacks, with the amounts' default 0 (in SaldoFinCalc the rows of the
// totals, centre 0); the rows there stay as they are. Database errors raise _com_error, nothing half added.
void AddMissingBalanceRows(CADOConnection& data);
