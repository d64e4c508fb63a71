// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

// How long the actions wait, ignore and track.
struct ActionTuning {
    double ignoreSeconds = 86400.0; // "ignore" lasts a day
    double actionWaitSeconds = 2.0; // how long an action waits for a graceful exit
    double whereSeconds = 60.0;     // how long "Find where it leaks" tracks

    bool operator==(const ActionTuning&) const = default;
};

} // namespace velmora
