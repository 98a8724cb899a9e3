// The combo box on the test frame's toolbar, driven by real keys and clicks: completion of typed text from the
// list, the list's keys and its closing (the selection comes back only when nothing was chosen), the hint, the
// keys that stay in the field, the field's context menu, and the watch for the shell's drop-down.
#include "FrameTestFixture.h"
#include "PropExchangeStores.h"

#include "platform/mfc/afxres.h"
#include "ui/commandbars/XTPControlComboBox.h"
#include "ui/commandbars/XTPHookManager.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/themes/BarPainter.h"

#include <gtest/gtest.h>

namespace
{
const int nComboId = 4712;

class ControlComboBoxTest : public CFrameTestFixture
{
protected:
    CXTPControlComboBox* m_pCombo = nullptr;

    void SetUp() override
    {
        CFrameTestFixture::SetUp();
        if (HasFatalFailure())
            return;
        CXTPToolBar* pBar = m_pFrame->GetToolBar();
        m_pCombo = dynamic_cast<CXTPControlComboBox*>(pBar->GetControls()->Add(xtpControlComboBox, nComboId));
        ASSERT_NE(nullptr, m_pCombo);
        m_pCombo->SetDropDown(TRUE);
        m_pCombo->SetWidth(120);
        for (LPCTSTR psz : {L"abc", L"abd", L"xyz"})
            m_pCombo->AddString(psz);
        m_pFrame->RecalcLayout();
        Pump();
        ASSERT_TRUE(m_pCombo->IsEditCreated());
    }
    CString WindowText() const
    {
        CString str;
        m_pCombo->GetEditCtrl()->GetWindowText(str);
        return str;
    }
    std::pair<int, int> Selection() const
    {
        int nStart = 0, nEnd = 0;
        m_pCombo->GetEditCtrl()->GetSel(nStart, nEnd);
        return {nStart, nEnd};
    }
    // Notification codes of the combo in order, then forgotten.
    std::vector<UINT> TakeCodes()
    {
        std::vector<UINT> codes;
        for (const CTestFrame::EVENT& e : m_pFrame->m_events)
            if (e.message == XTPM_CONTROLNOTIFY && e.nId == nComboId)
                codes.push_back(e.nCode);
        m_pFrame->m_events.clear();
        return codes;
    }
    int Commands(UINT nId) const
    {
        int n = 0;
        for (const CTestFrame::EVENT& e : m_pFrame->m_events)
            n += e.message == WM_COMMAND && e.nId == nId;
        return n;
    }
    void Focus()
    {
        m_pCombo->SetFocused(TRUE);
        Pump();
    }
    void Type(std::initializer_list<WORD> keys)
    {
        for (WORD nKey : keys) {
            SendKeys({nKey});
            Pump();
        }
    }
};
}

