// The tab colour sets with a pinned colour table: refresh per set, scheme and switch-off, their fills, and the
// navigate-button faces by state.
#include "TabTestManager.h"

#include "ui/themes/ColorRef.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include <vssym32.h>

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

namespace
{
// A stand-in for UxTheme: the "TAB" and "TOOLBAR" classes open, each drawn background is recorded, and a tab
// item is painted as a top header's tab would be, its client side (the bottom row) in its own colour.
const COLORREF THEMED_FACE = RGB(240, 200, 40), THEMED_CLIENT_SIDE = RGB(0, 0, 220);
struct THEMED_DRAW
{
    int nTheme, nPart, nState;
    CRect rc;
};
struct CFakeTabStyles
{
    enum { themeTab = 1, themeToolbar = 2 };
    static std::vector<THEMED_DRAW> draws;
    static HTHEME WINAPI OpenThemeData(HWND, LPCWSTR pszClassList)
    {
        INT_PTR nTheme = lstrcmpW(pszClassList, L"TAB") == 0       ? themeTab
                         : lstrcmpW(pszClassList, L"TOOLBAR") == 0 ? themeToolbar
                                                                   : 0;
        return reinterpret_cast<HTHEME>(nTheme);
    }
    static HRESULT WINAPI CloseThemeData(HTHEME) { return S_OK; }
    static BOOL WINAPI IsThemeActive() { return TRUE; }
    static HRESULT WINAPI DrawThemeBackground(HTHEME hTheme, HDC hDC, int iPartId, int iStateId, const RECT* pRect,
                                              const RECT*)
    {
        int nTheme = static_cast<int>(reinterpret_cast<INT_PTR>(hTheme));
        draws.push_back({nTheme, iPartId, iStateId, CRect(*pRect)});
        if (nTheme == themeTab && iPartId == TABP_TABITEM) {
            CDC* pDC = CDC::FromHandle(hDC);
            pDC->FillSolidRect(pRect, THEMED_FACE);
            pDC->FillSolidRect(pRect->left, pRect->bottom - 1, pRect->right - pRect->left, 1, THEMED_CLIENT_SIDE);
        }
        return S_OK;
    }
};
std::vector<THEMED_DRAW> CFakeTabStyles::draws;

FARPROC TabStyleEntry(void (*pfn)())
{
    return reinterpret_cast<FARPROC>(pfn);
}
#define FAKE_TAB_ENTRY(name) {#name, TabStyleEntry(reinterpret_cast<void (*)()>(&CFakeTabStyles::name))}
const XTP_VISUALSTYLE_ENTRY g_fakeTabStyles[] = {
    FAKE_TAB_ENTRY(OpenThemeData), FAKE_TAB_ENTRY(CloseThemeData), FAKE_TAB_ENTRY(IsThemeActive),
    FAKE_TAB_ENTRY(DrawThemeBackground), {nullptr, nullptr},
};

// For its lifetime the visual styles are the stand-in's, with common controls 6.
class CFakeVisualStyles
{
public:
    CFakeVisualStyles()
    {
        CXTPVisualStyleLibrary::GetInstance().SetEntryTable(g_fakeTabStyles);
        CXTPVisualStyleLibrary::GetInstance().SetComCtlVersion(MAKELONG(0, 6));
        CFakeTabStyles::draws.clear();
    }
    ~CFakeVisualStyles() { CXTPVisualStyleLibrary::GetInstance().Load(); }
    CFakeVisualStyles(const CFakeVisualStyles&) = delete;
    CFakeVisualStyles& operator=(const CFakeVisualStyles&) = delete;
};
}

