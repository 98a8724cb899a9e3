// Fixture of the engine tests: a new data archive from the schema, with helpers that write and read amounts by
// table, row number and field (and centre, in SaldoFinCalc).
#pragma once

#include "data/DataTestArchive.h"

#include <cmath>
#include <initializer_list>

class CEngineTestArchive : public CDataTestArchive
{
protected:
    static const long NoResp = -1;
    // An amount written as null.
    static constexpr double Null = NAN;

    struct CAmount
    {
        LPCTSTR pszField;
        double value;
    };

    // Writes the amounts into the row, adding it when missing.
    void Put(LPCTSTR pszTable, long nID, std::initializer_list<CAmount> amounts, long nIdResp = NoResp);
    // The same amounts into "Anno1".."Anno3".
    void PutYears(LPCTSTR pszTable, long nID, double anno1, double anno2, double anno3);
    // The stored value; a missing row or a null field fails the test and answers NaN.
    double Get(LPCTSTR pszTable, long nID, LPCTSTR pszField, long nIdResp = NoResp);
    bool HasRow(LPCTSTR pszTable, long nID, long nIdResp = NoResp);
    bool IsNull(LPCTSTR pszTable, long nID, LPCTSTR pszField, long nIdResp = NoResp);
    // "Anno1".."Anno3" of a row.
    void ExpectYears(LPCTSTR pszTable, long nID, double anno1, double anno2, double anno3);

    // A new responsible centre; answers its number.
    long AddCentre(LPCTSTR pszName);
    void SetAccountingMode(int nMode);

private:
    _variant_t Value(LPCTSTR pszTable, long nID, LPCTSTR pszField, long nIdResp, bool& bFound);
};
