#include "ui/commandbars/XTPDockContext.h"

#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPDockBar.h"
#include "ui/commandbars/XTPDockDecisions.h"
#include "ui/commandbars/XTPHookManager.h"
#include "ui/commandbars/XTPToolBar.h"

namespace
{
// The mode in which a floating bar measures itself.
const DWORD kFloatingMode = LM_HORZ | LM_MRUWIDTH | LM_COMMIT;

// While a bar is moved or resized, releases of the button and Alt close no popup; the count goes down and the
// capture is released however the loop ends.
class CCaptureLoop
{
public:
    explicit CCaptureLoop(HWND hWnd) : m_pManager(CMouseManager::GetThreadManager())
    {
        ::SetCapture(hWnd);
        m_pManager->m_nCaptureLoops++;
    }
    ~CCaptureLoop()
    {
        m_pManager->m_nCaptureLoops--;
        ::ReleaseCapture();
    }
    CCaptureLoop(const CCaptureLoop&) = delete;
    CCaptureLoop& operator=(const CCaptureLoop&) = delete;

private:
    CMouseManager* m_pManager;
};

// A layout the loop asked for with delay is carried out at once, so that the bars follow the cursor.
void RunPendingLayout(CXTPCommandBars* pCommandBars)
{
    auto* pFrame = dynamic_cast<CFrameWnd*>(pCommandBars ? pCommandBars->GetSite() : nullptr);
    if (pFrame && pFrame->GetSafeHwnd() && (pFrame->m_nIdleFlags & CFrameWnd::idleLayout))
    {
        pFrame->m_nIdleFlags &= ~(CFrameWnd::idleLayout | CFrameWnd::idleNotify);
        pFrame->RecalcLayout();
    }
}

void SetDirtyState(CXTPCommandBars* pCommandBars)
{
    if (pCommandBars)
        pCommandBars->GetCommandBarsOptions()->bDirtyState = TRUE;
}
}

void CXTPDockContext::RememberFloatingPlace()
{
    if (m_pBar->GetPosition() != xtpBarFloating)
        return;
    m_ptLastFloat = m_rcFloat.TopLeft();
    m_bHasFloated = TRUE;
}

void CXTPDockContext::StartDrag(CPoint pt)
{
    m_nTrackingCode = 1;
    const CRect rcLastDocked = m_rcLastDocked;
    const int nLastDockPosition = m_nLastDockPosition;
    const BOOL bWasFloating = m_pBar->GetPosition() == xtpBarFloating;

    CRect rc;
    m_pBar->GetWindowRect(&rc);
    CXTPDockDecisions::AdjustRectWithPoint(rc, pt);
    m_rcTrack = m_rcFloat = rc;
    m_ptLast = pt;

    HCURSOR hOldCursor = ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEALL));
    Track();
    ::SetCursor(hOldCursor);
    m_nTrackingCode = 0;

    RememberFloatingPlace();
    // A double-click takes the bar back to where it was docked before this drag.
    if (!bWasFloating && m_pBar->GetPosition() == xtpBarFloating)
    {
        m_rcLastDocked = rcLastDocked;
        m_nLastDockPosition = nLastDockPosition;
    }
}

void CXTPDockContext::StartResize(int nHitTest, CPoint pt)
{
    m_nTrackingCode = nHitTest;
    m_ptLast = pt;
    m_pBar->GetWindowRect(&m_rcFloat);
    Track();
    m_nTrackingCode = 0;
    m_pBar->GetWindowRect(&m_rcFloat);
    RememberFloatingPlace();
    m_pBar->SetMRUWidth(m_rcFloat.Width());
}

