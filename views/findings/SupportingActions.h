// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionDescriptor.h"
#include "model/FindingSnapshot.h"

#include <cstddef>
#include <string>
#include <vector>

namespace velmora {

// Picks at most `fallbackCount` actions: for each preferred id in order the first action whose
// id equals it, or whose label equals it with "_" read as " " (ignoring letter case); then the
// remaining actions in their own order until `fallbackCount` are taken. An (id, targetKey)
// pair is never taken twice, so one id aimed at two targets can appear twice.
std::vector<ActionDescriptor> preferredActions(const std::vector<ActionDescriptor>& actions,
                                               const std::vector<std::string>& preferredIDs,
                                               std::size_t fallbackCount);

// The quick actions of a supporting row: at most two, preferring detail, inspect, ignore,
// watch closely and restart.
std::vector<ActionDescriptor> preferredSupportingActions(const FindingSnapshot& finding);

} // namespace velmora
