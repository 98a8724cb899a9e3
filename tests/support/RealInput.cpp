#include "support/RealInput.h"

#include <vector>

INPUT MouseInput(CPoint ptScreen, DWORD dwFlags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = ptScreen.x * 65536 / ::GetSystemMetrics(SM_CXSCREEN) + 1;
    input.mi.dy = ptScreen.y * 65536 / ::GetSystemMetrics(SM_CYSCREEN) + 1;
    input.mi.dwFlags = dwFlags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

INPUT KeyInput(WORD nKey, BOOL bUp)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = nKey;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(nKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
    return input;
}

void SendMouseMove(CPoint ptScreen)
{
    INPUT input = MouseInput(ptScreen, 0);
    ::SendInput(1, &input, sizeof(INPUT));
}

void SendMouseButton(CPoint ptScreen, DWORD dwButtons)
{
    INPUT input = MouseInput(ptScreen, dwButtons);
    ::SendInput(1, &input, sizeof(INPUT));
}

void SendClick(CPoint ptScreen, BOOL bRight)
{
    INPUT inputs[] = {MouseInput(ptScreen, 0), MouseInput(ptScreen, bRight ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN),
                      MouseInput(ptScreen, bRight ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP)};
    ::SendInput(3, inputs, sizeof(INPUT));
}

void SendKeys(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (WORD nKey : keys)
        inputs.push_back(KeyInput(nKey, FALSE));
    for (auto it = keys.end(); it != keys.begin();)
        inputs.push_back(KeyInput(*--it, TRUE));
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

namespace
{
BOOL PumpOne(HWND hWndFrame)
{
    MSG msg;
    if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return FALSE;
    if (!hWndFrame || !::IsWindow(hWndFrame) || !CWnd::WalkPreTranslateTree(hWndFrame, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

HHOOK g_hReleaseHook = nullptr;
int g_nReleases = 0;

LRESULT CALLBACK CountReleases(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION && (wParam & PM_REMOVE)) {
        switch (reinterpret_cast<const MSG*>(lParam)->message) {
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_NCLBUTTONUP:
        case WM_NCRBUTTONUP:
        case WM_NCMBUTTONUP:
        case WM_KEYUP:
        case WM_SYSKEYUP:
            ++g_nReleases;
            break;
        }
    }
    return ::CallNextHookEx(g_hReleaseHook, nCode, wParam, lParam);
}
} // namespace

BOOL PumpUntil(HWND hWndFrame, const std::function<BOOL()>& bDone, DWORD nTimeout)
{
    DWORD dwStart = ::GetTickCount();
    for (;;) {
        if (bDone())
            return TRUE;
        if (::GetTickCount() - dwStart >= nTimeout)
            return bDone();
        if (!PumpOne(hWndFrame))
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

namespace
{
std::function<BOOL()> g_ready;
std::function<void()> g_action;
DWORD g_dwArmed = 0;
DWORD g_nReadyTimeout = 0;

void CALLBACK RunWhenReady(HWND, UINT, UINT_PTR nID, DWORD)
{
    if (g_ready && !g_ready() && ::GetTickCount() - g_dwArmed < g_nReadyTimeout)
        return;
    ::KillTimer(nullptr, nID);
    std::function<void()> action;
    action.swap(g_action);
    g_ready = nullptr;
    if (action)
        action();
}
} // namespace

void RunWhen(const std::function<BOOL()>& bReady, const std::function<void()>& action, DWORD nTimeout)
{
    g_ready = bReady;
    g_action = action;
    g_dwArmed = ::GetTickCount();
    g_nReadyTimeout = nTimeout;
    ::SetTimer(nullptr, 0, 10, RunWhenReady);
}

CInputReleases::CInputReleases()
{
    g_nReleases = 0;
    g_hReleaseHook = ::SetWindowsHookExW(WH_GETMESSAGE, CountReleases, nullptr, ::GetCurrentThreadId());
}

CInputReleases::~CInputReleases()
{
    ::UnhookWindowsHookEx(g_hReleaseHook);
    g_hReleaseHook = nullptr;
}

int CInputReleases::GetCount() const
{
    return g_nReleases;
}

namespace
{
// A drag loop ends when it lets the capture go; keys are taken whoever holds it (a control that edits may).
BOOL PumpUntilTaken(HWND hWndFrame, const CInputReleases& releases, int nReleases, BOOL bDragEnds, DWORD nTimeout)
{
    if (!PumpUntil(hWndFrame, [&] { return releases.GetCount() >= nReleases && !(bDragEnds && ::GetCapture()); },
                   nTimeout))
        return FALSE;
    // What the gesture's end posted (a layout, a command) is handled too.
    PumpQueued(hWndFrame, nTimeout);
    return TRUE;
}
} // namespace

BOOL PumpUntilReleased(HWND hWndFrame, const CInputReleases& releases, int nReleases, DWORD nTimeout)
{
    return PumpUntilTaken(hWndFrame, releases, nReleases, TRUE, nTimeout);
}

BOOL SendInputAndWait(HWND hWndFrame, const std::vector<INPUT>& inputs, DWORD nTimeout)
{
    int nReleases = 0;
    BOOL bMouse = FALSE;
    for (const INPUT& input : inputs) {
        if (input.type == INPUT_KEYBOARD) {
            nReleases += (input.ki.dwFlags & KEYEVENTF_KEYUP) ? 1 : 0;
        } else if (input.type == INPUT_MOUSE) {
            bMouse = TRUE;
            for (DWORD dwUp : {MOUSEEVENTF_LEFTUP, MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_MIDDLEUP})
                nReleases += (input.mi.dwFlags & dwUp) ? 1 : 0;
        }
    }
    CInputReleases releases;
    std::vector<INPUT> batch = inputs;
    ::SendInput(static_cast<UINT>(batch.size()), batch.data(), sizeof(INPUT));
    return PumpUntilTaken(hWndFrame, releases, nReleases, bMouse, nTimeout);
}

BOOL SendMouseAndWait(HWND hWndFrame, CPoint ptScreen, DWORD dwButtons, DWORD nTimeout)
{
    SendMouseButton(ptScreen, dwButtons);
    const BOOL bThere = PumpUntil(hWndFrame, [&] {
        CPoint pt;
        return ::GetCursorPos(&pt) && pt == ptScreen;
    }, nTimeout);
    PumpQueued(hWndFrame, nTimeout);
    return bThere;
}

void PumpQueued(HWND hWndFrame, DWORD nTimeout)
{
    const DWORD dwStart = ::GetTickCount();
    while (::GetTickCount() - dwStart < nTimeout && ::GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE)
           && PumpOne(hWndFrame)) {
    }
}
