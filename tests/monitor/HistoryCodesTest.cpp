// SPDX-License-Identifier: GPL-3.0-or-later
// What the monitor recorded travels with its codes and figures: the out-of-memory daemon's
// sentence in the forecast and a recent finding's sentence. The app composes, from the codes
// alone (through the wire and back), the very texts the monitor wrote; an unknown code shows
// the monitor's text, and a code of the wrong type fails with its path.
#include "SentOverWire.h"
#include "base/Translate.h"
#include "model/Codec.h"
#include "monitor/compose/ForecastTexts.h"
#include "monitor/compose/RecentFindings.h"
#include "monitor/history/ActionRecord.h"
#include "monitor/history/Clock.h"
#include "monitor/history/OffenderWording.h"
#include "state/ForecastTexts.h"
#include "state/HistoryTexts.h"
#include "state/RecentFindingTexts.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

constexpr uint64_t kGiB = 1024 * 1024;

LiveView machineWith(uint64_t totalKiB, uint64_t swapKiB) {
    LiveView view;
    view.machine.valid = true;
    view.machine.memory.totalKiB = totalKiB;
    view.machine.memory.availableKiB = totalKiB / 2;
    view.machine.memory.swapTotalKiB = swapKiB;
    view.machine.memory.swapFreeKiB = swapKiB;
    return view;
}

OomKiller oomd(double pressure, double seconds, double swapUsed) {
    OomKiller killer;
    killer.daemon = OomDaemon::systemdOomd;
    killer.oomd = {
        .swapUsedPercent = swapUsed, .pressurePercent = pressure, .pressureSeconds = seconds};
    return killer;
}

OomKiller earlyoom(double memPercent, double swapPercent, std::optional<uint64_t> memKiB = {},
                   std::optional<uint64_t> swapKiB = {}) {
    OomKiller killer;
    killer.daemon = OomDaemon::earlyoom;
    killer.earlyoom = {memPercent, swapPercent, memKiB, swapKiB};
    return killer;
}

TEST(HistoryCodes, KillerSaysWhatTheMonitorSays) {
    const OomKiller killers[] = {
        oomd(60, 30, 90),
        oomd(92.5, 20, 85.25), // shares with a decimal
        oomd(50, 90, 100),     // a span over a minute
        earlyoom(10, 10),
        earlyoom(4.5, 12),
        // An absolute minimum below the share applies; above it, the share does.
        earlyoom(10, 10, 512 * 1024),
        earlyoom(2, 10, 8 * kGiB),
        earlyoom(10, 10, std::nullopt, 256 * 1024),
    };
    for (const OomKiller& killer : killers) {
        for (uint64_t swap : {uint64_t{0}, 4 * kGiB}) {
            for (uint64_t total : {16 * kGiB, uint64_t{0}}) {
                LiveView view = machineWith(total, swap);
                view.forecast.killer = killer;
                const auto forecast = memoryForecastOf(view);
                ASSERT_TRUE(forecast && forecast->killerText && forecast->killer);
                const MemoryForecastSnapshot received = sent(*forecast);
                ASSERT_TRUE(received.killer);
                EXPECT_EQ(killerText(*received.killer), forecast->killerText);
                EXPECT_EQ(killerLine(received), forecast->killerText);
            }
        }
    }
}

TEST(HistoryCodes, KillerCodesCarryTheThresholdThatApplies) {
    LiveView view = machineWith(16 * kGiB, 0);
    view.forecast.killer = earlyoom(10, 10, 512 * 1024);
    const auto codes = killerCodesOf(view);
    ASSERT_TRUE(codes);
    EXPECT_EQ(codes->code, KillerCode::earlyoom);
    EXPECT_EQ(codes->memoryKiB, 512 * 1024);
    EXPECT_FALSE(codes->memoryFraction);
    EXPECT_FALSE(codes->swapFraction || codes->swapKiB); // no swap on this machine

    view = machineWith(16 * kGiB, 4 * kGiB);
    view.forecast.killer = oomd(60, 30, 90);
    const auto oomdCodes = killerCodesOf(view);
    ASSERT_TRUE(oomdCodes);
    EXPECT_EQ(oomdCodes->code, KillerCode::systemdOomd);
    EXPECT_DOUBLE_EQ(*oomdCodes->pressureFraction, 0.6);
    EXPECT_EQ(oomdCodes->seconds, 30);
    EXPECT_DOUBLE_EQ(*oomdCodes->swapFraction, 0.9);

    view.forecast.killer.reset();
    EXPECT_FALSE(killerCodesOf(view));
}

