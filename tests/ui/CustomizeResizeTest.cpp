// A field's width dragged by one of its side edges in customise mode: the loop's mouse messages are queued before
// the press, a probe among them reads what the user sees while the loop runs; the edge and width rules as tables.
#include "FrameTestSupport.h"

#include "ui/commandbars/XTPControlComboBox.h"
#include "ui/commandbars/XTPControlEdit.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/uires.h"

#include <gtest/gtest.h>

#include <functional>

TEST(CustomizeResize, ThePressTakesAnEdgeWithinTwoPixels)
{
    const CRect rc(10, 0, 110, 20);
    struct Case
    {
        int x, nEdge;
    } cases[] = {{10, -1}, {12, -1}, {13, 0}, {60, 0}, {107, 0}, {108, 1}, {109, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(c.nEdge, GetCustomizeResizeEdge(rc, CPoint(c.x, 10))) << c.x;
}

TEST(CustomizeResize, TheDraggedEdgeFollowsTheMouseDownToTheMinimumWidth)
{
    const CRect rc(10, 0, 110, 20);
    struct Case
    {
        int nEdge, dx, nMinWidth;
        CRect expected;
    } cases[] = {
        {1, 30, 10, CRect(10, 0, 140, 20)},  {1, -95, 10, CRect(10, 0, 20, 20)},  {1, -95, 0, CRect(10, 0, 15, 20)},
        {-1, -20, 10, CRect(-10, 0, 110, 20)}, {-1, 95, 10, CRect(100, 0, 110, 20)}, {0, 30, 10, rc},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, GetCustomizeResizedRect(rc, c.nEdge, c.dx, c.nMinWidth)) << c.nEdge << " " << c.dx;
}

namespace
{
// A window whose posted message runs a probe inside the resize loop.
class CProbeWnd : public CWnd
{
public:
    std::function<void()> m_probe;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_APP && m_probe) {
            m_probe();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class CustomizeResizeTest : public ::testing::Test
{
protected:
    CTestFrame* m_pFrame = nullptr;
    CXTPToolBar* m_pBar = nullptr;
    CXTPControlEdit* m_pEdit = nullptr;
    CProbeWnd m_probe;

    void SetUp() override
    {
        m_pFrame = CreateTestFrame();
        ASSERT_NE(nullptr, m_pFrame);
        m_pBar = m_pFrame->GetToolBar();
        m_pEdit = static_cast<CXTPControlEdit*>(m_pBar->GetControls()->Add(xtpControlEdit, 31050));
        m_pEdit->SetWidth(100);
        ASSERT_TRUE(m_probe.CreateEx(0, nullptr, L"probe", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        m_pFrame->GetCommandBars()->SetCustomizeMode(TRUE);
        m_pFrame->RecalcLayout();
        PumpFrame(m_pFrame->m_hWnd);
        m_pFrame->GetCommandBars()->SetDragControl(m_pEdit);
    }
    void TearDown() override
    {
        if (m_pFrame) {
            m_pFrame->GetCommandBars()->SetCustomizeMode(FALSE);
            m_pFrame->DestroyWindow();
        }
        m_probe.DestroyWindow();
        PumpFrame(nullptr);
    }
    void PostToBar(UINT message, WPARAM wParam, CPoint pt)
    {
        m_pBar->PostMessage(message, wParam, MAKELPARAM(pt.x, pt.y));
    }
};
}

TEST_F(CustomizeResizeTest, AnEdgeOfTheDragControlDraggedGivesItsNewWidth)
{
    enum { release, escape, quit };
    struct Case
    {
        const char* pszWhat;
        BOOL bRightEdge;
        int dx, nEnd, nWidth;
    } cases[] = {
        {"right edge, wider", TRUE, 30, release, 130},
        {"left edge, wider", FALSE, -20, release, 120},
        {"right edge, below the minimum", TRUE, -200, release, 10},
        {"escape", TRUE, 30, escape, 100},
        {"quit request", TRUE, 30, quit, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        m_pEdit->SetWidth(100);
        m_pFrame->RecalcLayout();
        PumpFrame(m_pFrame->m_hWnd);
        const CRect rc = m_pEdit->GetRect();
        ASSERT_EQ(100, rc.Width());
        CPoint ptPress(c.bRightEdge ? rc.right - 1 : rc.left + 1, rc.CenterPoint().y);
        CPoint ptTo = ptPress + CPoint(c.dx, 0);

        BOOL bCapture = FALSE, bCursor = FALSE;
        m_probe.m_probe = [&] {
            bCapture = ::GetCapture() == m_pBar->m_hWnd;
            bCursor = ::GetCursor() == XTPGetResourceLoader()->LoadCursor(XTP_IDC_CUSTOMIZE_RESIZE);
        };
        PostToBar(WM_MOUSEMOVE, MK_LBUTTON, ptTo);
        m_probe.PostMessage(WM_APP);
        if (c.nEnd == release)
            PostToBar(WM_LBUTTONUP, 0, ptTo);
        else if (c.nEnd == escape)
            m_pBar->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        else
            ::PostQuitMessage(6);
        m_pBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptPress.x, ptPress.y));

        EXPECT_TRUE(bCapture);
        EXPECT_TRUE(bCursor);
        EXPECT_EQ(nullptr, ::GetCapture());
        EXPECT_EQ(c.nWidth, m_pEdit->GetWidth());
        EXPECT_EQ(m_pEdit, m_pFrame->GetCommandBars()->GetDragControl());
        EXPECT_EQ(m_pEdit, m_pBar->GetControls()->FindControl(31050)) << "the field stays on its bar";
        MSG msg;
        EXPECT_EQ(c.nEnd == quit, ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && msg.wParam == 6);
        if (c.nWidth != 100) {
            // The bar's layout gives the field its new width.
            PumpFrame(m_pFrame->m_hWnd);
            EXPECT_EQ(c.nWidth, m_pEdit->GetRect().Width());
        }
    }
}

TEST_F(CustomizeResizeTest, OnlyAnEdgeOfAControlWithAnAdjustableWidthIsTaken)
{
    const CRect rc = m_pEdit->GetRect();
    EXPECT_FALSE(m_pEdit->OnCustomizeResize(rc.CenterPoint()));
    EXPECT_EQ(nullptr, ::GetCapture());
    auto* pCombo = static_cast<CXTPControlComboBox*>(m_pBar->GetControls()->Add(xtpControlComboBox, 31051));
    struct Case
    {
        CXTPControl* pControl;
        BOOL bAllowed;
    } cases[] = {{m_pEdit, TRUE}, {pCombo, TRUE}, {m_pBar->GetControls()->FindControl(ID_FT_NEW), FALSE}};
    for (const Case& c : cases)
        EXPECT_EQ(c.bAllowed, c.pControl->IsCustomizeResizeAllow()) << c.pControl->GetID();
    EXPECT_EQ(100, m_pEdit->GetWidth());
}

TEST_F(CustomizeResizeTest, TheMouseOverASideEdgeOfTheDragControlShowsTheResizeCursor)
{
    const HCURSOR hResize = XTPGetResourceLoader()->LoadCursor(XTP_IDC_CUSTOMIZE_RESIZE);
    ASSERT_NE(nullptr, hResize);
    const CRect rcEdit = m_pEdit->GetRect();
    const CRect rcButton = m_pBar->GetControls()->FindControl(ID_FT_NEW)->GetRect();
    struct Case
    {
        const char* pszWhere;
        CPoint pt;
        BOOL bResize;
    } cases[] = {
        {"right edge", {rcEdit.right - 1, rcEdit.CenterPoint().y}, TRUE},
        {"left edge", {rcEdit.left + 1, rcEdit.CenterPoint().y}, TRUE},
        {"middle", rcEdit.CenterPoint(), FALSE},
        {"edge of a button", {rcButton.right - 1, rcButton.CenterPoint().y}, FALSE},
    };
    for (const Case& c : cases) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        m_pBar->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(c.pt.x, c.pt.y));
        EXPECT_EQ(c.bResize, ::GetCursor() == hResize) << c.pszWhere;
    }
}
