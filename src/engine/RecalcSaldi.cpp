#include "RecalcSaldi.h"

#include "engine/BalanceAlgebra.h"

namespace {

const LPCTSTR kPastYears[] = {L"Anno1", L"Anno2", L"Anno3"};
const int kPastYearCount = _countof(kPastYears);

// "media123" of a single row: the mean of its non-zero years.
void AverageRow(CSetSaldi& entrate, long nID)
{
    double years[kPastYearCount];
    entrate.ReadDoubles(nID, kPastYears, years, kPastYearCount);
    entrate.WriteDouble(nID, L"media123", MeanOfNonZero(years, kPastYearCount));
}

// "media123" of the final revenues: the mean of the non-zero yearly sums of the four titles less the collection
// of credits, which title 4 includes. nOffset 1000 gives the cash rows.
void AverageFinalRevenues(CSetSaldi& entrate, long nOffset)
{
    static const long titles[] = {2104, 2206, 2306, 2407};
    double sums[kPastYearCount] = {};
    double values[kPastYearCount];
    for (long nTitle : titles) {
        entrate.ReadDoubles(nTitle + nOffset, kPastYears, values, kPastYearCount);
        for (int y = 0; y < kPastYearCount; ++y)
            sums[y] += values[y];
    }
    entrate.ReadDoubles(2406 + nOffset, kPastYears, values, kPastYearCount);
    for (int y = 0; y < kPastYearCount; ++y)
        sums[y] -= values[y];
    entrate.WriteDouble(2504 + nOffset, L"media123", MeanOfNonZero(sums, kPastYearCount));
}

// The rows of Entrate that SaldoFin takes over as they are, nulls included.
void CopyEntrate(CSetSaldi& entrate, CSetSaldi& saldoFin)
{
    static const struct { long nFrom; long nTo; } copies[] = {
        {2104, 101}, {2206, 102}, {2306, 103}, {2407, 104}, {2501, 105}, {2406, 106},
        {3104, 1101}, {3206, 1102}, {3306, 1103}, {3407, 1104}, {3501, 1105}, {3406, 1106},
    };
    for (const auto& copy : copies) {
        COleCurrency values[kPastYearCount];
        if (entrate.FindRow(copy.nFrom)) {
            for (int y = 0; y < kPastYearCount; ++y)
                values[y] = entrate.GetFieldAmount(kPastYears[y]);
        }
        saldoFin.FindOrAddRow(copy.nTo);
        for (int y = 0; y < kPastYearCount; ++y)
            saldoFin.SetFieldCurrency(kPastYears[y], values[y]);
        saldoFin.UpdateRow();
    }
}

void SumSaldoFin(CSetSaldi& saldoFin)
{
    static const struct { long nTarget; long rows[5]; int nRows; } sums[] = {
        {100, {101, 102, 103, 104, -106}, 5},      // final revenues, accrual
        {200, {201, 202, -203}, 3},                // final spending, accrual
        {300, {100, -200}, 2},
        {1100, {1101, 1102, 1103, 1104, -1106}, 5}, // cash
        {1200, {1201, 1202, -1203}, 3},
        {1300, {1100, -1200}, 2},
        {2100, {101, 102, 103, 1104, -1106}, 5},   // mixed: titles 1-3 accrual, title 4 cash
        {2200, {201, 1202, -1203}, 3},             // mixed: current accrual, capital cash
        {2300, {2100, -2200}, 2},
    };
    for (const auto& sum : sums)
        SumCurrencyRows(saldoFin, sum.rows, sum.nRows, sum.nTarget, kPastYears, kPastYearCount);
}

} // namespace

bool RecalcSaldi(CADOConnection& data)
{
    CADOTransaction transaction(data);
    {
        CSetSaldi entrate(L"Entrate", data);
        entrate.OpenRows(CSetSaldi::forUpdate);
        SumRevenueTitles(entrate, kPastYears, kPastYearCount);
        SumRevenueTitles(entrate, kPastYears, kPastYearCount, 1000);
        for (long nID : {2501L, 2503L, 3501L, 3503L})
            AverageRow(entrate, nID);
        AverageFinalRevenues(entrate, 0);
        AverageFinalRevenues(entrate, 1000);
    }
    CalcSaldoFin(data);
    transaction.Commit();
    return true;
}

bool CalcSaldoFin(CADOConnection& data)
{
    CADOTransaction transaction(data);
    {
        CSetSaldi entrate(L"Entrate", data);
        entrate.OpenRows(CSetSaldi::readOnly);
        CSetSaldi saldoFin(L"SaldoFin", data);
        saldoFin.OpenRows(CSetSaldi::forUpdate);
        CopyEntrate(entrate, saldoFin);
        SumSaldoFin(saldoFin);
    }
    CalcSaldoFinSaldoProg(data);
    transaction.Commit();
    return true;
}

