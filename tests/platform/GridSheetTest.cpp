#include "platform/grid/GridBook.h"

#include <gtest/gtest.h>

TEST(GridBook, SheetsAreAddedRenamedAndDeletedByNumber)
{
    CGridBook book;
    ASSERT_EQ(1, book.GetSheetCount());
    EXPECT_EQ(CString(L"Sheet1"), book.GetSheet(1)->GetName());
    ASSERT_NE(nullptr, book.InsertSheet(2, L"Entrate"));
    ASSERT_NE(nullptr, book.InsertSheet(1, L"Spese"));
    EXPECT_EQ(2, book.FindSheet(L"SHEET1"));
    EXPECT_EQ(3, book.FindSheet(L"entrate"));
    EXPECT_EQ(0, book.FindSheet(L"Altro"));
    EXPECT_EQ(2, book.GetActiveSheet());   // the sheet shown stays the same sheet

    EXPECT_EQ(nullptr, book.InsertSheet(1, L"ENTRATE"));     // names differ ignoring case
    EXPECT_EQ(nullptr, book.InsertSheet(1, L""));
    EXPECT_EQ(nullptr, book.InsertSheet(1, L"A/B"));
    EXPECT_EQ(nullptr, book.InsertSheet(1, L"12345678901234567890123456789012"));
    EXPECT_EQ(nullptr, book.InsertSheet(5, L"Oltre"));
    EXPECT_EQ(nullptr, book.GetSheet(0));
    EXPECT_EQ(nullptr, book.GetSheet(4));

    EXPECT_TRUE(book.RenameSheet(3, L"ENTRATE"));            // its own name in other case
    EXPECT_FALSE(book.RenameSheet(3, L"spese"));
    EXPECT_TRUE(book.SetActiveSheet(3));
    EXPECT_TRUE(book.DeleteSheet(1));
    EXPECT_EQ(2, book.GetActiveSheet());
    EXPECT_TRUE(book.DeleteSheet(2));
    EXPECT_EQ(1, book.GetActiveSheet());
    EXPECT_FALSE(book.DeleteSheet(1));                       // a book keeps one sheet
    EXPECT_FALSE(book.SetActiveSheet(2));
}

TEST(GridSheet, LastUsedCellCountsContentOnly)
{
    CGridBook book;
    CGridSheet& sheet = *book.GetSheet(1);
    EXPECT_EQ(0, sheet.GetLastRow());
    EXPECT_EQ(0, sheet.GetLastCol());
    sheet.SetText(3, 7, L"x");
    sheet.SetNumber(9, 2, 0);
    sheet.SetCellFormat(CGridRange(20, 1, 20, 30), CGridCellFormat());
    CGridCellFormat bold;
    bold.m_bBold = true;
    sheet.SetCellFormat(CGridRange(15, 12, 15, 12), bold);
    EXPECT_EQ(9, sheet.GetLastRow());
    EXPECT_EQ(7, sheet.GetLastCol());
    sheet.SetText(9, 2, L"");
    EXPECT_EQ(3, sheet.GetLastRow());
}

TEST(GridSheet, FindLooksRowByRowFromTheCellAfterTheStart)
{
    CGridBook book;
    CGridSheet& sheet = *book.GetSheet(1);
    sheet.SetText(2, 5, L"Totale [EOF]");
    sheet.SetText(4, 3, L"[EOF]");
    sheet.SetText(6, 1, L"[eof]");
    sheet.SetFormula(7, 2, L"=\"[EO\"&\"F]\"");
    const struct
    {
        UINT nFlags;
        int nStartRow, nStartCol;
        BOOL bFound;
        int nRow, nCol;
    } cases[] = {
        {gridFindMatchCase | gridFindWholeCell, -1, -1, TRUE, 4, 3},
        {gridFindMatchCase | gridFindWholeCell, 4, 3, TRUE, 7, 2},
        {gridFindMatchCase | gridFindWholeCell, 7, 2, FALSE, 0, 0},
        {gridFindWholeCell, 4, 3, TRUE, 6, 1},
        {gridFindMatchCase, 0, 0, TRUE, 2, 5},
        {gridFindMatchCase, 2, 5, TRUE, 4, 3},
    };
    for (const auto& c : cases) {
        int nRow = c.nStartRow, nCol = c.nStartCol;
        EXPECT_EQ(c.bFound, sheet.Find(L"[EOF]", c.nFlags, nRow, nCol)) << c.nFlags << " " << c.nStartRow;
        if (c.bFound) {
            EXPECT_EQ(c.nRow, nRow);
            EXPECT_EQ(c.nCol, nCol);
        }
    }
}

