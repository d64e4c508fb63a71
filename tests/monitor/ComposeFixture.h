// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionCodes.h"
#include "monitor/compose/DetailBuilder.h"
#include "monitor/compose/IncidentBuilder.h"
#include "monitor/compose/SnapshotComposer.h"

namespace velmora {

inline constexpr uint64_t kMiBInKiB = 1024;
// The wall clock the code tests compose at, in seconds since the epoch.
inline constexpr double kNow = 1796732368;

// What the monitor composes its answers from: a live view, the settings, the person's actions
// and the paths, at the wall clock the test sets.
struct ComposeFixture {
    LiveView view;
    ConfigStore config{"/nonexistent/velmora/config.json"};
    InteractionState interaction;
    MonitorPaths paths;
    double wallNow = 0;

    ComposeContext context() const {
        ComposeContext context{&view, config, interaction, paths};
        context.wallNow = wallNow;
        return context;
    }
    IncidentSnapshot incident(const FamilyView* lead) const {
        return buildIncident(context(), lead);
    }
    DetailSnapshot detail(const std::string& key) const { return buildDetail(context(), key); }
    FindingSnapshot row(const FamilyView& family) const { return rowOf(context(), family); }
};

// Every figure a pattern may name, so that every code can be written.
inline ActionFigures everyFigure(double seconds = 45) {
    return {.name = "Firefox",
            .process = "worker",
            .pid = 4242,
            .count = 3,
            .total = 5,
            .footprintKiB = 1536.0 * 1024,
            .seconds = seconds,
            .atSeconds = 1'700'000'000,
            .path = "~/.local/share/velmora/artifacts/a.json",
            .detail = "Permission denied",
            .moreDetail = "No such file or directory"};
}

// A family of three processes growing steadily: 1.9 GB, +8.2 MB/min, a probable leak.
inline FamilyView leakingFamily() {
    FamilyView family;
    family.key = "app:editor";
    family.title = "editor";
    family.footprintKiB = 1900 * kMiBInKiB;
    FamilyAssessment& a = family.assessment;
    a.hasRate = true;
    a.rising = true;
    a.rateKiBPerSecond = 137.3;
    a.tau = 0.713;
    a.steadiness = 0.826;
    a.windowSeconds = 900;
    a.footprintKiB = family.footprintKiB;
    a.score = 72;
    a.verdict = FindingVerdict::probable;
    for (pid_t pid : {4242, 4243, 4250}) {
        MemberView member;
        member.identity.pid = pid;
        member.name = pid == 4242 ? "editor" : "editor-helper";
        member.footprintKiB = pid == 4242 ? 1200 * kMiBInKiB : 350 * kMiBInKiB;
        family.members.push_back(member);
    }
    return family;
}

} // namespace velmora
