// Docking on a shown frame driven by real input (SendInput): a pane dragged by its caption docks or joins as a
// tab, splitter bars move with the tracker and live. A watchdog timer ends any modal loop whose input got lost,
// so that a test fails instead of hanging.
#include "DockingTestSupport.h"

#include <gtest/gtest.h>

namespace
{
void Pump(DWORD dwQuietMs = 60)
{
    DWORD dwStart = ::GetTickCount(), dwLast = dwStart;
    while (::GetTickCount() - dwLast < dwQuietMs && ::GetTickCount() - dwStart < 5000) {
        MSG msg;
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
            dwLast = ::GetTickCount();
        } else {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
}

INPUT MouseInput(CPoint ptScreen, DWORD dwFlags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = ptScreen.x * 65536 / ::GetSystemMetrics(SM_CXSCREEN) + 1;
    input.mi.dy = ptScreen.y * 65536 / ::GetSystemMetrics(SM_CYSCREEN) + 1;
    input.mi.dwFlags = dwFlags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

INPUT KeyInput(WORD nKey, DWORD dwFlags)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = nKey;
    input.ki.dwFlags = dwFlags;
    return input;
}

void CALLBACK Watchdog(HWND, UINT, UINT_PTR nID, DWORD)
{
    ::KillTimer(nullptr, nID);
    ::ReleaseCapture();
}

class DockingInputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CDockTestFrame;
        ASSERT_TRUE(m_pFrame->CreateHidden(CRect(530, 300, 1010, 660), WS_EX_TOPMOST));
        m_pManager = &m_pFrame->m_paneManager;
        m_pManager->CreatePane(4000, CRect(0, 0, 140, 120), xtpPaneDockLeft);
        m_pManager->CreatePane(4001, CRect(0, 0, 140, 120), xtpPaneDockRight);
        m_pFrame->ShowWindow(SW_SHOW);
        m_pFrame->RecalcLayout();
        for (int i = 0; i < 20 && ::GetForegroundWindow() != m_pFrame->m_hWnd; i++) {
            ::SetForegroundWindow(m_pFrame->m_hWnd);
            Pump(20);
        }
        Pump();
    }
    void TearDown() override
    {
        ::KillTimer(nullptr, m_nWatchdog);
        m_pFrame->DestroyWindow();
    }

    std::string Tree() { return DescribeLayout(m_pManager->GetCurrentLayout()); }
    CRect ScreenRect(CXTPDockingPaneElement* pElement) { return pElement->GetScreenRect(); }
    CXTPDockingPaneTabbedContainer* Container(UINT nID) { return m_pManager->FindPane(nID)->GetTabbedContainer(); }
    // Press at one point, move in steps to another, release there; with bControl the Ctrl key is held meanwhile.
    void DragBy(CPoint ptFrom, CPoint ptTo, BOOL bControl = FALSE)
    {
        m_nWatchdog = ::SetTimer(nullptr, 0, 3000, Watchdog);
        std::vector<INPUT> inputs = {MouseInput(ptFrom, 0), MouseInput(ptFrom, MOUSEEVENTF_LEFTDOWN)};
        for (int i = 1; i <= 4; i++) {
            if (bControl && i == 2)
                inputs.push_back(KeyInput(VK_CONTROL, 0));
            inputs.push_back(MouseInput(ptFrom + CSize((ptTo.x - ptFrom.x) * i / 4, (ptTo.y - ptFrom.y) * i / 4), 0));
        }
        inputs.push_back(MouseInput(ptTo, MOUSEEVENTF_LEFTUP));
        if (bControl)
            inputs.push_back(KeyInput(VK_CONTROL, KEYEVENTF_KEYUP));
        ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        Pump(150);
        ::KillTimer(nullptr, m_nWatchdog);
        m_nWatchdog = 0;
        m_pFrame->RecalcLayout();
    }

    CDockTestFrame* m_pFrame = nullptr;
    CXTPDockingPaneManager* m_pManager = nullptr;
    UINT_PTR m_nWatchdog = 0;
};

TEST_F(DockingInputTest, APaneDraggedByItsCaptionDocksOrJoinsAsATab)
{
    CPoint ptCaption = ScreenRect(Container(4001)).TopLeft() + CSize(30, 8);
    CRect rcClient = ScreenRect(m_pManager->GetClientPane());
    DragBy(ptCaption, CPoint(rcClient.left + 3, rcClient.CenterPoint().y));
    EXPECT_EQ("H[T(4000),T(4001),C]", Tree());

    ptCaption = ScreenRect(Container(4001)).TopLeft() + CSize(30, 8);
    CPoint ptOtherCaption = ScreenRect(Container(4000)).TopLeft() + CSize(30, 8);
    DragBy(ptCaption, ptOtherCaption);
    EXPECT_EQ("H[T(4000,4001*),C]", Tree());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(DockingInputTest, HoldingCtrlFloatsThePaneWhereItWouldHaveDocked)
{
    CPoint ptCaption = ScreenRect(Container(4001)).TopLeft() + CSize(30, 8);
    CRect rcClient = ScreenRect(m_pManager->GetClientPane());
    DragBy(ptCaption, CPoint(rcClient.left + 3, rcClient.CenterPoint().y), TRUE);
    EXPECT_EQ("H[T(4000),C,T()] F{H[T(4001)]}", Tree());
    EXPECT_GE(::GetKeyState(VK_CONTROL), 0);
}

TEST_F(DockingInputTest, SplitterBarsMoveWithTheTrackerAndLive)
{
    for (BOOL bTracker : {TRUE, FALSE}) {
        SCOPED_TRACE(bTracker ? "tracker" : "live");
        m_pManager->m_bUseSplitterTracker = bTracker;
        CXTPDockingPaneSplitterWnd* pBar = m_pManager->GetTopContainer()->GetSplitters()[0];
        ASSERT_EQ(Container(4000), pBar->GetFirst());
        int nWidth = Container(4000)->GetPaneWindowRect().Width();
        CRect rcBar;
        pBar->GetWindowRect(rcBar);
        DragBy(rcBar.CenterPoint(), rcBar.CenterPoint() + CSize(40, 0));
        Pump();
        m_pFrame->RecalcLayout();
        EXPECT_EQ(nWidth + 40, Container(4000)->GetPaneWindowRect().Width());
        EXPECT_EQ(nWidth + 40, Container(4000)->GetDockingSize().cx);
    }
}
}
