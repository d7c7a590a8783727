// The baseline every benchmark reports against: the fastest of several memcpys of the
// same number of bytes between two buffers, measured in the same run.
#pragma once
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <vector>

namespace orvbench {

inline double fastestMemcpySeconds(size_t bytes, long long runs) {
    std::vector<char> a(bytes, 1), b(bytes, 2);
    double best = 1e30;
    for (long long i = 0; i < std::max<long long>(runs, 3); ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        std::memcpy(b.data(), a.data(), bytes);
        benchmark::DoNotOptimize(b.data());
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return best;
}

}  // namespace orvbench
