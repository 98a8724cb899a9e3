// The bars as the mouse drives them on the test frame: menus that open while another one is open, sub-menus that
// open on resting, the click on an open title, split buttons and double clicks; the bars' tips and status prompts;
// the right button on a toolbar; letters of another keyboard layout and Tab into a field; and the bars' own
// references (a popup control's bar, the Add-or-remove list) and a menu that cannot load.
#include "FrameTestFixture.h"

#include "ui/commandbars/XTPControlEdit.h"
#include "ui/commandbars/XTPDockBar.h"
#include "ui/commandbars/XTPDockBarSlots.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/commandbars/XTPShortcutManager.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/themes/TipContext.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace
{
typedef CTestFrame::EVENT EVENT;

class BarMouseTest : public CStillFrameTestFixture
{
protected:
    // The mouse leaves the frame's place: the next test's bars must not find it resting on a button.
    void TearDown() override
    {
        SendMouseMove(CPoint(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1));
        Pump();
        CStillFrameTestFixture::TearDown();
    }
    CXTPCommandBars* Bars() const { return m_pFrame->GetCommandBars(); }
    CXTPControl* MenuControl(int nIndex) { return m_pFrame->GetMenuBar()->GetControls()->GetAt(nIndex); }
    CXTPPopupBar* OpenPopup(CXTPControl* pControl)
    {
        CXTPCommandBar* pPopup = pControl->GetCommandBar();
        return pPopup && pPopup->IsTrackingMode() ? static_cast<CXTPPopupBar*>(pPopup) : nullptr;
    }
    static CXTPControl* FindCaption(CXTPCommandBar* pBar, LPCTSTR lpszCaption)
    {
        for (int i = 0; i < pBar->GetControls()->GetCount(); i++)
            if (pBar->GetControls()->GetAt(i)->GetCaption() == lpszCaption)
                return pBar->GetControls()->GetAt(i);
        return nullptr;
    }
    std::vector<EVENT> Executed(UINT nId) { return {{XTPM_CONTROLNOTIFY, nId, XTP_CN_EXECUTE}, {WM_COMMAND, nId, 0}}; }
};

// Objects that tell when they go.
class CCountedPopup : public CXTPPopupBar
{
public:
    explicit CCountedPopup(bool* pbGone) : m_pbGone(pbGone) {}
    ~CCountedPopup() override { *m_pbGone = true; }

private:
    bool* m_pbGone;
};

class CCountedButton : public CXTPControlButton
{
public:
    explicit CCountedButton(bool* pbGone) : m_pbGone(pbGone) {}
    ~CCountedButton() override { *m_pbGone = true; }

private:
    bool* m_pbGone;
};
} // namespace

TEST_F(BarMouseTest, WithAMenuOpenTheMouseOpensTheNextTitleAndAClickOnTheOpenTitleClosesIt)
{
    CXTPMenuBar* pMenuBar = m_pFrame->GetMenuBar();
    MenuControl(0)->OnClick(FALSE, MenuControl(0)->GetRect().CenterPoint());
    ASSERT_NE(nullptr, OpenPopup(MenuControl(0)));

    // The mouse reaches "Modifica": its menu takes the place of "File" at once.
    pMenuBar->SetSelected(1, FALSE);
    EXPECT_EQ(nullptr, OpenPopup(MenuControl(0)));
    EXPECT_NE(nullptr, OpenPopup(MenuControl(1)));
    EXPECT_EQ(1, pMenuBar->GetPopupedIndex());

    // A click on the open title closes the menu and the bar stops tracking.
    MenuControl(1)->OnClick(FALSE, MenuControl(1)->GetRect().CenterPoint());
    EXPECT_EQ(nullptr, OpenPopup(MenuControl(1)));
    EXPECT_FALSE(pMenuBar->IsTrackingMode());
    EXPECT_TRUE(m_pFrame->m_events.empty());

    // Without a menu open, selecting a title opens nothing.
    pMenuBar->SetSelected(0, FALSE);
    EXPECT_EQ(nullptr, OpenPopup(MenuControl(0)));
    pMenuBar->SetSelected(-1, FALSE);
}

