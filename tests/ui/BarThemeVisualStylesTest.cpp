// Theme 3: with its style handles closed it draws as the default theme but for faded icons and the popup text
// colour; with a stand-in style library it asks for the style's parts and states. Theme 2's status gripper comes
// from the style, with or without a main window.
#include "BarTestSupport.h"
#include "PixelCanvas.h"

#include "platform/mfc/afxstate.h"

#include "ui/commandbars/XTPControlComboBox.h"
#include "ui/commandbars/XTPStatusBar.h"
#include "ui/commandbars/XTPStatusBarPane.h"
#include "ui/themes/BarThemeGradient.h"
#include "ui/themes/BarThemeVisualStyles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace
{
const COLORREF clrCanvas = RGB(1, 2, 3);

template <class TTheme>
class CPinnedTheme : public TTheme
{
public:
    CPinnedTheme()
    {
        PinFont(this);
        // The menu text apart from the button text, so that the two show.
        this->SetColor(COLOR_MENUTEXT, RGB(200, 0, 0));
    }
    void SetTextHeight(int nHeight) { this->m_nTextHeight = nHeight; }
};

BOOL SamePixels(const CPixelCanvas& a, const CPixelCanvas& b, int cx, int cy)
{
    for (int y = 0; y < cy; y++)
        for (int x = 0; x < cx; x++)
            if (a.At(x, y) != b.At(x, y))
                return FALSE;
    return TRUE;
}

int Count(const CPixelCanvas& canvas, int cx, int cy, COLORREF clr)
{
    int n = 0;
    for (int y = 0; y < cy; y++)
        for (int x = 0; x < cx; x++)
            n += canvas.At(x, y) == clr;
    return n;
}
}

TEST(BarThemeVisualStyles, WithoutStylesDrawsAsTheDefaultThemeButForIconsAndMenuText)
{
    CPinnedPalette palette;
    CPinnedTheme<CXTPBarThemeDefault> plain;
    CPinnedTheme<CXTPBarThemeVisualStyles> styled;
    ASSERT_FALSE(styled.GetToolbarStyle().IsOpen());
    ASSERT_FALSE(styled.GetRebarStyle().IsOpen());
    EXPECT_EQ(3, styled.GetThemeId());
    EXPECT_TRUE(styled.GetIconOptions()->bUseFadedIcons);
    EXPECT_FALSE(styled.GetIconOptions()->bIconsWithShadow);

    // Button faces in every state, toolbar and popup.
    for (int nPosition : {xtpBarTop, xtpBarPopup})
        for (int nSelected = 0; nSelected < 3; nSelected++)
            for (int nPressed = 0; nPressed < 3; nPressed++)
                for (int nFlags = 0; nFlags < 8; nFlags++) {
                    BOOL bEnabled = nFlags & 1, bChecked = (nFlags >> 1) & 1, bWhole = (nFlags >> 2) & 1;
                    CPixelCanvas a(30, 30, clrCanvas), b(30, 30, clrCanvas);
                    plain.DrawControlRect(&a, CRect(2, 2, 26, 26), nSelected, nPressed, bEnabled, bChecked, bWhole,
                                          TRUE, nPosition);
                    styled.DrawControlRect(&b, CRect(2, 2, 26, 26), nSelected, nPressed, bEnabled, bChecked, bWhole,
                                           TRUE, nPosition);
                    EXPECT_TRUE(SamePixels(a, b, 30, 30)) << nPosition << nSelected << nPressed << nFlags;
                }

    // Bars in each position, their grippers, dock areas and status bars.
    CRecordingSite site;
    ASSERT_TRUE(site.Create());
    CTestBar* pBar = new CTestBar;
    ASSERT_TRUE(pBar->Create(&site, CRect(0, 0, 120, 26)));
    for (int nPosition : {xtpBarTop, xtpBarBottom, xtpBarLeft, xtpBarFloating, xtpBarPopup}) {
        pBar->SetPosition(nPosition);
        CPixelCanvas a(120, 26, clrCanvas), b(120, 26, clrCanvas);
        plain.FillCommandBar(&a, pBar);
        styled.FillCommandBar(&b, pBar);
        EXPECT_EQ(plain.DrawCommandBarGripper(&a, pBar, TRUE), styled.DrawCommandBarGripper(&b, pBar, TRUE));
        EXPECT_TRUE(SamePixels(a, b, 120, 26)) << nPosition;
    }
    CPixelCanvas a(120, 26, clrCanvas), b(120, 26, clrCanvas);
    plain.FillDockBar(&a, pBar);
    styled.FillDockBar(&b, pBar);
    plain.FillStatusBar(&a, pBar);
    styled.FillStatusBar(&b, pBar);
    plain.DrawStatusBarPaneBorder(&a, CRect(10, 4, 60, 22), nullptr);
    styled.DrawStatusBarPaneBorder(&b, CRect(10, 4, 60, 22), nullptr);
    plain.DrawStatusBarGripper(&a, CRect(0, 0, 120, 26));
    styled.DrawStatusBarGripper(&b, CRect(0, 0, 120, 26));
    EXPECT_TRUE(SamePixels(a, b, 120, 26));
    pBar->InternalRelease();
    site.DestroyWindow();

    // An idle icon is faded; menu text takes colour 7 where the default theme takes colour 18.
    CTestIcon icon;
    CPixelCanvas iconA(20, 20, clrCanvas), iconB(20, 20, clrCanvas);
    plain.DrawImage(&iconA, CPoint(2, 2), CSize(16, 16), &icon, 0, 0, TRUE, FALSE, FALSE, TRUE);
    styled.DrawImage(&iconB, CPoint(2, 2), CSize(16, 16), &icon, 0, 0, TRUE, FALSE, FALSE, TRUE);
    EXPECT_EQ(CTestIcon::ImageColor(CXTPBarIcon::imageNormal), iconA.At(8, 8));
    EXPECT_EQ(CTestIcon::ImageColor(CXTPBarIcon::imageFaded), iconB.At(8, 8));

    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar();
    CXTPControl* pItem = pPopup->GetControls()->Add(xtpControlButton, 11);
    pItem->SetCaption(CString(L"&Apri"));
    pItem->SetRect(CRect(0, 0, 200, 22));
    CPixelCanvas menuA(200, 22, clrCanvas), menuB(200, 22, clrCanvas);
    plain.DrawControl(&menuA, pItem, TRUE);
    styled.DrawControl(&menuB, pItem, TRUE);
    EXPECT_EQ(0, Count(menuA, 200, 22, RGB(200, 0, 0)));
    EXPECT_GT(Count(menuB, 200, 22, RGB(200, 0, 0)), 5);
    pPopup->InternalRelease();
}

