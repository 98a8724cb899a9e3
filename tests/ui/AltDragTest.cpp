// A toolbar button pressed with Alt held is dragged as in customise mode, without the customise sheet: moved along
// its bar or into a menu that opens under it, while the bars keep the states the frame gives them. Only when the
// options, the bar and the control allow it; otherwise the press is a click. Once by real input on the test frame.
#include "FrameTestFixture.h"

#include "ui/commandbars/XTPPopupBar.h"
#include "ui/commandbars/XTPToolBar.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace
{
typedef CTestFrame::EVENT EVENT;

class AltDragTest : public CStillFrameTestFixture
{
protected:
    void SetUp() override
    {
        CStillFrameTestFixture::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(m_probe.CreateEx(0, nullptr, L"probe", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    }
    void TearDown() override
    {
        SetAltState(FALSE);
        m_probe.DestroyWindow();
        CStillFrameTestFixture::TearDown();
    }
    CXTPCommandBars* Bars() const { return m_pFrame->GetCommandBars(); }
    CXTPToolBar* ToolBar() const { return m_pFrame->GetToolBar(); }
    // The thread's own view of the Alt key, which the bars read at a press that the test sends itself.
    static void SetAltState(BOOL bDown)
    {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[VK_MENU] = bDown ? 0x80 : 0;
        ::SetKeyboardState(keys);
    }
    // A point of a bar's control, in the coordinates of a window: just inside its left or right edge.
    static CPoint ControlPoint(CXTPControl* pControl, BOOL bRight, CWnd* pWnd)
    {
        CRect rc = pControl->GetRect();
        CPoint pt(bRight ? rc.right - 3 : rc.left + 3, rc.CenterPoint().y);
        pControl->GetParent()->ClientToScreen(&pt);
        pWnd->ScreenToClient(&pt);
        return pt;
    }
    // The drag's input as it reaches the window holding the capture (the frame).
    void PostToFrame(UINT message, CPoint pt, WPARAM keys)
    {
        m_pFrame->PostMessage(message, keys, MAKELPARAM(pt.x, pt.y));
    }
    void Probe(std::function<void()> probe)
    {
        m_probe.m_probes.push_back(std::move(probe));
        m_probe.PostMessage(WM_APP);
    }
    void PressFirstButton()
    {
        CXTPControl* pFirst = ToolBar()->GetControls()->GetAt(0);
        CPoint pt = pFirst->GetRect().CenterPoint();
        ToolBar()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    }
    std::vector<EVENT> Executed(UINT nId) { return {{XTPM_CONTROLNOTIFY, nId, XTP_CN_EXECUTE}, {WM_COMMAND, nId, 0}}; }

    CProbeScriptWnd m_probe;
};
}

TEST_F(AltDragTest, AltMovesAButtonWhenTheOptionsTheBarAndTheControlAllowItElseThePressIsAClick)
{
    const std::vector<int> start = OwnIds(ToolBar());
    ASSERT_EQ(3u, start.size());
    const struct
    {
        const char* name;
        BOOL bAlt;
        BOOL bOption;
        BOOL bBarCustomizable;
        DWORD dwFlags;
        BOOL bDrags;
    } cases[] = {
        {"Alt held", TRUE, TRUE, TRUE, 0, TRUE},
        {"no Alt", FALSE, TRUE, TRUE, 0, FALSE},
        {"the options turn it off", TRUE, FALSE, TRUE, 0, FALSE},
        {"a bar that may not change", TRUE, TRUE, FALSE, 0, FALSE},
        {"a control that may not move", TRUE, TRUE, TRUE, xtpFlagNoMovable, FALSE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ToolBar()->GetControls()->RemoveAll();
        ToolBar()->LoadToolBar(IDR_FRAMETEST, FALSE);
        Layout();
        m_pFrame->m_events.clear();
        Bars()->GetCommandBarsOptions()->bAltDragCustomization = c.bOption;
        ToolBar()->SetCustomizable(c.bBarCustomizable);
        CXTPControl* pFirst = ToolBar()->GetControls()->GetAt(0);
        pFirst->SetFlags(c.dwFlags);
        // Dragged past the last button and released there; a click is released where it was pressed.
        CXTPControl* pLast = ToolBar()->GetControls()->GetAt(2);
        CPoint ptRelease = c.bDrags ? ControlPoint(pLast, TRUE, ToolBar()) : pFirst->GetRect().CenterPoint();
        if (c.bDrags)
            PostToFrame(WM_MOUSEMOVE, ControlPoint(pLast, TRUE, m_pFrame), MK_LBUTTON);
        ToolBar()->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptRelease.x, ptRelease.y));
        SetAltState(c.bAlt);
        PressFirstButton();
        SetAltState(FALSE);
        Pump();

        const std::vector<int> moved = {start[1], start[2], start[0]};
        EXPECT_EQ(c.bDrags ? moved : start, OwnIds(ToolBar()));
        EXPECT_EQ(c.bDrags ? std::vector<EVENT>() : Executed(ID_FT_NEW), m_pFrame->m_events);
        EXPECT_FALSE(Bars()->IsCustomizeMode());
        EXPECT_FALSE(Bars()->IsTemporaryCustomizeMode());
        EXPECT_EQ(nullptr, Bars()->GetDragControl());
        EXPECT_EQ(nullptr, ::GetCapture());
    }
}

TEST_F(AltDragTest, AButtonDraggedOverAMenuTitleOpensTheMenuWithTheFramesStatesAndIsDroppedInIt)
{
    m_pFrame->m_bCopyEnabled = FALSE;
    CXTPControl* pEdit = m_pFrame->GetMenuBar()->GetControls()->GetAt(1);
    CXTPCommandBar* pEditPopup = pEdit->GetCommandBar();
    ASSERT_NE(nullptr, pEditPopup);
    ASSERT_EQ((std::vector<int>{ID_FT_CUT, ID_FT_COPY, ID_FT_GRID}), OwnIds(pEditPopup));
    BOOL bOpened = FALSE, bCopyEnabled = TRUE;
    PostToFrame(WM_MOUSEMOVE, ControlPoint(pEdit, FALSE, m_pFrame), MK_LBUTTON);
    Probe([&] {
        bOpened = pEditPopup->IsTrackingMode();
        CPoint pt = pEdit->GetRect().CenterPoint();
        m_pFrame->GetMenuBar()->ClientToScreen(&pt);
        if (bOpened) {
            CXTPControl* pCopy = pEditPopup->GetControls()->FindControl(ID_FT_COPY);
            bCopyEnabled = pCopy->GetEnabled();
            // Dropped on the lower half of "Copia": after it.
            pt = pCopy->GetRect().CenterPoint() + CPoint(0, 3);
            pEditPopup->ClientToScreen(&pt);
        }
        // To the window that holds the mouse, whatever the press became.
        HWND hWndCapture = ::GetCapture();
        ::ScreenToClient(hWndCapture, &pt);
        ::PostMessageW(hWndCapture, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        ::PostMessageW(hWndCapture, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    });
    SetAltState(TRUE);
    PressFirstButton();
    SetAltState(FALSE);
    Pump();

    EXPECT_TRUE(bOpened);
    EXPECT_FALSE(bCopyEnabled) << "an Alt-drag leaves the frame's states to the controls";
    EXPECT_EQ((std::vector<int>{ID_FT_CUT, ID_FT_COPY, ID_FT_NEW, ID_FT_GRID}), OwnIds(pEditPopup));
    EXPECT_EQ((std::vector<int>{ID_FT_OPEN, ID_FT_PRINT}), OwnIds(ToolBar()));
    EXPECT_FALSE(pEditPopup->IsTrackingMode()) << "the menus close when the drag ends";
    EXPECT_FALSE(Bars()->IsCustomizeMode());
    EXPECT_TRUE(m_pFrame->m_events.empty());
}

TEST_F(AltDragTest, ByRealInputAltAndTheMouseMoveAButtonAlongItsBar)
{
    const std::vector<int> start = OwnIds(ToolBar());
    ASSERT_EQ(3u, start.size());
    CXTPControl* pFirst = ToolBar()->GetControls()->GetAt(0);
    CXTPControl* pLast = ToolBar()->GetControls()->GetAt(2);
    CPoint ptPress = pFirst->GetRect().CenterPoint();
    ToolBar()->ClientToScreen(&ptPress);
    CPoint ptDrop(pLast->GetRect().right - 3, pLast->GetRect().CenterPoint().y);
    ToolBar()->ClientToScreen(&ptDrop);
    ASSERT_EQ(m_pFrame->m_hWnd, ::GetForegroundWindow());

    INPUT press[] = {KeyInput(VK_MENU, FALSE), MouseInput(ptPress, 0), MouseInput(ptPress, MOUSEEVENTF_LEFTDOWN)};
    ::SendInput(3, press, sizeof(INPUT));
    // The drag's moves once its loop holds the capture; Alt let go after the drop.
    RunWhen([] { return ::GetCapture() != nullptr; }, [=] {
        INPUT drag[] = {MouseInput(ptPress + CPoint(8, 0), 0), MouseInput(ptDrop, 0),
                        MouseInput(ptDrop, MOUSEEVENTF_LEFTUP)};
        ::SendInput(3, drag, sizeof(INPUT));
    });
    EXPECT_TRUE(PumpUntil(m_pFrame->m_hWnd, [&] { return OwnIds(ToolBar()) != start && !::GetCapture(); }));
    EXPECT_TRUE(SendInputAndWait(m_pFrame->m_hWnd, {KeyInput(VK_MENU, TRUE)}));

    EXPECT_EQ((std::vector<int>{start[1], start[2], start[0]}), OwnIds(ToolBar()));
    EXPECT_TRUE(m_pFrame->m_events.empty());
    EXPECT_FALSE(Bars()->IsCustomizeMode());
    EXPECT_EQ(nullptr, ::GetCapture());
    // Alt let go after the drag does not hand the keyboard to the menu bar; Alt pressed alone afterwards does.
    EXPECT_FALSE(m_pFrame->GetMenuBar()->IsTrackingMode());
    SendKeys({VK_MENU});
    EXPECT_TRUE(PumpUntil(m_pFrame->m_hWnd, [&] { return m_pFrame->GetMenuBar()->IsTrackingMode(); }));
    SendKeys({VK_ESCAPE});
    Pump();
}
