// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MemoryTrace.h"

#include <string_view>

namespace velmora {

// How the monitor meets a family: it saw the process start (the monitor runs from login, before
// people open their apps), or it found the family already running.
enum class TraceView { birth, midLife };

std::string_view viewName(TraceView view);

// The trace as seen from that moment on. A mid-life trace seen from birth gains a start-up: the
// process appears with a few MB and reaches its first level within 2 to 60 s, and everything
// after (onset, deadline, settling) moves by that much. A trace recorded from birth, seen from
// mid-life, loses its first three minutes; a leak keeps the same time from its onset to its
// deadline.
MemoryTrace viewOf(const MemoryTrace& trace, TraceView view);

// A fixed offset in [0, 60) s per trace and view between the family's first sample and the
// monitor's minute boundaries: a process is born at any moment of a bucket.
double clockPhaseOf(const MemoryTrace& trace, TraceView view);

} // namespace velmora
