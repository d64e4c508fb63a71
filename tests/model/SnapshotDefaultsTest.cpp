// SPDX-License-Identifier: GPL-3.0-or-later
// Defaults of missing keys, including the ones that depend on values decoded before them.
#include "model/Codec.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

PopoverSnapshot decodeOk(std::string_view text) {
    auto decoded = decodeText<PopoverSnapshot>(text);
    EXPECT_TRUE(decoded.ok()) << (decoded.ok() ? "" : decoded.error().text());
    return decoded.ok() ? decoded.value() : PopoverSnapshot{};
}

const char* kEnabledCap1 =
    "Wrapped dev sessions and pre-Force-Quit pressure assist may auto-capture "
    "local evidence, capped at 1 per session and 1 per process/day.";
const char* kEnabledCap2 =
    "Wrapped dev sessions and pre-Force-Quit pressure assist may auto-capture "
    "local evidence, capped at 2 per session and 2 per process/day.";
const char* kCaptureOff =
    "Automatic evidence capture is off; capture starts only when you choose a "
    "proof or export action.";

} // namespace

TEST(SnapshotDefaults, EmptyObjectIsTheCalmPlaceholder) {
    const auto snapshot = decodeOk("{}");
    EXPECT_EQ(snapshot, PopoverSnapshot{});
    EXPECT_EQ(snapshot.globalTone, SnapshotTone::allClear);
    EXPECT_EQ(snapshot.summaryText, "ALL CLEAR");
    EXPECT_EQ(snapshot.refreshIntervalMs, 1000u);
    EXPECT_EQ(snapshot.systemState.pressureLabel, "Memory state unavailable");
    EXPECT_EQ(snapshot.systemState.headroomLabel, "Headroom unavailable");
    EXPECT_EQ(snapshot.systemState.scopeLabel, "Process scan pending");
    EXPECT_EQ(snapshot.systemState.usedMemoryFraction, 0.0);
    EXPECT_EQ(snapshot.footerTelemetry.storageText, "Storage unavailable");
    EXPECT_EQ(snapshot.footerTelemetry.pruneText, "Prune unavailable");
    EXPECT_EQ(snapshot.bootstrapScan, (BootstrapScanSnapshot{false, false, 0}));
    EXPECT_TRUE(snapshot.rows.empty());
    EXPECT_TRUE(snapshot.recentFindings.empty());
    EXPECT_FALSE(snapshot.relief || snapshot.actionFeedback || snapshot.selectedDetail ||
                 snapshot.destructiveConfirmation);
    EXPECT_EQ(snapshot.settings.storageMode, SettingsStorageMode::balanced);
    EXPECT_TRUE(snapshot.settings.evidenceCaptureEnabled);
    EXPECT_EQ(snapshot.settings.evidenceCaptureLine, kEnabledCap2);
    EXPECT_EQ(snapshot.incident, IncidentSnapshot::fallback());
    EXPECT_EQ(snapshot.incident.whyLines.size(), 2u);

    const auto& trust = snapshot.trustAccess;
    EXPECT_EQ(trust.processScope, "Same-user running processes only.");
    EXPECT_EQ(trust.fileWriteScope, "Local Velmora data under ~/.local/share/velmora.");
    EXPECT_EQ(trust.dataDir, "~/.local/share/velmora");
    EXPECT_EQ(trust.configPath, "~/.config/velmora/config.json");
    EXPECT_EQ(trust.artifactsDir, "~/.local/share/velmora/artifacts");
    EXPECT_EQ(trust.logsDir, "~/.local/share/velmora/logs");
    EXPECT_EQ(trust.doesNotDo,
              (std::vector<std::string>{"No telemetry.", "No analytics.", "No cloud sync.",
                                        "No background uploads."}));
    EXPECT_EQ(trust.filesReadLastPass,
              std::vector<std::string>{"No process file paths in the latest snapshot."});
    EXPECT_EQ(trust.recentNetworkCalls.size(), 1u);
}

