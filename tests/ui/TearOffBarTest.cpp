// Toolbars torn off a popup on the test frame: a strip dragged away by the mouse makes one under it, the site is
// asked about a new one before it docks, and a torn-off bar that is hidden (its close button, the drag going back
// into the popup, the call) leaves the manager, while print preview only hides it for a while and a bar the user
// made stays when hidden.
#include "FrameTestFixture.h"

#include "ui/commandbars/XTPDockContext.h"
#include "ui/commandbars/XTPHookManager.h"
#include "ui/commandbars/XTPToolBar.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
const UINT kTearOffId = 0xE810;

// Answers the frame's bar-creation message as the test says.
class CBarCreateTap : public CXTPHookHandler
{
public:
    std::function<void(XTP_BAR_CREATE&)> m_onCreate;
    int OnHookMessage(HWND, UINT nMessage, WPARAM&, LPARAM& lParam, LRESULT& lResult) override
    {
        if (nMessage != XTPM_BARCREATE || !m_onCreate)
            return xtpHookContinue;
        m_onCreate(*reinterpret_cast<XTP_BAR_CREATE*>(lParam));
        lResult = 1;
        return xtpHookHandled;
    }
};

// A popup whose tear-off the test moves in and out by hand.
class CTearOffPopup : public CXTPPopupBar
{
public:
    using CXTPPopupBar::SetTearOffFloating;
    using CXTPPopupBar::m_bTearOffSelected;
};

class TearOffBarTest : public CStillFrameTestFixture
{
protected:
    void TearDown() override
    {
        if (m_pPopup) {
            m_pPopup->SetTrackingMode(0);
            m_pPopup->InternalRelease();
        }
        CWindowHookManager::GetInstance()->RemoveHookFromAll(&m_tap);
        CStillFrameTestFixture::TearDown();
    }
    CXTPCommandBars* Bars() const { return m_pFrame->GetCommandBars(); }
    // An open popup of two commands that can be torn off.
    CTearOffPopup* OpenTearOffPopup()
    {
        m_pPopup = new CTearOffPopup;
        m_pPopup->SetCommandBars(Bars());
        m_pPopup->GetControls()->Add(xtpControlButton, ID_FT_CUT);
        m_pPopup->GetControls()->Add(xtpControlButton, ID_FT_COPY);
        m_pPopup->SetTearOffPopup(L"Modifica", kTearOffId, 200);
        CRect rc;
        m_pFrame->GetWindowRect(&rc);
        m_pPopup->PopupAt(rc.left + 60, rc.top + 80);
        return m_pPopup;
    }
    CPoint Away() const
    {
        CRect rc;
        m_pFrame->GetWindowRect(&rc);
        return CPoint(rc.left + 250, rc.top + 200);
    }

    CBarCreateTap m_tap;
    CTearOffPopup* m_pPopup = nullptr;
};
}

TEST_F(TearOffBarTest, TheSiteSeesTheNewBarBeforeItDocksAndMayChooseItsDocking)
{
    const struct
    {
        const char* name;
        DWORD dwSiteFlags;   // 0: the site leaves the docking to the manager
        DWORD dwFlags;
    } cases[] = {
        {"the site sets the docking", 0x11, 0x11},
        {"the manager's docking", 0, 0x3F},
    };
    CWindowHookManager::GetInstance()->SetHook(m_pFrame->m_hWnd, &m_tap);
    UINT nId = kTearOffId;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BOOL bAsked = FALSE, bDockingBefore = TRUE;
        m_tap.m_onCreate = [&](XTP_BAR_CREATE& create) {
            bAsked = TRUE;
            auto* pBar = static_cast<CXTPToolBar*>(create.pCommandBar);
            bDockingBefore = pBar->GetDockContext() != nullptr;
            EXPECT_EQ(static_cast<int>(nId), create.nId);
            EXPECT_TRUE(create.bToolBar);
            EXPECT_TRUE(create.bFloating);
            if (c.dwSiteFlags)
                pBar->EnableDocking(c.dwSiteFlags);
        };
        CXTPToolBar* pBar = Bars()->CreateTearOffBar(L"Strappata", nId, TRUE);
        ASSERT_NE(nullptr, pBar);
        EXPECT_TRUE(bAsked);
        EXPECT_FALSE(bDockingBefore);
        EXPECT_EQ(c.dwFlags, pBar->GetFlags());
        EXPECT_EQ(nId, pBar->GetBarID());
        EXPECT_TRUE(pBar->IsTearOff());
        EXPECT_FALSE(pBar->IsBuiltIn());
        nId++;
    }
}

