#include "GridCellPainter.h"

#include <algorithm>

namespace
{
COLORREF Auto(COLORREF cr, COLORREF crAuto)
{
    return cr == kGridColorAuto ? crAuto : cr;
}

bool IsBoxCell(const CGridCellFormat& fmt, const CString& strText)
{
    return strText.GetLength() == 1 && (strText[0] == kGridBoxTicked || strText[0] == kGridBoxEmpty) &&
           fmt.m_strFontName.CompareNoCase(GRID_BOX_FONT) == 0;
}
} // namespace

CGridCellPainter::~CGridCellPainter()
{
    ClearFonts();
}

void CGridCellPainter::SetResolution(int nDpi)
{
    if (nDpi == m_nDpi)
        return;
    ClearFonts();
    m_nDpi = nDpi;
}

void CGridCellPainter::ClearFonts()
{
    for (auto& font : m_fonts)
        ::DeleteObject(font.second);
    m_fonts.clear();
}

HFONT CGridCellPainter::GetFont(const CGridCellFormat& fmt)
{
    CString strKey;
    strKey.Format(L"%s|%d|%d%d%d", static_cast<LPCTSTR>(fmt.m_strFontName), fmt.m_nFontSize, fmt.m_bBold,
                  fmt.m_bItalic, fmt.m_bUnderline);
    auto it = m_fonts.find(strKey);
    if (it != m_fonts.end())
        return it->second;
    LOGFONTW lf = {};
    lf.lfHeight = -::MulDiv(fmt.m_nFontSize, m_nDpi, 20 * 72);
    lf.lfWeight = fmt.m_bBold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = fmt.m_bItalic;
    lf.lfUnderline = fmt.m_bUnderline;
    lf.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynW(lf.lfFaceName, fmt.m_strFontName, LF_FACESIZE);
    HFONT hFont = ::CreateFontIndirectW(&lf);
    m_fonts[strKey] = hFont;
    return hFont;
}

void CGridCellPainter::DrawCellText(HDC hDC, const CGridSheet& sheet, int nRow, int nCol, const RECT& rcCell,
                             int nOverflowRight)
{
    const CGridCellFormat& fmt = sheet.GetCellFormat(nRow, nCol);
    CString strText = sheet.GetText(nRow, nCol);
    if (IsBoxCell(fmt, strText)) {
        DrawBox(hDC, rcCell, fmt, strText[0] == kGridBoxTicked, ::MulDiv(13, m_nDpi, 96));
        return;
    }
    const CGridValue& value = sheet.GetCellValue(nRow, nCol);
    UINT nFormat = DT_NOPREFIX | (fmt.m_bWrap ? DT_WORDBREAK : DT_SINGLELINE);
    switch (fmt.m_nHAlign) {
    case gridHAlignLeft: nFormat |= DT_LEFT; break;
    case gridHAlignCenter: nFormat |= DT_CENTER; break;
    case gridHAlignRight: nFormat |= DT_RIGHT; break;
    default: nFormat |= value.IsText() ? DT_LEFT : value.IsNumber() ? DT_RIGHT : DT_CENTER; break;
    }
    RECT rc = {rcCell.left + kGridCellPad, rcCell.top + 1, std::max(nOverflowRight, static_cast<int>(rcCell.right)) - kGridCellPad,
               rcCell.bottom - 1};
    HGDIOBJ hOld = ::SelectObject(hDC, GetFont(fmt));
    if (!fmt.m_bWrap)
        nFormat |= fmt.m_nVAlign == gridVAlignTop ? DT_TOP : fmt.m_nVAlign == gridVAlignCenter ? DT_VCENTER : DT_BOTTOM;
    else if (fmt.m_nVAlign != gridVAlignTop) {
        RECT rcCalc = rc;
        int cy = ::DrawTextW(hDC, strText, strText.GetLength(), &rcCalc, nFormat | DT_CALCRECT);
        int nFree = std::max(0, static_cast<int>(rc.bottom - rc.top) - cy);
        rc.top += fmt.m_nVAlign == gridVAlignCenter ? nFree / 2 : nFree;
    }
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, Auto(fmt.m_crText, RGB(0, 0, 0)));
    ::DrawTextW(hDC, strText, strText.GetLength(), &rc, nFormat);
    ::SelectObject(hDC, hOld);
}

