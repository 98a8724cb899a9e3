#include "ui/commandbars/XTPFrameWnd.h"

#include "ui/commandbars/XTPMenuBar.h"

IMPLEMENT_DYNCREATE(CXTPFrameWnd, CFrameWnd)

BOOL XTPIsCommandBarsEditFocused(const MSG* pMsg)
{
    if (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_TAB || pMsg->wParam == VK_ESCAPE)
        return FALSE;
    HWND hWndFocus = ::GetFocus();
    if (!hWndFocus)
        return FALSE;
    CWnd* pParent = CWnd::FromHandlePermanent(::GetParent(hWndFocus));
    return pParent && pParent->IsKindOf(RUNTIME_CLASS(CXTPCommandBar));
}

BOOL XTPRouteControlNotify(CCmdTarget* pFrame, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* pNotify = reinterpret_cast<XTP_CONTROL_NOTIFY*>(lParam);
    if (!pNotify)
        return FALSE;
    LRESULT lResult = 0;
    AFX_NOTIFY notify = {&lResult, reinterpret_cast<NMHDR*>(pNotify)};
    if (!pFrame->OnCmdMsg(static_cast<UINT>(wParam), static_cast<int>(MAKELONG(pNotify->code, WM_NOTIFY)), &notify,
                          nullptr))
        return FALSE;
    *pResult = lResult;
    return TRUE;
}

BOOL CXTPFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    if (!CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
        return FALSE;
    // The menu bar took the frame's menu away in OnCreate and destroys it with itself.
    if (m_pCommandBars && m_pCommandBars->GetMenuBar())
        m_hMenuDefault = nullptr;
    return TRUE;
}

void CXTPFrameWnd::OnSetPreviewMode(BOOL bPreview)
{
    if (m_pCommandBars)
        m_pCommandBars->OnSetPreviewMode(bPreview);
}
