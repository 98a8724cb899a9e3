// Real input (SendInput) at screen points and keys, for tests that drive a foreground window as a user does, and
// a pump that waits for what that input starts.
#pragma once

#include "platform/mfc/afxwin.h"

#include <functional>
#include <initializer_list>
#include <vector>

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

// Counts, while it lives, the button and key releases that the calling thread takes from its queue, in its own
// loops and in modal ones (a drag, a menu): a gesture has been handled once its last release was taken, however
// late a loaded machine delivers it. One at a time.
class CInputReleases
{
public:
    CInputReleases();
    ~CInputReleases();
    CInputReleases(const CInputReleases&) = delete;
    CInputReleases& operator=(const CInputReleases&) = delete;

    int GetCount() const;
};

// Dispatches what the queue holds now (input, posted and sent messages; not the timers that go on for ever).
void PumpQueued(HWND hWndFrame, DWORD nTimeout = 5000);
// Dispatches as PumpUntil does until nReleases releases were taken since the counter began and no window holds
// the capture (a drag loop has ended), then what that left in the queue; FALSE when nTimeout ms passed first.
BOOL PumpUntilReleased(HWND hWndFrame, const CInputReleases& releases, int nReleases, DWORD nTimeout = 5000);
// Sends a batch of input and waits so for each of its releases (every one must come to a window of this thread).
BOOL SendInputAndWait(HWND hWndFrame, const std::vector<INPUT>& inputs, DWORD nTimeout = 5000);
// A move to a screen point (with button changes in dwButtons), waited for until the cursor is there and what it
// queued for this thread has been dispatched: for input that may go to no window of the test.
BOOL SendMouseAndWait(HWND hWndFrame, CPoint ptScreen, DWORD dwButtons = 0, DWORD nTimeout = 5000);
