// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionCodes.h"

#include <string>

namespace velmora {

// The pattern filled with the figures as the monitor writes them ("1.9 GB", "worker (PID 42)",
// "45 s", "14:05"); a missing figure leaves its marker as it is. Heap tracking writes its
// reasons with it, and every later stage its coded texts.
std::string englishText(const ActionPattern& pattern, const ActionFigures& figures);

} // namespace velmora