namespace
{
// A style library that opens every class and writes down what is drawn.
struct CRecordedPart
{
    std::wstring strClass;
    int nPart, nState;
    CRect rc;
};

struct CStandInStyle
{
    static std::vector<std::wstring> classes;
    static std::vector<CRecordedPart> drawn;

    static HTHEME WINAPI OpenThemeData(HWND, LPCWSTR pszClassList)
    {
        classes.push_back(pszClassList);
        return reinterpret_cast<HTHEME>(classes.size());
    }
    static HRESULT WINAPI CloseThemeData(HTHEME) { return S_OK; }
    static BOOL WINAPI IsAppThemed() { return TRUE; }
    static BOOL WINAPI IsThemeActive() { return TRUE; }
    // The colours the style gives, by class, part, state and property; any other query fails.
    struct COLOR_ENTRY
    {
        std::wstring strClass;
        int nPart, nState, nProperty;
        COLORREF clr;
    };
    static std::vector<COLOR_ENTRY> colors;

    static HRESULT WINAPI GetThemeColor(HTHEME hTheme, int iPartId, int iStateId, int iPropId, COLORREF* pColor)
    {
        for (const COLOR_ENTRY& entry : colors)
            if (entry.strClass == classes[reinterpret_cast<size_t>(hTheme) - 1] && entry.nPart == iPartId &&
                entry.nState == iStateId && entry.nProperty == iPropId) {
                *pColor = entry.clr;
                return S_OK;
            }
        return E_FAIL;
    }
    static HRESULT WINAPI DrawThemeBackground(HTHEME hTheme, HDC, int iPartId, int iStateId, const RECT* pRect,
                                              const RECT*)
    {
        drawn.push_back({classes[reinterpret_cast<size_t>(hTheme) - 1], iPartId, iStateId, CRect(*pRect)});
        return S_OK;
    }
};
std::vector<std::wstring> CStandInStyle::classes;
std::vector<CRecordedPart> CStandInStyle::drawn;
std::vector<CStandInStyle::COLOR_ENTRY> CStandInStyle::colors;

#define STANDIN_ENTRY(name) {#name, reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&CStandInStyle::name))}
const XTP_VISUALSTYLE_ENTRY g_standInStyle[] = {
    STANDIN_ENTRY(OpenThemeData), STANDIN_ENTRY(CloseThemeData), STANDIN_ENTRY(IsAppThemed),
    STANDIN_ENTRY(IsThemeActive), STANDIN_ENTRY(GetThemeColor), STANDIN_ENTRY(DrawThemeBackground),
    {nullptr, nullptr}};

class BarThemeVisualStylesOpen : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CStandInStyle::classes.clear();
        CStandInStyle::colors.clear();
        CXTPVisualStyleLibrary::GetInstance().SetEntryTable(g_standInStyle);
    }
    void TearDown() override { CXTPVisualStyleLibrary::GetInstance().Load(); }
};
}

