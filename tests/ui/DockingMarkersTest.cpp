// The translucent drag: ghost windows where the element would land and docking markers on the container under
// the cursor and along the frame, checked by window rectangles, window styles and hit tests (layered windows
// show opaque without a compositor, so their look is not compared).
#include "DockingTestSupport.h"

#include "ui/docking/DockingPaneContext.h"
#include "ui/docking/DockingPaneMarkerWnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace
{
class DockingMarkersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CDockTestFrame;
        ASSERT_TRUE(m_pFrame->CreateHidden(CRect(40, 40, 640, 440)));
        m_pManager = &m_pFrame->m_paneManager;
        m_pContext = m_pManager->GetDockingContext();
        m_pManager->m_bShowContentsWhileDragging = TRUE;
        m_pManager->m_bShowDockingContextStickers = TRUE;
        // H[T(4000),C,T(4001)]; 4001 wide enough that its centre marker keeps clear of the frame's edge markers.
        m_pManager->CreatePane(4000, CRect(0, 0, 150, 120), xtpPaneDockLeft);
        m_pManager->CreatePane(4001, CRect(0, 0, 250, 120), xtpPaneDockRight);
        m_pFrame->RecalcLayout();
    }
    void TearDown() override
    {
        m_pContext->EndDrag();
        m_pFrame->DestroyWindow();
    }

    std::string Tree() { return DescribeLayout(m_pManager->GetCurrentLayout()); }
    CXTPDockingPaneTabbedContainer* Container(UINT nID) { return m_pManager->FindPane(nID)->GetTabbedContainer(); }
    // A drag of 4000's container by its caption, moved to a point.
    void DragTo(CPoint pt)
    {
        CRect rc = Container(4000)->GetScreenRect();
        m_pContext->BeginDrag(Container(4000), CPoint(rc.left + 20, rc.top + 5));
        m_pContext->InitLoop();
        m_pContext->Move(pt);
    }
    CRect WindowRect(CWnd* pWnd)
    {
        CRect rc;
        pWnd->GetWindowRect(rc);
        return rc;
    }
    static BOOL InShape(CWnd* pWnd, CPoint ptWindow)
    {
        HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
        BOOL bIn = ::GetWindowRgn(pWnd->GetSafeHwnd(), hRgn) != ERROR && ::PtInRegion(hRgn, ptWindow.x, ptWindow.y);
        ::DeleteObject(hRgn);
        return bIn;
    }
    // The centre of the container's pane area: inside it, off its caption and tabs.
    CPoint Inside(CXTPDockingPaneElement* pElement)
    {
        CRect rc = pElement->GetScreenRect();
        return CPoint(rc.CenterPoint().x, rc.top + rc.Height() * 2 / 3);
    }

    CDockTestFrame* m_pFrame = nullptr;
    CXTPDockingPaneManager* m_pManager = nullptr;
    CXTPDockingPaneContext* m_pContext = nullptr;
};
}

