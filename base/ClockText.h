// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace velmora {

// The local time of day of a wall-clock moment, on the 24-hour clock: "14:02".
std::string clockText(double unixSeconds);

} // namespace velmora
