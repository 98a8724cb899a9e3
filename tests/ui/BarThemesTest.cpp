#include "BarTestSupport.h"
#include "IconPixels.h"
#include "ImageManagerTestRes.h"
#include "PixelCanvas.h"

#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPStatusBarPane.h"
#include "ui/persist/ImageManager.h"
#include "ui/themes/BarThemeGradient.h"
#include "ui/themes/DrawHelpers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>

namespace
{
const COLORREF clrCanvas = RGB(1, 2, 3);

// A theme whose text height the test sets.
template <class TTheme>
class CHeightProbe : public TTheme
{
public:
    void SetTextHeight(int nHeight) { this->m_nTextHeight = nHeight; }
};

// The gradient themes with their fields open to the tests.
template <class TTheme>
class CProbe : public CHeightProbe<TTheme>
{
public:
    using TTheme::m_clrBarDark;
    using TTheme::m_clrBarLight;
    using TTheme::m_clrBarShadow;
    using TTheme::m_clrDockEnd;
    using TTheme::m_clrDockStart;
    using TTheme::m_clrExpandLight;
    using TTheme::m_clrPaneBorder;
};

BOOL Near(COLORREF a, COLORREF b)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= 1 && std::abs(GetGValue(a) - GetGValue(b)) <= 1 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 1;
}

std::string Hex(COLORREF clr)
{
    char sz[8];
    snprintf(sz, sizeof(sz), "%06lX", static_cast<unsigned long>(clr));
    return sz;
}

// "frame:fill" of a face in colour values ('-' for none), or "" when nothing was drawn.
std::string FaceOf(const CPixelCanvas& canvas, const CRect& rc)
{
    COLORREF frame = canvas.At(rc.left, rc.top), fill = canvas.At(rc.CenterPoint().x, rc.CenterPoint().y);
    if (frame == clrCanvas && fill == clrCanvas)
        return "";
    return Hex(frame) + ":" + (fill == clrCanvas ? "-" : Hex(fill));
}

// The faces of a state row (selected 0-2 by pressed 0-2), space separated.
std::string Faces(CXTPBarPainter& painter, BOOL bEnabled, BOOL bChecked, BOOL bWhole, int nPosition)
{
    std::string faces;
    for (int nSelected = 0; nSelected < 3; nSelected++)
        for (int nPressed = 0; nPressed < 3; nPressed++) {
            CPixelCanvas canvas(30, 30, clrCanvas);
            CRect rc(2, 2, 26, 26);
            painter.DrawControlRect(&canvas, rc, nSelected, nPressed, bEnabled, bChecked, bWhole, TRUE, nPosition);
            faces += (nSelected || nPressed ? " " : "") + FaceOf(canvas, rc);
        }
    return faces;
}

// The same written with colour indices ("32:31", "58:-").
std::string FacesByIndex(CXTPBarPainter& painter, const char* pszFaces)
{
    std::string result, token;
    BOOL bFirst = TRUE;
    for (const char* p = pszFaces;; p++) {
        if (*p == ' ' || *p == 0) {
            if (!bFirst)
                result += " ";
            bFirst = FALSE;
            size_t nColon = token.find(':');
            if (nColon != std::string::npos) {
                std::string fill = token.substr(nColon + 1);
                result += Hex(painter.GetColor(std::stoi(token.substr(0, nColon)))) + ":" +
                          (fill == "-" ? "-" : Hex(painter.GetColor(std::stoi(fill))));
            }
            token.clear();
            if (*p == 0)
                break;
        } else {
            token += *p;
        }
    }
    return result;
}
}

