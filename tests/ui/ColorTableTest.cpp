#include "DisplayBits.h"

#include "ui/themes/ColorTable.h"
#include "ui/themes/VisualStyleHandle.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace
{
// System colours by COLOR_ index (0 is never read): the classic grey look and a dark one with a black face.
const COLORREF g_classic[28] = {
    0, RGB(58, 110, 165), RGB(10, 36, 106), RGB(128, 128, 128), RGB(212, 208, 200), RGB(255, 255, 255), 0, 0, 0,
    RGB(255, 255, 255), RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106),
    RGB(255, 255, 255), RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), 0, RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64), RGB(212, 208, 200), 0, RGB(255, 255, 225), RGB(181, 181, 181),
    RGB(0, 0, 128), RGB(166, 202, 240)};
const COLORREF g_dark[28] = {
    0, 0, 0, 0, 0, RGB(30, 30, 30), 0, RGB(230, 230, 230), RGB(230, 230, 230), 0, 0, 0, 0, RGB(0, 120, 215),
    RGB(255, 255, 255), 0, RGB(90, 90, 90), RGB(140, 140, 140), RGB(230, 230, 230), 0, RGB(70, 70, 70),
    RGB(10, 10, 10), 0, 0, 0, 0, 0, 0};

COLORREF g_pinned[28];
COLORREF PinnedColor(int nIndex) { return g_pinned[nIndex]; }

class ColorTableTest : public ::testing::Test
{
protected:
    CColorTable m_table;

    void Pin(const COLORREF (&palette)[28], int nScheme = CColorTable::schemeNone)
    {
        std::copy(std::begin(palette), std::end(palette), std::begin(g_pinned));
        m_table.SetScheme(nScheme);
        m_table.SetColorHook(PinnedColor);
    }
};

struct EXPECTED_COLOR
{
    UINT nIndex;
    COLORREF clr;
};

// Worked out step by step from the palettes above: blends, the contrast corrections, 36, 48, 49, 34, 22.
const EXPECTED_COLOR g_classicDerived[] = {
    {22, 0xD7DFE3}, {28, 0}, {29, 0}, {30, 0xD1D8DB}, {31, 0xD2BDB6}, {32, 0x6A240A}, {33, 0xB59285},
    {34, 0x9D8D88}, {35, 0xA6A6A6}, {36, 0xD8D5D4}, {37, 0x6A240A}, {38, 0xA0A0A0}, {39, 0xA6A6A6},
    {40, 0x8D8D8D}, {41, 0xF7F8F9}, {42, 0xC1C8CC}, {43, 0x666666}, {44, 0x000000}, {45, 0x000000},
    {46, 0x000000}, {47, 0xFFFFFF}, {48, 0xE9F2F7}, {49, 0x555555}, {50, 0x6A240A}, {51, 0xC8D0D4},
    {52, 0x808080}, {53, 0xD1D8DB}, {54, 0x808080}, {55, 0xC8D0D4}, {56, 0xC8D0D4}, {57, 0x808080},
    {58, 0x8D8D8D}, {59, 0x000000}};
const EXPECTED_COLOR g_darkDerived[] = {
    {22, 0x0F0F0F}, {30, 0x050505}, {31, 0x5E4220}, {32, 0xD98010}, {33, 0x7B4B0F}, {34, 0x463118},
    {35, 0x6D6D6D}, {36, 0x231A0E}, {37, 0xE4A351}, {38, 0x666666}, {39, 0x484848}, {40, 0x606060},
    {41, 0x1A1A1A}, {42, 0x090909}, {43, 0x767676}, {44, 0xE6E6E6}, {45, 0xE6E6E6}, {46, 0xE6E6E6},
    {47, 0xFFFFFF}, {48, 0x232323}, {49, 0x7F7F7F}, {50, 0xD77800}, {53, 0x050505}, {58, 0x606060}};
}

TEST_F(ColorTableTest, DerivesTheClassicPalette)
{
    Pin(g_classic);
    EXPECT_EQ(0u, m_table.GetColor(0));
    for (int i = 1; i <= 27; i++) {
        if (i == COLOR_3DLIGHT)   // brightened from the face
            continue;
        EXPECT_EQ(g_classic[i], m_table.GetColor(i)) << "system colour " << i;
    }
    for (const EXPECTED_COLOR& e : g_classicDerived)
        EXPECT_EQ(e.clr, m_table.GetColor(e.nIndex)) << "colour " << e.nIndex;
}

