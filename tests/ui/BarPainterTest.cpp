#include "BarTestSupport.h"
#include "PixelCanvas.h"

#include "ui/commandbars/XTPStatusBarPane.h"
#include "ui/themes/BarPainter.h"
#include "ui/themes/DrawHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace
{
const COLORREF clrCanvas = RGB(1, 2, 3);

// The default theme with its text height and pauses in the test's hands.
class CProbePainter : public CXTPBarThemeDefault
{
public:
    void SetTextHeight(int nHeight) { m_nTextHeight = nHeight; }
    std::vector<DWORD> m_pauses;

protected:
    void AnimationPause(DWORD dwMilliseconds) override { m_pauses.push_back(dwMilliseconds); }
};

// The face a state gets: N nothing, R raised, S sunken, C checkerboard inside a sunken frame.
char FaceAt(const CPixelCanvas& canvas, const CRect& rc, COLORREF clrLight, COLORREF clrDark, COLORREF clrFace)
{
    COLORREF tl = canvas.At(rc.left, rc.top), br = canvas.At(rc.right - 1, rc.bottom - 1);
    if (tl == clrCanvas && br == clrCanvas)
        return 'N';
    if (tl == clrLight && br == clrDark)
        return 'R';
    if (tl != clrDark || br != clrLight)
        return '?';
    COLORREF a = canvas.At(rc.left + 5, rc.top + 5), b = canvas.At(rc.left + 6, rc.top + 5);
    if (a == clrCanvas && b == clrCanvas)
        return 'S';
    return ((a == clrFace && b == clrLight) || (a == clrLight && b == clrFace)) ? 'C' : '?';
}
}

TEST(BarPainter, ThemeIdsAndTheInstalledPainter)
{
    struct Case { int nId, nExpected; } cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {7, 0}, {-1, 0}};
    for (const Case& c : cases) {
        CXTPBarPainter* pPainter = CXTPBarPainter::CreateTheme(c.nId);
        EXPECT_EQ(c.nId, pPainter->GetStoredThemeId());
        EXPECT_EQ(c.nExpected, pPainter->GetThemeId()) << c.nId;
        pPainter->InternalRelease();
    }
    CXTPBarPainter::SetTheme(7);
    EXPECT_EQ(7, CXTPBarPainter::GetInstalled()->GetStoredThemeId());
    EXPECT_EQ(0, CXTPBarPainter::GetInstalled()->GetThemeId());
    CXTPBarPainter* pOwn = CXTPBarPainter::CreateTheme(0);
    CXTPBarPainter::SetPainter(pOwn);
    EXPECT_EQ(pOwn, CXTPBarPainter::GetInstalled());
    EXPECT_EQ(5, pOwn->GetStoredThemeId());
    CXTPBarPainter::ReleasePainter();
    EXPECT_FALSE(CXTPBarPainter::IsInstalled());
    // Asked for without one, the default theme is installed.
    EXPECT_EQ(0, CXTPBarPainter::GetInstalled()->GetThemeId());
    // A null painter uninstalls the one there is.
    CXTPBarPainter::SetTheme(2);
    CXTPBarPainter::SetPainter(nullptr);
    EXPECT_FALSE(CXTPBarPainter::IsInstalled());
    EXPECT_EQ(0, CXTPBarPainter::GetInstalled()->GetThemeId());
}

