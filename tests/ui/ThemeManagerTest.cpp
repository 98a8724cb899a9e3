#include "ui/themes/ThemeManager.h"
#include "ui/themes/ThemedButton.h"
#include "ui/themes/ThemedHeader.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <typeinfo>

namespace
{
class CTestStyle : public CXTThemeManagerStyle
{
public:
    static int s_nAlive;
    int m_nRefreshed = 0;

    CTestStyle() { ++s_nAlive; }
    ~CTestStyle() override { --s_nAlive; }
    void RefreshMetrics() override
    {
        CXTThemeManagerStyle::RefreshMetrics();
        ++m_nRefreshed;
    }
};
int CTestStyle::s_nAlive = 0;

class CTestFactory : public CXTThemeManagerStyleFactory
{
    DECLARE_DYNCREATE(CTestFactory)
public:
    CXTThemeManagerStyle* CreateTheme(int) override { return new CTestStyle; }
};
IMPLEMENT_DYNCREATE(CTestFactory, CXTThemeManagerStyleFactory)

class CTestHost : public CXTThemeManagerStyleHost
{
public:
    int m_nChanged = 0;
    CTestHost() : CXTThemeManagerStyleHost(RUNTIME_CLASS(CTestFactory)) {}
    void OnThemeChanged() override { ++m_nChanged; }
};

CXTThemeManagerStyleFactory* SharedFactory()
{
    return CThemeRegistry::GetInstance()->FindFactory(RUNTIME_CLASS(CTestFactory));
}

class ThemeManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CThemeRegistry::GetInstance()->SetTheme(0);
        SharedFactory()->SetTheme(0);
    }
    void TearDown() override
    {
        CThemeRegistry::GetInstance()->SetTheme(0);
        CXTButton::SetClassTheme(0);
        CXTHeaderCtrl::SetClassTheme(0);
    }
};
}

TEST_F(ThemeManagerTest, HostTransitions)
{
    CTestHost host;
    CTestHost neighbour;
    CTestFactory external;
    external.SetTheme(5);

    // What the host draws with after each step: the kind's shared style, a style of its own, or the
    // caller's factory's; with the theme id and the OnThemeChanged calls the step caused.
    enum Source { shared, own, callers };
    struct Step
    {
        const char* what;
        std::function<void()> action;
        Source source;
        int nThemeId;
        int nChanged;
        int nNeighbourChanged;
    } steps[] = {
        {"new host", [] {}, shared, 0, 0, 0},
        {"no style, no own factory: nothing", [&] { host.SetTheme(static_cast<CXTThemeManagerStyle*>(nullptr)); },
         shared, 0, 0, 0},
        {"a style of its own", [&] { host.SetTheme(new CTestStyle); }, own, 0, 1, 0},
        {"the kind's theme changes", [&] { SharedFactory()->SetTheme(2); }, own, 0, 0, 1},
        {"the process-wide theme changes", [&] { CThemeRegistry::GetInstance()->SetTheme(1); }, own, 0, 0, 1},
        {"the same process-wide theme again", [&] { CThemeRegistry::GetInstance()->SetTheme(1); }, own, 0, 0, 0},
        {"its own style by id", [&] { host.SetTheme(3); }, own, 3, 1, 0},
        {"back to the shared style", [&] { host.SetTheme(static_cast<CXTThemeManagerStyle*>(nullptr)); }, shared,
         1, 1, 0},
        {"the kind's theme changes again", [&] { SharedFactory()->SetTheme(4); }, shared, 4, 1, 1},
        {"a factory of the caller's", [&] { host.SetFactory(&external); }, callers, 5, 1, 0},
        {"the caller's factory changes its style", [&] { external.SetTheme(6); }, callers, 6, 1, 0},
        {"back from the caller's factory", [&] { host.SetFactory(nullptr); }, shared, 4, 1, 0},
    };
    for (const Step& step : steps) {
        int nChanged = host.m_nChanged, nNeighbourChanged = neighbour.m_nChanged;
        step.action();
        SCOPED_TRACE(step.what);
        CXTThemeManagerStyle* pTheme = host.GetTheme();
        ASSERT_NE(nullptr, pTheme);
        CXTThemeManagerStyleFactory* pExpectedFactory =
            step.source == shared ? SharedFactory() : step.source == callers ? &external : host.GetFactory();
        EXPECT_EQ(step.source == own, host.GetFactory() != SharedFactory() && host.GetFactory() != &external);
        EXPECT_EQ(pExpectedFactory, host.GetFactory());
        EXPECT_EQ(pExpectedFactory, pTheme->GetFactory());
        EXPECT_EQ(step.nThemeId, pTheme->GetThemeId());
        EXPECT_EQ(step.source == shared, pTheme == neighbour.GetTheme());
        EXPECT_EQ(step.nChanged, host.m_nChanged - nChanged);
        EXPECT_EQ(step.nNeighbourChanged, neighbour.m_nChanged - nNeighbourChanged);
        EXPECT_EQ(1, static_cast<CTestStyle*>(pTheme)->m_nRefreshed) << "every new style is refreshed once";
    }
}

TEST_F(ThemeManagerTest, OwnStylesAndFactoriesAreDeletedWithTheirHost)
{
    int nAlive = CTestStyle::s_nAlive;
    {
        CTestHost host;
        host.SetTheme(new CTestStyle);
        EXPECT_EQ(nAlive + 1, CTestStyle::s_nAlive);
        host.SetTheme(7);
        EXPECT_EQ(nAlive + 1, CTestStyle::s_nAlive) << "the replaced style went with its factory";
    }
    EXPECT_EQ(nAlive, CTestStyle::s_nAlive);

    CTestFactory callers;
    callers.SetTheme(1);
    {
        CTestHost host;
        host.SetFactory(&callers);
    }
    EXPECT_NE(nullptr, callers.GetSafeTheme()) << "a factory of the caller's is not the host's to delete";
}

