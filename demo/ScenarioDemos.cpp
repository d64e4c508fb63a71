// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo/ScenarioLibrary.h"
#include "demo/ScenarioParts.h"

namespace velmora::ScenarioLibrary {

using namespace parts;

namespace {

FindingSnapshot criticalChromeRow() {
    FindingSnapshot row = chromeRow();
    row.rate = "+14.7 MB/min";
    row.sparklineSamples = {4120, 4290, 4470, 4690, 4920, 5180, 5450, 5730, 6010, 6290, 6540, 6800};
    row.confidencePillLabel = "critical confidence";
    row.explanation = "Critical runaway. Growth is accelerating and headroom is closing.";
    row.orderedActions = {
        action(ActionId::selectDetail, "Inspect", ActionStyle::secondary, chromeKey),
        action(ActionId::restart, "Restart Chrome", ActionStyle::warning, chromeKey),
        action(ActionId::requestForceQuit, "Force Quit", ActionStyle::destructive, chromeKey)};
    row.verdict = FindingVerdict::criticalRunaway;
    row.severity = FindingSeverity::critical;
    row.exhaustionEstimate = "Memory runs out in about 1h 20m";
    row.curvatureLabel = "Accelerating growth";
    return row;
}

IncidentSnapshot criticalIncident() {
    IncidentSnapshot value = chromeStrongSignalIncident();
    value.stage = IncidentStage::evidenceCaptured;
    value.stageLabel = "Evidence captured";
    value.headline = "Chrome is a critical runaway";
    value.decisionLine = "Decision: critical runaway; relieve memory now.";
    value.impactLine = "Free memory runs out in about 1h 20m at this rate.";
    value.confidenceLabel = "critical confidence · score 91";
    value.evidenceLabel = "External tool evidence captured";
    value.confidenceSteps = {
        {"Trend", "accelerating", IncidentConfidenceTone::strong},
        {"Baseline", "4.1x healthy", IncidentConfidenceTone::strong},
        {"Evidence", "captured 4m ago", IncidentConfidenceTone::evidence},
    };
    value.timeline.push_back(
        {"4m", "Evidence captured", "external tool evidence · 4.1 MB", TimelineTone::evidence});
    value.metricLine = "6.8 GB footprint, +14.7 MB/min over 15m";
    value.primaryMetrics = {
        {"Footprint", "6.8 GB"}, {"Growth", "+14.7 MB/min"}, {"Headroom", "1h 20m"}};
    value.changeLine = "Changed: growth doubled in 10m; 4.1x healthy baseline; new 6.8 GB peak";
    value.nextAction = action(ActionId::restart, "Restart Chrome", ActionStyle::warning, chromeKey);
    value.actionRationale = "Next proof step: none needed; evidence is on disk.";
    return value;
}

ReliefPlanSnapshot criticalRelief() {
    return ReliefPlanSnapshot{
        ReliefUrgencyTone::critical,
        "Free memory now",
        "Chrome is consuming the last headroom; restart it or shut it down.",
        "Critical pressure",
        "Free 4.0 GB",
        "About 7.8 GB back from 2 recommended",
        2,
        {
            {chromeKey, "Chrome", "6.8 GB", "Restart keeps your tabs.", true,
             action(ActionId::restart, "Restart", ActionStyle::warning, chromeKey)},
            {adapterKey, "adapter-os", "1.0 GB", "Recover releases its caches.", true,
             action(ActionId::recover, "Recover", ActionStyle::primary, adapterKey)},
            {cargoKey, "cargo run", "1.3 GB", "Shut down only if you do not need it.", false,
             action(ActionId::requestForceQuit, "Force Quit", ActionStyle::destructive, cargoKey)},
        }};
}

} // namespace

std::string forceQuitConfirmationMessage(const std::string& targetKey) {
    return "Force quit stays explicit. Velmora will force quit " + targetKey +
           " only after you confirm; unsaved work in it will be lost.";
}

DestructiveConfirmationSnapshot forceQuitConfirmation(const std::string& targetKey) {
    return DestructiveConfirmationSnapshot{
        "Confirm destructive action", forceQuitConfirmationMessage(targetKey),
        action(ActionId::confirmForceQuit, "Confirm", ActionStyle::destructive, targetKey),
        action(ActionId::cancelForceQuit, "Cancel", ActionStyle::secondary, targetKey)};
}

const PopoverSnapshot& criticalRunaway() {
    static const PopoverSnapshot snapshot = [] {
        PopoverSnapshot value = baseSnapshot("3 process families · 1 critical · 2 suspects",
                                             "Storage 846 MB", "Last prune 30m ago");
        value.systemState.pressureLabel = "Critical pressure";
        value.systemState.headroomLabel = "1.2 GB available of 32.0 GB";
        value.systemState.usedMemoryFraction = 0.96;
        value.globalTone = SnapshotTone::critical;
        value.summaryText = "1 CRITICAL RUNAWAY";
        value.incident = criticalIncident();
        value.rows = {criticalChromeRow(), adapterRow(), cargoRow()};
        value.recentFindings = recentFindings();
        value.relief = criticalRelief();
        return value;
    }();
    return snapshot;
}

const PopoverSnapshot& watchOnly() {
    static const PopoverSnapshot snapshot = [] {
        PopoverSnapshot value =
            baseSnapshot("8 process families · 1 on watch", "Storage 388 MB", "Last prune 1h ago");
        value.globalTone = SnapshotTone::watch;
        value.summaryText = "1 PROCESS ON WATCH";
        FindingSnapshot row;
        row.key = "org.gnome.Shell";
        row.title = "gnome-shell";
        row.rate = "+1.2 MB/min";
        row.sparklineSamples = {402, 404, 403, 407, 409, 408, 411, 413, 414};
        row.confidencePillLabel = "low confidence";
        row.explanation = "Watching. Slow growth after a display change; no verdict yet.";
        row.orderedActions = {
            action(ActionId::selectDetail, "Inspect", ActionStyle::secondary, row.key),
            action(ActionId::ignore, "Ignore for 24h", ActionStyle::secondary, row.key)};
        row.verdict = FindingVerdict::watch;
        row.severity = FindingSeverity::watch;
        row.curvatureLabel = "Flattening";
        value.rows = {row};
        value.recentFindings = recentFindings();
        IncidentSnapshot incident = allClearIncident();
        incident.key = row.key;
        incident.stage = IncidentStage::watch;
        incident.stageLabel = "Watch";
        incident.headline = "gnome-shell is on watch";
        incident.suspectTitle = "gnome-shell";
        incident.attributionLine = "1 process · growth began after a display change";
        incident.confidenceLabel = "low confidence · score 34";
        incident.evidenceLabel = "No stronger evidence needed right now";
        incident.outcomeLine = "Last action: none; Velmora keeps watching passively.";
        value.incident = incident;
        return value;
    }();
    return snapshot;
}

const PopoverSnapshot& pendingConfirmation() {
    static const PopoverSnapshot snapshot = [] {
        PopoverSnapshot value = detailOpened();
        value.destructiveConfirmation = forceQuitConfirmation(chromeKey);
        return value;
    }();
    return snapshot;
}

const PopoverSnapshot& actionFeedback() {
    static const PopoverSnapshot snapshot = [] {
        PopoverSnapshot value = suspect();
        value.actionFeedback = ActionFeedbackSnapshot{
            "7f3c2a9e-4b1d-4c8e-9a6f-2d5e8b1c0a47", ActionFeedbackKind::success,
            "Restart completed", std::string("Velmora quit and relaunched ") + chromeKey + "."};
        value.incident.stage = IncidentStage::actionTaken;
        value.incident.stageLabel = "Action taken";
        value.incident.nextAction.reset();
        value.incident.actionRationale.reset();
        value.incident.outcomeLine = "Last action: restart; footprint fell from 4.1 GB to 1.8 GB.";
        return value;
    }();
    return snapshot;
}

const PopoverSnapshot& firstScan() {
    static const PopoverSnapshot snapshot = [] {
        PopoverSnapshot value = baseSnapshot("Scanning same-user processes", "Storage 12 MB",
                                             "Prune scheduled after the first scan");
        value.summaryText = "SCANNING";
        value.bootstrapScan = BootstrapScanSnapshot{true, true, 142};
        value.incident = allClearIncident();
        value.incident.attributionLine = "Waiting for the next local sampling pass";
        return value;
    }();
    return snapshot;
}

const std::vector<NamedScenario>& allScenarios() {
    static const std::vector<NamedScenario> scenarios{
        {"allClear", allClear()},
        {"suspect", suspect()},
        {"multiRowSuspect", multiRowSuspect()},
        {"detailOpened", detailOpened()},
        {"criticalRunaway", criticalRunaway()},
        {"watchOnly", watchOnly()},
        {"pendingConfirmation", pendingConfirmation()},
        {"actionFeedback", actionFeedback()},
        {"firstScan", firstScan()},
        {"listWatch", listWatch()},
        {"listSuspects", listSuspects()},
        {"memoryForecast", memoryForecast()},
        {"whereTracking", whereTracking()},
        {"whereItGrows", whereItGrows()},
        {"whereRefused", whereRefused()},
        {"detailRunaway", detailRunaway()},
        {"detailWarmUp", detailWarmUp()},
        {"detailGrowingMember", detailGrowingMember()},
    };
    return scenarios;
}

} // namespace velmora::ScenarioLibrary
