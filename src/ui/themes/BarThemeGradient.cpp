#include "ui/themes/BarThemeGradient.h"

#include "ui/commandbars/XTPCommandBar.h"
#include "ui/commandbars/XTPStatusBarPane.h"
#include "ui/persist/ImageManager.h"
#include "ui/themes/ColorRef.h"
#include "ui/themes/DrawHelpers.h"

#include <cmath>
#include <vector>

namespace
{
// The theme's fields and the painter's shadow colour per scheme (blue, olive, silver).
struct SCHEME_FIELDS
{
    COLORREF clrDockStart, clrDockEnd, clrBarDark, clrBarLight, clrPopupWholeStart, clrPopupWholeEnd, clrBarShadow,
        clrCaption, clrExpandDark, clrExpandLight, clrBandDark, clrBandLight, clrRoundDark, clrRoundLight,
        clrPaneBorder, clrShadow;
};
const SCHEME_FIELDS g_schemeFields[3] = {
    {0xF5BE9E, 0xFADAC4, 0xE2A981, 0xFEECDD, 0xFFEFE3, 0xE7B593, 0x9C613B, 0xC9662A, 0x913500, 0xF1A675, 0xDCA179,
     0xF6DDCB, 0xE2A981, 0xFEEFE3, 0xD3D3D3, 0x361E16},
    {0xA7D9D9, 0xE4F1F2, 0x91C6B7, 0xDEF7F4, 0xD5F0EC, 0x9FCEC2, 0x588060, 0x5E8674, 0x6B7760, 0x8CC2B0, 0x78B4A4,
     0xD1E6E6, 0x93C6B8, 0xD5F0EC, 0xD3D3D3, 0x19221F},
    {0xE5D7D7, 0xF7F3F3, 0xB59799, 0xFAF4F3, 0xF1E7E9, 0xCDB9BA, 0x947C7C, 0x99797A, 0x927476, 0xC8B2B3, 0xA28385,
     0xE2D7D7, 0xC5AEB0, 0xF1E8E8, 0xDAEAEC, 0x292024},
};

// The painter's own standard colours per scheme.
const int g_schemeIndices[] = {12, 30, 31, 32, 33, 36, 37, 38, 39, 40, 41, 43, 47, 50, 51, 52, 53, 56};
const COLORREF g_schemeColors[3][18] = {
    {0xAE9990, 0xF5BE9E, 0xC2EEFF, 0x800000, 0x3E80FE, 0x6FC0FF, 0x800000, 0x764127, 0xCB8C6A, 0xD0966D, 0xF6F6F6,
     0x962D00, 0x000000, 0x800000, 0xFCE7D8, 0xF5BE9E, 0xFCE1CB, 0xF7D3BD},
    {0x7BA097, 0xA7D9D9, 0xC2EEFF, 0x385D3F, 0x3E80FE, 0x6FC0FF, 0x385D3F, 0x335E51, 0x588060, 0x7AAE9F, 0xEEF4F4,
     0x5E8D75, 0x000000, 0x385D3F, 0xBFE7E2, 0x8AC0AB, 0xB6E3D8, 0xBDE3DE},
    {0xB39A9B, 0xE5D7D7, 0xC2EEFF, 0x6F4B4B, 0x3E80FE, 0x6FC0FF, 0x6F4B4B, 0x755454, 0x8F6D6E, 0xBEA7A8, 0xFFFAFD,
     0x947C7C, 0x000000, 0x6F4B4B, 0xEADFDF, 0xC3B0B1, 0xE7D3D6, 0xE7D7D6},
};

// The round image: intensities 0 (dark) to 254 (light), 255 transparent; a disc lit from the top left.
BYTE RoundIntensity(int x, int y)
{
    double dx = x - 7.5, dy = y - 7.5, d = std::sqrt(dx * dx + dy * dy);
    if (d > 7.5)
        return 255;
    double dLight = std::sqrt((x - 4.0) * (x - 4.0) + (y - 4.0) * (y - 4.0));
    return static_cast<BYTE>(std::max(0.0, 254.0 - dLight * 22.0));
}
}

