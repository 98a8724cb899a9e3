#include "ui/commandbars/XTPDockBar.h"

#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPDockContext.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/themes/BarPainter.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CXTPDockBar, CWnd)

BEGIN_MESSAGE_MAP(CXTPDockBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, &CXTPDockBar::OnSizeParent)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINT, &CXTPDockBar::OnPrint)
    ON_WM_ERASEBKGND()
    ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

CXTPDockBar::CXTPDockBar(CXTPCommandBars* pCommandBars) : m_pCommandBars(pCommandBars)
{
}

BOOL CXTPDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
    return CWnd::Create(lpszClass, nullptr, dwStyle & ~CBRS_ALL, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CXTPDockBar::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= WS_CLIPSIBLINGS;
    return CWnd::PreCreateWindow(cs);
}

int CXTPDockBar::GetVisibleCount() const
{
    int nCount = 0;
    for (CXTPToolBar* pBar : m_slots.GetSlots())
        nCount += pBar && pBar->IsVisible() ? 1 : 0;
    return nCount;
}

int CXTPDockBar::GetDockPosition() const
{
    if (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM))
        return xtpBarTop;
    if (m_dwStyle & (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP))
        return xtpBarBottom;
    if (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT))
        return xtpBarLeft;
    return xtpBarRight;
}

void CXTPDockBar::DockCommandBar(CXTPToolBar* pBar, LPCRECT lpRect)
{
    CRect rcWindow;
    pBar->GetWindowRect(&rcWindow);
    if (pBar->GetDockBar() == this && (!lpRect || rcWindow == *lpRect))
        return;

    CXTPDockContext* pContext = pBar->GetDockContext();
    int nSlot;
    if (lpRect)
    {
        CRect rcClient(lpRect);
        ScreenToClient(&rcClient);
        BOOL bVertical = IsVerticalPosition();
        int nCentre = bVertical ? rcClient.CenterPoint().x : rcClient.CenterPoint().y;
        nSlot = m_slots.Insert(pBar, nCentre, [this, bVertical](CXTPToolBar* pOther) {
            if (!pOther->IsVisible() || !pOther->GetSafeHwnd())
                return 0;
            CRect rc;
            pOther->GetWindowRect(&rc);
            ScreenToClient(&rc);
            return bVertical ? static_cast<int>(rc.right) : static_cast<int>(rc.bottom);
        });
        if (pContext)
            pContext->m_rcLastDocked = rcClient;
    }
    else
    {
        nSlot = m_slots.Append(pBar);
        if (pContext)
            pContext->m_rcLastDocked.SetRectEmpty();
    }

    if (pBar->GetParent() != this)
        pBar->SetParent(this);
    CXTPDockBar* pOldDockBar = pBar->GetDockBar();
    if (pOldDockBar && pOldDockBar != this)
        pOldDockBar->RemoveCommandBar(pBar, -1);
    else if (pOldDockBar == this)
        m_slots.Remove(pBar, nSlot);
    pBar->SetDockBar(this);

    m_slots.ApplyOwnRow([](CXTPToolBar* pOther) {
        return pOther->IsVisible() && (pOther->GetFlags() & CXTPDockBarLayout::flagStretched);
    });
    if (m_pCommandBars)
        m_pCommandBars->RecalcFrameLayout(TRUE);
}

void CXTPDockBar::RemoveCommandBar(CXTPToolBar* pBar, int nSkip)
{
    if (!m_slots.Remove(pBar, nSkip))
        return;
    if (pBar->GetDockBar() == this)
        pBar->SetDockBar(nullptr);
    if (m_pCommandBars)
        m_pCommandBars->RecalcFrameLayout(TRUE);
}

