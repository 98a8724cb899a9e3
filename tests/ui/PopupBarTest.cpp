// The popup bar's decisions: where a popup goes in a work area that does not start at the screen's origin, and
// which commands an intelligent menu keeps back until it is expanded.
#include "BarTestSupport.h"

#include "ui/commandbars/XTPCommandBars.h"
#include "ui/themes/BarPainter.h"

#include <map>

#include <gtest/gtest.h>

TEST(PopupPlacement, InsideAWorkAreaAwayFromTheOrigin)
{
    const CRect rcWork(100, 50, 900, 650);   // usable bottom 645, middle 347
    struct Case
    {
        const char* pszName;
        CSize sz;
        CPoint pt;
        CRect rcExclude;
        DWORD dwFlags;
        CRect rcExpected;
        DWORD dwFlagsAfter;
        BOOL bScroll;
    } cases[] = {
        {"drop-down fits", {150, 200}, {200, 120}, {200, 100, 250, 120}, 2, {200, 120, 350, 320}, 2, FALSE},
        {"drop-down above the button", {150, 200}, {200, 620}, {200, 600, 250, 620}, 2, {200, 400, 350, 600}, 2, FALSE},
        {"drop-down too tall, upper half", {150, 400}, {200, 320}, {200, 300, 250, 320}, 2, {200, 320, 350, 645}, 2, TRUE},
        {"drop-down too tall, lower half", {150, 400}, {200, 420}, {200, 400, 250, 420}, 2, {200, 50, 350, 400}, 2, TRUE},
        {"right-aligned drop-down", {150, 100}, {700, 120}, {700, 100, 800, 120}, 3, {650, 120, 800, 220}, 3, FALSE},
        {"point near the right edge", {150, 100}, {850, 100}, {850, 100, 850, 100}, 2, {750, 100, 900, 200}, 2, FALSE},
        {"point low in the lower half", {100, 200}, {300, 600}, {300, 600, 300, 600}, 2, {300, 400, 400, 600}, 2, FALSE},
        // The halves count from the work area's top: 320 lies in the upper half of 50..645.
        {"point in the upper half of the area", {100, 400}, {300, 320}, {300, 320, 300, 320}, 2, {300, 245, 400, 645}, 2, FALSE},
        {"point below the work area", {100, 100}, {300, 700}, {300, 700, 300, 700}, 2, {300, 600, 400, 645}, 2, TRUE},
        // Turned back from the left edge, the popup starts at the work area's left, not at the screen's.
        {"leftward point flips", {100, 100}, {150, 100}, {150, 100, 150, 100}, 3, {100, 100, 200, 200}, 2, FALSE},
        {"cascade off the left", {150, 100}, {300, 200}, {120, 200, 300, 220}, 1, {300, 200, 450, 300}, 0, FALSE},
        {"cascade off the right", {150, 100}, {850, 200}, {700, 200, 850, 220}, 0, {550, 200, 700, 300}, 1, FALSE},
        {"cascade near the bottom", {150, 100}, {450, 600}, {300, 600, 450, 620}, 0, {450, 545, 600, 645}, 0, FALSE},
        {"taller than the area", {150, 900}, {450, 100}, {300, 100, 450, 120}, 0, {450, 50, 600, 645}, 0, TRUE},
    };
    for (const Case& c : cases) {
        DWORD dwFlags = c.dwFlags;
        BOOL bScroll = -1;
        CRect rc = CalcPopupPlacement(c.sz, c.pt, c.rcExclude, rcWork, dwFlags, &bScroll);
        EXPECT_EQ(c.rcExpected, rc) << c.pszName;
        EXPECT_EQ(c.dwFlagsAfter, dwFlags) << c.pszName;
        EXPECT_EQ(c.bScroll, bScroll) << c.pszName;
    }
}

namespace
{
class ExpandingStateTest : public ::testing::Test
{
protected:
    CXTPCommandBars* m_pCommandBars = new CXTPCommandBars;
    CXTPPopupBar* m_pPopup = CXTPPopupBar::CreatePopupBar(m_pCommandBars);

    void TearDown() override
    {
        m_pPopup->InternalRelease();
        m_pCommandBars->InternalRelease();
    }
    CXTPControls* Controls() { return m_pPopup->GetControls(); }
    std::vector<DWORD> HideFlags()
    {
        std::vector<DWORD> flags;
        for (int i = 0; i < Controls()->GetCount(); i++)
            flags.push_back(Controls()->GetAt(i)->GetHideFlags());
        return flags;
    }
};
}

