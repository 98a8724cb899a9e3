#include "ui/themes/TabStyle.h"

#include "ui/docking/TabManager.h"
#include "ui/themes/ColorTable.h"
#include "ui/themes/DrawHelpers.h"
#include "ui/themes/TabPainter.h"

#include <algorithm>

void CXTPTabStyle::FillRun(CDC* pDC, int x, int y, int cx, int cy, COLORREF clr)
{
    if (clr != XTP_COLOR_NONE && cx > 0 && cy > 0)
        pDC->FillSolidRect(x, y, cx, cy, clr);
}

void CXTPTabStyle::GrowTowardClient(CRect& rc, int nPosition, int n)
{
    switch (nPosition) {
    case CXTPTabPainter::positionTop: rc.bottom += n; break;
    case CXTPTabPainter::positionLeft: rc.right += n; break;
    case CXTPTabPainter::positionBottom: rc.top -= n; break;
    default: rc.left -= n; break;
    }
}

namespace
{
// Draw3dRect that leaves out the sides of an unset colour.
void Draw3dRectSafe(CDC* pDC, const CRect& rc, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    CXTPTabStyle::FillRun(pDC, rc.left, rc.top, rc.Width() - 1, 1, clrTopLeft);
    CXTPTabStyle::FillRun(pDC, rc.left, rc.top, 1, rc.Height() - 1, clrTopLeft);
    CXTPTabStyle::FillRun(pDC, rc.right - 1, rc.top, 1, rc.Height(), clrBottomRight);
    CXTPTabStyle::FillRun(pDC, rc.left, rc.bottom - 1, rc.Width(), 1, clrBottomRight);
}
}

// Common behaviour

CXTPTabColors* CXTPTabStyle::GetColors() const
{
    return m_pPainter->GetColorsObject();
}

int CXTPTabStyle::GetPosition() const
{
    return m_pPainter->GetPosition();
}

void CXTPTabStyle::DeflateTurned(CRect& rc, const CRect& rcTop, int nPosition)
{
    switch (nPosition) {
    case CXTPTabPainter::positionTop:
        rc.DeflateRect(rcTop.left, rcTop.top, rcTop.right, rcTop.bottom);
        break;
    case CXTPTabPainter::positionLeft:
        rc.DeflateRect(rcTop.top, rcTop.left, rcTop.bottom, rcTop.right);
        break;
    case CXTPTabPainter::positionBottom:
        rc.DeflateRect(rcTop.left, rcTop.bottom, rcTop.right, rcTop.top);
        break;
    default:
        rc.DeflateRect(rcTop.bottom, rcTop.left, rcTop.top, rcTop.right);
        break;
    }
}

void CXTPTabStyle::RefreshMetrics()
{
    CFont* pFont = m_pPainter ? m_pPainter->GetFont(FALSE, FALSE) : nullptr;
    if (!pFont || !pFont->GetSafeHandle())
        return;
    CClientDC dc(nullptr);
    CFontSelector font(&dc, pFont);
    m_nRowHeight = std::max(static_cast<int>(dc.GetTextExtent(L" ", 1).cy) + 3, 18);
}

int CXTPTabStyle::GetRowHeight(CXTPTabManager* /*pManager*/)
{
    const CRect& rcInset = m_pPainter->m_rcItemInset;
    int nHeight = m_nRowHeight + rcInset.top + rcInset.bottom;
    if (m_pPainter->m_bShowIcons) {
        CSize szIcon = m_pPainter->m_szIcon;
        nHeight = std::max(nHeight, static_cast<int>(std::max(szIcon.cx, szIcon.cy) + rcInset.top + rcInset.bottom) + 4);
    }
    return nHeight;
}

