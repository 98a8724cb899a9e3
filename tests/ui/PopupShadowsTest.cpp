// Popup shadows by the strips' window rectangles and by the layered pixels they are given; never by screenshot
// (layered windows are opaque without a compositor).
#include "BarTestSupport.h"
#include "FrameTestSupport.h"

#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/commandbars/XTPPopupShadows.h"
#include "ui/themes/BarThemeShadowed.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <vector>

namespace
{
// A popup-like bar window at a screen rectangle.
class CShadowOwner : public CXTPCommandBar
{
public:
    BOOL Create(const CRect& rc)
    {
        return CreateEx(WS_EX_TOOLWINDOW, nullptr, L"", WS_POPUP | WS_VISIBLE, rc, nullptr, 0);
    }
};

// A popup bar window at a screen rectangle.
class CShadowPopup : public CXTPPopupBar
{
public:
    BOOL Create(const CRect& rc)
    {
        return CreateEx(WS_EX_TOOLWINDOW, nullptr, L"", WS_POPUP | WS_VISIBLE, rc, nullptr, 0);
    }
};

struct CBarRelease
{
    void operator()(CXTPCommandBar* p) const
    {
        p->DestroyWindow();
        p->InternalRelease();
    }
};
typedef std::unique_ptr<CShadowOwner, CBarRelease> COwnerPtr;

int Alpha(DWORD pixel)
{
    return static_cast<int>(pixel >> 24);
}

class PopupShadowsTest : public ::testing::Test
{
protected:
    CPinnedPalette m_palette;
    CXTPPopupShadows* m_pShadows = CXTPPopupShadows::GetInstance();
    CXTPBarThemeShadowed m_shadowed;
    CXTPBarThemeDefault m_plain;
    CXTPPopupShadows::PFN_DROPSHADOWSETTING m_pfnOld = nullptr;

    void TearDown() override { CXTPPopupShadows::SetDropShadowSource(m_pfnOld); }

    COwnerPtr MakeOwner(const CRect& rc, CXTPBarPainter* pPainter)
    {
        COwnerPtr pOwner(new CShadowOwner);
        EXPECT_TRUE(pOwner->Create(rc));
        pPainter->InternalAddRef();
        pOwner->SetPaintManager(pPainter);
        return pOwner;
    }
    std::vector<CPopupShadowWnd*> StripsOf(CXTPCommandBar* pOwner) const
    {
        std::vector<CPopupShadowWnd*> strips;
        for (CPopupShadowWnd* pStrip : m_pShadows->GetStrips())
            if (pStrip->GetOwnerBar() == pOwner)
                strips.push_back(pStrip);
        return strips;
    }
    static CRect WindowRect(CWnd* pWnd) { return WindowRectOf(pWnd->m_hWnd); }
    static CRect WindowRectOf(HWND hWnd)
    {
        CRect rc;
        ::GetWindowRect(hWnd, &rc);
        return rc;
    }
};
}

TEST_F(PopupShadowsTest, StripsLieBelowAndRightAndASubmenuJoinsItsParentsShadow)
{
    ASSERT_TRUE(m_pShadows->IsLayered());
    COwnerPtr pMenu = MakeOwner(CRect(100, 100, 300, 400), &m_shadowed);
    m_pShadows->AddShadow(pMenu.get(), CRect());
    std::vector<CPopupShadowWnd*> strips = StripsOf(pMenu.get());
    ASSERT_EQ(2u, strips.size());
    EXPECT_TRUE(strips[0]->IsBottom());
    EXPECT_TRUE(strips[0]->IsThemeShadow());
    EXPECT_EQ(CRect(104, 400, 304, 404), WindowRect(strips[0]));
    EXPECT_EQ(CRect(300, 104, 304, 400), WindowRect(strips[1]));
    EXPECT_TRUE(strips[0]->GetExStyle() & WS_EX_LAYERED);
    EXPECT_TRUE(strips[1]->IsWindowVisible());

    COwnerPtr pSubmenu = MakeOwner(CRect(299, 150, 450, 300), &m_shadowed);
    m_pShadows->AddShadow(pSubmenu.get(), CRect());
    std::vector<CPopupShadowWnd*> sub = StripsOf(pSubmenu.get());
    ASSERT_EQ(2u, sub.size());
    EXPECT_EQ(CRect(294, 300, 454, 304), WindowRect(sub[0]));
    EXPECT_EQ(CRect(450, 154, 454, 300), WindowRect(sub[1]));

    // The popup hidden hides its strips; destroyed, they leave the list.
    pSubmenu->ShowWindow(SW_HIDE);
    EXPECT_FALSE(sub[0]->IsWindowVisible());
    EXPECT_FALSE(sub[1]->IsWindowVisible());
    pSubmenu->ShowWindow(SW_SHOWNA);
    EXPECT_TRUE(sub[0]->IsWindowVisible());
    pSubmenu.reset();
    EXPECT_TRUE(StripsOf(pSubmenu.get()).empty());
    EXPECT_EQ(2u, m_pShadows->GetStrips().size());

    m_pShadows->RemoveShadow(pMenu.get());
    EXPECT_TRUE(m_pShadows->GetStrips().empty());
}

