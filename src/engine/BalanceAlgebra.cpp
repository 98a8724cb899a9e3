#include "BalanceAlgebra.h"

#include <cmath>
#include <cstdlib>
#include <vector>

double RoundAmount(double value)
{
    double magnitude = std::fabs(value);
    long long nWhole = static_cast<long long>(magnitude);
    if (magnitude - static_cast<double>(nWhole) >= 0.5)
        ++nWhole;
    return value < 0 ? -static_cast<double>(nWhole) : static_cast<double>(nWhole);
}

double MeanOfNonZero(const double* pValues, int nCount)
{
    double sum = 0.0;
    int nNonZero = 0;
    for (int i = 0; i < nCount; ++i) {
        if (pValues[i] != 0.0) {
            sum += pValues[i];
            ++nNonZero;
        }
    }
    return nNonZero ? sum / nNonZero : 0.0;
}

double PercentOf(double difference, double target)
{
    return target != 0.0 ? difference / std::fabs(target) * 100.0 : 0.0;
}

void SumCurrencyRows(CSetSaldi& set, const long* pRows, int nRows, long nTarget, const LPCTSTR* pFields,
                     int nFields)
{
    std::vector<COleCurrency> sums(static_cast<size_t>(nFields));
    for (int i = 0; i < nRows; ++i) {
        if (!set.FindRow(std::labs(pRows[i])))
            continue;
        for (int f = 0; f < nFields; ++f) {
            COleCurrency value = set.GetFieldAmount(pFields[f]);
            if (value.GetStatus() == COleCurrency::valid)
                sums[f] += pRows[i] < 0 ? -value : value;
        }
    }
    set.FindOrAddRow(nTarget);
    for (int f = 0; f < nFields; ++f)
        set.PutAmount(nTarget, pFields[f], sums[f]);
    set.UpdateRow();
}

namespace {

struct CRowSum
{
    long nTarget;
    long rows[6];   // signed; 0 ends a shorter list
};

void SumRowList(CSetSaldi& set, const CRowSum& sum, const LPCTSTR* pFields, int nFields, long nOffset)
{
    long rows[_countof(sum.rows)];
    int nRows = 0;
    for (; nRows < static_cast<int>(_countof(sum.rows)) && sum.rows[nRows] != 0; ++nRows) {
        long nRow = sum.rows[nRows];
        rows[nRows] = nRow < 0 ? nRow - nOffset : nRow + nOffset;
    }
    SumCurrencyRows(set, rows, nRows, sum.nTarget + nOffset, pFields, nFields);
}

struct CMixedComponent
{
    long nRow;      // negative: subtracted
    bool bCash;     // a capital item, taken on the cash basis
};

double SumMixedComponents(CSetSaldi& set, const CMixedComponent* pComponents, int nCount, const CYearFields& year)
{
    double sum = 0.0;
    for (int i = 0; i < nCount; ++i) {
        const CMixedComponent& component = pComponents[i];
        if (!set.FindRow(std::labs(component.nRow)))
            continue;
        COleCurrency value = set.GetFieldAmount(component.bCash ? year.pszCas : year.pszCom);
        if (value.GetStatus() != COleCurrency::valid)
            value = COleCurrency();
        set.SetFieldCurrency(year.pszMis, value);
        set.UpdateRow();
        double amount = CADOCurrency::CurrencyToDouble(value);
        sum += component.nRow < 0 ? -amount : amount;
    }
    return sum;
}

} // namespace

void SumRevenueTitles(CSetSaldi& set, const LPCTSTR* pFields, int nFields, long nOffset)
{
    static const CRowSum titles[] = {
        {2104, {2101, 2102, 2103}},
        {2206, {2201, 2202, 2203, 2204, 2205}},
        {2306, {2301, 2302, 2303, 2304, 2305}},
        {2407, {2401, 2402, 2403, 2404, 2405, 2406}},
    };
    for (const CRowSum& title : titles)
        SumRowList(set, title, pFields, nFields, nOffset);
}

void SumForecastBalances(CSetSaldi& set, const LPCTSTR* pFields, int nFields)
{
    static const CRowSum balances[] = {
        {100, {2104, 2206, 2306, 2407, -2502, -2406}},
        {200, {201, -211, 202, -212, -203}},
        {300, {100, -200}},
    };
    for (const CRowSum& balance : balances)
        SumRowList(set, balance, pFields, nFields, 0);
}

void SumMixedBalances(CSetSaldi& set, const CYearFields& year)
{
    static const CMixedComponent revenues[] = {
        {2104, false}, {2206, false}, {2306, false}, {2407, true}, {-2502, true}, {-2406, true},
    };
    static const CMixedComponent spending[] = {
        {201, false}, {-211, false}, {202, true}, {-212, true}, {-203, true},
    };
    double finalRevenues = SumMixedComponents(set, revenues, _countof(revenues), year);
    set.WriteDouble(100, year.pszMis, finalRevenues);
    double finalSpending = SumMixedComponents(set, spending, _countof(spending), year);
    set.WriteDouble(200, year.pszMis, finalSpending);
    set.WriteDouble(300, year.pszMis, finalRevenues - finalSpending);
}

void WriteTargetDifferences(CSetSaldi& set, const LPCTSTR* pFields, const double* pBalances, const double* pTargets,
                            int nCount)
{
    std::vector<double> differences(static_cast<size_t>(nCount));
    std::vector<double> percents(static_cast<size_t>(nCount));
    for (int i = 0; i < nCount; ++i) {
        differences[i] = pBalances[i] - pTargets[i];
        percents[i] = PercentOf(differences[i], pTargets[i]);
    }
    set.WriteDoubles(401, pFields, differences.data(), nCount);
    set.WriteDoubles(402, pFields, percents.data(), nCount);
}
