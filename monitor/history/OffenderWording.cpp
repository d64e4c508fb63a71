// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/OffenderWording.h"

#include "model/ActionId.h"
#include "monitor/history/ActionRecord.h"
#include "monitor/history/ByteText.h"
#include "monitor/history/Clock.h"
#include "monitor/history/RelativeTime.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace velmora {

namespace {

// "once", "2x"
std::string timesText(uint32_t count) {
    return count == 1 ? "once" : std::to_string(count) + "x";
}

// "ended by the OOM killer 2× in 30 days"
std::string outOfMemoryKillTag(uint32_t count) {
    return "ended by the OOM killer " + std::to_string(count) + "\u00d7 in 30 days";
}

std::string countText(uint32_t count, const std::string& one, const std::string& many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// "once", "2 times"
std::string timesLongText(uint32_t count) {
    return count == 1 ? "once" : std::to_string(count) + " times";
}

struct ActionWords {
    std::string_view id;
    const char* label; // "Restart"
    const char* tag;   // "restarted"
};

constexpr std::array kActionWords{
    ActionWords{toWire(ActionId::restart), "Restart", "restarted"},
    ActionWords{toWire(ActionId::recover), "Recover", "recovered"},
    ActionWords{toWire(ActionId::confirmForceQuit), "Force quit", "force quit"},
    ActionWords{toWire(ActionId::captureStrongerEvidence), "Evidence capture", nullptr},
    ActionWords{toWire(ActionId::ignore), "Ignore", nullptr},
    ActionWords{kOutOfMemoryKillAction, "Out-of-memory kill", nullptr}, // tagged on its own
};

std::string actionLabel(const std::string& id) {
    for (const auto& words : kActionWords) {
        if (id == words.id) {
            return words.label;
        }
    }
    return id;
}

} // namespace

int64_t OffenderWording::lastSeenMs() const {
    return std::max(stats_.lastIncidentEndMs, stats_.lastOutOfMemoryKillMs);
}

uint32_t OffenderWording::daysWatched() const {
    int64_t watched = (nowMs_ - stats_.firstSeenMs + kDayMs - 1) / kDayMs;
    return static_cast<uint32_t>(std::clamp<int64_t>(watched, 1, 30));
}

bool OffenderWording::isRecurring() const {
    return stats_.incidentCount30d >= 2 && stats_.incidentDays30d * 3 >= daysWatched();
}

std::string OffenderWording::riskLabel() const {
    if (stats_.criticalIncidentCount30d > 0) {
        return "Historical critical";
    }
    if (stats_.incidentCount30d >= 2 || stats_.peakScore30d >= 65 ||
        stats_.outOfMemoryKills30d() > 0) {
        return "Historical suspect";
    }
    return "Historical watch";
}

std::string OffenderWording::typicalityLabel() const {
    if (stats_.incidentCount30d > 0 && nowMs_ - stats_.firstSeenMs < 2 * kDayMs) {
        return "Too new to judge";
    }
    if (isRecurring()) {
        return "Recurring above baseline";
    }
    if (stats_.incidentCount30d + stats_.outOfMemoryKills30d() >= 2) {
        return "Occasional spikes";
    }
    return "Usually healthy";
}

std::string OffenderWording::lastSeenText() const {
    if (liveNow_) {
        return "Live now";
    }
    if (lastSeenMs() == 0) {
        return "Not seen in 30d";
    }
    return agoText(nowMs_ - lastSeenMs());
}

std::vector<std::string> OffenderWording::evidenceTags() const {
    std::vector<std::string> tags;
    if (stats_.criticalIncidentCount30d > 0) {
        tags.push_back("critical " + timesText(stats_.criticalIncidentCount30d));
    }
    if (uint32_t kills = stats_.outOfMemoryKills30d(); kills > 0) {
        tags.push_back(outOfMemoryKillTag(kills));
    }
    if (stats_.artifactCount > 0) {
        tags.push_back(countText(stats_.artifactCount, "artifact", "artifacts"));
    }
    for (const auto& words : kActionWords) {
        if (uint32_t count = stats_.actionCount(std::string(words.id)); words.tag && count > 0) {
            tags.push_back(std::string(words.tag) + " " + timesText(count));
        }
    }
    return tags;
}

std::string OffenderWording::interpretation() const {
    const auto& s = stats_;
    if (s.incidentCount30d == 0 && s.outOfMemoryKills30d() > 0) {
        return "No growth incident in 30 days, yet the out-of-memory killer ended " + s.title +
               " " + timesLongText(s.outOfMemoryKills30d()) +
               "; its memory use outgrew what was available.";
    }
    if (s.incidentCount30d == 0) {
        return "No incidents in the last 30 days.";
    }
    if (s.criticalIncidentCount30d > 0) {
        return "Went critical " + timesLongText(s.criticalIncidentCount30d) +
               " in 30 days; treat new growth from " + s.title + " as urgent.";
    }
    if (isRecurring()) {
        return "Incidents started on " + std::to_string(s.incidentDays30d) + " of the last " +
               std::to_string(daysWatched()) +
               " days watched; this growth keeps coming back above its baseline.";
    }
    if (s.incidentCount30d >= 2) {
        return std::to_string(s.incidentCount30d) + " incidents in 30 days, peaking at score " +
               std::to_string(s.peakScore30d) + "; worth watching when it grows again.";
    }
    return "One incident in 30 days (peak score " + std::to_string(s.peakScore30d) +
           "); nothing recurring so far.";
}

HistoricalOffenderSummarySnapshot OffenderWording::summary() const {
    HistoricalOffenderSummarySnapshot summary;
    summary.key = stats_.key;
    summary.title = stats_.title;
    summary.liveNow = liveNow_;
    summary.lastSeenMs = lastSeenMs();
    summary.lastSeenText = lastSeenText();
    summary.incidentCount7d = stats_.incidentCount7d;
    summary.incidentCount30d = stats_.incidentCount30d;
    summary.criticalIncidentCount30d = stats_.criticalIncidentCount30d;
    summary.peakScore30d = stats_.peakScore30d;
    summary.riskLabel = riskLabel();
    summary.typicalityLabel = typicalityLabel();
    summary.evidenceTags = evidenceTags();
    summary.interpretation = interpretation();
    return summary;
}

std::vector<HistoryMetric> detailMetrics(const OffenderDetailStats& detail, int64_t nowMs) {
    const auto& s = detail.stats;
    auto bytesOr = [](const std::optional<uint64_t>& bytes) {
        return bytes ? byteSizeText(*bytes) : std::string("Not enough data");
    };
    std::vector<HistoryMetric> metrics{
        {"Incidents 30d", std::to_string(s.incidentCount30d)},
        {"Incidents 7d", std::to_string(s.incidentCount7d)},
        {"Critical 30d", std::to_string(s.criticalIncidentCount30d)},
        {"Peak score", s.incidentCount30d > 0 ? std::to_string(s.peakScore30d) : "None"},
        {"Peak rate", s.peakRate30d > 0 ? rateText(s.peakRate30d) : "None"},
        {"Typical footprint", bytesOr(detail.typicalFootprintBytes)},
        {"Peak footprint", bytesOr(detail.peakFootprintBytes)},
        {"Last action", "None"},
    };
    if (detail.lastAction) {
        metrics.back().value =
            actionLabel(detail.lastAction->action) + " " + agoText(nowMs - detail.lastAction->atMs);
    }
    return metrics;
}

std::vector<std::string> detailInsights(const OffenderDetailStats& detail, int64_t nowMs) {
    const auto& s = detail.stats;
    std::vector<std::string> lines;
    if (s.incidentCount30d == 0) {
        lines.push_back("No incidents in the last 30 days.");
    } else {
        lines.push_back("Longest incident lasted " + durationText(s.longestIncidentMs) + ".");
    }
    if (s.incidentDays30d >= 2) {
        lines.push_back("Incidents started on " + std::to_string(s.incidentDays30d) +
                        " different days in the last 30.");
    }
    if (detail.typicalFootprintBytes && detail.peakFootprintBytes &&
        *detail.typicalFootprintBytes > 0) {
        char ratio[32];
        std::snprintf(ratio, sizeof ratio, "%.1f",
                      static_cast<double>(*detail.peakFootprintBytes) /
                          static_cast<double>(*detail.typicalFootprintBytes));
        lines.push_back(std::string("Peak footprint reached ") + ratio +
                        "x its typical footprint.");
    }
    if (uint32_t kills = s.outOfMemoryKills30d(); kills > 0) {
        lines.push_back("Ended by the out-of-memory killer " + timesLongText(kills) +
                        " in 30 days; the latest " + agoText(nowMs - s.lastOutOfMemoryKillMs) +
                        ".");
    }
    if (detail.lastAction) {
        const auto& action = *detail.lastAction;
        std::string line = "Last action: " + actionLabel(action.action) + " " +
                           agoText(nowMs - action.atMs) +
                           (action.succeeded ? ", succeeded" : ", did not succeed");
        lines.push_back(line + (action.outcome.empty() ? "." : " (" + action.outcome + ")."));
    }
    if (s.artifactCount > 0) {
        lines.push_back(countText(s.artifactCount, "evidence artifact", "evidence artifacts") +
                        " kept; newest captured " + agoText(nowMs - s.newestArtifactMs) + ".");
    }
    lines.push_back("Watched since " + agoText(nowMs - s.firstSeenMs) + ".");
    return lines;
}

} // namespace velmora
