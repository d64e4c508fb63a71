// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Clocks.h"
#include "monitor/live/Sampler.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace velmora {

// Runs the sampler on its own thread, one pass per tick, and publishes each view under a lock.
// Requests read the latest view and never wait for a pass; they can tell from
// samplingStalledFor() that the passes have stopped (a /proc read that blocks, a stalled
// thread), so that an answer never passes old rows off as fresh.
class LiveMonitor {
public:
    // A pass that has not completed for this many ticks counts as stalled.
    static constexpr double stalledTicks = 3.0;

    // `clock` reads monotonic seconds for the stall measure (the steady clock, which does not
    // count a suspended machine as a stall); tests pass their own.
    explicit LiveMonitor(SamplerOptions options, std::function<double()> clock = steadySeconds);
    ~LiveMonitor();
    LiveMonitor(const LiveMonitor&) = delete;
    LiveMonitor& operator=(const LiveMonitor&) = delete;

    bool ok() const { return sampler_.ok(); }
    // Called on the sampler thread after every pass that published a view; set before start().
    void setPassObserver(std::function<void(const LiveView&)> observer) {
        observer_ = std::move(observer);
    }
    // Starts the sampler thread. With firstPassHere the first pass runs on the calling thread
    // before start returns, so the first answer already carries sampled rows (the self-checks
    // look for their target in it); otherwise the first answer is the bootstrap snapshot.
    void start(bool firstPassHere = false);
    // Set before start(); called on the sampler thread.
    void setBaselineSource(Sampler::BaselineSource source) {
        sampler_.setBaselineSource(std::move(source));
    }
    void stop();
    std::shared_ptr<const LiveView> latest() const;

    // Seconds since the sampler last completed a pass (since start() before the first), when
    // that is more than stalledTicks ticks at `now` on the monitor's clock; absent otherwise
    // and before start().
    std::optional<double> samplingStalledFor(double now) const;
    double clockNow() const { return clock_(); }

private:
    void run(std::chrono::steady_clock::time_point next);
    void passOnce();
    std::chrono::steady_clock::duration interval() const;
    void observe(const LiveView& view);

    double interval_;
    std::function<double()> clock_;
    Sampler sampler_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::shared_ptr<const LiveView> latest_;
    std::optional<double> lastProgress_; // clock_ at start() and at each completed pass
    std::function<void(const LiveView&)> observer_;
    std::thread thread_;
};

} // namespace velmora