TEST_F(ControlComboBoxTest, TypedTextIsCompletedFromTheListUntilBackspace)
{
    struct Case
    {
        const char* pszName;
        BOOL bAutoComplete;
        std::initializer_list<WORD> keys;
        const wchar_t* pszText;
        std::pair<int, int> sel;
        int nListSel;
    } cases[] = {
        {"one letter completes to the first item", TRUE, {'A'}, L"abc", {1, 3}, 0},
        {"the typed part stays, the added part is selected", TRUE, {'A', 'B'}, L"abc", {2, 3}, 0},
        {"backspace removes the completion and completes nothing", TRUE, {'A', 'B', VK_BACK}, L"ab", {2, 2}, -1},
        {"the next letter completes again", TRUE, {'A', 'B', VK_BACK, 'D'}, L"abd", {3, 3}, 1},
        {"without completion the text stays as typed", FALSE, {'A'}, L"a", {1, 1}, -1},
        {"an exact item is selected in the list", FALSE, {'X', 'Y', 'Z'}, L"xyz", {3, 3}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_pCombo->SetAutoComplete(c.bAutoComplete);
        m_pCombo->SetEditText(L"");
        m_pCombo->SetCurSel(-1);
        Focus();
        ASSERT_EQ(m_pCombo->GetEditCtrl()->GetSafeHwnd(), ::GetFocus());
        TakeCodes();
        Type(c.keys);
        EXPECT_EQ(CString(c.pszText), m_pCombo->GetEditText());
        EXPECT_EQ(c.sel, Selection());
        EXPECT_EQ(c.nListSel, m_pCombo->GetCurSel());
        std::vector<UINT> codes = TakeCodes();
        EXPECT_NE(codes.end(), std::find(codes.begin(), codes.end(), static_cast<UINT>(xtpComboEditChange)));
        m_pFrame->SetFocus();
        Pump();
    }
}

TEST_F(ControlComboBoxTest, EscapeInTheOpenListRestoresSelectionAndText)
{
    m_pCombo->SetCurSel(2);
    m_pCombo->SetEditText(L"xyz");
    Focus();
    SendKeys({VK_F4});
    Pump();
    ASSERT_TRUE(m_pCombo->IsDroppedDown());
    ASSERT_TRUE(m_pCombo->GetListBox()->IsWindowVisible());
    SendKeys({VK_UP});
    Pump();
    EXPECT_EQ(1, m_pCombo->GetCurSel());
    EXPECT_EQ(CString(L"abd"), m_pCombo->GetEditText());
    TakeCodes();
    SendKeys({VK_ESCAPE});
    Pump();
    EXPECT_FALSE(m_pCombo->IsDroppedDown());
    EXPECT_FALSE(m_pCombo->GetListBox()->IsWindowVisible());
    EXPECT_EQ(2, m_pCombo->GetCurSel());
    EXPECT_EQ(CString(L"xyz"), m_pCombo->GetEditText());
    EXPECT_FALSE(m_pCombo->IsFocused());
    std::vector<UINT> codes = TakeCodes();
    std::vector<UINT> expected = {xtpComboCloseUp, xtpComboSelEndCancel, xtpComboKillFocus};
    EXPECT_EQ(expected, codes);
    EXPECT_EQ(0, CMouseManager::GetThreadManager()->m_nCaptureLoops);
}

TEST_F(ControlComboBoxTest, F4AndAltWithAnArrowOpenAndCloseTheListButNotDuringAComposition)
{
    struct Step
    {
        const char* pszWhat;
        UINT nImeMessage;   // sent to the field before the keys, or 0
        std::initializer_list<WORD> keys;
        BOOL bDropped;
    } steps[] = {
        {"F4 opens", 0, {VK_F4}, TRUE},
        {"F4 closes", 0, {VK_F4}, FALSE},
        {"Alt+Down opens", 0, {VK_MENU, VK_DOWN}, TRUE},
        {"Alt+Up closes", 0, {VK_MENU, VK_UP}, FALSE},
        {"while composing F4 is the field's", WM_IME_STARTCOMPOSITION, {VK_F4}, FALSE},
        {"after the composition F4 opens again", WM_IME_ENDCOMPOSITION, {VK_F4}, TRUE},
    };
    Focus();
    for (const Step& s : steps) {
        SCOPED_TRACE(s.pszWhat);
        if (s.nImeMessage)
            m_pCombo->GetEditCtrl()->SendMessage(s.nImeMessage);
        SendKeys(s.keys);
        Pump();
        EXPECT_EQ(s.bDropped, m_pCombo->IsDroppedDown());
        EXPECT_TRUE(m_pCombo->IsFocused());
    }
}

TEST_F(ControlComboBoxTest, AClosingListRestoresTheSelectionOnlyWhenNothingWasChosen)
{
    enum Close { Enter, ClickItem, ClickOutside };
    struct Case
    {
        const char* pszName;
        Close close;
        int nSelAfter;
        bool bCommand;
        UINT nEndCode;
    } cases[] = {
        {"Enter chooses the item", Enter, 1, true, xtpComboSelEndOk},
        {"a click on an item chooses it", ClickItem, 1, true, xtpComboSelEndOk},
        {"a click elsewhere chooses nothing", ClickOutside, 0, false, xtpComboSelEndCancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_pCombo->SetCurSel(0);
        Focus();
        SendKeys({VK_F4});
        Pump();
        ASSERT_TRUE(m_pCombo->IsDroppedDown());
        SendKeys({VK_DOWN});
        Pump();
        ASSERT_EQ(1, m_pCombo->GetCurSel());
        TakeCodes();
        CXTPControlComboBoxList* pList = m_pCombo->GetListBox();
        switch (c.close) {
        case Enter: SendKeys({VK_RETURN}); break;
        case ClickItem: {
            CRect rcItem;
            pList->SendMessage(LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rcItem));
            pList->ClientToScreen(&rcItem);
            SendMouseMove(rcItem.CenterPoint());
            Pump();
            SendClick(rcItem.CenterPoint());
            break;
        }
        case ClickOutside: {
            CRect rcClient;
            m_pFrame->GetClientRect(&rcClient);
            m_pFrame->ClientToScreen(&rcClient);
            SendClick(CPoint(rcClient.CenterPoint().x, rcClient.bottom - 10));
            break;
        }
        }
        Pump();
        EXPECT_FALSE(m_pCombo->IsDroppedDown());
        EXPECT_EQ(c.nSelAfter, m_pCombo->GetCurSel());
        std::vector<UINT> codes = TakeCodes();
        EXPECT_NE(codes.end(), std::find(codes.begin(), codes.end(), c.nEndCode));
        EXPECT_EQ(c.bCommand, std::count(codes.begin(), codes.end(), static_cast<UINT>(XTP_CN_EXECUTE)) == 1);
        EXPECT_FALSE(m_pCombo->IsFocused());
        EXPECT_EQ(0, CMouseManager::GetThreadManager()->m_nCaptureLoops);
    }
}

TEST_F(ControlComboBoxTest, TheOpenListShowsAtMostItsRowsAndAtLeastOne)
{
    struct Case
    {
        int nItems;
        int nRowsSetting;
        int nRowsShown;
    } cases[] = {{20, 12, 12}, {3, 12, 3}, {0, 12, 1}, {3, 2, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nItems << " items, " << c.nRowsSetting << " rows");
        CListBox* pList = m_pCombo->GetListCtrl();
        pList->ResetContent();
        for (int i = 0; i < c.nItems; i++)
            pList->AddString(L"voce");
        m_pCombo->SetDropDownItemCount(c.nRowsSetting);
        Focus();
        SendKeys({VK_F4});
        Pump();
        ASSERT_TRUE(m_pCombo->IsDroppedDown());
        CRect rc;
        m_pCombo->GetListBox()->GetWindowRect(&rc);
        int nItemHeight = static_cast<int>(pList->SendMessage(LB_GETITEMHEIGHT));
        EXPECT_EQ(c.nRowsShown * nItemHeight + 4, rc.Height());
        EXPECT_EQ(m_pCombo->GetRect().Width(), rc.Width());
        SendKeys({VK_ESCAPE});
        Pump();
    }
}

TEST_F(ControlComboBoxTest, TheHintIsNeverTakenForTheValueEvenWhenTheTextEqualsIt)
{
    m_pCombo->SetEditHint(L"Cerca");
    m_pCombo->SetEditText(L"");
    Pump();
    EXPECT_TRUE(m_pCombo->IsHintShown());
    EXPECT_EQ(CString(L"Cerca"), WindowText());
    EXPECT_EQ(CString(L""), m_pCombo->GetEditText());

    // The user's text may be the hint's words: it is a value all the same.
    m_pCombo->SetEditText(L"Cerca");
    EXPECT_FALSE(m_pCombo->IsHintShown());
    EXPECT_EQ(CString(L"Cerca"), m_pCombo->GetEditText());

    m_pCombo->SetEditText(L"");
    Focus();
    EXPECT_EQ(CString(L""), WindowText());
    TakeCodes();
    Type({'C', 'E', 'R', 'C', 'A'});
    m_pFrame->SetFocus();
    Pump();
    EXPECT_EQ(CString(L"cerca"), m_pCombo->GetEditText());
    m_pCombo->SetEditHint(L"cerca");
    EXPECT_FALSE(m_pCombo->IsHintShown());
    EXPECT_EQ(CString(L"cerca"), m_pCombo->GetEditText());
}

TEST_F(ControlComboBoxTest, TheHintShowsGreyAndIsNotKeptAsTheTextWhenTheFieldGoes)
{
    ASSERT_TRUE(m_pCombo->GetEditCtrl()->IsRichEdit());
    auto textColor = [&] {
        CHARFORMAT2 cf = {};
        cf.cbSize = sizeof(cf);
        m_pCombo->GetEditCtrl()->SendMessage(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
        return cf.crTextColor;
    };
    CXTPBarPainter* pPainter = m_pCombo->GetPaintManager();
    m_pCombo->SetEditHint(L"Cerca");
    m_pCombo->SetEditText(L"");
    Pump();
    EXPECT_EQ(pPainter->GetColor(COLOR_GRAYTEXT), textColor());
    Focus();
    EXPECT_EQ(CString(L""), WindowText());
    EXPECT_EQ(pPainter->GetColor(COLOR_BTNTEXT), textColor());
    m_pFrame->SetFocus();
    Pump();
    ASSERT_TRUE(m_pCombo->IsHintShown());
    EXPECT_EQ(pPainter->GetColor(COLOR_GRAYTEXT), textColor());

    // The field's window goes while it shows the hint, and comes back with the bar's next layout.
    m_pCombo->GetEditCtrl()->DestroyWindow();
    EXPECT_EQ(CString(L""), m_pCombo->GetEditText());
    m_pFrame->GetToolBar()->OnRecalcLayout();
    m_pFrame->RecalcLayout();
    Pump();
    ASSERT_TRUE(m_pCombo->IsEditCreated());
    EXPECT_EQ(CString(L""), m_pCombo->GetEditText());
    EXPECT_TRUE(m_pCombo->IsHintShown());
    EXPECT_EQ(CString(L"Cerca"), WindowText());
}

TEST_F(ControlComboBoxTest, FieldKeysStayInTheFieldInsteadOfReachingTheAccelerators)
{
    // Outside the field the frame's accelerators take Delete and Ctrl+C.
    m_pFrame->SetFocus();
    Pump();
    m_pFrame->m_events.clear();
    SendKeys({VK_DELETE});
    SendKeys({VK_CONTROL, 'C'});
    Pump();
    ASSERT_EQ(1, Commands(ID_FT_PRINT));
    ASSERT_EQ(1, Commands(ID_FT_OPEN));

    m_pCombo->SetEditText(L"roma");
    Focus();
    m_pFrame->m_events.clear();
    SendKeys({VK_HOME});
    SendKeys({VK_DELETE});
    Pump();
    EXPECT_EQ(CString(L"oma"), m_pCombo->GetEditText());
    ::OpenClipboard(nullptr);
    ::EmptyClipboard();
    ::CloseClipboard();
    m_pCombo->GetEditCtrl()->SetSel(0, -1);
    SendKeys({VK_CONTROL, 'C'});
    Pump();
    EXPECT_EQ(0, Commands(ID_FT_PRINT));
    EXPECT_EQ(0, Commands(ID_FT_OPEN));
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_TRUE(m_pCombo->IsFocused());
}

TEST_F(ControlComboBoxTest, EditingAndNavigationKeysWorkInTheField)
{
    ::OpenClipboard(nullptr);
    ::EmptyClipboard();
    ::CloseClipboard();
    m_pCombo->SetEditText(L"roma");
    Focus();
    m_pFrame->m_events.clear();
    struct Step
    {
        const char* pszWhat;
        std::initializer_list<WORD> keys;
        const wchar_t* pszText;
        std::pair<int, int> sel;   // -1: where the library puts the caret
    } steps[] = {
        {"Home", {VK_HOME}, L"roma", {0, 0}},
        {"Right", {VK_RIGHT}, L"roma", {1, 1}},
        {"End", {VK_END}, L"roma", {4, 4}},
        {"Left", {VK_LEFT}, L"roma", {3, 3}},
        {"Backspace", {VK_BACK}, L"roa", {2, 2}},
        {"Shift+Home selects", {VK_SHIFT, VK_HOME}, L"roa", {0, 2}},
        {"Ctrl+X cuts", {VK_CONTROL, 'X'}, L"a", {0, 0}},
        {"Ctrl+V pastes before the rest", {VK_CONTROL, 'V'}, L"roa", {2, 2}},
        {"Shift+Insert pastes again", {VK_SHIFT, VK_INSERT}, L"roroa", {4, 4}},
        {"Ctrl+Z takes the paste back", {VK_CONTROL, 'Z'}, L"roa", {-1, -1}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.pszWhat);
        SendKeys(step.keys);
        Pump();
        EXPECT_EQ(CString(step.pszText), m_pCombo->GetEditText());
        if (step.sel.first >= 0) {
            EXPECT_EQ(step.sel, Selection());
        }
        EXPECT_TRUE(m_pCombo->IsFocused());
        EXPECT_EQ(m_pCombo->GetEditCtrl()->GetSafeHwnd(), ::GetFocus());
    }
    EXPECT_EQ(0, Commands(ID_FT_PRINT) + Commands(ID_FT_OPEN));
}

TEST_F(ControlComboBoxTest, APasteReplacesTheSelectionWithTheFirstLineOfTheClipboard)
{
    struct Case
    {
        const wchar_t* pszClipboard;
        std::pair<int, int> sel;
        const wchar_t* pszText;
    } cases[] = {
        {L"Entrate", {3, 3}, L"CapEntrateitolo"},
        {L"Spese\r\ncorrenti", {0, 8}, L"Spese"},
        {L"Titolo\nprimo", {8, 8}, L"CapitoloTitolo"},
        {L"", {0, 3}, L"itolo"},
    };
    Focus();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pszText);
        ::OpenClipboard(nullptr);
        ::EmptyClipboard();
        size_t nBytes = (wcslen(c.pszClipboard) + 1) * sizeof(wchar_t);
        HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, nBytes);
        memcpy(::GlobalLock(hText), c.pszClipboard, nBytes);
        ::GlobalUnlock(hText);
        ::SetClipboardData(CF_UNICODETEXT, hText);
        ::CloseClipboard();
        m_pCombo->SetEditText(L"Capitolo");
        m_pCombo->GetEditCtrl()->SetSel(c.sel.first, c.sel.second);
        // As the field's Paste command sends it.
        m_pCombo->GetEditCtrl()->SendMessage(WM_PASTE);
        Pump();
        EXPECT_EQ(CString(c.pszText), WindowText());
        EXPECT_EQ(CString(c.pszText), m_pCombo->GetEditText());
    }
}

