#include "ui/themes/ColorTable.h"

#include "platform/mfc/afxstr.h"
#include "ui/themes/DrawHelpers.h"
#include "ui/themes/VisualStyleHandle.h"

#include <algorithm>

namespace
{
DWORD g_dwLastRefresh = 0;
// Null reads GetTickCount: a constant initialiser, so the clock works before dynamic initialisation too.
CColorTable::PFN_TICKCOUNT g_pfnTickCount = nullptr;

// Fixed colours of the schemes blue, olive and silver.
struct SCHEME_COLOR
{
    int nIndex;
    COLORREF clr[3];
};

const SCHEME_COLOR g_schemeColors[] = {
    {30, {0xF5BE9E, 0xA7D9D9, 0xE5D7D7}}, {31, {0xC2EEFF, 0xC2EEFF, 0xC2EEFF}},
    {32, {0x800000, 0x385D3F, 0x6F4B4B}}, {33, {0x3E80FE, 0x3E80FE, 0x3E80FE}},
    {36, {0x6FC0FF, 0x6FC0FF, 0x6FC0FF}}, {37, {0x800000, 0x385D3F, 0x6F4B4B}},
    {38, {0x764127, 0x335E51, 0x755454}}, {39, {0xCB8C6A, 0x588060, 0x8F6D6E}},
    {40, {0xD0966D, 0x7AAE9F, 0xBEA7A8}}, {41, {0xF6F6F6, 0xEEF4F4, 0xFFFAFD}},
    {43, {0x962D00, 0x5E8D75, 0x947C7C}}, {47, {0x000000, 0x000000, 0x000000}},
    {50, {0x800000, 0x385D3F, 0x6F4B4B}}, {59, {0x361E16, 0x19221F, 0x292024}},
};

// Gradients 0-7 of the schemes blue, olive and silver; two-colour gradients leave the middle at none.
const COLORREF N = XTP_COLOR_NONE;
const COLORREF g_schemeGradients[3][8][4] = {
    {{0xD68759, N, N, 0x962D00}, {0xF5BE9E, N, N, 0xFADAC4}, {0xD68759, N, N, 0x962D00},
     {0xFEECDD, N, N, 0xE2A981}, {0xFEECDD, 0xFCE1CB, 0xFCE1CA, 0xE2A981}, {0xFFEFE3, 0xFBE0CA, 0xFCE1CB, 0xE4AD87},
     {0xF6DDCB, 0xF9C4A1, 0xF9C5A1, 0xDCA179}, {0xFFEFE3, N, N, 0xE7B593}},
    {{0x82C0AF, N, N, 0x447A63}, {0xA7D9D9, N, N, 0xE4F1F2}, {0x6F8E78, N, N, 0x435B49},
     {0xDEF7F4, N, N, 0x91C6B7}, {0xDEF7F4, 0xA7DCCE, 0xA7DCCE, 0x91C6B7}, {0xEDFFFF, 0xA6DBCD, 0xA7DCCE, 0x92C7B8},
     {0xD1E6E6, 0x8FC9BA, 0x8FC9BA, 0x78B4A4}, {0xD5F0EC, N, N, 0x9FCEC2}},
    {{0xBFA7A8, N, N, 0x916F70}, {0xE5D7D7, N, N, 0xF7F3F3}, {0xBFA7A8, N, N, 0x977677},
     {0xFAF4F3, N, N, 0xB59799}, {0xFAF4F3, 0xECE2E1, 0xECE2E1, 0xB59799}, {0xFFF9F9, 0xECE1E0, 0xECE2E1, 0xB99D9F},
     {0xE2D7D7, 0xC9B9B8, 0xCAB9B8, 0x9E7E80}, {0xF1E7E9, N, N, 0xCDB9BA}},
};

const COLORREF g_schemeMenuBorder[3] = {0x962D00, 0x588060, 0x947C7C};

// Derived colour = system colour, before the blends.
const int g_plainDerived[][2] = {
    {30, 15}, {31, 5}, {32, 13}, {33, 13}, {34, 16}, {35, 17}, {36, 5}, {37, 13}, {38, 16}, {39, 16},
    {40, 16}, {41, 5}, {42, 16}, {43, 16}, {44, 8}, {45, 7}, {46, 18}, {47, 14}, {48, 15}, {49, 18},
    {50, 13}, {51, 15}, {52, 16}, {53, 15}, {54, 16}, {55, 15}, {56, 15}, {57, 16}, {58, 17},
};

struct BLEND_STEP
{
    int nColor, a, b, w;
};

const BLEND_STEP g_blends[] = {
    {30, 5, 15, 165}, {31, 13, 5, 30}, {33, 13, 5, 50}, {41, 15, 5, 143}, {35, 17, 5, 70},
    {38, 16, 5, 75}, {39, 16, 5, 70}, {43, 46, 16, 20}, {40, 16, 5, 90}, {42, 15, 16, 90},
};

struct CONTRAST_STEP
{
    int nColor, a, b, t;
};

const CONTRAST_STEP g_contrastCorrections[] = {
    {31, 30, 31, 50}, {32, 30, 13, 100}, {33, 30, 33, 30}, {35, 41, 35, 80}, {37, 33, 37, 100},
    {38, 30, 38, 85}, {39, 30, 39, 50}, {43, 47, 43, 100}, {40, 30, 40, 80}, {44, 41, 44, 180},
    {45, 31, 45, 180}, {46, 30, 46, 180}, {47, 33, 47, 180},
};

int MaxChannel(COLORREF clr) { return std::max({GetRValue(clr), GetGValue(clr), GetBValue(clr)}); }

// Each channel × numerator / denominator, integer division.
COLORREF ScaleChannels(COLORREF clr, int nNumerator, int nDenominator)
{
    return RGB(GetRValue(clr) * nNumerator / nDenominator, GetGValue(clr) * nNumerator / nDenominator,
               GetBValue(clr) * nNumerator / nDenominator);
}
}