TEST(BarThemeShadowed, ToolbarButtonFaceInEveryState)
{
    CPinnedPalette palette;
    CXTPBarThemeShadowed painter;
    // By selected 0-2 and pressed 0-2; a face reads "frame:fill" in colour indices.
    struct Case { BOOL bEnabled, bChecked, bWhole; int nPosition; const char* faces; } cases[] = {
        {TRUE, FALSE, FALSE, xtpBarTop, " 32:31 50:33 32:31 50:33 50:33 32:31 50:33 50:33"},
        {TRUE, TRUE, FALSE, xtpBarTop, "50:36 32:31 50:33 37:33 50:33 50:33 37:33 50:33 50:33"},
        {TRUE, FALSE, TRUE, xtpBarTop, "43:30 43:30 43:30 43:30 43:30 43:30 43:30 43:30 43:30"},
        {FALSE, FALSE, FALSE, xtpBarTop, "      32:31 32:31 32:31"},
        {FALSE, TRUE, FALSE, xtpBarTop, "58:36 58:36 58:36 58:36 58:36 58:36 32:33 32:33 32:33"},
        {FALSE, FALSE, FALSE, xtpBarPopup, "      32:41 32:41 32:41"},
        {FALSE, TRUE, TRUE, xtpBarPopup, "58:- 58:- 58:- 58:- 58:- 58:- 32:41 32:41 32:41"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FacesByIndex(painter, c.faces), Faces(painter, c.bEnabled, c.bChecked, c.bWhole, c.nPosition))
            << "enabled " << c.bEnabled << " checked " << c.bChecked << " whole " << c.bWhole;
}

TEST(BarThemeGradient, ToolbarFacesWithoutSchemeAreThemeOnes)
{
    CPinnedPalette palette(CColorTable::schemeNone);
    CXTPBarThemeGradient painter;
    CXTPBarThemeShadowed shadowed;
    EXPECT_FALSE(painter.IsSchemeActive());
    for (BOOL bEnabled : {FALSE, TRUE})
        for (BOOL bChecked : {FALSE, TRUE})
            EXPECT_EQ(Faces(shadowed, bEnabled, bChecked, FALSE, xtpBarTop),
                      Faces(painter, bEnabled, bChecked, FALSE, xtpBarTop));
}

TEST(BarThemeGradient, BlueSchemeHighlightsWithGradients)
{
    CPinnedPalette palette(CColorTable::schemeBlue);
    CXTPBarThemeGradient painter;
    ASSERT_TRUE(painter.IsSchemeActive());
    struct Case
    {
        const char* name;
        int nSelected, nPressed;
        BOOL bEnabled, bChecked;
        int nPosition;
        COLORREF clrFrom, clrTo, clrFrame;
    } cases[] = {
        {"hot", 1, 0, TRUE, FALSE, xtpBarTop, 0xC8F2FF, 0x97D4FF, 0x800000},
        {"pressed", 1, 1, TRUE, FALSE, xtpBarTop, 0x4B8EFE, 0x8BCFFF, 0x800000},
        {"executing", 0, 2, TRUE, FALSE, xtpBarTop, 0x4B8EFE, 0x8BCFFF, 0x800000},
        {"checked", 0, 0, TRUE, TRUE, xtpBarTop, 0x8CD5FF, 0x55ADFF, 0x800000},
        {"checked and hot", 1, 0, TRUE, TRUE, xtpBarTop, 0x4B8EFE, 0x8BCFFF, 0x800000},
        {"disabled, keyboard", 2, 0, FALSE, FALSE, xtpBarTop, 0xC8F2FF, 0x97D4FF, 0x800000},
        {"disabled, checked", 0, 0, FALSE, TRUE, xtpBarTop, 0x8CD5FF, 0x55ADFF, 0x8D8D8D},
        {"hot, docked left: left to right", 1, 0, TRUE, FALSE, xtpBarLeft, 0xC8F2FF, 0x97D4FF, 0x800000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CRect rc(2, 2, 26, 26);
        CPixelCanvas canvas(30, 30, clrCanvas), expected(30, 30, clrCanvas);
        painter.DrawControlRect(&canvas, rc, c.nSelected, c.nPressed, c.bEnabled, c.bChecked, FALSE, TRUE, c.nPosition);
        BOOL bHorizontal = c.nPosition == xtpBarLeft;
        GetGradientPainter()->DrawGradient(&expected, &rc, c.clrFrom, c.clrTo, bHorizontal);
        EXPECT_EQ(c.clrFrame, canvas.At(rc.left, rc.top));
        EXPECT_EQ(c.clrFrame, canvas.At(rc.right - 1, rc.bottom - 1));
        for (int i = 1; i < rc.Height() - 1; i++) {
            int x = bHorizontal ? rc.left + i : 14, y = bHorizontal ? 14 : rc.top + i;
            ASSERT_TRUE(Near(expected.At(x, y), canvas.At(x, y))) << i;
        }
    }
    // The application's own colours for a gradient win.
    painter.m_grcHot.SetColors(RGB(255, 0, 0), RGB(255, 0, 0));
    CPixelCanvas canvas(30, 30, clrCanvas);
    painter.DrawControlRect(&canvas, CRect(2, 2, 26, 26), 1, 0, TRUE, FALSE, FALSE, TRUE, xtpBarTop);
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(14, 14));
    // Popups, and controls drawn without the toolbar flag, keep the flat look.
    CPixelCanvas flat(30, 30, clrCanvas);
    painter.DrawControlRect(&flat, CRect(2, 2, 26, 26), 1, 0, TRUE, FALSE, FALSE, FALSE, xtpBarPopup);
    EXPECT_EQ(0xC2EEFFu, flat.At(14, 14));
    EXPECT_EQ(0x800000u, flat.At(2, 2));
}

TEST(BarThemeGradient, APopupWholeFaceIsItsOwnGradientInEveryStateAndScheme)
{
    struct Case
    {
        int nScheme;
        COLORREF clrFrom;   // CLR_NONE: the painter's colour 41
        COLORREF clrTo;
    } cases[] = {
        // Without a scheme the end is the window colour blended with the face colour (55 %).
        {CColorTable::schemeNone, CLR_NONE, RGB(236, 234, 230)},
        {CColorTable::schemeBlue, 0xFFEFE3, 0xE7B593},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nScheme);
        CPinnedPalette palette(c.nScheme);
        CXTPBarThemeGradient painter;
        CRect rc(2, 2, 26, 26);
        CPixelCanvas expected(30, 30, clrCanvas);
        GetGradientPainter()->DrawGradient(&expected, &rc, c.clrFrom == CLR_NONE ? painter.GetColor(41) : c.clrFrom,
                                           c.clrTo, FALSE);
        for (BOOL bEnabled : {TRUE, FALSE})
            for (int nSelected = 0; nSelected < 3; nSelected++)
                for (int nPressed = 0; nPressed < 3; nPressed++) {
                    SCOPED_TRACE(testing::Message() << bEnabled << " " << nSelected << " " << nPressed);
                    CPixelCanvas canvas(30, 30, clrCanvas);
                    painter.DrawControlRect(&canvas, rc, nSelected, nPressed, bEnabled, FALSE, TRUE, TRUE, xtpBarTop);
                    EXPECT_EQ(painter.GetColor(43), canvas.At(rc.left, rc.top));
                    EXPECT_EQ(painter.GetColor(43), canvas.At(rc.right - 1, rc.bottom - 1));
                    for (int y = rc.top + 1; y < rc.bottom - 1; y++)
                        ASSERT_TRUE(Near(expected.At(14, y), canvas.At(14, y))) << y;
                }
    }
}

