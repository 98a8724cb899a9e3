// The form description of the workbooks: the description grammar, the model read from a workbook in the
// grid, and the lookups the views make on it.
#include "forms/FormInfo.h"
#include "platform/grid/F1Book.h"
#include "platform/mfc/afxevent.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <tuple>

TEST(FormInfo, GetDescValueFindsTheFirstItemOfTheKey)
{
    struct
    {
        LPCTSTR pszText, pszKey, pszValue;
    } cases[] = {
        {L"I:+V;R:2101;F:Anno4Com", L"R", L"2101"},
        {L"I:+V;R:2101;F:Anno4Com", L"r", L"2101"},              // keys ignore case
        {L"I:+V;R:2101;F:Anno4Com", L"F", L"Anno4Com"},
        {L"I:+V;R:2101;F:Anno4Com", L"T", L""},                  // absent
        {L"I:N;NAME:a:b:c", L"NAME", L"a:b:c"},                  // further colons belong to the value
        {L"I:N; R:5", L"R", L""},                                // a blank before the key
        {L"I:N;R2:7;R:5", L"R", L"5"},                           // the ':' must follow the key at once
        {L"I:N;R:5;R:6", L"R", L"5"},                            // the first wins
        {L"I:N;;R:", L"R", L""},                                 // empty items and values
        {L"B.N:12,5;I:B.Y", L"B.N", L"12,5"},
        {L"", L"R", L""},
        {L"R:5", L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.pszValue), GetDescValue(c.pszText, c.pszKey)) << c.pszText << " / " << c.pszKey;
}

