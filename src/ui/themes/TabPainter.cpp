#include "ui/themes/TabPainter.h"

#include "ui/docking/TabManager.h"
#include "ui/themes/DrawHelpers.h"

#include <algorithm>
#include <numeric>

CXTPTabPainter::CXTPTabPainter()
{
    // Fonts first: the style measures its row height in them when it is installed.
    RefreshMetrics();
    SetStyle(0);
}

CXTPTabPainter::~CXTPTabPainter() = default;

// Style and colour set

CXTPTabStyle* CXTPTabPainter::SetStyle(int nID)
{
    m_nStyle = nID;
    return SetStyleObject(CreateTabStyle(nID));
}

CXTPTabStyle* CXTPTabPainter::SetStyleObject(CXTPTabStyle* pStyle)
{
    m_pStyle.reset(pStyle);
    pStyle->SetPainter(this);
    pStyle->RefreshMetrics();
    SetColors(pStyle->GetDefaultColors());
    return pStyle;
}

CXTPTabColors* CXTPTabPainter::SetColors(int nID)
{
    m_nColors = nID;
    return SetColorsObject(CreateTabColors(nID));
}

CXTPTabColors* CXTPTabPainter::SetColorsObject(CXTPTabColors* pColors)
{
    m_pColors.reset(pColors);
    pColors->SetPainter(this);
    pColors->RefreshColors();
    OnPainterChanged();
    return pColors;
}

void CXTPTabPainter::SetOption(BOOL bSchemeColorsOff)
{
    m_bSchemeColorsOff = bSchemeColorsOff;
    RefreshMetrics();
    OnPainterChanged();
}

BOOL CXTPTabPainter::IsSchemeColorsDisabled() const
{
    return m_bSchemeColorsOff || GetColorTable()->IsSchemeColorsDisabled();
}

void CXTPTabPainter::SetShowItemColors(BOOL bShow)
{
    m_bShowItemColors = bShow;
    RefreshMetrics();
}

void CXTPTabPainter::SetPosition(int nPosition)
{
    m_nPosition = nPosition & 3;
    OnPainterChanged();
}

void CXTPTabPainter::SetLayout(int nLayout)
{
    m_nLayout = nLayout;
    OnPainterChanged();
}

void CXTPTabPainter::AddOwner(CXTPTabManager* pManager)
{
    if (std::find(m_arrOwners.begin(), m_arrOwners.end(), pManager) == m_arrOwners.end())
        m_arrOwners.push_back(pManager);
}

void CXTPTabPainter::RemoveOwner(CXTPTabManager* pManager)
{
    m_arrOwners.erase(std::remove(m_arrOwners.begin(), m_arrOwners.end(), pManager), m_arrOwners.end());
}

void CXTPTabPainter::OnPainterChanged()
{
    for (CXTPTabManager* pManager : m_arrOwners)
        pManager->Reposition();
}

COLORREF CXTPTabPainter::GetPredefinedTabColor(COLORREF clr)
{
    static const COLORREF predefined[8] = {0xE4A88A, 0x75DBFF, 0x9FCDBD, 0x9F9EF0,
                                           0xE1A6BA, 0xB4BF9A, 0x83B6F7, 0xC0ABD8};
    return clr >= XTP_TABCOLOR_PREDEFINED && clr < XTP_TABCOLOR_PREDEFINED + 8 ? predefined[clr - XTP_TABCOLOR_PREDEFINED]
                                                                              : clr;
}

COLORREF CXTPTabPainter::FillButtonFace(CDC* pDC, CRect& rc, CXTPTabManagerNavigateButton* pButton)
{
    return m_pColors->FillNavigateButton(pDC, pButton, rc);
}

// Fonts

void CXTPTabPainter::RefreshMetrics()
{
    if (m_bUseSystemFont) {
        LOGFONT lf = {};
        ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0);
        BuildFonts(lf);
    }
    CColorTable::RefreshIfStale();
    if (m_pColors)
        m_pColors->RefreshColors();
    if (m_pStyle)
        m_pStyle->RefreshMetrics();
}

void CXTPTabPainter::SetFontIndirect(const LOGFONT* pLogFont)
{
    m_bUseSystemFont = FALSE;
    BuildFonts(*pLogFont);
    RefreshMetrics();
    OnPainterChanged();
}