TEST_F(ThemeManagerTest, HandingTheCurrentStyleAgainKeepsIt)
{
    CXTThemeManagerStyle* pTheme = SharedFactory()->GetSafeTheme();
    int nAlive = CTestStyle::s_nAlive;
    SharedFactory()->SetTheme(pTheme);
    EXPECT_EQ(pTheme, SharedFactory()->GetSafeTheme());
    EXPECT_EQ(nAlive, CTestStyle::s_nAlive);
}

TEST_F(ThemeManagerTest, AStyleHandedOnLeavesTheFactoryThatHeldIt)
{
    // A style has one owner: handing a host the style it draws with, or the kind's shared one, moves the
    // style instead of leaving it to two factories that would both delete it.
    CTestHost host;
    host.SetTheme(new CTestStyle);
    int nAlive = CTestStyle::s_nAlive;
    CXTThemeManagerStyle* pOwn = host.GetTheme();
    host.SetTheme(pOwn);
    EXPECT_EQ(pOwn, host.GetTheme());
    EXPECT_EQ(nAlive, CTestStyle::s_nAlive) << "the style handed again is not deleted";

    CXTThemeManagerStyle* pShared = SharedFactory()->GetSafeTheme();
    host.SetTheme(pShared);
    EXPECT_EQ(pShared, host.GetTheme());
    EXPECT_NE(pShared, SharedFactory()->GetSafeTheme()) << "the kind makes itself a new style";
    EXPECT_EQ(nAlive, CTestStyle::s_nAlive) << "the host's former style went, the kind made itself one";
}

TEST_F(ThemeManagerTest, TheBaseFactoryMakesNoStyle)
{
    CXTThemeManagerStyleFactory* pBase =
        CThemeRegistry::GetInstance()->FindFactory(RUNTIME_CLASS(CXTThemeManagerStyleFactory));
    ASSERT_NE(nullptr, pBase);
    EXPECT_EQ(pBase, CThemeRegistry::GetInstance()->FindFactory(RUNTIME_CLASS(CXTThemeManagerStyleFactory)));
    EXPECT_EQ(nullptr, pBase->GetSafeTheme());

    CXTThemeManagerStyleHost host(RUNTIME_CLASS(CXTThemeManagerStyleFactory));
    EXPECT_EQ(nullptr, host.GetTheme());
    host.SetTheme(2);
    EXPECT_EQ(pBase, host.GetFactory());
    EXPECT_EQ(nullptr, host.GetTheme());
}

namespace
{
// The class-wide look of a control kind: what a control of the kind draws with, and whether it is the kind's
// theme of that id.
template <class TControl, class TClassic, class TFlat, class TOffice>
void CheckClassTheme()
{
    TControl plain;
    TControl owning;
    owning.SetTheme(new TOffice);
    ASSERT_NE(nullptr, TControl::GetClassTheme());
    EXPECT_EQ(typeid(TClassic), typeid(*TControl::GetClassTheme()));
    EXPECT_EQ(TControl::GetClassTheme(), plain.GetTheme());

    TControl::SetClassTheme(1);
    EXPECT_EQ(typeid(TFlat), typeid(*TControl::GetClassTheme()));
    EXPECT_EQ(1, TControl::GetClassTheme()->GetThemeId());
    EXPECT_EQ(TControl::GetClassTheme(), plain.GetTheme());
    EXPECT_EQ(typeid(TOffice), typeid(*owning.GetTheme())) << "a style of its own is kept";
    TControl later;
    EXPECT_EQ(TControl::GetClassTheme(), later.GetTheme()) << "a control made afterwards draws with it too";

    auto* pStyle = new TOffice;
    TControl::SetClassTheme(pStyle);
    EXPECT_EQ(pStyle, TControl::GetClassTheme());
    EXPECT_EQ(pStyle, plain.GetTheme());
    EXPECT_NE(pStyle, owning.GetTheme());

    TControl::SetClassTheme(0);
    EXPECT_EQ(typeid(TClassic), typeid(*TControl::GetClassTheme()));
}
}

TEST_F(ThemeManagerTest, AClassThemeIsTheLookOfEveryControlOfTheKindWithoutOneOfItsOwn)
{
    {
        SCOPED_TRACE("button");
        CheckClassTheme<CXTButton, CXTButtonTheme, CXTButtonThemeFlat, CXTButtonThemeOffice2003>();
    }
    {
        SCOPED_TRACE("header");
        CheckClassTheme<CXTHeaderCtrl, CXTHeaderCtrlTheme, CXTHeaderCtrlThemeFlat, CXTHeaderCtrlThemeOffice2003>();
    }
}

TEST_F(ThemeManagerTest, ANewClassThemeLaysTheHeadersOfTheKindOutAgain)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"header", WS_POPUP | WS_VISIBLE, 30, 30, 420, 100,
                                nullptr, nullptr));
    CXTHeaderCtrl header;
    ASSERT_TRUE(header.Create(WS_CHILD | WS_VISIBLE | HDS_BUTTONS, CRect(0, 0, 400, 24), &parent, 1));
    header.SetFont(CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))));
    CXTHeaderCtrl::SetClassTheme(2);
    CRect rc;
    header.GetWindowRect(&rc);
    CClientDC dc(&header);
    CFont* pOld = dc.SelectObject(header.GetFont());
    TEXTMETRIC tm = {};
    dc.GetTextMetrics(&tm);
    dc.SelectObject(pOld);
    EXPECT_EQ(tm.tmHeight + 10, rc.Height());
    parent.DestroyWindow();
}