TEST_F(ExpandingStateTest, RarelyUsedCommandsWaitForTheExpansion)
{
    struct Case
    {
        const char* pszName;
        BOOL bFullMenus;
        std::vector<UINT> hidden, used;
        DWORD dwPresetFlags;   // hide flags of the second control before
        BOOL bExpanded;
        std::vector<DWORD> expectedFlags;
        BOOL bCollapsed;
    } cases[] = {
        {"full menus", TRUE, {102}, {}, 0, FALSE, {0, 0, 0}, FALSE},
        {"one hidden", FALSE, {102}, {}, 0, FALSE, {0, 32, 0}, TRUE},
        {"hidden but used", FALSE, {102}, {102}, 0, FALSE, {0, 0, 0}, FALSE},
        {"only a control already hidden", FALSE, {102}, {}, 1, FALSE, {0, 1, 0}, FALSE},
        {"scrolled out counts", FALSE, {102}, {}, 8, FALSE, {0, 40, 0}, TRUE},
        {"expanded", FALSE, {101, 103}, {}, 0, TRUE, {0, 0, 0}, FALSE},
    };
    for (const Case& c : cases) {
        CXTPCommandBarsOptions* pOptions = m_pCommandBars->GetCommandBarsOptions();
        pOptions->bAlwaysShowFullMenus = c.bFullMenus;
        pOptions->m_setHiddenCommands.clear();
        pOptions->m_setUsedCommands.clear();
        m_pCommandBars->HideCommands(c.hidden.data(), static_cast<int>(c.hidden.size()));
        pOptions->m_setUsedCommands.insert(c.used.begin(), c.used.end());
        Controls()->RemoveAll();
        for (int nId : {101, 102, 103})
            Controls()->Add(xtpControlButton, nId);
        Controls()->GetAt(1)->SetHideFlags(c.dwPresetFlags);
        if (c.bExpanded) {
            m_pPopup->UpdateExpandingState();
            m_pPopup->ExpandBar();
        }
        m_pPopup->UpdateExpandingState();
        EXPECT_EQ(c.expectedFlags, HideFlags()) << c.pszName;
        EXPECT_EQ(c.bCollapsed, m_pPopup->HasHiddenCommands()) << c.pszName;
        // A fresh popup for the next case.
        m_pPopup->InternalRelease();
        m_pPopup = CXTPPopupBar::CreatePopupBar(m_pCommandBars);
    }
}

TEST_F(ExpandingStateTest, APopupWhoseCommandsAreAllHiddenIsHiddenToo)
{
    CXTPCommandBarsOptions* pOptions = m_pCommandBars->GetCommandBarsOptions();
    pOptions->bAlwaysShowFullMenus = FALSE;
    UINT hidden[] = {201, 202};
    m_pCommandBars->HideCommands(hidden, 2);
    CXTPControl* pSub = Controls()->Add(xtpControlPopup, 0);
    Controls()->Add(xtpControlButton, 101);
    CXTPControls* pSubControls = pSub->GetCommandBar()->GetControls();
    pSubControls->Add(xtpControlButton, 201);
    pSubControls->Add(xtpControlButton, 202);
    EXPECT_TRUE(m_pCommandBars->IsControlHidden(pSub));
    pOptions->bAutoHideUnusedPopups = FALSE;
    EXPECT_FALSE(m_pCommandBars->IsControlHidden(pSub));
    pOptions->bAutoHideUnusedPopups = TRUE;
    pOptions->OnCommandExecuted(202);
    EXPECT_FALSE(m_pCommandBars->IsControlHidden(pSub));
    // An empty popup does not hide its control.
    pSubControls->RemoveAll();
    EXPECT_FALSE(m_pCommandBars->IsControlHidden(pSub));
}

namespace
{
class CAnimationSettings : public CXTPSystemSettings
{
public:
    BOOL GetFlag(UINT nAction, BOOL& bValue) const override
    {
        auto it = m_flags.find(nAction);
        if (it == m_flags.end())
            return FALSE;
        bValue = it->second;
        return TRUE;
    }
    std::map<UINT, BOOL> m_flags;
};
}

