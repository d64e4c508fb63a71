// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo/ScenarioLibrary.h"
#include "demo/ScenarioParts.h"

namespace velmora::ScenarioLibrary {

using namespace parts;

namespace {

FindingSnapshot watchRow(const char* key, const char* title, const char* rate,
                         std::vector<uint16_t> samples, const char* explanation,
                         const char* curvature) {
    FindingSnapshot row;
    row.key = key;
    row.title = title;
    row.rate = rate;
    row.sparklineSamples = std::move(samples);
    row.confidencePillLabel = "low confidence";
    row.explanation = explanation;
    row.orderedActions = {action(ActionId::selectDetail, "Inspect", ActionStyle::secondary, key),
                          action(ActionId::ignore, "Ignore for 24h", ActionStyle::secondary, key)};
    row.verdict = FindingVerdict::watch;
    row.severity = FindingSeverity::watch;
    row.curvatureLabel = curvature;
    return row;
}

// No incident has formed: the incident card stays calm and the other rows are listed.
IncidentSnapshot quietIncident(const char* attribution) {
    IncidentSnapshot incident = allClearIncident();
    incident.headline = "No active memory incident";
    incident.attributionLine = attribution;
    return incident;
}

} // namespace

const PopoverSnapshot& listWatch() {
    static const PopoverSnapshot snapshot = [] {
        PopoverSnapshot value =
            baseSnapshot("8 process families · 3 on watch", "Storage 402 MB", "Last prune 20m ago");
        value.globalTone = SnapshotTone::watch;
        value.summaryText = "3 PROCESSES ON WATCH";
        value.incident = quietIncident("3 processes grow slowly; none has earned a verdict yet");
        value.rows = {
            watchRow("org.gnome.Shell", "gnome-shell", "+1.2 MB/min",
                     {402, 404, 403, 407, 409, 408, 411, 413, 414},
                     "Watching. Slow growth after a display change; no verdict yet.", "Flattening"),
            watchRow("org.freedesktop.Tracker3.Miner.Files", "tracker-miner-fs", "+2.9 MB/min",
                     {180, 184, 190, 199, 211, 226, 244, 265},
                     "Watching. Indexing a new folder; growth should stop when it finishes.",
                     "Accelerating growth"),
            watchRow("org.gnome.evolution.dataserver", "evolution-data-server", "+0.6 MB/min",
                     {96, 97, 99, 99, 101, 102, 103, 104},
                     "Watching. Calendar cache grows a little after every sync.",
                     "Steady linear climb"),
        };
        value.recentFindings = recentFindings();
        return value;
    }();
    return snapshot;
}

const PopoverSnapshot& listSuspects() {
    static const PopoverSnapshot snapshot = [] {
        PopoverSnapshot value = baseSnapshot("4 process families · 1 critical · 2 suspects",
                                             "Storage 1.2 GB", "Last prune 5m ago");
        value.systemState.pressureLabel = "Critical pressure";
        value.systemState.headroomLabel = "1.9 GB available of 32.0 GB";
        value.systemState.usedMemoryFraction = 0.94;
        value.globalTone = SnapshotTone::critical;
        value.summaryText = "1 CRITICAL RUNAWAY · 2 SUSPECTS";
        value.incident = quietIncident("The incident is being rebuilt from the latest samples");
        FindingSnapshot renderer;
        renderer.key = "com.visualstudio.code.helper.renderer";
        renderer.title = "Visual Studio Code Helper (Renderer)";
        renderer.rate = "+21.4 MB/min";
        renderer.sparklineSamples = {1200, 1260, 1350, 1480, 1650, 1870, 2140, 2460};
        renderer.confidencePillLabel = "critical confidence";
        renderer.explanation = "Critical runaway. An extension host keeps allocating while the "
                               "window sits in the background; growth doubled in ten minutes.";
        renderer.orderedActions = {
            action(ActionId::selectDetail, "Inspect", ActionStyle::secondary, renderer.key),
            action(ActionId::restart, "Restart Visual Studio Code", ActionStyle::warning,
                   renderer.key),
            action(ActionId::requestForceQuit, "Force Quit", ActionStyle::destructive,
                   renderer.key)};
        renderer.verdict = FindingVerdict::criticalRunaway;
        renderer.severity = FindingSeverity::critical;
        renderer.curvatureLabel = "Accelerating growth";
        value.rows = {chromeRow(), renderer, cargoRow()};
        value.recentFindings = recentFindings();
        return value;
    }();
    return snapshot;
}

} // namespace velmora::ScenarioLibrary
