// CWnd's life with its window: the creation hook, subclassing, the handle maps, the end of a heap window,
// the exception net of the window procedure, the modal loop and the pre-translation chain.
#include "platform/mfc/afxctrls.h"
#include "platform/mfc/afxres.h"
#include "platform/mfc/afxstate.h"
#include "platform/mfc/afxthread.h"
#include "platform/mfc/afxwin.h"
#include "HandlerFailures.h"
#include "support/MessageBoxRecorder.h"
#include "support/ModalDialogDriver.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace
{
const UINT WM_TEST_THROW = WM_APP + 10;
const UINT WM_TEST_END = WM_APP + 11;

class CRecordingWnd : public CWnd
{
public:
    std::vector<UINT> m_messages;
    bool m_bPreSubclassed = false;
    size_t m_nMessagesAtPreSubclass = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        m_messages.push_back(message);
        return CWnd::WindowProc(message, wParam, lParam);
    }

protected:
    void PreSubclassWindow() override
    {
        m_bPreSubclassed = true;
        m_nMessagesAtPreSubclass = m_messages.size();
    }
};

bool Contains(const std::vector<UINT>& messages, UINT message)
{
    for (UINT m : messages)
        if (m == message)
            return true;
    return false;
}

// Counts characters while it is subclassed; the edit itself still gets them through Default.
class CCountingEdit : public CEdit
{
public:
    int m_nChars = 0;

protected:
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
    {
        ++m_nChars;
        CEdit::OnChar(nChar, nRepCnt, nFlags);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCountingEdit, CEdit)
    ON_WM_CHAR()
END_MESSAGE_MAP()

// A window object that lives on the heap as long as its window.
class CSelfDeletingWnd : public CWnd
{
public:
    explicit CSelfDeletingWnd(bool* pbDeleted) : m_pbDeleted(pbDeleted) {}
    ~CSelfDeletingWnd() override { *m_pbDeleted = true; }

protected:
    void PostNcDestroy() override { delete this; }
    bool* m_pbDeleted;
};

// Handlers that fail in the ways a handler can fail.
class CThrowingWnd : public CWnd
{
public:
    bool m_bFailOnCreate = false;
    bool m_bFailToPreTranslate = false;
    HandlerFailure m_failure = HandlerFailure::file;
    int m_nThrowsDispatched = 0;

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (m_bFailToPreTranslate && pMsg->message == WM_TEST_THROW)
            ThrowHandlerFailure(m_failure);
        return CWnd::PreTranslateMessage(pMsg);
    }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        if (m_bFailOnCreate)
            ThrowHandlerFailure(m_failure);
        return CWnd::OnCreate(lpCreateStruct);
    }
    LRESULT OnThrow(WPARAM wParam, LPARAM)
    {
        ++m_nThrowsDispatched;
        if (wParam)
            ThrowHandlerFailure(m_failure);
        return 1;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
    ON_WM_CREATE()
    ON_MESSAGE(WM_TEST_THROW, &CThrowingWnd::OnThrow)
END_MESSAGE_MAP()

class CModalWnd : public CWnd
{
protected:
    LRESULT OnEnd(WPARAM wParam, LPARAM)
    {
        EndModalLoop(static_cast<int>(wParam));
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CModalWnd, CWnd)
    ON_MESSAGE(WM_TEST_END, &CModalWnd::OnEnd)
END_MESSAGE_MAP()

// Swallows the key presses of its children.
class CKeyEatingWnd : public CWnd
{
public:
    int m_nEaten = 0;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message != WM_KEYDOWN)
            return FALSE;
        ++m_nEaten;
        return TRUE;
    }
};

const RECT g_rect = {0, 0, 200, 100};

BOOL CreateTopLevel(CWnd& wnd)
{
    return wnd.CreateEx(0, nullptr, L"test", WS_OVERLAPPEDWINDOW, g_rect, nullptr, 0);
}

void PumpPending()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT)
        AfxPumpMessage();
}
} // namespace

