// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/PopoverSnapshot.h"
#include "monitor/compose/ComposeContext.h"

#include <vector>

namespace velmora {

// The families shown as rows: self-check targets first, then families at watch or above that
// the user has not ignored, best score first, at most maxRows.
std::vector<const FamilyView*> rowFamilies(const ComposeContext& context);

// One whole answer, built from the latest view and the interaction state.
PopoverSnapshot composeSnapshot(const ComposeContext& context);

FindingSnapshot rowOf(const ComposeContext& context, const FamilyView& family);
TrustAccessSnapshot trustAccessOf(const ComposeContext& context);
SettingsSnapshot settingsOf(const ConfigStore& config, const ComposeTuning& tuning);

} // namespace velmora
