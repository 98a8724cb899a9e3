#include "afxminiframe.h"

namespace
{
const DWORD MFS_ALL = MFS_SYNCACTIVE | MFS_4THICKFRAME | MFS_THICKFRAME | MFS_MOVEFRAME | MFS_BLOCKSYSMENU;
}

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMiniFrameWnd, CFrameWnd)
    ON_WM_NCACTIVATE()
    ON_WM_ACTIVATE()
    ON_WM_NCHITTEST()
    ON_WM_SYSCOMMAND()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CMiniFrameWnd::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

BOOL CMiniFrameWnd::Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                           CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, lpClassName, lpWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CMiniFrameWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle,
                             const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    m_dwMiniStyle = dwStyle & MFS_ALL;
    m_strTitle = lpWindowName;
    BOOL bChild = (dwStyle & WS_CHILD) != 0;
    return CWnd::CreateEx(dwExStyle | WS_EX_TOOLWINDOW, lpClassName, lpWindowName, dwStyle & ~MFS_ALL, rect,
                          pParentWnd, bChild ? nID : 0);
}

// The owner frame and the windows it owns besides this one (other floating frames) keep a synchronised
// caption active.
BOOL CMiniFrameWnd::LooksActiveWith(HWND hWndActive) const
{
    if (!hWndActive)
        return FALSE;
    if (hWndActive == m_hWnd)
        return TRUE;
    if (!(m_dwMiniStyle & MFS_SYNCACTIVE))
        return FALSE;
    HWND hWndOwner = (GetStyle() & WS_CHILD) ? ::GetAncestor(m_hWnd, GA_ROOT) : ::GetWindow(m_hWnd, GW_OWNER);
    return hWndOwner && (hWndActive == hWndOwner || ::GetWindow(hWndActive, GW_OWNER) == hWndOwner);
}

void CMiniFrameWnd::SetCaptionActive(BOOL bActive)
{
    m_bCaptionActive = bActive;
    DefWindowProc(WM_NCACTIVATE, bActive, 0);
}

BOOL CMiniFrameWnd::OnNcActivate(BOOL bActive)
{
    if (!(m_dwMiniStyle & MFS_SYNCACTIVE)) {
        m_bCaptionActive = bActive;
        return CFrameWnd::OnNcActivate(bActive);
    }
    // Deactivation comes before the next window is active: the active window seen here is either a window
    // that stays active beside this one, or still this one, which OnActivate then corrects.
    m_bCaptionActive = bActive || (::GetActiveWindow() != m_hWnd && LooksActiveWith(::GetActiveWindow()));
    DefWindowProc(WM_NCACTIVATE, m_bCaptionActive, 0);
    return TRUE;   // the activation itself goes on
}

void CMiniFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CFrameWnd::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE && (m_dwMiniStyle & MFS_SYNCACTIVE) && pWndOther &&
        LooksActiveWith(pWndOther->m_hWnd) != m_bCaptionActive)
        SetCaptionActive(!m_bCaptionActive);
}

LRESULT CMiniFrameWnd::OnNcHitTest(CPoint point)
{
    LRESULT nHit = CFrameWnd::OnNcHitTest(point);
    if ((m_dwMiniStyle & MFS_MOVEFRAME) && nHit >= HTLEFT && nHit <= HTBORDER)
        return HTCAPTION;
    if (m_dwMiniStyle & MFS_4THICKFRAME) {
        switch (nHit) {
        case HTTOPLEFT:
        case HTTOPRIGHT:
            return HTTOP;
        case HTBOTTOMLEFT:
        case HTBOTTOMRIGHT:
            return HTBOTTOM;
        }
    }
    return nHit;
}

void CMiniFrameWnd::OnSysCommand(UINT nID, LPARAM lParam)
{
    UINT nCommand = nID & 0xFFF0;
    if ((m_dwMiniStyle & MFS_BLOCKSYSMENU) && (nCommand == SC_KEYMENU || nCommand == SC_MOUSEMENU))
        return;
    CFrameWnd::OnSysCommand(nID, lParam);
}

// The owner's own activation changes reach this frame on the next idle update.
LRESULT CMiniFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = CFrameWnd::OnIdleUpdateCmdUI(wParam, lParam);
    if ((m_dwMiniStyle & MFS_SYNCACTIVE) && LooksActiveWith(::GetActiveWindow()) != m_bCaptionActive)
        SetCaptionActive(!m_bCaptionActive);
    return lResult;
}