TEST(FormInfo, ParseReadsKindTypeAndTheOtherKeys)
{
    struct
    {
        LPCTSTR pszDesc;
        int nKind, nType;
        BOOL bNoNegatives;
        int nDecimals;
        BOOL bYesBox;
        int nPartnerRow, nPartnerCol;
        BOOL bReadOnlyBox;
        LPCTSTR pszT, pszR, pszF, pszName;
    } cases[] = {
        {L"I:+V;R:2101;F:Anno4Com", 1, 4, TRUE, 0, FALSE, 0, 0, FALSE, L"", L"2101", L"Anno4Com", L""},
        {L"L:N;T:SaldoFin;R:1106;F:Anno1", 2, 2, FALSE, 0, FALSE, 0, 0, FALSE, L"SaldoFin", L"1106", L"Anno1", L""},
        {L"C:D.2;r:7;NAME:tot:a", 3, 3, FALSE, 2, FALSE, 0, 0, FALSE, L"", L"7", L"", L"tot:a"},
        {L"S:T;F:Nome;D:nota", 4, 5, FALSE, 0, FALSE, 0, 0, FALSE, L"", L"", L"Nome", L""},
        {L"I:D", 1, 3, FALSE, 0, FALSE, 0, 0, FALSE, L"", L"", L"", L""},
        {L"I:D.x", 1, 3, FALSE, 0, FALSE, 0, 0, FALSE, L"", L"", L"", L""},
        // Decimals are bounded to what a number can show
        {L"I:D.15", 1, 3, FALSE, 15, FALSE, 0, 0, FALSE, L"", L"", L"", L""},
        {L"I:D.16", 1, 3, FALSE, 15, FALSE, 0, 0, FALSE, L"", L"", L"", L""},
        {L"I:D.2147483647", 1, 3, FALSE, 15, FALSE, 0, 0, FALSE, L"", L"", L"", L""},
        {L"I:D.3000000000", 1, 3, FALSE, 15, FALSE, 0, 0, FALSE, L"", L"", L"", L""},
        {L"I:D.99999999999999999999999", 1, 3, FALSE, 15, FALSE, 0, 0, FALSE, L"", L"", L"", L""},
        {L"I:D.-3", 1, 3, FALSE, 0, FALSE, 0, 0, FALSE, L"", L"", L"", L""},
        {L"I:+", 1, 0, TRUE, 0, FALSE, 0, 0, FALSE, L"", L"", L"", L""},
        {L"I:Q;R:1", 1, 0, FALSE, 0, FALSE, 0, 0, FALSE, L"", L"1", L"", L""},
        {L"I:n", 1, 0, FALSE, 0, FALSE, 0, 0, FALSE, L"", L"", L"", L""},        // type letters are exact
        {L"I:", 1, 0, FALSE, 0, FALSE, 0, 0, FALSE, L"", L"", L"", L""},
        // Boxes
        {L"I:B.Y;B.N:12,5;R:3001;F:Anno1", 5, 1, FALSE, 0, TRUE, 12, 5, FALSE, L"", L"3001", L"Anno1", L""},
        {L"I:B.N;B.Y:11,5;R:3001;F:Anno1", 5, 1, FALSE, 0, FALSE, 11, 5, FALSE, L"", L"3001", L"Anno1", L""},
        {L"L:B.Y;B.N:4,2", 5, 1, FALSE, 0, TRUE, 4, 2, TRUE, L"", L"", L"", L""},
        {L"I:B;B.Y:4,2", 5, 1, FALSE, 0, FALSE, 0, 0, FALSE, L"", L"", L"", L""},   // lone No box
        {L"I:B.Y;B.N:x", 5, 1, FALSE, 0, TRUE, 0, 0, FALSE, L"", L"", L"", L""},
        {L"I:B.Y;B.N:7", 5, 1, FALSE, 0, TRUE, 7, 0, FALSE, L"", L"", L"", L""},
        // Not described: the kind key is exact and comes first
        {L"i:N;R:5", 0, 0, FALSE, 0, FALSE, 0, 0, FALSE, L"", L"", L"", L""},
        {L"R:5;I:N", 0, 0, FALSE, 0, FALSE, 0, 0, FALSE, L"", L"", L"", L""},
        {L" I:N", 0, 0, FALSE, 0, FALSE, 0, 0, FALSE, L"", L"", L"", L""},
        {L"[EOF]", 0, 0, FALSE, 0, FALSE, 0, 0, FALSE, L"", L"", L"", L""},
        {L"", 0, 0, FALSE, 0, FALSE, 0, 0, FALSE, L"", L"", L"", L""},
    };
    CCellInfo cell;
    for (const auto& c : cases) {
        cell.Parse(c.pszDesc);   // the same object each time: nothing of the last parse stays
        SCOPED_TRACE(c.pszDesc);
        EXPECT_EQ(c.nKind, cell.m_nKind);
        EXPECT_EQ(c.nType, cell.m_nType);
        EXPECT_EQ(c.bNoNegatives, cell.m_bNoNegatives);
        EXPECT_EQ(c.nDecimals, cell.m_nDecimals);
        EXPECT_EQ(c.bYesBox, cell.m_bYesBox);
        EXPECT_EQ(c.nPartnerRow, cell.m_nPartnerRow);
        EXPECT_EQ(c.nPartnerCol, cell.m_nPartnerCol);
        EXPECT_EQ(c.bReadOnlyBox, cell.m_bReadOnlyBox);
        EXPECT_EQ(CString(c.pszT), cell.m_strT);
        EXPECT_EQ(CString(c.pszR), cell.m_strR);
        EXPECT_EQ(CString(c.pszF), cell.m_strF);
        EXPECT_EQ(CString(c.pszName), cell.m_strName);
    }
    cell.Parse(L"S:T;D:nota");
    EXPECT_EQ(CString(L"nota"), cell.m_strD);
}

TEST(FormInfo, NumberFormatsByType)
{
    struct
    {
        LPCTSTR pszDesc, pszFormat;
    } cases[] = {
        {L"I:N", L"#,##0"}, {L"I:V", L"#,##0.00"}, {L"I:D.3", L"#,##0.000"}, {L"I:D", L"#,##0"},
        {L"I:D.2147483647", L"#,##0.000000000000000"},
        {L"I:T", L"@"},     {L"I:B", L""},         {L"I:X", L""},
    };
    CCellInfo cell;
    for (const auto& c : cases) {
        cell.Parse(c.pszDesc);
        EXPECT_EQ(CString(c.pszFormat), cell.GetNumberFormat()) << c.pszDesc;
    }
}

