// Consistency of the forecast balances of 2008 broken down by responsible centre: the totals over all centres
// (SaldoFinCalc, centre 0) must equal the forecast balance table (SaldoFinProg), title by title, on the cash and
// accrual bases. The check only reads; showing its report is the caller's (the check report dialog).
#pragma once

#include "data/ADOConnection.h"
#include "util/AdArray.h"

// One row that differs, with the string-table ids of the fields that differ ("cassa" before "competenza").
struct CConsistencyFinding
{
    long nRow = 0;
    CAdArray<UINT> fieldIds;
};

typedef CAdArray<CConsistencyFinding> CConsistencyFindings;

// Fills the findings in the order of the checked rows; missing rows count 0. Database errors leave as _com_error.
void CheckSaldoFinProgVsCalc(CADOConnection& data, CConsistencyFindings& findings);

// The text of the report: message 2091 with one line "- row label (fields)" per finding.
CString FormatConsistencyReport(const CConsistencyFindings& findings);
