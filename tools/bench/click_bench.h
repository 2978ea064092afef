// What the click-to-screen benchmarks share (not tests): a clock and the
// median, minimum and maximum of a series of times.
#ifndef CUMULON_CLICK_BENCH_H
#define CUMULON_CLICK_BENCH_H

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

// Milliseconds since `start` (a performance-counter reading).
inline double MillisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * (now.QuadPart - start.QuadPart) / frequency.QuadPart;
}

inline LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

// Prints "WHAT: median M ms, min A ms, max B ms (N runs)".
inline void PrintTimes(const char* what, std::vector<double> ms) {
    if (ms.empty())
        return;
    std::sort(ms.begin(), ms.end());
    const size_t n = ms.size();
    std::printf("%s: median %.1f ms, min %.1f ms, max %.1f ms (%zu runs)\n", what,
                n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2, ms.front(), ms.back(), n);
}

#endif