CRect CXTPTabStyle::GetHeaderRect(CRect rcControl, CXTPTabManager* pManager)
{
    int nRows = pManager->GetRowIndexer()->GetRowCount();
    int nRowHeight = GetRowHeight(pManager);
    int nThickness = nRows * nRowHeight + (nRows - 1) * m_nRowSpacing;
    if (m_pPainter->GetLayout() == CXTPTabPainter::layoutRotated) {
        for (int i = 0; i < pManager->GetItemCount(); i++)
            nThickness = std::max(nThickness, pManager->GetItem(i)->GetContentLength());
    }
    CRect rcMargins = GetMargins();
    nThickness += rcMargins.top + rcMargins.bottom;
    CRect rc = rcControl;
    switch (GetPosition()) {
    case CXTPTabPainter::positionTop: rc.bottom = rc.top + nThickness; break;
    case CXTPTabPainter::positionLeft: rc.right = rc.left + nThickness; break;
    case CXTPTabPainter::positionBottom: rc.top = rc.bottom - nThickness; break;
    default: rc.left = rc.right - nThickness; break;
    }
    return rc;
}

CRect CXTPTabStyle::GetClientRect(CRect rcControl, CXTPTabManager* pManager)
{
    CRect rcHeader = GetHeaderRect(rcControl, pManager);
    CRect rc = rcControl;
    switch (GetPosition()) {
    case CXTPTabPainter::positionTop: rc.top = rcHeader.bottom - 1; break;
    case CXTPTabPainter::positionLeft: rc.left = rcHeader.right - 1; break;
    case CXTPTabPainter::positionBottom: rc.bottom = rcHeader.top + 1; break;
    default: rc.right = rcHeader.left + 1; break;
    }
    return rc;
}

CRect CXTPTabStyle::GetControlMargins() const
{
    return m_pPainter->m_rcControlMargin;
}

int CXTPTabStyle::GetItemWidth(CDC* pDC, CXTPTabManagerItem* pItem)
{
    return m_pPainter->DrawItemCaption(pDC, pItem, pItem->GetRect(), FALSE);
}

void CXTPTabStyle::DrawTabControl(CXTPTabManager* pManager, CDC* pDC, CRect rcControl)
{
    m_pPainter->DrawTabControlDefault(pManager, pDC, rcControl);
}

CRect CXTPTabStyle::DrawFrame(CDC* pDC, CXTPTabManager* pManager, CRect rcControl)
{
    CRect rcHeader = GetHeaderRect(rcControl, pManager);
    GetColors()->FillHeader(pDC, rcHeader, pManager);
    return rcHeader;
}

void CXTPTabStyle::RepositionTabs(CXTPTabManager* pManager, CDC* pDC, CRect rcClient)
{
    m_pPainter->RepositionTabsDefault(pManager, pDC, rcClient);
}

void CXTPTabStyle::AdjustClientRect(CXTPTabManager* pManager, CRect& rc)
{
    int nPosition = GetPosition();
    DeflateTurned(rc, m_pPainter->m_rcClientMargin, nPosition);
    rc = GetClientRect(rc, pManager);
    DeflateTurned(rc, GetControlMargins(), nPosition);
    if (m_pPainter->m_nClientFrame == CXTPTabPainter::frameBorder)
        rc.DeflateRect(2, 2);
    else if (m_pPainter->m_nClientFrame == CXTPTabPainter::frameSingleLine)
        DeflateTurned(rc, CRect(0, 2, 0, 0), nPosition);
}

void CXTPTabStyle::DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem)
{
    m_pPainter->DrawItemCaption(pDC, pItem, pItem->GetRect(), TRUE);
}

void CXTPTabStyle::FillClientPart(CDC* pDC, CXTPTabManager* pManager, CRect& rc, int nPart)
{
    BOOL bStatic = m_pPainter->m_bStaticFrame;
    if (nPart == clientPartInside) {
        rc.DeflateRect(bStatic ? 1 : 2, bStatic ? 1 : 2);
        return;
    }
    CXTPTabColors* pColors = GetColors();
    if (!bStatic) {
        FillRun(pDC, rc.left, rc.top, rc.Width(), rc.Height(), pColors->m_clrHeaderFace.m_clrStart);
        return;
    }
    COLORREF clrFrame = pColors->m_clrFrameBorder;
    switch (nPart) {
    case clientPartBorder: {
        Draw3dRectSafe(pDC, rc, clrFrame, clrFrame);
        CRect rcInner(rc);
        rcInner.DeflateRect(1, 1);
        COLORREF clrFace = GetColorTable()->GetColor(COLOR_BTNFACE);
        Draw3dRectSafe(pDC, rcInner, clrFace, clrFace);
        break;
    }
    case clientPartBandUpright:
        pColors->FillHeader(pDC, rc, pManager);
        FillRun(pDC, rc.left, rc.top, 1, rc.Height(), clrFrame);
        FillRun(pDC, rc.right - 1, rc.top, 1, rc.Height(), clrFrame);
        break;
    case clientPartBandAcross:
        pColors->FillHeader(pDC, rc, pManager);
        FillRun(pDC, rc.left, rc.top, rc.Width(), 1, clrFrame);
        FillRun(pDC, rc.left, rc.bottom - 1, rc.Width(), 1, clrFrame);
        break;
    }
}

