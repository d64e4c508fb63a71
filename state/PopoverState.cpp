// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/PopoverState.h"

#include "state/WhitespaceAndCase.h"

namespace velmora {

std::string PopoverState::pendingKey(const ActionDescriptor& action) {
    return action.id + "::" + action.targetKey;
}

bool PopoverState::isActionPending(const ActionDescriptor& action) const {
    return pendingActions.contains(pendingKey(action));
}

bool PopoverState::isCommandPending(ShellCommand command) const {
    return pendingCommands.contains(command);
}

bool PopoverState::isHighlighted(const std::string& key) const {
    return highlightedCriticalKeys.contains(key);
}

std::string PopoverState::activeSummaryText() const {
    if (surface == PopoverSurface::live) {
        return snapshot.summaryText;
    }
    if (advancedHistory && advancedHistory->selectedDetail) {
        return utf8text::upperCased(advancedHistory->selectedDetail->title) + " HISTORY";
    }
    if (isAdvancedHistoryLoading && !advancedHistory) {
        return "LOADING ADVANCED HISTORY";
    }
    if (advancedHistory && !advancedHistory->offenders.empty()) {
        const std::size_t count = advancedHistory->offenders.size();
        return std::to_string(count) + " RECURRING ISSUE" + (count == 1 ? "" : "S");
    }
    return "ADVANCED HISTORY";
}

} // namespace velmora