TEST(BarPainter, ColoursHeightsAndFonts)
{
    CPinnedPalette palette;
    CProbePainter painter;
    EXPECT_EQ(60u, painter.GetColor(60));
    EXPECT_EQ(0x00FF00u, painter.GetColor(0x00FF00));
    EXPECT_EQ(CPinnedPalette::Classic()[COLOR_BTNFACE], painter.GetColor(COLOR_BTNFACE));
    painter.SetColor(COLOR_BTNFACE, RGB(9, 9, 9));
    EXPECT_EQ(RGB(9, 9, 9), painter.GetColor(COLOR_BTNFACE));
    const int indices[] = {COLOR_BTNFACE, 44};
    const COLORREF colors[] = {RGB(1, 1, 1), RGB(2, 2, 2)};
    painter.SetStandardColors(2, indices, colors);
    EXPECT_EQ(RGB(9, 9, 9), painter.GetColor(COLOR_BTNFACE));   // the override stays
    EXPECT_EQ(RGB(2, 2, 2), painter.GetColor(44));

    struct Case { int nTextHeight, nControlHeight; CSize szGripper; } cases[] = {
        {12, 22, CSize(6, 22)}, {25, 25, CSize(6, 29)}, {20, 22, CSize(6, 24)}, {10, 22, CSize(6, 22)}};
    CPixelCanvas canvas(10, 10);
    for (const Case& c : cases) {
        painter.SetTextHeight(c.nTextHeight);
        EXPECT_EQ(c.nControlHeight, painter.GetControlHeight());
        EXPECT_EQ(c.szGripper, painter.DrawGripperShape(&canvas, nullptr, FALSE));
    }

    // The Tahoma face turns the Tahoma flag on; a font given by the caller is taken as it is, however small.
    LOGFONT lf = {};
    lf.lfHeight = -8;
    lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
    painter.SetFont(&lf, FALSE);
    EXPECT_TRUE(painter.IsUseTahoma());
    LOGFONT lfNormal = {};
    painter.GetRegularFont()->GetLogFont(&lfNormal);
    EXPECT_EQ(-8, lfNormal.lfHeight);   // a font given by the caller is taken as it is
    {
        CWindowDC dc(nullptr);
        CFontSelector font(&dc, painter.GetRegularFont());
        EXPECT_EQ(dc.GetTextExtent(L" ", 1).cy + 6, painter.GetTextHeight());
    }
}

// The system's menu font of 8 pixels gives the painter an 11-pixel font; the system's metrics come back after.
TEST(BarPainter, ASmallSystemMenuFontBecomesElevenPixels)
{
    struct CMenuFontScope
    {
        NONCLIENTMETRICS saved = {};
        CMenuFontScope(LONG lHeight)
        {
            saved.cbSize = sizeof(saved);
            ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(saved), &saved, 0);
            NONCLIENTMETRICS ncm = saved;
            ncm.lfMenuFont.lfHeight = lHeight;
            ::SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
        }
        ~CMenuFontScope() { ::SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(saved), &saved, 0); }
    };
    for (LONG lHeight : {-8L, -10L, -11L, -13L}) {
        LONG lPainter = 0;
        {
            CMenuFontScope scope(lHeight);
            NONCLIENTMETRICS ncm = {};
            ncm.cbSize = sizeof(ncm);
            ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
            ASSERT_EQ(lHeight, ncm.lfMenuFont.lfHeight);
            CProbePainter painter;
            LOGFONT lf = {};
            painter.GetRegularFont()->GetLogFont(&lf);
            lPainter = lf.lfHeight;
        }
        EXPECT_EQ(std::min(lHeight, -11L), lPainter) << lHeight;
    }
}

