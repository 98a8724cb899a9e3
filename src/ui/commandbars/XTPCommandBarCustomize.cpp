// The bars in customise mode: a press drags a control (or, on a side edge of the drag control, its width), a right
// click opens the customise sheet's context menu on it, and a control dragged over a bar shows where it would go
// and is placed there when dropped.
#include "ui/commandbars/XTPCommandBar.h"

#include "ui/themes/TipContext.h"

#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPCustomizeDropSource.h"
#include "ui/commandbars/XTPCustomizeSheet.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/themes/BarPainter.h"
#include "ui/uires.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <windowsx.h>

namespace
{
// Width of the drop position's I-beam.
const int kIndicatorWidth = 6;
// A control dropped onto itself this far from where it was taken starts or ends a group.
const int kGroupDistance = 4;

// Width of the band around a side edge that a press takes for a resize.
const int kResizeEdge = 2;

BOOL IsDropCandidate(const CXTPControl* pControl)
{
    return pControl->IsVisible() && !(pControl->GetFlags() & xtpFlagNoMovable);
}

// A 2-pixel frame inverted on the screen: drawn twice it is gone.
void InvertFrame(HDC hDC, const CRect& rc)
{
    ::PatBlt(hDC, rc.left, rc.top, rc.Width(), 2, DSTINVERT);
    ::PatBlt(hDC, rc.left, rc.bottom - 2, rc.Width(), 2, DSTINVERT);
    ::PatBlt(hDC, rc.left, rc.top + 2, 2, rc.Height() - 4, DSTINVERT);
    ::PatBlt(hDC, rc.right - 2, rc.top + 2, 2, rc.Height() - 4, DSTINVERT);
}

void SetResizeCursor()
{
    if (HCURSOR hCursor = XTPGetResourceLoader()->LoadCursor(XTP_IDC_CUSTOMIZE_RESIZE))
        ::SetCursor(hCursor);
}
}

int GetCustomizeResizeEdge(const CRect& rcControl, CPoint point)
{
    if (point.x >= rcControl.right - kResizeEdge)
        return 1;
    if (point.x <= rcControl.left + kResizeEdge)
        return -1;
    return 0;
}

CRect GetCustomizeResizedRect(const CRect& rcControl, int nEdge, int dx, int nMinWidth)
{
    CRect rc = rcControl;
    if (nEdge > 0)
        rc.right = std::max(rc.right + dx, rc.left + nMinWidth);
    else if (nEdge < 0)
        rc.left = std::min(rc.left + dx, rc.right - nMinWidth);
    return rc;
}

int CXTPCommandBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    // A combo box's list is no place for controls, and shows no tips.
    if (m_nPosition == xtpBarListBox)
        return 0;
    CXTPCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars) {
        if (m_nType != xtpBarTypePopup && !m_pToolTipContext) {
            EnableToolTips(TRUE);
            m_pToolTipContext = new CTipContext(this);
        }
        return 0;
    }
    pCommandBars->GetDropSource()->Register(this);
    if ((m_nType != xtpBarTypePopup || pCommandBars->GetCommandBarsOptions()->bShowPopupBarToolTips) &&
        !m_pToolTipContext) {
        m_pToolTipContext = pCommandBars->GetToolTipContext();
        m_pToolTipContext->InternalAddRef();
    }
    return 0;
}

void CXTPCommandBar::OnRButtonDown(UINT nFlags, CPoint point)
{
    CXTPCommandBars* pCommandBars = GetCommandBars();
    if (!IsCustomizeMode() || !m_bCustomizable) {
        CWnd::OnRButtonDown(nFlags, point);
        return;
    }
    CXTPControl* pControl = m_pControls->HitTest(point);
    if (!pControl || !IsDropCandidate(pControl))
        return;
    SetPopuped(-1);
    SetSelected(-1);
    pCommandBars->SetDragControl(pControl);
    if (CXTPCustomizeSheet* pSheet = pCommandBars->GetDropSource()->GetSheet()) {
        ClientToScreen(&point);
        pSheet->ContextMenu(point);
    }
}

BOOL CXTPCommandBar::IsVerticalDrop() const
{
    return m_nType == xtpBarTypePopup || m_nPosition == xtpBarLeft || m_nPosition == xtpBarRight;
}