TEST_F(BarMouseTest, RestingOnASubMenuEntryOpensItAndOnAnotherEntryClosesIt)
{
    MenuControl(0)->OnClick(FALSE, CPoint());
    CXTPPopupBar* pFile = OpenPopup(MenuControl(0));
    ASSERT_NE(nullptr, pFile);
    CXTPControl* pRecent = FindCaption(pFile, L"&Recenti");
    ASSERT_NE(nullptr, pRecent);
    pFile->SetSelected(pRecent->GetIndex(), FALSE);
    EXPECT_EQ(nullptr, OpenPopup(pRecent)) << "selecting alone waits for the hover";
    pRecent->OnMouseHover();
    EXPECT_NE(nullptr, OpenPopup(pRecent));
    EXPECT_NE(nullptr, OpenPopup(MenuControl(0))) << "the menu stays open";

    CXTPControl* pOpen = FindCaption(pFile, L"&Apri");
    pFile->SetSelected(pOpen->GetIndex(), FALSE);
    pOpen->OnMouseHover();
    EXPECT_EQ(nullptr, OpenPopup(pRecent));
    EXPECT_NE(nullptr, OpenPopup(MenuControl(0)));
}

TEST_F(BarMouseTest, ADoubleClickOnATitleRunsItsMenusDefaultItem)
{
    MenuControl(0)->OnClick(FALSE, CPoint());
    CXTPPopupBar* pFile = OpenPopup(MenuControl(0));
    ASSERT_NE(nullptr, pFile);
    pFile->SetDefaultItem(ID_FT_OPEN, FALSE);
    MenuControl(0)->OnLButtonDblClk(MenuControl(0)->GetRect().CenterPoint());
    EXPECT_EQ(Executed(ID_FT_OPEN), m_pFrame->m_events);
    EXPECT_EQ(nullptr, OpenPopup(MenuControl(0)));
}

TEST_F(BarMouseTest, ASplitButtonInAMenuRunsItsButtonPartOnTheReleaseAndOpensOnItsArrow)
{
    MenuControl(0)->OnClick(FALSE, CPoint());
    CXTPPopupBar* pFile = OpenPopup(MenuControl(0));
    ASSERT_NE(nullptr, pFile);
    CXTPControl* pRecent = FindCaption(pFile, L"&Recenti");
    ASSERT_NE(nullptr, pRecent);
    pRecent->SetType(xtpControlSplitButtonPopup);
    pRecent->SetID(ID_FT_RECENT1);
    const CRect rc = pRecent->GetRect();
    pFile->SetSelected(pRecent->GetIndex(), FALSE);

    // The button part: the press opens nothing, the release runs the entry's command.
    pRecent->OnClick(FALSE, CPoint(rc.right - 21, rc.CenterPoint().y));
    EXPECT_EQ(nullptr, OpenPopup(pRecent));
    pRecent->OnLButtonUp(CPoint(rc.right - 21, rc.CenterPoint().y));
    EXPECT_EQ(Executed(ID_FT_RECENT1), m_pFrame->m_events);

    // The arrow part opens the popup.
    MenuControl(0)->OnClick(FALSE, CPoint());
    pFile = OpenPopup(MenuControl(0));
    ASSERT_NE(nullptr, pFile);
    pFile->SetSelected(pRecent->GetIndex(), FALSE);
    pRecent->OnClick(FALSE, CPoint(rc.right - 5, rc.CenterPoint().y));
    EXPECT_NE(nullptr, OpenPopup(pRecent));
    pRecent->OnLButtonUp(CPoint(rc.right - 5, rc.CenterPoint().y));
    EXPECT_EQ(Executed(ID_FT_RECENT1), m_pFrame->m_events) << "the arrow part runs nothing";
}

