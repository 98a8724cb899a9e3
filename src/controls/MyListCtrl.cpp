#include "controls/MyListCtrl.h"

#include "controls/ControlsRes.h"
#include "platform/mfc/afxwaitcursor.h"

#include <shlwapi.h>

#include <algorithm>
#include <set>

// Header theme

CMyTheme::CMyTheme()
{
    static const UINT icons[] = {IDI_SORT_DESC1, IDI_SORT_ASC1, IDI_SORT_DESC2, IDI_SORT_ASC2, IDI_SORT_DESC3, IDI_SORT_ASC3};
    m_arrows.Create(16, 16, ILC_COLOR32 | ILC_MASK, _countof(icons), 0);
    for (UINT nID : icons) {
        HICON hIcon = static_cast<HICON>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nID), IMAGE_ICON, 16, 16, 0));
        m_arrows.Add(hIcon);
        if (hIcon)
            ::DestroyIcon(hIcon);
    }
}

void CMyTheme::DrawSortIcon(CDC* pDC, const CRect& rcCaption, BOOL bPressed, int nKey, BOOL bAscending)
{
    if (m_multiSort.GetSortState() == 0 || nKey < 1 || nKey > CMultiSortInfo::maxKeys)
        return;
    const int nImage = (nKey - 1) * 2 + (bAscending ? 1 : 0);
    CPoint pt(rcCaption.right + GetArrowMargin(), rcCaption.top + (rcCaption.Height() - 16) / 2);
    if (bPressed)
        pt.Offset(1, 1);
    m_arrows.Draw(pDC, nImage, pt, ILD_TRANSPARENT);
}

void CMyTheme::DrawItemText(LPDRAWITEMSTRUCT lpDIS, CXTHeaderCtrl* pHeader)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    const int nItem = static_cast<int>(lpDIS->itemID);
    const BOOL bPressed = (lpDIS->itemState & ODS_SELECTED) != 0;
    const CRect rcItem(lpDIS->rcItem);

    // The item's sort key: from the sort list with several keys, else the header's sort column.
    BOOL bAscending = TRUE;
    int nKey = 0;
    if (IsMultiSort())
        nKey = m_multiSort.FindKey(nItem, &bAscending);
    else if (pHeader->GetSortColumn(&bAscending) == nItem)
        nKey = 1;

    TCHAR szText[256] = {};
    HDITEM hdi = {};
    hdi.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    hdi.pszText = szText;
    hdi.cchTextMax = _countof(szText);
    pHeader->GetItem(nItem, &hdi);

    CRect rcCaption = rcItem;
    rcCaption.DeflateRect(GetTextMargin(), 0);
    if (nKey)
        rcCaption.right -= 2 * GetArrowMargin() + GetArrowWidth();

    auto* pList = dynamic_cast<CMyListCtrl*>(pHeader->GetParent());
    const ColDefs def = pList ? pList->GetColumnDef(nItem) : ColDefs();
    if (def.nHeadingBackColor != -1)
        pDC->FillSolidRect(rcItem.left + 1, rcItem.top + 1, rcItem.Width() - 3, rcItem.Height() - 2,
                           static_cast<COLORREF>(def.nHeadingBackColor));
    pDC->SetTextColor(def.nHeadingTextColor != -1 ? static_cast<COLORREF>(def.nHeadingTextColor) : GetTextColor());

    HIMAGELIST hImages = reinterpret_cast<HIMAGELIST>(pHeader->SendMessage(HDM_GETIMAGELIST));
    if ((hdi.fmt & HDF_IMAGE) && hImages && hdi.iImage >= 0) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(hImages, &cx, &cy);
        CPoint pt(rcCaption.left, rcItem.top + (rcItem.Height() - cy) / 2);
        if (bPressed)
            pt.Offset(1, 1);
        if (pt.x < rcItem.right) {
            ImageList_Draw(hImages, hdi.iImage, lpDIS->hDC, pt.x, pt.y, ILD_TRANSPARENT);
            rcCaption.left += cx + GetTextMargin();
        }
    }

    const CString strText = szText;
    const CSize szCaption = pDC->GetTextExtent(strText);
    CRect rcText = rcCaption;
    switch (hdi.fmt & HDF_JUSTIFYMASK) {
    case HDF_RIGHT:
        rcText.left = std::max(rcCaption.left, rcCaption.right - szCaption.cx);
        break;
    case HDF_CENTER:
        rcText.left = std::max(rcCaption.left, rcCaption.left + (rcCaption.Width() - szCaption.cx) / 2);
        break;
    }
    if (bPressed)
        rcText.OffsetRect(1, 1);
    if (rcText.Width() > 0)
        pDC->DrawText(strText, &rcText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (nKey)
        DrawSortIcon(pDC, rcCaption, bPressed, nKey, bAscending);
}