void CXTPDockBar::GetVisibleRowBars(int nSlot, std::vector<CXTPToolBar*>& arrBars) const
{
    BOOL bVertical = IsVerticalPosition();
    std::vector<std::pair<int, CXTPToolBar*>> arrRow;
    for (int i = m_slots.GetRowStart(nSlot) + 1; i < m_slots.GetSize() && m_slots.GetAt(i); ++i)
    {
        CXTPToolBar* pBar = m_slots.GetAt(i);
        if (!pBar->IsVisible() || !pBar->GetSafeHwnd())
            continue;
        CRect rc;
        pBar->GetWindowRect(&rc);
        ScreenToClient(&rc);
        arrRow.push_back({bVertical ? rc.top : rc.left, pBar});
    }
    std::stable_sort(arrRow.begin(), arrRow.end(),
                     [](const std::pair<int, CXTPToolBar*>& a, const std::pair<int, CXTPToolBar*>& b) {
                         return a.first < b.first;
                     });
    for (const auto& item : arrRow)
        arrBars.push_back(item.second);
}

DWORD CXTPDockBar::GetBarMode(CXTPToolBar* pBar) const
{
    DWORD dwMode = IsVerticalPosition() ? LM_VERTDOCK : LM_HORZ | LM_HORZDOCK;
    if (pBar->GetFlags() & CXTPDockBarLayout::flagStretched)
        dwMode |= LM_STRETCH;
    if ((pBar->GetFlags() & CXTPDockBarLayout::flagHideWrap) && !(m_pCommandBars && m_pCommandBars->IsCustomizeMode()))
        dwMode |= xtpLayoutHideWrap;
    return dwMode;
}

int CXTPDockBar::LayoutRows(int nLength, HDWP& hDWP, BOOL bCommit)
{
    const BOOL bVertical = IsVerticalPosition();
    const int nDockPosition = GetDockPosition();
    int nTotal = 0;
    for (const std::vector<CXTPToolBar*>& arrRow : m_slots.GetRows())
    {
        std::vector<CXTPToolBar*> arrVisible;
        std::vector<CXTPDockBarLayout::ROWBAR> arrBars;
        for (CXTPToolBar* pBar : arrRow)
        {
            if (!pBar->IsVisible() || !pBar->GetSafeHwnd())
                continue;
            CXTPDockContext* pContext = pBar->GetDockContext();
            int nStart = pContext ? (bVertical ? pContext->m_rcLastDocked.top : pContext->m_rcLastDocked.left) : 0;
            arrBars.push_back({static_cast<int>(arrVisible.size()), nStart, GetBarMode(pBar),
                               (pBar->GetFlags() & CXTPDockBarLayout::flagStretchedShared) != 0});
            arrVisible.push_back(pBar);
        }
        if (arrBars.empty())
            continue;
        auto measure = [&arrVisible, bVertical](int nBar, int nLength2, DWORD dwMode, int nThickness) {
            CSize sz = arrVisible[static_cast<size_t>(nBar)]->CalcDockingLayout(nLength2, dwMode, nThickness);
            return bVertical ? CSize(sz.cy, sz.cx) : sz;
        };
        std::vector<CXTPDockBarLayout::PLACED> arrPlaced;
        int nThickness = CXTPDockBarLayout::WrapRow(arrBars, nLength, measure, arrPlaced);
        if (bCommit)
        {
            for (const CXTPDockBarLayout::PLACED& placed : arrPlaced)
            {
                CXTPToolBar* pBar = arrVisible[static_cast<size_t>(placed.nBar)];
                CRect rc = placed.rc;
                rc.OffsetRect(0, nTotal);
                if (bVertical)
                    rc.SetRect(rc.top, rc.left, rc.bottom, rc.right);
                if (CXTPDockContext* pContext = pBar->GetDockContext())
                    pContext->m_nLastDockPosition = nDockPosition;
                if (hDWP)
                    hDWP = ::DeferWindowPos(hDWP, pBar->m_hWnd, nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                                            SWP_NOZORDER | SWP_NOACTIVATE);
                else
                    pBar->SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                                       SWP_NOZORDER | SWP_NOACTIVATE);
                pBar->Invalidate(FALSE);
            }
        }
        nTotal += nThickness;
    }
    return nTotal;
}

