// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

// The bounds of the monitor's refresh interval, in seconds: what Settings offers, what the view
// model sends, what the app polls at and what the monitor's configuration keeps.
inline constexpr double minimumRefreshSeconds = 0.5;
inline constexpr double maximumRefreshSeconds = 10.0;

} // namespace velmora
