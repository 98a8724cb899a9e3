// The framework frame with its command bars, driven by real input: menus by mouse and keys reach the frame as a
// control notification and then a command, the idle update greys and ticks, popups close one level or all; the
// thread's mouse and keyboard hooks: hot tracking, a press dragged off and back or ended otherwise, the swallowed
// release of an opening press, Alt and another program ending the menus.
#include "FrameTestFixture.h"
#include "PixelCanvas.h"

#include "ui/commandbars/XTPPopupBar.h"
#include "ui/commandbars/XTPShortcutManager.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/themes/BarPainter.h"
#include "ui/themes/ColorTable.h"
#include "ui/themes/ThemedList.h"
#include "ui/themes/UiGlobalData.h"

#include <gtest/gtest.h>

#include <windowsx.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <thread>
#include <vector>

namespace
{
typedef CTestFrame::EVENT EVENT;

class FrameWndTest : public CStillFrameTestFixture
{
protected:
    void IdleUpdate()
    {
        m_pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        m_pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    }
    CXTPControl* MenuControl(int nIndex) { return m_pFrame->GetMenuBar()->GetControls()->GetAt(nIndex); }
    CXTPPopupBar* OpenPopup(int nMenu)
    {
        CXTPCommandBar* pPopup = MenuControl(nMenu)->GetCommandBar();
        return pPopup && pPopup->IsTrackingMode() ? static_cast<CXTPPopupBar*>(pPopup) : nullptr;
    }
    CPoint ScreenCentre(CXTPControl* pControl)
    {
        CPoint pt = pControl->GetRect().CenterPoint();
        pControl->GetParent()->ClientToScreen(&pt);
        return pt;
    }
    std::vector<EVENT> Executed(UINT nId) { return {{XTPM_CONTROLNOTIFY, nId, XTP_CN_EXECUTE}, {WM_COMMAND, nId, 0}}; }
};
}

TEST_F(FrameWndTest, MenuAndToolbarComeFromTheFramesResources)
{
    EXPECT_EQ(nullptr, ::GetMenu(m_pFrame->m_hWnd));
    CXTPMenuBar* pMenuBar = m_pFrame->GetMenuBar();
    ASSERT_NE(nullptr, pMenuBar);
    ASSERT_EQ(3, pMenuBar->GetControls()->GetCount());
    EXPECT_EQ(CString(L"&File"), MenuControl(0)->GetCaption());
    EXPECT_EQ(CString(L"&Lungo"), MenuControl(2)->GetCaption());
    CXTPToolBar* pToolBar = m_pFrame->GetToolBar();
    ASSERT_NE(nullptr, pToolBar);
    EXPECT_EQ(CString(L"Standard"), pToolBar->GetTitle());
    CXTPControls* pButtons = pToolBar->GetControls();
    ASSERT_GE(pButtons->GetCount(), 3);
    EXPECT_EQ(ID_FT_NEW, pButtons->GetAt(0)->GetID());
    EXPECT_TRUE(pButtons->GetAt(1)->GetBeginGroup());
    // Each button's icon comes from the bitmap, its tooltip from the string table.
    for (int nId : {ID_FT_NEW, ID_FT_OPEN, ID_FT_PRINT})
        EXPECT_NE(nullptr, pToolBar->GetImageManager()->GetIcon(static_cast<UINT>(nId), 16)) << nId;
    EXPECT_EQ(CString(L"Apri"), pButtons->GetAt(1)->GetTooltip());
    // The menu bar brings the icons of the window commands, for a document window's system menu.
    for (UINT nCommand : {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE})
        EXPECT_NE(nullptr, pMenuBar->GetImageManager()->GetIcon(nCommand, 16)) << nCommand;

    // The menu bar sits above the toolbar, both across the top of the frame.
    CRect rcMenu, rcTool;
    pMenuBar->GetWindowRect(&rcMenu);
    pToolBar->GetWindowRect(&rcTool);
    EXPECT_GT(rcMenu.Height(), 0);
    EXPECT_EQ(rcMenu.bottom, rcTool.top);
    EXPECT_GT(rcTool.Height(), 0);
}

TEST_F(FrameWndTest, IdleUpdateGreysAndTicksButtonsAndItems)
{
    m_pFrame->m_bCopyEnabled = FALSE;
    m_pFrame->m_bGridChecked = TRUE;
    IdleUpdate();
    CXTPControls* pButtons = m_pFrame->GetToolBar()->GetControls();
    EXPECT_TRUE(pButtons->GetAt(0)->GetEnabled());

    SendKeys({VK_MENU, 'M'});
    Pump();
    CXTPPopupBar* pEdit = OpenPopup(1);
    ASSERT_NE(nullptr, pEdit);
    CXTPControls* pItems = pEdit->GetControls();
    EXPECT_TRUE(pItems->GetAt(0)->GetEnabled());    // Taglia: a handler
    EXPECT_FALSE(pItems->GetAt(1)->GetEnabled());   // Copia: greyed by its update handler
    EXPECT_TRUE(pItems->GetAt(2)->GetChecked());    // Griglia: ticked
    SendKeys({VK_ESCAPE});
    SendKeys({VK_ESCAPE});
    Pump();

    // Without a handler a command is greyed; a button's check follows the handler.
    SendKeys({VK_MENU, 'F'});
    Pump();
    CXTPPopupBar* pFile = OpenPopup(0);
    ASSERT_NE(nullptr, pFile);
    CXTPControl* pExit = pFile->GetControls()->FindControl(ID_FT_EXIT);
    ASSERT_NE(nullptr, pExit);
    EXPECT_FALSE(pExit->GetEnabled());
}

TEST_F(FrameWndTest, MenuByKeysReachesTheFrameAsNotificationThenCommand)
{
    SendKeys({VK_MENU, 'F'});
    Pump();
    CXTPPopupBar* pFile = OpenPopup(0);
    ASSERT_NE(nullptr, pFile);
    EXPECT_EQ(0, pFile->GetSelectedIndex());
    SendKeys({VK_DOWN});
    SendKeys({VK_RETURN});
    Pump();
    EXPECT_EQ(Executed(ID_FT_OPEN), m_pFrame->m_events);
    EXPECT_EQ(nullptr, OpenPopup(0));
    EXPECT_FALSE(m_pFrame->GetMenuBar()->IsTrackingMode());
}

TEST_F(FrameWndTest, EscapeClosesOneLevelAtATime)
{
    SendKeys({VK_MENU, 'F'});
    Pump();
    CXTPPopupBar* pFile = OpenPopup(0);
    ASSERT_NE(nullptr, pFile);
    // "Recenti" by its letter opens its sub-menu.
    SendKeys({'R'});
    Pump();
    CXTPControl* pRecent = pFile->GetControls()->FindControl(xtpControlPopup, -1, FALSE, FALSE);
    ASSERT_NE(nullptr, pRecent);
    CXTPCommandBar* pSub = pRecent->GetCommandBar();
    ASSERT_TRUE(pSub->IsTrackingMode());
    SendKeys({VK_ESCAPE});
    Pump();
    EXPECT_FALSE(pSub->IsTrackingMode());
    EXPECT_EQ(pFile, OpenPopup(0));
    SendKeys({VK_ESCAPE});
    Pump();
    EXPECT_EQ(nullptr, OpenPopup(0));
    EXPECT_TRUE(m_pFrame->GetMenuBar()->IsTrackingMode());
    EXPECT_EQ(0, m_pFrame->GetMenuBar()->GetSelectedIndex());
    SendKeys({VK_ESCAPE});
    Pump();
    EXPECT_FALSE(m_pFrame->GetMenuBar()->IsTrackingMode());
    EXPECT_TRUE(m_pFrame->m_events.empty());
}

