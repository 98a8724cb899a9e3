#include "PixelCanvas.h"

#include "ui/themes/DrawHelpers.h"
#include "ui/themes/UiGlobalData.h"

#include <gtest/gtest.h>

namespace
{
// A (hidden) top-level window whose client area the tests drive with posted mouse and key messages.
class WindowTest : public ::testing::Test
{
protected:
    CWnd m_wnd;
    CPoint m_ptOrigin;   // the client area's top-left corner on the screen

    void SetUp() override
    {
        ASSERT_TRUE(m_wnd.CreateEx(0, nullptr, L"test", WS_POPUP, CRect(100, 100, 400, 300), nullptr, 0));
        ::ClientToScreen(m_wnd, &m_ptOrigin);
    }
    void TearDown() override
    {
        if (::IsWindow(m_wnd))
            m_wnd.DestroyWindow();
    }
    void Post(UINT message, int x, int y) { m_wnd.PostMessage(message, 0, MAKELPARAM(x, y)); }
    void PostKey(UINT nVirtKey) { m_wnd.PostMessage(WM_KEYDOWN, nVirtKey, 0); }
};
}

TEST(DrawHelpers, StripAmpersandsAndRemoveAccelerators)
{
    struct Case { LPCTSTR text, stripped, removed; } cases[] = {
        {L"&File", L"File", L"File"},
        {L"Save && Exit", L"Save & Exit", L"Save && Exit"},
        {L"End&", L"End", L"End"},
        {L"&&&x", L"&x", L"&&x"},
        {L"", L"", L""},
        {L"none", L"none", L"none"},
    };
    for (const Case& c : cases) {
        CString strStripped(c.text), strRemoved(c.text);
        StripAmpersands(strStripped);
        RemoveAccelerators(strRemoved);
        EXPECT_EQ(CString(c.stripped), strStripped) << CString(c.text);
        EXPECT_EQ(CString(c.removed), strRemoved) << CString(c.text);
    }
}

TEST(OsVersion, VersionTests)
{
    enum { w32s = 0, w9x = 1, nt = 2 };
    // Answers of IsWin95, 98, ME, NT4, 2000, XP, 95OrLater, 98OrLater, MEOrLater, NT4OrLater, 2000OrLater,
    // XPOrLater, Win32s.
    struct Case { const char* name; DWORD dwPlatform, dwMajor, dwMinor; const char* answers; } cases[] = {
        {"Windows 3.1 (Win32s)", w32s, 3, 10, "0000000000001"},
        {"Windows 95", w9x, 4, 0, "1000001000000"},
        {"Windows 98", w9x, 4, 10, "0100001100000"},
        {"Windows ME", w9x, 4, 90, "0010001110000"},
        {"Windows NT 4", nt, 4, 0, "0001000001000"},
        {"Windows 2000", nt, 5, 0, "0000100001100"},
        {"Windows XP", nt, 5, 1, "0000010001110"},
        {"Windows 7", nt, 6, 1, "0000000001110"},
    };
    for (const Case& c : cases) {
        OSVERSIONINFO info = {};
        info.dwOSVersionInfoSize = sizeof(info);
        info.dwPlatformId = c.dwPlatform;
        info.dwMajorVersion = c.dwMajor;
        info.dwMinorVersion = c.dwMinor;
        COsVersion v(info);
        const BOOL answers[] = {v.IsWin95(), v.IsWin98(), v.IsWinME(), v.IsWinNT4(), v.IsWin2000(), v.IsWinXP(),
                                v.IsWin95OrLater(), v.IsWin98OrLater(), v.IsWinMEOrLater(), v.IsWinNT4OrLater(),
                                v.IsWin2000OrLater(), v.IsWinXPOrLater(), v.IsWin32s()};
        std::string actual;
        for (BOOL b : answers)
            actual += b ? '1' : '0';
        EXPECT_EQ(c.answers, actual) << c.name;
    }
    EXPECT_EQ(static_cast<DWORD>(sizeof(OSVERSIONINFO)), GetOsVersion().GetInfo().dwOSVersionInfoSize);
    EXPECT_TRUE(GetOsVersion().IsWinNT4OrLater());
}

TEST(DrawHelpers, WorkAreasFallBackToThePrimaryMonitor)
{
    CRect rcPrimary;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, static_cast<LPRECT>(rcPrimary), 0);
    CRect rc;
    GetWorkArea(&rc, CRect(10, 10, 50, 50));
    EXPECT_EQ(rcPrimary, rc);
    rc.SetRectEmpty();
    GetWorkArea(&rc, CRect(-5000, -5000, -4990, -4990));   // on no monitor
    EXPECT_EQ(rcPrimary, rc);
    GetCursorWorkArea(&rc);
    EXPECT_EQ(rcPrimary, rc);
    GetWindowMonitorRect(&rc, ::GetDesktopWindow());
    EXPECT_EQ(CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)), rc);
}

