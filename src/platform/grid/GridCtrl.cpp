#include "GridCtrl.h"

#include "gridres.h"

#include "platform/mfc/afxdc.h"
#include "platform/mfc/afxevent.h"
#include "platform/mfc/afxmsgbox.h"
#include "platform/mfc/afxthread.h"

#include <algorithm>
#include <climits>

namespace
{
const COLORREF kGridLineColor = RGB(192, 192, 192);
const COLORREF kSelectionColor = RGB(204, 224, 255);
const COLORREF kHeaderColor = RGB(224, 224, 224);

WNDPROC g_pfnEditProc = nullptr;   // the system's edit control, behind the in-cell editor

COLORREF Auto(COLORREF cr, COLORREF crAuto)
{
    return cr == kGridColorAuto ? crAuto : cr;
}
} // namespace

LRESULT CALLBACK GridWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK GridEditWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

BOOL GridRegisterWindowClasses()
{
    HINSTANCE hInstance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (!::GetClassInfoExW(hInstance, GRID_CLASSNAME, &wc)) {
        wc = {};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
        wc.lpfnWndProc = GridWndProc;
        wc.cbWndExtra = sizeof(CGridCtrl*);
        wc.hInstance = hInstance;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = GRID_CLASSNAME;
        if (!::RegisterClassExW(&wc))
            return FALSE;
    }
    if (!::GetClassInfoExW(hInstance, GRID_EDIT_CLASSNAME, &wc)) {
        // A superclass of the system's edit control.
        if (!::GetClassInfoExW(nullptr, L"EDIT", &wc))
            return FALSE;
        g_pfnEditProc = wc.lpfnWndProc;
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = GridEditWndProc;
        wc.hInstance = hInstance;
        wc.lpszClassName = GRID_EDIT_CLASSNAME;
        wc.style &= ~CS_GLOBALCLASS;
        if (!::RegisterClassExW(&wc))
            return FALSE;
    }
    return TRUE;
}

CGridCtrl* CGridCtrl::FromHandle(HWND hWnd)
{
    WCHAR szClass[16];
    if (!hWnd || !::GetClassNameW(hWnd, szClass, 16) || ::lstrcmpiW(szClass, GRID_CLASSNAME) != 0)
        return nullptr;
    return reinterpret_cast<CGridCtrl*>(::GetWindowLongPtrW(hWnd, 0));
}

CGridCtrl::CGridCtrl(HWND hWnd) : m_hWnd(hWnd), m_pBook(std::make_unique<CGridBook>())
{
    HDC hDC = ::GetDC(nullptr);
    m_nDpiX = ::GetDeviceCaps(hDC, LOGPIXELSX);
    m_nDpiY = ::GetDeviceCaps(hDC, LOGPIXELSY);
    ::ReleaseDC(nullptr, hDC);
    m_painter.SetResolution(m_nDpiY);
    NONCLIENTMETRICSW ncm = {};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    m_hHeaderFont = ::CreateFontIndirectW(&ncm.lfMessageFont);
    m_cxRowHeader = ::MulDiv(40, m_nDpiX, 96);
    m_cyColHeader = TwipsToPixelsY(kGridDefaultRowHeight) + 2;
}

CGridCtrl::~CGridCtrl()
{
    ::DeleteObject(m_hHeaderFont);
}

BOOL CGridCtrl::ReadFile(LPCTSTR pszPath, CString& strError)
{
    auto pBook = std::make_unique<CGridBook>();
    if (!pBook->ReadFile(pszPath, strError))
        return FALSE;
    CancelEdit();
    m_pBook = std::move(pBook);
    m_views.clear();
    Refresh();
    return TRUE;
}

CGridCtrl::CSheetView& CGridCtrl::View()
{
    return m_views[&GetShownSheet()];
}

const CGridCtrl::CSheetView& CGridCtrl::View() const
{
    return const_cast<CGridCtrl*>(this)->View();
}

BOOL CGridCtrl::SetSheet(int nSheet)
{
    if (!m_pBook->GetSheet(nSheet))
        return FALSE;
    if (nSheet != GetSheet()) {
        if (!EndEdit())
            CancelEdit();
        m_pBook->SetActiveSheet(nSheet);
        Refresh();
    }
    return TRUE;
}

// Keeps the active cell, the selection and the scrolled position inside the sheet's limits.
void CGridCtrl::ClampView()
{
    const CGridSheet& sheet = GetShownSheet();
    CSheetView& view = View();
    int nMaxRow = sheet.GetMaxRow(), nMaxCol = sheet.GetMaxCol();
    view.m_nRow = std::min(view.m_nRow, nMaxRow);
    view.m_nCol = std::min(view.m_nCol, nMaxCol);
    CGridRange& sel = view.m_selection;
    sel.m_nRow2 = std::min(sel.m_nRow2, nMaxRow);
    sel.m_nCol2 = std::min(sel.m_nCol2, nMaxCol);
    if (!sel.Contains(view.m_nRow, view.m_nCol) || !sel.IsValid())
        sel = CGridRange(view.m_nRow, view.m_nCol, view.m_nRow, view.m_nCol);
    view.m_nTopRow = std::clamp(view.m_nTopRow, std::min(sheet.GetTitleRows() + 1, nMaxRow), nMaxRow);
    view.m_nLeftCol = std::clamp(view.m_nLeftCol, std::min(sheet.GetTitleCols() + 1, nMaxCol), nMaxCol);
}

