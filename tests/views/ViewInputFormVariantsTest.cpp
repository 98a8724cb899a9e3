// The form variants: the case letter that disables cells, the question about empty earlier quarters, and the
// balance cells in their signed format and colour.
#include "FormViewFixture.h"

#include "forms/RecordID.h"
#include "views/ViewInputFormVariants.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace
{
const std::vector<std::string> kCaseNames = {"s2com", "s3", "s4", "s5", "s6", "e", "f", "g", "h", "i", "l", "m",
                                             "n", "o", "p", "q", "r", "s", "SFNA1", "SFNA2", "SFNA3", "t", "8P",
                                             "q1", "q2", "q3"};

class ViewInputFormVariantsTest : public CFormViewFixture
{
protected:
    CViewInputForm* Open(CRuntimeClass* pClass, LPCTSTR pszFile)
    {
        auto pView = static_cast<CViewInputForm*>(MakeView(pClass));
        CTextID item(pszFile);
        return pView && pView->LoadData(&item) ? pView : nullptr;
    }
    // The case form: the case letter in B2, the look of disabled cells in B3, then one named input cell per row
    // from row 4 (all the names but those left out).
    void WriteCaseForm(const std::string& strCase, const std::set<std::string>& leftOut = {})
    {
        CFormSheetPair pair{"Miglioramento", "1:4,2;T:SaldoProg", {}, {}, "", ""};
        pair.data.push_back({"B2", {{"text", strCase}}});
        pair.data.push_back({"B3", {{"fmt", 1}}});
        pair.descriptions.push_back({"B2", "L:T;NAME:CASO_ABCD"});
        pair.descriptions.push_back({"B3", "L:V;NAME:DISAB1"});
        int nRow = 4;
        for (const std::string& strName : kCaseNames) {
            if (leftOut.count(strName))
                continue;
            // The case cells are only looked at, never saved: one row of the table serves them all.
            pair.descriptions.push_back({"B" + std::to_string(nRow), "I:V;R:100;F:Anno1;NAME:" + strName});
            ++nRow;
        }
        pair.strDataEof = "C" + std::to_string(nRow);
        pair.strDescEof = "D" + std::to_string(nRow);
        std::string text = MakeWorkbook({pair});
        // The disabled look: a grey fill.
        text.replace(text.find("{\"sheets\""), 1, "{\"formats\":[{\"fill\":\"#C0C0C0\"}],");
        WriteWorkbook(L"SaldoPro.vts", text);
    }
    std::set<std::string> DisabledNames(CViewInputForm& view)
    {
        std::set<std::string> names;
        for (const std::string& strName : kCaseNames) {
            int nRow, nCol;
            if (!view.GetFormInfo().FindCell(CString(strName.c_str()), 0, nRow, nCol))
                continue;
            bool bDisabled = view.GetFormInfo().GetCell(0, nRow, nCol)->m_nKind == formKindNone;
            COLORREF crFill = view.GetGrid().GetControl().GetShownSheet().GetCellFormat(nRow, nCol).m_crFill;
            EXPECT_EQ(bDisabled, crFill == RGB(192, 192, 192)) << strName;
            if (bDisabled)
                names.insert(strName);
        }
        return names;
    }
};

std::set<std::string> Names(size_t nFirst, size_t nLast)
{
    return std::set<std::string>(kCaseNames.begin() + static_cast<long>(nFirst),
                                 kCaseNames.begin() + static_cast<long>(nLast));
}
} // namespace

TEST_F(ViewInputFormVariantsTest, TheCaseLetterDisablesTheCellsItLeavesUnused)
{
    std::set<std::string> caseD = Names(5, 23);
    std::set<std::string> all = Names(0, kCaseNames.size());
    struct
    {
        std::string strCase;
        std::set<std::string> leftOut;
        std::set<std::string> disabled;
    } cases[] = {
        {"a", {}, Names(0, 5)},
        {"c", {}, Names(1, 5)},
        {"d", {}, caseD},
        {"b", {}, all},
        {"A", {}, all},                       // the letter is compared exactly
        {"", {}, all},
        {"a", {"s4"}, {"s2com", "s3"}},        // the list stops at the first name the form lacks
    };
    for (const auto& c : cases) {
        WriteCaseForm(c.strCase, c.leftOut);
        CViewInputForm* pView = Open(RUNTIME_CLASS(CViewInputFormCSP), L"SaldoPro.vts");
        ASSERT_NE(nullptr, pView) << c.strCase;
        EXPECT_EQ(c.disabled, DisabledNames(*pView)) << "case '" << c.strCase << "'";
        m_pFrame->DestroyWindow();
    }
}

