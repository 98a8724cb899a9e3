#include "DisplayBits.h"
#include "PixelCanvas.h"

#include "ui/themes/ColorTable.h"
#include "ui/themes/DrawHelpers.h"
#include "ui/themes/MemDC.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
const COLORREF clrWhite = RGB(255, 255, 255), clrBlack = 0, clrRed = RGB(255, 0, 0), clrBlue = RGB(0, 0, 255);

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

void ExpectPixels(const CPixelCanvas& canvas, std::initializer_list<PIXEL> pixels)
{
    for (const PIXEL& p : pixels)
        EXPECT_EQ(p.clr, canvas.At(p.x, p.y)) << "at (" << p.x << ", " << p.y << ")";
}
}

TEST(GradientPainter, SystemGradientRunsFromStartToEndColour)
{
    CGradientPainter* pPainter = GetGradientPainter();
    ASSERT_TRUE(pPainter->HasGradientFill());
    for (BOOL bHorizontal : {FALSE, TRUE}) {
        CPixelCanvas canvas(100, 100);
        CRect rc(0, 0, 100, 100);
        pPainter->DrawGradient(&canvas, &rc, clrRed, clrBlue, bHorizontal);
        auto at = [&](int i) { return bHorizontal ? canvas.At(i, 50) : canvas.At(50, i); };
        EXPECT_LE(ChannelDifference(clrRed, at(0)), 3);
        EXPECT_LE(ChannelDifference(clrBlue, at(99)), 5);
        EXPECT_LE(ChannelDifference(RGB(128, 0, 128), at(50)), 5);
        for (int i = 1; i < 100; i++)
            ASSERT_LE(GetRValue(at(i)), GetRValue(at(i - 1))) << i;
        // Across the gradient nothing changes.
        EXPECT_EQ(bHorizontal ? canvas.At(30, 0) : canvas.At(0, 30), bHorizontal ? canvas.At(30, 99) : canvas.At(99, 30));
    }
}

TEST(GradientPainter, WithoutTheSystemFunctionPaintsBlendedStrips)
{
    CGradientPainter painter(L"QuarzelNoSuchMsimg32.dll");
    ASSERT_FALSE(painter.HasGradientFill());
    EXPECT_FALSE(painter.GradientFill(nullptr, nullptr, 0, nullptr, 0, GRADIENT_FILL_RECT_V));

    CPixelCanvas canvas(60, 60);
    CRect rc(10, 5, 50, 55);
    painter.DrawGradient(&canvas, &rc, clrRed, clrBlue, FALSE);
    for (int i = 0; i < 50; i++)
        ASSERT_EQ(BlendColorsByAlpha(clrRed, clrBlue, 1.0f - i / 50.0f), canvas.At(30, 5 + i)) << "row " << i;
    ExpectPixels(canvas, {{9, 20, clrWhite}, {50, 20, clrWhite}, {30, 4, clrWhite}, {30, 55, clrWhite}});

    CRect rcColumns(0, 0, 4, 2);
    painter.DrawGradient(&canvas, &rcColumns, clrBlack, clrWhite, TRUE);
    ExpectPixels(canvas, {{0, 1, clrBlack}, {1, 1, RGB(63, 63, 63)}, {2, 1, RGB(127, 127, 127)},
                          {3, 1, RGB(191, 191, 191)}});
}

TEST(GradientPainter, EqualColoursFillSolidlyAndEmptyRectanglesNothing)
{
    CGradientPainter fallback(L"QuarzelNoSuchMsimg32.dll");
    for (CGradientPainter* pPainter : {GetGradientPainter(), &fallback}) {
        CPixelCanvas canvas(20, 20);
        CRect rc(0, 0, 20, 20), rcEmpty(5, 5, 5, 15);
        pPainter->DrawGradient(&canvas, &rcEmpty, clrBlack, clrRed, FALSE);
        pPainter->DrawGradient(&canvas, nullptr, clrBlack, clrRed, FALSE);
        EXPECT_EQ(clrWhite, canvas.At(5, 10));
        pPainter->DrawGradient(&canvas, &rc, RGB(1, 2, 3), RGB(1, 2, 3), FALSE);
        ExpectPixels(canvas, {{0, 0, RGB(1, 2, 3)}, {19, 19, RGB(1, 2, 3)}, {7, 13, RGB(1, 2, 3)}});
    }
}