TEST(GridSheet, InsertedAndDeletedRowsMoveCellsAndRowLayout)
{
    CGridBook book;
    CGridSheet& sheet = *book.GetSheet(1);
    for (int r = 1; r <= 5; ++r)
        sheet.SetNumber(r, 2, r);
    sheet.SetRowHeight(2, 400);
    sheet.SetRowHidden(4, TRUE);
    ASSERT_TRUE(sheet.InsertRows(3, 2));
    EXPECT_EQ(2, sheet.GetNumber(2, 2));
    EXPECT_EQ(nullptr, sheet.GetCell(3, 2));
    EXPECT_EQ(3, sheet.GetNumber(5, 2));
    EXPECT_EQ(400, sheet.GetRowHeight(3));   // new rows look like the row above them
    EXPECT_EQ(400, sheet.GetRowHeight(4));
    EXPECT_FALSE(sheet.IsRowHidden(4));
    EXPECT_TRUE(sheet.IsRowHidden(6));
    EXPECT_EQ(7, sheet.GetLastRow());

    ASSERT_TRUE(sheet.DeleteRows(1, 3));
    EXPECT_EQ(3, sheet.GetNumber(2, 2));
    EXPECT_TRUE(sheet.IsRowHidden(3));
    EXPECT_EQ(4, sheet.GetLastRow());
    EXPECT_FALSE(sheet.InsertRows(0, 1));
    EXPECT_FALSE(sheet.DeleteRows(kGridMaxRows, 2));
}

TEST(GridSheet, InsertionThatWouldPushCellsOffTheSheetIsRefused)
{
    CGridBook book;
    CGridSheet& sheet = *book.GetSheet(1);
    sheet.SetText(kGridMaxRows - 1, 1, L"fondo");
    EXPECT_FALSE(sheet.InsertRows(10, 2));
    EXPECT_EQ(CString(L"fondo"), sheet.GetText(kGridMaxRows - 1, 1));
    EXPECT_TRUE(sheet.InsertRows(10, 1));
    EXPECT_EQ(CString(L"fondo"), sheet.GetText(kGridMaxRows, 1));
}

TEST(GridSheet, PasteRepeatsTheClipOverAMultipleAndCarriesFormats)
{
    CGridBook book;
    CGridSheet& sheet = *book.GetSheet(1);
    CGridCellFormat amount;
    amount.m_strNumberFormat = L"#,##0.00";
    amount.m_bLocked = false;
    sheet.SetNumber(5, 1, 2);
    sheet.SetNumber(5, 2, 3);
    sheet.SetFormula(5, 3, L"=A5*B5");
    sheet.SetCellFormat(CGridRange(5, 1, 5, 3), amount);
    CGridClip clip;
    ASSERT_TRUE(sheet.CopyRange(CGridRange(5, 1, 5, 3), clip));
    sheet.SetNumber(5, 1, 100);   // the clip holds what was copied

    ASSERT_TRUE(sheet.PasteRange(clip, CGridRange(6, 1, 8, 3), gridAll));
    for (int r = 6; r <= 8; ++r) {
        EXPECT_EQ(CString(L"=A") + std::to_wstring(r).c_str() + L"*B" + std::to_wstring(r).c_str(),
                  sheet.GetFormula(r, 3));
        EXPECT_EQ(CString(L"6,00"), sheet.GetText(r, 3));
        EXPECT_FALSE(sheet.GetCellFormat(r, 1).m_bLocked);
    }
    // A destination that is not a multiple takes the clip once.
    ASSERT_TRUE(sheet.PasteRange(clip, CGridRange(10, 1, 11, 4), gridFormats));
    EXPECT_EQ(amount, sheet.GetCellFormat(10, 3));
    EXPECT_EQ(nullptr, sheet.GetCell(11, 1));
    EXPECT_FALSE(sheet.GetCell(10, 3)->HasContent());

    sheet.ClearRange(CGridRange(6, 1, 6, 3), gridContents);
    EXPECT_EQ(CString(), sheet.GetFormula(6, 3));
    EXPECT_EQ(amount, sheet.GetCellFormat(6, 3));
    sheet.ClearRange(CGridRange(6, 1, 6, 3), gridFormats);
    EXPECT_EQ(CGridCellFormat(), sheet.GetCellFormat(6, 3));

    CGridBook other;
    EXPECT_FALSE(other.GetSheet(1)->PasteRange(clip, CGridRange(1, 1, 1, 1), gridAll));
    EXPECT_FALSE(sheet.PasteRange(clip, CGridRange(kGridMaxRows, kGridMaxCols - 1, kGridMaxRows, kGridMaxCols - 1),
                                  gridAll));
}

