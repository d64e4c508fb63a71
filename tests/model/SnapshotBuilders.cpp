// SPDX-License-Identifier: GPL-3.0-or-later
#include "SnapshotBuilders.h"

namespace velmora::scenarios {

ActionDescriptor action(std::string id, std::string label, ActionStyle style, std::string target) {
    return {std::move(id), std::move(label), style, std::move(target)};
}

FindingSnapshot suspectRow(const std::string& key, std::size_t samples) {
    FindingSnapshot row;
    row.key = key;
    row.title = "Helper \u00ab" + key + "\u00bb";
    row.rate = "+48 MB/min";
    for (std::size_t i = 0; i < samples; ++i) {
        row.sparklineSamples.push_back(static_cast<uint16_t>((i * 977 + key.size() * 131) % 65536));
    }
    row.confidencePillLabel = "Probable leak";
    row.explanation = "Resident memory rose for 40 minutes without release after idle periods.";
    row.orderedActions = {action("select_detail", "Inspect", ActionStyle::secondary, key),
                          action("restart", "Restart helper", ActionStyle::warning, key),
                          action("recover", "Quit Helper", ActionStyle::destructive, key)};
    row.verdict = FindingVerdict::probable;
    row.severity = FindingSeverity::suspect;
    row.exhaustionEstimate = "Memory exhausted in ~35 min";
    row.curvatureLabel = "Linear growth";
    return row;
}

namespace {

IncidentSnapshot fullIncident() {
    IncidentSnapshot incident;
    incident.key = "code-helper";
    incident.stage = IncidentStage::evidenceCaptured;
    incident.stageLabel = "Evidence captured";
    incident.headline = "Code Helper is growing without release";
    incident.suspectTitle = "Code Helper (Renderer)";
    incident.attributionLine = "Workspace ~/src/velmora \u2014 launched by code";
    incident.decisionLine = "Decision: restart the renderer";
    incident.impactLine = "Swap is 3.2 GB and rising";
    incident.responseLine = "Heap snapshot captured";
    incident.causeLine = "Cause: an extension keeps detached DOM trees";
    incident.responsibilityLine = "Likely owner: an editor extension";
    incident.confidenceLabel = "High confidence";
    incident.evidenceLabel = "Heap profile ready";
    incident.confidenceSteps = {{"Trend", "40 min up", IncidentConfidenceTone::watch},
                                {"Shape", "linear", IncidentConfidenceTone::strong},
                                {"Proof", "heap diff", IncidentConfidenceTone::evidence}};
    incident.attributionFacts = {
        {"Path", "/usr/share/code/code", std::nullopt, IncidentConfidenceTone::neutral},
        {"Parent", "code", "pid 4121", IncidentConfidenceTone::strong}};
    incident.timeline = {{"12:01", "Growth detected", "+600 MB in 10 min", TimelineTone::watch},
                         {"12:20", "Evidence captured", "heap-1.json", TimelineTone::evidence}};
    incident.metricLine = "7.9 GB of 16 GB in use";
    incident.primaryMetrics = {{"RSS", "2.4 GB"}, {"Growth", "+48 MB/min"}, {"Swap", "3.2 GB"}};
    incident.changeLine = "Changed: +1.1 GB since 12:01";
    incident.memoryLine = "History: third incident this week";
    incident.contextLines = {"Idle for 25 min", "12 windows open"};
    incident.whyLines = {"Growth continued while idle.", "No release after garbage collection."};
    incident.nextAction =
        action("restart", "Restart renderer", ActionStyle::warning, "code-helper");
    incident.actionRationale = "Safe next move: restarting keeps your files open";
    incident.outcomeLine = "Last action: none yet";
    return incident;
}

DetailSnapshot detailWithArtifact() {
    DetailSnapshot detail;
    detail.key = "code-helper";
    detail.title = "Code Helper (Renderer)";
    detail.verdictBlock = {"Probable leak", "High", "Linear growth for 40 minutes."};
    detail.whyBlock = {{"Growth while idle", "No release after GC"}};
    detail.actBlock = {
        {action("restart", "Restart", ActionStyle::warning, "code-helper"),
         action("request_force_quit", "Force Quit", ActionStyle::destructive, "code-helper")},
        {{"kill -USR1 4121", "Ask the renderer for a heap dump.",
          action("copy_command", "Copy", ActionStyle::secondary, "code-helper")}},
        true};
    detail.timeline = {{"12:01", "Growth detected", "+600 MB", TimelineTone::watch}};
    detail.diagnosticsBlock = {
        {"pid 4121", "/usr/share/code/code"}, {"heap-1.json"}, {{"RSS", "2.4 GB"}}};
    detail.artifactBoundary = ArtifactBoundaryBlock{
        "Heap profile",
        "Kept locally for 14 days.",
        "Captured at high pressure",
        {"18.2 MB", "12:20"},
        {action("reveal_artifact", "Show in Folder", ActionStyle::secondary, "heap-1")}};
    return detail;
}

ReliefPlanSnapshot reliefPlan() {
    ReliefPlanSnapshot plan;
    plan.urgency = ReliefUrgencyTone::actNow;
    plan.headline = "Free 2 GB now";
    plan.summary = "Two candidates give back most of the memory.";
    plan.pressureLabel = "Pressure high";
    plan.targetFreeLabel = "Target 2.0 GB";
    plan.projectedReclaimLabel = "~2.6 GB";
    plan.recommendedCount = 1;
    plan.candidates = {{"code-helper", "Code Helper", "2.4 GB", "Renderer", true,
                        action("restart", "Restart", ActionStyle::warning, "code-helper")},
                       {"slack", "Slack", "900 MB", "Idle", false,
                        action("recover", "Quit Slack", ActionStyle::destructive, "slack")}};
    return plan;
}

PopoverSnapshot baseSuspect() {
    PopoverSnapshot snapshot;
    snapshot.globalTone = SnapshotTone::suspect;
    snapshot.summaryText = "1 SUSPECT";
    snapshot.refreshIntervalMs = 2000;
    snapshot.systemState = {"Pressure high", "1.2 GB free", "214 processes", 0.875, {}};
    snapshot.footerTelemetry = {"Storage 48 MB", "Pruned 2h ago", {}};
    snapshot.bootstrapScan = {true, true, 214};
    snapshot.settings =
        SettingsSnapshot::fallback().updating(SettingsStorageMode::deepInvestigation, false);
    snapshot.rows = {suspectRow("code-helper", 60), suspectRow("slack", 12)};
    snapshot.rows[1].exhaustionEstimate.reset();
    snapshot.rows[1].severity = FindingSeverity::critical;
    snapshot.rows[1].verdict = FindingVerdict::criticalRunaway;
    snapshot.trustAccess.filesReadLastPass = {"/proc/4121/status", "/proc/4121/smaps_rollup"};
    return snapshot;
}

} // namespace

PopoverSnapshot fullIncidentSnapshot() {
    auto snapshot = baseSuspect();
    snapshot.incident = fullIncident();
    return snapshot;
}

PopoverSnapshot detailWithArtifactSnapshot() {
    auto snapshot = fullIncidentSnapshot();
    snapshot.selectedDetail = detailWithArtifact();
    return snapshot;
}

PopoverSnapshot reliefSnapshot() {
    auto snapshot = baseSuspect();
    snapshot.globalTone = SnapshotTone::critical;
    snapshot.relief = reliefPlan();
    return snapshot;
}

PopoverSnapshot recentFindingsSnapshot() {
    PopoverSnapshot snapshot;
    snapshot.recentFindings = {
        {"slack", "Slack", "Recovered", "Released 900 MB", "5 min ago", FindingSeverity::watch, {}},
        {"docker", "dockerd", "Ignored", "Stable since", "1 h ago", FindingSeverity::allClear, {}}};
    return snapshot;
}

PopoverSnapshot confirmationSnapshot() {
    auto snapshot = baseSuspect();
    snapshot.destructiveConfirmation = DestructiveConfirmationSnapshot{
        "Force quit Code Helper?", "Unsaved work in this renderer is lost.",
        action("confirm_force_quit", "Force Quit", ActionStyle::destructive, "code-helper"),
        action("cancel_force_quit", "Cancel", ActionStyle::secondary, "code-helper")};
    return snapshot;
}

PopoverSnapshot feedbackSnapshot() {
    auto snapshot = baseSuspect();
    snapshot.actionFeedback =
        ActionFeedbackSnapshot{"fb-17", ActionFeedbackKind::warning, "Restart requested",
                               "Code Helper restarts when its window is idle."};
    return snapshot;
}

AdvancedHistorySnapshot historyWithSelectedDetail() {
    AdvancedHistorySnapshot history;
    history.generatedAtMs = 1765000000000;
    history.offenders = {
        {"code-helper",
         "Code Helper",
         true,
         1764990000000,
         "5 min ago",
         3,
         9,
         2,
         4294967295u,
         "High risk",
         "Unusual",
         {"heap", "swap"},
         "Grows after long sessions."},
        {"slack", "Slack", false, -12, "2 days ago", 0, 1, 0, 40, "Low", "Typical", {}, "Rare."}};
    history.selectedDetail =
        HistoricalOffenderDetailSnapshot{"code-helper",
                                         "Code Helper",
                                         "High risk",
                                         "Unusual",
                                         "5 min ago",
                                         {"heap"},
                                         "Grows after long sessions.",
                                         {{"Incidents (30d)", "9"}, {"Peak score", "87"}},
                                         {"Often after 4 h of uptime."},
                                         std::nullopt};
    return history;
}

PopoverSnapshot largeSnapshot(std::size_t rows, std::size_t samples) {
    auto snapshot = detailWithArtifactSnapshot();
    snapshot.relief = reliefPlan();
    for (int i = 0; i < 10; ++i) {
        for (auto finding : recentFindingsSnapshot().recentFindings) {
            finding.key.append("-").append(std::to_string(i));
            snapshot.recentFindings.push_back(std::move(finding));
        }
    }
    snapshot.actionFeedback = feedbackSnapshot().actionFeedback;
    snapshot.rows.clear();
    for (std::size_t i = 0; i < rows; ++i) {
        auto row = suspectRow("process-family-" + std::to_string(i), samples);
        row.explanation +=
            " It kept 14 worker threads busy and its private dirty pages grew in "
            "every sample, while the shared and file-backed pages stayed flat. The same family "
            "leaked twice this week and was restarted by hand both times; its footprint "
            "returned to 300 MB after each restart.";
        row.curvatureLabel =
            "Linear growth of about 48 MB per minute over the last 40 minutes, with no "
            "plateau after idle periods and no release after garbage collection";
        row.orderedActions.push_back(
            action("ignore", "Ignore for this session", ActionStyle::secondary, row.key));
        row.orderedActions.push_back(
            action("capture_evidence", "Capture a heap profile", ActionStyle::primary, row.key));
        snapshot.rows.push_back(std::move(row));
    }
    for (int i = 0; i < 20; ++i) {
        snapshot.incident.timeline.push_back(
            {"12:" + std::to_string(10 + i), "Sample " + std::to_string(i),
             "Resident memory +48 MB since the previous sample", TimelineTone::watch});
    }
    return snapshot;
}

std::vector<NamedSnapshot> allPopoverScenarios() {
    return {{"placeholder", PopoverSnapshot{}},
            {"fullIncident", fullIncidentSnapshot()},
            {"detailWithArtifact", detailWithArtifactSnapshot()},
            {"relief", reliefSnapshot()},
            {"recentFindings", recentFindingsSnapshot()},
            {"confirmation", confirmationSnapshot()},
            {"feedback", feedbackSnapshot()},
            {"large", largeSnapshot(50, 60)}};
}

} // namespace velmora::scenarios