IMPLEMENT_DYNAMIC(CMyHeaderCtrl, CXTHeaderCtrl)

CMyHeaderCtrl::CMyHeaderCtrl()
{
    SetTheme(new CMyTheme);
}

BOOL CMyHeaderCtrl::SetItemText(int nIndex, LPCTSTR lpszText)
{
    HDITEM hdi = {};
    hdi.mask = HDI_TEXT;
    hdi.pszText = const_cast<LPTSTR>(lpszText);
    return SetItem(nIndex, &hdi);
}

// The list

IMPLEMENT_DYNAMIC(CMyListCtrl, CXTListCtrl)

BOOL CMyListCtrl::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style = (cs.style & ~LVS_TYPEMASK) | LVS_REPORT | WS_CLIPCHILDREN;
    return CXTListCtrl::PreCreateWindow(cs);
}

BOOL CMyListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CXTListCtrl::Create((dwStyle & ~LVS_TYPEMASK) | LVS_REPORT | WS_CLIPCHILDREN, rect, pParentWnd, nID))
        return FALSE;
    return SubclassMyHeader();
}

BOOL CMyListCtrl::SubclassMyHeader()
{
    HWND hHeader = ListView_GetHeader(m_hWnd);
    if (!hHeader)
        return FALSE;
    if (m_header.GetSafeHwnd() == hHeader)
        return TRUE;
    if (!m_header.SubclassWindow(hHeader))
        return FALSE;
    // The list laid the header out before it had its theme.
    m_header.OnThemeChanged();
    return TRUE;
}

int CMyListCtrl::InsertColumn(int nIndex, LPCTSTR lpszHeading, int nFormat, int nWidth, int nSubItem,
                              PFNLISTCOMPARE pfnCompare, BYTE bVisible, int nUserValue, int nHeadingTextColor,
                              int nHeadingBackColor)
{
    LVCOLUMN column = {};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.pszText = const_cast<LPTSTR>(lpszHeading);
    column.fmt = nFormat;
    if (nWidth != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = nWidth;
    }
    if (nSubItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = nSubItem;
    }
    const int nColumn = CXTListCtrl::InsertColumn(nIndex, &column);
    if (nColumn < 0)
        return -1;
    ColDefs def;
    def.strHeading = lpszHeading;
    def.nWidth = nWidth;
    def.bVisible = bVisible;
    def.nFormat = nFormat;
    def.pfnCompare = pfnCompare;
    def.nUserValue = nUserValue;
    def.nHeadingTextColor = nHeadingTextColor;
    def.nHeadingBackColor = nHeadingBackColor;
    m_columns.insert(m_columns.begin() + std::min<size_t>(static_cast<size_t>(nColumn), m_columns.size()), def);
    if (m_nSortColumn >= nColumn)
        ShowSortArrows(m_nSortColumn + 1, m_bAscending);
    return nColumn;
}

BOOL CMyListCtrl::DeleteColumn(int nColumn)
{
    if (!CXTListCtrl::DeleteColumn(nColumn))
        return FALSE;
    if (nColumn >= 0 && nColumn < static_cast<int>(m_columns.size()))
        m_columns.erase(m_columns.begin() + nColumn);
    if (m_nSortColumn == nColumn)
        ShowSortArrows(-1, m_bAscending);
    else if (m_nSortColumn > nColumn)
        ShowSortArrows(m_nSortColumn - 1, m_bAscending);
    return TRUE;
}

