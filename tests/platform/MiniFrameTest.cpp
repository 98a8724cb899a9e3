// CMiniFrameWnd with real windows: the tool-window frame and its owner, the caption kept active beside the
// owner frame, the blocked system menu and the hit tests of the frame styles.
#include "platform/mfc/afxwin.h"

#include <gtest/gtest.h>

namespace
{
const DWORD MINI_STYLE = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

// Notes whether a menu loop started; a menu that opened is closed at once so the test cannot hang on it.
class CWatchedMiniFrame : public CMiniFrameWnd
{
public:
    int m_nMenuLoops = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_ENTERMENULOOP || message == WM_INITMENUPOPUP)
            ++m_nMenuLoops;
        if (message == WM_ENTERIDLE)
            ::EndMenu();
        return CMiniFrameWnd::WindowProc(message, wParam, lParam);
    }
};

class MiniFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pOwner = new CFrameWnd;
        ASSERT_TRUE(m_pOwner->Create(nullptr, L"Principale", WS_OVERLAPPEDWINDOW, CRect(0, 0, 600, 400)));
        m_pOwner->ShowWindow(SW_SHOW);
        ::SetActiveWindow(m_pOwner->m_hWnd);
    }

    void TearDown() override
    {
        if (m_pOwner && ::IsWindow(m_pOwner->m_hWnd))
            m_pOwner->DestroyWindow();   // takes the owned and child mini frames with it
    }

    CWatchedMiniFrame* CreateMini(DWORD dwStyle, const RECT& rect = CRect(100, 100, 300, 250))
    {
        auto* pMini = new CWatchedMiniFrame;
        if (!pMini->Create(nullptr, L"Mobile", dwStyle, rect, m_pOwner))
            return nullptr;
        return pMini;
    }

    CFrameWnd* m_pOwner = nullptr;
};

TEST_F(MiniFrameTest, IsAFrameMadeByItsRuntimeClass)
{
    CObject* pObject = RUNTIME_CLASS(CMiniFrameWnd)->CreateObject();
    ASSERT_NE(pObject, nullptr);
    EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)));
    EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CFrameWnd)));
    EXPECT_FALSE(m_pOwner->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)));
    delete pObject;
}

TEST_F(MiniFrameTest, PopupIsAToolWindowOwnedByTheParentAndKeepsItsStylesToItself)
{
    CMiniFrameWnd* pMini = CreateMini(MINI_STYLE | MFS_BLOCKSYSMENU | MFS_SYNCACTIVE | MFS_4THICKFRAME);
    ASSERT_NE(pMini, nullptr);
    EXPECT_TRUE(pMini->GetExStyle() & WS_EX_TOOLWINDOW);
    EXPECT_EQ(::GetWindow(pMini->m_hWnd, GW_OWNER), m_pOwner->m_hWnd);
    EXPECT_EQ(pMini->GetMiniStyle(), DWORD(MFS_BLOCKSYSMENU | MFS_SYNCACTIVE | MFS_4THICKFRAME));
    EXPECT_EQ(pMini->GetStyle() & 0xFFFF & (MFS_BLOCKSYSMENU | MFS_SYNCACTIVE | MFS_4THICKFRAME), 0u);
    EXPECT_EQ(pMini->GetStyle() & MINI_STYLE, MINI_STYLE);
}

TEST_F(MiniFrameTest, ChildMiniFrameLivesInItsParentWithItsId)
{
    auto* pMini = new CMiniFrameWnd;
    ASSERT_TRUE(pMini->Create(nullptr, L"Nascosta", WS_CHILD | WS_VISIBLE | WS_CAPTION | MFS_MOVEFRAME,
                              CRect(10, 10, 200, 150), m_pOwner, 0xE900));
    EXPECT_EQ(::GetParent(pMini->m_hWnd), m_pOwner->m_hWnd);
    EXPECT_EQ(::GetDlgCtrlID(pMini->m_hWnd), 0xE900);
    EXPECT_EQ(pMini->GetMiniStyle(), DWORD(MFS_MOVEFRAME));
    EXPECT_EQ(CWnd::FromHandlePermanent(pMini->m_hWnd), pMini);
}