TEST_F(ColorTableTest, DerivesTheDarkPalette)
{
    // A black face: 48 and 49 take their fixed greys, and the corrections push the derived colours apart.
    Pin(g_dark);
    for (const EXPECTED_COLOR& e : g_darkDerived)
        EXPECT_EQ(e.clr, m_table.GetColor(e.nIndex)) << "colour " << e.nIndex;
}

TEST_F(ColorTableTest, LowColourDisplaysKeepThePlainDerivedColours)
{
    // Up to 8 bits per pixel the blends and corrections are left out: each derived colour stays the system
    // colour it starts from and 3-D light is not brightened; the gradients still follow. A depth that cannot
    // be read (0) does not count as low.
    struct Case { int nBits; BOOL bLow; } cases[] = {{1, TRUE}, {8, TRUE}, {0, FALSE}, {16, FALSE}, {32, FALSE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nBits);
        CDisplayBits display(c.nBits);
        Pin(g_classic);
        const COLORREF clrFace = g_classic[COLOR_BTNFACE], clrWindow = g_classic[COLOR_WINDOW];
        EXPECT_EQ(c.bLow ? clrWindow : 0xD2BDB6u, m_table.GetColor(31));
        EXPECT_EQ(c.bLow ? clrWindow : 0xD8D5D4u, m_table.GetColor(36));
        EXPECT_EQ(c.bLow ? clrFace : 0xD1D8DBu, m_table.GetColor(30));
        EXPECT_EQ(c.bLow ? clrFace : 0xE9F2F7u, m_table.GetColor(48));
        EXPECT_EQ(c.bLow ? g_classic[COLOR_3DLIGHT] : 0xD7DFE3u, m_table.GetColor(COLOR_3DLIGHT));
        EXPECT_EQ(RGB(246, 245, 243), m_table.GetGradient(1).m_clrEnd);
    }

    CDisplayBits display(8);
    Pin(g_classic, CColorTable::schemeBlue);
    EXPECT_EQ(0xF5BE9Eu, m_table.GetSchemeColor(30));
    EXPECT_EQ(0xD68759u, m_table.GetGradient(0).m_clrStart);
    EXPECT_EQ(0x962D00u, m_table.GetColor(54));
    EXPECT_EQ(g_classic[COLOR_WINDOW], m_table.GetColor(31));
}

TEST_F(ColorTableTest, IndicesAbove59AreLiteralColoursAndCannotBeOverridden)
{
    Pin(g_classic);
    EXPECT_EQ(60u, m_table.GetColor(60));
    EXPECT_EQ(0x00FF0000u, m_table.GetColor(0x00FF0000));

    m_table.SetColor(60, RGB(1, 2, 3));
    m_table.SetColor(static_cast<UINT>(-1), RGB(1, 2, 3));
    const UINT indices[] = {75, 5, 1000000};
    const COLORREF colours[] = {RGB(9, 9, 9), RGB(1, 2, 3), RGB(9, 9, 9)};
    m_table.SetColors(3, indices, colours);
    m_table.SetColors(0, indices, colours);
    EXPECT_EQ(60u, m_table.GetColor(60));
    EXPECT_EQ(75u, m_table.GetColor(75));
    EXPECT_EQ(RGB(1, 2, 3), m_table.GetColor(5));
    for (const EXPECTED_COLOR& e : g_classicDerived)
        EXPECT_EQ(e.clr, m_table.GetColor(e.nIndex)) << "colour " << e.nIndex << " before the refresh";

    m_table.SetColor(0, RGB(4, 5, 6));
    EXPECT_EQ(RGB(4, 5, 6), m_table.GetColor(0));
    m_table.SetColor(0, XTP_COLOR_NONE);
    EXPECT_EQ(0u, m_table.GetColor(0));
}