namespace
{
// Palette entries as a bitmap's colour table stores them (blue in the low byte), and what they become.
const DWORD g_retouch[][2] = {{0x008000, 0x00975E}, {0xFF0000, 0xFF572A}, {0x800000, 0xD54F4A},
                              {0x0000FF, 0x3A7BFC}, {0x000080, 0x0151CD}, {0x808080, 0x959391},
                              {0x808000, 0xE4A708}, {0xC0C0C0, 0xCDC6BB}};

DWORD TableEntry(COLORREF clr)
{
    return static_cast<DWORD>(GetBValue(clr)) | static_cast<DWORD>(GetGValue(clr)) << 8 |
           static_cast<DWORD>(GetRValue(clr)) << 16;
}
}

HBITMAP CXTPBarThemeGradient::LoadRetouchedBitmap(UINT nIDResource)
{
    HINSTANCE hInstance = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceW(hInstance, MAKEINTRESOURCEW(nIDResource), MAKEINTRESOURCEW(2));
    HGLOBAL hData = hResource ? ::LoadResource(hInstance, hResource) : nullptr;
    const BYTE* pData = hData ? static_cast<const BYTE*>(::LockResource(hData)) : nullptr;
    const DWORD cbData = hResource ? ::SizeofResource(hInstance, hResource) : 0;
    if (!pData || cbData < sizeof(BITMAPINFOHEADER))
        return nullptr;
    const auto* pHeader = reinterpret_cast<const BITMAPINFOHEADER*>(pData);
    const DWORD nColors = pHeader->biClrUsed ? pHeader->biClrUsed : 16;
    const DWORD cbHeader = pHeader->biSize + nColors * sizeof(RGBQUAD);
    if (pHeader->biSize < sizeof(BITMAPINFOHEADER) || pHeader->biBitCount != 4 || nColors > 16 || cbData < cbHeader)
        return nullptr;
    // A copy of header and colour table: the resource itself is read-only.
    std::vector<BYTE> info(pData, pData + cbHeader);
    auto* pTable = reinterpret_cast<RGBQUAD*>(info.data() + pHeader->biSize);
    const DWORD dwMask = TableEntry(XTPImageManager()->GetMaskColor());
    for (DWORD i = 0; i < nColors; i++) {
        DWORD dwEntry = static_cast<DWORD>(pTable[i].rgbBlue) | static_cast<DWORD>(pTable[i].rgbGreen) << 8 |
                        static_cast<DWORD>(pTable[i].rgbRed) << 16;
        if (dwEntry == dwMask)
            continue;
        for (const auto& entry : g_retouch) {
            if (dwEntry == entry[0]) {
                pTable[i].rgbBlue = static_cast<BYTE>(entry[1]);
                pTable[i].rgbGreen = static_cast<BYTE>(entry[1] >> 8);
                pTable[i].rgbRed = static_cast<BYTE>(entry[1] >> 16);
                break;
            }
        }
    }
    HDC hScreen = ::GetDC(nullptr);
    HBITMAP hBitmap = ::CreateDIBitmap(hScreen, pHeader, CBM_INIT, pData + cbHeader,
                                       reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, hScreen);
    return hBitmap;
}

BOOL CXTPBarThemeGradient::SetRetouchedIcons(UINT nIDResourceToolBar)
{
    CBitmap bitmap;
    if (!bitmap.Attach(LoadRetouchedBitmap(nIDResourceToolBar)))
        return FALSE;
    return XTPImageManager()->SetIconsFromToolBar(nIDResourceToolBar, &bitmap);
}

BOOL CXTPBarThemeGradient::AddRetouchedIcons(UINT nIDResourceBitmap, const UINT* pCommands, int nCount, CSize szIcon)
{
    CBitmap bitmap;
    if (!bitmap.Attach(LoadRetouchedBitmap(nIDResourceBitmap)))
        return FALSE;
    return XTPImageManager()->AddIconsFromBitmap(static_cast<HBITMAP>(bitmap.GetSafeHandle()), pCommands, nCount,
                                                 szIcon, xtpImageNormal, FALSE);
}

CXTPBarThemeGradient::CXTPBarThemeGradient()
    : m_grcHighlight(0x8CD5FF, 0x55ADFF), m_grcPressed(0x4B8EFE, 0x8BCFFF), m_grcHot(0xC8F2FF, 0x97D4FF)
{
    m_iconOptions.bUseFadedIcons = FALSE;
    m_iconOptions.bIconsWithShadow = FALSE;
    RefreshMetrics();
}

