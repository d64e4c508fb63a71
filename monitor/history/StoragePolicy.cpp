// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/StoragePolicy.h"

#include "model/StorageModeFigures.h"
#include "monitor/history/ByteText.h"
#include "monitor/history/Clock.h"

#include <algorithm>

namespace velmora {

StoragePolicy StoragePolicy::forMode(SettingsStorageMode mode) {
    const auto& f = storageModeFigures(mode);
    return {f.historyDays * kDayMs,          f.artifactDays * kDayMs, f.logDays * kDayMs,
            f.pruneEveryMinutes * kMinuteMs, f.totalBudgetMiB * kMiB, f.artifactBudgetMiB * kMiB,
            f.exportBudgetMiB * kMiB};
}

uint64_t StoragePolicy::recordingCapBytes() const {
    return std::min(kGiB, artifactBudgetBytes);
}

} // namespace velmora
