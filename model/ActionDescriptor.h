// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionCodes.h"
#include "model/ActionId.h"
#include "model/Enums.h"

#include <optional>
#include <string>

namespace velmora {

// One user action as the backend describes it. The UI renders it and sends `id` and
// `targetKey` back unchanged when the user triggers it. Every key is required but
// `labelCode`, the label as a code and figures, from which the app composes it.
struct ActionDescriptor {
    std::string id;
    std::string label;
    ActionStyle style = ActionStyle::primary;
    std::string targetKey;
    std::optional<ActionLabelCodes> labelCode = std::nullopt;

    bool operator==(const ActionDescriptor&) const = default;
};

// An action of a well-known id.
ActionDescriptor makeAction(ActionId id, std::string label, ActionStyle style,
                            std::string targetKey);

// The well-known id of an action, if it has one.
std::optional<ActionId> actionIdOf(const ActionDescriptor& action);

// The short caption of the well-known action ids ("select_detail" is "Inspect",
// "request_force_quit" is "Shut Down", a recover that quits the app is "Quit", ...); none for
// any other action, which shows its whole label.
std::optional<std::string> actionShortLabel(const ActionDescriptor& action);
// The short caption, else the label as sent.
std::string actionDisplayLabel(const ActionDescriptor& action);

// Identity in lists: the action id.
std::string identity(const ActionDescriptor& action);

} // namespace velmora
