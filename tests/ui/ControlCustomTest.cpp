// A window hosted in a toolbar of the test frame: placed and hidden with the bar's layout, mouse moves passed on
// to the bar, and clones sharing the window without taking it from the control that placed it.
#include "FrameTestFixture.h"
#include "PropExchangeStores.h"

#include "ui/commandbars/XTPControlCustom.h"
#include "ui/commandbars/XTPHookManager.h"
#include "ui/commandbars/XTPToolBar.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace
{
const int nSliderId = 5001;
const int nControlId = 5002;

class ControlCustomTest : public CFrameTestFixture
{
protected:
    CXTPToolBar* m_pBar = nullptr;
    CWnd m_slider;
    CXTPControlCustom* m_pCustom = nullptr;

    void SetUp() override
    {
        CFrameTestFixture::SetUp();
        if (HasFatalFailure())
            return;
        m_pBar = m_pFrame->GetToolBar();
        // A slider made where the program's dialogs make their controls: a child of the frame.
        ASSERT_TRUE(m_slider.CreateEx(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 20), m_pFrame,
                                      nSliderId));
        m_pCustom = CXTPControlCustom::CreateControlCustom(&m_slider);
        m_pCustom->SetBorders(2, 3, 4, 5);
        m_pBar->GetControls()->AddControl(m_pCustom, nControlId);
        Layout();
    }
    CRect SliderRectInBar() const
    {
        CRect rc;
        m_slider.GetWindowRect(&rc);
        m_pBar->ScreenToClient(&rc);
        return rc;
    }
};
} // namespace

TEST_F(ControlCustomTest, TheWindowMovesIntoTheBarInsideTheControlsBorders)
{
    EXPECT_EQ(nSliderId, m_pCustom->GetControlId());
    EXPECT_EQ(m_pBar->m_hWnd, ::GetParent(m_slider.m_hWnd));
    EXPECT_TRUE(m_slider.GetStyle() & WS_CHILD);
    EXPECT_TRUE(m_slider.IsWindowVisible());
    CRect rcControl = m_pCustom->GetRect();
    EXPECT_EQ(CSize(80 + 6, 20 + 8), rcControl.Size());
    rcControl.DeflateRect(2, 3, 4, 5);
    EXPECT_EQ(rcControl, SliderRectInBar());

    // Disabled and hidden with the control.
    m_pCustom->SetEnabled(FALSE);
    EXPECT_FALSE(m_slider.IsWindowEnabled());
    m_pCustom->SetHideFlags(xtpHideGeneric);
    EXPECT_FALSE(m_slider.IsWindowVisible());
    m_pCustom->SetHideFlags(0);
    EXPECT_TRUE(m_slider.IsWindowVisible());
}

TEST_F(ControlCustomTest, AVerticalBarHidesTheControlOrOnlyItsWindow)
{
    const struct
    {
        int nVerticalOptions;
        BOOL bControlHidden;   // in the bar docked at the left
    } cases[] = {{0, TRUE}, {2, FALSE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nVerticalOptions);
        m_pCustom->SetVerticalOptions(c.nVerticalOptions);
        m_pBar->SetPosition(xtpBarLeft);
        Layout();
        EXPECT_EQ(c.bControlHidden, (m_pCustom->GetHideFlags() & xtpHideDockingPosition) != 0);
        EXPECT_FALSE(m_slider.IsWindowVisible());
        if (!c.bControlHidden) {
            // A plain button in the column: no wider than the bar's buttons.
            EXPECT_LT(m_pCustom->GetRect().Height(), 28);
        }
        m_pBar->SetPosition(xtpBarTop);
        Layout();
        EXPECT_EQ(0u, m_pCustom->GetHideFlags() & xtpHideDockingPosition);
        EXPECT_TRUE(m_slider.IsWindowVisible());
        EXPECT_EQ(CSize(86, 28), m_pCustom->GetRect().Size());
    }
}

TEST_F(ControlCustomTest, MouseMovesOverTheWindowMakeTheControlHot)
{
    CRect rcSlider;
    m_slider.GetClientRect(&rcSlider);
    m_slider.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rcSlider.Width() / 2, rcSlider.Height() / 2));
    EXPECT_EQ(m_pCustom, m_pBar->GetSelectedControl());
}

TEST_F(ControlCustomTest, TheControlCountsAsShownWhileItsWindowShows)
{
    m_pCustom->SetHideFlags(xtpHideGeneric);
    ASSERT_FALSE(m_slider.IsWindowVisible());
    EXPECT_FALSE(m_pCustom->IsVisible());

    // The application shows its window again: the bar tracks the control under it.
    m_slider.ShowWindow(SW_SHOWNA);
    EXPECT_TRUE(m_pCustom->IsVisible());
    CRect rcSlider;
    m_slider.GetClientRect(&rcSlider);
    m_slider.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rcSlider.Width() / 2, rcSlider.Height() / 2));
    EXPECT_EQ(m_pCustom, m_pBar->GetSelectedControl());
}

