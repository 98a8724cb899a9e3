// Tests of how a step's time grows with its input.
#pragma once

#include "support/CpuTime.h"

#include <gtest/gtest.h>

// Judges how a step's time grows with its input: on an input ten times as large it may take up to fifty times
// as long. A linear step takes ten times as long, a step whose time grows with the square of its input a hundred.
template <class TOnce, class TTenfold>
testing::AssertionResult GrowsLinearly(TOnce once, TTenfold tenfold)
{
    const long nOnce = CpuMilliseconds(once);
    const long nTenfold = CpuMilliseconds(tenfold);
    testing::AssertionResult result = nTenfold <= 50 * nOnce + 100 ? testing::AssertionSuccess() : testing::AssertionFailure();
    return result << "ten times the input took " << nTenfold << " ms, the input itself " << nOnce << " ms";
}
