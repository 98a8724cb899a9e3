// The tab colour sets with a pinned colour table: refresh per set, scheme and switch-off, their fills, and the
// navigate-button faces by state.
#include "TabTestManager.h"

#include "ui/themes/ColorRef.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
const COLORREF BG = RGB(0, 160, 0);

COLORREF C(UINT nIndex)
{
    return CPinnedTabColors::C(nIndex);
}

int ChannelDifference(COLORREF a, COLORREF b)
{
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

// A navigate button in a chosen state.
class CStateButton : public CXTPTabManagerNavigateButton
{
public:
    CStateButton(CXTPTabManager* pManager, BOOL bEnabled, BOOL bHot, BOOL bPressed)
        : CXTPTabManagerNavigateButton(pManager, idForward, modeShow)
    {
        m_bEnabled = bEnabled;
        m_bHot = bHot;
        m_bPressed = bPressed;
    }
    void DrawEntry(CDC*, CRect) override {}
    void OnExecute(BOOL) override {}
};
}

TEST(TabColors, SchemeSetFollowsTheSchemeUnlessItsColoursAreSwitchedOff)
{
    COLORREF clrPlainEnd = 0;
    struct Case
    {
        int nScheme;
        BOOL bOptionOff, bTableOff;
        COLORREF clrHeaderStart, clrHeaderEnd, clrSelected;
        BOOL bSchemeInUse;
    } cases[] = {
        {CColorTable::schemeBlue, FALSE, FALSE, 0xFADAC4, 0xFEFDFC, 0x73C2FF, TRUE},
        {CColorTable::schemeSilver, FALSE, FALSE, 0xF7F3F3, 0xFEFEFC, 0x73C2FF, TRUE},
        {CColorTable::schemeBlue, TRUE, FALSE, 0, 0, 0, FALSE},   // 0: the plain colours
        {CColorTable::schemeBlue, FALSE, TRUE, 0, 0, 0, FALSE},
        {CColorTable::schemeNone, FALSE, FALSE, 0, 0, 36, FALSE},
    };
    for (const Case& c : cases) {
        CPinnedTabColors colors(c.nScheme);
        clrPlainEnd = BlendColors(C(COLOR_BTNFACE), C(COLOR_WINDOW), 205);
        GetColorTable()->SetSchemeColorsDisabled(c.bTableOff);
        CTestTabManager manager;
        manager.m_pPainter->SetOption(c.bOptionOff);
        manager.SetStyle(5);
        manager.SetColors(4);
        auto* pColors = static_cast<CXTPTabColorsScheme*>(manager.m_pPainter->GetColorsObject());
        COLORREF clrSelected = c.clrSelected == 36 ? C(36) : c.clrSelected ? c.clrSelected : C(COLOR_BTNFACE);
        EXPECT_EQ(c.clrHeaderStart ? c.clrHeaderStart : C(COLOR_BTNFACE), pColors->m_clrHeaderFace.m_clrStart) << c.nScheme;
        EXPECT_EQ(c.clrHeaderEnd ? c.clrHeaderEnd : clrPlainEnd, pColors->m_clrHeaderFace.m_clrEnd) << c.nScheme;
        EXPECT_EQ(clrSelected, pColors->m_clrSelectedFace) << c.nScheme;
        EXPECT_EQ(c.bSchemeInUse, pColors->IsSchemeColorsInUse());
        EXPECT_EQ(static_cast<COLORREF>(pColors->m_clrFrameBorder), pColors->m_clrSelectedOutline[2]);
        EXPECT_TRUE(pColors->m_clrSelectedOutline[3].IsNone());
    }
}