// A caption is measured without its ampersands; it is drawn underlined when asked or when the painter's cue
// setting says so, and never shows an ampersand.
TEST(BarPainter, ControlTextStripsAmpersandsAndUnderlinesByTheCues)
{
    CPinnedPalette palette;
    CProbePainter painter;
    auto draw = [&](LPCTSTR pszText, int nCues, BOOL bUnderline) {
        auto pCanvas = std::make_unique<CPixelCanvas>(80, 24, RGB(255, 255, 255));
        painter.SetKeyboardCues(nCues);
        CFontSelector font(pCanvas.get(), painter.GetRegularFont());
        pCanvas->SetTextColor(RGB(0, 0, 0));
        pCanvas->SetBkMode(TRANSPARENT);
        painter.DrawControlText(pCanvas.get(), pszText, CRect(2, 0, 78, 24), TRUE, FALSE, FALSE, FALSE, FALSE,
                                bUnderline);
        return pCanvas;
    };
    auto same = [](const CPixelCanvas& a, const CPixelCanvas& b) {
        for (int y = 0; y < 24; y++)
            for (int x = 0; x < 80; x++)
                if (a.At(x, y) != b.At(x, y))
                    return false;
        return true;
    };
    {
        CPixelCanvas measure(4, 4);
        CFontSelector font(&measure, painter.GetRegularFont());
        CSize szPlain = measure.GetTextExtent(L"Apri");
        EXPECT_EQ(szPlain, painter.DrawControlText(&measure, L"&Apri", CRect(), FALSE, FALSE, FALSE, FALSE, FALSE, TRUE));
        EXPECT_EQ(CSize(szPlain.cx + 10, szPlain.cy),
                  painter.DrawControlText(&measure, L"&Apri", CRect(), FALSE, FALSE, FALSE, TRUE, FALSE, FALSE));
        EXPECT_EQ(CSize(szPlain.cy, szPlain.cx),
                  painter.DrawControlText(&measure, L"&Apri", CRect(), FALSE, TRUE, FALSE, FALSE, FALSE, FALSE));
    }
    auto plain = draw(L"Apri", -1, FALSE);
    auto underlined = draw(L"&Apri", -1, TRUE);
    EXPECT_FALSE(same(*plain, *underlined));
    const struct
    {
        int nCues;
        BOOL bUnderline;
        bool bUnderlined;
    } cases[] = {{-1, FALSE, false}, {0, TRUE, false}, {1, FALSE, true}, {1, TRUE, true}};
    for (const auto& c : cases) {
        auto drawn = draw(L"&Apri", c.nCues, c.bUnderline);
        EXPECT_TRUE(same(c.bUnderlined ? *underlined : *plain, *drawn)) << c.nCues << " " << c.bUnderline;
    }
}

TEST(BarPainter, ArrowTickAndStatusGripper)
{
    CPinnedPalette palette;
    CProbePainter painter;
    const COLORREF clr = RGB(200, 0, 0);
    {
        // Eight pixels wide: half-width 2, top at 10 - 1.
        CPixelCanvas canvas(20, 20, clrCanvas);
        painter.DrawDownArrow(&canvas, CRect(0, 0, 8, 20), clr);
        EXPECT_EQ(clr, canvas.At(2, 9));
        EXPECT_EQ(clr, canvas.At(4, 11));
        EXPECT_EQ(clrCanvas, canvas.At(4, 12));
        EXPECT_EQ(clrCanvas, canvas.At(1, 9));
    }
    for (BOOL bBold : {FALSE, TRUE}) {
        CPixelCanvas canvas(20, 20, clrCanvas);
        painter.SetBoldTick(bBold);
        painter.DrawTick(&canvas, CRect(0, 0, 20, 20), clr, FALSE);
        // Around (10, 10): from (6, 9) down to (8, 11) and up to (13, 6); the second stroke a pixel lower.
        EXPECT_EQ(clr, canvas.At(6, 9));
        EXPECT_EQ(clr, canvas.At(8, 11));
        EXPECT_EQ(clr, canvas.At(8, 12));
        EXPECT_EQ(clr, canvas.At(10, 9));
        EXPECT_EQ(bBold ? clr : clrCanvas, canvas.At(8, 13));
        EXPECT_EQ(clrCanvas, canvas.At(5, 9));
    }
    painter.SetBoldTick(FALSE);
    {
        CPixelCanvas canvas(20, 20, clrCanvas);
        painter.DrawStatusBarGripper(&canvas, CRect(0, 0, 20, 20));
        const COLORREF clrShadow = CPinnedPalette::Classic()[COLOR_BTNSHADOW];
        const COLORREF clrLight = CPinnedPalette::Classic()[COLOR_BTNHIGHLIGHT];
        // The three stripes end on the right edge: dark, dark, light.
        EXPECT_EQ(clrShadow, canvas.At(17, 18));
        EXPECT_EQ(clrShadow, canvas.At(16, 18));
        EXPECT_EQ(clrLight, canvas.At(15, 18));
        EXPECT_EQ(clrShadow, canvas.At(13, 18));
        EXPECT_EQ(clrLight, canvas.At(11, 18));
        EXPECT_EQ(clrCanvas, canvas.At(2, 2));
    }
}

