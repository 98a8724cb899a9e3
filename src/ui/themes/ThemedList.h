// The framework's list in report view: a flat header with a sort arrow, sorting driven by header clicks, column
// widths remembered in the program's profile ("Settings", "Column Info" by default) as a comma list, per-row
// colours, a shaded sort column, flicker-free painting, column auto-sizing, row copy and move, and a lower bound
// for column widths. CXTListBase holds the behaviour and works on its list window through messages, so that the
// control and the view share it.
#pragma once

#include "ui/themes/ThemedHeader.h"

#include "platform/mfc/afxcmn.h"
#include "platform/mfc/afxview.h"

#include <vector>

struct XT_ROW_COLOR
{
    int nRow;
    COLORREF clrText;
    COLORREF clrBack;
};

class CXTListBase
{
public:
    explicit CXTListBase(CWnd* pListWnd);
    virtual ~CXTListBase() = default;
    CXTListBase(const CXTListBase&) = delete;
    CXTListBase& operator=(const CXTListBase&) = delete;

    // Answers the former sort column; the header shows the arrow when it is a themed one.
    virtual int SetSortInfo(int nCol, BOOL bAscending);
    // The column's entry (from 0) of the saved comma list; 0 when missing.
    virtual int GetSavedColumnWidth(int nCol);
    virtual void RestoreColumnWidth(int nCol);
    virtual void RestoreColumnWidths();
    virtual void SaveColumnWidths();
    // -1 sizes every column.
    virtual void AutoSizeColumn(int nCol = -1);
    // Turns persistence on; an empty section or entry takes "Settings" or "Column Info".
    virtual void LoadColumnWidths(LPCTSTR lpszSection = nullptr, LPCTSTR lpszEntry = nullptr, LPCTSTR lpszDefault = nullptr);
    virtual BOOL SubclassHeader(BOOL bBoldFont = FALSE);
    // Sorts the rows; the base sorts nothing and answers TRUE.
    virtual BOOL SortList(int nCol, BOOL bAscending);
    virtual void SetExtendedStyle(DWORD dwAdd);
    virtual DWORD GetExtendedStyle() const;
    virtual void SetColumnsLocked(BOOL bLocked) { m_bColumnsLocked = bLocked; }
    // The row under a client point, and its column in *pCol; -1 when none.
    virtual int HitTestSubItem(CPoint point, int* pCol);
    // Width -1 takes the width of the last column.
    virtual int AddColumn(LPCTSTR lpszText, int nWidth = -1, int nFormat = LVCFMT_LEFT);
    virtual BOOL BuildColumns(int nCount, const int* pWidths, const LPCTSTR* pTexts);
    virtual BOOL BuildColumns(int nCount, const int* pWidths, const UINT* pStringIDs);
    // -1 unless in report view with a header.
    virtual int GetColumnCount() const;
    // Answers the source row's index after the copy; -1 when refused.
    virtual int CopyRowTo(int nFrom, int nTo);
    virtual BOOL MoveRow(int nFrom, int nTo);
    virtual void SetListColors(COLORREF clrText, COLORREF clrBack);
    virtual void SetRowColor(const XT_ROW_COLOR& rowColor) { SetRowColor(rowColor.nRow, rowColor.clrText, rowColor.clrBack); }
    virtual void SetRowColor(int nRow, COLORREF clrText, COLORREF clrBack);
    virtual void RemoveAllRowColors() { m_rowColors.clear(); }
    virtual const XT_ROW_COLOR* FindRowColor(int nRow) const;
    // TRUE only when the style changed.
    virtual BOOL ModifyExtendedStyle(DWORD dwRemove, DWORD dwAdd);
    virtual BOOL InitList();
    // Header notifications; FALSE lets the list's default handling run.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    void RefreshColors();
    // Custom draw of a row's cells; answers the custom-draw result.
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW* pDraw);
    // The list's default painting into an off-screen buffer over its background, then copied to pDC.
    void DoPaint(CDC* pDC);

    void SetMinimumColWidth(int nWidth) { m_nMinColWidth = nWidth; }
    void SetMaximumColWidth(int nWidth) { m_nMaxColWidth = nWidth; }
    void SetUseGlobalFont(BOOL bUse) { m_bUseGlobalFont = bUse; }
    void EnableRowColors(BOOL bEnable) { m_bRowColors = bEnable; }
    void ShadeSortColumn(BOOL bShade) { m_bShadeSortColumn = bShade; }
    int GetSortColumn(BOOL* pbAscending = nullptr) const;
    COLORREF GetSortBackColor() const { return m_clrSortBack; }
    COLORREF GetSortTextColor() const { return m_clrSortText; }
    CXTFlatHeaderCtrl& GetFlatHeader() { return m_flatHeader; }
    BOOL IsReportView() const;

protected:
    HWND ListHwnd() const { return m_pListWnd->GetSafeHwnd(); }
    HWND HeaderHwnd() const;
    void OnDestroyMsg();

private:
    CWnd* m_pListWnd;
    int m_nMinColWidth = 0;
    int m_nMaxColWidth;
    int m_nSortColumn = -1;
    BOOL m_bUseGlobalFont = FALSE;
    BOOL m_bPersistWidths = FALSE;
    BOOL m_bCustomColors = FALSE;
    BOOL m_bRowColors = FALSE;
    BOOL m_bShadeSortColumn = FALSE;
    BOOL m_bAscending = TRUE;
    BOOL m_bColumnsLocked = FALSE;
    CString m_strSection, m_strEntry, m_strDefault;
    COLORREF m_clrText = XTP_COLOR_NONE;
    COLORREF m_clrBack = XTP_COLOR_NONE;
    COLORREF m_clrSortText = 0;
    COLORREF m_clrSortBack = 0;
    std::vector<XT_ROW_COLOR> m_rowColors;
    CXTFlatHeaderCtrl m_flatHeader;
};

// The window side of the themed list over a window class (the control or the view).
template <class TBase>
class CXTListSite : public TBase, public CXTListBase
{
public:
    CXTListSite() : CXTListBase(this) {}

    using CXTListBase::GetExtendedStyle;
    using CXTListBase::SetExtendedStyle;

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PreSubclassWindow() override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg BOOL OnCustomDrawMsg(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    BOOL m_bPreCreated = FALSE;
};

class CXTListCtrl : public CXTListSite<CListCtrl>
{
    DECLARE_DYNAMIC(CXTListCtrl)
};

// A view that is a list window ("SysListView32", child, visible, bordered).
class CXTListView : public CXTListSite<CView>
{
    DECLARE_DYNCREATE(CXTListView)
public:
    void OnDraw(CDC* /*pDC*/) override {}

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
};
