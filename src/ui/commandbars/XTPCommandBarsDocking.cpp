// The manager's part in docking: the four dock bars of the frame, docking a bar in one of them and floating it.
#include "ui/commandbars/XTPCommandBars.h"

#include "ui/commandbars/XTPDockBar.h"
#include "ui/commandbars/XTPDockDecisions.h"
#include "ui/commandbars/XTPToolBar.h"

namespace
{
struct DOCKBAR_DEFINITION
{
    UINT nID;
    DWORD dwStyle;
};
// Top, bottom, left, right.
const DOCKBAR_DEFINITION kDockBars[4] = {{0xE81B, CBRS_TOP}, {0xE81E, CBRS_BOTTOM}, {0xE81C, CBRS_LEFT},
                                         {0xE81D, CBRS_RIGHT}};
const DWORD kDockBarWindowStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
}

void CXTPCommandBars::EnableDocking()
{
    if (!m_pSite || !m_pSite->GetSafeHwnd())
        return;
    for (int i = 0; i < 4; ++i)
    {
        if (m_pDocks[i])
            continue;
        m_pDocks[i] = new CXTPDockBar(this);
        if (!m_pDocks[i]->Create(m_pSite, kDockBarWindowStyle | kDockBars[i].dwStyle, kDockBars[i].nID))
            AfxThrowResourceException();
    }
}

BOOL CXTPCommandBars::DockCommandBar(CXTPToolBar* pBar, int nPosition)
{
    if (nPosition < xtpBarTop || nPosition > xtpBarRight)
        return FALSE;
    if (CXTPDockBar* pDockBar = GetDockBar(nPosition))
        return DockCommandBar(pBar, nullptr, pDockBar);
    // Without dock bars the bar takes its row at that edge itself (WM_SIZEPARENT).
    pBar->CXTPCommandBar::SetPosition(nPosition);
    RecalcFrameLayout(TRUE);
    return TRUE;
}

BOOL CXTPCommandBars::DockCommandBar(CXTPToolBar* pBar, LPCRECT lpRect, CXTPDockBar* pDockBar)
{
    if (!pDockBar || !pBar->SetFloatingMode(m_pSite, FALSE))
        return FALSE;
    pDockBar->DockCommandBar(pBar, lpRect);
    pBar->CXTPCommandBar::SetPosition(pDockBar->GetDockPosition());
    return TRUE;
}

BOOL CXTPCommandBars::FloatCommandBar(CXTPToolBar* pBar)
{
    if (!pBar->SetFloatingMode(m_pSite, TRUE))
        return FALSE;
    if (CXTPDockBar* pDockBar = pBar->GetDockBar())
        pDockBar->RemoveCommandBar(pBar, -1);
    pBar->CXTPCommandBar::SetPosition(xtpBarFloating);
    pBar->OnRecalcLayout();
    RecalcFrameLayout(TRUE);
    return TRUE;
}

CXTPDockBar* CXTPCommandBars::CanDock(CPoint pt, CXTPDockBar* pPreferred) const
{
    CRect rcDockBars[4];
    int nPreferred = -1;
    for (int i = 0; i < 4; ++i)
    {
        // A side without a dock bar catches nothing.
        rcDockBars[i].SetRect(INT_MIN / 2, INT_MIN / 2, INT_MIN / 2, INT_MIN / 2);
        if (m_pDocks[i] && m_pDocks[i]->GetSafeHwnd())
            m_pDocks[i]->GetWindowRect(&rcDockBars[i]);
        if (m_pDocks[i] && m_pDocks[i] == pPreferred)
            nPreferred = i;
    }
    return GetDockBar(CXTPDockDecisions::FindDockBarAt(pt, rcDockBars, nPreferred));
}