TEST(BarPainter, FadeBlendsItsFrames)
{
    CProbePainter painter;
    CPixelCanvas source(10, 10, RGB(200, 100, 0)), dest(10, 10, RGB(0, 100, 200));
    painter.SetAnimation(10, 100);
    painter.AnimateFade(&dest, &source, CRect(0, 0, 10, 10), CXTPBarPainter::animateFade);
    EXPECT_EQ(9u, painter.m_pauses.size());
    for (DWORD dw : painter.m_pauses)
        EXPECT_LE(dw, 10u);
    // The last of the nine frames: a = 229.
    EXPECT_EQ(RGB(200 * 229 / 256, (100 * 229 + 100 * 26) / 256, 200 * 26 / 256), dest.At(5, 5));

    CPixelCanvas dest2(10, 10, RGB(0, 100, 200));
    painter.SetAnimation(2, 100);
    painter.AnimateFade(&dest2, &source, CRect(0, 0, 10, 10), CXTPBarPainter::animateFade);
    EXPECT_EQ(RGB(200 * 127 / 256, (100 * 127 + 100 * 128) / 256, 200 * 128 / 256), dest2.At(0, 0));

    // Unknown kinds and no steps draw nothing.
    CPixelCanvas dest3(10, 10, clrCanvas);
    painter.AnimateFade(&dest3, &source, CRect(0, 0, 10, 10), 7);
    painter.SetAnimation(0, 100);
    painter.AnimateFade(&dest3, &source, CRect(0, 0, 10, 10), CXTPBarPainter::animateSlide);
    EXPECT_EQ(clrCanvas, dest3.At(5, 5));
}

TEST(BarThemeDefault, ToolbarButtonFaceInEveryState)
{
    CPinnedPalette palette;
    CProbePainter painter;
    const COLORREF* pal = CPinnedPalette::Classic();
    // Rows: enabled, checked, popup-whole; letters by selected 0-2 (groups of three) and pressed 0-2.
    struct Case { BOOL bEnabled, bChecked, bWhole; const char* faces; } cases[] = {
        {TRUE, FALSE, FALSE, "NRS RSS RSS"},  {TRUE, FALSE, TRUE, "SSS SSS SSS"},
        {TRUE, TRUE, FALSE, "CSS SSS SSS"},   {TRUE, TRUE, TRUE, "CSS SSS SSS"},
        {FALSE, FALSE, FALSE, "NNN NNN SSS"}, {FALSE, FALSE, TRUE, "NNN NNN SSS"},
        {FALSE, TRUE, FALSE, "SSS SSS SSS"},  {FALSE, TRUE, TRUE, "SSS SSS SSS"},
    };
    for (const Case& c : cases) {
        std::string faces;
        for (int nSelected = 0; nSelected < 3; nSelected++) {
            if (nSelected)
                faces += ' ';
            for (int nPressed = 0; nPressed < 3; nPressed++) {
                CPixelCanvas canvas(30, 30, clrCanvas);
                CRect rc(2, 2, 26, 26);
                painter.DrawControlRect(&canvas, rc, nSelected, nPressed, c.bEnabled, c.bChecked, c.bWhole, TRUE,
                                        xtpBarTop);
                faces += FaceAt(canvas, rc, pal[COLOR_BTNHIGHLIGHT], pal[COLOR_BTNSHADOW], pal[COLOR_BTNFACE]);
            }
        }
        EXPECT_EQ(c.faces, faces) << "enabled " << c.bEnabled << " checked " << c.bChecked << " whole " << c.bWhole;
    }
}