TEST(SnapshotDefaults, SettingsFallbackIsBalancedWithCaptureOn) {
    const auto fallback = SettingsSnapshot::fallback();
    EXPECT_EQ(fallback.samplingLine,
              "Enumerates every 1s; active suspects every 2s; background targets every 10s.");
    EXPECT_EQ(fallback.storageModeLabel, "Balanced storage");
    EXPECT_EQ(fallback.storageBudgetLine,
              "512.0 MB total \u00b7 384.0 MB artifacts \u00b7 48.0 MB exports");
    EXPECT_EQ(fallback.retentionLines.back(), "Prune: on launch and every 1h");
    EXPECT_EQ(fallback.safetyLine,
              "Auto-manage is off; restart, recover, and force quit stay user-triggered.");
    EXPECT_EQ(fallback.workspaceScopeLine,
              "Workspace attribution uses process paths, parent trees, and command-line hints.");
    EXPECT_EQ(fallback.evidenceCaptureLine,
              evidenceCaptureLine(SettingsStorageMode::balanced, true));
    EXPECT_EQ(decode<SettingsSnapshot>(Json::object()).value(), fallback);
}

TEST(SnapshotDefaults, EachModesBudgetAndRetentionTextsAreWrittenFromItsFigures) {
    EXPECT_EQ(storageModeProfile(SettingsStorageMode::balanced).budgetLine,
              "512.0 MB total \u00b7 384.0 MB artifacts \u00b7 48.0 MB exports");
    EXPECT_EQ(retentionLinesOf(SettingsStorageMode::balanced),
              (std::vector<std::string>{"Artifacts: 14 days unless the local budget prunes earlier",
                                        "History: 30 days for recurring incident memory",
                                        "Logs: 7 days for local troubleshooting",
                                        "Prune: on launch and every 1h"}));
    EXPECT_EQ(retentionLinesOf(SettingsStorageMode::deepInvestigation),
              (std::vector<std::string>{"Artifacts: 30 days unless the local budget prunes earlier",
                                        "History: 90 days for recurring incident memory",
                                        "Logs: 14 days for local troubleshooting",
                                        "Prune: on launch and every 2h"}));
}

TEST(SnapshotDefaults, PerModeSettingsDefaultsFollowTheDecodedModeAndFlag) {
    const auto low = decodeOk(R"({"settings":{"storageMode":"low"}})").settings;
    EXPECT_EQ(low.storageModeLabel, "Low storage");
    EXPECT_EQ(low.storageBudgetLine,
              "128.0 MB total \u00b7 64.0 MB artifacts \u00b7 24.0 MB exports");
    EXPECT_EQ(low.retentionLines,
              (std::vector<std::string>{"Artifacts: 3 days unless the local budget prunes earlier",
                                        "History: 7 days for recurring incident memory",
                                        "Logs: 3 days for local troubleshooting",
                                        "Prune: on launch and every 30m"}));
    EXPECT_TRUE(low.evidenceCaptureEnabled);
    EXPECT_EQ(low.evidenceCaptureLine, kEnabledCap1);

    const auto deep =
        decodeOk(
            R"({"settings":{"evidenceCaptureEnabled":false,"storageMode":"deep_investigation"}})")
            .settings;
    EXPECT_EQ(deep.storageModeLabel, "Deep investigation storage");
    EXPECT_EQ(deep.storageBudgetLine,
              "2.0 GB total \u00b7 1.5 GB artifacts \u00b7 192.0 MB exports");
    EXPECT_EQ(deep.retentionLines.at(2), "Logs: 14 days for local troubleshooting");
    EXPECT_EQ(deep.evidenceCaptureLine, kCaptureOff);
    EXPECT_NE(evidenceCaptureLine(SettingsStorageMode::deepInvestigation, true)
                  .find("capped at 5 per session and 5 per"),
              std::string::npos);

    // Texts the backend sends win over the per-mode defaults.
    const auto sent =
        decodeOk(R"({"settings":{"storageMode":"low","storageModeLabel":"Tiny"}})").settings;
    EXPECT_EQ(sent.storageModeLabel, "Tiny");
    EXPECT_EQ(sent.storageBudgetLine, low.storageBudgetLine);
}

