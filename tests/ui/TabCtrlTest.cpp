// The tab control in a shown window: clicks by real input (SendInput); the modal mouse loops by messages posted
// to the strip.
#include "EmptyDataObject.h"
#include "IconPixels.h"
#include "TabTestManager.h"
#include "support/RealInput.h"

#include "ui/docking/TabCtrl.h"
#include "ui/persist/ImageManager.h"
#include "ui/themes/InputSource.h"
#include "ui/themes/TabPainter.h"

#include "platform/mfc/afximagelist.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>

namespace
{
typedef CXTPTabManagerNavigateButton CNavButton;
const UINT kTabID = 1005;
const UINT WM_TAKECAPTURE = WM_APP + 1;

// The owner of the strip: counts the selection changes it is told about; takes the capture on request.
class CTabOwnerWnd : public CWnd
{
public:
    int m_nSelChanges = 0;
    int m_nLastSel = -2;
    BOOL m_bHideFocus = FALSE;   // the focus cues the owner reports through WM_QUERYUISTATE
    CXTPTabCtrl* m_pTab = nullptr;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        const NMHDR* pHeader = reinterpret_cast<const NMHDR*>(lParam);
        if (pHeader->code == static_cast<UINT>(TCN_SELCHANGE) && wParam == kTabID) {
            m_nSelChanges++;
            m_nLastSel = m_pTab->GetCurSel();
            return TRUE;
        }
        return CWnd::OnNotify(wParam, lParam, pResult);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TAKECAPTURE) {
            ::SetCapture(m_hWnd);
            return 0;
        }
        if (message == WM_QUERYUISTATE)
            return m_bHideFocus ? UISF_HIDEFOCUS : 0;
        if (message == WM_CHANGEUISTATE && wParam == MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS)) {
            m_bHideFocus = FALSE;
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// Dispatches until the queue has been quiet for a while; never longer than five seconds, so that a window that
// keeps asking for messages fails the test instead of hanging it.
void Pump(DWORD dwQuietMs = 60)
{
    DWORD dwStart = ::GetTickCount(), dwLast = dwStart;
    while (::GetTickCount() - dwLast < dwQuietMs && ::GetTickCount() - dwStart < 5000) {
        MSG msg;
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
            dwLast = ::GetTickCount();
        } else {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    PumpQueued(nullptr);
}

// Runs an action once from inside the modal loop of a window: as soon as the window holds the capture (its loop
// runs), the action runs from a timer dispatched there.
void RunInLoopOf(HWND hWnd, std::function<void()> action)
{
    RunWhen([hWnd] { return ::GetCapture() == hWnd; }, action);
}

class TabCtrlTest : public ::testing::Test
{
protected:
    CPinnedTabColors m_colors;
    CTabOwnerWnd m_owner;
    CXTPTabCtrl m_tab;
    HWND m_pages[3] = {};

    void SetUp() override
    {
        LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW),
                                                reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        // Topmost, and away from where other test programs on the same display put their windows.
        ASSERT_TRUE(m_owner.CreateEx(WS_EX_TOPMOST, lpszClass, L"Schede", WS_POPUP | WS_VISIBLE, 530, 330, 400, 200,
                                     nullptr, nullptr));
        m_owner.m_pTab = &m_tab;
        ASSERT_TRUE(m_tab.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(0, 0, 400, 200), &m_owner, kTabID));
        m_tab.SetStyle(5);
        m_tab.SetColors(4);
        LPCTSTR captions[] = {L"Entrate", L"Spese", L"Riepilogo"};
        for (int i = 0; i < 3; i++) {
            m_pages[i] = ::CreateWindowExW(0, L"STATIC", captions[i], WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                           m_owner.m_hWnd, nullptr, nullptr, nullptr);
            m_tab.InsertItem(i, captions[i], m_pages[i]);
        }
        TakeFocus();
        m_owner.m_nSelChanges = 0;
    }
    void TearDown() override
    {
        m_tab.DestroyWindow();
        m_owner.DestroyWindow();
    }

    // Other test programs share the display and may hold the foreground for a moment.
    BOOL TakeFocus()
    {
        for (int i = 0; i < 20 && ::GetFocus() != m_tab.m_hWnd; i++) {
            ::SetForegroundWindow(m_owner.m_hWnd);
            m_tab.SetFocus();
            Pump(20);
        }
        return ::GetFocus() == m_tab.m_hWnd;
    }
    void Key(UINT nKey)
    {
        m_tab.PostMessage(WM_KEYDOWN, nKey);
        Pump(20);
    }
    // Inside the modal mouse loops the strip reads its own queue: messages posted there cannot be taken by
    // another program's input on the shared display.
    void PostMouse(UINT message, CPoint pt)
    {
        m_tab.PostMessage(message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(pt.x, pt.y));
    }
    CPoint ScreenPoint(CPoint pt)
    {
        m_tab.ClientToScreen(&pt);
        return pt;
    }
    CPoint TabCentre(int nIndex) { return m_tab.GetItem(nIndex)->GetRect().CenterPoint(); }
    void Click(CPoint pt)
    {
        CInputReleases releases;
        SendClick(ScreenPoint(pt));
        EXPECT_TRUE(PumpUntilReleased(nullptr, releases, 1)) << "the click was never taken";
    }
    std::vector<CString> Captions()
    {
        std::vector<CString> captions;
        for (int i = 0; i < m_tab.GetItemCount(); i++)
            captions.push_back(m_tab.GetItem(i)->GetCaption());
        return captions;
    }
};