bool CalcMonitor(CADOConnection& data)
{
    static const LPCTSTR quarters[] = {L"Trim1", L"Trim2", L"Trim3", L"Trim4"};
    static const LPCTSTR quarterTargets[] = {L"Anno1", L"Anno2", L"Anno3", L"Anno4"};
    const int nQuarters = _countof(quarters);

    CADOTransaction transaction(data);
    CSetSaldi saldoProg(L"SaldoProg", data);
    saldoProg.OpenRows(CSetSaldi::readOnly);
    CSetSaldi monitor(L"Monitor", data);
    monitor.OpenRows(CSetSaldi::forUpdate);
    // Accrual rows, then the cash rows a thousand above.
    for (long nOffset : {0L, 1000L}) {
        double annualTarget = saldoProg.ReadDouble(400 + nOffset, L"Anno4");
        double targets[nQuarters], balances[nQuarters];
        saldoProg.ReadDoubles(500 + nOffset, quarterTargets, targets, nQuarters);
        monitor.ReadDoubles(300 + nOffset, quarters, balances, nQuarters);

        double fromAnnual[nQuarters], fromAnnualPercent[nQuarters], fromQuarter[nQuarters],
            fromQuarterPercent[nQuarters];
        for (int q = 0; q < nQuarters; ++q) {
            fromAnnual[q] = balances[q] - annualTarget;
            fromAnnualPercent[q] = PercentOf(fromAnnual[q], annualTarget);
            fromQuarter[q] = balances[q] - targets[q];
            fromQuarterPercent[q] = PercentOf(fromQuarter[q], targets[q]);
        }
        monitor.WriteDoubles(401 + nOffset, quarters, fromAnnual, nQuarters);
        monitor.WriteDoubles(402 + nOffset, quarters, fromAnnualPercent, nQuarters);
        monitor.WriteDoubles(501 + nOffset, quarters, fromQuarter, nQuarters);
        monitor.WriteDoubles(502 + nOffset, quarters, fromQuarterPercent, nQuarters);
    }
    transaction.Commit();
    return true;
}

bool CalcSaldoFinProg(CADOConnection& data)
{
    static const LPCTSTR comCas[] = {L"Anno4Com", L"Anno4Cas", L"Anno5Com", L"Anno5Cas", L"Anno6Com", L"Anno6Cas"};
    static const CYearFields years[] = {
        {L"Anno4Com", L"Anno4Cas", L"Anno4Mis"},
        {L"Anno5Com", L"Anno5Cas", L"Anno5Mis"},
        {L"Anno6Com", L"Anno6Cas", L"Anno6Mis"},
    };
    static const LPCTSTR targetYears[] = {L"Anno4", L"Anno5", L"Anno6"};
    const int nYears = _countof(years);

    CADOTransaction transaction(data);
    CSetSaldi saldoFinProg(L"SaldoFinProg", data);
    saldoFinProg.OpenRows(CSetSaldi::forUpdate);
    SumRevenueTitles(saldoFinProg, comCas, _countof(comCas));
    SumForecastBalances(saldoFinProg, comCas, _countof(comCas));
    for (const CYearFields& year : years)
        SumMixedBalances(saldoFinProg, year);

    // Targets of the accrual, cash and mixed bases, by year.
    double targets[3][nYears];
    {
        CSetSaldi saldoProg(L"SaldoProg", data);
        saldoProg.OpenRows(CSetSaldi::readOnly);
        const long targetRows[] = {400, 1400, 2400};
        for (int b = 0; b < 3; ++b)
            saldoProg.ReadDoubles(targetRows[b], targetYears, targets[b], nYears);
    }
    double balances[3][nYears];
    for (int y = 0; y < nYears; ++y) {
        const LPCTSTR fields[] = {years[y].pszCom, years[y].pszCas, years[y].pszMis};
        double values[3];
        saldoFinProg.ReadDoubles(300, fields, values, 3);
        for (int b = 0; b < 3; ++b)
            balances[b][y] = values[b];
    }
    // The mixed basis of every year, and 2008 on the other two.
    const LPCTSTR fields[] = {L"Anno4Mis", L"Anno5Mis", L"Anno6Mis", L"Anno4Com", L"Anno4Cas"};
    const double fieldBalances[] = {balances[2][0], balances[2][1], balances[2][2], balances[0][0], balances[1][0]};
    const double fieldTargets[] = {targets[2][0], targets[2][1], targets[2][2], targets[0][0], targets[1][0]};
    WriteTargetDifferences(saldoFinProg, fields, fieldBalances, fieldTargets, _countof(fields));
    transaction.Commit();
    return true;
}

void ClearEntrateYear(CADOConnection& data, int nYear)
{
    CString sql;
    sql.Format(L"UPDATE Entrate SET Anno%d = NULL WHERE ID < 3000", nYear);
    data.Execute(sql, nullptr, adCmdText | adExecuteNoRecords);
}
