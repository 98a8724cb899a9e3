#include "afxtooltip.h"

#include "afxwnd.h"

#include <commctrl.h>

namespace
{
thread_local AFX_TOOLTIP_FILTER t_pfnFilter = nullptr;
}

AFX_TOOLTIP_FILTER AfxSetToolTipFilter(AFX_TOOLTIP_FILTER pfnFilter)
{
    AFX_TOOLTIP_FILTER pfnPrevious = t_pfnFilter;
    t_pfnFilter = pfnFilter;
    return pfnPrevious;
}

void AfxFilterToolTipMessage(const MSG* pMsg)
{
    if (t_pfnFilter)
        t_pfnFilter(pMsg);
}

BOOL CWnd::EnableToolTips(BOOL bEnable)
{
    BOOL bWasEnabled = IsToolTipsEnabled();
    if (bEnable)
        m_nFlags |= WF_TOOLTIPS;
    else
        m_nFlags &= ~static_cast<UINT>(WF_TOOLTIPS);
    return bWasEnabled;
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    // The visible child control under the point is the tool; its text is asked for with TTN_NEEDTEXT.
    HWND hChild = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!hChild || hChild == m_hWnd)
        return -1;
    int nID = ::GetDlgCtrlID(hChild);
    if (nID == 0)
        return -1;
    if (pTI && pTI->cbSize >= TTTOOLINFOW_V1_SIZE) {
        pTI->hwnd = m_hWnd;
        pTI->uId = reinterpret_cast<UINT_PTR>(hChild);
        pTI->uFlags |= TTF_IDISHWND;
        pTI->lpszText = LPSTR_TEXTCALLBACKW;
    }
    return nID;
}
