// Docking themes in 32-bit memory DCs under pinned classic system colours: metrics by scheme, captions, buttons,
// splitters and the floating frame's border.
#include "TabTestManager.h"

#include "ui/docking/XTPDockingPaneThemes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace
{
const COLORREF clrCanvas = RGB(0, 160, 0);

int Distance(COLORREF a, COLORREF b)
{
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

// Buttons without a docking element: all visible unless hidden here, rectangles recorded.
class CButtonOwner : public CPaneCaptionButtonOwner
{
public:
    BOOL IsCaptionButtonVisible(CPaneCaptionButton* pButton) override { return !m_hidden.count(pButton->GetID()); }
    void OnCaptionButtonRectChanged(CPaneCaptionButton*) override {}
    void RedrawCaptionButton(CPaneCaptionButton*) override {}
    HWND GetCaptionButtonWindow() override { return nullptr; }

    std::set<UINT> m_hidden;
};

struct CThemeRelease
{
    void operator()(CXTPDockingPanePaintManager* p) const { p->InternalRelease(); }
};
typedef std::unique_ptr<CXTPDockingPanePaintManager, CThemeRelease> CThemePtr;

template <class T>
T* ThemeOf(const CThemePtr& p)
{
    return static_cast<T*>(p.get());
}

class DockingThemeTest : public ::testing::Test
{
protected:
    CPinnedTabColors m_colors{CColorTable::schemeNone};
    CButtonOwner m_owner;
    CPaneCaptionButton m_close{XTP_IDS_DOCKINGPANE_CLOSE, &m_owner};
    CPaneCaptionButton m_pin{XTP_IDS_DOCKINGPANE_AUTOHIDE, &m_owner};
    CXTPDockingPaneCaptionButtons m_buttons;

    void SetUp() override
    {
        m_buttons.push_back(&m_close);
        m_buttons.push_back(&m_pin);
    }

    XTP_DOCKINGPANE_CAPTION Caption(BOOL bActive, BOOL bVertical = FALSE)
    {
        XTP_DOCKINGPANE_CAPTION caption;
        caption.strTitle = L"Navigazione";
        caption.pButtons = &m_buttons;
        caption.bActive = bActive;
        caption.bVertical = bVertical;
        return caption;
    }
};
}

TEST_F(DockingThemeTest, Theme2SchemesOverwriteTheirThirteenEntriesAndCaptionColours)
{
    struct CASE
    {
        int nScheme;
        COLORREF clr38, clr43, clr32, clr30, clrSplitter, clrInactiveLight, clrInactiveDark;
    };
    const CASE cases[] = {
        {1, RGB(39, 65, 118), RGB(0, 45, 150), RGB(0, 0, 128), RGB(158, 190, 245), RGB(216, 231, 252),
         RGB(221, 236, 254), RGB(129, 169, 226)},
        {2, RGB(81, 94, 51), RGB(117, 141, 94), RGB(63, 93, 56), RGB(217, 217, 167), RGB(226, 231, 191),
         RGB(244, 247, 222), RGB(183, 198, 145)},
        {3, RGB(84, 84, 117), RGB(124, 124, 148), RGB(75, 75, 111), RGB(215, 215, 229), RGB(223, 223, 234),
         RGB(243, 244, 250), RGB(153, 151, 181)},
    };
    CThemePtr theme(CXTPDockingPanePaintManager::CreateTheme(2));
    auto* p = ThemeOf<CXTPDockingPaneTheme2>(theme);
    ASSERT_FALSE(p->IsSchemeColorsApplied());
    for (const CASE& c : cases) {
        p->SetColorScheme(c.nScheme);
        EXPECT_TRUE(p->IsSchemeColorsApplied());
        EXPECT_EQ(c.clr38, p->GetColor(38)) << c.nScheme;
        EXPECT_EQ(c.clr43, p->GetColor(43)) << c.nScheme;
        for (UINT i : {32u, 37u, 50u})
            EXPECT_EQ(c.clr32, p->GetColor(i)) << c.nScheme << " entry " << i;
        EXPECT_EQ(c.clr30, p->GetColor(30)) << c.nScheme;
        EXPECT_EQ(RGB(255, 238, 194), p->GetColor(31));
        EXPECT_EQ(RGB(254, 128, 62), p->GetColor(33));
        EXPECT_EQ(RGB(255, 192, 111), p->GetColor(36));
        EXPECT_EQ(RGB(0, 0, 0), p->GetColor(47));
        EXPECT_EQ(c.clrSplitter, static_cast<COLORREF>(p->m_clrSplitter));
        EXPECT_EQ(c.clr38, static_cast<COLORREF>(p->m_clrSplitterGripper));
        EXPECT_EQ(c.clrInactiveLight, static_cast<COLORREF>(p->m_clrCaptionBackInactive.m_clrStart));
        EXPECT_EQ(c.clrInactiveDark, static_cast<COLORREF>(p->m_clrCaptionBackInactive.m_clrEnd));
        EXPECT_EQ(RGB(255, 213, 140), static_cast<COLORREF>(p->m_clrCaptionBackActive.m_clrStart));
    }

    // The classic look goes back to the system-derived entries.
    p->SetColorScheme(CColorTable::schemeNone);
    EXPECT_FALSE(p->IsSchemeColorsApplied());
    for (UINT i : {30u, 31u, 32u, 33u, 36u, 37u, 38u, 39u, 40u, 41u, 43u, 47u, 50u})
        EXPECT_EQ(GetColorTable()->GetColor(i), p->GetColor(i)) << "entry " << i;
    EXPECT_EQ(GetColorTable()->GetColor(COLOR_BTNFACE), static_cast<COLORREF>(p->m_clrSplitter));
    // 20.5 % of the button face (212, 208, 200) with 79.5 % of white.
    EXPECT_EQ(RGB(246, 245, 244), static_cast<COLORREF>(p->m_clrCaptionBackInactive.m_clrStart));
}

TEST_F(DockingThemeTest, SchemeFiveFollowsTheColourTableUnlessItsSchemeColoursAreOff)
{
    CThemePtr theme(CXTPDockingPanePaintManager::CreateTheme(2));
    GetColorTable()->SetScheme(CColorTable::schemeOlive);
    EXPECT_EQ(CColorTable::schemeOlive, theme->GetCurrentScheme());
    GetColorTable()->SetSchemeColorsDisabled(TRUE);
    EXPECT_EQ(CColorTable::schemeNone, theme->GetCurrentScheme());
    theme->SetColorScheme(CColorTable::schemeSilver);
    EXPECT_EQ(CColorTable::schemeSilver, theme->GetCurrentScheme());
}

TEST_F(DockingThemeTest, HeightsComeFromTheMeasuredFonts)
{
    for (int nTheme : {0, 1, 2, 7}) {
        CThemePtr theme(CXTPDockingPanePaintManager::CreateTheme(nTheme));
        CPixelCanvas canvas(1, 1);
        int nText;
        {
            CFontSelector font(&canvas, theme->GetCaptionFont(FALSE));
            nText = canvas.GetTextExtent(L" ", 1).cy;
        }
        EXPECT_EQ(theme->m_nCaptionTextMargin + std::max(13, nText), theme->GetCaptionHeight()) << nTheme;
        EXPECT_EQ(theme->GetCaptionHeight() + 3, theme->GetCaptionFullHeight()) << nTheme;
        CFontSelector tabFont(&canvas, theme->GetPaneTabPainter()->GetFont(FALSE, FALSE));
        int nTabText = static_cast<int>(canvas.GetTextExtent(L" ", 1).cy);
        EXPECT_EQ(std::max(24, nTabText + 10), theme->GetTabsHeight()) << nTheme;
    }
    CThemePtr theme2(CXTPDockingPanePaintManager::CreateTheme(2));
    EXPECT_EQ(7, theme2->m_nCaptionTextMargin);

    // A bigger font makes a higher caption.
    LOGFONT lf = PinnedTabFont(-30);
    theme2->SetCaptionFont(&lf, FALSE);
    EXPECT_GE(theme2->GetCaptionHeight(), 7 + 30);
}

TEST_F(DockingThemeTest, VerticalCaptionFontIsAtLeastElevenPixelsHigh)
{
    struct CASE
    {
        int nHeight, nVertical;
    };
    for (const CASE& c : {CASE{-8, -11}, CASE{-1, -11}, CASE{-11, -11}, CASE{-14, -14}, CASE{12, 12}}) {
        CThemePtr theme(CXTPDockingPanePaintManager::CreateTheme(2));
        LOGFONT lf = PinnedTabFont(c.nHeight);
        theme->SetCaptionFont(&lf, FALSE);
        LOGFONT lfVertical = {};
        theme->GetCaptionFont(TRUE)->GetLogFont(&lfVertical);
        EXPECT_EQ(c.nVertical, lfVertical.lfHeight) << c.nHeight;
        EXPECT_EQ(2700, lfVertical.lfEscapement);
        EXPECT_EQ(900, lfVertical.lfOrientation);
    }
}

TEST_F(DockingThemeTest, SplitterStyleSetsTheWidthAndTheDrawing)
{
    CThemePtr theme(CXTPDockingPanePaintManager::CreateTheme(2));
    EXPECT_EQ(4, theme->GetSplitterWidth());
    theme->SetSplitterStyle(CXTPDockingPanePaintManager::splitterDotted);
    EXPECT_EQ(7, theme->GetSplitterWidth());
    theme->SetSplitterStyle(0);
    EXPECT_EQ(4, theme->GetSplitterWidth());

    COLORREF clrFace = theme->m_clrSplitter, clrGrip = theme->m_clrSplitterGripper;
    COLORREF clrLight = theme->GetColor(COLOR_BTNHIGHLIGHT);
    {
        // A vertical bar 7 wide and 200 high: dots every 4 pixels, 32 each side of the centre (100, 3).
        theme->SetSplitterStyle(CXTPDockingPanePaintManager::splitterDotted);
        CPixelCanvas canvas(7, 200, clrCanvas);
        theme->DrawSplitter(&canvas, CRect(0, 0, 7, 200), FALSE);
        EXPECT_EQ(clrFace, canvas.At(0, 10));
        for (int d : {-32, -4, 0, 28, 32}) {
            EXPECT_EQ(clrGrip, canvas.At(2, 99 + d)) << d;
            EXPECT_EQ(clrLight, canvas.At(4, 101 + d)) << d;
        }
        EXPECT_EQ(clrFace, canvas.At(2, 99 - 36));
        EXPECT_EQ(clrFace, canvas.At(2, 99 + 36));
    }
    {
        // Raised edges on a horizontal bar.
        theme->SetSplitterStyle(CXTPDockingPanePaintManager::splitterRaised);
        CPixelCanvas canvas(50, 7, clrCanvas);
        theme->DrawSplitter(&canvas, CRect(0, 0, 50, 7), TRUE);
        EXPECT_EQ(clrLight, canvas.At(10, 0));
        EXPECT_EQ(clrFace, canvas.At(10, 3));
        EXPECT_EQ(theme->GetColor(52), canvas.At(10, 5));
        EXPECT_EQ(theme->GetColor(COLOR_BTNTEXT), canvas.At(10, 6));
    }
    {
        // Short bars keep their dots 10 pixels inside the ends, still centred.
        theme->SetSplitterStyle(CXTPDockingPanePaintManager::splitterDotted);
        CPixelCanvas canvas(7, 40, clrCanvas);
        theme->DrawSplitter(&canvas, CRect(0, 0, 7, 40), FALSE);
        EXPECT_EQ(clrGrip, canvas.At(2, 19 - 8));
        EXPECT_EQ(clrFace, canvas.At(2, 19 - 12));
    }
}

TEST_F(DockingThemeTest, Theme2CaptionHasCutCornersAGradientAndAGripper)
{
    CThemePtr theme(CXTPDockingPanePaintManager::CreateTheme(2));
    auto* p = ThemeOf<CXTPDockingPaneTheme2>(theme);
    p->SetColorScheme(CColorTable::schemeBlue);
    int h = p->GetCaptionHeight() + 3;

    for (BOOL bActive : {FALSE, TRUE}) {
        CPixelCanvas canvas(200, 60, clrCanvas);
        p->DrawCaption(&canvas, Caption(bActive), CRect(10, 10, 210, 70));
        const CColorGradient& clr = bActive ? p->m_clrCaptionBackActive : p->m_clrCaptionBackInactive;
        // The strip starts one pixel in; its corners keep the splitter face.
        EXPECT_EQ(clrCanvas, canvas.At(10, 20));
        EXPECT_EQ(static_cast<COLORREF>(p->m_clrSplitter), canvas.At(11, 10));
        EXPECT_EQ(static_cast<COLORREF>(p->m_clrSplitter), canvas.At(11, 10 + h - 1));
        // A vertical gradient from light to dark across the strip's height, and nothing below it.
        EXPECT_LE(Distance(clr.m_clrStart, canvas.At(120, 10)), 4) << bActive;
        EXPECT_LE(Distance(clr.m_clrEnd, canvas.At(120, 10 + h - 1)), 12) << bActive;
        EXPECT_EQ(clrCanvas, canvas.At(120, 10 + h));
        // Dots from y = 5 while below the caption height - 3, colour 38 over colour 20.
        int x = 11 + 5;
        for (int y = 5; y < p->GetCaptionHeight() - 3; y += 4) {
            EXPECT_EQ(p->GetColor(38), canvas.At(x, 10 + y)) << y;
            EXPECT_EQ(p->GetColor(COLOR_BTNHIGHLIGHT), canvas.At(x + 2, 10 + y + 2)) << y;
        }
    }

    // The highlight switch off draws the focused caption like the others.
    p->m_bHighlightActiveCaption = FALSE;
    CPixelCanvas canvas(200, 60, clrCanvas);
    p->DrawCaption(&canvas, Caption(TRUE), CRect(10, 10, 210, 70));
    EXPECT_LE(Distance(p->m_clrCaptionBackInactive.m_clrStart, canvas.At(120, 10)), 4);
}

TEST_F(DockingThemeTest, VerticalCaptionRunsAlongTheLeftWithHorizontalGradient)
{
    CThemePtr theme(CXTPDockingPanePaintManager::CreateTheme(2));
    auto* p = ThemeOf<CXTPDockingPaneTheme2>(theme);
    p->SetColorScheme(CColorTable::schemeBlue);
    int h = p->GetCaptionHeight() + 3;
    CPixelCanvas canvas(60, 200, clrCanvas);
    p->DrawCaption(&canvas, Caption(FALSE, TRUE), CRect(0, 0, 60, 200));
    EXPECT_EQ(clrCanvas, canvas.At(h, 100));
    EXPECT_EQ(clrCanvas, canvas.At(10, 0));
    EXPECT_LE(Distance(p->m_clrCaptionBackInactive.m_clrStart, canvas.At(0, 100)), 4);
    EXPECT_LE(Distance(p->m_clrCaptionBackInactive.m_clrEnd, canvas.At(h - 1, 100)), 12);
    // Buttons from the bottom up, centred across the strip.
    EXPECT_EQ(CRect((h - 16) / 2, 200 - 4 - 16, (h - 16) / 2 + 16, 200 - 4), m_close.GetRect());
}

TEST_F(DockingThemeTest, CaptionButtonsArePlacedFromTheEndSkippingHiddenOnes)
{
    CPaneCaptionButton menu(XTP_IDS_DOCKINGPANE_MENU, &m_owner);
    m_buttons.push_back(&menu);
    m_owner.m_hidden = {XTP_IDS_DOCKINGPANE_AUTOHIDE};
    CThemePtr theme(CXTPDockingPanePaintManager::CreateTheme(2));
    CPixelCanvas canvas(200, 30, clrCanvas);
    CRect rc(0, 0, 200, 24);
    theme->DrawCaptionButtons(&canvas, &m_buttons, rc, 0, 16, 2, FALSE);
    EXPECT_EQ(CRect(184, 4, 200, 20), m_close.GetRect());
    EXPECT_TRUE(m_pin.GetRect().IsRectEmpty());
    EXPECT_EQ(CRect(166, 4, 182, 20), menu.GetRect());
    EXPECT_EQ(164, rc.right);
}

TEST_F(DockingThemeTest, Theme2ButtonFacesByStateAndScheme)
{
    struct CASE
    {
        BOOL bScheme, bHot, bPressed;
        COLORREF clrFaceTop;   // XTP_COLOR_NONE: no face drawn
        COLORREF clrGlyph;
    };
    // Hot and pressed faces with scheme colours (blue) and without them (classic).
    CThemePtr theme(CXTPDockingPanePaintManager::CreateTheme(2));
    auto* p = ThemeOf<CXTPDockingPaneTheme2>(theme);
    p->SetColorScheme(CColorTable::schemeNone);
    COLORREF clr31 = p->GetColor(31), clr33 = p->GetColor(33), clr45 = p->GetColor(45), clr47 = p->GetColor(47);
    const COLORREF clrGiven = RGB(1, 2, 3);
    const CASE cases[] = {
        {FALSE, FALSE, FALSE, XTP_COLOR_NONE, clrGiven},
        {FALSE, TRUE, FALSE, clr31, clr45},
        {FALSE, TRUE, TRUE, clr33, clr47},
        {TRUE, TRUE, FALSE, RGB(255, 242, 200), RGB(0, 0, 0)},
        {TRUE, TRUE, TRUE, RGB(254, 142, 75), RGB(0, 0, 0)},
    };
    for (const CASE& c : cases) {
        p->SetColorScheme(c.bScheme ? CColorTable::schemeBlue : CColorTable::schemeNone);
        CPixelCanvas canvas(16, 16, clrCanvas);
        CPaneCaptionButton button(XTP_IDS_DOCKINGPANE_CLOSE, &m_owner);
        button.SetRect(CRect(0, 0, 16, 16));
        if (c.bHot)
            button.CheckHover(CPoint(8, 8));
        button.SetPressed(c.bPressed);
        p->DrawCaptionButton(&canvas, &button, clrGiven);
        if (c.clrFaceTop == XTP_COLOR_NONE) {
            EXPECT_EQ(clrCanvas, canvas.At(1, 1));
            EXPECT_EQ(clrCanvas, canvas.At(0, 0));
        } else {
            EXPECT_EQ(p->GetColor(32), canvas.At(0, 0)) << c.bScheme;
            EXPECT_EQ(p->GetColor(32), canvas.At(15, 15)) << c.bScheme;
            EXPECT_LE(Distance(c.clrFaceTop, canvas.At(8, 1)), 6) << c.bScheme;
        }
        // The close cross runs through (cx - 4, cy - 3) to (cx + 3, cy + 4) around the centre (8, 8).
        EXPECT_EQ(c.clrGlyph, canvas.At(4, 5)) << c.bScheme << c.bHot;
        EXPECT_EQ(c.clrGlyph, canvas.At(10, 11)) << c.bScheme << c.bHot;
    }
}

TEST_F(DockingThemeTest, Theme2FloatingFrameBorderAndCaption)
{
    CThemePtr theme(CXTPDockingPanePaintManager::CreateTheme(2));
    auto* p = ThemeOf<CXTPDockingPaneTheme2>(theme);
    p->SetColorScheme(CColorTable::schemeBlue);
    int h = p->GetCaptionHeight() + 3;
    COLORREF clrFrame = p->GetColor(43), clrDark = p->m_clrCaptionBackInactive.m_clrEnd;
    for (BOOL bActive : {FALSE, TRUE}) {
        CPixelCanvas canvas(120, 90, clrCanvas);
        p->DrawFloatingFrame(&canvas, Caption(bActive), CRect(0, 0, 120, 90));
        // Three frames with the outer corners left out, then the dark inner frame.
        EXPECT_EQ(clrCanvas, canvas.At(0, 0));
        EXPECT_EQ(clrCanvas, canvas.At(119, 89));
        for (CPoint pt : {CPoint(1, 0), CPoint(0, 1), CPoint(1, 1), CPoint(2, 2), CPoint(117, 87), CPoint(60, 89)})
            EXPECT_EQ(clrFrame, canvas.At(pt.x, pt.y)) << pt.x << "," << pt.y;
        EXPECT_EQ(clrDark, canvas.At(3, 80));
        EXPECT_EQ(clrDark, canvas.At(60, 86));
        // The caption strip inside, edged in the dark colour.
        EXPECT_EQ(clrDark, canvas.At(3, 3 + h / 2));
        EXPECT_EQ(clrDark, canvas.At(116, 3 + h / 2));
        const CColorGradient& clr = bActive ? p->m_clrCaptionBackActive : p->m_clrCaptionBackInactive;
        EXPECT_LE(Distance(clr.m_clrStart, canvas.At(40, 3)), 4) << bActive;
        EXPECT_EQ(clrCanvas, canvas.At(60, 3 + h + 1));
    }
}

TEST_F(DockingThemeTest, Theme4GlyphsAndFlatButtonFrames)
{
    CThemePtr theme(CXTPDockingPanePaintManager::CreateTheme(4));
    auto* p = ThemeOf<CXTPDockingPaneTheme4>(theme);
    const COLORREF clrGlyph = RGB(200, 0, 0);
    COLORREF clrLight = p->GetColor(COLOR_BTNHIGHLIGHT), clrText = p->GetColor(COLOR_BTNTEXT);
    struct CASE
    {
        BOOL bHot, bPressed;
        COLORREF clrTopLeft, clrBottomRight;
        int nShift;
    };
    for (const CASE& c : {CASE{FALSE, FALSE, clrCanvas, clrCanvas, 0}, CASE{TRUE, FALSE, clrLight, clrText, 0},
                          CASE{TRUE, TRUE, clrText, clrLight, 1}}) {
        CPixelCanvas canvas(14, 14, clrCanvas);
        CPaneCaptionButton button(XTP_IDS_DOCKINGPANE_CLOSE, &m_owner);
        button.SetRect(CRect(0, 0, 14, 14));
        if (c.bHot)
            button.CheckHover(CPoint(7, 7));
        button.SetPressed(c.bPressed);
        p->DrawCaptionButton(&canvas, &button, clrGlyph);
        EXPECT_EQ(c.clrTopLeft, canvas.At(0, 5));
        EXPECT_EQ(c.clrBottomRight, canvas.At(13, 5));
        // The cross's end points are left out: (cx + 3, cy + 4) and (cx + 4, cy + 4) stay clear.
        int cx = 7 + c.nShift, cy = 7 + c.nShift;
        EXPECT_EQ(clrGlyph, canvas.At(cx - 4, cy - 3));
        EXPECT_EQ(clrGlyph, canvas.At(cx - 3, cy - 3));
        EXPECT_EQ(clrGlyph, canvas.At(cx + 2, cy + 3));
        EXPECT_EQ(clrCanvas, canvas.At(cx + 4, cy + 4));
        EXPECT_EQ(clrCanvas, canvas.At(cx, cy - 3));
    }

    // The menu glyph is a filled down arrow.
    CPixelCanvas canvas(14, 14, clrCanvas);
    CPaneCaptionButton menu(XTP_IDS_DOCKINGPANE_MENU, &m_owner);
    menu.SetRect(CRect(0, 0, 14, 14));
    p->DrawCaptionButton(&canvas, &menu, clrGlyph);
    EXPECT_EQ(clrGlyph, canvas.At(7, 7));
    EXPECT_EQ(clrGlyph, canvas.At(7, 8));
    EXPECT_EQ(clrCanvas, canvas.At(7, 11));
}

TEST_F(DockingThemeTest, Theme1InactiveCaptionIsAnOutlineWithoutCorners)
{
    CThemePtr theme(CXTPDockingPanePaintManager::CreateTheme(1));
    auto* p = ThemeOf<CXTPDockingPaneTheme1>(theme);
    CPixelCanvas canvas(100, 20, clrCanvas);
    EXPECT_EQ(p->GetColor(COLOR_BTNTEXT), p->DrawCaptionBackground(&canvas, CRect(0, 0, 100, 20), FALSE));
    EXPECT_EQ(clrCanvas, canvas.At(0, 0));
    EXPECT_EQ(clrCanvas, canvas.At(99, 19));
    EXPECT_EQ(p->GetColor(52), canvas.At(1, 0));
    EXPECT_EQ(p->GetColor(52), canvas.At(0, 10));
    EXPECT_EQ(clrCanvas, canvas.At(50, 10));
    EXPECT_EQ(p->GetColor(COLOR_CAPTIONTEXT), p->DrawCaptionBackground(&canvas, CRect(0, 0, 100, 20), TRUE));
    EXPECT_EQ(p->GetColor(COLOR_ACTIVECAPTION), canvas.At(50, 10));
}
