// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Building blocks shared by the scenario library's source files (not part of its interface).

#include "model/ActionDescriptor.h"
#include "model/FindingSnapshot.h"
#include "model/PopoverSnapshot.h"

#include <string>

namespace velmora::ScenarioLibrary::parts {

inline constexpr const char* chromeKey = "com.google.Chrome";
inline constexpr const char* adapterKey = "com.apple.adapter-os";
inline constexpr const char* cargoKey = "dev.cargo.run";
inline constexpr const char* windowServerKey = "com.apple.WindowServer";

ActionDescriptor action(ActionId id, const char* label, ActionStyle style,
                        const std::string& targetKey);
// The graceful quit of an app, which its button calls "Quit".
ActionDescriptor quitAction(const char* name, const std::string& targetKey,
                            ActionStyle style = ActionStyle::warning);

// The fields every scenario shares, with its scope line and footer chips.
PopoverSnapshot baseSnapshot(const char* scopeLabel, const char* storageText,
                             const char* pruneText);

FindingSnapshot chromeRow();
FindingSnapshot adapterRow();
FindingSnapshot cargoRow();

// The recent findings shown under the suspect rows.
std::vector<RecentFindingSnapshot> recentFindings();

} // namespace velmora::ScenarioLibrary::parts
