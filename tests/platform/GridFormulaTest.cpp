#include "platform/grid/GridBook.h"
#include "support/LinearTime.h"

#include <gtest/gtest.h>

namespace
{
std::string U8(const CString& s) { return s.ToMultiByte(CP_UTF8); }

class GridFormulaTest : public ::testing::Test
{
protected:
    GridFormulaTest() : m_sheet(*m_book.GetSheet(1)) {}

    CGridBook m_book;
    CGridSheet& m_sheet;
};

struct EvalCase
{
    LPCTSTR pszFormula;
    LPCTSTR pszShown;
};

// A1 10, A2 4, A3 "abc", A4 "5" (a text), A5 empty, A6 -2.5.
const EvalCase s_evalCases[] = {
    {L"=A1+A2*2", L"18"},
    {L"=(A1+A2)*2", L"28"},
    {L"=-2^2", L"4"},
    {L"=2^3^2", L"64"},
    {L"=10%", L"0,1"},
    {L"=A1-A2-A2", L"2"},
    {L"=A1/A2", L"2,5"},
    {L"=A1/0", L"#DIV/0!"},
    {L"=A1/A5", L"#DIV/0!"},
    {L"=A1+A3", L"#VALUE!"},
    {L"=A1+A4", L"15"},
    {L"=A1+A5", L"10"},
    {L"=A5", L"0"},
    {L"=A1&\"x\"", L"10x"},
    {L"=A6&\"\"", L"-2,5"},
    {L"=\"a\"\"b\"", L"a\"b"},
    {L"=SUM(A1:A6)", L"11,5"},
    {L"=SUM(A1,A4)", L"10"},
    {L"=SUM(A1,\"5\")", L"15"},
    {L"=SUM(A1:A6,1,2)", L"14,5"},
    {L"=MIN(A1:A6)", L"-2,5"},
    {L"=MAX(A1:A6)", L"10"},
    {L"=MAX(A5)", L"0"},
    {L"=ABS(A6)", L"2,5"},
    {L"=ROUND(2.675,2)", L"2,68"},
    {L"=ROUND(A6,0)", L"-3"},
    {L"=ROUND(1234,-2)", L"1200"},
    {L"=IF(A1>5,\"alto\",\"basso\")", L"alto"},
    {L"=IF(A2>5,\"alto\",\"basso\")", L"basso"},
    {L"=IF(A2>5,1)", L"FALSE"},
    {L"=IF(A1,A5,1)", L"0"},
    {L"=IF(A3,1,2)", L"#VALUE!"},
    {L"=A1>A3", L"FALSE"},
    {L"=A3=\"ABC\"", L"TRUE"},
    {L"=A5=0", L"TRUE"},
    {L"=A5=\"\"", L"TRUE"},
    {L"=A1<>A2", L"TRUE"},
    {L"=A1<=10", L"TRUE"},
    {L"=A2>=4.5", L"FALSE"},
    {L"=AND(A1>0,A2>0)", L"TRUE"},
    {L"=OR(A1<0,A2<0)", L"FALSE"},
    {L"=AND(A1:A6)", L"TRUE"},
    {L"=NOT(A1)", L"FALSE"},
    {L"=SUM(A1:A6)/A5", L"#DIV/0!"},
    {L"=FOO(1)", L"#NAME?"},
    {L"=foo+1", L"#NAME?"},
    {L"=1+", L"#NAME?"},
    {L"=SUM(", L"#NAME?"},
    {L"=ROUND(1)", L"#NAME?"},
    {L"=A1 A2", L"#NAME?"},
    {L"=#REF!+1", L"#REF!"},
    {L"=A1+#DIV/0!", L"#DIV/0!"},
    {L"=0^0", L"#NUM!"},
    {L"=1E308*10", L"#NUM!"},
};
} // namespace

