// The input-form workbooks the program ships, compiled from their sources: each one compiles, is written and
// read back, binds to a new archive, starts on a cell the user works in, and computes what the engine stores.
// Also the compiler's refusals and the check that refuses a description naming what the archive lacks.
#include "WorkbookBinding.h"

#include "data/DataTestArchive.h"
#include "data/DatabaseSchema.h"
#include "engine/RecalcSaldi.h"
#include "forms/FormBinding.h"
#include "platform/grid/GridAddress.h"
#include "util/MessageText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <random>

namespace
{
// A one-sheet source around the given lines, on table Entrate, 6 rows by 4 columns, first cell C3.
CString SmallSource(LPCTSTR pszLines)
{
    return CString(L"sheet \"Prova\"\n  size 6 4\n  table Entrate\n  first C3\n") + pszLines;
}

class ShippedWorkbookTest : public CDataTestArchive
{
protected:
    // A new, empty data archive in place of the one open.
    void NewArchive(LPCTSTR pszName)
    {
        TearDown();
        m_dataPath = m_folder.File(pszName);
        CreateDataArchive(m_dataPath, Password);
        OpenDatabases(TRUE);
    }

    // The workbook as the program folder ships it: compiled, written, and read back from the file.
    void LoadShipped(const CString& strName, CGridBook& book, CFormInfo& info)
    {
        CGridBook compiled;
        CFormInfo unused;
        ASSERT_EQ(CString(), CompileSourceText(ReadWorkbookSource(strName), compiled, unused));
        CString strError, strPath = m_folder.File(strName + L".vts");
        ASSERT_TRUE(compiled.WriteFile(strPath, strError)) << strError;
        ASSERT_TRUE(book.ReadFile(strPath, strError)) << strError;
        info.ReadFromBook(book);
    }
};
} // namespace

TEST_F(ShippedWorkbookTest, EveryWorkbookCompilesLoadsAndBindsToANewArchive)
{
    std::vector<CString> names = ShippedWorkbookNames();
    // The workbooks that the frame and the tree open.
    for (LPCTSTR pszExpected : {L"Entrate1", L"Entrate2", L"SpNette1", L"SpNette2", L"SaldoFin", L"SaldoPro",
                                L"MonEntr1", L"MonEntr2", L"MonSpNt1", L"MonSpNt2", L"EntVeri1", L"EntVeri2",
                                L"SpNVeri1", L"SpNVeri2", L"VerVerif", L"EntExtr1", L"SpNExtr1", L"VerExtra",
                                L"CapExtra", L"AllegD07"})
        EXPECT_TRUE(std::find(names.begin(), names.end(), CString(pszExpected)) != names.end()) << pszExpected;

    for (const CString& strName : names) {
        SCOPED_TRACE(strName.ToMultiByte(CP_UTF8));
        CGridBook book;
        CFormInfo info;
        LoadShipped(strName, book, info);
        ASSERT_GE(book.GetSheetCount(), 2);
        EXPECT_EQ(0, book.GetSheetCount() % 2);
        for (int s = 1; s <= book.GetSheetCount(); ++s) {
            const CGridSheet& sheet = *book.GetSheet(s);
            EXPECT_EQ(CString(L"[EOF]"), sheet.GetText(sheet.GetLastRow(), sheet.GetLastCol())) << sheet.GetName();
        }
        CString strError;
        EXPECT_TRUE(CheckFormBinding(info, m_data, strError)) << strError;
        EXPECT_TRUE(CheckFormRows(info, strError)) << strError;
        for (int s = 0; s < info.GetSize(); ++s) {
            const CSheetInfo& sheet = info[s];
            SCOPED_TRACE(sheet.m_strSheetName.ToMultiByte(CP_UTF8));
            EXPECT_FALSE(sheet.m_strTable.IsEmpty());
            bool bHasInput = false;
            for (const CBoundCell& bound : BoundCells(info))
                bHasInput = bHasInput || (bound.nSheet == s && bound.pCell->m_nKind == formKindInput);
            const CCellInfo* pFirst = info.GetCell(s, sheet.m_nFirstRow, sheet.m_nFirstCol);
            ASSERT_NE(nullptr, pFirst) << "first cell " << sheet.m_nFirstRow << "," << sheet.m_nFirstCol;
            if (bHasInput)
                EXPECT_EQ(formKindInput, pFirst->m_nKind);
            else
                EXPECT_TRUE(pFirst->IsDataCell());
        }
    }
}

