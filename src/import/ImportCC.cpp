#include "ImportCC.h"

#include "engine/RecalcSaldi.h"
#include "import/ImportLines.h"
#include "import/ImportTarget.h"
#include "import/ImportTextFile.h"
#include "platform/mfc/afxmsgbox.h"
#include "resource.h"
#include "util/MessageText.h"

#include <cstdio>
#include <iterator>

namespace {

// Revenue codes of the certificate with their accrual rows; the cash row is a thousand above.
const struct { int nCode; long nRow; } kEntrateCodes[] = {
    {2005, 2101}, {2035, 2102}, {2065, 2103}, {2085, 2201}, {2110, 2202}, {2115, 2203}, {2120, 2204},
    {2125, 2205}, {2140, 2301}, {2290, 2302}, {2295, 2303}, {2300, 2304}, {2305, 2305}, {2315, 2401},
    {2345, 2402}, {2350, 2403}, {2355, 2404}, {2365, 2405}, {2390, 2406},
};

// A line the user may skip; false when he stops the import.
bool SkipLine(int nLine)
{
    return AfxMessageBox(FormatResMessage(IDP_IMPORT_LINE_ERROR, nLine), MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK;
}

} // namespace

CImportCC::CImportCC(CADOConnection& data, int nYear, int nOption)
    : m_data(data), m_nYear(nYear), m_nOption(nOption)
{
}

LPCTSTR CImportCC::YearField(int nYear)
{
    switch (nYear) {
    case 2003: return L"Anno1";
    case 2004: return L"Anno2";
    case 2005: return L"Anno3";
    default: return nullptr;
    }
}

bool CImportCC::Import(LPCTSTR pszPath)
{
    CImportTextFile file;
    if (!file.Read(pszPath) || !ReadRecords(file))
        return false;
    if (m_records.empty()) {
        AfxMessageBox(FormatResMessage(IDP_IMPORT_NO_DATA, pszPath), MB_ICONWARNING);
        return false;
    }

    CEntry entrate[2 * std::size(kEntrateCodes)];
    size_t nEntrate = 0;
    for (const auto& code : kEntrateCodes) {
        entrate[nEntrate++] = {code.nRow, code.nCode, 1, 0};
        entrate[nEntrate++] = {code.nRow + 1000, code.nCode, 2, 3};
    }
    static const CEntry saldoFin[] = {
        {201, 3005, 1, 0}, {1201, 3005, 2, 3}, {202, 3010, 1, 0}, {1202, 3010, 2, 3},
    };
    return StoreImport(m_data, [&] {
        WriteTable(L"Entrate", entrate, nEntrate);
        WriteTable(L"SaldoFin", saldoFin, std::size(saldoFin));
        RecalcSaldi(m_data);
    });
}

bool CImportCC::ReadRecords(const CImportTextFile& file)
{
    m_records.clear();
    int nLine = 0;
    for (const std::string& text : file.GetLines()) {
        ++nLine;
        CCertLine line = ParseCertLine(text);
        switch (line.kind) {
        case certHeader:
            if (line.nYear != m_nYear &&
                AfxMessageBox(FormatResMessage(IDP_IMPORT_OTHER_YEAR, line.nYear),
                              MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
                return false;
            break;
        case certRecord:
            // A record cut short at a bad amount keeps the amounts before it only when the user says so.
            if (line.bTruncated && !SkipLine(nLine))
                return false;
            m_records[line.code] = std::move(line.amounts);
            break;
        case certBad:
            if (!SkipLine(nLine))
                return false;
            break;
        case certEmpty:
        case certIgnored:
            break;
        }
    }
    return true;
}

bool CImportCC::SumAmounts(const CEntry& entry, long long& units) const
{
    char code[16];
    snprintf(code, sizeof(code), "%05d", entry.nCode);
    auto found = m_records.find(code);
    if (found == m_records.end())
        return false;
    const std::vector<long long>& amounts = found->second;
    bool bPresent = false;
    units = 0;
    for (int nPos : {entry.nFirst, entry.nSecond}) {
        if (nPos > 0 && static_cast<size_t>(nPos) <= amounts.size()) {
            units += amounts[nPos - 1];
            bPresent = true;
        }
    }
    return bPresent;
}

void CImportCC::WriteTable(LPCTSTR pszTable, const CEntry* pEntries, size_t nCount)
{
    LPCTSTR pszField = YearField(m_nYear);
    if (!pszField)
        return;
    CSetSaldi set(pszTable, m_data);
    if (m_nOption == importEraseAll)
        set.ClearColumn(pszField);
    set.OpenRows(CSetSaldi::forUpdate);
    for (size_t i = 0; i < nCount; ++i) {
        set.FindOrAddRow(pEntries[i].nRow);
        long long units;
        if (SumAmounts(pEntries[i], units))
            WriteImportedAmount(set, pszField, CurrencyFromUnits(units), m_nOption);
        set.UpdateRow();
    }
}