TEST_F(ControlComboBoxTest, TheContextMenuOffersCutCopyAndPasteAsTheFieldAllows)
{
    struct Case
    {
        const char* pszName;
        bool bClipboardText;
        bool bSelection;
        std::vector<BOOL> enabled;   // cut, copy, paste
    } cases[] = {
        {"nothing selected, empty clipboard", false, false, {FALSE, FALSE, FALSE}},
        {"a selection, empty clipboard", false, true, {TRUE, TRUE, FALSE}},
        {"text on the clipboard", true, false, {FALSE, FALSE, TRUE}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        ::OpenClipboard(nullptr);
        ::EmptyClipboard();
        if (c.bClipboardText) {
            HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, 16);
            ::lstrcpyW(static_cast<LPWSTR>(::GlobalLock(hText)), L"x");
            ::GlobalUnlock(hText);
            ::SetClipboardData(CF_UNICODETEXT, hText);
        }
        ::CloseClipboard();
        m_pCombo->SetEditText(L"roma");
        Focus();
        m_pCombo->GetEditCtrl()->SetSel(0, c.bSelection ? -1 : 0);
        std::vector<UINT> ids;
        std::vector<BOOL> enabled;
        BOOL bLooked = FALSE;
        // The menu opens on the press in a loop of its own: the step looks at it from there once it shows.
        RunWhen([] { return GetOpenPopup() != nullptr; }, [&] {
            bLooked = TRUE;
            CXTPPopupBar* pPopup = GetOpenPopup();
            if (pPopup)
                for (int i = 0; i < pPopup->GetControls()->GetCount(); i++) {
                    ids.push_back(static_cast<UINT>(pPopup->GetControls()->GetAt(i)->GetID()));
                    enabled.push_back(pPopup->GetControls()->GetAt(i)->GetEnabled());
                }
            SendKeys({VK_ESCAPE});
        });
        CRect rc;
        m_pCombo->GetEditCtrl()->GetWindowRect(&rc);
        SendClick(rc.CenterPoint(), TRUE);
        EXPECT_TRUE(PumpUntil(m_pFrame->m_hWnd, [&] { return bLooked && !GetOpenPopup(); }));
        Pump();
        std::vector<UINT> expectedIds = {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE};
        EXPECT_EQ(expectedIds, ids);
        EXPECT_EQ(c.enabled, enabled);
        m_pFrame->SetFocus();
        Pump();
    }
}

