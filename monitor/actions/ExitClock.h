// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

// What an action's waits for processes to end go through: a monotonic clock and a wait on a
// pidfd. The monitor uses the system's; tests run the waits on a manual clock.
class ExitClock {
public:
    virtual ~ExitClock() = default;
    // Monotonic seconds.
    virtual double now() const = 0;
    // Waits up to `seconds` for the process behind the pidfd to end; true when it has.
    virtual bool waitForExit(int pidfd, double seconds) const = 0;
};

// The steady clock and a poll on the pidfd.
const ExitClock& systemExitClock();

} // namespace velmora
