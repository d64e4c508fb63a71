#pragma once

#include "monitor/Sampler.h"

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
    void start();
    void stop();
    std::shared_ptr<const LiveView> latest() const;

private:
    void run();
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
