// The spreadsheet input form on a seeded archive: what a load shows, what typing accepts and refuses, and what
// a save writes, through the view in a test frame.
#include "FormViewFixture.h"

#include "forms/RecordID.h"
#include "views/ViewInputForm.h"
#include "platform/mfc/afxframe.h"

#include <gtest/gtest.h>

namespace
{
// One data sheet and its description. Row 2: amounts of Entrate 2101 (no negatives, then any sign); row 3: a
// loaded and a computed total; row 4: a whole number that switches to SaldoFin, then a decimal cell with no
// table of its own (still SaldoFin); row 5: a text of DatiEnte, then a set cell back on Entrate; row 6: a
// Yes/No pair on field Anno1 of Entrate 2501, the No box after the Yes box.
const char kPlainForm[] = R"json({"vts": 1,
 "sheets": [
  {"name": "Entrate", "cells": [
    {"at": "A1", "text": "Voce"},
    {"at": "A2", "text": "Tributi"},
    {"at": "A3", "text": "Totale"}, {"at": "C3", "formula": "=B2+C2"},
    {"at": "D7", "text": "[EOF]"}]},
  {"name": "Descr", "cells": [
    {"at": "A1", "text": "1:2,2;F:1,1;T:Entrate"},
    {"at": "B2", "text": "I:+V;R:2101;F:Anno1"}, {"at": "C2", "text": "I:V;R:2101;F:Anno2"},
    {"at": "B3", "text": "L:V;R:2104;F:Anno1"}, {"at": "C3", "text": "C:V;R:2104;F:Anno2"},
    {"at": "B4", "text": "I:+N;T:SaldoFin;R:201;F:Anno1"}, {"at": "C4", "text": "I:D.2;R:202;F:Anno1"},
    {"at": "B5", "text": "I:T;T:DatiEnte;R:ENTE;F:value"}, {"at": "C5", "text": "S:V;T:Entrate;R:2102;F:Anno1"},
    {"at": "B6", "text": "I:B.Y;B.N:6,3;R:2501;F:Anno1"}, {"at": "C6", "text": "I:B.N;B.Y:6,2;R:2501;F:Anno1"},
    {"at": "E7", "text": "[EOF]"}]}
 ]})json";

class ViewInputFormTest : public CFormViewFixture
{
protected:
    void SetUp() override
    {
        CFormViewFixture::SetUp();
        WriteWorkbook(L"Prova.vts", kPlainForm);
    }
    CViewInputForm* Open(LPCTSTR pszFile = L"Prova.vts")
    {
        CViewInputForm* pView = static_cast<CViewInputForm*>(MakeView(RUNTIME_CLASS(CViewInputForm)));
        if (!pView)
            return nullptr;
        CTextID item(pszFile);
        return pView->LoadData(&item) ? pView : nullptr;
    }
    void PutText(LPCTSTR pszKey, LPCTSTR pszValue)
    {
        CString sql;
        sql.Format(L"INSERT INTO DatiEnte (ID, [value]) VALUES ('%s', '%s')", pszKey, pszValue);
        Execute(sql);
    }
    CString GetText(LPCTSTR pszKey)
    {
        CString sql;
        sql.Format(L"SELECT [value] FROM DatiEnte WHERE ID = '%s'", pszKey);
        _variant_t value = Scalar(sql);
        return value.vt == VT_BSTR ? CString(value.bstrVal) : CString();
    }
    // Types into a cell through the keyboard and ends with Enter.
    void TypeInto(CViewInputForm& view, long nRow, long nCol, LPCTSTR pszText)
    {
        view.GetGrid().InvokeMethod211(nRow, nCol);
        ASSERT_TRUE(TakeFocus(view.GetGrid().m_hWnd));
        SendText(pszText);
        SendKey(VK_RETURN);
    }
};
} // namespace