TEST_F(PopupShadowsTest, TheWindowsOfAShadowThatWentServeTheNextPopupInItsPlace)
{
    COwnerPtr pMenu = MakeOwner(CRect(100, 100, 300, 400), &m_shadowed);
    m_pShadows->AddShadow(pMenu.get(), CRect());
    std::vector<HWND> windows;
    for (CPopupShadowWnd* pStrip : StripsOf(pMenu.get()))
        windows.push_back(pStrip->m_hWnd);
    ASSERT_EQ(2u, windows.size());
    pMenu.reset();
    EXPECT_TRUE(m_pShadows->GetStrips().empty());

    COwnerPtr pOther = MakeOwner(CRect(50, 60, 150, 260), &m_plain);
    m_pfnOld = CXTPPopupShadows::SetDropShadowSource([] { return TRUE; });
    m_pShadows->AddShadow(pOther.get(), CRect());
    std::vector<CPopupShadowWnd*> strips = StripsOf(pOther.get());
    ASSERT_EQ(2u, strips.size());
    for (CPopupShadowWnd* pStrip : strips) {
        SCOPED_TRACE(pStrip->IsBottom());
        EXPECT_NE(windows.end(), std::find(windows.begin(), windows.end(), pStrip->m_hWnd));
        EXPECT_EQ(CXTPPopupShadows::CalcStripRect(CRect(50, 60, 150, 260), pStrip->IsBottom(), 4),
                  WindowRect(pStrip));
        EXPECT_TRUE(pStrip->IsWindowVisible());
        EXPECT_FALSE(pStrip->IsThemeShadow());
    }
    m_pShadows->RemoveShadow(pOther.get());
}

TEST_F(PopupShadowsTest, WhileHeldTheWindowsOfAShadowThatWentWaitInPlaceForTheNextPopup)
{
    COwnerPtr pMenu = MakeOwner(CRect(100, 100, 300, 400), &m_shadowed);
    m_pShadows->AddShadow(pMenu.get(), CRect());
    std::vector<HWND> windows;
    std::vector<CRect> rects;
    for (CPopupShadowWnd* pStrip : StripsOf(pMenu.get())) {
        windows.push_back(pStrip->m_hWnd);
        rects.push_back(WindowRect(pStrip));
    }
    ASSERT_EQ(2u, windows.size());
    {
        CXTPPopupShadows::CHold hold;
        pMenu.reset();
        for (size_t i = 0; i < windows.size(); i++) {
            CRect rc;
            ::GetWindowRect(windows[i], &rc);
            EXPECT_EQ(rects[i], rc) << "held in place";
        }
        COwnerPtr pOther = MakeOwner(CRect(50, 60, 150, 260), &m_shadowed);
        m_pShadows->AddShadow(pOther.get(), CRect());
        std::vector<CPopupShadowWnd*> strips = StripsOf(pOther.get());
        ASSERT_EQ(2u, strips.size());
        for (CPopupShadowWnd* pStrip : strips) {
            EXPECT_NE(windows.end(), std::find(windows.begin(), windows.end(), pStrip->m_hWnd));
            EXPECT_EQ(CXTPPopupShadows::CalcStripRect(CRect(50, 60, 150, 260), pStrip->IsBottom(), 4),
                      WindowRect(pStrip));
            // Nothing cuts these strips: they keep no shape of their own.
            CRgn rgn;
            rgn.CreateRectRgn(0, 0, 0, 0);
            EXPECT_EQ(ERROR, ::GetWindowRgn(pStrip->m_hWnd, static_cast<HRGN>(rgn.GetSafeHandle())));
        }
        // Gone while held: they wait where they are until the hold ends.
        pOther.reset();
        for (size_t i = 0; i < windows.size(); i++)
            EXPECT_GT(WindowRectOf(windows[i]).left, 0);
    }
    for (HWND hWnd : windows)
        EXPECT_LT(WindowRectOf(hWnd).right, 0) << "out of sight once the hold ended";
}

