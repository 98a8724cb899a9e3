// Tab drawing in 32-bit memory DCs with pinned colours. Pixel samples keep away from the captions.
#include "TabTestManager.h"

#include "ui/themes/ColorRef.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
typedef CXTPTabManagerNavigateButton CNavButton;
const COLORREF clrBack = RGB(0, 160, 0);   // the canvas before drawing

int ChannelDifference(COLORREF a, COLORREF b)
{
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

struct PIXEL
{
    int x, y;
    COLORREF clr;
};

void ExpectPixels(const CPixelCanvas& canvas, std::initializer_list<PIXEL> pixels, const char* pszWhat)
{
    for (const PIXEL& p : pixels)
        EXPECT_EQ(p.clr, canvas.At(p.x, p.y)) << pszWhat << " at (" << p.x << ", " << p.y << ")";
}

COLORREF C(UINT nIndex)
{
    return CPinnedTabColors::C(nIndex);
}

// The input forms' strip: style 5, colour set 4, scheme colours switched off.
class FlatTabsTest : public ::testing::Test
{
protected:
    CPinnedTabColors m_colors{CColorTable::schemeBlue};
    CTestTabManager m_manager{CRect(0, 0, 300, 100)};

    void SetUp() override
    {
        m_manager.m_pPainter->SetOption(TRUE);
        m_manager.SetStyle(5);
        m_manager.SetColors(4);
        m_manager.AddTabs({L"Entrate", L"Spese", L"Riepilogo"});
        m_manager.SetCurSel(1);
    }
};
}

TEST_F(FlatTabsTest, SelectedTabOpensIntoTheClientAndTheOthersAreSeparated)
{
    CPixelCanvas canvas(300, 100, clrBack);
    m_manager.Paint(&canvas);
    CRect rc0 = m_manager.GetItem(0)->GetRect(), rc1 = m_manager.GetItem(1)->GetRect();
    ASSERT_EQ(CRect(4, 2, rc0.right, 22), rc0);
    ASSERT_EQ(rc0.right, rc1.left);
    int x = rc1.CenterPoint().x;
    COLORREF clrFace = C(COLOR_BTNFACE);   // switched-off scheme colours: the plain face
    ExpectPixels(canvas,
                 {
                     {rc1.left, 3, C(COLOR_BTNHIGHLIGHT)},       // light edge, left
                     {x, 2, C(COLOR_BTNHIGHLIGHT)},              // and top
                     {rc1.right - 1, 10, C(COLOR_3DDKSHADOW)},   // dark edge on the right
                     {rc1.left, 21, C(COLOR_BTNHIGHLIGHT)},      // the sides reach the client frame's row
                     {rc1.right - 1, 21, C(COLOR_3DDKSHADOW)},
                     {rc0.CenterPoint().x, 21, C(COLOR_BTNHIGHLIGHT)},   // the frame line under another tab
                     {rc0.right - 1, 10, C(COLOR_BTNSHADOW)},    // separator from top + 2 to bottom - 2
                     {rc0.right - 1, 4, C(COLOR_BTNSHADOW)},
                     {rc0.right - 1, 19, C(COLOR_BTNSHADOW)},
                     {0, 50, C(COLOR_BTNHIGHLIGHT)},             // client frame: light top-left,
                     {299, 50, C(COLOR_BTNTEXT)},                // selected-text colour bottom-right
                     {150, 99, C(COLOR_BTNTEXT)},
                     {150, 50, clrFace},                         // client filled with the selected face
                 },
                 "style 5");
    // The face covers the frame line under the selected tab.
    EXPECT_LE(ChannelDifference(clrFace, canvas.At(x, 21)), 4);
    EXPECT_NE(C(COLOR_BTNSHADOW), canvas.At(rc0.right - 1, 3));
    EXPECT_NE(C(COLOR_BTNSHADOW), canvas.At(rc0.right - 1, 20));
    // The selected face runs from 30 % of its colour with white to the colour.
    EXPECT_LE(ChannelDifference(BlendColors(clrFace, 0xFFFFFF, 300), canvas.At(x, 3)), 4);
    EXPECT_LE(ChannelDifference(clrFace, canvas.At(x, 20)), 4);
}

