// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/OffenderWording.h"

#include "base/SizeText.h"
#include "model/ActionId.h"
#include "monitor/history/ActionRecord.h"
#include "monitor/history/Clock.h"
#include "monitor/history/RelativeTime.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

namespace velmora {

namespace {

// "once", "2x"
std::string timesText(int64_t count) {
    return count == 1 ? "once" : std::to_string(count) + "x";
}

// "once", "2 times"
std::string timesLongText(int64_t count) {
    return count == 1 ? "once" : std::to_string(count) + " times";
}

std::string countText(int64_t count, const std::string& one, const std::string& many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Whole seconds since `atMs`, as the ago texts count them.
double secondsSince(int64_t nowMs, int64_t atMs) {
    return static_cast<double>((nowMs - atMs) / 1000);
}

std::string agoOf(double seconds) {
    return agoText(static_cast<int64_t>(seconds) * 1000);
}

struct ActionWords {
    std::string_view id;
    HistoryActionCode code;
    std::optional<OffenderTagCode> tag; // the evidence tag of a succeeded action
};

constexpr std::array kActionWords{
    ActionWords{toWire(ActionId::restart), HistoryActionCode::restart, OffenderTagCode::restarted},
    ActionWords{toWire(ActionId::recover), HistoryActionCode::recover, OffenderTagCode::recovered},
    ActionWords{toWire(ActionId::confirmForceQuit), HistoryActionCode::forceQuit,
                OffenderTagCode::forceQuit},
    ActionWords{toWire(ActionId::captureStrongerEvidence), HistoryActionCode::evidenceCapture,
                std::nullopt},
    ActionWords{toWire(ActionId::ignore), HistoryActionCode::ignore, std::nullopt},
    // Tagged on its own.
    ActionWords{kOutOfMemoryKillAction, HistoryActionCode::outOfMemoryKill, std::nullopt},
};

// An action id as a code; one the history does not name keeps its id.
OpenCode<HistoryActionCode> actionCode(const std::string& id) {
    for (const auto& words : kActionWords) {
        if (id == words.id) {
            return words.code;
        }
    }
    return OpenCode<HistoryActionCode>::unknown(id);
}

std::string actionText(const OpenCode<HistoryActionCode>& action) {
    if (!action.known) {
        return action.wire;
    }
    switch (*action.known) {
    case HistoryActionCode::restart:
        return "Restart";
    case HistoryActionCode::recover:
        return "Recover";
    case HistoryActionCode::forceQuit:
        return "Force quit";
    case HistoryActionCode::evidenceCapture:
        return "Evidence capture";
    case HistoryActionCode::ignore:
        return "Ignore";
    case HistoryActionCode::outOfMemoryKill:
        return "Out-of-memory kill";
    }
    return action.wire;
}

std::string noneOr(bool present, const std::string& text, const char* none = "None") {
    return present ? text : none;
}

std::vector<Recorded<HistoryMetricCode>> metricCodes(const OffenderDetailStats& detail,
                                                     int64_t nowMs) {
    using enum HistoryMetricCode;
    const auto& s = detail.stats;
    std::vector<Recorded<HistoryMetricCode>> metrics{
        {incidents30d, {.count = s.incidentCount30d}},
        {incidents7d, {.count = s.incidentCount7d}},
        {critical30d, {.count = s.criticalIncidentCount30d}},
        {peakScore, {}},
        {peakRate, {}},
        {typicalFootprint, {.bytes = detail.typicalFootprintBytes}},
        {peakFootprint, {.bytes = detail.peakFootprintBytes}},
        {lastAction, {}},
    };
    if (s.incidentCount30d > 0) {
        metrics[3].figures.score = s.peakScore30d;
    }
    if (s.peakRate30d > 0) {
        metrics[4].figures.rateKiBPerSecond = s.peakRate30d * 1024.0 / 60.0;
    }
    if (detail.lastAction) {
        metrics[7].figures.action = actionCode(detail.lastAction->action);
        metrics[7].figures.seconds = secondsSince(nowMs, detail.lastAction->atMs);
    }
    return metrics;
}

std::vector<Recorded<InsightCode>> insightCodes(const OffenderDetailStats& detail, int64_t nowMs) {
    using enum InsightCode;
    const auto& s = detail.stats;
    std::vector<Recorded<InsightCode>> lines;
    if (s.incidentCount30d == 0) {
        lines.push_back({noIncidents});
    } else {
        lines.push_back(
            {longestIncident, {.seconds = static_cast<double>(s.longestIncidentMs / 1000)}});
    }
    if (s.incidentDays30d >= 2) {
        lines.push_back({incidentDays, {.count = s.incidentDays30d}});
    }
    if (detail.typicalFootprintBytes && detail.peakFootprintBytes &&
        *detail.typicalFootprintBytes > 0) {
        lines.push_back({peakMultiple,
                         {.multiple = static_cast<double>(*detail.peakFootprintBytes) /
                                      static_cast<double>(*detail.typicalFootprintBytes)}});
    }
    if (uint32_t kills = s.outOfMemoryKills30d(); kills > 0) {
        lines.push_back(
            {outOfMemoryKills,
             {.count = kills, .seconds = secondsSince(nowMs, s.lastOutOfMemoryKillMs)}});
    }
    if (detail.lastAction) {
        const auto& action = *detail.lastAction;
        lines.push_back({lastAction,
                         {.seconds = secondsSince(nowMs, action.atMs),
                          .action = actionCode(action.action),
                          .succeeded = action.succeeded,
                          .outcome = action.outcome}});
    }
    if (s.artifactCount > 0) {
        lines.push_back(
            {artifacts,
             {.count = s.artifactCount, .seconds = secondsSince(nowMs, s.newestArtifactMs)}});
    }
    lines.push_back({watchedSince, {.seconds = secondsSince(nowMs, s.firstSeenMs)}});
    return lines;
}

template <class Code, class Text>
auto textsOf(const std::vector<Recorded<Code>>& codes, Text text) {
    std::vector<decltype(text(codes.front()))> texts;
    texts.reserve(codes.size());
    for (const auto& code : codes) {
        texts.push_back(text(code));
    }
    return texts;
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

OffenderRiskCode OffenderWording::riskCode() const {
    if (stats_.criticalIncidentCount30d > 0) {
        return OffenderRiskCode::critical;
    }
    if (stats_.incidentCount30d >= 2 || stats_.peakScore30d >= 65 ||
        stats_.outOfMemoryKills30d() > 0) {
        return OffenderRiskCode::suspect;
    }
    return OffenderRiskCode::watch;
}

TypicalityCode OffenderWording::typicalityCode() const {
    if (stats_.incidentCount30d > 0 && nowMs_ - stats_.firstSeenMs < 2 * kDayMs) {
        return TypicalityCode::tooNew;
    }
    if (isRecurring()) {
        return TypicalityCode::recurring;
    }
    if (stats_.incidentCount30d + stats_.outOfMemoryKills30d() >= 2) {
        return TypicalityCode::occasionalSpikes;
    }
    return TypicalityCode::usuallyHealthy;
}

Recorded<LastSeenCode> OffenderWording::lastSeen() const {
    if (liveNow_) {
        return {LastSeenCode::liveNow};
    }
    if (lastSeenMs() == 0) {
        return {LastSeenCode::notSeen};
    }
    return {LastSeenCode::ago, {.seconds = secondsSince(nowMs_, lastSeenMs())}};
}

std::vector<Recorded<OffenderTagCode>> OffenderWording::tags() const {
    std::vector<Recorded<OffenderTagCode>> tags;
    if (stats_.criticalIncidentCount30d > 0) {
        tags.push_back({OffenderTagCode::critical, {.count = stats_.criticalIncidentCount30d}});
    }
    if (uint32_t kills = stats_.outOfMemoryKills30d(); kills > 0) {
        tags.push_back({OffenderTagCode::outOfMemoryKills, {.count = kills}});
    }
    if (stats_.artifactCount > 0) {
        tags.push_back({OffenderTagCode::artifacts, {.count = stats_.artifactCount}});
    }
    for (const auto& words : kActionWords) {
        if (uint32_t count = stats_.actionCount(std::string(words.id)); words.tag && count > 0) {
            tags.push_back({*words.tag, {.count = count}});
        }
    }
    return tags;
}

Recorded<InterpretationCode> OffenderWording::interpretation() const {
    using enum InterpretationCode;
    const auto& s = stats_;
    if (s.incidentCount30d == 0 && s.outOfMemoryKills30d() > 0) {
        return {killedWithoutIncident, {.count = s.outOfMemoryKills30d()}};
    }
    if (s.incidentCount30d == 0) {
        return {noIncidents};
    }
    if (s.criticalIncidentCount30d > 0) {
        return {wentCritical, {.count = s.criticalIncidentCount30d}};
    }
    if (isRecurring()) {
        return {recurring, {.count = s.incidentDays30d, .days = daysWatched()}};
    }
    if (s.incidentCount30d >= 2) {
        return {severalIncidents, {.count = s.incidentCount30d, .score = s.peakScore30d}};
    }
    return {oneIncident, {.score = s.peakScore30d}};
}

OffenderCodes OffenderWording::codes() const {
    return {.risk = riskCode(),
            .typicality = typicalityCode(),
            .lastSeen = lastSeen(),
            .tags = tags(),
            .interpretation = interpretation()};
}

HistoricalOffenderSummarySnapshot OffenderWording::summary() const {
    HistoricalOffenderSummarySnapshot summary;
    summary.key = stats_.key;
    summary.title = stats_.title;
    summary.liveNow = liveNow_;
    summary.lastSeenMs = lastSeenMs();
    summary.incidentCount7d = stats_.incidentCount7d;
    summary.incidentCount30d = stats_.incidentCount30d;
    summary.criticalIncidentCount30d = stats_.criticalIncidentCount30d;
    summary.peakScore30d = stats_.peakScore30d;
    OffenderCodes codes = this->codes();
    summary.riskLabel = riskText(*codes.risk->known);
    summary.typicalityLabel = typicalityText(*codes.typicality->known);
    summary.lastSeenText = lastSeenText(*codes.lastSeen);
    summary.evidenceTags = textsOf(codes.tags, tagText);
    summary.interpretation = interpretationText(*codes.interpretation, stats_.title);
    summary.codes = std::move(codes);
    return summary;
}

HistoricalOffenderDetailSnapshot offenderDetail(const OffenderDetailStats& detail, bool liveNow,
                                                int64_t nowMs) {
    const OffenderWording wording(detail.stats, liveNow, nowMs);
    OffenderCodes codes = wording.codes();
    if (detail.stats.incidentCount30d == 0 && detail.stats.outOfMemoryKills30d() == 0) {
        codes.risk = OffenderRiskCode::noIncidents;
    }
    codes.metrics = metricCodes(detail, nowMs);
    codes.insights = insightCodes(detail, nowMs);
    HistoricalOffenderDetailSnapshot snapshot;
    snapshot.key = detail.stats.key;
    snapshot.title = detail.stats.title;
    snapshot.riskLabel = riskText(*codes.risk->known);
    snapshot.typicalityLabel = typicalityText(*codes.typicality->known);
    snapshot.lastSeenText = lastSeenText(*codes.lastSeen);
    snapshot.evidenceTags = textsOf(codes.tags, tagText);
    snapshot.interpretation = interpretationText(*codes.interpretation, detail.stats.title);
    snapshot.metrics = textsOf(codes.metrics, metricText);
    snapshot.insightLines = textsOf(codes.insights, insightText);
    snapshot.codes = std::move(codes);
    return snapshot;
}

std::string riskText(OffenderRiskCode risk) {
    switch (risk) {
    case OffenderRiskCode::critical:
        return "Historical critical";
    case OffenderRiskCode::suspect:
        return "Historical suspect";
    case OffenderRiskCode::watch:
        return "Historical watch";
    case OffenderRiskCode::noIncidents:
        return "No incidents on record";
    }
    return "Historical watch";
}

std::string typicalityText(TypicalityCode typicality) {
    switch (typicality) {
    case TypicalityCode::tooNew:
        return "Too new to judge";
    case TypicalityCode::recurring:
        return "Recurring above baseline";
    case TypicalityCode::occasionalSpikes:
        return "Occasional spikes";
    case TypicalityCode::usuallyHealthy:
        return "Usually healthy";
    }
    return "Usually healthy";
}

std::string lastSeenText(const Recorded<LastSeenCode>& lastSeen) {
    if (lastSeen.code.known == LastSeenCode::liveNow) {
        return "Live now";
    }
    if (lastSeen.code.known == LastSeenCode::ago && lastSeen.figures.seconds) {
        return agoOf(*lastSeen.figures.seconds);
    }
    return "Not seen in 30d";
}

std::string tagText(const Recorded<OffenderTagCode>& tag) {
    const int64_t count = tag.figures.count.value_or(0);
    switch (tag.code.known.value_or(OffenderTagCode::critical)) {
    case OffenderTagCode::critical:
        return "critical " + timesText(count);
    case OffenderTagCode::outOfMemoryKills:
        return "ended by the OOM killer " + std::to_string(count) + "\u00d7 in 30 days";
    case OffenderTagCode::artifacts:
        return countText(count, "artifact", "artifacts");
    case OffenderTagCode::restarted:
        return "restarted " + timesText(count);
    case OffenderTagCode::recovered:
        return "recovered " + timesText(count);
    case OffenderTagCode::forceQuit:
        return "force quit " + timesText(count);
    }
    return {};
}

std::string interpretationText(const Recorded<InterpretationCode>& interpretation,
                               const std::string& title) {
    const HistoryFigures& f = interpretation.figures;
    const int64_t count = f.count.value_or(0);
    const std::string score = std::to_string(f.score.value_or(0));
    switch (interpretation.code.known.value_or(InterpretationCode::noIncidents)) {
    case InterpretationCode::killedWithoutIncident:
        return "No growth incident in 30 days, yet the out-of-memory killer ended " + title + " " +
               timesLongText(count) + "; its memory use outgrew what was available.";
    case InterpretationCode::noIncidents:
        return "No incidents in the last 30 days.";
    case InterpretationCode::wentCritical:
        return "Went critical " + timesLongText(count) + " in 30 days; treat new growth from " +
               title + " as urgent.";
    case InterpretationCode::recurring:
        return "Incidents started on " + std::to_string(count) + " of the last " +
               std::to_string(f.days.value_or(0)) +
               " days watched; this growth keeps coming back above its baseline.";
    case InterpretationCode::severalIncidents:
        return std::to_string(count) + " incidents in 30 days, peaking at score " + score +
               "; worth watching when it grows again.";
    case InterpretationCode::oneIncident:
        return "One incident in 30 days (peak score " + score + "); nothing recurring so far.";
    }
    return {};
}

HistoryMetric metricText(const Recorded<HistoryMetricCode>& metric) {
    const HistoryFigures& f = metric.figures;
    const std::string count = std::to_string(f.count.value_or(0));
    auto bytes = [&f] {
        return noneOr(f.bytes.has_value(), byteSizeText(f.bytes.value_or(0)), "Not enough data");
    };
    switch (metric.code.known.value_or(HistoryMetricCode::incidents30d)) {
    case HistoryMetricCode::incidents30d:
        return {"Incidents 30d", count};
    case HistoryMetricCode::incidents7d:
        return {"Incidents 7d", count};
    case HistoryMetricCode::critical30d:
        return {"Critical 30d", count};
    case HistoryMetricCode::peakScore:
        return {"Peak score", noneOr(f.score.has_value(), std::to_string(f.score.value_or(0)))};
    case HistoryMetricCode::peakRate:
        return {"Peak rate", noneOr(f.rateKiBPerSecond.has_value(),
                                    rateText(f.rateKiBPerSecond.value_or(0) * 60.0 / 1024.0))};
    case HistoryMetricCode::typicalFootprint:
        return {"Typical footprint", bytes()};
    case HistoryMetricCode::peakFootprint:
        return {"Peak footprint", bytes()};
    case HistoryMetricCode::lastAction:
        return {"Last action",
                noneOr(f.action && f.seconds,
                       f.action ? actionText(*f.action) + " " + agoOf(f.seconds.value_or(0))
                                : std::string())};
    }
    return {};
}

std::string insightText(const Recorded<InsightCode>& insight) {
    const HistoryFigures& f = insight.figures;
    const int64_t count = f.count.value_or(0);
    const double seconds = f.seconds.value_or(0);
    switch (insight.code.known.value_or(InsightCode::noIncidents)) {
    case InsightCode::noIncidents:
        return "No incidents in the last 30 days.";
    case InsightCode::longestIncident:
        return "Longest incident lasted " + durationText(static_cast<int64_t>(seconds * 1000)) +
               ".";
    case InsightCode::incidentDays:
        return "Incidents started on " + std::to_string(count) + " different days in the last 30.";
    case InsightCode::peakMultiple: {
        char ratio[32];
        std::snprintf(ratio, sizeof ratio, "%.1f", f.multiple.value_or(0));
        return std::string("Peak footprint reached ") + ratio + "x its typical footprint.";
    }
    case InsightCode::outOfMemoryKills:
        return "Ended by the out-of-memory killer " + timesLongText(count) +
               " in 30 days; the latest " + agoOf(seconds) + ".";
    case InsightCode::lastAction: {
        const std::string outcome = f.outcome.value_or("");
        return "Last action: " + actionText(f.action.value_or(OpenCode<HistoryActionCode>{})) +
               " " + agoOf(seconds) +
               (f.succeeded.value_or(false) ? ", succeeded" : ", did not succeed") +
               (outcome.empty() ? "." : " (" + outcome + ").");
    }
    case InsightCode::artifacts:
        return countText(count, "evidence artifact", "evidence artifacts") +
               " kept; newest captured " + agoOf(seconds) + ".";
    case InsightCode::watchedSince:
        return "Watched since " + agoOf(seconds) + ".";
    }
    return {};
}

} // namespace velmora