TEST_F(BarMouseTest, ToolbarButtonsTellTheirTipsAsTheOptionsSay)
{
    CXTPToolBar* pToolBar = m_pFrame->GetToolBar();
    EXPECT_EQ(Bars()->GetToolTipContext(), pToolBar->GetToolTipContext());
    EXPECT_EQ(Bars()->GetToolTipContext(), m_pFrame->GetMenuBar()->GetToolTipContext());
    CXTPControl* pNew = pToolBar->GetControls()->FindControl(ID_FT_NEW);
    ASSERT_NE(nullptr, pNew);
    pNew->SetShortcutText(L"Ctrl+N");

    auto hitTest = [&](CXTPControl* pControl, CString& strText) {
        TTTOOLINFOW info = {};
        info.cbSize = TTTOOLINFOW_V1_SIZE;
        INT_PTR nHit = pToolBar->OnToolHitTest(pControl->GetRect().CenterPoint(), &info);
        strText = info.lpszText ? info.lpszText : L"";
        if (nHit != -1) {
            EXPECT_EQ(pToolBar->m_hWnd, info.hwnd);
            EXPECT_EQ(pControl->GetRect(), CRect(info.rect));
        }
        ::free(info.lpszText);
        return nHit;
    };
    CXTPCommandBarsOptions* pOptions = Bars()->GetCommandBarsOptions();
    struct Case
    {
        BOOL bScreenTips;
        BOOL bAccelTips;
        LPCTSTR lpszExpected;   // null: no tool
    } cases[] = {
        {TRUE, FALSE, L"Nuovo"},
        {TRUE, TRUE, L"Nuovo (Ctrl+N)"},
        {FALSE, TRUE, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lpszExpected ? c.lpszExpected : L"(none)");
        pOptions->bToolBarScreenTips = c.bScreenTips;
        pOptions->bToolBarAccelTips = c.bAccelTips;
        CString strText;
        INT_PTR nHit = hitTest(pNew, strText);
        if (!c.lpszExpected) {
            EXPECT_EQ(-1, nHit);
            continue;
        }
        EXPECT_EQ(pNew->GetIndex() + 1, nHit);
        EXPECT_EQ(CString(c.lpszExpected), strText);
    }
    pOptions->bToolBarScreenTips = TRUE;
    pOptions->bToolBarAccelTips = FALSE;

    // The toolbar's own expand button, and nothing beside the buttons.
    CXTPControl* pExpand = pToolBar->GetControls()->FindControl(XTP_ID_TOOLBAR_EXPAND);
    ASSERT_NE(nullptr, pExpand);
    ASSERT_TRUE(pExpand->IsVisible());
    CString strText;
    EXPECT_NE(-1, hitTest(pExpand, strText));
    EXPECT_EQ(CString(L"Opzioni barra degli strumenti"), strText);
    TTTOOLINFOW info = {};
    info.cbSize = TTTOOLINFOW_V1_SIZE;
    EXPECT_EQ(-1, pToolBar->OnToolHitTest(CPoint(1, 1), &info));
}

TEST_F(BarMouseTest, PopupsTakeTheTipsOnlyWhenTheOptionsSaySoAndABarWithoutManagerHasItsOwn)
{
    for (BOOL bPopupTips : {FALSE, TRUE}) {
        Bars()->GetCommandBarsOptions()->bShowPopupBarToolTips = bPopupTips;
        CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar(Bars());
        pPopup->GetControls()->Add(xtpControlButton, ID_FT_CUT);
        ASSERT_TRUE(pPopup->PopupAt(100, 100));
        EXPECT_EQ(bPopupTips ? Bars()->GetToolTipContext() : nullptr, pPopup->GetToolTipContext()) << bPopupTips;
        pPopup->SetTrackingMode(0);
        pPopup->InternalRelease();
    }

    auto* pToolBar = new CXTPToolBar;
    ASSERT_TRUE(pToolBar->CreateToolBar(WS_CHILD | CBRS_TOP | CBRS_TOOLTIPS, m_pFrame));
    ASSERT_NE(nullptr, pToolBar->GetToolTipContext());
    EXPECT_NE(Bars()->GetToolTipContext(), pToolBar->GetToolTipContext());
    EXPECT_TRUE(pToolBar->IsToolTipsEnabled());
    pToolBar->InternalRelease();
}