TEST_F(ExpandingStateTest, AnimationKindFollowsTheOptionAndTheSystem)
{
    struct Case
    {
        const char* pszName;
        int nOption;
        int nMenuAnimation, nMenuFade;   // -1: the system does not answer
        int nExpected;
    } cases[] = {
        {"system: no animation", 0, 0, 1, 5},
        {"system: does not answer", 0, -1, -1, 5},
        {"system: fade", 0, 1, 1, CXTPBarPainter::animateFade},
        {"system: slide", 0, 1, 0, CXTPBarPainter::animateSlide},
        {"system: fade unknown", 0, 1, -1, CXTPBarPainter::animateSlide},
    };
    for (const Case& c : cases) {
        CAnimationSettings settings;
        if (c.nMenuAnimation >= 0)
            settings.m_flags[SPI_GETMENUANIMATION] = c.nMenuAnimation;
        if (c.nMenuFade >= 0)
            settings.m_flags[SPI_GETMENUFADE] = c.nMenuFade;
        CXTPSystemSettings::Set(&settings);
        m_pCommandBars->GetCommandBarsOptions()->nAnimationType = c.nOption;
        int nKind = m_pPopup->GetAnimationType();
        CXTPSystemSettings::Set(nullptr);
        EXPECT_EQ(c.nExpected, nKind) << c.pszName;
    }
    m_pCommandBars->GetCommandBarsOptions()->nAnimationType = 7;
    EXPECT_EQ(7, m_pPopup->GetAnimationType());
    m_pCommandBars->GetCommandBarsOptions()->nAnimationType = 1;
    for (int i = 0; i < 20; i++) {
        int nKind = m_pPopup->GetAnimationType();
        EXPECT_TRUE(nKind >= CXTPBarPainter::animateUnfold && nKind <= CXTPBarPainter::animateFade) << nKind;
    }
    // A popup without a manager does not animate.
    CXTPPopupBar* pLoose = CXTPPopupBar::CreatePopupBar();
    EXPECT_EQ(5, pLoose->GetAnimationType());
    pLoose->InternalRelease();
}

TEST(PopupTearOff, TheDragCountsAsOnTheStripWithinTenPixels)
{
    const CRect rcStrip(100, 100, 200, 108);
    struct Case
    {
        CPoint pt;
        BOOL bInside;
    } cases[] = {{{150, 104}, TRUE}, {{90, 95}, TRUE}, {{209, 117}, TRUE}, {{89, 104}, FALSE},
                 {{150, 118}, FALSE}, {{210, 104}, FALSE}, {{150, 89}, FALSE}};
    for (const Case& c : cases)
        EXPECT_EQ(c.bInside, IsInTearOffStrip(c.pt, rcStrip)) << c.pt.x << "," << c.pt.y;
}

TEST_F(ExpandingStateTest, ATearOffPopupKeepsItsStripAboveTheControls)
{
    m_pPopup->SetPaintManager(new CFakePainter);
    for (int nId : {101, 102})
        Controls()->Add(xtpControlButton, nId);
    CSize szPlain = m_pPopup->CalcDynamicLayout(0, 0);
    EXPECT_TRUE(m_pPopup->GetTearOffRect().IsRectEmpty());
    m_pPopup->SetTearOffPopup(L"Strumenti", 700, 300);
    CString strCaption;
    UINT nId = 0;
    int nWidth = 0;
    EXPECT_TRUE(m_pPopup->IsTearOffPopup(strCaption, nId, nWidth));
    EXPECT_EQ(CString(L"Strumenti"), strCaption);
    EXPECT_EQ(700u, nId);
    EXPECT_EQ(300, nWidth);
    // The default theme's strip is 8 high, inside the popup borders of 3 and as wide as the controls.
    CSize sz = m_pPopup->CalcDynamicLayout(0, 0);
    EXPECT_EQ(CSize(szPlain.cx, szPlain.cy + 8), sz);
    EXPECT_EQ(CRect(3, 3, sz.cx - 3, 11), m_pPopup->GetTearOffRect());
    EXPECT_EQ(11, Controls()->GetAt(0)->GetRect().top);
    m_pPopup->SetTearOffPopup(L"", 0, 0);
    EXPECT_FALSE(m_pPopup->IsTearOffPopup(strCaption, nId, nWidth));
    EXPECT_EQ(szPlain, m_pPopup->CalcDynamicLayout(0, 0));
}
