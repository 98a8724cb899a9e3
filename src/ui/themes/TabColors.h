// The colour half of the tab painter: every colour the tab styles paint with, recomputed from the colour table
// at each metrics refresh (an application override of a field wins), and the fills of header, client, tab
// faces and navigate buttons. The sets are chosen by id: 1 (the default, for any unknown id), 2, 4, 8, 16.
#pragma once

#include "ui/themes/ColorTable.h"
#include "ui/themes/VisualStyleHandle.h"

#include "platform/mfc/afxwin.h"

class CXTPTabPainter;
class CXTPTabManager;
class CXTPTabManagerItem;
class CXTPTabManagerNavigateButton;

// A header or accent face whose start colour is this draws a checkerboard instead of a gradient.
const COLORREF XTP_TABCOLOR_DITHER = 0xFFFFFFFE;

class CXTPTabColors
{
public:
    CXTPTabColors() = default;
    virtual ~CXTPTabColors() = default;
    CXTPTabColors(const CXTPTabColors&) = delete;
    CXTPTabColors& operator=(const CXTPTabColors&) = delete;

    // The shared first step of every set's refresh: the base values.
    virtual void RefreshColors();
    // Selects the text colour of the item's state into the DC.
    virtual void GetItemTextColor(CDC* pDC, CXTPTabManagerItem* pItem);
    virtual void FillHeader(CDC* pDC, CRect rc, CXTPTabManager* pManager);
    virtual COLORREF FillClient(CDC* pDC, CRect rc, CXTPTabManager* pManager);
    // The flat style 4's faces: the selected tab in the first accent face, the others an etched separator.
    virtual void FillItemFace(CDC* pDC, CRect rc, CXTPTabManagerItem* pItem);
    // A tab's body; answers the face colour for the line that joins a selected tab to the client area
    // (XTP_COLOR_NONE: no line).
    virtual COLORREF FillIndexed(CDC* pDC, CRect rc, CXTPTabManagerItem* pItem);
    // May take more out of the clip region the rows are drawn in.
    virtual void AdjustHeaderClip(CDC* /*pDC*/, CRect /*rcControl*/, CXTPTabManager* /*pManager*/) {}
    // The button's face; answers the glyph colour and may move the glyph rect (a pressed button).
    virtual COLORREF FillNavigateButton(CDC* pDC, CXTPTabManagerNavigateButton* pButton, CRect& rc);
    virtual COLORREF GetItemFaceColor(CXTPTabManagerItem* pItem);
    virtual BOOL IsVisualStyleUsed() const { return FALSE; }

    void SetPainter(CXTPTabPainter* pPainter) { m_pPainter = pPainter; }
    CXTPTabPainter* GetPainter() const { return m_pPainter; }

    // The header face's gradient turned with the header position and the painter's reverse option.
    void FillGradientLikeHeader(CDC* pDC, CRect rc, COLORREF clrStart, COLORREF clrEnd);

    CColorGradient m_clrHeaderFace;
    CColorGradient m_clrHeaderFace2;
    CColorValue m_clrFrameBorder;
    CColorValue m_clrClientFace;
    CColorValue m_clrLightEdge;
    CColorValue m_clrSelectedFace;
    CColorValue m_clrNormalFace;
    CColorValue m_clrText;
    CColorValue m_clrInactiveText;
    CColorValue m_clrSelectedText;
    CColorValue m_clrHighlightText;
    CColorValue m_clrDisabledText;
    CColorGradient m_clrAccentFace;
    CColorGradient m_clrAccentBorder;
    CColorValue m_clrTabEdge[3];           // light, shadow, dark shadow
    CColorValue m_clrSelectedTabEdge[3];
    CColorValue m_clrExtraFace;
    CColorValue m_clrSelectedOutline[6];   // style 7's outline of the selected tab
    CColorValue m_clrNormalOutline[6];     // and of the others

protected:
    int GetStyleId() const;
    int GetPosition() const;
    static COLORREF C(UINT nIndex) { return GetColorTable()->GetColor(nIndex); }
    // Sets, or clears, a run of colour fields' defaults.
    static void SetDefaults(CColorValue* pValues, std::initializer_list<COLORREF> colors);

    CXTPTabPainter* m_pPainter = nullptr;
};

// Set 1: classic raised edges; the accent face of style 4 is a checkerboard.
class CXTPTabColorsDefault : public CXTPTabColors
{
public:
    void RefreshColors() override;
};

// Set 2: a flat header in colour 48.
class CXTPTabColorsFlat : public CXTPTabColors
{
public:
    void RefreshColors() override;
    COLORREF FillNavigateButton(CDC* pDC, CXTPTabManagerNavigateButton* pButton, CRect& rc) override;
};

// Set 4: gradients of the visual-style colour scheme, plain colours when scheme colours are switched off.
class CXTPTabColorsScheme : public CXTPTabColors
{
public:
    void RefreshColors() override;
    COLORREF FillIndexed(CDC* pDC, CRect rc, CXTPTabManagerItem* pItem) override;
    COLORREF FillNavigateButton(CDC* pDC, CXTPTabManagerNavigateButton* pButton, CRect& rc) override;

    BOOL IsSchemeColorsInUse() const { return m_bSchemeColorsInUse; }

    CColorValue m_clrAccent;          // face of the tab under the mouse
    CColorValue m_clrPressedFrame;    // frame of a pressed navigate button

protected:
    // The face colour of the indexed fill: the accent colour for the tab under the mouse.
    COLORREF GetIndexedColor(CXTPTabManagerItem* pItem);

    BOOL m_bSchemeColorsInUse = FALSE;
};

// Set 16: set 4's colours with scheme colours in use; otherwise white tabs, solid or (schemes 1-3) gradient.
class CXTPTabColorsSchemeSolid : public CXTPTabColorsScheme
{
public:
    void RefreshColors() override;
    COLORREF FillIndexed(CDC* pDC, CRect rc, CXTPTabManagerItem* pItem) override;

    BOOL IsGradientFaces() const { return m_bGradientFaces; }

private:
    BOOL m_bGradientFaces = FALSE;
};

// Set 8: the visual style's tab and toolbar parts while their handles are open; set 1 without visual styles.
class CXTPTabColorsThemed : public CXTPTabColorsDefault
{
public:
    void RefreshColors() override;
    COLORREF FillClient(CDC* pDC, CRect rc, CXTPTabManager* pManager) override;
    void FillItemFace(CDC* pDC, CRect rc, CXTPTabManagerItem* pItem) override;
    COLORREF FillIndexed(CDC* pDC, CRect rc, CXTPTabManagerItem* pItem) override;
    void AdjustHeaderClip(CDC* pDC, CRect rcControl, CXTPTabManager* pManager) override;
    COLORREF FillNavigateButton(CDC* pDC, CXTPTabManagerNavigateButton* pButton, CRect& rc) override;
    BOOL IsVisualStyleUsed() const override { return m_themeTab.IsOpen(); }

    CXTPVisualStyleHandle& GetTabTheme() { return m_themeTab; }
    CXTPVisualStyleHandle& GetButtonTheme() { return m_themeButton; }

    // The tab drawn for a top header (client side at the bottom) turned to face the client area at the
    // position: pixels of a w × h output from a surface h × w (left, right) or w × h (bottom).
    static void TurnSurface(const DWORD* pSource, DWORD* pOutput, int cx, int cy, int nPosition);

private:
    CXTPVisualStyleHandle m_themeTab;
    CXTPVisualStyleHandle m_themeButton;
};

// The set of an id; any id other than 2, 4, 8 and 16 gives set 1.
CXTPTabColors* CreateTabColors(int nID);
