// A toolbar moved with real input: dragged away from every dock bar it floats, brought back within 20 pixels of a
// dock bar it docks there, Esc ends the drag where it is, and a bar that may dock only at the top stays there.
#include "FrameTestSupport.h"

#include "platform/mfc/afxminiframe.h"
#include "ui/commandbars/XTPDockBar.h"
#include "ui/commandbars/XTPStatusBar.h"
#include "ui/persist/PropExchangeRegistry.h"
#include "ui/commandbars/XTPToolBar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <utility>
#include <vector>

namespace
{
BOOL g_bDragCut = FALSE;

void CALLBACK EndCapture(HWND, UINT, UINT_PTR nID, DWORD)
{
    ::KillTimer(nullptr, nID);
    if (::GetCapture())
    {
        g_bDragCut = TRUE;
        ::ReleaseCapture();
    }
}

class ToolBarDockingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = CreateTestFrame();
        ASSERT_NE(nullptr, m_pFrame);
        m_pBar = m_pFrame->GetToolBar();
        ASSERT_NE(nullptr, m_pBar);
    }
    void TearDown() override
    {
        if (::GetCapture())
            ::ReleaseCapture();
        if (m_pFrame)
            m_pFrame->DestroyWindow();
        PumpFrame(nullptr);
    }

    // A point of the bar's background (no control), on the screen.
    CPoint Background()
    {
        CRect rc;
        m_pBar->GetClientRect(&rc);
        // Inside the 3-pixel edges by which a floating bar is resized.
        for (int y = rc.top + 4; y < rc.bottom - 4; ++y)
        {
            for (int x = rc.left + 4; x < rc.right - 4; ++x)
            {
                CPoint pt(x, y);
                if (!m_pBar->GetControls()->HitTest(pt))
                {
                    m_pBar->ClientToScreen(&pt);
                    return pt;
                }
            }
        }
        ADD_FAILURE() << "no background on the bar";
        return CPoint(-10000, -10000);
    }
    // Presses at a point, moves through the others and releases at the last (or presses Esc there instead), and
    // waits until the drag has ended. The moves are sent once the press has been taken, from inside the loop it
    // started (input queued before goes to the window under the cursor); a drag that never ends is cut when the
    // wait for input ends.
    void Drag(CPoint ptFrom, std::vector<CPoint> points, BOOL bEscape = FALSE)
    {
        CInputReleases releases;
        std::vector<INPUT> inputs = {MouseInput(ptFrom, 0), MouseInput(ptFrom, MOUSEEVENTF_LEFTDOWN)};
        ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        inputs.clear();
        for (CPoint pt : points)
            inputs.push_back(MouseInput(pt, 0));
        if (bEscape)
        {
            INPUT key = {};
            key.type = INPUT_KEYBOARD;
            key.ki.wVk = VK_ESCAPE;
            inputs.push_back(key);
            key.ki.dwFlags = KEYEVENTF_KEYUP;
            inputs.push_back(key);
        }
        else
            inputs.push_back(MouseInput(points.back(), MOUSEEVENTF_LEFTUP));
        BOOL bSent = FALSE;
        RunWhen([] { return ::GetKeyState(VK_LBUTTON) < 0; }, [inputs, &bSent] {
            ::SendInput(static_cast<UINT>(inputs.size()), const_cast<INPUT*>(inputs.data()), sizeof(INPUT));
            bSent = TRUE;
        });
        g_bDragCut = FALSE;
        UINT_PTR nSafety = ::SetTimer(nullptr, 0, INPUT_TIMEOUT, EndCapture);
        // Over once the loop has let the capture go and the release was taken here, or went, with the cursor, to
        // a window of no one's loop (a bar that may not float ends its loop before the release comes).
        EXPECT_TRUE(PumpUntil(m_pFrame->m_hWnd, [&] {
            CPoint pt;
            return bSent && !::GetCapture()
                   && (releases.GetCount() >= 1 || (::GetCursorPos(&pt) && pt == points.back()));
        })) << "the drag's end was never taken";
        PumpQueued(m_pFrame->m_hWnd);
        ::KillTimer(nullptr, nSafety);
        EXPECT_FALSE(g_bDragCut) << "the drag did not end by itself";
    }
    // A double click at a point; waits until bDone, told how many releases this thread has taken, answers TRUE
    // (a bar that moves away leaves the last release to the window then under the cursor).
    void DoubleClick(CPoint pt, const std::function<BOOL(int)>& bDone)
    {
        CInputReleases releases;
        INPUT inputs[] = {MouseInput(pt, 0), MouseInput(pt, MOUSEEVENTF_LEFTDOWN), MouseInput(pt, MOUSEEVENTF_LEFTUP),
                          MouseInput(pt, MOUSEEVENTF_LEFTDOWN), MouseInput(pt, MOUSEEVENTF_LEFTUP)};
        ::SendInput(static_cast<UINT>(std::size(inputs)), inputs, sizeof(INPUT));
        EXPECT_TRUE(PumpUntil(m_pFrame->m_hWnd, [&] { return bDone(releases.GetCount()); }));
        PumpQueued(m_pFrame->m_hWnd);
    }
    CRect FrameRect()
    {
        CRect rc;
        m_pFrame->GetWindowRect(&rc);
        return rc;
    }
    CXTPDockBar* DockBar(int nPosition) { return m_pFrame->GetCommandBars()->GetDockBar(nPosition); }

    CTestFrame* m_pFrame = nullptr;
    CXTPToolBar* m_pBar = nullptr;
};
}