BOOL CGridCtrl::SetActiveCell(int nRow, int nCol)
{
    // A cell of a merged area stands for the area: its first cell is active, the area selected.
    if (const CGridRange* pMerge = GetShownSheet().FindMerge(nRow, nCol))
        return SetSelection(*pMerge);
    return SetSelection(CGridRange(nRow, nCol, nRow, nCol));
}

BOOL CGridCtrl::SetSelection(const CGridRange& range)
{
    const CGridSheet& sheet = GetShownSheet();
    if (!range.IsValid() || range.m_nRow2 > sheet.GetMaxRow() || range.m_nCol2 > sheet.GetMaxCol())
        return FALSE;
    CSheetView& view = View();
    view.m_selection = range;
    view.m_nRow = range.m_nRow1;
    view.m_nCol = range.m_nCol1;
    Invalidate();
    return TRUE;
}

void CGridCtrl::ShowActiveCell()
{
    const CGridSheet& sheet = GetShownSheet();
    const CSheetView& view = View();
    CRect rc = GetClientRect();
    auto shown = [](const std::vector<CSpan>& spans, int nIndex, int nLimit) {
        return std::any_of(spans.begin(), spans.end(),
                           [&](const CSpan& s) { return s.m_nIndex == nIndex && s.m_nEnd <= nLimit; });
    };
    auto rowSize = [&](int nRow) { return sheet.IsRowHidden(nRow) ? -1 : TwipsToPixelsY(sheet.GetRowHeight(nRow)); };
    auto colSize = [&](int nCol) { return sheet.IsColHidden(nCol) ? -1 : TwipsToPixelsX(sheet.GetColWidth(nCol)); };
    // Cells of the title area are always shown; others scroll at once to where they are whole in view (or at the
    // top).
    int nTopRow = view.m_nTopRow, nLeftCol = view.m_nLeftCol;
    if (view.m_nRow > sheet.GetTitleRows()) {
        if (view.m_nRow < nTopRow)
            nTopRow = view.m_nRow;
        else if (!shown(VisibleRows(rc.bottom), view.m_nRow, rc.bottom))
            nTopRow = FirstLineShowing(view.m_nRow, ColHeaderHeight(), rc.bottom, sheet.GetTitleRows(), rowSize);
    }
    if (view.m_nCol > sheet.GetTitleCols()) {
        if (view.m_nCol < nLeftCol)
            nLeftCol = view.m_nCol;
        else if (!shown(VisibleCols(rc.right), view.m_nCol, rc.right))
            nLeftCol = FirstLineShowing(view.m_nCol, RowHeaderWidth(), rc.right, sheet.GetTitleCols(), colSize);
    }
    ScrollTo(nTopRow, nLeftCol);
}

// The first scrolled line that shows line nLine whole at the far end of the room left by the title lines, as
// LaySpans lays them out; nLine itself when it cannot be shown whole.
int CGridCtrl::FirstLineShowing(int nLine, int nStart, int nLimit, int nTitles, const std::function<int(int)>& sizeOf)
{
    int nRoom = nLimit - nStart;
    for (int i = 1; i <= nTitles; ++i)
        nRoom -= std::max(sizeOf(i), 0);
    int nFirst = nLine;
    int nUsed = std::max(sizeOf(nLine), 0);
    for (int i = nLine - 1; i > nTitles; --i) {
        int cx = std::max(sizeOf(i), 0);
        if (nUsed + cx > nRoom)
            break;
        nUsed += cx;
        nFirst = i;
    }
    return nFirst;
}

// The spans of the lines of one direction: the title lines, then the lines from the scrolled position, as far as
// nLimit reaches (the last one may be cut). sizeOf answers a line's size in pixels, -1 for a hidden line, which
// takes no room.
std::vector<CGridCtrl::CSpan> CGridCtrl::LaySpans(int nStart, int nLimit, int nTitles, int nScrolled, int nMax,
                                                  const std::function<int(int)>& sizeOf)
{
    std::vector<CSpan> spans;
    int n = nStart;
    auto add = [&](int nIndex) {
        int cx = sizeOf(nIndex);
        if (cx < 0)
            return;
        spans.push_back({nIndex, n, n + cx});
        n += cx;
    };
    nTitles = std::min(nTitles, nMax);
    for (int i = 1; i <= nTitles && n < nLimit; ++i)
        add(i);
    for (int i = std::max(nScrolled, nTitles + 1); i <= nMax && n < nLimit; ++i)
        add(i);
    if (spans.empty())
        spans.push_back({0, n, n});
    return spans;
}