TEST_F(PopupShadowsTest, ThemesWithoutShadowsFollowTheSystemSetting)
{
    COwnerPtr pMenu = MakeOwner(CRect(100, 100, 300, 400), &m_plain);
    m_pfnOld = CXTPPopupShadows::SetDropShadowSource([] { return FALSE; });
    m_pShadows->AddShadow(pMenu.get(), CRect());
    EXPECT_TRUE(m_pShadows->GetStrips().empty());

    CXTPPopupShadows::SetDropShadowSource([] { return TRUE; });
    m_pShadows->AddShadow(pMenu.get(), CRect());
    std::vector<CPopupShadowWnd*> strips = StripsOf(pMenu.get());
    ASSERT_EQ(2u, strips.size());
    EXPECT_FALSE(strips[0]->IsThemeShadow());
    m_pShadows->RemoveShadow(pMenu.get());
}

TEST_F(PopupShadowsTest, TheOpeningControlStaysUncovered)
{
    COwnerPtr pMenu = MakeOwner(CRect(100, 100, 300, 400), &m_shadowed);
    // A control under the bottom strip's left end.
    m_pShadows->AddShadow(pMenu.get(), CRect(100, 398, 150, 420));
    std::vector<CPopupShadowWnd*> strips = StripsOf(pMenu.get());
    ASSERT_EQ(2u, strips.size());
    CRgn rgn;
    rgn.CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, ::GetWindowRgn(strips[0]->m_hWnd, static_cast<HRGN>(rgn.GetSafeHandle())));
    EXPECT_FALSE(rgn.PtInRegion(10, 1));     // (114, 401) lies on the control
    EXPECT_TRUE(rgn.PtInRegion(100, 1));     // (204, 401) does not
    m_pShadows->RemoveShadow(pMenu.get());
}

namespace
{
// A theme that casts shadows but whose application turned them off.
class CShadowsForbidden : public CXTPBarThemeShadowed
{
public:
    CShadowsForbidden() { m_bShadowsAllowed = FALSE; }
};
}

