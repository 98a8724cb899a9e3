// Menus and popups are not modal: while one is tracked the rest of the application keeps its input. The mouse
// manager closes tracked popups on a click outside them and watches the mouse leaving a window; the keyboard
// manager routes key presses to registered handlers and closes the popups when the application loses
// activation; the window hook manager lets several objects see the messages of one window.
#pragma once

#include "platform/mfc/afxwin.h"

#include <deque>
#include <functional>
#include <map>
#include <vector>

class CXTPCommandBar;

// Answers of OnHookMessage.
enum { xtpHookContinue = 0, xtpHookHandled = 1, xtpHookStop = 2 };

class CXTPHookHandler
{
public:
    virtual ~CXTPHookHandler() = default;
    virtual int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) = 0;
};

// What a tracked bar does for the mouse manager.
class CXTPTrackedBar
{
public:
    virtual ~CXTPTrackedBar() = default;
    virtual HWND GetTrackedWindow() const = 0;
    // 1 the point is on the bar, -2 skip the bar, other values: on the bar when the window under the point is
    // a child of the bar's window.
    virtual int OnMouseHitTest(CPoint ptScreen) = 0;
    // A mouse move outside every tracked bar (client coordinates of this bar).
    virtual void OnTrackedMouseMove(CPoint ptClient) = 0;
    // Ends the tracking; the bar leaves the tracked list.
    virtual void StopTracking() = 0;
    virtual int& GetInputLock() = 0;
};

// What the mouse hook does with one mouse message that reaches no tracked bar.
enum { xtpMouseNothing = 0, xtpMouseMove = 1, xtpMouseUntrack = 2 };
int GetOutsideMouseAction(UINT nMessage, int nCaptureLoops);
// What the keyboard hook does with a key: 0 offer it to the handlers, 1 close every popup and consume it,
// 2 pass it on untouched.
enum { xtpKeyOffer = 0, xtpKeyUntrack = 1, xtpKeyPass = 2 };
int GetKeyboardHookAction(WPARAM nKey, LPARAM lKeyData, int nCaptureLoops);

class CMouseManager
{
public:
    CMouseManager();
    ~CMouseManager();
    CMouseManager(const CMouseManager&) = delete;
    CMouseManager& operator=(const CMouseManager&) = delete;

    // The thread's manager, made on first use.
    static CMouseManager* GetThreadManager();

    void AddTrackedBar(CXTPTrackedBar* pBar);
    void RemoveTrackedBar(CXTPTrackedBar* pBar);
    // Ends the tracking of every tracked bar; a bar that does not leave the list is taken out.
    void UntrackAll();
    void CloseUnlockedBars();
    void LockTrackedBars(BOOL bLock);
    BOOL IsTrackingActive(CXTPTrackedBar* pBar) const;
    BOOL IsTracking() const { return !m_arrTracked.empty(); }
    BOOL IsTracked(CXTPTrackedBar* pBar) const;
    CXTPTrackedBar* GetTopTrackedBar() const { return m_arrTracked.empty() ? nullptr : m_arrTracked.back(); }
    BOOL IsTopBarLocked() const;
    void AddTrustedWindow(HWND hWnd) { m_arrTrusted.push_back(hWnd); }
    void RemoveTrustedWindow(HWND hWnd);
    void TrackMouseLeave(HWND hWnd);
    HWND GetWatchedWindow() const { return m_hWndWatched; }

    int m_nCaptureLoops = 0;
    BOOL m_bSwallowRelease = FALSE;
    BOOL m_bMenusExpanded = FALSE;
    CXTPCommandBar* m_pHotBar = nullptr;

    // The click test for one mouse message at a screen point (the hook runs it while bars are tracked).
    void OnHookMouseMessage(UINT nMessage, CPoint pt);
    // The hook's treatment of one message; TRUE when it consumes it.
    BOOL OnMouseHookAction(UINT nMessage, CPoint pt);

private:
    static LRESULT CALLBACK MouseProc(int nCode, WPARAM wParam, LPARAM lParam);
    static void CALLBACK LeaveTimerProc(HWND hWnd, UINT nMsg, UINT_PTR nIDEvent, DWORD dwTime);
    void OnLeaveTimer(HWND hWnd);

    std::vector<CXTPTrackedBar*> m_arrTracked;
    std::vector<HWND> m_arrTrusted;
    HHOOK m_hHook = nullptr;
    HWND m_hWndWatched = nullptr;
    CPoint m_ptLast = CPoint(-1, -1);
};

class CKeyboardManager
{
public:
    CKeyboardManager() = default;
    ~CKeyboardManager();
    CKeyboardManager(const CKeyboardManager&) = delete;
    CKeyboardManager& operator=(const CKeyboardManager&) = delete;

    static CKeyboardManager* GetThreadManager();

    void AddHandler(CXTPHookHandler* pHandler);
    void RemoveHandler(CXTPHookHandler* pHandler);
    BOOL IsHooked() const { return m_hKeyboardHook != nullptr; }
    // Offers a key press to the handlers, newest first; TRUE when it is consumed.
    BOOL ProcessKey(WPARAM nKey, LPARAM lKeyData);
    // TRUE when a handler takes the wheel turn.
    BOOL ProcessMouseWheel(WPARAM wParam, LPARAM lParam);
    BOOL HasHandlers() const { return !m_arrHandlers.empty(); }
    // What a key offered by the hook starts (a command, and the dialog it opens) runs once the hook has returned
    // and the key has left the queue: a modal loop run inside the hook would read the same key again. Outside the
    // hook the action runs at once.
    void RunAfterKey(std::function<void()> action);

private:
    // The first answer other than "continue" of the handlers, newest first.
    int OfferMessage(UINT nMessage, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK KeyboardProc(int nCode, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CallWndProc(int nCode, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK AfterKeyWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    // The message-only window that the actions are posted to; null when it cannot be made.
    HWND GetAfterKeyWindow();
    void Unhook();

    HHOOK m_hKeyboardHook = nullptr;
    HHOOK m_hMessageHook = nullptr;
    std::vector<CXTPHookHandler*> m_arrHandlers;
    int m_nKeysOffered = 0;
    HWND m_hWndAfterKey = nullptr;
    std::deque<std::function<void()>> m_arrAfterKey;
};

class CWindowHookManager
{
public:
    static CWindowHookManager* GetInstance();
    ~CWindowHookManager();

    void SetHook(HWND hWnd, CXTPHookHandler* pHook);
    void RemoveHook(HWND hWnd, CXTPHookHandler* pHook);
    void RemoveHookFromAll(CXTPHookHandler* pHook);
    BOOL IsHooked(HWND hWnd) const { return m_mapLists.count(hWnd) != 0; }

private:
    struct CWindowHookList
    {
        std::vector<CXTPHookHandler*> hooks;
        WNDPROC pfnOldProc = nullptr;
        HWND hWnd = nullptr;
        // Messages being offered to the hooks: the list is deleted only when the last one returns.
        int nBusy = 0;
        BOOL bDeletePending = FALSE;
    };

    CWindowHookManager() = default;
    static LRESULT CALLBACK HookWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Unsubclass(CWindowHookList* pList);
    // Takes the window out of the map; the list goes now or when the message offering it returns.
    void Release(CWindowHookList* pList);

    std::map<HWND, CWindowHookList*> m_mapLists;
};