TEST_F(TearOffBarTest, AHiddenTornOffBarLeavesTheManagerAndANewTearOffMakesItAgain)
{
    CTearOffPopup* pPopup = OpenTearOffPopup();
    ASSERT_TRUE(pPopup->IsTrackingMode());
    const int nCount = Bars()->GetCount();
    const struct
    {
        const char* name;
        std::function<void(CXTPToolBar*)> hide;
    } cases[] = {
        {"dragged back into the popup", [&](CXTPToolBar*) { pPopup->SetTearOffFloating(TRUE, Away()); }},
        {"hidden by a call", [](CXTPToolBar* pBar) { pBar->SetVisible(FALSE); }},
        {"its close button clicked",
         [&](CXTPToolBar* pBar) {
             CXTPControl* pClose = pBar->GetControls()->FindControl(XTP_ID_TOOLBAR_HIDE);
             ASSERT_NE(nullptr, pClose);
             ASSERT_TRUE(pClose->IsVisible());
             CPoint pt = pClose->GetRect().CenterPoint();
             pBar->ClientToScreen(&pt);
             // The popup is no longer tracked when the user gets to the bar.
             CMouseManager::GetThreadManager()->UntrackAll();
             // In front of the test frame, which stays above every other window.
             pBar->SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
             ASSERT_EQ(pBar->m_hWnd, ::WindowFromPoint(pt));
             SendClick(pt);
             PumpUntil(m_pFrame->m_hWnd, [&] { return Bars()->GetCount() == nCount; });
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        pPopup->SetTearOffFloating(FALSE, Away());
        CXTPToolBar* pBar = Bars()->FindBarById(kTearOffId);
        ASSERT_NE(nullptr, pBar);
        ASSERT_EQ(nCount + 1, Bars()->GetCount());
        EXPECT_EQ(xtpBarFloating, pBar->GetPosition());
        EXPECT_EQ((std::vector<int>{ID_FT_CUT, ID_FT_COPY}), OwnIds(pBar));
        HWND hWndBar = pBar->GetSafeHwnd();
        c.hide(pBar);
        Pump();
        EXPECT_EQ(nullptr, Bars()->FindBarById(kTearOffId));
        EXPECT_EQ(nCount, Bars()->GetCount());
        EXPECT_FALSE(::IsWindow(hWndBar));
    }
}

TEST_F(TearOffBarTest, PrintPreviewGivesATornOffBarBackAndAUsersBarStaysWhenHidden)
{
    CXTPToolBar* pTorn = Bars()->CreateTearOffBar(L"Strappata", kTearOffId, TRUE);
    ASSERT_NE(nullptr, pTorn);
    Bars()->OnSetPreviewMode(TRUE);
    EXPECT_FALSE(pTorn->IsVisible());
    Bars()->OnSetPreviewMode(FALSE);
    ASSERT_EQ(pTorn, Bars()->FindBarById(kTearOffId));
    EXPECT_TRUE(pTorn->IsVisible());

    // A bar made docked is the user's own toolbar, not a torn-off one.
    CXTPToolBar* pMine = Bars()->CreateTearOffBar(L"Mia barra", kTearOffId + 1, FALSE);
    ASSERT_NE(nullptr, pMine);
    pMine->SetVisible(FALSE);
    EXPECT_EQ(pMine, Bars()->FindBarById(kTearOffId + 1));
}

TEST_F(TearOffBarTest, TheStripDraggedAwayByTheMouseTearsTheMenuOffUnderIt)
{
    CTearOffPopup* pPopup = OpenTearOffPopup();
    ASSERT_TRUE(pPopup->IsTrackingMode());
    // In front of the test frame, which stays above every other window.
    pPopup->SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    CRect rcStrip = pPopup->GetTearOffRect();
    ASSERT_FALSE(rcStrip.IsRectEmpty());
    pPopup->ClientToScreen(&rcStrip);
    const CPoint ptFrom = rcStrip.CenterPoint(), ptTo = Away();
    ASSERT_EQ(pPopup->m_hWnd, ::WindowFromPoint(ptFrom));
    // The moves go once the drag holds the mouse: a first one still on the strip, then away, where it is let go.
    RunWhen([pPopup] { return ::GetCapture() == pPopup->m_hWnd; }, [ptFrom, ptTo] {
        INPUT inputs[] = {MouseInput(ptFrom + CPoint(0, 1), 0), MouseInput(ptTo, 0),
                          MouseInput(ptTo, MOUSEEVENTF_LEFTUP)};
        ::SendInput(3, inputs, sizeof(INPUT));
    });
    SendMouseButton(ptFrom, MOUSEEVENTF_LEFTDOWN);
    PumpUntil(m_pFrame->m_hWnd, [&] { return Bars()->FindBarById(kTearOffId) && !pPopup->IsTrackingMode(); });

    CXTPToolBar* pBar = Bars()->FindBarById(kTearOffId);
    ASSERT_NE(nullptr, pBar);
    EXPECT_FALSE(pPopup->IsTrackingMode()) << "the menus closed";
    EXPECT_EQ(xtpBarFloating, pBar->GetPosition());
    EXPECT_TRUE(pBar->IsVisible());
    EXPECT_EQ((std::vector<int>{ID_FT_CUT, ID_FT_COPY}), OwnIds(pBar));
    CRect rcBar;
    pBar->GetWindowRect(&rcBar);
    EXPECT_EQ(CPoint(ptTo.x - rcBar.Width() / 2, ptTo.y - 10), rcBar.TopLeft());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(TearOffBarTest, AReopenedPopupStartsWithACoolStripThatTheMouseMakesHotAgain)
{
    CTearOffPopup* pPopup = OpenTearOffPopup();
    ASSERT_TRUE(pPopup->IsTrackingMode());
    CRect rcFrame;
    m_pFrame->GetWindowRect(&rcFrame);
    auto hover = [&] {
        CRect rcStrip = pPopup->GetTearOffRect();
        CPoint pt = rcStrip.CenterPoint();
        CPoint ptScreen = pt;
        pPopup->ClientToScreen(&ptScreen);
        ::SetCursorPos(ptScreen.x, ptScreen.y);
        pPopup->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
        return PumpUntil(m_pFrame->m_hWnd, [&] { return pPopup->m_bTearOffSelected != FALSE; });
    };
    ASSERT_TRUE(hover());
    pPopup->SetTrackingMode(0);
    ::SetCursorPos(Away().x, Away().y);
    ASSERT_TRUE(pPopup->PopupAt(rcFrame.left + 60, rcFrame.top + 80));
    EXPECT_FALSE(pPopup->m_bTearOffSelected);
    EXPECT_TRUE(hover());
}