// The checks of the compiler (the views check tables and fields): a table, field or row the archive lacks is
// named with its cell.
TEST_F(ShippedWorkbookTest, ADescriptionNamingWhatTheArchiveLacksIsRefusedNamingTheCell)
{
    struct
    {
        LPCTSTR pszRow;
        LPCTSTR pszExpected;   // empty: accepted
    } cases[] = {
        {L"row 3 key 2101: | | I:+V;F:Anno1", L""},
        {L"row 3 key 2101 table SaldoFinCalc: | | I:+V;F:Anno4Com", L""},
        {L"row 3 key ENTE: | | I:T;T:DatiEnte;F:value", L""},
        {L"row 3 key 2101: | | C:V", L""},   // no field: the cell is computed and saved nowhere
        {L"row 3 key 2101 table Spese: | | I:+V;F:Anno1", L"C3 del foglio \"Prova\" fa riferimento alla tabella \"Spese\""},
        {L"row 3 key 2101: | | I:+V;F:Anno9", L"C3 del foglio \"Prova\" fa riferimento al campo \"Anno9\", che la tabella \"Entrate\""},
        {L"row 3 key 2109: | | I:+V;F:Anno1", L"C3 del foglio \"Prova\" fa riferimento alla riga \"2109\""},
        {L"row 3 key 2101: | | I:+V;F:Anno1 | L:V;T:SaldoFin;F:Anno1", L"D3 del foglio \"Prova\" fa riferimento alla riga \"2101\", che la tabella \"SaldoFin\""},
        {L"row 3 key 201 table SaldoFin: | | I:+V;F:Anno1\nrow 4 key 201: | | I:+V;F:Anno1", L"C4 del foglio \"Prova\" fa riferimento alla riga \"201\", che la tabella \"Entrate\""},
        {L"row 3 key PROV: | | I:T;T:DatiEnte;F:value\nrow 4 key PROVINCIA: | | I:T;T:DatiEnte;F:value", L"C4 del foglio"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszRow);
        CGridBook book;
        CFormInfo info;
        ASSERT_EQ(CString(), CompileSourceText(SmallSource(c.pszRow), book, info));
        CString strError;
        BOOL bBound = CheckFormBinding(info, m_data, strError) && CheckFormRows(info, strError);
        if (*c.pszExpected == 0) {
            EXPECT_TRUE(bBound) << strError;
        } else {
            EXPECT_FALSE(bBound);
            EXPECT_NE(-1, strError.Find(c.pszExpected)) << strError;
        }
    }
}