TEST_F(ControlComboBoxTest, TheShellDropDownIsWatchedWhileShownAndForgottenOnlyWhenHidden)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"Auto-Suggest Dropdown";
    ::RegisterClassW(&wc);
    HWND hWndDropDown = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"Auto-Suggest Dropdown", nullptr, WS_POPUP, 0, 0, 10, 10,
                                          nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, hWndDropDown);
    HWND hWndEdit = m_pCombo->GetEditCtrl()->GetSafeHwnd();

    CXTPAutoSuggestHook hook;
    hook.Hook(TRUE, hWndEdit);
    ASSERT_TRUE(hook.IsHooked());
    struct Step
    {
        const char* pszName;
        UINT nFlags;
        bool bRemembered;
    } steps[] = {
        {"shown: remembered", SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW, true},
        {"moved without changing order: still shown", SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER, true},
        {"sized without redraw: still shown", SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOZORDER, true},
        {"hidden: forgotten", SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_HIDEWINDOW, false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.pszName);
        ::SetWindowPos(hWndDropDown, nullptr, 5, 5, 20, 20, s.nFlags);
        EXPECT_EQ(s.bRemembered ? hWndDropDown : nullptr, hook.GetDropDownWindow());
    }
    // Showing it told the edit window, which closes the combo's own list.
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, hWndEdit, WM_XTP_SHELLAUTOCOMPLETESTART, WM_XTP_SHELLAUTOCOMPLETESTART, PM_REMOVE));
    // Another window showing is no drop-down of the shell.
    ::SetWindowPos(m_pFrame->m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    EXPECT_EQ(nullptr, hook.GetDropDownWindow());
    // The hook hides a shown drop-down itself, and forgets it so.
    ::SetWindowPos(hWndDropDown, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ASSERT_EQ(hWndDropDown, hook.GetDropDownWindow());
    hook.HideDropDown();
    EXPECT_FALSE(::IsWindowVisible(hWndDropDown));
    EXPECT_EQ(nullptr, hook.GetDropDownWindow());

    hook.Hook(FALSE);
    EXPECT_FALSE(hook.IsHooked());
    ::SetWindowPos(hWndDropDown, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    EXPECT_EQ(nullptr, hook.GetDropDownWindow());
    ::DestroyWindow(hWndDropDown);
}

TEST_F(ControlComboBoxTest, ACloneKeepsSettingsAndItems)
{
    m_pCombo->SetEditHint(L"Cerca");
    m_pCombo->SetAutoComplete(TRUE);
    m_pCombo->SetDropDownItemCount(5);
    m_pCombo->SetComboStyle(1);
    CXTPControlComboBox* pClone = dynamic_cast<CXTPControlComboBox*>(m_pCombo->Clone(TRUE));
    ASSERT_NE(nullptr, pClone);
    EXPECT_TRUE(pClone->Compare(m_pCombo));
    EXPECT_TRUE(pClone->GetDropDown());
    EXPECT_EQ(CString(L"Cerca"), pClone->GetEditHint());
    EXPECT_TRUE(pClone->GetAutoComplete());
    EXPECT_EQ(5, pClone->GetDropDownItemCount());
    EXPECT_EQ(1, pClone->GetComboStyle());
    ASSERT_EQ(3, pClone->GetCount());
    EXPECT_EQ(2, pClone->FindStringExact(L"xyz"));
    EXPECT_NE(m_pCombo->GetListBox(), pClone->GetListBox());
    pClone->SetWidth(50);
    EXPECT_FALSE(pClone->Compare(m_pCombo));
    pClone->InternalRelease();
}

TEST_F(ControlComboBoxTest, SettingsAndItemsGoThroughTheSavedFormByName)
{
    m_pCombo->SetDropDown(FALSE);
    m_pCombo->SetEditHint(L"Cerca");
    m_pCombo->SetAutoComplete(TRUE);
    m_pCombo->SetDropDownItemCount(5);
    m_pCombo->SetComboStyle(1);
    m_pCombo->SetEditIconId(ID_FT_NEW);
    CXmlBacking backing(FALSE);
    backing.Save([&](CXTPPropExchange* pPX) { m_pCombo->DoPropExchange(pPX); });
    for (const char* pszKey : {"DropDown", "ComboStyle", "Width", "EditHint", "AutoComplete", "EditIconId",
                               "DropDownItemCount"})
        EXPECT_NE(-1, backing.m_strXml.Find(CString(pszKey))) << pszKey;
    // The items go with the list, which the bars save as a bar of its own.
    CXmlBacking items(FALSE);
    items.Save([&](CXTPPropExchange* pPX) { m_pCombo->GetListBox()->DoPropExchange(pPX); });
    for (const char* pszKey : {"Items", "Item2"})
        EXPECT_NE(-1, items.m_strXml.Find(CString(pszKey))) << pszKey;

    auto* pLoaded = new CXTPControlComboBox;
    pLoaded->AddString(L"gone");
    backing.Load([&](CXTPPropExchange* pPX) { pLoaded->DoPropExchange(pPX); });
    EXPECT_FALSE(pLoaded->GetDropDown());
    EXPECT_EQ(120, pLoaded->GetWidth());
    EXPECT_EQ(1, pLoaded->GetComboStyle());
    EXPECT_EQ(CString(L"Cerca"), pLoaded->GetEditHint());
    EXPECT_TRUE(pLoaded->GetAutoComplete());
    EXPECT_EQ(ID_FT_NEW, pLoaded->GetEditIconId());
    EXPECT_EQ(5, pLoaded->GetDropDownItemCount());
    // The items replace what the list held, in their order.
    items.Load([&](CXTPPropExchange* pPX) { pLoaded->GetListBox()->DoPropExchange(pPX); });
    ASSERT_EQ(3, pLoaded->GetCount());
    EXPECT_EQ(0, pLoaded->FindStringExact(L"abc"));
    EXPECT_EQ(2, pLoaded->FindStringExact(L"xyz"));
    EXPECT_EQ(LB_ERR, pLoaded->FindStringExact(L"gone"));
    pLoaded->InternalRelease();
}

TEST_F(ControlComboBoxTest, AnOlderOrShorterSavedFormLeavesTheRestToItsDefaultsAndToTheNextReader)
{
    // A form saved before the hint existed ends with the style; what follows belongs to the next reader.
    CArchiveBacking older;
    older.Save([&](CXTPPropExchange* pPX) {
        pPX->m_nSchema = 8;
        m_pCombo->CXTPControlPopup::DoPropExchange(pPX);
        BOOL bDropDown = FALSE;
        int nWidth = 150, nStyle = 1, nNext = 77;
        ExchangeBool(pPX, L"DropDown", bDropDown);
        ExchangeInt(pPX, L"Width", nWidth);
        ExchangeInt(pPX, L"ComboStyle", nStyle);
        ExchangeInt(pPX, L"Next", nNext);
    });
    auto* pLoaded = new CXTPControlComboBox;
    pLoaded->SetEditHint(L"Cerca");
    int nNext = 0;
    older.Load([&](CXTPPropExchange* pPX) {
        pPX->m_nSchema = 8;
        pLoaded->DoPropExchange(pPX);
        ExchangeInt(pPX, L"Next", nNext);
    });
    EXPECT_EQ(77, nNext);
    EXPECT_FALSE(pLoaded->GetDropDown());
    EXPECT_EQ(150, pLoaded->GetWidth());
    EXPECT_EQ(1, pLoaded->GetComboStyle());
    EXPECT_EQ(CString(L"Cerca"), pLoaded->GetEditHint());

    // A form by name that holds only the popup's keys: the combo is a drop-down with twelve rows.
    CXmlBacking shorter(FALSE);
    shorter.Save([&](CXTPPropExchange* pPX) { m_pCombo->CXTPControlPopup::DoPropExchange(pPX); });
    pLoaded->SetDropDown(FALSE);
    pLoaded->SetDropDownItemCount(5);
    shorter.Load([&](CXTPPropExchange* pPX) { pLoaded->DoPropExchange(pPX); });
    EXPECT_TRUE(pLoaded->GetDropDown());
    EXPECT_EQ(12, pLoaded->GetDropDownItemCount());
    pLoaded->InternalRelease();
}

TEST_F(ControlComboBoxTest, TheWheelScrollsTheOpenListAndLeavesItOpen)
{
    for (int i = 0; i < 20; i++)
        m_pCombo->AddString(L"voce");
    Focus();
    SendKeys({VK_F4});
    Pump();
    ASSERT_TRUE(m_pCombo->IsDroppedDown());
    CListBox* pList = m_pCombo->GetListCtrl();
    ASSERT_EQ(0, pList->SendMessage(LB_GETTOPINDEX));
    CRect rc;
    pList->GetWindowRect(&rc);
    SendMouseMove(rc.CenterPoint());
    Pump();
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    input.mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);
    ::SendInput(1, &input, sizeof(INPUT));
    Pump();
    EXPECT_GT(pList->SendMessage(LB_GETTOPINDEX), 0);
    EXPECT_TRUE(m_pCombo->IsDroppedDown());
}

TEST_F(ControlComboBoxTest, WhileTheBarsAreCustomisedAPressInTheFieldTakesTheControlNotTheText)
{
    CXTPCommandBars* pCommandBars = m_pFrame->GetCommandBars();
    pCommandBars->SetCustomizeMode(TRUE);
    Pump();
    ASSERT_TRUE(m_pCombo->IsEditCreated());
    for (BOOL bRight : {FALSE, TRUE}) {
        SCOPED_TRACE(bRight ? "right button" : "left button");
        pCommandBars->SetDragControl(nullptr);
        CRect rc;
        m_pCombo->GetEditCtrl()->GetWindowRect(&rc);
        // The left press drags the control; its release drops it back where it was.
        SendClick(rc.CenterPoint(), bRight);
        Pump();
        EXPECT_EQ(m_pCombo, pCommandBars->GetDragControl());
        EXPECT_NE(m_pCombo->GetEditCtrl()->GetSafeHwnd(), ::GetFocus());
        EXPECT_EQ(m_pCombo, m_pFrame->GetToolBar()->GetControls()->FindControl(nComboId));
    }
    pCommandBars->SetCustomizeMode(FALSE);
}
