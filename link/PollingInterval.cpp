// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/PollingInterval.h"

#include <cmath>

namespace velmora {

double PollingInterval::clamped(double seconds) {
    // A period at or below the minimum (also a NaN from a broken answer) becomes the minimum.
    if (!(seconds > minimumSeconds)) {
        return minimumSeconds;
    }
    return seconds > maximumSeconds ? maximumSeconds : seconds;
}

std::optional<std::chrono::milliseconds> PollingInterval::retime(double requestedSeconds,
                                                                 bool force) {
    const double next = clamped(requestedSeconds);
    if (!force && std::fabs(next - seconds_) < deadBandSeconds) {
        return std::nullopt;
    }
    seconds_ = next;
    return std::chrono::milliseconds(std::llround(next * 1000.0));
}

} // namespace velmora
