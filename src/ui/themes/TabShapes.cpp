// The tab shapes of their own: slanted (3) and trapezoid (9) tabs, outlined (6), rounded (2) and sloped (7)
// tabs, and the stacked bars of style 8; with the polygon fill and polyline they share.
#include "ui/themes/TabStyle.h"

#include "ui/docking/TabManager.h"
#include "ui/themes/DrawHelpers.h"
#include "ui/themes/TabPainter.h"

#include <algorithm>
#include <array>
#include <vector>

namespace
{
// The shapes' tables give absolute vertices; the drawing routines take the first absolute and the others as
// offsets from the one before.
std::vector<POINT> Relative(std::initializer_list<POINT> points)
{
    std::vector<POINT> result(points);
    for (size_t i = result.size() - 1; i > 0; i--) {
        result[i].x -= result[i - 1].x;
        result[i].y -= result[i - 1].y;
    }
    return result;
}

void Line(CDC* pDC, COLORREF clr, POINT from, POINT to)
{
    if (clr == XTP_COLOR_NONE)
        return;
    CPenSelector pen(pDC, clr);
    pDC->MoveTo(from);
    pDC->LineTo(to);
}

void FrameRect(CDC* pDC, const CRect& rc, COLORREF clr)
{
    if (clr != XTP_COLOR_NONE)
        pDC->Draw3dRect(rc, clr, clr);
}
}

// Polygon fill and polyline

COLORREF CXTPTabStyle::FillPolygon(CDC* pDC, CXTPTabManagerItem* pItem, const POINT* pPoints, int nCount)
{
    std::vector<POINT> points(pPoints, pPoints + nCount);
    for (int i = 1; i < nCount; i++) {
        points[i].x += points[i - 1].x;
        points[i].y += points[i - 1].y;
    }
    CXTPTabColors* pColors = GetColors();
    // Regions live in device coordinates; the points are logical.
    std::vector<POINT> device = points;
    pDC->LPtoDP(device.data(), nCount);
    CRgn rgn;
    if (nCount < 3 || !rgn.CreatePolygonRgn(device.data(), nCount, ALTERNATE))
        return pColors->GetItemFaceColor(pItem);
    CRect rcBox;
    rgn.GetRgnBox(&rcBox);
    pDC->DPtoLP(&rcBox);
    if (rcBox.IsRectEmpty())
        return pColors->GetItemFaceColor(pItem);

    // The DC's own clipping comes back whole afterwards, whatever its shape or mapping.
    int nSaved = pDC->SaveDC();
    pDC->SelectClipRgn(&rgn, RGN_AND);
    CBitmap bitmap;
    COLORREF clrFace = pColors->GetItemFaceColor(pItem);
    if (bitmap.CreateCompatibleBitmap(pDC, rcBox.Width(), rcBox.Height())) {
        CBitmapDC dcFace(pDC, &bitmap);
        clrFace = pColors->FillIndexed(&dcFace, CRect(0, 0, rcBox.Width(), rcBox.Height()), pItem);
        pDC->BitBlt(rcBox.left, rcBox.top, rcBox.Width(), rcBox.Height(), &dcFace, 0, 0, SRCCOPY);
    }
    pDC->RestoreDC(nSaved);
    return clrFace;
}

void CXTPTabStyle::DrawPolyline(CDC* pDC, COLORREF clr, const POINT* pPoints, int nCount)
{
    if (clr == XTP_COLOR_NONE || nCount < 1)
        return;
    CPenSelector pen(pDC, clr);
    CPoint pt = pPoints[0];
    pDC->MoveTo(pt);
    for (int i = 1; i < nCount; i++) {
        pt.Offset(pPoints[i].x, pPoints[i].y);
        pDC->LineTo(pt);
    }
}

// Style 3: slanted tabs

