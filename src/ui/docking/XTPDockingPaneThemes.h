// The docking themes by id. The default theme draws classic frame controls; theme 4 flat buttons and glyphs;
// theme 1 plain or gradient captions; theme 2 (the program's) gradient captions with a gripper, cut corners and
// the visual-style scheme colours; 7 is theme 2 without gripper and corners. Themes 3 and 8 draw with visual
// styles while they are active; 5, 6 and 9 are theme 1 variants with their own panes, splitters and tabs.
#pragma once

#include "ui/docking/XTPDockingPanePaintManager.h"
#include "ui/themes/TabColors.h"
#include "ui/themes/VisualStyleHandle.h"

class CXTPDockingPaneThemeDefault : public CXTPDockingPanePaintManager
{
public:
    CXTPDockingPaneThemeDefault();

    void DrawCaption(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc) override;
    void DrawCaptionButton(CDC* pDC, CPaneCaptionButton* pButton, COLORREF clr) override;
    void DrawFloatingFrame(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc) override;
    void DrawCaptionPart(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc) override;

protected:
    // The three nested frames of the floating frame's border.
    void DrawFloatingFrameBorder(CDC* pDC, CRect rc);
    // Buttons, then title in what they leave; nSize and nGap place the buttons.
    void DrawCaptionContent(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc, COLORREF clrText, int nSize,
                            int nGap);
};

class CXTPDockingPaneTheme4 : public CXTPDockingPaneThemeDefault
{
public:
    void DrawCaptionButton(CDC* pDC, CPaneCaptionButton* pButton, COLORREF clr) override;
    // Close, pin, maximise/restore and menu glyphs centred on (cx, cy).
    virtual void DrawButtonGlyph(CDC* pDC, CPaneCaptionButton* pButton, int cx, int cy, COLORREF clr);
};

class CXTPDockingPaneTheme1 : public CXTPDockingPaneTheme4
{
public:
    CXTPDockingPaneTheme1();

    void RefreshMetrics() override;
    void DrawCaptionPart(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc) override;
    // Answers the text colour that goes with the background.
    virtual COLORREF DrawCaptionBackground(CDC* pDC, CRect rc, BOOL bActive);

    BOOL m_bGradientCaption = FALSE;
    CColorGradient m_clrActiveCaption;
    CColorGradient m_clrInactiveCaption;
    COLORREF m_clrActiveCaptionText = 0;
    COLORREF m_clrInactiveCaptionText = 0;
};

class CXTPDockingPaneTheme2 : public CXTPDockingPaneTheme1
{
public:
    CXTPDockingPaneTheme2();

    void RefreshMetrics() override;
    void DrawCaption(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc) override;
    void DrawFloatingFrame(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc) override;
    void DrawCaptionPart(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc) override;
    void DrawCaptionButton(CDC* pDC, CPaneCaptionButton* pButton, COLORREF clr) override;
    // The face of a hot or pressed button; may change the glyph colour.
    virtual void DrawButtonBackground(CDC* pDC, CPaneCaptionButton* pButton, COLORREF& clrText);

    BOOL IsSchemeColorsApplied() const { return m_bSchemeColorsApplied; }

    CColorGradient m_clrCaptionBackActive;     // light, dark
    CColorGradient m_clrCaptionBackInactive;
    BOOL m_bCaptionGripper = TRUE;
    BOOL m_bCornerCutCaption = TRUE;

protected:
    // The caption's gradient, along it, from the active or the inactive pair.
    void FillCaptionGradient(CDC* pDC, const CRect& rc, BOOL bActive, BOOL bVertical);
    void DrawGripper(CDC* pDC, CRect& rc, BOOL bVertical);

    BOOL m_bSchemeColorsApplied = FALSE;
};

class CXTPDockingPaneTheme7 : public CXTPDockingPaneTheme2
{
public:
    CXTPDockingPaneTheme7();

    void RefreshMetrics() override;
};

// Visual-style captions, buttons and frames while the style is active, theme 1 otherwise.
class CXTPDockingPaneTheme3 : public CXTPDockingPaneTheme1
{
public:
    CXTPDockingPaneTheme3();

    void RefreshMetrics() override;
    void DrawCaptionButton(CDC* pDC, CPaneCaptionButton* pButton, COLORREF clr) override;
    void DrawFloatingFrame(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc) override;
    void DrawCaptionPart(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc) override;

    CXTPVisualStyleHandle& GetWindowTheme() { return m_themeWindow; }
    CXTPVisualStyleHandle& GetExplorerBarTheme() { return m_themeExplorerBar; }

private:
    BOOL IsStyled() { return m_themeWindow.IsAppThemed() && m_themeWindow.IsOpen(); }

    CXTPVisualStyleHandle m_themeWindow;
    CXTPVisualStyleHandle m_themeExplorerBar;
};

// Flat panes in the colours 30 and 31 with a framed client and rounded corners.
class CXTPDockingPaneTheme5 : public CXTPDockingPaneTheme1
{
public:
    CXTPDockingPaneTheme5();

    void DrawPane(CDC* pDC, const XTP_DOCKINGPANE_CAPTION* pCaption, CXTPTabManager* pTabs, CRect rc) override;
    void AdjustCaptionRect(BOOL bCaption, BOOL bVertical, CRect& rc) override;
    void DrawCaptionButton(CDC* pDC, CPaneCaptionButton* pButton, COLORREF clr) override;
    void DrawFloatingFrame(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc) override;
    void DrawCaptionPart(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc) override;
    void RecalcLayout(CXTPTabManager* pTabs, CDC* pDC, BOOL bCaption, BOOL bVertical, CRect& rc) override;
};

// The tab colours of themes 6 and 9: a default set with a highlight switch and scheme colours of their own.
class CXTPDockingPaneTabColors : public CXTPTabColors
{
public:
    explicit CXTPDockingPaneTabColors(BOOL bHighlight) : m_bHighlight(bHighlight) {}

    void RefreshColors() override;

    BOOL IsSchemeFlag() const { return m_bSchemeFlag; }

    CColorGradient m_clrFace;
    CColorGradient m_clrFace2;
    CColorValue m_clrHighlight;

private:
    BOOL m_bHighlight;
    BOOL m_bSchemeFlag = FALSE;
};

class CXTPDockingPaneTheme6 : public CXTPDockingPaneTheme1
{
public:
    CXTPDockingPaneTheme6();

    void RefreshMetrics() override;
    void DrawSplitter(CDC* pDC, CRect rc, BOOL bHorizontal) override;
};

class CXTPDockingPaneTheme9 : public CXTPDockingPaneTheme6
{
public:
    CXTPDockingPaneTheme9();

    void RefreshMetrics() override;
    COLORREF DrawCaptionBackground(CDC* pDC, CRect rc, BOOL bActive) override;

    COLORREF m_clrCaptionBorder = 0;
};

// Rebar and toolbar looks with visual styles; without them flat tabs of styles 5 and 6.
class CXTPDockingPaneTheme8 : public CXTPDockingPaneTheme4
{
public:
    CXTPDockingPaneTheme8();

    void RefreshMetrics() override;
    void DrawCaption(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc) override;

    CXTPVisualStyleHandle& GetRebarTheme() { return m_themeRebar; }
    CXTPVisualStyleHandle& GetToolbarTheme() { return m_themeToolbar; }

private:
    BOOL IsStyled() { return m_themeRebar.IsAppThemed() && m_themeRebar.IsOpen(); }

    CXTPVisualStyleHandle m_themeRebar;
    CXTPVisualStyleHandle m_themeToolbar;
};
