// The tab styles' own shapes at fixed tab rectangles, with every colour they use overridden to a distinct value.
// Captions are empty, so every pixel comes from the shape.
#include "TabTestManager.h"

#include <gtest/gtest.h>

namespace
{
const COLORREF BG = RGB(0, 160, 0);
const COLORREF FACE = RGB(250, 240, 100);
const COLORREF SELFACE = RGB(100, 200, 250);
const COLORREF WHITE = RGB(255, 255, 255);
const COLORREF O1 = RGB(200, 0, 0), O2 = RGB(0, 0, 200), O3 = RGB(200, 200, 0), O4 = RGB(200, 0, 200),
               O5 = RGB(0, 200, 200), O6 = RGB(100, 100, 100);

struct PIXEL
{
    int x, y;
    COLORREF clr;
};

class TabShapesTest : public ::testing::Test
{
protected:
    CPinnedTabColors m_colors;
    CTestTabManager m_manager{CRect(0, 0, 300, 100)};

    // A style and colour set at a position, two tabs without captions, every colour of the set pinned apart.
    CXTPTabColors* Use(int nStyle, int nColors, int nPosition = CXTPTabPainter::positionTop)
    {
        m_manager.SetStyle(nStyle);
        m_manager.SetColors(nColors);
        m_manager.SetPosition(nPosition);
        if (m_manager.GetItemCount() == 0)
            m_manager.AddTabs({L"", L""});
        CXTPTabColors* pColors = m_manager.m_pPainter->GetColorsObject();
        pColors->m_clrNormalFace.SetValue(FACE);
        pColors->m_clrSelectedFace.SetValue(SELFACE);
        pColors->m_clrSelectedTabEdge[0].SetValue(O1);
        pColors->m_clrSelectedTabEdge[1].SetValue(O2);
        pColors->m_clrSelectedTabEdge[2].SetValue(O3);
        pColors->m_clrExtraFace.SetValue(O4);
        pColors->m_clrFrameBorder.SetValue(O2);
        COLORREF outline[6] = {O1, O2, O3, O4, O5, O6};
        for (int i = 0; i < 6; i++) {
            pColors->m_clrNormalOutline[i].SetValue(outline[i]);
            pColors->m_clrSelectedOutline[i].SetValue(outline[i]);
        }
        return pColors;
    }
    // Draws tab 1 alone in the given rectangle.
    void Draw(CPixelCanvas& canvas, CRect rc, BOOL bSelected)
    {
        m_manager.SetCurSel(bSelected ? 1 : 0);
        CXTPTabManagerItem* pItem = m_manager.GetItem(1);
        pItem->SetRect(rc);
        m_manager.m_pPainter->GetStyleObject()->DrawSingleItem(&canvas, pItem);
    }
    void Expect(CRect rc, BOOL bSelected, std::initializer_list<PIXEL> pixels, const char* pszWhat)
    {
        CPixelCanvas canvas(200, 200, BG);
        Draw(canvas, rc, bSelected);
        for (const PIXEL& p : pixels)
            EXPECT_EQ(p.clr, canvas.At(p.x, p.y)) << pszWhat << " at (" << p.x << ", " << p.y << ")";
    }
};
}

TEST_F(TabShapesTest, SlantedStyleThree)
{
    Use(3, 16);
    Expect(CRect(100, 3, 160, 23), FALSE,
           {{130, 10, FACE}, {95, 20, FACE}, {86, 12, BG},                                   // face polygon
            {160, 10, O1}, {130, 3, O1}, {160, 21, O1}, {85, 21, O1}, {84, 21, BG},          // outline A
            {159, 10, O3},                                                                   // B
            {130, 4, O4}},                                                                   // C
           "top");
    Expect(CRect(100, 3, 160, 23), TRUE,
           {{160, 10, O2}, {159, 10, WHITE}, {130, 4, WHITE}, {130, 12, SELFACE},
            {85, 22, SELFACE}, {160, 22, SELFACE}, {84, 22, BG}, {161, 22, BG}},   // the join row 22, x 85-160
           "top selected");
    Use(3, 16, CXTPTabPainter::positionLeft);
    Expect(CRect(3, 100, 23, 160), FALSE, {{15, 140, FACE}, {20, 92, FACE}, {8, 95, BG}, {3, 130, O1}}, "left");
}

