// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/SnapshotComposer.h"

#include "monitor/common/Formatting.h"
#include "monitor/compose/DetailBuilder.h"
#include "monitor/compose/FamilyTexts.h"
#include "monitor/compose/FindingCodes.h"
#include "monitor/compose/ForecastTexts.h"
#include "monitor/compose/IncidentBuilder.h"
#include "monitor/compose/RecentFindings.h"
#include "monitor/compose/ReliefPlanner.h"
#include "monitor/compose/StatusWording.h"

#include <algorithm>
#include <cstdio>

namespace velmora {
namespace {

SnapshotTone toneOf(FindingSeverity severity) {
    return static_cast<SnapshotTone>(static_cast<int>(severity));
}

std::string secondsText(double seconds) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", seconds);
    return std::string(buf) + "s";
}

// The memory cgroups' kill counts: each read when its first process is seen, and again only
// around an out-of-memory kill on the machine.
std::vector<std::string> cgroupFilesRead(const LiveView& view) {
    std::vector<std::string> lines;
    auto add = [&](const char* file, std::size_t count) {
        if (count > 0) {
            lines.push_back(view.cgroupPath + file + " for " + std::to_string(count) +
                            (count == 1 ? " cgroup" : " cgroups") +
                            ", when first seen and after an out-of-memory kill");
        }
    };
    add("/CGROUP/memory.events", view.cgroupKillCounts.events);
    add("/memory/CGROUP/memory.oom_control", view.cgroupKillCounts.oomControl);
    return lines;
}

std::vector<std::string> filesReadOf(const LiveView& view) {
    const PassStatistics& s = view.stats;
    const std::string& proc = view.procPath;
    std::vector<std::string> lines;
    auto add = [&](const char* file, std::size_t count) {
        if (count > 0) {
            lines.push_back(proc + "/PID/" + file + " for " + std::to_string(count) +
                            (count == 1 ? " process" : " processes"));
        }
    };
    add("statm", s.statm);
    add("stat", s.stat);
    add("status", s.status);
    add("smaps_rollup", s.smapsRollup);
    add("fd", s.descriptorScans);
    add("maps", s.maps);
    add("cmdline", s.cmdline);
    add("cgroup", s.cgroup);
    if (s.meminfo) {
        lines.push_back(proc + "/meminfo");
    }
    if (s.pressure) {
        lines.push_back(proc + "/pressure/memory");
    }
    if (view.machineOomKills) {
        lines.push_back(proc + "/vmstat");
    }
    for (std::string& line : cgroupFilesRead(view)) {
        lines.push_back(std::move(line));
    }
    for (std::string& line : forecastFilesRead(view)) {
        lines.push_back(std::move(line));
    }
    if (lines.empty()) {
        lines.push_back("No process file paths in the latest snapshot.");
    }
    return lines;
}

} // namespace

std::vector<const FamilyView*> rowFamilies(const ComposeContext& context) {
    std::vector<const FamilyView*> rows;
    if (context.view == nullptr) {
        return rows;
    }
    for (const FamilyView& family : context.view->families) {
        if (family.smokeRole != SmokeRole::none) {
            rows.push_back(&family);
        }
    }
    for (const FamilyView& family : context.view->families) {
        if (family.smokeRole == SmokeRole::none &&
            severityOf(family.assessment.verdict) >= FindingSeverity::watch &&
            !context.config.isIgnored(family.key, context.wallNow)) {
            rows.push_back(&family);
        }
    }
    auto limit = static_cast<std::size_t>(context.tuning.maxRows);
    if (rows.size() > limit) {
        rows.resize(limit);
    }
    return rows;
}

FindingSnapshot rowOf(const ComposeContext& context, const FamilyView& family) {
    const FamilyAssessment& a = family.assessment;
    FindingSnapshot row;
    row.key = family.key;
    row.title = family.title;
    row.rate = rateText(a);
    row.sparklineSamples = sparklineOf(family.sparklineKiB);
    row.confidencePillLabel =
        family.smokeRole != SmokeRole::none ? "Self-check" : confidenceLabel(a);
    row.explanation = explanationOf(family);
    row.orderedActions = actionsFor(family, context.hasArtifact(family.key));
    row.verdict = family.smokeRole != SmokeRole::none ? FindingVerdict::watch : a.verdict;
    row.severity = severityOf(row.verdict);
    row.exhaustionEstimate = exhaustionText(a);
    row.curvatureLabel = curvatureText(a);
    row.footprintLabel = formatKiB(family.footprintKiB);
    row.growthSpanLabel = growthSpanText(family, context.tuning.rateWindowBuckets);
    row.codes = rowCodesOf(context, family);
    return row;
}