std::vector<CGridCtrl::CSpan> CGridCtrl::VisibleRows(int cyClient) const
{
    const CGridSheet& sheet = GetShownSheet();
    return LaySpans(ColHeaderHeight(), cyClient, sheet.GetTitleRows(), View().m_nTopRow, sheet.GetMaxRow(),
                    [&](int nRow) { return sheet.IsRowHidden(nRow) ? -1 : TwipsToPixelsY(sheet.GetRowHeight(nRow)); });
}

std::vector<CGridCtrl::CSpan> CGridCtrl::VisibleCols(int cxClient) const
{
    const CGridSheet& sheet = GetShownSheet();
    return LaySpans(RowHeaderWidth(), cxClient, sheet.GetTitleCols(), View().m_nLeftCol, sheet.GetMaxCol(),
                    [&](int nCol) { return sheet.IsColHidden(nCol) ? -1 : TwipsToPixelsX(sheet.GetColWidth(nCol)); });
}

CRect CGridCtrl::GetClientRect() const
{
    CRect rc;
    ::GetClientRect(m_hWnd, &rc);
    return rc;
}

// Rows and columns a page step moves: those fully shown below and right of the title area.
int CGridCtrl::ScrollPageRows() const
{
    CRect rc = GetClientRect();
    const CGridSheet& sheet = GetShownSheet();
    int n = 0;
    for (const CSpan& s : VisibleRows(rc.bottom))
        n += s.m_nIndex > sheet.GetTitleRows() && s.m_nEnd <= rc.bottom;
    return std::max(n, 1);
}

int CGridCtrl::ScrollPageCols() const
{
    CRect rc = GetClientRect();
    const CGridSheet& sheet = GetShownSheet();
    int n = 0;
    for (const CSpan& s : VisibleCols(rc.right))
        n += s.m_nIndex > sheet.GetTitleCols() && s.m_nEnd <= rc.right;
    return std::max(n, 1);
}

void CGridCtrl::UpdateScrollBars()
{
    const CGridSheet& sheet = GetShownSheet();
    const CSheetView& view = View();
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = std::min(sheet.GetTitleRows() + 1, sheet.GetMaxRow());
    si.nMax = sheet.GetMaxRow();
    si.nPage = static_cast<UINT>(ScrollPageRows());
    si.nPos = view.m_nTopRow;
    ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
    si.nMin = std::min(sheet.GetTitleCols() + 1, sheet.GetMaxCol());
    si.nMax = sheet.GetMaxCol();
    si.nPage = static_cast<UINT>(ScrollPageCols());
    si.nPos = view.m_nLeftCol;
    ::SetScrollInfo(m_hWnd, SB_HORZ, &si, TRUE);
}