void CXTPTabPainter::BuildFonts(const LOGFONT& lf)
{
    LOGFONT font = lf;
    font.lfWeight = m_bBoldNormal ? FW_BOLD : FW_NORMAL;
    m_fntNormal.DeleteObject();
    m_fntNormal.CreateFontIndirect(&font);
    font.lfWeight = FW_BOLD;
    m_fntBold.DeleteObject();
    m_fntBold.CreateFontIndirect(&font);

    CString strFace = GetDefaultFontFace(TRUE);
    lstrcpynW(font.lfFaceName, strFace, LF_FACESIZE);
    font.lfEscapement = 2700;
    font.lfOrientation = 900;
    if (font.lfHeight > -11 && font.lfHeight < 0)
        font.lfHeight = -11;
    font.lfWeight = m_bBoldNormal ? FW_BOLD : FW_NORMAL;
    m_fntVerticalNormal.DeleteObject();
    m_fntVerticalNormal.CreateFontIndirect(&font);
    font.lfWeight = FW_BOLD;
    m_fntVerticalBold.DeleteObject();
    m_fntVerticalBold.CreateFontIndirect(&font);
}

CFont* CXTPTabPainter::GetFont(BOOL bBold, BOOL bVertical)
{
    if (bVertical)
        return bBold ? &m_fntVerticalBold : &m_fntVerticalNormal;
    return bBold ? &m_fntBold : &m_fntNormal;
}

CFont* CXTPTabPainter::GetItemFont(CXTPTabManagerItem* pItem)
{
    BOOL bVertical = !IsHorizontal();
    if (m_nLayout == layoutRotated)
        bVertical = !bVertical;
    BOOL bBold = m_bBoldSelected && pItem->IsSelected() && pItem->GetTabManager()->IsActive();
    return GetFont(bBold, bVertical);
}

// Captions

int CXTPTabPainter::DrawItemCaption(CDC* pDC, CXTPTabManagerItem* pItem, CRect rcItem, BOOL bDraw)
{
    CXTPTabManager* pManager = pItem->GetTabManager();
    CFont* pFont = GetItemFont(pItem);
    BOOL bVerticalText = pFont == &m_fntVerticalNormal || pFont == &m_fntVerticalBold;
    CFontSelector font(pDC, pFont);

    CString strCaption = pItem->GetCaption();
    if (m_nLayout == layoutSizeToFit && !pItem->IsSelected())
        strCaption.Empty();
    CString strMeasured = strCaption;
    if (!m_bNoPrefix)
        StripAmpersands(strMeasured);
    int nText = strMeasured.IsEmpty() ? 0 : pDC->GetTextExtent(strMeasured).cx;

    BOOL bIcon = m_bShowIcons && pManager->DrawIcon(pDC, CPoint(0, 0), pItem, FALSE, m_szIcon);
    int nIconLength = bVerticalText ? m_szIcon.cy : m_szIcon.cx;
    int nIconCell = bIcon ? nIconLength + 2 : 0;
    int nLength = 6 + m_rcItemInset.left + nIconCell + nText + 2 + m_rcItemInset.right;
    if (!bDraw)
        return nLength;

    m_pColors->GetItemTextColor(pDC, pItem);
    pDC->SetBkMode(TRANSPARENT);
    CRect rc = rcItem;
    if (bVerticalText) {
        rc.top += 6 + m_rcItemInset.left;
        rc.bottom -= 2 + m_rcItemInset.right;
    } else {
        rc.left += 6 + m_rcItemInset.left;
        rc.right -= 2 + m_rcItemInset.right;
    }
    if (bIcon && (bVerticalText ? rc.Height() : rc.Width()) >= nIconLength) {
        CPoint pt = bVerticalText ? CPoint(rc.CenterPoint().x - m_szIcon.cx / 2, rc.top)
                                  : CPoint(rc.left, rc.CenterPoint().y - m_szIcon.cy / 2);
        pManager->DrawIcon(pDC, pt, pItem, TRUE, m_szIcon);
        (bVerticalText ? rc.top : rc.left) += nIconCell;
    }
    if (strCaption.IsEmpty() || rc.IsRectEmpty())
        return nLength;
    if (bVerticalText) {
        // Turned text runs downward with its top to the right; centred across the tab.
        TEXTMETRIC tm = {};
        pDC->GetTextMetrics(&tm);
        int x = rc.CenterPoint().x + tm.tmHeight / 2;
        pDC->ExtTextOut(x, rc.top, ETO_CLIPPED, &rc, strMeasured, nullptr);
    } else {
        UINT nFormat = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
        if (!m_bNoEllipsis)
            nFormat |= DT_END_ELLIPSIS;
        if (m_bNoPrefix)
            nFormat |= DT_NOPREFIX;
        pDC->DrawText(strCaption, &rc, nFormat);
    }
    return nLength;
}