TEST_F(FrameWndTest, MouseOpensAMenuAndChoosesAnItemAClickOutsideClosesAll)
{
    SendClick(ScreenCentre(MenuControl(1)));
    Pump();
    CXTPPopupBar* pEdit = OpenPopup(1);
    ASSERT_NE(nullptr, pEdit);
    SendClick(ScreenCentre(pEdit->GetControls()->GetAt(0)));
    Pump();
    EXPECT_EQ(Executed(ID_FT_CUT), m_pFrame->m_events);
    EXPECT_EQ(nullptr, OpenPopup(1));

    m_pFrame->m_events.clear();
    SendClick(ScreenCentre(MenuControl(0)));
    Pump();
    ASSERT_NE(nullptr, OpenPopup(0));
    CRect rcClient;
    m_pFrame->GetClientRect(&rcClient);
    CPoint ptOutside(rcClient.right - 10, rcClient.bottom - 10);
    m_pFrame->ClientToScreen(&ptOutside);
    SendClick(ptOutside);
    Pump();
    EXPECT_EQ(nullptr, OpenPopup(0));
    EXPECT_FALSE(m_pFrame->GetMenuBar()->IsTrackingMode());
    EXPECT_TRUE(m_pFrame->m_events.empty());
}

TEST_F(FrameWndTest, AToolbarClickRunsItsCommandUnlessTheNotificationIsHandled)
{
    CXTPControl* pNew = m_pFrame->GetToolBar()->GetControls()->FindControl(ID_FT_NEW);
    ASSERT_NE(nullptr, pNew);
    SendClick(ScreenCentre(pNew));
    Pump();
    EXPECT_EQ(Executed(ID_FT_NEW), m_pFrame->m_events);
    m_pFrame->m_events.clear();
    m_pFrame->m_nHandledNotify = ID_FT_NEW;
    SendClick(ScreenCentre(pNew));
    Pump();
    std::vector<EVENT> expected = {{XTPM_CONTROLNOTIFY, ID_FT_NEW, XTP_CN_EXECUTE}};
    EXPECT_EQ(expected, m_pFrame->m_events);
}

TEST_F(FrameWndTest, HiddenCommandsShowAfterTheExpansionAndForGoodOnceUsed)
{
    CXTPCommandBars* pCommandBars = m_pFrame->GetCommandBars();
    pCommandBars->GetCommandBarsOptions()->bAlwaysShowFullMenus = FALSE;
    pCommandBars->GetCommandBarsOptions()->bShowFullAfterDelay = FALSE;
    UINT hidden[] = {ID_FT_PRINT};
    pCommandBars->HideCommands(hidden, 1);

    SendKeys({VK_MENU, 'F'});
    Pump();
    CXTPPopupBar* pFile = OpenPopup(0);
    ASSERT_NE(nullptr, pFile);
    CXTPControl* pPrint = pFile->GetControls()->FindControl(ID_FT_PRINT);
    ASSERT_NE(nullptr, pPrint);
    EXPECT_EQ(static_cast<DWORD>(xtpHideExpand), pPrint->GetHideFlags());
    CXTPControl* pExpand = pFile->GetControls()->FindControl(XTP_ID_POPUPBAR_EXPAND);
    ASSERT_NE(nullptr, pExpand);
    EXPECT_TRUE(pExpand->IsVisible());
    CRect rcCollapsed;
    pFile->GetWindowRect(&rcCollapsed);

    SendKeys({VK_CONTROL, VK_DOWN});
    Pump();
    EXPECT_TRUE(pFile->IsExpanded());
    EXPECT_TRUE(pPrint->IsVisible());
    EXPECT_FALSE(pExpand->IsVisible());
    CRect rcExpanded;
    pFile->GetWindowRect(&rcExpanded);
    EXPECT_GT(rcExpanded.Height(), rcCollapsed.Height());

    // Chosen once, the command is used and shows from now on.
    SendKeys({'P'});
    Pump();
    EXPECT_EQ(Executed(ID_FT_PRINT), m_pFrame->m_events);
    SendKeys({VK_MENU, 'F'});
    Pump();
    pFile = OpenPopup(0);
    ASSERT_NE(nullptr, pFile);
    EXPECT_TRUE(pFile->GetControls()->FindControl(ID_FT_PRINT)->IsVisible());
    EXPECT_FALSE(pFile->HasHiddenCommands());
    SendKeys({VK_ESCAPE});
    SendKeys({VK_ESCAPE});
    Pump();
}

TEST_F(FrameWndTest, TrackPopupMenuReturnsTheChosenCommandAndSendsNothing)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_FRAMETEST_CONTEXT));
    CPoint pt(200, 200);
    m_pFrame->ClientToScreen(&pt);
    struct Case
    {
        std::vector<WORD> keys;
        int nExpected;
    } cases[] = {{{VK_DOWN, VK_RETURN}, ID_FT_CUT}, {{VK_ESCAPE}, 0}};
    for (const Case& c : cases) {
        std::vector<WORD> keys = c.keys;
        // Typed into the menu's loop once it shows.
        RunWhen([] { return GetOpenPopup() != nullptr; }, [keys] {
            for (WORD nKey : keys)
                SendKeys({nKey});
        });
        int nResult = CXTPCommandBars::TrackPopupMenu(menu.GetSubMenu(0), TPM_RETURNCMD, pt.x, pt.y, m_pFrame, nullptr,
                                                      nullptr, m_pFrame->GetCommandBars());
        EXPECT_EQ(c.nExpected, nResult);
        Pump();
        EXPECT_TRUE(m_pFrame->m_events.empty());
    }
}

TEST_F(FrameWndTest, MenusShowShortcutTextsAndTheHotItemsPrompt)
{
    SendKeys({VK_MENU, 'M'});
    Pump();
    CXTPPopupBar* pEdit = OpenPopup(1);
    ASSERT_NE(nullptr, pEdit);
    // The manager has no table of its own: the frame's accelerators give the texts.
    EXPECT_EQ(CString(L"Ctrl+Shift+F5"), pEdit->GetControls()->FindControl(ID_FT_COPY)->GetShortcutText());
    SendKeys({VK_ESCAPE});
    SendKeys({VK_LEFT});
    SendKeys({VK_DOWN});
    Pump();
    CXTPPopupBar* pFile = OpenPopup(0);
    ASSERT_NE(nullptr, pFile);
    EXPECT_EQ(CString(L"Ctrl+N"), pFile->GetControls()->FindControl(ID_FT_NEW)->GetShortcutText());
    SendKeys({VK_DOWN});
    Pump();
    EXPECT_EQ(CString(L"Apre un documento"), m_pFrame->m_strStatus);
    SendKeys({VK_ESCAPE});
    SendKeys({VK_ESCAPE});
    Pump();
}

