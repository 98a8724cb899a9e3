#include "ui/themes/ThemedList.h"

#include "ui/persist/RegistryManager.h"
#include "ui/themes/ColorRef.h"
#include "ui/themes/MemDC.h"
#include "ui/themes/UiGlobalData.h"

#include <algorithm>

namespace
{
const LPCTSTR kDefaultSection = L"Settings";
const LPCTSTR kDefaultEntry = L"Column Info";

// The entries of a comma list; an empty text has none.
std::vector<CString> SplitWidths(const CString& strList)
{
    std::vector<CString> entries;
    int nStart = 0;
    while (nStart < strList.GetLength()) {
        int nComma = strList.Find(L',', nStart);
        if (nComma < 0)
            nComma = strList.GetLength();
        entries.push_back(strList.Mid(nStart, nComma - nStart));
        nStart = nComma + 1;
    }
    return entries;
}
}

CXTListBase::CXTListBase(CWnd* pListWnd)
    : m_pListWnd(pListWnd), m_nMaxColWidth(::GetSystemMetrics(SM_CXFULLSCREEN))
{
    RefreshColors();
}

HWND CXTListBase::HeaderHwnd() const
{
    return ListView_GetHeader(ListHwnd());
}

BOOL CXTListBase::IsReportView() const
{
    return ::IsWindow(ListHwnd()) && (::GetWindowLongPtrW(ListHwnd(), GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT;
}

int CXTListBase::GetSortColumn(BOOL* pbAscending) const
{
    if (pbAscending)
        *pbAscending = m_bAscending;
    return m_nSortColumn;
}

int CXTListBase::SetSortInfo(int nCol, BOOL bAscending)
{
    const int nOld = m_nSortColumn;
    m_nSortColumn = nCol;
    m_bAscending = bAscending;
    if (auto* pHeader = dynamic_cast<CXTHeaderCtrl*>(CWnd::FromHandlePermanent(HeaderHwnd())))
        pHeader->SetSortColumn(nCol, bAscending);
    return nOld;
}

int CXTListBase::GetSavedColumnWidth(int nCol)
{
    CXTPRegistryManager registry;
    const CString strList = registry.GetProfileString(m_strSection, m_strEntry, m_strDefault);
    const std::vector<CString> entries = SplitWidths(strList);
    return nCol >= 0 && nCol < static_cast<int>(entries.size()) ? _wtoi(entries[static_cast<size_t>(nCol)]) : 0;
}

void CXTListBase::RestoreColumnWidth(int nCol)
{
    CXTPRegistryManager registry;
    const std::vector<CString> entries = SplitWidths(registry.GetProfileString(m_strSection, m_strEntry, m_strDefault));
    // A column the saved list does not know (added since) keeps its width instead of vanishing at width 0.
    if (nCol >= 0 && nCol < static_cast<int>(entries.size()))
        ListView_SetColumnWidth(ListHwnd(), nCol, GetSavedColumnWidth(nCol));
}

void CXTListBase::RestoreColumnWidths()
{
    if (!IsReportView())
        return;
    // Widths are kept in display order: the entry of a position goes to the column shown there.
    CXTPRegistryManager registry;
    const std::vector<CString> entries = SplitWidths(registry.GetProfileString(m_strSection, m_strEntry, m_strDefault));
    const int nCount = GetColumnCount();
    for (int nPos = 0; nPos < nCount && nPos < static_cast<int>(entries.size()); nPos++) {
        const int nCol = Header_OrderToIndex(HeaderHwnd(), nPos);
        ListView_SetColumnWidth(ListHwnd(), nCol, _wtoi(entries[static_cast<size_t>(nPos)]));
    }
}

void CXTListBase::SaveColumnWidths()
{
    if (!IsReportView())
        return;
    CString strList;
    const int nCount = GetColumnCount();
    for (int nPos = 0; nPos < nCount; nPos++)
        strList.AppendFormat(L"%d,", ListView_GetColumnWidth(ListHwnd(), Header_OrderToIndex(HeaderHwnd(), nPos)));
    CXTPRegistryManager registry;
    registry.WriteProfileString(m_strSection, m_strEntry, strList);
}

void CXTListBase::LoadColumnWidths(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    m_bPersistWidths = TRUE;
    m_strSection = lpszSection && *lpszSection ? lpszSection : kDefaultSection;
    m_strEntry = lpszEntry && *lpszEntry ? lpszEntry : kDefaultEntry;
    if (lpszDefault)
        m_strDefault = lpszDefault;
    RestoreColumnWidths();
}

void CXTListBase::AutoSizeColumn(int nCol)
{
    HWND hList = ListHwnd();
    HWND hHeader = HeaderHwnd();
    const int nCount = GetColumnCount();
    if (nCount <= 0)
        return;
    auto* pHeader = dynamic_cast<CXTHeaderCtrl*>(CWnd::FromHandlePermanent(hHeader));
    const BOOL bArrow = pHeader && pHeader->HasSortArrow();

    ::SendMessageW(hList, WM_SETREDRAW, FALSE, 0);
    HDC hDC = ::GetDC(hHeader);
    HGDIOBJ hOldFont = ::SelectObject(hDC, reinterpret_cast<HGDIOBJ>(::SendMessageW(hHeader, WM_GETFONT, 0, 0)));
    for (int nPos = 0; nPos < nCount; nPos++) {
        const int nColumn = Header_OrderToIndex(hHeader, nPos);
        if (nCol != -1 && nColumn != nCol)
            continue;
        ListView_SetColumnWidth(hList, nColumn, LVSCW_AUTOSIZE);
        int nWidth = ListView_GetColumnWidth(hList, nColumn);

        TCHAR szText[256] = {};
        HDITEM hdi = {};
        hdi.mask = HDI_TEXT;
        hdi.pszText = szText;
        hdi.cchTextMax = _countof(szText);
        Header_GetItem(hHeader, nColumn, &hdi);
        SIZE szCaption = {};
        ::GetTextExtentPoint32W(hDC, szText, lstrlenW(szText), &szCaption);
        int nCaption = szCaption.cx + 12;
        if (bArrow && nColumn == m_nSortColumn)
            nCaption += 24;
        nWidth = std::max(nWidth, nCaption);
        nWidth = std::min(std::max(nWidth, m_nMinColWidth), m_nMaxColWidth);
        ListView_SetColumnWidth(hList, nColumn, nWidth);
    }
    ::SelectObject(hDC, hOldFont);
    ::ReleaseDC(hHeader, hDC);
    ::SendMessageW(hList, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hList, nullptr, TRUE);
}

BOOL CXTListBase::SubclassHeader(BOOL bBoldFont)
{
    if (!IsReportView() || m_flatHeader.GetSafeHwnd())
        return FALSE;
    HWND hHeader = HeaderHwnd();
    if (!hHeader || !m_flatHeader.SubclassWindow(hHeader))
        return FALSE;
    m_flatHeader.InitFont(bBoldFont);
    return TRUE;
}

BOOL CXTListBase::SortList(int /*nCol*/, BOOL /*bAscending*/)
{
    return TRUE;
}

void CXTListBase::SetExtendedStyle(DWORD dwAdd)
{
    ListView_SetExtendedListViewStyle(ListHwnd(), GetExtendedStyle() | dwAdd);
}

DWORD CXTListBase::GetExtendedStyle() const
{
    return ListView_GetExtendedListViewStyle(ListHwnd());
}

BOOL CXTListBase::ModifyExtendedStyle(DWORD dwRemove, DWORD dwAdd)
{
    const DWORD dwOld = GetExtendedStyle();
    const DWORD dwNew = (dwOld & ~dwRemove) | dwAdd;
    if (dwNew == dwOld)
        return FALSE;
    ListView_SetExtendedListViewStyle(ListHwnd(), dwNew);
    return TRUE;
}

int CXTListBase::HitTestSubItem(CPoint point, int* pCol)
{
    HWND hList = ListHwnd();
    if (pCol)
        *pCol = -1;
    if (!IsReportView()) {
        LVHITTESTINFO hit = {};
        hit.pt = point;
        const int nItem = ListView_HitTest(hList, &hit);
        if (pCol && nItem >= 0)
            *pCol = 0;
        return nItem;
    }
    const int nTop = ListView_GetTopIndex(hList);
    const int nLast = std::min(nTop + ListView_GetCountPerPage(hList), ListView_GetItemCount(hList) - 1);
    const int nCount = GetColumnCount();
    for (int nRow = nTop; nRow <= nLast; nRow++) {
        CRect rcRow;
        if (!ListView_GetItemRect(hList, nRow, &rcRow, LVIR_BOUNDS) || !rcRow.PtInRect(point))
            continue;
        int x = rcRow.left;
        for (int nPos = 0; nPos < nCount; nPos++) {
            const int nCol = Header_OrderToIndex(HeaderHwnd(), nPos);
            const int nWidth = ListView_GetColumnWidth(hList, nCol);
            if (point.x >= x && point.x < x + nWidth) {
                if (pCol)
                    *pCol = nCol;
                return nRow;
            }
            x += nWidth;
        }
    }
    return -1;
}

int CXTListBase::AddColumn(LPCTSTR lpszText, int nWidth, int nFormat)
{
    if (!IsReportView())
        return -1;
    const int nCount = GetColumnCount();
    if (nWidth == -1)
        nWidth = nCount > 0 ? ListView_GetColumnWidth(ListHwnd(), nCount - 1) : 0;
    LVCOLUMN column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.pszText = const_cast<LPTSTR>(lpszText);
    column.cx = nWidth;
    column.fmt = nFormat;
    column.iSubItem = nCount;
    return ListView_InsertColumn(ListHwnd(), nCount, &column);
}

BOOL CXTListBase::BuildColumns(int nCount, const int* pWidths, const LPCTSTR* pTexts)
{
    for (int i = 0; i < nCount; i++) {
        LVCOLUMN column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.pszText = const_cast<LPTSTR>(pTexts[i]);
        column.cx = pWidths[i];
        column.fmt = LVCFMT_LEFT;
        column.iSubItem = i;
        if (ListView_InsertColumn(ListHwnd(), i, &column) == -1)
            return FALSE;
    }
    return TRUE;
}

BOOL CXTListBase::BuildColumns(int nCount, const int* pWidths, const UINT* pStringIDs)
{
    std::vector<CString> texts(static_cast<size_t>(std::max(nCount, 0)));
    std::vector<LPCTSTR> pointers(texts.size());
    for (size_t i = 0; i < texts.size(); i++) {
        texts[i].LoadString(pStringIDs[i]);
        pointers[i] = texts[i];
    }
    return BuildColumns(nCount, pWidths, pointers.data());
}

int CXTListBase::GetColumnCount() const
{
    HWND hHeader = IsReportView() ? HeaderHwnd() : nullptr;
    return hHeader ? Header_GetItemCount(hHeader) : -1;
}

int CXTListBase::CopyRowTo(int nFrom, int nTo)
{
    if (nFrom == nTo || nFrom < 0 || nTo < 0)
        return -1;
    HWND hList = ListHwnd();
    TCHAR szText[257] = {};
    LVITEM item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = nFrom;
    item.pszText = szText;
    item.cchTextMax = 256;
    if (!ListView_GetItem(hList, &item))
        return -1;
    item.iItem = nTo;
    const int nNew = ListView_InsertItem(hList, &item);
    if (nNew < 0)
        return -1;
    const int nSource = nFrom > nTo ? nFrom + 1 : nFrom;
    const int nCount = GetColumnCount();
    for (int nCol = 1; nCol < nCount; nCol++) {
        szText[0] = 0;
        ListView_GetItemText(hList, nSource, nCol, szText, 256);
        if (szText[0])
            ListView_SetItemText(hList, nNew, nCol, szText);
    }
    return nSource;
}

BOOL CXTListBase::MoveRow(int nFrom, int nTo)
{
    if (nFrom == nTo || nFrom < 0 || nTo < 0)
        return FALSE;
    const int nSource = CopyRowTo(nFrom, nTo);
    if (nSource < 0)
        return FALSE;
    // The item data went to the copy: an owner that frees it when a row is deleted must not see it again.
    LVITEM item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nSource;
    ListView_SetItem(ListHwnd(), &item);
    return ListView_DeleteItem(ListHwnd(), nSource);
}

void CXTListBase::SetListColors(COLORREF clrText, COLORREF clrBack)
{
    m_clrText = clrText;
    m_clrBack = clrBack;
    m_bCustomColors = TRUE;
    RefreshColors();
    if (::IsWindow(ListHwnd()))
        ::InvalidateRect(ListHwnd(), nullptr, FALSE);
}

void CXTListBase::SetRowColor(int nRow, COLORREF clrText, COLORREF clrBack)
{
    auto it = std::find_if(m_rowColors.begin(), m_rowColors.end(), [nRow](const XT_ROW_COLOR& r) { return r.nRow == nRow; });
    if (it != m_rowColors.end()) {
        it->clrText = clrText;
        it->clrBack = clrBack;
    } else {
        m_rowColors.push_back({nRow, clrText, clrBack});
    }
    HWND hList = ListHwnd();
    if (!::IsWindow(hList))
        return;
    const int nTop = ListView_GetTopIndex(hList);
    if (nRow >= nTop && nRow <= nTop + ListView_GetCountPerPage(hList))
        ::InvalidateRect(hList, nullptr, FALSE);
}

const XT_ROW_COLOR* CXTListBase::FindRowColor(int nRow) const
{
    if (!::IsWindow(ListHwnd()) || ListView_GetItemCount(ListHwnd()) == 0)
        return nullptr;
    auto it = std::find_if(m_rowColors.begin(), m_rowColors.end(), [nRow](const XT_ROW_COLOR& r) { return r.nRow == nRow; });
    return it == m_rowColors.end() ? nullptr : &*it;
}

BOOL CXTListBase::InitList()
{
    if (!::IsWindow(ListHwnd()))
        return FALSE;
    if (m_bUseGlobalFont)
        ::SendMessageW(ListHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(GetUiGlobalData()->m_fontNormal.GetSafeHandle()), TRUE);
    return TRUE;
}

void CXTListBase::RefreshColors()
{
    m_nMaxColWidth = ::GetSystemMetrics(SM_CXFULLSCREEN);
    const COLORREF clrBack = m_clrBack != XTP_COLOR_NONE ? m_clrBack : ::GetSysColor(COLOR_WINDOW);
    m_clrSortBack = CColorRef(clrBack) - CColorRef(RGB(8, 8, 8));
    m_clrSortText = m_clrText != XTP_COLOR_NONE ? m_clrText : ::GetSysColor(COLOR_WINDOWTEXT);
}

LRESULT CXTListBase::OnCustomDraw(NMLVCUSTOMDRAW* pDraw)
{
    const DWORD dwStage = pDraw->nmcd.dwDrawStage;
    if (dwStage == CDDS_PREPAINT || dwStage == CDDS_ITEMPREPAINT)
        return CDRF_NOTIFYSUBITEMDRAW;
    if (dwStage != (CDDS_ITEMPREPAINT | CDDS_SUBITEM))
        return CDRF_DODEFAULT;

    HWND hList = ListHwnd();
    const int nRow = static_cast<int>(pDraw->nmcd.dwItemSpec);
    const BOOL bSortColumn = m_bShadeSortColumn && pDraw->iSubItem == m_nSortColumn;
    const XT_ROW_COLOR* pRowColor = m_bRowColors ? FindRowColor(nRow) : nullptr;
    if (pRowColor && (ListView_GetItemState(hList, nRow, LVIS_SELECTED) & LVIS_SELECTED))
        pRowColor = nullptr;

    if (!::IsWindowEnabled(hList)) {
        pDraw->clrText = ::GetSysColor(COLOR_WINDOWTEXT);
        pDraw->clrTextBk = ::GetSysColor(COLOR_3DFACE);
    } else if (pRowColor) {
        pDraw->clrText = pRowColor->clrText;
        pDraw->clrTextBk = bSortColumn ? BlendColors(pRowColor->clrBack, m_clrSortBack, 50) : pRowColor->clrBack;
    } else if (bSortColumn) {
        pDraw->clrText = m_clrSortText;
        pDraw->clrTextBk = m_clrSortBack;
    } else {
        pDraw->clrText = m_bCustomColors && m_clrText != XTP_COLOR_NONE ? m_clrText : ::GetSysColor(COLOR_WINDOWTEXT);
        pDraw->clrTextBk = m_bCustomColors && m_clrBack != XTP_COLOR_NONE ? m_clrBack : ::GetSysColor(COLOR_WINDOW);
    }
    return CDRF_DODEFAULT;
}

void CXTListBase::DoPaint(CDC* pDC)
{
    HWND hList = ListHwnd();
    CRect rcClient;
    ::GetClientRect(hList, &rcClient);
    HWND hHeader = HeaderHwnd();
    if (IsReportView() && m_flatHeader.GetSafeHwnd() && ::IsWindowVisible(hHeader)) {
        CRect rcHeader;
        ::GetWindowRect(hHeader, &rcHeader);
        ::MapWindowPoints(nullptr, hList, reinterpret_cast<LPPOINT>(&rcHeader), 2);
        rcClient.top = std::max(rcClient.top, rcHeader.bottom);
    }
    if (rcClient.IsRectEmpty())
        return;
    {
        COLORREF clrBack = ::IsWindowEnabled(hList)
                               ? (m_bCustomColors && m_clrBack != XTP_COLOR_NONE ? m_clrBack : ::GetSysColor(COLOR_WINDOW))
                               : ::GetSysColor(COLOR_3DFACE);
        CXTMemDC memDC(pDC, rcClient, CColorGradient(clrBack));
        if (m_bShadeSortColumn && m_nSortColumn >= 0 && IsReportView()) {
            int x = -::GetScrollPos(hList, SB_HORZ);
            const int nCount = GetColumnCount();
            for (int nPos = 0; nPos < nCount; nPos++) {
                const int nCol = Header_OrderToIndex(hHeader, nPos);
                const int nWidth = ListView_GetColumnWidth(hList, nCol);
                if (nCol == m_nSortColumn) {
                    memDC.FillSolidRect(x, rcClient.top, nWidth, rcClient.Height(), m_clrSortBack);
                    break;
                }
                x += nWidth;
            }
        }
        m_pListWnd->DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.GetSafeHdc()), 0);
    }
    // The header stays on top of what was painted.
    if (hHeader) {
        ::InvalidateRect(hHeader, nullptr, FALSE);
        ::UpdateWindow(hHeader);
    }
}

