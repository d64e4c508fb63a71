// SPDX-License-Identifier: GPL-3.0-or-later
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

    // The mode's figures (model/StorageModeFigures.h) in milliseconds and bytes.
    static StoragePolicy forMode(SettingsStorageMode mode);

    // The largest heap-tracking recording let grow: 1 GiB, or the artifact budget when smaller.
    uint64_t recordingCapBytes() const;

    bool operator==(const StoragePolicy&) const = default;
};

} // namespace velmora