TEST_F(ViewInputFormTest, LoadShowsEveryDescribedCellFromItsTable)
{
    Put(L"Entrate", 2101, {{L"Anno1", 1234.56}, {L"Anno2", -3}});
    Put(L"Entrate", 2104, {{L"Anno1", 99}, {L"Anno2", 12345}});
    Put(L"Entrate", 2102, {{L"Anno1", 7.5}});
    Put(L"SaldoFin", 201, {{L"Anno1", 42}});
    Put(L"SaldoFin", 202, {{L"Anno1", 0.25}});
    Put(L"Entrate", 2501, {{L"Anno1", 0}});
    PutText(L"ENTE", L"Comune di Prova");

    CViewInputForm* pView = Open();
    ASSERT_NE(nullptr, pView);
    CF1Book& grid = pView->GetGrid();
    EXPECT_EQ(1, pView->GetSheetTabs().GetItemCount());
    EXPECT_EQ(CString(L"Entrate"), pView->GetSheetTabs().GetItem(0)->GetCaption());
    EXPECT_EQ(1L, grid.GetProperty106());
    EXPECT_FALSE(pView->IsModified());

    struct
    {
        long nRow, nCol;
        CString strShown;
    } cells[] = {
        {2, 2, L"1.234,56"}, {2, 3, L"-3,00"},           // amounts, Italian separators
        {3, 2, L"99,00"},                                // loaded
        {3, 3, L"1.231,56"},                             // computed by the sheet, never loaded
        {4, 2, L"42"}, {4, 3, L"0,25"},                  // SaldoFin, the second cell without T of its own
        {5, 2, L"Comune di Prova"}, {5, 3, L"7,50"},     // a text of DatiEnte; back on Entrate
        {6, 2, CString(kGridBoxEmpty)}, {6, 3, CString(kGridBoxTicked)},   // field 0: the No box shows ticked
    };
    for (const auto& cell : cells)
        EXPECT_EQ(cell.strShown, grid.InvokeGet281(cell.nRow, cell.nCol)) << cell.nRow << "," << cell.nCol;
    // The selected first cell, and the limits before the data sheet's "[EOF]".
    EXPECT_EQ(2L, grid.GetProperty5());
    EXPECT_EQ(2L, grid.GetProperty4());
    EXPECT_EQ(6L, grid.GetProperty19());
    EXPECT_EQ(3L, grid.GetProperty18());
    // Input cells are unlocked, the others stay locked.
    CGridSheet& sheet = grid.GetControl().GetShownSheet();
    EXPECT_FALSE(sheet.GetCellFormat(2, 2).m_bLocked);
    EXPECT_TRUE(sheet.GetCellFormat(3, 2).m_bLocked);
    EXPECT_TRUE(sheet.GetCellFormat(5, 3).m_bLocked);
}

TEST_F(ViewInputFormTest, TypedEntriesAreCheckedAndSavedIntoTheirRows)
{
    Put(L"Entrate", 2501, {{L"Anno1", 0}});
    CViewInputForm* pView = Open();
    ASSERT_NE(nullptr, pView);
    CF1Book& grid = pView->GetGrid();
    {
        CMessageBoxRecorder boxes;
        TypeInto(*pView, 2, 2, L"1.234,56");
        TypeInto(*pView, 2, 3, L"-5");             // negatives allowed here
        TypeInto(*pView, 4, 2, L"12");
        TypeInto(*pView, 4, 3, L"3,456");          // two decimals
        TypeInto(*pView, 5, 2, L"Comune di Prova");
        EXPECT_EQ(0u, boxes.Count());
    }
    EXPECT_EQ(CString(L"1.234,56"), grid.InvokeGet281(2, 2));
    EXPECT_EQ(CString(L"3,46"), grid.InvokeGet281(4, 3));
    EXPECT_EQ(CString(L"1.229,56"), grid.InvokeGet281(3, 3));
    EXPECT_TRUE(pView->IsModified());

    // The Yes box ticked by a click on its cell: its partner is cleared.
    CRect rcBox = grid.GetControl().GetCellRect(6, 2);
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rcBox.CenterPoint().x, rcBox.CenterPoint().y));
    grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(rcBox.CenterPoint().x, rcBox.CenterPoint().y));
    EXPECT_EQ(CString(kGridBoxTicked), grid.InvokeGet281(6, 2));
    EXPECT_EQ(CString(kGridBoxEmpty), grid.InvokeGet281(6, 3));

    ASSERT_TRUE(pView->SaveData());
    EXPECT_FALSE(pView->IsModified());
    // Missing rows were added; the computed total was saved; the loaded one was not.
    EXPECT_EQ(1234.56, Get(L"Entrate", 2101, L"Anno1"));
    EXPECT_EQ(-5.0, Get(L"Entrate", 2101, L"Anno2"));
    EXPECT_EQ(1229.56, Get(L"Entrate", 2104, L"Anno2"));
    EXPECT_EQ(0.0, Get(L"Entrate", 2104, L"Anno1"));
    // The cells after "T:SaldoFin" went to SaldoFin until the text cell named DatiEnte.
    EXPECT_EQ(12.0, Get(L"SaldoFin", 201, L"Anno1"));
    EXPECT_EQ(3.46, Get(L"SaldoFin", 202, L"Anno1"));
    EXPECT_FALSE(HasRow(L"Entrate", 202));
    EXPECT_EQ(CString(L"Comune di Prova"), GetText(L"ENTE"));
    // The set cell went back to Entrate; the Yes box wrote 1, and the cleared No box after it, which names the
    // same field, did not write it back to 0.
    EXPECT_EQ(0.0, Get(L"Entrate", 2102, L"Anno1"));
    EXPECT_EQ(1.0, Get(L"Entrate", 2501, L"Anno1"));

    // A second view reads back what the first one wrote.
    m_pFrame->DestroyWindow();
    CViewInputForm* pReloaded = Open();
    ASSERT_NE(nullptr, pReloaded);
    EXPECT_EQ(CString(L"1.234,56"), pReloaded->GetGrid().InvokeGet281(2, 2));
    EXPECT_EQ(CString(L"-5,00"), pReloaded->GetGrid().InvokeGet281(2, 3));
    EXPECT_EQ(CString(kGridBoxTicked), pReloaded->GetGrid().InvokeGet281(6, 2));
}

