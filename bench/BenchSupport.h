// What the database benchmarks share: a fresh file in the temporary folder and a millisecond clock.
#pragma once

#include "platform/mfc/afxstr.h"

#include <algorithm>
#include <vector>

// A path in the system's temporary folder, named after the benchmark, this process and the given name; any old
// file of that name is removed.
inline CString BenchTempFile(LPCTSTR pszBench, LPCTSTR pszName)
{
    TCHAR folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    CString path;
    path.Format(L"%squarzel-%s-%lu-%s", folder, pszBench, ::GetCurrentProcessId(), pszName);
    ::DeleteFileW(path);
    return path;
}

// Milliseconds of the high-resolution counter.
inline double BenchNow()
{
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The median of the runs' times.
inline double BenchMedian(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return (times[(times.size() - 1) / 2] + times[times.size() / 2]) / 2;
}
