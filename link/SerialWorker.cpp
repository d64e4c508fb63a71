// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/SerialWorker.h"

#include "base/DiagnosticLog.h"

#include <algorithm>
#include <exception>
#include <future>
#include <pthread.h>
#include <string>

namespace velmora {

SerialWorker::SerialWorker(Task onTick, const char* threadName) : onTick_(std::move(onTick)) {
    thread_ = std::thread([this] { run(); });
    ::pthread_setname_np(thread_.native_handle(), threadName);
}

SerialWorker::~SerialWorker() {
    stop();
    join();
}

void SerialWorker::post(Task task) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) {
            return;
        }
        queue_.push_back(Item{std::move(task), Clock::now()});
    }
    wake_.notify_one();
}

void SerialWorker::schedulePolling(std::chrono::milliseconds period) {
    {
        std::lock_guard lock(mutex_);
        timer_.schedule(Clock::now(), period);
    }
    wake_.notify_one();
}

void SerialWorker::stop() {
    std::deque<Item> dropped;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        timer_.cancel();
        dropped.swap(queue_);
        tickQueued_ = false;
    }
    wake_.notify_all();
    // `dropped` is destroyed here, outside the lock: tasks may own callbacks with captures.
}

void SerialWorker::join() {
    if (thread_.joinable() && !isWorkerThread()) {
        thread_.join();
    }
}

void SerialWorker::waitForIdle() {
    if (isWorkerThread()) {
        return;
    }
    auto done = std::make_shared<std::promise<void>>();
    auto reached = done->get_future();
    // Only the barrier task owns the promise: when stop() drops the task the promise breaks,
    // which ends the wait as well.
    post([done = std::move(done)] { done->set_value(); });
    reached.wait();
}

void SerialWorker::queueDueTickLocked(Clock::time_point now) {
    if (tickQueued_) {
        return; // one pending tick stands for every tick that fell due meanwhile
    }
    const auto due = timer_.nextDeadline();
    if (!due || now < *due) {
        return;
    }
    // The tick takes its place among the tasks by the time it fell due.
    const auto later = std::find_if(queue_.begin(), queue_.end(),
                                    [&](const Item& item) { return item.posted > *due; });
    queue_.insert(later, Item{Task{}, *due});
    timer_.takeDueTick(now);
    tickQueued_ = true;
}

void SerialWorker::run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        queueDueTickLocked(Clock::now());
        if (queue_.empty()) {
            if (const auto due = timer_.nextDeadline()) {
                wake_.wait_until(lock, *due);
            } else {
                wake_.wait(lock);
            }
            continue;
        }
        Item item = std::move(queue_.front());
        queue_.pop_front();
        const bool tick = !item.task;
        if (tick) {
            tickQueued_ = false;
        }
        lock.unlock();
        try {
            if (tick) {
                if (onTick_) {
                    onTick_();
                }
            } else {
                item.task();
            }
        } catch (const std::exception& error) {
            writeDiagnosticLine(std::string("velmora-ui: backend task failed: ") + error.what());
        } catch (...) {
            writeDiagnosticLine("velmora-ui: backend task failed");
        }
        item = Item{};
        lock.lock();
    }
}

} // namespace velmora
