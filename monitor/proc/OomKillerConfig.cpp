// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/proc/OomKillerConfig.h"

#include "monitor/common/Formatting.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>

namespace velmora {
namespace {

std::string_view trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

// A plain non-negative decimal number filling the whole text.
std::optional<double> parseNumber(std::string_view text) {
    text = trim(text);
    if (text.empty() || text.front() == '-' || text.front() == '+') {
        return std::nullopt;
    }
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// The first number of "PERCENT[,KILL]" or "SIZE[,KILL]", when it lies within [0, most].
std::optional<double> firstOfPair(std::string_view text, double most) {
    auto number = parseNumber(text.substr(0, text.find(',')));
    if (!number || *number > most) {
        return std::nullopt;
    }
    return number;
}

// More than any machine's memory or swap, in KiB (1 PiB): a larger -M or -S is a typo.
constexpr double kMostKiB = 1024.0 * 1024.0 * 1024.0 * 1024.0;
// Longer than any sensible pressure duration (ten years); also keeps the sum finite.
constexpr double kMostSpanSeconds = 10 * 365.25 * 86400;

std::string_view trimFront(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    return text;
}

constexpr std::string_view kDeleted = " (deleted)";

std::string percentText(double percent) {
    char buf[32];
    if (std::abs(percent - std::round(percent)) < 0.05) {
        std::snprintf(buf, sizeof buf, "%.0f%%", percent);
    } else {
        std::snprintf(buf, sizeof buf, "%.1f%%", percent);
    }
    return buf;
}

} // namespace

std::optional<double> parseOomdPercent(std::string_view text) {
    text = trim(text);
    struct Unit {
        std::string_view suffix;
        double divisor;
    };
    for (Unit unit : {Unit{"%", 1.0}, Unit{"\u2030", 10.0}, Unit{"\u2031", 100.0}}) {
        if (text.size() > unit.suffix.size() && text.ends_with(unit.suffix)) {
            auto value = parseNumber(text.substr(0, text.size() - unit.suffix.size()));
            if (value && *value / unit.divisor <= 100.0) {
                return *value / unit.divisor;
            }
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<double> parseTimeSpan(std::string_view text) {
    text = trim(text);
    if (text.empty()) {
        return std::nullopt;
    }
    struct Unit {
        std::string_view name;
        double seconds;
    };
    static constexpr Unit units[] = {
        {"usec", 1e-6}, {"us", 1e-6},    {"msec", 1e-3},  {"ms", 1e-3},    {"seconds", 1},
        {"second", 1},  {"sec", 1},      {"s", 1},        {"minutes", 60}, {"minute", 60},
        {"min", 60},    {"m", 60},       {"hours", 3600}, {"hour", 3600},  {"hr", 3600},
        {"h", 3600},    {"days", 86400}, {"day", 86400},  {"d", 86400},
    };
    double total = 0;
    while (!text.empty()) {
        std::size_t digits = 0;
        while (digits < text.size() &&
               (std::isdigit(static_cast<unsigned char>(text[digits])) || text[digits] == '.')) {
            ++digits;
        }
        auto value = parseNumber(text.substr(0, digits));
        if (!value) {
            return std::nullopt;
        }
        // systemd allows blanks between a number and its unit: "20 s", "1 min 30 s".
        text = trimFront(text.substr(digits));
        std::size_t letters = 0;
        while (letters < text.size() && std::isalpha(static_cast<unsigned char>(text[letters]))) {
            ++letters;
        }
        std::string_view name = text.substr(0, letters);
        double scale = name.empty() ? 1.0 : -1.0;
        for (const Unit& unit : units) {
            if (unit.name == name) {
                scale = unit.seconds;
            }
        }
        if (scale < 0) {
            return std::nullopt;
        }
        total += *value * scale;
        if (total > kMostSpanSeconds) {
            return std::nullopt;
        }
        text = trim(text.substr(letters));
    }
    return total;
}

void applyOomdConfig(std::string_view text, OomdThresholds& into) {
    bool inOom = false;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line.front() == '#' || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            inOom = line == "[OOM]";
            continue;
        }
        std::size_t equals = line.find('=');
        if (!inOom || equals == std::string_view::npos) {
            continue;
        }
        std::string_view key = trim(line.substr(0, equals));
        std::string_view value = trim(line.substr(equals + 1));
        if (key == "SwapUsedLimit") {
            if (auto percent = parseOomdPercent(value)) {
                into.swapUsedPercent = *percent;
            }
        } else if (key == "DefaultMemoryPressureLimit") {
            if (auto percent = parseOomdPercent(value)) {
                into.pressurePercent = *percent;
            }
        } else if (key == "DefaultMemoryPressureDurationSec") {
            if (auto seconds = parseTimeSpan(value)) {
                into.pressureSeconds = *seconds;
            }
        }
    }
}

void applyEarlyoomArgs(const std::vector<std::string>& args, EarlyoomThresholds& into) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || arg[0] != '-' ||
            std::string_view("mMsS").find(arg[1]) == std::string_view::npos) {
            continue;
        }
        std::string_view value = std::string_view(arg).substr(2);
        if (value.empty() && i + 1 < args.size()) {
            value = args[++i];
        }
        // Checked against its range before any conversion: a number out of it is ignored.
        bool percent = arg[1] == 'm' || arg[1] == 's';
        auto number = firstOfPair(value, percent ? 100.0 : kMostKiB);
        if (!number) {
            continue;
        }
        switch (arg[1]) {
        case 'm':
            into.memPercent = *number;
            break;
        case 's':
            into.swapPercent = *number;
            break;
        case 'M':
            into.memKiB = static_cast<uint64_t>(*number);
            break;
        case 'S':
            into.swapKiB = static_cast<uint64_t>(*number);
            break;
        }
    }
}