TEST_F(TabShapesTest, TrapezoidStyleNine)
{
    Use(9, 16);
    Expect(CRect(100, 3, 160, 23), FALSE,
           {{130, 3, O1}, {130, 10, FACE}, {166, 22, O1}, {95, 10, BG}, {130, 4, O4}}, "top");
    // An odd thickness leaves the far row unpainted.
    Expect(CRect(100, 3, 160, 24), FALSE, {{130, 3, BG}, {130, 4, O1}}, "top, thickness 21");
    Use(9, 16, CXTPTabPainter::positionBottom);
    // No inner line along the far edge of a bottom header.
    Expect(CRect(100, 20, 160, 40), FALSE, {{130, 40, O1}, {130, 39, FACE}, {99, 28, O4}, {98, 28, O1}}, "bottom");
}

TEST_F(TabShapesTest, SlopedStyleSeven)
{
    Use(7, 2);
    Expect(CRect(10, 2, 70, 23), FALSE,
           {{40, 2, O1}, {40, 3, O4}, {70, 12, O3}, {69, 12, O5}, {40, 12, FACE}, {3, 12, BG}, {40, 21, FACE}, {40, 22, BG}},
           "top");
    Expect(CRect(10, 2, 70, 23), TRUE, {{5, 22, SELFACE}, {74, 22, SELFACE}}, "top selected");
    // One row thinner: the face's top lies a row below the outer line.
    Expect(CRect(10, 2, 70, 22), FALSE, {{40, 2, O1}, {40, 3, O4}, {40, 4, FACE}}, "top, B = 22");
    Use(7, 2, CXTPTabPainter::positionBottom);
    Expect(CRect(10, 40, 70, 61), TRUE, {{40, 60, O2}, {40, 59, O6}, {40, 40, SELFACE}, {40, 50, SELFACE}}, "bottom");
    Use(7, 2, CXTPTabPainter::positionLeft);
    Expect(CRect(2, 10, 23, 70), TRUE, {{22, 5, SELFACE}, {22, 74, SELFACE}, {12, 40, SELFACE}}, "left");
}

TEST_F(TabShapesTest, RoundedStyleTwoCutsAndSoftensItsOuterCorners)
{
    Use(2, 1);
    COLORREF clrSoft = RGB((GetRValue(O2) + GetRValue(BG)) / 2, (GetGValue(O2) + GetGValue(BG)) / 2,
                           (GetBValue(O2) + GetBValue(BG)) / 2);
    Expect(CRect(10, 2, 70, 22), FALSE,
           {{10, 2, BG}, {70, 2, BG}, {11, 2, clrSoft}, {40, 2, O2}, {10, 12, O2}, {70, 12, O2}, {40, 21, O2},
            {40, 10, FACE}, {12, 4, FACE}},
           "top");
    // Selected: the outline's client-side line leaves the tab, whose face meets the client area.
    Expect(CRect(10, 2, 70, 22), TRUE, {{40, 21, SELFACE}, {10, 21, O2}, {70, 21, O2}}, "top selected");
    Use(6, 2);
    Expect(CRect(10, 2, 70, 22), TRUE, {{40, 21, SELFACE}, {10, 2, O2}, {70, 21, O2}}, "style 6 selected");
    Expect(CRect(10, 2, 70, 22), FALSE, {{40, 21, O2}, {40, 12, FACE}}, "style 6");
}

TEST_F(TabShapesTest, RoundedStyleGivesTheDcItsOwnClipBack)
{
    Use(2, 1);
    CPixelCanvas canvas(200, 100, BG);
    CRgn rgn;
    rgn.CreateEllipticRgn(0, 0, 200, 100);
    canvas.SelectClipRgn(&rgn);
    Draw(canvas, CRect(10, 2, 70, 22), FALSE);
    CRgn after;
    after.CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(1, ::GetClipRgn(canvas, after));
    EXPECT_TRUE(after.EqualRgn(&rgn));
}

