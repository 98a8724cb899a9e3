// The grid's printout: how sheets are cut into pages for a page size and resolution, and what the first page
// shows, read back from an enhanced metafile the page was drawn into.
#include "platform/grid/GridPrinter.h"

#include <gtest/gtest.h>

namespace
{
int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* pRecord, int, LPARAM lParam)
{
    if (pRecord->iType == EMR_EXTTEXTOUTW) {
        auto pText = reinterpret_cast<const EMREXTTEXTOUTW*>(pRecord);
        auto pszChars =
            reinterpret_cast<const WCHAR*>(reinterpret_cast<const BYTE*>(pRecord) + pText->emrtext.offString);
        CString strText(pszChars, static_cast<int>(pText->emrtext.nChars));
        if (!strText.IsEmpty())
            *reinterpret_cast<CString*>(lParam) += strText + L"|";
    }
    return 1;
}

// The texts drawn into a metafile, in drawing order.
CString TextsOf(HENHMETAFILE hMeta)
{
    CString strTexts;
    ::EnumEnhMetaFile(nullptr, hMeta, CollectText, &strTexts, nullptr);
    return strTexts;
}

// A sheet of nRows rows and nCols columns of the default size, with "r,c" in every cell.
void Fill(CGridSheet& sheet, int nRows, int nCols)
{
    for (int r = 1; r <= nRows; ++r)
        for (int c = 1; c <= nCols; ++c) {
            CString strText;
            strText.Format(L"%d,%d", r, c);
            sheet.SetText(r, c, strText);
        }
}
} // namespace

TEST(GridPrinterTest, SheetsAreCutIntoPagesAcrossThenDown)
{
    // A page of 300 x 400 dots at 100 dots per inch leaves 234 x 334 inside its margins: 3 default columns
    // (67 dots) and 18 default rows (18 dots) per page.
    const SIZE szPage = {300, 400};
    struct
    {
        int nRows, nCols;
        int nPages;
    } cases[] = {
        {1, 1, 1}, {18, 3, 1}, {19, 3, 2}, {18, 4, 2}, {40, 7, 9}, {0, 0, 0},
    };
    for (const auto& c : cases) {
        CGridBook book;
        Fill(*book.GetSheet(1), c.nRows, c.nCols);
        CGridPrinter printer(book);
        EXPECT_EQ(c.nPages, printer.Paginate(szPage, 100, 100)) << c.nRows << "x" << c.nCols;
    }

    // Only the sheets asked for, up to their limits; hidden columns take no room.
    CGridBook book;
    Fill(*book.GetSheet(1), 40, 7);
    CGridSheet& second = *book.InsertSheet(2, L"Seconda");
    Fill(second, 30, 5);
    second.SetMaxRow(18);
    second.SetColHidden(2, TRUE);
    second.SetColHidden(3, TRUE);
    CGridPrinter printer(book);
    printer.SetSheets({2});
    EXPECT_EQ(1, printer.Paginate(szPage, 100, 100));
}

TEST(GridPrinterTest, TheFirstPageShowsTheCellsInTheirFormats)
{
    CGridBook book;
    CGridSheet& sheet = *book.GetSheet(1);
    sheet.SetText(1, 1, L"Entrate finali");
    sheet.MergeCells(CGridRange(1, 1, 1, 3));   // a title across three columns, drawn once
    sheet.SetNumber(2, 1, 1234.5);
    CGridCellFormat amount;
    amount.m_strNumberFormat = L"#,##0.00";
    sheet.SetCellFormat(CGridRange(2, 1, 2, 1), amount);
    sheet.SetFormula(3, 1, L"=A2*2");
    sheet.SetCellFormat(CGridRange(3, 1, 3, 1), amount);
    Fill(*book.InsertSheet(2, L"Altro"), 1, 1);
    sheet.SetText(30, 1, L"Seconda pagina");

    CGridPrinter printer(book);
    ASSERT_EQ(3, printer.Paginate(SIZE{300, 400}, 100, 100));
    HDC hMetaDC = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hMetaDC);
    printer.DrawPage(hMetaDC, 0);
    HENHMETAFILE hMeta = ::CloseEnhMetaFile(hMetaDC);
    // The merged title comes after the single cells, once.
    EXPECT_EQ(CString(L"1.234,50|2.469,00|Entrate finali|"), TextsOf(hMeta));
    ::DeleteEnhMetaFile(hMeta);
}
