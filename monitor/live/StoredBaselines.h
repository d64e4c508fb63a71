// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/history/Clock.h"
#include "monitor/history/HistoryStore.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

namespace velmora {

// A family's typical footprint from its stored minutes: the median of its daily means over the
// last 7 days (the day rollups, a few rows), once at least an hour of minutes is stored. Looked up
// at most a few times per pass and kept for 10 minutes, so a pass never waits on many queries.
// Sampler thread only.
class StoredBaselines {
public:
    static constexpr int64_t kWindowMs = 7 * kDayMs;
    static constexpr std::size_t kMinimumMinutes = 60;
    static constexpr int64_t kRefreshMs = 10 * kMinuteMs;
    static constexpr int kLookupsPerPass = 8;

    StoredBaselines(HistoryStore& store, Clock clock);

    std::optional<uint64_t> baselineKiB(const std::string& key);
    // A new pass may look up again.
    void nextPass() { lookupsLeft_ = kLookupsPerPass; }

private:
    struct Cached {
        std::optional<uint64_t> kib;
        int64_t atMs = 0;
    };

    std::optional<uint64_t> lookUp(const std::string& key, int64_t nowMs);

    HistoryStore& store_;
    Clock clock_;
    int lookupsLeft_ = kLookupsPerPass;
    std::unordered_map<std::string, Cached> cache_;
};

} // namespace velmora
