// Forecast balances of 2008 per responsible centre (SaldoFinCalc), typed as title totals (accounting mode 0) or
// summed from the centre's budget chapters, and their totals over all centres (the rows of centre 0).
#include "RecalcSaldi.h"

#include "data/SetExtraCap.h"
#include "data/SetResponsabili.h"
#include "data/SetSettings.h"
#include "engine/BalanceAlgebra.h"

#include <cwchar>

namespace {

const LPCTSTR kComCas[] = {L"Anno4Com", L"Anno4Cas"};
const CYearFields k2008 = {L"Anno4Com", L"Anno4Cas", L"Anno4Mis"};
const LPCTSTR kBases2008[] = {L"Anno4Com", L"Anno4Cas", L"Anno4Mis"};
const int kBases = _countof(kBases2008);

// The 2008 targets on the accrual, cash and mixed bases, the same for every centre.
struct CTargets2008
{
    double values[kBases];
};

CTargets2008 ReadTargets2008(CADOConnection& data)
{
    CSetSaldi saldoProg(L"SaldoProg", data);
    saldoProg.OpenRows(CSetSaldi::readOnly);
    CTargets2008 targets;
    const long rows[kBases] = {400, 1400, 2400};
    for (int b = 0; b < kBases; ++b)
        targets.values[b] = saldoProg.ReadDouble(rows[b], L"Anno4");
    return targets;
}

// The balances of the current centre and their differences from the targets.
void CalcBalancesResp(CSetSaldi& calc, const CTargets2008& targets)
{
    SumForecastBalances(calc, kComCas, _countof(kComCas));
    SumMixedBalances(calc, k2008);
    double balances[kBases];
    calc.ReadDoubles(300, kBases2008, balances, kBases);
    WriteTargetDifferences(calc, kBases2008, balances, targets.values, kBases);
}

// Amounts of the two bases of one row; a null sum counts 0.
struct CChapterSum
{
    CURRENCY comp = {};
    CURRENCY cassa = {};

    void Take(const CRecExtraCap& rec)
    {
        comp = rec.m_importoComp.GetValue();
        cassa = rec.m_importoCassa.GetValue();
    }
};

// Sums by title of one chapter table, of the titles 1 to nTitles (others are ignored).
void ReadTitleSums(CADOConnection& data, int nKind, long nIdResp, CChapterSum* pTitles, int nTitles)
{
    CSetExtraCap sums(data, nKind);
    sums.OpenSumsByTitle(nIdResp);
    for (; !sums.IsEOF(); sums.MoveNext()) {
        int nTitle = _wtoi(sums.m_rec.m_codUEB.GetText());
        if (nTitle >= 1 && nTitle <= nTitles)
            pTitles[nTitle - 1].Take(sums.m_rec);
    }
}

void WriteChapterSum(CSetSaldi& calc, long nID, const CChapterSum& sum)
{
    calc.FindOrAddRow(nID);
    calc.SetFieldCurrency(kComCas[0], COleCurrency(sum.comp));
    calc.SetFieldCurrency(kComCas[1], COleCurrency(sum.cassa));
    calc.UpdateRow();
}

// Title totals of the current centre from its budget chapters.
void SumChaptersResp(CADOConnection& data, CSetSaldi& calc)
{
    const long nIdResp = calc.GetResp();
    CChapterSum revenues[4], spending[2], credits, grants;
    ReadTitleSums(data, CSetExtraCap::kindEntrate, nIdResp, revenues, _countof(revenues));
    ReadTitleSums(data, CSetExtraCap::kindSpese, nIdResp, spending, _countof(spending));
    {
        // Title 4, category 6: collection of credits.
        CSetExtraCap sums(data, CSetExtraCap::kindEntrate);
        sums.OpenSums406(nIdResp);
        if (!sums.IsEOF())
            credits.Take(sums.m_rec);
    }
    {
        // Title 2, the granting of credits.
        CSetExtraCap sums(data, CSetExtraCap::kindSpese);
        sums.OpenSums2xx10(nIdResp);
        if (!sums.IsEOF())
            grants.Take(sums.m_rec);
    }
    const struct { long nID; const CChapterSum& sum; } rows[] = {
        {2104, revenues[0]}, {2206, revenues[1]}, {2306, revenues[2]}, {2407, revenues[3]},
        {201, spending[0]}, {202, spending[1]}, {2406, credits}, {203, grants},
    };
    for (const auto& row : rows)
        WriteChapterSum(calc, row.nID, row.sum);
}

// The rows of centre 0: the sums over the centres that exist (rows of a deleted centre, which an archive
// without the cascading key may keep, stay out), and their differences from the targets.
void CalcTotals(CADOConnection& data, CSetSaldi& calc, const CTargets2008& targets)
{
    data.Execute(L"UPDATE SaldoFinCalc SET Anno4Com = 0, Anno4Cas = 0, Anno4Mis = 0, Anno5Com = 0, Anno5Cas = 0, "
                 L"Anno5Mis = 0, Anno6Com = 0, Anno6Cas = 0, Anno6Mis = 0 WHERE idResp = 0",
                 nullptr, adCmdText | adExecuteNoRecords);

    calc.SetResp(0);
    CSetSaldi sums(L"SaldoFinCalc", data);
    sums.Open(L"SELECT ID, SUM(Anno4Com) AS Sum4Com, SUM(Anno4Cas) AS Sum4Cas, SUM(Anno4Mis) AS Sum4Mis "
              L"FROM SaldoFinCalc WHERE idResp > 0 AND idResp IN (SELECT ID FROM Responsabili) "
              L"AND ID NOT IN (401, 402) GROUP BY ID",
              adOpenStatic, adLockReadOnly, adCmdText);
    static const LPCTSTR sumFields[kBases] = {L"Sum4Com", L"Sum4Cas", L"Sum4Mis"};
    for (; !sums.IsEOF(); sums.MoveNext()) {
        calc.FindOrAddRow(sums.GetRowNumber());
        for (int b = 0; b < kBases; ++b)
            calc.SetFieldCurrency(kBases2008[b], sums.GetFieldAmount(sumFields[b]));
        calc.UpdateRow();
    }

    double balances[kBases];
    calc.ReadDoubles(300, kBases2008, balances, kBases);
    WriteTargetDifferences(calc, kBases2008, balances, targets.values, kBases);
}

} // namespace

bool CalcSaldoFinCalc(CADOConnection& data)
{
    CADOTransaction transaction(data);
    const bool bByChapter = CSetSettings::GetSettingImpExtraCont2(data) != 0;
    const CTargets2008 targets = ReadTargets2008(data);

    CSetSaldi calc(L"SaldoFinCalc", data);
    calc.OpenRows(CSetSaldi::forUpdate);
    CSetResponsabili centres(data);
    centres.OpenByResponsabile();
    for (; !centres.IsEOF(); centres.MoveNext()) {
        CADOTransaction centre(data);
        calc.SetResp(centres.m_rec.m_ID.GetValue());
        if (bByChapter) {
            SumChaptersResp(data, calc);
        }
        else {
            SumRevenueTitles(calc, kComCas, _countof(kComCas));
        }
        CalcBalancesResp(calc, targets);
        centre.Commit();
    }
    CalcTotals(data, calc, targets);
    transaction.Commit();
    return true;
}