TEST(WorkbookSource, FaultsOfASourceAreRefusedWithTheirLine)
{
    struct
    {
        LPCTSTR pszSource;
        LPCTSTR pszExpected;
    } cases[] = {
        {L"sheet \"P\"\n  table Entrate\n  row 2: \"x\"", L"line 3: the sheet's size comes before its cells"},
        {L"sheet \"P\"\n  table Entrate", L"has no size"},
        {L"style a bold\nstyle a italic", L"line 2: style a defined twice"},
        {L"sheet \"P\"\n size 3 3\n row 2: \"x\" @nostyle", L"line 3: unknown style nostyle"},
        {L"sheet \"P\"\n size 3 3\n row 2: \"x\" | \"y\" *3", L"line 3: cell D2 lies outside"},
        {L"sheet \"P\"\n size 3 3\n row 2: \"x\"\n cell A2 \"y\"", L"line 4: cell A2 written twice"},
        {L"sheet \"P\"\n size 3 3\n row 2: \"x\" 12", L"line 3: a cell holds one text"},
        {L"sheet \"P\"\n size 3 3\n row 2: \"x", L"line 3: unclosed quotes"},
        {L"sheet \"P\"\n size 3 3\n row 2: i:V", L"line 3: not a text, number"},
        {L"sheet \"P\"\n size 3 3\n row 1: L:V", L"cell A1 of a description sheet"},
        {L"sheet \"P\"\n size 3 3\n row 2: \"x\" | =A2*2", L"the formula of cell B2 of sheet \"P\" gives #VALUE!"},
        {L"sheet \"P\"\n size 3 3\n row 2: =SOMMA(B2)", L"the formula of cell A2 of sheet \"P\" gives #NAME?"},
        {L"sheet \"P\"\n size 3 3\nsheet \"p\"", L"line 3: sheet name \"p\" not valid or used twice"},
        {L"sheet \"P\"\n size 3 3\n merge A1:C1\n merge B1:B2", L"line 4: merged area B1:B2 is a single cell, out of"},
        {L"sheet \"P\"\n size 3 3\n merge A1", L"line 3: a range such as B1:F1"},
        {L"", L"the source has no sheet"},
    };
    for (const auto& c : cases) {
        CGridBook book;
        CFormInfo info;
        CString strError = CompileSourceText(c.pszSource, book, info);
        EXPECT_NE(-1, strError.Find(c.pszExpected)) << c.pszSource << "\n -> " << strError;
    }
}

// Rows that name another table are served by it, and the next rows by the sheet's table again: the compiler
// writes the switches into the descriptions, in the order the views walk the cells.
TEST(WorkbookSource, EachRowIsServedByItsTable)
{
    CGridBook book;
    CFormInfo info;
    ASSERT_EQ(CString(), CompileSourceText(SmallSource(L"column C field Anno1\n"
                                                       L"row 2 key 2101: | \"a\" | I:+V | I:+V;F:Anno2\n"
                                                       L"row 3 key 100 table SaldoFin: | \"b\" | C:V =C2\n"
                                                       L"row 4 key 2102: | \"c\" | I:+V\n"
                                                       L"row 5 key 3: | \"d\" | L:T;T:DatiEnte;R:ENTE;F:value\n"),
                                           book, info));
    struct
    {
        int nRow, nCol;
        LPCTSTR pszTable, pszRow, pszField;
    } expected[] = {
        {2, 3, L"Entrate", L"2101", L"Anno1"}, {2, 4, L"Entrate", L"2101", L"Anno2"},
        {3, 3, L"SaldoFin", L"100", L"Anno1"}, {4, 3, L"Entrate", L"2102", L"Anno1"},
        {5, 3, L"DatiEnte", L"ENTE", L"value"},
    };
    std::vector<CBoundCell> cells = BoundCells(info);
    ASSERT_EQ(_countof(expected), cells.size());
    for (size_t i = 0; i < cells.size(); ++i) {
        SCOPED_TRACE(GridCellName(expected[i].nRow, expected[i].nCol));
        EXPECT_EQ(expected[i].nRow, cells[i].nRow);
        EXPECT_EQ(expected[i].nCol, cells[i].nCol);
        EXPECT_EQ(CString(expected[i].pszTable), cells[i].strTable);
        EXPECT_EQ(CString(expected[i].pszRow), cells[i].pCell->m_strR);
        EXPECT_EQ(CString(expected[i].pszField), cells[i].pCell->m_strF);
    }
    // The layout: "[EOF]" past the size on the data sheet and one column further on the description sheet,
    // whose last column holds the row texts.
    EXPECT_EQ(CString(L"[EOF]"), book.GetSheet(1)->GetText(7, 5));
    EXPECT_EQ(CString(L"[EOF]"), book.GetSheet(2)->GetText(7, 6));
    EXPECT_EQ(CString(L"1:3,3;F:0,0;T:Entrate"), book.GetSheet(2)->GetText(1, 1));
    // A merged title.
    ASSERT_EQ(CString(), CompileSourceText(SmallSource(L"merge A1:D1\nrow 1: \"Titolo\""), book, info));
    ASSERT_EQ(1u, book.GetSheet(1)->GetMerges().size());
    EXPECT_EQ(4, book.GetSheet(1)->GetMerges()[0].m_nCol2);
}

