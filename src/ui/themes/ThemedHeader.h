// The column header of the framework's lists: painted by a header theme, with a sort arrow on the sort column,
// pressed and hot items, a right-click menu for sorting and column alignment, columns that may not be resized,
// and the list's width spread over its columns.
#pragma once

#include "ui/themes/HeaderTheme.h"

#include "platform/mfc/afxcmn.h"

#include <vector>

// Commands of the header's built-in menu.
#define XT_IDC_SORTASC      9158
#define XT_IDC_SORTDSC      9159
#define XT_IDC_ALIGNLEFT    9160
#define XT_IDC_ALIGNCENTER  9161
#define XT_IDC_ALIGNRIGHT   9162

class CXTHeaderCtrl : public CHeaderCtrl, public CXTThemeManagerStyleHost
{
    DECLARE_DYNAMIC(CXTHeaderCtrl)
public:
    enum { hotTimerID = 1, hotTimerElapse = 10 };

    CXTHeaderCtrl();
    ~CXTHeaderCtrl() override;

    // The left button is held on the header and the cursor is over this item.
    virtual BOOL IsMouseOverItem(int nItem);
    virtual void SetBoldFont(BOOL bBold);
    // A menu resource of the caller's replaces the built-in menu.
    virtual void SetMenuID(UINT nMenuID, int nSubMenu = 0);
    virtual void InitFont(BOOL bBold);
    virtual void ShowSortArrow(BOOL bShow);
    // The alignment of the column under the last right click (LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_CENTER).
    virtual void SetAlignment(int nFormat);
    virtual BOOL IsRightToLeft();
    // Every unlocked column gets total / (columns - locked), when that exceeds the minimum width.
    virtual void ResizeColumns(int nTotalWidth);
    virtual void FitColumnsToWidth(int nWidth = -1);
    virtual int GetLockedColumnsWidth();

    // Answers the former sort column.
    int SetSortColumn(int nCol, BOOL bAscending);
    int GetSortColumn(BOOL* pbAscending = nullptr) const;
    void LockColumn(int nCol);
    void UnlockColumn(int nCol);
    void UnlockAllColumns() { m_lockedColumns.clear(); }
    BOOL IsColumnLocked(int nCol) const;
    void SetAutoFit(BOOL bAutoFit = TRUE) { m_bAutoFit = bAutoFit; }
    void SetMinWidth(int nMinWidth) { m_nMinWidth = nMinWidth; }
    void EnableMenus(BOOL bEnable) { m_bMenusEnabled = bEnable; }
    // Clears the given format bits and attaches the bitmap with mask colour 0xC0C0C0.
    BOOL SetBitmap(int nCol, UINT nIDBitmap, DWORD dwRemove = 0);
    BOOL HasSortArrow();
    BOOL IsButtonDown() const { return m_bButtonDown; }
    int GetHotItem() const { return m_nHotItem; }
    CXTHeaderCtrlTheme* GetHeaderTheme() { return static_cast<CXTHeaderCtrlTheme*>(GetTheme()); }
    // The style every header without one of its own draws with; a new one (by theme id, or a style that is
    // owned from then on) reaches each of those headers.
    static CXTHeaderCtrlTheme* GetClassTheme();
    static void SetClassTheme(int nTheme);
    static void SetClassTheme(CXTHeaderCtrlTheme* pTheme);
    // Lays the header out again in its theme's height and makes the parent follow.
    void OnThemeChanged() override;

protected:
    // Shows a popup menu at a screen point for the owner (tests replace it).
    virtual void TrackPopup(CMenu* pPopup, CPoint ptScreen, CWnd* pOwner);

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnLayout(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnItemChanging(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSortAsc();
    afx_msg void OnSortDsc();
    afx_msg void OnAlignLeft();
    afx_msg void OnAlignCenter();
    afx_msg void OnAlignRight();
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg void OnSysColorChange();
    DECLARE_MESSAGE_MAP()

private:
    static CXTThemeManagerStyleFactory* GetClassFactory();
    void SortFromMenu(BOOL bAscending);
    int HitTestItem(CPoint ptClient) const;

    int m_nMinWidth = 0;
    int m_nSubMenu = 0;
    int m_nHotItem = -1;
    int m_nSortColumn = -1;
    BOOL m_bRTL;
    BOOL m_bAutoFit = FALSE;
    BOOL m_bMenusEnabled = TRUE;
    BOOL m_bAscending = TRUE;
    BOOL m_bButtonDown = FALSE;
    BOOL m_bHotDrawn = FALSE;
    UINT m_nMenuID = 0;
    CPoint m_ptRightClick;
    std::vector<int> m_lockedColumns;
};

// The header with the flat theme as its own.
class CXTFlatHeaderCtrl : public CXTHeaderCtrl
{
    DECLARE_DYNAMIC(CXTFlatHeaderCtrl)
public:
    CXTFlatHeaderCtrl();
};