TEST_F(ToolBarDockingTest, DraggedAwayItFloatsAndWithinTwentyPixelsOfADockBarItDocks)
{
    ASSERT_EQ(DockBar(xtpBarTop), m_pBar->GetDockBar());
    const CRect rcFrame = FrameRect();
    const CPoint ptDrop(rcFrame.left + 120, rcFrame.bottom + 120);
    Drag(Background(), {Background() + CPoint(10, 10), ptDrop});

    EXPECT_EQ(xtpBarFloating, m_pBar->GetPosition());
    EXPECT_EQ(nullptr, m_pBar->GetDockBar());
    EXPECT_TRUE(m_pBar->GetStyle() & WS_POPUP);
    EXPECT_EQ(m_pFrame->m_hWnd, ::GetWindow(m_pBar->m_hWnd, GW_OWNER));
    CRect rcFloating;
    m_pBar->GetWindowRect(&rcFloating);
    EXPECT_TRUE(rcFloating.PtInRect(ptDrop));
    EXPECT_EQ(-1, DockBar(xtpBarTop)->FindBar(m_pBar));

    // Back: 15 pixels below the top dock bar's lower edge.
    CRect rcTop;
    DockBar(xtpBarTop)->GetWindowRect(&rcTop);
    Drag(Background(), {Background() + CPoint(5, 5), CPoint(rcTop.left + 150, rcTop.bottom + 15)});
    EXPECT_EQ(xtpBarTop, m_pBar->GetPosition());
    EXPECT_EQ(DockBar(xtpBarTop), m_pBar->GetDockBar());
    EXPECT_TRUE(m_pBar->GetStyle() & WS_CHILD);
    EXPECT_EQ(DockBar(xtpBarTop)->m_hWnd, ::GetParent(m_pBar->m_hWnd));
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(ToolBarDockingTest, AFloatingBarsEdgeResizesItAndADoubleClickDocksItWhereItWas)
{
    const CRect rcFrame = FrameRect();
    Drag(Background(), {Background() + CPoint(10, 10), CPoint(rcFrame.left + 120, rcFrame.bottom + 120)});
    ASSERT_EQ(xtpBarFloating, m_pBar->GetPosition());
    CRect rcBefore;
    m_pBar->GetWindowRect(&rcBefore);

    // The right edge pulled in: the buttons wrap into more rows, the left edge stays.
    const CPoint ptEdge(rcBefore.right - 1, rcBefore.CenterPoint().y);
    Drag(ptEdge, {ptEdge - CPoint(10, 0), ptEdge - CPoint(40, 0)});
    CRect rcAfter;
    m_pBar->GetWindowRect(&rcAfter);
    EXPECT_EQ(rcBefore.left, rcAfter.left);
    EXPECT_LT(rcAfter.Width(), rcBefore.Width());
    EXPECT_GT(rcAfter.Height(), rcBefore.Height());
    EXPECT_EQ(rcAfter.Width(), m_pBar->GetMRUWidth());
    EXPECT_EQ(xtpBarFloating, m_pBar->GetPosition());

    // A double click on the background: back in the top dock bar.
    DoubleClick(Background(), [this](int) { return m_pBar->GetPosition() == xtpBarTop; });
    EXPECT_EQ(xtpBarTop, m_pBar->GetPosition());
    EXPECT_EQ(DockBar(xtpBarTop), m_pBar->GetDockBar());

    // Docked, a double click floats the bar only when the options allow it.
    for (BOOL bDblClickFloat : {FALSE, TRUE}) {
        SCOPED_TRACE(bDblClickFloat);
        m_pFrame->GetCommandBars()->GetCommandBarsOptions()->bDblClickFloat = bDblClickFloat;
        DoubleClick(Background(), [&](int nReleases) {
            return bDblClickFloat ? m_pBar->GetPosition() == xtpBarFloating : nReleases >= 2;
        });
        EXPECT_EQ(bDblClickFloat ? xtpBarFloating : xtpBarTop, m_pBar->GetPosition());
    }
}

namespace
{
// The bars whose site heard that they were shown or hidden, with the new state.
std::vector<std::pair<HWND, LPARAM>> g_barVisible;

LRESULT CALLBACK RecordBarVisible(int nCode, WPARAM wParam, LPARAM lParam)
{
    const auto* pMsg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pMsg->message == XTPM_BARVISIBLE)
        g_barVisible.emplace_back(reinterpret_cast<CXTPToolBar*>(pMsg->wParam)->GetSafeHwnd(), pMsg->lParam);
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}
} // namespace

