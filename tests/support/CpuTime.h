// The processor time a step takes on the calling thread. Tests of how time grows with the input measure this:
// the time on the clock also grows with whatever else the machine runs.
#pragma once

#include <windows.h>

template <class TStep>
long CpuMilliseconds(TStep step)
{
    auto now = []() {
        FILETIME created, exited, kernel, user;
        ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
        return ((static_cast<ULONGLONG>(kernel.dwHighDateTime) << 32) | kernel.dwLowDateTime) +
               ((static_cast<ULONGLONG>(user.dwHighDateTime) << 32) | user.dwLowDateTime);
    };
    const ULONGLONG start = now();
    step();
    return static_cast<long>((now() - start) / 10000);
}