TEST_F(BarMouseTest, TheStatusBarShowsTheHotControlsPromptUnlessTheOptionsTurnItOff)
{
    CXTPToolBar* pToolBar = m_pFrame->GetToolBar();
    int nNew = pToolBar->GetControls()->FindControl(ID_FT_NEW)->GetIndex();
    pToolBar->SetSelected(nNew, FALSE);
    EXPECT_EQ(CString(L"Crea un documento"), m_pFrame->m_strStatus);
    pToolBar->SetSelected(-1, FALSE);

    Bars()->GetCommandBarsOptions()->bShowStatusBarPrompts = FALSE;
    m_pFrame->m_strStatus = L"invariato";
    pToolBar->SetSelected(nNew, FALSE);
    EXPECT_EQ(CString(L"invariato"), m_pFrame->m_strStatus);
    pToolBar->SetSelected(-1, FALSE);
}

TEST_F(BarMouseTest, TheRightButtonOnAButtonOpensTheToolbarsMenuOnThePress)
{
    CXTPToolBar* pToolBar = m_pFrame->GetToolBar();
    pToolBar->SetCloseable(FALSE);   // an empty menu: it stays shut and the test goes on
    CXTPControl* pNew = pToolBar->GetControls()->FindControl(ID_FT_NEW);
    CPoint pt = pNew->GetRect().CenterPoint();
    pToolBar->ClientToScreen(&pt);
    SendMouseButton(pt, MOUSEEVENTF_RIGHTDOWN);
    Pump();
    std::vector<EVENT> expected = {{XTPM_TOOLBARSMENU, 0, 0}};
    EXPECT_EQ(expected, m_pFrame->m_events);
    SendMouseButton(pt, MOUSEEVENTF_RIGHTUP);
    Pump();
    EXPECT_EQ(expected, m_pFrame->m_events);
    EXPECT_EQ(-1, pToolBar->GetSelectedIndex());
}

namespace
{
// Two installed layouts: the key VK_OEM_1 is ';' in the current one and an accented letter in the second.
class CTwoLayouts : public CXTPKeyboardLayouts
{
public:
    HKL m_hFirst = reinterpret_cast<HKL>(static_cast<INT_PTR>(0x04090409));
    HKL m_hSecond = reinterpret_cast<HKL>(static_cast<INT_PTR>(0x04100410));
    UINT VirtualKeyToChar(UINT nVirtKey) const override { return nVirtKey == VK_OEM_1 ? L';' : nVirtKey; }
    std::vector<HKL> GetInstalledLayouts() const override { return {m_hFirst, m_hSecond}; }
    int TranslateKey(UINT nVirtKey, HKL hLayout, CString& strChars) const override
    {
        strChars = nVirtKey != VK_OEM_1 ? CString(static_cast<wchar_t>(nVirtKey)) : hLayout == m_hSecond ? L"\u00E8" : L";";
        return 1;
    }
};
} // namespace

TEST_F(BarMouseTest, AMenuLetterOfTheSecondKeyboardLayoutChoosesTheEntry)
{
    CTwoLayouts layouts;
    Bars()->GetShortcutManager()->SetKeyboardLayouts(&layouts);
    CXTPToolBar* pToolBar = m_pFrame->GetToolBar();
    CXTPControl* pAccented = pToolBar->GetControls()->Add(xtpControlButton, ID_FT_GRID);
    pAccented->SetCaption(L"\u00C8&lenco");
    CXTPControl* pOther = pToolBar->GetControls()->Add(xtpControlButton, ID_FT_CUT);
    pOther->SetCaption(L"&\u00E8 altro");
    pToolBar->SetTrackingMode(1, FALSE, TRUE);
    EXPECT_EQ(1, pToolBar->OnKeyDown(VK_OEM_1, 0));
    EXPECT_EQ(Executed(ID_FT_CUT), m_pFrame->m_events) << "the only explicit match runs at once";
    pToolBar->SetTrackingMode(0);
    Bars()->GetShortcutManager()->SetKeyboardLayouts(&CXTPKeyboardLayouts::System());
}