TEST(BarThemeGradient, SchemeColoursAsValues)
{
    struct Case
    {
        int nScheme;
        COLORREF clrDockStart, clrDockEnd, clrBarDark, clrShadow, clr32, clr58, clrPaneBorder;
    } cases[] = {
        {CColorTable::schemeBlue, 0xF5BE9E, 0xFADAC4, 0xE2A981, 0x361E16, 0x800000, 0x8D8D8D, 0xD3D3D3},
        {CColorTable::schemeOlive, 0xA7D9D9, 0xE4F1F2, 0x91C6B7, 0x19221F, 0x385D3F, 0x8D8D8D, 0xD3D3D3},
        {CColorTable::schemeSilver, 0xE5D7D7, 0xF7F3F3, 0xB59799, 0x292024, 0x6F4B4B, 0x8D8D8D, 0xDAEAEC},
    };
    for (const Case& c : cases) {
        CPinnedPalette palette(c.nScheme);
        CProbe<CXTPBarThemeGradient> painter;
        SCOPED_TRACE(c.nScheme);
        EXPECT_EQ(c.clrDockStart, painter.m_clrDockStart);
        EXPECT_EQ(c.clrDockEnd, painter.m_clrDockEnd);
        EXPECT_EQ(c.clrBarDark, painter.m_clrBarDark);
        EXPECT_EQ(c.clrShadow, painter.GetShadowColor());
        EXPECT_EQ(c.clr32, painter.GetColor(32));
        EXPECT_EQ(c.clr58, painter.GetColor(58));
        EXPECT_EQ(c.clrPaneBorder, painter.m_clrPaneBorder);
        // The colour table keeps its own colours.
        EXPECT_NE(painter.GetColor(32), GetColorTable()->GetColor(32));
    }
    // Without a scheme the bars are made from the system colours.
    CPinnedPalette palette(CColorTable::schemeNone);
    CProbe<CXTPBarThemeGradient> painter;
    const COLORREF* pal = CPinnedPalette::Classic();
    EXPECT_EQ(pal[COLOR_3DFACE], painter.m_clrDockStart);
    EXPECT_EQ(BlendColors(pal[COLOR_3DFACE], pal[COLOR_WINDOW], 205), painter.m_clrBarLight);
    EXPECT_EQ(painter.GetColor(30), painter.m_clrBarShadow);
    EXPECT_EQ(GetColorTable()->GetColor(58), painter.GetColor(58));
    EXPECT_EQ(0, painter.GetShadowColor());
}

TEST(BarThemeGradient, VariantSchemeColoursAsValues)
{
    struct Case { int nScheme; COLORREF clrBarDark, clrBarShadow, clr31, clr32; } cases[] = {
        {CColorTable::schemeBlue, 0xA8C0C0, 0x7CA3A3, 0, 0},
        {CColorTable::schemeOlive, 0xA8C0C0, 0x7CA3A3, 0x8DC6B6, 0},
        {CColorTable::schemeSilver, 0xB59799, 0x947C7C, 0xC2EEFF, 0x6F4B4B},
    };
    for (const Case& c : cases) {
        CPinnedPalette palette(c.nScheme);
        CProbe<CXTPBarThemeGradientVariant> painter;
        SCOPED_TRACE(c.nScheme);
        EXPECT_EQ(0, painter.GetScheme());
        EXPECT_FALSE(painter.IsSchemeActive());
        EXPECT_EQ(c.clrBarDark, painter.m_clrBarDark);
        EXPECT_EQ(c.clrBarShadow, painter.m_clrBarShadow);
        EXPECT_EQ(c.clr31 ? c.clr31 : GetColorTable()->GetColor(31), painter.GetColor(31));
        EXPECT_EQ(c.clr32 ? c.clr32 : GetColorTable()->GetColor(32), painter.GetColor(32));
    }
}

