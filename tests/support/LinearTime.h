// Tests of how a step's time grows with its input.
#pragma once

#include "support/CpuTime.h"

#include <gtest/gtest.h>

#include <algorithm>

// Judges how a step's time grows with its input: on an input ten times as large it may take up to fifty times
// as long. A linear step takes ten times as long, a step whose time grows with the square of its input a hundred.
// A thread's time advances by whole clock ticks (10 ms under Wine, 15.6 ms on Windows): a step read as 0 ms took
// up to a tick, and is judged as having taken one, so that a short linear step does not fail by its reading.
template <class TOnce, class TTenfold>
testing::AssertionResult GrowsLinearly(TOnce once, TTenfold tenfold)
{
    const long kTick = 16;
    const long nOnce = CpuMilliseconds(once);
    const long nTenfold = CpuMilliseconds(tenfold);
    testing::AssertionResult result =
        nTenfold <= 50 * std::max(nOnce, kTick) + 100 ? testing::AssertionSuccess() : testing::AssertionFailure();
    return result << "ten times the input took " << nTenfold << " ms, the input itself " << nOnce << " ms";
}
