// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/proc/OomScores.h"

#include <charconv>

namespace velmora {

std::optional<int> parseOomScore(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.remove_suffix(1);
    }
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

std::vector<OomScore> readOomScores(const ProcRoot& root, const std::vector<pid_t>& pids,
                                    PassStatistics& stats) {
    std::vector<OomScore> scores;
    scores.reserve(pids.size());
    char buf[32];
    for (pid_t pid : pids) {
        long read = root.readPidFile(pid, "oom_score", buf, sizeof buf);
        if (read <= 0) {
            continue;
        }
        ++stats.oomScore;
        if (auto score = parseOomScore(std::string_view(buf, static_cast<std::size_t>(read)))) {
            scores.push_back({pid, *score});
        }
    }
    return scores;
}

std::optional<std::string> readComm(const ProcRoot& root, pid_t pid, PassStatistics& stats) {
    char buf[64];
    long read = root.readPidFile(pid, "comm", buf, sizeof buf);
    if (read <= 0) {
        return std::nullopt;
    }
    ++stats.comm;
    std::string comm(buf, static_cast<std::size_t>(read));
    while (!comm.empty() && comm.back() == '\n') {
        comm.pop_back();
    }
    return comm;
}

} // namespace velmora
