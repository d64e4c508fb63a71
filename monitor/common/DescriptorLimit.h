// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

// Kept descriptors (one statm per process) need more than the default soft limit: raises it
// towards the hard limit, 65536 at most.
void raiseDescriptorLimit();

} // namespace velmora
