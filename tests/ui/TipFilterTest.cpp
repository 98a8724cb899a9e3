// The tooltip context as the thread's tooltip filter: it follows the mouse over the tools of the window that
// enabled tooltips, with an injected clock and cursor.
#include "ui/themes/InputSource.h"
#include "ui/themes/TipContext.h"
#include "ui/themes/TipWnd.h"

#include "platform/mfc/afxtooltip.h"

#include <gtest/gtest.h>

namespace
{
CPoint g_ptFilterCursor;
BOOL FilterCursorPos(LPPOINT lpPoint)
{
    *lpPoint = g_ptFilterCursor;
    return TRUE;
}
DWORD FilterTickCount()
{
    return 500000;
}

// Two tools, the left and right half; shown even while the window is not active.
class CToolOwnerWnd : public CWnd
{
public:
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override
    {
        if (point.x < 0 || point.y < 0 || point.x >= 200 || point.y >= 100)
            return -1;
        int nID = point.x < 100 ? 1 : 2;
        pTI->hwnd = m_hWnd;
        pTI->uId = static_cast<UINT_PTR>(nID);
        pTI->rect = nID == 1 ? CRect(0, 0, 100, 100) : CRect(100, 0, 200, 100);
        pTI->uFlags = 0x40000000;
        pTI->lpszText = _wcsdup(nID == 1 ? L"Entrate" : L"Spese");
        return nID;
    }
};

class TipFilterTest : public ::testing::Test
{
protected:
    CToolOwnerWnd m_owner;
    CWnd m_other;
    std::unique_ptr<CTipContext> m_pContext;
    CXTPInputSource::PFN_CURSORPOS m_pfnCursor = nullptr;
    CXTPInputSource::PFN_TICKCOUNT m_pfnTick = nullptr;

    void SetUp() override
    {
        m_pfnCursor = CXTPInputSource::SetCursorPosSource(FilterCursorPos);
        m_pfnTick = CXTPInputSource::SetTickCountSource(FilterTickCount);
        ASSERT_TRUE(m_owner.CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0), L"Strumenti", WS_POPUP | WS_VISIBLE, 580,
                                     380, 200, 100, nullptr, nullptr));
        ASSERT_TRUE(m_other.CreateEx(0, AfxRegisterWndClass(0), L"Altro", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        m_owner.EnableToolTips();
        m_pContext = std::make_unique<CTipContext>(&m_owner);
        m_pContext->SetTipKind(CTipContext::kindPlain);
        m_pContext->InstallFilter();
    }
    void TearDown() override
    {
        m_pContext.reset();
        m_other.DestroyWindow();
        m_owner.DestroyWindow();
        CXTPInputSource::SetCursorPosSource(m_pfnCursor);
        CXTPInputSource::SetTickCountSource(m_pfnTick);
    }
    void Send(CWnd& wnd, UINT message, CPoint ptClient, WPARAM wParam = 0)
    {
        g_ptFilterCursor = ptClient;
        wnd.ClientToScreen(&g_ptFilterCursor);
        MSG msg = {wnd.m_hWnd, message, wParam, MAKELPARAM(ptClient.x, ptClient.y), 0, g_ptFilterCursor};
        AfxFilterToolTipMessage(&msg);
    }
    CTipWnd* Tip() { return static_cast<CTipWnd*>(m_pContext->GetTipWindow()); }
    // The messages that the tip window is sent while f runs.
    template <class F>
    static int CountSentToTip(HWND hTip, F f)
    {
        s_hTip = hTip;
        s_nSent = 0;
        HHOOK hHook = ::SetWindowsHookExW(WH_CALLWNDPROC, CountSent, nullptr, ::GetCurrentThreadId());
        f();
        ::UnhookWindowsHookEx(hHook);
        return s_nSent;
    }

private:
    static inline HWND s_hTip = nullptr;
    static inline int s_nSent = 0;
    static LRESULT CALLBACK CountSent(int nCode, WPARAM wParam, LPARAM lParam)
    {
        if (nCode == HC_ACTION && reinterpret_cast<const CWPSTRUCT*>(lParam)->hwnd == s_hTip)
            s_nSent++;
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }
};
}

TEST_F(TipFilterTest, FollowsTheMouseOverTheOwnersToolsOnly)
{
    Send(m_other, WM_MOUSEMOVE, CPoint(5, 5));
    EXPECT_EQ(nullptr, Tip());

    Send(m_owner, WM_MOUSEMOVE, CPoint(50, 50));
    ASSERT_NE(nullptr, Tip());
    ASSERT_EQ(1, Tip()->GetToolCount());
    EXPECT_EQ(L"Entrate", Tip()->GetTool(0).strText);
    EXPECT_EQ(1u, Tip()->GetPendingTool().nID);
    Tip()->SendMessage(WM_TIMER, CTipWnd::showTimerID);
    EXPECT_TRUE(Tip()->IsWindowVisible());

    // Another tool replaces the first in the list; within the reshow time its tip shows at once.
    Send(m_owner, WM_MOUSEMOVE, CPoint(150, 50));
    ASSERT_EQ(1, Tip()->GetToolCount());
    EXPECT_EQ(2u, Tip()->GetTool(0).nID);
    EXPECT_EQ(2u, Tip()->GetShownTool().nID);
    EXPECT_TRUE(Tip()->IsWindowVisible());

    // A key for the owner puts the tip away.
    MSG key = {m_owner.m_hWnd, WM_KEYDOWN, VK_RIGHT, 0, 0, {}};
    AfxFilterToolTipMessage(&key);
    EXPECT_FALSE(Tip()->IsWindowVisible());

    // Off every tool: no tool left in the list.
    Send(m_owner, WM_MOUSEMOVE, CPoint(300, 50));
    EXPECT_EQ(0, Tip()->GetToolCount());
    // Further moves where no tool is cost the tip nothing: an open menu follows the mouse without that delay.
    EXPECT_EQ(0, CountSentToTip(Tip()->m_hWnd, [this] { Send(m_owner, WM_MOUSEMOVE, CPoint(320, 60)); }));
}

