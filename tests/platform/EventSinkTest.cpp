// Event sink maps: events fired by a control window reach the handlers of its parent's object with their
// typed arguments, derived classes replace or inherit handlers, and nothing a handler throws gets out.
#include "platform/mfc/afxevent.h"
#include "HandlerFailures.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

namespace
{
const UINT kCtrlID = 77;

class CSinkBase : public CWnd
{
    DECLARE_DYNAMIC(CSinkBase)
public:
    CString m_strLog;

protected:
    void OnValues(short nButton, long x, double d)
    {
        m_strLog.AppendFormat(L"base values %d %ld %g;", nButton, x, d);
    }
    void OnEdit(BSTR* pText, short* pCancel)
    {
        m_strLog += L"base edit " + CString(*pText) + L";";
        ::SysReAllocString(pText, L"cambiato");
        *pCancel = 1;
    }
    void OnThrow() { AfxThrowOleDispatchException(0, L"Guasto del gestore"); }
    void OnFail() { ThrowHandlerFailure(m_failure); }
    DECLARE_EVENTSINK_MAP()

public:
    HandlerFailure m_failure = HandlerFailure::file;
};
IMPLEMENT_DYNAMIC(CSinkBase, CWnd)
BEGIN_EVENTSINK_MAP(CSinkBase, CWnd)
    ON_EVENT(CSinkBase, kCtrlID, 1, &CSinkBase::OnValues, VTS_I2 VTS_I4 VTS_R8)
    ON_EVENT(CSinkBase, kCtrlID, 2, &CSinkBase::OnEdit, VTS_PBSTR VTS_PI2)
    ON_EVENT(CSinkBase, kCtrlID, 3, &CSinkBase::OnThrow, VTS_NONE)
    ON_EVENT(CSinkBase, kCtrlID, 4, &CSinkBase::OnFail, VTS_NONE)
END_EVENTSINK_MAP()

// Replaces the edit handler, inherits the others.
class CSinkDerived : public CSinkBase
{
    DECLARE_DYNAMIC(CSinkDerived)
protected:
    void OnEdit(BSTR* pText, short*) { m_strLog += L"derived edit " + CString(*pText) + L";"; }
    DECLARE_EVENTSINK_MAP()
};
IMPLEMENT_DYNAMIC(CSinkDerived, CSinkBase)
BEGIN_EVENTSINK_MAP(CSinkDerived, CSinkBase)
    ON_EVENT(CSinkDerived, kCtrlID, 2, &CSinkDerived::OnEdit, VTS_PBSTR VTS_PI2)
END_EVENTSINK_MAP()

// A parent window with a child control of id kCtrlID.
template <class TSink>
struct CHost
{
    TSink m_parent;
    HWND m_hCtrl = nullptr;

    CHost()
    {
        m_parent.CreateEx(0, nullptr, L"sink", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0);
        m_hCtrl = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, m_parent.m_hWnd,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCtrlID)), nullptr, nullptr);
    }
    ~CHost() { m_parent.DestroyWindow(); }
};
} // namespace

TEST(EventSink, ArgumentsArriveTypedAndByReferenceOnesComeBackChanged)
{
    CHost<CSinkBase> host;
    ASSERT_NE(nullptr, host.m_hCtrl);
    EXPECT_TRUE(AfxFireEvent(host.m_hCtrl, 1, short(2), 300L, 1.5));

    BSTR bstrText = ::SysAllocString(L"12a");
    short nCancel = 0;
    EXPECT_TRUE(AfxFireEvent(host.m_hCtrl, 2, &bstrText, &nCancel));
    EXPECT_STREQ(L"cambiato", bstrText);
    EXPECT_EQ(1, nCancel);
    ::SysFreeString(bstrText);
    EXPECT_EQ(CString(L"base values 2 300 1.5;base edit 12a;"), host.m_parent.m_strLog);
}

TEST(EventSink, UnknownEventsAndMismatchedArgumentsCallNothing)
{
    CHost<CSinkBase> host;
    EXPECT_FALSE(AfxFireEvent(host.m_hCtrl, 9));                    // no entry
    EXPECT_FALSE(AfxFireEvent(host.m_hCtrl, 1, 2L, 300L, 1.5));     // long where the handler takes a short
    EXPECT_FALSE(AfxFireEvent(host.m_hCtrl, 1, short(2), 300L));    // one argument short
    HWND hOther = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, host.m_parent.m_hWnd,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCtrlID + 1)), nullptr, nullptr);
    EXPECT_FALSE(AfxFireEvent(hOther, 1, short(2), 300L, 1.5));     // another control
    EXPECT_TRUE(host.m_parent.m_strLog.IsEmpty());
}

TEST(EventSink, DerivedClassReplacesOneHandlerAndInheritsTheOthers)
{
    CHost<CSinkDerived> host;
    BSTR bstrText = ::SysAllocString(L"testo");
    short nCancel = 0;
    EXPECT_TRUE(AfxFireEvent(host.m_hCtrl, 2, &bstrText, &nCancel));
    EXPECT_TRUE(AfxFireEvent(host.m_hCtrl, 1, short(1), 5L, 0.25));
    EXPECT_STREQ(L"testo", bstrText);
    EXPECT_EQ(0, nCancel);
    ::SysFreeString(bstrText);
    EXPECT_EQ(CString(L"derived edit testo;base values 1 5 0.25;"), host.m_parent.m_strLog);
}

TEST(EventSink, AnExceptionOfAHandlerIsShownAndStopsThere)
{
    CHost<CSinkBase> host;
    CMessageBoxRecorder recorder;
    EXPECT_TRUE(AfxFireEvent(host.m_hCtrl, 3));
    ASSERT_EQ(1u, recorder.Count());
    EXPECT_EQ(CString(L"Guasto del gestore"), recorder.Last().text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP), recorder.LastIcon());
}

TEST(EventSink, HandlerExceptionsMeetTheWindowProceduresNet)
{
    CHost<CSinkBase> host;
    for (HandlerFailure failure : g_allHandlerFailures) {
        SCOPED_TRACE(static_cast<int>(failure));
        CMessageBoxRecorder recorder;
        host.m_parent.m_failure = failure;
        EXPECT_TRUE(AfxFireEvent(host.m_hCtrl, 4));
        CString strExpected = ExpectedFailureText(failure);
        if (strExpected.IsEmpty()) {
            EXPECT_EQ(0u, recorder.Count());   // the user has already been told
            continue;
        }
        ASSERT_EQ(1u, recorder.Count());
        EXPECT_EQ(strExpected, recorder.Last().text);
    }

    // The thread's own handler decides.
    class CQuietApp : public CWinApp
    {
    public:
        CQuietApp() : CWinApp(L"Prova") {}
        int m_nHandled = 0;
        LRESULT ProcessWndProcException(CException* e, const MSG*) override
        {
            ++m_nHandled;
            e->Delete();
            return 0;
        }
    } app;
    host.m_parent.m_failure = HandlerFailure::file;
    EXPECT_TRUE(AfxFireEvent(host.m_hCtrl, 4));
    EXPECT_EQ(1, app.m_nHandled);
}