int CXTPCommandBar::FindDropIndex(CPoint point, BOOL& bAfter) const
{
    const BOOL bVertical = IsVerticalDrop();
    int nBest = -1;
    long nBestDistance = LONG_MAX;
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        const CXTPControl* pControl = m_pControls->GetAt(i);
        if (!IsDropCandidate(pControl))
            continue;
        CRect rc = pControl->GetRect();
        long nDistance;
        if (bVertical) {
            nDistance = std::labs(point.y - rc.CenterPoint().y);
        } else {
            // Within the row under the point first: a control of another row is far away.
            long nOffRow = point.y < rc.top ? rc.top - point.y : point.y >= rc.bottom ? point.y - rc.bottom + 1 : 0;
            nDistance = std::labs(point.x - rc.CenterPoint().x) + nOffRow * 10000;
        }
        if (nDistance < nBestDistance) {
            nBestDistance = nDistance;
            nBest = i;
            bAfter = bVertical ? point.y > rc.CenterPoint().y : point.x > rc.CenterPoint().x;
        }
    }
    return nBest;
}

CRect CXTPCommandBar::CalcDropIndicator(int nIndex, BOOL bAfter, const CXTPControl* pData) const
{
    const CXTPControl* pControl = m_pControls->GetAt(nIndex);
    if (!pControl) {
        CRect rcClient;
        GetClientRect(&rcClient);
        return CRect(rcClient.left + 2, rcClient.top + 2, rcClient.left + 8, rcClient.bottom - 2);
    }
    if (pControl == pData)
        return CRect();
    const BOOL bVertical = IsVerticalDrop();
    CRect rc = pControl->GetRect();
    int nEdge = bVertical ? (bAfter ? rc.bottom : rc.top) : (bAfter ? rc.right : rc.left);
    int nStart = nEdge - kIndicatorWidth / 2;
    if (bAfter) {
        // Past the last control of a row or before a group the I-beam stays inside the control.
        const CXTPControl* pNext = nullptr;
        for (int i = nIndex + 1; i < m_pControls->GetCount() && !pNext; i++)
            if (m_pControls->GetAt(i)->IsVisible())
                pNext = m_pControls->GetAt(i);
        BOOL bSameRow = pNext && (bVertical ? pNext->GetRect().left == rc.left : pNext->GetRect().top == rc.top);
        if (!pNext || pNext->GetBeginGroup() || !bSameRow)
            nStart = nEdge - kIndicatorWidth;
    }
    if (bVertical)
        return CRect(rc.left, nStart, rc.right, nStart + kIndicatorWidth);
    return CRect(nStart, rc.top, nStart + kIndicatorWidth, rc.bottom);
}

DROPEFFECT CXTPCommandBar::OnCustomizeDragEnter(CXTPControl* pData, CPoint point)
{
    m_rcDropIndicator.SetRectEmpty();
    return OnCustomizeDragOver(pData, point);
}

void CXTPCommandBar::OnCustomizeDragLeave()
{
    if (m_rcDropIndicator.IsRectEmpty())
        return;
    m_rcDropIndicator.SetRectEmpty();
    if (m_hWnd)
        Invalidate(FALSE);
}

DROPEFFECT CXTPCommandBar::OnCustomizeDragOver(CXTPControl* pData, CPoint point)
{
    if (!m_bCustomizable || !m_hWnd || !IsWindowVisible())
        return DROPEFFECT_NONE;
    DROPEFFECT nEffect = DROPEFFECT_MOVE;
    if (!pData->IsCustomizeDragOverAvail(this, point, nEffect)) {
        OnCustomizeDragLeave();
        return nEffect;
    }
    BOOL bAfter = FALSE;
    int nIndex = FindDropIndex(point, bAfter);
    CXTPControl* pHit = m_pControls->HitTest(point);
    if (m_nPopuped != -1 && (!pHit || pHit->GetIndex() != m_nPopuped))
        SetPopuped(-1);
    if (pHit)
        pHit->OnCustomizeDragOver(pData, point);
    CRect rcIndicator = CalcDropIndicator(nIndex, bAfter, pData);
    if (rcIndicator != m_rcDropIndicator) {
        m_rcDropIndicator = rcIndicator;
        Invalidate(FALSE);
    }
    return nEffect;
}