CRect CXTPTabStyleSlanted::GetMargins() const
{
    CRect rc = m_rcHeaderMargin;
    rc.left += const_cast<CXTPTabStyleSlanted*>(this)->GetRowHeight(nullptr);
    return rc;
}

CRect CXTPTabStyleSlanted::DrawFrame(CDC* pDC, CXTPTabManager* pManager, CRect rcControl)
{
    COLORREF clr = GetColors()->m_clrSelectedTabEdge[1];
    return DrawPlainFrame(pDC, pManager, rcControl, clr, clr);
}

void CXTPTabStyleSlanted::GetOutlineColors(CXTPTabManagerItem* pItem, COLORREF clr[3]) const
{
    CXTPTabColors* pColors = GetColors();
    BOOL bSelected = pItem->IsSelected();
    clr[0] = bSelected ? pColors->m_clrSelectedTabEdge[1] : pColors->m_clrSelectedTabEdge[0];
    clr[1] = bSelected ? 0xFFFFFF : static_cast<COLORREF>(pColors->m_clrSelectedTabEdge[2]);
    clr[2] = bSelected ? 0xFFFFFF : static_cast<COLORREF>(pColors->m_clrExtraFace);
}

void CXTPTabStyleSlanted::DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem)
{
    COLORREF clr[3];
    GetOutlineColors(pItem, clr);
    CRect rc = pItem->GetRect();
    int l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
    int nPosition = GetPosition();
    int d = nPosition == CXTPTabPainter::positionTop || nPosition == CXTPTabPainter::positionBottom ? b - t : r - l;
    std::vector<POINT> face, a, bl, c;
    CRect rcJoin;
    switch (nPosition) {
    case CXTPTabPainter::positionTop:
        face = Relative({{r - 1, b - 1}, {r - 1, t + 2}, {l + 4, t + 2}, {l + 8 - d, b - 2}});
        a = Relative({{r, b - 2}, {r, t + 2}, {r - 2, t}, {l + 7, t}, {l + 2, t + 2}, {l + 6 - d, b - 2}, {l + 4 - d, b - 2}});
        bl = Relative({{r - 1, b - 2}, {r - 1, t + 2}, {r - 3, t}});
        c = Relative({{r - 3, t + 1}, {l + 6, t + 1}, {l + 1, t + 4}, {l + 6 - d, b - 1}});
        rcJoin = CRect(l + 5 - d, b - 1, r + 1, b);
        break;
    case CXTPTabPainter::positionLeft:
        face = Relative({{r - 1, b - 1}, {l + 2, b - 1}, {l + 2, t + 4}, {r - 1, t + 7 - d}});
        a = Relative({{r - 2, b}, {l + 2, b}, {l, b - 2}, {l, t + 7}, {l + 2, t + 2}, {r - 2, t + 6 - d}, {r - 2, t + 4 - d}});
        bl = Relative({{r - 2, b - 1}, {l + 2, b - 1}, {l, b - 3}});
        c = Relative({{l + 1, b - 3}, {l + 1, t + 6}, {l + 4, t + 1}, {r - 1, t + 6 - d}});
        rcJoin = CRect(r - 1, t + 5 - d, r, b + 1);
        break;
    case CXTPTabPainter::positionBottom:
        face = Relative({{r - 1, t}, {r - 1, b - 1}, {l + 4, b - 1}, {l + 7 - d, t + 1}});
        a = Relative({{r, t + 1}, {r, b - 2}, {r - 2, b}, {l + 7, b}, {l + 2, b - 2}, {l + 5 - d, t + 1}, {l + 3 - d, t + 1}});
        bl = Relative({{r - 1, t + 1}, {r - 1, b - 2}, {r - 3, b}});
        c = Relative({{r - 3, b - 1}, {l + 6, b - 1}, {l + 1, b - 4}, {l + 5 - d, t}});
        rcJoin = CRect(l + 4 - d, t, r + 1, t + 1);
        break;
    default:
        face = Relative({{l + 1, b - 1}, {r - 1, b - 1}, {r - 1, t + 4}, {l + 1, t + 6 - d}});
        a = Relative({{l + 1, b}, {r - 2, b}, {r, b - 2}, {r, t + 7}, {r - 2, t + 2}, {l + 1, t + 5 - d}, {l + 1, t + 3 - d}});
        bl = Relative({{l + 1, b - 1}, {r - 2, b - 1}, {r, b - 3}});
        c = Relative({{r - 1, b - 3}, {r - 1, t + 6}, {r - 4, t + 1}, {l, t + 5 - d}});
        rcJoin = CRect(l, t + 4 - d, l + 1, b + 1);
        break;
    }
    COLORREF clrFace = FillPolygon(pDC, pItem, face.data(), static_cast<int>(face.size()));
    DrawPolyline(pDC, clr[0], a.data(), static_cast<int>(a.size()));
    DrawPolyline(pDC, clr[1], bl.data(), static_cast<int>(bl.size()));
    DrawPolyline(pDC, clr[2], c.data(), static_cast<int>(c.size()));
    if (pItem->IsSelected())
        FillRun(pDC, rcJoin.left, rcJoin.top, rcJoin.Width(), rcJoin.Height(), clrFace);
    m_pPainter->DrawItemCaption(pDC, pItem, rc, TRUE);
}

