// The command-bar painter: the one object through which every command bar and every control on it is measured
// and drawn. It owns the bars' fonts, its own copy of the 60 indexed colours, the icon options and the popup
// animation settings; the themes derive from it. One painter is installed process-wide; a bar may carry its own.
#pragma once

#include "platform/mfc/afxwin.h"
#include "ui/themes/ColorTable.h"

class CXTPBarIcon;
class CXTPCommandBar;
class CXTPCommandBars;
class CXTPControl;
class CXTPStatusBarPane;

// A font that a refresh replaces while its recreate flag is set or while it holds none.
struct CXTPFontHolder
{
    CFont m_font;
    BOOL m_bRecreate = TRUE;

    BOOL NeedsFont() const { return m_bRecreate || !m_font.GetSafeHandle(); }
    void Replace(const LOGFONT& lf);
};

// Saved and loaded together by the bar options, in this order.
struct XTP_ICON_OPTIONS
{
    BOOL bUseFadedIcons = FALSE;
    BOOL bUseDisabledIcons = FALSE;
    BOOL bIconsWithShadow = FALSE;
};

class CXTPBarPainter : public CCmdTarget
{
public:
    enum { themeDefault = 0, themeShadowed = 1, themeGradient = 2, themeVisualStyles = 3, themeGradientVariant = 4,
           themeCustom = 5 };
    // Glyphs a bar adds itself.
    enum { glyphExpand = 0, glyphChevron = 1, glyphClose = 2, glyphArrow = 3 };
    // Animation kinds of popups.
    enum { animateUnfold = 2, animateSlide = 3, animateFade = 4 };

    CXTPBarPainter();
    ~CXTPBarPainter() override;

    // A new painter for a theme id (any unknown id gives the default theme); nothing is installed.
    static CXTPBarPainter* CreateTheme(int nTheme);
    // Releases the installed painter and installs this one (its theme id becomes 5); null installs none.
    static void SetPainter(CXTPBarPainter* pPainter);
    static void SetTheme(int nTheme);
    static void ReleasePainter();
    // The installed painter, the default theme installed first when there is none.
    static CXTPBarPainter* GetInstalled();
    static BOOL IsInstalled() { return s_pInstalled != nullptr; }

    // Index above 59: a literal colour.
    COLORREF GetColor(int nIndex) const;
    void SetStandardColors(int nCount, const int* pIndices, const COLORREF* pColors);
    // The application's override of one colour (XTP_COLOR_NONE removes it).
    void SetColor(int nIndex, COLORREF clr);
    XTP_ICON_OPTIONS* GetIconOptions() { return &m_iconOptions; }
    int GetControlHeight() const { return std::max(m_nTextHeight, 22); }
    int GetTextHeight() const { return m_nTextHeight; }
    int GetScheme() const;
    void SetScheme(int nScheme);
    void SetUseTahoma(BOOL bUseTahoma);
    BOOL IsUseTahoma() const { return m_bUseTahoma; }
    int GetStoredThemeId() const { return m_nThemeId; }
    // The given font replaces the bar fonts; bDefault keeps them following the system menu font.
    void SetFont(const LOGFONT* pLogFont, BOOL bDefault);
    // The bars' font, never turned for vertical bars: the edit fields' windows take it.
    CFont* GetRegularFont() { return &m_fontNormal; }
    CFont* GetCaptionFont() { return &m_fontCaption.m_font; }
    CFont* GetIconTitleFont() { return &m_fontIconTitle.m_font; }
    COLORREF GetShadowColor() const { return m_clrShadow; }
    COLORREF GetDefaultTextColor() const { return m_clrDefaultText; }
    BOOL IsShadowsAllowed() const { return m_bShadowsAllowed; }
    void SetBoldTick(BOOL bBold) { m_bBoldTick = bBold; }
    // -1 follows the caller; 0 never underlines accelerators, other values always.
    void SetKeyboardCues(int nCues) { m_nKeyboardCues = nCues; }
    void SetAnimation(int nSteps, int nDuration) { m_nAnimationSteps = nSteps; m_nAnimationDuration = nDuration; }