void CGridCtrl::ScrollTo(int nTopRow, int nLeftCol)
{
    CSheetView& view = View();
    if (nTopRow == view.m_nTopRow && nLeftCol == view.m_nLeftCol)
        return;
    view.m_nTopRow = nTopRow;
    view.m_nLeftCol = nLeftCol;
    ClampView();
    if (m_hEdit) {
        CRect rc = GetCellRect(view.m_nRow, view.m_nCol);
        ::SetWindowPos(m_hEdit, nullptr, rc.left, rc.top, std::max(rc.Width(), 1), std::max(rc.Height(), 1),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    UpdateScrollBars();
    Invalidate();
}

void CGridCtrl::Invalidate()
{
    // With its redraw switched off the window is invisible and is repainted whole once it is on again; under
    // Wine each invalidation is a call to the window server, which a form's load would make thousands of.
    if (::IsWindowVisible(m_hWnd))
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CGridCtrl::Refresh()
{
    ClampView();
    UpdateScrollBars();
    Invalidate();
}

void CGridCtrl::SetShowRowHeaders(BOOL bShow)
{
    m_bRowHeaders = bShow;
    Refresh();
}

void CGridCtrl::SetShowColHeaders(BOOL bShow)
{
    m_bColHeaders = bShow;
    Refresh();
}

void CGridCtrl::SetShowGridLines(BOOL bShow)
{
    m_bGridLines = bShow;
    Invalidate();
}

BOOL CGridCtrl::CellFromPoint(POINT pt, int& nRow, int& nCol) const
{
    CRect rc = GetClientRect();
    nRow = nCol = 0;
    for (const CSpan& s : VisibleRows(std::max<LONG>(rc.bottom, pt.y + 1)))
        if (pt.y >= s.m_nStart && pt.y < s.m_nEnd)
            nRow = s.m_nIndex;
    for (const CSpan& s : VisibleCols(std::max<LONG>(rc.right, pt.x + 1)))
        if (pt.x >= s.m_nStart && pt.x < s.m_nEnd)
            nCol = s.m_nIndex;
    if (nRow == 0 || nCol == 0)
        nRow = nCol = 0;
    return nRow != 0;
}

CRect CGridCtrl::GetCellRect(int nRow, int nCol) const
{
    CRect rc = GetClientRect();
    CRect rcCell;
    for (const CSpan& s : VisibleRows(rc.bottom))
        if (s.m_nIndex == nRow) {
            rcCell.top = s.m_nStart;
            rcCell.bottom = s.m_nEnd;
        }
    for (const CSpan& s : VisibleCols(rc.right))
        if (s.m_nIndex == nCol) {
            rcCell.left = s.m_nStart;
            rcCell.right = s.m_nEnd;
        }
    if (rcCell.Width() == 0 || rcCell.Height() == 0)
        return CRect();
    // The first cell of a merged area takes the shown part of the area.
    const CGridRange* pMerge = GetShownSheet().FindMerge(nRow, nCol);
    if (pMerge && pMerge->m_nRow1 == nRow && pMerge->m_nCol1 == nCol) {
        for (const CSpan& s : VisibleRows(rc.bottom))
            if (s.m_nIndex > nRow && s.m_nIndex <= pMerge->m_nRow2)
                rcCell.bottom = s.m_nEnd;
        for (const CSpan& s : VisibleCols(rc.right))
            if (s.m_nIndex > nCol && s.m_nIndex <= pMerge->m_nCol2)
                rcCell.right = s.m_nEnd;
    }
    return rcCell;
}

// ---------------------------------------------------------------------------------------------------------
// Drawing

void CGridCtrl::Draw(HDC hDC, const RECT& rcClient)
{
    const CGridSheet& sheet = GetShownSheet();
    const CSheetView& view = View();
    std::vector<CSpan> rows = VisibleRows(rcClient.bottom);
    std::vector<CSpan> cols = VisibleCols(rcClient.right);
    const CGridFormatTable& formats = m_pBook->GetFormats();

    HBRUSH hWhite = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    ::FillRect(hDC, &rcClient, hWhite);

    // Backgrounds: the cell's fill, the selection's tint.
    for (const CSpan& r : rows)
        for (const CSpan& c : cols) {
            const CGridCellFormat& fmt = sheet.GetCellFormat(r.m_nIndex, c.m_nIndex);
            bool bSelected = view.m_selection.Contains(r.m_nIndex, c.m_nIndex) &&
                             !(r.m_nIndex == view.m_nRow && c.m_nIndex == view.m_nCol);
            COLORREF cr = bSelected ? kSelectionColor : Auto(fmt.m_crFill, RGB(255, 255, 255));
            if (cr != RGB(255, 255, 255)) {
                RECT rc = {c.m_nStart, r.m_nStart, c.m_nEnd, r.m_nEnd};
                ::SetBkColor(hDC, cr);
                ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
            }
        }

    if (m_bGridLines) {
        HPEN hPen = ::CreatePen(PS_SOLID, 1, kGridLineColor);
        HGDIOBJ hOld = ::SelectObject(hDC, hPen);
        int xEnd = cols.back().m_nEnd, yEnd = rows.back().m_nEnd;
        for (const CSpan& r : rows) {
            ::MoveToEx(hDC, RowHeaderWidth(), r.m_nEnd - 1, nullptr);
            ::LineTo(hDC, xEnd, r.m_nEnd - 1);
        }
        for (const CSpan& c : cols) {
            ::MoveToEx(hDC, c.m_nEnd - 1, ColHeaderHeight(), nullptr);
            ::LineTo(hDC, c.m_nEnd - 1, yEnd);
        }
        ::SelectObject(hDC, hOld);
        ::DeleteObject(hPen);
    }

    // Texts; a left-aligned text runs on over the empty cells to its right.
    for (const CSpan& r : rows)
        for (size_t i = 0; i < cols.size(); ++i) {
            const CGridCell* pCell = sheet.GetCell(r.m_nIndex, cols[i].m_nIndex);
            if (!pCell || !pCell->HasContent() || sheet.FindMerge(r.m_nIndex, cols[i].m_nIndex))
                continue;
            int nRight = cols[i].m_nEnd;
            const CGridCellFormat& fmt = formats.Get(pCell->GetFormat());
            bool bLeft = fmt.m_nHAlign == gridHAlignLeft ||
                         (fmt.m_nHAlign == gridHAlignGeneral && pCell->GetValue().IsText());
            for (size_t j = i + 1; bLeft && !fmt.m_bWrap && j < cols.size(); ++j) {
                const CGridCell* pNext = sheet.GetCell(r.m_nIndex, cols[j].m_nIndex);
                if ((pNext && pNext->HasContent()) || sheet.FindMerge(r.m_nIndex, cols[j].m_nIndex))
                    break;
                nRight = cols[j].m_nEnd;
            }
            RECT rc = {cols[i].m_nStart, r.m_nStart, cols[i].m_nEnd, r.m_nEnd};
            m_painter.DrawCellText(hDC, sheet, r.m_nIndex, cols[i].m_nIndex, rc, nRight);
        }
    // A merged area is one cell: its first cell's fill over the grid lines inside it, then its text.
    for (const CGridRange& merge : sheet.GetMerges()) {
        RECT rc = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (const CSpan& r : rows)
            if (r.m_nIndex >= merge.m_nRow1 && r.m_nIndex <= merge.m_nRow2) {
                rc.top = std::min(rc.top, static_cast<LONG>(r.m_nStart));
                rc.bottom = std::max(rc.bottom, static_cast<LONG>(r.m_nEnd));
            }
        for (const CSpan& c : cols)
            if (c.m_nIndex >= merge.m_nCol1 && c.m_nIndex <= merge.m_nCol2) {
                rc.left = std::min(rc.left, static_cast<LONG>(c.m_nStart));
                rc.right = std::max(rc.right, static_cast<LONG>(c.m_nEnd));
            }
        if (rc.left >= rc.right || rc.top >= rc.bottom)
            continue;
        m_painter.DrawMergedCell(hDC, sheet, merge, rc);
    }

    for (const CSpan& r : rows)
        for (const CSpan& c : cols) {
            RECT rc = {c.m_nStart, r.m_nStart, c.m_nEnd, r.m_nEnd};
            m_painter.DrawBorders(hDC, rc, sheet.GetCellFormat(r.m_nIndex, c.m_nIndex));
        }

    CRect rcActive = GetCellRect(view.m_nRow, view.m_nCol);
    if (!rcActive.IsRectEmpty()) {
        HBRUSH hBlack = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
        rcActive.right -= 1;
        rcActive.bottom -= 1;
        for (int i = 0; i < 2; ++i) {
            ::FrameRect(hDC, &rcActive, hBlack);
            ::InflateRect(&rcActive, -1, -1);
        }
    }
    DrawHeaders(hDC, rows, cols);
}

void CGridCtrl::DrawHeaders(HDC hDC, const std::vector<CSpan>& rows, const std::vector<CSpan>& cols)
{
    if (!m_bRowHeaders && !m_bColHeaders)
        return;
    HBRUSH hFace = ::CreateSolidBrush(kHeaderColor);
    HPEN hPen = ::CreatePen(PS_SOLID, 1, RGB(160, 160, 160));
    HGDIOBJ hOldPen = ::SelectObject(hDC, hPen);
    HGDIOBJ hOldFont = ::SelectObject(hDC, m_hHeaderFont);
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, RGB(0, 0, 0));
    auto header = [&](RECT rcHeader, const CString& strText) {
        ::FillRect(hDC, &rcHeader, hFace);
        ::MoveToEx(hDC, rcHeader.right - 1, rcHeader.top, nullptr);
        ::LineTo(hDC, rcHeader.right - 1, rcHeader.bottom - 1);
        ::LineTo(hDC, rcHeader.left - 1, rcHeader.bottom - 1);
        ::DrawTextW(hDC, strText, strText.GetLength(), &rcHeader, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    };
    if (m_bColHeaders)
        for (const CSpan& c : cols)
            if (c.m_nIndex > 0)
                header({c.m_nStart, 0, c.m_nEnd, m_cyColHeader}, GridColumnName(c.m_nIndex));
    if (m_bRowHeaders)
        for (const CSpan& r : rows)
            if (r.m_nIndex > 0) {
                CString strRow;
                strRow.Format(L"%d", r.m_nIndex);
                header({0, r.m_nStart, m_cxRowHeader, r.m_nEnd}, strRow);
            }
    if (m_bRowHeaders && m_bColHeaders)
        header({0, 0, m_cxRowHeader, m_cyColHeader}, CString());
    ::SelectObject(hDC, hOldFont);
    ::SelectObject(hDC, hOldPen);
    ::DeleteObject(hPen);
    ::DeleteObject(hFace);
}

// ---------------------------------------------------------------------------------------------------------
// Editing

CString CGridCtrl::GetEditText(int nRow, int nCol) const
{
    const CGridSheet& sheet = GetShownSheet();
    CString strFormula = sheet.GetFormula(nRow, nCol);
    if (!strFormula.IsEmpty())
        return strFormula;
    const CGridValue& value = sheet.GetCellValue(nRow, nCol);
    if (value.IsNumber())
        return GridFormatGeneral(value.GetNumber(), m_pBook->GetSeparators());
    return value.IsText() ? value.GetText() : sheet.GetText(nRow, nCol);
}

BOOL CGridCtrl::SetEntry(int nRow, int nCol, LPCTSTR pszEntry)
{
    CGridSheet& sheet = GetShownSheet();
    double d;
    BOOL bDone;
    if (sheet.GetNumberFormat(nRow, nCol).IsText())
        bDone = sheet.SetText(nRow, nCol, pszEntry);
    else if (pszEntry[0] == L'=' && pszEntry[1])
        bDone = sheet.SetFormula(nRow, nCol, pszEntry);
    else if (GridParseNumber(pszEntry, m_pBook->GetSeparators(), d) ||
             GridParseNumber(pszEntry, CGridSeparators(), d))
        bDone = sheet.SetNumber(nRow, nCol, d);
    else
        bDone = sheet.SetText(nRow, nCol, pszEntry);
    Invalidate();
    return bDone;
}

BOOL CGridCtrl::FireEditEvent(int nEvent, CString& strText, BOOL& bFailed)
{
    BSTR bstrText = ::SysAllocString(strText);
    short nCancel = 0;
    VARIANT args[] = {CAfxEventParam<BSTR*>::Make(&bstrText), CAfxEventParam<short*>::Make(&nCancel)};
    AfxFireEvent(m_hWnd, nEvent, static_cast<VARIANT*>(args), UINT(2), &bFailed);
    strText = bstrText ? bstrText : L"";
    ::SysFreeString(bstrText);
    return nCancel == 0 && !bFailed;
}

BOOL CGridCtrl::StartEdit(BOOL bClear, BOOL bArrowsEnd, BOOL bSelectText)
{
    if (m_hEdit)
        return TRUE;
    const CSheetView& view = View();
    int nRow = view.m_nRow, nCol = view.m_nCol;
    if (GetShownSheet().GetCellFormat(nRow, nCol).m_bLocked)
        return FALSE;
    CString strText = bClear ? CString() : GetEditText(nRow, nCol);
    BOOL bFailed;
    if (!FireEditEvent(gridEventStartEdit, strText, bFailed))
        return FALSE;
    ShowActiveCell();
    CRect rc = GetCellRect(nRow, nCol);
    m_hEdit = ::CreateWindowExW(0, GRID_EDIT_CLASSNAME, strText, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, rc.left,
                                rc.top, std::max(rc.Width() - 1, 1), std::max(rc.Height() - 1, 1), m_hWnd, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
    if (!m_hEdit)
        return FALSE;
    const CGridCellFormat& fmt = GetShownSheet().GetCellFormat(nRow, nCol);
    CGridCellFormat editFmt = fmt;
    if (editFmt.m_strFontName.CompareNoCase(GRID_BOX_FONT) == 0)
        editFmt.m_strFontName = L"Arial";
    ::SendMessageW(m_hEdit, WM_SETFONT, reinterpret_cast<WPARAM>(m_painter.GetFont(editFmt)), FALSE);
    ::SendMessageW(m_hEdit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(kGridCellPad - 1, kGridCellPad - 1));
    int nLength = strText.GetLength();
    ::SendMessageW(m_hEdit, EM_SETSEL, bSelectText ? 0 : nLength, nLength);
    m_bArrowsEnd = bArrowsEnd;
    ::SetFocus(m_hEdit);
    return TRUE;
}

BOOL CGridCtrl::EndEdit()
{
    if (!m_hEdit)
        return TRUE;
    if (m_bInEndEdit)
        return FALSE;
    int nLength = ::GetWindowTextLengthW(m_hEdit);
    CString strText;
    ::GetWindowTextW(m_hEdit, strText.GetBuffer(nLength + 1), nLength + 1);
    strText.ReleaseBuffer();
    m_bInEndEdit = TRUE;
    BOOL bFailed;
    BOOL bAccepted = FireEditEvent(gridEventEndEdit, strText, bFailed);
    m_bInEndEdit = FALSE;
    if (!m_hEdit)
        return TRUE;   // the handler ended the edit itself
    if (bFailed) {
        // The handler failed before it could check the text (the user has been told): the text is dropped,
        // never put into the cell unchecked.
        CancelEdit();
        return TRUE;
    }
    if (bAccepted && !SetEntry(View().m_nRow, View().m_nCol, strText)) {
        AfxMessageBox(GRID_IDS_FORMULA_TOO_COMPLEX, MB_ICONEXCLAMATION);
        bAccepted = FALSE;
    }
    if (!bAccepted) {
        // A message box may have taken the focus: the user goes on typing where he was.
        ::SetFocus(m_hEdit);
        return FALSE;
    }
    CancelEdit();
    return TRUE;
}

void CGridCtrl::CancelEdit()
{
    if (!m_hEdit)
        return;
    HWND hEdit = m_hEdit;
    m_hEdit = nullptr;
    bool bHadFocus = ::GetFocus() == hEdit;
    ::DestroyWindow(hEdit);
    if (bHadFocus)
        ::SetFocus(m_hWnd);
    Invalidate();
}

// ---------------------------------------------------------------------------------------------------------
// Input

BOOL CGridCtrl::MoveActiveCell(int nRows, int nCols)
{
    const CGridSheet& sheet = GetShownSheet();
    int nRow = View().m_nRow, nCol = View().m_nCol;
    // From a merged area, a step right or down starts at its far edge.
    if (const CGridRange* pMerge = sheet.FindMerge(nRow, nCol)) {
        if (nRows > 0)
            nRow = pMerge->m_nRow2;
        if (nCols > 0)
            nCol = pMerge->m_nCol2;
    }
    // One step at a time, so that hidden rows and columns are passed over.
    for (int n = std::abs(nRows); n > 0; --n) {
        int r = nRow + (nRows > 0 ? 1 : -1);
        while (r >= 1 && r <= sheet.GetMaxRow() && sheet.IsRowHidden(r))
            r += nRows > 0 ? 1 : -1;
        if (r < 1 || r > sheet.GetMaxRow())
            break;
        nRow = r;
    }
    for (int n = std::abs(nCols); n > 0; --n) {
        int c = nCol + (nCols > 0 ? 1 : -1);
        while (c >= 1 && c <= sheet.GetMaxCol() && sheet.IsColHidden(c))
            c += nCols > 0 ? 1 : -1;
        if (c < 1 || c > sheet.GetMaxCol())
            break;
        nCol = c;
    }
    SetActiveCell(nRow, nCol);
    ShowActiveCell();
    return TRUE;
}

void CGridCtrl::OnKeyDown(UINT nKey)
{
    bool bShift = ::GetKeyState(VK_SHIFT) < 0, bCtrl = ::GetKeyState(VK_CONTROL) < 0;
    const CGridSheet& sheet = GetShownSheet();
    switch (nKey) {
    case VK_LEFT: MoveActiveCell(0, -1); break;
    case VK_RIGHT: MoveActiveCell(0, 1); break;
    case VK_UP: MoveActiveCell(-1, 0); break;
    case VK_DOWN: MoveActiveCell(1, 0); break;
    case VK_TAB: MoveActiveCell(0, bShift ? -1 : 1); break;
    case VK_RETURN: MoveActiveCell(bShift ? -1 : 1, 0); break;
    case VK_PRIOR: MoveActiveCell(-ScrollPageRows(), 0); break;
    case VK_NEXT: MoveActiveCell(ScrollPageRows(), 0); break;
    case VK_HOME:
        SetActiveCell(bCtrl ? 1 : View().m_nRow, 1);
        ShowActiveCell();
        break;
    case VK_END:
        SetActiveCell(bCtrl ? std::clamp(sheet.GetLastRow(), 1, sheet.GetMaxRow()) : View().m_nRow,
                      std::clamp(sheet.GetLastCol(), 1, sheet.GetMaxCol()));
        ShowActiveCell();
        break;
    case VK_F2: StartEdit(FALSE, FALSE, FALSE); break;
    }
}

void CGridCtrl::OnChar(TCHAR ch)
{
    // Ctrl with Alt is AltGr, which types characters on many keyboards (the Italian "@", "#", "€").
    if (ch < L' ' || (::GetKeyState(VK_CONTROL) < 0 && ::GetKeyState(VK_MENU) >= 0))
        return;
    // Typing over a cell: the editor opens empty and takes the character.
    if (StartEdit(TRUE, TRUE, FALSE))
        ::SendMessageW(m_hEdit, WM_CHAR, ch, 0);
}

BOOL CGridCtrl::OnEditKey(UINT nKey)
{
    bool bShift = ::GetKeyState(VK_SHIFT) < 0;
    int nRows = 0, nCols = 0;
    switch (nKey) {
    case VK_ESCAPE: CancelEdit(); return TRUE;
    case VK_RETURN: nRows = bShift ? -1 : 1; break;
    case VK_TAB: nCols = bShift ? -1 : 1; break;
    case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT:
        if (!m_bArrowsEnd)
            return FALSE;
        nRows = nKey == VK_UP ? -1 : nKey == VK_DOWN ? 1 : 0;
        nCols = nKey == VK_LEFT ? -1 : nKey == VK_RIGHT ? 1 : 0;
        break;
    default: return FALSE;
    }
    if (EndEdit())
        MoveActiveCell(nRows, nCols);
    return TRUE;
}

void CGridCtrl::OnMouseDown(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    CPoint pt(lParam);
    if (nMessage == WM_LBUTTONDOWN || nMessage == WM_LBUTTONDBLCLK) {
        // A click elsewhere first puts the edited text into its cell; a refused text keeps the editor.
        if (!EndEdit())
            return;
        ::SetFocus(m_hWnd);
        int nRow, nCol;
        if (CellFromPoint(pt, nRow, nCol))
            SetActiveCell(nRow, nCol);
        if (nMessage == WM_LBUTTONDBLCLK) {
            if (nRow)
                StartEdit(FALSE, FALSE, FALSE);
            return;
        }
    }
    short nButton = nMessage == WM_RBUTTONDOWN ? 2 : nMessage == WM_MBUTTONDOWN ? 4 : 1;
    short nShift = static_cast<short>(((wParam & MK_SHIFT) ? 1 : 0) | ((wParam & MK_CONTROL) ? 2 : 0) |
                                      (::GetKeyState(VK_MENU) < 0 ? 4 : 0));
    AfxFireEvent(m_hWnd, DISPID_MOUSEDOWN, nButton, nShift, static_cast<long>(pt.x), static_cast<long>(pt.y));
}

void CGridCtrl::OnScroll(int nBar, UINT nCode)
{
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    ::GetScrollInfo(m_hWnd, nBar, &si);
    int nPos = si.nPos;
    switch (nCode) {
    case SB_LINEUP: --nPos; break;
    case SB_LINEDOWN: ++nPos; break;
    case SB_PAGEUP: nPos -= static_cast<int>(si.nPage); break;
    case SB_PAGEDOWN: nPos += static_cast<int>(si.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: nPos = si.nTrackPos; break;
    case SB_TOP: nPos = si.nMin; break;
    case SB_BOTTOM: nPos = si.nMax; break;
    default: return;
    }
    const CSheetView& view = View();
    if (nBar == SB_VERT)
        ScrollTo(nPos, view.m_nLeftCol);
    else
        ScrollTo(view.m_nTopRow, nPos);
}

namespace
{
// What the grid's code throws stops here and goes to the thread's handler, as in the framework's own window
// procedure: nothing unwinds through the system's dispatch.
LRESULT GridCallProtected(WNDPROC pfnProc, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    try {
        return pfnProc(hWnd, nMsg, wParam, lParam);
    } catch (...) {
        MSG msg = {hWnd, nMsg, wParam, lParam, 0, {0, 0}};
        return AfxProcessCurrentException(&msg);
    }
}
} // namespace

void CGridCtrl::OnPaint()
{
    // The wrappers give everything back however the drawing ends: the memory DC goes before the bitmap
    // selected into it, then the paint DC ends the paint.
    CPaintDC dc(CWnd::FromHandle(m_hWnd));
    CRect rc = GetClientRect();
    // Drawn off screen first, so that nothing flickers.
    CBitmap bitmap;
    CDC memDC;
    if (!memDC.CreateCompatibleDC(&dc) ||
        !bitmap.CreateCompatibleBitmap(&dc, std::max(rc.Width(), 1), std::max(rc.Height(), 1)))
        AfxThrowResourceException();
    memDC.SelectObject(&bitmap);
    Draw(memDC, rc);
    dc.BitBlt(0, 0, rc.Width(), rc.Height(), &memDC, 0, 0, SRCCOPY);
}

LRESULT CALLBACK GridWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return GridCallProtected(CGridCtrl::WindowProc, hWnd, nMsg, wParam, lParam);
}

LRESULT CALLBACK CGridCtrl::WindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CGridCtrl* pGrid = reinterpret_cast<CGridCtrl*>(::GetWindowLongPtrW(hWnd, 0));
    if (nMsg == WM_NCCREATE) {
        pGrid = new CGridCtrl(hWnd);
        ::SetWindowLongPtrW(hWnd, 0, reinterpret_cast<LONG_PTR>(pGrid));
    }
    if (!pGrid)
        return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    switch (nMsg) {
    case WM_CREATE:
        pGrid->Refresh();
        return 0;
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(hWnd, 0, 0);
        delete pGrid;
        break;
    case WM_PAINT:
        pGrid->OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        pGrid->Refresh();
        return 0;
    case WM_SETTINGCHANGE:
        // The user changed the regional settings: numbers are shown and read with the new separators.
        if (lParam && ::lstrcmpiW(reinterpret_cast<LPCWSTR>(lParam), L"intl") == 0) {
            pGrid->m_pBook->SetSeparators(CGridSeparators::FromUserLocale());
            pGrid->Invalidate();
        }
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        pGrid->OnKeyDown(static_cast<UINT>(wParam));
        return 0;
    case WM_CHAR:
        pGrid->OnChar(static_cast<TCHAR>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        pGrid->OnMouseDown(nMsg, wParam, lParam);
        return 0;
    case WM_MOUSEWHEEL: {
        const CGridCtrl::CSheetView& view = pGrid->View();
        pGrid->ScrollTo(view.m_nTopRow - 3 * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA, view.m_nLeftCol);
        return 0;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
        pGrid->OnScroll(nMsg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam));
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(::LoadCursorW(nullptr, pGrid->m_nMousePointer == 1 ? IDC_ARROW : IDC_CROSS));
            return TRUE;
        }
        break;
    case WM_DESTROY:
        pGrid->CancelEdit();
        break;
    }
    return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
}

LRESULT CALLBACK GridEditWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return GridCallProtected(CGridCtrl::EditWindowProc, hWnd, nMsg, wParam, lParam);
}

LRESULT CALLBACK CGridCtrl::EditWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CGridCtrl* pGrid = CGridCtrl::FromHandle(::GetParent(hWnd));
    switch (nMsg) {
    case WM_GETDLGCODE:
        return ::CallWindowProcW(g_pfnEditProc, hWnd, nMsg, wParam, lParam) | DLGC_WANTALLKEYS | DLGC_WANTARROWS;
    case WM_KEYDOWN:
        if (pGrid && pGrid->m_hEdit == hWnd && pGrid->OnEditKey(static_cast<UINT>(wParam)))
            return 0;
        break;
    case WM_CHAR:
        // Enter, Tab and Escape did their work as keys; as characters they would only beep.
        if (wParam == L'\r' || wParam == L'\t' || wParam == 27)
            return 0;
        break;
    }
    return ::CallWindowProcW(g_pfnEditProc, hWnd, nMsg, wParam, lParam);
}
