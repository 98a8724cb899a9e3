// The hyperlink control on a shown parent: the shell road replaced by a recorder, the cursor placed with
// SetCursorPos, the tooltip read back from the tooltip control.
#include "PixelCanvas.h"
#include "support/MessageBoxRecorder.h"

#include "platform/mfc/afxshell.h"
#include "ui/themes/HyperLink.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <algorithm>
#include <map>
#include <vector>

namespace
{
const UINT kLinkID = 1301;

struct CShellCalls
{
    static std::vector<CString> s_targets;
    static INT_PTR s_nResult;
    static INT_PTR Open(HWND, LPCWSTR lpszTarget, int)
    {
        s_targets.push_back(lpszTarget);
        return s_nResult;
    }
};
std::vector<CString> CShellCalls::s_targets;
INT_PTR CShellCalls::s_nResult = 42;

class HyperLinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CShellCalls::s_targets.clear();
        CShellCalls::s_nResult = 42;
        m_pfnOldShell = AfxSetShellOpenHandler(&CShellCalls::Open);
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), L"link", WS_POPUP | WS_VISIBLE, 10, 10, 400, 100,
                                      nullptr, nullptr));
    }
    void TearDown() override
    {
        if (::IsWindow(m_parent.m_hWnd))
            m_parent.DestroyWindow();
        AfxSetShellOpenHandler(m_pfnOldShell);
    }

    void CreateLink(DWORD dwAlign, LPCTSTR lpszText = L"www.vorsa.it")
    {
        ASSERT_TRUE(m_link.Create(lpszText, WS_CHILD | WS_VISIBLE | dwAlign, CRect(0, 0, 300, 20), &m_parent, kLinkID));
    }
    void Click()
    {
        m_parent.SendMessage(WM_COMMAND, MAKEWPARAM(kLinkID, STN_CLICKED), reinterpret_cast<LPARAM>(m_link.m_hWnd));
    }
    CString TipText()
    {
        wchar_t szText[256] = {};
        TTTOOLINFOW ti = {};
        ti.cbSize = sizeof(ti);
        ti.hwnd = m_parent.m_hWnd;
        ti.uFlags = TTF_IDISHWND;
        ti.uId = reinterpret_cast<UINT_PTR>(m_link.m_hWnd);
        ti.lpszText = szText;
        m_link.GetToolTip().SendMessage(TTM_GETTEXTW, _countof(szText), reinterpret_cast<LPARAM>(&ti));
        return szText;
    }

    AFX_SHELLOPEN_HANDLER m_pfnOldShell = nullptr;
    CWnd m_parent;
    CXTHyperLink m_link;
};
}

TEST_F(HyperLinkTest, ShellErrorsShowTheirTextAndLeaveTheLinkUnvisited)
{
    CreateLink(SS_LEFT);
    struct Case
    {
        INT_PTR nResult;
        const wchar_t* text;
    } cases[] = {
        {SE_ERR_FNF, L"Il file specificato non e' stato trovato."},
        {SE_ERR_NOASSOC, L"Non c'e' nessuna applicazione associata con l'estensione del file assegnata."},
        {0, L"Il sistema operativo e' oltre i limiti di memoria per le risorse."},
        {ERROR_BAD_FORMAT, L"Il file .exe non e' valido (non-Win32\u00ae .exe o errore nell'immagine .exe)."},
        {17, L"Un errore non riconosciuto numero 17 e' avvenuto."},
    };
    const CPoint ptOver = m_link.GetLinkRect().CenterPoint();
    for (const Case& c : cases) {
        CMessageBoxRecorder boxes;
        CShellCalls::s_nResult = c.nResult;
        ::SetCursorPos(ptOver.x, ptOver.y);
        Click();
        ASSERT_EQ(1u, boxes.Count()) << c.nResult;
        EXPECT_EQ(CString(c.text), boxes.Last().text);
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes.LastIcon());
        EXPECT_FALSE(m_link.GetVisited());
    }
    EXPECT_EQ(CString(L"www.vorsa.it"), CShellCalls::s_targets.back());

    CShellCalls::s_nResult = 42;
    Click();
    EXPECT_TRUE(m_link.GetVisited());
    EXPECT_EQ(m_link.GetVisitedColor(), m_link.GetTextColor());
}

