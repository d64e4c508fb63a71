// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/BackendClock.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace velmora {

// Ends the wait for an answer that does not come in time. The exchange arms it before writing
// its request and disarms it once it has read the answer (or the end of the stream); when the
// deadline passes in between, `onExpiry` runs on the clock's thread to wake the blocked read,
// and disarm() reports the miss. Arm and disarm from one thread (the client's worker).
class ExchangeWatchdog {
public:
    using Duration = BackendClock::Duration;

    ExchangeWatchdog(BackendClock& clock, std::function<void()> onExpiry);
    ~ExchangeWatchdog();
    ExchangeWatchdog(const ExchangeWatchdog&) = delete;
    ExchangeWatchdog& operator=(const ExchangeWatchdog&) = delete;

    void arm(Duration deadline);
    // Whether the deadline passed since arm().
    bool disarm();
    // Thread-safe: from then on nothing expires; waits for an expiry running on another thread.
    void close();

private:
    struct Shared {
        std::mutex mutex;
        std::function<void()> onExpiry;
        std::uint64_t armed = 0; // the exchange being watched, 0 for none
        bool expired = false;
        bool open = true;
    };

    BackendClock& clock_;
    std::shared_ptr<Shared> shared_;
    std::shared_ptr<BackendAlarm> alarm_;
    std::uint64_t lastExchange_ = 0;
};

} // namespace velmora