TEST(BarThemeDefault, IconLooks)
{
    CPinnedPalette palette;
    CProbePainter painter;
    const COLORREF* pal = CPinnedPalette::Classic();
    CTestIcon icon, iconOwnDisabled(TRUE);
    struct Case
    {
        const char* name;
        CTestIcon* pIcon;
        int nSelected, nPressed;
        BOOL bEnabled, bChecked;
        CPoint ptAt;
        COLORREF clrAt, clrBelowRight;
    } cases[] = {
        {"idle", &icon, 0, 0, TRUE, FALSE, CPoint(10, 10), CTestIcon::ImageColor(0), clrCanvas},
        {"hot", &icon, 1, 0, TRUE, FALSE, CPoint(10, 10), CTestIcon::ImageColor(2), clrCanvas},
        {"pressed: hot icon a pixel lower", &icon, 1, 1, TRUE, FALSE, CPoint(11, 11), CTestIcon::ImageColor(2),
         CTestIcon::ImageColor(2)},
        {"checked", &icon, 0, 0, TRUE, TRUE, CPoint(10, 10), CTestIcon::ImageColor(3), clrCanvas},
        {"disabled: embossed", &icon, 0, 0, FALSE, FALSE, CPoint(10, 10), pal[COLOR_BTNSHADOW],
         pal[COLOR_BTNHIGHLIGHT]},
        {"disabled with its own image", &iconOwnDisabled, 0, 0, FALSE, FALSE, CPoint(10, 10),
         CTestIcon::ImageColor(1), clrCanvas},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPixelCanvas canvas(40, 40, clrCanvas);
        painter.DrawImage(&canvas, CPoint(10, 10), CSize(16, 16), c.pIcon, c.nSelected, c.nPressed, c.bEnabled, c.bChecked,
                          FALSE, TRUE);
        EXPECT_EQ(c.clrAt, canvas.At(c.ptAt.x, c.ptAt.y));
        EXPECT_EQ(c.clrBelowRight, canvas.At(26, 26));
    }
}

// Without the filled selection a selected menu item always raises its icon column, whatever the column holds.
TEST(BarThemeDefault, ASelectedMenuItemRaisesItsIconColumnWithOrWithoutIconOrTick)
{
    CPinnedPalette palette;
    CXTPBarThemeDefault painter;
    PinFont(&painter);
    const COLORREF* pal = CPinnedPalette::Classic();
    CTestImages images;
    images.m_icons.emplace(12, CTestIcon());
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar();
    pPopup->SetImageManager(&images);
    int c = std::max(static_cast<int>(pPopup->GetIconSize().cx) + 4, painter.GetTextHeight() + 4);
    struct Case { const char* name; UINT nId; BOOL bChecked; } cases[] = {
        {"plain", 11, FALSE}, {"icon", 12, FALSE}, {"ticked", 11, TRUE}, {"checked icon", 12, TRUE}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        CXTPControl* pItem = pPopup->GetControls()->Add(xtpControlButton, k.nId);
        pItem->SetCaption(L"Voce");
        pItem->SetRect(CRect(0, 0, 200, 22));
        pItem->SetChecked(k.bChecked);
        pItem->SetSelected(1);
        CPixelCanvas canvas(200, 22, clrCanvas);
        painter.DrawControl(&canvas, pItem, TRUE);
        EXPECT_EQ('R', FaceAt(canvas, CRect(0, 0, c, 22), pal[COLOR_BTNHIGHLIGHT], pal[COLOR_BTNSHADOW],
                              pal[COLOR_BTNFACE]));
    }
    pPopup->InternalRelease();
}