TEST(TabColors, SolidSchemeSetFillsSolidOrWithGradients)
{
    struct Case
    {
        int nScheme;
        BOOL bSwitchedOff;
        COLORREF clrHeader, clrNormalFace;
        BOOL bGradient;
    } cases[] = {
        {CColorTable::schemeBlue, TRUE, 0xD5E2E4, 0, TRUE},
        {CColorTable::schemeOlive, TRUE, 0xD5E2E4, 0, TRUE},
        {CColorTable::schemeSilver, TRUE, 0xEEEEEE, 0xF8F5F5, TRUE},
        {CColorTable::schemeNone, TRUE, 0, 0, FALSE},
        {CColorTable::schemeBlue, FALSE, 0xFADAC4, 0xF6C0A2, FALSE},   // set 4's scheme colours, solid faces
    };
    for (const Case& c : cases) {
        CPinnedTabColors colors(c.nScheme);
        CTestTabManager manager;
        manager.m_pPainter->SetOption(c.bSwitchedOff);
        manager.SetStyle(3);
        manager.SetColors(16);
        manager.AddTabs({L""});
        auto* pColors = static_cast<CXTPTabColorsSchemeSolid*>(manager.m_pPainter->GetColorsObject());
        EXPECT_EQ(c.clrHeader ? c.clrHeader : C(COLOR_BTNFACE), pColors->m_clrHeaderFace.m_clrStart) << c.nScheme;
        EXPECT_EQ(c.clrNormalFace ? c.clrNormalFace : C(COLOR_BTNFACE), pColors->m_clrNormalFace) << c.nScheme;
        EXPECT_EQ(c.bGradient, pColors->IsGradientFaces()) << c.nScheme;
        if (c.bSwitchedOff) {
            EXPECT_EQ(C(57), pColors->m_clrFrameBorder);
        }
        CPixelCanvas canvas(40, 20, BG);
        COLORREF clr = pColors->FillIndexed(&canvas, CRect(0, 0, 40, 20), manager.GetItem(0));
        EXPECT_EQ(static_cast<COLORREF>(pColors->m_clrNormalFace), clr);
        EXPECT_EQ(c.bGradient, canvas.At(20, 0) != canvas.At(20, 19)) << c.nScheme;
        EXPECT_LE(ChannelDifference(clr, canvas.At(20, c.bGradient ? 19 : 0)), 4);
    }
}

TEST(TabColors, HotTabGradientTurnsWithTheHeader)
{
    CPinnedTabColors colors;
    struct Case { int nPosition; BOOL bReverse; BOOL bAccentAtEnd; BOOL bHorizontal; } cases[] = {
        {CXTPTabPainter::positionTop, FALSE, TRUE, FALSE},
        {CXTPTabPainter::positionBottom, FALSE, FALSE, FALSE},
        {CXTPTabPainter::positionBottom, TRUE, TRUE, FALSE},
        {CXTPTabPainter::positionLeft, FALSE, TRUE, TRUE},
        {CXTPTabPainter::positionRight, FALSE, FALSE, TRUE},
    };
    for (const Case& c : cases) {
        CTestTabManager manager;
        manager.SetStyle(5);
        manager.SetColors(4);
        manager.SetPosition(c.nPosition);
        manager.m_pPainter->m_bInvertGradient = c.bReverse;
        manager.AddTabs({L""});
        manager.SetHotItem(manager.GetItem(0));
        auto* pColors = static_cast<CXTPTabColorsScheme*>(manager.m_pPainter->GetColorsObject());
        COLORREF clrAccent = pColors->m_clrAccent;
        CPixelCanvas canvas(40, 40, BG);
        EXPECT_EQ(clrAccent, pColors->FillIndexed(&canvas, CRect(0, 0, 40, 40), manager.GetItem(0)));
        COLORREF clrFirst = c.bHorizontal ? canvas.At(0, 20) : canvas.At(20, 0);
        COLORREF clrLast = c.bHorizontal ? canvas.At(39, 20) : canvas.At(20, 39);
        COLORREF clrLight = BlendColors(clrAccent, 0xFFFFFF, 300);
        EXPECT_LE(ChannelDifference(c.bAccentAtEnd ? clrLight : clrAccent, clrFirst), 4) << c.nPosition;
        EXPECT_LE(ChannelDifference(c.bAccentAtEnd ? clrAccent : clrLight, clrLast), 4) << c.nPosition;
    }
}