CXTPTabCtrl* g_pHeldTab = nullptr;
DWORD g_dwTick = 0;
DWORD AdvancingTick()
{
    // Every look at the clock is a repeat period later; once the arrow gives out, the button is released.
    g_dwTick += 25;
    CNavButton* pForward = g_pHeldTab->FindNavigateButton(CNavButton::idForward);
    // The release comes at the latest after a few thousand ticks, should the arrow never give out.
    if (!pForward->IsEnabled() || g_dwTick > 50000)
        g_pHeldTab->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pForward->GetRect().left + 1, pForward->GetRect().top + 1));
    return g_dwTick;
}
}

TEST_F(TabCtrlTest, TheFirstTabIsSelectedAndOnlyItsPageShows)
{
    EXPECT_EQ(0, m_tab.GetCurSel());
    EXPECT_TRUE(::IsWindowVisible(m_pages[0]));
    EXPECT_FALSE(::IsWindowVisible(m_pages[1]));
    EXPECT_FALSE(::IsWindowVisible(m_pages[2]));
    // The page fills the client area the painter leaves.
    CRect rcPage, rcExpected(0, 0, 400, 200);
    ::GetWindowRect(m_pages[0], &rcPage);
    m_owner.ScreenToClient(&rcPage);
    m_tab.AdjustRect(FALSE, &rcExpected);
    EXPECT_EQ(rcExpected, rcPage);
    CRect rcBack = rcExpected;
    m_tab.AdjustRect(TRUE, &rcBack);
    EXPECT_EQ(CRect(0, 0, 400, 200), rcBack);
}

TEST_F(TabCtrlTest, AClickSelectsTheTabAndTellsTheOwnerEvenForTheSelectedTab)
{
    Click(TabCentre(2));
    EXPECT_EQ(2, m_tab.GetCurSel());
    EXPECT_EQ(1, m_owner.m_nSelChanges);
    EXPECT_EQ(2, m_owner.m_nLastSel);
    EXPECT_TRUE(::IsWindowVisible(m_pages[2]));
    EXPECT_FALSE(::IsWindowVisible(m_pages[0]));
    Click(TabCentre(2));
    EXPECT_EQ(2, m_owner.m_nSelChanges);
    // Beside the tabs nothing changes.
    Click(CPoint(390, 10));
    Click(CPoint(200, 150));
    EXPECT_EQ(2, m_tab.GetCurSel());
    EXPECT_EQ(2, m_owner.m_nSelChanges);
}

TEST_F(TabCtrlTest, ArrowKeysMoveAlongTheStripAndShowTheFocusCue)
{
    m_owner.m_bHideFocus = TRUE;
    ASSERT_FALSE(m_tab.IsFocusCueVisible());
    Key(VK_RIGHT);
    EXPECT_EQ(1, m_tab.GetCurSel());
    EXPECT_FALSE(m_owner.m_bHideFocus);
    ASSERT_TRUE(TakeFocus());
    EXPECT_TRUE(m_tab.IsFocusCueVisible());
    EXPECT_EQ(DLGC_WANTARROWS, m_tab.SendMessage(WM_GETDLGCODE));
    Key(VK_DOWN);
    EXPECT_EQ(1, m_tab.GetCurSel());
    Key(VK_END);
    Key(VK_LEFT);
    EXPECT_EQ(1, m_tab.GetCurSel());
    m_tab.SetPosition(CXTPTabPainter::positionLeft);
    Key(VK_RIGHT);
    Key(VK_DOWN);
    EXPECT_EQ(2, m_tab.GetCurSel());
}

