// Import of the ministry's certificate of the final accounts ("Certificato al Conto") of 2003, 2004 or 2005 into
// the accrual and cash rows of Entrate and SaldoFin, followed by the recomputation of every balance, all in one
// transaction on the data archive.
#pragma once

#include "data/ADOConnection.h"

#include <map>
#include <string>
#include <vector>

class CImportTextFile;

class CImportCC
{
public:
    // nOption: ImportOption.
    CImportCC(CADOConnection& data, int nYear, int nOption);

    // True when the figures were written. Every refusal, error and the final confirmation is shown here; false
    // when the user stopped at a line, the file was refused or the archive could not be written (it is then as
    // before).
    bool Import(LPCTSTR pszPath);

    // "Anno1".."Anno3" for 2003..2005; null for another year, which writes nothing.
    static LPCTSTR YearField(int nYear);

private:
    struct CEntry
    {
        long nRow;
        int nCode;
        int nFirst;     // 1-based positions in the record's amounts; 0: none
        int nSecond;
    };

    // False when the user cancelled at a message.
    bool ReadRecords(const CImportTextFile& file);
    void WriteTable(LPCTSTR pszTable, const CEntry* pEntries, size_t nCount);
    // Answers false when the record lacks both positions.
    bool SumAmounts(const CEntry& entry, long long& units) const;

    CADOConnection& m_data;
    int m_nYear;
    int m_nOption;
    std::map<std::string, std::vector<long long>> m_records;
};