TEST_F(PopupShadowsTest, AnOpenedControlCastsAShadowOfItsOwnThatTheNarrowerPopupBelowItJoins)
{
    CShadowsForbidden forbidden;
    COwnerPtr pForbidden = MakeOwner(CRect(100, 100, 300, 400), &forbidden);
    m_pShadows->AddShadow(pForbidden.get(), CRect());
    EXPECT_TRUE(m_pShadows->GetStrips().empty()) << "shadows turned off";

    // A bar at (100, 100) whose control (100, 100, 150, 120) opened a popup one pixel above its bottom edge.
    COwnerPtr pBar = MakeOwner(CRect(100, 100, 300, 130), &m_shadowed);
    auto* pControl = static_cast<CXTPControlPopup*>(pBar->GetControls()->Add(xtpControlPopup, 5));
    pControl->SetRect(CRect(0, 0, 50, 20));
    CShadowPopup* pPopup = new CShadowPopup;
    pControl->SetCommandBar(pPopup);
    pPopup->InternalRelease();
    ASSERT_TRUE(pPopup->Create(CRect(100, 119, 140, 300)));
    m_shadowed.InternalAddRef();
    pPopup->SetPaintManager(&m_shadowed);
    CXTPCommandBars* pCommandBars = new CXTPCommandBars;
    pBar->SetCommandBars(pCommandBars);
    pCommandBars->SetCustomizeMode(TRUE);
    m_pShadows->AddControlShadow(pControl);
    EXPECT_TRUE(m_pShadows->GetStrips().empty()) << "customise mode";
    pCommandBars->SetCustomizeMode(FALSE);

    m_pShadows->AddControlShadow(pControl);
    m_pShadows->AddShadow(pPopup, CRect(100, 100, 150, 120));
    std::vector<CPopupShadowWnd*> strips = StripsOf(pPopup);
    ASSERT_EQ(4u, strips.size()) << "the control's strips and the popup's, all the popup's";
    EXPECT_EQ(CRect(104, 120, 154, 124), WindowRect(strips[0]));
    EXPECT_EQ(CRect(150, 104, 154, 120), WindowRect(strips[1]));
    EXPECT_EQ(CRect(104, 300, 144, 304), WindowRect(strips[2]));
    EXPECT_EQ(CRect(140, 115, 144, 300), WindowRect(strips[3])) << "grown by twice the control's bottom strip";
    for (CPopupShadowWnd* pStrip : strips)
        EXPECT_EQ(HTTRANSPARENT, static_cast<int>(pStrip->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(110, 121))));

    pPopup->DestroyWindow();
    EXPECT_TRUE(m_pShadows->GetStrips().empty()) << "gone with the popup";
    pBar->SetCommandBars(nullptr);
    pCommandBars->InternalRelease();
}

TEST(PopupShadowPixels, DarkestNextToThePopupFadingAtTheEnds)
{
    struct CASE
    {
        BOOL bTheme;
        int nDarkest;
    };
    for (const CASE& c : {CASE{TRUE, 60}, CASE{FALSE, 120}}) {
        int m = c.nDarkest / 60;
        // The right strip: columns from the popup outwards, the top square fading in.
        std::vector<DWORD> right = CPopupShadowWnd::CalcLayeredPixels(4, 50, FALSE, c.bTheme, RGB(0, 0, 0));
        for (int x = 0; x < 4; x++)
            EXPECT_EQ(c.nDarkest - 15 * m * x, Alpha(right[20 * 4 + x])) << x;
        EXPECT_EQ(3 * m, Alpha(right[0]));
        EXPECT_EQ(48 * m, Alpha(right[3 * 4 + 3]));
        EXPECT_EQ(12 * m, Alpha(right[3 * 4 + 0]));

        // The bottom strip: rows from the popup outwards, both ends fading in toward the middle.
        std::vector<DWORD> bottom = CPopupShadowWnd::CalcLayeredPixels(100, 4, TRUE, c.bTheme, RGB(0, 0, 0));
        for (int y = 0; y < 4; y++)
            EXPECT_EQ(c.nDarkest - 15 * m * y, Alpha(bottom[y * 100 + 50])) << y;
        EXPECT_EQ(3 * m, Alpha(bottom[0]));
        EXPECT_EQ(3 * m, Alpha(bottom[99]));
        EXPECT_EQ(48 * m, Alpha(bottom[3 * 100 + 3]));
        EXPECT_EQ(48 * m, Alpha(bottom[3 * 100 + 96]));
        int nMax = 0;
        for (DWORD p : bottom)
            nMax = std::max(nMax, Alpha(p));
        EXPECT_EQ(c.nDarkest, nMax);
    }

    // The colour is scaled with the alpha: premultiplied.
    std::vector<DWORD> grey = CPopupShadowWnd::CalcLayeredPixels(4, 20, FALSE, TRUE, RGB(200, 100, 40));
    EXPECT_EQ(0x3CC86428u, grey[10 * 4 + 0]);
    EXPECT_EQ(0x0F32190Au, grey[10 * 4 + 3]);
}

