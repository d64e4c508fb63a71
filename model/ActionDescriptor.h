// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionId.h"
#include "model/Enums.h"

#include <optional>
#include <string>

namespace velmora {

// One user action as the backend describes it. The UI renders it and sends `id` and
// `targetKey` back unchanged when the user triggers it. Every key is required.
struct ActionDescriptor {
    std::string id;
    std::string label;
    ActionStyle style = ActionStyle::primary;
    std::string targetKey;

    bool operator==(const ActionDescriptor&) const = default;
};

// An action of a well-known id.
ActionDescriptor makeAction(ActionId id, std::string label, ActionStyle style,
                            std::string targetKey);

// The well-known id of an action, if it has one.
std::optional<ActionId> actionIdOf(const ActionDescriptor& action);

// The short caption of the well-known action ids ("select_detail" is "Inspect",
// "request_force_quit" is "Shut Down", ...); any other action shows its own label.
std::string actionDisplayLabel(const ActionDescriptor& action);

// Identity in lists: the action id.
std::string identity(const ActionDescriptor& action);

} // namespace velmora
