// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live/HistoryService.h"

#include <algorithm>
#include <cstdio>

namespace velmora {
namespace {

constexpr int64_t kFooterRefreshMs = 30'000;
constexpr int64_t kLineRefreshMs = kMinuteMs;
constexpr std::size_t kMaxCachedLines = 64;

bool isSmokeTarget(const FamilyView& family) {
    return family.smokeRole != SmokeRole::none;
}

void printDiagnostic(const std::string& line) {
    std::fprintf(stderr, "velmora: %s\n", line.c_str());
}

} // namespace

std::vector<FamilyMinute> minutesOf(const LiveView& view, int64_t minuteMs) {
    std::vector<FamilyMinute> minutes;
    minutes.reserve(view.families.size());
    for (const FamilyView& family : view.families) {
        if (isSmokeTarget(family) || family.footprintKiB == 0) {
            continue;
        }
        const FamilyAssessment& a = family.assessment;
        // The newest closed one-minute median; the current footprint before the first one.
        uint64_t medianKiB =
            family.sparklineKiB.empty() ? family.footprintKiB : family.sparklineKiB.back();
        minutes.push_back({family.key, family.title, minuteMs, medianKiB * 1024,
                           static_cast<uint32_t>(std::clamp(a.score, 0, 100)), a.verdict,
                           a.hasRate ? a.rateKiBPerSecond * 60.0 / 1024.0 : 0.0});
    }
    return minutes;
}

HistoryService::HistoryService(DataFolder folder, SettingsStorageMode mode, Clock clock)
    : folder_(std::move(folder)), clock_(std::move(clock)), mode_(mode) {
    if (!folder_.ensureExists()) {
        printDiagnostic("cannot create the data folder " + folder_.root.string() +
                        "; history is unavailable");
    }
    HistoryStoreOptions options;
    options.file = folder_.database();
    options.clock = clock_;
    options.diagnostics = printDiagnostic;
    store_ = std::make_unique<HistoryStore>(std::move(options));
    if (auto reason = store_->unavailableReason()) {
        printDiagnostic(*reason);
    }
    advanced_ = std::make_unique<AdvancedHistory>(*store_);
    pruner_ = std::make_unique<Pruner>(*store_, folder_);
    baselines_ = std::make_unique<StoredBaselines>(*store_, clock_);
}

HistoryService::~HistoryService() = default;

void HistoryService::afterPass(const LiveView& view) {
    baselines_->nextPass();
    recordKills(view);
    int64_t now = clock_();
    int64_t minute = now / kMinuteMs;
    if (lastMinuteIndex_ >= 0 && minute != lastMinuteIndex_) {
        recordMinute(view, lastMinuteIndex_ * kMinuteMs);
    }
    lastMinuteIndex_ = minute;
    pruneIfDue(now);
}

void HistoryService::finish(const LiveView& view) {
    if (lastMinuteIndex_ >= 0) {
        recordMinute(view, lastMinuteIndex_ * kMinuteMs);
    }
}

void HistoryService::recordMinute(const LiveView& view, int64_t minuteMs) {
    for (FamilyMinute& minute : minutesOf(view, minuteMs)) {
        store_->record(std::move(minute));
    }
    auto written = store_->flush();
    if (!written) {
        printDiagnostic("history minute not written: " + written.error().message);
    }
}

void HistoryService::recordKills(const LiveView& view) {
    std::set<std::string> current;
    for (const OutOfMemoryKill& kill : view.outOfMemoryKills) {
        current.insert(kill.id);
        if (recordedKills_.count(kill.id) == 0) {
            recordAction(kill.key, kill.title, kOutOfMemoryKillAction, outOfMemoryKillMessage(kill),
                         true);
        }
    }
    recordedKills_ = std::move(current); // kills leave the view after an hour
}

void HistoryService::pruneIfDue(int64_t nowMs) {
    std::lock_guard lock(prunerMutex_);
    SettingsStorageMode mode = mode_.load();
    if (pruner_->shouldPrune(mode, nowMs)) {
        pruner_->prune(mode, nowMs);
    }
}

FooterTelemetrySnapshot HistoryService::footer() {
    int64_t now = clock_();
    std::lock_guard cache(cacheMutex_);
    if (footer_ && now - footerAtMs_ < kFooterRefreshMs) {
        return *footer_;
    }
    // A prune in progress keeps the last footer rather than making the answer wait.
    std::unique_lock pruner(prunerMutex_, std::try_to_lock);
    if (!pruner.owns_lock()) {
        return footer_.value_or(FooterTelemetrySnapshot{});
    }
    footer_ = pruner_->footer(now);
    footerAtMs_ = now;
    return *footer_;
}

std::optional<HistoryLine> HistoryService::historyLine(const std::string& key) {
    int64_t now = clock_();
    std::lock_guard cache(cacheMutex_);
    auto it = lines_.find(key);
    if (it != lines_.end() && now - it->second.atMs < kLineRefreshMs) {
        return it->second.line;
    }
    if (lines_.size() >= kMaxCachedLines) {
        lines_.clear();
    }
    HistoryLine line = advanced_->historyFor(key);
    CachedLine& entry = lines_[key];
    entry.line = line.available ? std::optional(line) : std::nullopt;
    entry.atMs = now;
    return entry.line;
}

Outcome<AdvancedHistorySnapshot>
HistoryService::snapshot(const std::optional<std::string>& selectedKey,
                         const std::set<std::string>& liveKeys) {
    return advanced_->snapshot(selectedKey, liveKeys);
}

void HistoryService::recordAction(const std::string& key, const std::string& title,
                                  const std::string& action, const std::string& outcome,
                                  bool succeeded) {
    auto recorded = store_->recordAction({key, title, action, outcome, succeeded, clock_()});
    if (!recorded) {
        printDiagnostic("action not recorded in the history: " + recorded.error().message);
    }
    std::lock_guard cache(cacheMutex_);
    lines_.erase(key);
}

void HistoryService::recordArtifact(const std::string& key, const std::string& title,
                                    const std::string& path, uint64_t bytes, int64_t createdMs) {
    ArtifactRecord artifact;
    artifact.familyKey = key;
    artifact.familyTitle = title;
    artifact.path = path;
    artifact.sizeBytes = bytes;
    artifact.createdMs = createdMs;
    auto recorded = store_->recordArtifact(artifact);
    if (!recorded) {
        printDiagnostic("artifact not recorded in the history: " + recorded.error().message);
    }
}

std::optional<ArtifactRecord> HistoryService::latestArtifact(const std::string& key) {
    auto found = store_->latestArtifact(key);
    if (!found) {
        return std::nullopt;
    }
    return found.value();
}

} // namespace velmora