void CColorGradient::Set(PFN_SETVALUE pfnSet, COLORREF clrStart, COLORREF clrMiddle1, COLORREF clrMiddle2,
                         COLORREF clrEnd)
{
    (m_clrStart.*pfnSet)(clrStart);
    (m_clrMiddle1.*pfnSet)(clrMiddle1);
    (m_clrMiddle2.*pfnSet)(clrMiddle2);
    (m_clrEnd.*pfnSet)(clrEnd);
}

CColorTable::CColorTable()
{
    std::fill(std::begin(m_clrOverride), std::end(m_clrOverride), XTP_COLOR_NONE);
    std::fill(std::begin(m_clrScheme), std::end(m_clrScheme), XTP_COLOR_NONE);
    RefreshColors();
    m_gradients[8].SetDefaultColors(0x8CD5FF, 0x55ADFF);
    m_gradients[9].SetDefaultColors(0x4B8EFE, 0x8BCFFF);
    m_gradients[10].SetDefaultColors(0xC8F2FF, 0x97D4FF);
}

COLORREF CColorTable::GetColor(UINT nIndex) const
{
    if (nIndex >= colorCount)
        return nIndex;
    return m_clrOverride[nIndex] != XTP_COLOR_NONE ? m_clrOverride[nIndex] : m_clrStandard[nIndex];
}

void CColorTable::SetColor(UINT nIndex, COLORREF clr)
{
    if (nIndex < colorCount)
        m_clrOverride[nIndex] = clr;
}

void CColorTable::SetColors(int nCount, const UINT* pIndices, const COLORREF* pColors)
{
    for (int i = 0; i < nCount; i++)
        SetColor(pIndices[i], pColors[i]);
}

COLORREF CColorTable::GetSchemeColor(UINT nIndex) const
{
    if (nIndex >= 30 && nIndex < colorCount && m_clrScheme[nIndex] != XTP_COLOR_NONE)
        return m_clrScheme[nIndex];
    return GetColor(nIndex);
}

void CColorTable::SetColorHook(XTP_COLOR_HOOK pfnHook)
{
    m_pfnColorHook = pfnHook;
    RefreshColors();
}