namespace
{
// A grid window holding a workbook of two sheet pairs and a third, unpaired sheet.
class FormInfoBookTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_grid.Create(L"", WS_POPUP, CRect(0, 0, 400, 300), nullptr, 0));
        CGridBook& book = m_grid.GetBook();
        book.RenameSheet(1, L"Entrate");
        CGridSheet& data1 = *book.GetSheet(1);
        data1.SetText(6, 5, L"[EOF]");
        CGridSheet& desc1 = *book.InsertSheet(2, L"Descr1");
        // Settings, then a 5 x 4 description: columns 1 to 3 described, column 4 the row's text.
        desc1.SetText(1, 1, L"1:3,2;F:2,1;T:Entrate;FC:0");
        desc1.SetText(3, 2, L"I:+V;R:2101;F:Anno1;NAME:Primo");
        desc1.SetText(3, 3, L"L:V;R:2101;F:Anno2");
        desc1.SetText(3, 4, L"nota della riga");
        desc1.SetText(4, 2, L"I:B.Y;B.N:4,3;R:3001;F:Si");
        desc1.SetText(4, 3, L"I:B.N;B.Y:4,2;R:3001;F:Si");
        desc1.SetText(5, 2, L"C:V;T:SaldoFin;R:1106;F:Anno1");
        desc1.SetText(5, 3, L"S:N;R:9;F:Anno3;NAME:ultimo");
        desc1.SetText(6, 5, L"[EOF]");
        book.InsertSheet(3, L"Spese");
        CGridSheet& desc2 = *book.InsertSheet(4, L"Descr2");   // without "[EOF]": read to the limits
        desc2.SetMaxRow(6);
        desc2.SetMaxCol(4);
        desc2.SetText(2, 3, L"I:N;NAME:primo");
        book.InsertSheet(5, L"Avanzo");
        m_grid.GetControl().Refresh();
        m_grid.SetProperty106(3);
        m_grid.SetProperty106(2);
        m_grid.InvokeMethod211(5, 4);
        m_grid.SetProperty106(3);
        ASSERT_TRUE(m_info.ReadFromBook(m_grid));
    }
    void TearDown() override { m_grid.DestroyWindow(); }

    CF1Book m_grid;
    CFormInfo m_info;
};
} // namespace

TEST_F(FormInfoBookTest, ReadsEveryPairWithItsSettingsAndCells)
{
    ASSERT_EQ(2, m_info.GetSize());   // the fifth sheet has no pair
    const CSheetInfo& first = m_info[0];
    EXPECT_EQ(CString(L"Entrate"), first.m_strSheetName);
    EXPECT_EQ(3, first.m_nFirstRow);
    EXPECT_EQ(2, first.m_nFirstCol);
    EXPECT_EQ(2, first.m_nTitleRows);
    EXPECT_EQ(1, first.m_nTitleCols);
    EXPECT_FALSE(first.m_bFormatsOn);
    EXPECT_EQ(CString(L"Entrate"), first.m_strTable);
    // "[EOF]" at (6, 5): 5 rows of 4 columns, column 4 being the row's text.
    ASSERT_EQ(6, first.GetSize());
    ASSERT_EQ(4, first[3].GetSize());
    EXPECT_EQ(CString(L"nota della riga"), first[3].m_strText);
    EXPECT_EQ(formKindInput, first[3][2].m_nKind);
    EXPECT_EQ(CString(L"Anno1"), first[3][2].m_strF);
    EXPECT_EQ(formKindNone, first[1][1].m_nKind);   // the settings describe nothing
    EXPECT_EQ(CString(L"SaldoFin"), first[5][2].m_strT);

    const CSheetInfo& second = m_info[1];
    EXPECT_EQ(CString(L"Spese"), second.m_strSheetName);
    EXPECT_TRUE(second.m_bFormatsOn);
    EXPECT_EQ(7, second.GetSize());   // the row limit
    EXPECT_EQ(4, second[2].GetSize());
    EXPECT_EQ(formKindInput, second[2][3].m_nKind);

    // The grid shows the sheet it showed, the description sheet keeps its active cell.
    EXPECT_EQ(3, m_grid.GetProperty106());
    m_grid.SetProperty106(2);
    EXPECT_EQ(5, m_grid.GetProperty5());
    EXPECT_EQ(4, m_grid.GetProperty4());

    CFormInfo copy = m_info;   // by value
    m_info.SetCellKind(0, 2, 3, formKindLoaded);
    EXPECT_EQ(formKindInput, copy.GetCellKind(0, 2, 3));
    EXPECT_EQ(formKindLoaded, m_info.GetCellKind(0, 2, 3));
}

