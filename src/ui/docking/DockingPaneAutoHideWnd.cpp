#include "ui/docking/DockingPaneAutoHideWnd.h"

#include "ui/docking/DockingPaneAutoHidePanel.h"
#include "ui/docking/DockingPaneManager.h"
#include "ui/docking/DockingPaneSplitterContainer.h"
#include "ui/docking/DockingPaneTabbedContainer.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/themes/InputSource.h"
#include "ui/uires.h"

#include <algorithm>

namespace
{
const UINT nCloseDelay = 50;

BOOL IsVerticalDirection(int nDirection)
{
    return nDirection == xtpPaneDockTop || nDirection == xtpPaneDockBottom;
}
}

BEGIN_MESSAGE_MAP(CXTPDockingPaneAutoHideWnd, CMiniFrameWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CXTPDockingPaneAutoHideWnd::CXTPDockingPaneAutoHideWnd(CXTPDockingPaneAutoHidePanel* pPanel,
                                                       CXTPDockingPaneTabbedContainer* pContainer)
    : m_pPanel(pPanel), m_pContainer(pContainer), m_nDirection(pPanel->GetDirection())
{
}

CXTPDockingPaneManager* CXTPDockingPaneAutoHideWnd::GetManager() const
{
    return m_pPanel->GetDockingPaneManager();
}

int CXTPDockingPaneAutoHideWnd::GetScreenDirection() const
{
    return m_bRightToLeft && !IsVerticalDirection(m_nDirection) ? m_nDirection ^ 1 : m_nDirection;
}

void CXTPDockingPaneAutoHideWnd::GetLimits(int* pnMin, int* pnMax) const
{
    MINMAXINFO mmi = {};
    mmi.ptMaxTrackSize = CPoint(32000, 32000);
    m_pContainer->GetMinMaxInfo(&mmi);
    BOOL bVertical = IsVerticalDirection(m_nDirection);
    *pnMin = bVertical ? mmi.ptMinTrackSize.y : mmi.ptMinTrackSize.x;
    *pnMax = bVertical ? mmi.ptMaxTrackSize.y : mmi.ptMaxTrackSize.x;
}

BOOL CXTPDockingPaneAutoHideWnd::Open()
{
    CXTPDockingPaneManager* pManager = GetManager();
    CWnd* pFrame = pManager->GetSite();
    if (!pFrame || !pFrame->GetSafeHwnd() || !pManager->GetTopContainer())
        return FALSE;
    m_bRightToLeft = pManager->IsLayoutRTL();

    int nMin, nMax;
    GetLimits(&nMin, &nMax);
    CXTPDockingPane* pPane = m_pContainer->GetSelected();
    CSize szDocking = pPane ? pPane->GetDockingSize() : m_pContainer->GetDockingSize();
    BOOL bVertical = IsVerticalDirection(m_nDirection);
    int nExtent = CXTPDockingPaneSlider::CalcExtent(bVertical ? szDocking.cy : szDocking.cx, nMin, nMax);
    m_rcFull = CXTPDockingPaneSlider::CalcFullRect(pManager->GetTopContainer()->GetScreenRect(), m_nDirection,
                                                   nExtent, pManager->IsLayoutRTL());
    pFrame->ScreenToClient(&m_rcFull);

    HCURSOR hCursor = nullptr;
    if (!pManager->IsSplittersLocked())
        hCursor = XTPGetResourceLoader()->LoadCursor(bVertical ? XTP_IDC_VSPLITBAR : XTP_IDC_HSPLITBAR);
    LPCTSTR lpszClass = AfxRegisterWndClass(0, hCursor ? hCursor : ::LoadCursorW(nullptr, IDC_ARROW));

    // The frame is not redrawn while the window appears over it.
    pFrame->UpdateWindow();
    pFrame->SendMessage(WM_SETREDRAW, FALSE);
    BOOL bCreated = CreateEx(pFrame->GetExStyle() & WS_EX_LAYOUTRTL, lpszClass, L"",
                             WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, m_rcFull, pFrame, 0);
    pFrame->SendMessage(WM_SETREDRAW, TRUE);
    if (!bCreated)
        return FALSE;

    m_pContainer->SetDockingSite(this);
    m_slider.Start();
    RecalcLayout();
    m_pContainer->ShowWindow(SW_SHOW);
    return TRUE;
}

CRect CXTPDockingPaneAutoHideWnd::CalcContainerRect(CSize szClient, CSize szFull, int nDirection)
{
    CRect rc(0, 0, szFull.cx, szFull.cy);
    switch (nDirection) {
    case xtpPaneDockLeft:
        rc.OffsetRect(szClient.cx - szFull.cx, 0);
        rc.right -= splitterStrip;
        break;
    case xtpPaneDockRight:
        rc.left += splitterStrip;
        break;
    case xtpPaneDockTop:
        rc.OffsetRect(0, szClient.cy - szFull.cy);
        rc.bottom -= splitterStrip;
        break;
    default:
        rc.top += splitterStrip;
        break;
    }
    return rc;
}

void CXTPDockingPaneAutoHideWnd::RecalcLayout(BOOL /*bNotify*/)
{
    m_nIdleFlags &= ~(idleLayout | idleNotify);
    if (!m_hWnd || !m_pContainer)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    CRect rc = CalcContainerRect(rcClient.Size(), m_rcFull.Size(), GetScreenDirection());
    AFX_SIZEPARENTPARAMS params = {};
    params.hDWP = ::BeginDeferWindowPos(8);
    m_pContainer->OnSizeParent(this, rc, &params);
    ::EndDeferWindowPos(params.hDWP);
}

void CXTPDockingPaneAutoHideWnd::OnSize(UINT nType, int cx, int cy)
{
    CMiniFrameWnd::OnSize(nType, cx, cy);
    RecalcLayout();
}

void CXTPDockingPaneAutoHideWnd::PlaceForStep(int nStep, int nSteps)
{
    CRect rc = CXTPDockingPaneSlider::CalcStepRect(m_rcFull, GetScreenDirection(), nStep, nSteps);
    SetWindowPos(&wndTop, rc.left, rc.top, rc.Width(), rc.Height(), SWP_SHOWWINDOW);
    Invalidate(FALSE);
}

void CXTPDockingPaneAutoHideWnd::StartTimer(UINT nID, UINT nElapse)
{
    SetTimer(nID, nElapse, nullptr);
}

void CXTPDockingPaneAutoHideWnd::StopTimer(UINT nID)
{
    KillTimer(nID);
}

BOOL CXTPDockingPaneAutoHideWnd::IsFocusInside()
{
    HWND hWndFocus = ::GetFocus();
    HWND hWndContainer = m_pContainer ? m_pContainer->GetSafeHwnd() : nullptr;
    return hWndFocus && hWndContainer && (hWndFocus == hWndContainer || ::IsChild(hWndContainer, hWndFocus));
}

BOOL CXTPDockingPaneAutoHideWnd::IsCursorInside()
{
    CPoint pt;
    CXTPInputSource::GetCursorPos(&pt);
    CRect rcWindow, rcPanel;
    GetWindowRect(&rcWindow);
    if (m_pPanel && m_pPanel->GetSafeHwnd())
        m_pPanel->GetWindowRect(&rcPanel);
    return rcWindow.PtInRect(pt) || rcPanel.PtInRect(pt);
}

BOOL CXTPDockingPaneAutoHideWnd::Notify(int nAction)
{
    if (!m_pContainer)
        return FALSE;
    return GetManager()->NotifyAction(nAction, m_pContainer->GetSelected(), m_pContainer);
}

void CXTPDockingPaneAutoHideWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (!m_slider.OnTimer(static_cast<UINT>(nIDEvent)))
        CMiniFrameWnd::OnTimer(nIDEvent);
}