TEST_F(BarThemeVisualStylesOpen, ButtonStatesGripperAndSplitButtonParts)
{
    CPinnedPalette palette;
    CPinnedTheme<CXTPBarThemeVisualStyles> styled;
    ASSERT_TRUE(styled.GetToolbarStyle().IsOpen());
    ASSERT_TRUE(styled.GetStatusStyle().IsOpen());

    struct CASE
    {
        int nSelected, nPressed;
        BOOL bEnabled, bChecked, bWhole;
        int nState;
    };
    const CASE cases[] = {
        {0, 0, TRUE, FALSE, FALSE, 1}, {1, 0, TRUE, FALSE, FALSE, 2}, {1, 1, TRUE, FALSE, FALSE, 3},
        {0, 2, TRUE, FALSE, FALSE, 3}, {0, 0, TRUE, TRUE, FALSE, 5},  {1, 0, TRUE, TRUE, FALSE, 6},
        {0, 0, FALSE, FALSE, FALSE, 4}, {1, 0, FALSE, TRUE, FALSE, 3}, {0, 0, TRUE, FALSE, TRUE, 3},
    };
    for (const CASE& c : cases) {
        CStandInStyle::drawn.clear();
        CPixelCanvas canvas(30, 30);
        styled.DrawControlRect(&canvas, CRect(2, 2, 26, 26), c.nSelected, c.nPressed, c.bEnabled, c.bChecked, c.bWhole,
                               TRUE, xtpBarTop);
        ASSERT_EQ(1u, CStandInStyle::drawn.size());
        EXPECT_EQ(L"TOOLBAR", CStandInStyle::drawn[0].strClass);
        EXPECT_EQ(1, CStandInStyle::drawn[0].nPart);
        EXPECT_EQ(c.nState, CStandInStyle::drawn[0].nState)
            << c.nSelected << c.nPressed << c.bEnabled << c.bChecked << c.bWhole;
    }

    // A text height of 20 gives a gripper of 8 by 24.
    styled.SetTextHeight(20);
    CStandInStyle::drawn.clear();
    CPixelCanvas canvas(30, 30);
    EXPECT_EQ(CSize(8, 24), styled.DrawGripperShape(&canvas, nullptr, TRUE));
    ASSERT_EQ(1u, CStandInStyle::drawn.size());
    EXPECT_EQ(L"REBAR", CStandInStyle::drawn[0].strClass);
    EXPECT_EQ(1, CStandInStyle::drawn[0].nPart);
    EXPECT_EQ(CRect(2, 3, 8, 24), CStandInStyle::drawn[0].rc);

    // The split button: face and the last 12 pixels as its drop-down part.
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar();
    CXTPControl* pSplit = pPopup->GetControls()->Add(xtpControlSplitButtonPopup, 7);
    CStandInStyle::drawn.clear();
    styled.DrawSplitButtonFace(&canvas, pSplit, CRect(0, 0, 40, 22));
    ASSERT_EQ(2u, CStandInStyle::drawn.size());
    EXPECT_EQ(3, CStandInStyle::drawn[0].nPart);
    EXPECT_EQ(CRect(0, 0, 28, 22), CStandInStyle::drawn[0].rc);
    EXPECT_EQ(4, CStandInStyle::drawn[1].nPart);
    EXPECT_EQ(CRect(28, 0, 40, 22), CStandInStyle::drawn[1].rc);
    pPopup->InternalRelease();

    // The status gripper in the last 18 pixels.
    CStandInStyle::drawn.clear();
    styled.DrawStatusBarGripper(&canvas, CRect(0, 0, 100, 20));
    ASSERT_EQ(1u, CStandInStyle::drawn.size());
    EXPECT_EQ(L"STATUS", CStandInStyle::drawn[0].strClass);
    EXPECT_EQ(3, CStandInStyle::drawn[0].nPart);
    EXPECT_EQ(CRect(82, 0, 100, 20), CStandInStyle::drawn[0].rc);
}

