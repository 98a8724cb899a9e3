#include "ui/themes/TabColors.h"

#include "ui/docking/TabManager.h"
#include "ui/themes/ColorRef.h"
#include "ui/themes/DrawHelpers.h"
#include "ui/themes/MemDC.h"
#include "ui/themes/TabPainter.h"

#include <vssym32.h>

#include <vector>

int CXTPTabColors::GetStyleId() const
{
    return m_pPainter ? m_pPainter->GetStyle() : 0;
}

int CXTPTabColors::GetPosition() const
{
    return m_pPainter ? m_pPainter->GetPosition() : CXTPTabPainter::positionTop;
}

void CXTPTabColors::SetDefaults(CColorValue* pValues, std::initializer_list<COLORREF> colors)
{
    for (COLORREF clr : colors)
        (pValues++)->SetDefaultValue(clr);
}

void CXTPTabColors::RefreshColors()
{
    m_clrHeaderFace.SetDefaultColors(C(COLOR_BTNFACE), C(COLOR_BTNFACE));
    m_clrHeaderFace2.SetDefaultColors(m_clrHeaderFace);
    m_clrFrameBorder.SetDefaultValue(C(COLOR_BTNSHADOW));
    m_clrClientFace.SetDefaultValue(C(COLOR_BTNFACE));
    m_clrLightEdge.SetDefaultValue(C(COLOR_BTNHIGHLIGHT));
    m_clrSelectedFace.SetDefaultValue(GetStyleId() == 7 ? C(COLOR_WINDOW) : C(COLOR_BTNFACE));
    m_clrNormalFace.SetDefaultValue(C(COLOR_BTNFACE));
    m_clrText.SetDefaultValue(C(COLOR_BTNTEXT));
    m_clrInactiveText.SetDefaultValue(C(COLOR_BTNTEXT));
    m_clrSelectedText.SetDefaultValue(C(COLOR_BTNTEXT));
    m_clrHighlightText.SetDefaultValue(0x800000);
    m_clrDisabledText.SetDefaultValue(C(COLOR_GRAYTEXT));
    m_clrAccentFace.SetDefaultColor(C(COLOR_WINDOW));
    m_clrAccentBorder.SetDefaultColor(C(COLOR_HIGHLIGHT));
    SetDefaults(m_clrTabEdge, {C(COLOR_BTNHIGHLIGHT), C(COLOR_BTNSHADOW), C(COLOR_3DDKSHADOW)});
    SetDefaults(m_clrSelectedTabEdge, {C(COLOR_BTNSHADOW), C(COLOR_BTNSHADOW), C(COLOR_BTNFACE)});
    m_clrExtraFace.SetDefaultValue(C(COLOR_BTNFACE));
    SetDefaults(m_clrSelectedOutline, {C(COLOR_BTNTEXT), C(COLOR_BTNSHADOW), C(COLOR_BTNTEXT), XTP_COLOR_NONE,
                                       XTP_COLOR_NONE, XTP_COLOR_NONE});
    SetDefaults(m_clrNormalOutline, {C(COLOR_BTNTEXT), C(COLOR_BTNSHADOW), C(COLOR_BTNTEXT), C(COLOR_WINDOW),
                                     C(COLOR_BTNSHADOW), XTP_COLOR_NONE});
}

void CXTPTabColors::GetItemTextColor(CDC* pDC, CXTPTabManagerItem* pItem)
{
    COLORREF clr = m_clrText;
    if (!pItem->IsEnabled())
        clr = m_clrDisabledText;
    else if (!pItem->GetTabManager()->IsActive())
        clr = m_clrInactiveText;
    else if (pItem->IsSelected())
        clr = m_clrSelectedText;
    else if (pItem->IsHot())
        clr = m_clrHighlightText;
    pDC->SetTextColor(clr);
}

void CXTPTabColors::FillGradientLikeHeader(CDC* pDC, CRect rc, COLORREF clrStart, COLORREF clrEnd)
{
    int nPosition = GetPosition();
    BOOL bSwap = nPosition == CXTPTabPainter::positionBottom || nPosition == CXTPTabPainter::positionRight;
    if (m_pPainter && m_pPainter->m_bInvertGradient)
        bSwap = !bSwap;
    if (bSwap)
        std::swap(clrStart, clrEnd);
    BOOL bHorizontal = nPosition == CXTPTabPainter::positionLeft || nPosition == CXTPTabPainter::positionRight;
    GetGradientPainter()->DrawGradient(pDC, &rc, clrStart, clrEnd, bHorizontal);
}