TEST(SnapshotDefaults, UpdatingRewritesThePerModeTextsAndKeepsTheRest) {
    auto custom = SettingsSnapshot::fallback();
    custom.samplingLine = "custom sampling";
    custom.storageModeLabel = "backend label";
    const auto low = custom.updating(SettingsStorageMode::low, std::nullopt);
    EXPECT_EQ(low.storageMode, SettingsStorageMode::low);
    EXPECT_EQ(low.storageModeLabel, "Low storage");
    EXPECT_EQ(low.retentionLines.back(), "Prune: on launch and every 30m");
    EXPECT_TRUE(low.evidenceCaptureEnabled);
    EXPECT_EQ(low.evidenceCaptureLine, kEnabledCap1);
    EXPECT_EQ(low.samplingLine, "custom sampling");
    EXPECT_EQ(low.safetyLine, custom.safetyLine);
    EXPECT_EQ(low.workspaceScopeLine, custom.workspaceScopeLine);

    const auto off = low.updating(std::nullopt, false);
    EXPECT_EQ(off.storageMode, SettingsStorageMode::low);
    EXPECT_EQ(off.evidenceCaptureLine, kCaptureOff);
}

TEST(SnapshotDefaults, MissingVerdictFollowsSeverityConfidenceAndExplanation) {
    const auto rows = decodeOk(R"({"rows":[
        {"key":"a","title":"A","severity":"suspect","confidencePillLabel":"PROBABLE leak"},
        {"key":"b","title":"B","severity":"suspect","confidencePillLabel":"medium"},
        {"key":"c","title":"C"},
        {"key":"d","title":"D","severity":"suspect","explanation":"Probable growth"},
        {"key":"e","title":"E","severity":"critical"},
        {"key":"f","title":"F","severity":"allClear"},
        {"key":"g","title":"G","severity":"suspect","verdict":null,"confidencePillLabel":"probable"},
        {"key":"h","title":"H","severity":"critical","verdict":"watch"}]})")
                          .rows;
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0].verdict, FindingVerdict::probable);
    EXPECT_EQ(rows[0].rate, "N/A");
    EXPECT_EQ(rows[0].explanation, "");
    EXPECT_TRUE(rows[0].orderedActions.empty() && rows[0].sparklineSamples.empty());
    EXPECT_EQ(rows[1].verdict, FindingVerdict::suspect);
    EXPECT_EQ(rows[2].severity, FindingSeverity::watch);
    EXPECT_EQ(rows[2].verdict, FindingVerdict::watch);
    EXPECT_EQ(rows[2].confidencePillLabel, "unknown");
    EXPECT_EQ(rows[3].verdict, FindingVerdict::probable);
    EXPECT_EQ(rows[4].verdict, FindingVerdict::criticalRunaway);
    EXPECT_EQ(rows[5].verdict, FindingVerdict::normal);
    EXPECT_EQ(rows[6].verdict, FindingVerdict::probable);
    EXPECT_EQ(rows[7].verdict, FindingVerdict::watch);
    // The confidence and explanation are joined with a space, so a word split across them is
    // not found.
    EXPECT_EQ(fallbackVerdict(FindingSeverity::suspect, "prob", "able"), FindingVerdict::suspect);
    EXPECT_EQ(fallbackVerdict(FindingSeverity::suspect, "", "IMPROBABLE"),
              FindingVerdict::probable);
}

TEST(SnapshotDefaults, PresentNestedRecordsApplyTheirOwnRules) {
    auto noHeadline = decodeText<PopoverSnapshot>(R"({"relief":{"urgency":"actNow","summary":"s",
        "pressureLabel":"p","targetFreeLabel":"t","projectedReclaimLabel":"r","recommendedCount":1,"candidates":[]}})");
    ASSERT_FALSE(noHeadline.ok());
    EXPECT_EQ(noHeadline.error().text(), "relief.headline: missing required key");

    auto partialState = decodeText<PopoverSnapshot>(R"({"systemState":{"pressureLabel":"p"}})");
    ASSERT_FALSE(partialState.ok());
    EXPECT_EQ(partialState.error().text(), "systemState.headroomLabel: missing required key");

    auto noReasons = decodeText<PopoverSnapshot>(R"({"selectedDetail":{"whyBlock":{}}})");
    ASSERT_FALSE(noReasons.ok());
    EXPECT_EQ(noReasons.error().text(), "selectedDetail.whyBlock.reasons: missing required key");
}