    // Measures a control and, with bDraw, draws it.
    CSize DrawControl(CDC* pDC, CXTPControl* pControl, BOOL bDraw);
    // The text colour of the control in its present state, for controls that draw their own text.
    void SetControlTextColor(CDC* pDC, CXTPControl* pControl);

    void FillTriangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr);
    // Fill of a colour index unless it is none, then a frame of a second index when it differs from the fill.
    void Rectangle(CDC* pDC, CRect rc, int nFrame, int nFill);
    void Draw3dRect(CDC* pDC, CRect rc, int nTopLeft, int nBottomRight);
    void Line(CDC* pDC, int x0, int y0, int x1, int y1);
    void Line(CDC* pDC, int x0, int y0, int x1, int y1, int nColor);
    void Pixel(CDC* pDC, int x, int y, int nColor);
    CSize DrawControlText(CDC* pDC, CString strCaption, CRect rc, BOOL bDraw, BOOL bVertical, BOOL bCentre,
                          BOOL bArrow, BOOL bEmbossed, BOOL bUnderline);
    void DrawGradient(CDC* pDC, CRect rc, COLORREF clrFrom, COLORREF clrTo, BOOL bHorizontal);

    // Operations without a base behaviour are the themes'.
    virtual CSize DrawPopupBarControl(CDC* pDC, CXTPControl* pControl, BOOL bDraw) = 0;
    virtual CSize DrawToolBarControl(CDC* pDC, CXTPControl* pControl, BOOL bDraw);
    virtual void DrawSplitButtonFace(CDC* pDC, CXTPControl* pControl, CRect rc);
    virtual CSize DrawComboBoxControl(CDC* pDC, CXTPControl* pControl, BOOL bDraw) = 0;
    virtual CSize DrawEditControl(CDC* pDC, CXTPControl* pControl, BOOL bDraw) = 0;
    // A control drawn as an entry of a list of controls (pOwner: the manager of the list, or none).
    virtual CSize DrawListBoxControl(CDC* pDC, CXTPControl* pControl, CRect rc, BOOL bSelected, BOOL bDraw,
                                     CXTPCommandBars* pOwner) = 0;
    virtual void FillCommandBar(CDC* pDC, CXTPCommandBar* pBar) = 0;
    virtual void DrawControlEntry(CDC* pDC, CRect rc, BOOL bEnabled, int nSelected, int nPressed, BOOL bChecked,
                                  BOOL bPopupWhole, int nBarPosition) = 0;
    virtual void DrawControlFace(CDC* pDC, CXTPControl* pControl);
    // The colour index of a control's text in a state (the arguments of DrawControlEntry).
    virtual int GetControlTextColorIndex(BOOL bEnabled, int nSelected, int nPressed, BOOL bChecked, BOOL bPopupWhole,
                                         int nBarPosition) = 0;
    virtual void DrawControlRect(CDC* pDC, CRect rc, int nSelected, int nPressed, BOOL bEnabled, BOOL bChecked,
                                 BOOL bPopupWhole, BOOL bToolBar, int nBarPosition) = 0;
    virtual CSize DrawCommandBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw) = 0;
    virtual CSize DrawSeparator(CDC* pDC, CXTPControl* pControl, CXTPCommandBar* pBar, BOOL bDraw) = 0;
    // The screen rectangle of a popup control that its opening popup keeps clear of (bVertical: the control's bar
    // is docked left or right, or is a popup).
    virtual void AdjustControlRect(CRect* pRect, CXTPControl* pControl, BOOL bVertical) = 0;
    virtual void DrawStatusBarPane(CDC* pDC, CRect rc, CXTPStatusBarPane* pPane);
    virtual void DrawStatusBarPaneBorder(CDC* pDC, CRect rc, CXTPStatusBarPane* pPane);
    virtual void DrawStatusBarGripper(CDC* pDC, CRect rc);
    virtual void FillDockBar(CDC* pDC, CWnd* pWnd);
    virtual void FillStatusBar(CDC* pDC, CWnd* pWnd);
    virtual void RefreshMetrics();
    virtual BOOL HasPopupShadow() const { return FALSE; }
    // Draws a bar's own button, or measures it: an expand button is placed at the end of the bar, of pszBar's size
    // when given (the size a layout is making), else of the bar's client area.
    virtual CSize DrawGlyph(CDC* pDC, CXTPCommandBar* pBar, int nGlyph, CXTPControl* pControl, BOOL bDraw,
                            const CSize* pszBar = nullptr);
    virtual void GetBarBorders(CRect* pBorders, CXTPCommandBar* pBar);
    virtual CSize DrawTearOffGripper(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw) = 0;
    virtual void DrawImage(CDC* pDC, CPoint pt, CSize sz, CXTPBarIcon* pIcon, int nSelected, int nPressed,
                           BOOL bEnabled, BOOL bChecked, BOOL bPopupWhole, BOOL bToolBar) = 0;
    virtual CSize DrawGripperShape(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw) = 0;
    virtual int GetThemeId() const = 0;
    virtual CFont* GetControlFont(CXTPCommandBar* pBar, BOOL bBold);
    virtual void DrawTick(CDC* pDC, CRect rc, COLORREF clr, BOOL bShape);
    virtual void DrawDownArrow(CDC* pDC, CRect rc, COLORREF clr);
    virtual void AnimateFade(CDC* pDestDC, CDC* pSrcDC, CRect rc, int nKind);
    virtual int AnimateSlide(CXTPCommandBar* pBar, CDC* pDestDC, CDC* pSrcDC, BOOL bFlag);
    virtual void DrawControlHook(LPCTSTR /*lpszCaption*/) {}