SettingsSnapshot settingsOf(const ConfigStore& config, const ComposeTuning& t) {
    SettingsSnapshot settings =
        SettingsSnapshot::fallback().updating(config.storageMode(), config.evidenceCapture());
    settings.samplingLine = "Enumerates every " + secondsText(t.sampleIntervalSeconds) +
                            "; active suspects every " + secondsText(t.suspectDetailSeconds) +
                            "; background targets every " + secondsText(t.backgroundDetailSeconds) +
                            ".";
    return settings;
}

TrustAccessSnapshot trustAccessOf(const ComposeContext& context) {
    TrustAccessSnapshot trust;
    const MonitorPaths& paths = context.paths;
    trust.processScope =
        "Same-user running processes only (uid " + std::to_string(context.uid) + ").";
    trust.fileReadScope = "/proc files of your own processes, the oom_score and name of every "
                          "process (who the kernel would end first), out-of-memory daemon "
                          "settings, executable paths and workspace markers; never source file "
                          "contents.";
    trust.fileWriteScope = "Local Velmora data under " + paths.display(paths.dataDir) + ".";
    trust.dataDir = paths.display(paths.dataDir);
    trust.configPath = paths.display(paths.configFile);
    trust.artifactsDir = paths.display(paths.artifactsDir);
    trust.logsDir = paths.display(paths.logsDir);
    if (context.view != nullptr) {
        trust.filesReadLastPass = filesReadOf(*context.view);
    }
    return trust;
}

PopoverSnapshot composeSnapshot(const ComposeContext& context) {
    PopoverSnapshot snapshot;
    const LiveView* view = context.view;
    snapshot.refreshIntervalMs =
        static_cast<uint64_t>(context.config.refreshIntervalSeconds() * 1000.0 + 0.5);
    snapshot.settings = settingsOf(context.config, context.tuning);
    snapshot.trustAccess = trustAccessOf(context);
    snapshot.footerTelemetry = context.footer;
    snapshot.actionFeedback = context.interaction.feedback;
    snapshot.destructiveConfirmation = context.interaction.confirmation;
    if (view == nullptr) {
        snapshot.bootstrapScan.active = true;
        setSummary(snapshot, SnapshotTone::allClear, {});
        setMemoryUnread(snapshot.systemState);
        setScanRunning(snapshot.systemState);
        return snapshot;
    }
    snapshot.bootstrapScan.active = false;
    snapshot.bootstrapScan.watchedProcessCount = static_cast<int64_t>(view->watchedProcesses);
    const ComposeTuning& tuning = context.tuning;
    snapshot.bootstrapScan.historyRefining =
        view->monotonicTime - view->startedAt < tuning.minRateBuckets * tuning.bucketSeconds;

    const MachineState& machine = view->machine;
    setMachineState(snapshot.systemState, machine);
    // Under the pressure pill the forecast stands in for the scope while it matters.
    if (!setForecastScope(snapshot.systemState, *view)) {
        setScope(snapshot.systemState, view->watchedProcesses, view->familyCount);
    }

    auto families = rowFamilies(context);
    const FamilyView* lead = nullptr;
    SnapshotTone tone = SnapshotTone::allClear;
    for (const FamilyView* family : families) {
        snapshot.rows.push_back(rowOf(context, *family));
        if (family->smokeRole == SmokeRole::none) {
            tone = std::max(tone, toneOf(snapshot.rows.back().severity));
            if (lead == nullptr) {
                lead = family;
            }
        }
    }
    if (machine.level == PressureLevel::critical) {
        tone = SnapshotTone::critical;
    } else if (machine.level == PressureLevel::high) {
        tone = std::max(tone, SnapshotTone::suspect);
    }
    snapshot.globalTone = tone;
    setSummary(snapshot, tone, snapshot.rows);
    snapshot.incident = buildIncident(context, lead);
    snapshot.relief = planRelief(context);
    snapshot.memoryForecast = memoryForecastOf(*view);
    snapshot.recentFindings = recentFindingsOf(*view);
    snapshot.outOfMemoryKills = outOfMemoryKillsOf(*view);
    if (context.interaction.selectedKey) {
        snapshot.selectedDetail = buildDetail(context, *context.interaction.selectedKey);
    }
    return snapshot;
}

} // namespace velmora
