#include "afxthread.h"

#include "afxstate.h"
#include "afxtooltip.h"

#include <comdef.h>

#include <algorithm>
#include <exception>
#include <new>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace
{
void UpdateFrameCmdUI(CWnd* pFrame)
{
    if (!pFrame->m_hWnd || !pFrame->IsWindowVisible())
        return;
    AfxCallWndProc(pFrame, pFrame->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
    pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
}

// An exception from outside the framework, shown with the text it came with.
class CForeignException : public CException
{
public:
    explicit CForeignException(const CString& strText) : CException(FALSE), m_strText(strText) {}

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const override
    {
        if (pnHelpContext)
            *pnHelpContext = 0;
        if (!lpszError || nMaxError == 0)
            return FALSE;
        ::lstrcpynW(lpszError, m_strText, static_cast<int>(nMaxError));
        return !m_strText.IsEmpty();
    }

private:
    CString m_strText;
};

// The description the data source gave, else the system's text of the error code.
CString ComErrorText(const _com_error& e)
{
    CString strText;
    if (IErrorInfo* pInfo = e.ErrorInfo()) {
        BSTR bstrDescription = nullptr;
        if (SUCCEEDED(pInfo->GetDescription(&bstrDescription)) && bstrDescription)
            strText = bstrDescription;
        ::SysFreeString(bstrDescription);
        pInfo->Release();
    }
    if (strText.IsEmpty() && e.ErrorMessage())
        strText = e.ErrorMessage();
    return strText;
}

// what() is UTF-8 in our own code, the system code page in the run-time library's.
CString NarrowText(const char* psz)
{
    int nLength = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, psz, -1, nullptr, 0);
    UINT nCodePage = nLength > 0 ? CP_UTF8 : CP_ACP;
    nLength = ::MultiByteToWideChar(nCodePage, 0, psz, -1, nullptr, 0);
    CString strText;
    if (nLength > 1) {
        ::MultiByteToWideChar(nCodePage, 0, psz, -1, strText.GetBuffer(nLength), nLength);
        strText.ReleaseBuffer(nLength - 1);
    }
    return strText;
}

LRESULT HandOver(CException* e, const MSG* pMsg)
{
    CWinThread* pThread = AfxGetThread();
    return pThread ? pThread->ProcessWndProcException(e, pMsg) : AfxProcessWndProcException(e, pMsg);
}

// The text of a foreign exception; making it may fail in turn (no memory), which leaves the unknown error.
template <class TText>
LRESULT HandOverWithText(const MSG* pMsg, TText text)
{
    CString strText;
    try {
        strText = text();
    } catch (...) {
        // shown as the unknown error
    }
    CForeignException e(strText);
    return HandOver(&e, pMsg);
}

// Idle work runs handlers too (command-UI updates, the application's own): a failure is shown and ends
// this idle phase, the loop goes on.
BOOL IdleSafely(CWinThread* pThread, LONG lCount)
{
    try {
        return pThread->OnIdle(lCount);
    } catch (...) {
        MSG msg = {};
        AfxProcessCurrentException(&msg);
        return FALSE;
    }
}

// Pre-translation runs handlers outside any window procedure: what they let escape stops here, and the
// message they failed on counts as handled.
template <class TPreTranslate>
BOOL PumpOneMessage(TPreTranslate preTranslate)
{
    MSG* pMsg = &AfxGetThreadState()->m_msgCur;
    if (::GetMessageW(pMsg, nullptr, 0, 0) <= 0)
        return FALSE;
    if (pMsg->message == WM_KICKIDLE)
        return TRUE;
    BOOL bHandled = TRUE;
    try {
        bHandled = preTranslate(pMsg);
    } catch (...) {
        AfxProcessCurrentException(pMsg);
    }
    if (!bHandled) {
        ::TranslateMessage(pMsg);
        ::DispatchMessageW(pMsg);
    }
    return TRUE;
}
} // namespace

CWinThread::CWinThread() = default;

CWinThread::~CWinThread()
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pCurrentWinThread == this)
        pState->m_pCurrentWinThread = nullptr;
}

CWinThread* AfxGetThread() { return AfxGetThreadState()->m_pCurrentWinThread; }

