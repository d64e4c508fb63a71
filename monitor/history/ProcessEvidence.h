// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// One mapping of a process with its anonymous memory, from /proc/PID/smaps.
struct AnonymousMapping {
    std::string range;       // "7f3a4c000000-7f3a50000000"
    std::string permissions; // "rw-p"
    std::string name;        // "[heap]", "[anon:libc_malloc]" or empty
    uint64_t anonymousBytes = 0;
    uint64_t residentBytes = 0;

    bool operator==(const AnonymousMapping&) const = default;
};

// What an evidence capture keeps about one process. Every text is valid UTF-8.
struct ProcessEvidence {
    int pid = 0;
    std::string commandLine; // arguments joined by spaces
    std::string smapsRollup;
    std::string status;
    std::vector<AnonymousMapping> largestAnonymousMappings; // largest first

    bool operator==(const ProcessEvidence&) const = default;
};

// Reads the evidence of a live process from `procRoot`/PID; nothing when the process has gone
// or its files cannot be read (another user's process). Keeps the `maxMappings` largest
// anonymous mappings.
std::optional<ProcessEvidence> readProcessEvidence(int pid,
                                                   const std::filesystem::path& procRoot = "/proc",
                                                   std::size_t maxMappings = 8);

// The `maxMappings` largest mappings by anonymous memory in the text of a smaps file.
std::vector<AnonymousMapping> largestAnonymousMappings(const std::string& smaps,
                                                       std::size_t maxMappings);

} // namespace velmora