BOOL CXTPDockContext::ToggleDocking()
{
    CXTPCommandBars* pCommandBars = m_pBar->GetCommandBars();
    if (!pCommandBars)
        return FALSE;
    BOOL bFloating = m_pBar->GetPosition() == xtpBarFloating;
    CXTPDockDecisions::ToggleAction action = CXTPDockDecisions::GetToggleAction(
        bFloating, m_pBar->GetFlags(), pCommandBars->GetCommandBarsOptions()->bDblClickFloat);
    if (action == CXTPDockDecisions::toggleNone)
        return FALSE;

    if (action == CXTPDockDecisions::toggleFloat)
    {
        CPoint ptDocked = m_rcLastDocked.TopLeft();
        if (CWnd* pParent = m_pBar->GetParent())
            pParent->ClientToScreen(&ptDocked);
        CPoint pt = CXTPDockDecisions::GetFloatPoint(m_bHasFloated, m_ptLastFloat, ptDocked);
        m_ptLastFloat = pt;
        m_bHasFloated = TRUE;
        if (!pCommandBars->FloatCommandBar(m_pBar))
            return FALSE;
        CSize size = m_pBar->CalcDynamicLayout(0, kFloatingMode);
        m_pBar->SetWindowPos(nullptr, pt.x, pt.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    else
    {
        CXTPDockBar* pDockBar = pCommandBars->GetDockBar(m_nLastDockPosition);
        if (!pDockBar || !CXTPDockDecisions::IsSideAllowed(m_pBar->GetFlags(), m_nLastDockPosition))
            pDockBar = nullptr;
        for (int nSide = 0; !pDockBar && nSide < 4; ++nSide)
        {
            if (CXTPDockDecisions::IsSideAllowed(m_pBar->GetFlags(), nSide))
                pDockBar = pCommandBars->GetDockBar(nSide);
        }
        if (!pDockBar)
            return FALSE;
        CRect rc = m_rcLastDocked;
        pDockBar->ClientToScreen(&rc);
        pCommandBars->DockCommandBar(m_pBar, &rc, pDockBar);
        pCommandBars->RecalcFrameLayout(FALSE);
    }
    SetDirtyState(pCommandBars);
    return TRUE;
}

BOOL CXTPDockContext::Track()
{
    if (::GetCapture())
        return FALSE;
    HWND hWnd = m_pBar->GetSafeHwnd();
    if (!hWnd)
        return FALSE;
    CXTPCommandBars* pCommandBars = m_pBar->GetCommandBars();
    {
        CCaptureLoop loop(hWnd);
        while (::GetCapture() == hWnd)
        {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
                ::DispatchMessageW(&msg);
            if (!AfxGetModalLoopMessage(&msg))
                break;
            if (msg.message == WM_LBUTTONUP)
                break;
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
                break;
            if (msg.message == WM_MOUSEMOVE)
            {
                // The screen point of the message: the bar itself moves between messages.
                CPoint pt(msg.pt);
                if (pt != m_ptLast)
                {
                    if (m_nTrackingCode == 1)
                        Move(pt);
                    else
                        ResizeFloating(pt);
                    RunPendingLayout(pCommandBars);
                    continue;
                }
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
            RunPendingLayout(pCommandBars);
        }
    }
    SetDirtyState(pCommandBars);
    return TRUE;
}

void CXTPDockContext::Move(CPoint pt)
{
    CXTPCommandBars* pCommandBars = m_pBar->GetCommandBars();
    if (!pCommandBars)
        return;
    CPoint ptOffset = pt - m_ptLast;
    m_rcTrack.OffsetRect(ptOffset);
    m_rcFloat.OffsetRect(ptOffset);
    m_ptLast = pt;

    const DWORD dwFlags = m_pBar->GetFlags();
    const BOOL bFloating = m_pBar->GetPosition() == xtpBarFloating;
    CXTPDockBar* pDockBar = pCommandBars->CanDock(pt, m_pBar->GetDockBar());
    if (pDockBar && CXTPDockDecisions::IsSideAllowed(dwFlags, pDockBar->GetDockPosition()))
    {
        BOOL bSameDockBar = pDockBar == m_pBar->GetDockBar();
        pCommandBars->DockCommandBar(m_pBar, &m_rcTrack, pDockBar);
        if (bSameDockBar && !bFloating)
            return;
        pCommandBars->RecalcFrameLayout(FALSE);
        m_pBar->GetWindowRect(&m_rcTrack);
        return;
    }
    if (!(dwFlags & 0x10))
        return;
    if (!bFloating)
    {
        if (!pCommandBars->FloatCommandBar(m_pBar))
            return;
        CSize size = m_pBar->CalcDynamicLayout(0, kFloatingMode);
        m_rcFloat = CRect(m_rcFloat.TopLeft(), size);
        CXTPDockDecisions::AdjustRectWithPoint(m_rcFloat, pt);
    }
    m_pBar->SetWindowPos(nullptr, m_rcFloat.left, m_rcFloat.top, m_rcFloat.Width(), m_rcFloat.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
}

void CXTPDockContext::ResizeFloating(CPoint pt)
{
    CPoint ptOffset = pt - m_ptLast;
    m_ptLast = pt;
    CRect rcWindow;
    m_pBar->GetWindowRect(&rcWindow);
    CRect rc = m_rcFloat;
    BOOL bHorizontalEdge = m_nTrackingCode == HTLEFT || m_nTrackingCode == HTRIGHT;
    if (m_nTrackingCode == HTLEFT)
        rc.left += ptOffset.x;
    else if (m_nTrackingCode == HTRIGHT)
        rc.right += ptOffset.x;
    else if (m_nTrackingCode == HTTOP)
        rc.top += ptOffset.y;
    else
        rc.bottom += ptOffset.y;
    m_rcFloat = rc;

    int nLength = std::max(0, bHorizontalEdge ? rc.Width() : rc.Height());
    CSize size = m_pBar->CalcDynamicLayout(nLength, bHorizontalEdge ? LM_HORZ | LM_COMMIT
                                                                     : LM_HORZ | LM_LENGTHY | LM_COMMIT);
    if (size == rcWindow.Size())
        return;
    CRect rcNew(rcWindow.TopLeft(), size);
    if (m_nTrackingCode == HTLEFT)
        rcNew.OffsetRect(rcWindow.right - rcNew.right, 0);
    else if (m_nTrackingCode == HTTOP)
        rcNew.OffsetRect(0, rcWindow.bottom - rcNew.bottom);

    // Never completely off the work area of the bar's monitor.
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(::MonitorFromWindow(m_pBar->m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    CRect rcIntersect;
    if (!rcIntersect.IntersectRect(rcNew, &mi.rcWork))
        return;
    m_pBar->SetWindowPos(nullptr, rcNew.left, rcNew.top, rcNew.Width(), rcNew.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
    m_pBar->Invalidate(FALSE);
}