void CMyListCtrl::SetCompareFunc(int nColumn, PFNLISTCOMPARE pfnCompare)
{
    if (nColumn >= 0 && nColumn < static_cast<int>(m_columns.size()))
        m_columns[static_cast<size_t>(nColumn)].pfnCompare = pfnCompare;
}

int CMyListCtrl::FindColumn(LPCTSTR lpszKey) const
{
    for (size_t i = 0; i < m_columns.size(); i++) {
        if (m_columns[i].strKey == lpszKey)
            return static_cast<int>(i);
    }
    return -1;
}

ColDefs CMyListCtrl::GetColumnDef(int nIndex) const
{
    return nIndex >= 0 && nIndex < static_cast<int>(m_columns.size()) ? m_columns[static_cast<size_t>(nIndex)] : ColDefs();
}

void CMyListCtrl::SetColumnKey(int nIndex, LPCTSTR lpszKey)
{
    if (nIndex >= 0 && nIndex < static_cast<int>(m_columns.size()))
        m_columns[static_cast<size_t>(nIndex)].strKey = lpszKey;
}

int CMyListCtrl::AddItem(std::initializer_list<LPCTSTR> texts)
{
    CString strInvalid;
    auto text = [&](LPCTSTR lpsz) -> LPCTSTR {
        if (lpsz)
            return lpsz;
        ::MessageBeep(MB_ICONEXCLAMATION);
        if (strInvalid.IsEmpty())
            strInvalid.LoadString(IDS_LIST_INVALID_TEXT);
        return strInvalid;
    };
    auto it = texts.begin();
    const int nRow = InsertItem(GetItemCount(), it != texts.end() ? text(*it) : L"");
    if (nRow < 0)
        return -1;
    int nColumn = 1;
    for (++it; it != texts.end(); ++it, ++nColumn)
        SetItemText(nRow, nColumn, text(*it));
    // A key of its own, never the row index: indices repeat after deletions.
    SetItemData(nRow, static_cast<DWORD_PTR>(m_nNextKey++));
    return nRow;
}

void CMyListCtrl::EnsureRowKeys()
{
    const int nCount = GetItemCount();
    std::set<LPARAM> used;
    for (int i = 0; i < nCount; i++)
        used.insert(static_cast<LPARAM>(GetItemData(i)));
    std::set<LPARAM> seen;
    for (int i = 0; i < nCount; i++) {
        const LPARAM lKey = static_cast<LPARAM>(GetItemData(i));
        if (lKey != 0 && seen.insert(lKey).second)
            continue;
        while (used.count(m_nNextKey))
            ++m_nNextKey;
        SetItemData(i, static_cast<DWORD_PTR>(m_nNextKey));
        used.insert(m_nNextKey);
        seen.insert(m_nNextKey++);
    }
}

PFNLISTCOMPARE CMyListCtrl::CompareFor(int nColumn, PFNLISTCOMPARE pfnGiven) const
{
    if (pfnGiven)
        return pfnGiven;
    const PFNLISTCOMPARE pfnColumn = GetColumnDef(nColumn).pfnCompare;
    return pfnColumn ? pfnColumn : CompareText;
}

void CMyListCtrl::FillSortInfo(int nColumn, CSortInfo& info)
{
    const int nCount = GetItemCount();
    for (int i = 0; i < nCount; i++)
        info.texts[static_cast<LPARAM>(GetItemData(i))] = GetItemText(i, nColumn);
}

void CMyListCtrl::ShowSortArrows(int nColumn, BOOL bAscending)
{
    m_nSortColumn = nColumn;
    m_bAscending = bAscending;
    SetSortInfo(nColumn, bAscending);
}