CRect CXTPTabStyle::DrawPlainFrame(CDC* pDC, CXTPTabManager* pManager, CRect rcControl, COLORREF clrA, COLORREF clrB)
{
    CRect rcHeader = GetHeaderRect(rcControl, pManager);
    GetColors()->FillHeader(pDC, rcHeader, pManager);
    CRect rcClient = GetClientRect(rcControl, pManager);
    if (m_pPainter->m_nClientFrame == CXTPTabPainter::frameBorder) {
        GetColors()->FillClient(pDC, rcClient, pManager);
        Draw3dRectSafe(pDC, rcClient, clrA, clrB);
    } else if (m_pPainter->m_nClientFrame == CXTPTabPainter::frameSingleLine) {
        switch (GetPosition()) {
        case CXTPTabPainter::positionTop: FillRun(pDC, rcClient.left, rcClient.top, rcClient.Width(), 1, clrA); break;
        case CXTPTabPainter::positionLeft: FillRun(pDC, rcClient.left, rcClient.top, 1, rcClient.Height(), clrA); break;
        case CXTPTabPainter::positionBottom:
            FillRun(pDC, rcClient.left, rcClient.bottom - 1, rcClient.Width(), 1, clrB);
            break;
        default: FillRun(pDC, rcClient.right - 1, rcClient.top, 1, rcClient.Height(), clrB); break;
        }
    }
    return rcHeader;
}

// Default style

CRect CXTPTabStyleDefault::GetControlMargins() const
{
    CRect rc = CXTPTabStyle::GetControlMargins();
    if (GetColors()->IsVisualStyleUsed() && m_pPainter->m_nClientFrame == CXTPTabPainter::frameBorder) {
        rc.right += 2;
        int nPosition = GetPosition();
        if (nPosition == CXTPTabPainter::positionTop || nPosition == CXTPTabPainter::positionLeft)
            rc.bottom += 2;
    }
    return rc;
}

CRect CXTPTabStyleDefault::DrawFrame(CDC* pDC, CXTPTabManager* pManager, CRect rcControl)
{
    CXTPTabColors* pColors = GetColors();
    CRect rcHeader = GetHeaderRect(rcControl, pManager);
    CRect rcFill = rcHeader;
    GrowTowardClient(rcFill, GetPosition(), 1);
    pColors->FillHeader(pDC, rcFill, pManager);
    COLORREF clrL = pColors->m_clrTabEdge[0], clrS = pColors->m_clrTabEdge[1], clrD = pColors->m_clrTabEdge[2];
    CRect rc = GetClientRect(rcControl, pManager);
    if (m_pPainter->m_nClientFrame == CXTPTabPainter::frameBorder) {
        pColors->FillClient(pDC, rc, pManager);
        Draw3dRectSafe(pDC, rc, clrL, clrD);
        FillRun(pDC, rc.left + 1, rc.bottom - 2, rc.Width() - 2, 1, clrS);
        FillRun(pDC, rc.right - 2, rc.top + 1, 1, rc.Height() - 2, clrS);
    } else if (m_pPainter->m_nClientFrame == CXTPTabPainter::frameSingleLine) {
        switch (GetPosition()) {
        case CXTPTabPainter::positionTop: FillRun(pDC, rc.left, rc.top, rc.Width(), 1, clrL); break;
        case CXTPTabPainter::positionLeft: FillRun(pDC, rc.left, rc.top, 1, rc.Height(), clrL); break;
        case CXTPTabPainter::positionBottom:
            FillRun(pDC, rc.left, rc.bottom - 1, rc.Width(), 1, clrD);
            FillRun(pDC, rc.left, rc.bottom - 2, rc.Width(), 1, clrS);
            break;
        default:
            FillRun(pDC, rc.right - 1, rc.top, 1, rc.Height(), clrD);
            FillRun(pDC, rc.right - 2, rc.top, 1, rc.Height(), clrS);
            break;
        }
    }
    return rcHeader;
}

