// SPDX-License-Identifier: GPL-3.0-or-later
// A scripted backend for the tray app's soak: it replays a changing day at the pace of the
// app's polling. Families appear on watch, escalate to suspect and critical, then leave and
// show up among the recent findings; rates and sparklines change on every answer; the trust
// list, the footer, the machine state and the incident lines change as they would on a busy
// desktop. Every few minutes a family's detail stays selected for a while and an action
// feedback comes and goes. It answers every request line with one snapshot (a message for
// "getAdvancedHistory" when no history is selected) and ends when its input ends.
//
//   soak_backend ui-backend
#include "demo/ScenarioLibrary.h"
#include "model/Codec.h"

#include <cmath>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

using namespace velmora;

namespace {

constexpr int kFamilyCount = 48;
constexpr int kMaxRows = 12;

const char* const kNames[] = {"Chrome",    "Firefox",     "Slack",       "Code",
                              "cargo run", "node",        "python3",     "Signal",
                              "Spotify",   "Thunderbird", "gnome-shell", "Discord",
                              "Zoom",      "java",        "Evolution",   "Nautilus"};

std::string fixed(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

// Where family `f` stands at answer `tick`: 0 = absent, 1 = watch, 2 = suspect, 3 = critical.
// Each family lives a cycle of its own length, offset from the others.
int stageOf(int f, int64_t tick) {
    const int64_t period = 240 + 37 * f;
    const int64_t phase = (tick + 53 * f) % period;
    if (phase < period / 3) {
        return 0;
    }
    const int64_t lived = phase - period / 3;
    const int64_t span = period - period / 3;
    return 1 + static_cast<int>(3 * lived / span);
}

std::string familyKey(int f, int64_t tick) {
    // Some families come back under a new key (a new workspace, a new instance).
    const int64_t generation = (tick + 53 * f) / (240 + 37 * f);
    return "org.soak.family" + std::to_string(f) + ".g" + std::to_string(generation % 7);
}

std::string familyTitle(int f, int64_t tick) {
    std::string title = kNames[f % std::size(kNames)];
    if (f >= static_cast<int>(std::size(kNames))) {
        title += " (workspace " + std::to_string(f) + "-" + std::to_string((tick / 600) % 5) + ")";
    }
    return title;
}

FindingSnapshot rowFor(int f, int stage, int64_t tick) {
    FindingSnapshot row;
    row.key = familyKey(f, tick);
    row.title = familyTitle(f, tick);
    const double rate = 0.1 * stage * (1 + (tick * 7 + f * 13) % 97);
    row.rate = "+" + fixed(rate, 1) + " MB/min";
    row.sparklineSamples.resize(60);
    for (int i = 0; i < 60; ++i) {
        const double wave = std::sin(0.21 * (tick + i) + f) * 0.5 + 0.5;
        row.sparklineSamples[i] = static_cast<uint16_t>(1000 + i * 400 * stage + wave * 9000);
    }
    row.confidencePillLabel = stage >= 3 ? "high" : stage == 2 ? "medium" : "low";
    row.explanation = "Footprint rose " + fixed(rate * 12, 1) + " MB in the last " +
                      std::to_string(5 + tick % 10) + " minutes.";
    row.verdict = stage >= 3   ? FindingVerdict::criticalRunaway
                  : stage == 2 ? FindingVerdict::probable
                               : FindingVerdict::watch;
    row.severity = stage >= 3   ? FindingSeverity::critical
                   : stage == 2 ? FindingSeverity::suspect
                                : FindingSeverity::watch;
    row.orderedActions = {
        makeAction(ActionId::selectDetail, "Details", ActionStyle::secondary, row.key)};
    if (stage >= 2) {
        row.orderedActions.push_back(
            makeAction(ActionId::recover, "Quit", ActionStyle::warning, row.key));
        row.orderedActions.push_back(
            makeAction(ActionId::ignore, "Ignore", ActionStyle::secondary, row.key));
        row.exhaustionEstimate =
            "Memory runs out in about " + std::to_string(30 + tick % 90) + " min";
    }
    if (stage >= 1 && (tick + f) % 3 == 0) {
        row.curvatureLabel = (tick / 30 + f) % 2 ? "Accelerating growth" : "Decelerating growth";
    }
    return row;
}

PopoverSnapshot snapshotAt(int64_t tick, const std::string& selectedKey) {
    PopoverSnapshot snapshot = ScenarioLibrary::multiRowSuspect();
    snapshot.refreshIntervalMs = 500;
    snapshot.rows.clear();
    snapshot.recentFindings.clear();
    int worst = 0;
    for (int f = 0; f < kFamilyCount && static_cast<int>(snapshot.rows.size()) < kMaxRows; ++f) {
        const int stage = stageOf(f, tick);
        if (stage > 0) {
            snapshot.rows.push_back(rowFor(f, stage, tick));
            worst = std::max(worst, stage);
        } else if (stageOf(f, tick - 60) > 0 && snapshot.recentFindings.size() < 4) {
            RecentFindingSnapshot finding;
            finding.key = familyKey(f, tick - 60);
            finding.title = familyTitle(f, tick - 60);
            finding.statusLabel = "Left " + std::to_string(1 + tick % 59) + " min ago";
            finding.explanation = "Stopped growing before it ended.";
            finding.lastSeenText =
                "Last seen " + std::to_string(tick % 24) + ":" + std::to_string(10 + tick % 50);
            finding.severity = FindingSeverity::suspect;
            snapshot.recentFindings.push_back(finding);
        }
    }
    snapshot.globalTone = worst >= 3   ? SnapshotTone::critical
                          : worst == 2 ? SnapshotTone::suspect
                          : worst == 1 ? SnapshotTone::watch
                                       : SnapshotTone::allClear;
    snapshot.summaryText = std::to_string(snapshot.rows.size()) + " SUSPECTS DETECTED";
    if (snapshot.rows.empty()) {
        snapshot.summaryText = "ALL CLEAR";
        snapshot.incident = ScenarioLibrary::allClearIncident();
    } else {
        auto& incident = snapshot.incident;
        const auto& lead = snapshot.rows.front();
        incident.key = lead.key;
        incident.suspectTitle = lead.title;
        incident.headline = lead.title + " keeps growing at " + lead.rate;
        incident.attributionLine = lead.title + " · " + std::to_string(2 + tick % 9) + " processes";
        incident.metricLine = fixed(0.5 + (tick % 400) / 100.0, 2) + " GB resident";
        incident.changeLine = "+" + fixed((tick % 300) / 10.0, 1) + " MB since the last hour";
        incident.whyLines = {lead.explanation,
                             "Growth held for " + std::to_string(tick % 40) + " minutes."};
        incident.contextLines = {"Seen " + std::to_string(tick % 6) + " times this week."};
    }
    const double used = 0.55 + 0.4 * (std::sin(tick / 300.0) * 0.5 + 0.5);
    snapshot.systemState.usedMemoryFraction = used;
    snapshot.systemState.headroomLabel = fixed(32.0 * (1 - used), 1) + " GB available of 32.0 GB";
    snapshot.systemState.pressureLabel = used > 0.9   ? "High pressure"
                                         : used > 0.8 ? "Elevated pressure"
                                                      : "Normal pressure";
    snapshot.systemState.scopeLabel = std::to_string(180 + tick % 90) + " processes watched";
    snapshot.footerTelemetry.storageText =
        "History uses " + fixed(12 + (tick % 5000) / 100.0, 1) + " MB";
    snapshot.footerTelemetry.pruneText = "Last prune " + std::to_string(tick % 60) + " min ago";
    snapshot.trustAccess.filesReadLastPass = {
        "/proc/PID/stat for " + std::to_string(180 + tick % 90) + " processes",
        "/proc/PID/statm for " + std::to_string(180 + tick % 90) + " processes",
        "/proc/PID/smaps_rollup for " + std::to_string(snapshot.rows.size()) + " processes",
        "/proc/meminfo"};
    if ((tick / 20) % 2 == 0) {
        snapshot.trustAccess.filesReadLastPass.push_back("/proc/PID/status for " +
                                                         std::to_string(tick % 40) + " processes");
    }
    if (!snapshot.relief || (tick / 40) % 3 == 0) {
        snapshot.relief.reset();
    }
    if ((tick / 30) % 5 == 1) {
        ActionFeedbackSnapshot feedback;
        feedback.id = "feedback-" + std::to_string(tick / 30);
        feedback.title = "Report exported";
        feedback.message = "Saved /tmp/report-" + std::to_string(tick / 30) + ".json.";
        snapshot.actionFeedback = feedback;
    }
    // A detail stays selected for a while: asked for by the app, or every few minutes by itself.
    std::string key = selectedKey;
    if (key.empty() && (tick / 60) % 4 == 2 && !snapshot.rows.empty()) {
        key = snapshot.rows[tick / 60 % snapshot.rows.size()].key;
    }
    if (!key.empty()) {
        snapshot.selectedDetail = ScenarioLibrary::detail(
            key, (tick / 60) % 2 ? FindingSeverity::critical : FindingSeverity::suspect);
    }
    return snapshot;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 || std::string(argv[1]) != "ui-backend") {
        std::cerr << "usage: soak_backend ui-backend\n";
        return 64;
    }
    std::ios::sync_with_stdio(false);
    std::string line;
    std::string selectedKey;
    int64_t tick = 0;
    int64_t selectedUntil = 0;
    while (std::getline(std::cin, line)) {
        const Json parsed = Json::parse(line, nullptr, false);
        const Json* request = &parsed;
        std::string kind;
        if (parsed.is_object()) {
            const auto found = request->find("kind");
            kind = found != request->end() && found->is_string() ? found->get<std::string>() : "";
        }
        if (kind == "getAdvancedHistory") {
            const auto found = request->find("selectedKey");
            const std::string key =
                found != request->end() && found->is_string() ? found->get<std::string>() : "";
            const auto history = key.empty() ? ScenarioLibrary::advancedHistory()
                                             : ScenarioLibrary::advancedHistoryDetail(key);
            std::cout << dumpJsonText(Json{{"kind", "advancedHistory"},
                                           {"advancedHistory", encode(history)}})
                      << "\n"
                      << std::flush;
            continue;
        }
        if (kind == "dispatchAction") {
            const auto stringField = [&](const char* name) {
                const auto found = request->find(name);
                return found != request->end() && found->is_string() ? found->get<std::string>()
                                                                     : std::string();
            };
            const auto action = stringField("actionId");
            if (fromWire<ActionId>(action) == ActionId::selectDetail) {
                selectedKey = stringField("targetKey");
                selectedUntil = tick + 20;
            } else if (fromWire<ActionId>(action) == ActionId::dismissDetail) {
                selectedKey.clear();
            }
        }
        if (!selectedKey.empty() && tick > selectedUntil) {
            selectedKey.clear();
        }
        ++tick;
        std::cout << dumpJsonText(Json{{"kind", "snapshot"},
                                       {"snapshot", encode(snapshotAt(tick, selectedKey))}})
                  << "\n"
                  << std::flush;
    }
    return 0;
}
