// The floating frame's own look: its non-client area drawn by the docking theme with three caption buttons, the
// roll-up to its caption, and what follows from it (size limits, focus, active caption, placement).
#include "ui/docking/DockingPaneMiniWnd.h"

#include "ui/docking/DockingPane.h"
#include "ui/docking/DockingPaneManager.h"
#include "ui/docking/DockingPaneSplitterContainer.h"
#include "ui/docking/DockingPaneTabbedContainer.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/themes/DrawHelpers.h"
#include "ui/themes/InputSource.h"

#include <algorithm>

namespace
{
const UINT nHoverTimer = 2345;
const UINT nHoverElapse = 100;
}

BOOL CXTPDockingPaneMiniWnd::IsThemed() const
{
    return GetDockingPaneManager()->m_bThemedFloatingFrames;
}

CRect CXTPDockingPaneMiniWnd::PlaceOnWorkArea(const CRect& rc)
{
    CRect rcWork;
    GetWorkArea(&rcWork, rc);
    return MoveOntoWorkArea(rc, rcWork);
}

CXTPDockingPane* CXTPDockingPaneMiniWnd::GetSelectedPane() const
{
    if (!m_pTopContainer)
        return nullptr;
    CXTPDockingPaneElementList lst;
    m_pTopContainer->FindPane(xtpPaneTypeTabbedContainer, &lst);
    return lst.size() == 1 ? static_cast<CXTPDockingPaneTabbedContainer*>(lst.front())->GetSelected() : nullptr;
}

void CXTPDockingPaneMiniWnd::TakeWindowOf(CXTPDockingPaneMiniWnd* pDonor)
{
    BOOL bCloseEnabled = pDonor->m_bCloseEnabled;
    if (!pDonor->HandOverWindow(this))
        return;
    // The replaced frame's timers and its system menu's close state went with the window.
    const UINT timers[] = {XTP_DOCKINGPANE_TIMER_COUNTDOWN, XTP_DOCKINGPANE_TIMER_SLIDEOUT, XTP_DOCKINGPANE_TIMER_SLIDEIN,
                           XTP_DOCKINGPANE_TIMER_CLOSE, nHoverTimer};
    for (UINT nID : timers)
        KillTimer(nID);
    m_bCloseEnabled = bCloseEnabled;
    // A top-level window is slow to change: only what differs is set.
    BOOL bThemed = IsThemed();
    UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!bThemed != !!(GetStyle() & WS_BORDER)) {
        ModifyStyle(bThemed ? WS_BORDER : 0, bThemed ? 0 : WS_BORDER, 0);
        nFlags |= SWP_FRAMECHANGED;
    }
    m_rcFrame = PlaceOnWorkArea(m_rcFrame);
    CRect rcWindow;
    GetWindowRect(rcWindow);
    if (rcWindow != m_rcFrame || (nFlags & SWP_FRAMECHANGED))
        SetWindowPos(nullptr, m_rcFrame.left, m_rcFrame.top, m_rcFrame.Width(), m_rcFrame.Height(), nFlags);
}

void CXTPDockingPaneMiniWnd::SetStyleAndPos()
{
    if (!m_hWnd)
        return;
    BOOL bThemed = IsThemed();
    ModifyStyle(bThemed ? WS_BORDER : 0, bThemed ? 0 : WS_BORDER, SWP_FRAMECHANGED);
    if (!bThemed && m_rollUp.IsCollapsed())
        m_rollUp.Expand();
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (bThemed && m_rollUp.IsShownRolledUp())
        SetWindowHeight(CXTPDockingPaneRollUp::GetStepHeight(0, 1, 0, GetCaptionHeight()), FALSE);
}

void CXTPDockingPaneMiniWnd::ToggleCollapse()
{
    if (IsThemed() || m_rollUp.IsCollapsed())
        m_rollUp.Toggle();
}

// Caption buttons

