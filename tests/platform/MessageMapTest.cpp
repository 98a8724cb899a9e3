// Message maps on real windows: commands and ranges in declaration order, derived maps first, notifications
// with ranges, reflection to the child control, registered messages and the unpacking of window messages.
#include "platform/mfc/afxctrls.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{
const UINT WM_TEST_PING = WM_APP + 1;
UINT g_nRegisteredPing = ::RegisterWindowMessageW(L"Quarzel08.Test.Ping");

// Records which handler ran and with what.
class CCommandWnd : public CWnd
{
public:
    std::vector<CString> m_calls;

    void Log(LPCTSTR lpszWhat, UINT nValue)
    {
        CString s;
        s.Format(L"%s %u", lpszWhat, nValue);
        m_calls.push_back(s);
    }
    BOOL CreateHidden()
    {
        return CreateEx(0, nullptr, L"test", WS_OVERLAPPEDWINDOW, CRect(0, 0, 320, 240), nullptr, 0);
    }

protected:
    void OnSingle() { Log(L"single", 101); }
    void OnRange(UINT nID) { Log(L"range", nID); }
    void OnAfterRange() { Log(L"after", 150); }
    void OnUpdate300(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    void OnCommand300() { Log(L"disabled ran", 300); }
    void OnTabChange(NMHDR* pNMHDR, LRESULT* pResult)
    {
        Log(L"tab", static_cast<UINT>(pNMHDR->idFrom));
        *pResult = 7;
    }
    void OnClickRange(UINT nID, NMHDR*, LRESULT*) { Log(L"click", nID); }
    void OnEditChange() { Log(L"change", 20); }
    void OnSelEndOk() { Log(L"selendok", 21); }
    LRESULT OnPing(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam + lParam); }
    LRESULT OnRegisteredPing(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam * 2); }
    void OnSize(UINT nType, int cx, int cy)
    {
        CString s;
        s.Format(L"size %u %dx%d", nType, cx, cy);
        m_calls.push_back(s);
    }
    void OnRButtonDown(UINT nFlags, CPoint point)
    {
        CString s;
        s.Format(L"rbutton %u %d,%d", nFlags, point.x, point.y);
        m_calls.push_back(s);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCommandWnd, CWnd)
    ON_COMMAND(101, &CCommandWnd::OnSingle)
    ON_COMMAND_RANGE(100, 199, &CCommandWnd::OnRange)
    ON_COMMAND(150, &CCommandWnd::OnAfterRange)
    ON_UPDATE_COMMAND_UI(300, &CCommandWnd::OnUpdate300)
    ON_COMMAND(300, &CCommandWnd::OnCommand300)
    ON_NOTIFY(TCN_SELCHANGE, 10, &CCommandWnd::OnTabChange)
    ON_NOTIFY_RANGE(NM_CLICK, 10, 19, &CCommandWnd::OnClickRange)
    ON_EN_CHANGE(20, &CCommandWnd::OnEditChange)
    ON_CBN_SELENDOK(21, &CCommandWnd::OnSelEndOk)
    ON_MESSAGE(WM_TEST_PING, &CCommandWnd::OnPing)
    ON_REGISTERED_MESSAGE(g_nRegisteredPing, &CCommandWnd::OnRegisteredPing)
    ON_WM_SIZE()
    ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

// A derived class: its own map is searched before the base class's.
class CDerivedCommandWnd : public CCommandWnd
{
protected:
    void OnOwn150() { Log(L"derived", 150); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedCommandWnd, CCommandWnd)
    ON_COMMAND(150, &CDerivedCommandWnd::OnOwn150)
END_MESSAGE_MAP()

// A child control that handles some of its own notifications.
class CReflectingButton : public CButton
{
public:
    int m_nClicked = 0;
    int m_nCustomDraw = 0;
    BOOL m_bPassOn = FALSE;
    CBrush m_brush;

protected:
    void OnClicked() { ++m_nClicked; }
    void OnCustomDraw(NMHDR*, LRESULT* pResult)
    {
        ++m_nCustomDraw;
        *pResult = CDRF_NOTIFYITEMDRAW;
    }
    BOOL OnClickEx(NMHDR*, LRESULT*) { return !m_bPassOn; }
    HBRUSH CtlColor(CDC* pDC, UINT)
    {
        pDC->SetTextColor(RGB(1, 2, 3));
        return m_brush;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingButton, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, &CReflectingButton::OnClicked)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, &CReflectingButton::OnCustomDraw)
    ON_NOTIFY_REFLECT_EX(NM_CLICK, &CReflectingButton::OnClickEx)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class MessageMapTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_wnd.CreateHidden()); }
    void TearDown() override { m_wnd.DestroyWindow(); }

    LRESULT Notify(HWND hWndFrom, UINT nCode)
    {
        NMHDR hdr = {hWndFrom, static_cast<UINT_PTR>(::GetDlgCtrlID(hWndFrom)), nCode};
        return m_wnd.SendMessage(WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
    }
    HWND MakeChild(LPCTSTR lpszClass, UINT nID, DWORD dwStyle = 0)
    {
        return ::CreateWindowExW(0, lpszClass, L"", WS_CHILD | dwStyle, 0, 0, 50, 20, m_wnd.m_hWnd,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), nullptr, nullptr);
    }

    CDerivedCommandWnd m_wnd;
};
} // namespace

