// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace velmora {

// A task scheduled with Scheduler::postAfter. Cancelling it guarantees that it will not run,
// whether it is still waiting or already due; cancelling twice, or after it ran, does nothing.
class TimerHandle {
public:
    virtual ~TimerHandle() = default;
    virtual void cancel() = 0;
};

// The one way the core reaches the main thread and its clock. The app backs it with the Qt event
// loop; tests use ManualScheduler and move time by hand.
class Scheduler {
public:
    using Duration = std::chrono::nanoseconds;

    virtual ~Scheduler() = default;

    // Thread-safe: may be called from any thread. The task runs on the main thread soon, after
    // every task posted before it.
    virtual void post(std::function<void()> task) = 0;

    // Main thread only. The task runs on the main thread once `delay` has passed on now()'s
    // clock, unless the returned handle is cancelled first.
    virtual std::shared_ptr<TimerHandle> postAfter(Duration delay, std::function<void()> task) = 0;

    // A clock that never goes backwards (it keeps counting while the machine sleeps where the
    // platform allows).
    virtual Duration now() const = 0;
};

} // namespace velmora
