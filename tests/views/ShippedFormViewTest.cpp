// Shipped workbooks in their views: on an archive of each case of the programmed targets SaldoPro shows the
// case letter its sheet computes and disables exactly the cells of that letter, in the look of its DISAB1 cell;
// the spending monitors warn about an empty earlier quarter.
#include "FormViewFixture.h"
#include "forms/WorkbookBinding.h"

#include "engine/RecalcSaldi.h"
#include "forms/RecordID.h"
#include "resource.h"
#include "util/MessageText.h"
#include "views/ViewInputFormVariants.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace
{
// In the order of the view's list for letter "b": the first 18 are those of letter "d".
const char* const kCaseNames[] = {"e", "f", "g", "h", "i", "l", "m", "n", "o", "p", "q", "r", "s", "SFNA1",
                                  "SFNA2", "SFNA3", "t", "8P", "q1", "q2", "q3", "s2com", "s3", "s4", "s5", "s6"};

class ShippedFormViewTest : public CFormViewFixture
{
protected:
    // The three past years of a row, all alike.
    void PutYears(LPCTSTR pszTable, long nID, double value)
    {
        CEngineTestArchive::PutYears(pszTable, nID, value, value, value);
    }
};
} // namespace

TEST_F(ShippedFormViewTest, SaldoProShowsTheCaseAndDisablesItsCells)
{
    CGridBook book;
    CFormInfo info;
    ASSERT_EQ(CString(), CompileSourceText(ReadWorkbookSource(L"SaldoPro"), book, info));
    WriteWorkbook(L"SaldoPro.vts", book.WriteText());

    const std::set<std::string> caseA = {"s2com", "s3", "s4", "s5", "s6"};
    const std::set<std::string> caseC = {"s3", "s4", "s5", "s6"};
    const std::set<std::string> caseD(kCaseNames, kCaseNames + 18);
    const std::set<std::string> caseB(std::begin(kCaseNames), std::end(kCaseNames));
    struct
    {
        const char* pszCase;
        double cashRevenue, cashSpending, accrualRevenue, accrualSpending, extraordinary;
        LPCTSTR pszLetter;
        const std::set<std::string>& disabled;
    } cases[] = {
        // d = cash revenue - cash spending, d2 = accrual revenue - accrual spending (no capital items)
        {"0: d <= 0, d2 <= d", 100, 200, 100, 300, 0, L"a", caseA},
        {"1: d > 0, d2 <= d, no excess", 300, 100, 200, 100, 0, L"b", caseB},
        {"2: d <= 0, d2 > d", 100, 200, 100, 100, 0, L"c", caseC},
        {"3: d > 0, d2 <= d, excess", 300, 100, 200, 100, 100, L"d", caseD},
        {"4: d > 0, d2 > d", 300, 100, 400, 100, 0, L"b", caseB},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszCase);
        Execute(L"DELETE FROM Entrate");
        Execute(L"DELETE FROM SaldoFin");
        PutYears(L"Entrate", 3101, c.cashRevenue);
        PutYears(L"Entrate", 2101, c.accrualRevenue);
        PutYears(L"Entrate", 3503, c.extraordinary);
        PutYears(L"SaldoFin", 1201, c.cashSpending);
        PutYears(L"SaldoFin", 201, c.accrualSpending);
        RecalcSaldi(m_data);

        auto pView = static_cast<CViewInputForm*>(MakeView(RUNTIME_CLASS(CViewInputFormCSP)));
        ASSERT_NE(nullptr, pView);
        CTextID item(L"SaldoPro.vts");
        ASSERT_TRUE(pView->LoadData(&item));
        const CFormInfo& shown = pView->GetFormInfo();
        const CGridSheet& sheet = pView->GetGrid().GetControl().GetShownSheet();
        int nRow, nCol;
        ASSERT_TRUE(shown.FindCell(L"CASO_ABCD", 0, nRow, nCol));
        EXPECT_EQ(CString(c.pszLetter), sheet.GetText(nRow, nCol));
        ASSERT_TRUE(shown.FindCell(L"DISAB1", 0, nRow, nCol));
        const COLORREF crDisabled = sheet.GetCellFormat(nRow, nCol).m_crFill;

        for (const char* pszName : kCaseNames) {
            ASSERT_TRUE(shown.FindCell(CString(pszName), 0, nRow, nCol)) << pszName;
            const bool bDisabled = c.disabled.count(pszName) != 0;
            EXPECT_EQ(bDisabled, shown.GetCell(0, nRow, nCol)->m_nKind == formKindNone) << pszName;
            EXPECT_EQ(bDisabled, sheet.GetCellFormat(nRow, nCol).m_crFill == crDisabled) << pszName;
        }
        m_pFrame->DestroyWindow();
    }
}