void CXTListBase::OnDestroyMsg()
{
    if (m_bPersistWidths)
        SaveColumnWidths();
}

BOOL CXTListBase::OnNotify(WPARAM /*wParam*/, LPARAM lParam, LRESULT* pResult)
{
    auto* pNM = reinterpret_cast<NMHEADERW*>(lParam);
    if (!pNM->hdr.hwndFrom || pNM->hdr.hwndFrom != HeaderHwnd())
        return FALSE;
    switch (pNM->hdr.code) {
    case HDN_BEGINTRACKA:
    case HDN_BEGINTRACKW:
    case HDN_DIVIDERDBLCLICKA:
    case HDN_DIVIDERDBLCLICKW:
        if (m_bColumnsLocked) {
            *pResult = 1;
            return TRUE;
        }
        break;
    case HDN_ITEMCLICKA:
    case HDN_ITEMCLICKW:
        if (m_flatHeader.GetSafeHwnd()) {
            BOOL bAscending = TRUE;
            if (pNM->iButton == 0)
                bAscending = pNM->iItem == m_nSortColumn ? !m_bAscending : TRUE;
            else if (pNM->iButton == 1)
                m_flatHeader.GetSortColumn(&bAscending);
            m_nSortColumn = pNM->iItem;
            m_bAscending = bAscending;
            m_flatHeader.SetSortColumn(pNM->iItem, bAscending);
            SortList(pNM->iItem, bAscending);
        }
        break;
    case HDN_ITEMCHANGINGA:
    case HDN_ITEMCHANGINGW:
    case HDN_ENDTRACKA:
    case HDN_ENDTRACKW:
        if (pNM->pitem && (pNM->pitem->mask & HDI_WIDTH) && pNM->pitem->cxy < m_nMinColWidth)
            pNM->pitem->cxy = m_nMinColWidth;
        break;
    }
    return FALSE;
}