void CXTPTabStyleDefault::DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem)
{
    DrawRaisedTab(pDC, pItem);
}

void CXTPTabStyleDefault::DrawRaisedTab(CDC* pDC, CXTPTabManagerItem* pItem)
{
    CXTPTabColors* pColors = GetColors();
    COLORREF clrL = pColors->m_clrTabEdge[0], clrS = pColors->m_clrTabEdge[1], clrD = pColors->m_clrTabEdge[2];
    BOOL bSelected = pItem->IsSelected();
    BOOL bJoin = bSelected && pItem->GetRow() == 0;
    CRect rc = pItem->GetRect();
    CRect rcCaption = rc;
    switch (GetPosition()) {
    case CXTPTabPainter::positionTop: {
        if (bSelected)
            rc.InflateRect(2, 2, 2, 0);
        int l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
        COLORREF clrFace = pColors->FillIndexed(pDC, CRect(l + 1, t + 1, r - 1, b - 1), pItem);
        FillRun(pDC, l, t + 2, 1, b - t - 2, clrL);
        FillRun(pDC, l + 1, t + 1, 1, 1, clrL);
        FillRun(pDC, l + 2, t, r - l - 4, 1, clrL);
        FillRun(pDC, r - 2, t + 1, 1, 1, clrD);
        FillRun(pDC, r - 1, t + 2, 1, b - t - 3, clrD);
        FillRun(pDC, r - 2, t + 2, 1, b - t - 3, clrS);
        if (bJoin)
            FillRun(pDC, l + 1, b - 1, r - l - 3, 1, clrFace);
        rcCaption = rc;
        break;
    }
    case CXTPTabPainter::positionLeft: {
        if (bSelected)
            rc.InflateRect(2, 2, 0, 2);
        int l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
        COLORREF clrFace = pColors->FillIndexed(pDC, CRect(l + 1, t + 1, r - 1, b - 1), pItem);
        FillRun(pDC, l + 2, t, r - l - 2, 1, clrL);
        FillRun(pDC, l, t + 2, 1, b - t - 4, clrL);
        FillRun(pDC, l + 1, t + 1, 1, 1, clrL);
        FillRun(pDC, l + 2, b - 2, r - l - 2, 1, clrS);
        FillRun(pDC, l + 2, b - 1, r - l - 2, 1, clrD);
        // The lower edges' first pixels change colours, rounding the corner off.
        FillRun(pDC, l + 2, b - 2, 1, 1, clrD);
        FillRun(pDC, l + 2, b - 1, 1, 1, clrS);
        if (bJoin)
            FillRun(pDC, r - 1, t + 1, 1, b - t - 3, clrFace);
        rcCaption = rc;
        break;
    }
    case CXTPTabPainter::positionBottom: {
        if (bSelected)
            rc.InflateRect(2, 2, 2, 2);
        int l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
        COLORREF clrFace = pColors->FillIndexed(pDC, CRect(l + 1, t + 1, r - 1, b - 1), pItem);
        FillRun(pDC, l, t + 1, 1, b - t - 2, clrL);
        FillRun(pDC, l + 1, b - 1, 1, 1, clrL);
        FillRun(pDC, l + 2, b - 1, r - l - 4, 1, clrS);
        FillRun(pDC, r - 2, t + 1, 1, b - t - 2, clrS);
        FillRun(pDC, l + 2, b, r - l - 3, 1, clrD);
        FillRun(pDC, r - 1, t + 1, 1, b - t - 1, clrD);
        FillRun(pDC, r - 2, b - 1, 1, 1, clrD);
        if (bJoin)
            FillRun(pDC, l + 1, t + 1, r - l - 3, 1, clrFace);
        rcCaption = rc;
        if (bSelected)
            rcCaption.bottom += 2;
        break;
    }
    default: {
        if (bSelected)
            rc.InflateRect(2, 2, 2, 2);
        int l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
        COLORREF clrFace = pColors->FillIndexed(pDC, CRect(l + 1, t + 1, r - 1, b - 1), pItem);
        FillRun(pDC, l + 1, t, r - l - 2, 1, clrL);
        FillRun(pDC, r - 1, t + 1, 1, 1, clrL);
        FillRun(pDC, r - 1, t + 2, 1, b - t - 4, clrS);
        FillRun(pDC, l + 1, b - 2, r - l - 2, 1, clrS);
        FillRun(pDC, r, t + 2, 1, b - t - 3, clrD);
        FillRun(pDC, l + 1, b - 1, r - l - 1, 1, clrD);
        FillRun(pDC, r - 1, b - 2, 1, 1, clrD);
        if (bJoin)
            FillRun(pDC, l + 1, t + 1, 1, b - t - 3, clrFace);
        rcCaption = rc;
        if (bSelected)
            rcCaption.right += 2;
        break;
    }
    }
    m_pPainter->DrawItemCaption(pDC, pItem, rcCaption, TRUE);
}

