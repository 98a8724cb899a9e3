// Tips of a tabbed container: a visible caption button names itself by its string, a tab shows its pane's title
// as the tab painter's tip mode allows, and a mouse move over the container drives its tip context.
#include "DockingTestSupport.h"

#include "ui/themes/InputSource.h"
#include "ui/themes/TabPainter.h"
#include "ui/themes/TipWnd.h"
#include "ui/uires.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
CPoint g_ptCursor;
BOOL TipCursorPos(LPPOINT lpPoint)
{
    *lpPoint = g_ptCursor;
    return TRUE;
}

// A clock that runs 25 ms on at every look: a held scroll arrow ticks at once.
DWORD g_dwFastTicks = 0;
DWORD FastTicks()
{
    return g_dwFastTicks += 25;
}

class DockingContainerTipsTest : public ::testing::Test
{
protected:
    CDockTestFrame* m_pFrame = new CDockTestFrame;
    CXTPDockingPaneTabbedContainer* m_pContainer = nullptr;
    CXTPInputSource::PFN_CURSORPOS m_pfnOldCursor = nullptr;
    int m_nOldMode = 0;

    CXTPDockingPaneManager& Manager() { return m_pFrame->m_paneManager; }
    CXTPTabPainter* Painter() { return Manager().GetPaintManager()->GetPaneTabPainter(); }

    // Two panes as tabs of one docked container; titles with a tab caption after the newline.
    void SetUp() override
    {
        m_pfnOldCursor = CXTPInputSource::SetCursorPosSource(TipCursorPos);
        ASSERT_TRUE(m_pFrame->CreateHidden());
        Manager().SetTheme(2);
        CXTPDockingPane* pFirst = Manager().CreatePane(4000, CRect(0, 0, 220, 160), xtpPaneDockLeft);
        pFirst->SetTitle(L"Navigazione\nAlbero");
        CXTPDockingPane* pSecond = Manager().CreatePane(4001, CRect(0, 0, 220, 160), xtpPaneDockLeft);
        pSecond->SetTitle(L"Proprietà dell'ente\nEnte");
        Manager().AttachPane(pSecond, pFirst);
        m_pFrame->RecalcLayout();
        m_pContainer = pFirst->GetTabbedContainer();
        ASSERT_NE(nullptr, m_pContainer);
        ASSERT_EQ(m_pContainer, pSecond->GetTabbedContainer());
        ASSERT_TRUE(m_pContainer->IsTabsVisible());
        // The theme places the caption buttons as it draws them.
        m_pContainer->SendMessage(WM_PAINT);
        m_nOldMode = Painter()->m_nToolTipMode;
    }
    void TearDown() override
    {
        Painter()->m_nToolTipMode = m_nOldMode;
        m_pFrame->DestroyWindow();
        CXTPInputSource::SetCursorPosSource(m_pfnOldCursor);
    }
    CPoint TabCentre(int nIndex) { return m_pContainer->GetItem(nIndex)->GetRect().CenterPoint(); }
    CPoint ButtonCentre(UINT nID) { return m_pContainer->FindCaptionButton(nID)->GetRect().CenterPoint(); }
};
}