TEST_F(FrameWndTest, ShortcutsRunCommandsFromTheFramesTableOrTheManagers)
{
    SendKeys({VK_CONTROL, 'N'});
    Pump();
    std::vector<EVENT> expected = {{WM_COMMAND, ID_FT_NEW, 0}};
    EXPECT_EQ(expected, m_pFrame->m_events);

    // The manager's own table: its entries translate, its texts show.
    CXTPShortcutManager* pShortcuts = m_pFrame->GetCommandBars()->GetShortcutManager();
    pShortcuts->LoadAccelerators(IDR_FRAMETEST);
    pShortcuts->AddShortcut(FCONTROL | FALT, 'G', ID_FT_GRID);
    m_pFrame->m_events.clear();
    SendKeys({VK_CONTROL, VK_MENU, 'G'});
    Pump();
    expected = {{WM_COMMAND, ID_FT_GRID, 0}};
    EXPECT_EQ(expected, m_pFrame->m_events);
    SendKeys({VK_MENU, 'M'});
    Pump();
    CXTPPopupBar* pEdit = OpenPopup(1);
    ASSERT_NE(nullptr, pEdit);
    EXPECT_EQ(CString(L"Ctrl+Alt+G"), pEdit->GetControls()->FindControl(ID_FT_GRID)->GetShortcutText());
    SendKeys({VK_ESCAPE});
    SendKeys({VK_ESCAPE});
    Pump();
}

TEST_F(FrameWndTest, AltAloneEntersTheMenuBarAndDownOpensTheMenu)
{
    SendKeys({VK_MENU});
    Pump();
    CXTPMenuBar* pMenuBar = m_pFrame->GetMenuBar();
    EXPECT_TRUE(pMenuBar->IsTrackingMode());
    EXPECT_EQ(0, pMenuBar->GetSelectedIndex());
    EXPECT_EQ(nullptr, OpenPopup(0));
    SendKeys({VK_RIGHT});
    SendKeys({VK_DOWN});
    Pump();
    EXPECT_NE(nullptr, OpenPopup(1));
    SendKeys({VK_ESCAPE});
    SendKeys({VK_ESCAPE});
    Pump();
    EXPECT_FALSE(pMenuBar->IsTrackingMode());
}

TEST_F(FrameWndTest, AltWithShiftHeldLeavesTheMenuBarAlone)
{
    CXTPMenuBar* pMenuBar = m_pFrame->GetMenuBar();
    BYTE keysBefore[256];
    ASSERT_TRUE(::GetKeyboardState(keysBefore));
    struct Case
    {
        BOOL bShift;
        BOOL bEnters;
    } cases[] = {{TRUE, FALSE}, {FALSE, TRUE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bShift);
        BYTE keys[256];
        std::copy(std::begin(keysBefore), std::end(keysBefore), keys);
        keys[VK_SHIFT] = c.bShift ? 0x80 : 0;
        ::SetKeyboardState(keys);
        WPARAM wParam = SC_KEYMENU;
        LPARAM lParam = 0;
        LRESULT lResult = -1;
        EXPECT_EQ(c.bEnters ? xtpHookHandled : xtpHookContinue,
                  pMenuBar->OnHookMessage(m_pFrame->m_hWnd, WM_SYSCOMMAND, wParam, lParam, lResult));
        EXPECT_EQ(c.bEnters, pMenuBar->IsTrackingMode());
        pMenuBar->SetTrackingMode(0);
    }
    ::SetKeyboardState(keysBefore);
}

TEST_F(FrameWndTest, TheScrollTimersMoveATallPopupOneEntryAtATimeToEitherEnd)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    const int nCount = 120;
    for (int i = 0; i < nCount; i++) {
        CString strItem;
        strItem.Format(L"Voce %d", i + 1);
        menu.AppendMenu(MF_STRING, static_cast<UINT_PTR>(ID_FT_LONG + i % 30), strItem);
    }
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar(m_pFrame->GetCommandBars());
    ASSERT_TRUE(pPopup->LoadMenu(&menu));
    ASSERT_TRUE(pPopup->PopupAt(100, 60));
    ASSERT_TRUE(pPopup->IsScrolling());
    EXPECT_EQ(0, pPopup->GetFirstVisible());
    int nSteps = 0;
    while (pPopup->GetLastVisible() < nCount && nSteps++ < nCount) {
        int nLast = pPopup->GetLastVisible();
        pPopup->SendMessage(WM_TIMER, XTP_TID_SCROLLDOWN);
        // One entry before the end the last one comes too: it takes the down arrow's room.
        ASSERT_EQ(nLast + 1 == nCount - 1 ? nCount : nLast + 1, pPopup->GetLastVisible());
        EXPECT_GT(pPopup->GetFirstVisible(), 0);
    }
    EXPECT_EQ(nCount, pPopup->GetLastVisible());
    pPopup->SendMessage(WM_TIMER, XTP_TID_SCROLLDOWN);
    EXPECT_EQ(nCount, pPopup->GetLastVisible()) << "the end stops the scrolling";
    nSteps = 0;
    while (pPopup->GetFirstVisible() > 0 && nSteps++ < nCount) {
        int nFirst = pPopup->GetFirstVisible();
        pPopup->SendMessage(WM_TIMER, XTP_TID_SCROLLUP);
        ASSERT_EQ(nFirst - 1, pPopup->GetFirstVisible());
    }
    EXPECT_EQ(0, pPopup->GetFirstVisible());
    EXPECT_LT(pPopup->GetLastVisible(), nCount);
    pPopup->SetTrackingMode(0);
    pPopup->InternalRelease();
}

TEST_F(FrameWndTest, AReopenedTallPopupScrollsAgainWhileThePointerRestsOnItsArrow)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    for (int i = 0; i < 120; i++)
        menu.AppendMenu(MF_STRING, static_cast<UINT_PTR>(ID_FT_LONG + i % 30), L"Voce");
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar(m_pFrame->GetCommandBars());
    ASSERT_TRUE(pPopup->LoadMenu(&menu));
    for (int nOpen = 0; nOpen < 2; nOpen++) {
        SCOPED_TRACE(nOpen);
        ASSERT_TRUE(pPopup->PopupAt(100, 60));
        ASSERT_TRUE(pPopup->IsScrolling());
        int nLast = pPopup->GetLastVisible();
        CRect rc;
        pPopup->GetClientRect(&rc);
        pPopup->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rc.CenterPoint().x, rc.bottom - 8));
        EXPECT_TRUE(PumpUntil(m_pFrame->m_hWnd, [&] { return pPopup->GetLastVisible() > nLast; }));
        pPopup->SetTrackingMode(0);
    }
    pPopup->InternalRelease();
}

