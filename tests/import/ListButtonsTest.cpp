#include "controls/MyButton.h"
#include "controls/MyListCtrl.h"
#include "data/DataTestArchive.h"
#include "dialogs/DlgCapitoli.h"
#include "dialogs/DlgExtraImpCon.h"
#include "resource.h"
#include "support/ModalDialogDriver.h"
#include "support/RealInput.h"

#include <functional>
#include <memory>
#include <vector>

namespace {

CString ToolTipText(CMyButton& button)
{
    CToolTipCtrl& tip = button.GetToolTip();
    if (!tip.GetSafeHwnd() || tip.GetToolCount() != 1)
        return L"<no tip>";
    WCHAR szText[256] = {};
    TTTOOLINFOW ti = {};
    ti.cbSize = sizeof(ti);
    ti.lpszText = szText;
    if (!tip.SendMessage(TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&ti)) ||
        reinterpret_cast<HWND>(ti.uId) != button.m_hWnd)
        return L"<other tool>";
    return szText;
}

class ListButtonsTest : public CDataTestArchive
{
};

// The add, change and delete buttons of both list dialogs show an icon alone, their caption in the tooltip.
TEST_F(ListButtonsTest, ButtonsShowIconsWithTheirCaptionsAsTooltips)
{
    struct Case {
        const char* pszName;
        std::function<std::unique_ptr<CDialog>(CADOConnection&)> make;
        LPCTSTR pszCaptions[3];
    };
    const Case cases[] = {
        {"chapters",
         [](CADOConnection& data) { return std::make_unique<CDlgCapitoli>(nullptr, data, CSetCapitoli::kindSpese); },
         {L"&Aggiungi Capitolo", L"&Modifica Capitolo", L"&Elimina Capitolo"}},
        {"centres", [](CADOConnection& data) { return std::make_unique<CDlgExtraImpCon>(nullptr, data); },
         {L"&Aggiungi C.d.R.", L"&Modifica C.d.R.", L"&Elimina C.d.R."}},
    };
    const int buttonIds[] = {IDC_ITEM_ADD, IDC_ITEM_MODIFY, IDC_ITEM_DELETE};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        std::unique_ptr<CDialog> pDialog = c.make(m_data);
        int nChecked = 0;
        CModalDialogDriver driver([&](CDialog& dlg) -> INT_PTR {
            for (int i = 0; i < 3; ++i) {
                SCOPED_TRACE(i);
                auto* pButton = dynamic_cast<CMyButton*>(dlg.GetDlgItem(buttonIds[i]));
                EXPECT_NE(nullptr, pButton);
                if (!pButton)
                    continue;
                EXPECT_NE(nullptr, pButton->GetIcon());
                EXPECT_TRUE(pButton->GetStyle() & BS_ICON);
                CString strFace;
                pButton->GetWindowText(strFace);
                EXPECT_EQ(CString(), strFace);
                EXPECT_EQ(CString(c.pszCaptions[i]), ToolTipText(*pButton));
                ++nChecked;
            }
            return IDCANCEL;
        });
        pDialog->DoModal();
        EXPECT_EQ(3, nChecked);
    }
}

// The user's click on a heading of the list, with the mouse, the dialog in front.
void ClickHeading(CDialog& dlg, int nColumn)
{
    dlg.ShowWindow(SW_SHOW);
    dlg.SetForegroundWindow();
    HWND hHeader = ListView_GetHeader(dlg.GetDlgItem(IDC_ITEM_LIST)->m_hWnd);
    RECT rcItem = {};
    Header_GetItemRect(hHeader, nColumn, &rcItem);
    // Two clicks at one place would make a double click: each goes a little beside the last.
    static int s_nClicks = 0;
    POINT pt = {(rcItem.left + rcItem.right) / 2 + (s_nClicks++ % 2 ? 10 : -10), (rcItem.top + rcItem.bottom) / 2};
    ::ClientToScreen(hHeader, &pt);
    CInputReleases releases;
    SendClick(pt);
    EXPECT_TRUE(PumpUntilReleased(nullptr, releases, 1)) << "the click on the heading was never taken";
}