int CColorTable::GetCurrentScheme() const
{
    return m_nScheme == 4 || m_nScheme == 5 ? DetectScheme() : m_nScheme;
}

int CColorTable::GetSchemeInForce() const
{
    int nScheme = m_bSchemeColorsDisabled ? schemeNone : GetCurrentScheme();
    return nScheme >= schemeBlue && nScheme <= schemeSilver ? nScheme : schemeNone;
}

int CColorTable::DetectScheme()
{
    CXTPVisualStyleHandle theme;
    if (!theme.IsThemeActive())
        return schemeNone;
    WCHAR szFile[MAX_PATH] = {}, szColor[MAX_PATH] = {};
    if (FAILED(theme.GetCurrentThemeName(szFile, MAX_PATH, szColor, MAX_PATH, nullptr, 0)))
        return schemeNone;
    CString strFile(szFile), strColor(szColor);
    strFile.MakeLower();
    strColor.MakeLower();
    if (strFile.Find(L"luna.msstyles") >= 0) {
        if (strColor == L"normalcolor")
            return schemeBlue;
        if (strColor == L"homestead")
            return schemeOlive;
        if (strColor == L"metallic")
            return schemeSilver;
    }
    return strFile.Find(L"royale.msstyles") >= 0 && strColor == L"normalcolor" ? schemeBlue : schemeNone;
}

void CColorTable::RefreshColors()
{
    BOOL bLowColor = IsLowColorDisplay();
    RefreshSystemColors();
    SetDefaultDerivedColors();
    RefreshSchemeColors();
    if (!bLowColor)
        RefreshDerivedColors();
    RefreshGradients();
    if (!bLowColor)
        RefreshThemedBorderColor();
}

void CColorTable::RefreshSystemColors()
{
    m_clrStandard[0] = 0;
    for (int i = 1; i <= 27; i++)
        m_clrStandard[i] = m_pfnColorHook ? m_pfnColorHook(i) : ::GetSysColor(i);
}

void CColorTable::SetDefaultDerivedColors()
{
    for (const auto& derived : g_plainDerived)
        SetStandard(derived[0], GetColor(derived[1]));
    SetStandard(59, 0);
}

void CColorTable::RefreshSchemeColors()
{
    int nScheme = GetSchemeInForce();
    if (nScheme == schemeNone) {
        std::fill(std::begin(m_clrScheme), std::end(m_clrScheme), XTP_COLOR_NONE);
        return;
    }
    for (const SCHEME_COLOR& entry : g_schemeColors)
        m_clrScheme[entry.nIndex] = entry.clr[nScheme - 1];
}

void CColorTable::RefreshDerivedColors()
{
    for (const BLEND_STEP& step : g_blends)
        SetStandard(step.nColor, BlendColors(GetColor(step.a), GetColor(step.b), step.w));

    if (IsContrastEnough(GetColor(15), GetColor(30), TRUE, 35))
        SetStandard(30, ReduceContrast(GetColor(15), GetColor(30), 35));

    for (const CONTRAST_STEP& step : g_contrastCorrections) {
        COLORREF a = GetColor(step.a), b = GetColor(step.b);
        if (!IsContrastEnough(a, b, TRUE, static_cast<float>(step.t)))
            SetStandard(step.nColor, IncreaseContrast(a, b, static_cast<float>(step.t)));
    }

    if (IsContrastEnough(GetColor(41), GetColor(35), TRUE, 145))
        SetStandard(35, ReduceContrast(GetColor(41), GetColor(35), 145));

    COLORREF clr30 = GetColor(30), clr5 = GetColor(5), clr13 = GetColor(13);
    auto mix36 = [](int c30, int c5, int c13) { return c30 * 50 / 100 + c5 * 40 / 100 + c13 * 10 / 100; };
    SetStandard(36, RGB(mix36(GetRValue(clr30), GetRValue(clr5), GetRValue(clr13)),
                        mix36(GetGValue(clr30), GetGValue(clr5), GetGValue(clr13)),
                        mix36(GetBValue(clr30), GetBValue(clr5), GetBValue(clr13))));

    // The face brightened until its largest channel has risen by up to 35.
    COLORREF clrFace = GetColor(15);
    int nMax = MaxChannel(clrFace);
    SetStandard(48, nMax == 0 ? RGB(0x23, 0x23, 0x23) : ScaleChannels(clrFace, nMax + std::min(255 - nMax, 35), nMax));

    // The shadow darkened until its largest channel has dropped by 43.
    COLORREF clrShadow = GetColor(16);
    nMax = MaxChannel(clrShadow);
    if (clrFace == 0)
        SetStandard(49, RGB(0x7F, 0x7F, 0x7F));
    else
        SetStandard(49, nMax == 0 ? 0 : ScaleChannels(clrShadow, std::max(nMax - 43, 0), nMax));

    COLORREF clr31 = m_clrStandard[31];
    SetStandard(34, RGB(static_cast<int>(GetRValue(clr31) * 0.75), static_cast<int>(GetGValue(clr31) * 0.75),
                        static_cast<int>(GetBValue(clr31) * 0.75)));
    SetStandard(COLOR_3DLIGHT, CColorRef(clrFace) + 15);
    SetStandard(53, GetColor(30));
    SetStandard(58, GetColor(40));
}

