#pragma once

#include "monitor/live/Sampler.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace velmora {

// Runs the sampler on its own thread, one pass per tick, and publishes each view under a lock.
// Requests read the latest view and never wait for a pass.
class LiveMonitor {
public:
    explicit LiveMonitor(SamplerOptions options);
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

private:
    void run(std::chrono::steady_clock::time_point next);
    void passOnce();
    std::chrono::steady_clock::duration interval() const;
    void observe(const LiveView& view);

    double interval_;
    Sampler sampler_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::shared_ptr<const LiveView> latest_;
    std::function<void(const LiveView&)> observer_;
    std::thread thread_;
};

// CLOCK_BOOTTIME (keeps counting while the machine sleeps) and the wall clock, in seconds.
double continuousSeconds();
double wallSeconds();

} // namespace velmora
