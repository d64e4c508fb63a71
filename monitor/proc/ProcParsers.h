// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace velmora {

// Parsers for the few /proc files the sampler reads. Each takes the raw bytes of one read and
// never trusts them: a malformed file yields nothing rather than garbage.

struct StatFields {
    char state = '?';
    pid_t ppid = 0;
    uint64_t cpuTicks = 0;  // utime + stime
    uint64_t faults = 0;    // minor + major page faults of every thread, exact
    uint64_t startTime = 0; // clock ticks since boot
    std::string comm;       // raw bytes as the process set them
};
std::optional<StatFields> parseStat(std::string_view text);

struct StatmFields {
    uint64_t residentPages = 0;
    uint64_t sizePages = 0;   // the whole address space
    uint64_t sharedPages = 0; // file-backed and shared memory resident pages
    uint64_t textPages = 0;   // the executable's code: changes only when the process execs
};
std::optional<StatmFields> parseStatm(std::string_view text);

// The value of a "Key:   123 kB" line in status, meminfo or smaps_rollup.
std::optional<uint64_t> parseKiBField(std::string_view text, std::string_view key);
// The real uid of a status file's "Uid:" line.
std::optional<uid_t> parseStatusUid(std::string_view text);

struct SmapsRollup {
    uint64_t rssKiB = 0;
    uint64_t anonymousKiB = 0;
    uint64_t swapKiB = 0;
    // The process's proportional share of its mapped shared memory (a page mapped by k
    // processes counts 1/k); absent on kernels older than 5.9.
    std::optional<uint64_t> pssShmemKiB;
};
std::optional<SmapsRollup> parseSmapsRollup(std::string_view text);

struct MemInfo {
    uint64_t totalKiB = 0;
    uint64_t availableKiB = 0;
    uint64_t swapTotalKiB = 0;
    uint64_t swapFreeKiB = 0;
};
std::optional<MemInfo> parseMemInfo(std::string_view text);

struct Pressure {
    double someAvg10 = 0;
    double someAvg60 = 0;
    double fullAvg10 = 0;
    double fullAvg60 = 0;
};
std::optional<Pressure> parsePressure(std::string_view text);

// What /proc/loadavg says of the tasks: how many there are and the PID given last. Both stand
// still while no process or thread is born.
struct TaskBirths {
    uint64_t tasks = 0;
    uint64_t lastPid = 0;
    bool operator==(const TaskBirths&) const = default;
};
std::optional<TaskBirths> parseLoadavgBirths(std::string_view text);

// The NUL-separated arguments of a cmdline file.
std::string joinCommandLine(std::string_view raw);
// The NUL-separated strings of a cmdline or environ file, one each.
std::vector<std::string> splitNulSeparated(std::string_view raw);

} // namespace velmora