// With the owner frame active a deactivation leaves the caption active only with MFS_SYNCACTIVE.
TEST_F(MiniFrameTest, SyncActiveCaptionStaysActiveBesideTheOwner)
{
    for (DWORD dwSync : {DWORD(0), DWORD(MFS_SYNCACTIVE)}) {
        SCOPED_TRACE(dwSync);
        CMiniFrameWnd* pMini = CreateMini(MINI_STYLE | dwSync);
        ASSERT_NE(pMini, nullptr);
        pMini->ShowWindow(SW_SHOWNOACTIVATE);
        ::SetActiveWindow(m_pOwner->m_hWnd);
        ASSERT_EQ(::GetActiveWindow(), m_pOwner->m_hWnd);

        pMini->SendMessage(WM_NCACTIVATE, TRUE);
        EXPECT_TRUE(pMini->IsCaptionActive());
        EXPECT_TRUE(pMini->SendMessage(WM_NCACTIVATE, FALSE));   // the deactivation is never refused
        EXPECT_EQ(pMini->IsCaptionActive(), dwSync != 0);
        pMini->DestroyWindow();
    }
}

// Activating the mini frame and going back to the owner: the caption ends active beside the owner, and
// inactive once an unrelated window takes the activation.
TEST_F(MiniFrameTest, SyncActiveCaptionFollowsRealActivation)
{
    CMiniFrameWnd* pMini = CreateMini(MINI_STYLE | MFS_SYNCACTIVE);
    ASSERT_NE(pMini, nullptr);
    pMini->ShowWindow(SW_SHOW);
    ::SetActiveWindow(pMini->m_hWnd);
    ASSERT_EQ(::GetActiveWindow(), pMini->m_hWnd);
    EXPECT_TRUE(pMini->IsCaptionActive());

    ::SetActiveWindow(m_pOwner->m_hWnd);
    ASSERT_EQ(::GetActiveWindow(), m_pOwner->m_hWnd);
    EXPECT_TRUE(pMini->IsCaptionActive());

    auto* pOther = new CFrameWnd;
    ASSERT_TRUE(pOther->Create(nullptr, L"Altra", WS_OVERLAPPEDWINDOW, CRect(50, 50, 300, 300)));
    pOther->ShowWindow(SW_SHOW);
    ::SetActiveWindow(pOther->m_hWnd);
    ASSERT_EQ(::GetActiveWindow(), pOther->m_hWnd);
    pMini->SendMessage(WM_IDLEUPDATECMDUI, TRUE);   // what the idle update does
    EXPECT_FALSE(pMini->IsCaptionActive());
    pOther->DestroyWindow();
}

TEST_F(MiniFrameTest, BlockedSystemMenuDoesNotOpen)
{
    CWatchedMiniFrame* pMini = CreateMini(MINI_STYLE | MFS_BLOCKSYSMENU);
    ASSERT_NE(pMini, nullptr);
    pMini->ShowWindow(SW_SHOW);
    ::SetActiveWindow(pMini->m_hWnd);
    pMini->SendMessage(WM_SYSCOMMAND, SC_KEYMENU, ' ');
    pMini->SendMessage(WM_SYSCOMMAND, SC_MOUSEMENU, 0);
    EXPECT_EQ(pMini->m_nMenuLoops, 0);
    EXPECT_TRUE(::IsWindow(pMini->m_hWnd));
}

