// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/PopoverState.h"

#include "base/Translate.h"
#include "state/SystemStateTexts.h"
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
        return summaryStripText(snapshot);
    }
    if (advancedHistory && advancedHistory->selectedDetail) {
        //: The summary line, in capitals, over one offender's history; %1 is the app's name,
        //: already in capitals.
        return withArguments(translate("PopoverState", "%1 HISTORY"),
                             {utf8text::upperCased(advancedHistory->selectedDetail->title)});
    }
    if (isAdvancedHistoryLoading && !advancedHistory) {
        //: The summary line, in capitals, while the history is read.
        return translate("PopoverState", "LOADING ADVANCED HISTORY");
    }
    if (advancedHistory && !advancedHistory->offenders.empty()) {
        const auto count = static_cast<int>(advancedHistory->offenders.size());
        // English has no catalogue: the one form stands apart from the plural.
        if (count == 1) {
            //: The summary line, in capitals, over the list of one app that leaked more than once.
            return translate("PopoverState", "1 RECURRING ISSUE");
        }
        //: The summary line, in capitals, over the list of apps that leaked more than once.
        return translate("PopoverState", "%n RECURRING ISSUES", nullptr, count);
    }
    //: The summary line, in capitals, of the history with nothing in it.
    return translate("PopoverState", "ADVANCED HISTORY");
}

} // namespace velmora