void CXTPTabPainter::DrawFocusRect(CDC* pDC, CXTPTabManagerItem* pItem)
{
    if (!m_bShowFocusRect)
        return;
    pDC->SetTextColor(0);
    pDC->SetBkColor(0xFFFFFF);
    CRect rc = pItem->GetRect();
    rc.DeflateRect(3, 3);
    pDC->DrawFocusRect(&rc);
}

// Layout

int CXTPTabPainter::MeasureItem(CDC* pDC, CXTPTabManagerItem* pItem)
{
    if (!pItem->IsVisible())
        return 0;
    int nWidth = m_pStyle->GetItemWidth(pDC, pItem);
    CSize szMin, szMax;
    pItem->GetTabManager()->GetItemMetrics(nullptr, &szMin, &szMax);
    if (szMin.cx > 0)
        nWidth = std::max(nWidth, static_cast<int>(szMin.cx));
    if (szMax.cx > 0)
        nWidth = std::min(nWidth, static_cast<int>(szMax.cx));
    return nWidth;
}

void CXTPTabPainter::AdjustClientRect(CXTPTabManager* pManager, CRect& rc)
{
    m_pStyle->AdjustClientRect(pManager, rc);
    // The page stays inside the static border; on the header side only its outer line shows.
    if (pManager->IsDrawStaticFrame())
        CXTPTabStyle::DeflateTurned(rc, CRect(2, 1, 2, 2), m_nPosition);
}

void CXTPTabPainter::RepositionTabControl(CXTPTabManager* pManager, CDC* pDC, CRect rcControl)
{
    pManager->SetControlRect(rcControl);
    pManager->SetClientRect(rcControl);
    pManager->SetHeaderRect(CRect());
    pManager->GetRowIndexer()->SetRowCount(1);
    for (int i = 0; i < pManager->GetItemCount(); i++)
        pManager->GetItem(i)->SetRow(0);
    m_pStyle->RepositionTabs(pManager, pDC, rcControl);
    CRect rcClient = rcControl;
    AdjustClientRect(pManager, rcClient);
    pManager->SetClientRect(rcClient);
}

CRect CXTPTabPainter::GetRowRect(CXTPTabManager* /*pManager*/, const CRect& rcHeader, int nRow, int nRowHeight) const
{
    CRect rcMargins = m_pStyle->GetMargins();
    int nPitch = nRowHeight + m_pStyle->GetRowSpacing();
    CRect rc = rcHeader;
    switch (m_nPosition) {
    case positionTop:
        rc.bottom = rcHeader.bottom - rcMargins.bottom - nRow * nPitch;
        rc.top = rc.bottom - nRowHeight;
        break;
    case positionBottom:
        rc.top = rcHeader.top + rcMargins.bottom + nRow * nPitch;
        rc.bottom = rc.top + nRowHeight;
        break;
    case positionLeft:
        rc.right = rcHeader.right - rcMargins.bottom - nRow * nPitch;
        rc.left = rc.right - nRowHeight;
        break;
    default:
        rc.left = rcHeader.left + rcMargins.bottom + nRow * nPitch;
        rc.right = rc.left + nRowHeight;
        break;
    }
    // Along the strip: the tabs area inside the left and right margins.
    if (IsHorizontal()) {
        rc.left = rcHeader.left + rcMargins.left;
        rc.right = rcHeader.right - rcMargins.right;
    } else {
        rc.top = rcHeader.top + rcMargins.left;
        rc.bottom = rcHeader.bottom - rcMargins.right;
    }
    return rc;
}

