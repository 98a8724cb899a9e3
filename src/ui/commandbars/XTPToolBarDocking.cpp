// The toolbar's docking part: its floating window, and the mouse on its background that moves, resizes and
// toggles it through its dock context.
#include "ui/commandbars/XTPToolBar.h"

#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPDockContext.h"

#include "platform/mfc/afxminiframe.h"

namespace
{
// Floating bars and popups carry this style bit; the frame's floating-window notifications look for it.
const DWORD kFloatingStyleBit = 0x100;
const DWORD kDockFlagsAny = 0x1F;
}

BOOL CXTPToolBar::SetFloatingMode(CWnd* pParent, BOOL bFloat)
{
    HWND hWndParent = pParent ? pParent->GetSafeHwnd() : nullptr;
    if (!m_hWnd)
    {
        CPoint pt = m_pDockContext ? m_pDockContext->m_ptLastFloat : CPoint(100, 100);
        DWORD dwExStyle = hWndParent ? static_cast<DWORD>(::GetWindowLongPtrW(hWndParent, GWL_EXSTYLE)) &
                                           WS_EX_LAYOUTRTL
                                     : 0;
        LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
        if (!CreateEx(dwExStyle, lpszClass, L"Title", WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | kFloatingStyleBit,
                      pt.x, pt.y, 0, 0, hWndParent, nullptr))
            return FALSE;
        ShowWindow(SW_SHOWNA);
    }
    DWORD dwStyle = GetStyle();
    if (bFloat && (dwStyle & WS_CHILD))
    {
        // Where it is on the screen now, as a window of its own.
        CRect rc;
        GetWindowRect(&rc);
        ::SetParent(m_hWnd, nullptr);
        ModifyStyle(WS_CHILD, WS_POPUP | kFloatingStyleBit);
        ::SetWindowLongPtrW(m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(hWndParent));
        ::SetWindowPos(m_hWnd, nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    else if (!bFloat && (dwStyle & WS_POPUP))
    {
        ::SetWindowLongPtrW(m_hWnd, GWLP_HWNDPARENT, 0);
        ModifyStyle(WS_POPUP | kFloatingStyleBit, WS_CHILD);
    }
    return TRUE;
}

void CXTPToolBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_nPosition == xtpBarFloating)
        SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (m_pControls->HitTest(point))
    {
        CXTPCommandBar::OnLButtonDown(nFlags, point);
        return;
    }
    if (CXTPCommandBars* pCommandBars = GetCommandBars())
        pCommandBars->ClosePopups();
    if (m_pDockContext && (m_dwFlags & kDockFlagsAny))
    {
        ClientToScreen(&point);
        m_pDockContext->StartDrag(point);
    }
}

void CXTPToolBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (!m_pControls->HitTest(point) && m_pDockContext)
        m_pDockContext->ToggleDocking();
    else
        CXTPCommandBar::OnLButtonDblClk(nFlags, point);
}

LRESULT CXTPToolBar::OnNcHitTest(CPoint point)
{
    if (m_nPosition == xtpBarFloating)
    {
        CRect rc;
        GetWindowRect(&rc);
        rc.DeflateRect(3, 3);
        if (point.y < rc.top)
            return HTTOP;
        if (point.y >= rc.bottom)
            return HTBOTTOM;
        if (point.x < rc.left)
            return HTLEFT;
        if (point.x >= rc.right)
            return HTRIGHT;
    }
    return CXTPCommandBar::OnNcHitTest(point);
}

void CXTPToolBar::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (!m_pDockContext || nHitTest < HTLEFT || nHitTest > HTBOTTOMRIGHT)
    {
        CXTPCommandBar::OnNcLButtonDown(nHitTest, point);
        return;
    }
    if (CWnd* pTop = GetTopLevelParent())
        pTop->SetActiveWindow();
    SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    if (CXTPCommandBars* pCommandBars = GetCommandBars())
        pCommandBars->ClosePopups();
    m_pDockContext->StartResize(static_cast<int>(nHitTest), point);
}

int CXTPToolBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    CXTPCommandBars* pCommandBars = GetCommandBars();
    if (m_nPosition == xtpBarFloating || IsFocusInMiniFrame() || (pCommandBars && pCommandBars->IsCustomizeMode()))
        return MA_NOACTIVATE;
    return CXTPCommandBar::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

BOOL CXTPToolBar::IsFocusInMiniFrame() const
{
    CWnd* pFocus = CWnd::GetFocus();
    if (!pFocus || !CMiniFrameWnd::IsActiveWith(::GetAncestor(m_hWnd, GA_ROOT), ::GetActiveWindow()))
        return FALSE;
    for (CFrameWnd* pFrame = pFocus->GetParentFrame(); pFrame; pFrame = pFrame->GetParentFrame())
        if (pFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)))
            return TRUE;
    return FALSE;
}

BOOL CXTPToolBar::OnNcActivate(BOOL bActive)
{
    // A floating bar never looks active on its own.
    if (bActive)
        return FALSE;
    return CXTPCommandBar::OnNcActivate(bActive);
}

void CXTPToolBar::OnClose()
{
    // A floating bar closes only through its close button.
}

BOOL CXTPToolBar::OnNcCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (!CXTPCommandBar::OnNcCreate(lpCreateStruct))
        return FALSE;
    // A bar made floating starts in the state of its frame's activation.
    if (lpCreateStruct->style & kFloatingStyleBit)
        SendMessage(WM_FLOATSTATUS, GetFirstFloatStatus(m_hWnd));
    return TRUE;
}

LRESULT CXTPToolBar::OnFloatStatus(WPARAM wParam, LPARAM)
{
    LRESULT lResult = (GetStyle() & kFloatingStyleBit) && (wParam & FS_SYNCACTIVE) ? 1 : 0;
    if (m_nPosition != xtpBarFloating || !m_bVisible)
        return lResult;
    HWND hWndFrame = ::GetWindow(m_hWnd, GW_OWNER);
    BOOL bFrameActive = hWndFrame && ::GetActiveWindow() == hWndFrame;
    const UINT nNoMove = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    CXTPCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars || pCommandBars->GetCommandBarsOptions()->bSyncFloatingToolbars)
    {
        // Floating bars are away while the application is. The frame sends the deactivation only when the
        // activation leaves it and its own windows (while it is sent the frame may still be the active one).
        if (wParam & FS_DEACTIVATE)
            SetWindowPos(nullptr, 0, 0, 0, 0, nNoMove | SWP_HIDEWINDOW);
        HWND hWndForeground = ::GetForegroundWindow();
        if ((wParam & FS_ACTIVATE) && bFrameActive && !(GetStyle() & WS_VISIBLE) && hWndForeground &&
            ::IsWindowVisible(hWndForeground) && !::IsIconic(hWndForeground))
            SetWindowPos(nullptr, 0, 0, 0, 0, nNoMove | SWP_SHOWWINDOW);
    }
    if (wParam & FS_SHOW)
        SetWindowPos(nullptr, 0, 0, 0, 0, nNoMove | SWP_SHOWWINDOW);
    if (wParam & FS_HIDE)
        SetWindowPos(nullptr, 0, 0, 0, 0, nNoMove | SWP_HIDEWINDOW);
    if (wParam & (FS_ENABLE | FS_DISABLE))
        EnableWindow((wParam & FS_ENABLE) != 0);
    return lResult;
}