// Style 9: trapezoids

CRect CXTPTabStyleTrapezoid::GetMargins() const
{
    CRect rc = m_rcHeaderMargin;
    rc.left += const_cast<CXTPTabStyleTrapezoid*>(this)->GetRowHeight(nullptr) / 2;
    return rc;
}

void CXTPTabStyleTrapezoid::DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem)
{
    COLORREF clr[3];
    GetOutlineColors(pItem, clr);
    CRect rc = pItem->GetRect();
    int l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
    int nPosition = GetPosition();
    int d = nPosition == CXTPTabPainter::positionTop || nPosition == CXTPTabPainter::positionBottom ? b - t : r - l;
    int H = d / 2;
    std::vector<POINT> a, bl, c;
    switch (nPosition) {
    case CXTPTabPainter::positionTop: {
        int F = b - 2 * H;
        a = Relative({{r - 4 + H, b - 1}, {r - 1, F + 5}, {r - 5, F + 1}, {r - 8, F}, {l + 8, F}, {l + 5, F + 1}, {l + 2, F + 4}, {l + 4 - H, b}});
        bl = Relative({{r - 5 + H, b - 1}, {r - 2, F + 5}, {r - 5, F + 2}, {r - 8, F + 1}});
        c = Relative({{r - 7, F + 1}, {l + 8, F + 1}, {l + 5, F + 2}, {l + 3, F + 4}, {l + 5 - H, b}});
        break;
    }
    case CXTPTabPainter::positionLeft: {
        int F = r - 2 * H;
        a = Relative({{r - 1, b - 4 + H}, {F + 5, b - 1}, {F + 1, b - 5}, {F, b - 8}, {F, t + 8}, {F + 1, t + 5}, {F + 4, t + 2}, {r, t + 4 - H}});
        bl = Relative({{r - 1, b - 5 + H}, {F + 5, b - 2}, {F + 2, b - 5}, {F + 1, b - 8}});
        c = Relative({{F + 1, b - 8}, {F + 1, t + 8}, {F + 2, t + 5}, {F + 4, t + 3}, {r, t + 5 - H}});
        break;
    }
    case CXTPTabPainter::positionBottom: {
        int F = t + 2 * H;
        a = Relative({{r - 4 + H, t + 1}, {r - 1, F - 5}, {r - 5, F - 1}, {r - 7, F}, {l + 7, F}, {l + 5, F - 1}, {l + 2, F - 4}, {l + 4 - H, t}});
        bl = Relative({{r - 5 + H, t + 1}, {r - 2, F - 5}, {r - 5, F - 2}, {r - 7, F - 1}});
        c = Relative({{l + 7, F - 1}, {l + 5, F - 2}, {l + 3, F - 4}, {l + 5 - H, t}});
        break;
    }
    default: {
        int F = l + 2 * H;
        a = Relative({{l, b - 4 + H}, {F - 5, b - 1}, {F - 1, b - 5}, {F, b - 8}, {F, t + 8}, {F - 1, t + 5}, {F - 4, t + 2}, {l, t + 4 - H}});
        bl = Relative({{l, b - 5 + H}, {F - 5, b - 2}, {F - 2, b - 5}, {F - 1, b - 8}, {F - 1, t + 6}});
        c = Relative({{F - 2, t + 5}, {F - 4, t + 3}, {l, t + 5 - H}});
        break;
    }
    }
    FillPolygon(pDC, pItem, a.data(), static_cast<int>(a.size()));
    DrawPolyline(pDC, clr[0], a.data(), static_cast<int>(a.size()));
    DrawPolyline(pDC, clr[1], bl.data(), static_cast<int>(bl.size()));
    DrawPolyline(pDC, clr[2], c.data(), static_cast<int>(c.size()));
    m_pPainter->DrawItemCaption(pDC, pItem, rc, TRUE);
}

