// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/proc/ProcParsers.h"

#include <charconv>
#include <cstdlib>

namespace velmora {
namespace {

// Parses an unsigned decimal at text[pos], skipping leading blanks; advances pos.
std::optional<uint64_t> nextNumber(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
        ++pos;
    }
    uint64_t value = 0;
    auto [end, ec] = std::from_chars(text.data() + pos, text.data() + text.size(), value);
    if (ec != std::errc{}) {
        return std::nullopt;
    }
    pos = static_cast<std::size_t>(end - text.data());
    return value;
}

std::optional<int64_t> nextSigned(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
    int64_t value = 0;
    auto [end, ec] = std::from_chars(text.data() + pos, text.data() + text.size(), value);
    if (ec != std::errc{}) {
        return std::nullopt;
    }
    pos = static_cast<std::size_t>(end - text.data());
    return value;
}

// Finds "key" at the start of a line.
std::size_t findLineKey(std::string_view text, std::string_view key) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text.compare(pos, key.size(), key) == 0) {
            return pos + key.size();
        }
        std::size_t nl = text.find('\n', pos);
        if (nl == std::string_view::npos) {
            break;
        }
        pos = nl + 1;
    }
    return std::string_view::npos;
}

std::optional<double> parsePsiField(std::string_view line, std::string_view key) {
    std::size_t pos = line.find(key);
    if (pos == std::string_view::npos) {
        return std::nullopt;
    }
    std::string number(line.substr(pos + key.size(), 16));
    char* end = nullptr;
    double value = std::strtod(number.c_str(), &end);
    if (end == number.c_str()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<StatFields> parseStat(std::string_view text) {
    // "pid (comm) S ppid ..." where comm may itself hold spaces and parentheses.
    std::size_t open = text.find('(');
    std::size_t close = text.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
        return std::nullopt;
    }
    StatFields fields;
    fields.comm = std::string(text.substr(open + 1, close - open - 1));
    std::size_t pos = close + 1;
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
    if (pos >= text.size()) {
        return std::nullopt;
    }
    fields.state = text[pos++];
    // Field 4 is ppid; fields 10 and 12 minflt, majflt; 14 and 15 utime, stime; 22 starttime.
    int64_t values[19] = {};
    for (int field = 4; field <= 22; ++field) {
        auto value = nextSigned(text, pos);
        if (!value) {
            return std::nullopt;
        }
        values[field - 4] = *value;
    }
    fields.ppid = static_cast<pid_t>(values[0]);
    fields.cpuTicks = static_cast<uint64_t>(values[14 - 4] + values[15 - 4]);
    fields.faults = static_cast<uint64_t>(values[10 - 4] + values[12 - 4]);
    fields.startTime = static_cast<uint64_t>(values[22 - 4]);
    return fields;
}

std::optional<StatmFields> parseStatm(std::string_view text) {
    std::size_t pos = 0;
    auto size = nextNumber(text, pos);
    auto resident = nextNumber(text, pos);
    auto shared = nextNumber(text, pos);
    if (!size || !resident || !shared) {
        return std::nullopt;
    }
    auto code = nextNumber(text, pos);
    return StatmFields{*resident, *size, *shared, code.value_or(0)};
}

std::optional<uint64_t> parseKiBField(std::string_view text, std::string_view key) {
    std::size_t pos = findLineKey(text, key);
    if (pos == std::string_view::npos) {
        return std::nullopt;
    }
    return nextNumber(text, pos);
}

std::optional<TaskBirths> parseLoadavgBirths(std::string_view text) {
    // "0.20 0.18 0.12 1/80 11206": three averages, running/total tasks, the last PID.
    std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) {
        return std::nullopt;
    }
    std::size_t pos = slash + 1;
    auto tasks = nextNumber(text, pos);
    auto lastPid = nextNumber(text, pos);
    if (!tasks || !lastPid) {
        return std::nullopt;
    }
    return TaskBirths{*tasks, *lastPid};
}

std::optional<uid_t> parseStatusUid(std::string_view text) {
    auto uid = parseKiBField(text, "Uid:");
    if (!uid) {
        return std::nullopt;
    }
    return static_cast<uid_t>(*uid);
}

std::optional<SmapsRollup> parseSmapsRollup(std::string_view text) {
    auto rss = parseKiBField(text, "Rss:");
    auto anonymous = parseKiBField(text, "Anonymous:");
    auto swap = parseKiBField(text, "Swap:");
    if (!rss || !anonymous) {
        return std::nullopt;
    }
    return SmapsRollup{*rss, *anonymous, swap.value_or(0), parseKiBField(text, "Pss_Shmem:")};
}

std::optional<MemInfo> parseMemInfo(std::string_view text) {
    auto total = parseKiBField(text, "MemTotal:");
    auto available = parseKiBField(text, "MemAvailable:");
    if (!total || !available || *total == 0) {
        return std::nullopt;
    }
    MemInfo info{*total, *available, 0, 0};
    info.swapTotalKiB = parseKiBField(text, "SwapTotal:").value_or(0);
    info.swapFreeKiB = parseKiBField(text, "SwapFree:").value_or(0);
    return info;
}

std::optional<Pressure> parsePressure(std::string_view text) {
    std::size_t some = findLineKey(text, "some ");
    std::size_t full = findLineKey(text, "full ");
    if (some == std::string_view::npos) {
        return std::nullopt;
    }
    auto lineAt = [&](std::size_t pos) {
        std::size_t nl = text.find('\n', pos);
        return text.substr(pos, nl == std::string_view::npos ? text.size() - pos : nl - pos);
    };
    Pressure p;
    std::string_view someLine = lineAt(some);
    auto s10 = parsePsiField(someLine, "avg10=");
    auto s60 = parsePsiField(someLine, "avg60=");
    if (!s10 || !s60) {
        return std::nullopt;
    }
    p.someAvg10 = *s10;
    p.someAvg60 = *s60;
    if (full != std::string_view::npos) {
        std::string_view fullLine = lineAt(full);
        p.fullAvg10 = parsePsiField(fullLine, "avg10=").value_or(0);
        p.fullAvg60 = parsePsiField(fullLine, "avg60=").value_or(0);
    }
    return p;
}

std::string joinCommandLine(std::string_view raw) {
    while (!raw.empty() && raw.back() == '\0') {
        raw.remove_suffix(1);
    }
    std::string out(raw);
    for (char& c : out) {
        if (c == '\0') {
            c = ' ';
        }
    }
    return out;
}

std::vector<std::string> splitNulSeparated(std::string_view raw) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start < raw.size()) {
        std::size_t end = raw.find('\0', start);
        if (end == std::string_view::npos) {
            end = raw.size();
        }
        parts.emplace_back(raw.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

} // namespace velmora