TEST(BarThemeDefault, BordersGripperTearOffAndStatusPane)
{
    CPinnedPalette palette;
    CProbePainter painter;
    const COLORREF* pal = CPinnedPalette::Classic();
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar();
    CTestBar* pToolBar = new CTestBar;
    CRect rc;
    painter.GetBarBorders(&rc, pPopup);
    EXPECT_EQ(CRect(3, 3, 3, 3), rc);
    painter.GetBarBorders(&rc, pToolBar);
    EXPECT_EQ(CRect(2, 2, 2, 2), rc);
    pPopup->InternalRelease();
    pToolBar->InternalRelease();

    CPixelCanvas canvas(60, 40, clrCanvas);
    EXPECT_EQ(CSize(0, 8), painter.DrawTearOffGripper(&canvas, CRect(0, 0, 60, 8), TRUE, TRUE));
    EXPECT_EQ(pal[COLOR_ACTIVECAPTION], canvas.At(30, 6));
    EXPECT_EQ(clrCanvas, canvas.At(30, 7));
    painter.DrawTearOffGripper(&canvas, CRect(0, 10, 60, 18), FALSE, TRUE);
    EXPECT_EQ(pal[COLOR_INACTIVECAPTION], canvas.At(30, 12));

    painter.SetTextHeight(20);
    CPixelCanvas gripper(20, 40, clrCanvas);
    painter.DrawGripperShape(&gripper, nullptr, TRUE);
    EXPECT_EQ(pal[COLOR_BTNHIGHLIGHT], gripper.At(3, 3));
    EXPECT_EQ(pal[COLOR_BTNSHADOW], gripper.At(5, 23));
    EXPECT_EQ(clrCanvas, gripper.At(5, 24));

    // A pane with its own colours, right-aligned text, and a disabled one in grey.
    CXTPStatusBarPane pane;
    pane.m_strText = L"NUM";
    pane.m_clrBackground = RGB(0, 128, 0);
    pane.m_clrText = RGB(255, 255, 0);
    pane.m_nAlignment = CXTPStatusBarPane::alignRight;
    CPixelCanvas status(100, 20, clrCanvas);
    painter.DrawStatusBarPane(&status, CRect(0, 0, 100, 20), &pane);
    EXPECT_EQ(clrCanvas, status.At(0, 0));
    EXPECT_EQ(RGB(0, 128, 0), status.At(5, 10));
    auto countColor = [&](int x0, int x1, COLORREF clr) {
        int n = 0;
        for (int x = x0; x < x1; x++)
            for (int y = 0; y < 20; y++)
                n += status.At(x, y) == clr;
        return n;
    };
    EXPECT_EQ(0, countColor(0, 60, RGB(255, 255, 0)));
    EXPECT_GT(countColor(60, 100, RGB(255, 255, 0)), 5);
    pane.m_nStyle = CXTPStatusBarPane::styleDisabled;
    painter.DrawStatusBarPane(&status, CRect(0, 0, 100, 20), &pane);
    EXPECT_GT(countColor(60, 100, pal[COLOR_GRAYTEXT]), 5);
}