void CXTPTabColors::FillHeader(CDC* pDC, CRect rc, CXTPTabManager* /*pManager*/)
{
    if (m_clrHeaderFace.m_clrStart == XTP_TABCOLOR_DITHER)
        DrawPatternRect(pDC, rc);
    else
        FillGradientLikeHeader(pDC, rc, m_clrHeaderFace.m_clrStart, m_clrHeaderFace.m_clrEnd);
}

COLORREF CXTPTabColors::FillClient(CDC* pDC, CRect rc, CXTPTabManager* pManager)
{
    CXTPTabManagerItem* pSelected = pManager->GetSelectedItem();
    COLORREF clr = pSelected ? GetItemFaceColor(pSelected) : static_cast<COLORREF>(m_clrSelectedFace);
    pDC->FillSolidRect(rc, clr);
    return clr;
}

void CXTPTabColors::FillItemFace(CDC* pDC, CRect rc, CXTPTabManagerItem* pItem)
{
    if (pItem->IsSelected()) {
        if (m_pPainter && m_pPainter->m_bShowItemColors)
            pDC->FillSolidRect(rc, GetItemFaceColor(pItem));
        else if (m_clrAccentFace.m_clrStart == XTP_TABCOLOR_DITHER)
            DrawPatternRect(pDC, rc);
        else
            FillGradientLikeHeader(pDC, rc, m_clrAccentFace.m_clrStart, m_clrAccentFace.m_clrEnd);
        pDC->Draw3dRect(rc, m_clrAccentBorder.m_clrStart, m_clrAccentBorder.m_clrEnd);
        return;
    }
    // An etched separator after the tab.
    if (m_pPainter && m_pPainter->IsHorizontal()) {
        pDC->FillSolidRect(rc.right, rc.top + 2, 1, rc.Height() - 4, C(COLOR_BTNSHADOW));
        pDC->FillSolidRect(rc.right + 1, rc.top + 2, 1, rc.Height() - 4, C(COLOR_BTNHIGHLIGHT));
    } else {
        pDC->FillSolidRect(rc.left + 2, rc.bottom, rc.Width() - 4, 1, C(COLOR_BTNSHADOW));
        pDC->FillSolidRect(rc.left + 2, rc.bottom + 1, rc.Width() - 4, 1, C(COLOR_BTNHIGHLIGHT));
    }
}

COLORREF CXTPTabColors::GetItemFaceColor(CXTPTabManagerItem* pItem)
{
    if (m_pPainter && m_pPainter->m_bShowItemColors)
        return pItem->GetColor();
    return pItem->IsSelected() ? m_clrSelectedFace : m_clrNormalFace;
}

COLORREF CXTPTabColors::FillIndexed(CDC* pDC, CRect rc, CXTPTabManagerItem* pItem)
{
    COLORREF clr = GetItemFaceColor(pItem);
    pDC->FillSolidRect(rc, clr);
    return clr;
}

COLORREF CXTPTabColors::FillNavigateButton(CDC* pDC, CXTPTabManagerNavigateButton* pButton, CRect& rc)
{
    if (pButton->IsEnabled() && pButton->IsPressed()) {
        pDC->Draw3dRect(rc, C(COLOR_BTNSHADOW), C(COLOR_BTNHIGHLIGHT));
        rc.OffsetRect(1, 1);
    } else if (pButton->IsEnabled() && pButton->IsHot()) {
        pDC->Draw3dRect(rc, C(COLOR_BTNHIGHLIGHT), C(COLOR_BTNSHADOW));
    }
    return C(COLOR_BTNTEXT);
}

// Set 1

void CXTPTabColorsDefault::RefreshColors()
{
    CXTPTabColors::RefreshColors();
    m_clrAccentFace.SetDefaultColor(XTP_TABCOLOR_DITHER);
    m_clrAccentBorder.SetDefaultColors(C(COLOR_BTNSHADOW), C(COLOR_BTNHIGHLIGHT));
    SetDefaults(m_clrSelectedOutline, {C(COLOR_BTNTEXT), C(COLOR_BTNTEXT), C(COLOR_BTNTEXT), C(COLOR_WINDOW),
                                       C(COLOR_BTNSHADOW), C(COLOR_BTNSHADOW)});
    SetDefaults(m_clrNormalOutline, {C(COLOR_BTNTEXT), C(COLOR_BTNTEXT), C(COLOR_BTNTEXT), XTP_COLOR_NONE,
                                     XTP_COLOR_NONE, XTP_COLOR_NONE});
    if (GetStyleId() == 7) {
        m_clrSelectedFace.SetDefaultValue(C(COLOR_BTNFACE));
        m_clrNormalFace.SetDefaultValue(C(COLOR_WINDOW));
        m_clrFrameBorder.SetDefaultValue(C(COLOR_BTNTEXT));
    }
}

