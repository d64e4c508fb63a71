// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/PopoverSnapshot.h"
#include "monitor/compose/ComposeTuning.h"
#include "monitor/compose/InteractionState.h"
#include "monitor/config/ConfigStore.h"
#include "monitor/config/MonitorPaths.h"
#include "monitor/history/HistoryLine.h"
#include "monitor/live/LiveView.h"
#include "monitor/where/WhereCaptures.h"

#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>

namespace velmora {

// Everything an answer is made from: the latest published view (null before the first pass),
// the persisted settings, the user's interaction state, where things live and what the answers
// show.
struct ComposeContext {
    const LiveView* view = nullptr;
    const ConfigStore& config;
    const InteractionState& interaction;
    const MonitorPaths& paths;
    double monotonicNow = 0;
    double wallNow = 0;
    uid_t uid = 0;
    FooterTelemetrySnapshot footer{};
    // The family's history line from the store, when it can be read.
    std::function<std::optional<HistoryLine>(const std::string&)> historyLine{};
    // The heap trackings asked for, null when there are none to show.
    const WhereCaptures* where = nullptr;
    ComposeTuning tuning{};

    const FamilyView* family(const std::string& key) const;
    bool hasArtifact(const std::string& key) const { return interaction.artifacts.count(key) != 0; }
};

} // namespace velmora