TEST_F(GridFormulaTest, EvaluatesOperatorsFunctionsAndErrors)
{
    m_sheet.SetNumber(1, 1, 10);
    m_sheet.SetNumber(2, 1, 4);
    m_sheet.SetText(3, 1, L"abc");
    m_sheet.SetText(4, 1, L"5");
    m_sheet.SetNumber(6, 1, -2.5);
    for (const EvalCase& c : s_evalCases) {
        ASSERT_TRUE(m_sheet.SetFormula(1, 3, c.pszFormula));
        EXPECT_EQ(CString(c.pszShown), m_sheet.GetText(1, 3)) << U8(c.pszFormula);
    }
}

TEST_F(GridFormulaTest, TextOfAFormulaIsRebuiltInTheStoredSpelling)
{
    const struct
    {
        LPCTSTR pszTyped;
        LPCTSTR pszStored;
    } cases[] = {
        {L"=sum(a1:b2, $c$3)", L"=SUM(A1:B2,$C$3)"},
        {L"= 1.50 + a$1 * ( 2 - $b1 )", L"=1.5+A$1*(2-$B1)"},
        {L"=B5:A1", L"=A1:B5"},
        {L"=if(a1>=1,\"s\"\"i\",\"no\")&\"\"", L"=IF(A1>=1,\"s\"\"i\",\"no\")&\"\""},
        {L"=-a1%", L"=-A1%"},
        {L"=true<>false", L"=TRUE<>FALSE"},
        {L"=1e20+0.1", L"=1E+20+0.1"},
        {L"=1+", L"=1+"},   // not readable: kept as given
    };
    for (const auto& c : cases) {
        m_sheet.SetFormula(2, 2, c.pszTyped);
        EXPECT_EQ(CString(c.pszStored), m_sheet.GetFormula(2, 2)) << U8(c.pszTyped);
    }
}

TEST_F(GridFormulaTest, ChainIsComputedAgainAfterEveryChange)
{
    m_sheet.SetNumber(1, 1, 1);
    m_sheet.SetFormula(1, 3, L"=B1+1");   // before B1 exists: B1 counts as empty
    EXPECT_EQ(1, m_sheet.GetNumber(1, 3));
    m_sheet.SetFormula(1, 2, L"=A1*2");
    EXPECT_EQ(3, m_sheet.GetNumber(1, 3));
    m_sheet.SetNumber(1, 1, 5);
    EXPECT_EQ(10, m_sheet.GetNumber(1, 2));
    EXPECT_EQ(11, m_sheet.GetNumber(1, 3));
    m_sheet.SetNumber(1, 2, 7);             // the formula in between gives way to a constant
    EXPECT_EQ(8, m_sheet.GetNumber(1, 3));
    m_sheet.SetNumber(1, 1, 100);
    EXPECT_EQ(8, m_sheet.GetNumber(1, 3));
    m_sheet.ClearRange(CGridRange(1, 2, 1, 2), gridContents);
    EXPECT_EQ(1, m_sheet.GetNumber(1, 3));
}

// A workbook is computed after reading whatever order its formulas stand in: each after the cells it reads.
TEST_F(GridFormulaTest, FormulasReadFromAFileAreComputedAfterTheCellsTheyRead)
{
    CGridBook book;
    CGridSheet& sheet = *book.GetSheet(1);
    sheet.SetFormula(1, 1, L"=A2*2");
    sheet.SetFormula(2, 1, L"=SUM(A3:A5)+B9");
    sheet.SetFormula(3, 1, L"=B9-1");
    sheet.SetNumber(4, 1, 10);
    sheet.SetFormula(9, 2, L"=A4/2");
    CString strError;
    ASSERT_TRUE(m_book.ReadText(book.WriteText(), strError));
    CGridSheet& read = *m_book.GetSheet(1);
    EXPECT_EQ(5, read.GetNumber(9, 2));
    EXPECT_EQ(4, read.GetNumber(3, 1));
    EXPECT_EQ(19, read.GetNumber(2, 1));
    EXPECT_EQ(38, read.GetNumber(1, 1));
}