TEST_F(TabShapesTest, DefaultStyleDrawsRaisedEdges)
{
    CXTPTabColors* pColors = Use(0, 1);
    COLORREF L = pColors->m_clrTabEdge[0], S = pColors->m_clrTabEdge[1], D = pColors->m_clrTabEdge[2];
    ASSERT_TRUE(L != S && S != D && L != D);
    Expect(CRect(10, 5, 70, 25), FALSE,
           {{10, 7, L}, {10, 24, L}, {10, 6, BG}, {11, 6, L}, {12, 5, L}, {67, 5, L}, {68, 5, BG}, {68, 6, D},
            {69, 7, D}, {69, 23, D}, {69, 24, BG}, {68, 7, S}, {68, 23, S}, {40, 15, FACE}, {40, 24, BG}},
           "top");
    // Selected in row 0: grown by 2 on three sides and joined to the client area along its last row.
    Expect(CRect(10, 5, 70, 25), TRUE, {{8, 10, L}, {40, 3, L}, {71, 10, D}, {40, 24, SELFACE}, {8, 24, L}},
           "top selected");
    Use(0, 1, CXTPTabPainter::positionLeft);
    Expect(CRect(5, 10, 25, 70), FALSE, {{10, 10, L}, {5, 30, L}, {6, 11, L}, {15, 68, S}, {15, 69, D}, {15, 40, FACE}},
           "left");
    Use(0, 1, CXTPTabPainter::positionBottom);
    Expect(CRect(10, 5, 70, 25), FALSE, {{10, 10, L}, {40, 24, S}, {68, 10, S}, {40, 25, D}, {69, 10, D}}, "bottom");
}

TEST_F(TabShapesTest, FillPolygonKeepsPixelsOutsideThePolygonAndAMappedNonRectangularClip)
{
    Use(3, 16);
    CPixelCanvas canvas(100, 100, BG);
    // Two device rectangles with a gap between them, and the logical origin moved to (10, 10).
    CRgn left, right, clip;
    left.CreateRectRgn(10, 10, 40, 90);
    right.CreateRectRgn(60, 10, 90, 90);
    clip.CreateRectRgn(0, 0, 0, 0);
    clip.CombineRgn(&left, &right, RGN_OR);
    canvas.SelectClipRgn(&clip);
    canvas.SetViewportOrg(10, 10);
    POINT square[4] = {{5, 5}, {70, 0}, {0, 70}, {-70, 0}};   // logical (5, 5) to (75, 75)
    COLORREF clr = m_manager.m_pPainter->GetStyleObject()->FillPolygon(&canvas, m_manager.GetItem(0), square, 4);
    EXPECT_EQ(FACE, clr);
    canvas.SetViewportOrg(0, 0);
    struct { int x, y; COLORREF clr; } pixels[] = {
        {20, 50, FACE}, {70, 50, FACE},   // inside polygon and clip
        {50, 50, BG},                     // in the clip's gap
        {12, 12, BG}, {88, 50, BG},       // outside the polygon
    };
    for (const auto& p : pixels)
        EXPECT_EQ(p.clr, canvas.At(p.x, p.y)) << p.x << ", " << p.y;
    CRgn after;
    after.CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(1, ::GetClipRgn(canvas, after));
    EXPECT_TRUE(after.EqualRgn(&clip));
}

TEST_F(TabShapesTest, StackedBarsFrameOnlyWithItems)
{
    m_manager.SetStyle(8);
    m_manager.m_pPainter->m_nClientFrame = CXTPTabPainter::frameNone;
    CXTPTabColors* pColors = m_manager.m_pPainter->GetColorsObject();
    pColors->m_clrFrameBorder.SetValue(O2);
    pColors->m_clrClientFace.SetValue(FACE);
    m_manager.Reposition();
    CPixelCanvas empty(300, 100, BG);
    m_manager.Paint(&empty);
    EXPECT_EQ(FACE, empty.At(50, 0));
    EXPECT_EQ(FACE, empty.At(50, 50));

    m_manager.AddTabs({L"", L"", L""});
    m_manager.SetCurSel(0);
    CPixelCanvas canvas(300, 100, BG);
    m_manager.Paint(&canvas);
    EXPECT_EQ(O2, canvas.At(50, 0));
    // The bars after the selected one sit at the bottom; the page lies between.
    int R = m_manager.m_pPainter->GetStyleObject()->GetRowHeight(&m_manager);
    EXPECT_EQ(CRect(0, 1, 300, 1 + R), m_manager.GetItem(0)->GetRect());
    EXPECT_EQ(100 - 2 * R, m_manager.GetItem(1)->GetRect().top);
    EXPECT_EQ(CRect(0, 1 + R, 300, 100 - 2 * R), m_manager.GetClientRect());
    EXPECT_EQ(FACE, canvas.At(150, 50));
}