TEST(TabColorsThemed, OpenHandlesDrawTheVisualStylesPartsInPlaceOfTheEdges)
{
    CPinnedTabColors colors;
    CFakeVisualStyles styles;
    CTestTabManager manager;
    manager.SetColors(8);
    CXTPTabColors* pColors = manager.m_pPainter->GetColorsObject();
    ASSERT_TRUE(pColors->IsVisualStyleUsed());
    for (const CColorValue& clr : pColors->m_clrTabEdge)
        EXPECT_TRUE(clr.IsNone());
    EXPECT_EQ(static_cast<COLORREF>(pColors->m_clrText), static_cast<COLORREF>(pColors->m_clrHighlightText));
    manager.AddTabs({L"", L""});
    manager.SetCurSel(1);
    CXTPTabManagerItem* pNormal = manager.GetItem(0);
    CXTPTabManagerItem* pSelected = manager.GetItem(1);

    // The client pane grows by 1 toward a bottom or right header.
    struct ClientCase { int nPosition; CRect rcDrawn; } clientCases[] = {
        {CXTPTabPainter::positionTop, CRect(5, 5, 50, 40)},
        {CXTPTabPainter::positionLeft, CRect(5, 5, 50, 40)},
        {CXTPTabPainter::positionBottom, CRect(5, 5, 50, 41)},
        {CXTPTabPainter::positionRight, CRect(5, 5, 51, 40)},
    };
    for (const ClientCase& c : clientCases) {
        manager.SetPosition(c.nPosition);
        CFakeTabStyles::draws.clear();
        CPixelCanvas canvas(60, 60, BG);
        EXPECT_EQ(0u, pColors->FillClient(&canvas, CRect(5, 5, 50, 40), &manager));
        ASSERT_EQ(1u, CFakeTabStyles::draws.size());
        const THEMED_DRAW& d = CFakeTabStyles::draws[0];
        EXPECT_EQ(CFakeTabStyles::themeTab, d.nTheme);
        EXPECT_EQ(TABP_PANE, d.nPart);
        EXPECT_EQ(0, d.nState);
        EXPECT_EQ(c.rcDrawn, d.rc) << c.nPosition;
    }

    // Tab items: grown toward the client, the state by selection and mouse, turned off-screen so that the
    // client side faces the client area; no joining line.
    struct ItemCase
    {
        int nPosition;
        BOOL bSelected, bHot;
        CRect rcItem;
        int nState;
        CRect rcDrawn;          // in the DC for a top header, on the surface for the others
        CPoint ptClientSide;    // where the surface's bottom row lands
        CPoint ptFace;
    } itemCases[] = {
        {CXTPTabPainter::positionTop, TRUE, FALSE, CRect(10, 10, 70, 30), TIS_SELECTED, CRect(9, 9, 71, 31),
         CPoint(40, 30), CPoint(40, 20)},
        {CXTPTabPainter::positionTop, FALSE, TRUE, CRect(10, 10, 70, 30), TIS_FOCUSED, CRect(9, 9, 71, 30),
         CPoint(40, 29), CPoint(40, 20)},
        {CXTPTabPainter::positionTop, FALSE, FALSE, CRect(10, 10, 70, 30), TIS_NORMAL, CRect(9, 9, 71, 30),
         CPoint(40, 29), CPoint(40, 20)},
        {CXTPTabPainter::positionLeft, TRUE, FALSE, CRect(10, 10, 30, 70), TIS_SELECTED, CRect(0, 0, 62, 22),
         CPoint(30, 40), CPoint(20, 40)},
        {CXTPTabPainter::positionBottom, FALSE, FALSE, CRect(10, 10, 70, 30), TIS_NORMAL, CRect(0, 0, 62, 22),
         CPoint(40, 10), CPoint(40, 20)},
        {CXTPTabPainter::positionRight, FALSE, TRUE, CRect(10, 10, 30, 70), TIS_FOCUSED, CRect(0, 0, 62, 22),
         CPoint(10, 40), CPoint(20, 40)},
    };
    for (const ItemCase& c : itemCases) {
        manager.SetPosition(c.nPosition);
        CXTPTabManagerItem* pItem = c.bSelected ? pSelected : pNormal;
        manager.SetHotItem(c.bHot ? pItem : nullptr);
        CFakeTabStyles::draws.clear();
        CPixelCanvas canvas(100, 100, BG);
        SCOPED_TRACE(testing::Message() << "position " << c.nPosition << ", state " << c.nState);
        EXPECT_EQ(XTP_COLOR_NONE, pColors->FillIndexed(&canvas, c.rcItem, pItem));
        ASSERT_EQ(1u, CFakeTabStyles::draws.size());
        const THEMED_DRAW& d = CFakeTabStyles::draws[0];
        EXPECT_EQ(CFakeTabStyles::themeTab, d.nTheme);
        EXPECT_EQ(TABP_TABITEM, d.nPart);
        EXPECT_EQ(c.nState, d.nState);
        EXPECT_EQ(c.rcDrawn, d.rc);
        EXPECT_EQ(THEMED_CLIENT_SIDE, canvas.At(c.ptClientSide.x, c.ptClientSide.y));
        EXPECT_EQ(THEMED_FACE, canvas.At(c.ptFace.x, c.ptFace.y));
    }
    manager.SetHotItem(nullptr);

    // The header clip loses the client rect's pixel at the header's inner corner.
    struct ClipCase { int nPosition; int dx, dy; } clipCases[] = {
        {CXTPTabPainter::positionTop, 0, 0}, {CXTPTabPainter::positionLeft, 0, 0},
        {CXTPTabPainter::positionBottom, 0, -2}, {CXTPTabPainter::positionRight, -2, 0},
    };
    for (const ClipCase& c : clipCases) {
        manager.SetPosition(c.nPosition);
        CRect rcClient = manager.m_pPainter->GetStyleObject()->GetClientRect(manager.m_rcLayout, &manager);
        CPoint pt(c.dx < 0 ? rcClient.right + c.dx : rcClient.left, c.dy < 0 ? rcClient.bottom + c.dy : rcClient.top);
        CPixelCanvas canvas(300, 100, BG);
        pColors->AdjustHeaderClip(&canvas, manager.m_rcLayout, &manager);
        EXPECT_FALSE(canvas.PtVisible(pt)) << c.nPosition;
        EXPECT_TRUE(canvas.PtVisible(pt + CPoint(1, 0))) << c.nPosition;
        EXPECT_TRUE(canvas.PtVisible(pt + CPoint(0, 1))) << c.nPosition;
    }

    // The selected flat-style face is the toolbar's checked button, hot-checked under the mouse.
    for (BOOL bHot : {FALSE, TRUE}) {
        manager.SetHotItem(bHot ? pSelected : nullptr);
        CFakeTabStyles::draws.clear();
        CPixelCanvas canvas(100, 40, BG);
        pColors->FillItemFace(&canvas, CRect(10, 10, 70, 30), pSelected);
        ASSERT_EQ(1u, CFakeTabStyles::draws.size());
        EXPECT_EQ(CFakeTabStyles::themeToolbar, CFakeTabStyles::draws[0].nTheme);
        EXPECT_EQ(bHot ? TS_HOTCHECKED : TS_CHECKED, CFakeTabStyles::draws[0].nState);
    }
    manager.SetHotItem(nullptr);
    CFakeTabStyles::draws.clear();
    CPixelCanvas etched(100, 40, BG);
    manager.SetPosition(CXTPTabPainter::positionTop);
    pColors->FillItemFace(&etched, CRect(10, 10, 70, 30), pNormal);
    EXPECT_TRUE(CFakeTabStyles::draws.empty());
    EXPECT_EQ(C(COLOR_BTNSHADOW), etched.At(70, 20));
}

