// The framework's per-thread bookkeeping of windows and messages (internal to the framework).
#pragma once

#include <windows.h>

#include <vector>

class CWnd;
class CWinThread;

struct AFX_THREAD_STATE
{
    CWnd* m_pWndInit = nullptr;              // the window that the creation hook attaches next
    HHOOK m_hHookOldCbtFilter = nullptr;
    MSG m_lastSentMsg = {};                  // the message the window procedure is handling (Default)
    MSG m_msgCur = {};                       // the message the thread's pump has just taken
    HWND m_hLockoutNotifyWindow = nullptr;   // control notifications to this window are ignored (UpdateData)
    CWinThread* m_pCurrentWinThread = nullptr;
    std::vector<CWnd*> m_frameList;          // the frame windows of the thread, for the idle update
};

AFX_THREAD_STATE* AfxGetThreadState();
