// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/proc/ProcRoot.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace velmora {

// The kernel's count of processes ended by the out-of-memory killer since boot (the `oom_kill`
// line of /proc/vmstat, kernels 4.13 and later). Nothing when the file or the line is missing.
std::optional<uint64_t> readOutOfMemoryKillCount(const ProcRoot& root);

// The `oom_kill` value of a vmstat text; nothing when the line is missing or malformed.
std::optional<uint64_t> parseOutOfMemoryKillCount(std::string_view vmstat);

} // namespace velmora
