// A balance table of the data archive with its rows reached by number (and, in SaldoFinCalc, by responsible
// centre). A row that is read and missing counts as 0; a row that is written and missing is added with its key.
#pragma once

#include "data/SetDati.h"

class CSetSaldi : public CSetDati
{
public:
    enum Access { readOnly, forUpdate };
    enum { noResp = -1 };

    CSetSaldi(LPCTSTR pszTable, CADOConnection& connection) : CSetDati(pszTable, connection) {}

    // The table itself, for index seek.
    void OpenRows(Access nAccess);
    // The centre whose rows the look-ups reach, in a table keyed by ("ID", "idResp"); noResp: keyed by "ID".
    void SetResp(long nIdResp) { m_nIdResp = nIdResp; }
    long GetResp() const { return m_nIdResp; }

    bool FindRow(long nID);
    void FindOrAddRow(long nID);

    // Of the current row.
    long GetRowNumber() const;

    // Amounts of one row as doubles: 0 for a missing row and for null fields.
    void ReadDoubles(long nID, const LPCTSTR* pFields, double* pValues, int nCount);
    double ReadDouble(long nID, LPCTSTR pszField);
    // Each double becomes the nearest 1/10000; the row is added when missing. A value beyond the range of an
    // amount raises (see PutAmount).
    void WriteDoubles(long nID, const LPCTSTR* pFields, const double* pValues, int nCount);
    void WriteDouble(long nID, LPCTSTR pszField, double value);
    // Puts a computed amount into the current row (nID its number, for the message): null stays null, and an
    // amount that overflowed raises a database error naming the field, so that the recomputation rolls back
    // instead of storing null.
    void PutAmount(long nID, LPCTSTR pszField, const COleCurrency& amount);

private:
    long m_nIdResp = noResp;
};