void CXTPDockingPaneAutoHideWnd::OnMouseMove(UINT nFlags, CPoint point)
{
    CMiniFrameWnd::OnMouseMove(nFlags, point);
    m_slider.OnMouseMove();
}

void CXTPDockingPaneAutoHideWnd::StopAnimation()
{
    for (UINT nID : {XTP_DOCKINGPANE_TIMER_COUNTDOWN, XTP_DOCKINGPANE_TIMER_SLIDEOUT, XTP_DOCKINGPANE_TIMER_SLIDEIN})
        KillTimer(nID);
}

void CXTPDockingPaneAutoHideWnd::ReturnContainer()
{
    if (!m_pContainer)
        return;
    HWND hWndContainer = m_pContainer->GetSafeHwnd();
    if (hWndContainer && ::GetParent(hWndContainer) == m_hWnd) {
        ::ShowWindow(hWndContainer, SW_HIDE);
        m_pContainer->SetDockingSite(GetManager()->GetSite());
    }
    m_pContainer = nullptr;
}

void CXTPDockingPaneAutoHideWnd::DetachPanel()
{
    if (m_pPanel)
        m_pPanel->OnActiveWindowClosed(this);
    // Done with the panel: it may go before this window does.
    m_pPanel = nullptr;
}

void CXTPDockingPaneAutoHideWnd::CloseWindow()
{
    if (!m_hWnd)
        return;
    StopAnimation();
    ShowWindow(SW_HIDE);
    ReturnContainer();
    DetachPanel();
    PostMessage(WM_CLOSE);
}

