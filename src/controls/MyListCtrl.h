// The program's report list: per-column definitions, click-to-sort by typed comparison (up to three keys),
// selection operations and text search; its header draws sort-arrow icons and per-column heading colours.
// Each row carries a key of its own as item data, so that rows stay told apart after deletions.
#pragma once

#include "controls/ListCompare.h"
#include "ui/themes/ThemedList.h"

#include <initializer_list>
#include <vector>

class CMyListCtrl;

// One column of a CMyListCtrl.
struct ColDefs
{
    CString strKey;                 // searched by FindColumn; empty unless set
    int nKeyNumber = 0;
    CString strHeading;
    int nWidth = 0;
    BYTE bVisible = 1;
    int nFormat = LVCFMT_LEFT;
    PFNLISTCOMPARE pfnCompare = nullptr;   // none: by text
    int nUserValue = 0;
    int nHeadingBackColor = -1;     // -1: the theme's
    int nHeadingTextColor = -1;
};

// The header's theme: the Office 2003 header with sort-arrow icons, sort-key numbers and the columns' heading
// colours.
class CMyTheme : public CXTHeaderCtrlThemeOffice2003
{
public:
    CMyTheme();

    void DrawItemText(LPDRAWITEMSTRUCT lpDIS, CXTHeaderCtrl* pHeader) override;
    // The icon of a sort key (1 to 3) and direction at the arrow's place right of the caption.
    void DrawSortIcon(CDC* pDC, const CRect& rcCaption, BOOL bPressed, int nKey, BOOL bAscending);

    CMultiSortInfo& GetMultiSortInfo() { return m_multiSort; }
    BOOL IsMultiSort() const { return m_multiSort.GetKeyCount() > 1; }
    CImageList& GetArrowImages() { return m_arrows; }

private:
    CImageList m_arrows;
    CMultiSortInfo m_multiSort;
};

class CMyHeaderCtrl : public CXTHeaderCtrl
{
    DECLARE_DYNAMIC(CMyHeaderCtrl)
public:
    CMyHeaderCtrl();

    BOOL SetItemText(int nIndex, LPCTSTR lpszText);
    CMyTheme* GetMyTheme() { return static_cast<CMyTheme*>(GetTheme()); }
};

class CMyListCtrl : public CXTListCtrl
{
    DECLARE_DYNAMIC(CMyListCtrl)
public:
    // Construction options.
    enum { optionNoSortOnClick = 0x1 };

    explicit CMyListCtrl(DWORD dwOptions = 0) : m_dwOptions(dwOptions) {}

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // The list's header becomes the program's header; for lists taken over from a dialog.
    BOOL SubclassMyHeader();

    int InsertColumn(int nIndex, LPCTSTR lpszHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1, int nSubItem = -1,
                     PFNLISTCOMPARE pfnCompare = nullptr, BYTE bVisible = 1, int nUserValue = 0,
                     int nHeadingTextColor = -1, int nHeadingBackColor = -1);
    // The columns after it move up one place, their definitions and the sort column with them.
    BOOL DeleteColumn(int nColumn);
    void SetCompareFunc(int nColumn, PFNLISTCOMPARE pfnCompare);
    // Exact, case-sensitive; -1 when no column has the key.
    int FindColumn(LPCTSTR lpszKey) const;
    ColDefs GetColumnDef(int nIndex) const;
    void SetColumnKey(int nIndex, LPCTSTR lpszKey);

    // The row's texts, column 0 first; answers the row. A null text stands for one that could not be read.
    int AddItem(std::initializer_list<LPCTSTR> texts);
    // By the given comparison, else the column's, else by text; answers LVM_SORTITEMS' result.
    BOOL SortColumn(int nColumn, BOOL bAscending, PFNLISTCOMPARE pfnCompare = nullptr);
    // Up to three keys {column, ascending}; each column's own comparison.
    BOOL SortColumns(const std::vector<std::pair<int, BOOL>>& keys);
    void SelectItem(int nRow, BOOL bSelect = TRUE);
    void DeselectAll();
    // From the row after (forward) or before the start; nColumn -1 searches every column.
    int FindItem(LPCTSTR lpszText, int nStart = -1, int nColumn = -1, BOOL bForward = TRUE, BOOL bWhole = TRUE,
                 BOOL bMatchCase = FALSE) const;
    void SelectByPrefix(LPCTSTR lpszText);
    void AutoSizeLastColumn(int nColumn);

    int GetSortColumn(BOOL* pbAscending = nullptr) const;
    int GetSmallIconHeight() const { return m_nSmallIconHeight; }
    CMyHeaderCtrl& GetMyHeader() { return m_header; }
    BOOL SortList(int nCol, BOOL bAscending) override { return SortColumn(nCol, bAscending); }

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg LRESULT OnSetImageList(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnItemInserted(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnItemDeleted(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnAllItemsDeleted(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    // The rows' keys, a new one for every row without one (or with one an earlier row holds already).
    void EnsureRowKeys();
    void FillSortInfo(int nColumn, CSortInfo& info);
    PFNLISTCOMPARE CompareFor(int nColumn, PFNLISTCOMPARE pfnGiven) const;
    void ShowSortArrows(int nColumn, BOOL bAscending);

    DWORD m_dwOptions;
    CMyHeaderCtrl m_header;
    // In column order: a column's comparison is its definition's, so that it moves with the column.
    std::vector<ColDefs> m_columns;
    int m_nSortColumn = -1;
    BOOL m_bAscending = TRUE;
    int m_nSmallIconHeight = 0;
    LPARAM m_nNextKey = 1;
};
