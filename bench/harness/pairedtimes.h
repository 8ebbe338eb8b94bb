#pragma once

#include <algorithm>
#include <cstdio>
#include <vector>

// Prints one line for times measured in interleaved pairs: `prefix` (may be
// empty), the median of each side, and the median of the pairs' ratios with
// its spread (25th and 75th percentile).
inline void printPairedTimes(const char *prefix, const std::vector<double> &ours,
                             const std::vector<double> &plain)
{
    auto sorted = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v;
    };
    std::vector<double> ratios;
    for (size_t i = 0; i < ours.size() && i < plain.size(); ++i)
        ratios.push_back(ours[i] / plain[i]);
    const std::vector<double> a = sorted(ours), b = sorted(plain), r = sorted(ratios);
    std::printf("%s%.2f %.2f %.2f %.2f %.2f\n", prefix, a[a.size() / 2], b[b.size() / 2], r[r.size() / 2],
                r[(r.size() - 1) / 4], r[(r.size() - 1) * 3 / 4]);
}
