// The tab manager without a window: items, selection, bad indexes, hit testing and keyboard navigation.
#include "TabTestManager.h"

#include "ui/themes/TipContext.h"

#include <gtest/gtest.h>

namespace
{
class TabManagerTest : public ::testing::Test
{
protected:
    CTestTabManager m_manager;

    void SetUp() override { m_manager.AddTabs({L"Entrate", L"Spese", L"Riepilogo"}); }
};
}

TEST_F(TabManagerTest, BadIndexesAreClampedOrRefused)
{
    m_manager.SetCurSel(99);
    EXPECT_EQ(2, m_manager.GetCurSel());
    m_manager.SetCurSel(-5);
    EXPECT_EQ(0, m_manager.GetCurSel());
    EXPECT_FALSE(m_manager.DeleteItem(3));
    EXPECT_FALSE(m_manager.DeleteItem(-1));
    EXPECT_EQ(nullptr, m_manager.GetItem(3));
    EXPECT_EQ(nullptr, m_manager.GetItem(-1));
    EXPECT_EQ(3, m_manager.GetItemCount());

    // Insertion beyond the end appends; a move beyond the end goes last.
    CXTPTabManagerItem* pItem = m_manager.InsertItem(42);
    EXPECT_EQ(3, pItem->GetIndex());
    m_manager.MoveItem(m_manager.GetItem(0), 17);
    EXPECT_EQ(L"Spese", m_manager.GetItem(0)->GetCaption());
    EXPECT_EQ(L"Entrate", m_manager.GetItem(3)->GetCaption());
    for (int i = 0; i < m_manager.GetItemCount(); i++)
        EXPECT_EQ(i, m_manager.GetItem(i)->GetIndex());

    m_manager.DeleteAllItems();
    m_manager.SetCurSel(0);
    EXPECT_EQ(nullptr, m_manager.GetSelectedItem());
    EXPECT_EQ(-1, m_manager.GetCurSel());
}

TEST_F(TabManagerTest, ForeignMissingAndUnselectableItemsChangeNothing)
{
    CTestTabManager other;
    other.AddTabs({L"Altro"});
    m_manager.MoveItem(other.GetItem(0), 0);
    m_manager.MoveItem(nullptr, 0);
    m_manager.MoveItem(m_manager.GetItem(1), 1);
    EXPECT_EQ(3, m_manager.GetItemCount());
    EXPECT_EQ(L"Spese", m_manager.GetItem(1)->GetCaption());
    EXPECT_EQ(&other, other.GetItem(0)->GetTabManager());
    EXPECT_EQ(nullptr, m_manager.FindNavigateButton(7));

    // With every tab disabled or hidden nothing is selectable, and keys select nothing.
    m_manager.GetItem(0)->SetEnabled(FALSE);
    m_manager.GetItem(1)->SetVisible(FALSE);
    m_manager.GetItem(2)->SetEnabled(FALSE);
    EXPECT_EQ(nullptr, m_manager.FindNextSelectableItem(-1, 1));
    EXPECT_EQ(nullptr, m_manager.FindNextSelectableItem(3, -1));
    for (UINT nKey : {VK_HOME, VK_END, VK_RIGHT}) {
        EXPECT_TRUE(m_manager.OnKeyDown(nullptr, nKey));
        EXPECT_EQ(nullptr, m_manager.GetSelectedItem()) << nKey;
    }

    // An empty strip: no hit, no selection, scrolling stays at 0.
    m_manager.DeleteAllItems();
    EXPECT_EQ(nullptr, m_manager.HitTest(CPoint(10, 10)));
    EXPECT_FALSE(m_manager.DeleteItem(0));
    m_manager.OnNavigateScroll(FALSE);
    EXPECT_EQ(0, m_manager.GetHeaderOffset());
    m_manager.m_pPainter->EnsureVisible(&m_manager, nullptr);
    EXPECT_EQ(0, m_manager.GetHeaderOffset());
}

TEST_F(TabManagerTest, DeletingTheSelectedTabSelectsItsSuccessor)
{
    m_manager.SetCurSel(1);
    ASSERT_TRUE(m_manager.DeleteItem(1));
    EXPECT_EQ(L"Riepilogo", m_manager.GetSelectedItem()->GetCaption());
    // The last one: the new last tab.
    ASSERT_TRUE(m_manager.DeleteItem(1));
    EXPECT_EQ(L"Entrate", m_manager.GetSelectedItem()->GetCaption());
    ASSERT_TRUE(m_manager.DeleteItem(0));
    EXPECT_EQ(nullptr, m_manager.GetSelectedItem());
}