void CXTPCommandBar::OnCustomizeDrop(CXTPControl* pData, DROPEFFECT& nEffect, CPoint ptDrop, CPoint ptDrag)
{
    BOOL bAfter = FALSE;
    int nIndex = FindDropIndex(ptDrop, bAfter);
    CXTPControl* pNearest = m_pControls->GetAt(nIndex);
    if (pNearest && pNearest == pData) {
        if (std::abs(ptDrop.x - ptDrag.x) > kGroupDistance || std::abs(ptDrop.y - ptDrag.y) > kGroupDistance)
            pData->SetBeginGroup(bAfter && pData->GetIndex() > 0);
        nEffect = XTP_DROPEFFECT_CANCEL;
    } else {
        SetPopuped(-1);
        SetSelected(-1);
        int nInsert = pNearest ? nIndex + (bAfter ? 1 : 0) : m_pControls->GetCount();
        CXTPControl* pNew = m_pControls->InsertControl(pData, nInsert, TRUE);
        pNew->SetBeginGroup(FALSE);
        pNew->SetHideFlags(0);
        if (pNearest && !bAfter && pNearest->GetBeginGroup()) {
            pNearest->SetBeginGroup(FALSE);
            pNew->SetBeginGroup(TRUE);
        }
        OnControlsChanged();
        if (CXTPCommandBars* pCommandBars = GetCommandBars())
            pCommandBars->SetDragControl(pNew);
    }
    OnRecalcLayout();
    m_rcDropIndicator.SetRectEmpty();
    if (m_hWnd)
        Invalidate(FALSE);
}

void CXTPCommandBar::DrawCustomizeMarks(CDC* pDC)
{
    CXTPCommandBars* pCommandBars = GetCommandBars();
    CXTPControl* pDrag = pCommandBars ? pCommandBars->GetDragControl() : nullptr;
    if (pDrag && pDrag->GetParent() == this && pDrag->IsVisible()) {
        CRect rc = pDrag->GetRect();
        pDC->Draw3dRect(rc, 0, 0);
        rc.DeflateRect(1, 1);
        pDC->Draw3dRect(rc, 0, 0);
    }
    if (m_rcDropIndicator.IsRectEmpty())
        return;
    // An I-beam: a line across each end and a stem of two pixels, inverted so that it shows on any ground.
    CBrush brush(GetPaintManager()->GetColor(15));
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    const CRect& rc = m_rcDropIndicator;
    if (IsVerticalDrop()) {
        pDC->PatBlt(rc.left, rc.top, 1, rc.Height(), PATINVERT);
        pDC->PatBlt(rc.right - 1, rc.top, 1, rc.Height(), PATINVERT);
        pDC->PatBlt(rc.left + 1, rc.CenterPoint().y - 1, rc.Width() - 2, 2, PATINVERT);
    } else {
        pDC->PatBlt(rc.left, rc.top, rc.Width(), 1, PATINVERT);
        pDC->PatBlt(rc.left, rc.bottom - 1, rc.Width(), 1, PATINVERT);
        pDC->PatBlt(rc.CenterPoint().x - 1, rc.top + 1, 2, rc.Height() - 2, PATINVERT);
    }
    pDC->SelectObject(pOldBrush);
}

void CXTPCommandBar::ShowCustomizeResizeCursor(CPoint point)
{
    CXTPControl* pDrag = GetCommandBars()->GetDragControl();
    if (pDrag && pDrag->GetParent() == this && pDrag->IsVisible() && pDrag->IsCustomizeResizeAllow() &&
        pDrag->GetRect().PtInRect(point) && GetCustomizeResizeEdge(pDrag->GetRect(), point))
        SetResizeCursor();
}

void CXTPControl::OnCustomizeDragOver(CXTPControl* /*pData*/, CPoint /*point*/)
{
    if (m_pParent) {
        m_pParent->SetPopuped(-1);
        m_pParent->SetSelected(-1);
    }
}