BOOL CMyListCtrl::SortColumn(int nColumn, BOOL bAscending, PFNLISTCOMPARE pfnCompare)
{
    CWaitCursor wait;
    PFNLISTCOMPARE pfn = CompareFor(nColumn, pfnCompare);
    EnsureRowKeys();
    CSortInfo info;
    info.bAscending = bAscending;
    FillSortInfo(nColumn, info);
    if (CMyTheme* pTheme = m_header.GetSafeHwnd() ? m_header.GetMyTheme() : nullptr)
        pTheme->GetMultiSortInfo().RemoveAll();
    ShowSortArrows(nColumn, bAscending);
    return SortItems(pfn, reinterpret_cast<DWORD_PTR>(&info));
}

BOOL CMyListCtrl::SortColumns(const std::vector<std::pair<int, BOOL>>& keys)
{
    if (keys.empty())
        return FALSE;
    CWaitCursor wait;
    EnsureRowKeys();
    CMultiSortInfo localInfo;
    CMyTheme* pTheme = m_header.GetSafeHwnd() ? m_header.GetMyTheme() : nullptr;
    CMultiSortInfo& multi = pTheme ? pTheme->GetMultiSortInfo() : localInfo;
    multi.RemoveAll();
    for (const auto& key : keys) {
        if (!multi.AddKey(key.first, key.second, CompareFor(key.first, nullptr)))
            break;
        FillSortInfo(key.first, multi.GetKey(multi.GetKeyCount() - 1).info);
    }
    ShowSortArrows(keys.front().first, keys.front().second);
    return SortItems(&CMultiSortInfo::Compare, reinterpret_cast<DWORD_PTR>(&multi));
}

int CMyListCtrl::GetSortColumn(BOOL* pbAscending) const
{
    if (pbAscending)
        *pbAscending = m_bAscending;
    return m_nSortColumn;
}

void CMyListCtrl::SelectItem(int nRow, BOOL bSelect)
{
    SetItemState(nRow, bSelect ? LVIS_SELECTED : 0, LVIS_SELECTED);
    if (bSelect)
        EnsureVisible(nRow, FALSE);
}

void CMyListCtrl::DeselectAll()
{
    const int nCount = GetItemCount();
    for (int i = 0; i < nCount; i++)
        SetItemState(i, 0, LVIS_SELECTED);
}

int CMyListCtrl::FindItem(LPCTSTR lpszText, int nStart, int nColumn, BOOL bForward, BOOL bWhole, BOOL bMatchCase) const
{
    const int nCount = GetItemCount();
    const int nColumns = std::max(GetColumnCount(), 1);
    auto matches = [&](const CString& strCell) {
        if (bWhole)
            return bMatchCase ? strCell == lpszText : strCell.CompareNoCase(lpszText) == 0;
        return bMatchCase ? wcsstr(strCell, lpszText) != nullptr : ::StrStrIW(strCell, lpszText) != nullptr;
    };
    const int nStep = bForward ? 1 : -1;
    int nRow = nStart < 0 ? (bForward ? 0 : nCount - 1) : nStart + nStep;
    for (; nRow >= 0 && nRow < nCount; nRow += nStep) {
        for (int nCol = 0; nCol < nColumns; nCol++) {
            if ((nColumn == -1 || nColumn == nCol) && matches(GetItemText(nRow, nCol)))
                return nRow;
        }
    }
    return -1;
}

void CMyListCtrl::SelectByPrefix(LPCTSTR lpszText)
{
    DeselectAll();
    const int nCount = GetItemCount();
    if (nCount == 0)
        return;
    CString strPrefix = lpszText;
    // A number is looked for by its first figure.
    if (_wtoi(strPrefix) > 0)
        strPrefix = strPrefix.Left(1);
    const int nColumn = m_nSortColumn >= 0 ? m_nSortColumn : 0;
    for (int i = 0; i < nCount; i++) {
        if (::lstrcmpiW(GetItemText(i, nColumn).Left(strPrefix.GetLength()), strPrefix) >= 0) {
            SelectItem(i, TRUE);
            return;
        }
    }
    SelectItem(nCount - 1, TRUE);
}

