// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/proc/MemoryCgroup.h"

#include "monitor/proc/VmStat.h"

namespace velmora {
namespace {

constexpr std::string_view kLegacyPrefix = "memory/";
constexpr std::string_view kLegacyFile = "memory.oom_control";
constexpr std::string_view kEventsFile = "memory.events";
constexpr std::size_t kMaxPath = 2048;

// "/a/b" with no empty, "." or ".." component; "/" itself is plain too.
bool isPlainPath(std::string_view path) {
    if (path.empty() || path.front() != '/' || path.size() > kMaxPath) {
        return false;
    }
    path.remove_prefix(1);
    while (!path.empty()) {
        std::size_t slash = path.find('/');
        std::string_view component = path.substr(0, slash);
        if (component.empty() || component == "." || component == "..") {
            return false;
        }
        path = slash == std::string_view::npos ? std::string_view{} : path.substr(slash + 1);
    }
    return true;
}

bool listsMemory(std::string_view controllers) {
    while (!controllers.empty()) {
        std::size_t comma = controllers.find(',');
        if (controllers.substr(0, comma) == "memory") {
            return true;
        }
        controllers =
            comma == std::string_view::npos ? std::string_view{} : controllers.substr(comma + 1);
    }
    return false;
}

// "a/b" of "a/b/memory.events".
std::string_view cgroupDirectoryOf(std::string_view file) {
    std::size_t slash = file.rfind('/');
    return slash == std::string_view::npos ? std::string_view{} : file.substr(0, slash);
}

} // namespace

std::string memoryKillCountFile(std::string_view text) {
    std::optional<std::string_view> legacy;
    std::optional<std::string_view> unified;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        // "<hierarchy id>:<controllers>:<path>"; the path may itself hold colons.
        std::size_t first = line.find(':');
        std::size_t second =
            first == std::string_view::npos ? std::string_view::npos : line.find(':', first + 1);
        if (second == std::string_view::npos) {
            continue;
        }
        std::string_view controllers = line.substr(first + 1, second - first - 1);
        std::string_view path = line.substr(second + 1);
        if (listsMemory(controllers)) {
            legacy = path;
        } else if (line.substr(0, first) == "0" && controllers.empty()) {
            unified = path;
        }
    }
    // Where v1 mounts the memory controller, v2 has none of its files.
    if (legacy) {
        if (!isPlainPath(*legacy)) {
            return {};
        }
        std::string file(kLegacyPrefix);
        if (legacy->size() > 1) {
            file.append(legacy->substr(1)).push_back('/');
        }
        return file.append(kLegacyFile);
    }
    if (!unified || !isPlainPath(*unified) || unified->size() == 1) {
        return {};
    }
    return std::string(unified->substr(1)) + "/" + std::string(kEventsFile);
}

bool isLegacyKillCountFile(std::string_view file) {
    return file.starts_with(kLegacyPrefix) && file.ends_with(kLegacyFile);
}

std::string parentKillCountFile(std::string_view file, std::optional<uid_t> uid) {
    if (!file.ends_with(kEventsFile) || isLegacyKillCountFile(file)) {
        return {};
    }
    std::string_view cgroup = cgroupDirectoryOf(file);
    std::size_t slash = cgroup.rfind('/');
    if (slash == std::string_view::npos) {
        return {}; // a top-level cgroup: its parent is the root, shared by everyone
    }
    std::string_view parent = cgroup.substr(0, slash);
    if (!uid) {
        return std::string(parent) + "/" + std::string(kEventsFile);
    }
    const std::string slice = "user-" + std::to_string(*uid) + ".slice";
    const std::string manager = "user@" + std::to_string(*uid) + ".service";
    bool own = false;
    for (std::string_view rest = parent; !rest.empty();) {
        std::size_t next = rest.find('/');
        std::string_view component = rest.substr(0, next);
        own = own || component == slice || component == manager;
        rest = next == std::string_view::npos ? std::string_view{} : rest.substr(next + 1);
    }
    return own ? std::string(parent) + "/" + std::string(kEventsFile) : std::string{};
}

bool isBelowCgroupOf(std::string_view file, std::string_view ancestor) {
    std::string_view below = cgroupDirectoryOf(ancestor);
    std::string_view cgroup = cgroupDirectoryOf(file);
    return cgroup.size() > below.size() && cgroup.starts_with(below) && cgroup[below.size()] == '/';
}

std::optional<uint64_t> readCgroupKillCount(const ProcRoot& cgroupRoot, const std::string& file) {
    // memory.events holds six short lines, memory.oom_control three.
    char buf[512];
    long n = cgroupRoot.readFile(file.c_str(), buf, sizeof buf);
    if (n <= 0) {
        return std::nullopt;
    }
    return parseOutOfMemoryKillCount(std::string_view(buf, static_cast<std::size_t>(n)));
}

} // namespace velmora