TEST_F(GridFormulaTest, RangeReadersFollowChangesInsideTheRange)
{
    m_sheet.SetFormula(10, 1, L"=SUM(A1:A9)");
    m_sheet.SetFormula(11, 1, L"=A10*2");
    m_sheet.SetNumber(3, 1, 4);
    m_sheet.SetFormula(5, 1, L"=A3+1");
    EXPECT_EQ(9, m_sheet.GetNumber(10, 1));
    EXPECT_EQ(18, m_sheet.GetNumber(11, 1));
    m_sheet.SetNumber(3, 1, 10);
    EXPECT_EQ(21, m_sheet.GetNumber(10, 1));
    EXPECT_EQ(42, m_sheet.GetNumber(11, 1));
}

TEST_F(GridFormulaTest, CircularReferencesGiveTheCircleErrorUntilBroken)
{
    m_sheet.SetFormula(1, 1, L"=B1+1");
    m_sheet.SetFormula(1, 2, L"=A1+1");
    m_sheet.SetFormula(1, 3, L"=A1*2");
    m_sheet.SetFormula(1, 4, L"=D1");
    m_sheet.SetFormula(2, 1, L"=SUM(A1:A3)");   // a range that holds itself
    EXPECT_EQ(CString(L"#CIRC!"), m_sheet.GetText(1, 1));
    EXPECT_EQ(CString(L"#CIRC!"), m_sheet.GetText(1, 2));
    EXPECT_EQ(CString(L"#CIRC!"), m_sheet.GetText(1, 3));
    EXPECT_EQ(CString(L"#CIRC!"), m_sheet.GetText(1, 4));
    EXPECT_EQ(CString(L"#CIRC!"), m_sheet.GetText(2, 1));
    m_sheet.SetNumber(1, 2, 3);
    EXPECT_EQ(4, m_sheet.GetNumber(1, 1));
    EXPECT_EQ(8, m_sheet.GetNumber(1, 3));
    EXPECT_EQ(CString(L"#CIRC!"), m_sheet.GetText(1, 4));
}

// Thousands of formulas in one chain are computed in order without running out of stack.
TEST_F(GridFormulaTest, LongChainIsComputedInOrder)
{
    const int nRows = 20000;
    m_sheet.SetNumber(1, 1, 1);
    for (int r = 2; r <= nRows; ++r)
        m_sheet.SetFormula(r, 1, CString(L"=A") + std::to_wstring(r - 1).c_str() + L"+1");
    m_sheet.SetNumber(1, 1, 5);
    EXPECT_EQ(nRows + 4, m_sheet.GetNumber(nRows, 1));
}