TEST_F(FrameWndTest, APopupTallerThanTheWorkAreaScrollsToTheSelection)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    for (int i = 0; i < 120; i++) {
        CString strItem;
        strItem.Format(L"Voce %d", i + 1);
        menu.AppendMenu(MF_STRING, static_cast<UINT_PTR>(ID_FT_LONG + i % 30), strItem);
    }
    BOOL bScrolling = FALSE;
    int nFirstBefore = -1, nFirstAfter = -1;
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar(m_pFrame->GetCommandBars());
    ASSERT_TRUE(pPopup->LoadMenu(&menu));
    RunWhen([&] { return GetOpenPopup() == pPopup; }, [&] {
        bScrolling = pPopup->IsScrolling();
        nFirstBefore = pPopup->GetFirstVisible();
        EXPECT_TRUE(SendInputAndWait(m_pFrame->m_hWnd, {KeyInput(VK_END, FALSE), KeyInput(VK_END, TRUE)}));
        nFirstAfter = pPopup->GetFirstVisible();
        SendKeys({VK_ESCAPE});
    });
    CXTPCommandBars::TrackPopup(pPopup, TPM_RETURNCMD, 100, 60, m_pFrame);
    pPopup->InternalRelease();
    EXPECT_TRUE(bScrolling);
    EXPECT_EQ(0, nFirstBefore);
    EXPECT_GT(nFirstAfter, 0);
}

TEST_F(FrameWndTest, ButtonsThatDoNotFitAreReachedThroughTheExpandButton)
{
    CXTPToolBar* pToolBar = m_pFrame->GetToolBar();
    CXTPControls* pButtons = pToolBar->GetControls();
    for (int nId : {ID_FT_CUT, ID_FT_GRID, ID_FT_RECENT1, ID_FT_RECENT2})
        pButtons->Add(xtpControlButton, nId);
    CRect rcWindow;
    m_pFrame->GetWindowRect(&rcWindow);
    m_pFrame->SetWindowPos(nullptr, 0, 0, 100, rcWindow.Height(), SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    CXTPControl* pGrid = pButtons->FindControl(ID_FT_GRID);
    ASSERT_NE(nullptr, pGrid);
    EXPECT_EQ(static_cast<DWORD>(xtpHideWrap), pGrid->GetHideFlags());
    CXTPControl* pExpand = pButtons->FindControl(XTP_ID_TOOLBAR_EXPAND);
    ASSERT_NE(nullptr, pExpand);
    ASSERT_TRUE(pExpand->IsVisible());

    SendClick(ScreenCentre(pExpand));
    Pump();
    CXTPCommandBar* pPopup = pExpand->GetCommandBar();
    ASSERT_NE(nullptr, pPopup);
    ASSERT_TRUE(pPopup->IsTrackingMode());
    CXTPControl* pCopy = pPopup->GetControls()->FindControl(ID_FT_GRID);
    ASSERT_NE(nullptr, pCopy);
    EXPECT_TRUE(pCopy->IsVisible());
    CXTPControl* pAddRemove = pPopup->GetControls()->FindControl(xtpControlPopup, 0, FALSE, FALSE);
    ASSERT_NE(nullptr, pAddRemove);
    EXPECT_EQ(CString(L"Aggiungi o rimuovi pulsanti"), pAddRemove->GetCaption());

    SendClick(ScreenCentre(pCopy));
    Pump();
    EXPECT_EQ(Executed(ID_FT_GRID), m_pFrame->m_events);
    EXPECT_FALSE(pPopup->IsTrackingMode());
}

namespace
{
// The system hides keyboard cues until Alt is pressed.
class CCuesOffSettings : public CXTPSystemSettings
{
public:
    BOOL GetFlag(UINT nAction, BOOL& bValue) const override
    {
        if (nAction != SPI_GETKEYBOARDCUES)
            return FALSE;
        bValue = FALSE;
        return TRUE;
    }
};
}

TEST_F(FrameWndTest, CuesHiddenUntilAltShowWhileTheMenuBarTracks)
{
    CCuesOffSettings settings;
    CXTPSystemSettings::Set(&settings);
    CXTPCommandBars* pCommandBars = m_pFrame->GetCommandBars();
    pCommandBars->GetCommandBarsOptions()->SetKeyboardCuesShow(2);
    CXTPSystemSettings::Set(nullptr);
    EXPECT_FALSE(pCommandBars->IsKeyboardCuesVisible());
    SendKeys({VK_MENU});
    Pump();
    ASSERT_TRUE(m_pFrame->GetMenuBar()->IsTrackingMode());
    EXPECT_TRUE(pCommandBars->IsKeyboardCuesVisible());
    SendKeys({VK_ESCAPE});
    Pump();
    EXPECT_FALSE(m_pFrame->GetMenuBar()->IsTrackingMode());
    EXPECT_FALSE(pCommandBars->IsKeyboardCuesVisible());
}

TEST_F(FrameWndTest, AltLetterOpensAUniqueMatchAndOnlySelectsAmongFirstLetters)
{
    // Captions without '&': their first letters are the accelerators.
    MenuControl(0)->SetCaption(CString(L"Uno"));
    MenuControl(1)->SetCaption(CString(L"Ultimo"));
    struct Case
    {
        WORD nKey;
        int nKeyboardCuesUse;
        BOOL bTracking;
        int nSelected;
        int nOpen;   // the menu whose popup opened, -1 none
    } cases[] = {
        {'U', 1, TRUE, 0, -1},    // two first-letter matches: select only
        {'L', 1, TRUE, 2, 2},     // explicit and unique: open
        {'U', 1 | 4, FALSE, -1, -1},   // no first-letter matches
        {'L', 2, FALSE, -1, -1},  // Alt+letter off
    };
    for (const Case& c : cases) {
        m_pFrame->GetCommandBars()->GetCommandBarsOptions()->keyboardCuesUse = c.nKeyboardCuesUse;
        SendKeys({VK_MENU, c.nKey});
        Pump();
        CXTPMenuBar* pMenuBar = m_pFrame->GetMenuBar();
        EXPECT_EQ(c.bTracking, pMenuBar->IsTrackingMode()) << c.nKey << " " << c.nKeyboardCuesUse;
        if (c.bTracking) {
            EXPECT_EQ(c.nSelected, pMenuBar->GetSelectedIndex()) << c.nKey;
            EXPECT_EQ(c.nOpen, pMenuBar->GetPopupedIndex()) << c.nKey;
        }
        CMouseManager::GetThreadManager()->UntrackAll();
        pMenuBar->SetTrackingMode(0);
        Pump();
    }
}

TEST_F(FrameWndTest, CtrlTabHandsTheKeyboardToTheNextBar)
{
    // From the menu bar itself and from a menu open under it.
    for (BOOL bMenuOpen : {FALSE, TRUE}) {
        SCOPED_TRACE(bMenuOpen ? "menu open" : "menu bar");
        m_pFrame->m_events.clear();
        SendKeys({VK_MENU});
        Pump();
        ASSERT_TRUE(m_pFrame->GetMenuBar()->IsTrackingMode());
        if (bMenuOpen) {
            SendKeys({VK_DOWN});
            Pump();
            ASSERT_NE(-1, m_pFrame->GetMenuBar()->GetPopupedIndex());
        }
        SendKeys({VK_CONTROL, VK_TAB});
        Pump();
        CXTPToolBar* pToolBar = m_pFrame->GetToolBar();
        EXPECT_FALSE(m_pFrame->GetMenuBar()->IsTrackingMode());
        EXPECT_TRUE(pToolBar->IsTrackingMode());
        EXPECT_EQ(0, pToolBar->GetSelectedIndex());
        SendKeys({VK_RETURN});
        Pump();
        EXPECT_EQ(Executed(ID_FT_NEW), m_pFrame->m_events);
    }
}

TEST_F(FrameWndTest, TrackPopupMenuExGoesThroughTheBarsWithoutUpdatingTheItems)
{
    CXTPBarPainter::GetInstalled();
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_FRAMETEST_CONTEXT));
    CPoint pt(150, 150);
    m_pFrame->ClientToScreen(&pt);
    struct Case
    {
        UINT nFlags;
        std::vector<WORD> keys;
        int nExpected;
        std::vector<EVENT> events;
    } cases[] = {
        {TPM_RETURNCMD, {VK_DOWN, VK_RETURN}, ID_FT_CUT, {}},
        // No update pass: "Copia" stays enabled though the frame would grey it.
        {TPM_RETURNCMD, {VK_DOWN, VK_DOWN, VK_RETURN}, ID_FT_COPY, {}},
        {0, {VK_DOWN, VK_RETURN}, TRUE, Executed(ID_FT_CUT)},
    };
    for (const Case& c : cases) {
        std::vector<WORD> keys = c.keys;
        RunWhen([] { return GetOpenPopup() != nullptr; }, [keys] {
            for (WORD nKey : keys)
                SendKeys({nKey});
        });
        EXPECT_EQ(c.nExpected, TrackPopupMenuEx(menu.GetSubMenu(0), c.nFlags, pt.x, pt.y, m_pFrame, IDR_FRAMETEST));
        Pump();
        EXPECT_EQ(c.events, m_pFrame->m_events);
        m_pFrame->m_events.clear();
    }
}