void CXTPBarThemeGradient::RefreshMetrics()
{
    CXTPBarPainter::RefreshMetrics();
    // Visual styles of the application's main window; the frame installs the theme before it becomes the main
    // window, and then the style is opened without a window. Where there are no styles the handle stays closed.
    m_themeStatus.CloseThemeData();
    CWnd* pMainWnd = AfxGetMainWnd();
    m_themeStatus.OpenThemeData(pMainWnd ? pMainWnd->GetSafeHwnd() : nullptr, L"STATUS");

    auto C = [this](int nIndex) { return GetColor(nIndex); };
    m_clrBandDark = C(42);
    m_clrBandLight = BlendColors(C(COLOR_WINDOW), m_clrBandDark, 550);
    m_clrDockEnd = m_clrBarLight = BlendColors(C(COLOR_3DFACE), C(COLOR_WINDOW), 205);
    m_clrDockStart = m_clrBarDark = C(COLOR_3DFACE);
    m_clrBarShadow = C(30);
    m_clrCaption = C(COLOR_BTNSHADOW);
    m_clrPopupWholeStart = C(41);
    m_clrPopupWholeEnd = BlendColors(C(COLOR_WINDOW), C(COLOR_3DFACE), 550);
    m_clrExpandDark = C(COLOR_BTNSHADOW);
    m_clrExpandLight = BlendColors(C(51), m_clrExpandDark, 51);
    m_bSchemeActive = FALSE;
    m_clrRoundLight = C(41);
    m_clrRoundDark = BlendColors(C(COLOR_WINDOW), C(COLOR_3DFACE), 550);
    m_clrPaneBorder = BlendColors(C(COLOR_3DFACE), C(COLOR_WINDOW), 70);
    m_colors[55].SetDefaultValue(GetColorTable()->GetGradient(1).m_clrEnd);

    int nScheme = GetScheme();
    if (nScheme >= CColorTable::schemeBlue && nScheme <= CColorTable::schemeSilver) {
        const SCHEME_FIELDS& f = g_schemeFields[nScheme - 1];
        m_clrDockStart = f.clrDockStart;
        m_clrDockEnd = f.clrDockEnd;
        m_clrBarDark = f.clrBarDark;
        m_clrBarLight = f.clrBarLight;
        m_clrPopupWholeStart = f.clrPopupWholeStart;
        m_clrPopupWholeEnd = f.clrPopupWholeEnd;
        m_clrBarShadow = f.clrBarShadow;
        m_clrCaption = f.clrCaption;
        m_clrExpandDark = f.clrExpandDark;
        m_clrExpandLight = f.clrExpandLight;
        m_clrBandDark = f.clrBandDark;
        m_clrBandLight = f.clrBandLight;
        m_clrRoundDark = f.clrRoundDark;
        m_clrRoundLight = f.clrRoundLight;
        m_clrPaneBorder = f.clrPaneBorder;
        m_clrShadow = f.clrShadow;
        SetStandardColors(static_cast<int>(std::size(g_schemeIndices)), g_schemeIndices, g_schemeColors[nScheme - 1]);
        m_bSchemeActive = TRUE;
    }
    if (m_bSchemeActive)
        m_colors[58].SetDefaultValue(0x8D8D8D);
    CreateRoundImage();
}

void CXTPBarThemeGradient::CreateRoundImage()
{
    m_ilRound.DeleteImageList();
    CWindowDC dcScreen(nullptr);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dcScreen, 16, 16);
    {
        CBitmapDC dc(&dcScreen, &bitmap);
        for (int i = 0; i < 256; i++) {
            int x = i / 16, y = i % 16;
            BYTE e = RoundIntensity(x, y);
            COLORREF clr = RGB(0, 255, 0);
            if (e != 255) {
                auto channel = [e](int nDark, int nLight) { return nDark - (nDark - nLight) * e / 255; };
                clr = RGB(channel(GetRValue(m_clrRoundDark), GetRValue(m_clrRoundLight)),
                          channel(GetGValue(m_clrRoundDark), GetGValue(m_clrRoundLight)),
                          channel(GetBValue(m_clrRoundDark), GetBValue(m_clrRoundLight)));
            }
            dc.SetPixel(x, y, clr);
        }
    }
    m_ilRound.Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0);
    m_ilRound.Add(&bitmap, RGB(0, 255, 0));
}

void CXTPBarThemeGradient::FillGradient(CDC* pDC, CRect rc, const CColorGradient& gradient, BOOL bHorizontal)
{
    DrawGradient(pDC, rc, gradient.m_clrStart, gradient.m_clrEnd, bHorizontal);
}