TEST(GradientPainter, LowColourDCsFillSolidly)
{
    CGradientPainter fallback(L"QuarzelNoSuchMsimg32.dll");
    for (CGradientPainter* pPainter : {GetGradientPainter(), &fallback}) {
        CPixelCanvas canvas(20, 20);
        CRect rc(0, 0, 20, 20);
        {
            // Only the DC drawn into counts, not the desktop's.
            CDisplayBits display(8, canvas.GetSafeHdc());
            pPainter->DrawGradient(&canvas, &rc, clrRed, clrBlue, FALSE);
        }
        ExpectPixels(canvas, {{0, 0, clrRed}, {10, 10, clrRed}, {19, 19, clrRed}});
        {
            CPixelCanvas other(1, 1);
            CDisplayBits display(8, other.GetSafeHdc());
            pPainter->DrawGradient(&canvas, &rc, clrRed, clrBlue, FALSE);
        }
        EXPECT_GT(GetBValue(canvas.At(10, 19)), 200) << "a gradient where the DC has more colours";
    }
}

TEST(GradientPainter, FourColourGradientsRunInTwoHalves)
{
    CGradientPainter painter(L"QuarzelNoSuchMsimg32.dll");
    CColorGradient gradient(RGB(0, 0, 0), RGB(100, 100, 100), RGB(200, 0, 0), RGB(0, 0, 200));
    CPixelCanvas canvas(10, 100);
    CRect rc(0, 0, 10, 100);
    painter.FillGradient(&canvas, &rc, &gradient, FALSE);
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(5, 0));
    EXPECT_EQ(BlendColorsByAlpha(RGB(0, 0, 0), RGB(100, 100, 100), 1.0f - 49 / 50.0f), canvas.At(5, 49));
    EXPECT_EQ(RGB(200, 0, 0), canvas.At(5, 50));
    EXPECT_EQ(BlendColorsByAlpha(RGB(200, 0, 0), RGB(0, 0, 200), 1.0f - 49 / 50.0f), canvas.At(5, 99));

    // Without middle colours there is one run; overrides win over the defaults.
    CColorGradient plain(RGB(0, 0, 0), RGB(0, 0, 200));
    plain.SetColors(RGB(200, 0, 0), RGB(0, 200, 0));
    painter.FillGradient(&canvas, &rc, &plain, FALSE);
    EXPECT_EQ(RGB(200, 0, 0), canvas.At(5, 0));
    EXPECT_EQ(BlendColorsByAlpha(RGB(200, 0, 0), RGB(0, 200, 0), 1.0f - 60 / 100.0f), canvas.At(5, 60));
}

// Each strip's weight is computed in single precision: the 32-bit and the 64-bit release must draw the same
// pixels, so the expected values are the exact results of that arithmetic, at rows where a wider intermediate
// (the x87 unit's) would land on the other side of a whole channel value.
TEST(GradientPainter, StripsRoundAlikeInBothReleases)
{
    struct CASE
    {
        COLORREF clrFrom, clrTo;
        int nRow;
        COLORREF clrExpected;
    };
    const CASE cases[] = {
        {RGB(200, 0, 0), RGB(0, 200, 0), 4, RGB(192, 8, 0)},
        {RGB(200, 0, 0), RGB(0, 200, 0), 9, RGB(182, 18, 0)},
        {RGB(200, 0, 0), RGB(0, 200, 0), 60, RGB(79, 120, 0)},
        {RGB(0, 0, 0), RGB(100, 100, 100), 9, RGB(9, 9, 9)},
        {RGB(0, 0, 0), RGB(100, 100, 100), 16, RGB(15, 15, 15)},
        {RGB(255, 255, 255), RGB(0, 0, 0), 60, RGB(101, 101, 101)},
        {RGB(255, 255, 255), RGB(0, 0, 0), 80, RGB(50, 50, 50)},
        {RGB(0x8C, 0xD5, 0xFF), RGB(0x55, 0xAD, 0xFF), 5, RGB(137, 211, 255)},
        {RGB(0x8C, 0xD5, 0xFF), RGB(0x55, 0xAD, 0xFF), 55, RGB(109, 191, 255)},
    };
    CGradientPainter painter(L"QuarzelNoSuchMsimg32.dll");
    CPixelCanvas canvas(4, 100);
    CRect rc(0, 0, 4, 100);
    for (const CASE& c : cases) {
        painter.DrawGradient(&canvas, &rc, c.clrFrom, c.clrTo, FALSE);
        EXPECT_EQ(c.clrExpected, canvas.At(2, c.nRow)) << "from " << c.clrFrom << " to " << c.clrTo << " row " << c.nRow;
    }
}