TEST_F(FrameWndTest, ARightClickBesideTheButtonsOffersTheToolbarsMenuWhichStaysShutWhileEmpty)
{
    CXTPToolBar* pToolBar = m_pFrame->GetToolBar();
    // The only toolbar cannot be closed, so it stays out of the list, and customisation is not offered: nothing
    // to show.
    pToolBar->SetCloseable(FALSE);
    CRect rcBar;
    pToolBar->GetWindowRect(&rcBar);
    // The gripper, before the first button.
    SendClick(CPoint(rcBar.left + 2, rcBar.CenterPoint().y), TRUE);
    Pump();
    std::vector<EVENT> expected = {{XTPM_TOOLBARSMENU, 0, 0}};
    EXPECT_EQ(expected, m_pFrame->m_events);
    EXPECT_FALSE(CMouseManager::GetThreadManager()->IsTracking());
}

TEST_F(FrameWndTest, TheToolbarsMenuListsTheClosableToolbarsCheckedWhenShownAndTogglesThem)
{
    CXTPToolBar* pToolBar = m_pFrame->GetToolBar();
    // A second toolbar without the context menu stays out of the list.
    CXTPToolBar* pHidden = m_pFrame->GetCommandBars()->Add(L"Nascosta", xtpBarTop);
    ASSERT_NE(nullptr, pHidden);
    pHidden->SetContextMenuPresent(FALSE);
    Pump();
    CRect rcBar;
    pToolBar->GetWindowRect(&rcBar);
    std::vector<CString> captions;
    BOOL bChecked = FALSE, bLooked = FALSE;
    // The menu runs a loop of its own: the step works it from there once it shows.
    RunWhen([] { return GetOpenPopup() != nullptr; }, [&] {
        bLooked = TRUE;
        CXTPPopupBar* pPopup = GetOpenPopup();
        ASSERT_NE(nullptr, pPopup);
        CXTPControls* pControls = pPopup->GetControls();
        for (int i = 0; i < pControls->GetCount(); i++)
            captions.push_back(pControls->GetAt(i)->GetCaption());
        bChecked = pControls->GetAt(0)->GetChecked();
        pControls->GetAt(0)->OnExecute();   // the user picks "Standard"
    });
    SendClick(CPoint(rcBar.left + 2, rcBar.CenterPoint().y), TRUE);
    EXPECT_TRUE(PumpUntil(m_pFrame->m_hWnd, [&] { return bLooked && !GetOpenPopup(); }));
    Pump();
    EXPECT_EQ(std::vector<CString>{CString(L"Standard")}, captions);
    EXPECT_TRUE(bChecked);
    EXPECT_FALSE(pToolBar->IsVisible());
    EXPECT_FALSE(CMouseManager::GetThreadManager()->IsTracking());
    std::vector<EVENT> expected = {{XTPM_TOOLBARSMENU, 0, 0}};
    EXPECT_EQ(expected, m_pFrame->m_events);
}

TEST_F(FrameWndTest, AQuitRequestDuringAPopupEndsItAndStaysForTheProgramsLoop)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_FRAMETEST_CONTEXT));
    CPoint pt(150, 150);
    m_pFrame->ClientToScreen(&pt);
    RunWhen([] { return GetOpenPopup() != nullptr; }, [] { ::PostQuitMessage(3); });
    int nResult = CXTPCommandBars::TrackPopupMenu(menu.GetSubMenu(0), TPM_RETURNCMD, pt.x, pt.y, m_pFrame, nullptr,
                                                  nullptr, m_pFrame->GetCommandBars());
    EXPECT_EQ(0, nResult);
    EXPECT_FALSE(CMouseManager::GetThreadManager()->IsTracking());
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(3, static_cast<int>(msg.wParam));
}

TEST_F(FrameWndTest, PrintPreviewHidesTheBarsAndGivesBackThoseThatWereShown)
{
    CXTPToolBar* pToolBar = m_pFrame->GetToolBar();
    CXTPMenuBar* pMenuBar = m_pFrame->GetMenuBar();
    m_pFrame->OnSetPreviewMode(TRUE);
    Pump();
    EXPECT_FALSE(pToolBar->IsWindowVisible());
    EXPECT_FALSE(pMenuBar->IsWindowVisible());
    m_pFrame->OnSetPreviewMode(FALSE);
    Pump();
    EXPECT_TRUE(pToolBar->IsWindowVisible());
    EXPECT_TRUE(pMenuBar->IsWindowVisible());

    pToolBar->SetVisible(FALSE);
    m_pFrame->OnSetPreviewMode(TRUE);
    m_pFrame->OnSetPreviewMode(FALSE);
    Pump();
    EXPECT_FALSE(pToolBar->IsWindowVisible());
    EXPECT_TRUE(pMenuBar->IsWindowVisible());
}

TEST_F(FrameWndTest, ASystemColourOrSettingChangeRebuildsTheSharedFontsAndColours)
{
    CUiGlobalData* pData = GetUiGlobalData();
    for (UINT nMessage : {WM_SYSCOLORCHANGE, WM_SETTINGCHANGE}) {
        SCOPED_TRACE(nMessage);
        COLORREF clrFace = GetColorTable()->GetColor(COLOR_BTNFACE);
        int cyMenu = ::GetSystemMetrics(SM_CYMENU);
        pData->m_clrBtnFace = clrFace ^ 0xFFFFFF;
        pData->m_cyMenuItem = cyMenu + 7;
        pData->m_fontBold.DeleteObject();
        m_pFrame->SendMessage(nMessage);
        EXPECT_EQ(clrFace, pData->m_clrBtnFace);
        EXPECT_EQ(cyMenu, pData->m_cyMenuItem);
        EXPECT_NE(nullptr, pData->m_fontBold.GetSafeHandle());
    }
}

