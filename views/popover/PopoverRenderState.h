#pragma once

#include "link/ShellCommand.h"
#include "model/AdvancedHistorySnapshot.h"
#include "model/PopoverSnapshot.h"
#include "state/PopoverSurface.h"
#include "state/VerdictTooltip.h"
#include "views/popover/NotWatchingNotice.h"

#include <functional>
#include <optional>
#include <set>
#include <string>

namespace velmora {

// Everything the popover renders: the display snapshot and the view model's published state.
struct PopoverRenderState {
    PopoverSnapshot snapshot;
    std::set<std::string> pendingActions;
    std::set<ShellCommand> pendingCommands;
    std::set<std::string> highlightedCriticalKeys;
    std::optional<ActionFeedbackSnapshot> visibleActionFeedback;
    PopoverSurface surface = PopoverSurface::live;
    std::optional<AdvancedHistorySnapshot> advancedHistory;
    bool isAdvancedHistoryLoading = false;
    std::optional<std::string> advancedHistoryError;
    std::optional<VerdictTooltip> activeVerdictTooltip;
    std::string activeSummaryText = "ALL CLEAR";
    // Present while the monitor is not watching: the header says so and the snapshot's rows
    // are shown as out of date.
    std::optional<NotWatchingNotice> notWatching;
    // Whether the snapshot holds the monitor's data; false before its first answer, when the
    // snapshot is a placeholder and no figure of it is shown.
    bool hasData = true;

    bool isActionPending(const ActionDescriptor& action) const;
    bool isCommandPending(ShellCommand command) const {
        return pendingCommands.count(command) != 0;
    }
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