TEST_F(DockingContainerTipsTest, ButtonsAndTabsNameThemselves)
{
    struct Case
    {
        const char* name;
        int nMode;
        std::function<CPoint()> point;
        INT_PTR nHit;
        const wchar_t* text;
    };
    CPaneCaptionButton* pClose = m_pContainer->FindCaptionButton(XTP_IDS_DOCKINGPANE_CLOSE);
    ASSERT_FALSE(pClose->GetRect().IsRectEmpty());
    CRect rcClient;
    m_pContainer->CWnd::GetClientRect(rcClient);
    const Case cases[] = {
        {"close button", 1, [&] { return ButtonCentre(XTP_IDS_DOCKINGPANE_CLOSE); }, XTP_IDS_DOCKINGPANE_CLOSE, L"Chiudi"},
        {"pin button", 1, [&] { return ButtonCentre(XTP_IDS_DOCKINGPANE_AUTOHIDE); }, XTP_IDS_DOCKINGPANE_AUTOHIDE,
         L"Nascondi automaticamente"},
        {"first tab", 1, [&] { return TabCentre(0); }, 0, L"Navigazione"},
        {"second tab", 1, [&] { return TabCentre(1); }, 1, L"Proprietà dell'ente"},
        {"tab with tips off", 0, [&] { return TabCentre(0); }, -1, nullptr},
        {"tab not truncated", 2, [&] { return TabCentre(0); }, -1, nullptr},
        {"pane area", 1, [&] { return rcClient.CenterPoint(); }, -1, nullptr},
        {"button in tips off mode", 0, [&] { return ButtonCentre(XTP_IDS_DOCKINGPANE_CLOSE); },
         XTP_IDS_DOCKINGPANE_CLOSE, L"Chiudi"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Painter()->m_nToolTipMode = c.nMode;
        TTTOOLINFOW tool = {};
        tool.cbSize = TTTOOLINFOW_V1_SIZE;
        EXPECT_EQ(c.nHit, m_pContainer->OnToolHitTest(c.point(), &tool));
        if (!c.text) {
            EXPECT_EQ(nullptr, tool.lpszText);
            continue;
        }
        ASSERT_NE(nullptr, tool.lpszText);
        EXPECT_STREQ(c.text, tool.lpszText);
        EXPECT_EQ(m_pContainer->GetSafeHwnd(), tool.hwnd);
        EXPECT_TRUE(::PtInRect(&tool.rect, c.point()));
        free(tool.lpszText);
    }
}

TEST_F(DockingContainerTipsTest, AHiddenCloseButtonHasNoTip)
{
    Painter()->m_nToolTipMode = 1;
    CPoint pt = ButtonCentre(XTP_IDS_DOCKINGPANE_CLOSE);
    ASSERT_EQ(static_cast<INT_PTR>(XTP_IDS_DOCKINGPANE_CLOSE), m_pContainer->OnToolHitTest(pt, nullptr));
    m_pContainer->GetSelected()->SetOptions(xtpPaneNoCloseable);
    EXPECT_EQ(-1, m_pContainer->OnToolHitTest(pt, nullptr));
}

TEST_F(DockingContainerTipsTest, AMouseMoveOverATabGivesTheTipItsTool)
{
    Painter()->m_nToolTipMode = 1;
    m_pContainer->GetToolTipContext()->SetTipKind(CTipContext::kindPlain);
    CPoint pt = TabCentre(1);
    g_ptCursor = pt;
    m_pContainer->ClientToScreen(&g_ptCursor);
    m_pContainer->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    CTipWnd* pTip = static_cast<CTipWnd*>(m_pContainer->GetToolTipContext()->GetTipWindow());
    ASSERT_NE(nullptr, pTip);
    ASSERT_EQ(1, pTip->GetToolCount());
    EXPECT_EQ(CString(L"Proprietà dell'ente"), pTip->GetTool(0).strText);
    EXPECT_EQ(1u, pTip->GetTool(0).nID);
}

TEST_F(DockingContainerTipsTest, TheMenuButtonShowsPressedWhileItsMenuIsOpen)
{
    m_pContainer->GetSelected()->SetOptions(xtpPaneHasMenuButton);
    m_pFrame->RecalcLayout();
    m_pContainer->SendMessage(WM_PAINT);
    CPaneCaptionButton* pMenu = m_pContainer->FindCaptionButton(XTP_IDS_DOCKINGPANE_MENU);
    ASSERT_FALSE(pMenu->GetRect().IsRectEmpty());
    int nAsked = 0;
    BOOL bPressedMeanwhile = FALSE;
    m_pFrame->m_onPaneMenu = [&](XTP_DOCKINGPANE_CLICK* pClick) {
        nAsked++;
        bPressedMeanwhile = pMenu->IsPressed();
        EXPECT_EQ(m_pContainer->GetSelected(), pClick->pPane);
    };
    CPoint pt = ButtonCentre(XTP_IDS_DOCKINGPANE_MENU);
    m_pContainer->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(1, nAsked);
    EXPECT_TRUE(bPressedMeanwhile);
    EXPECT_FALSE(pMenu->IsPressed());
}

TEST_F(DockingContainerTipsTest, ADoubleClickOnAScrollArrowScrollsOnlyAsItsFirstPressDid)
{
    for (UINT nID = 4002; nID < 4008; nID++) {
        CXTPDockingPane* pPane = Manager().CreatePane(nID, CRect(0, 0, 220, 160), xtpPaneDockLeft);
        pPane->SetTitle(L"Riepilogo delle entrate\nRiepilogo delle entrate");
        Manager().AttachPane(pPane, m_pContainer->GetSelected());
    }
    Painter()->SetLayout(CXTPTabPainter::layoutAutoSize);
    CXTPTabManagerNavigateButton* pForward = m_pContainer->FindNavigateButton(CXTPTabManagerNavigateButton::idForward);
    ASSERT_NE(nullptr, pForward);
    pForward->SetMode(CXTPTabManagerNavigateButton::modeShow);
    m_pFrame->RecalcLayout();
    m_pContainer->SendMessage(WM_PAINT);
    ASSERT_FALSE(pForward->GetRect().IsRectEmpty());
    ASSERT_TRUE(pForward->IsEnabled());
    CXTPInputSource::PFN_TICKCOUNT pfnOld = CXTPInputSource::SetTickCountSource(FastTicks);
    CPoint pt = pForward->GetRect().CenterPoint();
    int nOffset = m_pContainer->GetHeaderOffset();
    m_pContainer->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    m_pContainer->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    int nAfter = m_pContainer->GetHeaderOffset();
    MSG msg;
    while (::PeekMessageW(&msg, m_pContainer->GetSafeHwnd(), WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE))
        ::DispatchMessageW(&msg);
    CXTPInputSource::SetTickCountSource(pfnOld);
    EXPECT_EQ(nOffset, nAfter);
}