// The frame installs the theme before it becomes the main window: the style is there all the same.
TEST_F(BarThemeVisualStylesOpen, TheGradientThemeTakesTheStatusGripperFromTheStyleWithOrWithoutAMainWindow)
{
    CPinnedPalette palette;
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, L"principale", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    CWinThread* pOldThread = pState->m_pCurrentWinThread;
    for (BOOL bMainWnd : {FALSE, TRUE}) {
        SCOPED_TRACE(bMainWnd ? "a main window" : "no main window");
        CWinThread thread;
        thread.m_pMainWnd = bMainWnd ? &main : nullptr;
        pState->m_pCurrentWinThread = &thread;
        CStandInStyle::classes.clear();
        CStandInStyle::drawn.clear();
        {
            CXTPBarThemeGradient painter;
            CPixelCanvas canvas(100, 20, clrCanvas);
            painter.DrawStatusBarGripper(&canvas, CRect(0, 0, 100, 20));
            EXPECT_EQ(1, std::count(CStandInStyle::classes.begin(), CStandInStyle::classes.end(),
                                    std::wstring(L"STATUS")));
            ASSERT_EQ(1u, CStandInStyle::drawn.size());
            EXPECT_EQ(L"STATUS", CStandInStyle::drawn[0].strClass);
            EXPECT_EQ(3, CStandInStyle::drawn[0].nPart);
            EXPECT_EQ(CRect(82, 0, 100, 20), CStandInStyle::drawn[0].rc);
            EXPECT_EQ(100 * 20, Count(canvas, 100, 20, clrCanvas)) << "the style draws, the theme adds nothing";
        }
        pState->m_pCurrentWinThread = pOldThread;
    }
    main.DestroyWindow();
}

