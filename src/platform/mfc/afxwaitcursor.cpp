#include "afxwaitcursor.h"

namespace
{
int g_nWaitCursorCount = 0;
HCURSOR g_hcurRestore = nullptr;

HCURSOR WaitCursor() { return ::LoadCursorW(nullptr, IDC_WAIT); }
} // namespace

void AfxBeginWaitCursor()
{
    HCURSOR hcurPrevious = ::SetCursor(WaitCursor());
    if (g_nWaitCursorCount++ == 0)
        g_hcurRestore = hcurPrevious;
}

void AfxEndWaitCursor()
{
    if (g_nWaitCursorCount == 0) // unbalanced: nothing to end
        return;
    if (--g_nWaitCursorCount == 0)
        ::SetCursor(g_hcurRestore);
}

void AfxRestoreWaitCursor()
{
    if (g_nWaitCursorCount > 0)
        ::SetCursor(WaitCursor());
}