void CXTPTabPainter::PlaceRowTabs(CXTPTabManager* pManager, int nRow, int nStart, const CRect& rcRow, int nRowHeight)
{
    BOOL bHorizontal = IsHorizontal();
    int nPos = nStart;
    for (int i = 0; i < pManager->GetItemCount(); i++) {
        CXTPTabManagerItem* pItem = pManager->GetItem(i);
        if (nRow >= 0 && pItem->GetRow() != nRow)
            continue;
        if (!pItem->IsVisible()) {
            pItem->SetRect(CRect());
            continue;
        }
        int nLength = pItem->GetLength();
        CRect rc;
        if (m_nLayout == layoutRotated) {
            // Each tab one row thick along the strip, as long as its caption across it, standing on the client side.
            int nAcross = nLength;
            nLength = nRowHeight;
            if (bHorizontal)
                rc = m_nPosition == positionTop ? CRect(nPos, rcRow.bottom - nAcross, nPos + nLength, rcRow.bottom)
                                                : CRect(nPos, rcRow.top, nPos + nLength, rcRow.top + nAcross);
            else
                rc = m_nPosition == positionLeft ? CRect(rcRow.right - nAcross, nPos, rcRow.right, nPos + nLength)
                                                 : CRect(rcRow.left, nPos, rcRow.left + nAcross, nPos + nLength);
        } else if (bHorizontal) {
            rc = CRect(nPos, rcRow.top, nPos + nLength, rcRow.bottom);
        } else {
            rc = CRect(rcRow.left, nPos, rcRow.right, nPos + nLength);
        }
        pItem->SetRect(rc);
        nPos += nLength;
    }
}

void CXTPTabPainter::PlaceNavigateButtons(CXTPTabManager* pManager, CRect& rcHeader)
{
    for (int i = pManager->GetNavigateButtonCount() - 1; i >= 0; i--)
        pManager->GetNavigateButton(i)->Reposition(rcHeader);
}

void CXTPTabPainter::RepositionTabsDefault(CXTPTabManager* pManager, CDC* pDC, CRect rcControl)
{
    for (int i = 0; i < pManager->GetItemCount(); i++) {
        CXTPTabManagerItem* pItem = pManager->GetItem(i);
        int nWidth = MeasureItem(pDC, pItem);
        pItem->SetLength(nWidth);
        pItem->SetContentLength(nWidth);
    }
    CRect rcHeader = m_pStyle->GetHeaderRect(rcControl, pManager);
    pManager->SetHeaderRect(rcHeader);
    if (pManager->GetItemCount() == 0) {
        PlaceNavigateButtons(pManager, rcHeader);
        pManager->SetHeaderRect(rcHeader);
        return;
    }
    if (m_nLayout == layoutMultiRow) {
        RepositionMultiRow(pManager, pDC, rcControl);
        return;
    }
    int nRowHeight = m_pStyle->GetRowHeight(pManager);
    // Rotated tabs stand in a band as thick as the header less its margins.
    CRect rcMargins = m_pStyle->GetMargins();
    int nBand = m_nLayout != layoutRotated ? nRowHeight
              : (IsHorizontal() ? rcHeader.Height() : rcHeader.Width()) - rcMargins.top - rcMargins.bottom;
    CRect rcRow = GetRowRect(pManager, rcHeader, 0, nBand);
    BOOL bHorizontal = IsHorizontal();
    int nStart = bHorizontal ? rcRow.left : rcRow.top;
    int nSpace = bHorizontal ? rcRow.Width() : rcRow.Height();
    // The header ends where the tabs area ends; the buttons placed below take their part of it.
    (bHorizontal ? rcHeader.right : rcHeader.bottom) = bHorizontal ? rcRow.right : rcRow.bottom;
    for (int i = pManager->GetNavigateButtonCount() - 1; i >= 0; i--)
        pManager->GetNavigateButton(i)->AdjustWidth(nSpace);

    if (m_nLayout == layoutCompressed)
        CompressTabs(pManager, nSpace);

    int nTotal = pManager->GetItemsLength();
    int nOffset = pManager->GetHeaderOffset();
    PlaceRowTabs(pManager, -1, nStart + nOffset, rcRow, nRowHeight);
    CRect rcWhole = rcHeader;
    PlaceNavigateButtons(pManager, rcHeader);
    // A header scrolled further than its tabs need comes back. The length left visible is measured after the
    // buttons, which cover the header's end: scrolled to the end, the last tab ends before the arrows, not under
    // them, and the arrows are enabled for that offset.
    int nVisible = (bHorizontal ? rcHeader.right : rcHeader.bottom) - nStart;
    if (nOffset < 0 && nTotal + nOffset < nVisible) {
        nOffset = std::min(nVisible - nTotal, 0);
        pManager->SetHeaderOffsetValue(nOffset);
        PlaceRowTabs(pManager, -1, nStart + nOffset, rcRow, nRowHeight);
        rcHeader = rcWhole;
        PlaceNavigateButtons(pManager, rcHeader);
    }
    pManager->SetHeaderRect(rcHeader);
}

