// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Clocks.h"

#include <time.h>

namespace velmora {
namespace {

double secondsOf(clockid_t clock) {
    timespec ts{};
    ::clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

} // namespace

double continuousSeconds() {
    return secondsOf(CLOCK_BOOTTIME);
}

double steadySeconds() {
    return secondsOf(CLOCK_MONOTONIC);
}

double wallSeconds() {
    return secondsOf(CLOCK_REALTIME);
}

} // namespace velmora