// Without an icon a toolbar control keeps a 23 x 23 box in the icon's place, with or without a caption, so that a
// button showing only its caption is as large as one showing an icon beside it.
TEST(BarPainter, ToolbarControlsKeepTheIconsPlaceWithoutAnIcon)
{
    CPinnedPalette palette;
    CProbePainter painter;
    PinFont(&painter);
    CRecordingSite site;
    ASSERT_TRUE(site.Create());
    CTestImages images;
    images.m_icons.emplace(12, CTestIcon());
    struct Case
    {
        const char* pszWhat;
        int nPosition;
        UINT nId;
        int nStyle;
        LPCTSTR pszCaption;
        // Expected size from the caption's measured size (width along the bar first).
        std::function<CSize(CSize)> expected;
    } cases[] = {
        {"caption only", xtpBarTop, 11, xtpButtonCaption, L"Stampa",
         [](CSize t) { return CSize(23 + t.cx + 6, std::max(23L, t.cy + 6)); }},
        {"caption beside an icon", xtpBarTop, 12, xtpButtonIconAndCaption, L"Stampa",
         [](CSize t) { return CSize(23 + t.cx + 6, std::max(23L, t.cy + 6)); }},
        {"icon style without an icon", xtpBarTop, 11, xtpButtonIcon, L"Stampa", [](CSize) { return CSize(23, 23); }},
        {"caption only, docked left", xtpBarLeft, 11, xtpButtonCaption, L"Stampa",
         [](CSize t) { return CSize(std::max(23L, t.cx), 23 + t.cy + 6); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        CTestBar* pBar = new CTestBar;
        ASSERT_TRUE(pBar->Create(&site, CRect(0, 0, 300, 30)));
        pBar->SetPosition(c.nPosition);
        pBar->SetImageManager(&images);
        CXTPControl* pControl = pBar->GetControls()->Add(xtpControlButton, c.nId);
        pControl->SetCaption(CString(c.pszCaption));
        pControl->SetStyle(c.nStyle);
        CPixelCanvas canvas(10, 10);
        CSize szText;
        {
            CFontSelector font(&canvas, painter.GetControlFont(pBar, FALSE));
            szText = painter.DrawControlText(&canvas, c.pszCaption, CRect(), FALSE, c.nPosition == xtpBarLeft, FALSE,
                                             FALSE, FALSE, FALSE);
        }
        EXPECT_EQ(c.expected(szText), painter.DrawToolBarControl(&canvas, pControl, FALSE));
        pBar->SetImageManager(nullptr);
        pBar->InternalRelease();
    }
    site.DestroyWindow();
}

// The glyph buttons a bar adds itself: the expand button placed at the end of the bar, its triangle and chevron,
// the caption's close cross and arrow in the highlight-text colour until the button is selected.
TEST(BarPainter, GlyphsOfTheBarsOwnButtons)
{
    CPinnedPalette palette;
    CProbePainter painter;
    const COLORREF clrText = RGB(200, 0, 0), clrHighlightText = RGB(0, 160, 0);
    painter.SetColor(COLOR_BTNTEXT, clrText);
    painter.SetColor(COLOR_HIGHLIGHTTEXT, clrHighlightText);
    CRecordingSite site;
    ASSERT_TRUE(site.Create());

    // Measuring places only the expand button: at the right end of a horizontal bar, at the foot of a vertical one.
    struct Place
    {
        int nPosition, nGlyph;
        CRect rcExpected;
    } places[] = {
        {xtpBarTop, CXTPBarPainter::glyphExpand, CRect(87, 2, 98, 22)},
        {xtpBarBottom, CXTPBarPainter::glyphExpand, CRect(87, 2, 98, 22)},
        {xtpBarFloating, CXTPBarPainter::glyphExpand, CRect(87, 2, 98, 22)},
        {xtpBarLeft, CXTPBarPainter::glyphExpand, CRect(2, 11, 98, 22)},
        {xtpBarRight, CXTPBarPainter::glyphExpand, CRect(2, 11, 98, 22)},
        {xtpBarPopup, CXTPBarPainter::glyphExpand, CRect(2, 11, 98, 22)},
        {xtpBarTop, CXTPBarPainter::glyphChevron, CRect(1, 1, 5, 5)},
        {xtpBarTop, CXTPBarPainter::glyphClose, CRect(1, 1, 5, 5)},
        {xtpBarTop, CXTPBarPainter::glyphArrow, CRect(1, 1, 5, 5)},
    };
    for (const Place& p : places) {
        SCOPED_TRACE(testing::Message() << "position " << p.nPosition << " glyph " << p.nGlyph);
        CTestBar* pBar = new CTestBar;
        ASSERT_TRUE(pBar->Create(&site, CRect(0, 0, 100, 24)));
        pBar->SetPosition(p.nPosition);
        CXTPControl* pControl = pBar->GetControls()->Add(xtpControlButton, 9400);
        pControl->SetRect(CRect(1, 1, 5, 5));
        CPixelCanvas canvas(4, 4);
        CSize sz = painter.CXTPBarPainter::DrawGlyph(&canvas, pBar, p.nGlyph, pControl, FALSE);
        EXPECT_EQ(p.rcExpected, pControl->GetRect());
        EXPECT_EQ(p.nGlyph == CXTPBarPainter::glyphExpand ? p.rcExpected.Size() : CSize(0, 0), sz);
        pBar->InternalRelease();
    }

    // Drawn on a control (10, 2)-(40, 22) of a top bar, or (2, 10)-(22, 40) of a left one: the colour at a point.
    enum { canvas, text, highlightText };
    struct Probe
    {
        const char* pszWhat;
        int nPosition, nGlyph, nSelected;
        CPoint pt;
        int nExpected;
    } probes[] = {
        {"expand triangle's base 7 above the foot", xtpBarTop, CXTPBarPainter::glyphExpand, 0, CPoint(23, 15), text},
        {"expand triangle's point", xtpBarTop, CXTPBarPainter::glyphExpand, 0, CPoint(25, 17), text},
        {"expand: nothing below the triangle", xtpBarTop, CXTPBarPainter::glyphExpand, 0, CPoint(25, 19), canvas},
        {"vertical expand triangle 7 inside the right edge", xtpBarLeft, CXTPBarPainter::glyphExpand, 0,
         CPoint(15, 25), text},
        {"chevron alone: no triangle", xtpBarTop, CXTPBarPainter::glyphChevron, 0, CPoint(23, 15), canvas},
        {"arrow in highlight text", xtpBarTop, CXTPBarPainter::glyphArrow, 0, CPoint(25, 11), highlightText},
        {"arrow's point", xtpBarTop, CXTPBarPainter::glyphArrow, 0, CPoint(25, 12), highlightText},
        {"below the arrow's point", xtpBarTop, CXTPBarPainter::glyphArrow, 0, CPoint(25, 14), canvas},
        {"selected arrow in the text colour", xtpBarTop, CXTPBarPainter::glyphArrow, 1, CPoint(25, 11), text},
    };
    for (const Probe& p : probes) {
        SCOPED_TRACE(p.pszWhat);
        CTestBar* pBar = new CTestBar;
        ASSERT_TRUE(pBar->Create(&site, CRect(0, 0, 100, 100)));
        pBar->SetPosition(p.nPosition);
        CXTPControl* pControl = pBar->GetControls()->Add(xtpControlButton, 9400);
        pControl->SetRect(p.nPosition == xtpBarLeft ? CRect(2, 10, 22, 40) : CRect(10, 2, 40, 22));
        pControl->SetSelected(p.nSelected);
        CPixelCanvas drawn(50, 50, clrCanvas);
        painter.CXTPBarPainter::DrawGlyph(&drawn, pBar, p.nGlyph, pControl, TRUE);
        const COLORREF colours[] = {clrCanvas, clrText, clrHighlightText};
        EXPECT_EQ(colours[p.nExpected], drawn.At(p.pt.x, p.pt.y));
        pBar->InternalRelease();
    }

    // The close cross: the highlight-text colour, the text colour once the button is selected or pressed.
    for (int nState = 0; nState < 3; nState++) {
        SCOPED_TRACE(nState);
        CTestBar* pBar = new CTestBar;
        ASSERT_TRUE(pBar->Create(&site, CRect(0, 0, 100, 100)));
        CXTPControl* pControl = pBar->GetControls()->Add(xtpControlButton, 9401);
        pControl->SetRect(CRect(10, 2, 30, 22));
        pControl->SetSelected(nState == 1);
        pControl->SetPressed(nState == 2);
        CPixelCanvas drawn(50, 50, clrCanvas);
        painter.CXTPBarPainter::DrawGlyph(&drawn, pBar, CXTPBarPainter::glyphClose, pControl, TRUE);
        int nText = 0, nHighlight = 0;
        for (int x = 13; x < 27; x++)
            for (int y = 5; y < 19; y++) {
                nText += drawn.At(x, y) == clrText;
                nHighlight += drawn.At(x, y) == clrHighlightText;
            }
        EXPECT_GT(nState ? nText : nHighlight, 8);
        EXPECT_EQ(0, nState ? nHighlight : nText);
        pBar->InternalRelease();
    }
    site.DestroyWindow();
}
