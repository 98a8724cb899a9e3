// The edit field on the test frame's toolbar: the hint stands in for an empty text while the field is not being
// edited, and is never taken for the user's value: not by the text, not when the window goes, not as a change.
#include "FrameTestFixture.h"

#include "platform/mfc/afxres.h"
#include "ui/commandbars/XTPControlEdit.h"
#include "ui/commandbars/XTPHookManager.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/themes/BarThemeDefault.h"
#include "ui/themes/InputSource.h"
#include "ui/themes/TipContext.h"
#include "ui/themes/TipWnd.h"

#include <gtest/gtest.h>

namespace
{
const int nEditId = 4711;

CPoint g_ptFieldCursor;
BOOL FieldCursorPos(LPPOINT lpPoint)
{
    *lpPoint = g_ptFieldCursor;
    return TRUE;
}

class ControlEditTest : public CFrameTestFixture
{
protected:
    CXTPControlEdit* m_pEdit = nullptr;

    void SetUp() override
    {
        CFrameTestFixture::SetUp();
        if (HasFatalFailure())
            return;
        CXTPToolBar* pBar = m_pFrame->GetToolBar();
        m_pEdit = static_cast<CXTPControlEdit*>(pBar->GetControls()->Add(xtpControlEdit, nEditId));
        ASSERT_NE(nullptr, m_pEdit);
        m_pEdit->SetCaption(L"Trova");
        m_pFrame->RecalcLayout();
        Pump();
        ASSERT_TRUE(m_pEdit->IsEditCreated());
    }
    CString WindowText() const
    {
        CString str;
        m_pEdit->GetEditCtrl()->GetWindowText(str);
        return str;
    }
    int Changes() const
    {
        int n = 0;
        for (const CTestFrame::EVENT& e : m_pFrame->m_events)
            n += e.message == XTPM_CONTROLNOTIFY && e.nId == nEditId && e.nCode == EN_CHANGE;
        return n;
    }
    void Focus()
    {
        m_pEdit->SetFocused(TRUE);
        Pump();
    }
    void Leave()
    {
        m_pFrame->SetFocus();
        Pump();
    }
};
}