TEST(DrawHelpers, ExcludeCornersLeavesTheCornerPixels)
{
    CPixelCanvas canvas(20, 20);
    CRect rc(2, 2, 12, 10);
    ExcludeCorners(&canvas, rc);
    canvas.FillSolidRect(&rc, clrBlack);
    ExpectPixels(canvas, {{2, 2, clrWhite}, {11, 2, clrWhite}, {2, 9, clrWhite}, {11, 9, clrWhite},
                          {3, 2, clrBlack}, {2, 3, clrBlack}, {10, 2, clrBlack}, {11, 3, clrBlack},
                          {3, 9, clrBlack}, {2, 8, clrBlack}, {10, 9, clrBlack}, {11, 8, clrBlack}});
}

TEST(DrawHelpers, PinGlyphs)
{
    const CPoint pt(10, 10);
    {
        SCOPED_TRACE("upright");
        CPixelCanvas canvas(20, 20);
        DrawPinGlyph(&canvas, pt, FALSE);
        ExpectPixels(canvas, {
            {7, 11, clrBlack}, {13, 11, clrBlack}, {14, 11, clrWhite},     // base
            {10, 14, clrBlack}, {10, 15, clrWhite},                        // needle
            {8, 6, clrBlack}, {11, 6, clrBlack}, {12, 8, clrBlack},        // head outline
            {11, 9, clrBlack},                                             // thickened right side
            {9, 8, clrWhite}, {10, 8, clrWhite}, {13, 8, clrWhite}, {10, 5, clrWhite},
        });
    }
    {
        SCOPED_TRACE("lying");
        CPixelCanvas canvas(20, 20);
        DrawPinGlyph(&canvas, pt, TRUE);
        ExpectPixels(canvas, {
            {6, 10, clrBlack}, {8, 10, clrBlack}, {5, 10, clrWhite},       // needle
            {9, 7, clrBlack}, {9, 13, clrBlack}, {9, 14, clrWhite},        // base
            {12, 12, clrBlack}, {13, 9, clrBlack}, {11, 8, clrBlack},      // head outline
            {11, 11, clrBlack},                                            // thickened lower side
            {11, 10, clrWhite}, {12, 10, clrWhite}, {14, 10, clrWhite},
        });
    }
}

TEST(DrawHelpers, MaximizeAndRestoreGlyphs)
{
    const CPoint pt(10, 10);
    {
        SCOPED_TRACE("maximised: one window of 9 by 9");
        CPixelCanvas canvas(20, 20);
        DrawMaximizeGlyph(&canvas, pt, TRUE, clrRed);
        ExpectPixels(canvas, {{5, 5, clrRed}, {13, 5, clrRed}, {9, 6, clrRed}, {5, 13, clrRed}, {13, 13, clrRed},
                              {9, 7, clrWhite}, {6, 12, clrWhite}, {14, 5, clrWhite}, {5, 14, clrWhite}});
    }
    {
        SCOPED_TRACE("restore: a window of 6 by 6 before the edges of another");
        CPixelCanvas canvas(20, 20);
        DrawMaximizeGlyph(&canvas, pt, FALSE, clrRed);
        ExpectPixels(canvas, {
            {6, 8, clrRed}, {11, 9, clrRed}, {6, 13, clrRed}, {11, 13, clrRed},   // front window
            {8, 11, clrWhite}, {12, 13, clrWhite},
            {8, 5, clrRed}, {13, 6, clrRed}, {8, 7, clrRed}, {13, 10, clrRed}, {12, 10, clrRed},   // behind
            {9, 7, clrWhite}, {13, 11, clrWhite}, {14, 5, clrWhite},
        });
    }
}

