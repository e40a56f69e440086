// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <chrono>

namespace pardolin::linux_backend {

// The whole milliseconds left until `deadline`, never less than 0: a timeout for poll() and
// the libraries that take one in milliseconds.
inline int MillisecondsUntil(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, 1'000'000'000));
}

} // namespace pardolin::linux_backend
