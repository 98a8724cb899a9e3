#include "ui/commandbars/XTPDialogBar.h"

#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/persist/PropExchange.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/themes/BarPainter.h"
#include "ui/themes/DrawHelpers.h"

#include <algorithm>

IMPLEMENT_SERIAL(CXTPDialogBar, CXTPToolBar, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPDialogBarCaptionPopup, CXTPControlPopup, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPDialogBarCloseButton, CXTPControlButton, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

namespace
{
// A bar stretched along its edge (bar flag).
const DWORD dwFlagStretched = 0x40;
// The inner area of the window, inside which nothing sizes.
const int nSizingEdge = 3;
const int nCaptionButton = 16;
} // namespace

BEGIN_MESSAGE_MAP(CXTPDialogBar, CXTPToolBar)
    ON_WM_SIZE()
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
END_MESSAGE_MAP()

CXTPDialogBar::CXTPDialogBar() : m_pCaptionMenu(CXTPPopupBar::CreatePopupBar(nullptr))
{
    SetCustomizable(FALSE);
}

CXTPDialogBar::~CXTPDialogBar()
{
    if (m_pCaptionMenu)
        m_pCaptionMenu->InternalRelease();
}

void CXTPDialogBar::SetChild(CWnd* pChildWnd)
{
    m_hWndChild = pChildWnd ? pChildWnd->GetSafeHwnd() : nullptr;
    if (m_hWndChild && m_hWnd && ::GetParent(m_hWndChild) != m_hWnd)
        ::SetParent(m_hWndChild, m_hWnd);
    PlaceChild();
    OnRecalcLayout();
}

void CXTPDialogBar::SetCaption(const CString& strCaption)
{
    m_strCaption = strCaption;
    OnRecalcLayout();
}

void CXTPDialogBar::SetCaptionVisible(BOOL bVisible)
{
    m_bCaptionVisible = bVisible;
    OnRecalcLayout();
}

void CXTPDialogBar::EnableCaptionMenu(BOOL bEnable)
{
    m_bCaptionMenu = bEnable;
    OnRecalcLayout();
}

void CXTPDialogBar::SetSize(CSize szClient)
{
    m_szDockingClient = m_szFloatingClient = szClient;
    OnRecalcLayout();
}

void CXTPDialogBar::SetClientSizes(CSize szDocking, CSize szFloating)
{
    m_szDockingClient = szDocking;
    m_szFloatingClient = szFloating;
    OnRecalcLayout();
}

BOOL CXTPDialogBar::SetPopupMenu(UINT nIDMenu)
{
    CMenu menu;
    if (!m_pCaptionMenu || !XTPGetResourceLoader()->LoadMenu(&menu, nIDMenu))
        return FALSE;
    CMenu* pPopup = menu.GetSubMenu(0);
    BOOL bLoaded = pPopup && m_pCaptionMenu->LoadMenu(pPopup);
    menu.DestroyMenu();
    OnRecalcLayout();
    return bLoaded;
}

BOOL CXTPDialogBar::HasCaptionMenu() const
{
    return m_bCaptionMenu && m_pCaptionMenu && m_pCaptionMenu->GetControls()->GetCount() > 0;
}

CSize CXTPDialogBar::CalcDockingLayout(int nLength, DWORD dwMode, int /*nWidth*/)
{
    return CalcLayout(nLength, dwMode, m_szDockingClient);
}

CSize CXTPDialogBar::CalcDynamicLayout(int /*nLength*/, DWORD dwMode)
{
    return CalcLayout(32000, dwMode, m_szFloatingClient);
}

CSize CXTPDialogBar::CalcLayout(int nLength, DWORD dwMode, CSize szClient)
{
    CSize sz(szClient.cx + m_rcBorders.left + m_rcBorders.right, szClient.cy + m_rcBorders.top + m_rcBorders.bottom);
    CXTPControl* pClose = m_pControls->FindControl(XTP_ID_DIALOGBAR_CLOSE);
    CXTPControl* pCaption = m_pControls->FindControl(XTP_ID_DIALOGBAR_CAPTION);
    if (!m_bCaptionVisible) {
        m_nCaptionHeight = 0;
        for (CXTPControl* pControl : {pClose, pCaption})
            if (pControl)
                pControl->SetHideFlags(xtpHideGeneric);
        return sz;
    }

    CClientDC dc(m_hWnd ? this : nullptr);
    CFontSelector font(&dc, GetPaintManager()->GetControlFont(this, FALSE));
    TEXTMETRICW tm = {};
    ::GetTextMetricsW(dc.m_hDC, &tm);
    const int nTextHeight = tm.tmHeight;
    m_nCaptionHeight = m_rcBorders.top + nTextHeight;
    sz.cy += nTextHeight;
    if ((dwMode & LM_STRETCH) && nLength > 0) {
        if (dwMode & LM_VERTDOCK)
            sz.cy = std::max<LONG>(sz.cy, nLength);
        else
            sz.cx = nLength;
        if (dwMode & LM_HORZ)
            sz.cx = std::min<LONG>(sz.cx, nLength);
        else
            sz.cy = std::min<LONG>(sz.cy, nLength);
    }

    const int nTop = m_rcBorders.top + nTextHeight / 2 - nCaptionButton / 2;
    if (IsCloseable()) {
        if (!pClose) {
            pClose = m_pControls->AddControl(new CXTPDialogBarCloseButton, XTP_ID_DIALOGBAR_CLOSE);
            pClose->SetFlags(0x1A);
        }
        pClose->SetHideFlags(0);
        pClose->SetRect(CRect(sz.cx - nCaptionButton, nTop, sz.cx, nTop + nCaptionButton));
    } else if (pClose) {
        pClose->SetHideFlags(xtpHideGeneric);
    }
    if (!pCaption) {
        auto* pPopup = new CXTPDialogBarCaptionPopup;
        m_pControls->AddControl(pPopup, XTP_ID_DIALOGBAR_CAPTION);
        pPopup->SetFlags(0x1E);
        pPopup->SetCommandBar(m_pCaptionMenu);
        pCaption = pPopup;
    }
    static_cast<CXTPDialogBarCaptionPopup*>(pCaption)->SetArrow(HasCaptionMenu());
    const int nRight = pClose && !pClose->GetHideFlags() ? pClose->GetRect().left : sz.cx;
    pCaption->SetHideFlags(0);
    pCaption->SetRect(CRect(m_rcBorders.left, nTop, nRight, nTop + nCaptionButton));
    pCaption->SetCaption(m_strCaption.IsEmpty() ? GetTitle() : m_strCaption);
    return sz;
}

void CXTPDialogBar::OnSize(UINT nType, int cx, int cy)
{
    CXTPToolBar::OnSize(nType, cx, cy);
    PlaceChild();
}

void CXTPDialogBar::PlaceChild()
{
    if (!m_hWndChild || !m_hWnd)
        return;
    CRect rc;
    GetClientRect(&rc);
    const int nTop = m_bCaptionVisible ? m_nCaptionHeight : m_rcBorders.top;
    ::SetWindowPos(m_hWndChild, nullptr, rc.left + m_rcBorders.left, rc.top + nTop,
                   rc.Width() - m_rcBorders.right - m_rcBorders.left, rc.Height() - m_rcBorders.bottom - nTop,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(m_hWndChild, nullptr, TRUE);
}

UINT CXTPDialogBar::SizingHitTest(const CRect& rcWindow, CPoint pt, int nPosition, BOOL bStretched)
{
    CRect rcInner = rcWindow;
    rcInner.DeflateRect(nSizingEdge, nSizingEdge);
    if (!rcWindow.PtInRect(pt) || rcInner.PtInRect(pt))
        return HTNOWHERE;
    const BOOL bLeft = pt.x < rcInner.left, bRight = pt.x >= rcInner.right;
    const BOOL bTop = pt.y < rcInner.top, bBottom = pt.y >= rcInner.bottom;
    if (nPosition == xtpBarFloating) {
        if (bTop)
            return bLeft ? HTTOPLEFT : bRight ? HTTOPRIGHT : HTTOP;
        if (bBottom)
            return bLeft ? HTBOTTOMLEFT : bRight ? HTBOTTOMRIGHT : HTBOTTOM;
        return bLeft ? HTLEFT : HTRIGHT;
    }
    if (nPosition == xtpBarBottom && bTop)
        return HTTOP;
    const BOOL bStretchedSide =
        bStretched && (nPosition == xtpBarLeft || nPosition == xtpBarRight || nPosition == xtpBarPopup);
    if (nPosition != xtpBarBottom && !bStretchedSide && bBottom)
        return HTBOTTOM;
    const BOOL bStretchedRow =
        bStretched && (nPosition == xtpBarTop || nPosition == xtpBarBottom || nPosition == xtpBarFloating);
    if (nPosition != xtpBarRight && !bStretchedRow && bRight)
        return HTRIGHT;
    if (nPosition == xtpBarRight && bLeft)
        return HTLEFT;
    return HTNOWHERE;
}

LRESULT CXTPDialogBar::OnNcHitTest(CPoint point)
{
    if (m_bResizable && m_hWnd) {
        CRect rcWindow;
        GetWindowRect(&rcWindow);
        const UINT nHit = SizingHitTest(rcWindow, point, m_nPosition, (GetFlags() & dwFlagStretched) != 0);
        if (nHit != HTNOWHERE)
            return nHit;
    }
    return CXTPToolBar::OnNcHitTest(point);
}

int CXTPDialogBar::OnMouseHitTest(CPoint ptScreen)
{
    if (!m_hWnd)
        return -2;
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    rcWindow.bottom = rcWindow.top + m_nCaptionHeight;
    return rcWindow.PtInRect(ptScreen) ? 1 : -2;
}

BOOL CXTPDialogBar::ResizeTo(const CRect& rcWindow, UINT nHitTest)
{
    const int nCaptionText = m_bCaptionVisible ? m_nCaptionHeight - m_rcBorders.top : 0;
    const CSize szClient(rcWindow.Width() - m_rcBorders.left - m_rcBorders.right,
                         rcWindow.Height() - m_rcBorders.top - m_rcBorders.bottom - nCaptionText);
    if (szClient.cx < m_szMinClient.cx || szClient.cy < m_szMinClient.cy)
        return FALSE;
    if (m_nPosition == xtpBarFloating) {
        m_szFloatingClient = szClient;
        CalcDynamicLayout(0, LM_HORZ | LM_COMMIT);
        if (m_hWnd) {
            MoveWindow(&rcWindow);
            Invalidate(FALSE);
        }
        return TRUE;
    }
    if (nHitTest == HTLEFT || nHitTest == HTRIGHT)
        m_szDockingClient.cx = szClient.cx;
    else
        m_szDockingClient.cy = szClient.cy;
    if (CXTPCommandBars* pCommandBars = GetCommandBars())
        pCommandBars->RecalcFrameLayout(FALSE);
    return TRUE;
}

void CXTPDialogBar::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (m_bResizable && nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT) {
        TrackSizing(nHitTest, point);
        return;
    }
    CXTPToolBar::OnNcLButtonDown(nHitTest, point);
}

void CXTPDialogBar::TrackSizing(UINT nHitTest, CPoint ptStart)
{
    CRect rcStart;
    GetWindowRect(&rcStart);
    SetCapture();
    MSG msg;
    while (::GetCapture() == m_hWnd && AfxGetModalLoopMessage(&msg)) {
        if (msg.message == WM_LBUTTONUP || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE))
            break;
        if (msg.message != WM_MOUSEMOVE) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
            continue;
        }
        CPoint pt(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
        ::ClientToScreen(msg.hwnd, &pt);
        const CSize szOffset = pt - ptStart;
        CRect rc = rcStart;
        if (nHitTest == HTLEFT || nHitTest == HTTOPLEFT || nHitTest == HTBOTTOMLEFT)
            rc.left += szOffset.cx;
        if (nHitTest == HTRIGHT || nHitTest == HTTOPRIGHT || nHitTest == HTBOTTOMRIGHT)
            rc.right += szOffset.cx;
        if (nHitTest == HTTOP || nHitTest == HTTOPLEFT || nHitTest == HTTOPRIGHT)
            rc.top += szOffset.cy;
        if (nHitTest == HTBOTTOM || nHitTest == HTBOTTOMLEFT || nHitTest == HTBOTTOMRIGHT)
            rc.bottom += szOffset.cy;
        ResizeTo(rc, nHitTest);
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

BOOL CXTPDialogBarCaptionPopup::HasMenu() const
{
    return m_pParent && m_pParent->IsKindOf(RUNTIME_CLASS(CXTPDialogBar)) &&
           static_cast<CXTPDialogBar*>(m_pParent)->HasCaptionMenu();
}

BOOL CXTPDialogBarCaptionPopup::SetPopup(BOOL bPopup)
{
    if (bPopup && !HasMenu())
        return FALSE;
    return CXTPControlPopup::SetPopup(bPopup);
}

void CXTPDialogBarCaptionPopup::OnClick(BOOL bKeyboard, CPoint pt)
{
    if (HasMenu())
        CXTPControlPopup::OnClick(bKeyboard, pt);
}

void CXTPDialogBarCaptionPopup::Draw(CDC* pDC)
{
    CXTPBarPainter* pPainter = GetPaintManager();
    CFontSelector font(pDC, pPainter->GetControlFont(m_pParent, FALSE));
    const CRect rc = GetRect();
    if (m_bArrow)
        pPainter->DrawControlFace(pDC, this);
    const COLORREF clrText = m_bArrow ? pDC->GetTextColor() : pPainter->GetColor(COLOR_BTNTEXT);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(clrText);
    CRect rcText(rc.left + 2, rc.top, rc.right - (m_bArrow ? 15 : 2), rc.bottom);
    pDC->DrawText(GetCaption(), &rcText, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (m_bArrow) {
        const int nMid = rc.CenterPoint().y;
        POINT pts[] = {{rc.right - 13, nMid - 2}, {rc.right - 5, nMid - 2}, {rc.right - 9, nMid + 2}};
        CBrush brush(clrText);
        CPen pen(PS_SOLID, 1, clrText);
        CBrush* pOldBrush = pDC->SelectObject(&brush);
        CPen* pOldPen = pDC->SelectObject(&pen);
        ::Polygon(pDC->m_hDC, pts, 3);
        pDC->SelectObject(pOldPen);
        pDC->SelectObject(pOldBrush);
    }
}

void CXTPDialogBarCloseButton::OnExecute()
{
    if (m_pParent && m_pParent->IsKindOf(RUNTIME_CLASS(CXTPToolBar)))
        static_cast<CXTPToolBar*>(m_pParent)->SetVisible(FALSE);
}

void CXTPDialogBarCloseButton::Draw(CDC* pDC)
{
    CFont font;
    if (!font.CreatePointFont(::MulDiv(80, 96, pDC->GetDeviceCaps(LOGPIXELSY)), L"Marlett", pDC))
        return;
    CFont* pOldFont = pDC->SelectObject(&font);
    pDC->SetBkMode(TRANSPARENT);
    GetPaintManager()->SetControlTextColor(pDC, this);
    CRect rc = GetRect();
    pDC->DrawText(L"r", &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->SelectObject(pOldFont);
}
