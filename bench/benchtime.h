#pragma once
// Timing shared by the command-line benchmarks. The machines they run on are shared
// and noisy, so a measured step and what it is compared with run in turn, round by
// round, and every figure is given as its minimum, median and maximum.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace rr::bench
{

inline double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The milliseconds of one call of body.
inline double timeMs(const std::function<void()> &body)
{
    const auto start = std::chrono::steady_clock::now();
    body();
    return msSince(start);
}

struct Spread {
    double min = 0;
    double median = 0;
    double max = 0;
};

inline Spread spreadOf(std::vector<double> times)
{
    if (times.empty())
        return {};
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2], times.back()};
}

// "min/median/max" with the given precision.
inline std::string formatSpread(const Spread &s, int decimals = 2)
{
    char text[96];
    std::snprintf(text, sizeof text, "%.*f/%.*f/%.*f", decimals, s.min, decimals, s.median, decimals, s.max);
    return text;
}

// The wall times of runs calls of body, in milliseconds; before, when given, runs
// ahead of each call outside the timing.
inline Spread timesMs(int runs, const std::function<void()> &body, const std::function<void()> &before = {})
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (before)
            before();
        times.push_back(timeMs(body));
    }
    return spreadOf(std::move(times));
}

// The median wall time of runs calls of body, in milliseconds.
inline double medianMs(int runs, const std::function<void()> &body, const std::function<void()> &before = {})
{
    return timesMs(runs, body, before).median;
}

// One timed step of a pair: what runs ahead of it untimed, and the step. A step that
// times itself returns its own milliseconds from measure instead.
struct Step {
    std::function<void()> before;
    std::function<void()> body;
    std::function<double()> measure;
};

// Runs a and b in turn, runs rounds of each, so that a drifting machine slows both
// alike; the ratios b/a are taken round by round.
struct PairTimes {
    Spread a;
    Spread b;
    Spread ratio; // b's time over a's, round by round
};

inline PairTimes alternate(int rounds, const Step &a, const Step &b)
{
    std::vector<double> ta, tb, ratio;
    auto run = [](const Step &step) {
        if (step.before)
            step.before();
        return step.measure ? step.measure() : timeMs(step.body);
    };
    for (int i = 0; i < rounds; ++i) {
        ta.push_back(run(a));
        tb.push_back(run(b));
        ratio.push_back(tb.back() / ta.back());
    }
    return {spreadOf(std::move(ta)), spreadOf(std::move(tb)), spreadOf(std::move(ratio))};
}

// "met" or "MISSED", for a goal line.
inline const char *verdict(bool met)
{
    return met ? "met" : "MISSED";
}

} // namespace rr::bench
