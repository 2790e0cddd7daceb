#pragma once

// Wall-clock timing shared by the benchmarks.

#include <algorithm>
#include <chrono>
#include <functional>

namespace Bench {

/// Seconds that `work` takes once.
inline double Seconds(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

/// The fastest of `runs` runs of `work`: the figure least disturbed by the machine.
inline double Best(int runs, const std::function<void()> &work)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, Seconds(work));
    return best;
}

} // namespace Bench
