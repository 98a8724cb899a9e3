#include "ui/commandbars/XTPPopupShadows.h"

#include "ui/commandbars/XTPCommandBar.h"
#include "ui/commandbars/XTPControl.h"
#include "ui/themes/BarPainter.h"

#include <algorithm>

namespace
{
BOOL SystemDropShadow()
{
    BOOL bOn = FALSE;
    return ::SystemParametersInfoW(SPI_GETDROPSHADOW, 0, &bOn, 0) && bOn;
}

CXTPPopupShadows::PFN_DROPSHADOWSETTING g_pfnDropShadow = nullptr;

BOOL IsDropShadowOn()
{
    return g_pfnDropShadow ? g_pfnDropShadow() : SystemDropShadow();
}

DWORD ShadowPixel(COLORREF clr, double f, int a)
{
    auto scale = [f](int c) { return static_cast<DWORD>(c * f); };
    return static_cast<DWORD>(a) << 24 | scale(GetRValue(clr)) << 16 | scale(GetGValue(clr)) << 8 |
           scale(GetBValue(clr));
}
}

// Strip window

std::vector<DWORD> CPopupShadowWnd::CalcLayeredPixels(int cx, int cy, BOOL bBottom, BOOL bThemeShadow, COLORREF clr)
{
    std::vector<DWORD> bits(static_cast<size_t>(std::max(cx, 0)) * std::max(cy, 0));
    int m = bThemeShadow ? 1 : 2;
    auto put = [&](int x, int y, double f, int a) {
        if (x >= 0 && x < cx && y >= 0 && y < cy)
            bits[static_cast<size_t>(y) * cx + x] = ShadowPixel(clr, f, a);
    };
    // The ramp across the strip, from the popup's side outwards.
    static const double ramp[4] = {1.0, 0.75, 0.5, 0.25};
    if (bBottom) {
        for (int x = 4; x < cx - 4; x++)
            for (int y = 0; y < 4; y++)
                put(x, y, ramp[y], 60 * m - 15 * m * y);
        // Both ends fade in toward the middle.
        for (int i = 1; i <= 4; i++)
            for (int j = 1; j <= 4; j++) {
                put(j - 1, i - 1, 0.05 * i * j, 3 * m * i * j);
                put(cx - j, i - 1, 0.05 * i * j, 3 * m * i * j);
            }
    } else {
        for (int y = 4; y < cy; y++)
            for (int x = 0; x < 4; x++)
                put(x, y, ramp[x], 60 * m - 15 * m * x);
        for (int i = 1; i <= 4; i++)
            for (int j = 1; j <= 4; j++)
                put(j - 1, i - 1, 0.05 * i * j, 3 * m * i * j);
    }
    return bits;
}

namespace
{
// Where kept windows wait, off every screen.
const int kSparePosition = -32000;
}

BOOL CPopupShadowWnd::PutRamp(CSize sz, const POINT* pptDest)
{
    COLORREF clrShadow = m_pOwner->GetPaintManager()->GetShadowColor();
    std::vector<DWORD> pixels = CalcLayeredPixels(sz.cx, sz.cy, m_bBottom, m_bThemeShadow, clrShadow);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = sz.cx;
    info.bmiHeader.biHeight = -sz.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (!hBitmap)
        return FALSE;
    std::copy(pixels.begin(), pixels.end(), static_cast<DWORD*>(pBits));
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    POINT ptSource = {0, 0};
    SIZE size = {sz.cx, sz.cy};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    // Noted first: a system that sizes the window by a message on the way finds the ramp already there.
    m_szLayered = sz;
    m_bLayeredBottom = m_bBottom;
    m_bLayeredTheme = m_bThemeShadow;
    m_clrLayered = clrShadow;
    BOOL bDone = CXTPPopupShadows::GetInstance()->GetUpdateLayeredWindow()(
        m_hWnd, nullptr, const_cast<POINT*>(pptDest), &size, hDC, &ptSource, 0, &blend, ULW_ALPHA);
    if (!bDone)
        m_szLayered = CSize(0, 0);
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    ::DeleteObject(hBitmap);
    return bDone;
}

BOOL CPopupShadowWnd::HasRamp(CSize sz) const
{
    // The window keeps what it was given last: the same ramp is not given again.
    return sz == m_szLayered && m_bBottom == m_bLayeredBottom && m_bThemeShadow == m_bLayeredTheme &&
           m_pOwner->GetPaintManager()->GetShadowColor() == m_clrLayered;
}

