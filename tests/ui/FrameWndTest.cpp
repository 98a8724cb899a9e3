// The framework frame with its command bars, driven by real input: menus by mouse and keys reach the frame as a
// control notification and then a command, the idle update greys and ticks, popups close one level or all.
#include "FrameTestSupport.h"

#include "ui/commandbars/XTPPopupBar.h"
#include "ui/commandbars/XTPShortcutManager.h"
#include "ui/commandbars/XTPToolBar.h"

#include <gtest/gtest.h>

namespace
{
typedef CTestFrame::EVENT EVENT;

class FrameWndTest : public ::testing::Test
{
protected:
    CTestFrame* m_pFrame = nullptr;

    void SetUp() override
    {
        m_pFrame = CreateTestFrame();
        ASSERT_NE(nullptr, m_pFrame);
        // No animation: what the tests look at is there at once.
        m_pFrame->GetCommandBars()->GetCommandBarsOptions()->nAnimationType = 5;
    }
    void TearDown() override
    {
        CMouseManager::GetThreadManager()->UntrackAll();
        if (m_pFrame)
            m_pFrame->DestroyWindow();
        Pump();
    }
    void Pump(DWORD dwQuietMs = 80) { PumpFrame(m_pFrame ? m_pFrame->m_hWnd : nullptr, dwQuietMs); }
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
