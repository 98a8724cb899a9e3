// Data dragged over docking windows: over a container's tab the pane is selected, over an auto-hide panel's tab
// the pane slides out; the data is always refused, and the registration follows a window handed to a new
// element when a layout is applied.
#include "DockingTestSupport.h"
#include "EmptyDataObject.h"

#include "ui/docking/DockingPaneAutoHideWnd.h"
#include "ui/themes/InputSource.h"
#include "ui/themes/TabPainter.h"

#include <gtest/gtest.h>

namespace
{
BOOL CursorFarAway(LPPOINT lpPoint)
{
    lpPoint->x = lpPoint->y = -5000;
    return TRUE;
}

class DockingDropTargetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pfnOldCursor = CXTPInputSource::SetCursorPosSource(CursorFarAway);
        ASSERT_TRUE(m_pFrame->CreateHidden());
        Manager().SetTheme(2);
        CXTPDockingPane* pFirst = Manager().CreatePane(4000, CRect(0, 0, 220, 160), xtpPaneDockLeft);
        Manager().AttachPane(Manager().CreatePane(4001, CRect(0, 0, 220, 160), xtpPaneDockLeft), pFirst);
        Manager().CreatePane(4002, CRect(0, 0, 220, 160), xtpPaneDockRight);
        m_pFrame->RecalcLayout();
    }
    void TearDown() override
    {
        m_pFrame->DestroyWindow();
        CXTPInputSource::SetCursorPosSource(m_pfnOldCursor);
    }
    CXTPDockingPaneManager& Manager() { return m_pFrame->m_paneManager; }
    CXTPDockingPaneTabbedContainer* Container(UINT nID) { return Manager().FindPane(nID)->GetTabbedContainer(); }
    static POINTL Screen(CWnd* pWnd, CPoint pt)
    {
        pWnd->ClientToScreen(&pt);
        return POINTL{pt.x, pt.y};
    }

    CDockTestFrame* m_pFrame = new CDockTestFrame;
    CXTPInputSource::PFN_CURSORPOS m_pfnOldCursor = nullptr;
    CEmptyDataObject m_data;
};
}

TEST_F(DockingDropTargetTest, DataOverAContainersTabSelectsItsPaneAndIsRefused)
{
    CXTPDockingPaneTabbedContainer* pContainer = Container(4000);
    ASSERT_TRUE(pContainer->GetDropTarget()->IsRegistered());
    ASSERT_EQ(Manager().FindPane(4001), pContainer->GetSelected());
    IDropTarget* pTarget = pContainer->GetDropTarget()->GetDropTarget();
    CPoint ptFirstTab = pContainer->GetItem(0)->GetRect().CenterPoint();
    CPoint ptCaption(20, 8);

    // Over the caption nothing changes; over the first tab its pane is selected.
    DWORD dwEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(S_OK, pTarget->DragEnter(&m_data, MK_LBUTTON, Screen(pContainer, ptCaption), &dwEffect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), dwEffect);
    EXPECT_EQ(Manager().FindPane(4001), pContainer->GetSelected());
    dwEffect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, pTarget->DragOver(MK_LBUTTON, Screen(pContainer, ptFirstTab), &dwEffect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), dwEffect);
    EXPECT_EQ(Manager().FindPane(4000), pContainer->GetSelected());
    dwEffect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, pTarget->Drop(&m_data, 0, Screen(pContainer, ptFirstTab), &dwEffect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), dwEffect);
    EXPECT_EQ(1u, m_data.m_nRefs);

    // With the tab painter's option off, tabs stay as they are.
    pContainer->SelectPane(Manager().FindPane(4001), FALSE, FALSE);
    pContainer->GetPaintManager()->m_bSelectOnDragOver = FALSE;
    dwEffect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, pTarget->DragEnter(&m_data, MK_LBUTTON, Screen(pContainer, ptFirstTab), &dwEffect));
    EXPECT_EQ(Manager().FindPane(4001), pContainer->GetSelected());
    EXPECT_EQ(S_OK, pTarget->DragLeave());
    pContainer->GetPaintManager()->m_bSelectOnDragOver = TRUE;
}

TEST_F(DockingDropTargetTest, DataOverAPanelsTabSlidesItsPaneOutWithoutTheFocus)
{
    Manager().HidePane(Manager().FindPane(4002));
    m_pFrame->RecalcLayout();
    CXTPDockingPaneAutoHidePanel* pPanel = Manager().GetCurrentLayout()->GetAutoHidePanel(xtpPaneDockRight);
    ASSERT_NE(nullptr, pPanel);
    ASSERT_TRUE(pPanel->GetDropTarget()->IsRegistered());
    CXTPTabManagerItem* pTab = pPanel->GetTabGroups().front()->GetItem(0);
    ::SetFocus(m_pFrame->GetSafeHwnd());
    HWND hFocus = ::GetFocus();
    DWORD dwEffect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, pPanel->GetDropTarget()->GetDropTarget()->DragEnter(
                        &m_data, MK_LBUTTON, Screen(pPanel, pTab->GetRect().CenterPoint()), &dwEffect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), dwEffect);
    ASSERT_NE(nullptr, pPanel->GetSlideOutWindow());
    EXPECT_EQ(Manager().FindPane(4002)->GetTabbedContainer(), pPanel->GetSlideOutWindow()->GetContainer());
    EXPECT_EQ(hFocus, ::GetFocus());
    EXPECT_EQ(S_OK, pPanel->GetDropTarget()->GetDropTarget()->DragLeave());
}

TEST_F(DockingDropTargetTest, TheRegistrationFollowsAWindowHandedOnByALayout)
{
    Manager().HidePane(Manager().FindPane(4002));
    m_pFrame->RecalcLayout();
    CXTPDockingPaneLayout* pLayout = Manager().CreateLayout();
    Manager().GetLayout(pLayout);
    HWND hContainer = Container(4000)->GetSafeHwnd();
    HWND hPanel = Manager().GetCurrentLayout()->GetAutoHidePanel(xtpPaneDockRight)->GetSafeHwnd();
    Manager().SetLayout(pLayout);
    m_pFrame->RecalcLayout();
    pLayout->InternalRelease();
    ASSERT_EQ(hContainer, Container(4000)->GetSafeHwnd());
    CXTPDockingPaneAutoHidePanel* pPanel = Manager().GetCurrentLayout()->GetAutoHidePanel(xtpPaneDockRight);
    ASSERT_EQ(hPanel, pPanel->GetSafeHwnd());
    for (COleDropTarget* pDropTarget : {Container(4000)->GetDropTarget(), pPanel->GetDropTarget()}) {
        EXPECT_TRUE(pDropTarget->IsRegistered());
    }
    // The system knows the windows as drop targets still: a second registration is refused.
    for (HWND hWnd : {hContainer, hPanel})
        EXPECT_EQ(DRAGDROP_E_ALREADYREGISTERED, ::RegisterDragDrop(hWnd, Container(4000)->GetDropTarget()->GetDropTarget()));
    // Dragging over the handed-on container reaches its new element.
    CXTPDockingPaneTabbedContainer* pContainer = Container(4000);
    DWORD dwEffect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, pContainer->GetDropTarget()->GetDropTarget()->DragEnter(
                        &m_data, MK_LBUTTON, Screen(pContainer, pContainer->GetItem(0)->GetRect().CenterPoint()), &dwEffect));
    EXPECT_EQ(Manager().FindPane(4000), pContainer->GetSelected());
    EXPECT_EQ(S_OK, pContainer->GetDropTarget()->GetDropTarget()->DragLeave());
}
