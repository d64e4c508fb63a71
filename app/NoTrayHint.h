// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace velmora {

// The short hint the window shows when no tray can hold Velmora's icon: what would give it
// one on the desktop that XDG_CURRENT_DESKTOP names (a colon-separated list, matched without
// regard to case; the first known name wins). An unknown or empty desktop gets the general
// hint.
std::string noTrayHint(std::string_view currentDesktop);

// The id under which the dismissed hint is remembered (settingsKeys::dismissedHints).
inline constexpr std::string_view noTrayHintId = "noTray";

} // namespace velmora
