// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/ShellCommand.h"
#include "model/AdvancedHistorySnapshot.h"
#include "model/MonitorLinkState.h"
#include "model/PopoverSnapshot.h"
#include "state/PopoverSurface.h"
#include "state/VerdictTooltip.h"

#include <optional>
#include <set>
#include <string>

namespace velmora {

// What the view model publishes and every view of the popover renders: the snapshot on
// display and, around it, the pending marks, the highlights, the feedback banner, the surface
// on screen with its history request, the verdict tooltip and the monitor link.
struct PopoverState {
    PopoverSnapshot snapshot;
    std::set<std::string> pendingActions; // pendingKey() of each action pressed a moment ago
    std::set<ShellCommand> pendingCommands;
    std::set<std::string> highlightedCriticalKeys; // rows that just turned critical
    std::optional<ActionFeedbackSnapshot> visibleActionFeedback;
    PopoverSurface surface = PopoverSurface::live;
    std::optional<AdvancedHistorySnapshot> advancedHistory;
    bool isAdvancedHistoryLoading = false;
    std::optional<std::string> advancedHistoryError;
    std::optional<VerdictTooltip> activeVerdictTooltip;
    // Whether Velmora is watching. While it is not, `snapshot` keeps the last rows.
    MonitorLinkState monitorLink;

    // `id` + "::" + `targetKey`.
    static std::string pendingKey(const ActionDescriptor& action);
    bool isActionPending(const ActionDescriptor& action) const;
    bool isCommandPending(ShellCommand command) const;
    bool isHighlighted(const std::string& key) const;
    // Whether the snapshot holds the monitor's data; false before its first answer, when the
    // snapshot is a placeholder and no figure of it is shown.
    bool hasData() const { return monitorLink.hasData(); }
    // The popover's summary line for the surface on screen.
    std::string activeSummaryText() const;

    bool operator==(const PopoverState&) const = default;
};

} // namespace velmora
