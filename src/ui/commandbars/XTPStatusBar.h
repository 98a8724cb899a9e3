// The frame's status bar: the system's status control with panes that are objects of their own. The bar lays the
// panes out itself (stretch panes share the free width), keeps the control's parts and texts in step, routes the
// idle update to the panes and paints through the bar painter instead of the control's own drawing.
#pragma once

#include "platform/mfc/afxcontrolbar.h"
#include "ui/commandbars/XTPStatusBarPane.h"
#include "ui/themes/TipContext.h"

#include <vector>

class CXTPBarImages;
class CXTPBarPainter;
class CXTPCommandBars;

class CXTPStatusBar : public CControlBar
{
    DECLARE_DYNAMIC(CXTPStatusBar)
public:
    CXTPStatusBar();
    ~CXTPStatusBar() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                  UINT nID = AFX_IDW_STATUS_BAR);

    // Replaces the panes; a non-zero id takes its text from the string of that id (FALSE when one has none:
    // the panes made so far stay).
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    CXTPStatusBarPane* AddIndicator(UINT nID, int nIndex = -1);
    BOOL RemoveIndicator(UINT nID);
    BOOL RemoveAt(int nIndex);
    void RemoveAll();

    int GetPaneCount() const { return static_cast<int>(m_arrPanes.size()); }
    int GetVisiblePaneCount() const;
    CXTPStatusBarPane* GetPane(int nIndex) const;
    CXTPStatusBarPane* FindPane(UINT nID) const;
    int CommandToIndex(UINT nID) const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    CXTPStatusBarPane* HitTest(CPoint pt, CRect* pRect = nullptr) const;

    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    CString GetPaneText(int nIndex) const;
    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
    // A width below 1: as wide as the text.
    void SetPaneWidth(int nIndex, int cxText);
    BOOL SetPaneControl(HWND hWnd, UINT nID, BOOL bDestroyChild);
    void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);
    // After panes came, went, showed or hid: the layout and every text again.
    void RenumberParts();

    // The manager whose painter and icons the bar uses; without one, the installed painter and the process's icons.
    void SetCommandBars(CXTPCommandBars* pCommandBars) { m_pCommandBars = pCommandBars; }
    // Null when the control paints itself.
    CXTPBarPainter* GetPaintManager() const;
    CXTPBarImages* GetImageManager() const;
    void UsePaintManager(BOOL bUse) { m_bUsePaintManager = bUse; }
    BOOL IsDrawDisabledText() const { return m_bDrawDisabledText; }
    void SetDrawDisabledText(BOOL bDraw) { m_bDrawDisabledText = bDraw; }
    CFont* GetFont() { return &m_font; }

    virtual void DrawPane(CDC* pDC, int nIndex, CRect rcItem);
    virtual void DrawGripper(CDC* pDC, CRect rcClient);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void CalcInsideRect(CRect& rect, BOOL bHorz) const override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void SetBarStyle(DWORD dwStyle) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnWindowPosChanging(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetMinHeight(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void SetupPane(CXTPStatusBarPane* pPane, UINT nID);
    void PlaceChildren();
    // The frame is resizable and not maximised: the size grip shows.
    BOOL HasSizeGrip() const;
    // The control's horizontal border, vertical border and gap.
    void GetBorders(int& cxBorder, int& cyBorder, int& cxGap) const;

    std::vector<CXTPStatusBarPane*> m_arrPanes;
    int m_nMinHeight = 0;
    CFont m_font;
    BOOL m_bDrawDisabledText = TRUE;
    BOOL m_bUsePaintManager = TRUE;
    CXTPCommandBars* m_pCommandBars = nullptr;
    CTipContext* m_pToolTipContext;
};
