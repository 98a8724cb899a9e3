// Real input (SendInput) at screen points and keys, for tests that drive a foreground window as a user does, and
// a pump that waits for what that input starts.
#pragma once

#include "platform/mfc/afxwin.h"

#include <functional>
#include <initializer_list>
#include <vector>

// How long a test waits for what its input starts before it fails: generous, since a loaded or emulated machine
// runs everything several times slower, and a test that gets its state goes on at once.
const DWORD INPUT_TIMEOUT = 15000;

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
BOOL PumpUntil(HWND hWndFrame, const std::function<BOOL()>& bDone, DWORD nTimeout = INPUT_TIMEOUT);
// Runs the action once from a timer, in whatever loop dispatches it then (a drag's, a menu's), as soon as bReady
// answers TRUE; after nTimeout ms anyway, so that a test fails instead of hanging. One at a time; the action may
// arm the next.
void RunWhen(const std::function<BOOL()>& bReady, const std::function<void()>& action,
             DWORD nTimeout = INPUT_TIMEOUT);

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
void PumpQueued(HWND hWndFrame, DWORD nTimeout = INPUT_TIMEOUT);
// Dispatches as PumpUntil does until nReleases releases were taken since the counter began and no window holds
// the capture (a drag loop has ended), then what that left in the queue; FALSE when nTimeout ms passed first.
BOOL PumpUntilReleased(HWND hWndFrame, const CInputReleases& releases, int nReleases, DWORD nTimeout = INPUT_TIMEOUT);
// Sends a batch of input and waits so for each of its releases (every one must come to a window of this thread);
// a batch of keys alone does not wait for the capture to go.
BOOL SendInputAndWait(HWND hWndFrame, const std::vector<INPUT>& inputs, DWORD nTimeout = INPUT_TIMEOUT);
// A move to a screen point (with button changes in dwButtons), waited for until the cursor is there and what it
// queued for this thread has been dispatched: for input that may go to no window of the test.
BOOL SendMouseAndWait(HWND hWndFrame, CPoint ptScreen, DWORD dwButtons = 0, DWORD nTimeout = INPUT_TIMEOUT);
