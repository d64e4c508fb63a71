// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

// Which surface the popover shows.
enum class PopoverSurface { live, advanced };

} // namespace velmora