// Style 6: outlined tabs, and the frame of styles 2, 6 and 7

namespace
{
// Grows a rect by n at the far end of the row.
void GrowFarEnd(CRect& rc, BOOL bHorizontal, int n)
{
    (bHorizontal ? rc.right : rc.bottom) += n;
}
}

CRect CXTPTabStyleOutlined::DrawFrame(CDC* pDC, CXTPTabManager* pManager, CRect rcControl)
{
    COLORREF clr = GetColors()->m_clrFrameBorder;
    return DrawPlainFrame(pDC, pManager, rcControl, clr, clr);
}

void CXTPTabStyleOutlined::DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem)
{
    CXTPTabColors* pColors = GetColors();
    CRect rc = pItem->GetRect();
    GrowFarEnd(rc, m_pPainter->IsHorizontal(), 1);
    pColors->FillIndexed(pDC, rc, pItem);
    if (pItem->IsSelected())
        GrowTowardClient(rc, GetPosition(), 1);
    FrameRect(pDC, rc, pColors->m_clrFrameBorder);
    m_pPainter->DrawItemCaption(pDC, pItem, pItem->GetRect(), TRUE);
}

// Style 2: rounded tabs

void CXTPTabStyleRounded::DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem)
{
    CXTPTabColors* pColors = GetColors();
    int nPosition = GetPosition();
    CRect rc = pItem->GetRect();
    GrowFarEnd(rc, m_pPainter->IsHorizontal(), 1);
    CRect E = rc;
    GrowTowardClient(E, nPosition, 1);

    // The corners leave the DC's own clipping, which comes back whole afterwards.
    int nSaved = pDC->SaveDC();
    ExcludeCorners(pDC, E);
    CRect rcFace = rc;
    switch (nPosition) {
    case CXTPTabPainter::positionTop: rcFace.DeflateRect(1, 1, 1, 0); break;
    case CXTPTabPainter::positionLeft: rcFace.DeflateRect(1, 1, 0, 1); break;
    case CXTPTabPainter::positionBottom: rcFace.DeflateRect(1, 0, 1, 1); break;
    default: rcFace.DeflateRect(0, 1, 1, 1); break;
    }
    pColors->FillIndexed(pDC, rcFace, pItem);
    if (pItem->IsSelected())
        GrowTowardClient(rc, nPosition, 1);
    FrameRect(pDC, rc, pColors->m_clrFrameBorder);
    pDC->RestoreDC(nSaved);

    int l = E.left, t = E.top, r = E.right, b = E.bottom;
    // Per position: each pixel and the neighbour it is averaged with.
    const SOFTEN_PIXEL pixels[4][10] = {
        {{l, t + 1, 0, -1}, {l + 1, t, -1, 0}, {r - 2, t, 1, 0}, {r - 1, t + 1, 0, -1}, {l + 1, t + 1, -1, 0},
         {r - 2, t + 1, 1, 0}, {l + 2, t + 1, -1, 0}, {l + 1, t + 2, 0, -1}, {r - 3, t + 1, 1, 0}, {r - 2, t + 2, 0, -1}},
        {{l, t + 1, 0, -1}, {l + 1, t, -1, 0}, {l, b - 2, 0, 1}, {l + 1, b - 1, -1, 0}, {l + 1, t + 1, -1, 0},
         {l + 1, b - 2, -1, 0}, {l + 2, t + 1, -1, 0}, {l + 1, t + 2, 0, -1}, {l + 2, b - 2, -1, 0}, {l + 1, b - 3, 0, 1}},
        {{l, b - 2, 0, 1}, {l + 1, b - 1, -1, 0}, {r - 1, b - 2, 0, 1}, {r - 2, b - 1, 1, 0}, {l + 1, b - 2, 0, 1},
         {r - 2, b - 2, 1, 0}, {l + 2, b - 2, -1, 0}, {l + 1, b - 3, 0, 1}, {r - 3, b - 2, 1, 0}, {r - 2, b - 3, 0, 1}},
        {{r - 1, t + 1, 0, -1}, {r - 2, t, 1, 0}, {r - 1, b - 2, 0, 1}, {r - 2, b - 1, 1, 0}, {r - 2, t + 1, 1, 0},
         {r - 2, b - 2, 1, 0}, {r - 3, t + 1, 1, 0}, {r - 2, t + 2, 0, -1}, {r - 3, b - 2, 1, 0}, {r - 2, b - 3, 0, 1}},
    };
    SoftenPixels(pDC, pixels[nPosition & 3], 20);
    m_pPainter->DrawItemCaption(pDC, pItem, pItem->GetRect(), TRUE);
}

