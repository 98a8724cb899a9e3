// The program's side of the Excel interoperability check (tests/interop/xls-interop.py): "write <folder>" builds a
// small workbook in memory (two data sheets and a description sheet between them), exports the data sheets as
// "book.xls" with the grid's writer, and writes "expect.json" with what each data cell must read back as.
#include "platform/grid/GridBook.h"
#include "platform/grid/GridXlsWriter.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <string>

namespace
{
std::string Utf8(const CString& s)
{
    return s.ToMultiByte(CP_UTF8);
}

CGridCellFormat Format(LPCTSTR pszNumber)
{
    CGridCellFormat fmt;
    fmt.m_strNumberFormat = pszNumber;
    return fmt;
}

void BuildBook(CGridBook& book)
{
    CGridSheet& data = *book.GetSheet(1);
    book.RenameSheet(1, L"Entrate");
    CGridSheet& desc = *book.InsertSheet(2, L"Descr");
    CGridSheet& more = *book.InsertSheet(3, L"Riepilogo");

    CGridCellFormat title;
    title.m_bBold = true;
    title.m_nFontSize = 280;
    title.m_strFontName = L"Times New Roman";
    data.SetText(1, 1, L"Entrate finali - Città di Cantù");
    data.SetCellFormat(CGridRange(1, 1, 1, 1), title);
    CGridCellFormat label;
    label.m_bItalic = true;
    label.m_bUnderline = true;
    data.SetText(2, 1, L"Tributi");
    data.SetCellFormat(CGridRange(2, 1, 2, 1), label);
    data.SetNumber(2, 2, 1234.56);
    data.SetCellFormat(CGridRange(2, 2, 4, 2), Format(L"#,##0.00"));
    data.SetNumber(3, 2, -0.57);
    data.SetFormula(4, 2, L"=B2+B3");
    data.SetNumber(2, 3, 1500000);
    data.SetCellFormat(CGridRange(2, 3, 2, 3), Format(L"#,##0"));
    CGridCellFormat signedRed = Format(L"+#,##0.00;-#,##0.00;#,##0.00");
    signedRed.m_crText = RGB(255, 0, 0);
    signedRed.m_crFill = RGB(255, 255, 204);
    signedRed.m_borders[gridSideBottom] = {gridBorderThin, RGB(0, 0, 0)};
    signedRed.m_borders[gridSideTop] = {gridBorderDouble, kGridColorAuto};
    data.SetNumber(3, 3, -42.5);
    data.SetCellFormat(CGridRange(3, 3, 3, 3), signedRed);
    data.SetNumber(4, 3, 3.14159);
    data.SetCellFormat(CGridRange(4, 3, 4, 3), Format(L"0.000"));
    data.SetText(5, 1, L"0012");
    data.SetCellFormat(CGridRange(5, 1, 5, 1), Format(L"@"));
    data.SetFormula(5, 2, L"=1/0");
    data.SetFormula(5, 3, L"=B2>0");
    data.SetCellFormat(CGridRange(6, 2, 6, 2), Format(L"#,##0.00"));   // formatted, empty
    data.SetColWidth(1, 3600);
    data.SetColWidth(3, 1800);
    data.SetColHidden(4, TRUE);
    data.SetRowHeight(1, 480);
    data.MergeCells(CGridRange(1, 1, 1, 3));
    data.SetMaxRow(40);

    desc.SetText(1, 1, L"1:2,2;T:Entrate");
    desc.SetText(2, 2, L"I:+V;R:2101;F:Anno1");

    more.SetText(1, 1, L"Riepilogo");
    more.SetNumber(2, 1, 7);
}

nlohmann::json Expectations(const CGridBook& book, const int (&sheets)[2])
{
    nlohmann::json expect;
    for (int nSheet : sheets) {
        const CGridSheet& sheet = *book.GetSheet(nSheet);
        nlohmann::json jsheet;
        jsheet["name"] = Utf8(sheet.GetName());
        nlohmann::json cells = nlohmann::json::array();
        for (int r = 1; r <= sheet.GetLastRow() + 1; ++r)
            for (int c = 1; c <= sheet.GetLastCol(); ++c) {
                const CGridCell* pCell = sheet.GetCell(r, c);
                if (!pCell || pCell->IsUnused())
                    continue;
                const CGridCellFormat& fmt = sheet.GetCellFormat(r, c);
                const CGridValue& value = pCell->GetValue();
                nlohmann::json cell = {{"row", r - 1}, {"col", c - 1}, {"format", Utf8(fmt.m_strNumberFormat)},
                                       {"font", Utf8(fmt.m_strFontName)}, {"height", fmt.m_nFontSize},
                                       {"bold", fmt.m_bBold}, {"italic", fmt.m_bItalic},
                                       {"underline", fmt.m_bUnderline}};
                if (fmt.m_crText != kGridColorAuto)
                    cell["color"] = {GetRValue(fmt.m_crText), GetGValue(fmt.m_crText), GetBValue(fmt.m_crText)};
                if (fmt.m_crFill != kGridColorAuto)
                    cell["fill"] = {GetRValue(fmt.m_crFill), GetGValue(fmt.m_crFill), GetBValue(fmt.m_crFill)};
                switch (value.GetType()) {
                case gridValueNumber: cell["number"] = value.GetNumber(); break;
                case gridValueText: cell["text"] = Utf8(value.GetText()); break;
                case gridValueBool: cell["bool"] = value.GetBool(); break;
                case gridValueError: cell["error"] = Utf8(GridErrorText(value.GetError())); break;
                default: cell["empty"] = true; break;
                }
                cells.push_back(cell);
            }
        jsheet["cells"] = cells;
        nlohmann::json widths = nlohmann::json::array();
        for (int c = 1; c <= 4; ++c)
            widths.push_back({{"col", c - 1}, {"twips", sheet.GetColWidth(c)}, {"hidden", sheet.IsColHidden(c) != 0}});
        jsheet["columns"] = widths;
        nlohmann::json merges = nlohmann::json::array();
        for (const CGridRange& merge : sheet.GetMerges())
            merges.push_back({merge.m_nRow1 - 1, merge.m_nRow2, merge.m_nCol1 - 1, merge.m_nCol2});
        jsheet["merges"] = merges;
        expect.push_back(jsheet);
    }
    return expect;
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3 || std::wstring(argv[1]) != L"write") {
        std::fprintf(stderr, "usage: xls_interop write <folder>\n");
        return 2;
    }
    CString strFolder(argv[2]);
    CGridBook book;
    BuildBook(book);
    const int dataSheets[2] = {1, 3};
    CGridXlsWriter writer(book);
    writer.SetSheets({dataSheets[0], dataSheets[1]});
    CString strError;
    if (!writer.WriteFile(strFolder + L"\\book.xls", strError)) {
        std::fprintf(stderr, "%s\n", Utf8(strError).c_str());
        return 1;
    }
    std::ofstream(Utf8(strFolder + L"\\expect.json"), std::ios::binary) << Expectations(book, dataSheets).dump(1);
    return 0;
}