// The windows that took a shared font by handle (the list its normal font, its header through InitFont the bold one)
// are given the rebuilt fonts: they show a live font, the record's new one, and draw as before the change.
TEST_F(FrameWndTest, TheWindowsThatTookASharedFontAreGivenItsRebuiltSuccessor)
{
    CUiGlobalData* pData = GetUiGlobalData();
    CXTListCtrl list;
    list.SetUseGlobalFont(TRUE);
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 120), m_pFrame, 1));
    ASSERT_TRUE(list.SubclassHeader(TRUE));
    const int widths[] = {120, 120};
    const LPCTSTR texts[] = {L"Descrizione", L"Anno"};
    list.BuildColumns(2, widths, texts);
    list.InsertItem(0, L"Entrate correnti");
    list.SetItemText(0, 1, L"2008");
    CXTFlatHeaderCtrl& header = list.GetFlatHeader();

    // The header's and the list's pictures, pixel by pixel.
    auto picture = [&] {
        CRect rcHeader, rcList;
        header.GetClientRect(&rcHeader);
        list.GetClientRect(&rcList);
        CPixelCanvas headerCanvas(rcHeader.Width(), rcHeader.Height()), listCanvas(rcList.Width(), rcList.Height());
        header.GetHeaderTheme()->DrawHeader(&headerCanvas, &header);
        list.DoPaint(&listCanvas);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < rcHeader.Height(); y++)
            for (int x = 0; x < rcHeader.Width(); x++)
                pixels.push_back(headerCanvas.At(x, y));
        for (int y = 0; y < rcList.Height(); y++)
            for (int x = 0; x < rcList.Width(); x++)
                pixels.push_back(listCanvas.At(x, y));
        return pixels;
    };
    auto fontOf = [](HWND hWnd) { return reinterpret_cast<HGDIOBJ>(::SendMessageW(hWnd, WM_GETFONT, 0, 0)); };
    auto isLive = [](HGDIOBJ hFont) {
        LOGFONT lf = {};
        return ::GetObjectW(hFont, sizeof(lf), &lf) == sizeof(lf);
    };
    ASSERT_EQ(pData->m_fontNormal.GetSafeHandle(), fontOf(list.m_hWnd));
    ASSERT_EQ(pData->m_fontBold.GetSafeHandle(), fontOf(header.m_hWnd));
    const std::vector<COLORREF> before = picture();

    for (UINT nMessage : {WM_SYSCOLORCHANGE, WM_SETTINGCHANGE}) {
        SCOPED_TRACE(nMessage);
        HGDIOBJ hOldNormal = pData->m_fontNormal.GetSafeHandle();
        m_pFrame->SendMessage(nMessage);
        ASSERT_NE(hOldNormal, pData->m_fontNormal.GetSafeHandle());
        EXPECT_EQ(pData->m_fontNormal.GetSafeHandle(), fontOf(list.m_hWnd));
        EXPECT_EQ(pData->m_fontBold.GetSafeHandle(), fontOf(header.m_hWnd));
        EXPECT_TRUE(isLive(fontOf(list.m_hWnd)));
        EXPECT_TRUE(isLive(fontOf(header.m_hWnd)));
        EXPECT_TRUE(before == picture());
    }
    list.DestroyWindow();
}

// Moving from menu to menu does not animate again; the next time the menus are entered the first one does.
TEST_F(FrameWndTest, TheFirstMenuOfEachVisitToTheMenuBarAnimates)
{
    CXTPMenuBar* pMenuBar = m_pFrame->GetMenuBar();
    for (int nVisit = 0; nVisit < 2; nVisit++) {
        SCOPED_TRACE(nVisit);
        EXPECT_TRUE(pMenuBar->IsAnimateNextPopup());
        SendKeys({VK_MENU, 'M'});
        ASSERT_TRUE(PumpUntil(m_pFrame->m_hWnd, [&] { return OpenPopup(1) != nullptr; }));
        EXPECT_FALSE(pMenuBar->IsAnimateNextPopup());
        SendKeys({VK_ESCAPE});
        SendKeys({VK_ESCAPE});
        ASSERT_TRUE(PumpUntil(m_pFrame->m_hWnd, [&] { return !pMenuBar->IsTrackingMode(); }));
    }
}

TEST_F(FrameWndTest, APopupReopenedAtAPointAvoidsThePointNotItsFormerControl)
{
    SendKeys({VK_MENU, 'M'});
    Pump();
    CXTPPopupBar* pEdit = OpenPopup(1);
    ASSERT_NE(nullptr, pEdit);
    SendKeys({VK_ESCAPE});
    SendKeys({VK_ESCAPE});
    Pump();
    ASSERT_FALSE(pEdit->IsTrackingMode());
    // Low on the screen the popup turns upwards from the point, ending on it.
    CRect rcWork;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0);
    CPoint pt(300, rcWork.bottom - 30);
    int nBottom = -1;
    RunWhen([&] { return GetOpenPopup() == pEdit; }, [&] {
        CRect rc;
        pEdit->GetWindowRect(&rc);
        nBottom = rc.bottom;
        SendKeys({VK_ESCAPE});
    });
    CXTPCommandBars::TrackPopup(pEdit, TPM_RETURNCMD, pt.x, pt.y, m_pFrame);
    EXPECT_EQ(pt.y, nBottom);
}

TEST_F(FrameWndTest, HoveringMakesAButtonHotAndTheMouseLeavingTheBarCoolsIt)
{
    CXTPToolBar* pBar = m_pFrame->GetToolBar();
    CXTPControl* pNew = pBar->GetControls()->FindControl(ID_FT_NEW);
    CXTPControl* pOpen = pBar->GetControls()->FindControl(ID_FT_OPEN);
    ASSERT_TRUE(pNew && pOpen);
    CRect rcClient, rcFrame;
    m_pFrame->GetClientRect(&rcClient);
    m_pFrame->ClientToScreen(&rcClient);
    m_pFrame->GetWindowRect(&rcFrame);
    struct Case
    {
        const char* pszWhere;
        CPoint pt;
        CXTPControl* pHot;
    } cases[] = {
        {"on a button", ScreenCentre(pNew), pNew},
        {"on the next button", ScreenCentre(pOpen), pOpen},
        {"on the frame below the bars", CPoint(rcClient.right - 20, rcClient.bottom - 20), nullptr},
        {"back on a button", ScreenCentre(pNew), pNew},
        {"away from the frame", CPoint(rcFrame.right + 60, rcFrame.CenterPoint().y), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhere);
        EXPECT_TRUE(SendMouseAndWait(m_pFrame->m_hWnd, c.pt));
        // The bar finds the mouse gone on its next 50 ms look.
        EXPECT_TRUE(PumpUntil(m_pFrame->m_hWnd, [&] { return pBar->GetSelectedControl() == c.pHot; }));
        EXPECT_EQ(c.pHot == pNew, pNew->GetSelected() != 0);
        EXPECT_EQ(c.pHot == pOpen, pOpen->GetSelected() != 0);
    }
    EXPECT_TRUE(m_pFrame->m_events.empty());
}