TEST_F(BarMouseTest, TabIntoAnEditFieldGivesItTheFocus)
{
    CXTPToolBar* pToolBar = m_pFrame->GetToolBar();
    int nPrint = pToolBar->GetControls()->FindControl(ID_FT_PRINT)->GetIndex();
    auto* pEdit = static_cast<CXTPControlEdit*>(
        pToolBar->GetControls()->Add(xtpControlEdit, ID_FT_GRID, L"", nPrint + 1));
    Layout();
    ASSERT_TRUE(pEdit->IsEditCreated());
    pToolBar->SetTrackingMode(1, FALSE, TRUE);
    pToolBar->SetSelected(nPrint, TRUE);
    pToolBar->OnKeyDown(VK_TAB, 0);
    EXPECT_EQ(pEdit->GetIndex(), pToolBar->GetSelectedIndex());
    EXPECT_TRUE(pEdit->IsFocused());
    pToolBar->SetTrackingMode(0);
}

TEST_F(BarMouseTest, InCustomiseModeKeysInAnOpenedMenuRunNothing)
{
    Bars()->SetCustomizeMode(TRUE);
    // As a press on the title opens it in customise mode (without the drag that follows the press).
    m_pFrame->GetMenuBar()->SetPopuped(0);
    CXTPPopupBar* pFile = OpenPopup(MenuControl(0));
    ASSERT_NE(nullptr, pFile);
    pFile->OnKeyDown(VK_DOWN, 0);
    pFile->OnKeyDown(VK_RETURN, 0);
    EXPECT_TRUE(m_pFrame->m_events.empty());
    Bars()->ClosePopups();
    Bars()->SetCustomizeMode(FALSE);
}

TEST_F(BarMouseTest, APopupControlKeepsItsOwnReferenceOfItsBar)
{
    bool bGone = false;
    auto* pControl = new CXTPControlPopup;
    auto* pPopup = new CCountedPopup(&bGone);
    pControl->SetCommandBar(pPopup);
    pPopup->InternalRelease();
    EXPECT_FALSE(bGone);
    EXPECT_EQ(pPopup, pControl->GetCommandBar());
    pControl->InternalRelease();
    EXPECT_TRUE(bGone);
}

TEST_F(BarMouseTest, TheExpandButtonKeepsItsPopupAfterButtonsWereRemovedByTheUser)
{
    CXTPToolBar* pToolBar = m_pFrame->GetToolBar();
    CXTPControl* pOpen = pToolBar->GetControls()->FindControl(ID_FT_OPEN);
    pOpen->SetHideFlags(pOpen->GetHideFlags() | xtpHideCustomize);
    Layout();
    CXTPControl* pExpand = pToolBar->GetControls()->FindControl(XTP_ID_TOOLBAR_EXPAND);
    ASSERT_NE(nullptr, pExpand);
    pToolBar->SetPopuped(pExpand->GetIndex());
    ASSERT_NE(nullptr, OpenPopup(pExpand));
    // The Add-or-remove list made while the popup opens puts the removed button back into the bar.
    CXTPPopupBar* pList = CXTPPopupBar::CreatePopupBar(Bars());
    pToolBar->BuildCustomizePopup(pList);
    pList->InternalRelease();
    EXPECT_EQ(pExpand->GetIndex(), pToolBar->GetPopupedIndex());
    EXPECT_EQ(pExpand->GetIndex(), pToolBar->GetSelectedIndex());
    pToolBar->SetPopuped(-1);
    EXPECT_EQ(nullptr, OpenPopup(pExpand));
}