TEST(PopupShadowJoin, AStripMeetingAnEarlierOneAcrossGrowsUnderIt)
{
    // The strips of a menu at (100, 100, 300, 400) and of a control at (50, 10, 80, 30), 4 pixels deep.
    const CRect rcMenuRight(300, 104, 304, 400), rcControlBottom(54, 30, 84, 34);
    const struct
    {
        const char* name;
        CRect rc;
        BOOL bBottom;
        CRect rcEarlier;
        CRect expected;
    } cases[] = {
        {"submenu one pixel inside the menu", {303, 300, 454, 304}, TRUE, rcMenuRight, {294, 300, 454, 304}},
        {"submenu on the menu's edge", {304, 300, 454, 304}, TRUE, rcMenuRight, {304, 300, 454, 304}},
        {"submenu reaching below the menu", {303, 400, 454, 404}, TRUE, rcMenuRight, {303, 400, 454, 404}},
        {"drop-down one pixel above the control's bottom", {70, 33, 74, 200}, FALSE, rcControlBottom, {70, 25, 74, 200}},
        {"drop-down below the control", {70, 34, 74, 200}, FALSE, rcControlBottom, {70, 34, 74, 200}},
        {"drop-down wider than the control", {90, 33, 94, 200}, FALSE, rcControlBottom, {90, 33, 94, 200}},
    };
    for (const auto& test : cases)
        EXPECT_EQ(test.expected, CXTPPopupShadows::JoinStrip(test.rc, test.bBottom, test.rcEarlier)) << test.name;
}

namespace
{
// A test frame in a theme with shadows, without animation, its first menu open.
CTestFrame* CreateFrameWithFirstMenuOpen()
{
    CTestFrame* pFrame = CreateTestFrame();
    if (!pFrame)
        return nullptr;
    pFrame->GetCommandBars()->SetPaintManager(new CXTPBarThemeShadowed);
    pFrame->GetCommandBars()->GetCommandBarsOptions()->nAnimationType = 5;
    pFrame->GetMenuBar()->SetTrackingMode(1, FALSE, TRUE);
    pFrame->GetMenuBar()->SetPopuped(0, TRUE);
    PumpFrame(pFrame->m_hWnd);
    return pFrame;
}
}

TEST(PopupShadowsOnAFrame, AMenuOpenedFromTheMenuBarShadowsItsTitleToo)
{
    CTestFrame* pFrame = CreateFrameWithFirstMenuOpen();
    ASSERT_NE(nullptr, pFrame);
    CXTPCommandBars* pCommandBars = pFrame->GetCommandBars();
    CXTPMenuBar* pMenuBar = pFrame->GetMenuBar();
    CXTPControl* pFile = pMenuBar->GetControls()->GetAt(0);
    CXTPCommandBar* pPopup = pFile->GetCommandBar();
    ASSERT_TRUE(pPopup->IsTrackingMode());

    std::vector<CPopupShadowWnd*> strips;
    for (CPopupShadowWnd* pStrip : CXTPPopupShadows::GetInstance()->GetStrips())
        if (pStrip->GetOwnerBar() == pPopup)
            strips.push_back(pStrip);
    CRect rcFile = pFile->GetRect(), rcPopup;
    pMenuBar->ClientToScreen(&rcFile);
    pPopup->GetWindowRect(&rcPopup);
    ASSERT_EQ(4u, strips.size());
    EXPECT_EQ(CXTPPopupShadows::CalcStripRect(rcFile, TRUE, 4), strips[0]->GetPlace());
    EXPECT_EQ(CXTPPopupShadows::CalcStripRect(rcFile, FALSE, 4), strips[1]->GetPlace());
    EXPECT_EQ(CXTPPopupShadows::CalcStripRect(rcPopup, TRUE, 4), strips[2]->GetPlace());
    for (size_t i = 1; i < strips.size(); i++) {
        CRect rcWindow;
        strips[i]->GetWindowRect(&rcWindow);
        EXPECT_EQ(strips[i]->GetPlace(), rcWindow);
        EXPECT_TRUE(strips[i]->IsWindowVisible());
    }
    // The popup, wider than its title, covers the title's bottom strip whole: that one is never shown.
    EXPECT_TRUE(strips[0]->IsShapeEmpty());
    EXPECT_FALSE(strips[0]->IsWindowVisible());

    pCommandBars->ClosePopups();
    PumpFrame(pFrame->m_hWnd);
    EXPECT_TRUE(CXTPPopupShadows::GetInstance()->GetStrips().empty());
    pFrame->DestroyWindow();
    PumpFrame(nullptr);
}

