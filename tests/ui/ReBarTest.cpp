// Toolbars in a rebar on the test frame: each band carries its bar under the bar's id, the bar leaves docking and
// loses its gripper, the band is as wide as the bar's buttons, and the bands' order, widths and hidden state come
// back from the profile.
#include "FrameTestSupport.h"

#include "ui/commandbars/XTPReBar.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/persist/PropExchangeRegistry.h"

#include <gtest/gtest.h>

namespace
{
const LPCTSTR kCompany = L"QuarzelTestsReBar";

class ReBarTest : public ::testing::Test
{
protected:
    ReBarTest() { m_app.SetRegistryKey(kCompany); }
    ~ReBarTest() override { AfxDelRegTreeHelper(HKEY_CURRENT_USER, CString(L"Software\\") + kCompany); }

    void SetUp() override
    {
        m_pFrame = CreateTestFrame();
        ASSERT_NE(nullptr, m_pFrame);
        m_pFirst = m_pFrame->GetToolBar();
        m_pSecond = m_pFrame->GetCommandBars()->Add(L"Seconda", xtpBarTop);
        ASSERT_NE(nullptr, m_pSecond);
        UINT ids[] = {ID_FT_NEW, ID_FT_OPEN};
        m_pSecond->SetButtons(ids, 2);
        ASSERT_TRUE(m_rebar.Create(m_pFrame));
        ASSERT_TRUE(m_rebar.AddToolBar(m_pFirst));
        ASSERT_TRUE(m_rebar.AddToolBar(m_pSecond));
        m_pFrame->RecalcLayout();
        PumpFrame(m_pFrame->m_hWnd);
    }
    void TearDown() override
    {
        if (m_pFrame)
            m_pFrame->DestroyWindow();
        PumpFrame(nullptr);
    }
    UINT BandId(int nBand)
    {
        REBARBANDINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = RBBIM_ID;
        m_rebar.SendMessage(RB_GETBANDINFOW, static_cast<WPARAM>(nBand), reinterpret_cast<LPARAM>(&info));
        return info.wID;
    }

    CWinApp m_app {L"ProvaRebar"};
    CTestFrame* m_pFrame = nullptr;
    CXTPToolBar* m_pFirst = nullptr;
    CXTPToolBar* m_pSecond = nullptr;
    CXTPReBar m_rebar;
};
}

TEST_F(ReBarTest, EachBandCarriesItsToolbarOutOfDockingAndWithoutGripper)
{
    ASSERT_EQ(2, m_rebar.GetBandCount());
    CXTPToolBar* bars[] = {m_pFirst, m_pSecond};
    for (int nBand = 0; nBand < 2; ++nBand) {
        SCOPED_TRACE(nBand);
        CXTPToolBar* pBar = bars[nBand];
        EXPECT_EQ(pBar->GetBarID(), BandId(nBand));
        EXPECT_EQ(pBar, m_rebar.GetToolBar(nBand));
        EXPECT_EQ(nBand, m_rebar.FindBand(pBar));
        EXPECT_EQ(m_rebar.m_hWnd, ::GetParent(pBar->m_hWnd));
        EXPECT_EQ(nullptr, pBar->GetDockBar());
        EXPECT_EQ(0u, pBar->GetFlags());
        EXPECT_EQ(0u, pBar->GetBarStyle() & CBRS_GRIPPER);
        // The band is at least as wide as all the bar's buttons.
        REBARBANDINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = RBBIM_CHILDSIZE;
        m_rebar.SendMessage(RB_GETBANDINFOW, static_cast<WPARAM>(nBand), reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(static_cast<UINT>(pBar->CalcDockingLayout(32000, LM_HORZ | LM_HORZDOCK).cx), info.cxMinChild);
        EXPECT_GT(info.cyMinChild, 0u);
    }
    // The frame gives the rebar the height of its bands.
    CRect rc;
    m_rebar.GetWindowRect(&rc);
    EXPECT_GE(rc.Height(), static_cast<int>(m_rebar.SendMessage(RB_GETBARHEIGHT)));
    EXPECT_GT(rc.Height(), 0);
    m_rebar.DeleteToolBar(m_pFirst);
    EXPECT_EQ(1, m_rebar.GetBandCount());
    EXPECT_EQ(-1, m_rebar.FindBand(m_pFirst));
    EXPECT_EQ(0, m_rebar.FindBand(m_pSecond));
}

TEST_F(ReBarTest, OrderWidthsAndHiddenBandsComeBackFromTheProfile)
{
    m_rebar.SaveState(L"Barre");
    CString strSaved = m_app.GetProfileString(L"Barre", L"RebarStateInfo", L"");
    CString strFirst, strSecond;
    strFirst.Format(L"wID=%04X, cx=", m_pFirst->GetBarID());
    strSecond.Format(L"\nwID=%04X, cx=", m_pSecond->GetBarID());
    EXPECT_EQ(0, strSaved.Find(strFirst));
    EXPECT_NE(-1, strSaved.Find(strSecond));
    // Stored the other way round, the first band hidden.
    CString strState;
    strState.Format(L"wID=%04X, cx=120, fStyle=%08X\nwID=%04X, cx=150, fStyle=00000000", m_pSecond->GetBarID(),
                    RBBS_HIDDEN, m_pFirst->GetBarID());
    m_app.WriteProfileString(L"Barre", L"RebarStateInfo", strState);
    m_rebar.LoadState(L"Barre");
    EXPECT_EQ(m_pSecond->GetBarID(), BandId(0));
    EXPECT_EQ(m_pFirst->GetBarID(), BandId(1));
    EXPECT_FALSE(m_pSecond->IsVisible());
    EXPECT_TRUE(m_pFirst->IsVisible());
    REBARBANDINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = RBBIM_SIZE | RBBIM_STYLE;
    m_rebar.SendMessage(RB_GETBANDINFOW, 1, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(0u, info.fStyle & RBBS_HIDDEN);
}

TEST_F(ReBarTest, AToolbarAddedLaterGoesIntoTheRebarAndLeavesItWhenRemoved)
{
    CXTPCommandBars* pCommandBars = m_pFrame->GetCommandBars();
    int nBands = m_rebar.GetBandCount();
    CXTPToolBar* pThird = pCommandBars->Add(L"Terza", xtpBarTop);
    ASSERT_NE(nullptr, pThird);
    pThird->SetBarID(333);
    ASSERT_EQ(nBands + 1, m_rebar.GetBandCount());
    EXPECT_EQ(pThird, m_rebar.GetToolBar(nBands));
    EXPECT_EQ(nullptr, pThird->GetDockBar());
    pCommandBars->Remove(pThird);
    EXPECT_EQ(nBands, m_rebar.GetBandCount());
}

TEST_F(ReBarTest, ABandsChildChangingSizeLaysTheFrameOutAgain)
{
    CRect rcLaid;
    m_rebar.GetWindowRect(&rcLaid);
    // Out of its place (a new size would wrap the bands into other rows).
    m_rebar.SetWindowPos(nullptr, 0, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    NMREBARCHILDSIZE nm = {};
    nm.hdr.hwndFrom = m_rebar.m_hWnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(m_rebar.GetDlgCtrlID());
    nm.hdr.code = RBN_CHILDSIZE;
    m_pFrame->SendMessage(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
    CRect rc;
    m_rebar.GetWindowRect(&rc);
    EXPECT_EQ(rcLaid, rc);
}
