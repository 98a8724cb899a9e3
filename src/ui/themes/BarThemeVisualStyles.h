// Theme 3: the command bars drawn with the system's visual styles (toolbar buttons, rebar background and
// grippers, status bar, combo buttons), each operation falling back to the default theme while the style class
// it needs is not open (visual styles off, the library missing, the class not in the style).
#pragma once

#include "ui/themes/BarThemeDefault.h"
#include "ui/themes/VisualStyleHandle.h"

class CXTPBarThemeVisualStyles : public CXTPBarThemeDefault
{
public:
    CXTPBarThemeVisualStyles();

    void DrawSplitButtonFace(CDC* pDC, CXTPControl* pControl, CRect rc) override;
    void FillCommandBar(CDC* pDC, CXTPCommandBar* pBar) override;
    void DrawControlRect(CDC* pDC, CRect rc, int nSelected, int nPressed, BOOL bEnabled, BOOL bChecked,
                         BOOL bPopupWhole, BOOL bToolBar, int nBarPosition) override;
    CSize DrawCommandBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw) override;
    void AdjustControlRect(CRect* pRect, CXTPControl* pControl, BOOL bVertical) override;
    void DrawStatusBarPaneBorder(CDC* pDC, CRect rc, CXTPStatusBarPane* pPane) override;
    void DrawStatusBarGripper(CDC* pDC, CRect rc) override;
    void FillDockBar(CDC* pDC, CWnd* pWnd) override;
    void FillStatusBar(CDC* pDC, CWnd* pWnd) override;
    void RefreshMetrics() override;
    CSize DrawGripperShape(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw) override;
    int GetThemeId() const override { return themeVisualStyles; }
    void DrawEditFrame(CDC* pDC, CRect rc, BOOL bEnabled, int nSelected, BOOL bDropped) override;
    void DrawComboDropButton(CDC* pDC, CRect rc, BOOL bEnabled, int nSelected, BOOL bDropped) override;

    // The toolbar part's state of a button face.
    static int GetButtonState(int nSelected, int nPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopupWhole);

    CXTPVisualStyleHandle& GetRebarStyle() { return m_themeRebar; }
    CXTPVisualStyleHandle& GetToolbarStyle() { return m_themeToolbar; }
    CXTPVisualStyleHandle& GetComboStyle() { return m_themeCombo; }
    CXTPVisualStyleHandle& GetStatusStyle() { return m_themeStatus; }
    BOOL IsFlatMenus() const { return m_bFlatMenus; }
    COLORREF GetRebarEdgeColor() const { return m_clrRebarEdge; }

private:
    // The rebar's background over the parent's (or the window's own) client area, seen through the window.
    void FillRebarBackground(CDC* pDC, CWnd* pWnd, CWnd* pBackground);
    // 3-D frame of colour 15 and 21, then a raised frame one pixel inside.
    void DrawRaisedFrame(CDC* pDC, CRect rc);

    CXTPVisualStyleHandle m_themeRebar;
    CXTPVisualStyleHandle m_themeToolbar;
    CXTPVisualStyleHandle m_themeCombo;
    CXTPVisualStyleHandle m_themeStatus;
    COLORREF m_clrRebarEdge = 0;
    BOOL m_bFlatMenus = TRUE;
};