// On archives filled at random through every shipped workbook, every computed cell with a row key shows what
// the archive holds after the recomputation, and every input typed comes back. The forms of a responsible
// centre work on the rows of one centre.
TEST_F(ShippedWorkbookTest, ComputedCellsShowWhatTheEngineStores)
{
    // Scales that make the archives of some seeds fall into each case of the programmed targets: spending above
    // the revenues (a negative cash average, with the mixed one below or above it), accrual revenues far above
    // the rest (the mixed average above the cash one), an extraordinary revenue above 15 % of the final ones.
    static const struct
    {
        unsigned nSeed;
        LPCTSTR pszWorkbook;
        LPCTSTR pszRow;   // null: every row of the workbook
        double factor;
    } scales[] = {
        {2, L"SpNette1", nullptr, 1000}, {2, L"SpNette2", nullptr, 100}, {3, L"SpNette2", nullptr, 100},
        {4, L"Entrate1", nullptr, 100}, {5, L"Entrate2", L"3503", 1000},
    };
    std::vector<CString> names = ShippedWorkbookNames();
    for (unsigned nSeed : {1u, 2u, 3u, 4u, 5u}) {
        SCOPED_TRACE(nSeed);
        NewArchive(FormatString(L"Archivio%u.mdb", nSeed));
        Execute(L"INSERT INTO Responsabili (responsabile, centroServ) VALUES ('Rossi', 'Ragioneria')");
        const long nCentre = ScalarLong(L"SELECT MAX(ID) FROM Responsabili");
        std::mt19937 random(nSeed);
        std::map<CString, double> typed;   // "table/row/field" -> the last amount typed
        for (const CString& strName : names) {
            CGridBook book;
            CFormInfo info;
            LoadShipped(strName, book, info);
            LoadWorkbook(book, info, m_data, nCentre);
            for (const CBoundCell& bound : BoundCells(info)) {
                const CCellInfo& cell = *bound.pCell;
                if (cell.m_nKind != formKindInput || cell.m_nType != formTypeAmount)
                    continue;
                // Amounts in cents; one in five left at zero, signs where the cell allows them.
                double amount = random() % 5 == 0 ? 0.0 : static_cast<double>(random() % 100000000) / 100.0;
                if (!cell.m_bNoNegatives && random() % 3 == 0)
                    amount = -amount;
                for (const auto& scale : scales)
                    if (scale.nSeed == nSeed && strName == scale.pszWorkbook && (!scale.pszRow || cell.m_strR == scale.pszRow))
                        amount *= scale.factor;
                book.GetSheet(2 * bound.nSheet + 1)->SetNumber(bound.nRow, bound.nCol, amount);
                typed[bound.strTable + L"/" + cell.m_strR + L"/" + cell.m_strF] = amount;
            }
            SaveWorkbook(book, info, m_data, nCentre);
        }
        RecalcSaldi(m_data);

        for (const CString& strName : names) {
            SCOPED_TRACE(strName.ToMultiByte(CP_UTF8));
            CGridBook book;
            CFormInfo info;
            LoadShipped(strName, book, info);
            LoadWorkbook(book, info, m_data, nCentre);
            for (const CBoundCell& bound : BoundCells(info)) {
                const CCellInfo& cell = *bound.pCell;
                if (cell.m_strR.IsEmpty() || cell.m_strF.IsEmpty() ||
                    (cell.m_nType != formTypeAmount && cell.m_nType != formTypeDecimal))
                    continue;
                const CGridSheet& sheet = *book.GetSheet(2 * bound.nSheet + 1);
                double shown = sheet.GetNumber(bound.nRow, bound.nCol);
                SCOPED_TRACE((sheet.GetName() + L" " + GridCellName(bound.nRow, bound.nCol) + L" " + bound.strTable +
                              L"/" + cell.m_strR + L"/" + cell.m_strF).ToMultiByte(CP_UTF8));
                if (cell.m_nKind == formKindComputed) {
                    EXPECT_NEAR(ReadStoredAmount(m_data, bound.strTable, cell.m_strR, cell.m_strF, nCentre), shown,
                                0.0001);
                } else if (cell.m_nKind == formKindInput) {
                    EXPECT_NEAR(typed[bound.strTable + L"/" + cell.m_strR + L"/" + cell.m_strF], shown, 0.0001);
                }
            }
        }
    }
}