// Set 2

void CXTPTabColorsFlat::RefreshColors()
{
    CXTPTabColors::RefreshColors();
    int nStyle = GetStyleId();
    if (nStyle != 4 && nStyle != 7)
        m_clrHeaderFace.SetDefaultColor(C(48));
    if (nStyle == 5) {
        m_clrText.SetDefaultValue(C(49));
        m_clrInactiveText.SetDefaultValue(C(49));
    }
    m_clrHeaderFace2.SetDefaultColors(m_clrHeaderFace);
}

COLORREF CXTPTabColorsFlat::FillNavigateButton(CDC* pDC, CXTPTabManagerNavigateButton* pButton, CRect& rc)
{
    int nStyle = GetStyleId();
    if (nStyle == 4 || nStyle == 7)
        return CXTPTabColors::FillNavigateButton(pDC, pButton, rc);
    if (pButton->IsEnabled() && pButton->IsPressed()) {
        pDC->Draw3dRect(rc, C(COLOR_BTNTEXT), C(COLOR_BTNFACE));
        rc.OffsetRect(1, 1);
    } else if (pButton->IsEnabled() && pButton->IsHot()) {
        pDC->Draw3dRect(rc, C(COLOR_BTNFACE), C(COLOR_BTNTEXT));
    }
    return C(49);
}

// Set 4

namespace
{
struct SCHEME_TAB_COLORS
{
    COLORREF clrFrame;         // and the second selected tab edge
    COLORREF clrDarkEdge;      // third tab edge and first selected tab edge
    COLORREF clrExtraFace;
    COLORREF clrShadowEdge;    // second tab edge and third selected tab edge
    COLORREF clrAccentFace;
    COLORREF clrAccentBorder;
    COLORREF clrHeader[2];
    COLORREF clrNormalFace;
    COLORREF clrSelectedFace;
    COLORREF clrAccent;
    COLORREF clrHeader2[2];
    COLORREF clrPressedFrame;
};

// Blue, olive and silver.
const SCHEME_TAB_COLORS g_schemeTabColors[3] = {
    {0x9C613B, 0x9A3500, 0xFFFFFF, 0xF1A675, 0x6FC0FF, 0x800000, {0xFADAC4, 0xFEFDFC}, 0xF6C0A2, 0x73C2FF,
     0xC9F0FF, {0xF5BE9E, 0xFADAC4}, 0x800000},
    {0x588060, 0x6B7760, 0xFFFFFF, 0x8CC2B0, 0x6FC0FF, 0x385D3F, {0xE4F1F2, 0xFEFEFC}, 0xAADED0, 0x73C2FF,
     0xC7F0FF, {0xA7D9D9, 0xE4F1F2}, 0x385D3F},
    {0x947C7C, 0x927476, 0xFFFFFF, 0xCEB9BA, 0x6FC0FF, 0x6F4B4B, {0xF7F3F3, 0xFEFEFC}, 0xE6D9D9, 0x73C2FF,
     0xC2EEFF, {0xE5D7D7, 0xF7F3F3}, 0x6F4B4B},
};

BOOL IsSchemeSet(int nScheme)
{
    return nScheme >= CColorTable::schemeBlue && nScheme <= CColorTable::schemeSilver;
}
}

