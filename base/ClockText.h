// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace velmora {

// A time of day on this machine's clock, in 24 hours: "14:05". The monitor writes its texts
// with it and the app composes the same texts from the Unix seconds the monitor sends.
std::string clockText(double unixSeconds);

} // namespace velmora
