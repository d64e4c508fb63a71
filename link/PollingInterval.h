// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/RefreshInterval.h"

#include <chrono>
#include <optional>

namespace velmora {

// The polling period of the stdio client. It starts at 1.0 s, always lies in [0.5 s, 10 s],
// and ignores a requested change of less than 0.05 s unless the change is forced.
class PollingInterval {
public:
    static constexpr double initialSeconds = 1.0;
    static constexpr double minimumSeconds = minimumRefreshSeconds;
    static constexpr double maximumSeconds = maximumRefreshSeconds;
    static constexpr double deadBandSeconds = 0.05;

    static double clamped(double seconds);

    // Applies a requested period. Returns the new period in whole milliseconds when the timer
    // has to be rescheduled, nothing when the request falls inside the dead band.
    std::optional<std::chrono::milliseconds> retime(double requestedSeconds, bool force);

    double seconds() const { return seconds_; }

private:
    double seconds_ = initialSeconds;
};

} // namespace velmora
