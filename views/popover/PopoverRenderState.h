// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/ShellCommand.h"
#include "model/PopoverSnapshot.h"
#include "state/PopoverState.h"
#include "views/popover/NotWatchingNotice.h"

#include <functional>
#include <optional>
#include <string>

namespace velmora {

// Everything the popover renders: the view model's state as it publishes it, and the notice
// its clock reads from the monitor link at the moment of rendering.
struct PopoverRenderState : PopoverState {
    // Present while the monitor is not watching: the header says so and the snapshot's rows
    // are shown as out of date.
    std::optional<NotWatchingNotice> notWatching;
};

// Where every control of the popover reports; the root wires them to the view model.
struct PopoverCallbacks {
    std::function<void(const ActionDescriptor&)> dispatch;
    std::function<void(ShellCommand)> sendCommand;
    std::function<void()> openSettings; // brings the app forward and opens Settings
    std::function<void()> closeDetail;
    std::function<void()> toggleAdvancedHistory;
    std::function<void(std::optional<std::string>)> loadAdvancedHistory;
    std::function<void()> dismissActiveVerdictTooltip;
    std::function<void(const std::string&)> openDetail; // "select_detail" for a finding key
    std::function<void()> restartMonitor;               // "Restart monitor"
};

// True when the incident stage is not `normal`.
bool isFocusedIncidentLayout(const PopoverSnapshot& snapshot);
// The relief plan is shown beside the card when it has a primary candidate and its headline
// differs from the incident's.
bool shouldShowReliefPlanStrip(const PopoverSnapshot& snapshot);
// Rows after the first; the second and third of them for the list layout.
std::vector<FindingSnapshot> allSupportingFindings(const PopoverSnapshot& snapshot);
std::vector<FindingSnapshot> visibleSupportingFindings(const PopoverSnapshot& snapshot);

} // namespace velmora