TEST_F(HyperLinkTest, ACentredLinkReactsOnlyOverItsText)
{
    CreateLink(SS_CENTER, L"Vorsa");
    CRect rcWindow;
    m_link.GetWindowRect(&rcWindow);
    const CRect rcLink = m_link.GetLinkRect();
    EXPECT_LT(rcLink.Width(), rcWindow.Width() / 2);
    EXPECT_LE(std::abs(rcLink.CenterPoint().x - rcWindow.CenterPoint().x), 1);

    // A click beside the text opens nothing.
    ::SetCursorPos(rcWindow.left + 2, rcWindow.top + 5);
    EXPECT_FALSE(m_link.IsCursorOverLink());
    Click();
    EXPECT_TRUE(CShellCalls::s_targets.empty());
    EXPECT_FALSE(m_link.GetVisited());

    ::SetCursorPos(rcLink.CenterPoint().x, rcLink.CenterPoint().y);
    EXPECT_TRUE(m_link.IsCursorOverLink());
    Click();
    ASSERT_EQ(1u, CShellCalls::s_targets.size());
    EXPECT_EQ(CString(L"Vorsa"), CShellCalls::s_targets[0]);
    EXPECT_TRUE(m_link.GetVisited());
}

TEST_F(HyperLinkTest, WithoutNavigationAClickOnlyMarksTheLinkVisited)
{
    CreateLink(SS_LEFT);
    m_link.SetNavigateOnClick(FALSE);
    const CPoint pt = m_link.GetLinkRect().CenterPoint();
    ::SetCursorPos(pt.x, pt.y);
    Click();
    EXPECT_TRUE(CShellCalls::s_targets.empty());
    EXPECT_TRUE(m_link.GetVisited());
}

TEST_F(HyperLinkTest, TheTooltipShowsTheTipTextUntilANewTarget)
{
    m_link.SetTipText(L"Scrivi al supporto");
    CreateLink(SS_LEFT, L"mailto:supporto@vorsa.it");
    EXPECT_EQ(CString(L"mailto:supporto@vorsa.it"), m_link.GetTarget());
    EXPECT_EQ(CString(L"Scrivi al supporto"), TipText());
    m_link.SetTarget(L"http://www.vorsa.it");
    EXPECT_EQ(CString(L"http://www.vorsa.it"), TipText());
}

TEST_F(HyperLinkTest, TheLinkFontFollowsTheUnderlineFlag)
{
    CreateLink(SS_LEFT);
    LOGFONT logfont = {};
    ASSERT_TRUE(m_link.GetFont());
    m_link.GetFont()->GetLogFont(&logfont);
    EXPECT_TRUE(logfont.lfUnderline);
    EXPECT_NE(0, m_link.GetStyle() & SS_NOTIFY);
    m_link.SetUnderline(FALSE);
    m_link.GetFont()->GetLogFont(&logfont);
    EXPECT_FALSE(logfont.lfUnderline);
}

TEST_F(HyperLinkTest, TheTextIsDrawnInTheColourOfItsState)
{
    CreateLink(SS_LEFT, L"Vorsa");
    m_link.SetColors(RGB(0, 0, 255), RGB(128, 0, 128), RGB(255, 0, 0));
    const CRect rcLink = m_link.GetLinkRect();
    struct Case
    {
        const char* what;
        BOOL bVisited;
        BOOL bCursorOver;
        COLORREF clrExpected;
    } cases[] = {
        {"new", FALSE, FALSE, RGB(0, 0, 255)},
        {"visited", TRUE, FALSE, RGB(128, 0, 128)},
        {"hovered", TRUE, TRUE, RGB(255, 0, 0)},
    };
    for (const Case& c : cases) {
        m_link.SetVisited(c.bVisited);
        const CPoint pt = c.bCursorOver ? rcLink.CenterPoint() : CPoint(0, 300);
        ::SetCursorPos(pt.x, pt.y);
        m_link.SendMessage(WM_TIMER, CXTHyperLink::hoverTimerID);
        EXPECT_EQ(c.bCursorOver, m_link.IsHovering()) << c.what;

        CPixelCanvas canvas(300, 20, RGB(0, 255, 0));
        m_link.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetSafeHdc()), PRF_CLIENT);
        std::map<COLORREF, int> counts;
        for (int y = 0; y < 20; y++)
            for (int x = 0; x < 300; x++)
                counts[canvas.At(x, y)]++;
        EXPECT_GT(counts[c.clrExpected], 20) << c.what;
        // The underline runs under the whole text.
        int nLongest = 0;
        for (int y = 0; y < 20; y++) {
            int nRun = 0;
            for (int x = 0; x < rcLink.Width(); x++)
                nRun += canvas.At(x, y) == c.clrExpected;
            nLongest = std::max(nLongest, nRun);
        }
        EXPECT_GE(nLongest, rcLink.Width() - 2) << c.what;
    }
}
