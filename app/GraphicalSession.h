// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Environment.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// Whether Qt has a window system to open: a display (DISPLAY or WAYLAND_DISPLAY, not empty) or
// a platform chosen by hand (QT_QPA_PLATFORM, or Qt's own "-platform NAME" argument).
bool hasGraphicalSession(const Environment& environment, const std::vector<std::string>& arguments);

// What a launch without one says on standard error before it exits with status 1.
inline constexpr std::string_view noGraphicalSessionMessage =
    "velmora-ui needs a graphical session; the monitor alone runs as `velmora ui-backend`";

} // namespace velmora