void CXTPTabPainter::CompressTabs(CXTPTabManager* pManager, int nWidth)
{
    // A width at or below 0 leaves nothing: every tab becomes 0 wide, never negative.
    nWidth = std::max(nWidth, 0);
    std::vector<CXTPTabManagerItem*> items;
    int nTotal = 0;
    for (int i = 0; i < pManager->GetItemCount(); i++) {
        CXTPTabManagerItem* pItem = pManager->GetItem(i);
        if (pItem->IsVisible()) {
            items.push_back(pItem);
            nTotal += pItem->GetLength();
        }
    }
    int nCount = static_cast<int>(items.size());
    if (nTotal <= nWidth || nCount == 0)
        return;
    if (nCount == 1) {
        items[0]->SetLength(nWidth);
        return;
    }
    std::stable_sort(items.begin(), items.end(), [](const CXTPTabManagerItem* a, const CXTPTabManagerItem* b) {
        return a->GetLength() > b->GetLength();
    });
    int nExcess = nTotal - nWidth;
    int k = 1;
    while (k < nCount && items[k]->GetLength() == items[0]->GetLength())
        k++;
    while (k < nCount) {
        int w1 = items[0]->GetLength(), w2 = items[k]->GetLength();
        if ((w1 - w2) * k >= nExcess) {
            for (int i = 0; i < k; i++)
                items[i]->SetLength(w1 - nExcess / k);
            return;
        }
        for (int i = 0; i < k; i++)
            items[i]->SetLength(w2);
        nExcess -= (w1 - w2) * k;
        while (k < nCount && items[k]->GetLength() == w2)
            k++;
    }
    for (CXTPTabManagerItem* pItem : items)
        pItem->SetLength(nWidth / nCount);
}

int CXTPTabPainter::CalcRows(CXTPTabManager* pManager, int nWidth)
{
    int nRows = 1, nRowLength = 0, nTotal = 0;
    for (int i = 0; i < pManager->GetItemCount(); i++) {
        CXTPTabManagerItem* pItem = pManager->GetItem(i);
        pItem->SetRow(0);
        int nLength = pItem->GetLength();
        nTotal += nLength;
        // A hidden tab measures 0 and starts no row, not even after a tab longer than the strip.
        if (nRowLength > 0 && nLength > 0 && nRowLength + nLength > nWidth) {
            nRows++;
            nRowLength = nLength;
        } else {
            nRowLength += nLength;
        }
    }
    if (nRows > 1) {
        int nFailed = BalanceRows(pManager, 0, 0, nTotal, nRows, nWidth);
        if (nFailed >= 0) {
            // No even distribution: one tab per row from the item that did not fit.
            for (int i = nFailed; i < pManager->GetItemCount(); i++)
                pManager->GetItem(i)->SetRow(1 + i - nFailed);
            nRows = 1 + pManager->GetItemCount() - nFailed;
        }
    }
    CXTPTabManager::CRowIndexer* pIndexer = pManager->GetRowIndexer();
    pIndexer->SetRowCount(nRows);
    for (int r = 0; r < nRows; r++)
        pIndexer->GetRow(r) = CXTPTabManager::CRowIndexer::ROW{pManager->GetItemCount(), -1};
    for (int i = 0; i < pManager->GetItemCount(); i++) {
        CXTPTabManager::CRowIndexer::ROW& row = pIndexer->GetRow(pManager->GetItem(i)->GetRow());
        row.nFirst = std::min(row.nFirst, i);
        row.nLast = std::max(row.nLast, i);
    }
    CXTPTabManagerItem* pSelected = pManager->GetSelectedItem();
    if (nRows > 1 && !m_bKeepRowOrder && pSelected && pSelected->GetRow() != 0) {
        int nSelectedRow = pSelected->GetRow();
        for (int i = 0; i < pManager->GetItemCount(); i++) {
            CXTPTabManagerItem* pItem = pManager->GetItem(i);
            if (pItem->GetRow() == nSelectedRow)
                pItem->SetRow(0);
            else if (pItem->GetRow() == 0)
                pItem->SetRow(nSelectedRow);
        }
        std::swap(pIndexer->GetRow(0), pIndexer->GetRow(nSelectedRow));
    }
    return nRows;
}

