// The geometry and shape half of the tab painter: header thickness, client area, row height, margins, the
// outline and fill of each tab, and which colour sets suit it. Every rectangle adjustment is stated for a header
// at the top as (left, top, right, bottom) and applied turned with the header position.
//
// Styles by id: 0 (and any unknown id) classic raised tabs, 1 raised only when selected or hot, 2 rounded,
// 3 slanted, 4 flat buttons, 5 flat with separators, 6 outlined, 7 sloped, 8 stacked bars, 9 trapezoids.
#pragma once

#include "platform/mfc/afxwin.h"

class CXTPTabPainter;
class CXTPTabColors;
class CXTPTabManager;
class CXTPTabManagerItem;

class CXTPTabStyle
{
public:
    enum { clientPartBorder = 0, clientPartInside = 1, clientPartBandUpright = 2, clientPartBandAcross = 3 };

    explicit CXTPTabStyle(const CRect& rcMargins = CRect(2, 3, 6, 0)) : m_rcHeaderMargin(rcMargins) {}
    virtual ~CXTPTabStyle() = default;
    CXTPTabStyle(const CXTPTabStyle&) = delete;
    CXTPTabStyle& operator=(const CXTPTabStyle&) = delete;

    virtual void RefreshMetrics();
    virtual CRect GetHeaderRect(CRect rcControl, CXTPTabManager* pManager);
    virtual CRect GetClientRect(CRect rcControl, CXTPTabManager* pManager);
    virtual CRect GetMargins() const { return m_rcHeaderMargin; }
    virtual CRect GetControlMargins() const;
    virtual int GetItemWidth(CDC* pDC, CXTPTabManagerItem* pItem);
    virtual int GetRowHeight(CXTPTabManager* pManager);
    virtual void DrawTabControl(CXTPTabManager* pManager, CDC* pDC, CRect rcControl);
    // Header background and client frame; answers the header rect.
    virtual CRect DrawFrame(CDC* pDC, CXTPTabManager* pManager, CRect rcControl);
    virtual void RepositionTabs(CXTPTabManager* pManager, CDC* pDC, CRect rcClient);
    virtual void AdjustClientRect(CXTPTabManager* pManager, CRect& rc);
    virtual void DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem);
    // A part of the client frame in rc: the border round the client area, or a band between two client areas
    // standing upright or lying across; without the painter's static frame the part is the header's face.
    // clientPartInside draws nothing (pDC may be null): rc becomes the area inside the border, one pixel in with
    // the static frame, two without.
    virtual void FillClientPart(CDC* pDC, CXTPTabManager* pManager, CRect& rc, int nPart);
    virtual int GetSupportedColors() const { return 1 | 4 | 8; }
    virtual int GetDefaultColors() const { return 1; }

    void SetPainter(CXTPTabPainter* pPainter) { m_pPainter = pPainter; }
    CXTPTabPainter* GetPainter() const { return m_pPainter; }
    int GetRowSpacing() const { return m_nRowSpacing; }
    BOOL IsForwardDrawing() const { return m_bForwardDrawing; }

    // The face of the polygon (the first point absolute, each further one an offset from the one before) as
    // the colour set paints it for the item; answers the set's face colour. The DC's clipping is left as it was.
    COLORREF FillPolygon(CDC* pDC, CXTPTabManagerItem* pItem, const POINT* pPoints, int nCount);
    // The open polyline through the points (same convention), the last vertex unpainted as LineTo leaves it.
    static void DrawPolyline(CDC* pDC, COLORREF clr, const POINT* pPoints, int nCount);
    // A rect adjustment stated for a top header, turned for the position: deflate by (l, t, r, b).
    static void DeflateTurned(CRect& rc, const CRect& rcTop, int nPosition);
    static void GrowTowardClient(CRect& rc, int nPosition, int n);
    // A line or pixel run in a colour; nothing for XTP_COLOR_NONE or an empty size.
    static void FillRun(CDC* pDC, int x, int y, int cx, int cy, COLORREF clr);

protected:
    CXTPTabColors* GetColors() const;
    int GetPosition() const;
    // The frame of styles 2-7 and 9: header face, then a 3-D client frame (kind 0) or one header-side line
    // (kind 1) in colours A (top-left) and B (bottom-right).
    CRect DrawPlainFrame(CDC* pDC, CXTPTabManager* pManager, CRect rcControl, COLORREF clrA, COLORREF clrB);

    CRect m_rcHeaderMargin;
    int m_nRowSpacing = -2;
    int m_nRowHeight = 18;
    CXTPTabPainter* m_pPainter = nullptr;
    BOOL m_bForwardDrawing = FALSE;
};