void CXTPBarThemeGradient::DrawControlRect(CDC* pDC, CRect rc, int nSelected, int nPressed, BOOL bEnabled,
                                           BOOL bChecked, BOOL bPopupWhole, BOOL bToolBar, int nBarPosition)
{
    if (bPopupWhole) {
        DrawGradient(pDC, rc, m_clrPopupWholeStart, m_clrPopupWholeEnd, FALSE);
        Draw3dRect(pDC, rc, 43, 43);
        return;
    }
    BOOL bDocked = nBarPosition >= xtpBarTop && nBarPosition <= xtpBarRight;
    if (!m_bSchemeActive || !bToolBar || !(bDocked || nBarPosition == xtpBarPopup)) {
        CXTPBarThemeShadowed::DrawControlRect(pDC, rc, nSelected, nPressed, bEnabled, bChecked, bPopupWhole, bToolBar,
                                              nBarPosition);
        return;
    }
    BOOL bHorizontal = nBarPosition == xtpBarLeft || nBarPosition == xtpBarRight || nBarPosition == xtpBarPopup;
    const CColorGradient* pGradient = nullptr;
    int nFrame = 0;
    if (bEnabled) {
        if (bChecked && !nSelected && !nPressed)
            pGradient = &m_grcHighlight, nFrame = 50;
        else if ((nSelected && nPressed) || (bChecked && nSelected) || nPressed == 2)
            pGradient = &m_grcPressed, nFrame = 50;
        else if (nSelected || nPressed)
            pGradient = &m_grcHot, nFrame = 32;
    } else if (nSelected == 2) {
        pGradient = bChecked ? &m_grcPressed : &m_grcHot, nFrame = 50;
    } else if (bChecked) {
        pGradient = &m_grcHighlight, nFrame = 58;
    }
    if (!pGradient)
        return;
    FillGradient(pDC, rc, *pGradient, bHorizontal);
    Draw3dRect(pDC, rc, nFrame, nFrame);
}

void CXTPBarThemeGradient::FillDockGradient(CDC* pDC, CRect rc)
{
    rc.right = std::max(static_cast<int>(rc.right), static_cast<int>(rc.left) + ::GetSystemMetrics(SM_CXSCREEN) / 2);
    DrawGradient(pDC, rc, m_clrDockStart, m_clrDockEnd, TRUE);
}

void CXTPBarThemeGradient::FillDockBar(CDC* pDC, CWnd* pWnd)
{
    CRect rc;
    pWnd->GetClientRect(&rc);
    if (pWnd->GetStyle() & (0x4000 | 0x100))
        pDC->FillSolidRect(rc, m_clrDockEnd);
    else
        FillDockGradient(pDC, rc);
}

void CXTPBarThemeGradient::FillBarBand(CDC* pDC, int x, int y, int cx, int cy, BOOL bSecondStyle)
{
    CRect rc(x, y, x + cx, y + cy);
    if (bSecondStyle)
        DrawGradient(pDC, rc, m_clrBandLight, m_clrBandDark, TRUE);
    else
        DrawGradient(pDC, rc, m_clrBarLight, m_clrBarDark, TRUE);
}

void CXTPBarThemeGradient::FillCommandBar(CDC* pDC, CXTPCommandBar* pBar)
{
    CRect rc;
    pBar->GetClientRect(&rc);
    int nPosition = pBar->GetPosition();
    if (pBar->GetType() == xtpBarTypeMenuBar) {
        FillDockGradient(pDC, rc);
        if (nPosition == xtpBarFloating) {
            Draw3dRect(pDC, rc, 43, 43);
            rc.DeflateRect(1, 1);
            Draw3dRect(pDC, rc, 43, 43);
        }
        return;
    }
    if (nPosition >= xtpBarTop && nPosition <= xtpBarRight) {
        BOOL bVert = nPosition == xtpBarLeft || nPosition == xtpBarRight;
        pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE));
        if (bVert && (pBar->GetStyle() & (0x4000 | 0x100)))
            pDC->FillSolidRect(rc, m_clrDockEnd);
        else
            FillDockGradient(pDC, rc);
        CRect rcBody = rc;
        if (bVert)
            rcBody.right--;
        else
            rcBody.bottom--;
        int nSaved = pDC->SaveDC();
        ExcludeCorners(pDC, rcBody);
        DrawGradient(pDC, rcBody, m_clrBarLight, m_clrBarDark, bVert);
        pDC->RestoreDC(nSaved);
        CPenSelector pen(pDC, m_clrBarShadow);
        if (bVert)
            Line(pDC, rcBody.right, rcBody.top + 1, rcBody.right, rcBody.bottom - 1);
        else
            Line(pDC, rcBody.left + 1, rcBody.bottom, rcBody.right - 1, rcBody.bottom);
        return;
    }
    if (nPosition == xtpBarPopup) {
        FillPopupBar(pDC, pBar, 41);
        return;
    }
    CXTPBarThemeShadowed::FillCommandBar(pDC, pBar);
}

