#include "GridPrinter.h"

#include <algorithm>

namespace
{
// Room kept free around the cells, in twips (a third of an inch).
const int kMarginTwips = 480;
} // namespace

int CGridPrinter::ColWidth(const CGridSheet& sheet, int nCol) const
{
    return sheet.IsColHidden(nCol) ? 0 : ::MulDiv(sheet.GetColWidth(nCol), m_nDpiX, 1440);
}

int CGridPrinter::RowHeight(const CGridSheet& sheet, int nRow) const
{
    return sheet.IsRowHidden(nRow) ? 0 : ::MulDiv(sheet.GetRowHeight(nRow), m_nDpiY, 1440);
}

template <class FSize> std::vector<std::pair<int, int>> CGridPrinter::Cut(int nLast, int nRoom, FSize size)
{
    std::vector<std::pair<int, int>> runs;
    int nFirst = 1, nUsed = 0;
    for (int n = 1; n <= nLast; ++n) {
        int nSize = size(n);
        if (nUsed > 0 && nUsed + nSize > nRoom) {
            runs.emplace_back(nFirst, n - 1);
            nFirst = n;
            nUsed = 0;
        }
        nUsed += nSize;
    }
    if (nLast >= 1)
        runs.emplace_back(nFirst, nLast);
    return runs;
}

int CGridPrinter::Paginate(HDC hDC)
{
    SIZE szPage = {::GetDeviceCaps(hDC, HORZRES), ::GetDeviceCaps(hDC, VERTRES)};
    return Paginate(szPage, ::GetDeviceCaps(hDC, LOGPIXELSX), ::GetDeviceCaps(hDC, LOGPIXELSY));
}

int CGridPrinter::Paginate(SIZE szPage, int nDpiX, int nDpiY)
{
    m_pages.clear();
    m_nDpiX = std::max(1, nDpiX);
    m_nDpiY = std::max(1, nDpiY);
    m_painter.SetResolution(m_nDpiY);
    m_nMarginX = ::MulDiv(kMarginTwips, m_nDpiX, 1440);
    m_nMarginY = ::MulDiv(kMarginTwips, m_nDpiY, 1440);
    int cxRoom = std::max(1, static_cast<int>(szPage.cx) - 2 * m_nMarginX);
    int cyRoom = std::max(1, static_cast<int>(szPage.cy) - 2 * m_nMarginY);
    std::vector<int> sheets = m_sheets;
    if (sheets.empty()) {
        for (int n = 1; n <= m_book.GetSheetCount(); ++n)
            sheets.push_back(n);
    }
    for (int nSheet : sheets) {
        const CGridSheet* pSheet = m_book.GetSheet(nSheet);
        if (!pSheet)
            continue;
        int nLastRow = std::min(pSheet->GetLastRow(), pSheet->GetMaxRow());
        int nLastCol = std::min(pSheet->GetLastCol(), pSheet->GetMaxCol());
        if (nLastRow < 1 || nLastCol < 1)
            continue;
        auto cols = Cut(nLastCol, cxRoom, [&](int c) { return ColWidth(*pSheet, c); });
        auto rows = Cut(nLastRow, cyRoom, [&](int r) { return RowHeight(*pSheet, r); });
        for (const auto& rowRun : rows)
            for (const auto& colRun : cols)
                m_pages.push_back(CPage{nSheet, rowRun.first, rowRun.second, colRun.first, colRun.second});
    }
    return GetPageCount();
}

