// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/DetailSnapshot.h"
#include "monitor/compose/ComposeContext.h"

namespace velmora {

// The drill-down of one family: verdict, reasons, actions and commands to copy, timeline,
// diagnostics and, once evidence was captured, the artifact with its actions. A family that is
// no longer running gets a detail saying so.
DetailSnapshot buildDetail(const ComposeContext& context, const std::string& key);

// The suggested commands of a family, in the order the detail shows them.
std::vector<NextCommandDescriptor> nextCommandsOf(const FamilyView& family);

} // namespace velmora
