// The customise drag of a control on a frame in customise mode: the loop's messages are queued before the drag
// starts, so each case is a script of what the user does; a probe in the script reads the drag's state (target,
// cursor) while the loop runs.
#include "FrameTestSupport.h"
#include "support/MessageBoxRecorder.h"

#include "ui/commandbars/XTPCustomizeDropSource.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/uires.h"

#include <gtest/gtest.h>

namespace
{
enum STEP_KIND
{
    stepMove,        // the pointer over a control of the toolbar: its index, before (0) or after (1) its centre
    stepMoveAway,    // the pointer over the frame's client area, on no bar
    stepCtrlDown,
    stepCtrlUp,
    stepEscape,
    stepRightDown,
    stepRelease,
    stepCursor,      // the cursor shown now: its resource id
    stepLoseCapture, // another window takes the capture
    stepCancelMode,  // the capture window is told to cancel its modes
};

struct STEP
{
    STEP_KIND kind;
    int nValue = 0;
    int nAfter = 0;
};

class CustomizeDragTest : public ::testing::Test
{
protected:
    CTestFrame* m_pFrame = nullptr;
    CProbeScriptWnd m_probe;
    CMessageBoxRecorder m_boxes;   // the reset's question, answered OK
    BOOL m_bCtrl = FALSE;
    std::vector<UINT> m_cursors;