namespace
{
int g_nQuitsTaken = 0;

// Counts the quit requests taken from the thread's queue: the press loop's own and one posted again after it.
LRESULT CALLBACK CountQuits(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION && wParam == PM_REMOVE && reinterpret_cast<MSG*>(lParam)->message == WM_QUIT)
        g_nQuitsTaken++;
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}
}

TEST_F(FrameWndTest, APressDraggedOffTheButtonRunsNothingAndDraggedBackRunsIt)
{
    CXTPToolBar* pBar = m_pFrame->GetToolBar();
    CXTPControl* pNew = pBar->GetControls()->FindControl(ID_FT_NEW);
    ASSERT_NE(nullptr, pNew);
    const CPoint ptOn = ScreenCentre(pNew);
    CRect rcClient;
    m_pFrame->GetClientRect(&rcClient);
    CPoint ptOff(rcClient.right - 20, rcClient.bottom - 20);
    m_pFrame->ClientToScreen(&ptOff);
    enum { releaseHere, releaseAtBarOrigin, quit };
    struct Case
    {
        const char* pszPath;
        std::vector<CPoint> moves;
        int nEnd;
        std::vector<int> selected;   // the button's hot state while pressed: at the press and after each move
        BOOL bRuns;
    } cases[] = {
        {"released where pressed", {}, releaseHere, {1}, TRUE},
        {"dragged off", {ptOff}, releaseHere, {1, 0}, FALSE},
        {"dragged off and back", {ptOff, ptOn}, releaseHere, {1, 0, 1}, TRUE},
        // A release without a position (the bar's (0, 0)) ends the press where the mouse last was: on the button
        // it runs, dragged off it does not.
        {"released at the bar's origin", {}, releaseAtBarOrigin, {1}, TRUE},
        {"dragged off, released at the bar's origin", {ptOff}, releaseAtBarOrigin, {1, 0}, FALSE},
        // A quit request ends the press and is left for the program's loop.
        {"quit while pressed", {}, quit, {1}, FALSE},
    };
    DWORD dwLastPress = ::GetTickCount() - ::GetDoubleClickTime();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszPath);
        m_pFrame->m_events.clear();
        std::vector<int> selected, pressed;
        size_t nMove = 0;
        // Each step runs from a timer inside the button's own loop, once the input before it has been taken: the
        // press when the bar holds the capture, a move when the cursor is there and no move waits in the queue.
        const auto moved = [&] {
            CPoint pt;
            return ::GetCursorPos(&pt) && pt == c.moves[nMove - 1] &&
                   !(HIWORD(::GetQueueStatus(QS_MOUSEMOVE)) & QS_MOUSEMOVE);
        };
        std::function<void()> step = [&] {
            selected.push_back(pNew->GetSelected());
            pressed.push_back(pNew->GetPressed());
            if (nMove < c.moves.size()) {
                SendMouseMove(c.moves[nMove++]);
                RunWhen(moved, step);
            } else if (c.nEnd == releaseHere) {
                SendMouseButton(c.moves.empty() ? ptOn : c.moves.back(), MOUSEEVENTF_LEFTUP);
            } else if (c.nEnd == releaseAtBarOrigin) {
                pBar->PostMessage(WM_LBUTTONUP, 0, 0);
            } else {
                ::PostQuitMessage(4);
            }
        };
        g_nQuitsTaken = 0;
        HHOOK hHook = ::SetWindowsHookExW(WH_GETMESSAGE, CountQuits, nullptr, ::GetCurrentThreadId());
        // A press within the double-click time of the one before would be a double click.
        PumpUntil(m_pFrame->m_hWnd, [&] { return ::GetTickCount() - dwLastPress > ::GetDoubleClickTime(); });
        SendMouseButton(ptOn, MOUSEEVENTF_LEFTDOWN);
        dwLastPress = ::GetTickCount();
        RunWhen([&] { return ::GetCapture() == pBar->m_hWnd; }, step);
        // The press has ended once every step ran and the bar let the capture go; a quit is taken again after it.
        EXPECT_TRUE(PumpUntil(m_pFrame->m_hWnd, [&] {
            return selected.size() == c.selected.size() && !::GetCapture() && (c.nEnd != quit || g_nQuitsTaken == 2);
        }));
        PumpQueued(m_pFrame->m_hWnd);
        ::UnhookWindowsHookEx(hHook);
        EXPECT_EQ(c.nEnd == quit ? 2 : 0, g_nQuitsTaken);
        EXPECT_EQ(c.selected, selected);
        EXPECT_EQ(std::vector<int>(c.selected.size(), 1), pressed);
        // A button that ran stays "executing" until the next update pass.
        EXPECT_EQ(c.bRuns ? 2 : 0, pNew->GetPressed());
        IdleUpdate();
        EXPECT_EQ(0, pNew->GetPressed());
        EXPECT_EQ(nullptr, ::GetCapture());
        if (c.nEnd != releaseHere) {
            // The button is still down for the system: its release comes after the press has ended.
            EXPECT_TRUE(SendInputAndWait(m_pFrame->m_hWnd, {MouseInput(ptOn, MOUSEEVENTF_LEFTUP)}));
        }
        EXPECT_EQ(c.bRuns ? Executed(ID_FT_NEW) : std::vector<EVENT>(), m_pFrame->m_events);
    }
}

namespace
{
// A pane of the frame that opens a context menu on the press of the left button, under the mouse: the release
// of that press lands on the menu's first item.
class CPressMenuPane : public CWnd
{
public:
    CMenu* m_pMenu = nullptr;
    CXTPCommandBars* m_pCommandBars = nullptr;
    int m_nResult = -1;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_LBUTTONDOWN) {
            CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            ClientToScreen(&pt);
            m_nResult = CXTPCommandBars::TrackPopupMenu(m_pMenu, TPM_RETURNCMD, pt.x - 30, pt.y - 10, GetParent(),
                                                        nullptr, nullptr, m_pCommandBars);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};
}

TEST_F(FrameWndTest, TheReleaseOfThePressThatOpenedAPopupChoosesNothingInIt)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_FRAMETEST_CONTEXT));
    CPressMenuPane pane;
    pane.m_pMenu = menu.GetSubMenu(0);
    pane.m_pCommandBars = m_pFrame->GetCommandBars();
    CRect rcClient;
    m_pFrame->GetClientRect(&rcClient);
    CRect rcPane(rcClient.left + 20, rcClient.bottom - 100, rcClient.right - 20, rcClient.bottom - 10);
    ASSERT_TRUE(pane.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, rcPane, m_pFrame, 1));
    CPoint pt = rcPane.CenterPoint();
    m_pFrame->ClientToScreen(&pt);

    UINT nUnderMouse = 0;
    BOOL bOpen = FALSE, bLooked = FALSE;
    // A look at the popup once its loop has taken the click's release (the mouse hook swallows it: no button
    // message is left in the queue).
    RunWhen([] {
        return CMouseManager::GetThreadManager()->IsTracking() &&
               !(HIWORD(::GetQueueStatus(QS_MOUSEBUTTON)) & QS_MOUSEBUTTON);
    }, [&] {
        bLooked = TRUE;
        CMouseManager* pMouse = CMouseManager::GetThreadManager();
        bOpen = pMouse->IsTracking();
        auto* pPopup = bOpen ? dynamic_cast<CXTPPopupBar*>(
                                   CWnd::FromHandlePermanent(pMouse->GetTopTrackedBar()->GetTrackedWindow()))
                             : nullptr;
        if (pPopup) {
            CPoint ptClient = pt;
            pPopup->ScreenToClient(&ptClient);
            CXTPControl* pItem = pPopup->GetControls()->HitTest(ptClient);
            nUnderMouse = pItem ? pItem->GetID() : 0;
        }
        SendKeys({VK_ESCAPE});
    });
    SendClick(pt);
    EXPECT_TRUE(PumpUntil(m_pFrame->m_hWnd, [&] { return bLooked && pane.m_nResult != -1; }));
    PumpQueued(m_pFrame->m_hWnd);
    EXPECT_TRUE(bOpen) << "the release closed the popup";
    EXPECT_EQ(static_cast<UINT>(ID_FT_CUT), nUnderMouse);
    EXPECT_EQ(0, pane.m_nResult);
    EXPECT_TRUE(m_pFrame->m_events.empty());
    pane.DestroyWindow();
}

