#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

// The median and 99th percentile of a run's samples, in milliseconds.
struct Stats {
    size_t n = 0;
    double median = 0;
    double p99 = 0;
};

inline Stats statsOf(std::vector<double> samples)
{
    Stats s;
    s.n = samples.size();
    if (samples.empty())
        return s;
    std::sort(samples.begin(), samples.end());
    const size_t mid = samples.size() / 2;
    s.median = samples.size() % 2 ? samples[mid] : (samples[mid - 1] + samples[mid]) / 2;
    const size_t rank = static_cast<size_t>(std::ceil(0.99 * static_cast<double>(samples.size())));
    s.p99 = samples[std::max<size_t>(rank, 1) - 1];
    return s;
}