TEST_F(TabShapesTest, EveryStyleOnTheSidesAndAtTheBottom)
{
    const COLORREF LIGHT = RGB(255, 128, 0), EL = RGB(0, 255, 128), ES = RGB(128, 0, 255), ED = RGB(60, 30, 0),
                   ACC = RGB(10, 220, 150), AB1 = RGB(220, 120, 120), AB2 = RGB(40, 80, 40);
    const COLORREF SOFT = RGB((GetRValue(O2) + GetRValue(BG)) / 2, (GetGValue(O2) + GetGValue(BG)) / 2,
                              (GetBValue(O2) + GetBValue(BG)) / 2);
    const COLORREF ETCH = CPinnedTabColors::C(COLOR_BTNSHADOW), ETCH2 = CPinnedTabColors::C(COLOR_BTNHIGHLIGHT);
    enum { top = CXTPTabPainter::positionTop, left = CXTPTabPainter::positionLeft,
           bottom = CXTPTabPainter::positionBottom, right = CXTPTabPainter::positionRight };
    const CRect rcAcross(10, 5, 70, 25), rcDown(5, 10, 25, 70), rcSlanted(100, 20, 160, 40), rcSide(3, 100, 23, 160);
    struct Case
    {
        int nStyle, nColors, nPosition;
        CRect rc;
        BOOL bSelected, bHot;
        std::vector<PIXEL> pixels;
    } cases[] = {
        // Style 5: separators at the far edge of other tabs, a 3-D frame reaching 1 px toward the client.
        {5, 1, left, rcDown, FALSE, FALSE, {{7, 69, O2}, {22, 69, O2}, {6, 69, BG}, {23, 69, BG}, {15, 40, BG}}},
        {5, 1, right, rcDown, FALSE, FALSE, {{15, 69, O2}, {15, 40, BG}}},
        {5, 1, bottom, rcAcross, FALSE, FALSE, {{69, 7, O2}, {69, 22, O2}, {69, 6, BG}, {69, 23, BG}}},
        {5, 1, left, rcDown, TRUE, FALSE,
         {{5, 40, LIGHT}, {15, 10, LIGHT}, {25, 40, ED}, {15, 69, ED}, {15, 40, SELFACE}, {26, 40, BG}}},
        {5, 1, bottom, rcAcross, TRUE, FALSE,
         {{10, 15, LIGHT}, {40, 4, LIGHT}, {69, 15, ED}, {40, 24, ED}, {40, 15, SELFACE}, {40, 3, BG}}},
        {5, 1, right, rcDown, TRUE, FALSE, {{4, 40, LIGHT}, {24, 40, ED}, {3, 40, BG}}},
        // Style 6: grown by 1 at the far end; the selected tab also toward the client.
        {6, 1, left, rcDown, TRUE, FALSE,
         {{5, 40, O2}, {25, 40, O2}, {15, 10, O2}, {15, 70, O2}, {15, 40, SELFACE}, {26, 40, BG}}},
        {6, 1, right, rcDown, FALSE, FALSE, {{5, 40, O2}, {24, 40, O2}, {15, 70, O2}, {15, 40, FACE}}},
        {6, 1, bottom, rcAcross, TRUE, FALSE,
         {{10, 15, O2}, {70, 15, O2}, {40, 4, O2}, {40, 24, O2}, {40, 15, SELFACE}}},
        // Style 2: the outer corners cut and softened, the client-side ones square.
        {2, 1, left, rcDown, FALSE, FALSE,
         {{5, 10, BG}, {5, 70, BG}, {5, 11, SOFT}, {6, 10, SOFT}, {5, 69, SOFT}, {6, 70, SOFT}, {24, 10, O2},
          {5, 40, O2}, {24, 40, O2}, {15, 40, FACE}}},
        {2, 1, bottom, rcAcross, FALSE, FALSE,
         {{10, 24, BG}, {70, 24, BG}, {10, 23, SOFT}, {11, 24, SOFT}, {70, 23, SOFT}, {69, 24, SOFT}, {10, 5, O2},
          {40, 24, O2}, {40, 15, FACE}}},
        {2, 1, right, rcDown, FALSE, FALSE,
         {{24, 10, BG}, {24, 70, BG}, {24, 11, SOFT}, {23, 10, SOFT}, {24, 69, SOFT}, {23, 70, SOFT}, {5, 10, O2},
          {24, 40, O2}}},
        // Style 7, right header (2, 10, 23, 70): H 20, h 10, s 5; outer line in colour 1, inner in colour 4.
        {7, 2, right, CRect(2, 10, 23, 70), FALSE, FALSE, {{22, 40, O1}, {21, 40, O4}, {12, 40, FACE}, {2, 40, BG}}},
        {7, 2, right, CRect(2, 10, 23, 70), TRUE, FALSE,
         {{2, 5, SELFACE}, {2, 40, SELFACE}, {2, 74, SELFACE}, {2, 4, BG}, {2, 75, BG}}},
        // Style 3 at the bottom and on the right, the join line along the near edge.
        {3, 16, bottom, rcSlanted, FALSE, FALSE,
         {{130, 30, FACE}, {160, 30, O1}, {130, 40, O1}, {159, 30, O3}, {130, 39, O4}, {84, 21, O1}, {83, 21, BG}}},
        {3, 16, bottom, rcSlanted, TRUE, FALSE,
         {{160, 30, O2}, {159, 30, WHITE}, {84, 20, SELFACE}, {160, 20, SELFACE}, {83, 20, BG}, {161, 20, BG}}},
        {3, 16, right, rcSide, FALSE, FALSE,
         {{13, 130, FACE}, {23, 130, O1}, {13, 160, O1}, {13, 159, O3}, {22, 130, O4}}},
        {3, 16, right, rcSide, TRUE, FALSE, {{3, 84, SELFACE}, {3, 160, SELFACE}, {3, 83, BG}}},
        // Style 9 on the sides: the inner line along the far edge is C on the left and B on the right.
        {9, 16, left, rcSide, FALSE, FALSE, {{3, 130, O1}, {4, 130, O4}, {13, 130, FACE}, {2, 130, BG}}},
        {9, 16, right, rcSide, FALSE, FALSE, {{23, 130, O1}, {22, 130, O3}, {13, 130, FACE}, {24, 130, BG}}},
        // Style 1: the raised shape only for the selected and the hot tab.
        {1, 1, top, rcAcross, FALSE, FALSE, {{40, 15, BG}, {10, 10, BG}}},
        {1, 1, top, rcAcross, FALSE, TRUE, {{40, 15, FACE}, {10, 10, EL}, {69, 10, ED}}},
        {1, 1, left, rcDown, TRUE, FALSE, {{15, 40, SELFACE}, {3, 40, EL}}},
        // Style 4: the selected tab in the accent face and frame, the others an etched separator after them.
        {4, 1, top, rcAcross, TRUE, FALSE, {{40, 15, ACC}, {10, 15, AB1}, {40, 5, AB1}, {69, 15, AB2}, {40, 24, AB2}}},
        {4, 1, top, rcAcross, FALSE, FALSE, {{70, 15, ETCH}, {71, 15, ETCH2}, {70, 6, BG}, {70, 23, BG}, {40, 15, BG}}},
        {4, 1, left, rcDown, FALSE, FALSE, {{15, 70, ETCH}, {15, 71, ETCH2}, {6, 70, BG}, {15, 40, BG}}},
        // The default style on the right, and the corner of a left tab's lower edges.
        {0, 1, right, rcDown, FALSE, FALSE,
         {{15, 10, EL}, {24, 11, EL}, {24, 40, ES}, {15, 68, ES}, {25, 40, ED}, {15, 69, ED}, {24, 68, ED},
          {15, 40, FACE}, {5, 40, BG}}},
        {0, 1, right, rcDown, TRUE, FALSE, {{4, 40, SELFACE}, {15, 8, EL}, {27, 40, ED}}},
        {0, 1, left, rcDown, FALSE, FALSE, {{7, 68, ED}, {7, 69, ES}, {6, 68, FACE}, {15, 68, ES}, {15, 69, ED}}},
    };
    for (const Case& c : cases) {
        CXTPTabColors* pColors = Use(c.nStyle, c.nColors, c.nPosition);
        pColors->m_clrLightEdge.SetValue(LIGHT);
        pColors->m_clrTabEdge[0].SetValue(EL);
        pColors->m_clrTabEdge[1].SetValue(ES);
        pColors->m_clrTabEdge[2].SetValue(ED);
        pColors->m_clrAccentFace.SetColor(ACC);
        pColors->m_clrAccentBorder.SetColors(AB1, AB2);
        m_manager.SetHotItem(c.bHot ? m_manager.GetItem(1) : nullptr);
        CPixelCanvas canvas(200, 200, BG);
        Draw(canvas, c.rc, c.bSelected);
        for (const PIXEL& p : c.pixels)
            EXPECT_EQ(p.clr, canvas.At(p.x, p.y)) << "style " << c.nStyle << ", position " << c.nPosition
                                                  << (c.bSelected ? ", selected" : "") << (c.bHot ? ", hot" : "")
                                                  << " at (" << p.x << ", " << p.y << ")";
    }
    m_manager.SetHotItem(nullptr);
}

