#pragma once
// Timing shared by the command-line benchmarks.
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace rr::bench
{

// The median wall time of runs calls of body, in milliseconds; before, when given,
// runs ahead of each call outside the timing.
inline double medianMs(int runs, const std::function<void()> &body, const std::function<void()> &before = {})
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (before)
            before();
        const auto start = std::chrono::steady_clock::now();
        body();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace rr::bench