void CPopupShadowWnd::UpdateLayered()
{
    if (!CXTPPopupShadows::GetInstance()->IsLayered() || !m_pOwner)
        return;
    CRect rc;
    GetWindowRect(&rc);
    if (!rc.IsRectEmpty() && !HasRamp(rc.Size()))
        PutRamp(rc.Size(), nullptr);
}

void CPopupShadowWnd::Place(const CRect& rc)
{
    m_rcPlace = rc;
    if (IsShapeEmpty())
        return;
    // A window in sight is topmost already and keeps its place among the strips: shadows of one colour blend
    // alike in either order.
    BOOL bInSight = !m_bParked && IsWindowVisible();
    m_bParked = FALSE;
    // A new ramp moves and sizes the window with it: the window is never seen with the old one at the new size.
    POINT ptDest = rc.TopLeft();
    BOOL bPlaced = CXTPPopupShadows::GetInstance()->IsLayered() && m_pOwner && !HasRamp(rc.Size()) &&
                   PutRamp(rc.Size(), &ptDest);
    if (bInSight && !bPlaced)
        SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOACTIVATE | SWP_NOZORDER);
    else if (!bInSight)
        SetWindowPos(&CWnd::wndTopMost, rc.left, rc.top, rc.Width(), rc.Height(),
                     SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER | (bPlaced ? SWP_NOMOVE | SWP_NOSIZE : 0));
}