TEST(HistoryCodes, RecentFindingSaysWhatTheMonitorSays) {
    LiveView view;
    view.monotonicTime = 10'000;
    // 14:02 local time on some day; the app reads it in the same zone.
    view.outOfMemoryKills.push_back(
        {"oom-1-1", "app:editor", "editor", 1, 6 * kGiB, 6 * kGiB + 512, 9'000, 1.7e9});
    using enum FindingVerdict;
    for (FindingVerdict verdict : {normal, watch, suspect, probable, criticalRunaway}) {
        const std::string key = "app:" + std::string(toWire(verdict));
        view.departed.push_back({key, key, verdict, 9'500, verdict == probable});
    }
    const auto findings = recentFindingsOf(view);
    ASSERT_EQ(findings.size(), 6u);
    for (const RecentFindingSnapshot& finding : findings) {
        const RecentFindingSnapshot received = sent(finding);
        ASSERT_TRUE(received.explanationCode) << finding.key;
        EXPECT_EQ(recentExplanationText(*received.explanationCode), finding.explanation);
        EXPECT_EQ(recentExplanation(received), finding.explanation);
    }
    const RecentFindingSnapshot& killed = findings.back();
    EXPECT_EQ(killed.explanationCode->code, RecentExplanationCode::outOfMemoryKill);
    EXPECT_EQ(killed.explanationCode->wallSeconds, 1.7e9);
    EXPECT_EQ(killed.explanationCode->footprintKiB, 6 * kGiB + 512);
}

TEST(HistoryCodes, UnknownOrIncompleteCodesShowTheMonitorsText) {
    const auto snapshot = decodeText<PopoverSnapshot>(R"({
        "memoryForecast": {"killerText": "oomd-ng acts sometimes",
                           "killer": {"code": "oomdNg", "pressureFraction": 0.5}},
        "recentFindings": [
            {"key": "a", "title": "a", "statusLabel": "s", "explanation": "Gone fishing.",
             "lastSeenText": "", "severity": "watch", "explanationCode": {"code": "fishing"}},
            {"key": "b", "title": "b", "statusLabel": "s", "explanation": "Ended somehow.",
             "lastSeenText": "", "severity": "watch",
             "explanationCode": {"code": "outOfMemoryKill", "footprintKiB": 4}},
            {"key": "c", "title": "c", "statusLabel": "s", "explanation": "Odd earlier.",
             "lastSeenText": "", "severity": "watch",
             "explanationCode": {"code": "departed", "verdict": "odd"}}]})");
    ASSERT_TRUE(snapshot.ok()) << snapshot.error().text();
    const PopoverSnapshot& s = snapshot.value();
    EXPECT_EQ(killerLine(*s.memoryForecast), "oomd-ng acts sometimes");
    EXPECT_EQ(recentExplanation(s.recentFindings[0]), "Gone fishing.");
    EXPECT_EQ(recentExplanation(s.recentFindings[1]), "Ended somehow."); // no time sent
    EXPECT_EQ(recentExplanation(s.recentFindings[2]), "Odd earlier.");
    // A known daemon without its thresholds says what the monitor says too.
    MemoryForecastSnapshot bare;
    bare.killerText = "systemd-oomd acts";
    bare.killer.emplace().code = KillerCode::systemdOomd;
    EXPECT_EQ(killerLine(bare), "systemd-oomd acts");
}

TEST(HistoryCodes, WrongTypesFailWithTheirPath) {
    const auto failureOf = [](const char* json) {
        auto decoded = decodeText<PopoverSnapshot>(json);
        return decoded.ok() ? std::string() : decoded.error().text();
    };
    EXPECT_EQ(failureOf(R"({"memoryForecast": {"killer": {"code": "earlyoom",
        "memoryFraction": "10%"}}})"),
              "memoryForecast.killer.memoryFraction: expected number, got string");
    EXPECT_EQ(failureOf(R"({"memoryForecast": {"killer": {"pressureFraction": 0.5}}})"),
              "memoryForecast.killer.code: missing required key");
    EXPECT_EQ(failureOf(R"({"recentFindings": [{"key": "k", "title": "t", "statusLabel": "s",
        "explanation": "", "lastSeenText": "", "severity": "watch",
        "explanationCode": {"code": "departed", "verdict": 3}}]})"),
              "recentFindings[0].explanationCode.verdict: expected string, got number");
}