// Style 7: sloped tabs

CRect CXTPTabStyleSloped::GetMargins() const
{
    CRect rc = m_rcHeaderMargin;
    int nHalf = const_cast<CXTPTabStyleSloped*>(this)->GetRowHeight(nullptr) / 2;
    rc.left += nHalf;
    rc.right += nHalf;
    return rc;
}

void CXTPTabStyleSloped::DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem)
{
    CXTPTabColors* pColors = GetColors();
    const CColorValue* group = pItem->IsSelected() ? pColors->m_clrSelectedOutline : pColors->m_clrNormalOutline;
    COLORREF c[7] = {XTP_COLOR_NONE, group[0], group[1], group[2], group[3], group[4], group[5]};
    CRect rcItem = pItem->GetRect();
    int L = rcItem.left, T = rcItem.top, R = rcItem.right, B = rcItem.bottom;
    int nPosition = GetPosition();
    BOOL bHorizontal = nPosition == CXTPTabPainter::positionTop || nPosition == CXTPTabPainter::positionBottom;
    int H = bHorizontal ? B - T - 1 : R - L - 1, h = H / 2, s = h / 2;
    struct LINE
    {
        int nColor;
        POINT from, to;
    };
    std::vector<POINT> face;
    std::array<LINE, 6> lines;
    CRect rcJoin;
    switch (nPosition) {
    case CXTPTabPainter::positionTop: {
        int l = L - s, r = R - s;
        face = Relative({{l, B - 1}, {l + h, B - 1 - 2 * h}, {r, B - 1 - 2 * h}, {r + h, B - 1}});
        lines = {{{4, {l + 1, B - 2}, {l + h + 1, T}}, {4, {l + h, T + 1}, {r, T + 1}}, {5, {r - 1, T}, {r + h - 1, B - 1}},
                 {1, {l, B - 2}, {l + h, T}}, {1, {l + h, T}, {r, T}}, {3, {r, T}, {r + h, B - 1}}}};
        rcJoin = CRect(l, B - 1, r + h, B);
        break;
    }
    case CXTPTabPainter::positionBottom: {
        int l = L - s, r = R - s;
        face = Relative({{l, T + 1}, {l + h, T + 1 + 2 * h}, {r, T + 1 + 2 * h}, {r + h, T + 1}});
        lines = {{{4, {l + 1, T + 1}, {l + h + 1, B - 1}}, {6, {l + h, B - 2}, {r, B - 2}}, {5, {r - 1, B - 1}, {r + h - 1, T}},
                 {1, {l, T + 1}, {l + h, B - 1}}, {2, {l + h, B - 1}, {r, B - 1}}, {3, {r, B - 1}, {r + h, T}}}};
        rcJoin = CRect(l, T, r + h, T + 1);
        break;
    }
    case CXTPTabPainter::positionLeft: {
        int t = T - s, b = B - s;
        face = Relative({{R - 1, t}, {R - 1 - 2 * h, t + h}, {R - 1 - 2 * h, b}, {R - 1, b + h}});
        lines = {{{4, {R - 2, t + 1}, {L, t + h + 1}}, {4, {L + 1, t + h}, {L + 1, b}}, {5, {L, b - 1}, {R - 1, b + h - 1}},
                 {1, {R - 2, t}, {L, t + h}}, {1, {L, t + h}, {L, b}}, {3, {L, b}, {R - 1, b + h}}}};
        rcJoin = CRect(R - 1, t, R, b + h);
        break;
    }
    default: {
        int t = T - s, b = B - s;
        face = Relative({{L + 1, t}, {L + 1 + 2 * h, t + h}, {L + 1 + 2 * h, b}, {L + 1, b + h}});
        lines = {{{4, {L + 1, t + 1}, {R - 1, t + h + 1}}, {4, {R - 2, t + h}, {R - 2, b}}, {5, {R - 1, b - 1}, {L, b + h - 1}},
                 {1, {L + 1, t}, {R - 1, t + h}}, {1, {R - 1, t + h}, {R - 1, b}}, {3, {R - 1, b}, {L, b + h}}}};
        rcJoin = CRect(L, t, L + 1, b + h);
        break;
    }
    }
    COLORREF clrFace = FillPolygon(pDC, pItem, face.data(), static_cast<int>(face.size()));
    for (const LINE& line : lines)
        Line(pDC, c[line.nColor], line.from, line.to);
    if (pItem->IsSelected())
        FillRun(pDC, rcJoin.left, rcJoin.top, rcJoin.Width(), rcJoin.Height(), clrFace);
    m_pPainter->DrawItemCaption(pDC, pItem, rcItem, TRUE);
}

