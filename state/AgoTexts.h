// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/AgoText.h"

#include <string>

namespace velmora {

// agoText in the person's language: "just now", "5 min ago", "3h ago" under an English locale,
// word for word as the monitor writes it.
std::string translatedAgo(double elapsedSeconds, AgoStyle style);

} // namespace velmora