TEST(SnapshotDefaults, IncidentObjectWithoutWhyLinesHasNone) {
    const auto incident =
        decodeOk(R"({"incident":{"stage":"strongSignal","metricLine":"4 GB"}})").incident;
    EXPECT_EQ(incident.stage, IncidentStage::strongSignal);
    EXPECT_EQ(incident.stageLabel, "Normal");
    EXPECT_EQ(incident.headline, "No active memory incident");
    EXPECT_EQ(incident.confidenceLabel, "Local passive monitor");
    EXPECT_TRUE(incident.whyLines.empty());
    EXPECT_FALSE(incident.key || incident.decisionLine || incident.nextAction);
    // The default metric carries the record's own metric line.
    EXPECT_EQ(incident.primaryMetrics, (std::vector<DiagnosticMetric>{{"Metrics", "4 GB"}}));
    EXPECT_EQ(
        decode<IncidentSnapshot>(Json::parse(R"({"stage":"strongSignal"})")).value().primaryMetrics,
        (std::vector<DiagnosticMetric>{{"Metrics", "Memory totals unavailable"}}));
}

TEST(SnapshotDefaults, EmptyDetailHasThePlaceholderBlocks) {
    const auto detail = decodeOk(R"({"selectedDetail":{}})").selectedDetail;
    ASSERT_TRUE(detail);
    EXPECT_EQ(*detail, DetailSnapshot{});
    EXPECT_EQ(detail->title, "Detail");
    EXPECT_EQ(detail->verdictBlock.verdictLabel, "Unknown");
    EXPECT_EQ(detail->verdictBlock.confidenceLabel, "Unavailable");
    EXPECT_EQ(detail->verdictBlock.explanation, "No verdict details available.");
    EXPECT_FALSE(detail->artifactBoundary);
    const auto act =
        decodeOk(R"({"selectedDetail":{"actBlock":{"actions":[]}}})").selectedDetail->actBlock;
    EXPECT_FALSE(act.requiresDestructiveConfirmation);
}

TEST(SnapshotDefaults, AdvancedHistoryKeysAreRequired) {
    auto empty = decodeText<AdvancedHistorySnapshot>(
        R"({"generatedAtMs":0,"offenders":[],"selectedDetail":null})");
    ASSERT_TRUE(empty.ok());
    EXPECT_TRUE(empty.value().offenders.empty());
    EXPECT_FALSE(empty.value().selectedDetail);

    const std::string offender =
        R"({"key":"k","title":"t","liveNow":true,"lastSeenMs":-5,"lastSeenText":"now",
        "incidentCount7d":1,"incidentCount30d":2,"criticalIncidentCount30d":0,"riskLabel":"r",
        "typicalityLabel":"y","evidenceTags":[],"interpretation":"i")";
    auto noPeak = decodeText<AdvancedHistorySnapshot>(R"({"generatedAtMs":1,"offenders":[)" +
                                                      offender + "}]}");
    ASSERT_FALSE(noPeak.ok());
    EXPECT_EQ(noPeak.error().text(), "offenders[0].peakScore30d: missing required key");
    auto negative = decodeText<AdvancedHistorySnapshot>(R"({"generatedAtMs":1,"offenders":[)" +
                                                        offender + R"(,"peakScore30d":-1}]})");
    ASSERT_FALSE(negative.ok());
    EXPECT_EQ(negative.error().text(), "offenders[0].peakScore30d: -1 does not fit uint32");
    auto noValue =
        decodeText<AdvancedHistorySnapshot>(R"({"generatedAtMs":1,"offenders":[],"selectedDetail":
        {"key":"k","title":"t","riskLabel":"r","typicalityLabel":"y","lastSeenText":"l","evidenceTags":[],
         "interpretation":"i","metrics":[{"label":"a"}],"insightLines":[]}})");
    ASSERT_FALSE(noValue.ok());
    EXPECT_EQ(noValue.error().text(), "selectedDetail.metrics[0].value: missing required key");
    EXPECT_EQ(decodeText<AdvancedHistorySnapshot>("{}").error().text(),
              "generatedAtMs: missing required key");
}
