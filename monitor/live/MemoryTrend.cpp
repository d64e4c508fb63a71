// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live/MemoryTrend.h"

#include <algorithm>
#include <vector>

namespace velmora {

void MemoryTrend::add(double now, uint64_t reserveKiB) {
    if (pendingCount_ > 0 && (now - pendingStart_ >= kPointSeconds || now < pendingStart_)) {
        closePoint();
        refit(now);
    }
    if (pendingCount_ == 0) {
        pendingStart_ = now;
        pendingTimeSum_ = 0;
    }
    if (pendingCount_ < pending_.size()) {
        pending_[pendingCount_++] = static_cast<double>(reserveKiB);
        pendingTimeSum_ += now;
    }
    latestKiB_ = static_cast<double>(reserveKiB);
    hasLatest_ = true;
}

void MemoryTrend::closePoint() {
    auto begin = pending_.begin();
    auto end = begin + static_cast<std::ptrdiff_t>(pendingCount_);
    auto middle = begin + static_cast<std::ptrdiff_t>(pendingCount_ / 2);
    std::nth_element(begin, middle, end);
    points_.push({pendingTimeSum_ / static_cast<double>(pendingCount_), *middle});
    pendingCount_ = 0;
}

void MemoryTrend::refit(double now) {
    fit_ = {};
    std::size_t first = 0;
    while (first < points_.size() && now - points_.at(first).time > kWindowSeconds) {
        ++first;
    }
    std::size_t n = points_.size() - first;
    if (n < 2) {
        return;
    }
    std::vector<double> slopes;
    slopes.reserve(n * (n - 1) / 2);
    long concordance = 0;
    for (std::size_t i = first; i < points_.size(); ++i) {
        const Point& a = points_.at(i);
        for (std::size_t j = i + 1; j < points_.size(); ++j) {
            const Point& b = points_.at(j);
            double dt = b.time - a.time;
            if (dt <= 0) {
                continue;
            }
            double dy = b.kib - a.kib;
            slopes.push_back(dy / dt);
            concordance += dy > 0 ? 1 : dy < 0 ? -1 : 0;
        }
    }
    if (slopes.empty()) {
        return;
    }
    auto middle = slopes.begin() + static_cast<std::ptrdiff_t>(slopes.size() / 2);
    std::nth_element(slopes.begin(), middle, slopes.end());
    double slope = *middle;
    if (slopes.size() % 2 == 0) {
        slope = (slope + *std::max_element(slopes.begin(), middle)) / 2.0;
    }
    fit_.slopeKiBPerSecond = slope;
    fit_.tau = static_cast<double>(concordance) / static_cast<double>(slopes.size());
    fit_.points = n;
    fit_.spanSeconds = points_.back().time - points_.at(first).time;
}

bool MemoryTrend::fallingSteadily() const {
    return fit_.points >= kMinPoints && fit_.slopeKiBPerSecond < 0 && fit_.tau <= kSteadyTau;
}

std::optional<double> MemoryTrend::exhaustionSeconds() const {
    if (!fallingSteadily() || !hasLatest_) {
        return std::nullopt;
    }
    return latestKiB_ / -fit_.slopeKiBPerSecond;
}

} // namespace velmora