TEST_F(ToolBarDockingTest, AHiddenBarLeavesTrackingAndItsRoomAtOnceAndOnlyAManagersSiteHearsOfIt)
{
    HHOOK hHook = ::SetWindowsHookExW(WH_CALLWNDPROC, RecordBarVisible, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(nullptr, hHook);
    g_barVisible.clear();
    CXTPDockBar* pDockBar = m_pBar->GetDockBar();
    ASSERT_NE(nullptr, pDockBar);
    CRect rcBefore;
    pDockBar->GetWindowRect(&rcBefore);
    m_pBar->SetTrackingMode(1, TRUE, TRUE);
    ASSERT_TRUE(m_pBar->IsTrackingMode());
    m_pBar->SetVisible(FALSE);
    EXPECT_FALSE(m_pBar->IsTrackingMode());
    CRect rcAfter;
    pDockBar->GetWindowRect(&rcAfter);
    EXPECT_LT(rcAfter.Height(), rcBefore.Height()) << "the frame has laid out without waiting";

    // A bar of no manager tells its parent nothing.
    auto* pLoose = new CXTPToolBar;
    ASSERT_TRUE(pLoose->CreateToolBar(WS_CHILD | WS_VISIBLE | CBRS_TOP, m_pFrame));
    pLoose->SetVisible(FALSE);
    pLoose->InternalRelease();
    ::UnhookWindowsHookEx(hHook);
    std::vector<std::pair<HWND, LPARAM>> expected = {{m_pBar->m_hWnd, FALSE}};
    EXPECT_EQ(expected, g_barVisible);
}

TEST_F(ToolBarDockingTest, ABarInADialogTakesItsPlaceInTheTabOrder)
{
    CWnd dialog, first, second;
    ASSERT_TRUE(dialog.CreateEx(WS_EX_CONTROLPARENT, AfxRegisterWndClass(0), L"Dialogo", WS_POPUP | WS_VISIBLE,
                                CRect(60, 60, 460, 260), nullptr, 0));
    ASSERT_TRUE(first.CreateEx(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(10, 10, 110, 30), &dialog, 1));
    ASSERT_TRUE(second.CreateEx(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(10, 40, 110, 60), &dialog, 2));
    // The bar goes last in the dialog's order: Tab wraps to the first field, Shift+Tab goes back to the second.
    auto* pBar = new CXTPToolBar;
    ASSERT_TRUE(pBar->CreateToolBar(WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBRS_TOP, &dialog));
    UINT ids[] = {ID_FT_NEW, ID_FT_OPEN};
    pBar->SetButtons(ids, 2);
    ASSERT_EQ(nullptr, pBar->GetDockContext());
    BYTE keysBefore[256];
    ASSERT_TRUE(::GetKeyboardState(keysBefore));
    struct Case
    {
        BOOL bShift;
        CWnd* pExpected;
    } cases[] = {{FALSE, &first}, {TRUE, &second}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bShift);
        pBar->SetFocus();
        EXPECT_TRUE(pBar->IsTrackingMode());
        EXPECT_EQ(0, pBar->GetSelectedIndex());
        BYTE keys[256];
        std::copy(std::begin(keysBefore), std::end(keysBefore), keys);
        keys[VK_SHIFT] = c.bShift ? 0x80 : 0;
        ::SetKeyboardState(keys);
        EXPECT_EQ(1, pBar->OnKeyDown(VK_TAB, 0));
        ::SetKeyboardState(keysBefore);
        EXPECT_EQ(c.pExpected->m_hWnd, ::GetFocus());
        EXPECT_FALSE(pBar->IsTrackingMode());
    }
    pBar->InternalRelease();
    dialog.DestroyWindow();
}

