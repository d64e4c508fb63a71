#pragma once

#include "model/Enums.h"

#include <cstdint>

namespace velmora {

// How long each kind of data is kept and how much room the data folder may take.
struct StoragePolicy {
    int64_t historyRetentionMs = 0;
    int64_t artifactRetentionMs = 0;
    int64_t logRetentionMs = 0;
    int64_t pruneIntervalMs = 0;
    uint64_t totalBudgetBytes = 0;
    uint64_t artifactBudgetBytes = 0;
    uint64_t exportBudgetBytes = 0;

    // low: history 7 days, artifacts 3, logs 3, every 30m, 128 MB / 64 MB / 24 MB;
    // balanced: 30 / 14 / 7 days, every 1h, 512 MB / 384 MB / 48 MB;
    // deep investigation: 90 / 30 / 14 days, every 2h, 2.0 GB / 1.5 GB / 192 MB.
    static StoragePolicy forMode(SettingsStorageMode mode);

    // The largest heap-tracking recording let grow: 1 GiB, or the artifact budget when smaller.
    uint64_t recordingCapBytes() const;

    bool operator==(const StoragePolicy&) const = default;
};

} // namespace velmora