TEST_F(TabCtrlTest, TheFocusedStripDrawsTheFocusRectInsideTheSelectedTab)
{
    ASSERT_TRUE(TakeFocus());
    ASSERT_TRUE(m_tab.IsFocusCueVisible());
    CRect rcClient;
    m_tab.CWnd::GetClientRect(&rcClient);
    auto paint = [&](CPixelCanvas& canvas) { m_tab.GetPaintManager()->DrawTabControl(&m_tab, &canvas, rcClient); };
    CPixelCanvas focused(rcClient.Width(), rcClient.Height()), plain(rcClient.Width(), rcClient.Height());
    paint(focused);
    m_tab.GetPaintManager()->m_bShowFocusRect = FALSE;
    paint(plain);
    // The dotted rect 3 px inside the tab: its top row differs, rows further in do not.
    CRect rc = m_tab.GetSelectedItem()->GetRect();
    rc.DeflateRect(3, 3);
    int nChanged = 0;
    for (int x = rc.left; x < rc.right; x++) {
        nChanged += focused.At(x, rc.top) != plain.At(x, rc.top);
        EXPECT_EQ(plain.At(x, rc.top - 1), focused.At(x, rc.top - 1)) << x;
    }
    EXPECT_GE(nChanged, rc.Width() / 3);
    int y = rc.CenterPoint().y;   // the left side, dotted
    EXPECT_TRUE(plain.At(rc.left, y) != focused.At(rc.left, y) ||
                plain.At(rc.left, y + 1) != focused.At(rc.left, y + 1));
}

TEST_F(TabCtrlTest, HotTrackingFollowsTheMouseUntilItLeaves)
{
    ASSERT_TRUE(TakeFocus());
    auto move = [this](CPoint pt) { m_tab.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y)); };
    // Off until the owner asks for it.
    move(TabCentre(1));
    EXPECT_EQ(nullptr, m_tab.GetHotItem());
    m_tab.GetPaintManager()->m_bHotTracking = TRUE;
    move(TabCentre(1));
    EXPECT_EQ(m_tab.GetItem(1), m_tab.GetHotItem());
    move(CPoint(200, 150));
    EXPECT_EQ(nullptr, m_tab.GetHotItem());
    move(TabCentre(2));
    EXPECT_EQ(m_tab.GetItem(2), m_tab.GetHotItem());
    m_tab.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(nullptr, m_tab.GetHotItem());
    // A disabled tab is never hot; nor is any tab with hot tracking off.
    m_tab.GetItem(0)->SetEnabled(FALSE);
    move(TabCentre(0));
    EXPECT_EQ(nullptr, m_tab.GetHotItem());
    m_tab.GetPaintManager()->m_bHotTracking = FALSE;
    move(TabCentre(1));
    EXPECT_EQ(nullptr, m_tab.GetHotItem());

    // An enabled arrow lights up under the mouse, a disabled one does not.
    for (int i = 0; i < 9; i++)
        m_tab.InsertItem(-1, L"Allegato al bilancio");
    CNavButton* pBack = m_tab.FindNavigateButton(CNavButton::idBack);
    CNavButton* pForward = m_tab.FindNavigateButton(CNavButton::idForward);
    ASSERT_TRUE(pForward->IsEnabled());
    ASSERT_FALSE(pBack->IsEnabled());
    move(pForward->GetRect().CenterPoint());
    EXPECT_TRUE(pForward->IsHot());
    move(pBack->GetRect().CenterPoint());
    EXPECT_FALSE(pForward->IsHot());
    EXPECT_FALSE(pBack->IsHot());
}

TEST_F(TabCtrlTest, ADragSwapsTabsAndEndsOnEscapeKeepingTheSwaps)
{
    m_tab.SetAllowReorder(TRUE);
    PostMouse(WM_LBUTTONDOWN, TabCentre(0));
    PostMouse(WM_MOUSEMOVE, TabCentre(1));
    bool bEscaped = false;
    RunInLoopOf(m_tab.m_hWnd, [&] {
        m_tab.PostMessage(WM_KEYDOWN, VK_ESCAPE);
        bEscaped = true;
    });
    EXPECT_TRUE(PumpUntil(nullptr, [&] { return bEscaped && ::GetCapture() != m_tab.m_hWnd; }));
    PumpQueued(nullptr);
    EXPECT_EQ((std::vector<CString>{L"Spese", L"Entrate", L"Riepilogo"}), Captions());
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(L"Entrate", m_tab.GetSelectedItem()->GetCaption());
    EXPECT_TRUE(::IsWindowVisible(m_pages[0]));
}