TEST_F(TabManagerTest, DeletingTheHotTabClearsTheHotItem)
{
    m_manager.SetHotItem(m_manager.GetItem(2));
    ASSERT_TRUE(m_manager.DeleteItem(2));
    EXPECT_EQ(nullptr, m_manager.GetHotItem());
    // Drawing after the deletion reads no freed tab.
    CPixelCanvas canvas(300, 100);
    m_manager.Paint(&canvas);
    m_manager.SetHotItem(m_manager.GetItem(0));
    m_manager.DeleteAllItems();
    EXPECT_EQ(nullptr, m_manager.GetHotItem());
}

TEST_F(TabManagerTest, InsertedTabsCycleThroughThePredefinedColours)
{
    for (int i = 3; i < 9; i++)
        m_manager.InsertItem(-1);
    EXPECT_EQ(0xE4A88Au, m_manager.GetItem(0)->GetColor());
    EXPECT_EQ(0xC0ABD8u, m_manager.GetItem(7)->GetColor());
    EXPECT_EQ(m_manager.GetItem(0)->GetColor(), m_manager.GetItem(8)->GetColor());
    m_manager.GetItem(1)->SetColor(RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), m_manager.GetItem(1)->GetColor());
}

TEST_F(TabManagerTest, HitTestIgnoresDisabledAndHiddenTabsAndPointsOutsideTheHeader)
{
    CPoint ptTab0 = m_manager.GetItem(0)->GetRect().CenterPoint();
    CPoint ptTab2 = m_manager.GetItem(2)->GetRect().CenterPoint();
    EXPECT_EQ(m_manager.GetItem(0), m_manager.HitTest(ptTab0));
    m_manager.GetItem(0)->SetEnabled(FALSE);
    EXPECT_EQ(nullptr, m_manager.HitTest(ptTab0));
    m_manager.GetItem(2)->SetVisible(FALSE);
    EXPECT_TRUE(m_manager.GetItem(2)->GetRect().IsRectEmpty());
    EXPECT_EQ(nullptr, m_manager.HitTest(ptTab2));
    EXPECT_EQ(nullptr, m_manager.HitTest(CPoint(ptTab0.x, m_manager.GetHeaderRect().bottom + 5)));
    EXPECT_EQ(nullptr, m_manager.HitTest(CPoint(-3, 5)));
}

TEST_F(TabManagerTest, ChangesRelayOutOnlyWhenSomethingChanged)
{
    int nLayouts = m_manager.m_nLayouts;
    m_manager.GetItem(0)->SetCaption(L"Entrate");
    m_manager.GetItem(0)->SetVisible(TRUE);
    m_manager.GetItem(0)->SetEnabled(TRUE);
    m_manager.SetHeaderOffset(0);
    EXPECT_EQ(nLayouts, m_manager.m_nLayouts);
    m_manager.GetItem(0)->SetCaption(L"Entrate correnti");
    EXPECT_EQ(nLayouts + 1, m_manager.m_nLayouts);
}

