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

BOOL PumpUntil(HWND hWndFrame, const std::function<BOOL()>& bDone, DWORD nTimeout)
{
    DWORD dwStart = ::GetTickCount();
    for (;;) {
        if (bDone())
            return TRUE;
        if (::GetTickCount() - dwStart >= nTimeout)
            return bDone();
        MSG msg;
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!hWndFrame || !::IsWindow(hWndFrame) || !CWnd::WalkPreTranslateTree(hWndFrame, &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        } else {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
    }
}