int CXTPTabPainter::BalanceRows(CXTPTabManager* pManager, int nRow, int nFirst, int nLength, int nRows, int nWidth)
{
    int nTarget = m_bBalanceRows ? std::min(nLength / (nRows - nRow), nWidth) : nWidth;
    int nRowLength = 0;
    for (int i = nFirst; i < pManager->GetItemCount(); i++) {
        CXTPTabManagerItem* pItem = pManager->GetItem(i);
        int nItem = pItem->GetLength();
        if (nRowLength > 0 && nItem >= 1 && nRowLength + nItem > nTarget) {
            if (nRow < nRows - 1 && BalanceRows(pManager, nRow + 1, i, nLength - nRowLength, nRows, nWidth) < 0)
                return -1;
            if (nRowLength + nItem > nWidth)
                return i;
        }
        pItem->SetRow(nRow);
        nRowLength += nItem;
    }
    return -1;
}

void CXTPTabPainter::RepositionMultiRow(CXTPTabManager* pManager, CDC* /*pDC*/, CRect rcControl)
{
    int nRowHeight = m_pStyle->GetRowHeight(pManager);
    CRect rcArea = GetRowRect(pManager, m_pStyle->GetHeaderRect(rcControl, pManager), 0, nRowHeight);
    BOOL bHorizontal = IsHorizontal();
    int nWidth = bHorizontal ? rcArea.Width() : rcArea.Height();
    for (int i = pManager->GetNavigateButtonCount() - 1; i >= 0; i--)
        pManager->GetNavigateButton(i)->AdjustWidth(nWidth);
    int nRows = CalcRows(pManager, nWidth);

    if (m_bBalanceRows && nRows > 1) {
        for (int r = 0; r < nRows; r++) {
            int nRowLength = 0, nTabs = 0;
            for (int i = 0; i < pManager->GetItemCount(); i++) {
                CXTPTabManagerItem* pItem = pManager->GetItem(i);
                if (pItem->GetRow() == r && pItem->IsVisible()) {
                    nRowLength += pItem->GetLength();
                    nTabs++;
                }
            }
            int nGap = nWidth - nRowLength;
            for (int i = 0; i < pManager->GetItemCount() && nGap > 0 && nTabs > 0; i++) {
                CXTPTabManagerItem* pItem = pManager->GetItem(i);
                if (pItem->GetRow() != r || !pItem->IsVisible())
                    continue;
                int nShare = nGap / nTabs--;
                pItem->SetLength(pItem->GetLength() + nShare);
                nGap -= nShare;
            }
        }
    }

    // The header again, now with the row count.
    CRect rcHeader = m_pStyle->GetHeaderRect(rcControl, pManager);
    for (int r = 0; r < nRows; r++) {
        CRect rcRow = GetRowRect(pManager, rcHeader, r, nRowHeight);
        PlaceRowTabs(pManager, r, bHorizontal ? rcRow.left : rcRow.top, rcRow, nRowHeight);
    }
    PlaceNavigateButtons(pManager, rcHeader);
    pManager->SetHeaderRect(rcHeader);
}

void CXTPTabPainter::EnsureVisible(CXTPTabManager* pManager, CXTPTabManagerItem* pItem)
{
    if (!pItem || m_nLayout == layoutMultiRow)
        return;
    CRect rcHeader = pManager->GetHeaderRect();
    CRect rcItem = pItem->GetRect();
    // A hidden tab or a strip not laid out yet has no place to scroll to.
    if (rcHeader.IsRectEmpty() || rcItem.IsRectEmpty())
        return;
    int nStart = IsHorizontal() ? rcHeader.left : rcHeader.top;
    int nEnd = IsHorizontal() ? rcHeader.right : rcHeader.bottom;
    int nItemStart = IsHorizontal() ? rcItem.left : rcItem.top;
    int nItemEnd = IsHorizontal() ? rcItem.right : rcItem.bottom;
    int nOffset = pManager->GetHeaderOffset();
    if (nItemStart < nStart)
        nOffset += nStart - nItemStart + m_pStyle->GetMargins().left;
    else if (nItemEnd > nEnd)
        nOffset -= nItemEnd - nEnd;
    pManager->SetHeaderOffset(nOffset);
}