TEST(DrawHelpers, OffscreenDCCopiesBackItsRectangleOnly)
{
    CPixelCanvas canvas(60, 60);
    {
        COffscreenDC dc(&canvas, CRect(10, 10, 50, 40));
        dc.FillSolidRect(0, 0, 60, 60, clrRed);
        dc.SetPixel(25, 25, clrBlue);
        EXPECT_EQ(clrWhite, canvas.At(25, 25)) << "nothing reaches the destination before the end";
    }
    ExpectPixels(canvas, {{10, 10, clrRed}, {49, 39, clrRed}, {25, 25, clrBlue}, {9, 10, clrWhite},
                          {10, 9, clrWhite}, {50, 39, clrWhite}, {49, 40, clrWhite}});
}

TEST(MemDC, FillsTheBackgroundAndCopiesBackWhenItGoes)
{
    CPixelCanvas canvas(40, 40);
    {
        CXTMemDC dc(&canvas, CRect(0, 0, 30, 20), CColorGradient(clrBlue));
        dc.FillSolidRect(5, 5, 2, 2, clrRed);
        EXPECT_EQ(clrWhite, canvas.At(1, 1));
    }
    ExpectPixels(canvas, {{0, 0, clrBlue}, {29, 19, clrBlue}, {5, 5, clrRed}, {6, 6, clrRed}, {7, 7, clrBlue},
                          {30, 0, clrWhite}, {0, 20, clrWhite}});
}

TEST(MemDC, ARectangleAwayFromTheOriginKeepsTheCallersCoordinates)
{
    CPixelCanvas canvas(60, 60);
    {
        CXTMemDC dc(&canvas, CRect(10, 20, 40, 50), CColorGradient(clrBlue));
        dc.FillSolidRect(10, 20, 3, 3, clrRed);
        dc.SetPixel(39, 49, clrBlack);
    }
    ExpectPixels(canvas, {{10, 20, clrRed}, {12, 22, clrRed}, {13, 23, clrBlue}, {38, 49, clrBlue},
                          {39, 49, clrBlack}, {9, 20, clrWhite}, {10, 19, clrWhite}, {40, 49, clrWhite},
                          {39, 50, clrWhite}});
}

TEST(MemDC, DiscardedOrUnclearedBuffers)
{
    CPixelCanvas canvas(40, 40);
    {
        CXTMemDC dc(&canvas, CRect(0, 0, 40, 40), CColorGradient(clrBlue));
        dc.Discard();
    }
    EXPECT_EQ(clrWhite, canvas.At(20, 20)) << "a discarded buffer leaves the screen unchanged";

    canvas.SetPixel(12, 12, clrRed);
    {
        // Without an end colour the buffer is not cleared: the caller copies the screen in and paints over it.
        CXTMemDC dc(&canvas, CRect(10, 10, 30, 30), CColorGradient());
        dc.CopyFromDestination();
        dc.SetPixel(20, 20, clrBlack);
        EXPECT_EQ(clrRed, dc.GetPixel(12, 12));
    }
    ExpectPixels(canvas, {{12, 12, clrRed}, {13, 13, clrWhite}, {20, 20, clrBlack}});
}

TEST(MemDC, AnEmptyRectangleCoversTheClipBox)
{
    CPixelCanvas canvas(40, 40);
    canvas.IntersectClipRect(5, 6, 25, 16);
    {
        CXTMemDC dc(&canvas, CRect(), CColorGradient(clrRed));
        EXPECT_EQ(CRect(5, 6, 25, 16), dc.GetRect());
    }
    canvas.SelectClipRgn(nullptr);
    ExpectPixels(canvas, {{5, 6, clrRed}, {24, 15, clrRed}, {4, 6, clrWhite}, {25, 15, clrWhite}});
}

TEST(MemDC, PatternRectIsACheckerboardOfFaceAndHighlight)
{
    COLORREF clrFace = GetStandardColor(COLOR_3DFACE), clrLight = GetStandardColor(COLOR_3DHILIGHT);
    ASSERT_NE(clrFace, clrLight);
    CPixelCanvas canvas(20, 20);
    canvas.SetTextColor(clrRed);
    canvas.SetBkColor(clrBlue);
    DrawPatternRect(&canvas, CRect(2, 2, 18, 18));
    for (int y = 2; y < 18; y++)
        for (int x = 2; x < 18; x++)
            ASSERT_EQ((x + y) % 2 == 0 ? clrFace : clrLight, canvas.At(x, y)) << x << ", " << y;
    EXPECT_EQ(clrWhite, canvas.At(1, 1));
    EXPECT_EQ(clrRed, canvas.GetTextColor());
    EXPECT_EQ(clrBlue, canvas.GetBkColor());
}
