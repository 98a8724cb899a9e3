// Theme 2, the application's: the look of theme 1 with gradient bars and dock areas, and, while a visual-style
// colour scheme is in force, gradient highlights in the scheme's colours. Theme 4 uses a second set of scheme
// colours.
#pragma once

#include "platform/mfc/afximagelist.h"
#include "ui/themes/BarThemeShadowed.h"
#include "ui/themes/VisualStyleHandle.h"

class CXTPBarThemeGradient : public CXTPBarThemeShadowed
{
public:
    CXTPBarThemeGradient();

    void FillCommandBar(CDC* pDC, CXTPCommandBar* pBar) override;
    void DrawControlRect(CDC* pDC, CRect rc, int nSelected, int nPressed, BOOL bEnabled, BOOL bChecked,
                         BOOL bPopupWhole, BOOL bToolBar, int nBarPosition) override;
    CSize DrawCommandBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw) override;
    CSize DrawSeparator(CDC* pDC, CXTPControl* pControl, CXTPCommandBar* pBar, BOOL bDraw) override;
    void DrawStatusBarPaneBorder(CDC* pDC, CRect rc, CXTPStatusBarPane* pPane) override;
    void DrawStatusBarGripper(CDC* pDC, CRect rc) override;
    void FillDockBar(CDC* pDC, CWnd* pWnd) override;
    void RefreshMetrics() override;
    CSize DrawGlyph(CDC* pDC, CXTPCommandBar* pBar, int nGlyph, CXTPControl* pControl, BOOL bDraw,
                    const CSize* pszBar = nullptr) override;
    void GetBarBorders(CRect* pBorders, CXTPCommandBar* pBar) override;
    CSize DrawTearOffGripper(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw) override;
    CSize DrawGripperShape(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw) override;
    int GetThemeId() const override { return themeGradient; }
    void FillBarBand(CDC* pDC, int x, int y, int cx, int cy, BOOL bSecondStyle) override;

    // A 16-colour bitmap resource with its palette retouched to the theme's warmer colours (an entry equal to the
    // process-wide icon store's mask colour stays); null when the resource is missing or not of 16 colours.
    static HBITMAP LoadRetouchedBitmap(UINT nIDResource);
    // The retouched bitmap's icons into the process-wide icon store: for a toolbar resource (the bitmap of the
    // same id), or for a list of commands (ids of 0 are separators).
    static BOOL SetRetouchedIcons(UINT nIDResourceToolBar);
    static BOOL AddRetouchedIcons(UINT nIDResourceBitmap, const UINT* pCommands, int nCount, CSize szIcon);

    BOOL IsSchemeActive() const { return m_bSchemeActive; }
    CImageList* GetRoundImage() { return &m_ilRound; }

    // Highlight gradients; the application may override their colours.
    CColorGradient m_grcHighlight;
    CColorGradient m_grcPressed;
    CColorGradient m_grcHot;

protected:
    // The dock gradient across a rectangle at least half the screen wide.
    void FillDockGradient(CDC* pDC, CRect rc);
    // 2 by 2 dots: a light one right of and below a dark one.
    void DrawDotPair(CDC* pDC, int x, int y);
    void FillGradient(CDC* pDC, CRect rc, const CColorGradient& gradient, BOOL bHorizontal);
    void CreateRoundImage();

    COLORREF m_clrDockStart = 0, m_clrDockEnd = 0;
    COLORREF m_clrBarDark = 0, m_clrBarLight = 0;
    COLORREF m_clrPopupWholeStart = 0, m_clrPopupWholeEnd = 0;
    COLORREF m_clrBarShadow = 0;
    COLORREF m_clrCaption = 0;
    COLORREF m_clrExpandDark = 0, m_clrExpandLight = 0;
    COLORREF m_clrBandDark = 0, m_clrBandLight = 0;
    COLORREF m_clrRoundDark = 0, m_clrRoundLight = 0;
    COLORREF m_clrPaneBorder = 0;
    BOOL m_bSchemeActive = FALSE;
    CXTPVisualStyleHandle m_themeStatus;
    CImageList m_ilRound;
};

class CXTPBarThemeGradientVariant : public CXTPBarThemeGradient
{
public:
    CXTPBarThemeGradientVariant();

    void RefreshMetrics() override;
    int GetThemeId() const override { return themeGradientVariant; }
};
