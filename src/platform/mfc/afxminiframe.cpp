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

BOOL CMiniFrameWnd::IsOwnersSysCommand(UINT nCommand, BOOL bAltF4Down)
{
    return nCommand == SC_KEYMENU || (nCommand == SC_CLOSE && bAltF4Down);
}

BOOL CMiniFrameWnd::IsActiveWith(HWND hWndFrame, HWND hWndActive)
{
    if (!hWndFrame || !hWndActive)
        return FALSE;
    if (hWndActive == hWndFrame)
        return TRUE;
    auto* pMini = dynamic_cast<CMiniFrameWnd*>(CWnd::FromHandlePermanent(hWndActive));
    return pMini && (pMini->m_dwMiniStyle & MFS_SYNCACTIVE) && !(pMini->GetStyle() & WS_CHILD) &&
           ::GetWindow(hWndActive, GW_OWNER) == hWndFrame;
}

void CMiniFrameWnd::OnSysCommand(UINT nID, LPARAM lParam)
{
    UINT nCommand = nID & 0xFFF0;
    // A frame that looks active with its owner is part of the owner to the user: the keyboard's menu and Alt+F4
    // act on the owner, as they do from any child window of it. The owner may destroy this frame meanwhile.
    HWND hWndOwner = (m_dwMiniStyle & MFS_SYNCACTIVE) && !(GetStyle() & WS_CHILD) ? ::GetWindow(m_hWnd, GW_OWNER)
                                                                                 : nullptr;
    BOOL bAltF4Down = ::GetKeyState(VK_MENU) < 0 && ::GetKeyState(VK_F4) < 0;
    if (hWndOwner && IsOwnersSysCommand(nCommand, bAltF4Down)) {
        ::SendMessageW(hWndOwner, WM_SYSCOMMAND, nID, lParam);
        return;
    }
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