TEST_F(ColorTableTest, AnOverrideReachesTheDerivedColoursAtTheNextRefresh)
{
    Pin(g_classic);
    const COLORREF clrYellow = RGB(255, 255, 0);
    m_table.SetColor(COLOR_WINDOW, clrYellow);
    EXPECT_EQ(clrYellow, m_table.GetColor(COLOR_WINDOW));
    EXPECT_EQ(0xD1D8DBu, m_table.GetColor(30));

    m_table.RefreshColors();
    EXPECT_EQ(clrYellow, m_table.GetColor(COLOR_WINDOW)) << "overrides survive a refresh";
    // 16.5 % of the yellow window over the face.
    EXPECT_EQ(BlendColors(clrYellow, g_classic[COLOR_BTNFACE], 165), m_table.GetColor(30));
    EXPECT_EQ(BlendColors(g_classic[COLOR_BTNFACE], clrYellow, 143), m_table.GetColor(41));
    EXPECT_EQ(m_table.GetColor(30), m_table.GetColor(53));

    m_table.SetColor(COLOR_WINDOW, XTP_COLOR_NONE);
    m_table.RefreshColors();
    EXPECT_EQ(0xD1D8DBu, m_table.GetColor(30));
}

namespace
{
DWORD g_dwNow = 0;
DWORD WINAPI FakeTickCount() { return g_dwNow; }
}

TEST(ColorTableRefresh, RefreshIfStaleRecomputesFrom501Milliseconds)
{
    CColorTable* pTable = GetColorTable();
    CColorTable::PFN_TICKCOUNT pfnPrevious = CColorTable::SetTickCountSource(FakeTickCount);
    std::copy(std::begin(g_classic), std::end(g_classic), std::begin(g_pinned));
    pTable->SetColorHook(PinnedColor);

    struct Step { DWORD dwNow; COLORREF clrFace; BOOL bRecomputes; } steps[] = {
        {100000, RGB(1, 1, 1), TRUE},    // long after the last refresh
        {100500, RGB(2, 2, 2), FALSE},   // 500 ms later
        {100501, RGB(3, 3, 3), TRUE},    // 501 ms after the last recomputation
        {101001, RGB(4, 4, 4), FALSE},
        {101002, RGB(5, 5, 5), TRUE},
    };
    COLORREF clrShown = pTable->GetColor(COLOR_BTNFACE);
    for (const Step& step : steps) {
        g_dwNow = step.dwNow;
        g_pinned[COLOR_BTNFACE] = step.clrFace;
        RefreshStandardColors();
        if (step.bRecomputes)
            clrShown = step.clrFace;
        EXPECT_EQ(clrShown, GetStandardColor(COLOR_BTNFACE)) << "at " << step.dwNow;
    }

    CColorTable::SetTickCountSource(pfnPrevious);
    pTable->SetColorHook(nullptr);
}

TEST_F(ColorTableTest, EverySchemeSetsItsFixedColoursAndGradients)
{
    struct Case
    {
        int nScheme;
        COLORREF clr30, clr59, clr54, gradient0Start, gradient4Middle2, gradient6End;
    } cases[] = {
        {CColorTable::schemeBlue, 0xF5BE9E, 0x361E16, 0x962D00, 0xD68759, 0xFCE1CA, 0xDCA179},
        {CColorTable::schemeOlive, 0xA7D9D9, 0x19221F, 0x588060, 0x82C0AF, 0xA7DCCE, 0x78B4A4},
        {CColorTable::schemeSilver, 0xE5D7D7, 0x292024, 0x947C7C, 0xBFA7A8, 0xECE2E1, 0x9E7E80},
    };
    for (const Case& c : cases) {
        Pin(g_classic, c.nScheme);
        EXPECT_EQ(c.nScheme, m_table.GetCurrentScheme());
        EXPECT_EQ(c.clr30, m_table.GetSchemeColor(30));
        EXPECT_EQ(c.clr59, m_table.GetSchemeColor(59));
        EXPECT_EQ(m_table.GetColor(34), m_table.GetSchemeColor(34)) << "34 has no scheme colour";
        EXPECT_EQ(m_table.GetColor(20), m_table.GetSchemeColor(20)) << "below 30 no scheme colour";
        EXPECT_EQ(0xD1D8DBu, m_table.GetColor(30)) << "the table itself keeps the derived colour";
        EXPECT_EQ(c.clr54, m_table.GetColor(54));
        EXPECT_EQ(c.gradient0Start, m_table.GetGradient(0).m_clrStart);
        EXPECT_FALSE(m_table.GetGradient(0).HasMiddleColors());
        EXPECT_TRUE(m_table.GetGradient(4).HasMiddleColors());
        EXPECT_EQ(c.gradient4Middle2, m_table.GetGradient(4).m_clrMiddle2);
        EXPECT_EQ(c.gradient6End, m_table.GetGradient(6).m_clrEnd);
    }

    // Back to no scheme: the fixed colours go and the gradients follow the system colours.
    Pin(g_classic, CColorTable::schemeNone);
    for (UINT i = 30; i < 60; i++)
        EXPECT_EQ(m_table.GetColor(i), m_table.GetSchemeColor(i)) << i;
    EXPECT_EQ(0x808080u, m_table.GetColor(54));
    const CColorGradient& gradient1 = m_table.GetGradient(1);
    EXPECT_EQ(g_classic[COLOR_BTNFACE], gradient1.m_clrStart);
    EXPECT_EQ(RGB(246, 245, 243), gradient1.m_clrEnd);   // 21.5 % face over the window
    EXPECT_FALSE(gradient1.HasMiddleColors());
    EXPECT_EQ(0x55ADFFu, m_table.GetGradient(8).m_clrEnd);
}

