// Time to load an input-form-sized workbook and compute it: 4 sheet pairs (a data sheet and its
// description sheet) of 200 x 12 cells, 300 formulas on each data sheet. Prints milliseconds.
#include "platform/grid/GridBook.h"
#include "platform/grid/GridJson.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
const int kPairs = 4;
const int kRows = 200;
const int kCols = 12;
const int kRuns = 30;

CString Cell(LPCTSTR pszFormat, int n)
{
    CString s;
    s.Format(pszFormat, n, n);
    return s;
}

// Column A labels, B to J amounts, K 100 computed amounts, L 198 row totals, K1 and L1 the column totals.
void FillDataSheet(CGridSheet& sheet, int nPair)
{
    CGridCellFormat amount;
    amount.m_strNumberFormat = L"#,##0.00";
    CGridCellFormat title;
    title.m_bBold = true;
    sheet.SetCellFormat(CGridRange(1, 1, 2, kCols), title);
    sheet.SetCellFormat(CGridRange(3, 2, kRows, kCols), amount);
    sheet.SetText(1, 1, L"Totali");
    for (int c = 2; c <= kCols; ++c)
        sheet.SetText(2, c, CString(L"Anno ") + GridColumnName(c));
    sheet.SetFormula(1, 11, L"=SUM(K3:K200)");
    sheet.SetFormula(1, 12, L"=SUM(L3:L200)");
    for (int r = 3; r <= kRows; ++r) {
        sheet.SetText(r, 1, Cell(L"Voce %d", r));
        for (int c = 2; c <= 10; ++c)
            sheet.SetNumber(r, c, (r * 31 + c * 17 + nPair) % 10007 / 100.0);
        if (r <= 102)
            sheet.SetFormula(r, 11, Cell(L"=ROUND(B%d*1.1+C%d,2)", r));
        sheet.SetFormula(r, 12, Cell(L"=SUM(B%d:K%d)", r));
    }
    sheet.SetMaxRow(kRows);
    sheet.SetMaxCol(kCols);
    sheet.SetTitleRows(2);
    sheet.SetTitleCols(1);
    sheet.SetColWidth(1, 3000);
}

void FillDescriptionSheet(CGridSheet& sheet)
{
    sheet.SetText(1, 1, L"1:3,2;F:2,1;T:Entrate");
    for (int r = 2; r < kRows; ++r)
        for (int c = 1; c < kCols; ++c)
            sheet.SetText(r, c, Cell(L"I:V;R:%d;F:Anno1", 2000 + r));
    sheet.SetText(kRows, kCols, L"[EOF]");
}

// Takes the parser's events and does nothing with them: what the reading costs before any cell is built.
class CIgnoreJson : public CGridJsonHandler
{
public:
    void OnValue(const CGridJsonScalar&) override {}
    void OnKey(std::string_view) override {}
    void OnStartObject() override {}
    void OnEndObject() override {}
    void OnStartArray() override {}
    void OnEndArray() override {}
};

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER freq;
    ::QueryPerformanceFrequency(&freq);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

template <class F> std::vector<double> Time(F f)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        LARGE_INTEGER t0, t1;
        ::QueryPerformanceCounter(&t0);
        f();
        ::QueryPerformanceCounter(&t1);
        times.push_back(Milliseconds(t0, t1));
    }
    std::sort(times.begin(), times.end());
    return times;
}

void Report(const char* pszWhat, const std::vector<double>& times)
{
    std::printf("%-44s min %7.2f ms   median %7.2f ms   max %7.2f ms\n", pszWhat, times.front(),
                times[times.size() / 2], times.back());
}
} // namespace

int main()
{
    CGridBook book;
    book.RenameSheet(1, L"Dati 1");
    for (int p = 0; p < kPairs; ++p) {
        CGridSheet& data = p == 0 ? *book.GetSheet(1) : *book.InsertSheet(book.GetSheetCount() + 1, Cell(L"Dati %d", p + 1));
        FillDataSheet(data, p);
        FillDescriptionSheet(*book.InsertSheet(book.GetSheetCount() + 1, Cell(L"Descrizione %d", p + 1)));
    }
    WCHAR szTemp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, szTemp);
    CString strPath = CString(szTemp) + L"grid_bench.vts";
    CString strError;
    if (!book.WriteFile(strPath, strError)) {
        std::printf("%s\n", strError.ToMultiByte(CP_UTF8).c_str());
        return 1;
    }
    std::string text = book.WriteText();
    int nFormulas = 0, nCells = 0;
    for (int s = 1; s <= book.GetSheetCount(); ++s)
        for (int r = 1; r <= kRows; ++r)
            for (int c = 1; c <= kCols; ++c)
                if (const CGridCell* pCell = book.GetSheet(s)->GetCell(r, c)) {
                    nCells += pCell->HasContent();
                    nFormulas += pCell->GetFormula() != nullptr;
                }
    std::printf("workbook: %d sheets, %d cells, %d formulas, %u bytes\n", book.GetSheetCount(), nCells, nFormulas,
                static_cast<unsigned>(text.size()));

    CGridBook loaded;
    bool bOk = true;
    Report("read file, build and compute the book", Time([&]() { bOk = loaded.ReadFile(strPath, strError) && bOk; }));
    Report("read from memory, build and compute", Time([&]() { bOk = loaded.ReadText(text, strError) && bOk; }));
    CIgnoreJson ignore;
    Report("  of which scanning the JSON text", Time([&]() { bOk = CGridJsonParser(text, ignore).Parse() == 0 && bOk; }));
    CGridSheet& sheet = *loaded.GetSheet(1);
    double d = 0;
    Report("change B3: the 4 formulas reading it", Time([&]() { sheet.SetNumber(3, 2, d += 1); }));
    Report("insert a row: all formulas of the sheet", Time([&]() { sheet.InsertRows(50, 1); }));
    Report("write the book to text", Time([&]() { text = loaded.WriteText(); }));
    std::printf("check: L1 = %s\n", sheet.GetText(1, 12).ToMultiByte(CP_UTF8).c_str());
    ::DeleteFileW(strPath);
    if (!bOk) {
        std::printf("%s\n", strError.ToMultiByte(CP_UTF8).c_str());
        return 1;
    }
    return 0;
}