TEST(GridSheet, MergedAreasMoveWithInsertedAndDeletedRows)
{
    auto sheetWithMerges = [](CGridBook& book) -> CGridSheet& {
        CGridSheet& sheet = *book.GetSheet(1);
        EXPECT_TRUE(sheet.MergeCells(CGridRange(2, 1, 3, 3)));
        EXPECT_TRUE(sheet.MergeCells(CGridRange(6, 1, 6, 4)));
        EXPECT_TRUE(sheet.MergeCells(CGridRange(8, 2, 10, 2)));
        return sheet;
    };
    auto text = [](const CGridSheet& sheet) {
        std::string s;
        for (const CGridRange& m : sheet.GetMerges())
            s += std::to_string(m.m_nRow1) + "," + std::to_string(m.m_nCol1) + ":" + std::to_string(m.m_nRow2) +
                 "," + std::to_string(m.m_nCol2) + " ";
        return s;
    };
    const struct
    {
        bool bInsert;
        int nRow, nCount;
        const char* pszAfter;
    } cases[] = {
        {true, 1, 1, "3,1:4,3 7,1:7,4 9,2:11,2 "},
        {true, 3, 2, "2,1:5,3 8,1:8,4 10,2:12,2 "},    // rows inserted inside an area widen it
        {true, 11, 1, "2,1:3,3 6,1:6,4 8,2:10,2 "},
        {false, 3, 1, "2,1:2,3 5,1:5,4 7,2:9,2 "},     // its bottom row gone, the area keeps three cells
        {false, 2, 2, "4,1:4,4 6,2:8,2 "},             // both its rows gone: no area
        {false, 9, 1, "2,1:3,3 6,1:6,4 8,2:9,2 "},
        {false, 8, 2, "2,1:3,3 6,1:6,4 "},             // one cell left: merged no more
        {false, 1, 1, "1,1:2,3 5,1:5,4 7,2:9,2 "},
    };
    for (const auto& c : cases) {
        CGridBook book;
        CGridSheet& sheet = sheetWithMerges(book);
        ASSERT_TRUE(c.bInsert ? sheet.InsertRows(c.nRow, c.nCount) : sheet.DeleteRows(c.nRow, c.nCount));
        EXPECT_EQ(c.pszAfter, text(sheet)) << (c.bInsert ? "insert " : "delete ") << c.nRow << "+" << c.nCount;
    }

    CGridBook book;
    CGridSheet& sheet = sheetWithMerges(book);
    EXPECT_FALSE(sheet.MergeCells(CGridRange(4, 4, 4, 4)));    // a single cell
    EXPECT_FALSE(sheet.MergeCells(CGridRange(3, 3, 4, 5)));    // overlaps the first area
    EXPECT_FALSE(sheet.MergeCells(CGridRange(5, 5, 4, 6)));    // corners out of order
    EXPECT_EQ(&sheet.GetMerges()[2], sheet.FindMerge(9, 2));
    EXPECT_EQ(nullptr, sheet.FindMerge(9, 3));
}