// Style 8: stacked bars

namespace
{
int CountVisibleAfter(CXTPTabManager* pManager, CXTPTabManagerItem* pSelected)
{
    int nCount = 0;
    for (int i = pSelected ? pSelected->GetIndex() + 1 : 0; i < pManager->GetItemCount(); i++)
        nCount += pManager->GetItem(i)->IsVisible() ? 1 : 0;
    return nCount;
}
}

CRect CXTPTabStyleStacked::GetHeaderRect(CRect /*rcControl*/, CXTPTabManager* /*pManager*/)
{
    return CRect();
}

void CXTPTabStyleStacked::RepositionTabs(CXTPTabManager* pManager, CDC* pDC, CRect rcControl)
{
    CRect rc = rcControl;
    DeflateTurned(rc, m_pPainter->m_rcClientMargin, GetPosition());
    int R = GetRowHeight(pManager);
    BOOL bNoFrame = m_pPainter->m_nClientFrame == CXTPTabPainter::frameNone;
    CXTPTabManagerItem* pSelected = pManager->GetSelectedItem();
    int nAfter = CountVisibleAfter(pManager, pSelected);
    int y = rc.top + 1;
    for (int i = 0; i < pManager->GetItemCount(); i++) {
        CXTPTabManagerItem* pItem = pManager->GetItem(i);
        int nWidth = m_pPainter->MeasureItem(pDC, pItem);
        pItem->SetLength(nWidth);
        pItem->SetContentLength(nWidth);
        if (!pItem->IsVisible()) {
            pItem->SetRect(CRect());
            continue;
        }
        pItem->SetRect(CRect(rc.left + (bNoFrame ? 0 : 1), y, rc.right, y + R));
        y += R;
        if (pItem == pSelected)
            y = std::min(std::max(static_cast<int>(rc.bottom) - nAfter * R, y + R), static_cast<int>(rc.bottom) - 1);
    }
    pManager->SetHeaderRect(CRect());
}