TEST(DrawHelpers, WorkAreasWithoutTheMultiMonitorFunctions)
{
    // kernel32 has none of them: a system without multi-monitor support.
    CMultiMonitorEntries none(L"kernel32.dll");
    EXPECT_EQ(nullptr, none.MonitorFromPoint(CPoint(10, 10), MONITOR_DEFAULTTOPRIMARY));
    const CMultiMonitorEntries* pSystem = SetMultiMonitorEntries(&none);
    CRect rcPrimary, rcWork, rcWindowWork, rcMonitor;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, static_cast<LPRECT>(rcPrimary), 0);
    GetWorkArea(&rcWork, CRect(10, 10, 50, 50));
    GetWindowWorkArea(&rcWindowWork, ::GetDesktopWindow());
    GetWindowMonitorRect(&rcMonitor, ::GetDesktopWindow());
    SetMultiMonitorEntries(pSystem);
    EXPECT_EQ(rcPrimary, rcWork);
    EXPECT_EQ(rcPrimary, rcWindowWork);
    EXPECT_EQ(CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)), rcMonitor);
    EXPECT_NE(nullptr, GetMultiMonitorEntries()->MonitorFromPoint(CPoint(10, 10), MONITOR_DEFAULTTOPRIMARY));
}

TEST(DrawHelpers, IsTopParentActiveFollowsTheOwnerOfAnOverlappedWindow)
{
    // A frame owning two overlapped windows; the first has a child. The second one active makes the frame's
    // chain active for the child of the first, as it does for a tip window owned by the frame.
    CWnd frame, owned, child, active, other;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, L"frame", WS_OVERLAPPED | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0));
    ASSERT_TRUE(owned.CreateEx(0, nullptr, L"owned", WS_OVERLAPPED | WS_VISIBLE, CRect(20, 20, 120, 80), &frame, 0));
    ASSERT_TRUE(child.CreateEx(0, nullptr, L"child", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &owned, 1));
    ASSERT_TRUE(active.CreateEx(0, nullptr, L"active", WS_OVERLAPPED | WS_VISIBLE, CRect(40, 40, 140, 90), &frame, 0));
    ASSERT_TRUE(other.CreateEx(0, nullptr, L"other", WS_OVERLAPPED | WS_VISIBLE, CRect(300, 0, 400, 50), nullptr, 0));
    ASSERT_EQ(nullptr, ::GetParent(owned)) << "an overlapped window has no parent, only an owner";

    ::SetForegroundWindow(active);
    ASSERT_EQ(active.GetSafeHwnd(), ::GetForegroundWindow());
    EXPECT_TRUE(IsTopParentActive(child));
    EXPECT_TRUE(IsTopParentActive(owned));
    EXPECT_TRUE(IsTopParentActive(frame));
    EXPECT_FALSE(IsTopParentActive(other));

    ::SetForegroundWindow(other);
    ASSERT_EQ(other.GetSafeHwnd(), ::GetForegroundWindow());
    EXPECT_FALSE(IsTopParentActive(child));
    EXPECT_TRUE(IsTopParentActive(other));
    EXPECT_FALSE(IsTopParentActive(nullptr));
    for (CWnd* pWnd : {&other, &active, &child, &owned, &frame})
        pWnd->DestroyWindow();
}

TEST(DrawHelpers, BitmapHelpers)
{
    CPixelCanvas canvas(16, 16, RGB(0, 255, 0));
    canvas.SetPixel(0, 0, RGB(255, 0, 0));
    HBITMAP hBitmap = static_cast<HBITMAP>(::GetCurrentObject(canvas, OBJ_BITMAP));
    {
        // The bitmap cannot be in two DCs at once.
        HGDIOBJ hOld = ::SelectObject(canvas, ::CreateCompatibleBitmap(canvas, 1, 1));
        EXPECT_EQ(RGB(255, 0, 0), GetTopLeftPixel(hBitmap));
        HICON hIcon = CreateIconFromBitmap(hBitmap);
        EXPECT_NE(nullptr, hIcon);
        ::DestroyIcon(hIcon);
        EXPECT_EQ(RGB(255, 0, 0), GetTopLeftPixel(hBitmap)) << "the bitmap given stays as it was";
        ::DeleteObject(::SelectObject(canvas, hOld));
    }
    EXPECT_EQ(static_cast<COLORREF>(-1), GetTopLeftPixel(reinterpret_cast<HBITMAP>(::GetStockObject(WHITE_BRUSH))));
    EXPECT_EQ(nullptr, CreateIconFromBitmap(nullptr));

    // Three entries: the first two are softened (halfway to the neighbour), the third is not.
    const SOFTEN_PIXEL pixels[] = {{1, 0, -1, 0}, {5, 5, 0, 1}, {6, 6, 1, 0}};
    canvas.SetPixel(5, 6, RGB(0, 55, 200));
    SoftenPixels(&canvas, pixels, 3);
    EXPECT_EQ(RGB(127, 127, 0), canvas.At(1, 0));
    EXPECT_EQ(RGB(0, 155, 100), canvas.At(5, 5));
    EXPECT_EQ(RGB(0, 255, 0), canvas.At(6, 6));
}