namespace
{
const COLORREF NONE = XTP_COLOR_NONE;

// The fixed colours of the three schemes, written out index by index from the schemes' published colours: the
// band (30-59, none where the scheme leaves the derived colour), colour 54 and gradients 0-7 (start, first
// middle, second middle, end; no middle colours for a plain run).
struct SCHEME_EXPECTATIONS
{
    int nScheme;
    COLORREF band[30];
    COLORREF clr54;
    COLORREF gradients[8][4];
};

const SCHEME_EXPECTATIONS g_schemes[] = {
    {CColorTable::schemeBlue,
     {0xF5BE9E, 0xC2EEFF, 0x800000, 0x3E80FE, NONE, NONE, 0x6FC0FF, 0x800000, 0x764127, 0xCB8C6A,
      0xD0966D, 0xF6F6F6, NONE, 0x962D00, NONE, NONE, NONE, 0x000000, NONE, NONE,
      0x800000, NONE, NONE, NONE, NONE, NONE, NONE, NONE, NONE, 0x361E16},
     0x962D00,
     {{0xD68759, NONE, NONE, 0x962D00}, {0xF5BE9E, NONE, NONE, 0xFADAC4}, {0xD68759, NONE, NONE, 0x962D00},
      {0xFEECDD, NONE, NONE, 0xE2A981}, {0xFEECDD, 0xFCE1CB, 0xFCE1CA, 0xE2A981},
      {0xFFEFE3, 0xFBE0CA, 0xFCE1CB, 0xE4AD87}, {0xF6DDCB, 0xF9C4A1, 0xF9C5A1, 0xDCA179},
      {0xFFEFE3, NONE, NONE, 0xE7B593}}},
    {CColorTable::schemeOlive,
     {0xA7D9D9, 0xC2EEFF, 0x385D3F, 0x3E80FE, NONE, NONE, 0x6FC0FF, 0x385D3F, 0x335E51, 0x588060,
      0x7AAE9F, 0xEEF4F4, NONE, 0x5E8D75, NONE, NONE, NONE, 0x000000, NONE, NONE,
      0x385D3F, NONE, NONE, NONE, NONE, NONE, NONE, NONE, NONE, 0x19221F},
     0x588060,
     {{0x82C0AF, NONE, NONE, 0x447A63}, {0xA7D9D9, NONE, NONE, 0xE4F1F2}, {0x6F8E78, NONE, NONE, 0x435B49},
      {0xDEF7F4, NONE, NONE, 0x91C6B7}, {0xDEF7F4, 0xA7DCCE, 0xA7DCCE, 0x91C6B7},
      {0xEDFFFF, 0xA6DBCD, 0xA7DCCE, 0x92C7B8}, {0xD1E6E6, 0x8FC9BA, 0x8FC9BA, 0x78B4A4},
      {0xD5F0EC, NONE, NONE, 0x9FCEC2}}},
    {CColorTable::schemeSilver,
     {0xE5D7D7, 0xC2EEFF, 0x6F4B4B, 0x3E80FE, NONE, NONE, 0x6FC0FF, 0x6F4B4B, 0x755454, 0x8F6D6E,
      0xBEA7A8, 0xFFFAFD, NONE, 0x947C7C, NONE, NONE, NONE, 0x000000, NONE, NONE,
      0x6F4B4B, NONE, NONE, NONE, NONE, NONE, NONE, NONE, NONE, 0x292024},
     0x947C7C,
     {{0xBFA7A8, NONE, NONE, 0x916F70}, {0xE5D7D7, NONE, NONE, 0xF7F3F3}, {0xBFA7A8, NONE, NONE, 0x977677},
      {0xFAF4F3, NONE, NONE, 0xB59799}, {0xFAF4F3, 0xECE2E1, 0xECE2E1, 0xB59799},
      {0xFFF9F9, 0xECE1E0, 0xECE2E1, 0xB99D9F}, {0xE2D7D7, 0xC9B9B8, 0xCAB9B8, 0x9E7E80},
      {0xF1E7E9, NONE, NONE, 0xCDB9BA}}},
};
}

