// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/PollingTimer.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace velmora {

// One worker thread that plays a serial queue: posted tasks and the ticks of a repeating
// polling timer run one at a time, in the order they were posted or fell due. Ticks that fall
// due while a task blocks coalesce into at most one pending tick. Destroying the worker stops
// it (pending work is dropped, never run) and joins its thread.
class SerialWorker {
public:
    using Task = std::function<void()>;
    using Clock = PollingTimer::Clock;

    explicit SerialWorker(Task onTick, const char* threadName = "Velmora.Stdio");
    ~SerialWorker();
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    // Thread-safe. Tasks posted after stop() are dropped.
    void post(Task task);

    // Thread-safe: (re)starts the polling timer with its first tick one period from now.
    void schedulePolling(std::chrono::milliseconds period);

    // Thread-safe: stops running work and drops what is pending; does not wait.
    void stop();

    // Waits until the worker thread has ended (after stop()). Not from the worker itself.
    void join();

    // Blocks until every task posted before this call has run (or the worker stopped).
    // Not from the worker thread itself.
    void waitForIdle();

    bool isWorkerThread() const { return std::this_thread::get_id() == thread_.get_id(); }

private:
    struct Item {
        Task task; // empty for a polling tick
        Clock::time_point posted;
    };

    void run();
    void queueDueTickLocked(Clock::time_point now);

    Task onTick_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Item> queue_;
    PollingTimer timer_;
    bool tickQueued_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace velmora
