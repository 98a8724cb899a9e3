#include "ui/commandbars/XTPControlSelector.h"

#include "ui/commandbars/XTPCommandBar.h"
#include "ui/persist/PropExchange.h"
#include "ui/themes/BarPainter.h"

#include <algorithm>

IMPLEMENT_SERIAL(CXTPControlSelector, CXTPControl, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

namespace
{
// The cells whose leading edge lies before the offset, at most nCount.
int CellsBefore(int nOffset, int nCell, int nCount)
{
    if (nOffset <= 0 || nCell <= 0)
        return 0;
    return std::min(nCount, (nOffset + nCell - 1) / nCell);
}

// The most cells a saved grid may have along a side.
const int kMaxStoredGrid = 100;

BOOL IsStoredGrid(CSize sz)
{
    return sz.cx >= 0 && sz.cy >= 0 && sz.cx <= kMaxStoredGrid && sz.cy <= kMaxStoredGrid;
}

// The grid's length taking in the cell at the offset, never shorter than now nor longer than nMax.
int GrownLength(int nOffset, int nCell, int nCount, int nMax)
{
    if (nOffset < 0 || nCell <= 0)
        return nCount;
    return std::max(nCount, std::min(nMax, nOffset / nCell + 1));
}
}

void CXTPControlSelector::SetSelection(CSize szSelection, BOOL bForce)
{
    if (szSelection == m_szSelection && !bForce)
        return;
    m_szSelection = szSelection;
    RedrawParent();
    NotifySite(XTP_SN_SELECTORCHANGE);
}

CRect CXTPControlSelector::GetCellRect(int nColumn, int nRow) const
{
    CPoint ptCell(m_rcControl.left + nColumn * m_szItemSize.cx, m_rcControl.top + nRow * m_szItemSize.cy);
    return CRect(ptCell, m_szItemSize);
}

CSize CXTPControlSelector::HitTestCells(CPoint pt) const
{
    return CSize(CellsBefore(pt.x - m_rcControl.left, m_szItemSize.cx, m_szShown.cx),
                 CellsBefore(pt.y - m_rcControl.top, m_szItemSize.cy, m_szShown.cy));
}

CSize CXTPControlSelector::CalcGrownGrid(CPoint pt) const
{
    return CSize(GrownLength(pt.x - m_rcControl.left, m_szItemSize.cx, m_szShown.cx, m_szItemsMax.cx),
                 GrownLength(pt.y - m_rcControl.top, m_szItemSize.cy, m_szShown.cy, m_szItemsMax.cy));
}

CSize CXTPControlSelector::GetSize(CDC* /*pDC*/)
{
    return CSize(m_szItemSize.cx * m_szShown.cx, m_szItemSize.cy * m_szShown.cy);
}

void CXTPControlSelector::Draw(CDC* pDC)
{
    CXTPBarPainter* pPainter = GetPaintManager();
    COLORREF clrFrame = pPainter->GetColor(43);
    for (int nRow = 0; nRow < m_szShown.cy; nRow++) {
        for (int nColumn = 0; nColumn < m_szShown.cx; nColumn++) {
            BOOL bSelected = nColumn < m_szSelection.cx && nRow < m_szSelection.cy;
            CRect rcCell = GetCellRect(nColumn, nRow);
            rcCell.DeflateRect(1, 1);
            pDC->FillSolidRect(rcCell, pPainter->GetColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
            pDC->Draw3dRect(rcCell, clrFrame, clrFrame);
            DrawItem(pDC, rcCell, pPainter->GetColor(bSelected ? COLOR_HIGHLIGHTTEXT : 46));
        }
    }
}

void CXTPControlSelector::DrawItem(CDC* /*pDC*/, CRect /*rcItem*/, COLORREF /*clrText*/) {}

void CXTPControlSelector::OnCalcDynamicSize(DWORD /*dwMode*/)
{
    if (!m_bKeepGrid) {
        m_szSelection = CSize(0, 0);
        m_szShown = m_szItemsCount;
    }
    SetSelection(m_szSelection, TRUE);
}

void CXTPControlSelector::OnMouseMove(CPoint point)
{
    SetSelection(HitTestCells(point));
}

BOOL CXTPControlSelector::SetSelected(int nSelected)
{
    BOOL bWasHot = m_nSelected != 0;
    if (!CXTPControl::SetSelected(nSelected))
        return FALSE;
    if (bWasHot && !nSelected && ::GetKeyState(VK_LBUTTON) < 0)
        GrowToCursor();
    return TRUE;
}

void CXTPControlSelector::GrowToCursor()
{
    if (!m_pParent || !m_pParent->GetSafeHwnd())
        return;
    CPoint pt;
    ::GetCursorPos(&pt);
    m_pParent->ScreenToClient(&pt);
    CSize szGrown = CalcGrownGrid(pt);
    if (szGrown == m_szShown)
        return;
    m_szShown = szGrown;
    SetSelection(m_szSelection, TRUE);
    m_bKeepGrid = TRUE;
    m_pParent->OnRecalcLayout();
    m_bKeepGrid = FALSE;
    OnMouseMove(pt);
}

void CXTPControlSelector::OnLButtonUp(CPoint /*point*/)
{
    OnExecute();
}

void CXTPControlSelector::OnExecute()
{
    if (m_szSelection.cx <= 0 || m_szSelection.cy <= 0)
        return;
    m_szChosen = m_szSelection;
    CXTPControl::OnExecute();
}

void CXTPControlSelector::Copy(CXTPControl* pOther, BOOL bRecursive)
{
    if (auto* pSelector = dynamic_cast<CXTPControlSelector*>(pOther)) {
        m_szItemsCount = pSelector->m_szItemsCount;
        m_szItemsMax = pSelector->m_szItemsMax;
        m_szItemSize = pSelector->m_szItemSize;
    }
    CXTPControl::Copy(pOther, bRecursive);
}

void CXTPControlSelector::DoPropExchange(CXTPPropExchange* pPX)
{
    CXTPControl::DoPropExchange(pPX);
    CSize szItemsCount = m_szItemsCount, szItemsMax = m_szItemsMax;
    ExchangeSize(pPX, L"ItemsCount", szItemsCount, CSize(5, 4));
    ExchangeSize(pPX, L"ItemsMax", szItemsMax, CSize(12, 12));
    // A cell is painted for every place of the grid: a grid no selector offers is damage.
    if (pPX->IsLoading() && (!IsStoredGrid(szItemsCount) || !IsStoredGrid(szItemsMax)))
        AfxThrowArchiveException(CArchiveException::genericException);
    m_szItemsCount = szItemsCount;
    m_szItemsMax = szItemsMax;
    ExchangeSize(pPX, L"ItemSize", m_szItemSize, CSize(28, 28));
}