void CMyListCtrl::AutoSizeLastColumn(int nColumn)
{
    const int nCount = GetColumnCount();
    if (nColumn < 0 || nColumn >= nCount)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);   // without a vertical scroll bar that shows
    int nOthers = 0;
    for (int i = 0; i < nCount; i++) {
        if (i != nColumn)
            nOthers += GetColumnWidth(i);
    }
    // With the other columns wider than the list, a horizontal scroll bar is needed: leave it.
    if (nOthers >= rcClient.Width())
        return;
    if (GetColumnWidth(nColumn) != rcClient.Width() - nOthers)
        SetColumnWidth(nColumn, rcClient.Width() - nOthers);
}

void CMyListCtrl::OnSize(UINT nType, int cx, int cy)
{
    CXTListCtrl::OnSize(nType, cx, cy);
    AutoSizeLastColumn(GetColumnCount() - 1);
}

void CMyListCtrl::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    CXTListCtrl::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
    // A popup shown for the list takes its commands' states from the window the list belongs to.
    CWnd* pOwner = GetOwner();
    if (!bSysMenu && pOwner)
        AfxUpdateMenuPopup(pPopupMenu, pOwner, FALSE);
}

LRESULT CMyListCtrl::OnSetImageList(WPARAM wParam, LPARAM lParam)
{
    if (wParam == LVSIL_SMALL && lParam) {
        int cx = 0, cy = 0;
        if (ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(lParam), &cx, &cy))
            m_nSmallIconHeight = cy;
    }
    return Default();
}

BOOL CMyListCtrl::OnColumnClick(NMHDR* pNMHDR, LRESULT* /*pResult*/)
{
    if (m_dwOptions & optionNoSortOnClick)
        return FALSE;
    const int nColumn = reinterpret_cast<NMLISTVIEW*>(pNMHDR)->iSubItem;
    const BOOL bAscending = nColumn == m_nSortColumn ? !m_bAscending : TRUE;
    SortColumn(nColumn, bAscending);
    return FALSE;
}

BOOL CMyListCtrl::OnItemInserted(NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    if (m_header.GetSafeHwnd())
        m_header.Invalidate(FALSE);
    return FALSE;
}

BOOL CMyListCtrl::OnItemDeleted(NMHDR* pNMHDR, LRESULT* /*pResult*/)
{
    const int nRow = reinterpret_cast<NMLISTVIEW*>(pNMHDR)->iItem;
    const int nCount = GetItemCount();
    if (nRow >= 0 && nRow < nCount)
        RedrawItems(nRow, nCount - 1);
    if (m_header.GetSafeHwnd())
        m_header.Invalidate(FALSE);
    return FALSE;
}

BOOL CMyListCtrl::OnAllItemsDeleted(NMHDR* /*pNMHDR*/, LRESULT* pResult)
{
    if (m_header.GetSafeHwnd())
        m_header.Invalidate(FALSE);
    // Let the system send LVN_DELETEITEM for each row as well.
    *pResult = FALSE;
    return FALSE;
}

BEGIN_MESSAGE_MAP(CMyListCtrl, CXTListCtrl)
    ON_WM_SIZE()
    ON_WM_INITMENUPOPUP()
    ON_MESSAGE(LVM_SETIMAGELIST, &CMyListCtrl::OnSetImageList)
    ON_NOTIFY_REFLECT_EX(LVN_COLUMNCLICK, &CMyListCtrl::OnColumnClick)
    ON_NOTIFY_REFLECT_EX(LVN_INSERTITEM, &CMyListCtrl::OnItemInserted)
    ON_NOTIFY_REFLECT_EX(LVN_DELETEITEM, &CMyListCtrl::OnItemDeleted)
    ON_NOTIFY_REFLECT_EX(LVN_DELETEALLITEMS, &CMyListCtrl::OnAllItemsDeleted)
END_MESSAGE_MAP()
