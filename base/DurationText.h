// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace velmora {

// How long something will take or has lasted, as display text. The monitor composes its lines
// with these and the app composes the same lines from the figures the monitor sends, so both
// read alike.

// An estimate: "under a minute", "about 12 min", "about 3 h 20 min", "about 2 days".
std::string durationText(double seconds);

// A measured span: "45 s", "15 min", "2 h 5 min".
std::string spanText(double seconds);

} // namespace velmora
