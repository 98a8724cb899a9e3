#include "ui/themes/HeaderTheme.h"

#include "ui/themes/DrawHelpers.h"
#include "ui/themes/ThemedHeader.h"

#include <algorithm>
#include <vector>

namespace
{
// The item part of the "HEADER" class and its states.
enum { partHeaderItem = 1 };
enum { itemNormal = 1, itemHot = 2, itemPressed = 3 };
}

CXTHeaderCtrlTheme::CXTHeaderCtrlTheme() = default;

void CXTHeaderCtrlTheme::RefreshMetrics()
{
    CXTThemeManagerStyle::RefreshMetrics();
    m_clrText.SetDefaultValue(GetStandardColor(COLOR_BTNTEXT));
    m_clrFace.SetDefaultValue(GetStandardColor(COLOR_3DFACE));
    m_clrShadow.SetDefaultValue(GetStandardColor(COLOR_3DSHADOW));
    m_clrDarkShadow.SetDefaultValue(GetStandardColor(COLOR_3DDKSHADOW));
    m_clrHighlight.SetDefaultValue(GetStandardColor(COLOR_3DHILIGHT));
}

BOOL CXTHeaderCtrlTheme::UsesVisualStyles(CXTHeaderCtrl* pHeader)
{
    if (!(m_dwOptions & optionVisualStyles))
        return FALSE;
    if (!m_themeHeader.IsOpen())
        m_themeHeader.OpenThemeData(pHeader->GetSafeHwnd(), L"HEADER");
    return m_themeHeader.IsStyleAvailable() && m_themeHeader.IsOpen();
}

void CXTHeaderCtrlTheme::SetDrawStyle(DWORD dwOptions, CXTHeaderCtrl* pHeader)
{
    m_dwOptions = dwOptions;
    m_bUseVisualStyles = (dwOptions & optionVisualStyles) && UsesVisualStyles(pHeader);
}

BOOL CXTHeaderCtrlTheme::Layout(LPHDLAYOUT /*lpLayout*/, CXTHeaderCtrl* /*pHeader*/)
{
    return FALSE;
}

void CXTHeaderCtrlTheme::CleanUpImages(CXTHeaderCtrl* pHeader)
{
    const int nCount = pHeader->GetItemCount();
    for (int i = 0; i < nCount; i++) {
        HDITEM hdi = {};
        hdi.mask = HDI_FORMAT | HDI_BITMAP;
        if (pHeader->GetItem(i, &hdi) && (hdi.fmt & HDF_BITMAP) && hdi.hbm) {
            ImageList_Destroy(reinterpret_cast<HIMAGELIST>(hdi.hbm));
            hdi.mask = HDI_FORMAT | HDI_BITMAP;
            hdi.fmt &= ~HDF_BITMAP;
            hdi.hbm = nullptr;
            pHeader->SetItem(i, &hdi);
        }
    }
}

BOOL CXTHeaderCtrlTheme::SetBitmap(int nCol, UINT nIDBitmap, BOOL bRemove, COLORREF clrMask, CXTHeaderCtrl* pHeader)
{
    HDITEM hdi = {};
    hdi.mask = HDI_FORMAT | HDI_BITMAP;
    if (!pHeader->GetItem(nCol, &hdi))
        return FALSE;
    // The item's bitmap field carries the image list that the theme draws.
    if ((hdi.fmt & HDF_BITMAP) && hdi.hbm)
        ImageList_Destroy(reinterpret_cast<HIMAGELIST>(hdi.hbm));
    hdi.fmt &= ~HDF_BITMAP;
    hdi.hbm = nullptr;
    pHeader->SetItem(nCol, &hdi);
    pHeader->Invalidate();
    if (bRemove)
        return TRUE;

    CBitmap bitmap;
    if (!bitmap.LoadBitmap(nIDBitmap))
        return FALSE;
    BITMAP info = {};
    bitmap.GetObject(sizeof(info), &info);
    HIMAGELIST hImageList = ImageList_Create(info.bmWidth, info.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 0);
    if (!hImageList)
        return FALSE;
    ImageList_AddMasked(hImageList, static_cast<HBITMAP>(bitmap.GetSafeHandle()), clrMask);
    hdi.mask = HDI_FORMAT | HDI_BITMAP;
    hdi.fmt = HDF_BITMAP;
    hdi.hbm = reinterpret_cast<HBITMAP>(hImageList);
    pHeader->SetItem(nCol, &hdi);
    pHeader->Invalidate();
    return TRUE;
}

void CXTHeaderCtrlTheme::VerticalLine(CDC* pDC, int x, int yFrom, int yTo, COLORREF clr)
{
    if (yTo > yFrom)
        pDC->FillSolidRect(x, yFrom, 1, yTo - yFrom, clr);
}