// The client frame's parts: with a static frame the border is the frame colour outside and the button face
// inside, and a band between two client areas is the header's face edged in the frame colour on both client
// sides; without one every part is the header's face. No part moves the rectangle but the inside.
TEST_F(TabShapesTest, ClientPartsOfTheStaticFrame)
{
    const COLORREF HEAD = RGB(10, 120, 250);
    const COLORREF C15 = CPinnedTabColors::C(COLOR_BTNFACE);
    CXTPTabColors* pColors = Use(0, 1);
    pColors->m_clrHeaderFace.SetColors(HEAD, HEAD);
    struct Case
    {
        const char* pszWhat;
        BOOL bStatic;
        int nPart;
        CRect rc;
        std::initializer_list<PIXEL> pixels;
    } cases[] = {
        {"border", TRUE, CXTPTabStyle::clientPartBorder, CRect(10, 10, 60, 50),
         {{10, 10, O2}, {35, 10, O2}, {10, 30, O2}, {59, 49, O2}, {35, 49, O2}, {59, 30, O2}, {11, 11, C15},
          {35, 11, C15}, {58, 48, C15}, {12, 12, BG}, {35, 30, BG}, {9, 30, BG}, {60, 30, BG}}},
        {"upright band", TRUE, CXTPTabStyle::clientPartBandUpright, CRect(30, 10, 35, 50),
         {{30, 20, O2}, {34, 20, O2}, {31, 20, HEAD}, {33, 45, HEAD}, {29, 20, BG}, {35, 20, BG}, {32, 50, BG}}},
        {"band across", TRUE, CXTPTabStyle::clientPartBandAcross, CRect(10, 30, 60, 35),
         {{20, 30, O2}, {20, 34, O2}, {20, 31, HEAD}, {59, 33, HEAD}, {20, 29, BG}, {20, 35, BG}, {60, 32, BG}}},
        {"border without a static frame", FALSE, CXTPTabStyle::clientPartBorder, CRect(10, 10, 60, 50),
         {{10, 10, HEAD}, {11, 11, HEAD}, {35, 30, HEAD}, {59, 49, HEAD}, {60, 30, BG}}},
        {"band without a static frame", FALSE, CXTPTabStyle::clientPartBandUpright, CRect(30, 10, 35, 50),
         {{30, 20, HEAD}, {34, 20, HEAD}, {35, 20, BG}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        m_manager.m_pPainter->m_bStaticFrame = c.bStatic;
        EXPECT_EQ(c.bStatic, m_manager.IsDrawStaticFrame());
        CPixelCanvas canvas(100, 100, BG);
        CRect rc = c.rc;
        m_manager.m_pPainter->GetStyleObject()->FillClientPart(&canvas, &m_manager, rc, c.nPart);
        EXPECT_EQ(c.rc, rc);
        for (const PIXEL& p : c.pixels)
            EXPECT_EQ(p.clr, canvas.At(p.x, p.y)) << "at (" << p.x << ", " << p.y << ")";
    }
    // The area inside the border, where nothing is drawn: one pixel in with the static frame, two without.
    for (BOOL bStatic : {TRUE, FALSE}) {
        m_manager.m_pPainter->m_bStaticFrame = bStatic;
        CRect rc(10, 10, 60, 50);
        m_manager.m_pPainter->GetStyleObject()->FillClientPart(nullptr, &m_manager, rc, CXTPTabStyle::clientPartInside);
        EXPECT_EQ(bStatic ? CRect(11, 11, 59, 49) : CRect(12, 12, 58, 48), rc);
    }
}

// A tab control with a static frame draws the border round its client area and keeps its page inside it: two
// pixels off every side but the header's, one off that.
TEST_F(TabShapesTest, AStaticFrameBordersThePage)
{
    const COLORREF C15 = CPinnedTabColors::C(COLOR_BTNFACE);
    struct Case
    {
        int nPosition;
        CRect rcLess;
    } cases[] = {
        {CXTPTabPainter::positionTop, CRect(2, 1, 2, 2)},
        {CXTPTabPainter::positionLeft, CRect(1, 2, 2, 2)},
        {CXTPTabPainter::positionBottom, CRect(2, 2, 2, 1)},
        {CXTPTabPainter::positionRight, CRect(2, 2, 1, 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nPosition);
        Use(4, 2, c.nPosition);
        m_manager.m_pPainter->m_nClientFrame = CXTPTabPainter::frameNone;
        m_manager.m_pPainter->m_bStaticFrame = FALSE;
        m_manager.Reposition();
        const CRect rcPlain = m_manager.GetClientRect();
        m_manager.m_pPainter->m_bStaticFrame = TRUE;
        m_manager.Reposition();
        CRect rcExpected = rcPlain;
        rcExpected.DeflateRect(c.rcLess.left, c.rcLess.top, c.rcLess.right, c.rcLess.bottom);
        EXPECT_EQ(rcExpected, m_manager.GetClientRect());

        // The border lies on the client rect (which overlaps the header by a row): the frame colour outside,
        // the button face inside, on the sides away from the header.
        CRect rcClient = m_manager.m_pPainter->GetStyleObject()->GetClientRect(m_manager.m_rcLayout, &m_manager);
        CPixelCanvas canvas(300, 100, BG);
        m_manager.Paint(&canvas);
        CPoint ptFar = c.nPosition == CXTPTabPainter::positionBottom ? CPoint(rcClient.CenterPoint().x, rcClient.top)
                       : c.nPosition == CXTPTabPainter::positionRight ? CPoint(rcClient.left, rcClient.CenterPoint().y)
                       : CPoint(rcClient.CenterPoint().x, rcClient.bottom - 1);
        CPoint ptIn = ptFar + (c.nPosition == CXTPTabPainter::positionBottom  ? CPoint(0, 1)
                               : c.nPosition == CXTPTabPainter::positionRight ? CPoint(1, 0)
                                                                              : CPoint(0, -1));
        EXPECT_EQ(O2, canvas.At(ptFar.x, ptFar.y));
        EXPECT_EQ(C15, canvas.At(ptIn.x, ptIn.y));
        m_manager.m_pPainter->m_bStaticFrame = FALSE;
        CPixelCanvas plain(300, 100, BG);
        m_manager.Paint(&plain);
        EXPECT_NE(O2, plain.At(ptFar.x, ptFar.y));
    }
}

// The flat button style draws no frame of its own: only the bordered client frame fills the client area.
TEST_F(TabShapesTest, FlatButtonsFillTheClientOnlyWithTheBorderedFrame)
{
    struct Case
    {
        int nFrame;
        COLORREF clrClient;
    } cases[] = {
        {CXTPTabPainter::frameBorder, SELFACE},
        {CXTPTabPainter::frameSingleLine, BG},
        {CXTPTabPainter::frameNone, BG},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nFrame);
        Use(4, 2);
        m_manager.SetCurSel(1);
        m_manager.m_pPainter->m_nClientFrame = c.nFrame;
        m_manager.Reposition();
        CPixelCanvas canvas(300, 100, BG);
        m_manager.Paint(&canvas);
        CRect rcClient = m_manager.GetClientRect();
        EXPECT_EQ(c.clrClient, canvas.At(rcClient.CenterPoint().x, rcClient.CenterPoint().y));
        EXPECT_EQ(c.clrClient, canvas.At(rcClient.right - 1, rcClient.bottom - 1));
    }
}