LRESULT CXTPDockBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (!(GetStyle() & WS_VISIBLE))
        return 0;
    const BOOL bVertical = IsVerticalPosition();
    CRect rcFree(pLayout->rect);
    int nLength = bVertical ? rcFree.Height() : rcFree.Width();

    // The bars move in a batch of the dock bar's own, or at once when the frame only measures.
    HDWP hDWP = pLayout->hDWP ? ::BeginDeferWindowPos(std::max(1, m_slots.GetSize())) : nullptr;
    int nThickness = LayoutRows(nLength, hDWP, TRUE);
    if (hDWP)
        ::EndDeferWindowPos(hDWP);

    CSize size = pLayout->bStretch ? (bVertical ? CSize(nThickness, 32767) : CSize(32767, nThickness))
                                   : (bVertical ? CSize(nThickness, 0) : CSize(0, nThickness));
    size.cx = std::min(size.cx, static_cast<LONG>(rcFree.Width()));
    size.cy = std::min(size.cy, static_cast<LONG>(rcFree.Height()));
    CRect rc = rcFree;
    switch (GetDockPosition())
    {
    case xtpBarTop:
        rc.bottom = rc.top + size.cy;
        pLayout->rect.top += size.cy;
        break;
    case xtpBarBottom:
        rc.top = rc.bottom - size.cy;
        pLayout->rect.bottom -= size.cy;
        break;
    case xtpBarLeft:
        rc.right = rc.left + size.cx;
        pLayout->rect.left += size.cx;
        break;
    default:
        rc.left = rc.right - size.cx;
        pLayout->rect.right -= size.cx;
        break;
    }
    if (bVertical)
    {
        pLayout->sizeTotal.cx += size.cx;
        pLayout->sizeTotal.cy = std::max(pLayout->sizeTotal.cy, size.cy);
        rc.bottom = rc.top + size.cy;
    }
    else
    {
        pLayout->sizeTotal.cy += size.cy;
        pLayout->sizeTotal.cx = std::max(pLayout->sizeTotal.cx, size.cx);
        rc.right = rc.left + size.cx;
    }
    AfxRepositionWindow(pLayout, m_hWnd, &rc);
    Invalidate(FALSE);
    return 0;
}

void CXTPDockBar::OnPaint()
{
    CPaintDC dc(this);
    CXTPBarPainter* pPainter = m_pCommandBars ? m_pCommandBars->GetPaintManager() : CXTPBarPainter::GetInstalled();
    pPainter->FillDockBar(&dc, this);
}

LRESULT CXTPDockBar::OnPrint(WPARAM wParam, LPARAM lParam)
{
    CDC* pDC = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
    CXTPBarPainter* pPainter = m_pCommandBars ? m_pCommandBars->GetPaintManager() : CXTPBarPainter::GetInstalled();
    pPainter->FillDockBar(pDC, this);
    if (lParam & PRF_CHILDREN)
    {
        for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        {
            if (!(::GetWindowLongPtrW(hChild, GWL_STYLE) & WS_VISIBLE))
                continue;
            CRect rc;
            ::GetWindowRect(hChild, &rc);
            ScreenToClient(&rc);
            POINT ptOld;
            ::OffsetViewportOrgEx(pDC->m_hDC, rc.left, rc.top, &ptOld);
            ::SendMessageW(hChild, WM_PRINT, wParam, lParam);
            ::SetViewportOrgEx(pDC->m_hDC, ptOld.x, ptOld.y, nullptr);
        }
    }
    return 0;
}

BOOL CXTPDockBar::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CXTPDockBar::OnRButtonDown(UINT, CPoint point)
{
    ClientToScreen(&point);
    if (m_pCommandBars)
        m_pCommandBars->ContextMenu(0, point);
}