// A bar that its parent lays out without dock bars: "Flags" 0x40 stretches its row over the width (a right-aligned
// button goes to the far end); a pass that only measures (no deferred positions) moves no control.
TEST_F(ToolBarDockingTest, ABarOfAPlainParentStretchesByItsFlagsAndAMeasureMovesNothing)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"Padre", WS_POPUP | WS_VISIBLE, CRect(60, 60, 460, 260),
                                nullptr, 0));
    auto* pBar = new CXTPToolBar;
    ASSERT_TRUE(pBar->CreateToolBar(WS_CHILD | WS_VISIBLE | CBRS_TOP, &parent));
    UINT ids[] = {ID_FT_NEW, ID_FT_OPEN};
    pBar->SetButtons(ids, 2);
    CXTPControl* pRight = pBar->GetControls()->GetAt(1);
    pRight->SetFlags(pRight->GetFlags() | xtpFlagRightAlign);
    auto layout = [&](int cx, BOOL bPlace) {
        AFX_SIZEPARENTPARAMS params = {};
        params.rect = CRect(0, 0, cx, 200);
        params.hDWP = bPlace ? ::BeginDeferWindowPos(1) : nullptr;
        pBar->SendMessage(WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&params));
        if (params.hDWP)
            ::EndDeferWindowPos(params.hDWP);
    };
    for (DWORD dwFlags : {0x00u, 0x40u}) {
        SCOPED_TRACE(dwFlags);
        pBar->ModifyFlags(dwFlags, 0x40 & ~dwFlags);
        layout(400, TRUE);
        EXPECT_EQ(dwFlags != 0, pRight->GetRect().right > 300);
    }
    CRect rcPlaced = pRight->GetRect();
    layout(40, FALSE);
    EXPECT_EQ(rcPlaced, pRight->GetRect());
    pBar->InternalRelease();
    parent.DestroyWindow();
}

TEST_F(ToolBarDockingTest, AClickOnADockedBarLeavesTheFocusInAFloatingPanesFrame)
{
    auto* pMini = new CMiniFrameWnd;
    ASSERT_TRUE(pMini->Create(nullptr, L"Pannello", WS_POPUP | WS_CAPTION | WS_VISIBLE | MFS_SYNCACTIVE,
                              CRect(300, 300, 500, 400), m_pFrame));
    CWnd field;
    ASSERT_TRUE(field.CreateEx(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, CRect(5, 5, 150, 25), pMini, 1));
    const LPARAM lClick = MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN);
    struct Case
    {
        CWnd* pFocus;
        BOOL bNoActivate;
    } cases[] = {{&field, TRUE}, {m_pFrame, FALSE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bNoActivate);
        c.pFocus->SetFocus();
        ASSERT_EQ(c.pFocus->m_hWnd, ::GetFocus());
        LRESULT nAnswer = m_pBar->SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(m_pFrame->m_hWnd), lClick);
        EXPECT_EQ(c.bNoActivate, nAnswer == MA_NOACTIVATE) << nAnswer;
    }
    pMini->DestroyWindow();
}

TEST_F(ToolBarDockingTest, EscEndsTheDragWhereTheBarIs)
{
    const CRect rcFrame = FrameRect();
    const CPoint ptAway(rcFrame.left + 100, rcFrame.bottom + 100);
    Drag(Background(), {Background() + CPoint(10, 10), ptAway}, TRUE);
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(xtpBarFloating, m_pBar->GetPosition());
    CRect rc;
    m_pBar->GetWindowRect(&rc);
    EXPECT_TRUE(rc.PtInRect(ptAway));
    // Moves after the drag no longer move the bar.
    EXPECT_TRUE(SendMouseAndWait(m_pFrame->m_hWnd, ptAway + CPoint(60, 40), MOUSEEVENTF_LEFTUP));
    CRect rcAfter;
    m_pBar->GetWindowRect(&rcAfter);
    EXPECT_EQ(rc, rcAfter);
}

