// A view in a pane: AttachView makes a child frame holding a view of the class for the document, attached as the
// pane's client window and laid out with it.
#include "DockingTestSupport.h"

#include "platform/mfc/afxdoc.h"
#include "platform/mfc/afxdoctempl.h"
#include "platform/mfc/afxview.h"

#include <gtest/gtest.h>

namespace
{
class CPaneDocument : public CDocument
{
    DECLARE_DYNCREATE(CPaneDocument)
};
IMPLEMENT_DYNCREATE(CPaneDocument, CDocument)

class CPaneView : public CView
{
    DECLARE_DYNCREATE(CPaneView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CPaneView, CView)

class COtherPaneView : public CPaneView
{
    DECLARE_DYNCREATE(COtherPaneView)
};
IMPLEMENT_DYNCREATE(COtherPaneView, CPaneView)

class DockingAttachViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_document.m_bAutoDelete = FALSE;   // a member of the test, not of a template
        m_pFrame = new CDockTestFrame;
        ASSERT_TRUE(m_pFrame->CreateHidden());
        m_pPane = m_pFrame->m_paneManager.CreatePane(4000, CRect(0, 0, 200, 150), xtpPaneDockLeft);
        m_pFrame->RecalcLayout();
    }
    void TearDown() override { m_pFrame->DestroyWindow(); }

    CDockTestFrame* m_pFrame = nullptr;
    CXTPDockingPane* m_pPane = nullptr;
    CPaneDocument m_document;
};
}

TEST_F(DockingAttachViewTest, TheViewLivesInAChildFrameAttachedToThePane)
{
    CWnd* pView = m_pPane->AttachView(m_pFrame, RUNTIME_CLASS(CPaneView), &m_document);
    ASSERT_NE(nullptr, pView);
    EXPECT_TRUE(pView->IsKindOf(RUNTIME_CLASS(CPaneView)));
    EXPECT_EQ(AFX_IDW_PANE_FIRST, pView->GetDlgCtrlID());
    EXPECT_EQ(&m_document, static_cast<CView*>(pView)->GetDocument());
    // Its frame is the pane's window: a child without an edge, inside the pane's container.
    HWND hFrame = ::GetParent(pView->GetSafeHwnd());
    EXPECT_EQ(hFrame, m_pPane->GetChild());
    EXPECT_TRUE(dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(hFrame)));
    DWORD dwStyle = static_cast<DWORD>(::GetWindowLongPtrW(hFrame, GWL_STYLE));
    EXPECT_EQ(static_cast<DWORD>(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
              dwStyle & (WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_POPUP | WS_CAPTION));
    EXPECT_FALSE(::GetWindowLongPtrW(hFrame, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(m_pPane->GetTabbedContainer()->GetSafeHwnd(), ::GetParent(hFrame));

    // Laid out with the pane: the frame takes the pane's place, the view the frame's client area.
    m_pFrame->RecalcLayout();
    CRect rcFrame, rcView, rcPane = m_pPane->GetPaneWindowRect();
    ::GetClientRect(hFrame, &rcFrame);
    ASSERT_FALSE(rcPane.IsRectEmpty());
    EXPECT_EQ(rcPane.Size(), rcFrame.Size());
    pView->GetWindowRect(rcView);
    EXPECT_EQ(rcFrame.Size(), rcView.Size());
}

TEST_F(DockingAttachViewTest, AGivenContextNamesTheViewAndAClassThatIsNoWindowAttachesNothing)
{
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(COtherPaneView);
    context.m_pCurrentDoc = &m_document;
    CWnd* pView = m_pPane->AttachView(m_pFrame, RUNTIME_CLASS(CPaneView), nullptr, &context);
    ASSERT_NE(nullptr, pView);
    EXPECT_TRUE(pView->IsKindOf(RUNTIME_CLASS(COtherPaneView)));
    EXPECT_EQ(&m_document, static_cast<CView*>(pView)->GetDocument());

    m_pPane->Detach();
    EXPECT_EQ(nullptr, m_pPane->AttachView(m_pFrame, RUNTIME_CLASS(CPaneDocument), &m_document));
    EXPECT_FALSE(m_pPane->IsValid());
}
