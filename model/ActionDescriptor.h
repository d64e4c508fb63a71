#pragma once

#include "model/Enums.h"

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

// The short caption of the well-known action ids ("select_detail" is "Inspect",
// "request_force_quit" is "Shut Down", ...); any other action shows its own label.
std::string actionDisplayLabel(const ActionDescriptor& action);

// Identity in lists: the action id.
std::string identity(const ActionDescriptor& action);

} // namespace velmora