// A check box of nSize pixels: a frame, a white inside and, when ticked, a check mark in the text colour.
void CGridCellPainter::DrawBox(HDC hDC, const RECT& rcCell, const CGridCellFormat& fmt, bool bTicked, int nSize)
{
    int cxCell = rcCell.right - rcCell.left, cyCell = rcCell.bottom - rcCell.top;
    nSize = std::max(5, std::min({nSize, cxCell - 2 * kGridCellPad, cyCell - 2}));
    int x = rcCell.left + (cxCell - nSize) / 2;
    if (fmt.m_nHAlign == gridHAlignLeft)
        x = rcCell.left + kGridCellPad;
    else if (fmt.m_nHAlign == gridHAlignRight)
        x = rcCell.right - kGridCellPad - nSize - 1;
    int y = rcCell.top + (cyCell - nSize) / 2;
    if (fmt.m_nVAlign == gridVAlignTop)
        y = rcCell.top + 1;
    else if (fmt.m_nVAlign == gridVAlignBottom)
        y = rcCell.bottom - 2 - nSize;
    RECT rcBox = {x, y, x + nSize, y + nSize};
    COLORREF crInk = Auto(fmt.m_crText, RGB(0, 0, 0));
    HBRUSH hInk = ::CreateSolidBrush(crInk);
    ::FillRect(hDC, &rcBox, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::FrameRect(hDC, &rcBox, hInk);
    ::DeleteObject(hInk);
    if (!bTicked)
        return;
    HPEN hPen = ::CreatePen(PS_SOLID, std::max(2, nSize / 6), crInk);
    HGDIOBJ hOld = ::SelectObject(hDC, hPen);
    int nInset = std::max(2, nSize / 4);
    POINT mark[3] = {{x + nInset, y + nSize / 2},
                     {x + nSize / 2 - 1, y + nSize - nInset - 1},
                     {x + nSize - nInset, y + nInset}};
    ::Polyline(hDC, mark, 3);
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hPen);
}

void CGridCellPainter::DrawBorders(HDC hDC, const RECT& rcCell, const CGridCellFormat& fmt)
{
    for (int side = 0; side < gridSideCount; ++side) {
        const CGridBorder& border = fmt.m_borders[side];
        if (border.m_nStyle == gridBorderNone)
            continue;
        int nWidth = (border.m_nStyle == gridBorderMedium ? 2 : border.m_nStyle == gridBorderThick ? 3 : 1) * LineScale();
        int nPenStyle = border.m_nStyle == gridBorderDashed ? PS_DASH
                        : border.m_nStyle == gridBorderDotted ? PS_DOT
                                                               : PS_SOLID;
        COLORREF cr = Auto(border.m_crColor, RGB(0, 0, 0));
        // Lines lie on the cell's last pixel row or column at the right and bottom, on its first at the left
        // and top, and grow inwards when thicker.
        for (int i = 0; i < nWidth || (border.m_nStyle == gridBorderDouble && i < 3 * LineScale()); ++i) {
            if (border.m_nStyle == gridBorderDouble && i / LineScale() == 1)
                continue;
            HPEN hPen = ::CreatePen(nPenStyle, 1, cr);
            HGDIOBJ hOld = ::SelectObject(hDC, hPen);
            int l = rcCell.left, t = rcCell.top, r = rcCell.right - 1, b = rcCell.bottom - 1;
            switch (side) {
            case gridSideLeft: ::MoveToEx(hDC, l + i, t, nullptr); ::LineTo(hDC, l + i, b + 1); break;
            case gridSideRight: ::MoveToEx(hDC, r - i, t, nullptr); ::LineTo(hDC, r - i, b + 1); break;
            case gridSideTop: ::MoveToEx(hDC, l, t + i, nullptr); ::LineTo(hDC, r + 1, t + i); break;
            default: ::MoveToEx(hDC, l, b - i, nullptr); ::LineTo(hDC, r + 1, b - i); break;
            }
            ::SelectObject(hDC, hOld);
            ::DeleteObject(hPen);
        }
    }
}


void CGridCellPainter::DrawMergedCell(HDC hDC, const CGridSheet& sheet, const CGridRange& merge, const RECT& rc)
{
    const CGridCellFormat& fmt = sheet.GetCellFormat(merge.m_nRow1, merge.m_nCol1);
    ::SetBkColor(hDC, Auto(fmt.m_crFill, RGB(255, 255, 255)));
    ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    const CGridCell* pCell = sheet.GetCell(merge.m_nRow1, merge.m_nCol1);
    if (pCell && pCell->HasContent())
        DrawCellText(hDC, sheet, merge.m_nRow1, merge.m_nCol1, rc, rc.right);
}