TEST_F(ControlEditTest, TheHintIsShownButNeverTakenForTheValue)
{
    enum Step { None, FocusLeave, TypeLeave, FocusOnly, Destroy, HintWhileFocused };
    struct Case
    {
        const char* pszName;
        const wchar_t* pszText;
        Step step;
        const wchar_t* pszValue;      // GetEditText afterwards
        const wchar_t* pszWindow;     // the window's text afterwards (null: no window)
        bool bChangeNotified;
    } cases[] = {
        {"empty: the hint stands in", L"", None, L"", L"Cerca", false},
        {"a text hides the hint", L"Roma", None, L"Roma", L"Roma", false},
        {"focus takes the hint away", L"", FocusOnly, L"", L"", false},
        {"left empty: the hint again", L"", FocusLeave, L"", L"Cerca", false},
        {"typed text is the value", L"", TypeLeave, L"ab", L"ab", true},
        {"window destroyed under the hint", L"", Destroy, L"", nullptr, false},
        {"window destroyed with a text", L"Roma", Destroy, L"Roma", nullptr, false},
        {"a hint set while editing is not shown", L"", HintWhileFocused, L"", L"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_pEdit->SetEditHint(c.step == HintWhileFocused ? L"" : L"Cerca");
        m_pEdit->SetEditText(c.pszText);
        Pump();
        m_pFrame->m_events.clear();
        switch (c.step) {
        case None: break;
        case FocusOnly: Focus(); break;
        case FocusLeave: Focus(); Leave(); break;
        case TypeLeave:
            Focus();
            SendKeys({'A'});
            SendKeys({'B'});
            Pump();
            Leave();
            break;
        case Destroy: m_pEdit->GetEditCtrl()->DestroyWindow(); break;
        case HintWhileFocused:
            Focus();
            m_pEdit->SetEditHint(L"Cerca");
            Pump();
            break;
        }
        EXPECT_EQ(CString(c.pszValue), m_pEdit->GetEditText());
        if (c.pszWindow)
            EXPECT_EQ(CString(c.pszWindow), WindowText());
        else
            EXPECT_FALSE(m_pEdit->IsEditCreated());
        EXPECT_EQ(c.bChangeNotified, Changes() > 0);
        Leave();
        if (!m_pEdit->IsEditCreated()) {
            m_pFrame->RecalcLayout();
            Pump();
        }
    }
}

TEST_F(ControlEditTest, EscapeRestoresTheTextFromBeforeEditingAndLeavesTheField)
{
    m_pEdit->SetEditText(L"Roma");
    Focus();
    ASSERT_TRUE(m_pEdit->IsFocused());
    SendKeys({VK_END});
    SendKeys({'X'});
    Pump();
    ASSERT_EQ(CString(L"Romax"), m_pEdit->GetEditText());
    SendKeys({VK_ESCAPE});
    Pump();
    EXPECT_EQ(CString(L"Roma"), m_pEdit->GetEditText());
    EXPECT_FALSE(m_pEdit->IsFocused());
    EXPECT_NE(m_pEdit->GetEditCtrl()->GetSafeHwnd(), ::GetFocus());
}

namespace
{
// For its lifetime, the last font this thread sends a window with WM_SETFONT (the rich edit answers no WM_GETFONT).
class CSetFontRecorder
{
public:
    explicit CSetFontRecorder(HWND hWnd)
    {
        s_hWnd = hWnd;
        s_hFont = nullptr;
        m_hHook = ::SetWindowsHookExW(WH_CALLWNDPROC, Record, nullptr, ::GetCurrentThreadId());
    }
    ~CSetFontRecorder() { ::UnhookWindowsHookEx(m_hHook); }
    CSetFontRecorder(const CSetFontRecorder&) = delete;
    CSetFontRecorder& operator=(const CSetFontRecorder&) = delete;
    HFONT GetFont() const { return s_hFont; }

private:
    static LRESULT CALLBACK Record(int nCode, WPARAM wParam, LPARAM lParam)
    {
        auto* pMessage = reinterpret_cast<CWPSTRUCT*>(lParam);
        if (nCode == HC_ACTION && pMessage->message == WM_SETFONT && pMessage->hwnd == s_hWnd)
            s_hFont = reinterpret_cast<HFONT>(pMessage->wParam);
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }
    static inline HWND s_hWnd = nullptr;
    static inline HFONT s_hFont = nullptr;
    HHOOK m_hHook;
};

// A painter whose bars measure and draw their controls in a large font of its own.
class CLargeControlFontPainter : public CXTPBarThemeDefault
{
public:
    CLargeControlFontPainter() { m_fontLarge.CreatePointFont(200, L"Arial"); }
    CFont* GetControlFont(CXTPCommandBar* /*pBar*/, BOOL /*bBold*/) override { return &m_fontLarge; }
    CFont m_fontLarge;
};
}

// The edit field's window takes the painter's regular font whatever font the bar's controls are drawn in.
TEST_F(ControlEditTest, TheFieldWindowTakesThePaintersRegularFont)
{
    CSetFontRecorder fonts(m_pEdit->GetEditCtrl()->GetSafeHwnd());
    auto* pPainter = new CLargeControlFontPainter;
    m_pFrame->GetCommandBars()->SetPaintManager(pPainter);
    m_pFrame->GetCommandBars()->RecalcLayoutAll();
    m_pFrame->RecalcLayout();
    Pump();
    ASSERT_EQ(pPainter, m_pEdit->GetPaintManager());
    EXPECT_EQ(pPainter->GetRegularFont()->GetSafeHandle(), fonts.GetFont());
}

TEST_F(ControlEditTest, AVerticallyDockedBarHidesTheField)
{
    m_pFrame->GetCommandBars()->DockCommandBar(m_pFrame->GetToolBar(), xtpBarLeft);
    m_pFrame->RecalcLayout();
    Pump();
    EXPECT_FALSE(m_pEdit->IsVisible());
    EXPECT_FALSE(m_pEdit->GetEditCtrl()->IsWindowVisible());
    m_pFrame->GetCommandBars()->DockCommandBar(m_pFrame->GetToolBar(), xtpBarTop);
    m_pFrame->RecalcLayout();
    Pump();
    EXPECT_TRUE(m_pEdit->GetEditCtrl()->IsWindowVisible());
}

TEST_F(ControlEditTest, AFieldDestroyedWhileEditedLeavesTheEditingState)
{
    Focus();
    ASSERT_TRUE(m_pEdit->IsFocused());
    ASSERT_GT(CMouseManager::GetThreadManager()->m_nCaptureLoops, 0);
    m_pEdit->GetEditCtrl()->DestroyWindow();
    Pump();
    EXPECT_FALSE(m_pEdit->IsFocused());
    EXPECT_EQ(0, CMouseManager::GetThreadManager()->m_nCaptureLoops);
}

TEST_F(ControlEditTest, FieldKeysStayInTheFieldInsteadOfReachingTheAccelerators)
{
    // Delete and Ctrl+C are accelerators of the frame: outside the field they are the frame's.
    m_pFrame->SetFocus();
    Pump();
    m_pFrame->m_events.clear();
    SendKeys({VK_DELETE});
    SendKeys({VK_CONTROL, 'C'});
    Pump();
    std::vector<CTestFrame::EVENT> expected = {{WM_COMMAND, ID_FT_PRINT, 0}, {WM_COMMAND, ID_FT_OPEN, 0}};
    ASSERT_EQ(expected, m_pFrame->m_events);

    struct Case
    {
        const char* pszName;
        std::vector<std::vector<WORD>> chords;
        const wchar_t* pszText;
        const wchar_t* pszClipboard;   // null: not looked at
    } cases[] = {
        {"Delete at the start", {{VK_HOME}, {VK_DELETE}}, L"oma", nullptr},
        {"Backspace at the end", {{VK_END}, {VK_BACK}}, L"rom", nullptr},
        {"Ctrl+C copies the selection", {{VK_CONTROL, 'C'}}, L"roma", L"roma"},
        {"Ctrl+X cuts the selection", {{VK_CONTROL, 'X'}}, L"", L"roma"},
        {"Ctrl+V puts it back", {{VK_CONTROL, 'X'}, {VK_CONTROL, 'V'}}, L"roma", L"roma"},
        {"Ctrl+Z takes a Delete back", {{VK_HOME}, {VK_DELETE}, {VK_CONTROL, 'Z'}}, L"roma", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        ::OpenClipboard(nullptr);
        ::EmptyClipboard();
        ::CloseClipboard();
        m_pEdit->SetEditText(L"roma");
        Focus();
        m_pFrame->m_events.clear();
        for (const std::vector<WORD>& chord : c.chords) {
            if (chord.size() == 1)
                SendKeys({chord[0]});
            else
                SendKeys({chord[0], chord[1]});
            Pump();
        }
        EXPECT_EQ(CString(c.pszText), m_pEdit->GetEditText());
        EXPECT_TRUE(m_pEdit->IsFocused());
        for (const CTestFrame::EVENT& e : m_pFrame->m_events)
            EXPECT_NE(static_cast<UINT>(WM_COMMAND), e.message) << e.nId;
        if (c.pszClipboard) {
            CString strClipboard;
            if (::OpenClipboard(nullptr)) {
                if (HANDLE hText = ::GetClipboardData(CF_UNICODETEXT)) {
                    strClipboard = static_cast<LPCWSTR>(::GlobalLock(hText));
                    ::GlobalUnlock(hText);
                }
                ::CloseClipboard();
            }
            EXPECT_EQ(CString(c.pszClipboard), strClipboard);
        }
        Leave();
    }
}

TEST_F(ControlEditTest, ARightClickOffersCutCopyAndPasteAndRunsTheChoiceOnTheField)
{
    ::OpenClipboard(nullptr);
    ::EmptyClipboard();
    ::CloseClipboard();
    m_pEdit->SetEditText(L"Roma");
    Focus();
    m_pEdit->GetEditCtrl()->SetSel(0, -1);
    std::vector<UINT> ids;
    BOOL bLooked = FALSE;
    // The menu opens on the press in a loop of its own: the step works it from there once it shows.
    RunWhen([] { return GetOpenPopup() != nullptr; }, [&] {
        bLooked = TRUE;
        CXTPPopupBar* pPopup = GetOpenPopup();
        CXTPControl* pCopy = pPopup ? pPopup->GetControls()->FindControl(ID_EDIT_COPY) : nullptr;
        if (pPopup)
            for (int i = 0; i < pPopup->GetControls()->GetCount(); i++)
                ids.push_back(static_cast<UINT>(pPopup->GetControls()->GetAt(i)->GetID()));
        // "Copia" by its first letter; a menu that cannot copy is closed.
        SendKeys({pCopy && pCopy->GetEnabled() ? static_cast<WORD>('C') : static_cast<WORD>(VK_ESCAPE)});
    });
    CRect rc;
    m_pEdit->GetEditCtrl()->GetWindowRect(&rc);
    SendClick(rc.CenterPoint(), TRUE);
    EXPECT_TRUE(PumpUntil(m_pFrame->m_hWnd, [&] { return bLooked && !GetOpenPopup(); }));
    Pump();
    std::vector<UINT> expected = {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE};
    EXPECT_EQ(expected, ids);
    EXPECT_TRUE(m_pEdit->IsFocused());
    CString strClipboard;
    if (::OpenClipboard(nullptr)) {
        if (HANDLE hText = ::GetClipboardData(CF_UNICODETEXT)) {
            strClipboard = static_cast<LPCWSTR>(::GlobalLock(hText));
            ::GlobalUnlock(hText);
        }
        ::CloseClipboard();
    }
    EXPECT_EQ(CString(L"Roma"), strClipboard);
    EXPECT_EQ(CString(L"Roma"), m_pEdit->GetEditText());
}

// The bar's tip follows the mouse over the field as over any control: a press in the field puts it away.
TEST_F(ControlEditTest, APressInTheFieldPutsAwayTheTipThatTheMouseBrought)
{
    CXTPToolBar* pBar = m_pFrame->GetToolBar();
    auto* pPrint = static_cast<CXTPControlEdit*>(pBar->GetControls()->Add(xtpControlEdit, ID_FT_PRINT));
    m_pFrame->RecalcLayout();
    Pump();
    ASSERT_TRUE(pPrint->IsEditCreated());
    CTipContext* pTips = pBar->GetToolTipContext();
    ASSERT_NE(nullptr, pTips);
    pTips->SetTipKind(CTipContext::kindPlain);
    CWnd* pField = pPrint->GetEditCtrl();
    CRect rc;
    pField->GetClientRect(&rc);
    CPoint pt = rc.CenterPoint();
    g_ptFieldCursor = pt;
    pField->ClientToScreen(&g_ptFieldCursor);
    CXTPInputSource::PFN_CURSORPOS pfnOld = CXTPInputSource::SetCursorPosSource(FieldCursorPos);
    pField->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    auto* pTip = static_cast<CTipWnd*>(pTips->GetTipWindow());
    BOOL bShown = FALSE, bAfterPress = TRUE;
    CString strTool;
    if (pTip) {
        strTool = pTip->GetToolCount() == 1 ? pTip->GetTool(0).strText : CString();
        pTip->SendMessage(WM_TIMER, CTipWnd::showTimerID);
        bShown = pTip->IsWindowVisible();
        pField->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        bAfterPress = pTip->IsWindowVisible();
        pField->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    }
    CXTPInputSource::SetCursorPosSource(pfnOld);
    ASSERT_NE(nullptr, pTip);
    EXPECT_EQ(CString(L"Stampa"), strTool);
    EXPECT_TRUE(bShown);
    EXPECT_FALSE(bAfterPress);
    Leave();
}