namespace
{
enum Operation
{
    opInsert,   // rows nArg1.. (nArg2 of them) inserted
    opDelete,   // rows nArg1.. (nArg2 of them) deleted
    opPaste     // the formula cell copied to row nArg1, column nArg2
};

struct AdjustCase
{
    LPCTSTR pszFormula;    // in E5
    Operation nOperation;
    int nArg1;
    int nArg2;
    int nRowAfter;         // where the formula is found afterwards (column E, or nArg2 when pasted)
    LPCTSTR pszExpected;
    LPCTSTR pszShown;      // value shown afterwards; A1 to A10 hold 1 to 10 before the operation
};

const AdjustCase s_adjustCases[] = {
    {L"=A7", opInsert, 3, 2, 7, L"=A9", L"7"},
    {L"=A7", opInsert, 7, 1, 5, L"=A8", L"7"},
    {L"=A7", opInsert, 8, 1, 5, L"=A7", L"7"},
    {L"=$A$7", opInsert, 3, 2, 7, L"=$A$9", L"7"},
    {L"=A2", opInsert, 3, 2, 7, L"=A2", L"2"},
    {L"=SUM(A2:A8)", opInsert, 4, 3, 8, L"=SUM(A2:A11)", L"35"},
    {L"=SUM(A2:A8)", opInsert, 2, 1, 6, L"=SUM(A3:A9)", L"35"},
    {L"=SUM(A2:A8)", opInsert, 9, 1, 5, L"=SUM(A2:A8)", L"35"},
    {L"=A7", opDelete, 1, 2, 3, L"=A5", L"7"},
    {L"=A7", opDelete, 7, 1, 5, L"=#REF!", L"#REF!"},
    {L"=A7*2+A1", opDelete, 6, 3, 5, L"=#REF!*2+A1", L"#REF!"},
    {L"=A7", opDelete, 8, 3, 5, L"=A7", L"7"},
    {L"=SUM(A2:A8)", opDelete, 3, 2, 3, L"=SUM(A2:A6)", L"28"},
    {L"=SUM(A2:A8)", opDelete, 1, 2, 3, L"=SUM(A1:A6)", L"33"},
    {L"=SUM(A2:A8)", opDelete, 7, 3, 5, L"=SUM(A2:A6)", L"20"},
    {L"=SUM(A2:A8)", opDelete, 6, 1, 5, L"=SUM(A2:A7)", L"29"},
    {L"=SUM(A2:A4)", opDelete, 1, 4, 1, L"=SUM(#REF!)", L"#REF!"},
    {L"=A7", opPaste, 8, 6, 8, L"=B10", L"0"},
    {L"=A7", opPaste, 6, 5, 6, L"=A8", L"8"},
    {L"=$A$7", opPaste, 9, 7, 9, L"=$A$7", L"7"},
    {L"=A$7", opPaste, 9, 7, 9, L"=C$7", L"0"},
    {L"=$A7", opPaste, 8, 7, 8, L"=$A10", L"10"},
    {L"=SUM(A1:A3)", opPaste, 7, 5, 7, L"=SUM(A3:A5)", L"12"},
    {L"=A2", opPaste, 1, 5, 1, L"=#REF!", L"#REF!"},
    {L"=SUM(A3:A6)", opPaste, 2, 5, 2, L"=SUM(#REF!)", L"#REF!"},
    {L"=SUM(A3:A6)", opPaste, 4, 5, 4, L"=SUM(A2:A5)", L"14"},
};
} // namespace

TEST_F(GridFormulaTest, ReferencesFollowInsertedDeletedAndPastedRows)
{
    for (const AdjustCase& c : s_adjustCases) {
        CGridBook book;
        CGridSheet& sheet = *book.GetSheet(1);
        for (int r = 1; r <= 10; ++r)
            sheet.SetNumber(r, 1, r);
        sheet.SetFormula(5, 5, c.pszFormula);
        int nCol = 5;
        switch (c.nOperation) {
        case opInsert: ASSERT_TRUE(sheet.InsertRows(c.nArg1, c.nArg2)); break;
        case opDelete: ASSERT_TRUE(sheet.DeleteRows(c.nArg1, c.nArg2)); break;
        case opPaste: {
            CGridClip clip;
            ASSERT_TRUE(sheet.CopyRange(CGridRange(5, 5, 5, 5), clip));
            ASSERT_TRUE(sheet.PasteRange(clip, CGridRange(c.nArg1, c.nArg2, c.nArg1, c.nArg2), gridAll));
            nCol = c.nArg2;
            break;
        }
        }
        EXPECT_EQ(CString(c.pszExpected), sheet.GetFormula(c.nRowAfter, nCol))
            << U8(c.pszFormula) << " op " << c.nOperation << " " << c.nArg1 << "," << c.nArg2;
        EXPECT_EQ(CString(c.pszShown), sheet.GetText(c.nRowAfter, nCol))
            << U8(c.pszFormula) << " op " << c.nOperation << " " << c.nArg1 << "," << c.nArg2;
    }
}

// A formula that reads a moved cell is computed again with the cell's new neighbours.
TEST_F(GridFormulaTest, ValuesFollowTheRowsAfterAnInsertion)
{
    for (int r = 1; r <= 3; ++r)
        m_sheet.SetNumber(r, 1, r);
    m_sheet.SetFormula(4, 1, L"=SUM(A1:A3)");
    m_sheet.SetFormula(4, 2, L"=A4*10");
    ASSERT_TRUE(m_sheet.InsertRows(2, 1));
    EXPECT_EQ(CString(L"=SUM(A1:A4)"), m_sheet.GetFormula(5, 1));
    EXPECT_EQ(CString(L"=A5*10"), m_sheet.GetFormula(5, 2));
    m_sheet.SetNumber(2, 1, 100);   // the new row lies inside the sum
    EXPECT_EQ(106, m_sheet.GetNumber(5, 1));
    EXPECT_EQ(1060, m_sheet.GetNumber(5, 2));
}

