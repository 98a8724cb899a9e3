// Real input (SendInput) at screen points and keys, for tests that drive a foreground window as a user does, and
// a pump that waits for what that input starts.
#pragma once

#include "platform/mfc/afxwin.h"

#include <functional>
#include <initializer_list>

// One absolute mouse event at a screen point (a move, with button changes in dwFlags), and one key going down or
// up: for tests that send a whole gesture in one batch.
INPUT MouseInput(CPoint ptScreen, DWORD dwFlags);
INPUT KeyInput(WORD nKey, BOOL bUp);

void SendClick(CPoint ptScreen, BOOL bRight = FALSE);
void SendMouseMove(CPoint ptScreen);
// A move to the point with button changes (MOUSEEVENTF_LEFTDOWN, ...): a press here, its release elsewhere.
void SendMouseButton(CPoint ptScreen, DWORD dwButtons);
// Keys pressed in order and released in reverse order.
void SendKeys(std::initializer_list<WORD> keys);
// Dispatches the thread's messages (with the frame's pre-translation when hWndFrame is given) until bDone answers
// TRUE or nTimeout milliseconds passed; bDone's last answer.
BOOL PumpUntil(HWND hWndFrame, const std::function<BOOL()>& bDone, DWORD nTimeout);