TEST(Wnd, CreationHookGivesTheObjectItsFirstMessages)
{
    CRecordingWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    EXPECT_TRUE(wnd.m_bPreSubclassed);
    EXPECT_EQ(0u, wnd.m_nMessagesAtPreSubclass);
    ASSERT_FALSE(wnd.m_messages.empty());
    EXPECT_TRUE(Contains(wnd.m_messages, WM_NCCREATE));
    EXPECT_TRUE(Contains(wnd.m_messages, WM_CREATE));
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(wnd.m_hWnd));
    EXPECT_EQ(1, ::SendMessageW(wnd.m_hWnd, WM_QUERYAFXWNDPROC, 0, 0));

    HWND hWnd = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    EXPECT_EQ(WM_NCDESTROY, wnd.m_messages.back());
}

TEST(Wnd, SubclassingAndUnsubclassingAControl)
{
    CWnd parent;
    ASSERT_TRUE(CreateTopLevel(parent));
    HWND hEdit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 80, 20, parent.m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(33)), nullptr, nullptr);
    ASSERT_TRUE(hEdit);
    LONG_PTR originalProc = ::GetWindowLongPtrW(hEdit, GWLP_WNDPROC);

    CCountingEdit edit;
    ASSERT_TRUE(edit.SubclassDlgItem(33, &parent));
    EXPECT_EQ(&edit, CWnd::FromHandlePermanent(hEdit));
    CCountingEdit other;
    EXPECT_FALSE(other.SubclassWindow(hEdit));   // one object per window

    ::SendMessageW(hEdit, WM_CHAR, L'a', 0);
    EXPECT_EQ(1, edit.m_nChars);
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(CString(L"a"), text);   // the control's own procedure still ran

    EXPECT_EQ(hEdit, edit.UnsubclassWindow());
    EXPECT_EQ(originalProc, ::GetWindowLongPtrW(hEdit, GWLP_WNDPROC));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hEdit));
    ::SendMessageW(hEdit, WM_CHAR, L'b', 0);
    EXPECT_EQ(1, edit.m_nChars);
    ::GetWindowTextW(hEdit, text.GetBuffer(10), 10);
    text.ReleaseBuffer();
    EXPECT_EQ(CString(L"ab"), text);
    parent.DestroyWindow();
}

TEST(Wnd, AWindowHandedOverSendsItsMessagesToItsNewObject)
{
    CRecordingWnd first;
    ASSERT_TRUE(CreateTopLevel(first));
    HWND hWnd = first.m_hWnd;
    auto pSecond = std::make_unique<CRecordingWnd>();
    CRecordingWnd third;
    ASSERT_TRUE(CreateTopLevel(third));
    EXPECT_FALSE(first.HandOverWindow(&third));   // the receiver has a window of its own
    EXPECT_EQ(hWnd, first.m_hWnd);

    ASSERT_TRUE(first.HandOverWindow(pSecond.get()));
    EXPECT_EQ(nullptr, first.m_hWnd);
    EXPECT_EQ(hWnd, pSecond->m_hWnd);
    EXPECT_EQ(pSecond.get(), CWnd::FromHandlePermanent(hWnd));
    size_t nFirst = first.m_messages.size();
    ::SetWindowTextW(hWnd, L"consegnata");
    EXPECT_EQ(nFirst, first.m_messages.size());
    EXPECT_TRUE(Contains(pSecond->m_messages, WM_SETTEXT));
    CString strText;
    pSecond->GetWindowText(strText);
    EXPECT_EQ(CString(L"consegnata"), strText);   // the class's own procedure still runs behind the object
    EXPECT_FALSE(first.HandOverWindow(&third));   // nothing left to give

    // The new object's end ends the window; the old one's does nothing to it.
    pSecond.reset();
    EXPECT_FALSE(::IsWindow(hWnd));
    third.DestroyWindow();
}