TEST_F(FormInfoBookTest, CellsAreFoundByNameAndBoxesKnown)
{
    int nRow = 0, nCol = 0;
    EXPECT_TRUE(m_info.FindCell(L"ULTIMO", 0, nRow, nCol));
    EXPECT_EQ(5, nRow);
    EXPECT_EQ(3, nCol);
    EXPECT_TRUE(m_info.FindCell(L"primo", 0, nRow, nCol));
    EXPECT_EQ(3, nRow);
    EXPECT_TRUE(m_info.FindCell(L"primo", 1, nRow, nCol));
    EXPECT_EQ(2, nRow);
    EXPECT_FALSE(m_info.FindCell(L"", 0, nRow, nCol));
    EXPECT_FALSE(m_info.FindCell(L"primo", 2, nRow, nCol));
    EXPECT_FALSE(m_info.FindCell(L"nessuno", 0, nRow, nCol));

    EXPECT_TRUE(m_info.IsCheckBox(0, 4, 2));
    EXPECT_TRUE(m_info.IsCheckBox(0, 4, 3));
    EXPECT_FALSE(m_info.IsCheckBox(0, 3, 2));
    EXPECT_FALSE(m_info.IsCheckBox(0, 4, 4));   // the row's text column
    EXPECT_FALSE(m_info.IsCheckBox(0, 0, 2));
    EXPECT_FALSE(m_info.IsCheckBox(5, 4, 2));
}

TEST_F(FormInfoBookTest, NearestDataCellOfAClick)
{
    struct
    {
        int nRow, nCol, nLastRow, nLastCol;
        BOOL bFound;
        int nFoundRow, nFoundCol;
    } cases[] = {
        {3, 3, 5, 4, TRUE, 3, 3},     // a data cell itself
        {1, 1, 5, 4, TRUE, 3, 2},     // in the title area: clamped to (3, 2)
        {4, 2, 5, 4, TRUE, 3, 2},     // a box: the first of the nearest (3, 2) and (5, 2)
        {4, 3, 5, 4, TRUE, 3, 3},
        {9, 9, 5, 4, TRUE, 5, 3},     // clamped to (5, 4)
        {3, 2, 2, 4, FALSE, 0, 0},    // the area lies in the title rows
    };
    for (const auto& c : cases) {
        int nRow = c.nRow, nCol = c.nCol;
        EXPECT_EQ(c.bFound, m_info.FindNearestDataCell(0, nRow, nCol, c.nLastRow, c.nLastCol)) << c.nRow << "," << c.nCol;
        if (c.bFound) {
            EXPECT_EQ(c.nFoundRow, nRow) << c.nRow << "," << c.nCol;
            EXPECT_EQ(c.nFoundCol, nCol) << c.nRow << "," << c.nCol;
        }
    }
}

TEST_F(FormInfoBookTest, NextDataCellOfAnArrowKeyPassesOverBoxes)
{
    struct
    {
        int nRow, nCol, nDirection;
        BOOL bFound;
        int nFoundRow, nFoundCol;
    } cases[] = {
        {3, 2, 1, TRUE, 3, 3},     // right
        {3, 3, 1, FALSE, 0, 0},    // right edge
        {3, 3, 0, TRUE, 3, 2},     // left
        {3, 2, 3, TRUE, 5, 2},     // down over the box of row 4
        {5, 3, 2, TRUE, 3, 3},     // up over the box
        {3, 2, 2, FALSE, 0, 0},    // up into the title rows
        {1, 1, 3, TRUE, 5, 2},     // clamped to (3, 2) first, then one step at least
    };
    for (const auto& c : cases) {
        int nRow = c.nRow, nCol = c.nCol;
        EXPECT_EQ(c.bFound, m_info.FindNextDataCell(0, nRow, nCol, c.nDirection)) << c.nRow << "," << c.nCol << " " << c.nDirection;
        if (c.bFound) {
            EXPECT_EQ(c.nFoundRow, nRow);
            EXPECT_EQ(c.nFoundCol, nCol);
        }
    }
}