void CGridPrinter::DrawPage(HDC hDC, int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount())
        return;
    const CPage& page = m_pages[static_cast<size_t>(nPage)];
    const CGridSheet& sheet = *m_book.GetSheet(page.nSheet);
    std::vector<int> xs(1, m_nMarginX), ys(1, m_nMarginY);
    for (int c = page.nCol1; c <= page.nCol2; ++c)
        xs.push_back(xs.back() + ColWidth(sheet, c));
    for (int r = page.nRow1; r <= page.nRow2; ++r)
        ys.push_back(ys.back() + RowHeight(sheet, r));
    auto cellRect = [&](int r, int c) {
        return RECT{xs[static_cast<size_t>(c - page.nCol1)], ys[static_cast<size_t>(r - page.nRow1)],
                    xs[static_cast<size_t>(c - page.nCol1 + 1)], ys[static_cast<size_t>(r - page.nRow1 + 1)]};
    };
    for (int r = page.nRow1; r <= page.nRow2; ++r)
        for (int c = page.nCol1; c <= page.nCol2; ++c) {
            const CGridCellFormat& fmt = sheet.GetCellFormat(r, c);
            RECT rc = cellRect(r, c);
            if (fmt.m_crFill != kGridColorAuto && rc.right > rc.left && rc.bottom > rc.top) {
                ::SetBkColor(hDC, fmt.m_crFill);
                ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
            }
        }
    // Texts; a left-aligned text runs on over the empty cells to its right, as on the screen.
    for (int r = page.nRow1; r <= page.nRow2; ++r)
        for (int c = page.nCol1; c <= page.nCol2; ++c) {
            const CGridCell* pCell = sheet.GetCell(r, c);
            RECT rc = cellRect(r, c);
            if (!pCell || !pCell->HasContent() || rc.right <= rc.left || rc.bottom <= rc.top ||
                sheet.FindMerge(r, c))
                continue;
            const CGridCellFormat& fmt = sheet.GetCellFormat(r, c);
            bool bLeft = fmt.m_nHAlign == gridHAlignLeft ||
                         (fmt.m_nHAlign == gridHAlignGeneral && pCell->GetValue().IsText());
            int nRight = rc.right;
            for (int n = c + 1; bLeft && !fmt.m_bWrap && n <= page.nCol2; ++n) {
                const CGridCell* pNext = sheet.GetCell(r, n);
                if ((pNext && pNext->HasContent()) || sheet.FindMerge(r, n))
                    break;
                nRight = cellRect(r, n).right;
            }
            m_painter.DrawCellText(hDC, sheet, r, c, rc, nRight);
        }
    // A merged area is one cell, cut at the page's edges.
    for (const CGridRange& merge : sheet.GetMerges()) {
        int nRow1 = std::max(merge.m_nRow1, page.nRow1), nRow2 = std::min(merge.m_nRow2, page.nRow2);
        int nCol1 = std::max(merge.m_nCol1, page.nCol1), nCol2 = std::min(merge.m_nCol2, page.nCol2);
        if (nRow1 > nRow2 || nCol1 > nCol2)
            continue;
        RECT rcFirst = cellRect(nRow1, nCol1), rcLast = cellRect(nRow2, nCol2);
        RECT rc = {rcFirst.left, rcFirst.top, rcLast.right, rcLast.bottom};
        m_painter.DrawMergedCell(hDC, sheet, merge, rc);
    }
    for (int r = page.nRow1; r <= page.nRow2; ++r)
        for (int c = page.nCol1; c <= page.nCol2; ++c)
            m_painter.DrawBorders(hDC, cellRect(r, c), sheet.GetCellFormat(r, c));
}

BOOL CGridPrinter::Print(HDC hDC, LPCTSTR pszDocName)
{
    Paginate(hDC);
    DOCINFOW di = {};
    di.cbSize = sizeof(di);
    di.lpszDocName = pszDocName;
    if (::StartDocW(hDC, &di) <= 0)
        return FALSE;
    for (int nPage = 0; nPage < GetPageCount(); ++nPage) {
        if (::StartPage(hDC) <= 0) {
            ::AbortDoc(hDC);
            return FALSE;
        }
        DrawPage(hDC, nPage);
        if (::EndPage(hDC) <= 0) {
            ::AbortDoc(hDC);
            return FALSE;
        }
    }
    return ::EndDoc(hDC) > 0;
}
