// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/proc/PassStatistics.h"
#include "monitor/proc/ProcRoot.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace velmora {

// A shared-memory file (a memfd, or a file under /dev/shm) that a process holds open by a
// descriptor without mapping it: its pages are in none of the process's resident figures.
struct HeldSharedFile {
    int descriptor = -1;
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t kib = 0; // pages the file holds (allocated blocks), not its apparent size

    bool sameFile(const HeldSharedFile& other) const {
        return device == other.device && inode == other.inode;
    }
};

// Whether a /proc/PID/fd link target names shared memory: "/memfd:NAME (deleted)" or
// "/dev/shm/NAME".
bool isSharedMemoryTarget(std::string_view target);

// The inodes of the shared-memory files a /proc/PID/maps text maps.
std::vector<uint64_t> mappedSharedInodes(std::string_view maps);

// How many descriptors a process has open: the size the kernel gives /proc/PID/fd (Linux 6.2
// and later; nothing before, or when it cannot be read). One stat, about a microsecond.
std::optional<uint64_t> descriptorCount(const ProcRoot& root, pid_t pid);

// Every shared-memory file the process holds by a descriptor and does not map. Lists its
// descriptors and reads each link; only when one names shared memory is its maps read too.
std::vector<HeldSharedFile> readHeldSharedFiles(const ProcRoot& root, pid_t pid,
                                                PassStatistics& stats);

// Reads the sizes of files found before again (one stat each); false when a descriptor no
// longer holds the same file, so that the caller lists them all again.
bool refreshHeldSharedFiles(const ProcRoot& root, pid_t pid, std::vector<HeldSharedFile>& files,
                            PassStatistics& stats);

} // namespace velmora
