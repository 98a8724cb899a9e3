#include "ui/themes/ColorRef.h"
#include "ui/themes/ColorTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace
{
int ChannelDifference(COLORREF a, COLORREF b)
{
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

double Brightness(COLORREF clr) { return CColorTable::GetColorDistance(clr, 0); }
}

TEST(BlendColors, WeightsBelow100ArePercentAndFrom100PerMille)
{
    struct Case { COLORREF a, b; int w; COLORREF expected; } cases[] = {
        {0x0000FF, 0xFF0000, 50, 0x800080},
        {0x0000FF, 0xFF0000, 0, 0xFF0000},
        {0x0000FF, 0xFF0000, 99, RGB(252, 0, 3)},     // (255×99 + 50)/100, (255×1 + 50)/100
        {0x0000FF, 0xFF0000, 100, RGB(26, 0, 230)},   // 10 % of a, no longer all of a
        {0x0000FF, 0xFF0000, 165, RGB(42, 0, 213)},   // 16.5 % of a, 83.5 % of b
        {RGB(10, 20, 30), RGB(10, 20, 30), 37, RGB(10, 20, 30)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, BlendColors(c.a, c.b, c.w)) << "w " << c.w;
}

TEST(ColorContrast, ThresholdDoublesForBlackAndStaysFromBrightness220)
{
    struct Case { int brightness, distance; double expected; } cases[] = {
        {0, 35, 70}, {110, 35, 52.5}, {220, 35, 35}, {400, 35, 35}, {0, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(c.expected, CColorTable::GetContrastThreshold(c.brightness, c.distance), 1e-4)
            << c.brightness << ", " << c.distance;
}

TEST(ColorContrast, IsContrastEnoughComparesWithTheScaledOrPlainThreshold)
{
    for (float t : {0.0f, 1.0f, 100.0f})
        EXPECT_FALSE(CColorTable::IsContrastEnough(RGB(90, 120, 200), RGB(90, 120, 200), TRUE, t)) << t;
    // Black against white, about 441 apart; black doubles the scaled threshold.
    EXPECT_TRUE(CColorTable::IsContrastEnough(0, 0xFFFFFF, TRUE, 100));
    EXPECT_FALSE(CColorTable::IsContrastEnough(0, 0xFFFFFF, TRUE, 230));   // scaled: 460
    EXPECT_TRUE(CColorTable::IsContrastEnough(0, 0xFFFFFF, FALSE, 230));   // plain: 230
    // Unscaled near the distance: strictly greater is needed.
    double distance = CColorTable::GetColorDistance(RGB(255, 0, 0), RGB(0, 0, 0));
    EXPECT_NEAR(195.0, distance, 1e-9);
    EXPECT_TRUE(CColorTable::IsContrastEnough(RGB(255, 0, 0), 0, FALSE, 194.9f));
    EXPECT_FALSE(CColorTable::IsContrastEnough(RGB(255, 0, 0), 0, FALSE, 195.0f));
}

TEST(ColorContrast, ReduceMovesTowardTheReferenceToTheThreshold)
{
    // The expected colours are worked out by hand from the weighted channels (a move the wrong way, or a
    // rounding off by one, shows here even where the distance would still look right).
    struct Case { COLORREF a, b; float t; COLORREF expected; } cases[] = {
        {RGB(212, 208, 200), RGB(255, 255, 255), 35, RGB(231, 228, 224)},
        {RGB(0, 0, 0), RGB(255, 255, 255), 50, RGB(58, 58, 58)},
        {RGB(255, 255, 255), RGB(10, 36, 106), 145, RGB(163, 173, 199)},
        {RGB(30, 30, 30), RGB(200, 100, 0), 20, RGB(66, 45, 24)},
    };
    for (const Case& c : cases) {
        double threshold = CColorTable::GetContrastThreshold(static_cast<int>(Brightness(c.a)), static_cast<int>(c.t));
        ASSERT_GT(CColorTable::GetColorDistance(c.a, c.b), threshold);
        COLORREF result = CColorTable::ReduceContrast(c.a, c.b, c.t);
        EXPECT_EQ(c.expected, result) << std::hex << c.a << " " << c.b;
        EXPECT_NEAR(threshold, CColorTable::GetColorDistance(c.a, result), 2.0) << std::hex << c.a << " " << c.b;
        // On the segment: nearer to b than a is.
        EXPECT_LT(CColorTable::GetColorDistance(result, c.b), CColorTable::GetColorDistance(c.a, c.b));
    }
    // Already near enough: nothing to move (and no division by a zero distance).
    EXPECT_EQ(RGB(100, 100, 100), CColorTable::ReduceContrast(RGB(100, 100, 100), RGB(100, 100, 100), 35));
    EXPECT_EQ(RGB(100, 100, 101), CColorTable::ReduceContrast(RGB(100, 100, 100), RGB(100, 100, 101), 35));
}

TEST(ColorContrast, IncreaseMovesAlongTheRayToTheThreshold)
{
    struct Case { COLORREF a, b; float t; COLORREF expected; } cases[] = {
        {RGB(212, 208, 200), RGB(200, 200, 200), 50, RGB(180, 180, 180)},    // darker b: toward black
        {RGB(128, 128, 128), RGB(140, 140, 140), 50, RGB(157, 157, 157)},    // brighter b with room above: toward white
        {RGB(10, 10, 10), RGB(5, 5, 5), 100, RGB(121, 121, 121)},            // a too dark to go below: toward white
        {RGB(250, 250, 250), RGB(255, 255, 255), 30, RGB(233, 233, 233)},    // no room above a: toward black
        {RGB(10, 36, 106), RGB(30, 50, 120), 100, RGB(121, 133, 175)},
    };
    for (const Case& c : cases) {
        ASSERT_FALSE(CColorTable::IsContrastEnough(c.a, c.b, TRUE, c.t));
        double threshold = CColorTable::GetContrastThreshold(static_cast<int>(Brightness(c.a)), static_cast<int>(c.t));
        COLORREF result = CColorTable::IncreaseContrast(c.a, c.b, c.t);
        EXPECT_EQ(c.expected, result) << std::hex << c.a << " " << c.b;
        EXPECT_NEAR(threshold, CColorTable::GetColorDistance(c.a, result), 2.0) << std::hex << c.a << " " << c.b;
    }
}

TEST(ColorContrast, IncreaseWithoutAPointAtTheThresholdKeepsTheColour)
{
    // Red against green: every point of green's ray lies far beyond the threshold, so the root of the
    // construction would be negative.
    EXPECT_EQ(RGB(0, 255, 0), CColorTable::IncreaseContrast(RGB(255, 0, 0), RGB(0, 255, 0), 10));
}

TEST(CColorRef, ChannelArithmeticIsClamped)
{
    EXPECT_EQ(0x0CFF00u, CColorRef::SafeRGB(-5, 300, 12));

    struct Case { const char* what; COLORREF result, expected; } cases[] = {
        {"add", CColorRef(RGB(200, 10, 0)).Add(RGB(100, 10, 0)), RGB(255, 20, 0)},
        {"subtract", CColorRef(RGB(50, 100, 150)).Subtract(RGB(60, 100, 10)), RGB(0, 0, 140)},
        {"+", CColorRef(RGB(1, 2, 3)) + CColorRef(RGB(10, 20, 30)), RGB(11, 22, 33)},
        {"- int", CColorRef(RGB(10, 20, 30)) - 15, RGB(0, 5, 15)},
        {"* int", CColorRef(RGB(10, 20, 30)) * 10, RGB(100, 200, 255)},
        {"+ int clamps the operand", CColorRef(RGB(10, 20, 30)) + 1000, RGB(255, 255, 255)},
        {"* colour", CColorRef(RGB(2, 3, 4)) * CColorRef(RGB(5, 6, 100)), RGB(10, 18, 255)},
        {"/ colour", CColorRef(RGB(100, 90, 7)) / CColorRef(RGB(3, 9, 2)), RGB(33, 10, 3)},
        {"/ zero channel", CColorRef(RGB(100, 0, 50)) / CColorRef(RGB(0, 5, 0)), RGB(255, 0, 255)},
        {"/ zero grey", CColorRef(RGB(100, 0, 50)) / 0, RGB(255, 0, 255)},
        {"blend 25 % of the other", CColorRef(RGB(0, 100, 200)).Blend(RGB(100, 100, 0), 25), RGB(25, 100, 150)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, c.result) << c.what;

    CColorRef clr(RGB(10, 20, 30));
    clr /= 0;
    EXPECT_EQ(RGB(255, 255, 255), clr);
}

TEST(CColorRef, HueModelsMatchKnownColours)
{
    EXPECT_EQ(0x0000FFu, CColorRef::FromHSL(0, 1, 0.5));
    EXPECT_EQ(0xFFFF00u, CColorRef::FromHSB(0.5, 1, 1));
    EXPECT_EQ(RGB(127, 127, 127), CColorRef::FromHSL(0.7, 0, 0.5));

    double h, s, l, b;
    CColorRef(RGB(0, 255, 0)).ToHSL(h, s, l);
    EXPECT_NEAR(1.0 / 3, h, 1e-9);
    EXPECT_NEAR(1.0, s, 1e-9);
    EXPECT_NEAR(0.5, l, 1e-9);
    CColorRef(RGB(255, 0, 255)).ToHSB(h, s, b);
    EXPECT_NEAR(5.0 / 6, h, 1e-9);
    EXPECT_NEAR(1.0, s, 1e-9);
    EXPECT_NEAR(1.0, b, 1e-9);
    CColorRef(RGB(0, 0, 0)).ToHSB(h, s, b);
    EXPECT_EQ(0.0, s);
}

TEST(CColorRef, HueModelsRoundTrip)
{
    const COLORREF colours[] = {0, 0xFFFFFF, RGB(255, 0, 0), RGB(0, 128, 0), RGB(10, 36, 106),
                                RGB(212, 208, 200), RGB(128, 128, 128), RGB(1, 254, 77), RGB(200, 100, 150),
                                RGB(17, 3, 240), RGB(255, 255, 1)};
    for (COLORREF clr : colours) {
        double h, s, v;
        CColorRef(clr).ToHSB(h, s, v);
        EXPECT_EQ(clr, CColorRef::FromHSB(h, s, v)) << std::hex << clr;
        // HSL truncates each channel on the way back: at most one step below.
        CColorRef(clr).ToHSL(h, s, v);
        EXPECT_LE(ChannelDifference(clr, CColorRef::FromHSL(h, s, v)), 1) << std::hex << clr;
    }
}