TEST_F(ViewInputFormTest, RefusedEntriesKeepTheCellAndSayWhy)
{
    Put(L"Entrate", 2101, {{L"Anno1", 10}});
    CViewInputForm* pView = Open();
    ASSERT_NE(nullptr, pView);
    CF1Book& grid = pView->GetGrid();
    struct
    {
        long nRow, nCol;
        LPCTSTR pszTyped;
        LPCTSTR pszMessage;
    } cases[] = {
        {2, 2, L"-5", L"Non sono ammessi valori negativi"},       // amount, no negatives
        {4, 2, L"-5", L"Non sono ammessi valori negativi"},       // whole number, no negatives
        {4, 2, L"12a", L"Sono stati immessi caratteri non numerici"},
        {2, 3, L"1,2,3", L"Sono stati immessi caratteri non numerici"},
        {2, 3, L"1234.56", L"Sono stati immessi caratteri non numerici"},   // "." groups thousands, not decimals
        {4, 2, L"12.5", L"Sono stati immessi caratteri non numerici"},
    };
    for (const auto& c : cases) {
        CString strBefore = grid.InvokeGet281(c.nRow, c.nCol);
        CMessageBoxRecorder boxes;
        TypeInto(*pView, c.nRow, c.nCol, c.pszTyped);
        ASSERT_EQ(1u, boxes.Count()) << CString(c.pszTyped).ToMultiByte(CP_UTF8);
        EXPECT_EQ(CString(c.pszMessage), CString(boxes.Last().text));
        EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING), boxes.LastIcon());
        // The editor stays open with the refused text; Escape drops it.
        grid.GetControl().CancelEdit();
        EXPECT_EQ(strBefore, grid.InvokeGet281(c.nRow, c.nCol));
    }
    EXPECT_FALSE(pView->IsModified());
}

TEST_F(ViewInputFormTest, AnOpenEditCountsAsAChangeAndIsSavedWithTheOthers)
{
    CViewInputForm* pView = Open();
    ASSERT_NE(nullptr, pView);
    CF1Book& grid = pView->GetGrid();
    grid.InvokeMethod211(2, 2);
    ASSERT_TRUE(TakeFocus(grid.m_hWnd));
    SendText(L"250");
    ASSERT_TRUE(grid.GetControl().IsEditing());
    EXPECT_TRUE(pView->IsModified());

    // The save question is asked for it, and Yes stores it.
    CMessageBoxRecorder boxes(IDYES);
    EXPECT_TRUE(pView->QuerySave(TRUE));
    EXPECT_EQ(1u, boxes.Count());
    EXPECT_FALSE(grid.GetControl().IsEditing());
    EXPECT_EQ(250.0, Get(L"Entrate", 2101, L"Anno1"));
    EXPECT_FALSE(pView->IsModified());
}

TEST_F(ViewInputFormTest, AnOpenEditThatIsRefusedStopsTheSave)
{
    CViewInputForm* pView = Open();
    ASSERT_NE(nullptr, pView);
    CF1Book& grid = pView->GetGrid();
    grid.InvokeMethod211(2, 2);
    ASSERT_TRUE(TakeFocus(grid.m_hWnd));
    SendText(L"-5");
    CMessageBoxRecorder boxes;
    EXPECT_FALSE(pView->SaveData());
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(CString(L"Non sono ammessi valori negativi"), CString(boxes.Last().text));
    EXPECT_TRUE(pView->IsModified());
    EXPECT_FALSE(HasRow(L"Entrate", 2101));
}

TEST_F(ViewInputFormTest, ReloadingTheShownWorkbookKeepsTheEdits)
{
    CViewInputForm* pView = Open();
    ASSERT_NE(nullptr, pView);
    pView->GetGrid().InvokePut279(2, 2, 5);
    pView->SetModified(TRUE);
    CTextID sameName(L"PROVA.VTS");
    EXPECT_TRUE(pView->LoadData(&sameName));
    EXPECT_EQ(5.0, pView->GetGrid().InvokeGet279(2, 2));
    EXPECT_TRUE(pView->IsModified());
}