namespace
{
// A bar that asks for the full gripper shape, docked at the top.
class CFullGripperBar : public CTestBar
{
public:
    CFullGripperBar() { m_nPosition = xtpBarTop; }
    BOOL IsFullGripperShape() const override { return TRUE; }
};
}

// No bar of the framework asks for the full gripper shape; one that does gets it from every theme instead of its
// docked edge.
TEST(BarPainter, ABarThatAsksForTheFullGripperShapeGetsItInEveryTheme)
{
    CPinnedPalette palette;
    CFullGripperBar* pBar = new CFullGripperBar;
    CPixelCanvas canvas(10, 10);
    for (int nTheme : {0, 1, 2, 3, 4}) {
        SCOPED_TRACE(nTheme);
        CXTPBarPainter* pPainter = CXTPBarPainter::CreateTheme(nTheme);
        CSize szShape = pPainter->DrawGripperShape(&canvas, pBar, FALSE);
        EXPECT_GT(szShape.cy, 0);
        EXPECT_EQ(szShape, pPainter->DrawCommandBarGripper(&canvas, pBar, FALSE));
        pPainter->InternalRelease();
    }
    pBar->InternalRelease();
}

TEST(BarThemeGradient, GrippersBordersAndTearOff)
{
    CPinnedPalette palette;
    CProbe<CXTPBarThemeGradient> painter;
    CPixelCanvas canvas(10, 10);
    struct Case { int nTextHeight; CSize szGradient, szShadowed; } cases[] = {
        {22, CSize(8, 28), CSize(6, 26)}, {15, CSize(8, 25), CSize(6, 22)}};
    CHeightProbe<CXTPBarThemeShadowed>* pShadowed = new CHeightProbe<CXTPBarThemeShadowed>;
    for (const Case& c : cases) {
        painter.SetTextHeight(c.nTextHeight);
        pShadowed->SetTextHeight(c.nTextHeight);
        EXPECT_EQ(c.szGradient, painter.DrawGripperShape(&canvas, nullptr, FALSE));
        EXPECT_EQ(c.szShadowed, pShadowed->DrawGripperShape(&canvas, nullptr, FALSE));
    }
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar();
    CRect rc;
    painter.GetBarBorders(&rc, pPopup);
    EXPECT_EQ(CRect(4, 2, 2, 2), rc);
    EXPECT_EQ(CSize(0, 18), painter.DrawGlyph(&canvas, pPopup, CXTPBarPainter::glyphChevron, nullptr, FALSE));
    pPopup->InternalRelease();

    // Theme 1's tear-off strip: no dashes 20 pixels wide, dashes 32 long around the centre at 60.
    for (int nWidth : {20, 60}) {
        CPixelCanvas strip(70, 12, clrCanvas);
        EXPECT_EQ(CSize(0, 9), pShadowed->DrawTearOffGripper(&strip, CRect(0, 0, nWidth, 9), FALSE, TRUE));
        int nDash = 0;
        for (int x = 0; x < 70; x++)
            nDash += strip.At(x, 5) == pShadowed->GetColor(38);
        EXPECT_EQ(nWidth == 20 ? 0 : 32, nDash) << nWidth;
    }
    pShadowed->InternalRelease();
}