BOOL CXTPDockingPaneMiniWnd::IsCaptionButtonVisible(CPaneCaptionButton* pButton)
{
    switch (pButton->GetID()) {
    case XTP_IDS_DOCKINGPANE_CLOSE:
        return m_bCloseEnabled;
    case XTP_IDS_DOCKINGPANE_AUTOHIDE:
        pButton->m_dwState = m_rollUp.IsCollapsed() ? XTP_DOCKINGPANE_PINLYING : 0;
        return TRUE;
    case XTP_IDS_DOCKINGPANE_MENU: {
        CXTPDockingPane* pPane = GetSelectedPane();
        return pPane && (pPane->GetOptions() & xtpPaneHasMenuButton);
    }
    }
    return TRUE;
}

void CXTPDockingPaneMiniWnd::RedrawCaptionButton(CPaneCaptionButton* /*pButton*/)
{
    if (m_hWnd && IsThemed())
        SendMessage(WM_NCPAINT);
}

CPoint CXTPDockingPaneMiniWnd::ScreenToWindow(CPoint ptScreen) const
{
    CRect rc;
    GetWindowRect(&rc);
    return ptScreen - rc.TopLeft();
}

CPaneCaptionButton* CXTPDockingPaneMiniWnd::HitTestCaptionButton(CPoint ptWindow) const
{
    for (CPaneCaptionButton* pButton : m_arrCaptionButtons) {
        if (pButton->GetRect().PtInRect(ptWindow))
            return pButton;
    }
    return nullptr;
}

INT_PTR CXTPDockingPaneMiniWnd::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    if (!IsThemed())
        return -1;
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    CPaneCaptionButton* pButton = HitTestCaptionButton(ScreenToWindow(ptScreen));
    if (!pButton)
        return -1;
    // The button's rectangle in client coordinates: above the client area.
    CRect rc = pButton->GetRect();
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    rc.OffsetRect(rcWindow.TopLeft());
    ScreenToClient(&rc);
    return CaptionButtonToolHit(pButton, m_hWnd, rc, pTI);
}

LRESULT CXTPDockingPaneMiniWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CMessageScope scope(this);
    DWORD dwPos = ::GetMessagePos();
    MSG msg = {m_hWnd, message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()),
               {static_cast<short>(LOWORD(dwPos)), static_cast<short>(HIWORD(dwPos))}};
    m_tipContext.FilterToolTipMessage(&msg, TRUE);
    return CMiniFrameWnd::WindowProc(message, wParam, lParam);
}

void CXTPDockingPaneMiniWnd::OnCaptionButtonClick(CPaneCaptionButton* pButton)
{
    if (pButton->GetID() == XTP_IDS_DOCKINGPANE_CLOSE)
        OnClose();
    else if (pButton->GetID() == XTP_IDS_DOCKINGPANE_AUTOHIDE)
        ToggleCollapse();
}

BOOL CXTPDockingPaneMiniWnd::OnCaptionButtonDown(CPaneCaptionButton* pButton)
{
    if (pButton->GetID() != XTP_IDS_DOCKINGPANE_MENU)
        return FALSE;
    CXTPDockingPane* pPane = GetSelectedPane();
    if (!pPane)
        return TRUE;
    m_bActive = TRUE;
    pButton->SetPressed(TRUE);
    SendMessage(WM_NCPAINT);
    CRect rcWindow, rcButton = pButton->GetRect();
    GetWindowRect(&rcWindow);
    rcButton.OffsetRect(rcWindow.TopLeft());
    XTP_DOCKINGPANE_CLICK click = {pPane, rcButton.left, rcButton.bottom};
    GetDockingPaneManager()->NotifyFrame(XTP_DPN_CONTEXTMENU, reinterpret_cast<LPARAM>(&click));
    pButton->SetPressed(FALSE);
    SendMessage(WM_NCPAINT);
    return TRUE;
}

// Non-client area

