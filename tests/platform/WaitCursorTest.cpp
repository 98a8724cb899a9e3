#include "platform/mfc/afx.h"

#include <gtest/gtest.h>

TEST(CWaitCursor, NestedWaitsRestoreTheCursorOfBeforeOnlyAtTheEnd)
{
    const HCURSOR hcurWait = ::LoadCursorW(nullptr, IDC_WAIT);
    const HCURSOR hcurBefore = ::LoadCursorW(nullptr, IDC_IBEAM);
    ::SetCursor(hcurBefore);
    {
        CWaitCursor outer;
        EXPECT_EQ(hcurWait, ::GetCursor());
        {
            CWaitCursor inner;
            ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW)); // as a message box would
            inner.Restore();
            EXPECT_EQ(hcurWait, ::GetCursor());
        }
        EXPECT_EQ(hcurWait, ::GetCursor()); // the outer wait goes on
    }
    EXPECT_EQ(hcurBefore, ::GetCursor());

    // An end without a begin must not make the next wait's end come one step too late.
    AfxEndWaitCursor();
    AfxBeginWaitCursor();
    EXPECT_EQ(hcurWait, ::GetCursor());
    AfxEndWaitCursor();
    EXPECT_EQ(hcurBefore, ::GetCursor());
    AfxRestoreWaitCursor(); // no wait in progress: nothing to show
    EXPECT_EQ(hcurBefore, ::GetCursor());
}