// Classic raised tabs with 3-D edges on a 3-D client frame.
class CXTPTabStyleDefault : public CXTPTabStyle
{
public:
    CRect GetControlMargins() const override;
    CRect DrawFrame(CDC* pDC, CXTPTabManager* pManager, CRect rcControl) override;
    void DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem) override;

protected:
    void DrawRaisedTab(CDC* pDC, CXTPTabManagerItem* pItem);
};

// The default frame; only the selected and the hot tab get a shape.
class CXTPTabStyleSelectedOnly : public CXTPTabStyleDefault
{
public:
    void DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem) override;
};

// Flat button tabs drawn by the colour set's face fill; rows do not overlap.
class CXTPTabStyleFlatButtons : public CXTPTabStyle
{
public:
    CXTPTabStyleFlatButtons() : CXTPTabStyle(CRect(2, 2, 4, 2)) { m_nRowSpacing = 0; }
    // No frame lines of its own; with the bordered client frame the client area takes the client fill.
    CRect DrawFrame(CDC* pDC, CXTPTabManager* pManager, CRect rcControl) override;
    void DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem) override;
    int GetSupportedColors() const override { return 1 | 2 | 4 | 8 | 16; }
    int GetDefaultColors() const override { return 2; }
};

// Flat tabs: the selected one filled and framed, the others separated by lines.
class CXTPTabStyleFlat : public CXTPTabStyle
{
public:
    CXTPTabStyleFlat() : CXTPTabStyle(CRect(4, 2, 4, 0)) {}
    CRect DrawFrame(CDC* pDC, CXTPTabManager* pManager, CRect rcControl) override;
    void DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem) override;
    int GetSupportedColors() const override { return 1 | 2 | 4; }
    int GetDefaultColors() const override { return 2; }
};

// Slanted tabs: one 45-degree side on the leading side.
class CXTPTabStyleSlanted : public CXTPTabStyle
{
public:
    CRect GetMargins() const override;
    CRect DrawFrame(CDC* pDC, CXTPTabManager* pManager, CRect rcControl) override;
    void DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem) override;
    int GetSupportedColors() const override { return 1 | 4 | 16; }
    int GetDefaultColors() const override { return 4; }

protected:
    // Outline colours A, B and C of a tab.
    void GetOutlineColors(CXTPTabManagerItem* pItem, COLORREF clr[3]) const;
};

// Trapezoids overlapping both neighbours, drawn in forward order.
class CXTPTabStyleTrapezoid : public CXTPTabStyleSlanted
{
public:
    CXTPTabStyleTrapezoid() { m_bForwardDrawing = TRUE; }
    CRect GetMargins() const override;
    void DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem) override;
};

// Tabs outlined as plain rectangles in the frame colour.
class CXTPTabStyleOutlined : public CXTPTabStyle
{
public:
    CXTPTabStyleOutlined() : CXTPTabStyle(CRect(2, 2, 4, 0)) {}
    CRect DrawFrame(CDC* pDC, CXTPTabManager* pManager, CRect rcControl) override;
    void DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem) override;
    int GetSupportedColors() const override { return 1 | 2 | 4; }
    int GetDefaultColors() const override { return 2; }
};

// The outlined shape with its outer corners cut and softened.
class CXTPTabStyleRounded : public CXTPTabStyleOutlined
{
public:
    void DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem) override;
    int GetDefaultColors() const override { return 1; }
};

// Trapezoids with sloped sides and a two-line outline.
class CXTPTabStyleSloped : public CXTPTabStyleOutlined
{
public:
    CXTPTabStyleSloped() { m_rcHeaderMargin = CRect(2, 3, 2, 0); }
    CRect GetMargins() const override;
    void DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem) override;
};

// No header: full-width bars stacked above and below the selected tab's page.
class CXTPTabStyleStacked : public CXTPTabStyle
{
public:
    CXTPTabStyleStacked() : CXTPTabStyle(CRect(0, 0, 0, 0)) {}
    CRect GetHeaderRect(CRect rcControl, CXTPTabManager* pManager) override;
    void RepositionTabs(CXTPTabManager* pManager, CDC* pDC, CRect rcClient) override;
    void AdjustClientRect(CXTPTabManager* pManager, CRect& rc) override;
    void DrawTabControl(CXTPTabManager* pManager, CDC* pDC, CRect rcControl) override;
    void DrawSingleItem(CDC* pDC, CXTPTabManagerItem* pItem) override;
    int GetSupportedColors() const override { return 1 | 4; }
    int GetDefaultColors() const override { return 1; }
};

// The style of an id; any id other than 1-9 gives the default style.
CXTPTabStyle* CreateTabStyle(int nID);