TEST(ViewInputFormMon, TheQuarterAskedAboutIsTheFirstFilledAfterAnEmptyOne)
{
    struct
    {
        BOOL bFilled[4];
        int nQuarter;
    } cases[] = {
        {{TRUE, FALSE, TRUE, FALSE}, 3}, {{FALSE, FALSE, FALSE, FALSE}, 0}, {{TRUE, TRUE, FALSE, FALSE}, 0},
        {{TRUE, TRUE, TRUE, TRUE}, 0},   {{FALSE, TRUE, FALSE, FALSE}, 2}, {{TRUE, FALSE, FALSE, TRUE}, 4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.nQuarter, CViewInputFormMon::FindQuarterAfterGap(c.bFilled));
}

TEST_F(ViewInputFormVariantsTest, AnEmptyEarlierQuarterIsAskedAboutBeforeSaving)
{
    // Four quarters in columns B to E of rows 2 and 3 (Monitor 201 and 202).
    CFormSheetPair pair{"Entrate", "1:2,2;T:Monitor", {}, {}, "F4", "G4"};
    for (int nRow = 2; nRow <= 3; ++nRow)
        for (int nQuarter = 1; nQuarter <= 4; ++nQuarter) {
            std::string strAt = std::string(1, static_cast<char>('A' + nQuarter)) + std::to_string(nRow);
            pair.descriptions.push_back({strAt, "I:V;R:" + std::to_string(199 + nRow) + ";F:Trim" +
                                                    std::to_string(nQuarter)});
        }
    WriteWorkbook(L"MonEntr1.vts", MakeWorkbook({pair}));
    CViewInputForm* pView = Open(RUNTIME_CLASS(CViewInputFormMon), L"MonEntr1.vts");
    ASSERT_NE(nullptr, pView);
    pView->GetGrid().InvokePut279(2, 2, 10);   // first quarter
    pView->GetGrid().InvokePut279(3, 4, 30);   // third quarter
    pView->SetModified(TRUE);
    {
        CMessageBoxRecorder boxes(IDCANCEL);
        EXPECT_FALSE(pView->SaveData());
        ASSERT_EQ(1u, boxes.Count());
        CString strText(boxes.Last().text);
        strText.Remove(L'\r');   // the system's message formatting may end lines with CR LF
        EXPECT_EQ(CString(L"Attenzione: non sono stati inseriti i dati dei trimestri precedenti il III trimestre:\n"
                          L"si vuole salvare ugualmente?"),
                  strText);
        EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2),
                  boxes.Last().type & (MB_TYPEMASK | MB_ICONMASK | MB_DEFMASK));
        EXPECT_FALSE(HasRow(L"Monitor", 201));
        EXPECT_TRUE(pView->IsModified());
    }
    CMessageBoxRecorder boxes(IDOK);
    EXPECT_TRUE(pView->SaveData());
    EXPECT_EQ(1u, boxes.Count());
    EXPECT_EQ(10.0, Get(L"Monitor", 201, L"Trim1"));
    EXPECT_EQ(30.0, Get(L"Monitor", 202, L"Trim3"));
}

TEST_F(ViewInputFormVariantsTest, BalanceCellsShowTheirSignInFormatAndColour)
{
    Put(L"SaldoFinProg", 300, {{L"Anno4Com", -1500.25}, {L"Anno5Com", 0}, {L"Anno6Com", 2000}});
    CFormSheetPair pair{"Verifica", "1:2,2;T:SaldoFinProg", {}, {}, "D5", "E5"};
    pair.data = {{"C2", {{"formula", "=B2"}}}, {"C3", {{"formula", "=B3"}}}, {"C4", {{"formula", "=B4"}}}};
    pair.descriptions = {{"B2", "L:V;R:300;F:Anno4Com;NAME:SP2"}, {"C2", "C:V;NAME:SP3"},
                         {"B3", "L:V;R:300;F:Anno5Com;NAME:SP5"}, {"C3", "C:V;NAME:SP6"},
                         {"B4", "L:V;R:300;F:Anno6Com;NAME:SP8"}, {"C4", "C:V"}};
    WriteWorkbook(L"VerVerif.vts", MakeWorkbook({pair}));
    CViewInputForm* pView = Open(RUNTIME_CLASS(CViewInputFormSP), L"VerVerif.vts");
    ASSERT_NE(nullptr, pView);
    CF1Book& grid = pView->GetGrid();
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 128, 0);
    struct
    {
        long nRow, nCol;
        LPCTSTR pszShown;
        COLORREF crText;
        LPCTSTR pszFormat;
    } cells[] = {
        {2, 2, L"-1.500,25", red, L"+#,##0.00;-#,##0.00;#,##0.00"},
        {2, 3, L"-1.500,25", red, L"+#,##0.00;-#,##0.00;#,##0.00"},          // its partner takes its colour
        {3, 2, L"0,00", kGridColorAuto, L"+#,##0.00;-#,##0.00;#,##0.00"},   // zero: the format, no colour
        {3, 3, L"0,00", kGridColorAuto, L"+#,##0.00;-#,##0.00;#,##0.00"},
        {4, 2, L"+2.000,00", green, L"+#,##0.00;-#,##0.00;#,##0.00"},
        {4, 3, L"2.000,00", kGridColorAuto, L"#,##0.00"},                   // not named SP9: untouched
    };
    const CGridSheet& sheet = grid.GetControl().GetShownSheet();
    for (const auto& c : cells) {
        EXPECT_EQ(CString(c.pszShown), grid.InvokeGet281(c.nRow, c.nCol)) << c.nRow << "," << c.nCol;
        EXPECT_EQ(c.crText, sheet.GetCellFormat(c.nRow, c.nCol).m_crText) << c.nRow << "," << c.nCol;
        EXPECT_EQ(CString(c.pszFormat), sheet.GetCellFormat(c.nRow, c.nCol).m_strNumberFormat) << c.nRow << "," << c.nCol;
    }
}
