#include "ui/docking/XTPDockingPaneAnimation.h"

#include <algorithm>

namespace
{
const UINT nCountdownElapse = 100;
const int nRollUpTicks = 6;      // quiet ticks before a collapsed frame rolls up
const int nHoverTicks = 8;       // and after it was hovered
const int nSlideInTicks = 6;     // quiet ticks before a slide-out window slides in
const int nSplitterStrip = 4;    // the slide-out window's resize strip
}

// Timing

int CXTPDockingPaneAnimationTiming::s_nInterval = 16;
int CXTPDockingPaneAnimationTiming::s_nDuration = 128;

void CXTPDockingPaneAnimationTiming::Set(int nDuration, int nInterval)
{
    s_nDuration = std::max(1, nDuration);
    s_nInterval = std::max(1, nInterval);
}

int CXTPDockingPaneAnimationTiming::GetSteps()
{
    return std::max(1, s_nDuration / s_nInterval);
}

// Roll-up of a floating frame

int CXTPDockingPaneRollUp::GetStepHeight(int nStep, int nSteps, int nExpandedHeight, int nCaptionHeight)
{
    return std::max(nCaptionHeight + 8, nStep * nExpandedHeight / std::max(1, nSteps));
}

void CXTPDockingPaneRollUp::SetHeightForStep(BOOL bBringUp)
{
    m_pHost->SetWindowHeight(GetStepHeight(m_nStep, m_nSteps, m_nExpandedHeight, m_pHost->GetCaptionHeight()),
                             bBringUp);
}

void CXTPDockingPaneRollUp::Expand()
{
    if (m_bCollapsed && m_nStep < m_nSteps)
        m_pHost->SetWindowHeight(m_nExpandedHeight, FALSE);
    m_bCollapsed = FALSE;
    m_bExpandedByHover = FALSE;
    // A roll-up stopped half way must not keep the frame's size limits off.
    m_bRollingUp = FALSE;
    m_nStep = m_nSteps;
    m_pHost->StopTimer(XTP_DOCKINGPANE_TIMER_COUNTDOWN);
    m_pHost->StopTimer(XTP_DOCKINGPANE_TIMER_SLIDEIN);
}

void CXTPDockingPaneRollUp::Toggle()
{
    if (m_bCollapsed) {
        Expand();
    } else {
        m_nSteps = m_nStep = CXTPDockingPaneAnimationTiming::GetSteps();
        m_nExpandedHeight = m_pHost->GetCurrentHeight();
        m_bCollapsed = TRUE;
        m_bRollingUp = FALSE;
        m_bExpandedByHover = TRUE;
        m_nCountdown = nRollUpTicks;
        m_pHost->StartTimer(XTP_DOCKINGPANE_TIMER_COUNTDOWN, nCountdownElapse);
    }
    m_pHost->RepaintFrame();
}

void CXTPDockingPaneRollUp::SetCollapsed(BOOL bCollapsed, int nExpandedHeight)
{
    m_bCollapsed = bCollapsed;
    m_nExpandedHeight = nExpandedHeight;
    m_nSteps = CXTPDockingPaneAnimationTiming::GetSteps();
    m_nStep = bCollapsed ? -1 : m_nSteps;
    m_bExpandedByHover = m_bRollingUp = FALSE;
}

void CXTPDockingPaneRollUp::OnHover()
{
    if (!m_bCollapsed || m_nStep >= 1)
        return;
    m_bExpandedByHover = TRUE;
    m_nStep = m_nSteps;
    SetHeightForStep(TRUE);
    m_nCountdown = nHoverTicks;
    m_pHost->StartTimer(XTP_DOCKINGPANE_TIMER_COUNTDOWN, nCountdownElapse);
}

BOOL CXTPDockingPaneRollUp::OnTimer(UINT nID)
{
    if (nID == XTP_DOCKINGPANE_TIMER_COUNTDOWN) {
        if (m_pHost->IsFocusInside() || m_pHost->IsCursorInside() || m_pHost->IsCaptureHeld() || m_bRollingUp)
            return TRUE;
        if (--m_nCountdown > 0)
            return TRUE;
        if (m_nStep >= m_nSteps)
            m_nExpandedHeight = m_pHost->GetCurrentHeight();
        m_bRollingUp = TRUE;
        m_pHost->StartTimer(XTP_DOCKINGPANE_TIMER_SLIDEIN, CXTPDockingPaneAnimationTiming::GetInterval());
        m_pHost->StopTimer(XTP_DOCKINGPANE_TIMER_COUNTDOWN);
        return TRUE;
    }
    if (nID == XTP_DOCKINGPANE_TIMER_SLIDEIN) {
        if (--m_nStep >= 0) {
            SetHeightForStep(FALSE);
        } else {
            m_bRollingUp = m_bExpandedByHover = FALSE;
            m_pHost->StopTimer(XTP_DOCKINGPANE_TIMER_SLIDEIN);
        }
        return TRUE;
    }
    return FALSE;
}

// Slide-out window

int CXTPDockingPaneSlider::CalcExtent(int nDocking, int nMin, int nMax)
{
    return std::max(nMin + nSplitterStrip, std::min(nMax + nSplitterStrip, nDocking + nSplitterStrip));
}