CSize CXTPBarThemeGradient::DrawGripperShape(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw)
{
    int g = std::max(m_nTextHeight + 6, 25);
    if (bDraw) {
        CRect rc(0, 0, 14, g);
        if (pBar)
            pBar->GetClientRect(&rc);
        DrawGradient(pDC, CRect(3, 3, rc.right - 3, g), m_clrBarLight, m_clrBarDark, FALSE);
        for (int y = 3 + 4; y < g - 5; y += 4)
            DrawDotPair(pDC, 5, y);
    }
    return CSize(8, g);
}

void CXTPBarThemeGradient::DrawDotPair(CDC* pDC, int x, int y)
{
    pDC->FillSolidRect(x + 1, y + 1, 2, 2, GetColor(COLOR_BTNHIGHLIGHT));
    pDC->FillSolidRect(x, y, 2, 2, GetColor(38));
}

CSize CXTPBarThemeGradient::DrawCommandBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw)
{
    if (pBar->IsFullGripperShape())
        return DrawGripperShape(pDC, pBar, bDraw);
    CRect rc;
    pBar->GetClientRect(&rc);
    int w = rc.Width(), h = rc.Height();
    switch (pBar->GetPosition()) {
    case xtpBarFloating:
        return DrawFloatingCaption(pDC, pBar, bDraw, m_clrCaption, FALSE);
    case xtpBarTop:
    case xtpBarBottom:
        if (h < 14)
            return CSize(0, 0);
        if (bDraw)
            for (int y = 8; y - 3 < h - 8; y += 4)
                DrawDotPair(pDC, 5, y - 3);
        return CSize(6, 0);
    case xtpBarLeft:
    case xtpBarRight:
        if (w < 14)
            return CSize(0, 0);
        if (bDraw)
            for (int x = 8; x - 3 < w - 8; x += 4)
                DrawDotPair(pDC, x - 3, 6);
        return CSize(0, 9);
    }
    return CSize(0, 0);
}

CSize CXTPBarThemeGradient::DrawSeparator(CDC* pDC, CXTPControl* pControl, CXTPCommandBar* pBar, BOOL bDraw)
{
    int nPosition = pBar->GetPosition();
    if (!bDraw || nPosition < xtpBarTop || nPosition > xtpBarRight)
        return CXTPBarThemeShadowed::DrawSeparator(pDC, pControl, pBar, bDraw);
    DrawSeparatorLines(pDC, pControl, pBar, 39, COLOR_BTNHIGHLIGHT);
    return CSize(0, 0);
}

void CXTPBarThemeGradient::DrawStatusBarPaneBorder(CDC* pDC, CRect rc, CXTPStatusBarPane* /*pPane*/)
{
    pDC->Draw3dRect(rc, m_clrPaneBorder, m_clrPaneBorder);
}

void CXTPBarThemeGradient::DrawStatusBarGripper(CDC* pDC, CRect rc)
{
    if (m_themeStatus.IsOpen()) {
        CRect rcGripper(rc.right - 18, rc.top, rc.right, rc.bottom);
        m_themeStatus.DrawThemeBackground(pDC->GetSafeHdc(), 3, 0, &rcGripper, nullptr);
        return;
    }
    int w = rc.Width(), h = rc.Height(), x = rc.left, y = rc.top;
    for (int k = 0; k < 3; k++) {
        for (int j = 0; j < 3; j++)
            Line(pDC, x + w - 2 - j - 5 * k, y + h - 1, x + w, y + h - 3 - j - 5 * k, COLOR_BTNSHADOW);
        Line(pDC, x + w - 5 - 5 * k, y + h - 1, x + w, y + h - 6 - 5 * k, COLOR_BTNHIGHLIGHT);
    }
}

