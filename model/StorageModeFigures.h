// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Enums.h"

#include <cstdint>

namespace velmora {

// How long each kind of data is kept in one storage mode and how much room the data folder may
// take. The monitor's storage policy and the settings texts the app shows both read these.
struct StorageModeFigures {
    int historyDays;
    int artifactDays;
    int logDays;
    int pruneEveryMinutes;
    uint64_t totalBudgetMiB;
    uint64_t artifactBudgetMiB;
    uint64_t exportBudgetMiB;
};

// low: history 7 days, artifacts 3, logs 3, every 30 min, 128 MB / 64 MB / 24 MB;
// balanced: 30 / 14 / 7 days, every hour, 512 MB / 384 MB / 48 MB;
// deep investigation: 90 / 30 / 14 days, every 2 h, 2.0 GB / 1.5 GB / 192 MB.
const StorageModeFigures& storageModeFigures(SettingsStorageMode mode);

} // namespace velmora