TEST(TabColors, FlatSetAndDefaultSetFollowTheStyle)
{
    CPinnedTabColors colors;
    CTestTabManager manager;
    struct Case { int nStyle; int nColors; COLORREF clrHeader, clrText, clrSelectedFace, clrNormalFace; } cases[] = {
        {5, 2, C(48), C(49), C(COLOR_BTNFACE), C(COLOR_BTNFACE)},
        {4, 2, C(COLOR_BTNFACE), C(COLOR_BTNTEXT), C(COLOR_BTNFACE), C(COLOR_BTNFACE)},
        {7, 2, C(COLOR_BTNFACE), C(COLOR_BTNTEXT), C(COLOR_WINDOW), C(COLOR_BTNFACE)},
        {6, 2, C(48), C(COLOR_BTNTEXT), C(COLOR_BTNFACE), C(COLOR_BTNFACE)},
        {7, 1, C(COLOR_BTNFACE), C(COLOR_BTNTEXT), C(COLOR_BTNFACE), C(COLOR_WINDOW)},
        {0, 1, C(COLOR_BTNFACE), C(COLOR_BTNTEXT), C(COLOR_BTNFACE), C(COLOR_BTNFACE)},
    };
    for (const Case& c : cases) {
        manager.SetStyle(c.nStyle);
        manager.SetColors(c.nColors);
        CXTPTabColors* pColors = manager.m_pPainter->GetColorsObject();
        EXPECT_EQ(c.clrHeader, pColors->m_clrHeaderFace.m_clrStart) << c.nStyle << "/" << c.nColors;
        EXPECT_EQ(c.clrText, pColors->m_clrText) << c.nStyle << "/" << c.nColors;
        EXPECT_EQ(c.clrSelectedFace, pColors->m_clrSelectedFace) << c.nStyle << "/" << c.nColors;
        EXPECT_EQ(c.clrNormalFace, pColors->m_clrNormalFace) << c.nStyle << "/" << c.nColors;
    }
    // Style 7 under set 1 outlines in the text colour.
    manager.SetStyle(7);
    manager.SetColors(1);
    EXPECT_EQ(C(COLOR_BTNTEXT), manager.m_pPainter->GetColorsObject()->m_clrFrameBorder);
}

TEST(TabColors, EverySetsTextsFollowAnOverrideOfTheTextColour)
{
    CPinnedTabColors colors;
    GetColorTable()->SetColor(COLOR_BTNTEXT, RGB(1, 2, 3));
    GetColorTable()->RefreshColors();
    CTestTabManager manager;
    for (int nColors : {1, 2, 4, 8, 16}) {
        manager.SetColors(nColors);
        EXPECT_EQ(RGB(1, 2, 3), manager.m_pPainter->GetColorsObject()->m_clrText) << nColors;
        EXPECT_EQ(RGB(1, 2, 3), manager.m_pPainter->GetColorsObject()->m_clrSelectedText) << nColors;
    }
    GetColorTable()->SetColor(COLOR_BTNTEXT, XTP_COLOR_NONE);
}

TEST(TabColors, DitheredHeaderDrawsACheckerboard)
{
    CPinnedTabColors colors;
    CTestTabManager manager;
    manager.SetStyle(5);
    manager.SetColors(2);
    CXTPTabColors* pColors = manager.m_pPainter->GetColorsObject();
    pColors->m_clrHeaderFace.SetColors(XTP_TABCOLOR_DITHER, 0);
    CPixelCanvas canvas(16, 16, BG);
    pColors->FillHeader(&canvas, CRect(0, 0, 16, 16), &manager);
    EXPECT_NE(canvas.At(0, 0), canvas.At(1, 0));
    EXPECT_EQ(canvas.At(0, 0), canvas.At(1, 1));
    for (COLORREF clr : {canvas.At(0, 0), canvas.At(1, 0)})
        EXPECT_TRUE(clr == C(COLOR_BTNFACE) || clr == C(COLOR_BTNHIGHLIGHT));
}

TEST(TabColors, ThemedSetWithoutVisualStylesDrawsAsTheDefaultSet)
{
    CPinnedTabColors colors;
    CPixelCanvas canvases[2] = {CPixelCanvas(300, 100, BG), CPixelCanvas(300, 100, BG)};
    int ids[2] = {1, 8};
    for (int i = 0; i < 2; i++) {
        CTestTabManager manager;
        manager.SetColors(ids[i]);
        EXPECT_FALSE(manager.m_pPainter->GetColorsObject()->IsVisualStyleUsed());
        manager.AddTabs({L"Entrate", L"Spese", L"Riepilogo"});
        manager.SetCurSel(1);
        manager.Paint(&canvases[i]);
    }
    for (int y = 0; y < 100; y++)
        for (int x = 0; x < 300; x++)
            ASSERT_EQ(canvases[0].At(x, y), canvases[1].At(x, y)) << x << ", " << y;
}