// The window side.

template <class TBase>
BOOL CXTListSite<TBase>::PreCreateWindow(CREATESTRUCT& cs)
{
    // OnCreate initialises a list created here.
    m_bPreCreated = TRUE;
    return TBase::PreCreateWindow(cs);
}

template <class TBase>
void CXTListSite<TBase>::PreSubclassWindow()
{
    TBase::PreSubclassWindow();
    if (!m_bPreCreated)
        InitList();
}

template <class TBase>
int CXTListSite<TBase>::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (TBase::OnCreate(lpCreateStruct) == -1)
        return -1;
    InitList();
    return 0;
}

template <class TBase>
void CXTListSite<TBase>::OnDestroy()
{
    OnDestroyMsg();
    TBase::OnDestroy();
}

template <class TBase>
void CXTListSite<TBase>::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    TBase::OnSettingChange(uFlags, lpszSection);
    RefreshColors();
}

template <class TBase>
BOOL CXTListSite<TBase>::OnEraseBkgnd(CDC* /*pDC*/)
{
    return TRUE;
}

template <class TBase>
void CXTListSite<TBase>::OnPaint()
{
    CPaintDC dc(this);
    DoPaint(&dc);
}

template <class TBase>
BOOL CXTListSite<TBase>::OnCustomDrawMsg(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(pNMHDR));
    return TRUE;
}

template <class TBase>
BOOL CXTListSite<TBase>::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CXTListBase::OnNotify(wParam, lParam, pResult))
        return TRUE;
    return TBase::OnNotify(wParam, lParam, pResult);
}

BEGIN_TEMPLATE_MESSAGE_MAP(CXTListSite, TBase, TBase)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SETTINGCHANGE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_NOTIFY_REFLECT_EX(NM_CUSTOMDRAW, &ThisClass::OnCustomDrawMsg)
END_MESSAGE_MAP()

template class CXTListSite<CListCtrl>;
template class CXTListSite<CView>;

IMPLEMENT_DYNAMIC(CXTListCtrl, CListCtrl)
IMPLEMENT_DYNCREATE(CXTListView, CView)

BOOL CXTListView::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.lpszClass = WC_LISTVIEWW;
    cs.style |= WS_CHILD | WS_VISIBLE | WS_BORDER;
    return CXTListSite<CView>::PreCreateWindow(cs);
}