// The item sheets of CapExtra: item rows from row 5 to the third row before the sheet's end, the last one the
// pattern; the totals take in the rows the view inserts below the last item and lose the ones it deletes.
TEST_F(ShippedWorkbookTest, CapExtraTotalsFollowTheItemRows)
{
    CGridBook book;
    CFormInfo info;
    LoadShipped(L"CapExtra", book, info);
    ASSERT_GE(info.GetSize(), 2);
    for (int nPair : {0, 1}) {
        CGridSheet& sheet = *book.GetSheet(2 * nPair + 1);
        int nEofRow = 0, nEofCol = 0;
        ASSERT_TRUE(sheet.Find(L"[EOF]", gridFindWholeCell, nEofRow, nEofCol));
        const int nLastItem = nEofRow - 1 - 3;
        ASSERT_EQ(5, nLastItem);
        // The pattern row: articolo typed as a text, amounts typed, the rest filled by the view.
        EXPECT_EQ(formKindInput, info.GetCell(nPair, 5, 4)->m_nKind);
        EXPECT_EQ(formTypeText, info.GetCell(nPair, 5, 4)->m_nType);
        EXPECT_EQ(formTypeAmount, info.GetCell(nPair, 5, 7)->m_nType);
        EXPECT_EQ(formTypeAmount, info.GetCell(nPair, 5, 8)->m_nType);
        EXPECT_TRUE(sheet.IsColHidden(10));

        // Two rows inserted below the last item and filled from the pattern, as the view does.
        CGridClip clip;
        ASSERT_TRUE(sheet.InsertRows(nLastItem + 1, 2));
        ASSERT_TRUE(sheet.CopyRange(CGridRange(nLastItem, 1, nLastItem, 10), clip));
        ASSERT_TRUE(sheet.PasteRange(clip, CGridRange(nLastItem + 1, 1, nLastItem + 2, 10), gridAll));
        const double amounts[] = {100.25, 20, 3.5};
        for (int i = 0; i < 3; ++i) {
            sheet.SetNumber(nLastItem + i, 7, amounts[i]);
            sheet.SetNumber(nLastItem + i, 8, 2 * amounts[i]);
        }
        const int nTotal = nLastItem + 2 + 2;   // past the items and the empty closing row
        EXPECT_DOUBLE_EQ(123.75, sheet.GetNumber(nTotal, 7));
        EXPECT_DOUBLE_EQ(247.5, sheet.GetNumber(nTotal, 8));
        ASSERT_TRUE(sheet.DeleteRows(nLastItem, 1));
        EXPECT_DOUBLE_EQ(23.5, sheet.GetNumber(nTotal - 1, 7));
        EXPECT_DOUBLE_EQ(47, sheet.GetNumber(nTotal - 1, 8));
    }
}
