// The row algebra shared by the steps of the balance recomputation: rounding and averages of amounts, signed
// sums of rows, and the balances of the forecast tables (SaldoFinProg, SaldoFinCalc) that share their rows.
#pragma once

#include "engine/SetSaldi.h"

// Halves away from zero, through a 64-bit integer.
double RoundAmount(double value);
// The mean of the values that are not zero; 0 when every value is zero.
double MeanOfNonZero(const double* pValues, int nCount);
// The difference as a percentage of the target's size; 0 for a target of 0.
double PercentOf(double difference, double target);

// For each field: the sum, in currency, of the listed rows (a negative number subtracts the row with that
// number); missing rows and null fields add nothing. The target row gets the sums (added when missing). In
// SaldoFinCalc the rows are those of the set's current centre.
void SumCurrencyRows(CSetSaldi& set, const long* pRows, int nRows, long nTarget, const LPCTSTR* pFields,
                     int nFields);

// Totals of the revenue titles 1 to 4 (2104, 2206, 2306, 2407) from their items; nOffset 1000 gives the cash
// rows of Entrate (3104 ...).
void SumRevenueTitles(CSetSaldi& set, const LPCTSTR* pFields, int nFields, long nOffset = 0);

// The fields of one forecast year on the accrual, cash and mixed bases.
struct CYearFields
{
    LPCTSTR pszCom;
    LPCTSTR pszCas;
    LPCTSTR pszMis;
};

// Final revenues 100, final spending 200 and balance 300 of the forecast tables, on the accrual and cash bases.
void SumForecastBalances(CSetSaldi& set, const LPCTSTR* pFields, int nFields);
// The same rows on the mixed basis of one year: current items on the accrual basis, capital items on the cash
// basis. Each component row present receives in its mixed field the value it contributes, before the sign.
void SumMixedBalances(CSetSaldi& set, const CYearFields& year);
// Row 401 = balance - target and row 402 = the same in percent, field by field.
void WriteTargetDifferences(CSetSaldi& set, const LPCTSTR* pFields, const double* pBalances, const double* pTargets,
                            int nCount);