void CXTPControl::OnCustomizeDragStart(CPoint point)
{
    CXTPCommandBars* pCommandBars = m_pParent ? m_pParent->GetCommandBars() : nullptr;
    if (!pCommandBars)
        return;
    if (pCommandBars->GetDragControl() == this && IsCustomizeResizeAllow() && OnCustomizeResize(point))
        return;
    // The drop may hand the bar's reference on: the control stays alive until the drag is done with it.
    InternalAddRef();
    pCommandBars->SetDragControl(this);
    DROPEFFECT nEffect = pCommandBars->GetDropSource()->DoDragDrop(this, FALSE);
    if ((nEffect == DROPEFFECT_NONE || nEffect == DROPEFFECT_MOVE) && m_pParent)
        RemoveAfterDrag(pCommandBars);
    InternalRelease();
}

BOOL CXTPControl::OnCustomizeResize(CPoint point)
{
    CXTPCommandBar* pBar = m_pParent;
    const int nEdge = GetCustomizeResizeEdge(m_rcControl, point);
    if (!nEdge || !pBar || !pBar->GetSafeHwnd())
        return FALSE;
    HWND hWndBar = pBar->GetSafeHwnd();
    pBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ::SetCapture(hWndBar);
    SetResizeCursor();
    HWND hDesktop = ::GetDesktopWindow();
    const BOOL bLocked = ::LockWindowUpdate(hDesktop);
    HDC hDC = ::GetDCEx(hDesktop, nullptr, DCX_WINDOW | DCX_CACHE | (bLocked ? DCX_LOCKWINDOWUPDATE : 0));
    CRect rcStart = m_rcControl;
    pBar->ClientToScreen(&rcStart);
    CRect rcFrame = rcStart;
    InvertFrame(hDC, rcFrame);

    const int nMinWidth = GetCustomizeMinWidth();
    BOOL bAccepted = FALSE;
    MSG msg;
    while (::GetCapture() == hWndBar) {
        if (!AfxGetModalLoopMessage(&msg))
            break;
        if (msg.message == WM_LBUTTONUP) {
            bAccepted = TRUE;
            break;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            break;
        if (msg.message == WM_MOUSEMOVE && msg.hwnd == hWndBar) {
            CRect rcNew = GetCustomizeResizedRect(rcStart, nEdge, GET_X_LPARAM(msg.lParam) - point.x, nMinWidth);
            if (rcNew != rcFrame) {
                InvertFrame(hDC, rcFrame);
                rcFrame = rcNew;
                InvertFrame(hDC, rcFrame);
            }
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    InvertFrame(hDC, rcFrame);
    if (::GetCapture() == hWndBar)
        ::ReleaseCapture();
    if (bLocked)
        ::LockWindowUpdate(nullptr);
    ::ReleaseDC(hDesktop, hDC);
    if (!::IsWindow(hWndBar))
        return TRUE;
    if (bAccepted && rcFrame.Width() != rcStart.Width()) {
        SetWidth(rcFrame.Width());
        pBar->OnControlsChanged();
        pBar->OnRecalcLayout();
    }
    // The bar may have painted under the outline while it was shown: without a working update lock (Wine) the
    // erased outline can leave inverted pixels there.
    pBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    return TRUE;
}

void CXTPControl::RemoveAfterDrag(CXTPCommandBars* pCommandBars)
{
    CXTPCommandBar* pBar = m_pParent;
    CXTPControl* pDrag = pCommandBars->GetDragControl();
    if (pDrag == this)
        pDrag = nullptr;
    if (pDrag)
        pDrag->InternalAddRef();
    pBar->SetPopuped(-1);
    pBar->SetSelected(-1);
    pCommandBars->SetDragControl(nullptr);
    CXTPControls* pControls = m_pControls;
    const BOOL bFirst = m_nIndex == 0;
    if (CXTPControl* pNext = pControls->GetAt(m_nIndex + 1); pNext && m_bBeginGroup)
        pNext->SetBeginGroup(TRUE);
    pControls->Remove(this);
    if (CXTPControl* pFirst = pControls->GetFirst(); pFirst && bFirst)
        pFirst->SetBeginGroup(FALSE);
    pBar->OnControlsChanged();
    pBar->OnRecalcLayout();
    if (pBar->GetSafeHwnd())
        pBar->Invalidate(FALSE);
    pCommandBars->SetDragControl(pDrag);
    if (pDrag)
        pDrag->InternalRelease();
}