namespace
{
// The moves and z-order changes that this thread's windows go through.
std::vector<WINDOWPOS> g_moves;
LRESULT CALLBACK RecordMoves(int nCode, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* pMsg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pMsg->message == WM_WINDOWPOSCHANGING)
        g_moves.push_back(*reinterpret_cast<const WINDOWPOS*>(pMsg->lParam));
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}
}

TEST(PopupShadowsOnAFrame, AnotherMenuOpenedInPlaceOfTheOpenOneTakesItsShadowWindowsWhereTheyAre)
{
    CTestFrame* pFrame = CreateFrameWithFirstMenuOpen();
    ASSERT_NE(nullptr, pFrame);
    CXTPCommandBars* pCommandBars = pFrame->GetCommandBars();
    CXTPMenuBar* pMenuBar = pFrame->GetMenuBar();
    CXTPCommandBar* pFirst = pMenuBar->GetControls()->GetAt(0)->GetCommandBar();
    std::vector<HWND> windows;
    for (CPopupShadowWnd* pStrip : CXTPPopupShadows::GetInstance()->GetStrips())
        windows.push_back(pStrip->m_hWnd);
    ASSERT_EQ(4u, windows.size());

    g_moves.clear();
    HHOOK hHook = ::SetWindowsHookExW(WH_CALLWNDPROC, RecordMoves, nullptr, ::GetCurrentThreadId());
    pMenuBar->SetPopuped(1, TRUE);
    ::UnhookWindowsHookEx(hHook);
    for (const WINDOWPOS& pos : g_moves) {
        if (std::find(windows.begin(), windows.end(), pos.hwnd) == windows.end())
            continue;
        EXPECT_TRUE((pos.flags & SWP_NOMOVE) || pos.x + pos.cx >= 0) << "no strip went out of sight on the way";
        EXPECT_TRUE(pos.flags & SWP_NOZORDER) << "a strip in sight keeps its place among the topmost windows";
    }
    CXTPCommandBar* pSecond = pMenuBar->GetControls()->GetAt(1)->GetCommandBar();
    ASSERT_TRUE(pSecond->IsTrackingMode());
    EXPECT_FALSE(pFirst->GetSafeHwnd());
    const std::list<CPopupShadowWnd*>& strips = CXTPPopupShadows::GetInstance()->GetStrips();
    ASSERT_EQ(4u, strips.size());
    for (CPopupShadowWnd* pStrip : strips) {
        EXPECT_EQ(pSecond, pStrip->GetOwnerBar());
        EXPECT_NE(windows.end(), std::find(windows.begin(), windows.end(), pStrip->m_hWnd));
        EXPECT_TRUE(pStrip->IsWindowVisible() || pStrip->IsShapeEmpty());
    }
    // The title's bottom strip, under the popup again, kept the window that showed nothing and did not move it.
    HWND hCovered = strips.front()->m_hWnd;
    EXPECT_TRUE(strips.front()->IsShapeEmpty());
    EXPECT_EQ(windows.front(), hCovered);
    EXPECT_TRUE(std::none_of(g_moves.begin(), g_moves.end(), [hCovered](const WINDOWPOS& pos) { return pos.hwnd == hCovered; }));
    CRect rcPopup, rcBottom;
    pSecond->GetWindowRect(&rcPopup);
    (*std::next(strips.begin(), 2))->GetWindowRect(&rcBottom);
    EXPECT_EQ(CXTPPopupShadows::CalcStripRect(rcPopup, TRUE, 4), rcBottom);

    pCommandBars->ClosePopups();
    PumpFrame(pFrame->m_hWnd);
    pFrame->DestroyWindow();
    PumpFrame(nullptr);
}
