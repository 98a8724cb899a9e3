// The docking theme: one object per docking-pane manager draws every visible part of the docking system (pane
// captions and their buttons, tab rows of tabbed containers and auto-hide panels, splitter bars, floating-frame
// borders). It keeps its own copy of the 60 framework colours, the caption fonts and metrics and two tab
// painters. The windows describe what they show (title, buttons, active state) and the theme draws it; the
// themes themselves are in XTPDockingPaneThemes.h.
#pragma once

#include "ui/themes/ColorTable.h"
#include "ui/themes/DrawHelpers.h"

#include "platform/mfc/afxwin.h"

#include <vector>

class CXTPTabManager;
class CXTPTabPainter;

typedef std::vector<CPaneCaptionButton*> CXTPDockingPaneCaptionButtons;

// Ids of the caption buttons.
enum
{
    XTP_IDS_DOCKINGPANE_AUTOHIDE = 9900,
    XTP_IDS_DOCKINGPANE_CLOSE = 9901,
    XTP_IDS_DOCKINGPANE_MAXIMIZE = 9907,
    XTP_IDS_DOCKINGPANE_RESTORE = 9908,
    XTP_IDS_DOCKINGPANE_MENU = 9909,
};

// Per channel nPerMille of a and the rest of b, to the nearest unit.
COLORREF BlendPerMille(COLORREF a, COLORREF b, int nPerMille);

// Bit of a pin button's state: the pin lies (the pane slides out of an edge strip, or the frame is rolled up).
const DWORD XTP_DOCKINGPANE_PINLYING = 2;

// What the theme reads of a caption it draws.
struct XTP_DOCKINGPANE_CAPTION
{
    CString strTitle;
    const CXTPDockingPaneCaptionButtons* pButtons = nullptr;   // may be null: no buttons
    BOOL bActive = FALSE;     // the focused container, or the active floating frame
    BOOL bVertical = FALSE;   // the caption runs along the left side
};

class CXTPDockingPanePaintManager : public CCmdTarget
{
public:
    enum { splitterRaised = 1, splitterTwoTone = 2, splitterDoubleLine = 4, splitterDotted = 8 };
    enum { schemeDefault = 5 };

    CXTPDockingPanePaintManager();
    ~CXTPDockingPanePaintManager() override;

    // The theme of an id (0 and ids without a theme of their own: the default theme), refreshed, with one
    // reference.
    static CXTPDockingPanePaintManager* CreateTheme(int nID);

    // The container's background, caption and tab row. pTabs is the container's tab manager, null when it shows
    // no tabs; a null caption draws none.
    virtual void DrawPane(CDC* pDC, const XTP_DOCKINGPANE_CAPTION* pCaption, CXTPTabManager* pTabs, CRect rc);
    // The caption strip at the top (left, when vertical) of a container's rectangle.
    virtual void DrawCaption(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc) = 0;
    // Places the buttons from the right (bottom) end of rc and draws the visible ones; rc's right (bottom) end
    // then lies one gap before the last placed button.
    virtual void DrawCaptionButtons(CDC* pDC, const CXTPDockingPaneCaptionButtons* pButtons, CRect& rc, COLORREF clr,
                                    int nSize, int nGap, BOOL bVertical);
    virtual void DrawCaptionButton(CDC* pDC, CPaneCaptionButton* pButton, COLORREF clr) = 0;
    virtual void RefreshMetrics();
    // Lays the tab row out and takes it and the caption from rc (what is left is the pane's client area).
    virtual void RecalcLayout(CXTPTabManager* pTabs, CDC* pDC, BOOL bCaption, BOOL bVertical, CRect& rc);
    // With a visible caption, rc loses the caption's room at its top (left edge for a vertical caption).
    virtual void AdjustCaptionRect(BOOL bCaption, BOOL bVertical, CRect& rc);
    // The non-client area of a themed floating frame; rc is its window rectangle moved to (0, 0).
    virtual void DrawFloatingFrame(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc);
    // A splitter bar over its client rectangle; a horizontal bar lies between rows.
    virtual void DrawSplitter(CDC* pDC, CRect rc, BOOL bHorizontal);
    // Background, buttons and title of a caption strip.
    virtual void DrawCaptionPart(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc) = 0;