TEST(BarThemeGradient, BarsDockAreasAndPanes)
{
    CPinnedPalette palette(CColorTable::schemeBlue);
    CProbe<CXTPBarThemeGradient> painter;
    CRecordingSite site;
    ASSERT_TRUE(site.Create());
    CTestBar* pBar = new CTestBar;
    ASSERT_TRUE(pBar->Create(&site, CRect(0, 0, 120, 26)));
    pBar->SetPosition(xtpBarTop);
    CPixelCanvas canvas(120, 26, clrCanvas);
    painter.FillCommandBar(&canvas, pBar);
    // The body: a top-to-bottom gradient from bar light to bar dark above the shadow line.
    CPixelCanvas reference(120, 26, clrCanvas);
    CRect rcBody(0, 0, 120, 25);
    GetGradientPainter()->DrawGradient(&reference, &rcBody, painter.m_clrBarLight, painter.m_clrBarDark, FALSE);
    EXPECT_TRUE(Near(painter.m_clrBarLight, canvas.At(60, 0)));
    for (int y = 0; y < 25; y++)
        EXPECT_TRUE(Near(reference.At(60, y), canvas.At(60, y))) << y;
    EXPECT_EQ(painter.m_clrBarShadow, canvas.At(60, 25));
    // The corners show the dock area behind the bar.
    EXPECT_TRUE(Near(painter.m_clrDockStart, canvas.At(0, 0)));
    EXPECT_TRUE(Near(painter.m_clrDockStart, canvas.At(0, 25)));

    // Toolbar gripper dots of a bar 26 pixels high: at y = 5, 9, 13, 17 (dark) with a light one below right.
    painter.DrawCommandBarGripper(&canvas, pBar, TRUE);
    for (int y : {5, 9, 13, 17}) {
        EXPECT_EQ(painter.GetColor(38), canvas.At(5, y)) << y;
        EXPECT_EQ(painter.GetColor(COLOR_BTNHIGHLIGHT), canvas.At(7, y + 2)) << y;
    }
    EXPECT_NE(painter.GetColor(38), canvas.At(5, 21));
    EXPECT_EQ(CSize(6, 0), painter.DrawCommandBarGripper(&canvas, pBar, FALSE));

    // Dock areas: the gradient over half the screen at least; a dock of style 0x100 plain.
    CWnd dock;
    ASSERT_TRUE(dock.CreateEx(0, nullptr, L"", WS_CHILD, CRect(0, 0, 60, 20), &site, 2));
    CPixelCanvas dockCanvas(60, 20, clrCanvas);
    painter.FillDockBar(&dockCanvas, &dock);
    EXPECT_TRUE(Near(painter.m_clrDockStart, dockCanvas.At(0, 10)));
    EXPECT_FALSE(Near(painter.m_clrDockEnd, dockCanvas.At(59, 10)));
    dock.ModifyStyle(0, 0x100);
    painter.FillDockBar(&dockCanvas, &dock);
    EXPECT_EQ(painter.m_clrDockEnd, dockCanvas.At(0, 10));

    CXTPStatusBarPane pane;
    CPixelCanvas status(40, 20, clrCanvas);
    painter.DrawStatusBarPaneBorder(&status, CRect(0, 0, 40, 20), &pane);
    EXPECT_EQ(0xD3D3D3u, status.At(0, 0));
    EXPECT_EQ(0xD3D3D3u, status.At(39, 19));
    painter.DrawStatusBarGripper(&status, CRect(0, 0, 40, 20));
    EXPECT_EQ(painter.GetColor(COLOR_BTNSHADOW), status.At(38, 19));

    // The round image: its surround is transparent.
    CPixelCanvas round(16, 16, RGB(255, 255, 255));
    painter.GetRoundImage()->Draw(&round, 0, CPoint(0, 0), ILD_NORMAL);
    EXPECT_EQ(RGB(255, 255, 255), round.At(0, 0));
    EXPECT_NE(RGB(255, 255, 255), round.At(8, 8));

    pBar->InternalRelease();
    site.DestroyWindow();
}

