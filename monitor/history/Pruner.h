// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/PopoverSnapshot.h"
#include "monitor/history/DataFolder.h"
#include "monitor/history/PruneReport.h"
#include "monitor/history/StoragePolicy.h"

#include <functional>
#include <optional>

namespace velmora {

class HistoryStore;

// Keeps the data folder within the storage mode's ages and budgets, oldest first: history
// rows, artifact files (and their rows), reports, logs and set-aside databases.
class Pruner {
public:
    using PolicySource = std::function<StoragePolicy(SettingsStorageMode)>;

    Pruner(HistoryStore& store, DataFolder folder, PolicySource policies = StoragePolicy::forMode);

    // True on the first call after launch and whenever the mode's interval has passed since
    // the last prune.
    bool shouldPrune(SettingsStorageMode mode, int64_t nowMs);

    // Removes everything older than the mode's ages, then the oldest files of each budget
    // that is exceeded, then the oldest data of any kind while the total is exceeded.
    // Records `nowMs` as the last prune.
    PruneReport prune(SettingsStorageMode mode, int64_t nowMs);

    std::optional<int64_t> lastPruneMs();
    // "Storage 381 MB" and "Last prune 2h ago".
    FooterTelemetrySnapshot footer(int64_t nowMs);

private:
    void pruneByAge(const StoragePolicy& policy, int64_t nowMs, PruneReport& report);
    void pruneDirectoryBudget(const std::filesystem::path& directory, uint64_t budget,
                              std::vector<std::filesystem::path>& removed);
    void pruneTotalBudget(const StoragePolicy& policy, int64_t nowMs, PruneReport& report);
    bool removeOldestHistoryDay(int64_t nowMs, PruneReport& report);
    void removeFile(const std::filesystem::path& path, std::vector<std::filesystem::path>& removed);
    void forgetMissingArtifacts();

    HistoryStore& store_;
    DataFolder folder_;
    PolicySource policies_;
    bool prunedThisLaunch_ = false;
    std::optional<int64_t> lastPruneMs_;
};

} // namespace velmora