namespace
{
int g_nAltPresses = 0;

// Counts the Alt presses that reach the thread's queue readers (keys consumed by a keyboard hook never do).
LRESULT CALLBACK CountAltPresses(int nCode, WPARAM wParam, LPARAM lParam)
{
    auto* pMsg = reinterpret_cast<MSG*>(lParam);
    if (nCode == HC_ACTION && wParam == PM_REMOVE && (pMsg->message == WM_SYSKEYDOWN || pMsg->message == WM_KEYDOWN) &&
        pMsg->wParam == VK_MENU)
        g_nAltPresses++;
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}
}

TEST_F(FrameWndTest, AltWhileAMenuIsOpenClosesItAndIsConsumed)
{
    HHOOK hHook = ::SetWindowsHookExW(WH_GETMESSAGE, CountAltPresses, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(nullptr, hHook);
    struct Case
    {
        BOOL bMenuOpen;
        BOOL bAltReachesTheFrame;
        BOOL bMenuBarTracks;   // Alt alone enters the menu bar when it reaches the frame
    } cases[] = {{TRUE, FALSE, FALSE}, {FALSE, TRUE, TRUE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bMenuOpen ? "menu open" : "no menu open");
        if (c.bMenuOpen) {
            SendClick(ScreenCentre(MenuControl(0)));
            Pump();
            ASSERT_NE(nullptr, OpenPopup(0));
        }
        g_nAltPresses = 0;
        SendKeys({VK_MENU});
        Pump();
        EXPECT_EQ(nullptr, OpenPopup(0));
        EXPECT_EQ(c.bAltReachesTheFrame, g_nAltPresses > 0);
        EXPECT_EQ(c.bMenuBarTracks, m_pFrame->GetMenuBar()->IsTrackingMode());
        if (m_pFrame->GetMenuBar()->IsTrackingMode()) {
            SendKeys({VK_ESCAPE});
            Pump();
        }
    }
    ::UnhookWindowsHookEx(hHook);
    EXPECT_TRUE(m_pFrame->m_events.empty());
}

TEST_F(FrameWndTest, AnotherProgramComingToTheFrontClosesTheMenus)
{
    SendClick(ScreenCentre(MenuControl(1)));
    Pump();
    ASSERT_NE(nullptr, OpenPopup(1));
    // A window of another thread stands for the other program: activation leaving the thread is what counts.
    HWND hWndOther = nullptr;
    DWORD nOtherThread = 0;
    HANDLE hReady = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread other([&] {
        hWndOther = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"Altra", WS_POPUP | WS_VISIBLE, 600, 40, 120, 80,
                                      nullptr, nullptr, nullptr, nullptr);
        nOtherThread = ::GetCurrentThreadId();
        ::SetEvent(hReady);
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
            ::DispatchMessageW(&msg);
        ::DestroyWindow(hWndOther);
    });
    ::WaitForSingleObject(hReady, 5000);
    ::CloseHandle(hReady);
    ASSERT_NE(nullptr, hWndOther);
    ::SetForegroundWindow(hWndOther);
    Pump();
    EXPECT_EQ(hWndOther, ::GetForegroundWindow());
    EXPECT_EQ(nullptr, OpenPopup(1));
    EXPECT_FALSE(m_pFrame->GetMenuBar()->IsTrackingMode());
    EXPECT_FALSE(CMouseManager::GetThreadManager()->IsTracking());
    ::PostThreadMessageW(nOtherThread, WM_QUIT, 0, 0);
    other.join();
    ::SetForegroundWindow(m_pFrame->m_hWnd);
    Pump();
    EXPECT_TRUE(m_pFrame->m_events.empty());
}

TEST_F(FrameWndTest, AMenuKeepsClearOfItsTitleAndItemAsTheThemeDrawsThem)
{
    // The top-left corner of a popup beside its control, by theme: a menu title's menu drops from under the
    // title, a sub-menu opens at the item's right edge, each edge moved as the theme's faces need.
    struct CASE
    {
        int nTheme;
        CPoint ptMenu, ptSubMenu;   // offsets from the title's bottom-left and from the item's top-right
    } cases[] = {{CXTPBarPainter::themeDefault, CPoint(-1, 0), CPoint(-1, 0)},
                 {CXTPBarPainter::themeShadowed, CPoint(0, -1), CPoint(1, 0)}};
    for (const CASE& c : cases) {
        m_pFrame->GetCommandBars()->SetPaintManager(CXTPBarPainter::CreateTheme(c.nTheme));
        Layout();
        CXTPMenuBar* pMenuBar = m_pFrame->GetMenuBar();
        pMenuBar->SetTrackingMode(1, FALSE, TRUE);
        pMenuBar->SetPopuped(0, TRUE);
        CXTPPopupBar* pFile = OpenPopup(0);
        ASSERT_NE(nullptr, pFile) << c.nTheme;
        CRect rcTitle = MenuControl(0)->GetRect(), rcMenu;
        pMenuBar->ClientToScreen(&rcTitle);
        pFile->GetWindowRect(&rcMenu);
        EXPECT_EQ(CPoint(rcTitle.left, rcTitle.bottom) + c.ptMenu, rcMenu.TopLeft()) << c.nTheme;

        int nRecent = -1;
        for (int i = 0; i < pFile->GetControls()->GetCount(); i++)
            if (pFile->GetControls()->GetAt(i)->GetCaption() == L"&Recenti")
                nRecent = i;
        ASSERT_GE(nRecent, 0);
        pFile->SetPopuped(nRecent, TRUE);
        CXTPControl* pRecent = pFile->GetControls()->GetAt(nRecent);
        CXTPCommandBar* pSubMenu = pRecent->GetCommandBar();
        ASSERT_TRUE(pSubMenu && pSubMenu->IsTrackingMode()) << c.nTheme;
        CRect rcItem = pRecent->GetRect(), rcSubMenu;
        pFile->ClientToScreen(&rcItem);
        pSubMenu->GetWindowRect(&rcSubMenu);
        EXPECT_EQ(CPoint(rcItem.right, rcItem.top) + c.ptSubMenu, rcSubMenu.TopLeft()) << c.nTheme;
        pMenuBar->SetTrackingMode(0, TRUE, FALSE);
        Pump();
    }
}
