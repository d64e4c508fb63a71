// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/actions/ActionTuning.h"
#include "monitor/actions/ArtifactWriter.h"
#include "monitor/actions/ProcessActions.h"
#include "monitor/compose/ComposeTuning.h"
#include "monitor/compose/InteractionState.h"
#include "monitor/config/ConfigStore.h"
#include "monitor/config/MonitorPaths.h"
#include "monitor/live/HistoryService.h"
#include "monitor/live/LiveView.h"
#include "monitor/where/WhereCaptures.h"

#include <functional>
#include <memory>

namespace velmora {

// What the request thread works with: the persisted settings, the user's interaction state,
// the latest published view and the means to act. Owned by RequestHandler.
struct MonitorContext {
    MonitorPaths paths;
    ConfigStore& config;
    uid_t uid = 0;
    pid_t self = 0;
    std::function<std::shared_ptr<const LiveView>()> latestView;
    std::function<double()> monotonicClock;
    std::function<double()> wallClock;
    HistoryService* history = nullptr; // null when the monitor runs without one
    InteractionState interaction;
    ProcRoot proc{"/proc"};
    ProcessSignaller signaller;
    ProcessActions actions;
    ArtifactWriter artifacts;
    WhereCaptures where; // heap trackings, run by `velmora where` children of this executable
    ActionTuning tuning;
    ComposeTuning composeTuning; // handed to every answer composed

    MonitorContext(MonitorPaths p, ConfigStore& c, uid_t u, pid_t s)
        : paths(std::move(p)), config(c), uid(u), self(s), signaller(proc, u, s),
          actions(proc, signaller), artifacts(proc, paths.artifactsDir, paths.reportsDir) {}

    // Sets the feedback every following answer carries for a while (a new id: a new banner):
    // its title and message written from `code` and its figures, sent beside them.
    void feedback(ActionFeedbackKind kind, FeedbackCode code, ActionFigures figures = {});
};

} // namespace velmora