TEST(TabColors, ThemedTabsAreTurnedToFaceTheClientArea)
{
    // A grown tab rect 20 wide and 60 high: the surface is 60 wide and 20 high.
    const int cx = 20, cy = 60;
    std::vector<DWORD> source(cx * cy), output(cx * cy);
    for (size_t i = 0; i < source.size(); i++)
        source[i] = static_cast<DWORD>(i);
    struct Case { int nPosition; int sx, sy; int nSourceWidth; } cases[] = {
        {CXTPTabPainter::positionLeft, 7, 3, cy},                    // output (3, 7) = source (7, 3)
        {CXTPTabPainter::positionRight, cy - 1 - 7, cx - 1 - 3, cy},  // the other diagonal
        {CXTPTabPainter::positionBottom, 3, cy - 1 - 7, cx},         // upside down
    };
    for (const Case& c : cases) {
        CXTPTabColorsThemed::TurnSurface(source.data(), output.data(), cx, cy, c.nPosition);
        EXPECT_EQ(source[c.sy * c.nSourceWidth + c.sx], output[7 * cx + 3]) << c.nPosition;
    }
}

TEST(TabColors, NavigateButtonFacesByState)
{
    struct Case
    {
        int nColors;
        int nScheme;
        BOOL bEnabled, bHot, bPressed;
        UINT nGlyph;
        COLORREF clrCorner, clrInside;   // 0: the canvas as it was
    } cases[] = {
        {4, CColorTable::schemeNone, TRUE, TRUE, FALSE, 45, 31, 32},
        {4, CColorTable::schemeNone, TRUE, FALSE, TRUE, 45, 31, 32},
        {4, CColorTable::schemeNone, TRUE, TRUE, TRUE, 47, 33, 50},
        {4, CColorTable::schemeNone, FALSE, TRUE, TRUE, COLOR_BTNTEXT, 0, 0},
        {4, CColorTable::schemeNone, TRUE, FALSE, FALSE, COLOR_BTNTEXT, 0, 0},
        {16, CColorTable::schemeNone, TRUE, TRUE, FALSE, 45, 31, 32},
        {4, CColorTable::schemeBlue, TRUE, TRUE, FALSE, COLOR_BTNTEXT, 0x800000, 1},    // 1: a gradient
        {1, CColorTable::schemeNone, TRUE, TRUE, FALSE, COLOR_BTNTEXT, COLOR_BTNHIGHLIGHT, 0},
        {1, CColorTable::schemeNone, TRUE, TRUE, TRUE, COLOR_BTNTEXT, COLOR_BTNSHADOW, 0},
        {8, CColorTable::schemeNone, FALSE, FALSE, FALSE, COLOR_BTNTEXT, 0, 0},
    };
    for (const Case& c : cases) {
        CPinnedTabColors colors(c.nScheme);
        CTestTabManager manager;
        manager.SetColors(c.nColors);
        CStateButton button(&manager, c.bEnabled, c.bHot, c.bPressed);
        CPixelCanvas canvas(14, 15, BG);
        CRect rc(0, 0, 14, 15);
        COLORREF clrGlyph = manager.m_pPainter->FillButtonFace(&canvas, rc, &button);
        SCOPED_TRACE(testing::Message() << "set " << c.nColors << " scheme " << c.nScheme << " enabled " << c.bEnabled
                                        << " hot " << c.bHot << " pressed " << c.bPressed);
        EXPECT_EQ(C(c.nGlyph), clrGlyph);
        EXPECT_EQ(c.clrCorner ? C(c.clrCorner) : BG, canvas.At(0, 0));
        if (c.clrInside == 1) {
            EXPECT_LE(ChannelDifference(0xC8F2FF, canvas.At(7, 1)), 12);
            EXPECT_LE(ChannelDifference(0x97D4FF, canvas.At(7, 13)), 12);
        } else {
            EXPECT_EQ(c.clrInside ? C(c.clrInside) : BG, canvas.At(7, 7));
        }
        // Only a pressed button of the classic sets moves its glyph.
        EXPECT_EQ(c.nColors == 1 && c.bPressed ? CRect(1, 1, 15, 16) : CRect(0, 0, 14, 15), rc);
    }
}
