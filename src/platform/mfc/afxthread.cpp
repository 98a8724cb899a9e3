#include "afxthread.h"

#include "afximagelist.h"
#include "afxstate.h"

#include <algorithm>

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
            if (!OnIdle(lIdleCount++))
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
    MSG* pMsg = &AfxGetThreadState()->m_msgCur;
    if (::GetMessageW(pMsg, nullptr, 0, 0) <= 0)
        return FALSE;
    if (pMsg->message != WM_KICKIDLE && !PreTranslateMessage(pMsg)) {
        ::TranslateMessage(pMsg);
        ::DispatchMessageW(pMsg);
    }
    return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
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

BOOL AfxPumpMessage()
{
    if (CWinThread* pThread = AfxGetThread())
        return pThread->PumpMessage();
    MSG* pMsg = &AfxGetThreadState()->m_msgCur;
    if (::GetMessageW(pMsg, nullptr, 0, 0) <= 0)
        return FALSE;
    if (pMsg->message != WM_KICKIDLE && !CWnd::WalkPreTranslateTree(nullptr, pMsg)) {
        ::TranslateMessage(pMsg);
        ::DispatchMessageW(pMsg);
    }
    return TRUE;
}

void AfxDeleteTempMaps()
{
    CWnd::DeleteTempMap();
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
    CMenu::DeleteTempMap();
    CImageList::DeleteTempMap();
}