TEST(BarThemeShadowed, MenuItems)
{
    CPinnedPalette palette;
    CXTPBarThemeShadowed painter;
    PinFont(&painter);
    CTestImages images;
    images.m_icons.emplace(12, CTestIcon());
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar();
    pPopup->SetImageManager(&images);
    CXTPControls* pControls = pPopup->GetControls();
    CXTPControl* pPlain = pControls->Add(xtpControlButton, 11);
    CXTPControl* pIcon = pControls->Add(xtpControlButton, 12);
    CXTPControl* pPopupItem = pControls->Add(xtpControlPopup, 0);
    CXTPControl* pSplit = pControls->Add(xtpControlSplitButtonPopup, 0);
    for (CXTPControl* pControl : {pPlain, pIcon, pPopupItem, pSplit}) {
        pControl->SetCaption(CString(L"&Voce\tCtrl+V"));
        pControl->SetRect(CRect(0, 0, 200, 22));
    }
    auto draw = [&](CXTPControl* pControl) {
        auto pCanvas = std::make_unique<CPixelCanvas>(200, 22, clrCanvas);
        painter.DrawControl(pCanvas.get(), pControl, TRUE);
        return pCanvas;
    };
    auto count = [](const CPixelCanvas& canvas, CRect rc, COLORREF clr) {
        int n = 0;
        for (int x = rc.left; x < rc.right; x++)
            for (int y = rc.top; y < rc.bottom; y++)
                n += canvas.At(x, y) == clr;
        return n;
    };
    int c = std::max(20, painter.GetTextHeight() + 4);
    CRect rcSquare(CPoint((c - 20) / 2, 1), CSize(20, 20));

    // Measured: caption, shortcut, column and 40.
    CPixelCanvas measure(10, 10);
    CSize sz = painter.DrawControl(&measure, pPlain, FALSE);
    EXPECT_EQ(std::max(22, painter.GetTextHeight()), sz.cy);
    EXPECT_GT(sz.cx, c + 40);

    // Selected: framed in 32 and filled with 31; text in 45.
    pPlain->SetSelected(1);
    auto selected = draw(pPlain);
    EXPECT_EQ(painter.GetColor(32), selected->At(0, 0));
    EXPECT_EQ(painter.GetColor(31), selected->At(100, 2));
    pPlain->SetSelected(0);

    // Disabled: grey text (35), no highlight.
    pPlain->SetEnabled(FALSE);
    auto disabled = draw(pPlain);
    EXPECT_GT(count(*disabled, CRect(c, 0, 200, 22), painter.GetColor(35)), 5);
    pPlain->SetEnabled(TRUE);

    // Checked without icon: the check square and a black tick; with an icon: the checked image, no tick.
    pPlain->SetChecked(TRUE);
    auto ticked = draw(pPlain);
    EXPECT_EQ(painter.GetColor(50), ticked->At(rcSquare.left, rcSquare.top));
    EXPECT_GT(count(*ticked, rcSquare, RGB(0, 0, 0)), 8);
    pIcon->SetChecked(TRUE);
    auto checkedIcon = draw(pIcon);
    EXPECT_EQ(painter.GetColor(50), checkedIcon->At(rcSquare.left, rcSquare.top));
    EXPECT_EQ(CTestIcon::ImageColor(CXTPBarIcon::imageChecked), checkedIcon->At(rcSquare.CenterPoint().x, 11));
    EXPECT_EQ(0, count(*checkedIcon, rcSquare, RGB(0, 0, 0)));

    // Sub-menu entries: the arrow 11 pixels inside the right edge; a split entry its line 20 inside.
    auto popup = draw(pPopupItem);
    EXPECT_EQ(painter.GetColor(44), popup->At(189, 11));
    auto split = draw(pSplit);
    EXPECT_EQ(painter.GetColor(COLOR_BTNSHADOW), split->At(180, 11));

    // A label takes no highlight: colour 56 from 3 pixels after the column to the right edge.
    CXTPControl* pLabel = pControls->Add(xtpControlLabel, 0);
    pLabel->SetCaption(L"Gruppo");
    pLabel->SetRect(CRect(0, 0, 200, 22));
    auto label = draw(pLabel);
    EXPECT_EQ(painter.GetColor(56), label->At(c + 3, 1));
    EXPECT_EQ(painter.GetColor(56), label->At(199, 21));
    EXPECT_NE(painter.GetColor(56), label->At(c + 2, 1));
    EXPECT_NE(painter.GetColor(32), label->At(199, 0));
    pPopup->InternalRelease();
}

// A popup that shows check boxes beside icons (the toolbar's Add-or-remove list) gives each item a second column:
// the check box keeps the first, the icon moves one column to the right, and theme 1 ticks the box.
TEST(BarPainter, CheckBoxesBesideIconsMoveTheIconIntoAColumnOfItsOwn)
{
    CPinnedPalette palette;
    CTestImages images;
    images.m_icons.emplace(12, CTestIcon());
    const struct
    {
        int nTheme;
        BOOL bTicks;   // the box of an item with an icon
    } cases[] = {{0, FALSE}, {1, TRUE}};
    for (const auto& t : cases) {
        SCOPED_TRACE(t.nTheme);
        CXTPBarPainter* pPainter = CXTPBarPainter::CreateTheme(t.nTheme);
        PinFont(pPainter);
        CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar();
        pPopup->SetImageManager(&images);
        CXTPControl* pItem = pPopup->GetControls()->Add(xtpControlButton, 12);
        pItem->SetCaption(L"&Apri");
        pItem->SetChecked(TRUE);
        pItem->SetRect(CRect(0, 0, 200, 22));
        const int c = std::max(20, pPainter->GetTextHeight() + 4);
        auto draw = [&] {
            auto pCanvas = std::make_unique<CPixelCanvas>(200, 22, clrCanvas);
            pPainter->DrawControl(pCanvas.get(), pItem, TRUE);
            return pCanvas;
        };
        CPixelCanvas measure(10, 10);
        CSize szAlone = pPainter->DrawControl(&measure, pItem, FALSE);
        auto alone = draw();
        const COLORREF clrIcon = alone->At(c / 2, 11);

        pPopup->m_bDoubleGripper = TRUE;
        EXPECT_EQ(szAlone.cx + c, pPainter->DrawControl(&measure, pItem, FALSE).cx);
        auto beside = draw();
        EXPECT_EQ(clrIcon, beside->At(c + c / 2, 11));
        EXPECT_NE(clrIcon, beside->At(c / 2, 11));
        if (t.bTicks) {
            int nBlack = 0;
            for (int x = 0; x < c; x++)
                for (int y = 0; y < 22; y++)
                    nBlack += beside->At(x, y) == RGB(0, 0, 0);
            EXPECT_GT(nBlack, 8);
        }
        pPopup->InternalRelease();
        pPainter->InternalRelease();
    }
}

