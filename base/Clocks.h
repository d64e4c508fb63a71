// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

// CLOCK_BOOTTIME (keeps counting while the machine sleeps), CLOCK_MONOTONIC (does not, and is
// the one for intervals and deadlines) and the wall clock, in seconds.
double continuousSeconds();
double steadySeconds();
double wallSeconds();

} // namespace velmora
