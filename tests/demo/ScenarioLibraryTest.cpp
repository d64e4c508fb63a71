// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo/ScenarioLibrary.h"

#include "model/Codec.h"

#include <gtest/gtest.h>
#include <set>

namespace velmora {
namespace {

namespace S = ScenarioLibrary;

std::vector<std::string> rowKeys(const PopoverSnapshot& snapshot) {
    std::vector<std::string> keys;
    for (const auto& row : snapshot.rows) {
        keys.push_back(row.key);
    }
    return keys;
}

TEST(ScenarioLibrary, EverySnapshotSharesTheFixedMachineState) {
    for (const auto& [name, snapshot] : S::allScenarios()) {
        EXPECT_EQ(snapshot.refreshIntervalMs, 1000u) << name;
        EXPECT_EQ(snapshot.trustAccess, TrustAccessSnapshot{}) << name;
    }
    for (const auto* snapshot :
         {&S::allClear(), &S::suspect(), &S::multiRowSuspect(), &S::detailOpened()}) {
        EXPECT_EQ(snapshot->systemState.usedMemoryFraction, 0.75);
        EXPECT_EQ(snapshot->systemState.headroomLabel, "8.0 GB available of 32.0 GB");
        EXPECT_EQ(snapshot->systemState.pressureLabel, "Normal pressure");
    }
}

TEST(ScenarioLibrary, TheListedScenariosCarryTheirFixedValues) {
    const auto& clear = S::allClear();
    EXPECT_EQ(clear.globalTone, SnapshotTone::allClear);
    EXPECT_EQ(clear.summaryText, "ALL CLEAR");
    EXPECT_TRUE(clear.rows.empty());
    EXPECT_EQ(clear.systemState.scopeLabel, "8 process families · no suspects");
    EXPECT_EQ(clear.footerTelemetry,
              (FooterTelemetrySnapshot{"Storage 381 MB", "Last prune 2h ago", {}}));
    EXPECT_EQ(clear.incident, S::allClearIncident());

    const auto& suspect = S::suspect();
    EXPECT_EQ(suspect.globalTone, SnapshotTone::suspect);
    EXPECT_EQ(suspect.summaryText, "2 SUSPECTS DETECTED");
    EXPECT_EQ(rowKeys(suspect),
              (std::vector<std::string>{"com.google.Chrome", "com.apple.adapter-os"}));
    EXPECT_EQ(suspect.rows[0].title, "Chrome");
    EXPECT_EQ(suspect.rows[0].rate, "+8.2 MB/min");
    EXPECT_EQ(suspect.rows[0].confidencePillLabel, "high confidence");
    EXPECT_EQ(suspect.rows[0].explanation,
              "Probable leak. 15m monotonic growth stayed elevated while idle.");
    EXPECT_EQ(suspect.rows[1].title, "adapter-os");
    EXPECT_EQ(suspect.rows[1].rate, "+4.1 MB/min");
    EXPECT_EQ(suspect.rows[1].confidencePillLabel, "baseline anomaly");
    EXPECT_EQ(suspect.rows[1].explanation, "Leak suspect. Footprint stays above healthy baseline.");
    EXPECT_EQ(suspect.systemState.scopeLabel, "2 process families · 2 suspects");
    EXPECT_EQ(suspect.footerTelemetry,
              (FooterTelemetrySnapshot{"Storage 400 MB", "Last prune 45m ago", {}}));
    EXPECT_EQ(suspect.incident, S::chromeStrongSignalIncident());

    const auto& multi = S::multiRowSuspect();
    EXPECT_EQ(multi.summaryText, "3 SUSPECTS DETECTED");
    EXPECT_EQ(rowKeys(multi), (std::vector<std::string>{"com.google.Chrome", "com.apple.adapter-os",
                                                        "dev.cargo.run"}));
    EXPECT_EQ(multi.rows[0], suspect.rows[0]);
    EXPECT_EQ(multi.rows[1], suspect.rows[1]);
    EXPECT_EQ(multi.rows[2].title, "cargo run");
    EXPECT_EQ(multi.rows[2].rate, "+7.8 MB/min");
    EXPECT_EQ(multi.rows[2].confidencePillLabel, "wrapped evidence");
    EXPECT_EQ(multi.rows[2].explanation,
              "Live capture active. Wrapped target keeps climbing after restart.");
    EXPECT_EQ(multi.systemState.scopeLabel, "3 process families · 3 suspects");
    EXPECT_EQ(multi.footerTelemetry,
              (FooterTelemetrySnapshot{"Storage 812 MB", "Last prune 30m ago", {}}));

    const auto& opened = S::detailOpened();
    EXPECT_EQ(opened.summaryText, "2 SUSPECTS DETECTED");
    EXPECT_EQ(rowKeys(opened), rowKeys(suspect));
    EXPECT_EQ(opened.selectedDetail, S::detail("com.google.Chrome", FindingSeverity::suspect));
    EXPECT_EQ(opened.footerTelemetry, suspect.footerTelemetry);
}

TEST(ScenarioLibrary, TheTwoIncidents) {
    const auto& clear = S::allClearIncident();
    EXPECT_EQ(clear.stage, IncidentStage::normal);
    EXPECT_EQ(clear.headline, "No active memory incident");
    EXPECT_EQ(clear.suspectTitle, "All clear");
    EXPECT_EQ(clear.attributionLine, "8 same-user processes watched");
    EXPECT_EQ(clear.confidenceLabel, "Local passive monitor");
    EXPECT_EQ(clear.evidenceLabel, "No stronger evidence needed right now");

    const auto& chrome = S::chromeStrongSignalIncident();
    EXPECT_EQ(chrome.key, "com.google.Chrome");
    EXPECT_EQ(chrome.stage, IncidentStage::strongSignal);
    EXPECT_EQ(chrome.stageLabel, "Strong signal");
    EXPECT_EQ(chrome.headline, "Chrome is the lead memory suspect");
    EXPECT_EQ(chrome.confidenceLabel, "high confidence · score 76");
    EXPECT_EQ(chrome.evidenceLabel, "Passive suspicion only");
    EXPECT_EQ(chrome.metricLine, "4.1 GB footprint, +8.2 MB/min over 15m");
    EXPECT_EQ(chrome.changeLine,
              "Changed: 15m trend +8.2 MB/min; 2.4x healthy baseline; below 4.6 GB peak");
    EXPECT_EQ(chrome.memoryLine,
              "History: 2 incidents in 30d; 1 critical; peak score 92; recurring above baseline");
    ASSERT_TRUE(chrome.nextAction);
    EXPECT_EQ(chrome.nextAction->id, "capture_stronger_evidence");
    EXPECT_EQ(chrome.nextAction->label, "Capture evidence");
    EXPECT_EQ(chrome.actionRationale, "Safe next move: capture evidence first; this is a "
                                      "user-triggered proof step before remediation.");
}

TEST(ScenarioLibrary, DetailPayloadsForBothVariants) {
    const auto chrome = S::detail("com.google.Chrome", FindingSeverity::suspect);
    EXPECT_EQ(chrome.title, "Chrome");
    EXPECT_EQ(chrome.verdictBlock.verdictLabel, "Probable leak");
    EXPECT_EQ(chrome.verdictBlock.explanation, "4.1 GB footprint; +8.2 MB/min over 15m; score 76.");
    const auto critical = S::detail("org.other", FindingSeverity::critical);
    EXPECT_EQ(critical.title, "org.other");
    EXPECT_EQ(critical.verdictBlock.verdictLabel, "Critical runaway");
    EXPECT_EQ(critical.verdictBlock.explanation,
              "6.8 GB footprint; +14.7 MB/min over 15m; score 91.");
    EXPECT_EQ(critical.actBlock.actions,
              (std::vector<ActionDescriptor>{
                  {"recover", "Recover", ActionStyle::primary, "org.other"},
                  {"restart", "Restart", ActionStyle::warning, "org.other"},
                  {"request_force_quit", "Force Quit", ActionStyle::destructive, "org.other"}}));
    ASSERT_EQ(critical.timeline.size(), 3u);
    EXPECT_EQ(critical.timeline[0].label, "Now");
    EXPECT_EQ(critical.timeline[1].label, "2m ago");
    EXPECT_EQ(critical.timeline[1].title, "Outcome recorded");
    EXPECT_EQ(critical.timeline[1].detail,
              "Footprint fell from 4.1 GB to 1.8 GB after Restart app.");
    EXPECT_EQ(critical.timeline[2].label, "4m ago");
    EXPECT_EQ(critical.timeline[2].title, "Evidence captured");
    EXPECT_EQ(critical.timeline[2].detail, "external tool evidence · high confidence · 4.1 MB");
    ASSERT_TRUE(critical.artifactBoundary);
    const auto& artifact = *critical.artifactBoundary;
    EXPECT_EQ(artifact.title, "Artifact preview unavailable");
    EXPECT_EQ(artifact.reason, "Reason: inline renderer unavailable");
    EXPECT_EQ(
        artifact.metaLines,
        (std::vector<std::string>{"artifact type: external tool evidence", "artifact size: 4.1 MB",
                                  "artifact path: /tmp/velmora/artifact"}));
    std::vector<std::pair<std::string, std::string>> actions;
    for (const auto& action : artifact.actions) {
        actions.emplace_back(action.id, action.label);
        EXPECT_EQ(action.targetKey, "org.other");
    }
    EXPECT_EQ(actions, (std::vector<std::pair<std::string, std::string>>{
                           {"open_artifact_external", "Open externally"},
                           {"reveal_artifact", "Show in Folder"},
                           {"copy_artifact_path", "Copy path"},
                           {"export_report", "Export evidence"}}));
}

TEST(ScenarioLibrary, AdvancedHistoryAndItsDetails) {
    const auto& history = S::advancedHistory();
    ASSERT_EQ(history.offenders.size(), 2u);
    EXPECT_FALSE(history.selectedDetail);
    const auto& chrome = history.offenders[0];
    EXPECT_EQ(chrome.key, "com.google.Chrome");
    EXPECT_EQ(chrome.title, "Chrome");
    EXPECT_EQ(chrome.riskLabel, "Historical critical");
    EXPECT_EQ(chrome.typicalityLabel, "Recurring above baseline");
    EXPECT_EQ(chrome.interpretation, "Recurring issue pattern that is active again right now.");
    const auto& windowServer = history.offenders[1];
    EXPECT_EQ(windowServer.key, "com.apple.WindowServer");
    EXPECT_EQ(windowServer.title, "WindowServer");
    EXPECT_EQ(windowServer.riskLabel, "Historical watch");
    EXPECT_EQ(windowServer.typicalityLabel, "Usually healthy");
    EXPECT_EQ(windowServer.interpretation, "Mostly normal. Recent pressure looks atypical.");

    const auto chromeDetail = S::advancedHistoryDetail("com.google.Chrome");
    EXPECT_EQ(chromeDetail.offenders, history.offenders);
    EXPECT_EQ(chromeDetail.generatedAtMs, history.generatedAtMs);
    EXPECT_EQ(chromeDetail.selectedDetail->title, "Chrome");
    EXPECT_EQ(chromeDetail.selectedDetail->typicalityLabel, "Recurring above baseline");
    EXPECT_EQ(chromeDetail.selectedDetail->lastSeenText, "Live now");
    const auto other = S::advancedHistoryDetail("org.any");
    EXPECT_EQ(other.selectedDetail->key, "org.any");
    EXPECT_EQ(other.selectedDetail->title, "WindowServer");
    EXPECT_EQ(other.selectedDetail->typicalityLabel, "Usually healthy");
    EXPECT_EQ(other.selectedDetail->lastSeenText, "6d ago");
}

TEST(ScenarioLibrary, EveryScenarioSurvivesTheWireUnchanged) {
    for (const auto& [name, snapshot] : S::allScenarios()) {
        const auto decoded = decode<PopoverSnapshot>(encode(snapshot));
        ASSERT_TRUE(decoded.ok()) << name << ": " << decoded.error().text();
        EXPECT_EQ(decoded.value(), snapshot) << name;
    }
    const auto history = decode<AdvancedHistorySnapshot>(encode(S::advancedHistoryDetail("k")));
    ASSERT_TRUE(history.ok());
    EXPECT_EQ(history.value(), S::advancedHistoryDetail("k"));
}

TEST(ScenarioLibrary, TogetherTheScenariosReachEverySurface) {
    bool relief = false, criticalRelief = false, feedback = false, confirmation = false,
         artifact = false, bootstrap = false, recent = false, exhaustion = false, curvature = false,
         timeline = false, facts = false;
    std::set<SnapshotTone> tones;
    std::set<FindingSeverity> severities;
    std::set<std::string> displayLabels;
    std::set<IncidentStage> stages;
    for (const auto& [name, snapshot] : S::allScenarios()) {
        tones.insert(snapshot.globalTone);
        stages.insert(snapshot.incident.stage);
        relief |= snapshot.relief.has_value();
        criticalRelief |=
            snapshot.relief && snapshot.relief->urgency == ReliefUrgencyTone::critical;
        feedback |= snapshot.actionFeedback.has_value();
        confirmation |= snapshot.destructiveConfirmation.has_value();
        artifact |= snapshot.selectedDetail && snapshot.selectedDetail->artifactBoundary;
        bootstrap |= snapshot.bootstrapScan.active;
        recent |= !snapshot.recentFindings.empty();
        timeline |= !snapshot.incident.timeline.empty();
        facts |= !snapshot.incident.attributionFacts.empty();
        for (const auto& row : snapshot.rows) {
            severities.insert(row.severity);
            exhaustion |= row.exhaustionEstimate.has_value();
            curvature |= row.curvatureLabel.has_value();
            EXPECT_FALSE(row.sparklineSamples.empty()) << name << " " << row.key;
            for (const auto& action : row.orderedActions) {
                displayLabels.insert(actionDisplayLabel(action));
            }
        }
    }
    EXPECT_EQ(tones.size(), 4u);
    EXPECT_TRUE(severities.count(FindingSeverity::critical) &&
                severities.count(FindingSeverity::watch));
    EXPECT_TRUE(relief && criticalRelief && feedback && confirmation && artifact && bootstrap);
    EXPECT_TRUE(recent && exhaustion && curvature && timeline && facts);
    for (const char* label : {"Inspect", "Restart", "Recover", "Quit", "Ignore", "Shut Down"}) {
        EXPECT_TRUE(displayLabels.count(label)) << label;
    }
    EXPECT_GE(stages.size(), 5u);
    // criticalRunaway after suspect turns Chrome critical: a newly critical row.
    EXPECT_EQ(S::suspect().rows[0].key, S::criticalRunaway().rows[0].key);
    EXPECT_EQ(S::suspect().rows[0].severity, FindingSeverity::suspect);
    EXPECT_EQ(S::criticalRunaway().rows[0].severity, FindingSeverity::critical);
}

TEST(ScenarioLibrary, TheGalleryListNamesEveryScenarioOnce) {
    std::set<std::string_view> names;
    for (const auto& scenario : S::allScenarios()) {
        names.insert(scenario.name);
    }
    EXPECT_EQ(names.size(), S::allScenarios().size());
    EXPECT_EQ(&S::allScenarios().front().snapshot, &S::allClear());
}

} // namespace
} // namespace velmora
