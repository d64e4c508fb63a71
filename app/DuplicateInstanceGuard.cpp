#include "app/DuplicateInstanceGuard.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>
#include <system_error>
#include <unistd.h>

namespace velmora {
namespace {

bool startedBefore(const RunningInstance& a, const RunningInstance& b) {
    return a.startTicks != b.startTicks ? a.startTicks < b.startTicks : a.pid < b.pid;
}

std::optional<std::string> readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::optional<int32_t> pidOfName(const std::string& name) {
    int32_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (error != std::errc() || end != name.data() + name.size() || pid <= 0) {
        return std::nullopt;
    }
    return pid;
}

std::optional<std::filesystem::path> executableOf(const std::filesystem::path& processDir) {
    std::error_code error;
    const auto target = std::filesystem::read_symlink(processDir / "exe", error);
    if (error) {
        return std::nullopt;
    }
    return DuplicateInstanceGuard::executableOfLink(target.string());
}

} // namespace

std::optional<int32_t> instanceToKeep(const RunningInstance& self,
                                      const std::vector<RunningInstance>& others) {
    std::optional<int32_t> kept;
    for (const auto& other : others) {
        if (other.pid == self.pid || !startedBefore(other, self)) {
            continue;
        }
        if (!kept || other.pid < *kept) {
            kept = other.pid;
        }
    }
    return kept;
}

namespace DuplicateInstanceGuard {

std::optional<ProcessStat> parseProcessStat(const std::string& statText) {
    // "pid (comm) state ppid ...": the command may hold spaces and parentheses, so the fields
    // are counted from the last ')'.
    const auto close = statText.rfind(')');
    if (close == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(statText.substr(close + 1));
    ProcessStat stat;
    if (!(fields >> stat.state)) {
        return std::nullopt;
    }
    // Field 3 is the state; the start time is field 22.
    std::string skipped;
    for (int field = 4; field < 22; ++field) {
        if (!(fields >> skipped)) {
            return std::nullopt;
        }
    }
    if (!(fields >> stat.startTicks)) {
        return std::nullopt;
    }
    return stat;
}

std::optional<uint32_t> parseRealUserID(const std::string& statusText) {
    std::istringstream lines(statusText);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("Uid:", 0) == 0) {
            std::istringstream fields(line.substr(4));
            uint32_t uid = 0;
            if (fields >> uid) {
                return uid;
            }
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::filesystem::path executableOfLink(std::string linkTarget) {
    constexpr std::string_view deleted = " (deleted)";
    if (linkTarget.size() > deleted.size() && linkTarget.ends_with(deleted)) {
        linkTarget.resize(linkTarget.size() - deleted.size());
    }
    return linkTarget;
}

std::optional<RunningInstance> selfInstance(const std::filesystem::path& procRoot) {
    const auto pid = static_cast<int32_t>(::getpid());
    const auto stat = readText(procRoot / std::to_string(pid) / "stat");
    const auto parsed = stat ? parseProcessStat(*stat) : std::nullopt;
    if (!parsed) {
        return std::nullopt;
    }
    return RunningInstance{pid, parsed->startTicks};
}

std::vector<RunningInstance> otherInstances(const std::filesystem::path& procRoot) {
    std::vector<RunningInstance> found;
    const auto selfPid = static_cast<int32_t>(::getpid());
    const auto ownExecutable = executableOf(procRoot / std::to_string(selfPid));
    if (!ownExecutable) {
        return found;
    }
    const auto ownUser = static_cast<uint32_t>(::getuid());
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(procRoot, error)) {
        const auto pid = pidOfName(entry.path().filename().string());
        if (!pid || *pid == selfPid) {
            continue;
        }
        // A process may end at any point of this walk; whatever cannot be read is skipped.
        const auto status = readText(entry.path() / "status");
        if (!status || parseRealUserID(*status) != ownUser) {
            continue;
        }
        if (executableOf(entry.path()) != ownExecutable) {
            continue;
        }
        const auto stat = readText(entry.path() / "stat");
        const auto parsed = stat ? parseProcessStat(*stat) : std::nullopt;
        if (!parsed || parsed->state == 'Z' || parsed->state == 'X') {
            continue;
        }
        found.push_back({*pid, parsed->startTicks});
    }
    return found;
}

std::optional<int32_t> existingInstance() {
    const auto self = selfInstance();
    if (!self) {
        return std::nullopt;
    }
    return instanceToKeep(*self, otherInstances());
}

} // namespace DuplicateInstanceGuard
} // namespace velmora
