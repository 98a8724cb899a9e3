#include "BalanceRows.h"

#include "engine/SetSaldi.h"


namespace {

using CRows = std::vector<CBalanceRowRange>;

// The revenue items and title totals of the accrual basis, then of the cash basis a thousand above.
CRows RevenueRows(long nOffset)
{
    return {{2101 + nOffset, 2104 + nOffset}, {2201 + nOffset, 2206 + nOffset}, {2301 + nOffset, 2306 + nOffset},
            {2401 + nOffset, 2407 + nOffset}};
}

CRows Join(std::initializer_list<CRows> parts)
{
    CRows rows;
    for (const CRows& part : parts)
        rows.insert(rows.end(), part.begin(), part.end());
    return rows;
}

struct CTableRows
{
    LPCTSTR pszTable;
    CRows rows;
};

const std::vector<CTableRows>& Tables()
{
    // The forecast tables share their rows: final revenues 100, spending titles 201-202 and the items 203, 211
    // and 212 they subtract, final spending 200, balance 300, the differences from the target 401-402, and the
    // revenue items with 2502 subtracted.
    static const CRows forecast = Join({RevenueRows(0), {{100, 100}, {200, 203}, {211, 212}, {300, 300},
                                                         {401, 402}, {2502, 2502}}});
    static const std::vector<CTableRows> tables = {
        {L"Entrate", Join({RevenueRows(0), RevenueRows(1000), {{2501, 2501}, {2503, 2504}, {3501, 3501},
                                                                  {3503, 3504}}})},
        {L"SaldoFin", {{100, 106}, {200, 203}, {300, 300}, {1100, 1106}, {1200, 1203}, {1300, 1300}, {2100, 2100},
                       {2200, 2200}, {2300, 2300}}},
        {L"SaldoProg", {{100, 100}, {105, 105}, {200, 200}, {300, 301}, {400, 402}, {500, 500}, {1100, 1100},
                        {1105, 1107}, {1200, 1200}, {1300, 1301}, {1400, 1402}, {1500, 1500}, {2100, 2100},
                        {2400, 2400}, {2500, 2500}}},
        // Quarterly monitoring: the revenue items and spending titles of both bases, the final revenues and
        // spending, the balances and their differences from the targets.
        {L"Monitor", Join({RevenueRows(0), RevenueRows(1000), {{100, 100}, {200, 203}, {300, 300}, {401, 402},
                                                                  {501, 502}, {1100, 1100}, {1200, 1203},
                                                                  {1300, 1300}, {1401, 1402}, {1501, 1502}}})},
        {L"SaldoFinProg", forecast},
        {L"SaldoFinCalc", forecast},
    };
    return tables;
}

} // namespace

const std::vector<CBalanceRowRange>& GetBalanceRows(LPCTSTR pszTable)
{
    static const CRows none;
    for (const CTableRows& table : Tables())
        if (::lstrcmpiW(table.pszTable, pszTable) == 0)
            return table.rows;
    return none;
}

bool IsBalanceRow(LPCTSTR pszTable, long nRow)
{
    for (const CBalanceRowRange& range : GetBalanceRows(pszTable))
        if (nRow >= range.nFirst && nRow <= range.nLast)
            return true;
    return false;
}

const std::vector<LPCTSTR>& GetBalanceTables()
{
    static const std::vector<LPCTSTR> names = [] {
        std::vector<LPCTSTR> list;
        for (const CTableRows& table : Tables())
            list.push_back(table.pszTable);
        return list;
    }();
    return names;
}

void AddMissingBalanceRows(CADOConnection& data)
{
    CADOTransaction transaction(data);
    for (const CTableRows& table : Tables()) {
        CSetSaldi set(table.pszTable, data);
        set.OpenRows(CSetSaldi::forUpdate);
        if (::lstrcmpiW(table.pszTable, L"SaldoFinCalc") == 0)
            set.SetResp(0);
        for (const CBalanceRowRange& range : table.rows)
            for (long nRow = range.nFirst; nRow <= range.nLast; ++nRow)
                if (!set.FindRow(nRow)) {
                    set.FindOrAddRow(nRow);
                    set.UpdateRow();
                }
    }
    transaction.Commit();
}