void CColorTable::RefreshGradients()
{
    int nScheme = GetSchemeInForce();
    if (nScheme != schemeNone) {
        for (int i = 0; i < 8; i++) {
            const COLORREF* clr = g_schemeGradients[nScheme - 1][i];
            m_gradients[i].SetDefaultColors(clr[0], clr[1], clr[2], clr[3]);
        }
        SetStandard(54, g_schemeMenuBorder[nScheme - 1]);
        return;
    }
    COLORREF clrFace = GetColor(15), clrShadow = GetColor(16), clrWindow = GetColor(5);
    auto bw = [clrFace, clrWindow](int w) { return BlendColors(clrFace, clrWindow, w); };
    m_gradients[0].SetDefaultColors(clrShadow, clrShadow);
    m_gradients[1].SetDefaultColors(clrFace, bw(215));
    m_gradients[2].SetDefaultColors(clrFace, clrShadow);
    m_gradients[3].SetDefaultColors(bw(215), bw(97));
    m_gradients[4].SetDefaultColors(bw(215), bw(50), bw(51), bw(97));
    m_gradients[5].SetDefaultColors(bw(145), bw(50), bw(50), bw(93));
    m_gradients[6].SetDefaultColors(bw(40), bw(70), bw(70), BlendColors(clrFace, clrShadow, 95));
    m_gradients[7].SetDefaultColors(bw(165), bw(42));
}

void CColorTable::RefreshThemedBorderColor()
{
    const int nBorderColorProperty = 3801;
    CXTPVisualStyleHandle theme;
    theme.OpenThemeData(nullptr, L"TREEVIEW");
    COLORREF clrBorder = 0;
    if (theme.IsAppThemed() && SUCCEEDED(theme.GetThemeColor(0, 0, nBorderColorProperty, &clrBorder)))
        SetStandard(57, clrBorder);
}

void CColorTable::RefreshIfStale()
{
    DWORD dwNow = g_pfnTickCount ? g_pfnTickCount() : ::GetTickCount();
    if (dwNow - g_dwLastRefresh < 501)
        return;
    GetColorTable()->RefreshColors();
    g_dwLastRefresh = dwNow;
}

CColorTable::PFN_TICKCOUNT CColorTable::SetTickCountSource(PFN_TICKCOUNT pfnTickCount)
{
    PFN_TICKCOUNT pfnPrevious = g_pfnTickCount;
    g_pfnTickCount = pfnTickCount;
    return pfnPrevious;
}

CColorTable* GetColorTable()
{
    static CColorTable s_table;
    return &s_table;
}

COLORREF GetStandardColor(UINT nIndex) { return GetColorTable()->GetColor(nIndex); }
void RefreshStandardColors() { CColorTable::RefreshIfStale(); }