TEST(Wnd, TemporaryWrappersLeaveTheWindowAlive)
{
    HWND hWnd = ::CreateWindowExW(0, L"STATIC", L"raw", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    CWnd* pTemp = CWnd::FromHandle(hWnd);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(pTemp, CWnd::FromHandle(hWnd));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    AfxDeleteTempMaps();
    EXPECT_TRUE(::IsWindow(hWnd));
    EXPECT_EQ(nullptr, CWnd::FromHandle(nullptr));
    ::DestroyWindow(hWnd);
}

TEST(Wnd, AHeapWindowEndsWithItsWindow)
{
    bool bDeleted = false;
    auto pWnd = new CSelfDeletingWnd(&bDeleted);
    ASSERT_TRUE(CreateTopLevel(*pWnd));
    HWND hWnd = pWnd->m_hWnd;
    ::DestroyWindow(hWnd);
    EXPECT_TRUE(bDeleted);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
}

TEST(Wnd, ADeleteWatchSeesAWindowObjectThatAFailedCreationDeleted)
{
    bool bDeleted = false;
    auto* pSelfDeleting = new CSelfDeletingWnd(&bDeleted);
    CWnd plain;
    for (CWnd* pWnd : {static_cast<CWnd*>(pSelfDeleting), &plain}) {
        CWndDeleteWatch outer(pWnd);
        CWndDeleteWatch watch(pWnd);
        // A child without a parent is refused before the window exists.
        EXPECT_FALSE(pWnd->CreateEx(0, nullptr, L"", WS_CHILD, CRect(0, 0, 10, 10), nullptr, 0));
        EXPECT_EQ(pWnd != &plain, watch.IsDeleted() != FALSE);
        EXPECT_EQ(watch.IsDeleted(), outer.IsDeleted());
    }
    EXPECT_TRUE(bDeleted);
}

TEST(Wnd, ExceptionsOfHandlersAreShownWithTheirTextAndStopAtTheWindowProcedure)
{
    CThrowingWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    for (HandlerFailure failure : g_allHandlerFailures) {
        SCOPED_TRACE(static_cast<int>(failure));
        CMessageBoxRecorder boxes;
        wnd.m_failure = failure;
        EXPECT_EQ(0, wnd.SendMessage(WM_TEST_THROW, TRUE));
        CString strExpected = ExpectedFailureText(failure);
        if (strExpected.IsEmpty()) {
            EXPECT_EQ(0u, boxes.Count());   // already told: nothing shown
            continue;
        }
        ASSERT_EQ(1u, boxes.Count());
        EXPECT_EQ(strExpected, boxes.Last().text);
        EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP), boxes.LastIcon());
    }
    EXPECT_TRUE(::IsWindow(wnd.m_hWnd));
    wnd.DestroyWindow();
}

TEST(Wnd, AFailingCreationIsReportedAndCreatesNothing)
{
    CMessageBoxRecorder boxes;
    CThrowingWnd wnd;
    wnd.m_bFailOnCreate = true;
    EXPECT_FALSE(CreateTopLevel(wnd));
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(1u, boxes.Count());
}

namespace
{
// The thread's own handler sees what the nets catch, as a framework exception with the text of the original.
class CRecordingApp : public CWinApp
{
public:
    CRecordingApp() : CWinApp(L"Prova") {}
    std::vector<CString> m_texts;
    std::vector<UINT> m_messages;

    LRESULT ProcessWndProcException(CException* e, const MSG* pMsg) override
    {
        TCHAR szText[512] = L"";
        e->GetErrorMessage(szText, 512);
        m_texts.push_back(szText);
        m_messages.push_back(pMsg->message);
        e->Delete();
        return 0;
    }
};

// A modal window whose making ends in an exception.
class CFailingModalWnd : public CWnd
{
public:
    INT_PTR RunFailing(CWnd* pOwner)
    {
        return DoModalWindow(
            pOwner,
            [this](HWND hWndOwner) -> BOOL {
                CreateEx(0, nullptr, L"modale", WS_POPUP, g_rect, CWnd::FromHandle(hWndOwner), 0);
                ThrowHandlerFailure(HandlerFailure::database);
            },
            [] { return static_cast<CDialog*>(nullptr); });
    }
};

class CFailingExchangeWnd : public CWnd
{
public:
    HandlerFailure m_failure = HandlerFailure::file;
    HWND m_hWndLockedOut = nullptr;

protected:
    void DoDataExchange(CDataExchange*) override
    {
        m_hWndLockedOut = AfxGetThreadState()->m_hLockoutNotifyWindow;
        ThrowHandlerFailure(m_failure);
    }
};
} // namespace