TEST_F(BarMouseTest, TheAddOrRemoveListTogglesAButtonAndListsARemovedOneUncheckedInItsPlace)
{
    CXTPToolBar* pToolBar = m_pFrame->GetToolBar();
    CXTPControl* pOpen = pToolBar->GetControls()->FindControl(ID_FT_OPEN);
    ASSERT_NE(nullptr, pOpen);
    // Each pass takes the item of the Open button, checks it is listed as expected, and executes it.
    struct Case
    {
        BOOL bCheckedBefore;
        BOOL bShownAfter;
    } cases[] = {{TRUE, FALSE}, {FALSE, TRUE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bCheckedBefore);
        CXTPPopupBar* pList = CXTPPopupBar::CreatePopupBar(Bars());
        pToolBar->BuildCustomizePopup(pList);
        CXTPControls* pItems = pList->GetControls();
        ASSERT_EQ(4, pItems->GetCount());
        std::vector<int> ids;
        for (int i = 0; i < pItems->GetCount(); i++)
            ids.push_back(pItems->GetAt(i)->GetID());
        EXPECT_EQ((std::vector<int> {ID_FT_NEW, ID_FT_OPEN, ID_FT_PRINT, 0}), ids);
        EXPECT_EQ(CString(L"Reimposta"), pItems->GetAt(3)->GetCaption());
        EXPECT_TRUE(pItems->GetAt(3)->GetBeginGroup());
        CXTPControl* pItem = pItems->GetAt(1);
        EXPECT_EQ(c.bCheckedBefore, pItem->GetChecked());
        pItem->OnExecute();
        EXPECT_EQ(c.bShownAfter, pItem->GetChecked());
        pOpen = pToolBar->GetControls()->FindControl(ID_FT_OPEN);
        ASSERT_NE(nullptr, pOpen);
        EXPECT_EQ(c.bShownAfter, !(pOpen->GetHideFlags() & xtpHideCustomize));
        EXPECT_EQ(c.bShownAfter, pOpen->IsVisible());
        pList->InternalRelease();
    }
}

TEST_F(BarMouseTest, AddOrRemoveItemsKeepTheirControlsWhileTheBarLetsThemGo)
{
    CXTPToolBar* pToolBar = m_pFrame->GetToolBar();
    bool bGone = false;
    CXTPControl* pCounted = pToolBar->GetControls()->AddControl(new CCountedButton(&bGone), ID_FT_CUT);
    CXTPPopupBar* pList = CXTPPopupBar::CreatePopupBar(Bars());
    pToolBar->BuildCustomizePopup(pList);
    pToolBar->GetControls()->Remove(pCounted);
    EXPECT_FALSE(bGone) << "the list's item still points to it";
    pList->InternalRelease();
    EXPECT_TRUE(bGone);
}

TEST_F(BarMouseTest, AMenuThatCannotLoadLeavesNothingInTheDockBar)
{
    CXTPDockBar* pTop = Bars()->GetDockBar(xtpBarTop);
    ASSERT_NE(nullptr, pTop);
    auto countBars = [pTop] {
        int nBars = 0;
        for (int i = 0; i < pTop->GetCount(); i++)
            nBars += pTop->GetAt(i) != nullptr;
        return nBars;
    };
    int nBefore = countBars();
    EXPECT_EQ(nullptr, Bars()->SetMenu(L"Menu Bar", 4242));
    EXPECT_EQ(nBefore, countBars());
    Layout();
}

TEST_F(BarMouseTest, AltLettersAreOffOnlyWhenTheCuesUseIsNone)
{
    CXTPCommandBarsOptions* pOptions = Bars()->GetCommandBarsOptions();
    struct Case
    {
        int nUse;
        BOOL bOpens;
    } cases[] = {{0, TRUE}, {xtpKeyboardCuesUseNone, FALSE}, {xtpKeyboardCuesUseAll | xtpKeyboardCuesUseNone, TRUE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nUse);
        pOptions->keyboardCuesUse = c.nUse;
        EXPECT_EQ(c.bOpens, Bars()->OnFrameAccel('F'));
        EXPECT_EQ(c.bOpens, OpenPopup(MenuControl(0)) != nullptr);
        Bars()->ClosePopups();
    }
}

TEST_F(BarMouseTest, TheBarsOwnButtonsTakeTheirTextsFromTheFrameworksStrings)
{
    CXTPControls* pControls = m_pFrame->GetToolBar()->GetControls();
    struct Case
    {
        int nId;
        LPCTSTR lpszCaption;
    } cases[] = {
        {XTP_ID_CUSTOMIZE, L"Personalizza..."},
        {XTP_ID_TOOLBAR_EXPAND, L"Opzioni barra degli strumenti"},
        {XTP_ID_TOOLBAR_HIDE, L"Chiudi"},
    };
    for (const Case& c : cases) {
        CXTPControl* pControl = pControls->Add(xtpControlButton, c.nId);
        EXPECT_EQ(CString(c.lpszCaption), pControl->GetCaption()) << c.nId;
        EXPECT_EQ(CString(c.lpszCaption), pControl->GetTooltip()) << c.nId;
    }
}