CSize CXTPBarThemeGradient::DrawGlyph(CDC* pDC, CXTPCommandBar* pBar, int nGlyph, CXTPControl* pControl, BOOL bDraw,
                                      const CSize* pszBar)
{
    if (nGlyph == glyphChevron) {
        if (!bDraw)
            return CSize(0, 18);
        DrawControlFace(pDC, pControl);
        CRect rc = pControl->GetRect();
        int x = rc.CenterPoint().x;
        m_ilRound.Draw(pDC, 0, CPoint(x - 7, rc.top + 1), ILD_NORMAL);
        CPenSelector pen(pDC, pDC->GetTextColor());
        for (int nRun = 0; nRun < 2; nRun++)
            for (int i = 0; i < 3; i++) {
                int y = rc.top + 5 + nRun * 4 + i;
                Line(pDC, x - 3 + i, y, x + 4 - i, y);
            }
        return CSize(0, 18);
    }
    if (bDraw) {
        // The expand button wears its own gradient, the highlight ones while hot or open.
        CRect rc = pControl->GetRect();
        BOOL bOpen = pBar->GetPopupedIndex() == pControl->GetIndex() && pControl->GetIndex() >= 0;
        BOOL bVert = pBar->GetPosition() == xtpBarLeft || pBar->GetPosition() == xtpBarRight;
        if (bOpen || pControl->GetPressed())
            FillGradient(pDC, rc, m_grcPressed, bVert);
        else if (pControl->GetSelected())
            FillGradient(pDC, rc, m_grcHot, bVert);
        else
            DrawGradient(pDC, rc, m_clrExpandLight, m_clrExpandDark, bVert);
    }
    return CXTPBarPainter::DrawGlyph(pDC, pBar, nGlyph, pControl, bDraw, pszBar);
}

void CXTPBarThemeGradient::GetBarBorders(CRect* pBorders, CXTPCommandBar* /*pBar*/)
{
    pBorders->SetRect(4, 2, 2, 2);
}

CSize CXTPBarThemeGradient::DrawTearOffGripper(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw)
{
    if (!bDraw)
        return CSize(0, 9);
    CRect rcStrip(rc.left, rc.top, rc.right, rc.bottom + 1);
    pDC->FillSolidRect(rcStrip, GetColor(41));
    rcStrip.DeflateRect(1, 1);
    if (bSelected)
        Rectangle(pDC, rcStrip, 32, 31);
    else
        pDC->FillSolidRect(rcStrip, GetColor(30));
    int x = rcStrip.CenterPoint().x, y = rcStrip.CenterPoint().y - 1;
    int k = std::min(32, static_cast<int>(rcStrip.Width()) / 2 - 4);
    for (int dx = -k; dx + 3 <= k; dx += 4)
        DrawDotPair(pDC, x + dx, y);
    return CSize(0, 9);
}

CXTPBarThemeGradientVariant::CXTPBarThemeGradientVariant()
{
    m_nScheme = 0;
    RefreshMetrics();
}

void CXTPBarThemeGradientVariant::RefreshMetrics()
{
    CXTPBarThemeGradient::RefreshMetrics();
    switch (GetColorTable()->GetCurrentScheme()) {
    case CColorTable::schemeBlue:
        m_clrBarDark = 0xA8C0C0;
        m_clrBarShadow = 0x7CA3A3;
        m_clrExpandDark = 0x7E9898;
        m_clrExpandLight = 0xEAEDEE;
        break;
    case CColorTable::schemeOlive: {
        m_clrBarDark = 0xA8C0C0;
        m_clrBarShadow = 0x7CA3A3;
        const int indices[] = {31, 33, 36};
        const COLORREF colors[] = {0x8DC6B6, 0x70A093, 0x8DC6B6};
        SetStandardColors(3, indices, colors);
        break;
    }
    case CColorTable::schemeSilver: {
        m_clrBarDark = 0xB59799;
        m_clrBarLight = 0xFAF4F3;
        m_clrBarShadow = 0x947C7C;
        m_clrExpandDark = 0x927476;
        m_clrExpandLight = 0xC8B2B3;
        const int indices[] = {31, 33, 36, 32, 37, 50, 47};
        const COLORREF colors[] = {0xC2EEFF, 0x3E80FE, 0x6FC0FF, 0x6F4B4B, 0x6F4B4B, 0x6F4B4B, 0x000000};
        SetStandardColors(7, indices, colors);
        break;
    }
    }
}
