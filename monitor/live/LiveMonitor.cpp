// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live/LiveMonitor.h"

#include <chrono>
#include <cstdio>

namespace velmora {

LiveMonitor::LiveMonitor(SamplerOptions options, std::function<double()> clock)
    : interval_(options.sampling.sampleIntervalSeconds), clock_(std::move(clock)),
      sampler_(std::move(options)) {}

LiveMonitor::~LiveMonitor() {
    stop();
}

void LiveMonitor::start(bool firstPassHere) {
    if (thread_.joinable()) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        lastProgress_ = clock_();
    }
    auto next = std::chrono::steady_clock::now();
    if (firstPassHere) {
        passOnce();
        next += interval();
    }
    thread_ = std::thread([this, next] { run(next); });
}

void LiveMonitor::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

std::shared_ptr<const LiveView> LiveMonitor::latest() const {
    std::lock_guard lock(mutex_);
    return latest_;
}

std::optional<double> LiveMonitor::samplingStalledFor(double now) const {
    std::lock_guard lock(mutex_);
    if (!lastProgress_) {
        return std::nullopt;
    }
    const double since = now - *lastProgress_;
    if (since <= stalledTicks * interval_) {
        return std::nullopt;
    }
    return since;
}

std::chrono::steady_clock::duration LiveMonitor::interval() const {
    return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(interval_));
}

void LiveMonitor::passOnce() {
    std::shared_ptr<const LiveView> view;
    try {
        view = sampler_.pass(continuousSeconds(), wallSeconds());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "velmora: sampling pass failed: %s\n", error.what());
    }
    if (view) {
        const double completed = clock_();
        {
            std::lock_guard lock(mutex_);
            latest_ = view;
            lastProgress_ = completed;
        }
        observe(*view); // after publishing: slow history work never delays an answer
    }
}

void LiveMonitor::run(std::chrono::steady_clock::time_point next) {
    const auto quick = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(sampler_.quickSeconds()));
    auto nextQuick = std::chrono::steady_clock::now() + quick;
    for (;;) {
        const bool quickFirst = quick.count() > 0 && nextQuick < next;
        {
            std::unique_lock lock(mutex_);
            if (wake_.wait_until(lock, quickFirst ? nextQuick : next,
                                 [this] { return stopping_; })) {
                return;
            }
        }
        if (quickFirst) {
            sampler_.quickPass();
            nextQuick = std::max(nextQuick + quick, std::chrono::steady_clock::now());
            continue;
        }
        passOnce();
        nextQuick = std::chrono::steady_clock::now() + quick;
        next += interval();
        auto now = std::chrono::steady_clock::now();
        if (next < now) {
            next = now; // a late pass does not cause a burst of catch-up passes
        }
    }
}

void LiveMonitor::observe(const LiveView& view) {
    if (!observer_) {
        return;
    }
    try {
        observer_(view);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "velmora: history update failed: %s\n", error.what());
    }
}

} // namespace velmora