// An alpha icon has no silhouette: disabled, every theme draws its grey image (the one generated from the
// normal image) where the icon is opaque, and leaves the clear part alone.
TEST(BarPainter, DisabledAlphaIconShowsItsGreyImageInEveryTheme)
{
    CPinnedPalette palette;
    CXTPImageManager images;
    HBITMAP hAlpha = MakeAlphaBitmap(16, 16, [](int x, int) { return MakePixel(200, 0, 0, x < 8 ? 255 : 0); });
    ASSERT_TRUE(images.SetIcon(CXTPImageManagerIconHandle(hAlpha), 700, CSize(16, 16)));
    ::DeleteObject(hAlpha);
    CXTPImageManagerIcon* pIcon = images.GetImage(700, 16);
    ASSERT_NE(nullptr, pIcon);
    ASSERT_TRUE(pIcon->IsAlpha());
    const COLORREF clrGrey = PixelColor(ImagePixel(pIcon->GetDisabledIcon(), 3, 3));
    ASSERT_EQ(GetRValue(clrGrey), GetGValue(clrGrey));
    ASSERT_NE(0, GetRValue(clrGrey));
    for (int nTheme : {0, 1, 2, 3, 4}) {
        SCOPED_TRACE(nTheme);
        CXTPBarPainter* pPainter = CXTPBarPainter::CreateTheme(nTheme);
        CPixelCanvas canvas(40, 40, clrCanvas);
        pPainter->DrawImage(&canvas, CPoint(10, 10), CSize(16, 16), pIcon, 0, 0, FALSE, FALSE, FALSE, TRUE);
        EXPECT_EQ(clrGrey, canvas.At(13, 13));
        EXPECT_EQ(clrCanvas, canvas.At(22, 13));
        pPainter->InternalRelease();
    }
}

TEST(BarThemeShadowed, DisabledIconIsASilhouetteAndDockedGrippers)
{
    CPinnedPalette palette;
    CXTPBarThemeShadowed painter;
    CTestIcon icon;
    CPixelCanvas canvas(40, 40, clrCanvas);
    painter.DrawImage(&canvas, CPoint(10, 10), CSize(16, 16), &icon, 0, 0, FALSE, FALSE, FALSE, TRUE);
    EXPECT_EQ(painter.GetColor(40), canvas.At(10, 10));
    EXPECT_EQ(clrCanvas, canvas.At(26, 26));
    // Pressed: the hot image in place.
    painter.DrawImage(&canvas, CPoint(10, 10), CSize(16, 16), &icon, 1, 1, TRUE, FALSE, FALSE, TRUE);
    EXPECT_EQ(CTestIcon::ImageColor(CXTPBarIcon::imageHot), canvas.At(10, 10));
    EXPECT_EQ(clrCanvas, canvas.At(26, 26));

    CRecordingSite site;
    ASSERT_TRUE(site.Create());
    for (int nHeight : {22, 10}) {
        CTestBar* pBar = new CTestBar;
        ASSERT_TRUE(pBar->Create(&site, CRect(0, 0, 100, nHeight)));
        pBar->SetPosition(xtpBarTop);
        CPixelCanvas bar(100, 22, clrCanvas);
        EXPECT_EQ(CSize(6, 0), painter.DrawCommandBarGripper(&bar, pBar, TRUE));
        std::ostringstream dashes;
        for (int y = 0; y < 22; y++)
            if (bar.At(4, y) == painter.GetColor(38))
                dashes << y << " ";
        EXPECT_EQ(nHeight == 22 ? "5 7 9 11 13 15 " : "", dashes.str());
        pBar->InternalRelease();
    }
    site.DestroyWindow();
}

// A menu caption's marked letter: with the cues hidden the item looks as one without the mark (no "&", no
// underline); with them shown only the underline sets it apart, one row under the text.
TEST(BarPainter, MenuCaptionsUnderlineTheirMarkedLetterOnlyWhileTheCuesShow)
{
    CPinnedPalette palette;
    CXTPCommandBars manager;
    for (int nTheme : {0, 1, 2, 3, 4})
        for (BOOL bCues : {FALSE, TRUE}) {
            SCOPED_TRACE(testing::Message() << "theme " << nTheme << (bCues ? ", cues shown" : ", cues hidden"));
            manager.ShowKeyboardCues(bCues);
            CXTPBarPainter* pPainter = CXTPBarPainter::CreateTheme(nTheme);
            PinFont(pPainter);
            CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar();
            pPopup->SetCommandBars(&manager);
            ASSERT_EQ(bCues, pPopup->IsKeyboardCuesVisible());
            CXTPControl* pMarked = pPopup->GetControls()->Add(xtpControlButton, 11);
            CXTPControl* pPlain = pPopup->GetControls()->Add(xtpControlButton, 12);
            pMarked->SetCaption(CString(L"&Stampa"));
            pPlain->SetCaption(CString(L"Stampa"));
            CPixelCanvas marked(200, 22, clrCanvas), plain(200, 22, clrCanvas);
            for (CXTPControl* pControl : {pMarked, pPlain})
                pControl->SetRect(CRect(0, 0, 200, 22));
            pPainter->DrawControl(&marked, pMarked, TRUE);
            pPainter->DrawControl(&plain, pPlain, TRUE);
            std::set<int> rows;
            for (int x = 0; x < 200; x++)
                for (int y = 0; y < 22; y++)
                    if (marked.At(x, y) != plain.At(x, y))
                        rows.insert(y);
            EXPECT_EQ(bCues ? 1u : 0u, rows.size());
            pPopup->SetCommandBars(nullptr);
            pPopup->InternalRelease();
            pPainter->InternalRelease();
        }
}

