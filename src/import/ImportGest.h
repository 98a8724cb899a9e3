// Import of the management software's revenue and expense export files into the forecast of 2008/09/10
// (SaldoFinProg, accrual), followed by the recomputation of the forecast balances, in one transaction.
#pragma once

#include "data/ADOConnection.h"
#include "import/ImportLines.h"

#include <map>
#include <string>

class CSetSaldi;

class CImportGest
{
public:
    // nOption: ImportOption.
    CImportGest(CADOConnection& data, int nOption);

    // True after a successful import; every refusal, error and the confirmation is shown here. On false (files
    // that give nothing to import among them) the archive is as before.
    bool Import(LPCTSTR pszRevenuePath, LPCTSTR pszExpensePath);

private:
    typedef std::map<std::string, CGestLine> CLineMap;
    struct CEntry
    {
        int nCode;
        long nRow;
    };

    // nKind: the string naming the file's kind in messages.
    static bool ReadFile(LPCTSTR pszPath, UINT nKind, CLineMap& lines, const CEntry* pEntries, size_t nCount);
    static bool HasImportedCode(const CLineMap& lines, const CEntry* pEntries, size_t nCount);
    void WriteRows(CSetSaldi& set, const CLineMap& lines, const CEntry* pEntries, size_t nCount);

    static const CEntry s_revenues[19];
    static const CEntry s_expenses[2];

    CADOConnection& m_data;
    int m_nOption;
    CLineMap m_revenues;
    CLineMap m_expenses;
};