void CXTPDockingPaneMiniWnd::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    if (IsThemed()) {
        RECT& rc = lpncsp->rgrc[0];
        ::InflateRect(&rc, 1, 1);
        rc.top += GetPaintManager()->GetCaptionHeight() + 2;
    }
    CMiniFrameWnd::OnNcCalcSize(bCalcValidRects, lpncsp);
}

LRESULT CXTPDockingPaneMiniWnd::OnNcHitTest(CPoint point)
{
    LRESULT nHit = CMiniFrameWnd::OnNcHitTest(point);
    if (IsThemed() && nHit == HTNOWHERE) {
        CRect rc;
        GetWindowRect(&rc);
        if (point.y < rc.top + GetPaintManager()->GetCaptionHeight() + 4)
            return HTCAPTION;
    }
    return nHit;
}

void CXTPDockingPaneMiniWnd::OnNcPaint()
{
    if (!IsThemed()) {
        CMiniFrameWnd::OnNcPaint();
        return;
    }
    CWindowDC dc(this);
    CRect rcWindow = ExcludeClientArea(m_hWnd, &dc);
    XTP_DOCKINGPANE_CAPTION caption;
    GetWindowText(caption.strTitle);
    caption.pButtons = &m_arrCaptionButtons;
    caption.bActive = m_bActive;
    GetPaintManager()->DrawFloatingFrame(&dc, caption, rcWindow);
}

BOOL CXTPDockingPaneMiniWnd::OnNcActivate(BOOL bActive)
{
    BOOL bResult = CMiniFrameWnd::OnNcActivate(bActive);
    // The system paints its own frame on activation: the theme's goes over it again.
    if (IsThemed())
        SendMessage(WM_NCPAINT);
    return bResult;
}

void CXTPDockingPaneMiniWnd::OnNcMouseMove(UINT nHitTest, CPoint point)
{
    CMiniFrameWnd::OnNcMouseMove(nHitTest, point);
    if (!IsThemed())
        return;
    CPoint ptWindow = ScreenToWindow(point);
    BOOL bChanged = FALSE;
    for (CPaneCaptionButton* pButton : m_arrCaptionButtons)
        bChanged |= pButton->CheckHover(ptWindow);
    if (bChanged)
        SetTimer(nHoverTimer, nHoverElapse, nullptr);
    m_rollUp.OnHover();
}

void CXTPDockingPaneMiniWnd::OnNcRButtonDown(UINT nHitTest, CPoint point)
{
    if (nHitTest == HTCAPTION) {
        CXTPDockingPane* pPane = GetSelectedPane();
        if (!pPane && m_pTopContainer) {
            CXTPDockingPaneElementList lst;
            m_pTopContainer->FindPane(xtpPaneTypeTabbedContainer, &lst);
            for (CXTPDockingPaneElement* pElement : lst) {
                auto* pContainer = static_cast<CXTPDockingPaneTabbedContainer*>(pElement);
                if (pContainer->IsActive() && pContainer->GetSelected()) {
                    pPane = pContainer->GetSelected();
                    break;
                }
            }
        }
        if (pPane) {
            pPane->SetFocus();
            CPoint pt;
            CXTPInputSource::GetCursorPos(&pt);
            XTP_DOCKINGPANE_CLICK click = {pPane, pt.x, pt.y};
            if (GetDockingPaneManager()->NotifyFrame(XTP_DPN_CONTEXTMENU, reinterpret_cast<LPARAM>(&click)))
                return;
        }
    }
    CMiniFrameWnd::OnNcRButtonDown(nHitTest, point);
}

void CXTPDockingPaneMiniWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == nHoverTimer) {
        CPoint pt;
        CXTPInputSource::GetCursorPos(&pt);
        if (::WindowFromPoint(pt) != m_hWnd) {
            PostMessage(WM_NCMOUSEMOVE);
            KillTimer(nHoverTimer);
        }
        return;
    }
    if (!m_rollUp.OnTimer(static_cast<UINT>(nIDEvent)))
        CMiniFrameWnd::OnTimer(nIDEvent);
}

