#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// One running copy of the UI: its process id and when it started (clock ticks since boot,
// field 22 of /proc/PID/stat).
struct RunningInstance {
    int32_t pid = 0;
    uint64_t startTicks = 0;

    bool operator==(const RunningInstance&) const = default;
};

// The instance a new launch should hand over to, or none when it should carry on itself.
// Only instances that started before `self` count (on equal start times the lower pid is the
// earlier one), so of two launches at the same moment exactly one survives. Among those the
// lowest pid is kept. `self` may appear among `others`; it is ignored there.
std::optional<int32_t> instanceToKeep(const RunningInstance& self,
                                      const std::vector<RunningInstance>& others);

namespace DuplicateInstanceGuard {

// The start time and state of a process, from the text of /proc/PID/stat.
struct ProcessStat {
    char state = '?';
    uint64_t startTicks = 0;
};
std::optional<ProcessStat> parseProcessStat(const std::string& statText);

// The real user id from the text of /proc/PID/status.
std::optional<uint32_t> parseRealUserID(const std::string& statusText);

// The target of a /proc/PID/exe link, without the " (deleted)" mark an executable replaced
// on disk (a rebuild, a package upgrade) carries.
std::filesystem::path executableOfLink(std::string linkTarget);

// This process, read from `procRoot` ("/proc" outside tests).
std::optional<RunningInstance> selfInstance(const std::filesystem::path& procRoot = "/proc");

// The other processes of this user that run our executable and are not zombies.
std::vector<RunningInstance> otherInstances(const std::filesystem::path& procRoot = "/proc");

// The pid to hand over to, from the live process table; none when this launch is the first.
std::optional<int32_t> existingInstance();

} // namespace DuplicateInstanceGuard
} // namespace velmora