// Hit tests at the frame: the corners and sides of the window, as the system sees them and as the styles
// map them.
TEST_F(MiniFrameTest, FrameHitTestsFollowTheStyles)
{
    struct Case
    {
        DWORD dwMiniStyle;
        int nWhere;   // the system's own answer at the point picked
        LRESULT nExpected;
    };
    const Case cases[] = {
        {0, HTTOPLEFT, HTTOPLEFT},
        {0, HTLEFT, HTLEFT},
        {MFS_4THICKFRAME, HTTOPLEFT, HTTOP},
        {MFS_4THICKFRAME, HTTOPRIGHT, HTTOP},
        {MFS_4THICKFRAME, HTBOTTOMLEFT, HTBOTTOM},
        {MFS_4THICKFRAME, HTBOTTOMRIGHT, HTBOTTOM},
        {MFS_4THICKFRAME, HTLEFT, HTLEFT},
        {MFS_4THICKFRAME, HTBOTTOM, HTBOTTOM},
        {MFS_MOVEFRAME, HTTOPLEFT, HTCAPTION},
        {MFS_MOVEFRAME, HTRIGHT, HTCAPTION},
        {MFS_MOVEFRAME, HTBOTTOM, HTCAPTION},
        {MFS_MOVEFRAME | MFS_4THICKFRAME, HTBOTTOMRIGHT, HTCAPTION},
        {MFS_MOVEFRAME, HTCLIENT, HTCLIENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.dwMiniStyle << " at " << c.nWhere);
        CMiniFrameWnd* pMini = CreateMini(MINI_STYLE | c.dwMiniStyle);
        ASSERT_NE(pMini, nullptr);
        pMini->ShowWindow(SW_SHOWNOACTIVATE);
        CRect rc;
        pMini->GetWindowRect(&rc);
        CPoint center = rc.CenterPoint();
        CPoint pt = center;
        switch (c.nWhere) {
        case HTTOPLEFT: pt = CPoint(rc.left + 1, rc.top + 1); break;
        case HTTOPRIGHT: pt = CPoint(rc.right - 2, rc.top + 1); break;
        case HTBOTTOMLEFT: pt = CPoint(rc.left + 1, rc.bottom - 2); break;
        case HTBOTTOMRIGHT: pt = CPoint(rc.right - 2, rc.bottom - 2); break;
        case HTLEFT: pt = CPoint(rc.left + 1, center.y); break;
        case HTRIGHT: pt = CPoint(rc.right - 2, center.y); break;
        case HTBOTTOM: pt = CPoint(center.x, rc.bottom - 2); break;
        }
        // The point must be what the system calls it, or the mapping is not tested at all.
        ASSERT_EQ(::DefWindowProcW(pMini->m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)), c.nWhere);
        EXPECT_EQ(pMini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)), c.nExpected);
        pMini->DestroyWindow();
    }
}
} // namespace

// A synchronised floating frame is part of its owner to the user: the keyboard's menu and Alt+F4 go to the
// owner, its own close button and menu close it alone; and the owner keeps the keyboard while it is active.
TEST_F(MiniFrameTest, SynchronisedFrameHandsKeyboardCommandsToItsOwner)
{
    struct Case
    {
        UINT nCommand;
        BOOL bAltF4Down;
        BOOL bOwners;
    } cases[] = {{SC_KEYMENU, FALSE, TRUE}, {SC_CLOSE, TRUE, TRUE}, {SC_CLOSE, FALSE, FALSE},
                 {SC_MOVE, TRUE, FALSE}, {SC_MOUSEMENU, FALSE, FALSE}};
    for (const Case& c : cases)
        EXPECT_EQ(c.bOwners, CMiniFrameWnd::IsOwnersSysCommand(c.nCommand, c.bAltF4Down)) << std::hex << c.nCommand;

    CWatchedMiniFrame* pSynced = CreateMini(MINI_STYLE | MFS_BLOCKSYSMENU | MFS_SYNCACTIVE);
    CWatchedMiniFrame* pAlone = CreateMini(MINI_STYLE | MFS_BLOCKSYSMENU);
    ASSERT_TRUE(pSynced && pAlone);
    HWND hOwner = m_pOwner->m_hWnd;
    EXPECT_TRUE(CMiniFrameWnd::IsActiveWith(hOwner, hOwner));
    EXPECT_TRUE(CMiniFrameWnd::IsActiveWith(hOwner, pSynced->m_hWnd));
    EXPECT_FALSE(CMiniFrameWnd::IsActiveWith(hOwner, pAlone->m_hWnd));
    EXPECT_FALSE(CMiniFrameWnd::IsActiveWith(hOwner, nullptr));
    EXPECT_FALSE(CMiniFrameWnd::IsActiveWith(pSynced->m_hWnd, hOwner));

    // Alt+F4 pressed in the synchronised frame closes the owner, which takes its frames with it.
    BYTE keys[256] = {}, saved[256] = {};
    ::GetKeyboardState(saved);
    memcpy(keys, saved, sizeof keys);
    keys[VK_MENU] = keys[VK_F4] = 0x80;
    ::SetKeyboardState(keys);
    HWND hAlone = pAlone->m_hWnd;
    pAlone->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(::IsWindow(hAlone));
    EXPECT_TRUE(::IsWindow(hOwner));
    pSynced->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    ::SetKeyboardState(saved);
    EXPECT_FALSE(::IsWindow(hOwner));
}
