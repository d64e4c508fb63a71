// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ReliefPlanSnapshot.h"
#include "monitor/compose/ComposeContext.h"

#include <optional>

namespace velmora {

// Under elevated pressure or low headroom, or when memory runs out within the hour: the
// families whose graceful quit would free the most, leak suspects recommended first. Protected
// families are never candidates. The summary says when memory runs out, who the kernel would
// end first and, with a forecast, which out-of-memory daemon acts.
std::optional<ReliefPlanSnapshot> planRelief(const ComposeContext& context);

} // namespace velmora