TEST_F(FlatTabsTest, HeaderRunsFromTheFaceToTheBlendWithTheWindowColour)
{
    // From the outer edge toward the client, turned for a bottom header; the reverse option turns it back.
    struct Case { int nPosition; BOOL bReverse; int yFace, yBlend; } cases[] = {
        {CXTPTabPainter::positionTop, FALSE, 0, 20},
        {CXTPTabPainter::positionBottom, FALSE, 99, 79},
        {CXTPTabPainter::positionBottom, TRUE, 79, 99},
    };
    for (const Case& c : cases) {
        m_manager.m_pPainter->m_bInvertGradient = c.bReverse;
        m_manager.SetPosition(c.nPosition);
        CPixelCanvas canvas(300, 100, clrBack);
        m_manager.Paint(&canvas);
        SCOPED_TRACE(testing::Message() << "position " << c.nPosition << ", reverse " << c.bReverse);
        EXPECT_LE(ChannelDifference(C(COLOR_BTNFACE), canvas.At(290, c.yFace)), 3);
        EXPECT_LE(ChannelDifference(BlendColors(C(COLOR_BTNFACE), C(COLOR_WINDOW), 205), canvas.At(290, c.yBlend)), 8);
        int nStep = c.yBlend > c.yFace ? 1 : -1;
        for (int y = c.yFace + nStep; y != c.yBlend; y += nStep)
            ASSERT_GE(GetRValue(canvas.At(290, y)), GetRValue(canvas.At(290, y - nStep))) << y;
    }
}

TEST_F(FlatTabsTest, ArrowsAndCloseButtonGlyphs)
{
    m_manager.AddTabs({L"Allegato A", L"Allegato B", L"Allegato C", L"Allegato D", L"Allegato E"});
    m_manager.FindNavigateButton(CNavButton::idClose)->SetMode(CNavButton::modeShow);
    m_manager.Reposition();
    CPixelCanvas canvas(300, 100, clrBack);
    m_manager.Paint(&canvas);
    CNavButton* pBack = m_manager.FindNavigateButton(CNavButton::idBack);
    CNavButton* pForward = m_manager.FindNavigateButton(CNavButton::idForward);
    CNavButton* pClose = m_manager.FindNavigateButton(CNavButton::idClose);
    ASSERT_FALSE(pForward->GetRect().IsRectEmpty());
    ASSERT_FALSE(pBack->IsEnabled());
    ASSERT_TRUE(pForward->IsEnabled());
    CPoint f = pForward->GetRect().CenterPoint(), b = pBack->GetRect().CenterPoint();
    CRect c = pClose->GetRect();
    COLORREF clrGlyph = C(COLOR_BTNTEXT);
    ExpectPixels(canvas,
                 {
                     {f.x - 1, f.y - 1, clrGlyph},   // an enabled arrow is filled
                     {f.x - 2, f.y - 5, clrGlyph},
                     {b.x - 2, b.y - 1, clrGlyph},   // a disabled one is an outline
                     {b.x + 2, b.y - 5, clrGlyph},
                     {c.left + 3, c.top + 3, clrGlyph},   // the two-pixel cross
                     {c.left + 4, c.top + 3, clrGlyph},
                     {c.left + 3, c.bottom - 6, clrGlyph},
                 },
                 "buttons");
    EXPECT_NE(clrGlyph, canvas.At(b.x + 1, b.y - 1));
}

TEST_F(FlatTabsTest, AnIconIsDrawnInItsCellBeforeTheCaption)
{
    m_manager.m_iconItems = {0};
    m_manager.Reposition();
    CPixelCanvas canvas(300, 100, clrBack);
    m_manager.Paint(&canvas);
    CRect rc = m_manager.GetItem(0)->GetRect();
    int y = rc.CenterPoint().y;
    EXPECT_EQ(RGB(255, 0, 255), canvas.At(rc.left + 6, y));
    EXPECT_EQ(RGB(255, 0, 255), canvas.At(rc.left + 6 + 15, y));
    EXPECT_NE(RGB(255, 0, 255), canvas.At(rc.left + 6 + 16, y));
}