TEST_F(ColorTableTest, EachSchemeMatchesItsColoursAtEveryIndex)
{
    for (const SCHEME_EXPECTATIONS& scheme : g_schemes) {
        SCOPED_TRACE(scheme.nScheme);
        Pin(g_classic, scheme.nScheme);
        for (UINT i = 30; i < 60; i++) {
            const COLORREF clrBand = scheme.band[i - 30];
            EXPECT_EQ(clrBand != NONE ? clrBand : m_table.GetColor(i), m_table.GetSchemeColor(i)) << i;
        }
        for (UINT i = 0; i < 30; i++)
            EXPECT_EQ(m_table.GetColor(i), m_table.GetSchemeColor(i)) << i;
        EXPECT_EQ(scheme.clr54, m_table.GetColor(54));
        for (int g = 0; g < 8; g++) {
            const CColorGradient& gradient = m_table.GetGradient(g);
            const COLORREF actual[4] = {gradient.m_clrStart, gradient.m_clrMiddle1, gradient.m_clrMiddle2,
                                        gradient.m_clrEnd};
            for (int c = 0; c < 4; c++)
                EXPECT_EQ(scheme.gradients[g][c], actual[c]) << "gradient " << g << " colour " << c;
        }
    }
}

TEST_F(ColorTableTest, SwitchedOffSchemeColoursCountAsNoScheme)
{
    Pin(g_classic, CColorTable::schemeOlive);
    m_table.SetSchemeColorsDisabled(TRUE);
    EXPECT_EQ(0xA7D9D9u, m_table.GetSchemeColor(30)) << "takes effect at the next refresh";
    m_table.RefreshColors();
    EXPECT_TRUE(m_table.IsSchemeColorsDisabled());
    EXPECT_EQ(CColorTable::schemeOlive, m_table.GetCurrentScheme());
    for (UINT i = 30; i < 60; i++)
        EXPECT_EQ(m_table.GetColor(i), m_table.GetSchemeColor(i)) << i;
    EXPECT_EQ(g_classic[COLOR_BTNFACE], m_table.GetGradient(1).m_clrStart);
}

namespace
{
// The active visual style as a test chooses it.
struct CFakeStyle
{
    static BOOL bActive;
    static const WCHAR* pszFile;
    static const WCHAR* pszColor;
    static COLORREF clrTreeBorder;