void CXTPDockingPaneAutoHideWnd::CloseDelayed()
{
    StopAnimation();
    ReturnContainer();
    DetachPanel();
    SetTimer(XTP_DOCKINGPANE_TIMER_CLOSE, nCloseDelay, nullptr);
}

void CXTPDockingPaneAutoHideWnd::PostNcDestroy()
{
    DetachPanel();
    CMiniFrameWnd::PostNcDestroy();
}

BOOL CXTPDockingPaneAutoHideWnd::OnEraseBkgnd(CDC* /*pDC*/)
{
    return TRUE;
}

void CXTPDockingPaneAutoHideWnd::OnPaint()
{
    CPaintDC dc(this);
    if (!m_pPanel)
        return;
    CRect rc;
    GetClientRect(&rc);
    CXTPDockingPanePaintManager* pTheme = GetManager()->GetPaintManager();
    dc.FillSolidRect(rc, pTheme->GetColor(51));
    switch (GetScreenDirection()) {
    case xtpPaneDockLeft:
        pTheme->DrawLine(&dc, rc.right - 1, rc.top, rc.right - 1, rc.bottom, COLOR_BTNTEXT);
        pTheme->DrawLine(&dc, rc.right - 2, rc.top, rc.right - 2, rc.bottom, COLOR_BTNSHADOW);
        break;
    case xtpPaneDockRight:
        pTheme->DrawLine(&dc, rc.left + 1, rc.top, rc.left + 1, rc.bottom, COLOR_BTNHIGHLIGHT);
        break;
    case xtpPaneDockTop:
        pTheme->DrawLine(&dc, rc.left, rc.bottom - 1, rc.right, rc.bottom - 1, COLOR_BTNTEXT);
        pTheme->DrawLine(&dc, rc.left, rc.bottom - 2, rc.right, rc.bottom - 2, COLOR_BTNSHADOW);
        break;
    default:
        pTheme->DrawLine(&dc, rc.left, rc.top + 1, rc.right, rc.top + 1, COLOR_BTNHIGHLIGHT);
        break;
    }
}

CRect CXTPDockingPaneAutoHideWnd::CalcResizeLimits(const CRect& rcTop, int nDirection, int nMinExtent,
                                                   int nMaxExtent, int nMargin)
{
    CRect rc = rcTop;
    int nAnchored = std::max(nMinExtent, nMargin);
    switch (nDirection) {
    case xtpPaneDockLeft:
        rc.left += nAnchored;
        rc.right = std::min(rc.right - nMargin, rcTop.left + nMaxExtent);
        break;
    case xtpPaneDockRight:
        rc.right -= nAnchored;
        rc.left = std::max(rc.left + nMargin, rcTop.right - nMaxExtent);
        break;
    case xtpPaneDockTop:
        rc.top += nAnchored;
        rc.bottom = std::min(rc.bottom - nMargin, rcTop.top + nMaxExtent);
        break;
    default:
        rc.bottom -= nAnchored;
        rc.top = std::max(rc.top + nMargin, rcTop.bottom - nMaxExtent);
        break;
    }
    if (rc.left >= rc.right || rc.top >= rc.bottom)
        rc.SetRectEmpty();
    return rc;
}