TEST_F(BarMouseTest, OnlyASentCommandIsReportedUsedTogetherWithItsMenu)
{
    // Commands the intelligent menus hide until they are used.
    std::set<UINT>& used = Bars()->GetCommandBarsOptions()->m_setUsedCommands;
    used.clear();
    UINT hidden[] = {ID_FT_CUT, ID_FT_COPY, ID_FT_GRID};
    Bars()->HideCommands(hidden, 3);
    // Chosen from a popup that returns the command: nothing is sent, nothing counts as used.
    CXTPPopupBar* pReturning = CXTPPopupBar::CreatePopupBar(Bars());
    CXTPControl* pCut = pReturning->GetControls()->Add(xtpControlButton, ID_FT_CUT);
    int nReturned = 0;
    pReturning->SetReturnCmd(&nReturned);
    pCut->OnExecute();
    EXPECT_EQ(ID_FT_CUT, nReturned);
    EXPECT_TRUE(used.empty());
    pReturning->InternalRelease();

    // Sent from a drop-down of the toolbar: the item and the drop-down's own command.
    CXTPToolBar* pToolBar = m_pFrame->GetToolBar();
    auto* pDropDown = static_cast<CXTPControlPopup*>(pToolBar->GetControls()->Add(xtpControlPopup, 0));
    pDropDown->SetID(ID_FT_GRID);
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar(Bars());
    CXTPControl* pCopy = pPopup->GetControls()->Add(xtpControlButton, ID_FT_COPY);
    pDropDown->SetCommandBar(pPopup);
    pPopup->InternalRelease();
    Layout();
    pToolBar->SetPopuped(pDropDown->GetIndex());
    ASSERT_NE(nullptr, OpenPopup(pDropDown));
    pCopy->OnExecute();
    EXPECT_EQ(std::set<UINT>({ID_FT_COPY, ID_FT_GRID}), used);
}

TEST_F(BarMouseTest, TheExpandPopupOffersWhatDidNotFitInAnyBarOfTheRow)
{
    CXTPToolBar* pStandard = m_pFrame->GetToolBar();
    CXTPToolBar* pOther = Bars()->Add(L"Altri", xtpBarTop);
    ASSERT_NE(nullptr, pOther);
    pOther->GetControls()->Add(xtpControlButton, ID_FT_CUT);
    // Both bars in one row of the top dock bar.
    CXTPDockBarSlots& slots = Bars()->GetDockBar(xtpBarTop)->GetSlots();
    slots.Remove(pOther);
    slots.InsertAt(slots.FindBar(pStandard) + 1, pOther);
    slots.Normalize();
    ASSERT_EQ(2u, Bars()->GetDockRow(pStandard).size());
    // As a narrow frame leaves them: one button of each without room.
    pStandard->GetControls()->FindControl(ID_FT_PRINT)->SetHideFlags(xtpHideWrap);
    pOther->GetControls()->FindControl(ID_FT_CUT)->SetHideFlags(xtpHideWrap);

    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar(Bars());
    Bars()->GetHiddenControls(pStandard, pPopup);
    ASSERT_EQ(2, pPopup->GetControls()->GetCount());
    EXPECT_EQ(ID_FT_PRINT, pPopup->GetControls()->GetAt(0)->GetID());
    EXPECT_EQ(ID_FT_CUT, pPopup->GetControls()->GetAt(1)->GetID());
    pPopup->GetControls()->RemoveAll();
    Bars()->BuildExpandPopup(pStandard, pPopup);
    ASSERT_LE(2, pPopup->GetControls()->GetCount());
    EXPECT_EQ(CString(L"Standard"), pPopup->GetControls()->GetAt(0)->GetCaption());
    EXPECT_EQ(CString(L"Altri"), pPopup->GetControls()->GetAt(1)->GetCaption());
    pPopup->InternalRelease();
}