void CXTPTabStyleStacked::AdjustClientRect(CXTPTabManager* pManager, CRect& rc)
{
    DeflateTurned(rc, m_pPainter->m_rcClientMargin, GetPosition());
    CXTPTabManagerItem* pSelected = pManager->GetSelectedItem();
    if (!pSelected)
        return;
    int R = GetRowHeight(pManager);
    BOOL bNoFrame = m_pPainter->m_nClientFrame == CXTPTabPainter::frameNone;
    int nAfter = CountVisibleAfter(pManager, pSelected);
    int nTop = pSelected->GetRect().bottom;
    int nBottom = std::max(static_cast<int>(rc.bottom) - nAfter * R, nTop + R);
    if (nAfter == 0 && !bNoFrame)
        nBottom--;
    rc.top = nTop;
    rc.bottom = nBottom;
    if (!bNoFrame)
        rc.DeflateRect(1, 0);
}

void CXTPTabStyleStacked::DrawTabControl(CXTPTabManager* pManager, CDC* pDC, CRect rcControl)
{
    CXTPTabColors* pColors = GetColors();
    pDC->FillSolidRect(rcControl, pColors->m_clrClientFace);
    CRect rc = rcControl;
    DeflateTurned(rc, m_pPainter->m_rcClientMargin, GetPosition());
    int nSaved = pDC->SaveDC();
    pDC->IntersectClipRect(rc);
    COLORREF clrFrame = pColors->m_clrFrameBorder;
    if (m_pPainter->m_nClientFrame == CXTPTabPainter::frameNone) {
        if (pManager->GetItemCount() > 0)
            FillRun(pDC, rc.left, rc.top, rc.Width(), 1, clrFrame);
    } else {
        FrameRect(pDC, rc, clrFrame);
    }
    pDC->SetBkMode(TRANSPARENT);
    for (int i = pManager->GetItemCount() - 1; i >= 0; i--) {
        CXTPTabManagerItem* pItem = pManager->GetItem(i);
        CRect rcItem = pItem->GetRect(), rcTest;
        if (!rcItem.IsRectEmpty() && rcTest.IntersectRect(rcItem, rc))
            DrawSingleItem(pDC, pItem);
    }
    pDC->RestoreDC(nSaved);
}

void CXTPTabStyleStacked::DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem)
{
    CXTPTabColors* pColors = GetColors();
    CRect rc = pItem->GetRect();
    pColors->FillIndexed(pDC, rc, pItem);
    COLORREF clrLight = pColors->m_clrLightEdge, clrFrame = pColors->m_clrFrameBorder;
    if (clrLight != XTP_COLOR_NONE && clrFrame != XTP_COLOR_NONE)
        pDC->Draw3dRect(rc, clrLight, clrFrame);
    COLORREF clrGrip = GetColorTable()->GetColor(38);
    for (int y = rc.top + 4; y < rc.bottom - 3; y += 2)
        pDC->FillSolidRect(rc.right - 7, y, 3, 1, clrGrip);
    CRect rcCaption = rc;
    rcCaption.right -= 7;
    m_pPainter->DrawItemCaption(pDC, pItem, rcCaption, TRUE);
}