protected:
    // The sleep between animation frames; tests count frames instead of waiting.
    virtual void AnimationPause(DWORD dwMilliseconds) { ::Sleep(dwMilliseconds); }

    void UpdateFonts();
    // Icon-column width of a popup bar: max(text height + 4, icon width + 4), doubled beside check boxes.
    int GetPopupColumnWidth(CXTPCommandBar* pBar) const;
    // Whether the control shows its icon on a toolbar, and the icon for the bar's icon size.
    CXTPBarIcon* GetToolBarIcon(CXTPControl* pControl, CSize szIcon) const;
    // The height of " " in a font.
    static int GetSpaceHeight(CDC* pDC, CFont* pFont);
    // The width a field's label takes, as the painter stores it in the combo or edit control (0 without label).
    static void StoreFieldWidths(CXTPControl* pControl, int nLabelWidth, int nThumbWidth);
    // A horizontal checkerboard of two colours (the checked face of the default theme).
    void FillCheckerboard(CDC* pDC, CRect rc, COLORREF clrBack, COLORREF clrFore);

    COLORREF m_clrShadow = 0;
    COLORREF m_clrDefaultText = 0;
    BOOL m_bBoldTick = FALSE;
    BOOL m_bShadowsAllowed = TRUE;
    CFont m_fontNormal;
    CFont m_fontBold;
    CFont m_fontVert;
    CFont m_fontVertBold;
    CXTPFontHolder m_fontCaption;
    CXTPFontHolder m_fontIconTitle;
    CXTPFontHolder m_fontIconTitleBold;
    int m_nTextHeight = 0;
    BOOL m_bUseTahoma = FALSE;
    BOOL m_bUseSystemFont = TRUE;
    int m_nThemeId = 0;
    XTP_ICON_OPTIONS m_iconOptions;
    int m_nAnimationSteps = 10;
    int m_nAnimationDuration = 100;
    int m_nKeyboardCues = -1;
    CColorValue m_colors[CColorTable::colorCount];
    int m_nScheme = 5;

private:
    static CXTPBarPainter* s_pInstalled;
};
