// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Decoded.h"
#include "model/PopoverSnapshot.h"

#include <string_view>

namespace velmora {

// A popover showing a detail the real monitor once answered, saved as
// `{"selectedDetail": {...}, "snapshot": {...}}` (bench/views/capture-leak-detail.py writes such
// files; "snapshot", the rest of that answer, may be left out). A file that is not JSON, or holds
// no detail, is an error with its path.
Decoded<PopoverSnapshot> savedDetailSnapshot(std::string_view text);

} // namespace velmora