void CXTPDockingPaneAutoHideWnd::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!m_pPanel || !m_pContainer || GetManager()->IsSplittersLocked()) {
        CMiniFrameWnd::OnLButtonDown(nFlags, point);
        return;
    }
    ClientToScreen(&point);
    TrackResize(point);
}

void CXTPDockingPaneAutoHideWnd::TrackResize(CPoint ptScreen)
{
    CXTPDockingPaneManager* pManager = GetManager();
    int nMin, nMax;
    GetLimits(&nMin, &nMax);
    int nDirection = GetScreenDirection();
    CRect rcLimit = CalcResizeLimits(pManager->GetTopContainer()->GetScreenRect(), nDirection,
                                     nMin + splitterStrip, nMax + splitterStrip,
                                     pManager->m_nSplitterGap + splitterStrip);
    if (rcLimit.IsRectEmpty())
        return;
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    CRect rcSplitter = rcWindow;
    switch (nDirection) {
    case xtpPaneDockLeft: rcSplitter.left = rcSplitter.right - splitterStrip; break;
    case xtpPaneDockRight: rcSplitter.right = rcSplitter.left + splitterStrip; break;
    case xtpPaneDockTop: rcSplitter.top = rcSplitter.bottom - splitterStrip; break;
    default: rcSplitter.bottom = rcSplitter.top + splitterStrip; break;
    }
    BOOL bVertical = IsVerticalDirection(nDirection);

    m_bTracking = TRUE;
    if (pManager->m_bUseSplitterTracker) {
        CSplitterTracker tracker(this);
        if (tracker.Track(rcLimit, &rcSplitter, ptScreen, !bVertical))
            ApplySplitter(rcSplitter);
    } else {
        // Live: the window follows the mouse until the button goes up, Escape, or the capture is lost.
        SetCapture();
        CPoint ptLast = ptScreen;
        while (::GetCapture() == m_hWnd) {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
                ::DispatchMessageW(&msg);
            if (!AfxGetModalLoopMessage(&msg))
                break;
            if (msg.message == WM_LBUTTONUP || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE))
                break;
            if (msg.message != WM_MOUSEMOVE) {
                ::DispatchMessageW(&msg);
                continue;
            }
            CPoint pt(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
            ::ClientToScreen(msg.hwnd, &pt);
            CPoint ptClamped(std::max(rcLimit.left, std::min(rcLimit.right, pt.x)),
                             std::max(rcLimit.top, std::min(rcLimit.bottom, pt.y)));
            if (bVertical)
                rcSplitter.OffsetRect(0, ptClamped.y - ptLast.y);
            else
                rcSplitter.OffsetRect(ptClamped.x - ptLast.x, 0);
            ptLast = ptClamped;
            ApplySplitter(rcSplitter);
        }
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    }
    m_bTracking = FALSE;
}

void CXTPDockingPaneAutoHideWnd::ApplySplitter(const CRect& rcSplitter)
{
    CXTPDockingPaneManager* pManager = GetManager();
    CRect rcTop = pManager->GetTopContainer()->GetScreenRect();
    CRect rc = rcTop;
    switch (GetScreenDirection()) {
    case xtpPaneDockLeft: rc.right = rcSplitter.right; break;
    case xtpPaneDockRight: rc.left = rcSplitter.left; break;
    case xtpPaneDockTop: rc.bottom = rcSplitter.bottom; break;
    default: rc.top = rcSplitter.top; break;
    }
    // The docking size leaves the strip out: the next slide-out adds it again.
    BOOL bVertical = IsVerticalDirection(m_nDirection);
    int nExtent = std::max(0, (bVertical ? rc.Height() : rc.Width()) - splitterStrip);
    if (CXTPDockingPane* pPane = m_pContainer ? m_pContainer->GetSelected() : nullptr) {
        CSize sz = pPane->GetDockingSize();
        (bVertical ? sz.cy : sz.cx) = nExtent;
        pPane->SetDockingSize(sz);
    }
    pManager->GetSite()->ScreenToClient(&rc);
    m_rcFull = rc;
    SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate(FALSE);
}