std::vector<CString> ColumnTexts(CDialog& dlg, int nColumn)
{
    HWND hList = dlg.GetDlgItem(IDC_ITEM_LIST)->m_hWnd;
    std::vector<CString> texts;
    for (int i = 0; i < ListView_GetItemCount(hList); i++) {
        WCHAR szText[256] = {};
        ListView_GetItemText(hList, i, nColumn, szText, _countof(szText));
        texts.push_back(szText);
    }
    return texts;
}

// A click on a heading sorts both list dialogs by that column (the chapter numbers as numbers), a second click on
// it the other way round, with the arrow in the heading; each item keeps its record, so the choice made after
// sorting is the chapter shown.
TEST_F(ListButtonsTest, BothListsSortByAClickOnAHeading)
{
    Execute(L"INSERT INTO CapSpese (ID, descrizione, codUEB) VALUES (3, 'Personale', '1010101')");
    Execute(L"INSERT INTO CapSpese (ID, descrizione, codUEB) VALUES (10, 'Acquisto di beni', '1020101')");
    Execute(L"INSERT INTO CapSpese (ID, descrizione, codUEB) VALUES (2, 'Utenze', '1030101')");
    Execute(L"INSERT INTO Responsabili (responsabile, centroServ, tipoResp) VALUES ('Verdi', 'Tributi', 2)");
    Execute(L"INSERT INTO Responsabili (responsabile, centroServ, tipoResp) VALUES ('Neri', 'Anagrafe', 0)");
    Execute(L"INSERT INTO Responsabili (responsabile, centroServ, tipoResp) VALUES ('Bianchi', 'Scuole', 1)");
    struct Click
    {
        int nColumn;
        std::vector<CString> expected;   // the column's texts after the click
    };
    struct Case {
        const char* pszName;
        std::function<std::unique_ptr<CDialog>(CADOConnection&)> make;
        std::vector<Click> clicks;
    };
    const Case cases[] = {
        {"chapters",
         [](CADOConnection& data) { return std::make_unique<CDlgCapitoli>(nullptr, data, CSetCapitoli::kindSpese); },
         {{0, {L"2", L"3", L"10"}},
          {0, {L"10", L"3", L"2"}},
          {1, {L"Acquisto di beni", L"Personale", L"Utenze"}}}},
        {"centres", [](CADOConnection& data) { return std::make_unique<CDlgExtraImpCon>(nullptr, data); },
         {{3, {L"Bianchi", L"Neri", L"Verdi"}},
          {3, {L"Verdi", L"Neri", L"Bianchi"}},
          {0, {L"Area", L"Servizi", L"Settore"}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        std::unique_ptr<CDialog> pDialog = c.make(m_data);
        CModalDialogDriver driver([&](CDialog& dlg) -> INT_PTR {
            auto* pList = dynamic_cast<CMyListCtrl*>(dlg.GetDlgItem(IDC_ITEM_LIST));
            EXPECT_NE(nullptr, pList);
            for (const Click& click : c.clicks) {
                ClickHeading(dlg, click.nColumn);
                EXPECT_EQ(click.expected, ColumnTexts(dlg, click.nColumn)) << click.nColumn;
                if (pList) {
                    EXPECT_EQ(click.nColumn, pList->GetMyHeader().GetSortColumn());
                }
            }
            return IDCANCEL;
        });
        pDialog->DoModal();
    }

    // Sorted by number downwards, the first item is chapter 10, and OK gives it.
    CDlgCapitoli chapters(nullptr, m_data, CSetCapitoli::kindSpese);
    CModalDialogDriver driver([&](CDialog& dlg) -> INT_PTR {
        ClickHeading(dlg, 0);
        ClickHeading(dlg, 0);
        ListView_SetItemState(dlg.GetDlgItem(IDC_ITEM_LIST)->m_hWnd, 0, LVIS_SELECTED, LVIS_SELECTED);
        dlg.SendMessage(WM_COMMAND, IDOK);
        return IDCANCEL;
    });
    ASSERT_EQ(IDOK, chapters.DoModal());
    EXPECT_EQ(10, chapters.m_recResult.m_ID.GetValue());
    EXPECT_EQ(CString(L"Acquisto di beni"), chapters.m_recResult.m_descrizione.GetText());
}

} // namespace
