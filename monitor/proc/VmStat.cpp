// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/proc/VmStat.h"

#include <charconv>

namespace velmora {

std::optional<uint64_t> parseOutOfMemoryKillCount(std::string_view vmstat) {
    constexpr std::string_view name = "oom_kill ";
    std::size_t at = 0;
    while (at < vmstat.size()) {
        std::size_t end = vmstat.find('\n', at);
        if (end == std::string_view::npos) {
            end = vmstat.size();
        }
        std::string_view line = vmstat.substr(at, end - at);
        if (line.starts_with(name)) {
            line.remove_prefix(name.size());
            uint64_t value = 0;
            auto [next, error] = std::from_chars(line.data(), line.data() + line.size(), value);
            if (error != std::errc() || next == line.data()) {
                return std::nullopt;
            }
            return value;
        }
        at = end + 1;
    }
    return std::nullopt;
}

std::optional<uint64_t> readOutOfMemoryKillCount(const ProcRoot& root) {
    // About 4 KB on current kernels; the oom_kill line sits in the first half.
    char buf[16384];
    long n = root.readFile("vmstat", buf, sizeof buf);
    if (n <= 0) {
        return std::nullopt;
    }
    return parseOutOfMemoryKillCount(std::string_view(buf, static_cast<std::size_t>(n)));
}

} // namespace velmora