    void SetUp() override
    {
        m_pFrame = CreateTestFrame();
        ASSERT_NE(nullptr, m_pFrame);
        ASSERT_TRUE(m_probe.CreateEx(0, nullptr, L"probe", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        Bars()->SetCustomizeMode(TRUE);
        PumpFrame(m_pFrame->m_hWnd);
    }
    void TearDown() override
    {
        if (m_pFrame) {
            Bars()->SetCustomizeMode(FALSE);
            m_pFrame->DestroyWindow();
        }
        m_probe.DestroyWindow();
        PumpFrame(nullptr);
    }
    CXTPCommandBars* Bars() const { return m_pFrame->GetCommandBars(); }
    CXTPToolBar* ToolBar() const { return m_pFrame->GetToolBar(); }
    // A point of a toolbar control in the frame's client coordinates (the capture window's).
    CPoint FramePoint(CXTPCommandBar* pBar, int nIndex, int nAfter) const
    {
        CRect rc = pBar->GetControls()->GetAt(nIndex)->GetRect();
        CPoint pt(nAfter ? rc.right - 3 : rc.left + 3, rc.CenterPoint().y);
        pBar->ClientToScreen(&pt);
        m_pFrame->ScreenToClient(&pt);
        return pt;
    }
    void PostMouse(UINT message, CPoint pt, WPARAM keys)
    {
        m_pFrame->PostMessage(message, keys | (m_bCtrl ? MK_CONTROL : 0), MAKELPARAM(pt.x, pt.y));
    }
    void Queue(CXTPCommandBar* pBar, const std::vector<STEP>& steps)
    {
        CPoint ptLast(0, 0);
        for (const STEP& step : steps) {
            switch (step.kind) {
            case stepMove:
                ptLast = FramePoint(pBar, step.nValue, step.nAfter);
                PostMouse(WM_MOUSEMOVE, ptLast, MK_LBUTTON);
                break;
            case stepMoveAway: {
                CRect rc;
                m_pFrame->GetClientRect(&rc);
                ptLast = CPoint(rc.CenterPoint().x, rc.bottom - 40);
                PostMouse(WM_MOUSEMOVE, ptLast, MK_LBUTTON);
                break;
            }
            case stepCtrlDown:
                m_bCtrl = TRUE;
                m_pFrame->PostMessage(WM_KEYDOWN, VK_CONTROL, 0);
                break;
            case stepCtrlUp:
                m_bCtrl = FALSE;
                m_pFrame->PostMessage(WM_KEYUP, VK_CONTROL, 0);
                break;
            case stepEscape: m_pFrame->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0); break;
            case stepRightDown: PostMouse(WM_RBUTTONDOWN, ptLast, MK_LBUTTON | MK_RBUTTON); break;
            case stepRelease: PostMouse(WM_LBUTTONUP, ptLast, 0); break;
            case stepCursor:
                m_probe.m_probes.push_back([this] {
                    UINT nId = Bars()->GetDropSource()->GetCursorId();
                    // What the user sees is that resource's cursor.
                    m_cursors.push_back(::GetCursor() == XTPGetResourceLoader()->LoadCursor(nId) ? nId : 0);
                });
                m_probe.PostMessage(WM_APP);
                break;
            case stepLoseCapture:
                m_probe.m_probes.push_back([this] { ::SetCapture(m_probe.m_hWnd); });
                m_probe.PostMessage(WM_APP);
                break;
            case stepCancelMode:
                m_probe.m_probes.push_back([this] { ::SendMessageW(::GetCapture(), WM_CANCELMODE, 0, 0); });
                m_probe.PostMessage(WM_APP);
                break;
            }
        }
    }
};
}

TEST_F(CustomizeDragTest, ADraggedButtonIsMovedCopiedRemovedOrLeftAsTheUserEndsTheDrag)
{
    const std::vector<int> start = OwnIds(ToolBar());
    ASSERT_EQ(3u, start.size());
    const int a = start[0], b = start[1], c = start[2];
    const struct
    {
        const char* name;
        std::vector<STEP> steps;
        std::vector<int> ids;
        std::vector<UINT> cursors;
    } cases[] = {
        {"move after the last", {{stepMove, 1}, {stepMove, 2, 1}, {stepCursor}, {stepRelease}}, {b, c, a},
         {XTP_IDC_CUSTOMIZE_DRAGMOVE}},
        {"Ctrl copies",
         {{stepMove, 1}, {stepCtrlDown}, {stepMove, 2, 1}, {stepCursor}, {stepRelease}},
         {a, b, c, a},
         {XTP_IDC_CUSTOMIZE_DRAGCOPY}},
        {"Ctrl released moves again",
         {{stepMove, 1}, {stepCtrlDown}, {stepCursor}, {stepCtrlUp}, {stepCursor}, {stepMove, 2, 1}, {stepRelease}},
         {b, c, a},
         {XTP_IDC_CUSTOMIZE_DRAGCOPY, XTP_IDC_CUSTOMIZE_DRAGMOVE}},
        {"released on no bar", {{stepMove, 1}, {stepMoveAway}, {stepCursor}, {stepRelease}}, {b, c},
         {XTP_IDC_CUSTOMIZE_DRAGNONE}},
        {"Esc", {{stepMove, 2, 1}, {stepEscape}, {stepRelease}}, {a, b, c}, {}},
        {"right button", {{stepMove, 2, 1}, {stepRightDown}, {stepRelease}}, {a, b, c}, {}},
        {"capture taken away", {{stepMove, 2, 1}, {stepLoseCapture}, {stepRelease}}, {a, b, c}, {}},
        {"WM_CANCELMODE", {{stepMove, 2, 1}, {stepCancelMode}, {stepRelease}}, {a, b, c}, {}},
        {"dropped on its own place", {{stepMove, 0, 1}, {stepRelease}}, {a, b, c}, {}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        // Each case starts from the program's buttons.
        ToolBar()->Reset();
        ASSERT_EQ(start, OwnIds(ToolBar()));
        m_cursors.clear();
        m_probe.m_probes.clear();
        m_probe.m_nNext = 0;
        m_bCtrl = FALSE;
        Queue(ToolBar(), test.steps);
        CXTPControl* pDragged = ToolBar()->GetControls()->GetAt(0);
        pDragged->OnCustomizeDragStart(pDragged->GetRect().CenterPoint());
        EXPECT_EQ(test.ids, OwnIds(ToolBar()));
        EXPECT_EQ(test.cursors, m_cursors);
        EXPECT_NE(m_pFrame->m_hWnd, ::GetCapture());
        EXPECT_EQ(nullptr, Bars()->GetDropSource()->GetTarget());
        ::ReleaseCapture();
        PumpFrame(m_pFrame->m_hWnd, 20);
    }
}

// The group a removed button began passes to the next control, but the bar's own buttons take none: no separator
// is drawn before them.
TEST_F(CustomizeDragTest, AButtonDraggedOffTheEndLeavesNoGroupOnTheBarsOwnButtons)
{
    CXTPControls* pControls = ToolBar()->GetControls();
    CXTPControl* pLast = pControls->GetAt(2);
    pLast->SetBeginGroup(TRUE);
    Queue(ToolBar(), {{stepMove, 2}, {stepMoveAway}, {stepRelease}});
    pLast->OnCustomizeDragStart(pLast->GetRect().CenterPoint());
    ::ReleaseCapture();
    ASSERT_EQ(2u, OwnIds(ToolBar()).size());
    CXTPControl* pExpand = pControls->FindControl(XTP_ID_TOOLBAR_EXPAND);
    ASSERT_NE(nullptr, pExpand);
    EXPECT_FALSE(pExpand->GetBeginGroup());
    CXTPToolBarCloseButton close;
    close.SetBeginGroup(TRUE);
    EXPECT_FALSE(close.GetBeginGroup());
}

TEST_F(CustomizeDragTest, AButtonMovesToAnotherBarAndBecomesTheDragControlThere)
{
    CXTPToolBar* pSecond = Bars()->Add(L"Seconda", xtpBarTop);
    ASSERT_NE(nullptr, pSecond);
    pSecond->GetControls()->Add(xtpControlButton, ID_FT_CUT);
    m_pFrame->RecalcLayout();
    PumpFrame(m_pFrame->m_hWnd);
    EXPECT_TRUE(Bars()->GetDropSource()->IsRegistered(pSecond));
    const std::vector<int> start = OwnIds(ToolBar());
    CPoint pt = FramePoint(pSecond, 0, 1);
    PostMouse(WM_MOUSEMOVE, pt, MK_LBUTTON);
    PostMouse(WM_LBUTTONUP, pt, 0);
    CXTPControl* pDragged = ToolBar()->GetControls()->GetAt(0);
    pDragged->OnCustomizeDragStart(pDragged->GetRect().CenterPoint());
    EXPECT_EQ(std::vector<int>(start.begin() + 1, start.end()), OwnIds(ToolBar()));
    ASSERT_EQ((std::vector<int>{ID_FT_CUT, start[0]}), OwnIds(pSecond));
    EXPECT_EQ(pSecond->GetControls()->GetAt(1), Bars()->GetDragControl());
}

TEST_F(CustomizeDragTest, ABarDestroyedUnderTheDragIsNoTargetAndTheDropFindsNoBar)
{
    CXTPToolBar* pSecond = Bars()->Add(L"Seconda", xtpBarTop);
    ASSERT_NE(nullptr, pSecond);
    pSecond->GetControls()->Add(xtpControlButton, ID_FT_CUT);
    m_pFrame->RecalcLayout();
    PumpFrame(m_pFrame->m_hWnd);
    const std::vector<int> start = OwnIds(ToolBar());
    CPoint pt = FramePoint(pSecond, 0, 1);
    CXTPCustomizeDropSource* pDropSource = Bars()->GetDropSource();
    CXTPCommandBar* pTargetBefore = nullptr;
    m_probe.m_probes.push_back([&] {
        pTargetBefore = pDropSource->GetTarget();
        pSecond->DestroyWindow();
    });
    PostMouse(WM_MOUSEMOVE, pt, MK_LBUTTON);
    m_probe.PostMessage(WM_APP);
    PostMouse(WM_LBUTTONUP, pt, 0);
    CXTPControl* pDragged = ToolBar()->GetControls()->GetAt(0);
    pDragged->OnCustomizeDragStart(pDragged->GetRect().CenterPoint());
    EXPECT_EQ(pSecond, pTargetBefore);
    EXPECT_FALSE(pDropSource->IsRegistered(pSecond));
    EXPECT_EQ(std::vector<int>{ID_FT_CUT}, OwnIds(pSecond));
    // Released where no bar is: the button left its bar.
    EXPECT_EQ(std::vector<int>(start.begin() + 1, start.end()), OwnIds(ToolBar()));
}

TEST_F(CustomizeDragTest, ADragThatMayOnlyCopyShowsTheCopyCursorAndLeavesItsControl)
{
    CXTPControl* pCommand = ToolBar()->GetControls()->GetAt(1)->Clone(FALSE);
    const std::vector<int> start = OwnIds(ToolBar());
    UINT nCursor = 0;
    DROPEFFECT nEffect = 0;
    m_probe.m_probes.push_back([&] { nCursor = Bars()->GetDropSource()->GetCursorId(); });
    PostMouse(WM_MOUSEMOVE, FramePoint(ToolBar(), 0, 0), MK_LBUTTON);
    m_probe.PostMessage(WM_APP);
    PostMouse(WM_LBUTTONUP, FramePoint(ToolBar(), 0, 0), 0);
    nEffect = Bars()->GetDropSource()->DoDragDrop(pCommand, TRUE);
    EXPECT_EQ(static_cast<DROPEFFECT>(DROPEFFECT_COPY), nEffect);
    EXPECT_EQ(static_cast<UINT>(XTP_IDC_CUSTOMIZE_DRAGCOPY), nCursor);
    std::vector<int> expected = {start[1]};
    expected.insert(expected.end(), start.begin(), start.end());
    EXPECT_EQ(expected, OwnIds(ToolBar()));
    pCommand->InternalRelease();
}

TEST_F(CustomizeDragTest, AMenuOpensUnderADraggedButtonButNotUnderAMenuThatHoldsIt)
{
    auto* pFile = static_cast<CXTPControlPopup*>(m_pFrame->GetMenuBar()->GetControls()->GetAt(0));
    CXTPCommandBar* pFilePopup = pFile->GetCommandBar();
    ASSERT_NE(nullptr, pFilePopup);
    CXTPControlPopup* pRecent = nullptr;
    for (int i = 0; i < pFilePopup->GetControls()->GetCount() && !pRecent; i++)
        pRecent = dynamic_cast<CXTPControlPopup*>(pFilePopup->GetControls()->GetAt(i));
    ASSERT_NE(nullptr, pRecent);
    CXTPCommandBar* pRecentPopup = pRecent->GetCommandBar();
    CXTPControl* pButton = ToolBar()->GetControls()->GetAt(0);

    pFile->OnCustomizeDragOver(pButton, pFile->GetRect().CenterPoint());
    ASSERT_TRUE(pFilePopup->IsTrackingMode());
    pRecent->OnCustomizeDragOver(pButton, pRecent->GetRect().CenterPoint());
    EXPECT_TRUE(pRecentPopup->IsTrackingMode());
    EXPECT_EQ(pRecent->GetIndex(), pFilePopup->GetSelectedIndex());

    // "File" dropped in "Recenti" would go inside itself: "Recenti" closes and is no longer chosen.
    pRecent->OnCustomizeDragOver(pFile, pRecent->GetRect().CenterPoint());
    EXPECT_FALSE(pRecentPopup->IsTrackingMode());
    EXPECT_EQ(-1, pFilePopup->GetSelectedIndex());

    // A menu that may not change takes no controls: it stays shut.
    pRecentPopup->SetCustomizable(FALSE);
    pRecent->OnCustomizeDragOver(pButton, pRecent->GetRect().CenterPoint());
    EXPECT_FALSE(pRecentPopup->IsTrackingMode());
    Bars()->ClosePopups();
}
