// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/QtScheduler.h"

#include <QMetaObject>
#include <QTimer>
#include <algorithm>
#include <ctime>
#include <limits>
#include <memory>

namespace velmora {

namespace {

class QtTimerHandle : public TimerHandle {
public:
    explicit QtTimerHandle(QTimer* timer) : timer_(timer) {}

    void cancel() override {
        cancelled_ = true;
        if (timer_) {
            timer_->stop();
            timer_->deleteLater();
            timer_ = nullptr;
        }
    }

    bool cancelled() const { return cancelled_; }

private:
    QPointer<QTimer> timer_;
    bool cancelled_ = false;
};

} // namespace

QtScheduler::QtScheduler() : context_(new QObject()) {}

QtScheduler::~QtScheduler() {
    delete context_; // pending timers go with it
}

void QtScheduler::post(std::function<void()> task) {
    QMetaObject::invokeMethod(
        context_, [task = std::move(task)] { task(); }, Qt::QueuedConnection);
}

std::shared_ptr<TimerHandle> QtScheduler::postAfter(Duration delay, std::function<void()> task) {
    auto* timer = new QTimer(context_);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    auto handle = std::make_shared<QtTimerHandle>(timer);
    std::weak_ptr<QtTimerHandle> weak = handle;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, weak, task = std::move(task)] {
        timer->deleteLater();
        // A handle that was dropped without cancelling still lets the task run.
        if (auto strong = weak.lock(); strong && strong->cancelled()) {
            return;
        }
        task();
    });
    // Round up, so that a task never runs before its delay has passed on now()'s clock.
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(delay).count();
    timer->start(static_cast<int>(std::clamp<long long>(ms, 0, std::numeric_limits<int>::max())));
    return handle;
}

Scheduler::Duration QtScheduler::now() const {
    timespec ts{};
    if (clock_gettime(CLOCK_BOOTTIME, &ts) != 0) {
        clock_gettime(CLOCK_MONOTONIC, &ts);
    }
    return std::chrono::seconds(ts.tv_sec) + std::chrono::nanoseconds(ts.tv_nsec);
}

} // namespace velmora