TEST_F(ToolBarDockingTest, ABarThatMayOnlyDockAtTheTopNeitherFloatsNorDocksElsewhere)
{
    m_pBar->EnableDocking(0x01);
    CRect rcBottom;
    DockBar(xtpBarBottom)->GetWindowRect(&rcBottom);
    const CRect rcFrame = FrameRect();
    for (CPoint ptDrop : {CPoint(rcBottom.left + 100, rcBottom.top - 5), CPoint(rcFrame.left + 100, rcFrame.bottom + 100)})
    {
        Drag(Background(), {ptDrop});
        EXPECT_EQ(xtpBarTop, m_pBar->GetPosition());
        EXPECT_EQ(DockBar(xtpBarTop), m_pBar->GetDockBar());
        EXPECT_EQ(-1, DockBar(xtpBarBottom)->FindBar(m_pBar));
    }
}

namespace
{
const LPCTSTR kStateCompany = L"QuarzelTestsBarRestart";

// A frame of the test class with a status bar of its own, made and destroyed by the test.
struct FrameWithStatus
{
    CTestFrame* pFrame = CreateTestFrame();
    CXTPStatusBar statusBar;

    FrameWithStatus()
    {
        static const UINT ids[] = {0};
        if (pFrame && statusBar.Create(pFrame))
        {
            statusBar.SetIndicators(ids, 1);
            pFrame->RecalcLayout();
        }
    }
    ~FrameWithStatus()
    {
        if (pFrame)
            pFrame->DestroyWindow();
        PumpFrame(nullptr);
    }
    CXTPCommandBars* Bars() const { return pFrame->GetCommandBars(); }
};
}

TEST(BarStateRestartTest, DockingFloatingPlacesAndTheHiddenStatusBarComeBackAfterARestart)
{
    CWinApp app(L"ProvaRiavvio");
    app.SetRegistryKey(kStateCompany);
    {
        FrameWithStatus first;
        ASSERT_NE(nullptr, first.pFrame);
        CXTPToolBar* pBar = first.pFrame->GetToolBar();
        ASSERT_TRUE(first.Bars()->FloatCommandBar(pBar));
        pBar->SetWindowPos(nullptr, 300, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        first.statusBar.ShowWindow(SW_HIDE);
        first.Bars()->SaveBarState(L"CommandBars");
    }
    EXPECT_EQ(2u, app.GetProfileInt(L"CommandBars-Summary", L"Bars", 0));
    EXPECT_EQ(1u, app.GetProfileInt(L"CommandBars-Bar1", L"Floating", 0));
    EXPECT_EQ(300u, app.GetProfileInt(L"CommandBars-Bar1", L"XPos", 0));
    EXPECT_EQ(0u, app.GetProfileInt(L"CommandBars", L"StatusBar", 1));
    {
        FrameWithStatus second;
        ASSERT_NE(nullptr, second.pFrame);
        second.Bars()->LoadBarState(L"CommandBars");
        PumpFrame(second.pFrame->m_hWnd);
        CXTPToolBar* pBar = second.pFrame->GetToolBar();
        EXPECT_EQ(xtpBarFloating, pBar->GetPosition());
        CRect rc;
        pBar->GetWindowRect(&rc);
        EXPECT_EQ(CPoint(300, 400), rc.TopLeft());
        EXPECT_GT(rc.Width(), 0);
        EXPECT_FALSE(second.statusBar.GetStyle() & WS_VISIBLE);

        // Docked at the left, in a row of its own beside the frame's edge; the status bar shows again.
        ASSERT_TRUE(second.Bars()->DockCommandBar(pBar, xtpBarLeft));
        second.statusBar.ShowWindow(SW_SHOW);
        second.Bars()->SaveBarState(L"CommandBars");
    }
    EXPECT_EQ(1u, app.GetProfileInt(L"CommandBars", L"StatusBar", 1));   // the value is gone
    {
        FrameWithStatus third;
        ASSERT_NE(nullptr, third.pFrame);
        third.Bars()->LoadBarState(L"CommandBars");
        PumpFrame(third.pFrame->m_hWnd);
        CXTPToolBar* pBar = third.pFrame->GetToolBar();
        EXPECT_EQ(xtpBarLeft, pBar->GetPosition());
        EXPECT_EQ(third.Bars()->GetDockBar(xtpBarLeft), pBar->GetDockBar());
        EXPECT_EQ(-1, third.Bars()->GetDockBar(xtpBarTop)->FindBar(pBar));
        EXPECT_TRUE(pBar->GetStyle() & WS_CHILD);
        EXPECT_TRUE(third.statusBar.GetStyle() & WS_VISIBLE);
    }
    AfxDelRegTreeHelper(HKEY_CURRENT_USER, CString(L"Software\\") + kStateCompany);
}

TEST_F(ToolBarDockingTest, FloatingBarsAreAwayWhileTheFrameIsInactive)
{
    CXTPCommandBars* pBars = m_pFrame->GetCommandBars();
    ASSERT_TRUE(pBars->FloatCommandBar(m_pBar));
    PumpFrame(m_pFrame->m_hWnd);
    ASSERT_TRUE(::IsWindowVisible(m_pBar->m_hWnd));

    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, L"STATIC", L"Altra", WS_OVERLAPPED | WS_VISIBLE, CRect(600, 40, 700, 100), nullptr, 0));
    auto activate = [this](HWND hWnd) {
        ::SetForegroundWindow(hWnd);
        ::SetActiveWindow(hWnd);
        PumpFrame(m_pFrame->m_hWnd);
    };
    activate(other.m_hWnd);
    EXPECT_FALSE(::IsWindowVisible(m_pBar->m_hWnd));
    activate(m_pFrame->m_hWnd);
    EXPECT_TRUE(::IsWindowVisible(m_pBar->m_hWnd));

    // Without the option the bar stays where it is.
    pBars->GetCommandBarsOptions()->bSyncFloatingToolbars = FALSE;
    activate(other.m_hWnd);
    EXPECT_TRUE(::IsWindowVisible(m_pBar->m_hWnd));
    other.DestroyWindow();
}

