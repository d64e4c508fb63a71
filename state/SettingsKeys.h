// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/NotificationLevel.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace velmora {

// A preference that is one of a few choices, stored under the choice's name; a missing value,
// another name or a value of another type reads as `fallback`.
template <class Choice> struct ChoiceSetting {
    std::string_view key;
    Choice fallback;
    std::string_view (*nameOf)(Choice);
    std::optional<Choice> (*choiceNamed)(std::string_view);
};

// A preference that is a set of ids, stored as a list of distinct strings in code-point order.
// A value of another type reads as empty; a list longer than `maxCount` (never written by the
// app) reads as its first `maxCount` ids.
struct IdSetSetting {
    std::string_view key;
    std::size_t maxCount;
};

// Every preference of the app, with its type, default and bounds. The keys are the ones earlier
// versions stored, so people's settings survive an upgrade.
namespace settingsKeys {

// From which verdict on a suspect family raises a desktop notification.
inline constexpr ChoiceSetting<NotificationLevel> notificationLevel{
    "Velmora.notificationLevel", defaultNotificationLevel, storedName, notificationLevelNamed};

// The verdict tooltips the person has dismissed (a handful exist).
inline constexpr IdSetSetting dismissedVerdictTooltips{"Velmora.dismissedVerdictTooltips", 64};

// The hints the person has dismissed for good (the no-tray hint among them).
inline constexpr IdSetSetting dismissedHints{"Velmora.dismissedHints", 16};

} // namespace settingsKeys
} // namespace velmora