void CXTPTabStyleSelectedOnly::DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem)
{
    if (pItem->IsSelected() || pItem->IsHot())
        DrawRaisedTab(pDC, pItem);
    else
        m_pPainter->DrawItemCaption(pDC, pItem, pItem->GetRect(), TRUE);
}

// Flat styles

CRect CXTPTabStyleFlatButtons::DrawFrame(CDC* pDC, CXTPTabManager* pManager, CRect rcControl)
{
    CRect rcHeader = CXTPTabStyle::DrawFrame(pDC, pManager, rcControl);
    if (m_pPainter->m_nClientFrame == CXTPTabPainter::frameBorder)
        GetColors()->FillClient(pDC, GetClientRect(rcControl, pManager), pManager);
    return rcHeader;
}

void CXTPTabStyleFlatButtons::DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem)
{
    GetColors()->FillItemFace(pDC, pItem->GetRect(), pItem);
    m_pPainter->DrawItemCaption(pDC, pItem, pItem->GetRect(), TRUE);
}

CRect CXTPTabStyleFlat::DrawFrame(CDC* pDC, CXTPTabManager* pManager, CRect rcControl)
{
    CXTPTabColors* pColors = GetColors();
    return DrawPlainFrame(pDC, pManager, rcControl, pColors->m_clrLightEdge, pColors->m_clrSelectedText);
}

void CXTPTabStyleFlat::DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem)
{
    CXTPTabColors* pColors = GetColors();
    CRect rc = pItem->GetRect();
    if (pItem->IsSelected()) {
        pColors->FillIndexed(pDC, rc, pItem);
        GrowTowardClient(rc, GetPosition(), 1);
        Draw3dRectSafe(pDC, rc, pColors->m_clrLightEdge, pColors->m_clrTabEdge[2]);
    } else if (m_pPainter->IsHorizontal()) {
        FillRun(pDC, rc.right - 1, rc.top + 2, 1, rc.Height() - 4, pColors->m_clrFrameBorder);
    } else {
        FillRun(pDC, rc.left + 2, rc.bottom - 1, rc.Width() - 4, 1, pColors->m_clrFrameBorder);
    }
    m_pPainter->DrawItemCaption(pDC, pItem, pItem->GetRect(), TRUE);
}

CXTPTabStyle* CreateTabStyle(int nID)
{
    switch (nID) {
    case 1: return new CXTPTabStyleSelectedOnly;
    case 2: return new CXTPTabStyleRounded;
    case 3: return new CXTPTabStyleSlanted;
    case 4: return new CXTPTabStyleFlatButtons;
    case 5: return new CXTPTabStyleFlat;
    case 6: return new CXTPTabStyleOutlined;
    case 7: return new CXTPTabStyleSloped;
    case 8: return new CXTPTabStyleStacked;
    case 9: return new CXTPTabStyleTrapezoid;
    default: return new CXTPTabStyleDefault;
    }
}
