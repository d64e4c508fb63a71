// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/compose/DetailBuilder.h"
#include "monitor/compose/IncidentBuilder.h"
#include "monitor/compose/SnapshotComposer.h"

namespace velmora {

inline constexpr uint64_t kMiBInKiB = 1024;

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

} // namespace velmora