constexpr int64_t kNowMs = 1'700'000'000'000;

// An offender first seen `days` ago with the given record.
OffenderStats offender(int64_t days, uint32_t incidents, uint32_t critical, uint32_t peak,
                       uint32_t incidentDays, uint32_t kills) {
    OffenderStats stats;
    stats.key = "app:editor";
    stats.title = "Editor";
    stats.firstSeenMs = kNowMs - days * kDayMs;
    stats.incidentCount30d = incidents;
    stats.incidentCount7d = std::min(incidents, 1u);
    stats.criticalIncidentCount30d = critical;
    stats.peakScore30d = peak;
    stats.incidentDays30d = incidentDays;
    stats.lastIncidentEndMs = incidents > 0 ? kNowMs - 3 * kHourMs : 0;
    stats.peakRate30d = incidents > 0 ? 8.25 : 0.0;
    stats.longestIncidentMs = incidents > 0 ? 3 * kHourMs + 5 * kMinuteMs + 999 : 0;
    if (kills > 0) {
        stats.succeededActions30d[kOutOfMemoryKillAction] = kills;
        stats.lastOutOfMemoryKillMs = kNowMs - 40 * kMinuteMs;
    }
    return stats;
}

// Every risk, typicality, interpretation and tag the history words.
std::vector<OffenderStats> everyKindOfOffender() {
    std::vector<OffenderStats> all{
        offender(20, 0, 0, 0, 0, 0),  // nothing on record
        offender(20, 0, 0, 0, 0, 1),  // ended once without an incident
        offender(20, 0, 0, 0, 0, 3),  // ended three times
        offender(1, 1, 0, 40, 1, 0),  // too new, one incident
        offender(20, 1, 0, 70, 1, 0), // one high-scoring incident
        offender(20, 3, 0, 60, 2, 0), // several, not recurring
        offender(6, 4, 0, 60, 3, 0),  // recurring
        offender(20, 2, 1, 92, 2, 1), // went critical once, and ended once
        offender(20, 5, 3, 95, 4, 2), // went critical three times
    };
    OffenderStats acted = offender(20, 2, 0, 66, 2, 0);
    acted.artifactCount = 1;
    acted.newestArtifactMs = kNowMs - 5 * kMinuteMs;
    acted.succeededActions30d["restart"] = 1;
    acted.succeededActions30d["recover"] = 2;
    acted.succeededActions30d["confirmForceQuit"] = 3;
    all.push_back(acted);
    acted.artifactCount = 4;
    acted.succeededActions30d["restart"] = 2;
    acted.succeededActions30d["confirmForceQuit"] = 1;
    all.push_back(acted);
    return all;
}

void expectSameTexts(const HistoricalOffenderSummarySnapshot& composed,
                     const HistoricalOffenderSummarySnapshot& sentText) {
    EXPECT_EQ(composed.riskLabel, sentText.riskLabel);
    EXPECT_EQ(composed.typicalityLabel, sentText.typicalityLabel);
    EXPECT_EQ(composed.lastSeenText, sentText.lastSeenText);
    EXPECT_EQ(composed.evidenceTags, sentText.evidenceTags);
    EXPECT_EQ(composed.interpretation, sentText.interpretation);
}

TEST(HistoryCodes, OffenderSaysWhatTheMonitorSays) {
    for (const OffenderStats& stats : everyKindOfOffender()) {
        for (bool live : {false, true}) {
            const auto summary = OffenderWording(stats, live, kNowMs).summary();
            const auto received = sent(summary);
            ASSERT_TRUE(received.codes) << summary.interpretation;
            EXPECT_EQ(received.codes->tags.size(), summary.evidenceTags.size());
            // Composed from the codes alone: the texts the monitor sent are cleared first.
            auto bare = received;
            bare.riskLabel = bare.typicalityLabel = bare.lastSeenText = bare.interpretation = "";
            bare.evidenceTags.assign(bare.evidenceTags.size(), "");
            expectSameTexts(localized(bare), summary);
        }
    }
}

