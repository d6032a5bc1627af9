// Figures the benchmark programs report beside Google Benchmark's own: elapsed microseconds and
// order statistics of per-step times.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <vector>

inline double micros(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b)
{
    return std::chrono::duration<double, std::micro>(b - a).count();
}

// The value p per cent of the way up the sorted values (nearest rank from below); 0 for none.
inline double percentile(std::vector<double> v, int p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, v.size() * static_cast<std::size_t>(p) / 100)];
}

// The upper median: the value at half the count of the sorted values; 0 for none.
inline double median(std::vector<double> v)
{
    return percentile(std::move(v), 50);
}