TEST_F(TabCtrlTest, ADragEndsWhenAnotherWindowTakesTheCapture)
{
    m_tab.SetAllowReorder(TRUE);
    PostMouse(WM_LBUTTONDOWN, TabCentre(2));
    PostMouse(WM_MOUSEMOVE, TabCentre(1));
    RunInLoopOf(m_tab.m_hWnd, [this] {
        m_owner.PostMessage(WM_TAKECAPTURE);
        m_owner.PostMessage(WM_NULL);
    });
    EXPECT_TRUE(PumpUntil(nullptr, [&] { return ::GetCapture() == m_owner.m_hWnd; }));
    PumpQueued(nullptr);
    EXPECT_EQ((std::vector<CString>{L"Entrate", L"Riepilogo", L"Spese"}), Captions());
    EXPECT_EQ(m_owner.m_hWnd, ::GetCapture());
    ::ReleaseCapture();
}

TEST_F(TabCtrlTest, AHeldForwardArrowScrollsUntilItDisables)
{
    for (int i = 0; i < 9; i++)
        m_tab.InsertItem(-1, L"Allegato al bilancio");
    CNavButton* pForward = m_tab.FindNavigateButton(CNavButton::idForward);
    ASSERT_TRUE(pForward->IsEnabled());
    g_pHeldTab = &m_tab;
    CXTPInputSource::PFN_TICKCOUNT pfnPrevious = CXTPInputSource::SetTickCountSource(AdvancingTick);
    PostMouse(WM_LBUTTONDOWN, pForward->GetRect().CenterPoint());
    Pump();
    CXTPInputSource::SetTickCountSource(pfnPrevious);
    EXPECT_FALSE(pForward->IsEnabled());
    EXPECT_TRUE(m_tab.FindNavigateButton(CNavButton::idBack)->IsEnabled());
    EXPECT_LT(m_tab.GetHeaderOffset(), 0);
    EXPECT_EQ(m_tab.GetHeaderRect().right, m_tab.GetItem(11)->GetRect().right);
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_FALSE(pForward->IsPressed());
}

TEST_F(TabCtrlTest, TheCloseButtonSelectsTheSuccessorAndShowsItsPage)
{
    m_tab.FindNavigateButton(CNavButton::idClose)->SetMode(CNavButton::modeAuto);
    m_tab.SetCurSel(1);
    m_tab.Reposition();
    CRect rcClose = m_tab.FindNavigateButton(CNavButton::idClose)->GetRect();
    ASSERT_FALSE(rcClose.IsRectEmpty());
    Click(rcClose.CenterPoint());
    EXPECT_EQ((std::vector<CString>{L"Entrate", L"Riepilogo"}), Captions());
    EXPECT_EQ(L"Riepilogo", m_tab.GetSelectedItem()->GetCaption());
    EXPECT_TRUE(::IsWindowVisible(m_pages[2]));
    EXPECT_FALSE(::IsWindowVisible(m_pages[1]));
}

TEST_F(TabCtrlTest, APainterSharedByTwoStripsOutlivesOneOfThem)
{
    CXTPTabCtrl second;
    ASSERT_TRUE(second.Create(WS_CHILD | WS_VISIBLE, CRect(0, 100, 400, 200), &m_owner, kTabID + 1));
    CXTPTabPainter* pShared = new CXTPTabPainter;
    m_tab.SetPaintManager(pShared);
    pShared->InternalAddRef();
    second.SetPaintManager(pShared);
    m_tab.SetPaintManager(new CXTPTabPainter);
    second.InsertItem(0, L"Note");
    second.SetStyle(3);
    second.RedrawWindow();
    EXPECT_EQ(3, pShared->GetStyle());
    EXPECT_EQ(pShared, second.GetPaintManager());
    // One reference left: the second strip's.
    EXPECT_EQ(2u, pShared->InternalAddRef());
    pShared->InternalRelease();
}

