// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/ExchangeWatchdog.h"

#include <utility>

namespace velmora {

ExchangeWatchdog::ExchangeWatchdog(BackendClock& clock, std::function<void()> onExpiry)
    : clock_(clock), shared_(std::make_shared<Shared>()) {
    shared_->onExpiry = std::move(onExpiry);
}

ExchangeWatchdog::~ExchangeWatchdog() {
    close();
    if (alarm_) {
        alarm_->cancel();
    }
}

void ExchangeWatchdog::arm(Duration deadline) {
    const std::uint64_t exchange = ++lastExchange_;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->armed = exchange;
        shared_->expired = false;
    }
    alarm_ = clock_.after(deadline, [weak = std::weak_ptr<Shared>(shared_), exchange] {
        const auto shared = weak.lock();
        if (!shared) {
            return;
        }
        // Under the lock, so that disarm() and close() see either no expiry or a whole one.
        std::lock_guard lock(shared->mutex);
        if (!shared->open || shared->armed != exchange) {
            return;
        }
        shared->expired = true;
        shared->onExpiry();
    });
}

bool ExchangeWatchdog::disarm() {
    if (alarm_) {
        alarm_->cancel();
        alarm_.reset();
    }
    std::lock_guard lock(shared_->mutex);
    shared_->armed = 0;
    return std::exchange(shared_->expired, false);
}

void ExchangeWatchdog::close() {
    std::lock_guard lock(shared_->mutex);
    shared_->open = false;
    shared_->armed = 0;
}

} // namespace velmora
