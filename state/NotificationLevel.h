// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Enums.h"

#include <optional>
#include <string_view>

namespace velmora {

// From which verdict on a suspect family raises a desktop notification. Whatever the level,
// the machine running out of memory and a process ended by the out-of-memory killer notify
// unless the level is `off`.
enum class NotificationLevel { off, criticalOnly, probableAndUp, suspectAndUp };

inline constexpr NotificationLevel defaultNotificationLevel = NotificationLevel::probableAndUp;

// Whether a row with `verdict` has reached `level`.
bool reachesLevel(FindingVerdict verdict, NotificationLevel level);

// The name a level is stored under ("off", "critical", "probable", "suspect"), and back; any
// other text is no level.
std::string_view storedName(NotificationLevel level);
std::optional<NotificationLevel> notificationLevelNamed(std::string_view name);

} // namespace velmora