void CXTPDockingPaneMiniWnd::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    CMiniFrameWnd::OnGetMinMaxInfo(lpMMI);
    if (!m_pTopContainer || m_rollUp.IsShownRolledUp() || m_rollUp.IsRollingUp())
        return;
    MINMAXINFO mmi = {};
    mmi.ptMaxTrackSize = CPoint(32000, 32000);
    m_pTopContainer->GetMinMaxInfo(&mmi);
    CRect rcWindow, rcClient;
    GetWindowRect(&rcWindow);
    GetClientRect(&rcClient);
    CSize szFrame = rcWindow.Size() - rcClient.Size();
    lpMMI->ptMinTrackSize.x = std::max(lpMMI->ptMinTrackSize.x, mmi.ptMinTrackSize.x + szFrame.cx);
    lpMMI->ptMinTrackSize.y = std::max(lpMMI->ptMinTrackSize.y, mmi.ptMinTrackSize.y + szFrame.cy);
    lpMMI->ptMaxTrackSize.x = std::min(lpMMI->ptMaxTrackSize.x, mmi.ptMaxTrackSize.x + szFrame.cx);
    lpMMI->ptMaxTrackSize.y = std::min(lpMMI->ptMaxTrackSize.y, mmi.ptMaxTrackSize.y + szFrame.cy);
}

void CXTPDockingPaneMiniWnd::OnSetFocus(CWnd* pOldWnd)
{
    CMiniFrameWnd::OnSetFocus(pOldWnd);
    if (CXTPDockingPane* pPane = GetSelectedPane())
        pPane->SetFocus();
}

void CXTPDockingPaneMiniWnd::OnDestroy()
{
    m_rcFrame = GetFrameRect();
    CMiniFrameWnd::OnDestroy();
}

LRESULT CXTPDockingPaneMiniWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    if (IsThemed()) {
        HWND hWndFocus = ::GetFocus();
        BOOL bActive = hWndFocus && (hWndFocus == m_hWnd || ::IsChild(m_hWnd, hWndFocus));
        if (bActive != m_bActive) {
            m_bActive = bActive;
            SendMessage(WM_NCPAINT);
        }
    }
    return CMiniFrameWnd::OnIdleUpdateCmdUI(wParam, lParam);
}

// Roll-up host

void CXTPDockingPaneMiniWnd::StartTimer(UINT nID, UINT nElapse)
{
    SetTimer(nID, nElapse, nullptr);
}

void CXTPDockingPaneMiniWnd::StopTimer(UINT nID)
{
    KillTimer(nID);
}

BOOL CXTPDockingPaneMiniWnd::IsFocusInside()
{
    HWND hWndFocus = ::GetFocus();
    return hWndFocus && (hWndFocus == m_hWnd || ::IsChild(m_hWnd, hWndFocus));
}

BOOL CXTPDockingPaneMiniWnd::IsCursorInside()
{
    CPoint pt;
    CXTPInputSource::GetCursorPos(&pt);
    CRect rc;
    GetWindowRect(&rc);
    return rc.PtInRect(pt);
}

int CXTPDockingPaneMiniWnd::GetCurrentHeight()
{
    return GetFrameRect().Height();
}

void CXTPDockingPaneMiniWnd::SetWindowHeight(int nHeight, BOOL bBringUp)
{
    CRect rc = GetFrameRect();
    if (bBringUp)
        SetWindowPos(&wndTop, rc.left, rc.top, rc.Width(), nHeight, SWP_NOACTIVATE);
    else
        SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), nHeight, SWP_NOACTIVATE | SWP_NOZORDER);
    Invalidate(FALSE);
}

int CXTPDockingPaneMiniWnd::GetCaptionHeight()
{
    return GetPaintManager()->GetCaptionHeight();
}

void CXTPDockingPaneMiniWnd::RepaintFrame()
{
    if (m_hWnd)
        SendMessage(WM_NCPAINT);
}