void CPopupShadowWnd::Park()
{
    // A window that its shape hides whole is out of sight where it is.
    if (!IsShapeEmpty())
        SetWindowPos(nullptr, kSparePosition, kSparePosition, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_bParked = TRUE;
}

BOOL CPopupShadowWnd::IsShapeEmpty() const
{
    CRect rcBox;
    return m_rgnShape.GetSafeHandle() && m_rgnShape.GetRgnBox(&rcBox) == NULLREGION;
}

void CPopupShadowWnd::SetShape(CRgn* pRgn)
{
    if (!pRgn) {
        if (!m_rgnShape.GetSafeHandle())
            return;
        m_rgnShape.DeleteObject();
        ::SetWindowRgn(m_hWnd, nullptr, FALSE);
        return;
    }
    if (m_rgnShape.GetSafeHandle() && m_rgnShape.EqualRgn(pRgn))
        return;
    if (!m_rgnShape.GetSafeHandle())
        m_rgnShape.CreateRectRgn(0, 0, 0, 0);
    m_rgnShape.CopyRgn(pRgn);
    ::SetWindowRgn(m_hWnd, static_cast<HRGN>(pRgn->Detach()), FALSE);
}

LRESULT CPopupShadowWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT: {
        CPaintDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        BOOL bLayered = CXTPPopupShadows::GetInstance()->IsLayered();
        dc.FillSolidRect(rc, bLayered ? RGB(0, 0, 0) : GetColorTable()->GetColor(COLOR_BTNSHADOW));
        return 0;
    }
    case WM_SIZE:
        UpdateLayered();
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

int CPopupShadowWnd::OnHookMessage(HWND /*hWnd*/, UINT nMessage, WPARAM& wParam, LPARAM& /*lParam*/,
                                   LRESULT& /*lResult*/)
{
    if (nMessage == WM_SHOWWINDOW && m_hWnd) {
        ShowWindow(wParam ? SW_SHOWNA : SW_HIDE);
    } else if (nMessage == WM_DESTROY) {
        CXTPPopupShadows::GetInstance()->RemoveStrip(this);
    }
    return xtpHookContinue;
}

// The list

CXTPPopupShadows::CXTPPopupShadows()
{
    HMODULE hUser = ::GetModuleHandleW(L"USER32");
    if (hUser)
        m_pfnUpdateLayeredWindow = reinterpret_cast<PFNUPDATELAYEREDWINDOW>(
            reinterpret_cast<void (*)()>(::GetProcAddress(hUser, "UpdateLayeredWindow")));
}

CXTPPopupShadows::~CXTPPopupShadows()
{
    // Windows are gone at exit; only the objects remain.
    for (CPopupShadowWnd* pStrip : m_lstStrips)
        delete pStrip;
    for (CPopupShadowWnd* pStrip : m_arrSpare)
        delete pStrip;
}

CXTPPopupShadows* CXTPPopupShadows::GetInstance()
{
    static CXTPPopupShadows s_shadows;
    return &s_shadows;
}

CXTPPopupShadows::PFN_DROPSHADOWSETTING CXTPPopupShadows::SetDropShadowSource(PFN_DROPSHADOWSETTING pfn)
{
    PFN_DROPSHADOWSETTING pfnOld = g_pfnDropShadow;
    g_pfnDropShadow = pfn;
    return pfnOld;
}

CRect CXTPPopupShadows::CalcStripRect(const CRect& rc, BOOL bBottom, int d)
{
    return bBottom ? CRect(rc.left + d, rc.bottom, rc.right + d, rc.bottom + d)
                   : CRect(rc.right, rc.top + d, rc.right + d, rc.bottom);
}

CRect CXTPPopupShadows::JoinStrip(CRect rc, BOOL bBottom, const CRect& rcEarlier)
{
    if (bBottom) {
        // A submenu opened one pixel inside the right edge of an earlier popup.
        if (rc.left == rcEarlier.right - 1 && rc.top > rcEarlier.top && rc.bottom < rcEarlier.bottom)
            rc.left = rc.left - 2 * rcEarlier.Width() - 1;
    } else if (rc.top == rcEarlier.bottom - 1 && rcEarlier.left < rc.right && rc.right < rcEarlier.right) {
        // A popup opened one pixel above the bottom edge of an earlier popup or control.
        rc.top = rc.top - 2 * rcEarlier.Height();
    }
    return rc;
}

void CXTPPopupShadows::AddShadow(CXTPCommandBar* pBar, CRect rcExclude)
{
    if (pBar->IsCustomizeMode())
        return;
    BOOL bTheme = pBar->GetPaintManager()->HasPopupShadow();
    if (!bTheme && !(IsLayered() && IsDropShadowOn()))
        return;
    CRect rc;
    pBar->GetWindowRect(&rc);
    CreateStrip(TRUE, pBar, rc, rcExclude, bTheme);
    CreateStrip(FALSE, pBar, rc, rcExclude, bTheme);
}

void CXTPPopupShadows::AddControlShadow(CXTPControl* pControl)
{
    // The strips belong to the control's open popup: they hide and go with it.
    CXTPCommandBar* pBar = pControl->GetParent();
    CXTPCommandBar* pPopup = pControl->GetCommandBar();
    if (!pBar || !pBar->GetSafeHwnd() || !pPopup || !pPopup->GetSafeHwnd() || pBar->IsCustomizeMode() ||
        !pControl->GetPaintManager()->HasPopupShadow())
        return;
    CRect rc = pControl->GetRect();
    pBar->ClientToScreen(&rc);
    CreateStrip(TRUE, pPopup, rc, CRect(), TRUE);
    CreateStrip(FALSE, pPopup, rc, CRect(), TRUE);
}

void CXTPPopupShadows::CreateStrip(BOOL bBottom, CXTPCommandBar* pOwner, const CRect& rcPopup,
                                   const CRect& rcExclude, BOOL bThemeShadow)
{
    if (!pOwner->GetPaintManager()->IsShadowsAllowed())
        return;
    CRect rc = CalcStripRect(rcPopup, bBottom, IsLayered() ? 4 : 2);
    for (CPopupShadowWnd* pEarlier : m_lstStrips)
        if (pEarlier->IsBottom() != bBottom && pEarlier->GetSafeHwnd())
            rc = JoinStrip(rc, bBottom, pEarlier->GetPlace());
    CRgn rgn;
    BOOL bCut = CalcStripShape(rgn, rc, pOwner, rcExclude, bThemeShadow);
    CRect rcBox;
    CPopupShadowWnd* pStrip = TakeStrip(bBottom, bThemeShadow, pOwner, rc.Size(),
                                        bCut && rgn.GetRgnBox(&rcBox) == NULLREGION);
    if (!pStrip)
        return;
    m_lstStrips.push_back(pStrip);
    // A strip nothing cuts needs no shape: the window keeps none.
    pStrip->SetShape(bCut ? &rgn : nullptr);
    pStrip->Place(rc);
    CWindowHookManager::GetInstance()->SetHook(pOwner->GetSafeHwnd(), pStrip);
}

BOOL CXTPPopupShadows::CalcStripShape(CRgn& rgn, const CRect& rc, CXTPCommandBar* pOwner, const CRect& rcExclude,
                                      BOOL bThemeShadow) const
{
    // Never a shadow over the control that opened the popup, nor over another open popup.
    rgn.CreateRectRgn(0, 0, rc.Width(), rc.Height());
    BOOL bCut = FALSE;
    auto cut = [&rgn, &rc, &bCut](CRect rcCut) {
        CRect rcPart;
        if (!rcPart.IntersectRect(rcCut, rc))
            return;
        rcPart.OffsetRect(-rc.left, -rc.top);
        CRgn rgnCut;
        rgnCut.CreateRectRgnIndirect(rcPart);
        rgn.CombineRgn(&rgn, &rgnCut, RGN_DIFF);
        bCut = TRUE;
    };
    auto cutOwner = [&cut](CXTPCommandBar* pBar) {
        CRect rcOwner;
        if (pBar && pBar->GetSafeHwnd()) {
            pBar->GetWindowRect(&rcOwner);
            cut(rcOwner);
        }
    };
    if (bThemeShadow)
        cut(rcExclude);
    for (CPopupShadowWnd* pListed : m_lstStrips)
        cutOwner(pListed->GetOwnerBar());
    cutOwner(pOwner);
    return bCut;
}

namespace
{
// Enough for a menu, a sub-menu and the controls that opened them.
const size_t kSpareStrips = 8;
}

CPopupShadowWnd* CXTPPopupShadows::TakeStrip(BOOL bBottom, BOOL bThemeShadow, CXTPCommandBar* pOwner, CSize sz,
                                              BOOL bHidden)
{
    CWnd* pSite = pOwner->GetSite();
    HWND hWndSite = pSite ? pSite->GetSafeHwnd() : nullptr;
    // A kept window of the same owner window; best one that already shows what this strip will: nothing, or its
    // ramp.
    int nBest = -1;
    for (size_t i = m_arrSpare.size(); i-- > 0;) {
        CPopupShadowWnd* pSpare = m_arrSpare[i];
        if (!pSpare->GetSafeHwnd()) {
            // Gone with the window that owned it.
            m_arrSpare.erase(m_arrSpare.begin() + static_cast<std::ptrdiff_t>(i));
            delete pSpare;
            if (nBest > static_cast<int>(i))
                nBest--;
            continue;
        }
        if (::GetWindow(pSpare->m_hWnd, GW_OWNER) != hWndSite)
            continue;
        CRect rc;
        pSpare->GetWindowRect(&rc);
        BOOL bFits = bHidden ? pSpare->IsShapeEmpty()
                             : rc.Size() == sz && pSpare->IsBottom() == bBottom && pSpare->IsThemeShadow() == bThemeShadow;
        if (nBest == -1 || bFits)
            nBest = static_cast<int>(i);
    }
    if (nBest != -1) {
        CPopupShadowWnd* pTaken = m_arrSpare[static_cast<size_t>(nBest)];
        m_arrSpare.erase(m_arrSpare.begin() + nBest);
        pTaken->Reuse(bBottom, bThemeShadow, pOwner);
        return pTaken;
    }
    auto* pStrip = new CPopupShadowWnd(bBottom, bThemeShadow, pOwner);
    static LPCTSTR lpszClass = AfxRegisterWndClass(CS_OWNDC | CS_SAVEBITS, ::LoadCursorW(nullptr, IDC_ARROW));
    if (!pStrip->CreateEx(WS_EX_TOOLWINDOW | (IsLayered() ? WS_EX_LAYERED : 0), lpszClass, L"", WS_POPUP,
                          CRect(CPoint(kSparePosition, kSparePosition), sz), hWndSite ? pSite : nullptr, 0)) {
        delete pStrip;
        return nullptr;
    }
    return pStrip;
}

void CXTPPopupShadows::RemoveStrip(CPopupShadowWnd* pStrip)
{
    auto it = std::find(m_lstStrips.begin(), m_lstStrips.end(), pStrip);
    if (it == m_lstStrips.end())
        return;
    m_lstStrips.erase(it);
    CWindowHookManager::GetInstance()->RemoveHookFromAll(pStrip);
    pStrip->ClearOwner();
    if (pStrip->GetSafeHwnd() && m_arrSpare.size() < kSpareStrips) {
        // Out of sight rather than hidden: showing a window again costs the system more than moving it.
        if (m_nHold == 0)
            pStrip->Park();
        m_arrSpare.push_back(pStrip);
        return;
    }
    if (pStrip->GetSafeHwnd())
        pStrip->DestroyWindow();
    delete pStrip;
}

void CXTPPopupShadows::RemoveShadow(CXTPCommandBar* pBar)
{
    std::vector<CPopupShadowWnd*> strips;
    for (CPopupShadowWnd* pStrip : m_lstStrips)
        if (pStrip->GetOwnerBar() == pBar)
            strips.push_back(pStrip);
    for (CPopupShadowWnd* pStrip : strips)
        RemoveStrip(pStrip);
}

void CXTPPopupShadows::ReleaseSpares()
{
    if (--m_nHold > 0)
        return;
    m_nHold = 0;
    for (CPopupShadowWnd* pSpare : m_arrSpare)
        if (pSpare->GetSafeHwnd() && !pSpare->IsParked())
            pSpare->Park();
}