void CXTPTabColorsScheme::RefreshColors()
{
    CXTPTabColors::RefreshColors();
    m_bSchemeColorsInUse = FALSE;
    m_clrHeaderFace.SetDefaultColors(C(COLOR_BTNFACE), BlendColors(C(COLOR_BTNFACE), C(COLOR_WINDOW), 205));
    m_clrAccentFace.SetDefaultColor(C(36));
    m_clrAccentBorder.SetDefaultColor(C(37));
    m_clrAccent.SetDefaultValue(C(36));
    m_clrPressedFrame.SetDefaultValue(C(37));
    m_clrHighlightText.SetDefaultValue(C(COLOR_BTNTEXT));
    m_clrHeaderFace2.SetDefaultColors(m_clrHeaderFace);

    BOOL bSchemeColors = !m_pPainter || !m_pPainter->IsSchemeColorsDisabled();
    int nScheme = GetColorScheme();
    if (bSchemeColors && IsSchemeSet(nScheme)) {
        const SCHEME_TAB_COLORS& scheme = g_schemeTabColors[nScheme - 1];
        m_clrFrameBorder.SetDefaultValue(scheme.clrFrame);
        m_clrSelectedTabEdge[1].SetDefaultValue(scheme.clrFrame);
        m_clrTabEdge[2].SetDefaultValue(scheme.clrDarkEdge);
        m_clrSelectedTabEdge[0].SetDefaultValue(scheme.clrDarkEdge);
        m_clrExtraFace.SetDefaultValue(scheme.clrExtraFace);
        m_clrTabEdge[1].SetDefaultValue(scheme.clrShadowEdge);
        m_clrSelectedTabEdge[2].SetDefaultValue(scheme.clrShadowEdge);
        m_clrAccentFace.SetDefaultColor(scheme.clrAccentFace);
        m_clrAccentBorder.SetDefaultColor(scheme.clrAccentBorder);
        m_clrHeaderFace.SetDefaultColors(scheme.clrHeader[0], scheme.clrHeader[1]);
        m_clrNormalFace.SetDefaultValue(scheme.clrNormalFace);
        m_clrSelectedFace.SetDefaultValue(scheme.clrSelectedFace);
        m_clrAccent.SetDefaultValue(scheme.clrAccent);
        m_clrHeaderFace2.SetDefaultColors(scheme.clrHeader2[0], scheme.clrHeader2[1]);
        m_clrPressedFrame.SetDefaultValue(scheme.clrPressedFrame);
        m_bSchemeColorsInUse = TRUE;
    } else if (bSchemeColors) {
        m_clrSelectedFace.SetDefaultValue(C(36));
    }
    COLORREF clrFrame = m_clrFrameBorder;
    SetDefaults(m_clrSelectedOutline, {clrFrame, clrFrame, clrFrame, XTP_COLOR_NONE, XTP_COLOR_NONE, XTP_COLOR_NONE});
    SetDefaults(m_clrNormalOutline, {clrFrame, clrFrame, clrFrame, XTP_COLOR_NONE, XTP_COLOR_NONE, XTP_COLOR_NONE});
    if (GetStyleId() == 4) {
        m_clrHeaderFace.SetDefaultColor(C(COLOR_BTNFACE));
        m_clrHeaderFace2.SetDefaultColor(C(COLOR_BTNFACE));
    }
}

COLORREF CXTPTabColorsScheme::GetIndexedColor(CXTPTabManagerItem* pItem)
{
    return pItem->IsHot() ? static_cast<COLORREF>(m_clrAccent) : GetItemFaceColor(pItem);
}

COLORREF CXTPTabColorsScheme::FillIndexed(CDC* pDC, CRect rc, CXTPTabManagerItem* pItem)
{
    COLORREF clr = GetIndexedColor(pItem);
    FillGradientLikeHeader(pDC, rc, BlendColors(clr, 0xFFFFFF, 300), clr);
    return clr;
}

COLORREF CXTPTabColorsScheme::FillNavigateButton(CDC* pDC, CXTPTabManagerNavigateButton* pButton, CRect& rc)
{
    if (!pButton->IsEnabled() || (!pButton->IsHot() && !pButton->IsPressed()))
        return C(COLOR_BTNTEXT);
    BOOL bBoth = pButton->IsHot() && pButton->IsPressed();
    if (m_bSchemeColorsInUse) {
        GetGradientPainter()->DrawGradient(pDC, &rc, bBoth ? 0x4B8EFE : 0xC8F2FF, bBoth ? 0x8BCFFF : 0x97D4FF, FALSE);
        pDC->Draw3dRect(rc, m_clrPressedFrame, m_clrPressedFrame);
        return C(COLOR_BTNTEXT);
    }
    pDC->FillSolidRect(rc, C(bBoth ? 50 : 32));
    pDC->Draw3dRect(rc, C(bBoth ? 33 : 31), C(bBoth ? 33 : 31));
    return C(bBoth ? 47 : 45);
}

// Set 16

