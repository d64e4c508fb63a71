// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/SteadyBackendClock.h"

#include "base/DiagnosticLog.h"

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <map>
#include <mutex>
#include <pthread.h>
#include <string>
#include <utility>

namespace velmora {

namespace {

using Duration = BackendClock::Duration;

Duration steadyNow() {
    return std::chrono::duration_cast<Duration>(
        std::chrono::steady_clock::now().time_since_epoch());
}

} // namespace

// One alarm's task and whether it may still start.
struct SteadyBackendClock::AlarmTask {
    std::mutex mutex;
    bool cancelled = false;
    std::function<void()> task;
};

struct SteadyBackendClock::Shared {
    using Key = std::pair<Duration, std::uint64_t>; // due time, then the order of setting

    std::mutex mutex;
    std::condition_variable wake;
    std::map<Key, std::shared_ptr<AlarmTask>> alarms;
    std::uint64_t nextSequence = 0;
    bool stopping = false;
};

class SteadyBackendClock::Alarm final : public BackendAlarm {
public:
    Alarm(std::weak_ptr<Shared> shared, Shared::Key key, std::shared_ptr<AlarmTask> task)
        : shared_(std::move(shared)), key_(key), task_(std::move(task)) {}

    void cancel() override {
        std::function<void()> dropped;
        {
            // Taken while the alarm thread decides whether the task starts: after this block
            // it either has started or never will.
            std::lock_guard lock(task_->mutex);
            task_->cancelled = true;
            dropped = std::move(task_->task);
        }
        if (auto shared = shared_.lock()) {
            std::lock_guard lock(shared->mutex);
            shared->alarms.erase(key_);
        }
    }

private:
    std::weak_ptr<Shared> shared_;
    Shared::Key key_;
    std::shared_ptr<AlarmTask> task_;
};

std::unique_ptr<BackendClock> makeSteadyBackendClock() {
    return std::make_unique<SteadyBackendClock>();
}

SteadyBackendClock::SteadyBackendClock() : shared_(std::make_shared<Shared>()) {
    thread_ = std::thread([shared = shared_] { run(shared); });
    ::pthread_setname_np(thread_.native_handle(), "Velmora.Alarms");
}

SteadyBackendClock::~SteadyBackendClock() {
    std::map<Shared::Key, std::shared_ptr<AlarmTask>> dropped;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stopping = true;
        dropped.swap(shared_->alarms);
    }
    shared_->wake.notify_all();
    thread_.join();
    // `dropped` goes here, outside the lock: tasks may own captures with destructors.
}

BackendClock::Duration SteadyBackendClock::now() const {
    return steadyNow();
}

std::shared_ptr<BackendAlarm> SteadyBackendClock::after(Duration delay,
                                                        std::function<void()> task) {
    auto alarmTask = std::make_shared<AlarmTask>();
    alarmTask->task = std::move(task);
    Shared::Key key;
    {
        std::lock_guard lock(shared_->mutex);
        key = Shared::Key{steadyNow() + std::max(delay, Duration{0}), shared_->nextSequence++};
        if (!shared_->stopping) {
            shared_->alarms.emplace(key, alarmTask);
        }
    }
    shared_->wake.notify_all();
    return std::make_shared<Alarm>(shared_, key, alarmTask);
}

void SteadyBackendClock::run(const std::shared_ptr<Shared>& shared) {
    std::unique_lock lock(shared->mutex);
    while (!shared->stopping) {
        if (shared->alarms.empty()) {
            shared->wake.wait(lock);
            continue;
        }
        const auto first = shared->alarms.begin();
        const Duration due = first->first.first;
        if (steadyNow() < due) {
            shared->wake.wait_until(
                lock, std::chrono::steady_clock::time_point(
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(due)));
            continue;
        }
        std::shared_ptr<AlarmTask> alarm = std::move(first->second);
        shared->alarms.erase(first);
        lock.unlock();
        std::function<void()> task;
        {
            std::lock_guard taskLock(alarm->mutex);
            if (!alarm->cancelled) {
                task = std::move(alarm->task);
            }
        }
        try {
            if (task) {
                task();
            }
        } catch (const std::exception& error) {
            writeDiagnosticLine(std::string("velmora-ui: backend alarm failed: ") + error.what());
        } catch (...) {
            writeDiagnosticLine("velmora-ui: backend alarm failed");
        }
        task = nullptr;
        lock.lock();
    }
}

} // namespace velmora
