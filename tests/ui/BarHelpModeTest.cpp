// The bars while the frame is in its help mode (the user chooses what to get help on): a menu title counts as a
// menu, so that the frame lets a press on it through and the menu opens, everything else as the bar's client area;
// each place answers its help context (the command's, else the bar's own).
#include "FrameTestFixture.h"

#include "ui/commandbars/XTPPopupBar.h"
#include "ui/commandbars/XTPToolBar.h"

#include <gtest/gtest.h>

namespace
{
class BarHelpModeTest : public CStillFrameTestFixture
{
protected:
    void TearDown() override
    {
        if (m_pFrame)
            m_pFrame->m_bHelpMode = FALSE;
        CStillFrameTestFixture::TearDown();
    }
    static CPoint ScreenCentre(CXTPControl* pControl)
    {
        CPoint pt = pControl->GetRect().CenterPoint();
        pControl->GetParent()->ClientToScreen(&pt);
        return pt;
    }
    static LRESULT HitTest(CXTPCommandBar* pBar, CPoint ptScreen)
    {
        return pBar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptScreen.x, ptScreen.y));
    }
    static LRESULT HelpHitTest(CXTPCommandBar* pBar, CPoint ptScreen)
    {
        CPoint pt = ptScreen;
        pBar->ScreenToClient(&pt);
        return pBar->SendMessage(WM_HELPHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    }
};
}

TEST_F(BarHelpModeTest, MenuTitlesAreMenusAndEachPlaceAnswersItsHelpContext)
{
    CXTPMenuBar* pMenuBar = m_pFrame->GetMenuBar();
    CXTPToolBar* pToolBar = m_pFrame->GetToolBar();
    CXTPControl* pFile = pMenuBar->GetControls()->GetAt(0);
    CXTPControl* pNew = pToolBar->GetControls()->FindControl(ID_FT_NEW);
    ASSERT_NE(nullptr, pNew);
    // The gripper's corner: no control there.
    CPoint ptBackground(1, 1);
    pToolBar->ClientToScreen(&ptBackground);
    ASSERT_EQ(nullptr, pToolBar->GetControls()->HitTest(CPoint(1, 1)));

    EXPECT_EQ(HTCLIENT, HitTest(pMenuBar, ScreenCentre(pFile))) << "outside help mode";
    m_pFrame->m_bHelpMode = TRUE;
    const LRESULT nBarHelp = HID_BASE_CONTROL + LOWORD(static_cast<UINT>(pToolBar->GetDlgCtrlID()));
    const struct
    {
        const char* name;
        CXTPCommandBar* pBar;
        CPoint pt;
        LRESULT nHit;
        LRESULT nHelp;
    } cases[] = {
        {"a menu title", pMenuBar, ScreenCentre(pFile), HTMENU,
         HID_BASE_CONTROL + LOWORD(static_cast<UINT>(pMenuBar->GetDlgCtrlID()))},
        {"a button", pToolBar, ScreenCentre(pNew), HTCLIENT, HID_BASE_COMMAND + ID_FT_NEW},
        {"the bar beside its buttons", pToolBar, ptBackground, HTCLIENT, nBarHelp},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.nHit, HitTest(c.pBar, c.pt));
        EXPECT_EQ(c.nHelp, HelpHitTest(c.pBar, c.pt));
    }
}

TEST_F(BarHelpModeTest, APressOnAMenuTitleOpensTheMenuWhoseItemsAnswerTheirCommands)
{
    CXTPMenuBar* pMenuBar = m_pFrame->GetMenuBar();
    CXTPControl* pFile = pMenuBar->GetControls()->GetAt(0);
    CXTPCommandBar* pPopup = pFile->GetCommandBar();
    ASSERT_NE(nullptr, pPopup);
    const CPoint pt = ScreenCentre(pFile);

    m_pFrame->m_bHelpMode = TRUE;
    pMenuBar->SendMessage(WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(pt.x, pt.y));
    Pump();
    ASSERT_TRUE(pPopup->IsTrackingMode());
    CXTPControl* pOpen = pPopup->GetControls()->FindControl(ID_FT_OPEN);
    ASSERT_NE(nullptr, pOpen);
    EXPECT_EQ(HTCLIENT, HitTest(pPopup, ScreenCentre(pOpen)));
    EXPECT_EQ(HID_BASE_COMMAND + ID_FT_OPEN, HelpHitTest(pPopup, ScreenCentre(pOpen)));
    CMouseManager::GetThreadManager()->UntrackAll();
}
