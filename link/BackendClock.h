// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace velmora {

// An alarm set with BackendClock::after. Once cancel() has returned the task does not start;
// cancelling twice, or after the task ran, does nothing.
class BackendAlarm {
public:
    virtual ~BackendAlarm() = default;
    virtual void cancel() = 0;
};

// The clock of the stdio client and the delays it waits for (answer deadlines, restart
// backoff). The application uses the steady clock (makeSteadyBackendClock); tests use a clock
// that only moves when they say so, so that minutes of backoff pass without waiting.
class BackendClock {
public:
    using Duration = std::chrono::nanoseconds;

    virtual ~BackendClock() = default;

    // A monotonic reading.
    virtual Duration now() const = 0;

    // Thread-safe. Runs `task` once `delay` has passed on now()'s clock, on a thread of the
    // clock's choosing, never inside this call.
    virtual std::shared_ptr<BackendAlarm> after(Duration delay, std::function<void()> task) = 0;
};

// The steady clock, with one thread of its own that runs the alarms in the order they fall
// due. Destroying it drops the alarms still waiting and joins that thread.
std::unique_ptr<BackendClock> makeSteadyBackendClock();

} // namespace velmora