namespace
{
// The cell of the first sheet pair that a description binds to the row and field.
bool FindBoundCell(const CFormInfo& info, long nRowKey, LPCTSTR pszField, int& nRow, int& nCol)
{
    CString strKey;
    strKey.Format(L"%ld", nRowKey);
    const CSheetInfo& sheet = info[0];
    for (nRow = 1; nRow < sheet.GetSize(); ++nRow)
        for (nCol = 1; nCol < sheet[nRow].GetSize(); ++nCol)
            if (sheet[nRow][nCol].m_strR == strKey && sheet[nRow][nCol].m_strF.CompareNoCase(pszField) == 0)
                return true;
    return false;
}
} // namespace

// The quarterly targets of both spending forms are typed before the spending itself: typed into every quarter
// they must not make the first quarter look filled when only the second holds an amount.
TEST_F(ShippedFormViewTest, SpendingMonitorAsksAboutAnEmptyFirstQuarterWhateverTheTargets)
{
    const struct
    {
        LPCTSTR pszName;
        long nOffset;   // the cash rows a thousand above
    } forms[] = {{L"MonSpNt1", 0}, {L"MonSpNt2", 1000}};
    for (const auto& form : forms) {
        SCOPED_TRACE(CString(form.pszName).ToMultiByte(CP_UTF8));
        CGridBook book;
        CFormInfo info;
        ASSERT_EQ(CString(), CompileSourceText(ReadWorkbookSource(form.pszName), book, info));
        const CString strFile = CString(form.pszName) + L".vts";
        WriteWorkbook(strFile, book.WriteText());
        auto pView = static_cast<CViewInputForm*>(MakeView(RUNTIME_CLASS(CViewInputFormMon)));
        ASSERT_NE(nullptr, pView);
        CTextID item(strFile);
        ASSERT_TRUE(pView->LoadData(&item));
        const CFormInfo& shown = pView->GetFormInfo();
        int nRow = 0, nCol = 0;
        for (LPCTSTR pszQuarter : {L"Anno1", L"Anno2", L"Anno3"}) {
            ASSERT_TRUE(FindBoundCell(shown, 500 + form.nOffset, pszQuarter, nRow, nCol));
            pView->GetGrid().InvokePut279(nRow, nCol, 1000);
        }
        ASSERT_TRUE(FindBoundCell(shown, 201 + form.nOffset, L"Trim2", nRow, nCol));
        pView->GetGrid().InvokePut279(nRow, nCol, 250);
        pView->SetModified(TRUE);
        CMessageBoxRecorder boxes(IDCANCEL);
        EXPECT_FALSE(pView->SaveData());
        ASSERT_EQ(1u, boxes.Count());
        // The system's message formatting may end lines with CR LF.
        CString strText(boxes.Last().text), strExpected = FormatResMessage(IDP_MON_TRIMESTRI, L"II");
        strText.Remove(L'\r');
        strExpected.Remove(L'\r');
        EXPECT_EQ(strExpected, strText);
        EXPECT_TRUE(pView->IsModified());
        m_pFrame->DestroyWindow();
    }
}