void CXTPTabColorsSchemeSolid::RefreshColors()
{
    m_bGradientFaces = FALSE;
    if (!m_pPainter || !m_pPainter->IsSchemeColorsDisabled()) {
        CXTPTabColorsScheme::RefreshColors();
        return;
    }
    CXTPTabColors::RefreshColors();
    m_bSchemeColorsInUse = FALSE;
    m_clrSelectedFace.SetDefaultValue(0xFFFFFF);
    m_clrAccent.SetDefaultValue(C(36));
    m_clrPressedFrame.SetDefaultValue(C(37));
    m_clrHighlightText.SetDefaultValue(C(COLOR_BTNTEXT));
    // The colour table's own scheme, even though its colours are switched off.
    int nScheme = GetColorScheme();
    if (nScheme == CColorTable::schemeBlue || nScheme == CColorTable::schemeOlive)
        m_clrHeaderFace.SetDefaultColor(0xD5E2E4);
    if (nScheme == CColorTable::schemeSilver) {
        m_clrNormalFace.SetDefaultValue(0xF8F5F5);
        m_clrHeaderFace.SetDefaultColor(0xEEEEEE);
    }
    m_bGradientFaces = IsSchemeSet(nScheme);
    m_clrSelectedTabEdge[1].SetDefaultValue(C(57));
    m_clrFrameBorder.SetDefaultValue(C(57));
    m_clrHeaderFace2.SetDefaultColors(m_clrHeaderFace);
}

COLORREF CXTPTabColorsSchemeSolid::FillIndexed(CDC* pDC, CRect rc, CXTPTabManagerItem* pItem)
{
    if (m_bGradientFaces)
        return CXTPTabColorsScheme::FillIndexed(pDC, rc, pItem);
    COLORREF clr = GetIndexedColor(pItem);
    pDC->FillSolidRect(rc, clr);
    return clr;
}

// Set 8

void CXTPTabColorsThemed::RefreshColors()
{
    CXTPTabColorsDefault::RefreshColors();
    m_themeTab.CloseThemeData();
    m_themeButton.CloseThemeData();
    if (!m_themeTab.IsStyleAvailable())
        return;
    m_themeTab.OpenThemeData(nullptr, L"TAB");
    if (m_themeTab.IsOpen()) {
        SetDefaults(m_clrTabEdge, {XTP_COLOR_NONE, XTP_COLOR_NONE, XTP_COLOR_NONE});
        m_clrHighlightText.SetDefaultValue(m_clrText);
    }
    m_themeButton.OpenThemeData(nullptr, L"TOOLBAR");
}

COLORREF CXTPTabColorsThemed::FillClient(CDC* pDC, CRect rc, CXTPTabManager* pManager)
{
    if (!m_themeTab.IsOpen())
        return CXTPTabColorsDefault::FillClient(pDC, rc, pManager);
    int nPosition = GetPosition();
    if (nPosition == CXTPTabPainter::positionBottom)
        rc.bottom++;
    else if (nPosition == CXTPTabPainter::positionRight)
        rc.right++;
    m_themeTab.DrawThemeBackground(*pDC, TABP_PANE, 0, &rc, nullptr);
    return 0;
}

void CXTPTabColorsThemed::FillItemFace(CDC* pDC, CRect rc, CXTPTabManagerItem* pItem)
{
    if (!m_themeButton.IsOpen() || !pItem->IsSelected()) {
        CXTPTabColorsDefault::FillItemFace(pDC, rc, pItem);
        return;
    }
    m_themeButton.DrawThemeBackground(*pDC, TP_BUTTON, pItem->IsHot() ? TS_HOTCHECKED : TS_CHECKED, &rc, nullptr);
}

void CXTPTabColorsThemed::TurnSurface(const DWORD* pSource, DWORD* pOutput, int cx, int cy, int nPosition)
{
    for (int y = 0; y < cy; y++) {
        for (int x = 0; x < cx; x++) {
            DWORD dwPixel;
            if (nPosition == CXTPTabPainter::positionLeft)
                dwPixel = pSource[x * cy + y];   // the surface is cy wide
            else if (nPosition == CXTPTabPainter::positionRight)
                dwPixel = pSource[(cx - 1 - x) * cy + (cy - 1 - y)];
            else
                dwPixel = pSource[(cy - 1 - y) * cx + x];
            pOutput[y * cx + x] = dwPixel;
        }
    }
}

namespace
{
// A top-down 32-bit DIB section.
HBITMAP CreateSurface(int cx, int cy, DWORD** ppBits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(ppBits), nullptr, 0);
}
}