TEST(HistoryCodes, OffenderDetailSaysWhatTheMonitorSays) {
    const std::optional<LastAction> actions[] = {
        std::nullopt,
        LastAction{"restart", "", true, kNowMs - 5 * kMinuteMs},
        LastAction{"confirmForceQuit", "Force quit Editor", false, kNowMs - 2 * kDayMs},
        LastAction{"someNewAction", "done", true, kNowMs - 90'000},
        LastAction{kOutOfMemoryKillAction, "Ended by the out-of-memory killer", true, kNowMs},
    };
    int variant = 0;
    for (const OffenderStats& stats : everyKindOfOffender()) {
        OffenderDetailStats detail;
        detail.stats = stats;
        if (++variant % 2 == 0) {
            detail.typicalFootprintBytes = 700ull << 20;
            detail.peakFootprintBytes = (19ull << 30) / 10;
        }
        detail.lastAction = actions[variant % std::size(actions)];
        const auto snapshot = offenderDetail(detail, variant % 3 == 0, kNowMs);
        auto bare = sent(snapshot);
        ASSERT_TRUE(bare.codes);
        ASSERT_EQ(bare.codes->metrics.size(), snapshot.metrics.size());
        ASSERT_EQ(bare.codes->insights.size(), snapshot.insightLines.size());
        bare.riskLabel = bare.typicalityLabel = bare.lastSeenText = bare.interpretation = "";
        bare.metrics.assign(bare.metrics.size(), HistoryMetric{});
        bare.insightLines.assign(bare.insightLines.size(), "");
        const auto composed = localized(bare);
        EXPECT_EQ(composed.riskLabel, snapshot.riskLabel);
        EXPECT_EQ(composed.typicalityLabel, snapshot.typicalityLabel);
        EXPECT_EQ(composed.lastSeenText, snapshot.lastSeenText);
        EXPECT_EQ(composed.interpretation, snapshot.interpretation);
        EXPECT_EQ(composed.metrics, snapshot.metrics);
        EXPECT_EQ(composed.insightLines, snapshot.insightLines);
    }
}

TEST(HistoryCodes, OffenderFiguresAreTheStoresFigures) {
    OffenderDetailStats detail;
    detail.stats = offender(20, 3, 1, 92, 2, 2);
    detail.typicalFootprintBytes = 700ull << 20;
    detail.peakFootprintBytes = 1400ull << 20;
    detail.lastAction = LastAction{"restart", "", true, kNowMs - 5 * kMinuteMs};
    const OffenderCodes codes = *offenderDetail(detail, false, kNowMs).codes;
    EXPECT_EQ(codes.risk, OffenderRiskCode::critical);
    EXPECT_EQ(codes.interpretation->code, InterpretationCode::wentCritical);
    EXPECT_EQ(codes.interpretation->figures.count, 1);
    ASSERT_EQ(codes.tags.size(), 2u);
    EXPECT_EQ(codes.tags[1].code, OffenderTagCode::outOfMemoryKills);
    EXPECT_EQ(codes.tags[1].figures.count, 2);
    EXPECT_EQ(codes.lastSeen->code, LastSeenCode::ago);
    EXPECT_EQ(codes.lastSeen->figures.seconds, 40 * 60); // the kill is the latest sighting
    EXPECT_EQ(codes.metrics[4].figures.rateKiBPerSecond, 8.25 * 1024 / 60);
    EXPECT_EQ(codes.metrics[7].figures.action, HistoryActionCode::restart);
    EXPECT_EQ(codes.metrics[7].figures.seconds, 300);
    EXPECT_EQ(codes.insights[2].code, InsightCode::peakMultiple);
    EXPECT_DOUBLE_EQ(*codes.insights[2].figures.multiple, 2.0);
    // Nothing on record reads so in the detail, not as a risk.
    detail.stats = offender(20, 0, 0, 0, 0, 0);
    EXPECT_EQ(offenderDetail(detail, false, kNowMs).codes->risk, OffenderRiskCode::noIncidents);
}

TEST(HistoryCodes, UnknownOffenderCodesShowTheMonitorsText) {
    const auto history = decodeText<AdvancedHistorySnapshot>(R"({
        "generatedAtMs": 0,
        "offenders": [{"key": "k", "title": "T", "liveNow": false, "lastSeenMs": 0,
            "lastSeenText": "ages ago", "incidentCount7d": 0, "incidentCount30d": 0,
            "criticalIncidentCount30d": 0, "peakScore30d": 0, "riskLabel": "Odd",
            "typicalityLabel": "Rare", "evidenceTags": ["strange", "critical once"],
            "interpretation": "Hmm.",
            "codes": {"risk": "odd", "typicality": "rare", "lastSeen": {"code": "ages"},
                      "tags": [{"code": "strange"}, {"code": "critical", "count": 1}],
                      "interpretation": {"code": "wentCritical"}}}],
        "selectedDetail": {"key": "k", "title": "T", "riskLabel": "r", "typicalityLabel": "t",
            "lastSeenText": "l", "evidenceTags": [], "interpretation": "i",
            "metrics": [{"label": "Mood", "value": "Good"}, {"label": "Peak score",
                         "value": "None"}],
            "insightLines": ["A new line."],
            "codes": {"metrics": [{"code": "mood"}, {"code": "peakScore"}],
                      "insights": [{"code": "fresh"}, {"code": "noIncidents"}]}}})");
    ASSERT_TRUE(history.ok()) << history.error().text();
    const auto offender = localized(history.value().offenders[0]);
    EXPECT_EQ(offender.riskLabel, "Odd");
    EXPECT_EQ(offender.typicalityLabel, "Rare");
    EXPECT_EQ(offender.lastSeenText, "ages ago");
    EXPECT_EQ(offender.evidenceTags, (std::vector<std::string>{"strange", "critical once"}));
    EXPECT_EQ(offender.interpretation, "Hmm."); // its count is missing
    const auto detail = localized(*history.value().selectedDetail);
    EXPECT_EQ(detail.metrics[0], (HistoryMetric{"Mood", "Good"}));
    EXPECT_EQ(detail.metrics[1], (HistoryMetric{"Peak score", "None"}));
    // Codes that do not stand one for one for the lines leave the lines as sent.
    EXPECT_EQ(detail.insightLines, std::vector<std::string>{"A new line."});
}