    static BOOL WINAPI IsThemeActive() { return bActive; }
    static HRESULT WINAPI GetCurrentThemeName(LPWSTR pszFileName, int cchFile, LPWSTR pszColorBuff, int cchColor,
                                              LPWSTR, int)
    {
        wcsncpy(pszFileName, pszFile, cchFile);
        wcsncpy(pszColorBuff, pszColor, cchColor);
        return S_OK;
    }
    static HTHEME WINAPI OpenThemeData(HWND, LPCWSTR pszClassList)
    {
        return wcscmp(pszClassList, L"TREEVIEW") == 0 ? reinterpret_cast<HTHEME>(7) : nullptr;
    }
    static HRESULT WINAPI CloseThemeData(HTHEME) { return S_OK; }
    static BOOL WINAPI IsAppThemed() { return TRUE; }
    static HRESULT WINAPI GetThemeColor(HTHEME, int iPartId, int iStateId, int iPropId, COLORREF* pColor)
    {
        if (iPartId != 0 || iStateId != 0 || iPropId != 3801)
            return E_INVALIDARG;
        *pColor = clrTreeBorder;
        return S_OK;
    }
};
BOOL CFakeStyle::bActive = TRUE;
const WCHAR* CFakeStyle::pszFile = L"";
const WCHAR* CFakeStyle::pszColor = L"";
COLORREF CFakeStyle::clrTreeBorder = RGB(0x12, 0x34, 0x56);

#define STYLE_ENTRY(name) {#name, reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&CFakeStyle::name))}
const XTP_VISUALSTYLE_ENTRY g_fakeStyle[] = {
    STYLE_ENTRY(IsThemeActive), STYLE_ENTRY(GetCurrentThemeName), STYLE_ENTRY(OpenThemeData),
    STYLE_ENTRY(CloseThemeData), STYLE_ENTRY(IsAppThemed), STYLE_ENTRY(GetThemeColor), {nullptr, nullptr}};

class ColorTableStyleTest : public ColorTableTest
{
protected:
    void SetUp() override { CXTPVisualStyleLibrary::GetInstance().SetEntryTable(g_fakeStyle); }
    void TearDown() override { CXTPVisualStyleLibrary::GetInstance().Load(); }
};
}

TEST_F(ColorTableStyleTest, AutomaticSchemeFollowsTheActiveVisualStyle)
{
    struct Case { BOOL bActive; const WCHAR* pszFile; const WCHAR* pszColor; int nExpected; } cases[] = {
        {TRUE, L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles", L"NormalColor", 1},
        {TRUE, L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles", L"HomeStead", 2},
        {TRUE, L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles", L"Metallic", 3},
        {TRUE, L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles", L"Other", 0},
        {TRUE, L"C:\\WINDOWS\\Resources\\Themes\\Royale\\Royale.msstyles", L"NormalColor", 1},
        {TRUE, L"C:\\WINDOWS\\Resources\\Themes\\Royale\\Royale.msstyles", L"Metallic", 0},
        {TRUE, L"C:\\Themes\\Aero.msstyles", L"NormalColor", 0},
        {FALSE, L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles", L"NormalColor", 0},
    };
    for (const Case& c : cases) {
        CFakeStyle::bActive = c.bActive;
        CFakeStyle::pszFile = c.pszFile;
        CFakeStyle::pszColor = c.pszColor;
        EXPECT_EQ(c.nExpected, CColorTable::DetectScheme()) << CString(c.pszFile) << " " << CString(c.pszColor);
        for (int nAuto : {4, 5}) {
            m_table.SetScheme(nAuto);
            EXPECT_EQ(c.nExpected, m_table.GetCurrentScheme());
        }
    }

    CFakeStyle::bActive = TRUE;
    CFakeStyle::pszFile = L"Luna.msstyles";
    CFakeStyle::pszColor = L"metallic";
    Pin(g_classic, CColorTable::schemeAuto);
    EXPECT_EQ(0xE5D7D7u, m_table.GetSchemeColor(30));
}

TEST_F(ColorTableStyleTest, ThemedTreeBorderBecomesColour57)
{
    CFakeStyle::bActive = FALSE;
    Pin(g_classic);
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), m_table.GetColor(57));
    {
        CDisplayBits display(8);
        m_table.RefreshColors();
        EXPECT_EQ(g_classic[COLOR_BTNSHADOW], m_table.GetColor(57)) << "low-colour displays do not ask the style";
    }

    // Without visual styles 57 stays the shadow colour.
    CXTPVisualStyleLibrary::GetInstance().Load(L"QuarzelNoSuchUxTheme.dll");
    m_table.RefreshColors();
    EXPECT_EQ(g_classic[COLOR_BTNSHADOW], m_table.GetColor(57));
}
