// Where the framework's timed and mouse-following behaviour (tip delays, the repeat of held scroll buttons, hot
// tracking) reads the clock and the cursor: the system unless a test replaces them, so that tests fire timers
// and place the cursor instead of sleeping and moving the real mouse.
#pragma once

#include <windows.h>

class CXTPInputSource
{
public:
    typedef DWORD (*PFN_TICKCOUNT)();
    typedef BOOL (*PFN_CURSORPOS)(LPPOINT lpPoint);

    static DWORD GetTickCount();
    static BOOL GetCursorPos(LPPOINT lpPoint);

    // Null restores the system's; each answers the previous source.
    static PFN_TICKCOUNT SetTickCountSource(PFN_TICKCOUNT pfn);
    static PFN_CURSORPOS SetCursorPosSource(PFN_CURSORPOS pfn);
};