namespace
{
// The activation states that windows send themselves, in order (queries left out).
std::vector<std::pair<HWND, WPARAM>> g_floatStatus;

LRESULT CALLBACK RecordFloatStatus(int nCode, WPARAM wParam, LPARAM lParam)
{
    auto* pMsg = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pMsg->message == WM_FLOATSTATUS && !(pMsg->wParam & FS_SYNCACTIVE))
        g_floatStatus.emplace_back(pMsg->hwnd, pMsg->wParam);
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}
}

TEST_F(ToolBarDockingTest, ABarMadeFloatingStartsInTheStateOfItsFramesActivation)
{
    ASSERT_TRUE(m_pFrame->GetCommandBars()->FloatCommandBar(m_pBar));
    CWnd other, owned;
    ASSERT_TRUE(other.CreateEx(0, L"STATIC", L"Altra", WS_OVERLAPPED | WS_VISIBLE, CRect(600, 40, 700, 100), nullptr, 0));
    ASSERT_TRUE(owned.CreateEx(0, L"STATIC", L"Propria", WS_POPUP | WS_VISIBLE, CRect(600, 140, 700, 200), m_pFrame, 0));
    PumpFrame(m_pFrame->m_hWnd);
    struct Case
    {
        const char* pszName;
        HWND hWndForeground;
        WPARAM nExpected;
    } cases[] = {
        {"the frame in front", m_pFrame->m_hWnd, FS_ACTIVATE},
        {"another program's window in front", other.m_hWnd, FS_DEACTIVATE},
        {"the frame's floating bar in front", m_pBar->m_hWnd, FS_ACTIVATE},
        {"a window of the frame that does not follow it in front", owned.m_hWnd, FS_DEACTIVATE},
    };
    HHOOK hHook = ::SetWindowsHookExW(WH_CALLWNDPROC, RecordFloatStatus, nullptr, ::GetCurrentThreadId());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        ::SetForegroundWindow(c.hWndForeground);
        PumpFrame(m_pFrame->m_hWnd);
        ASSERT_EQ(c.hWndForeground, ::GetForegroundWindow());
        g_floatStatus.clear();
        auto* pBar = new CXTPToolBar;
        ASSERT_TRUE(pBar->SetFloatingMode(m_pFrame, TRUE));
        HWND hWndBar = pBar->m_hWnd;
        pBar->DestroyWindow();
        pBar->InternalRelease();
        auto it = std::find_if(g_floatStatus.begin(), g_floatStatus.end(),
                               [hWndBar](const std::pair<HWND, WPARAM>& entry) { return entry.first == hWndBar; });
        ASSERT_NE(g_floatStatus.end(), it);
        EXPECT_EQ(c.nExpected, it->second);
    }
    ::UnhookWindowsHookEx(hHook);
    owned.DestroyWindow();
    other.DestroyWindow();
}
