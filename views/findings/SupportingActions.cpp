// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/findings/SupportingActions.h"

#include "model/SurfaceText.h"

#include <algorithm>

namespace velmora {

namespace {

bool matchesPreferredID(const ActionDescriptor& action, const std::string& preferredID) {
    if (action.id == preferredID) {
        return true;
    }
    std::string spaced = preferredID;
    std::replace(spaced.begin(), spaced.end(), '_', ' ');
    return lowercased(spaced) == lowercased(action.label);
}

bool alreadyTaken(const std::vector<ActionDescriptor>& taken, const ActionDescriptor& action) {
    return std::any_of(taken.begin(), taken.end(), [&](const ActionDescriptor& other) {
        return other.id == action.id && other.targetKey == action.targetKey;
    });
}

} // namespace

std::vector<ActionDescriptor> preferredActions(const std::vector<ActionDescriptor>& actions,
                                               const std::vector<std::string>& preferredIDs,
                                               std::size_t fallbackCount) {
    std::vector<ActionDescriptor> taken;
    for (const auto& preferredID : preferredIDs) {
        const auto match =
            std::find_if(actions.begin(), actions.end(), [&](const ActionDescriptor& action) {
                return matchesPreferredID(action, preferredID);
            });
        if (match != actions.end() && !alreadyTaken(taken, *match)) {
            taken.push_back(*match);
        }
    }
    for (const auto& action : actions) {
        if (taken.size() >= fallbackCount) {
            break;
        }
        if (!alreadyTaken(taken, action)) {
            taken.push_back(action);
        }
    }
    if (taken.size() > fallbackCount) {
        taken.resize(fallbackCount);
    }
    return taken;
}

std::vector<ActionDescriptor> preferredSupportingActions(const FindingSnapshot& finding) {
    static const std::vector<std::string> preferredIDs{"select_detail", "inspect", "ignore",
                                                       "watch_closely", "restart"};
    constexpr std::size_t fallbackCount = 2;
    auto chosen = preferredActions(finding.orderedActions, preferredIDs, fallbackCount);
    if (chosen.empty()) {
        const auto count = std::min(fallbackCount, finding.orderedActions.size());
        chosen.assign(finding.orderedActions.begin(), finding.orderedActions.begin() + count);
    }
    return chosen;
}

} // namespace velmora
