#pragma once

#include "model/ReliefPlanSnapshot.h"
#include "monitor/compose/ComposeContext.h"

#include <optional>

namespace velmora {

// Under elevated pressure or low headroom: the families whose graceful quit would free the
// most, leak suspects recommended first. Protected families are never candidates.
std::optional<ReliefPlanSnapshot> planRelief(const ComposeContext& context);

} // namespace velmora