TEST_F(DockingMarkersTest, MarkersSitOnTheContainerUnderTheCursorAndAlongTheFrame)
{
    struct Case
    {
        const char* name;
        int nStyle;
        BOOL bClient;
        int nCentreFlags;
        CSize szCentre, szAcross, szAlong;
    };
    const Case cases[] = {
        {"container, style 0", 0, FALSE, 63, CSize(93, 93), CSize(43, 30), CSize(30, 43)},
        {"client, style 0", 0, TRUE, 47, CSize(93, 93), CSize(43, 30), CSize(30, 43)},
        {"container, style 1", 1, FALSE, 63, CSize(89, 89), CSize(29, 32), CSize(32, 29)},
        {"client, style 1", 1, TRUE, 47, CSize(89, 89), CSize(29, 32), CSize(32, 29)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_pManager->m_nStickerStyle = c.nStyle;
        CXTPDockingPaneElement* pUnder = c.bClient ? m_pManager->GetClientPane() : Container(4001);
        DragTo(Inside(pUnder));
        ASSERT_TRUE(m_pContext->IsTranslucent());
        ASSERT_TRUE(m_pContext->IsUseMarkers());
        const std::vector<CXTPDockingPaneMarkerWnd*>& markers = m_pContext->GetMarkers();
        ASSERT_EQ(5u, markers.size());
        // The centre marker on the middle of what lies under the cursor.
        CRect rcUnder = pUnder->GetScreenRect();
        CPoint ptCentre((rcUnder.left + rcUnder.right) / 2, (rcUnder.top + rcUnder.bottom) / 2);
        EXPECT_EQ(c.nCentreFlags, markers[0]->GetFlags());
        EXPECT_EQ(CRect(ptCentre - CSize(c.szCentre.cx / 2, c.szCentre.cy / 2), c.szCentre), WindowRect(markers[0]));
        // Edge markers 16 pixels inside the frame's docking area: top, left, bottom, right.
        CRect R = m_pManager->GetTopContainer()->GetScreenRect();
        CSize a = c.szAcross, b = c.szAlong;
        const CRect edges[] = {
            CRect(CPoint(R.left + (R.Width() - a.cx) / 2, R.top + 16), a),
            CRect(CPoint(R.left + 16, R.top + (R.Height() - b.cy) / 2), b),
            CRect(CPoint(R.left + (R.Width() - a.cx) / 2, R.bottom - a.cy - 16), a),
            CRect(CPoint(R.right - b.cx - 16, R.top + (R.Height() - b.cy) / 2), b),
        };
        const int flags[] = {xtpMarkerTop, xtpMarkerLeft, xtpMarkerBottom, xtpMarkerRight};
        for (int i = 0; i < 4; i++) {
            EXPECT_EQ(flags[i], markers[i + 1]->GetFlags()) << i;
            EXPECT_EQ(edges[i], WindowRect(markers[i + 1])) << i;
            EXPECT_TRUE(markers[i + 1]->GetExStyle() & WS_EX_TOOLWINDOW);
            // Shaped to the artwork: the piece's middle is part of the window, its transparent corner not.
            EXPECT_TRUE(InShape(markers[i + 1], CPoint(edges[i].Width() / 2, edges[i].Height() / 2)));
            EXPECT_FALSE(InShape(markers[i + 1], CPoint(0, 0)));
        }
        m_pContext->EndDrag();
        EXPECT_TRUE(m_pContext->GetMarkers().empty());
    }
}

namespace
{
// Where the middle of each piece of a style-0 centre marker lies in it (the pieces' places and sizes).
const CPoint ptTopPiece(46, 15), ptLeftPiece(15, 46), ptBottomPiece(46, 78), ptRightPiece(78, 46), ptTabPiece(46, 46);
}

TEST_F(DockingMarkersTest, TheMarkerUnderTheCursorChoosesWhereTheDropGoes)
{
    CXTPDockingPaneTabbedContainer* pTarget = Container(4001);
    CXTPDockingPaneElement* pTop = m_pManager->GetTopContainer();
    DragTo(Inside(pTarget));
    ASSERT_EQ(5u, m_pContext->GetMarkers().size());
    CPoint ptCentreMarker = WindowRect(m_pContext->GetMarkers()[0]).TopLeft();
    CRect rcLeftEdge = WindowRect(m_pContext->GetMarkers()[2]);
    struct Case
    {
        const char* name;
        CPoint pt;
        CXTPDockingPaneElement* pTarget;
        int nDirection;   // -1: attached as a tab
        int nHotCode;     // of the centre marker
    };
    const Case cases[] = {
        {"top arrow", ptCentreMarker + ptTopPiece, pTarget, xtpPaneDockTop, xtpMarkerTop},
        {"left arrow", ptCentreMarker + ptLeftPiece, pTarget, xtpPaneDockLeft, xtpMarkerLeft},
        {"bottom arrow", ptCentreMarker + ptBottomPiece, pTarget, xtpPaneDockBottom, xtpMarkerBottom},
        {"right arrow", ptCentreMarker + ptRightPiece, pTarget, xtpPaneDockRight, xtpMarkerRight},
        {"tab", ptCentreMarker + ptTabPiece, pTarget, -1, xtpMarkerTab},
        {"corner of the centre marker", ptCentreMarker + CPoint(2, 2), nullptr, 0, 0},
        {"left edge of the frame", rcLeftEdge.CenterPoint(), pTop, xtpPaneDockLeft, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_pContext->Move(c.pt);
        EXPECT_EQ(c.pTarget, m_pContext->GetTarget());
        EXPECT_EQ(c.nDirection < 0, m_pContext->IsAttachAsTab());
        if (c.pTarget && c.nDirection >= 0) {
            EXPECT_EQ(c.nDirection, m_pContext->GetDirection());
            CRect rcExpected;
            m_pManager->CalcDockingRect(rcExpected, Container(4000), c.nDirection, c.pTarget);
            EXPECT_EQ(rcExpected, m_pContext->GetDockingRect());
        }
        const std::vector<CXTPDockingPaneMarkerWnd*>& markers = m_pContext->GetMarkers();
        ASSERT_FALSE(markers.empty());
        if (markers[0]->GetFlags() & xtpMarkerCentre) {
            EXPECT_EQ(c.nHotCode, markers[0]->GetHotCode());
        }
    }
    // Only the marker under the cursor is hot.
    for (CXTPDockingPaneMarkerWnd* pMarker : m_pContext->GetMarkers())
        EXPECT_EQ(pMarker->GetFlags() == xtpMarkerLeft ? xtpMarkerLeft : 0, pMarker->GetHotCode());
}

TEST_F(DockingMarkersTest, HitTestsFollowTheShapesOfThePieces)
{
    DragTo(Inside(Container(4001)));
    CXTPDockingPaneMarkerWnd* pCentre = m_pContext->GetMarkers()[0];
    CPoint ptOrigin = WindowRect(pCentre).TopLeft();
    struct Case
    {
        CPoint pt;
        int nCode;
    };
    const Case cases[] = {
        {ptTopPiece, xtpMarkerTop}, {ptLeftPiece, xtpMarkerLeft}, {ptBottomPiece, xtpMarkerBottom},
        {ptRightPiece, xtpMarkerRight}, {ptTabPiece, xtpMarkerTab}, {CPoint(2, 2), 0}, {CPoint(90, 90), 0},
        {CPoint(-5, 46), 0}, {CPoint(200, 46), 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.nCode, pCentre->HitTest(ptOrigin + c.pt)) << c.pt.x << "," << c.pt.y;
        EXPECT_EQ(c.nCode != 0, InShape(pCentre, c.pt)) << c.pt.x << "," << c.pt.y;
    }
}

TEST_F(DockingMarkersTest, VetoedChoicesGetNoArrows)
{
    struct Case
    {
        const char* name;
        std::set<int> vetoed;
        size_t nMarkers;
        int nCentreFlags;
    };
    const Case cases[] = {
        {"docking", {xtpPaneActionDocking}, 1, xtpMarkerCentre | xtpMarkerTab},
        {"attaching", {xtpPaneActionAttaching}, 5, xtpMarkerCentre | 15},
        {"both", {xtpPaneActionDocking, xtpPaneActionAttaching}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_pFrame->m_vetoedActions = c.vetoed;
        DragTo(Inside(Container(4001)));
        const std::vector<CXTPDockingPaneMarkerWnd*>& markers = m_pContext->GetMarkers();
        ASSERT_EQ(c.nMarkers, markers.size());
        if (!markers.empty()) {
            EXPECT_EQ(c.nCentreFlags, markers[0]->GetFlags());
        }
        m_pContext->EndDrag();
    }
}

TEST_F(DockingMarkersTest, GhostsShowTheFloatingPlaceAndTheTabTranslucently)
{
    m_pManager->m_bShowDockingContextStickers = FALSE;
    CRect rcTarget = Container(4001)->GetScreenRect();
    DragTo(CPoint(rcTarget.right + 300, rcTarget.top + 300));
    ASSERT_TRUE(m_pContext->IsTranslucent());
    EXPECT_FALSE(m_pContext->IsUseMarkers());
    EXPECT_TRUE(m_pContext->GetMarkers().empty());
    CXTPDockingPaneGhostWnd* pGhost = m_pContext->GetGhost();
    ASSERT_TRUE(pGhost->GetSafeHwnd());
    EXPECT_EQ(nullptr, m_pContext->GetTarget());
    EXPECT_EQ(m_pContext->GetFloatingRect(), WindowRect(pGhost));
    EXPECT_EQ(static_cast<DWORD>(WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW),
              pGhost->GetExStyle() & (WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
    BYTE nAlpha = 0;
    DWORD dwFlags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(pGhost->GetSafeHwnd(), nullptr, &nAlpha, &dwFlags));
    EXPECT_EQ(100, nAlpha);
    EXPECT_EQ(static_cast<DWORD>(LWA_ALPHA), dwFlags);
    EXPECT_FALSE(m_pContext->GetTabGhost()->GetSafeHwnd());

    // Over the other container's caption: the body less the tab's height, and a tab ghost below its left end.
    m_pContext->Move(CPoint(rcTarget.left + 30, rcTarget.top + 5));
    ASSERT_TRUE(m_pContext->IsAttachAsTab());
    CRect rc = m_pContext->GetDockingRect();
    int h = std::min(20, rc.Height() / 2), w = std::min(50, rc.Width() - 5);
    ASSERT_TRUE(m_pContext->GetTabGhost()->GetSafeHwnd());
    EXPECT_EQ(CRect(rc.left + 5, rc.bottom - h, rc.left + 5 + w, rc.bottom), WindowRect(m_pContext->GetTabGhost()));
    EXPECT_EQ(CRect(rc.left, rc.top, rc.right, rc.bottom - h), WindowRect(m_pContext->GetGhost()));

    // Away again: the tab ghost goes; the end of the drag takes the ghost too.
    m_pContext->Move(CPoint(rcTarget.right + 300, rcTarget.top + 300));
    EXPECT_FALSE(m_pContext->GetTabGhost()->GetSafeHwnd());
    EXPECT_TRUE(m_pContext->GetGhost()->IsWindowVisible());
    m_pContext->EndDrag();
    EXPECT_FALSE(m_pContext->GetGhost()->GetSafeHwnd());

    // An element that may not float shows nothing away from targets.
    m_pFrame->m_vetoedActions = {xtpPaneActionFloating};
    DragTo(CPoint(rcTarget.right + 300, rcTarget.top + 300));
    EXPECT_FALSE(m_pContext->IsFloatable());
    EXPECT_FALSE(m_pContext->GetGhost()->GetSafeHwnd() && m_pContext->GetGhost()->IsWindowVisible());
}

TEST_F(DockingMarkersTest, ADropOnAnArrowDocksThere)
{
    CRect rcTarget = Container(4001)->GetScreenRect();
    CPoint ptCentre((rcTarget.left + rcTarget.right) / 2, (rcTarget.top + rcTarget.bottom) / 2);
    CPoint ptLeftArrow = ptCentre - CSize(46, 46) + ptLeftPiece;
    CRect rc = Container(4000)->GetScreenRect();
    CPoint ptStart(rc.left + 20, rc.top + 5);
    MSG msgOld;
    while (::PeekMessageW(&msgOld, m_pFrame->GetSafeHwnd(), 0, 0, PM_REMOVE)) {
    }
    for (auto [nMessage, pt] : {std::make_pair(WM_MOUSEMOVE, Inside(Container(4001))), std::make_pair(WM_MOUSEMOVE, ptLeftArrow),
                                std::make_pair(WM_LBUTTONUP, ptLeftArrow)}) {
        m_pFrame->ScreenToClient(&pt);
        m_pFrame->PostMessage(nMessage, 0, MAKELPARAM(pt.x, pt.y));
    }
    m_pContext->Drag(Container(4000), ptStart);
    EXPECT_EQ("H[C,T(4000),T(4001)]", Tree());
    EXPECT_TRUE(m_pContext->GetMarkers().empty());
    EXPECT_FALSE(m_pContext->GetGhost()->GetSafeHwnd());
}