void CXTHeaderCtrlTheme::HorizontalLine(CDC* pDC, int xFrom, int xTo, int y, COLORREF clr)
{
    if (xTo > xFrom)
        pDC->FillSolidRect(xFrom, y, xTo - xFrom, 1, clr);
}

void CXTHeaderCtrlTheme::DrawBackground(CDC* pDC, CRect rect)
{
    rect.right += 2;
    pDC->FillSolidRect(&rect, m_clrFace);
    pDC->Draw3dRect(&rect, m_clrHighlight, m_clrDarkShadow);
    rect.DeflateRect(1, 1);
    pDC->Draw3dRect(&rect, m_clrFace, m_clrShadow);
}

BOOL CXTHeaderCtrlTheme::DrawVisualStyleBackground(CDC* pDC, CRect rect)
{
    if (!(m_dwOptions & optionThemedItems))
        return FALSE;
    return m_themeHeader.DrawThemeBackground(pDC->GetSafeHdc(), 0, itemNormal, &rect, nullptr) == S_OK;
}

void CXTHeaderCtrlTheme::DrawItemBackground(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    const CRect rc(lpDIS->rcItem);
    if (lpDIS->itemState & ODS_SELECTED) {
        pDC->Draw3dRect(&rc, m_clrShadow, m_clrShadow);
        VerticalLine(pDC, rc.right, rc.top, rc.bottom, m_clrHighlight);
        HorizontalLine(pDC, rc.left + 1, rc.right - 1, rc.bottom - 2, m_clrFace);
        return;
    }
    VerticalLine(pDC, rc.right - 2, 1, rc.bottom - 1, m_clrShadow);
    VerticalLine(pDC, rc.right - 1, 0, rc.bottom - 1, m_clrDarkShadow);
    VerticalLine(pDC, rc.right, 1, rc.bottom - 1, m_clrHighlight);
}

BOOL CXTHeaderCtrlTheme::DrawVisualStyleItemBackground(LPDRAWITEMSTRUCT lpDIS)
{
    int nState = itemNormal;
    if (lpDIS->itemState & ODS_SELECTED)
        nState = itemPressed;
    else if (lpDIS->itemState & ODS_HOTLIGHT)
        nState = itemHot;
    return m_themeHeader.DrawThemeBackground(lpDIS->hDC, partHeaderItem, nState, &lpDIS->rcItem, nullptr) == S_OK;
}

void CXTHeaderCtrlTheme::DrawTriangle(CDC* pDC, CPoint ptApex, CPoint ptLeft, CPoint ptRight, BOOL bAscending)
{
    CPen penHighlight(PS_SOLID, 1, m_clrHighlight);
    CPen penShadow(PS_SOLID, 1, m_clrShadow);
    CPen* pOldPen = pDC->SelectObject(&penHighlight);
    if (bAscending) {
        pDC->MoveTo(ptApex);
        pDC->LineTo(ptRight);
        pDC->LineTo(ptLeft);
        pDC->SelectObject(&penShadow);
        pDC->LineTo(ptApex);
    } else {
        pDC->SelectObject(&penShadow);
        pDC->MoveTo(ptApex);
        pDC->LineTo(ptLeft);
        pDC->LineTo(ptRight);
        pDC->SelectObject(&penHighlight);
        pDC->MoveTo(ptApex);
        pDC->LineTo(ptRight);
    }
    pDC->SelectObject(pOldPen);
}

void CXTHeaderCtrlTheme::DrawSortArrow(CDC* pDC, const CRect& rcCaption, BOOL bPressed, BOOL bAscending)
{
    int x = rcCaption.right + m_nArrowMargin;
    if (x < rcCaption.left)
        return;
    int y = rcCaption.top + (rcCaption.Height() - m_nArrowHeight) / 2 - 1;
    if (bPressed) {
        x++;
        y++;
    }
    if (bAscending)
        DrawTriangle(pDC, CPoint(x + m_nArrowWidth / 2, y), CPoint(x, y + m_nArrowHeight),
                     CPoint(x + m_nArrowWidth, y + m_nArrowHeight), TRUE);
    else
        DrawTriangle(pDC, CPoint(x + m_nArrowWidth / 2, y + m_nArrowHeight), CPoint(x, y), CPoint(x + m_nArrowWidth, y),
                     FALSE);
}

CRect CXTHeaderCtrlTheme::GetCaptionRect(LPDRAWITEMSTRUCT lpDIS, CXTHeaderCtrl* pHeader) const
{
    CRect rc(lpDIS->rcItem);
    rc.DeflateRect(m_nTextMargin, 0);
    if (static_cast<int>(lpDIS->itemID) == pHeader->GetSortColumn())
        rc.right -= 2 * m_nArrowMargin + m_nArrowWidth;
    return rc;
}