TEST_F(FormInfoBookTest, KindsChangedByColumnRowAndCellMoveTheFirstCell)
{
    m_info.SetColumnKind(-1, 2, formKindNone);
    EXPECT_EQ(formKindNone, m_info.GetCellKind(0, 2, 3));
    EXPECT_EQ(3, m_info[0].m_nFirstCol);   // the first cell was in that column
    m_info.SetRowKind(0, 3, formKindSet);
    EXPECT_EQ(formKindSet, m_info.GetCellKind(0, 3, 3));
    EXPECT_EQ(formKindSet, m_info.GetCellKind(0, 2, 3));
    EXPECT_EQ(4, m_info[0].m_nFirstRow);
    EXPECT_EQ(formKindInput, m_info.GetCellKind(1, 3, 2));   // other sheet untouched
    m_info.SetCellKind(1, 3, 2, formKindComputed);
    EXPECT_EQ(formKindComputed, m_info.GetCellKind(1, 3, 2));
    EXPECT_EQ(formKindNone, m_info.GetCellKind(1, 9, 9));
}

// A grid holding one pair of sheets whose description sheet has the given texts, read into a form description.
class FormInfoOnePairTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_grid.Create(L"", WS_POPUP, CRect(0, 0, 400, 300), nullptr, 0)); }
    void TearDown() override { m_grid.DestroyWindow(); }

    BOOL Read(std::initializer_list<std::tuple<long, long, LPCTSTR>> texts)
    {
        CGridSheet& desc = *m_grid.GetBook().InsertSheet(2, L"Descrizione");
        for (const auto& [nRow, nCol, pszText] : texts)
            desc.SetText(nRow, nCol, pszText);
        return m_info.ReadFromBook(m_grid);
    }

    CF1Book m_grid;
    CFormInfo m_info;
};

// "[EOF]" in the first column describes rows without cells: there is no column 0 to take the rows' text from.
TEST_F(FormInfoOnePairTest, EofInTheFirstColumnGivesRowsWithoutCells)
{
    EXPECT_TRUE(Read({{1, 1, L"F:1,0"}, {3, 1, L"[EOF]"}}));
    ASSERT_EQ(1, m_info.GetSize());
    EXPECT_EQ(3, m_info[0].GetSize());
    EXPECT_EQ(0, m_info[0][2].GetSize());
    EXPECT_EQ(1, m_info[0].m_nTitleRows);
    int nRow = 2, nCol = 1;
    EXPECT_FALSE(m_info.FindNextDataCell(0, nRow, nCol, 3));
}

TEST_F(FormInfoOnePairTest, WithoutEofOnlyTheUsedRowsHoldCells)
{
    ASSERT_TRUE(Read({{1, 1, L"F:1,0"}, {2, 2, L"I:N;NAME:importo"}}));
    ASSERT_EQ(1, m_info.GetSize());
    EXPECT_EQ(m_grid.GetProperty19() + 1, m_info[0].GetSize());   // every row up to the sheet's limit is there
    EXPECT_EQ(nullptr, m_info.GetCell(0, 60000, 2));
    int nRow = 0, nCol = 0;
    EXPECT_TRUE(m_info.FindCell(L"importo", 0, nRow, nCol));
    EXPECT_EQ(2, nRow);
    nRow = 2;
    nCol = 2;
    EXPECT_FALSE(m_info.FindNextDataCell(0, nRow, nCol, 3));
}

// A grid call that raises while the description is read (here a description cell past the sheet's row limit)
// leaves the grid on the sheet it showed and the description as it was.
TEST_F(FormInfoBookTest, FailedReadLeavesTheShownSheetAndTheDescription)
{
    CGridSheet& desc2 = *m_grid.GetBook().GetSheet(4);
    desc2.SetText(9, 2, L"I:N");   // past the row limit of 6
    m_grid.SetProperty106(1);
    try {
        m_info.ReadFromBook(m_grid);
        ADD_FAILURE() << "the cell past the limit was read";
    } catch (COleDispatchException* e) {
        e->Delete();
    }
    EXPECT_EQ(1, m_grid.GetProperty106());
    ASSERT_EQ(2, m_info.GetSize());
    EXPECT_EQ(CString(L"Entrate"), m_info[0].m_strSheetName);
    EXPECT_EQ(formKindInput, m_info.GetCellKind(1, 3, 2));
}
