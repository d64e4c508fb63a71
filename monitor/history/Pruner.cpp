// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/Pruner.h"

#include "monitor/history/Clock.h"
#include "monitor/history/HistoryStore.h"
#include "monitor/history/StorageFooter.h"

#include <algorithm>

namespace velmora {

namespace fs = std::filesystem;

Pruner::Pruner(HistoryStore& store, DataFolder folder, PolicySource policies)
    : store_(store), folder_(std::move(folder)), policies_(std::move(policies)) {}

bool Pruner::shouldPrune(SettingsStorageMode mode, int64_t nowMs) {
    if (!prunedThisLaunch_) {
        return true;
    }
    auto last = lastPruneMs();
    return !last || nowMs - *last >= policies_(mode).pruneIntervalMs;
}

std::optional<int64_t> Pruner::lastPruneMs() {
    if (!lastPruneMs_) {
        if (auto stored = store_.lastPruneMs()) {
            lastPruneMs_ = stored.value();
        }
    }
    return lastPruneMs_;
}

FooterTelemetrySnapshot Pruner::footer(int64_t nowMs) {
    return storageFooter(folder_.totalBytes(), lastPruneMs(), nowMs);
}

PruneReport Pruner::prune(SettingsStorageMode mode, int64_t nowMs) {
    StoragePolicy policy = policies_(mode);
    PruneReport report;
    folder_.ensureExists();
    report.bytesBefore = folder_.totalBytes();
    pruneByAge(policy, nowMs, report);
    pruneDirectoryBudget(folder_.artifacts(), policy.artifactBudgetBytes, report.artifactsRemoved);
    pruneDirectoryBudget(folder_.reports(), policy.exportBudgetBytes, report.reportsRemoved);
    forgetMissingArtifacts();
    prunedThisLaunch_ = true;
    lastPruneMs_ = nowMs;
    if (auto saved = store_.setLastPruneMs(nowMs); !saved && !report.historyError) {
        report.historyError = saved.error().message;
    }
    store_.compact();
    pruneTotalBudget(policy, nowMs, report);
    report.bytesAfter = folder_.totalBytes();
    return report;
}

void Pruner::pruneByAge(const StoragePolicy& policy, int64_t nowMs, PruneReport& report) {
    if (auto removed = store_.removeHistoryBefore(nowMs - policy.historyRetentionMs)) {
        report.historyRowsRemoved += removed.value();
    } else {
        report.historyError = removed.error().message;
    }
    auto removeOlder = [&](std::vector<StoredFile> files, int64_t cutoffMs,
                           std::vector<fs::path>& removed) {
        for (const auto& file : files) {
            if (file.modifiedMs < cutoffMs) {
                removeFile(file.path, removed);
            }
        }
    };
    removeOlder(DataFolder::filesIn(folder_.artifacts()), nowMs - policy.artifactRetentionMs,
                report.artifactsRemoved);
    removeOlder(DataFolder::filesIn(folder_.logs()), nowMs - policy.logRetentionMs,
                report.logsRemoved);
    removeOlder(folder_.setAsideDatabases(), nowMs - policy.historyRetentionMs,
                report.setAsideRemoved);
}

void Pruner::pruneDirectoryBudget(const fs::path& directory, uint64_t budget,
                                  std::vector<fs::path>& removed) {
    auto files = DataFolder::filesIn(directory);
    uint64_t used = totalBytes(files);
    for (const auto& file : files) {
        if (used <= budget) {
            break;
        }
        removeFile(file.path, removed);
        used -= file.bytes;
    }
}

void Pruner::pruneTotalBudget(const StoragePolicy& policy, int64_t nowMs, PruneReport& report) {
    bool historyLeft = true;
    while (folder_.totalBytes() > policy.totalBudgetBytes) {
        // The oldest file of each kind, and the oldest day of history, compete: oldest goes.
        const StoredFile* oldest = nullptr;
        std::vector<fs::path>* removed = nullptr;
        std::vector<std::pair<std::vector<StoredFile>, std::vector<fs::path>*>> kinds;
        kinds.emplace_back(DataFolder::filesIn(folder_.artifacts()), &report.artifactsRemoved);
        kinds.emplace_back(DataFolder::filesIn(folder_.reports()), &report.reportsRemoved);
        kinds.emplace_back(DataFolder::filesIn(folder_.logs()), &report.logsRemoved);
        kinds.emplace_back(folder_.setAsideDatabases(), &report.setAsideRemoved);
        for (auto& [files, list] : kinds) {
            if (!files.empty() && (!oldest || files.front().modifiedMs < oldest->modifiedMs)) {
                oldest = &files.front();
                removed = list;
            }
        }
        std::optional<int64_t> oldestHistory;
        if (historyLeft) {
            if (auto found = store_.oldestHistoryMs()) {
                oldestHistory = found.value();
            }
        }
        if (oldestHistory && (!oldest || *oldestHistory <= oldest->modifiedMs)) {
            historyLeft = removeOldestHistoryDay(nowMs, report);
            continue;
        }
        if (!oldest) {
            report.budgetsHeld = false;
            return;
        }
        removeFile(oldest->path, *removed);
        store_.compact(); // forgetting an artifact grows the write-ahead log
    }
    report.budgetsHeld = folder_.totalBytes() <= policy.totalBudgetBytes;
}

bool Pruner::removeOldestHistoryDay(int64_t nowMs, PruneReport& report) {
    auto oldest = store_.oldestHistoryMs();
    if (!oldest || !oldest.value()) {
        return false;
    }
    int64_t cutoff = (*oldest.value() / kDayMs + 1) * kDayMs;
    cutoff = std::min(cutoff, nowMs - kDayMs); // the last day of history always stays
    auto removed = store_.removeHistoryBefore(cutoff);
    if (!removed || removed.value() == 0) {
        return false;
    }
    report.historyRowsRemoved += removed.value();
    store_.compact();
    return true;
}

void Pruner::removeFile(const fs::path& path, std::vector<fs::path>& removed) {
    std::error_code error;
    if (!fs::remove(path, error) || error) {
        return;
    }
    removed.push_back(path);
    if (path.parent_path() == folder_.artifacts()) {
        store_.forgetArtifact(path.string());
    }
}

void Pruner::forgetMissingArtifacts() {
    auto artifacts = store_.artifacts();
    if (!artifacts) {
        return;
    }
    for (const auto& artifact : artifacts.value()) {
        std::error_code error;
        if (!fs::exists(artifact.path, error) && !error) {
            store_.forgetArtifact(artifact.path);
        }
    }
}

} // namespace velmora