COLORREF CXTPTabColorsThemed::FillIndexed(CDC* pDC, CRect rc, CXTPTabManagerItem* pItem)
{
    if (!m_themeTab.IsOpen())
        return CXTPTabColorsDefault::FillIndexed(pDC, rc, pItem);
    int nState = pItem->IsSelected() ? TIS_SELECTED : pItem->IsHot() ? TIS_FOCUSED : TIS_NORMAL;
    int nPosition = GetPosition();
    if (pItem->IsSelected()) {
        if (nPosition == CXTPTabPainter::positionTop)
            rc.bottom++;
        else if (nPosition == CXTPTabPainter::positionLeft)
            rc.right++;
    }
    static const RECT growth[4] = {{1, 1, 1, 0}, {1, 1, 0, 1}, {1, 0, 1, 2}, {0, 1, 2, 1}};
    const RECT& grow = growth[nPosition & 3];
    rc.InflateRect(grow.left, grow.top, grow.right, grow.bottom);
    if (nPosition == CXTPTabPainter::positionTop) {
        m_themeTab.DrawThemeBackground(*pDC, TABP_TABITEM, nState, &rc, nullptr);
        return XTP_COLOR_NONE;
    }
    int cx = rc.Width(), cy = rc.Height();
    if (cx <= 0 || cy <= 0)
        return XTP_COLOR_NONE;
    BOOL bSide = nPosition != CXTPTabPainter::positionBottom;
    DWORD* pSourceBits = nullptr;
    DWORD* pOutputBits = nullptr;
    HBITMAP hSurface = CreateSurface(bSide ? cy : cx, bSide ? cx : cy, &pSourceBits);
    HBITMAP hOutput = CreateSurface(cx, cy, &pOutputBits);
    HDC hMemDC = ::CreateCompatibleDC(nullptr);
    if (hSurface && hOutput && hMemDC) {
        HGDIOBJ hOld = ::SelectObject(hMemDC, hSurface);
        RECT rcSurface = {0, 0, bSide ? cy : cx, bSide ? cx : cy};
        m_themeTab.DrawThemeBackground(hMemDC, TABP_TABITEM, nState, &rcSurface, nullptr);
        ::GdiFlush();
        TurnSurface(pSourceBits, pOutputBits, cx, cy, nPosition);
        ::SelectObject(hMemDC, hOld);
        ::DrawStateW(*pDC, nullptr, nullptr, reinterpret_cast<LPARAM>(hOutput), 0, rc.left, rc.top, cx, cy,
                     DST_BITMAP);
    }
    if (hMemDC)
        ::DeleteDC(hMemDC);
    if (hSurface)
        ::DeleteObject(hSurface);
    if (hOutput)
        ::DeleteObject(hOutput);
    return XTP_COLOR_NONE;
}

void CXTPTabColorsThemed::AdjustHeaderClip(CDC* pDC, CRect rcControl, CXTPTabManager* pManager)
{
    if (!m_themeTab.IsOpen() || !m_pPainter)
        return;
    CRect rc = m_pPainter->GetStyleObject()->GetClientRect(rcControl, pManager);
    CPoint pt = rc.TopLeft();
    if (GetPosition() == CXTPTabPainter::positionBottom)
        pt.y = rc.bottom - 2;
    else if (GetPosition() == CXTPTabPainter::positionRight)
        pt.x = rc.right - 2;
    pDC->ExcludeClipRect(pt.x, pt.y, pt.x + 1, pt.y + 1);
}

COLORREF CXTPTabColorsThemed::FillNavigateButton(CDC* pDC, CXTPTabManagerNavigateButton* pButton, CRect& rc)
{
    if (!m_themeButton.IsOpen())
        return CXTPTabColorsDefault::FillNavigateButton(pDC, pButton, rc);
    if (pButton->IsEnabled()) {
        int nState = pButton->IsPressed() ? TS_PRESSED : pButton->IsHot() ? TS_HOT : TS_NORMAL;
        m_themeButton.DrawThemeBackground(*pDC, TP_BUTTON, nState, &rc, nullptr);
    }
    return C(COLOR_BTNTEXT);
}

CXTPTabColors* CreateTabColors(int nID)
{
    switch (nID) {
    case 2:
        return new CXTPTabColorsFlat;
    case 4:
        return new CXTPTabColorsScheme;
    case 8:
        return new CXTPTabColorsThemed;
    case 16:
        return new CXTPTabColorsSchemeSolid;
    default:
        return new CXTPTabColorsDefault;
    }
}
