// Import from the database of the planning product Tessivar 2008/10, when it is installed on this computer:
// the accrual revenues of 2005 into Entrate and the forecast revenues and spending totals of 2008/09/10 into
// SaldoFinProg, followed by the recomputation of every balance, in one transaction. The source database is
// read through the data layer, so it must be in the program's own database format.
#pragma once

#include "data/ADOConnection.h"
#include "platform/mfc/afxdisp.h"

#include <map>

class CSetSaldi;

// The program file named by an uninstall command: a quoted path up to its closing quote; else the shortest
// part up to a blank that names an existing file; else the text up to its first blank.
CString GetUninstallProgramPath(LPCTSTR pszCommand, BOOL (*pfnFileExists)(LPCTSTR));

class CImportRel
{
public:
    // nOption: ImportOption.
    CImportRel(CADOConnection& data, int nOption);

    // The planning product's database by its uninstall entry, environment variables expanded; empty when it is
    // not there.
    static CString FindDatabase();

    // True after a successful import; refusals, errors and the confirmation are shown here. On false the
    // archive is as before.
    bool Import();
    bool ImportFrom(LPCTSTR pszDatabase, LPCTSTR pszPassword);

private:
    enum { kRevenueFieldCount = 4, kSpendingFieldCount = 9 };
    // A source row's amounts; a missing row or a null field is a null currency, never written.
    struct CRevenueRow { COleCurrency values[kRevenueFieldCount]; };

    // False, the refusal shown, when a source value is no amount.
    bool ReadSource(CADOConnection& source);
    bool ReadAmounts(const CSetSaldi& set, long nRow, const LPCTSTR* pFields, COleCurrency* pValues, int nCount);
    void WriteEntrate();
    void WriteSaldoFinProg();
    void WriteAmounts(CSetSaldi& set, long nID, const LPCTSTR* pFields, const COleCurrency* pValues, int nCount);

    CADOConnection& m_data;
    int m_nOption;
    std::map<long, CRevenueRow> m_revenues;   // by source row number
    COleCurrency m_spending[kSpendingFieldCount];
};
