// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/proc/ProcRoot.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// Where the kernel counts the out-of-memory kills of a process's own memory cgroup. The killer
// raises the victim's cgroup count with the machine-wide one, whether the kill was global or
// forced by a cgroup limit, so a rise there is evidence against that cgroup's processes only.

// The file holding that count, relative to the cgroup root (/sys/fs/cgroup), from the text of
// /proc/PID/cgroup: "<path>/memory.events" on cgroup v2, "memory/<path>/memory.oom_control"
// where the memory controller is mounted as v1. Empty when there is none (the v2 root cgroup
// has no memory.events) or the path is not a plain path below the root (another cgroup
// namespace shows "/.." components).
std::string memoryKillCountFile(std::string_view procCgroupText);

// Whether that file is a v1 memory.oom_control rather than a v2 memory.events.
bool isLegacyKillCountFile(std::string_view file);

// The memory.events of the parent of a v2 cgroup, when every process below that parent is
// watched: its count also rises for kills in its children, so it still tells of a kill once a
// child cgroup emptied by the kill has been removed. Watching user `uid` alone, that is a
// parent inside "user-<uid>.slice" or "user@<uid>.service"; watching every user (no `uid`),
// any parent but the root (which has no memory.events). Empty for v1 files (their counts are
// not hierarchical) and for parents holding processes nobody watches.
std::string parentKillCountFile(std::string_view file, std::optional<uid_t> uid);

// Whether `file`'s cgroup lies below the cgroup of the kill count file `ancestor`.
bool isBelowCgroupOf(std::string_view file, std::string_view ancestor);

// The `oom_kill` count of that file below the cgroup root; nothing when it cannot be read.
std::optional<uint64_t> readCgroupKillCount(const ProcRoot& cgroupRoot, const std::string& file);

} // namespace velmora