TEST_F(ViewInputFormTest, AMissingWorkbookIsNamedAndRefused)
{
    CViewInputForm* pView = static_cast<CViewInputForm*>(MakeView(RUNTIME_CLASS(CViewInputForm)));
    ASSERT_NE(nullptr, pView);
    CMessageBoxRecorder boxes;
    CTextID item(L"Manca.vts");
    EXPECT_FALSE(pView->LoadData(&item));
    ASSERT_EQ(1u, boxes.Count());
    CString strText(boxes.Last().text);
    EXPECT_EQ(0, strText.Find(L"Impossibile trovare il file:"));
    EXPECT_NE(-1, strText.Find(m_strFormDir + L"\\Manca.vts"));
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.LastIcon());
}

TEST_F(ViewInputFormTest, AWorkbookNamingAFieldOrRowTheArchiveLacksIsNamedAndRefused)
{
    // A wrong row would not fail at the save: the view adds the rows it misses, so it would store a row of its own.
    const struct
    {
        const char* pszFrom;
        const char* pszTo;
        LPCTSTR pszNamed;
    } cases[] = {
        {"R:2101;F:Anno2", "R:2101;F:Anno9", L"la cella C2 del foglio \"Entrate\" fa riferimento al campo \"Anno9\""},
        {"R:2101;F:Anno2", "R:2109;F:Anno2", L"la cella C2 del foglio \"Entrate\" fa riferimento alla riga \"2109\""},
        {"R:202;F:Anno1", "R:2202;F:Anno1", L"la cella C4 del foglio \"Entrate\" fa riferimento alla riga \"2202\""},
    };
    for (const auto& c : cases) {
        std::string strText = kPlainForm;
        strText.replace(strText.find(c.pszFrom), strlen(c.pszFrom), c.pszTo);
        WriteWorkbook(L"Errato.vts", strText);
        CMessageBoxRecorder boxes;
        EXPECT_EQ(nullptr, Open(L"Errato.vts")) << c.pszTo;
        ASSERT_EQ(1u, boxes.Count()) << c.pszTo;
        CString strMessage(boxes.Last().text);
        EXPECT_NE(-1, strMessage.Find(c.pszNamed)) << strMessage;
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.LastIcon());
    }
}

TEST_F(ViewInputFormTest, DeleteEmptiesOnlyInputAndSetCells)
{
    Put(L"Entrate", 2101, {{L"Anno1", 10}});
    Put(L"Entrate", 2104, {{L"Anno1", 20}});
    Put(L"Entrate", 2102, {{L"Anno1", 30}});
    PutText(L"ENTE", L"Comune");
    CViewInputForm* pView = Open();
    ASSERT_NE(nullptr, pView);
    CF1Book& grid = pView->GetGrid();
    struct
    {
        long nRow, nCol;
        LPCTSTR pszAfter;
        BOOL bModified;
    } cases[] = {
        {3, 2, L"20,00", FALSE},   // loaded
        {3, 3, L"10,00", FALSE},   // computed
        {2, 2, L"0,00", TRUE},     // input
        {5, 3, L"0,00", TRUE},     // set
        {5, 2, L"", TRUE},         // text
    };
    for (const auto& c : cases) {
        pView->SetModified(FALSE);
        grid.InvokeMethod211(c.nRow, c.nCol);
        ASSERT_TRUE(TakeFocus(grid.m_hWnd));
        SendKey(VK_DELETE);
        EXPECT_EQ(CString(c.pszAfter), grid.InvokeGet281(c.nRow, c.nCol)) << c.nRow << "," << c.nCol;
        EXPECT_EQ(c.bModified, pView->IsModified()) << c.nRow << "," << c.nCol;
    }
}

TEST_F(ViewInputFormTest, ArrowsMoveFromDataCellToDataCell)
{
    CViewInputForm* pView = Open();
    ASSERT_NE(nullptr, pView);
    CF1Book& grid = pView->GetGrid();
    grid.InvokeMethod211(2, 3);
    ASSERT_TRUE(TakeFocus(grid.m_hWnd));
    struct
    {
        WORD nKey;
        long nRow, nCol;
    } steps[] = {
        {VK_DOWN, 3, 3}, {VK_DOWN, 4, 3}, {VK_LEFT, 4, 2}, {VK_UP, 3, 2}, {VK_UP, 2, 2},
        {VK_DOWN, 3, 2}, {VK_DOWN, 4, 2}, {VK_DOWN, 5, 2},
    };
    for (const auto& step : steps) {
        SendKey(step.nKey);
        EXPECT_EQ(step.nRow, grid.GetProperty5());
        EXPECT_EQ(step.nCol, grid.GetProperty4());
    }
}
