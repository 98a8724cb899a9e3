// Programmed balance targets of 2008/09/10 (SaldoProg) from the balances of 2003/04/05 and four revenue
// averages. The amounts are whole numbers, rounded half away from zero, and comparisons are made on them.
#include "RecalcSaldi.h"

#include "engine/BalanceAlgebra.h"

#include <cmath>

namespace {

const int kYears = 3;
const LPCTSTR kPastYears[kYears] = {L"Anno1", L"Anno2", L"Anno3"};
const LPCTSTR kTargetYears[kYears] = {L"Anno4", L"Anno5", L"Anno6"};
const LPCTSTR kMean = L"media123";

enum Basis { accrual, cash, mixed, basisCount };

// Three rounded past years of a row and the rounded mean of the non-zero ones.
struct CRoundedYears
{
    double years[kYears];
    double mean;
};

CRoundedYears ReadRoundedYears(CSetSaldi& set, long nID)
{
    CRoundedYears rounded;
    set.ReadDoubles(nID, kPastYears, rounded.years, kYears);
    for (double& year : rounded.years)
        year = RoundAmount(year);
    rounded.mean = RoundAmount(MeanOfNonZero(rounded.years, kYears));
    return rounded;
}

// The past years, their mean and a value for each target year, in one row.
void WriteYearsRow(CSetSaldi& saldoProg, long nID, const CRoundedYears& past, const double* pTargetYears)
{
    const LPCTSTR fields[] = {kPastYears[0], kPastYears[1], kPastYears[2], kMean,
                              kTargetYears[0], kTargetYears[1], kTargetYears[2]};
    const double values[] = {past.years[0], past.years[1], past.years[2], past.mean,
                             pTargetYears[0], pTargetYears[1], pTargetYears[2]};
    saldoProg.WriteDoubles(nID, fields, values, _countof(fields));
}

} // namespace

bool CalcSaldoFinSaldoProg(CADOConnection& data)
{
    CADOTransaction transaction(data);
    {
        CSetSaldi saldoFin(L"SaldoFin", data);
        saldoFin.OpenRows(CSetSaldi::readOnly);
        CSetSaldi entrate(L"Entrate", data);
        entrate.OpenRows(CSetSaldi::readOnly);
        CSetSaldi saldoProg(L"SaldoProg", data);
        saldoProg.OpenRows(CSetSaldi::forUpdate);

        // Balances of the past years and their means: d on the cash basis, d2 on the mixed one.
        static const long balanceRows[basisCount] = {300, 1300, 2300};
        CRoundedYears balances[basisCount];
        for (int b = 0; b < basisCount; ++b)
            balances[b] = ReadRoundedYears(saldoFin, balanceRows[b]);
        const double d = balances[cash].mean;
        const double d2 = balances[mixed].mean;

        // The improvement owed for a negative cash average.
        static const double owedRates[kYears] = {0.205, 0.155, 0.155};
        double owed[kYears];
        for (int y = 0; y < kYears; ++y)
            owed[y] = d < 0 ? RoundAmount(d * owedRates[y]) : 0.0;
        static const long progBalanceRows[basisCount] = {100, 1100, 2100};
        for (int b = 0; b < basisCount; ++b)
            WriteYearsRow(saldoProg, progBalanceRows[b], balances[b], owed);

        // The improvement by current spending of the past years.
        static const double spendingRates[kYears] = {0.017, 0.013, 0.013};
        CRoundedYears spending = ReadRoundedYears(saldoFin, 1201);
        double bySpending[kYears];
        for (int y = 0; y < kYears; ++y)
            bySpending[y] = RoundAmount(spending.mean * spendingRates[y]);
        WriteYearsRow(saldoProg, 200, spending, bySpending);
        WriteYearsRow(saldoProg, 1200, spending, bySpending);

        double improvement[kYears];
        for (int y = 0; y < kYears; ++y)
            improvement[y] = std::fabs(bySpending[y]) + std::fabs(owed[y]);
        saldoProg.WriteDoubles(301, kTargetYears, improvement, kYears);
        saldoProg.WriteDoubles(1301, kTargetYears, improvement, kYears);

        // The improvement never exceeds 8 % of the average final spending.
        CRoundedYears finalSpending = ReadRoundedYears(saldoFin, 1200);
        const double ceiling = RoundAmount(finalSpending.mean * 0.08);
        saldoProg.WriteDouble(401, kMean, finalSpending.mean);
        saldoProg.WriteDouble(402, kMean, ceiling);
        saldoProg.WriteDouble(1401, kMean, finalSpending.mean);
        saldoProg.WriteDouble(1402, kMean, ceiling);
        for (double& year : improvement) {
            if (year > ceiling)
                year = ceiling;
        }
        saldoProg.WriteDoubles(300, kTargetYears, improvement, kYears);
        saldoProg.WriteDoubles(1300, kTargetYears, improvement, kYears);

        // Revenue averages: s2 is the cash one; s3 less 15 % of s4 is the excess V.
        const double revenueAccrual = ReadRoundedYears(entrate, 2501).mean;
        const double s2 = ReadRoundedYears(entrate, 3501).mean;
        saldoProg.WriteDouble(105, kMean, revenueAccrual);
        saldoProg.WriteDouble(1105, kMean, s2);
        const double s3 = RoundAmount(entrate.ReadDouble(3503, kMean));
        const double s4 = RoundAmount(entrate.ReadDouble(3504, kMean));
        const double share = RoundAmount(s4 * 0.15);
        saldoProg.WriteDouble(1106, kMean, share);
        const double excess = s3 - share;
        saldoProg.WriteDouble(1107, kMean, excess);

        // What the excess adds beyond the improvement, year by year.
        const double s6 = excess > 0 ? excess : 0.0;
        double beyond[kYears];
        for (int y = 0; y < kYears; ++y)
            beyond[y] = s6 - improvement[y] > 0 ? s6 - improvement[y] : 0.0;

        // Cases 0 and 2 (d not positive) add the improvement to the mixed target, cases 1, 3 and 4 take off what
        // the excess adds (nothing in case 1). Where the mixed average is above the cash one (cases 2 and 4),
        // 2008 has accrual and cash targets too.
        double targets[basisCount][kYears] = {};
        for (int y = 0; y < kYears; ++y)
            targets[mixed][y] = d <= 0 ? d2 + improvement[y] - s2 : d2 - s2 - beyond[y];
        if (d2 > d) {
            if (d <= 0) {
                targets[cash][0] = improvement[0] + d - s2;
                targets[accrual][0] = improvement[0] + balances[accrual].mean - revenueAccrual;
            }
            else {
                targets[cash][0] = d - beyond[0];
                targets[accrual][0] = balances[accrual].mean - beyond[0];
            }
        }
        static const long targetRows[basisCount] = {400, 1400, 2400};
        for (int b = 0; b < basisCount; ++b)
            saldoProg.WriteDoubles(targetRows[b], kTargetYears, targets[b], kYears);
        // The 2008 target is also the fourth-quarter target of the monitoring.
        for (int b = 0; b < basisCount; ++b)
            saldoProg.WriteDouble(targetRows[b] + 100, kTargetYears[0], targets[b][0]);
    }
    CalcMonitor(data);
    CalcSaldoFinProg(data);
    CalcSaldoFinCalc(data);
    transaction.Commit();
    return true;
}