// The first row of the 16-colour strip walks the standard palette: the theme's eight entries take their warmer
// colours, the others stay; an entry equal to the icon store's mask colour stays too.
TEST(BarThemeGradient, RetouchedBitmapsTakeTheWarmerPalette)
{
    const COLORREF clrRetouchedSilver = RGB(0xCD, 0xC6, 0xBB);
    const COLORREF row[16] = {RGB(0, 0, 0),          RGB(0xD5, 0x4F, 0x4A), RGB(0x00, 0x97, 0x5E), RGB(0xE4, 0xA7, 0x08),
                              RGB(0x01, 0x51, 0xCD), RGB(0x80, 0, 0x80),    RGB(0, 0x80, 0x80),    clrRetouchedSilver,
                              RGB(0x95, 0x93, 0x91), RGB(0xFF, 0x57, 0x2A), RGB(0, 0xFF, 0),       RGB(0xFF, 0xFF, 0),
                              RGB(0x3A, 0x7B, 0xFC), RGB(0xFF, 0, 0xFF),    RGB(0, 0xFF, 0xFF),    RGB(0xFF, 0xFF, 0xFF)};
    CXTPImageManager* pImages = XTPImageManager();
    const COLORREF clrOldMask = pImages->GetMaskColor();
    for (COLORREF clrMask : {RGB(0, 0xFF, 0), RGB(0xC0, 0xC0, 0xC0)}) {
        SCOPED_TRACE(clrMask);
        pImages->SetMaskColor(clrMask);
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.Attach(CXTPBarThemeGradient::LoadRetouchedBitmap(IDR_IMAGETEST_RETOUCHED)));
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CBitmap* pOld = dc.SelectObject(&bitmap);
        for (int x = 0; x < 16; x++) {
            COLORREF clrExpected = clrMask == RGB(0xC0, 0xC0, 0xC0) && x == 7 ? clrMask : row[x];
            EXPECT_EQ(clrExpected, dc.GetPixel(x, 0)) << x;
        }
        dc.SelectObject(pOld);
    }
    pImages->SetMaskColor(clrOldMask);
    EXPECT_EQ(nullptr, CXTPBarThemeGradient::LoadRetouchedBitmap(IDR_IMAGETEST_TOOLBAR)) << "not of 16 colours";
}

// Both ways into the process-wide icon store give the retouched icons; the silver ground is the mask.
TEST(BarThemeGradient, RetouchedIconsGoIntoTheProcessWideStore)
{
    CXTPImageManager* pImages = XTPImageManager();
    const COLORREF clrOldMask = pImages->SetMaskColor(RGB(0xC0, 0xC0, 0xC0));
    const UINT commands[] = {311, 0, 313};
    ASSERT_TRUE(CXTPBarThemeGradient::SetRetouchedIcons(IDR_IMAGETEST_RETOUCHED));
    ASSERT_TRUE(CXTPBarThemeGradient::AddRetouchedIcons(IDR_IMAGETEST_RETOUCHED, commands, 3, CSize(16, 15)));
    for (UINT nCommand : {301u, 311u}) {
        SCOPED_TRACE(nCommand);
        CXTPImageManagerIcon* pIcon = pImages->GetImage(nCommand, 16);
        ASSERT_NE(nullptr, pIcon);
        CPixelCanvas canvas(16, 15, clrCanvas);
        pIcon->Draw(&canvas, CPoint(0, 0));
        EXPECT_EQ(RGB(0x00, 0x97, 0x5E), canvas.At(2, 0));
        EXPECT_EQ(RGB(0xFF, 0x57, 0x2A), canvas.At(9, 0));
        EXPECT_EQ(clrCanvas, canvas.At(5, 5));
    }
    for (UINT nCommand : {301u, 302u, 303u, 311u, 313u})
        pImages->RemoveIcon(nCommand);
    pImages->SetMaskColor(clrOldMask);
}