TEST_F(TabManagerTest, KeysMoveAlongTheStripOnly)
{
    struct Case
    {
        int nPosition;
        UINT nKey;
        int nFrom;
        int nExpected;   // -2: swallowed with the selection unchanged
        BOOL bHandled;
    } cases[] = {
        {CXTPTabPainter::positionTop, VK_RIGHT, 0, 1, TRUE},
        {CXTPTabPainter::positionTop, VK_LEFT, 1, 0, TRUE},
        {CXTPTabPainter::positionTop, VK_LEFT, 0, 0, TRUE},       // already first
        {CXTPTabPainter::positionTop, VK_RIGHT, 3, 3, TRUE},      // already last
        {CXTPTabPainter::positionBottom, VK_RIGHT, 1, 3, TRUE},   // skips the disabled and the hidden tab
        {CXTPTabPainter::positionTop, VK_DOWN, 0, 0, TRUE},       // across the strip: swallowed
        {CXTPTabPainter::positionLeft, VK_LEFT, 1, 1, TRUE},
        {CXTPTabPainter::positionLeft, VK_DOWN, 0, 1, TRUE},
        {CXTPTabPainter::positionRight, VK_UP, 3, 1, TRUE},
        {CXTPTabPainter::positionTop, VK_HOME, 3, 0, TRUE},
        {CXTPTabPainter::positionLeft, VK_END, 0, 3, TRUE},
        {CXTPTabPainter::positionTop, VK_TAB, 0, 0, FALSE},
    };
    m_manager.AddTabs({L"Note", L"Allegati"});
    m_manager.GetItem(2)->SetEnabled(FALSE);
    m_manager.GetItem(3)->SetVisible(FALSE);
    // Index 3 above stands for the last selectable tab.
    for (const Case& c : cases) {
        int nFrom = c.nFrom == 3 ? 4 : c.nFrom;
        int nExpected = c.nExpected == 3 ? 4 : c.nExpected;
        m_manager.SetPosition(c.nPosition);
        m_manager.SetCurSel(nFrom);
        EXPECT_EQ(c.bHandled, m_manager.OnKeyDown(nullptr, c.nKey)) << c.nPosition << " key " << c.nKey;
        EXPECT_EQ(nExpected, m_manager.GetCurSel()) << c.nPosition << " key " << c.nKey << " from " << nFrom;
    }
    m_manager.DeleteAllItems();
    EXPECT_FALSE(m_manager.OnKeyDown(nullptr, VK_RIGHT));
}

TEST_F(TabManagerTest, NavigateScrollMovesByTheStep)
{
    m_manager.AddTabs({L"Note", L"Allegati", L"Indici", L"Tabelle", L"Grafici", L"Sintesi", L"Controlli"});
    m_manager.OnNavigateScroll(TRUE);
    EXPECT_EQ(-20, m_manager.GetHeaderOffset());
    m_manager.OnNavigateScroll(FALSE);
    m_manager.OnNavigateScroll(FALSE);
    EXPECT_EQ(0, m_manager.GetHeaderOffset());
}

TEST_F(TabManagerTest, ToolHitTestFollowsTheTooltipMode)
{
    m_manager.GetItem(0)->SetTooltip(L"Entrate dell'esercizio");
    struct Case { int nMode; int nItem; BOOL bShortened; INT_PTR nExpected; } cases[] = {
        {0, 0, TRUE, -1}, {1, 0, FALSE, 0}, {1, 1, FALSE, -1}, {2, 0, FALSE, -1}, {2, 0, TRUE, 0}, {1, -1, FALSE, -1},
    };
    for (const Case& c : cases) {
        m_manager.m_pPainter->m_nToolTipMode = c.nMode;
        CXTPTabManagerItem* pItem = m_manager.GetItem(c.nItem);
        if (pItem)
            pItem->SetLength(pItem->GetContentLength() - (c.bShortened ? 10 : 0));
        TTTOOLINFOW info = {};
        info.cbSize = TTTOOLINFOW_V1_SIZE;
        EXPECT_EQ(c.nExpected, m_manager.OnToolHitTest(nullptr, pItem, &info)) << c.nMode << " " << c.nItem;
        if (c.nExpected >= 0) {
            EXPECT_STREQ(L"Entrate dell'esercizio", info.lpszText);
            EXPECT_EQ(m_manager.GetItem(0)->GetRect(), CRect(info.rect));
        }
        ::free(info.lpszText);
    }
    // A titled tool information carries the caption as the title over the tooltip.
    m_manager.m_pPainter->m_nToolTipMode = 1;
    TTTOOLINFOW titled = {};
    titled.cbSize = CTipContext::titledToolInfoSize;
    ASSERT_EQ(0, m_manager.OnToolHitTest(nullptr, m_manager.GetItem(0), &titled));
    const XTP_TOOLTIP_TITLE* pTitle = reinterpret_cast<const XTP_TOOLTIP_TITLE*>(titled.lParam);
    ASSERT_NE(nullptr, pTitle);
    EXPECT_STREQ(L"Entrate", pTitle->lpszTitle);
    EXPECT_STREQ(L"Entrate dell'esercizio", pTitle->lpszDescription);
    ::free(pTitle->lpszTitle);
    ::free(pTitle->lpszDescription);
    ::free(const_cast<XTP_TOOLTIP_TITLE*>(pTitle));
    ::free(titled.lpszText);
}