// One bound covers every way a formula nests (brackets, signs, function calls) and its length: beyond them a
// formula is refused and the cell keeps what it had; within them it reads and computes.
TEST_F(GridFormulaTest, NestingAndLengthAreBounded)
{
    auto repeat = [](LPCTSTR pszPart, int nCount) {
        CString s;
        for (int i = 0; i < nCount; ++i)
            s += pszPart;
        return s;
    };
    const int kDepth = kGridMaxFormulaDepth;
    const struct
    {
        const char* pszWhat;
        CString strFormula;
        bool bKept;
        LPCTSTR pszShown;
    } cases[] = {
        {"brackets at the limit", L"=" + repeat(L"(", kDepth - 1) + L"2" + repeat(L")", kDepth - 1), true, L"2"},
        {"brackets past the limit", L"=" + repeat(L"(", kDepth) + L"2" + repeat(L")", kDepth), false, nullptr},
        {"1000 brackets", L"=" + repeat(L"(", 1000) + L"2" + repeat(L")", 1000), false, nullptr},
        {"signs at the limit", L"=" + repeat(L"-", kDepth - 1) + L"2", true, L"-2"},
        {"signs past the limit", L"=" + repeat(L"-", kDepth) + L"2", false, nullptr},
        {"200,000 signs", L"=" + repeat(L"-", 200000) + L"1", false, nullptr},
        {"calls past the limit", L"=" + repeat(L"ABS(", kDepth) + L"2" + repeat(L")", kDepth), false, nullptr},
        {"signs and brackets together", L"=" + repeat(L"-(", kDepth / 2) + L"2" + repeat(L")", kDepth / 2), false, nullptr},
        {"flat formula at the length", L"=" + repeat(L"1+", (kGridMaxFormulaLength - 1) / 2) + L"1", true, nullptr},
        {"100,000 characters", L"=" + repeat(L"1+", 49999) + L"1", false, nullptr},
        {"unreadable but small", L"=1+", true, L"#NAME?"},
    };
    for (const auto& c : cases) {
        m_sheet.SetNumber(1, 1, 7);
        EXPECT_EQ(c.bKept, m_sheet.SetFormula(1, 1, c.strFormula) != FALSE) << c.pszWhat;
        if (!c.bKept) {
            EXPECT_EQ(7, m_sheet.GetNumber(1, 1)) << c.pszWhat;
        } else if (c.pszShown) {
            EXPECT_EQ(CString(c.pszShown), m_sheet.GetText(1, 1)) << c.pszWhat;
        }
    }
}

// Saving and showing a formula rebuild its text: a long flat one costs time in proportion to its length.
TEST_F(GridFormulaTest, TextOfALongFlatFormulaIsRebuiltQuickly)
{
    CString strFormulas[2];
    for (int nCell : {0, 1}) {
        strFormulas[nCell] = L"=1";
        for (int i = 1; i < (nCell ? 32000 : 3200); ++i)
            strFormulas[nCell] += L"+1";
        ASSERT_TRUE(m_sheet.SetFormula(1, nCell + 1, strFormulas[nCell]));
    }
    EXPECT_EQ(32000, m_sheet.GetNumber(1, 2));
    CString strTexts[2];
    EXPECT_TRUE(GrowsLinearly([&] { strTexts[0] = m_sheet.GetFormula(1, 1); },
                              [&] { strTexts[1] = m_sheet.GetFormula(1, 2); }));
    EXPECT_EQ(strFormulas[0], strTexts[0]);
    EXPECT_EQ(strFormulas[1], strTexts[1]);
}
