// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The thresholds of the out-of-memory daemons a desktop may run, read from their configuration.
// Each parser takes text any administrator wrote and never trusts it: what it cannot read leaves
// the daemon's default in place.

// systemd-oomd: the [OOM] section of oomd.conf and its drop-ins (later files win).
struct OomdThresholds {
    double swapUsedPercent = 90;
    double pressurePercent = 60;
    double pressureSeconds = 30;

    bool operator==(const OomdThresholds&) const = default;
};
void applyOomdConfig(std::string_view text, OomdThresholds& into);

// earlyoom: -m PERCENT[,KILL], -s PERCENT[,KILL], -M KiB[,KILL], -S KiB[,KILL]. It acts when
// both available memory and free swap are below their minimums.
struct EarlyoomThresholds {
    double memPercent = 10;
    double swapPercent = 10;
    std::optional<uint64_t> memKiB; // -M: an absolute minimum; the lower of -m and -M applies
    std::optional<uint64_t> swapKiB;

    bool operator==(const EarlyoomThresholds&) const = default;
};
void applyEarlyoomArgs(const std::vector<std::string>& args, EarlyoomThresholds& into);
// The words of EARLYOOM_ARGS in a shell-style defaults file (/etc/default/earlyoom): the last
// uncommented assignment, quotes removed; none when the file does not set it.
std::optional<std::vector<std::string>> earlyoomArgsOf(std::string_view defaultsFile);

// earlyoom's thresholds come from its command line: numbers outside their range (a percentage
// above 100, a size above 1 PiB) are ignored, never converted.

// "60%", "60.5%", "600‰", "6000‱" as a percentage.
std::optional<double> parseOomdPercent(std::string_view text);
// A systemd time span ("30s", "1min 30s", "20 s", "500ms", "20" in seconds) in seconds; none
// for what systemd would refuse or a span over ten years.
std::optional<double> parseTimeSpan(std::string_view text);

enum class OomDaemon { systemdOomd, earlyoom };

// The daemon a process's name (comm) claims to be.
std::optional<OomDaemon> oomDaemonNamed(std::string_view comm);
// Whether `path` is that daemon's installed program: its name in /usr/bin, /usr/sbin, /bin,
// /sbin, /usr/lib/systemd or /lib/systemd. Anyone can name a process "earlyoom"; only the
// administrator can put a program there.
bool isOomDaemonProgram(std::string_view path, OomDaemon daemon);

// The daemon that runs, with the thresholds in force.
struct OomKiller {
    OomDaemon daemon = OomDaemon::earlyoom;
    pid_t pid = 0;
    OomdThresholds oomd;
    EarlyoomThresholds earlyoom;
    std::vector<std::string> configFiles; // the files the thresholds came from

    bool operator==(const OomKiller&) const = default;
};

// "earlyoom ends the largest process below 10% available memory and 10% free swap",
// "systemd-oomd acts above 60% memory pressure for 30 s or 90% swap used". Without swap the
// swap condition is left out: earlyoom then acts on memory alone and oomd's swap limit never
// applies. memTotalKiB turns earlyoom's -M into a comparison with -m.
std::string describeOomKiller(const OomKiller& killer, bool hasSwap, uint64_t memTotalKiB);

} // namespace velmora