// Drawing

void CXTPTabPainter::DrawTabControl(CXTPTabManager* pManager, CDC* pDC, CRect rcControl)
{
    m_pStyle->DrawTabControl(pManager, pDC, rcControl);
}

void CXTPTabPainter::DrawTabControlDefault(CXTPTabManager* pManager, CDC* pDC, CRect rcControl)
{
    pDC->SetBkMode(TRANSPARENT);
    m_pStyle->DrawFrame(pDC, pManager, rcControl);
    // The static border goes over whatever the style filled the client area with.
    if (pManager->IsDrawStaticFrame()) {
        CRect rcClient = m_pStyle->GetClientRect(rcControl, pManager);
        m_pStyle->FillClientPart(pDC, pManager, rcClient, CXTPTabStyle::clientPartBorder);
    }
    if (pManager->GetItemCount() > 0) {
        // The rows under the header's clip, cut before the buttons; the DC's own clipping comes back after.
        int nSaved = pDC->SaveDC();
        pDC->IntersectClipRect(pManager->GetHeaderRect());
        m_pColors->AdjustHeaderClip(pDC, rcControl, pManager);
        for (int r = pManager->GetRowIndexer()->GetRowCount() - 1; r >= 0; r--)
            DrawRow(pDC, pManager, r);
        pDC->RestoreDC(nSaved);
    }
    for (int i = 0; i < pManager->GetNavigateButtonCount(); i++)
        DrawNavigateButton(pDC, pManager->GetNavigateButton(i));
    if (pManager->IsFocusCueVisible() && pManager->GetSelectedItem())
        DrawFocusRect(pDC, pManager->GetSelectedItem());
}

void CXTPTabPainter::DrawRow(CDC* pDC, CXTPTabManager* pManager, int nRow)
{
    CRect rcClip;
    pDC->GetClipBox(&rcClip);
    std::vector<CXTPTabManagerItem*> items;
    int nSelected = -1;
    for (int i = 0; i < pManager->GetItemCount(); i++) {
        CXTPTabManagerItem* pItem = pManager->GetItem(i);
        CRect rc = pItem->GetRect(), rcTest;
        if (pItem->GetRow() != nRow || !pItem->IsVisible() || !rcTest.IntersectRect(rc, rcClip))
            continue;
        if (pItem->IsSelected())
            nSelected = static_cast<int>(items.size());
        items.push_back(pItem);
    }
    int nCount = static_cast<int>(items.size());
    int nPivot = nSelected >= 0 ? nSelected : nCount;
    if (m_pStyle->IsForwardDrawing()) {
        for (int i = 0; i < nPivot; i++)
            m_pStyle->DrawSingleItem(pDC, items[i]);
        for (int i = nCount - 1; i > nPivot; i--)
            m_pStyle->DrawSingleItem(pDC, items[i]);
    } else {
        for (int i = nCount - 1; i >= 0; i--)
            if (i != nSelected)
                m_pStyle->DrawSingleItem(pDC, items[i]);
    }
    if (nSelected >= 0)
        m_pStyle->DrawSingleItem(pDC, items[nSelected]);
}

void CXTPTabPainter::DrawNavigateButton(CDC* pDC, CXTPTabManagerNavigateButton* pButton)
{
    CRect rc = pButton->GetRect();
    if (rc.IsRectEmpty())
        return;
    COLORREF clrGlyph = FillButtonFace(pDC, rc, pButton);
    CPenSelector pen(pDC, clrGlyph);
    CBrush brush;
    HGDIOBJ hBrush = ::GetStockObject(HOLLOW_BRUSH);
    if (pButton->IsEnabled()) {
        brush.CreateSolidBrush(clrGlyph);
        hBrush = brush.GetSafeHandle();
    }
    HGDIOBJ hOldBrush = pDC->SelectObject(hBrush);
    pButton->DrawEntry(pDC, rc);
    pDC->SelectObject(hOldBrush);
}
