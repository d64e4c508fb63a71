// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AdvancedHistorySnapshot.h"
#include "model/PopoverSnapshot.h"
#include "monitor/history/AdvancedHistory.h"
#include "monitor/history/DataFolder.h"
#include "monitor/history/HistoryStore.h"
#include "monitor/history/Pruner.h"
#include "monitor/live/LiveView.h"
#include "monitor/live/StoredBaselines.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>

namespace velmora {

// The monitor's side of the SQLite history: the sampler thread records each closed minute and
// prunes at the storage mode's interval; the request thread reads the footer and the live
// incident's history line (both cached) and answers history requests. A database that cannot
// be opened never stops the monitor: its calls fail with a message.
class HistoryService {
public:
    HistoryService(DataFolder folder, SettingsStorageMode mode, Clock clock = systemClock());
    ~HistoryService();
    HistoryService(const HistoryService&) = delete;
    HistoryService& operator=(const HistoryService&) = delete;

    // Sampler thread, after every pass: each out-of-memory kill new in the view is recorded as
    // an "oom_kill" action whose outcome is the kill's message; once per wall-clock minute, the
    // families of the view are written as the minute that just closed; then the store is
    // pruned when it is due.
    void afterPass(const LiveView& view);
    // Sampler thread, once the sampler has stopped: the minute in progress is written from the
    // last view (a minute already stored is left as it is), so that stopping loses nothing.
    void finish(const LiveView& view);
    // Sampler thread, during a pass: the family's typical footprint from the stored minutes
    // (7 days at most), when enough of them are stored.
    std::optional<uint64_t> storedBaselineKiB(const std::string& key) {
        return baselines_->baselineKiB(key);
    }
    void setStorageMode(SettingsStorageMode mode) { mode_.store(mode); }

    // Request thread.
    FooterTelemetrySnapshot footer();
    // The family's history line, or nothing when the history cannot be read.
    std::optional<HistoryLine> historyLine(const std::string& key);
    Outcome<AdvancedHistorySnapshot> snapshot(const std::optional<std::string>& selectedKey,
                                              const std::set<std::string>& liveKeys);
    void recordAction(const std::string& key, const std::string& title, const std::string& action,
                      const std::string& outcome, bool succeeded);
    void recordArtifact(const std::string& key, const std::string& title, const std::string& path,
                        uint64_t bytes, int64_t createdMs);
    // The newest artifact recorded for the family; nothing when there is none or the history
    // cannot be read.
    std::optional<ArtifactRecord> latestArtifact(const std::string& key);

private:
    void recordMinute(const LiveView& view, int64_t minuteMs);
    void recordKills(const LiveView& view);
    void pruneIfDue(int64_t nowMs);

    DataFolder folder_;
    Clock clock_;
    std::atomic<SettingsStorageMode> mode_;
    std::unique_ptr<HistoryStore> store_;
    std::unique_ptr<AdvancedHistory> advanced_;
    std::mutex prunerMutex_; // the pruner is shared by the sampler and the request thread
    std::unique_ptr<Pruner> pruner_;
    std::unique_ptr<StoredBaselines> baselines_; // sampler thread only
    int64_t lastMinuteIndex_ = -1;               // sampler thread only
    std::set<std::string> recordedKills_;        // sampler thread only

    std::mutex cacheMutex_;
    std::optional<FooterTelemetrySnapshot> footer_;
    int64_t footerAtMs_ = 0;
    struct CachedLine {
        std::optional<HistoryLine> line;
        int64_t atMs = 0;
    };
    std::map<std::string, CachedLine> lines_;
};

// The minutes worth keeping for one view: every scored family (watch or above) and the
// largest others the view carries, so offenders have a baseline; never the self-check targets.
std::vector<FamilyMinute> minutesOf(const LiveView& view, int64_t minuteMs);

} // namespace velmora
