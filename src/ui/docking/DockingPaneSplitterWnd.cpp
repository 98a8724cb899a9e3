#include "ui/docking/DockingPaneSplitterContainer.h"

#include "ui/docking/DockingPaneLayout.h"
#include "ui/docking/DockingPaneManager.h"
#include "ui/docking/XTPDockingPaneThemes.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/uires.h"

#include <algorithm>

#include <windowsx.h>

BEGIN_MESSAGE_MAP(CXTPDockingPaneSplitterWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

void CXTPDockingPaneSplitterWnd::Create(CXTPDockingPaneSplitterContainer* pContainer, CXTPDockingPaneElement* pFirst,
                                        CXTPDockingPaneElement* pSecond)
{
    BOOL bNewContainer = m_pContainer != pContainer;
    m_pContainer = pContainer;
    m_pFirst = pFirst;
    m_pSecond = pSecond;
    // Bars are windows only in the manager's own layout, on a site that has a window; a bar given new neighbours
    // or a new site keeps its window.
    CWnd* pSite = pContainer->GetDockingSite();
    if (pContainer->GetLayout()->IsUserLayout() || !pSite || !pSite->GetSafeHwnd())
        return;
    if (!m_hWnd || bNewContainer)
        m_hCursor = XTPGetResourceLoader()->LoadCursor(pContainer->IsHoriz() ? XTP_IDC_HSPLITBAR : XTP_IDC_VSPLITBAR);
    if (m_hWnd) {
        if (::GetParent(m_hWnd) != pSite->GetSafeHwnd())
            ::SetParent(m_hWnd, pSite->GetSafeHwnd());
        return;
    }
    LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
    CreateEx(0, lpszClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), pSite, 0);
}

BOOL CXTPDockingPaneSplitterWnd::IsHorizontal() const
{
    return !m_pContainer->IsHoriz();
}

BOOL CXTPDockingPaneSplitterWnd::CalcTrackRect(CRect* pTrack, CRect* pUnion) const
{
    CXTPDockingPaneManager* pManager = m_pContainer->GetDockingPaneManager();
    int nGap = pManager->GetPaintManager()->GetSplitterWidth();
    int nMinDrag = pManager->m_nSplitterGap;
    pUnion->UnionRect(m_pFirst->GetScreenRect(), m_pSecond->GetScreenRect());
    *pTrack = *pUnion;
    MINMAXINFO mmiFirst, mmiSecond;
    m_pFirst->GetMinMaxInfo(&mmiFirst);
    m_pSecond->GetMinMaxInfo(&mmiSecond);
    if (m_pContainer->IsHoriz()) {
        pTrack->left += std::max(nMinDrag, static_cast<int>(mmiFirst.ptMinTrackSize.x));
        pTrack->right -= std::max(nMinDrag, static_cast<int>(mmiSecond.ptMinTrackSize.x) + nGap);
        if (pUnion->Width() > mmiFirst.ptMaxTrackSize.x)
            pTrack->right = std::min(pTrack->right, pUnion->left + static_cast<int>(mmiFirst.ptMaxTrackSize.x));
        if (pUnion->Width() > mmiSecond.ptMaxTrackSize.x)
            pTrack->left = std::max(pTrack->left, pUnion->right - static_cast<int>(mmiSecond.ptMaxTrackSize.x) - nGap);
    } else {
        pTrack->top += std::max(nMinDrag, static_cast<int>(mmiFirst.ptMinTrackSize.y));
        pTrack->bottom -= std::max(nMinDrag, static_cast<int>(mmiSecond.ptMinTrackSize.y) + nGap);
        if (pUnion->Height() > mmiFirst.ptMaxTrackSize.y)
            pTrack->bottom = std::min(pTrack->bottom, pUnion->top + static_cast<int>(mmiFirst.ptMaxTrackSize.y));
        if (pUnion->Height() > mmiSecond.ptMaxTrackSize.y)
            pTrack->top = std::max(pTrack->top, pUnion->bottom - static_cast<int>(mmiSecond.ptMaxTrackSize.y) - nGap);
    }
    return !pTrack->IsRectEmpty();
}