TEST_F(TabCtrlTest, TabIconsComeFromTheImageListByImageIdInTheTabsState)
{
    const COLORREF clrRed = RGB(200, 0, 0), clrBlue = RGB(0, 0, 200), clrGreen = RGB(0, 150, 0);
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0));
    for (COLORREF clr : {clrRed, clrBlue}) {
        HICON hIcon = MakeIcon(16, 16, [clr](int, int) { return clr; });
        images.Add(hIcon);
        ::DestroyIcon(hIcon);
    }
    m_tab.SetImageList(&images);
    // The selected tab shows the checked image where the id has one.
    HICON hChecked = MakeIcon(16, 16, [clrGreen](int, int) { return clrGreen; });
    m_tab.GetImageManager()->SetIcon(CXTPImageManagerIconHandle(hChecked), 0, CSize(16, 16), xtpImageChecked);
    ::DestroyIcon(hChecked);
    const int images_of_tabs[] = {0, 1, 5};
    for (int i = 0; i < 3; i++)
        m_tab.GetItem(i)->SetImageIndex(images_of_tabs[i]);

    const COLORREF clrNone = 0xFFFFFFFF;
    struct Case { int nSelected; BOOL bShowIcons; COLORREF clrIcons[3]; } cases[] = {
        {0, TRUE, {clrGreen, clrBlue, clrNone}},
        {1, TRUE, {clrRed, clrBlue, clrNone}},
        {1, FALSE, {clrNone, clrNone, clrNone}},
    };
    for (const Case& c : cases) {
        m_tab.SetShowIcons(c.bShowIcons);
        m_tab.SetCurSel(c.nSelected);
        m_tab.Reposition();
        CRect rc;
        m_tab.CWnd::GetClientRect(&rc);
        CPixelCanvas canvas(rc.Width(), rc.Height());
        m_tab.GetPaintManager()->DrawTabControl(&m_tab, &canvas, rc);
        for (int i = 0; i < 3; i++) {
            CRect rcItem = m_tab.GetItem(i)->GetRect();
            COLORREF clrCell = canvas.At(rcItem.left + 6 + 8, rcItem.CenterPoint().y);
            if (c.clrIcons[i] == clrNone) {
                for (COLORREF clr : {clrRed, clrBlue, clrGreen})
                    EXPECT_NE(clr, clrCell) << "tab " << i << ", selected " << c.nSelected;
            } else {
                EXPECT_EQ(c.clrIcons[i], clrCell) << "tab " << i << ", selected " << c.nSelected;
            }
        }
    }
}


TEST_F(TabCtrlTest, DataDraggedOverATabSelectsItAndIsRefused)
{
    ASSERT_TRUE(m_tab.GetDropTarget()->IsRegistered());
    IDropTarget* pTarget = m_tab.GetDropTarget()->GetDropTarget();
    CEmptyDataObject data;
    auto at = [&](int nIndex) {
        CPoint pt = ScreenPoint(TabCentre(nIndex));
        return POINTL{pt.x, pt.y};
    };
    DWORD dwEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(S_OK, pTarget->DragEnter(&data, MK_LBUTTON, at(2), &dwEffect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), dwEffect);
    EXPECT_EQ(2, m_tab.GetCurSel());
    EXPECT_TRUE(::IsWindowVisible(m_pages[2]));
    EXPECT_EQ(1, m_owner.m_nSelChanges);

    // Beside the tabs nothing changes; over another tab that one is selected.
    CPoint ptClient = ScreenPoint(CPoint(200, 150));
    dwEffect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, pTarget->DragOver(MK_LBUTTON, POINTL{ptClient.x, ptClient.y}, &dwEffect));
    EXPECT_EQ(2, m_tab.GetCurSel());
    dwEffect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, pTarget->DragOver(MK_LBUTTON, at(1), &dwEffect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), dwEffect);
    EXPECT_EQ(1, m_tab.GetCurSel());

    // A drop is refused; the data object is let go.
    dwEffect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, pTarget->Drop(&data, 0, at(0), &dwEffect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), dwEffect);
    EXPECT_EQ(1u, data.m_nRefs);

    // With the painter's option off, dragging over tabs changes nothing.
    m_tab.GetPaintManager()->m_bSelectOnDragOver = FALSE;
    dwEffect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, pTarget->DragEnter(&data, MK_LBUTTON, at(2), &dwEffect));
    EXPECT_NE(2, m_tab.GetCurSel());
    EXPECT_EQ(S_OK, pTarget->DragLeave());
    EXPECT_EQ(1u, data.m_nRefs);
}