TEST_F(BarThemeVisualStylesOpen, ComboButtonByStateAndFieldFrame)
{
    CPinnedPalette palette;
    auto* pStyled = new CPinnedTheme<CXTPBarThemeVisualStyles>;
    ASSERT_TRUE(pStyled->GetComboStyle().IsOpen());
    CRecordingSite site;
    ASSERT_TRUE(site.Create());
    CTestBar* pBar = new CTestBar;
    ASSERT_TRUE(pBar->Create(&site, CRect(0, 0, 200, 30)));
    pBar->SetPosition(xtpBarTop);
    pBar->SetPaintManager(pStyled);
    auto* pCombo = static_cast<CXTPControlComboBox*>(pBar->GetControls()->Add(xtpControlComboBox, 9));
    pCombo->AddString(L"uno");
    CPixelCanvas measure(4, 4);
    CRect rc(CPoint(2, 2), pStyled->DrawControl(&measure, pCombo, FALSE));
    pCombo->SetRect(rc);
    int nThumb = pCombo->GetThumbWidth();

    struct Case
    {
        const char* pszName;
        BOOL bEnabled;
        int nSelected;
        BOOL bDropped;
        int nState;
    } cases[] = {
        {"normal", TRUE, 0, FALSE, 1}, {"hot", TRUE, 1, FALSE, 2}, {"dropped", TRUE, 1, TRUE, 3},
        {"disabled", FALSE, 0, FALSE, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        pCombo->SetEnabled(c.bEnabled);
        pCombo->SetSelected(c.nSelected);
        if (c.bDropped)
            pBar->SetPopuped(pCombo->GetIndex());
        ASSERT_EQ(c.bDropped, pCombo->IsDroppedDown());
        CStandInStyle::drawn.clear();
        CPixelCanvas canvas(200, 40, clrCanvas);
        pStyled->DrawControl(&canvas, pCombo, TRUE);
        ASSERT_EQ(1u, CStandInStyle::drawn.size());
        EXPECT_EQ(L"COMBOBOX", CStandInStyle::drawn[0].strClass);
        EXPECT_EQ(1, CStandInStyle::drawn[0].nPart);
        EXPECT_EQ(c.nState, CStandInStyle::drawn[0].nState);
        // The button's part widened by 2 on the left, less 1 on the other sides.
        EXPECT_EQ(CRect(rc.right - nThumb - 2, rc.top + 1, rc.right - 1, rc.bottom - 1), CStandInStyle::drawn[0].rc);
        // The style gives no border colour: the field's frame falls back to colour 16.
        EXPECT_EQ(pStyled->GetColor(COLOR_3DSHADOW), canvas.At(rc.left + 5, rc.top));
        pBar->SetPopuped(-1);
        pCombo->SetSelected(0);
    }
    pBar->InternalRelease();
}

TEST_F(BarThemeVisualStylesOpen, GrippersBarBackgroundsAndStatusPanesTakeTheirParts)
{
    CPinnedPalette palette;
    CPinnedTheme<CXTPBarThemeVisualStyles> styled;
    CRecordingSite site;
    ASSERT_TRUE(site.Create());
    CTestBar* pBar = new CTestBar;
    ASSERT_TRUE(pBar->Create(&site, CRect(5, 30, 205, 56)));
    CPixelCanvas canvas(200, 26);

    // The gripper by the bar's place: a strip along the bar's start, or none.
    const struct
    {
        int nPosition;
        int nPart;   // 0: nothing styled is drawn
        CRect rc;
        CSize size;
    } grippers[] = {
        {xtpBarTop, 1, {2, 2, 8, 24}, {8, 0}},   {xtpBarBottom, 1, {2, 2, 8, 24}, {8, 0}},
        {xtpBarLeft, 2, {2, 2, 198, 8}, {0, 8}}, {xtpBarRight, 2, {2, 2, 198, 8}, {0, 8}},
        {xtpBarPopup, 0, {}, {0, 0}},
    };
    for (const auto& test : grippers) {
        SCOPED_TRACE(test.nPosition);
        pBar->SetPosition(test.nPosition);
        CStandInStyle::drawn.clear();
        EXPECT_EQ(test.size, styled.DrawCommandBarGripper(&canvas, pBar, TRUE));
        ASSERT_EQ(test.nPart ? 1u : 0u, CStandInStyle::drawn.size());
        if (test.nPart) {
            EXPECT_EQ(L"REBAR", CStandInStyle::drawn[0].strClass);
            EXPECT_EQ(test.nPart, CStandInStyle::drawn[0].nPart);
            EXPECT_EQ(test.rc, CStandInStyle::drawn[0].rc);
        }
    }

    // A bar docked at the top shows the rebar background of its parent, seen through the bar; others a plain fill.
    CRect rcSite;
    site.GetClientRect(&rcSite);
    pBar->SetPosition(xtpBarTop);
    CStandInStyle::drawn.clear();
    styled.FillCommandBar(&canvas, pBar);
    ASSERT_EQ(1u, CStandInStyle::drawn.size());
    EXPECT_EQ(L"REBAR", CStandInStyle::drawn[0].strClass);
    EXPECT_EQ(0, CStandInStyle::drawn[0].nPart);
    EXPECT_EQ(CRect(-5, -30, rcSite.right - 5, rcSite.bottom - 30), CStandInStyle::drawn[0].rc);
    pBar->SetPosition(xtpBarBottom);
    CStandInStyle::drawn.clear();
    styled.FillCommandBar(&canvas, pBar);
    EXPECT_TRUE(CStandInStyle::drawn.empty());
    pBar->InternalRelease();

    // The status bar's background, its panes, and the last pane when it holds the size grip.
    CXTPStatusBar status;
    ASSERT_TRUE(status.CreateEx(&site, SBARS_SIZEGRIP));
    status.AddIndicator(0);
    status.AddIndicator(ID_INDICATOR_CAPS);
    ASSERT_EQ(2, status.GetPaneCount());
    CRect rcStatus;
    status.GetClientRect(&rcStatus);
    for (BOOL bGrip : {TRUE, FALSE}) {
        SCOPED_TRACE(bGrip);
        status.ModifyStyle(bGrip ? 0 : SBARS_SIZEGRIP, bGrip ? SBARS_SIZEGRIP : 0);
        CStandInStyle::drawn.clear();
        styled.FillStatusBar(&canvas, &status);
        styled.DrawStatusBarPaneBorder(&canvas, CRect(0, 0, 50, 20), status.GetPane(0));
        styled.DrawStatusBarPaneBorder(&canvas, CRect(50, 0, 100, 20), status.GetPane(1));
        ASSERT_EQ(3u, CStandInStyle::drawn.size());
        for (const CRecordedPart& part : CStandInStyle::drawn)
            EXPECT_EQ(L"STATUS", part.strClass);
        EXPECT_EQ(0, CStandInStyle::drawn[0].nPart);
        EXPECT_EQ(rcStatus, CStandInStyle::drawn[0].rc);
        EXPECT_EQ(1, CStandInStyle::drawn[1].nPart);
        EXPECT_EQ(bGrip ? 2 : 1, CStandInStyle::drawn[2].nPart);
    }
    status.DestroyWindow();
}

TEST_F(BarThemeVisualStylesOpen, TheStylesColoursBecomeTheThemesAndFailedQueriesLeaveThePalettes)
{
    CPinnedPalette palette;
    const COLORREF clrText = RGB(10, 20, 30), clrFace = RGB(40, 50, 60), clrEdge = RGB(70, 80, 90),
                   clrStatusText = RGB(100, 110, 120);
    CRecordingSite site;
    ASSERT_TRUE(site.Create());
    for (BOOL bColors : {TRUE, FALSE}) {
        SCOPED_TRACE(bColors);
        CStandInStyle::colors.clear();
        if (bColors)
            CStandInStyle::colors = {{L"TOOLBAR", 0, 0, 3803, clrText},
                                     {L"REBAR", 0, 0, 3821, clrFace},
                                     {L"REBAR", 3, 0, 3806, clrEdge},
                                     {L"STATUS", 1, 0, 3803, clrStatusText}};
        auto* pStyled = new CPinnedTheme<CXTPBarThemeVisualStyles>;
        EXPECT_EQ(bColors ? clrText : CPinnedPalette::Classic()[COLOR_BTNTEXT], pStyled->GetColor(COLOR_BTNTEXT));
        EXPECT_EQ(bColors ? clrFace : CPinnedPalette::Classic()[COLOR_3DFACE], pStyled->GetColor(COLOR_3DFACE));
        if (bColors) {
            EXPECT_EQ(clrStatusText, pStyled->GetDefaultTextColor());
        }

        // A bar docked at the bottom: the face inside a frame whose bottom-right edge is the rebar's.
        CTestBar* pBar = new CTestBar;
        ASSERT_TRUE(pBar->Create(&site, CRect(0, 0, 100, 26)));
        pBar->SetPosition(xtpBarBottom);
        CPixelCanvas canvas(100, 26, clrCanvas);
        pStyled->FillCommandBar(&canvas, pBar);
        EXPECT_EQ(pStyled->GetColor(COLOR_3DFACE), canvas.At(50, 13));
        EXPECT_EQ(bColors ? clrEdge : CPinnedPalette::Classic()[COLOR_BTNSHADOW], canvas.At(99, 25));
        EXPECT_EQ(pStyled->GetColor(COLOR_BTNHIGHLIGHT), canvas.At(0, 0));
        pBar->InternalRelease();
        pStyled->InternalRelease();
    }
}

TEST_F(BarThemeVisualStylesOpen, SplitButtonStatesFollowTheControl)
{
    CPinnedPalette palette;
    CPinnedTheme<CXTPBarThemeVisualStyles> styled;
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar();
    auto* pSplit = static_cast<CXTPControlPopup*>(pPopup->GetControls()->Add(xtpControlSplitButtonPopup, 7));
    const struct
    {
        const char* name;
        BOOL bEnabled, bChecked, bWhole;
        int nSelected, nPressed;
        int nFace, nDropDown;
    } cases[] = {
        {"normal", TRUE, FALSE, FALSE, 0, 0, 1, 1},       {"hot", TRUE, FALSE, FALSE, 1, 0, 2, 2},
        {"pressed", TRUE, FALSE, FALSE, 1, 1, 3, 3},      {"pressed, not hot", TRUE, FALSE, FALSE, 0, 1, 1, 1},
        {"checked", TRUE, TRUE, FALSE, 0, 0, 5, 5},       {"checked and hot", TRUE, TRUE, FALSE, 1, 0, 5, 5},
        {"disabled", FALSE, TRUE, FALSE, 1, 1, 4, 4},     {"whole face", TRUE, FALSE, TRUE, 0, 0, 2, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        pSplit->SetEnabled(c.bEnabled);
        pSplit->SetChecked(c.bChecked);
        pSplit->SetWholeFace(c.bWhole);
        pSplit->SetSelected(c.nSelected);
        pSplit->SetPressed(c.nPressed);
        CStandInStyle::drawn.clear();
        CPixelCanvas canvas(40, 22);
        styled.DrawSplitButtonFace(&canvas, pSplit, CRect(0, 0, 40, 22));
        ASSERT_EQ(2u, CStandInStyle::drawn.size());
        EXPECT_EQ(c.nFace, CStandInStyle::drawn[0].nState);
        EXPECT_EQ(c.nDropDown, CStandInStyle::drawn[1].nState);
    }
    pPopup->InternalRelease();
}