CRect CXTPDockingPaneSlider::CalcFullRect(CRect rc, int nDirection, int nExtent, BOOL bRightToLeft)
{
    if (bRightToLeft && nDirection <= 1)
        nDirection ^= 1;
    switch (nDirection) {
    case 0: rc.right = rc.left + nExtent; break;
    case 1: rc.left = rc.right - nExtent; break;
    case 2: rc.bottom = rc.top + nExtent; break;
    default: rc.top = rc.bottom - nExtent; break;
    }
    return rc;
}

CRect CXTPDockingPaneSlider::CalcStepRect(const CRect& rcFull, int nDirection, int nStep, int nSteps)
{
    CRect rc = rcFull;
    nSteps = std::max(1, nSteps);
    switch (nDirection) {
    case 0: rc.right = rc.left + rcFull.Width() * (nStep + 1) / nSteps; break;
    case 1: rc.left = rc.right - rcFull.Width() * (nStep + 1) / nSteps; break;
    case 2: rc.bottom = rc.top + rcFull.Height() * (nStep + 1) / nSteps; break;
    default: rc.top = rc.bottom - rcFull.Height() * (nStep + 1) / nSteps; break;
    }
    return rc;
}

void CXTPDockingPaneSlider::Start()
{
    m_nStep = 0;
    m_nSteps = CXTPDockingPaneAnimationTiming::GetSteps();
    m_bSlidingIn = FALSE;
    m_bSlidingOut = m_nSteps > 1;
    if (m_bSlidingOut)
        m_pHost->StartTimer(XTP_DOCKINGPANE_TIMER_SLIDEOUT, CXTPDockingPaneAnimationTiming::GetInterval());
    m_pHost->PlaceForStep(m_nStep, m_nSteps);
    m_pHost->StartTimer(XTP_DOCKINGPANE_TIMER_COUNTDOWN, nCountdownElapse);
    m_nCountdown = nSlideInTicks;
}

void CXTPDockingPaneSlider::CheckLeave()
{
    if (m_pHost->IsTracking())
        return;
    if (!m_pHost->IsFocusInside() && !m_pHost->IsCursorInside()) {
        if (m_bSlidingIn || --m_nCountdown > 0)
            return;
        if (m_pHost->Notify(actionClosing)) {
            m_nCountdown = nSlideInTicks;
            return;
        }
        m_bSlidingIn = TRUE;
        m_pHost->StartTimer(XTP_DOCKINGPANE_TIMER_SLIDEIN, CXTPDockingPaneAnimationTiming::GetInterval());
        return;
    }
    m_nCountdown = nSlideInTicks;
    if (m_bSlidingIn) {
        // Turned back: the window slides out again from where it is, and is no longer on its way in.
        m_bSlidingIn = FALSE;
        m_bSlidingOut = TRUE;
        m_pHost->StopTimer(XTP_DOCKINGPANE_TIMER_SLIDEIN);
        m_pHost->StartTimer(XTP_DOCKINGPANE_TIMER_SLIDEOUT, CXTPDockingPaneAnimationTiming::GetInterval());
    }
}

void CXTPDockingPaneSlider::OnMouseMove()
{
    if (m_bSlidingIn)
        CheckLeave();
}

BOOL CXTPDockingPaneSlider::OnTimer(UINT nID)
{
    switch (nID) {
    case XTP_DOCKINGPANE_TIMER_SLIDEOUT:
        if (m_bSlidingIn)
            return TRUE;
        if (++m_nStep < m_nSteps) {
            m_pHost->PlaceForStep(m_nStep, m_nSteps);
            return TRUE;
        }
        m_nStep = m_nSteps - 1;
        m_bSlidingOut = FALSE;
        m_pHost->StopTimer(XTP_DOCKINGPANE_TIMER_SLIDEOUT);
        m_pHost->Notify(actionOpened);
        return TRUE;
    case XTP_DOCKINGPANE_TIMER_COUNTDOWN:
        CheckLeave();
        return TRUE;
    case XTP_DOCKINGPANE_TIMER_SLIDEIN:
        if (--m_nStep >= 0) {
            m_pHost->PlaceForStep(m_nStep, m_nSteps);
            return TRUE;
        }
        m_bSlidingIn = FALSE;
        m_pHost->StopTimer(XTP_DOCKINGPANE_TIMER_SLIDEIN);
        m_pHost->Notify(actionClosed);
        m_pHost->CloseWindow();
        return TRUE;
    case XTP_DOCKINGPANE_TIMER_CLOSE:
        m_pHost->CloseWindow();
        return TRUE;
    }
    return FALSE;
}

CRect MoveOntoWorkArea(CRect rc, const CRect& rcWork)
{
    CRect rcCommon;
    if (rcCommon.IntersectRect(rc, rcWork))
        return rc;
    if (rc.right <= rcWork.left)
        rc.OffsetRect(rcWork.left - rc.left, 0);
    else if (rc.left >= rcWork.right)
        rc.OffsetRect(rcWork.right - rc.right, 0);
    if (rc.bottom <= rcWork.top)
        rc.OffsetRect(0, rcWork.top - rc.top);
    else if (rc.top >= rcWork.bottom)
        rc.OffsetRect(0, rcWork.bottom - rc.bottom);
    return rc;
}