int CXTHeaderCtrlTheme::DrawImage(LPDRAWITEMSTRUCT lpDIS, const CRect& rcCaption, HIMAGELIST hImageList,
                                  CXTHeaderCtrl* /*pHeader*/)
{
    int cx = 0, cy = 0;
    if (!ImageList_GetIconSize(hImageList, &cx, &cy))
        return 0;
    CPoint pt(rcCaption.left + m_nTextMargin, lpDIS->rcItem.top + (CRect(lpDIS->rcItem).Height() - cy) / 2);
    if (lpDIS->itemState & ODS_SELECTED)
        pt.Offset(1, 1);
    if (pt.x + cx > rcCaption.right)
        return 0;
    ImageList_Draw(hImageList, 0, lpDIS->hDC, pt.x, pt.y, ILD_TRANSPARENT);
    return cx + m_nTextMargin;
}

void CXTHeaderCtrlTheme::DrawItemText(LPDRAWITEMSTRUCT lpDIS, CXTHeaderCtrl* pHeader)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    const int nItem = static_cast<int>(lpDIS->itemID);
    const BOOL bPressed = (lpDIS->itemState & ODS_SELECTED) != 0;
    TCHAR szText[256] = {};
    HDITEM hdi = {};
    hdi.mask = HDI_TEXT | HDI_FORMAT | HDI_BITMAP;
    hdi.pszText = szText;
    hdi.cchTextMax = _countof(szText);
    pHeader->GetItem(nItem, &hdi);

    CRect rcCaption = GetCaptionRect(lpDIS, pHeader);
    const CString strText = szText;
    const CSize szCaption = pDC->GetTextExtent(strText);
    if (m_nTextTop >= 1)
        rcCaption.top = lpDIS->rcItem.top + m_nTextTop;

    if ((hdi.fmt & HDF_BITMAP) && hdi.hbm)
        rcCaption.left += DrawImage(lpDIS, rcCaption, reinterpret_cast<HIMAGELIST>(hdi.hbm), pHeader);

    CRect rcText = rcCaption;
    switch (hdi.fmt & HDF_JUSTIFYMASK) {
    case HDF_RIGHT:
        rcText.left = rcCaption.right - szCaption.cx;
        break;
    case HDF_CENTER:
        rcText.left = rcCaption.left + (rcCaption.Width() - szCaption.cx) / 2;
        break;
    }
    rcText.left = std::max(rcText.left, rcCaption.left);
    rcText.right = std::min(rcText.left + szCaption.cx, rcCaption.right);

    if ((m_dwOptions & optionSortArrow) && nItem == pHeader->GetSortColumn()) {
        BOOL bAscending = TRUE;
        pHeader->GetSortColumn(&bAscending);
        DrawSortArrow(pDC, rcCaption, bPressed, bAscending);
    }
    if (rcText.Width() <= 0)
        return;
    if (bPressed)
        rcText.OffsetRect(1, 1);
    pDC->DrawText(strText, &rcText, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | (m_nTextTop >= 1 ? 0 : DT_VCENTER));
}

void CXTHeaderCtrlTheme::DrawHeader(CDC* pDC, CXTHeaderCtrl* pHeader)
{
    CRect rcClient;
    pHeader->GetClientRect(&rcClient);
    CFont* pFont = pHeader->GetFont();
    CFont* pOldFont = pDC->SelectObject(pFont ? pFont : CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))));
    pDC->SetBkColor(m_clrFace);
    pDC->SetTextColor(m_clrText);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);

    if (!m_bUseVisualStyles || !DrawVisualStyleBackground(pDC, rcClient))
        DrawBackground(pDC, rcClient);

    const int nCount = pHeader->GetItemCount();
    std::vector<int> order(static_cast<size_t>(std::max(nCount, 0)));
    std::vector<int> widths(order.size());
    std::vector<LPARAM> data(order.size());
    for (int i = 0; i < nCount; i++) {
        HDITEM hdi = {};
        hdi.mask = HDI_WIDTH | HDI_LPARAM | HDI_ORDER;
        pHeader->GetItem(i, &hdi);
        widths[static_cast<size_t>(i)] = hdi.cxy;
        data[static_cast<size_t>(i)] = hdi.lParam;
        if (hdi.iOrder >= 0 && hdi.iOrder < nCount)
            order[static_cast<size_t>(hdi.iOrder)] = i;
    }
    CPoint ptCursor;
    GetCursorClientPos(&ptCursor, pHeader->GetSafeHwnd());

    CRect rcItem = rcClient;
    rcItem.right = rcItem.left;
    for (int nOrder = 0; nOrder < nCount; nOrder++) {
        const int nItem = order[static_cast<size_t>(nOrder)];
        rcItem.left = rcItem.right;
        rcItem.right = rcItem.left + widths[static_cast<size_t>(nItem)];

        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_HEADER;
        dis.itemID = static_cast<UINT>(nItem);
        dis.hDC = pDC->GetSafeHdc();
        dis.hwndItem = pHeader->GetSafeHwnd();
        dis.rcItem = rcItem;
        dis.itemData = static_cast<ULONG_PTR>(data[static_cast<size_t>(nItem)]);
        if ((m_dwOptions & optionThemedItems) && rcItem.PtInRect(ptCursor))
            dis.itemState = ODS_HOTLIGHT;
        if (pHeader->IsMouseOverItem(nItem))
            dis.itemState = ODS_SELECTED;
        if (!m_bUseVisualStyles || !DrawVisualStyleItemBackground(&dis))
            DrawItemBackground(&dis);
        DrawItemText(&dis, pHeader);
    }
    pDC->SetBkMode(nOldMode);
    pDC->SelectObject(pOldFont);
}