TEST(HistoryCodes, OffenderCodesOfTheWrongTypeFailWithTheirPath) {
    auto decoded = decodeText<AdvancedHistorySnapshot>(R"({"generatedAtMs": 0, "offenders": [],
        "selectedDetail": {"key": "k", "title": "T", "riskLabel": "r", "typicalityLabel": "t",
            "lastSeenText": "l", "evidenceTags": [], "interpretation": "i", "metrics": [],
            "insightLines": [], "codes": {"insights": [{"code": "artifacts", "count": "3"}]}}})");
    ASSERT_FALSE(decoded.ok());
    EXPECT_EQ(decoded.error().text(),
              "selectedDetail.codes.insights[0].count: expected int64, got string");
}

// A language may put the figures of a sentence in its own order.
std::string reorderedHistoryTexts(const char*, const char* source, const char*, int n) {
    const std::string text = source;
    if (text == "Ended by the out-of-memory killer at %1 with %2.") {
        return "%2, ended at %1.";
    }
    if (text == "earlyoom ends the largest process below %1 available memory and %2 free swap") {
        return "swap %2, memory %1";
    }
    if (text == "%n incidents in 30 days, peaking at score %1; worth watching when it grows "
                "again.") {
        return "score %1 [" + std::to_string(n) + "]";
    }
    return text;
}

TEST(HistoryCodes, ComposedThroughTheCatalogue) {
    setTranslator(&reorderedHistoryTexts);
    RecentExplanationCodes killed;
    killed.code = RecentExplanationCode::outOfMemoryKill;
    killed.wallSeconds = 0;
    killed.footprintKiB = 1024;
    KillerCodes daemon;
    daemon.code = KillerCode::earlyoom;
    daemon.memoryFraction = 0.1;
    daemon.swapKiB = 2 * 1024 * 1024;
    const auto kill = recentExplanationText(killed);
    const auto killer = killerText(daemon);
    const auto interpretation = offenderInterpretationText(
        {InterpretationCode::severalIncidents, {.count = 3, .score = 71}}, "Editor");
    setTranslator(nullptr);
    ASSERT_TRUE(kill && killer);
    EXPECT_EQ(interpretation, "score 71 [3]");
    EXPECT_EQ(kill->rfind("1.0 MB, ended at ", 0), 0u) << *kill;
    EXPECT_EQ(*killer, "swap 2.0 GB, memory 10%");
}

} // namespace
} // namespace velmora
