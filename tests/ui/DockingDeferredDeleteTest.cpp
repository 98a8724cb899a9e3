// Containers and floating frames that the layout lets go while a handler of their own window is running: they
// leave the layout and lose their window at once, and are freed once, after that handler has returned, also when
// the whole manager goes meanwhile. The manager of these tests makes elements that count their own destruction.
#include "DockingTestSupport.h"

#include "ui/docking/DockingPaneAutoHideWnd.h"
#include "ui/themes/InputSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>

namespace
{
std::map<const void*, int> g_freed;   // times each counted element was freed, by its object's address

int Freed(const void* pObject)
{
    auto it = g_freed.find(pObject);
    return it == g_freed.end() ? 0 : it->second;
}

template <class TElement>
class CCounted : public TElement
{
public:
    explicit CCounted(CXTPDockingPaneLayout* pLayout) : TElement(pLayout) { g_freed.erase(this); }
    ~CCounted() override { g_freed[this]++; }
};

class CCountingManager : public CXTPDockingPaneManager
{
public:
    CXTPDockingPaneElement* CreateElement(int nType, CXTPDockingPaneLayout* pLayout) override
    {
        if (nType == xtpPaneTypeTabbedContainer)
            return new CCounted<CXTPDockingPaneTabbedContainer>(pLayout);
        if (nType == xtpPaneTypeMiniWnd)
            return new CCounted<CXTPDockingPaneMiniWnd>(pLayout);
        return CXTPDockingPaneManager::CreateElement(nType, pLayout);
    }
};

// A frame whose notifications run what the test puts there.
class CCallbackFrame : public CFrameWnd
{
public:
    std::unique_ptr<CCountingManager> m_pManager{new CCountingManager};
    std::function<void(WPARAM, LPARAM)> m_onNotify = [](WPARAM, LPARAM) {};

protected:
    afx_msg LRESULT OnDockingPaneNotify(WPARAM wParam, LPARAM lParam)
    {
        m_onNotify(wParam, lParam);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCallbackFrame, CFrameWnd)
    ON_MESSAGE(WM_DOCKINGPANE_NOTIFY, &CCallbackFrame::OnDockingPaneNotify)
END_MESSAGE_MAP()

BOOL CursorFarAway(LPPOINT lpPoint)
{
    lpPoint->x = lpPoint->y = -5000;
    return TRUE;
}

// What a handler would find of an element the layout let go, at one moment.
struct CSeen
{
    const void* pObject = nullptr;
    BOOL bSeen = FALSE;
    int nFreed = -1;
    BOOL bListed = TRUE;
    BOOL bWindow = TRUE;
};

class DockingDeferredDeleteTest : public ::testing::Test
{
protected:
    CCallbackFrame* m_pFrame = new CCallbackFrame;
    CXTPInputSource::PFN_CURSORPOS m_pfnOldCursor = nullptr;

    CXTPDockingPaneManager& Manager() { return *m_pFrame->m_pManager; }

    void SetUp() override
    {
        m_pfnOldCursor = CXTPInputSource::SetCursorPosSource(CursorFarAway);
        ASSERT_TRUE(m_pFrame->CreateEx(0, AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW)), L"docking",
                                       WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CRect(40, 40, 640, 440), nullptr, 0));
        ASSERT_TRUE(Manager().InstallDockingPanes(m_pFrame));
        Manager().SetTheme(2);
    }
    void TearDown() override
    {
        m_pFrame->DestroyWindow();
        CXTPInputSource::SetCursorPosSource(m_pfnOldCursor);
    }

    // At the first notification that bWhen picks, runs before and then looks at pElement; the layout is read
    // only while the manager lives.
    void WatchOnNotify(CXTPDockingPaneElement* pElement, std::function<BOOL(WPARAM, LPARAM)> bWhen, CSeen& seen,
                       std::function<void(LPARAM)> before = [](LPARAM) {})
    {
        HWND hWnd = pElement->GetPaneHwnd();
        seen.pObject = dynamic_cast<const void*>(pElement);
        m_pFrame->m_onNotify = [this, pElement, hWnd, bWhen, before, &seen](WPARAM wParam, LPARAM lParam) {
            if (seen.bSeen || !bWhen(wParam, lParam))
                return;
            before(lParam);
            seen.bSeen = TRUE;
            seen.nFreed = Freed(seen.pObject);
            if (m_pFrame->m_pManager) {
                const CXTPDockingPaneElementList& lst = Manager().GetCurrentLayout()->GetElementList();
                seen.bListed = std::find(lst.begin(), lst.end(), pElement) != lst.end();
            } else {
                seen.bListed = FALSE;
            }
            seen.bWindow = ::IsWindow(hWnd);
        };
    }
    static std::function<BOOL(WPARAM, LPARAM)> OnAction(int nAction)
    {
        return [nAction](WPARAM wParam, LPARAM lParam) {
            return wParam == XTP_DPN_ACTION && reinterpret_cast<XTP_DOCKINGPANE_ACTION*>(lParam)->action == nAction;
        };
    }
    static void ExpectPendingThenFreed(const CSeen& seen)
    {
        ASSERT_TRUE(seen.bSeen);
        EXPECT_EQ(0, seen.nFreed) << "freed while its handler was running";
        EXPECT_FALSE(seen.bListed);
        EXPECT_FALSE(seen.bWindow);
        EXPECT_EQ(1, Freed(seen.pObject));
    }
};
}