    // An index above 59 is a colour and comes back unchanged.
    COLORREF GetColor(UINT nIndex) const;
    void SetColors(int nCount, const UINT* pIndices, const COLORREF* pColors);
    void SetColorScheme(int nScheme);
    // 5: the colour table's scheme (0 when its scheme colours are off); 4: the detected one; else the stored.
    int GetCurrentScheme() const;
    void SetSplitterStyle(int nStyle);
    int GetSplitterStyle() const { return m_nSplitterStyle; }
    void SetCaptionFont(const LOGFONT* pLogFont, BOOL bSystem);
    void SetVerticalFontSwitch(BYTE bSwitch) { m_bUseTahomaVertical = bSwitch; }
    // Each takes the painter's reference.
    void SetPaneTabPainter(CXTPTabPainter* pPainter);
    void SetAutoHideTabPainter(CXTPTabPainter* pPainter);
    CXTPTabPainter* GetPaneTabPainter() const { return m_pPaneTabPainter; }
    CXTPTabPainter* GetAutoHideTabPainter() const { return m_pAutoHideTabPainter; }

    void DrawLine(CDC* pDC, int x1, int y1, int x2, int y2, UINT nColor) const;
    void Rectangle(CDC* pDC, const CRect& rc, UINT nFill, UINT nBorder) const;
    void Pixel(CDC* pDC, int x, int y, UINT nColor) const;

    // A caption takes its height plus the spacing above and below.
    int GetCaptionHeight() const { return m_nCaptionHeight; }
    int GetCaptionFullHeight() const { return m_nCaptionHeight + m_rcCaptionMargin.top + m_rcCaptionMargin.bottom; }
    int GetTabsHeight() const { return m_nTabsHeight; }
    int GetSplitterWidth() const { return m_nSplitterWidth; }
    BOOL IsDrawCaptions() const { return m_bDrawCaptions; }
    CFont* GetCaptionFont(BOOL bVertical = FALSE) { return bVertical ? &m_fntCaptionVertical : &m_fntCaption; }

    int m_nThemeID = 0;
    BOOL m_bBoldCaption = TRUE;
    BOOL m_bHighlightActiveCaption = TRUE;
    BOOL m_bDrawCaptions = TRUE;
    BOOL m_bShowTabsAlways = FALSE;
    CColorValue m_clrSplitterGripper;
    CColorValue m_clrSplitter;
    int m_nCaptionTextMargin = 5;
    BOOL m_bUseSystemCaptionFont = TRUE;
    CString m_strFaceName = L"Tahoma";
    CRect m_rcCaptionMargin{0, 2, 0, 1};

protected:
    // The hot (fill 31) or pressed (fill 33) face framed in colour 32; answers the glyph colour (45 or 47), or
    // clr for a button in neither state.
    COLORREF DrawPlainButtonFace(CDC* pDC, CPaneCaptionButton* pButton, COLORREF clr) const;
    // "Height" of a space in a font: the line height text of that font takes.
    static int GetTextHeight(CFont* pFont);
    // The caption's title in the caption font, vertical captions read from the top down.
    void DrawCaptionTitle(CDC* pDC, const CString& strTitle, CRect rc, BOOL bVertical, COLORREF clr);

    int m_nSplitterWidth = 4;
    int m_nSplitterStyle = 0;
    int m_nCaptionHeight = 0;
    int m_nTabsHeight = 0;
    int m_nColorScheme = schemeDefault;
    BYTE m_bUseTahomaVertical = 0;
    CFont m_fntCaption;
    CFont m_fntCaptionVertical;
    CXTPTabPainter* m_pPaneTabPainter = nullptr;
    CXTPTabPainter* m_pAutoHideTabPainter = nullptr;
    COLORREF m_clrTable[CColorTable::colorCount] = {};
};