// Flat theme

void CXTHeaderCtrlThemeFlat::DrawBackground(CDC* pDC, CRect rect)
{
    rect.right += 2;
    pDC->FillSolidRect(&rect, m_clrFace);
    pDC->Draw3dRect(&rect, m_clrHighlight, m_clrShadow);
}

void CXTHeaderCtrlThemeFlat::DrawItemBackground(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    const CRect rc(lpDIS->rcItem);
    VerticalLine(pDC, rc.right - 2, 2, rc.bottom - 2, m_clrShadow);
    VerticalLine(pDC, rc.right - 1, 2, rc.bottom - 2, m_clrHighlight);
}

// Office 2003 theme

COLORREF CXTHeaderCtrlThemeOffice2003::BlendFace(double t) const
{
    const COLORREF face = m_clrFace, shadow = m_clrShadow;
    auto channel = [t](int f, int s) { return static_cast<BYTE>(f - static_cast<int>((f - s) * t)); };
    return RGB(channel(GetRValue(face), GetRValue(shadow)), channel(GetGValue(face), GetGValue(shadow)),
               channel(GetBValue(face), GetBValue(shadow)));
}

void CXTHeaderCtrlThemeOffice2003::DrawBackground(CDC* pDC, CRect rect)
{
    rect.right += 2;
    pDC->FillSolidRect(&rect, m_clrFace);
    pDC->Draw3dRect(&rect, m_clrHighlight, BlendFace(0.6));
    HorizontalLine(pDC, rect.left, rect.right, rect.bottom - 2, BlendFace(0.4));
    HorizontalLine(pDC, rect.left, rect.right, rect.bottom - 3, BlendFace(0.25));
}

void CXTHeaderCtrlThemeOffice2003::DrawItemBackground(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    const CRect rc(lpDIS->rcItem);
    VerticalLine(pDC, rc.right - 2, 2, rc.bottom - 4, m_clrShadow);
    VerticalLine(pDC, rc.right - 1, 2, rc.bottom - 4, m_clrHighlight);
}

BOOL CXTHeaderCtrlThemeOffice2003::Layout(LPHDLAYOUT lpLayout, CXTHeaderCtrl* pHeader)
{
    CClientDC dc(pHeader);
    CFont* pFont = pHeader->GetFont();
    CFont* pOldFont = dc.SelectObject(pFont ? pFont : CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))));
    TEXTMETRIC tm = {};
    dc.GetTextMetrics(&tm);
    dc.SelectObject(pOldFont);

    // A hidden header takes no room, as the system's own layout gives it.
    const int nHeight = (pHeader->GetStyle() & HDS_HIDDEN) ? 0 : tm.tmHeight + 10;
    LPRECT prc = lpLayout->prc;
    WINDOWPOS* pwp = lpLayout->pwpos;
    // The list moves the window named here: the record comes with whatever the caller's stack held.
    pwp->hwnd = pHeader->GetSafeHwnd();
    pwp->hwndInsertAfter = nullptr;
    pwp->x = prc->left;
    pwp->y = prc->top;
    pwp->cx = prc->right - prc->left;
    pwp->cy = nHeight;
    pwp->flags = SWP_NOZORDER | SWP_NOACTIVATE;
    prc->top += nHeight;
    return TRUE;
}

IMPLEMENT_DYNCREATE(CXTHeaderCtrlThemeFactory, CXTThemeManagerStyleFactory)

CXTThemeManagerStyle* CXTHeaderCtrlThemeFactory::CreateTheme(int nTheme)
{
    switch (nTheme) {
    case 1:
        return new CXTHeaderCtrlThemeFlat;
    case 2:
        return new CXTHeaderCtrlThemeOffice2003;
    default:
        return new CXTHeaderCtrlTheme;
    }
}