std::optional<std::vector<std::string>> earlyoomArgsOf(std::string_view file) {
    std::optional<std::vector<std::string>> found;
    while (!file.empty()) {
        std::size_t end = file.find('\n');
        std::string_view line = trim(file.substr(0, end));
        file = end == std::string_view::npos ? std::string_view{} : file.substr(end + 1);
        if (line.starts_with("export ")) {
            line = trim(line.substr(7));
        }
        if (!line.starts_with("EARLYOOM_ARGS=")) {
            continue;
        }
        line.remove_prefix(14);
        std::vector<std::string> words;
        std::string word;
        bool inWord = false;
        char quote = 0;
        for (char c : line) {
            if (quote != 0) {
                if (c == quote) {
                    quote = 0;
                } else {
                    word += c;
                }
            } else if (c == '"' || c == '\'') {
                quote = c;
                inWord = true;
            } else if (c == '#' && !inWord) {
                break;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                if (inWord) {
                    words.push_back(std::move(word));
                    word.clear();
                    inWord = false;
                }
            } else {
                word += c;
                inWord = true;
            }
        }
        if (inWord) {
            words.push_back(std::move(word));
        }
        // Quoted, the value is one word holding every argument: split it again.
        std::vector<std::string> args;
        for (const std::string& quoted : words) {
            std::string_view rest = quoted;
            while (!(rest = trim(rest)).empty()) {
                std::size_t space = 0;
                while (space < rest.size() &&
                       !std::isspace(static_cast<unsigned char>(rest[space]))) {
                    ++space;
                }
                args.emplace_back(rest.substr(0, space));
                rest = rest.substr(space);
            }
        }
        found = std::move(args);
    }
    return found;
}

std::optional<OomDaemon> oomDaemonNamed(std::string_view comm) {
    if (comm == "systemd-oomd") {
        return OomDaemon::systemdOomd;
    }
    if (comm == "earlyoom") {
        return OomDaemon::earlyoom;
    }
    return std::nullopt;
}

bool isOomDaemonProgram(std::string_view path, OomDaemon daemon) {
    if (path.ends_with(kDeleted)) {
        path.remove_suffix(kDeleted.size()); // upgraded while it runs: still the daemon
    }
    std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) {
        return false;
    }
    std::string_view folder = path.substr(0, slash);
    std::string_view name = path.substr(slash + 1);
    static constexpr std::string_view folders[] = {"/usr/bin", "/usr/sbin",        "/bin",
                                                   "/sbin",    "/usr/lib/systemd", "/lib/systemd"};
    return name == (daemon == OomDaemon::systemdOomd ? "systemd-oomd" : "earlyoom") &&
           std::find(std::begin(folders), std::end(folders), folder) != std::end(folders);
}

std::string describeOomKiller(const OomKiller& killer, bool hasSwap, uint64_t memTotalKiB) {
    if (killer.daemon == OomDaemon::systemdOomd) {
        const OomdThresholds& t = killer.oomd;
        std::string text = "systemd-oomd acts above " + percentText(t.pressurePercent) +
                           " memory pressure for " + formatSpan(t.pressureSeconds);
        if (hasSwap) {
            text += " or " + percentText(t.swapUsedPercent) + " swap used";
        }
        return text;
    }
    const EarlyoomThresholds& t = killer.earlyoom;
    std::string memory = percentText(t.memPercent);
    if (t.memKiB) {
        double asPercent = memTotalKiB > 0 ? 100.0 * static_cast<double>(*t.memKiB) /
                                                 static_cast<double>(memTotalKiB)
                                           : 0.0;
        if (memTotalKiB == 0 || asPercent < t.memPercent) {
            memory = formatKiB(*t.memKiB);
        }
    }
    std::string text = "earlyoom ends the largest process below " + memory + " available memory";
    if (hasSwap) {
        text += " and " + (t.swapKiB ? formatKiB(*t.swapKiB) : percentText(t.swapPercent)) +
                " free swap";
    }
    return text;
}

} // namespace velmora
