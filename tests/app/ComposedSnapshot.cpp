// SPDX-License-Identifier: GPL-3.0-or-later
#include "ComposedSnapshot.h"

#include "monitor/compose/ActionWording.h"
#include "monitor/compose/SnapshotComposer.h"
#include "monitor/history/OffenderWording.h"
#include "monitor/history/StorageFooter.h"

namespace velmora::testing {
namespace {

constexpr uint64_t kMiB = 1024; // in KiB
constexpr uint64_t kGiB = 1024 * kMiB;
constexpr double now = 4 * 3600;

FamilyAssessment growing(FindingVerdict verdict, double rateKiBPerSecond, uint64_t footprintKiB) {
    FamilyAssessment a;
    a.hasRate = true;
    a.rising = true;
    a.rateKiBPerSecond = rateKiBPerSecond;
    a.recentRateKiBPerSecond = rateKiBPerSecond * 1.6;
    a.tau = 0.71;
    a.steadiness = 0.83;
    a.consistency = 0.9;
    a.floorAgreement = 0.9;
    a.windowSeconds = 900;
    a.growthSeconds = 2400;
    a.curvature = 1.6;
    a.footprintKiB = footprintKiB;
    a.baselineKiB = footprintKiB / 3;
    a.baselineMultiple = 3.0;
    a.hourRateKiBPerSecond = rateKiBPerSecond * 0.8;
    a.idle = true;
    a.exhaustionSeconds = 40 * 60;
    a.score = verdict == FindingVerdict::criticalRunaway ? 91 : 64;
    a.verdict = verdict;
    a.scoredVerdict = verdict;
    return a;
}

FamilyView family(const std::string& name, pid_t pid, const FamilyAssessment& a) {
    FamilyView family;
    family.key = "app:" + name;
    family.title = name;
    family.footprintKiB = a.footprintKiB;
    family.assessment = a;
    family.firstSeen = now - 3 * 3600;
    for (uint32_t step = 0; step < 24; ++step) {
        family.sparklineKiB.push_back(static_cast<uint32_t>(a.footprintKiB / 2 + step * 20 * kMiB));
    }
    MemberView member;
    member.identity.pid = pid;
    member.name = name;
    member.cmdline = "/usr/bin/" + name + " --new-window";
    member.footprintKiB = a.footprintKiB;
    member.anonKiB = a.footprintKiB * 9 / 10;
    member.growthKiB = a.footprintKiB / 2;
    member.growing = true;
    family.members.push_back(member);
    return family;
}

// A pass well into the session over 16 GB of memory with `availableKiB` of it left.
LiveView viewWith(uint64_t availableKiB, std::size_t processes, std::size_t families) {
    LiveView view;
    view.passCount = 5000;
    view.monotonicTime = now;
    view.watchedProcesses = processes;
    view.familyCount = families;
    view.machine.valid = true;
    view.machine.memory = {16 * kGiB, availableKiB, 2 * kGiB, 2 * kGiB};
    return view;
}

LiveView leakingView() {
    LiveView view = viewWith(900 * kMiB, 214, 61);
    view.machine.memory.swapFreeKiB = 300 * kMiB;
    view.machine.level = PressureLevel::high;
    view.families.push_back(
        family("editor", 4242, growing(FindingVerdict::criticalRunaway, 320.0, 6 * kGiB)));
    view.families.push_back(
        family("browser", 5151, growing(FindingVerdict::probable, 90.0, 3 * kGiB)));
    view.families.push_back(family("chat", 6161, growing(FindingVerdict::watch, 12.0, kGiB)));
    view.forecast.exhaustionSeconds = 25 * 60;
    view.forecast.trendKiBPerSecond = 400;
    OomVictimView victim;
    victim.pid = 4242;
    victim.oomScore = 812;
    victim.name = "editor";
    victim.familyKey = "app:editor";
    victim.familyTitle = "editor";
    victim.footprintKiB = 6 * kGiB;
    victim.ours = true;
    view.forecast.firstVictim = victim;
    OomKiller killer;
    killer.daemon = OomDaemon::systemdOomd;
    view.forecast.killer = killer;
    return view;
}

LiveView calmView() {
    LiveView view = viewWith(9 * kGiB, 198, 58);
    view.departed.push_back({"app:editor", "editor", FindingVerdict::probable, now - 600, false});
    view.departed.push_back({"app:chat", "chat", FindingVerdict::suspect, now - 3000, true});
    view.outOfMemoryKills.push_back(
        {"oom-7171-1", "app:player", "player", 7171, 2 * kGiB, 2 * kGiB, now - 1200, 1.7e9});
    return view;
}

LiveView selfCheckView() {
    LiveView view = viewWith(9 * kGiB, 203, 60);
    int pid = 7000;
    for (const char* name :
         {"velmora-smoke-recovery", "velmora-smoke-restart", "velmora-smoke-helper"}) {
        FamilyView target = family(name, ++pid, growing(FindingVerdict::watch, 40.0, 300 * kMiB));
        target.smokeRole = pid % 2 == 0 ? SmokeRole::restart : SmokeRole::recovery;
        view.families.push_back(target);
    }
    return view;
}

// What happened to the editor, as the monitor records it while a person acts.
void editorsStory(InteractionState& interaction) {
    const std::string key = "app:editor";
    interaction.selectedKey = key;
    interaction.artifacts[key] = CapturedArtifact{
        "/home/user/.local/share/velmora/artifacts/editor-4242.json", now - 300, 48 * 1024, 1};
    interaction.addEvent(key, timelineEvent(now - 900, TimelineEventCode::trackingAttached,
                                            {.process = "editor", .pid = 4242, .seconds = 300},
                                            TimelineTone::evidence));
    interaction.addEvent(key, timelineEvent(now - 300, TimelineEventCode::evidenceCaptured,
                                            {.path = "~/.local/share/velmora/artifacts/"
                                                     "editor-4242.json"},
                                            TimelineTone::evidence));
    interaction.addEvent(key, timelineEvent(now - 60, TimelineEventCode::forceQuitIncomplete,
                                            {.name = "Editor", .count = 3, .total = 5},
                                            TimelineTone::action));
}

// What the store holds of three families over the last weeks.
constexpr int64_t kNowMs = 1'700'000'000'000;
constexpr int64_t kHourMs = 3'600'000;

OffenderStats offender(const std::string& name, uint32_t incidents, uint32_t critical,
                       uint32_t peak, uint32_t days) {
    OffenderStats stats;
    stats.key = "app:" + name;
    stats.title = name;
    stats.firstSeenMs = kNowMs - 20 * 24 * kHourMs;
    stats.incidentCount30d = incidents;
    stats.incidentCount7d = incidents / 2;
    stats.criticalIncidentCount30d = critical;
    stats.peakScore30d = peak;
    stats.incidentDays30d = days;
    stats.lastIncidentEndMs = kNowMs - 5 * kHourMs;
    stats.peakRate30d = 14.5;
    stats.longestIncidentMs = 3 * kHourMs + 300'000;
    return stats;
}

OffenderStats editorsRecord() {
    OffenderStats stats = offender("editor", 9, 2, 94, 8);
    stats.artifactCount = 3;
    stats.newestArtifactMs = kNowMs - 2 * kHourMs;
    return stats;
}

} // namespace

AdvancedHistorySnapshot composedHistory(bool withDetail) {
    AdvancedHistorySnapshot history;
    history.generatedAtMs = kNowMs;
    const OffenderStats editor = editorsRecord();
    for (const OffenderStats& stats :
         {editor, offender("browser", 3, 0, 71, 2), offender("chat", 1, 0, 52, 1)}) {
        history.offenders.push_back(
            OffenderWording(stats, stats.key == "app:editor", kNowMs).summary());
    }
    if (withDetail) {
        OffenderDetailStats detail{editor, 700ull << 20, 2ull << 30, std::nullopt};
        detail.lastAction =
            LastAction{"restart", "Restarted editor", true, kNowMs - 2 * kHourMs - 600'000};
        history.selectedDetail = offenderDetail(detail, true, kNowMs);
    }
    return history;
}

PopoverSnapshot composedSnapshot(Session session, bool withDetail) {
    const LiveView view = session == Session::leaking ? leakingView()
                          : session == Session::calm  ? calmView()
                                                      : selfCheckView();
    const ConfigStore config("/nonexistent/velmora/config.json");
    InteractionState interaction;
    if (withDetail) {
        editorsStory(interaction);
    }
    const MonitorPaths paths;
    ComposeContext context{session == Session::firstScan ? nullptr : &view, config, interaction,
                           paths};
    context.monotonicNow = now;
    context.uid = 1000;
    // A data folder of 381 MB, pruned two hours ago.
    context.footer = storageFooter(381ull << 20, 1'000'000'000, 1'000'000'000 + 2 * 3'600'000);
    context.historyLine = [](const std::string&) -> std::optional<HistoryLine> {
        return HistoryLine{
            .incidentCount30d = 2, .criticalIncidentCount30d = 1, .peakScore30d = 92};
    };
    return composeSnapshot(context);
}

} // namespace velmora::testing