CWnd* AfxGetMainWnd()
{
    CWinThread* pThread = AfxGetThread();
    return pThread ? pThread->GetMainWnd() : nullptr;
}

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::Run()
{
    MSG* pMsg = &AfxGetThreadState()->m_msgCur;
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    for (;;) {
        while (bIdle && !::PeekMessageW(pMsg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!IdleSafely(this, lIdleCount++))
                bIdle = FALSE;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(pMsg)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageW(pMsg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinThread::PumpMessage()
{
    return PumpOneMessage([this](MSG* pMsg) { return PreTranslateMessage(pMsg); });
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    AfxFilterToolTipMessage(pMsg);
    CWnd* pMainWnd = GetMainWnd();
    HWND hWndMain = pMainWnd ? pMainWnd->m_hWnd : nullptr;
    if (CWnd::WalkPreTranslateTree(hWndMain, pMsg))
        return TRUE;
    // Messages of other top-level windows (modeless dialogs, floating frames) still meet the main
    // window's accelerators.
    if (hWndMain && pMsg->hwnd && ::GetAncestor(pMsg->hwnd, GA_ROOT) != hWndMain)
        return pMainWnd->PreTranslateMessage(pMsg);
    return FALSE;
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        CWnd* pMainWnd = GetMainWnd();
        if (pMainWnd)
            UpdateFrameCmdUI(pMainWnd);
        // Frames that are not the main window's children (floating frames) are top-level windows of
        // their own: each gets the update too. The list is copied: an update may create or close frames.
        std::vector<CWnd*> frames = AfxGetThreadState()->m_frameList;
        for (CWnd* pFrame : frames) {
            const auto& current = AfxGetThreadState()->m_frameList;
            if (pFrame != pMainWnd && std::find(current.begin(), current.end(), pFrame) != current.end())
                UpdateFrameCmdUI(pFrame);
        }
    } else {
        AfxDeleteTempMaps();
    }
    return lCount < 0;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    // Mouse moves that do not move, paints and caret blinks (0x0118) come by themselves: they would keep
    // the thread from ever being idle.
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        if (m_ptCursorLast.x == pMsg->pt.x && m_ptCursorLast.y == pMsg->pt.y && pMsg->message == m_nMsgLast)
            return FALSE;
        m_ptCursorLast = pMsg->pt;
        m_nMsgLast = pMsg->message;
        return TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

int CWinThread::ExitInstance() { return static_cast<int>(AfxGetThreadState()->m_msgCur.wParam); }

LRESULT CWinThread::ProcessWndProcException(CException* e, const MSG* pMsg)
{
    return AfxProcessWndProcException(e, pMsg);
}

LRESULT AfxProcessWndProcException(CException* e, const MSG* pMsg)
{
    LRESULT lResult = 0;
    if (pMsg->message == WM_CREATE)
        lResult = -1;
    else if (pMsg->message == WM_NCCREATE)
        lResult = FALSE;
    else if (pMsg->message == WM_PAINT)
        ::ValidateRect(pMsg->hwnd, nullptr);
    else if (pMsg->message == WM_COMMAND)
        lResult = TRUE;   // the command has been dealt with: it must not go on to the default procedure
    if (!e->IsKindOf(RUNTIME_CLASS(CUserException)))
        e->ReportError(MB_ICONSTOP);
    e->Delete();
    return lResult;
}

LRESULT AfxProcessCurrentException(const MSG* pMsg)
{
    try {
        throw;
    } catch (CException* e) {
        return HandOver(e, pMsg);
    } catch (const std::bad_alloc&) {
        CMemoryException e(FALSE);
        return HandOver(&e, pMsg);
    } catch (const _com_error& e) {
        return HandOverWithText(pMsg, [&e] { return ComErrorText(e); });
    } catch (const std::exception& e) {
        return HandOverWithText(pMsg, [&e] { return NarrowText(e.what()); });
    } catch (...) {
        CException e(FALSE);
        return HandOver(&e, pMsg);
    }
}

BOOL AfxPumpMessage()
{
    if (CWinThread* pThread = AfxGetThread())
        return pThread->PumpMessage();
    return PumpOneMessage([](MSG* pMsg) { return CWnd::WalkPreTranslateTree(nullptr, pMsg); });
}

BOOL AfxGetModalLoopMessage(MSG* pMsg)
{
    const BOOL bResult = ::GetMessageW(pMsg, nullptr, 0, 0);
    if (bResult <= 0)
        ::PostQuitMessage(bResult == 0 ? static_cast<int>(pMsg->wParam) : 0);
    return bResult > 0;
}

void AfxDeleteTempMaps() { CHandleMapBase::DeleteAllTemp(); }