void CXTPDockingPaneSplitterWnd::SetNewSizes(int nPosition, const CRect& rcUnion)
{
    BOOL bHoriz = m_pContainer->IsHoriz();
    int nGap = m_pContainer->GetPaintManager()->GetSplitterWidth();
    int nExtent = bHoriz ? rcUnion.Width() : rcUnion.Height();
    if (nExtent <= 0)
        return;
    double dRatio = static_cast<double>(nPosition - (bHoriz ? rcUnion.left : rcUnion.top)) / nExtent;
    LONG& nFirst = bHoriz ? m_pFirst->m_szDocking.cx : m_pFirst->m_szDocking.cy;
    LONG& nSecond = bHoriz ? m_pSecond->m_szDocking.cx : m_pSecond->m_szDocking.cy;
    LONG nSum = nFirst + nSecond + nGap;
    nFirst = static_cast<LONG>(nSum * dRatio);
    if (bHoriz && m_pContainer->GetDockingPaneManager()->IsLayoutRTL())
        nFirst = nSum - nFirst - nGap;
    nSecond = nSum - nFirst - nGap;
}

BOOL CXTPDockingPaneSplitterWnd::CanMove() const
{
    CRect rcTrack, rcUnion;
    return CalcTrackRect(&rcTrack, &rcUnion);
}

void CXTPDockingPaneSplitterWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(rc);
    m_pContainer->GetPaintManager()->DrawSplitter(&dc, rc, IsHorizontal());
}

BOOL CXTPDockingPaneSplitterWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

BOOL CXTPDockingPaneSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (!m_pContainer->GetDockingPaneManager()->IsSplittersLocked() && m_hCursor && CanMove()) {
        ::SetCursor(m_hCursor);
        return TRUE;
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CXTPDockingPaneSplitterWnd::OnLButtonDown(UINT /*nFlags*/, CPoint point)
{
    CXTPDockingPaneManager* pManager = m_pContainer->GetDockingPaneManager();
    CRect rcTrack, rcUnion;
    if (pManager->IsSplittersLocked() || !CalcTrackRect(&rcTrack, &rcUnion))
        return;
    m_pContainer->UpdateDockingSizes();
    if (!pManager->m_bUseSplitterTracker) {
        TrackLive(point, rcTrack, rcUnion);
        return;
    }
    CRect rcBar;
    GetWindowRect(rcBar);
    CPoint ptStart = point;
    ClientToScreen(&ptStart);
    CSplitterTracker tracker(GetParent());
    if (tracker.Track(rcTrack, &rcBar, ptStart, m_pContainer->IsHoriz())) {
        SetNewSizes(m_pContainer->IsHoriz() ? rcBar.left : rcBar.top, rcUnion);
        CXTPDockingPaneElement::DelayRecalcLayout(m_pContainer->GetDockingSite());
    }
}

void CXTPDockingPaneSplitterWnd::TrackLive(CPoint point, const CRect& rcTrack, const CRect& rcUnion)
{
    BOOL bHoriz = m_pContainer->IsHoriz();
    CRect rcBar;
    GetWindowRect(rcBar);
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    CSize szOffset = ptScreen - rcBar.TopLeft();
    SetCapture();
    while (::GetCapture() == m_hWnd) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            ::DispatchMessageW(&msg);
        if (!AfxGetModalLoopMessage(&msg))
            break;
        if (msg.message == WM_LBUTTONUP || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE))
            break;
        if (msg.message != WM_MOUSEMOVE || msg.hwnd != m_hWnd) {
            ::DispatchMessageW(&msg);
            continue;
        }
        CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
        ClientToScreen(&pt);
        CPoint ptBar = pt - szOffset;
        LONG nPos = bHoriz ? std::max(rcTrack.left, std::min(ptBar.x, rcTrack.right))
                           : std::max(rcTrack.top, std::min(ptBar.y, rcTrack.bottom));
        if (nPos == (bHoriz ? rcBar.left : rcBar.top))
            continue;
        rcBar.OffsetRect(bHoriz ? nPos - rcBar.left : 0, bHoriz ? 0 : nPos - rcBar.top);
        SetNewSizes(nPos, rcUnion);
        if (CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(m_pContainer->GetDockingSite()))
            pFrame->RecalcLayout();
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}