TEST_F(TipFilterTest, WindowsWithoutToolTipsAndAGoneContextAreLeftAlone)
{
    m_owner.EnableToolTips(FALSE);
    Send(m_owner, WM_MOUSEMOVE, CPoint(50, 50));
    EXPECT_EQ(nullptr, Tip());
    // The owner's own call needs no enabled tooltips.
    m_pContext->ShowTipAtCursor();
    ASSERT_NE(nullptr, Tip());
    EXPECT_EQ(1, Tip()->GetToolCount());
    m_pContext.reset();
    EXPECT_EQ(nullptr, AfxSetToolTipFilter(nullptr));
}

namespace
{
// One tool over the whole window that offers a title and a description.
class CTitledToolOwnerWnd : public CWnd
{
public:
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override
    {
        if (point.x < 0 || point.y < 0 || point.x >= 200 || point.y >= 100)
            return -1;
        CTipContext::FillToolInfo(pTI, m_hWnd, 5, CRect(0, 0, 200, 100), 0x40000000, L"Stampa",
                                  L"Stampa (Ctrl+P)", L"Stampa il modulo aperto");
        return 5;
    }
};
}

TEST(TipFilterTitles, ShownTitlesPutTheTitleOverTheDescription)
{
    CTitledToolOwnerWnd owner;
    ASSERT_TRUE(owner.CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0), L"Titoli", WS_POPUP | WS_VISIBLE, 580, 380, 200,
                               100, nullptr, nullptr));
    CXTPInputSource::PFN_CURSORPOS pfnCursor = CXTPInputSource::SetCursorPosSource(FilterCursorPos);
    struct Case { BOOL bShowTitles; LPCWSTR lpszTitle; LPCWSTR lpszText; } cases[] = {
        {FALSE, L"", L"Stampa"},
        {TRUE, L"Stampa (Ctrl+P)", L"Stampa il modulo aperto"},
    };
    for (const Case& c : cases) {
        CTipContext context(&owner);
        context.SetTipKind(CTipContext::kindPlain);
        context.SetTitleIcon(c.bShowTitles, TTI_WARNING);
        g_ptFilterCursor = CPoint(50, 50);
        owner.ClientToScreen(&g_ptFilterCursor);
        context.ShowTipAtCursor();
        CTipWnd* pTip = static_cast<CTipWnd*>(context.GetTipWindow());
        ASSERT_NE(nullptr, pTip);
        ASSERT_EQ(1, pTip->GetToolCount());
        EXPECT_EQ(c.lpszText, pTip->GetTool(0).strText) << c.bShowTitles;
        EXPECT_EQ(c.lpszTitle, pTip->GetTitle()) << c.bShowTitles;
    }
    CXTPInputSource::SetCursorPosSource(pfnCursor);
    owner.DestroyWindow();
}

TEST(TipFilterTitles, ToolInformationCarriesTheTitleOnlyInTheTitledSize)
{
    struct Case { UINT cbSize; LPCWSTR lpszTitle; LPCWSTR lpszDescription; BOOL bFilled; BOOL bTitled; } cases[] = {
        {TTTOOLINFOW_V1_SIZE - 1, L"Titolo", L"Descrizione", FALSE, FALSE},
        {TTTOOLINFOW_V1_SIZE, L"Titolo", L"Descrizione", TRUE, FALSE},
        {CTipContext::titledToolInfoSize, L"Titolo", nullptr, TRUE, FALSE},
        {CTipContext::titledToolInfoSize, nullptr, L"Descrizione", TRUE, FALSE},
        {CTipContext::titledToolInfoSize, L"Titolo", L"Descrizione", TRUE, TRUE},
    };
    for (const Case& c : cases) {
        TTTOOLINFOW info = {};
        info.cbSize = c.cbSize;
        EXPECT_EQ(c.bFilled, CTipContext::FillToolInfo(&info, nullptr, 3, CRect(1, 2, 3, 4), TTF_IDISHWND, L"Testo",
                                                       c.lpszTitle, c.lpszDescription))
            << c.cbSize;
        if (c.bFilled) {
            EXPECT_EQ(3u, info.uId);
            EXPECT_EQ(CRect(1, 2, 3, 4), CRect(info.rect));
            EXPECT_EQ(static_cast<UINT>(TTF_IDISHWND), info.uFlags);
            EXPECT_STREQ(L"Testo", info.lpszText);
            ::free(info.lpszText);
        }
        const XTP_TOOLTIP_TITLE* pTitle = reinterpret_cast<const XTP_TOOLTIP_TITLE*>(info.lParam);
        ASSERT_EQ(c.bTitled, pTitle != nullptr) << c.cbSize;
        if (pTitle) {
            EXPECT_STREQ(L"Titolo", pTitle->lpszTitle);
            EXPECT_STREQ(L"Descrizione", pTitle->lpszDescription);
            ::free(pTitle->lpszTitle);
            ::free(pTitle->lpszDescription);
            ::free(const_cast<XTP_TOOLTIP_TITLE*>(pTitle));
        }
    }
}
