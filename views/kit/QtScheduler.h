// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/Scheduler.h"

#include <QObject>
#include <QPointer>

namespace velmora {

// The Qt event loop behind the core's scheduler seam. Create it on the main thread: posted
// tasks run there, queued behind the events already waiting, and delayed tasks are single-shot
// timers. now() reads CLOCK_BOOTTIME, which keeps counting while the machine sleeps.
class QtScheduler : public Scheduler {
public:
    QtScheduler();
    ~QtScheduler() override;

    void post(std::function<void()> task) override;
    std::shared_ptr<TimerHandle> postAfter(Duration delay, std::function<void()> task) override;
    Duration now() const override;

private:
    QObject* context_; // lives on the main thread; owns the pending timers
};

} // namespace velmora