TEST(TabColorsThemed, NavigateButtonsAreToolbarButtonsByState)
{
    CPinnedTabColors colors;
    CFakeVisualStyles styles;
    CTestTabManager manager;
    manager.SetColors(8);
    struct Case { BOOL bEnabled, bHot, bPressed; int nState; } cases[] = {
        {TRUE, FALSE, FALSE, TS_NORMAL}, {TRUE, TRUE, FALSE, TS_HOT}, {TRUE, TRUE, TRUE, TS_PRESSED},
        {TRUE, FALSE, TRUE, TS_PRESSED}, {FALSE, TRUE, TRUE, 0},
    };
    for (const Case& c : cases) {
        CStateButton button(&manager, c.bEnabled, c.bHot, c.bPressed);
        CFakeTabStyles::draws.clear();
        CPixelCanvas canvas(14, 15, BG);
        CRect rc(0, 0, 14, 15);
        EXPECT_EQ(C(COLOR_BTNTEXT), manager.m_pPainter->FillButtonFace(&canvas, rc, &button));
        EXPECT_EQ(CRect(0, 0, 14, 15), rc);
        SCOPED_TRACE(testing::Message() << "enabled " << c.bEnabled << " hot " << c.bHot << " pressed " << c.bPressed);
        if (c.nState == 0) {
            EXPECT_TRUE(CFakeTabStyles::draws.empty());
            continue;
        }
        ASSERT_EQ(1u, CFakeTabStyles::draws.size());
        EXPECT_EQ(CFakeTabStyles::themeToolbar, CFakeTabStyles::draws[0].nTheme);
        EXPECT_EQ(TP_BUTTON, CFakeTabStyles::draws[0].nPart);
        EXPECT_EQ(c.nState, CFakeTabStyles::draws[0].nState);
    }
}

TEST(TabColorsThemed, ThemedTabsOfTheDefaultStyleLeaveTheirPageTwoPixelsMore)
{
    CPinnedTabColors colors;
    CFakeVisualStyles styles;
    // The control margins (right 2, bottom 2 for top and left headers) are turned with the header.
    struct Case { int nPosition; CRect rcLess; } cases[] = {
        {CXTPTabPainter::positionTop, CRect(0, 0, 2, 2)},
        {CXTPTabPainter::positionLeft, CRect(0, 0, 2, 2)},
        {CXTPTabPainter::positionBottom, CRect(0, 0, 2, 0)},
        {CXTPTabPainter::positionRight, CRect(0, 0, 0, 2)},
    };
    for (const Case& c : cases) {
        CTestTabManager manager;
        manager.SetPosition(c.nPosition);
        manager.AddTabs({L"Entrate"});
        CRect rcPlain(0, 0, 300, 100), rcThemed(0, 0, 300, 100);
        manager.m_pPainter->AdjustClientRect(&manager, rcPlain);
        manager.SetColors(8);
        manager.m_pPainter->AdjustClientRect(&manager, rcThemed);
        rcPlain.DeflateRect(c.rcLess.left, c.rcLess.top, c.rcLess.right, c.rcLess.bottom);
        EXPECT_EQ(rcPlain, rcThemed) << c.nPosition;
        // Only with the full client frame.
        manager.m_pPainter->m_nClientFrame = CXTPTabPainter::frameSingleLine;
        CRect rcLine(0, 0, 300, 100), rcLinePlain(0, 0, 300, 100);
        manager.m_pPainter->AdjustClientRect(&manager, rcLine);
        manager.SetColors(1);
        manager.m_pPainter->AdjustClientRect(&manager, rcLinePlain);
        EXPECT_EQ(rcLinePlain, rcLine) << c.nPosition;
    }
}
