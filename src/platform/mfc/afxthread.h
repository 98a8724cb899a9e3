// CWinThread: the user-interface thread's message loop. Every message is first offered to the windows it
// is for (PreTranslateMessage, from the target up to the main window); while the queue is empty the thread
// runs its idle work: command-UI updates of every frame (WM_IDLEUPDATECMDUI), then the release of the
// temporary handle wrappers.
#pragma once

#include "afxwnd.h"

class CWinThread : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    ~CWinThread() override;

    CWnd* m_pMainWnd = nullptr;

    virtual BOOL InitInstance();
    // Pumps messages until WM_QUIT and answers ExitInstance's result.
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Takes one message from the queue and dispatches it; FALSE on WM_QUIT.
    virtual BOOL PumpMessage();
    // lCount 0: command-UI update of the frames; 1: release of the temporary wrappers. TRUE asks for more.
    virtual BOOL OnIdle(LONG lCount);
    // FALSE for the messages that do not end an idle phase (repeated mouse moves, paints, caret blinks).
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual int ExitInstance();
    // What the window procedure does with an exception that a handler let escape.
    virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }

private:
    POINT m_ptCursorLast = {};
    UINT m_nMsgLast = 0;
};

// The thread object of the calling thread (the application on the user-interface thread), or null.
CWinThread* AfxGetThread();
CWnd* AfxGetMainWnd();

// The standard handling of an escaped exception: the creation fails for WM_CREATE/WM_NCCREATE, a WM_PAINT
// is validated so that it does not come back at once, and the user is shown the error (except for a
// CUserException, which means the user has already been told). The exception is deleted.
LRESULT AfxProcessWndProcException(CException* e, const MSG* pMsg);
// The one net of everything that runs handlers (window procedure, pump, events, start-up); call it from a
// catch (...) block. The exception being handled reaches the thread's ProcessWndProcException as a framework
// exception: a database error and a standard-library exception keep their own text, out of memory is the
// memory exception, anything else the unknown error. Answers the handler's result for pMsg.
LRESULT AfxProcessCurrentException(const MSG* pMsg);

// One step of the thread's pump (the thread object's PumpMessage when there is one); FALSE on WM_QUIT.
BOOL AfxPumpMessage();
// The next message of a modal loop (mouse tracking, drags). FALSE on WM_QUIT, which is posted again so that the
// outer loop ends too, and when the queue cannot be read, which ends the program's loop as well.
BOOL AfxGetModalLoopMessage(MSG* pMsg);
// Releases the temporary wrappers of windows, DCs, GDI objects, menus and image lists.
void AfxDeleteTempMaps();
