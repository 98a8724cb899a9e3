// The wait cursor shown during long operations. Nesting is counted process-wide: the hourglass appears
// at the first begin and the cursor of before comes back at the matching last end.
#pragma once

#include <windows.h>

void AfxBeginWaitCursor();
void AfxEndWaitCursor();
// Shows the hourglass again while a wait is in progress (after a message box or a dialog changed it).
void AfxRestoreWaitCursor();

class CWaitCursor
{
public:
    CWaitCursor() { AfxBeginWaitCursor(); }
    ~CWaitCursor() { AfxEndWaitCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    void Restore() { AfxRestoreWaitCursor(); }
};
