#include "afxcontrolbar.h"

#include "afxdc.h"
#include "afxframe.h"
#include "afxmsgmap.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, &CControlBar::OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CControlBar::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CControlBar::CControlBar() = default;

void CControlBar::SetBarStyle(DWORD dwStyle)
{
    DWORD dwOld = m_dwStyle;
    m_dwStyle = dwStyle;
    if (m_hWnd && ((dwOld ^ dwStyle) & CBRS_BORDER_ANY))
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

BOOL CControlBar::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= WS_CLIPSIBLINGS;
    return CWnd::PreCreateWindow(cs);
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize size(0, 0);
    if (bStretch)
    {
        if (bHorz)
            size.cx = 32767;
        else
            size.cy = 32767;
    }
    return size;
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
    if (bHorz)
    {
        rect.left += m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
    }
    else
    {
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
    }
}

void CControlBar::EraseNonClient()
{
    CRect rcClient, rcWindow;
    GetClientRect(&rcClient);
    ClientToScreen(&rcClient);
    GetWindowRect(&rcWindow);
    rcClient.OffsetRect(-rcWindow.TopLeft());
    rcWindow.OffsetRect(-rcWindow.TopLeft());

    HDC hDC = ::GetWindowDC(m_hWnd);
    if (!hDC)
        return;
    ::ExcludeClipRect(hDC, rcClient.left, rcClient.top, rcClient.right, rcClient.bottom);
    ::FillRect(hDC, &rcWindow, ::GetSysColorBrush(COLOR_3DFACE));
    // The border lines: a shadow and a highlight on each side the style asks for.
    HBRUSH hShadow = ::GetSysColorBrush(COLOR_3DSHADOW), hLight = ::GetSysColorBrush(COLOR_3DHILIGHT);
    auto line = [hDC](int l, int t, int r, int b, HBRUSH hBrush) {
        RECT rc = {l, t, r, b};
        ::FillRect(hDC, &rc, hBrush);
    };
    const CRect& rc = rcWindow;
    if (m_dwStyle & CBRS_BORDER_TOP)
    {
        line(rc.left, rc.top, rc.right, rc.top + 1, hShadow);
        line(rc.left, rc.top + 1, rc.right, rc.top + 2, hLight);
    }
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
    {
        line(rc.left, rc.bottom - 2, rc.right, rc.bottom - 1, hShadow);
        line(rc.left, rc.bottom - 1, rc.right, rc.bottom, hLight);
    }
    if (m_dwStyle & CBRS_BORDER_LEFT)
        line(rc.left, rc.top, rc.left + 1, rc.bottom, hShadow);
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        line(rc.right - 1, rc.top, rc.right, rc.bottom, hShadow);
    ::ReleaseDC(m_hWnd, hDC);
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (!IsVisible())
        return 0;
    CRect rc(pLayout->rect);
    CSize sizeAvail = rc.Size();
    CSize size = CalcFixedLayout(pLayout->bStretch, IsHorzDocked());
    size.cx = std::min(size.cx, sizeAvail.cx);
    size.cy = std::min(size.cy, sizeAvail.cy);
    if (IsHorzDocked())
    {
        pLayout->sizeTotal.cy += size.cy;
        pLayout->sizeTotal.cx = std::max(pLayout->sizeTotal.cx, size.cx);
        if (m_dwStyle & CBRS_ALIGN_TOP)
            pLayout->rect.top += size.cy;
        else
        {
            rc.top = rc.bottom - size.cy;
            pLayout->rect.bottom -= size.cy;
        }
    }
    else if (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT))
    {
        pLayout->sizeTotal.cx += size.cx;
        pLayout->sizeTotal.cy = std::max(pLayout->sizeTotal.cy, size.cy);
        if (m_dwStyle & CBRS_ALIGN_LEFT)
            pLayout->rect.left += size.cx;
        else
        {
            rc.left = rc.right - size.cx;
            pLayout->rect.right -= size.cx;
        }
    }
    rc.right = rc.left + size.cx;
    rc.bottom = rc.top + size.cy;
    AfxRepositionWindow(pLayout, m_hWnd, &rc);
    return 0;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (!IsVisible())
        return 0;
    CFrameWnd* pTarget = dynamic_cast<CFrameWnd*>(GetOwner());
    if (!pTarget)
        pTarget = GetParentFrame();
    if (pTarget)
        OnUpdateCmdUI(pTarget, static_cast<BOOL>(wParam));
    return 0;
}
