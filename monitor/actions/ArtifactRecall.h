// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/compose/InteractionState.h"
#include "monitor/live/HistoryService.h"
#include "monitor/live/LiveView.h"

namespace velmora {

// After a restart the history still knows the evidence captured before. Each family of the
// view is looked up once; an artifact whose file is still there counts as captured again, so
// the incident and the detail show it as they did before the restart.
void recallArtifacts(HistoryService& history, const LiveView& view, InteractionState& interaction);

} // namespace velmora
