// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace velmora {

// How long ago something happened: "just now" under a minute, then "12m ago", "3h ago",
// "6d ago" (whole units, rounded down). A time in the future reads "just now".
std::string agoText(int64_t elapsedMs);

// A length of time: "42m", "3h 5m", "2d 4h" ("0m" under a minute).
std::string durationText(int64_t durationMs);

} // namespace velmora