TEST_F(BarMouseTest, ALetterInATrackingToolbarReachesTheNextBarThatOwnsIt)
{
    CXTPToolBar* pSecond = Bars()->Add(L"Seconda", xtpBarTop);
    ASSERT_NE(nullptr, pSecond);
    CXTPControl* pGrid = pSecond->GetControls()->Add(xtpControlButton, ID_FT_GRID);
    pGrid->SetCaption(L"&Griglia");
    Layout();
    Bars()->GetCommandBarsOptions()->keyboardCuesUse = xtpKeyboardCuesUseAll;
    CXTPToolBar* pStandard = m_pFrame->GetToolBar();
    pStandard->SetTrackingMode(1, TRUE, TRUE);
    m_pFrame->m_events.clear();
    // The only bar that owns the letter executes its button.
    EXPECT_EQ(1, pStandard->OnKeyDown('G', 0));
    EXPECT_FALSE(pStandard->IsTrackingMode());
    EXPECT_EQ(Executed(ID_FT_GRID), m_pFrame->m_events);
    Bars()->ClosePopups();
}

namespace
{
// Asks the manager to repaint its bars while its own bar changes the selection.
class CRepaintProbe : public CXTPControlButton
{
public:
    BOOL SetSelected(int nSelected) override
    {
        BOOL bChanged = CXTPControlButton::SetSelected(nSelected);
        if (nSelected && m_pParent && m_pParent->GetCommandBars()) {
            m_pParent->ValidateRect(nullptr);
            m_pParent->GetCommandBars()->InvalidateCommandBars();
            m_bRepaintAsked = ::GetUpdateRect(m_pParent->m_hWnd, nullptr, FALSE);
        }
        return bChanged;
    }
    BOOL m_bRepaintAsked = TRUE;
};
}

TEST_F(BarMouseTest, BarsRepaintOnceWhenTheirSelectionChangeEnds)
{
    CXTPToolBar* pToolBar = m_pFrame->GetToolBar();
    auto* pProbe = new CRepaintProbe;
    pToolBar->GetControls()->AddControl(pProbe, ID_FT_NEW);
    Layout();
    pToolBar->SetSelected(pProbe->GetIndex());
    EXPECT_FALSE(pProbe->m_bRepaintAsked);
    EXPECT_TRUE(::GetUpdateRect(pToolBar->m_hWnd, nullptr, FALSE));
    pToolBar->SetSelected(-1);
}

TEST_F(BarMouseTest, AnyBarLoadsAToolbarResourceAndCallsThroughTheBaseReachTheToolbar)
{
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar(Bars());
    auto* pImages = new CXTPImageManager;
    pImages->SetMaskColor(0xC0C0C0);
    pPopup->SetImageManager(pImages);
    ASSERT_TRUE(pPopup->LoadToolBar(IDR_FRAMETEST));
    CXTPControls* pControls = pPopup->GetControls();
    ASSERT_EQ(3, pControls->GetCount());
    std::vector<int> ids;
    for (int i = 0; i < pControls->GetCount(); i++)
        ids.push_back(pControls->GetAt(i)->GetID());
    EXPECT_EQ((std::vector<int>{ID_FT_NEW, ID_FT_OPEN, ID_FT_PRINT}), ids);
    EXPECT_TRUE(pControls->GetAt(1)->GetBeginGroup());
    EXPECT_NE(nullptr, pImages->GetImage(ID_FT_PRINT));
    EXPECT_FALSE(pPopup->LoadToolBar(4242));
    EXPECT_EQ(0, pControls->GetCount());
    pPopup->InternalRelease();

    CXTPCommandBar* pBar = m_pFrame->GetToolBar();
    pBar->SetVisible(FALSE);
    EXPECT_FALSE(pBar->IsVisible());
    EXPECT_FALSE(pBar->IsWindowVisible());
    pBar->SetVisible(TRUE);
    EXPECT_TRUE(pBar->IsWindowVisible());
    pBar->SetPosition(xtpBarFloating);
    EXPECT_EQ(xtpBarFloating, pBar->GetPosition());
    EXPECT_TRUE(pBar->GetStyle() & WS_POPUP);
    pBar->SetPosition(xtpBarTop);
    EXPECT_EQ(xtpBarTop, pBar->GetPosition());
    EXPECT_TRUE(pBar->GetStyle() & WS_CHILD);
}