TEST_F(WindowTest, WindowRectanglesAreEmptyForDestroyedWindows)
{
    CRect rcWindow;
    ::GetWindowRect(m_wnd, rcWindow);
    EXPECT_EQ(rcWindow, CWndRect(&m_wnd));
    EXPECT_EQ(CRect(0, 0, 300, 200), CWndClientRect(&m_wnd));
    HWND hWnd = m_wnd.GetSafeHwnd();
    m_wnd.DestroyWindow();
    EXPECT_TRUE(CWndRect(hWnd).IsRectEmpty());
    EXPECT_TRUE(CWndClientRect(hWnd).IsRectEmpty());
    EXPECT_TRUE(CWndRect().IsRectEmpty());
}

TEST_F(WindowTest, PopupClosingClicksAreButtonsOutsideThePopup)
{
    CPoint ptInside = m_ptOrigin + CSize(10, 10), ptOutside = m_ptOrigin + CSize(-10, 10);
    struct Case { UINT message; POINT pt; BOOL bCloses; } cases[] = {
        {WM_LBUTTONDOWN, ptInside, FALSE},   {WM_LBUTTONDOWN, ptOutside, TRUE},
        {WM_LBUTTONUP, ptOutside, TRUE},     {WM_RBUTTONDOWN, ptOutside, TRUE},
        {WM_MBUTTONDOWN, ptOutside, TRUE},   {WM_NCLBUTTONDOWN, ptOutside, TRUE},
        {WM_NCLBUTTONUP, ptOutside, TRUE},   {WM_NCRBUTTONDOWN, ptOutside, TRUE},
        {WM_NCMBUTTONDOWN, ptOutside, TRUE}, {WM_RBUTTONUP, ptOutside, FALSE},
        {WM_MOUSEMOVE, ptOutside, FALSE},    {WM_NCRBUTTONDOWN, ptInside, FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.bCloses, IsPopupClosingClick(c.message, c.pt, m_wnd)) << std::hex << c.message;

    SetPopupMouseHook(&m_wnd);
    EXPECT_TRUE(IsPopupMouseHookSet());
    SetPopupMouseHook(nullptr);
    EXPECT_FALSE(IsPopupMouseHookSet());
}

TEST_F(WindowTest, SplitterTrackerFollowsTheMouseWithinItsLimits)
{
    CRect rcLimit(m_ptOrigin.x + 20, m_ptOrigin.y, m_ptOrigin.x + 80, m_ptOrigin.y + 200);
    struct Case
    {
        const char* what;
        int xMove;     // client x of the last mouse move
        BOOL bEscape;
        BOOL bAccepted;
        int nLeft;     // tracker's left, client x
    } cases[] = {
        {"beyond the maximum", 150, FALSE, TRUE, 80},
        {"below the minimum", 0, FALSE, TRUE, 20},
        {"within", 52, FALSE, TRUE, 50},
        {"cancelled", 40, TRUE, FALSE, 38},
    };
    for (const Case& c : cases) {
        CRect rcTracker(m_ptOrigin.x + 50, m_ptOrigin.y, m_ptOrigin.x + 54, m_ptOrigin.y + 100);
        Post(WM_MOUSEMOVE, 60, 10);
        Post(WM_MOUSEMOVE, c.xMove, 30);
        if (c.bEscape)
            PostKey(VK_ESCAPE);
        else
            Post(WM_LBUTTONUP, c.xMove, 30);
        CSplitterTracker tracker(&m_wnd);
        EXPECT_EQ(c.bAccepted, tracker.Track(rcLimit, &rcTracker, CPoint(m_ptOrigin.x + 52, m_ptOrigin.y + 5), TRUE))
            << c.what;
        EXPECT_EQ(m_ptOrigin.x + c.nLeft, rcTracker.left) << c.what;
        EXPECT_EQ(4, rcTracker.Width()) << c.what;
        EXPECT_EQ(m_ptOrigin.y, rcTracker.top) << c.what << ": the other axis stays";
        EXPECT_EQ(nullptr, ::GetCapture());
    }
}

namespace
{
class CTestButtonOwner : public CPaneCaptionButtonOwner
{
public:
    HWND m_hWnd = nullptr;
    BOOL m_bVisible = TRUE;
    int m_nLayouts = 0, m_nRedraws = 0;
    std::string m_pressedStates;   // the pressed state at each redraw

    BOOL IsCaptionButtonVisible(CPaneCaptionButton*) override { return m_bVisible; }
    void OnCaptionButtonRectChanged(CPaneCaptionButton*) override { ++m_nLayouts; }
    void RedrawCaptionButton(CPaneCaptionButton* pButton) override
    {
        ++m_nRedraws;
        m_pressedStates += pButton->IsPressed() ? 'P' : '-';
    }
    HWND GetCaptionButtonWindow() override { return m_hWnd; }
};
}

TEST_F(WindowTest, CaptionButtonClickIsTrackedUntilReleaseOrCancel)
{
    CTestButtonOwner owner;
    owner.m_hWnd = m_wnd;
    CPaneCaptionButton button(9901, &owner);
    button.SetRect(CRect(10, 10, 26, 26));
    button.SetRect(CRect(10, 10, 26, 26));
    EXPECT_EQ(1, owner.m_nLayouts) << "an unchanged rectangle is not laid out again";
    EXPECT_TRUE(button.IsVisible());

    struct Case
    {
        const char* what;
        std::function<void()> post;
        BOOL bClicked;
        const char* pressedStates;
        BOOL bHotAfter;
    } cases[] = {
        {"released on the button", [&] { Post(WM_MOUSEMOVE, 15, 15); Post(WM_LBUTTONUP, 15, 15); }, TRUE, "P-", TRUE},
        {"released after leaving it", [&] { Post(WM_MOUSEMOVE, 40, 15); Post(WM_LBUTTONUP, 40, 15); }, FALSE, "P--",
         FALSE},
        {"left and back", [&] { Post(WM_MOUSEMOVE, 40, 15); Post(WM_MOUSEMOVE, 12, 12); Post(WM_LBUTTONUP, 12, 12); },
         TRUE, "P-P-", TRUE},
        {"escape", [&] { Post(WM_MOUSEMOVE, 15, 15); PostKey(VK_ESCAPE); }, FALSE, "P-", TRUE},
        {"right button", [&] { Post(WM_RBUTTONDOWN, 15, 15); }, FALSE, "P-", FALSE},
    };
    for (const Case& c : cases) {
        button.CheckHover(CPoint(-1, -1));
        owner.m_pressedStates.clear();
        c.post();
        EXPECT_EQ(c.bClicked, button.TrackClick(&m_wnd, FALSE)) << c.what;
        EXPECT_FALSE(button.IsPressed()) << c.what;
        EXPECT_EQ(c.pressedStates, owner.m_pressedStates.substr(0, std::string(c.pressedStates).size())) << c.what;
        EXPECT_EQ(c.bHotAfter, button.IsHot()) << c.what;
        EXPECT_EQ(nullptr, ::GetCapture()) << c.what;
    }

    // Another window holding the capture: nothing is tracked.
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, nullptr, L"other", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    ::SetCapture(other);
    EXPECT_FALSE(button.TrackClick(&m_wnd, FALSE));
    EXPECT_EQ(other.GetSafeHwnd(), ::GetCapture());
    ::ReleaseCapture();
    other.DestroyWindow();
}

TEST(PaneCaptionButton, HoverChangesAreReported)
{
    CTestButtonOwner owner;
    CPaneCaptionButton button(9900, &owner);
    button.SetRect(CRect(0, 0, 10, 10));
    struct Step { POINT pt; BOOL bChanged, bHot; } steps[] = {
        {{20, 20}, FALSE, FALSE}, {{5, 5}, TRUE, TRUE}, {{6, 6}, FALSE, TRUE}, {{-1, -1}, TRUE, FALSE},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(s.bChanged, button.CheckHover(s.pt)) << s.pt.x;
        EXPECT_EQ(s.bHot, button.IsHot()) << s.pt.x;
    }
    EXPECT_EQ(2, owner.m_nRedraws);
}