TEST_F(ControlCustomTest, ClonesShareTheWindowButOnlyThePlacedControlHooksAndMovesIt)
{
    // A second bar holds a clone, as a customise copy would.
    CXTPToolBar* pSecond = m_pFrame->GetCommandBars()->Add(L"Seconda", xtpBarTop);
    ASSERT_NE(nullptr, pSecond);
    auto* pClone = static_cast<CXTPControlCustom*>(m_pCustom->Clone(FALSE));
    EXPECT_EQ(&m_slider, m_pCustom->GetControl());
    EXPECT_EQ(m_slider.m_hWnd, pClone->GetControl()->GetSafeHwnd());
    pSecond->GetControls()->AddControl(pClone, nControlId);
    Layout();
    EXPECT_TRUE(m_pCustom->IsWindowOwner());
    EXPECT_FALSE(pClone->IsWindowOwner());
    EXPECT_EQ(m_pBar->m_hWnd, ::GetParent(m_slider.m_hWnd));

    // Mouse moves still reach the bar of the placed control, and only it.
    CRect rcSlider;
    m_slider.GetClientRect(&rcSlider);
    m_slider.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rcSlider.Width() / 2, rcSlider.Height() / 2));
    EXPECT_EQ(m_pCustom, m_pBar->GetSelectedControl());
    EXPECT_EQ(-1, pSecond->GetSelectedIndex());

    // A clone going away leaves the window hooked by its control.
    auto* pSpare = static_cast<CXTPControlCustom*>(m_pCustom->Clone(FALSE));
    pSpare->InternalRelease();
    EXPECT_TRUE(CWindowHookManager::GetInstance()->IsHooked(m_slider.m_hWnd));
    EXPECT_TRUE(m_pCustom->IsWindowOwner());

    // Once the placed control is gone, the clone takes the window into its bar.
    m_pBar->GetControls()->Remove(m_pCustom);
    m_pCustom = nullptr;
    pSecond->SetLayoutNeeded();
    Layout();
    EXPECT_TRUE(pClone->IsWindowOwner());
    EXPECT_EQ(pSecond->m_hWnd, ::GetParent(m_slider.m_hWnd));
    EXPECT_TRUE(m_slider.IsWindowVisible());
}

TEST_F(ControlCustomTest, SavedControlsFindTheirWindowAgainByItsDialogId)
{
    m_pCustom->SetVerticalOptions(2);
    CArchiveBacking store;
    store.Save([&](CXTPPropExchange* pPX) { m_pBar->GetControls()->DoPropExchange(pPX); });
    // Loaded into another bar while the control that placed the window lives: the window stays with it.
    CXTPToolBar* pSecond = m_pFrame->GetCommandBars()->Add(L"Seconda", xtpBarTop);
    ASSERT_NE(nullptr, pSecond);
    store.Load([&](CXTPPropExchange* pPX) { pSecond->GetControls()->DoPropExchange(pPX); });
    auto* pCopy = static_cast<CXTPControlCustom*>(pSecond->GetControls()->FindControl(nControlId));
    ASSERT_NE(nullptr, pCopy);
    EXPECT_EQ(m_slider.m_hWnd, pCopy->GetControl()->GetSafeHwnd());
    EXPECT_FALSE(pCopy->IsWindowOwner());
    Layout();
    EXPECT_TRUE(m_pCustom->IsWindowOwner());
    EXPECT_EQ(m_pBar->m_hWnd, ::GetParent(m_slider.m_hWnd));
    pSecond->GetControls()->RemoveAll();

    // Loading replaces the bar's controls: the control that placed the window goes.
    store.Load([&](CXTPPropExchange* pPX) { m_pBar->GetControls()->DoPropExchange(pPX); });
    m_pCustom = nullptr;
    CXTPControl* pControl = m_pBar->GetControls()->FindControl(nControlId);
    ASSERT_NE(nullptr, pControl);
    ASSERT_TRUE(pControl->IsKindOf(RUNTIME_CLASS(CXTPControlCustom)));
    auto* pLoaded = static_cast<CXTPControlCustom*>(pControl);
    EXPECT_EQ(xtpControlCustom, pLoaded->GetType());
    EXPECT_EQ(2, pLoaded->GetVerticalOptions());
    EXPECT_EQ(nSliderId, pLoaded->GetControlId());
    ASSERT_NE(nullptr, pLoaded->GetControl());
    EXPECT_EQ(m_slider.m_hWnd, pLoaded->GetControl()->GetSafeHwnd());
    EXPECT_TRUE(pLoaded->IsWindowOwner());
    m_pBar->SetLayoutNeeded();
    Layout();
    // Size and borders came back with it.
    CRect rcControl = pLoaded->GetRect();
    EXPECT_EQ(CSize(86, 28), rcControl.Size());
    rcControl.DeflateRect(2, 3, 4, 5);
    EXPECT_EQ(rcControl, SliderRectInBar());
}

TEST_F(ControlCustomTest, AWindowTheApplicationDestroysLeavesNoGapInTheBar)
{
    CXTPControl* pNext = m_pBar->GetControls()->Add(xtpControlButton, nControlId + 1);
    Layout();
    CRect rcNextBefore = pNext->GetRect();
    m_slider.DestroyWindow();
    Layout();
    EXPECT_EQ(nullptr, m_pCustom->GetControl());
    EXPECT_FALSE(m_pCustom->IsWindowOwner());
    // The button after it moves into the room the window had.
    EXPECT_LE(pNext->GetRect().left, rcNextBefore.left - 80);
}