TEST(Wnd, ExceptionsOfPreTranslationStopAtThePumpAndTheMessageIsNotDispatched)
{
    CThrowingWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    wnd.m_bFailToPreTranslate = true;
    {
        CMessageBoxRecorder boxes;
        wnd.m_failure = HandlerFailure::database;
        wnd.PostMessage(WM_TEST_THROW, FALSE);
        PumpPending();
        ASSERT_EQ(1u, boxes.Count());
        EXPECT_EQ(CString(g_szDatabaseError), boxes.Last().text);
    }
    {
        CRecordingApp app;
        wnd.m_failure = HandlerFailure::standard;
        wnd.PostMessage(WM_TEST_THROW, FALSE);
        PumpPending();
        ASSERT_EQ(1u, app.m_texts.size());
        EXPECT_EQ(ExpectedFailureText(HandlerFailure::standard), app.m_texts[0]);
        EXPECT_EQ(WM_TEST_THROW, app.m_messages[0]);
    }
    EXPECT_EQ(0, wnd.m_nThrowsDispatched);
    wnd.m_bFailToPreTranslate = false;
    wnd.PostMessage(WM_TEST_THROW, FALSE);   // the pump still runs
    PumpPending();
    EXPECT_EQ(1, wnd.m_nThrowsDispatched);
    wnd.DestroyWindow();
}

TEST(Wnd, AnExceptionOutOfAModalWindowLeavesItsOwnerEnabled)
{
    CRealModalLoop realLoop;
    CWnd owner;
    ASSERT_TRUE(CreateTopLevel(owner));
    CFailingModalWnd modal;
    EXPECT_THROW(modal.RunFailing(&owner), _com_error);
    EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
    EXPECT_EQ(nullptr, modal.m_hWnd);
    owner.DestroyWindow();
}

TEST(Wnd, UpdateDataEndsTheNotificationLockoutWhateverTheExchangeThrows)
{
    CFailingExchangeWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    for (HandlerFailure failure : g_allHandlerFailures) {
        SCOPED_TRACE(static_cast<int>(failure));
        CMessageBoxRecorder boxes;
        wnd.m_failure = failure;
        wnd.m_hWndLockedOut = nullptr;
        try {
            EXPECT_FALSE(wnd.UpdateData(TRUE));   // framework exceptions end here, the others go on to the net
        } catch (...) {
        }
        EXPECT_EQ(wnd.m_hWnd, wnd.m_hWndLockedOut);
        EXPECT_EQ(nullptr, AfxGetThreadState()->m_hLockoutNotifyWindow);
    }
    wnd.DestroyWindow();
}

TEST(Wnd, ModalLoopRunsUntilEndModalLoop)
{
    CModalWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    wnd.PostMessage(WM_TEST_END, 42);
    EXPECT_EQ(42, wnd.RunModalLoop());
    EXPECT_FALSE(wnd.ContinueModal());
    wnd.DestroyWindow();
}

TEST(Wnd, ParentsPreTranslateTheirChildrensMessages)
{
    CKeyEatingWnd parent;
    ASSERT_TRUE(CreateTopLevel(parent));
    CCountingEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD, CRect(0, 0, 50, 20), &parent, 5));

    ::PostMessageW(edit.m_hWnd, WM_KEYDOWN, 'A', 0);
    ::PostMessageW(edit.m_hWnd, WM_CHAR, 'A', 0);
    PumpPending();
    EXPECT_EQ(1, parent.m_nEaten);
    EXPECT_EQ(1, edit.m_nChars);   // messages other than key-downs still arrive
    parent.DestroyWindow();
}
