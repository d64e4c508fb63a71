// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo/ScenarioLibrary.h"

#include "demo/ScenarioParts.h"

namespace velmora::ScenarioLibrary {

namespace parts {

ActionDescriptor action(ActionId id, const char* label, ActionStyle style,
                        const std::string& targetKey) {
    return makeAction(id, label, style, targetKey);
}

ActionDescriptor quitAction(const char* name, const std::string& targetKey, ActionStyle style) {
    ActionDescriptor quit =
        makeAction(ActionId::recover, std::string("Quit ") + name, style, targetKey);
    quit.labelCode = ActionLabelCodes{ActionLabel::quitApp, {.name = name}};
    return quit;
}

PopoverSnapshot baseSnapshot(const char* scopeLabel, const char* storageText,
                             const char* pruneText) {
    PopoverSnapshot snapshot;
    snapshot.refreshIntervalMs = 1000;
    snapshot.systemState = SystemStateSnapshot{
        "Normal pressure", "8.0 GB available of 32.0 GB", scopeLabel, 0.75, {} /* texts alone */};
    snapshot.footerTelemetry = FooterTelemetrySnapshot{storageText, pruneText, {}};
    snapshot.bootstrapScan = BootstrapScanSnapshot{false, false, 8};
    snapshot.trustAccess = TrustAccessSnapshot{};
    return snapshot;
}

FindingSnapshot chromeRow() {
    FindingSnapshot row;
    row.key = chromeKey;
    row.title = "Chrome";
    row.rate = "+8.2 MB/min";
    row.sparklineSamples = {3120, 3180, 3260, 3310, 3390, 3470, 3530, 3620,
                            3700, 3790, 3860, 3940, 4010, 4060, 4120};
    row.confidencePillLabel = "high confidence";
    row.explanation = "Probable leak. 15m monotonic growth stayed elevated while idle.";
    row.orderedActions = {
        action(ActionId::selectDetail, "Inspect", ActionStyle::secondary, chromeKey),
        action(ActionId::restart, "Restart Chrome", ActionStyle::warning, chromeKey),
        action(ActionId::ignore, "Ignore for 24h", ActionStyle::secondary, chromeKey)};
    row.verdict = FindingVerdict::probable;
    row.severity = FindingSeverity::suspect;
    row.exhaustionEstimate = "Headroom lasts about 16h at this rate";
    row.curvatureLabel = "Steady linear climb";
    return row;
}

FindingSnapshot adapterRow() {
    FindingSnapshot row;
    row.key = adapterKey;
    row.title = "adapter-os";
    row.rate = "+4.1 MB/min";
    row.sparklineSamples = {910, 915, 930, 928, 944, 951, 963, 970, 968, 984, 992, 1001};
    row.confidencePillLabel = "baseline anomaly";
    row.explanation = "Leak suspect. Footprint stays above healthy baseline.";
    row.orderedActions = {
        action(ActionId::selectDetail, "Inspect", ActionStyle::secondary, adapterKey),
        action(ActionId::recover, "Recover adapter-os", ActionStyle::primary, adapterKey),
        action(ActionId::ignore, "Ignore for 24h", ActionStyle::secondary, adapterKey)};
    row.verdict = FindingVerdict::suspect;
    row.severity = FindingSeverity::suspect;
    row.curvatureLabel = "Plateau above baseline";
    return row;
}

FindingSnapshot cargoRow() {
    FindingSnapshot row;
    row.key = cargoKey;
    row.title = "cargo run";
    row.rate = "+7.8 MB/min";
    row.sparklineSamples = {220, 260, 310, 120, 180, 240, 300, 350, 410, 470, 520};
    row.confidencePillLabel = "wrapped evidence";
    row.explanation = "Live capture active. Wrapped target keeps climbing after restart.";
    row.orderedActions = {
        action(ActionId::selectDetail, "Inspect", ActionStyle::secondary, cargoKey),
        quitAction("cargo run", cargoKey, ActionStyle::primary),
        action(ActionId::requestForceQuit, "Force Quit", ActionStyle::destructive, cargoKey)};
    row.verdict = FindingVerdict::suspect;
    row.severity = FindingSeverity::suspect;
    row.exhaustionEstimate = "Headroom lasts about 17h at this rate";
    row.curvatureLabel = "Sawtooth: climbs again after each restart";
    return row;
}

std::vector<RecentFindingSnapshot> recentFindings() {
    return {
        RecentFindingSnapshot{"org.gnome.Nautilus",
                              "Files",
                              "Recovered",
                              "Footprint returned to baseline after a graceful recovery.",
                              "1h ago",
                              FindingSeverity::watch,
                              {}},
        RecentFindingSnapshot{"org.mozilla.firefox",
                              "Firefox",
                              "Resolved",
                              "Growth stopped once the media tab closed.",
                              "Yesterday",
                              FindingSeverity::suspect,
                              {}},
        RecentFindingSnapshot{"com.docker.backend",
                              "Docker backend",
                              "Critical, restarted",
                              "Runaway build cache; restarted by you.",
                              "3d ago",
                              FindingSeverity::critical,
                              {}},
    };
}

} // namespace parts

using namespace parts;

const IncidentSnapshot& allClearIncident() {
    static const IncidentSnapshot incident = [] {
        IncidentSnapshot value = IncidentSnapshot::fallback();
        value.cardCodes.reset(); // the scenarios reword it and send their texts alone
        value.stage = IncidentStage::normal;
        value.headline = "No active memory incident";
        value.suspectTitle = "All clear";
        value.attributionLine = "8 same-user processes watched";
        value.confidenceLabel = "Local passive monitor";
        value.evidenceLabel = "No stronger evidence needed right now";
        return value;
    }();
    return incident;
}

const IncidentSnapshot& chromeStrongSignalIncident() {
    static const IncidentSnapshot incident = [] {
        IncidentSnapshot value;
        value.key = chromeKey;
        value.stage = IncidentStage::strongSignal;
        value.stageLabel = "Strong signal";
        value.headline = "Chrome is the lead memory suspect";
        value.suspectTitle = "Chrome";
        value.attributionLine = "14 Chrome processes · renderer helpers grow fastest";
        value.decisionLine = "Decision: probable leak in Chrome; prove it before acting.";
        value.impactLine = "At this rate free memory runs low in about 16 hours.";
        value.causeLine = "Cause: renderer helpers keep growing while their tabs sit idle.";
        value.responsibilityLine = "Likely owner: Google Chrome (browser family)";
        value.confidenceLabel = "high confidence · score 76";
        value.evidenceLabel = "Passive suspicion only";
        value.confidenceSteps = {
            {"Trend", "15m monotonic", IncidentConfidenceTone::strong},
            {"Baseline", "2.4x healthy", IncidentConfidenceTone::watch},
            {"History", "recurring", IncidentConfidenceTone::watch},
            {"Evidence", "not captured", IncidentConfidenceTone::neutral},
        };
        value.attributionFacts = {
            {"Family", "Chrome", std::string("14 processes share the bundle"),
             IncidentConfidenceTone::strong},
            {"Fastest", "Renderer helper", std::nullopt, IncidentConfidenceTone::watch},
        };
        value.timeline = {
            {"15m", "Growth started", "Footprint left its healthy band at 3.1 GB.",
             TimelineTone::watch},
            {"8m", "Idle growth", "Still climbing with no user input.", TimelineTone::watch},
            {"Now", "Strong signal", "4.1 GB, +8.2 MB/min.", TimelineTone::neutral},
        };
        value.metricLine = "4.1 GB footprint, +8.2 MB/min over 15m";
        value.primaryMetrics = {
            {"Footprint", "4.1 GB"}, {"Growth", "+8.2 MB/min"}, {"Baseline", "2.4x healthy"}};
        value.changeLine = "Changed: 15m trend +8.2 MB/min; 2.4x healthy baseline; below 4.6 GB "
                           "peak";
        value.memoryLine =
            "History: 2 incidents in 30d; 1 critical; peak score 92; recurring above baseline";
        value.contextLines = {"Chrome has 14 processes; 11 are renderer helpers.",
                              "No workspace owns it; it runs from the user's session."};
        value.whyLines = {"Footprint grew for 15 minutes without a drop.",
                          "Growth continued while the machine was idle.",
                          "The same family led an incident 9 days ago."};
        value.nextAction = action(ActionId::captureStrongerEvidence, "Capture evidence",
                                  ActionStyle::primary, chromeKey);
        value.actionRationale = "Safe next move: capture evidence first; this is a "
                                "user-triggered proof step before remediation.";
        return value;
    }();
    return incident;
}

const PopoverSnapshot& allClear() {
    static const PopoverSnapshot snapshot = [] {
        PopoverSnapshot value =
            baseSnapshot("8 process families · no suspects", "Storage 381 MB", "Last prune 2h ago");
        value.globalTone = SnapshotTone::allClear;
        value.summaryText = "ALL CLEAR";
        value.incident = allClearIncident();
        return value;
    }();
    return snapshot;
}

const PopoverSnapshot& suspect() {
    static const PopoverSnapshot snapshot = [] {
        PopoverSnapshot value =
            baseSnapshot("2 process families · 2 suspects", "Storage 400 MB", "Last prune 45m ago");
        value.globalTone = SnapshotTone::suspect;
        value.summaryText = "2 SUSPECTS DETECTED";
        value.incident = chromeStrongSignalIncident();
        value.rows = {chromeRow(), adapterRow()};
        value.recentFindings = recentFindings();
        return value;
    }();
    return snapshot;
}

const PopoverSnapshot& multiRowSuspect() {
    static const PopoverSnapshot snapshot = [] {
        PopoverSnapshot value =
            baseSnapshot("3 process families · 3 suspects", "Storage 812 MB", "Last prune 30m ago");
        value.globalTone = SnapshotTone::suspect;
        value.summaryText = "3 SUSPECTS DETECTED";
        value.incident = chromeStrongSignalIncident();
        value.rows = {chromeRow(), adapterRow(), cargoRow()};
        value.recentFindings = recentFindings();
        value.relief = ReliefPlanSnapshot{
            ReliefUrgencyTone::advisory,
            "Relief is available if you need memory back",
            "Restarting Chrome alone gives back most of the growth.",
            "Normal pressure",
            "Aim to free 2.0 GB",
            "About 2.6 GB back from 2 recommended",
            2,
            {
                {chromeKey, "Chrome", "4.1 GB", "Restart keeps your tabs.", true,
                 action(ActionId::restart, "Restart", ActionStyle::warning, chromeKey)},
                {cargoKey, "cargo run", "1.3 GB", "Wrapped dev target; safe to quit.", true,
                 quitAction("cargo run", cargoKey, ActionStyle::primary)},
                {adapterKey, "adapter-os", "1.0 GB", "Stays above baseline; recover if needed.",
                 false, action(ActionId::recover, "Recover", ActionStyle::primary, adapterKey)},
            }};
        return value;
    }();
    return snapshot;
}

const PopoverSnapshot& detailOpened() {
    static const PopoverSnapshot snapshot = [] {
        PopoverSnapshot value = suspect();
        value.selectedDetail = detail(chromeKey, FindingSeverity::suspect);
        return value;
    }();
    return snapshot;
}

} // namespace velmora::ScenarioLibrary
