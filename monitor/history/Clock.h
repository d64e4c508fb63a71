// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace velmora {

// Wall-clock time in milliseconds since the Unix epoch. History is stored against it, so tests
// hand in a clock they control.
using Clock = std::function<int64_t()>;

inline int64_t systemNowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

inline Clock systemClock() {
    return systemNowMs;
}

inline constexpr int64_t kMinuteMs = 60'000;
inline constexpr int64_t kHourMs = 60 * kMinuteMs;
inline constexpr int64_t kDayMs = 24 * kHourMs;

} // namespace velmora
