// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live/StoredBaselines.h"

#include <algorithm>
#include <vector>

namespace velmora {
namespace {

constexpr std::size_t kCachedFamilies = 2048;

} // namespace

StoredBaselines::StoredBaselines(HistoryStore& store, Clock clock)
    : store_(store), clock_(std::move(clock)) {}

std::optional<uint64_t> StoredBaselines::baselineKiB(const std::string& key) {
    const int64_t now = clock_();
    auto it = cache_.find(key);
    if (it != cache_.end() && now - it->second.atMs < kRefreshMs) {
        return it->second.kib;
    }
    if (lookupsLeft_ <= 0) {
        // Out of lookups for this pass: the last value while it is not too old.
        return it != cache_.end() && now - it->second.atMs < 2 * kRefreshMs ? it->second.kib
                                                                            : std::nullopt;
    }
    --lookupsLeft_;
    if (cache_.size() >= kCachedFamilies) {
        std::erase_if(cache_,
                      [now](const auto& entry) { return now - entry.second.atMs >= kRefreshMs; });
    }
    Cached& entry = cache_[key];
    entry.kib = lookUp(key, now);
    entry.atMs = now;
    return entry.kib;
}

std::optional<uint64_t> StoredBaselines::lookUp(const std::string& key, int64_t nowMs) {
    auto days = store_.dailyFootprints(key, nowMs - kWindowMs);
    if (!days) {
        return std::nullopt;
    }
    std::vector<uint64_t> means;
    uint64_t minutes = 0;
    for (const DailyFootprint& day : days.value()) {
        means.push_back(day.meanBytes);
        minutes += day.samples;
    }
    if (minutes < kMinimumMinutes) {
        return std::nullopt;
    }
    // The median of the daily means: a day of leaking moves it less than a mean of minutes.
    auto middle = means.begin() + static_cast<std::ptrdiff_t>(means.size() / 2);
    std::nth_element(means.begin(), middle, means.end());
    return *middle / 1024;
}

} // namespace velmora