TEST_F(MessageMapTest, CommandsAreSearchedInDeclarationOrderDerivedClassFirst)
{
    struct
    {
        UINT nID;
        const wchar_t* pszExpected;
    } cases[] = {
        {101, L"single 101"},   // declared before the range
        {102, L"range 102"},
        {199, L"range 199"},
        {150, L"derived 150"},  // the derived map wins over the base's range
    };
    for (const auto& c : cases) {
        m_wnd.m_calls.clear();
        EXPECT_EQ(1, m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(c.nID, 0))) << c.nID;
        ASSERT_EQ(1u, m_wnd.m_calls.size()) << c.nID;
        EXPECT_EQ(CString(c.pszExpected), m_wnd.m_calls[0]);
    }
    m_wnd.m_calls.clear();
    EXPECT_EQ(0, m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(200, 0)));   // unhandled: default procedure
    EXPECT_TRUE(m_wnd.m_calls.empty());

    // Within one map the first entry wins: a single command declared after a range never runs.
    CCommandWnd base;
    ASSERT_TRUE(base.CreateHidden());
    base.SendMessage(WM_COMMAND, MAKEWPARAM(150, 0));
    ASSERT_EQ(1u, base.m_calls.size());
    EXPECT_EQ(CString(L"range 150"), base.m_calls[0]);
    base.DestroyWindow();
}

TEST_F(MessageMapTest, AMenuCommandDisabledByItsUpdateHandlerDoesNotRun)
{
    m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(300, 0));
    EXPECT_TRUE(m_wnd.m_calls.empty());

    CCmdUI state;
    state.m_nID = 300;
    EXPECT_TRUE(state.DoUpdate(&m_wnd, TRUE));
}

TEST_F(MessageMapTest, ControlNotificationsReachTheirHandlers)
{
    HWND hEdit = MakeChild(L"EDIT", 20);
    HWND hCombo = MakeChild(L"COMBOBOX", 21, CBS_DROPDOWNLIST);
    m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(20, EN_CHANGE), reinterpret_cast<LPARAM>(hEdit));
    m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(21, CBN_SELENDOK), reinterpret_cast<LPARAM>(hCombo));
    m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(21, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
    ASSERT_EQ(2u, m_wnd.m_calls.size());
    EXPECT_EQ(CString(L"change 20"), m_wnd.m_calls[0]);
    EXPECT_EQ(CString(L"selendok 21"), m_wnd.m_calls[1]);
}

TEST_F(MessageMapTest, NotificationsByCodeAndIdRange)
{
    HWND hTab = MakeChild(WC_TABCONTROLW, 10);
    HWND hOther = MakeChild(L"STATIC", 15);
    HWND hOutside = MakeChild(L"STATIC", 25);
    EXPECT_EQ(7, Notify(hTab, TCN_SELCHANGE));
    Notify(hOther, NM_CLICK);
    Notify(hOutside, NM_CLICK);
    Notify(hOther, TCN_SELCHANGE);   // right code, wrong id
    ASSERT_EQ(2u, m_wnd.m_calls.size());
    EXPECT_EQ(CString(L"tab 10"), m_wnd.m_calls[0]);
    EXPECT_EQ(CString(L"click 15"), m_wnd.m_calls[1]);
}

TEST_F(MessageMapTest, ChildNotificationsAreReflectedToTheControlFirst)
{
    CReflectingButton button;
    ASSERT_TRUE(button.Create(L"ok", WS_CHILD, CRect(0, 0, 60, 20), &m_wnd, 12));
    ASSERT_TRUE(button.m_brush.CreateSolidBrush(RGB(10, 20, 30)));

    button.SendMessage(BM_CLICK);   // the button tells its parent, which hands it back
    EXPECT_EQ(1, button.m_nClicked);

    EXPECT_EQ(CDRF_NOTIFYITEMDRAW, Notify(button.m_hWnd, NM_CUSTOMDRAW));
    EXPECT_EQ(1, button.m_nCustomDraw);

    // The _EX form decides whether the parent sees the notification too.
    Notify(button.m_hWnd, NM_CLICK);
    EXPECT_TRUE(m_wnd.m_calls.empty());
    button.m_bPassOn = TRUE;
    Notify(button.m_hWnd, NM_CLICK);
    ASSERT_EQ(1u, m_wnd.m_calls.size());
    EXPECT_EQ(CString(L"click 12"), m_wnd.m_calls[0]);

    CClientDC dc(&button);
    LRESULT hBrush = m_wnd.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc.m_hDC),
                                       reinterpret_cast<LPARAM>(button.m_hWnd));
    EXPECT_EQ(reinterpret_cast<LRESULT>(button.m_brush.m_hObject), hBrush);
    EXPECT_EQ(RGB(1, 2, 3), dc.GetTextColor());
}

TEST_F(MessageMapTest, MessagesByNumberAndRegisteredMessages)
{
    EXPECT_EQ(7, m_wnd.SendMessage(WM_TEST_PING, 3, 4));
    EXPECT_EQ(42, m_wnd.SendMessage(g_nRegisteredPing, 21));
}

TEST_F(MessageMapTest, WindowMessagesAreUnpackedWithSigns)
{
    m_wnd.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(-5, 7));
    m_wnd.SetWindowPos(nullptr, 0, 0, 200, 100, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    CRect rect;
    m_wnd.GetClientRect(&rect);
    ASSERT_GE(m_wnd.m_calls.size(), 2u);
    EXPECT_EQ(CString(L"rbutton 2 -5,7"), m_wnd.m_calls[0]);
    CString expected;
    expected.Format(L"size %u %dx%d", SIZE_RESTORED, rect.Width(), rect.Height());
    EXPECT_EQ(expected, m_wnd.m_calls.back());
}