// The double click on the caption of a slid-out auto-hidden container docks its pane, and the container, no
// longer anyone's holder, goes while its own double-click handler runs.
TEST_F(DockingDeferredDeleteTest, AnAutoHiddenContainerDockedByItsCaptionIsFreedAfterItsHandler)
{
    CXTPDockingPane* pPane = Manager().CreatePane(101, CRect(0, 0, 200, 120), xtpPaneDockLeft);
    m_pFrame->RecalcLayout();
    Manager().HidePane(pPane);
    m_pFrame->RecalcLayout();
    CXTPDockingPaneAutoHidePanel* pPanel = Manager().GetCurrentLayout()->GetAutoHidePanel(xtpPaneDockLeft);
    ASSERT_NE(nullptr, pPanel);
    CPoint ptTab = pPanel->GetTabGroups().front()->GetItem(0)->GetRect().CenterPoint();
    pPanel->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptTab.x, ptTab.y));
    ASSERT_NE(nullptr, pPanel->GetSlideOutWindow());
    for (int i = 0; i < 8; i++)
        pPanel->GetSlideOutWindow()->SendMessage(WM_TIMER, XTP_DOCKINGPANE_TIMER_SLIDEOUT);
    CXTPDockingPaneTabbedContainer* pHidden = pPane->GetTabbedContainer();
    ASSERT_TRUE(pHidden->IsHidden());
    ASSERT_EQ(-2, pHidden->HitTest(CPoint(20, 8)));

    CSeen seen;
    WatchOnNotify(pHidden, OnAction(xtpPaneActionDocked), seen);
    pHidden->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 8));
    ExpectPendingThenFreed(seen);
    EXPECT_FALSE(pPane->IsHidden());
    EXPECT_EQ("H[T(101),C] A0{}", DescribeLayout(Manager().GetCurrentLayout()));
}

// The frame, asked whether a floating frame's pane may close, moves that pane into another floating frame: the
// first frame goes, with its container, while its own close handler runs.
TEST_F(DockingDeferredDeleteTest, AFloatingFrameEmptiedDuringItsCloseIsFreedAfterItsHandler)
{
    CXTPDockingPane* pFirst = Manager().CreatePane(101, CRect(0, 0, 200, 120), xtpPaneDockLeft);
    CXTPDockingPane* pSecond = Manager().CreatePane(102, CRect(0, 0, 200, 120), xtpPaneDockRight);
    m_pFrame->RecalcLayout();
    Manager().FloatPane(pFirst->GetTabbedContainer(), CRect(300, 200, 500, 400));
    Manager().FloatPane(pSecond->GetTabbedContainer(), CRect(520, 200, 720, 400));
    auto* pMini = dynamic_cast<CXTPDockingPaneMiniWnd*>(pFirst->GetSite());
    ASSERT_NE(nullptr, pMini);
    ASSERT_NE(pMini, pSecond->GetSite());

    CSeen seen;
    WatchOnNotify(pMini, OnAction(xtpPaneActionClosing), seen, [&](LPARAM lParam) {
        Manager().AttachPane(pFirst, pSecond);
        reinterpret_cast<XTP_DOCKINGPANE_ACTION*>(lParam)->bCancel = TRUE;
    });
    pMini->SendMessage(WM_CLOSE);
    ExpectPendingThenFreed(seen);
    EXPECT_FALSE(pFirst->IsClosed());
    EXPECT_EQ(pSecond->GetSite(), pFirst->GetSite());
}

// The frame lets the whole manager go while a container's right-click handler runs: the layout frees every
// other element at once and that container once its handler has returned.
TEST_F(DockingDeferredDeleteTest, AContainerWhoseManagerGoesDuringItsHandlerIsFreedOnceAfterIt)
{
    CXTPDockingPane* pPane = Manager().CreatePane(101, CRect(0, 0, 200, 120), xtpPaneDockLeft);
    Manager().CreatePane(102, CRect(0, 0, 200, 120), xtpPaneDockRight);
    m_pFrame->RecalcLayout();
    CXTPDockingPaneTabbedContainer* pContainer = pPane->GetTabbedContainer();
    CXTPDockingPaneTabbedContainer* pOther = Manager().FindPane(102)->GetTabbedContainer();

    CSeen seen;
    const void* pOtherObject = dynamic_cast<const void*>(pOther);
    int nOtherFreed = -1;
    WatchOnNotify(pContainer, [](WPARAM wParam, LPARAM) { return wParam == XTP_DPN_RCLICK; }, seen, [&](LPARAM) {
        m_pFrame->m_pManager.reset();
        nOtherFreed = Freed(pOtherObject);
    });
    pContainer->SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(20, 8));
    ExpectPendingThenFreed(seen);
    EXPECT_EQ(1, nOtherFreed);
    EXPECT_EQ(1, Freed(pOtherObject));
}
