// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live/MachineForecast.h"

#include "monitor/common/DisplayText.h"
#include "monitor/proc/ProcParsers.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace velmora {
namespace {

constexpr std::size_t kConfigLimit = 64 * 1024;

std::optional<std::string> readSmallFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string text(kConfigLimit, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

// `absolute` below the configuration root ("/" for the machine itself).
std::string underRoot(std::string_view root, const char* absolute) {
    while (!root.empty() && root.back() == '/') {
        root.remove_suffix(1);
    }
    return std::string(root) + absolute;
}

// Where systemd looks for its configuration, most important first.
constexpr const char* kSystemdFolders[] = {"/etc/systemd", "/run/systemd", "/usr/local/lib/systemd",
                                           "/usr/lib/systemd"};

bool isRegularFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

// oomd.conf and its drop-ins in the order systemd applies them: the first oomd.conf found, then
// every *.conf of the oomd.conf.d folders sorted by file name, a name in a more important folder
// masking the same name in the others. A masking entry that is not a regular file (a link to
// /dev/null) is applied as empty, so it is left out.
std::vector<std::string> oomdConfigFiles(const std::string& root) {
    std::vector<std::string> files;
    for (const char* folder : kSystemdFolders) {
        std::filesystem::path main = underRoot(root, folder) + "/oomd.conf";
        std::error_code error;
        if (std::filesystem::symlink_status(main, error).type() !=
            std::filesystem::file_type::not_found) {
            if (isRegularFile(main)) {
                files.push_back(main.string());
            }
            break;
        }
    }
    std::map<std::string, std::filesystem::path> dropIns;
    for (const char* folder : kSystemdFolders) {
        std::error_code error;
        for (const auto& entry :
             std::filesystem::directory_iterator(underRoot(root, folder) + "/oomd.conf.d", error)) {
            std::string name = entry.path().filename().string();
            if (entry.path().extension() == ".conf" && name.front() != '.') {
                dropIns.emplace(std::move(name), entry.path());
            }
        }
    }
    for (const auto& [name, path] : dropIns) {
        if (isRegularFile(path)) {
            files.push_back(path.string());
        }
    }
    return files;
}

} // namespace

MachineForecaster::MachineForecaster(std::string configRoot, double oomScoreSeconds,
                                     double daemonSeconds)
    : configRoot_(std::move(configRoot)), oomScoreSeconds_(oomScoreSeconds),
      daemonSeconds_(daemonSeconds) {}

void MachineForecaster::update(double now, const MachineState& machine, ProcRoot& root,
                               const ProcessTable& table, PassStatistics& stats) {
    if (machine.valid) {
        trend_.add(now, machine.memory.availableKiB + machine.memory.swapFreeKiB);
        view_.exhaustionSeconds = trend_.exhaustionSeconds();
        view_.trendKiBPerSecond = trend_.fit().slopeKiBPerSecond;
    } else {
        // Unknown memory is not memory running out: no forecast until it can be read again.
        view_.exhaustionSeconds.reset();
        view_.trendKiBPerSecond = 0;
    }

    if (trendOnly_) {
        return;
    }
    bool sweepDue = now - lastOomSweep_ >= oomScoreSeconds_ || now < lastOomSweep_;
    bool scanDue = now - lastDaemonScan_ >= daemonSeconds_ || now < lastDaemonScan_;
    if (!sweepDue && !scanDue) {
        refreshVictim(table);
        return;
    }
    const std::vector<pid_t>& pids = table.listed();
    if (sweepDue) {
        sweepOomScores(now, root, pids, table, stats);
        lastOomSweep_ = now;
        // A daemon that went away is looked for again at once rather than a minute later.
        if (view_.killer && std::find(pids.begin(), pids.end(), view_.killer->pid) == pids.end()) {
            scanDue = true;
        }
    } else {
        refreshVictim(table);
    }
    if (scanDue) {
        findDaemon(root, pids, table, stats);
        lastDaemonScan_ = now;
    }
}

std::vector<OomScore> MachineForecaster::currentScores(double now, ProcRoot& root,
                                                       const std::vector<pid_t>& pids,
                                                       const ProcessTable& table,
                                                       PassStatistics& stats) {
    // The kernel scores a process by its resident memory, swap and page tables, which move
    // only with its statm figures, and by its oom_score_adj, which another process may set:
    // a kept score is read again at least once a minute (spread over the sweeps).
    constexpr double kLongestKept = 60;
    std::vector<OomScore> scores;
    std::vector<pid_t> toRead;
    std::unordered_map<pid_t, KnownScore> known;
    for (pid_t pid : pids) {
        const ProcessRecord* record = table.find(pid);
        if (record == nullptr && table.isKernelThread(pid)) {
            continue; // never a victim
        }
        auto kept = record != nullptr ? knownScores_.find(pid) : knownScores_.end();
        if (kept != knownScores_.end() && kept->second.startTime == record->startTime &&
            kept->second.memoryChanges == record->memoryChanges && now < kept->second.keptUntil &&
            now > kept->second.keptUntil - kLongestKept) {
            scores.push_back({pid, kept->second.score});
            known.insert(*kept);
        } else {
            toRead.push_back(pid);
        }
    }
    for (const OomScore& read : readOomScores(root, toRead, stats)) {
        scores.push_back(read);
        if (const ProcessRecord* record = table.find(read.pid)) {
            // Kept for half a minute to a minute by PID, so that the reads again spread out.
            const double keep =
                kLongestKept *
                (0.5 +
                 static_cast<double>((static_cast<uint32_t>(read.pid) * 2654435761u) % 64) / 128.0);
            known[read.pid] = {record->startTime, record->memoryChanges, now + keep, read.score};
        }
    }
    knownScores_ = std::move(known);
    return scores;
}

void MachineForecaster::sweepOomScores(double now, ProcRoot& root, const std::vector<pid_t>& pids,
                                       const ProcessTable& table, PassStatistics& stats) {
    std::vector<OomScore> scores = currentScores(now, root, pids, table, stats);
    view_.oomScoresRead = scores.size();
    // Equal scores: the larger footprint of our own processes first (the kernel's badness is
    // finer than the rounded score and grows with the footprint), then the newer PID.
    auto footprint = [&](pid_t pid) -> uint64_t {
        const ProcessRecord* record = table.find(pid);
        return record != nullptr ? record->footprintKiB() : 0;
    };
    const OomScore* top = nullptr;
    for (const OomScore& candidate : scores) {
        if (candidate.score <= 0) {
            continue; // never ended (oom_score_adj -1000) or a kernel thread
        }
        if (top == nullptr || candidate.score > top->score ||
            (candidate.score == top->score &&
             (footprint(candidate.pid) > footprint(top->pid) ||
              (footprint(candidate.pid) == footprint(top->pid) && candidate.pid > top->pid)))) {
            top = &candidate;
        }
    }
    if (top == nullptr) {
        view_.firstVictim.reset();
        return;
    }
    OomVictimView victim;
    victim.pid = top->pid;
    victim.oomScore = top->score;
    if (const ProcessRecord* record = table.find(top->pid)) {
        victim.ours = true;
        victim.name = displayText(record->comm, 64);
        victim.familyKey = record->familyKey;
        victim.familyTitle = record->familyTitle;
        victim.footprintKiB = record->footprintKiB();
        victimStartTime_ = record->startTime;
    } else {
        victim.name = displayText(readComm(root, top->pid, stats).value_or(""), 64);
        victimStartTime_ = 0;
    }
    view_.firstVictim = std::move(victim);
}

void MachineForecaster::refreshVictim(const ProcessTable& table) {
    if (!view_.firstVictim || !view_.firstVictim->ours) {
        return;
    }
    const ProcessRecord* record = table.find(view_.firstVictim->pid);
    if (record == nullptr || record->startTime != victimStartTime_) {
        view_.firstVictim.reset(); // ended: the next sweep names the next one
        return;
    }
    view_.firstVictim->footprintKiB = record->footprintKiB();
    view_.firstVictim->familyKey = record->familyKey;
    view_.firstVictim->familyTitle = record->familyTitle;
}

void MachineForecaster::findDaemon(ProcRoot& root, const std::vector<pid_t>& pids,
                                   const ProcessTable& table, PassStatistics& stats) {
    std::size_t before = stats.comm;
    std::optional<OomKiller> found;
    view_.daemonChecks.clear();
    for (pid_t pid : pids) {
        if (table.isKernelThread(pid)) {
            continue;
        }
        auto comm = readComm(root, pid, stats);
        if (!comm) {
            continue;
        }
        auto daemon = oomDaemonNamed(*comm);
        if (daemon && isDaemon(root, pid, *daemon)) {
            found = configure(root, *daemon, pid);
            break;
        }
    }
    view_.commsRead = stats.comm - before;
    view_.killer = std::move(found);
}

bool MachineForecaster::isDaemon(const ProcRoot& root, pid_t pid, OomDaemon daemon) {
    const std::string folder = root.path() + "/" + std::to_string(pid) + "/";
    view_.daemonChecks.push_back(folder + "exe");
    if (auto exe = root.readLink(pid, "exe")) {
        return isOomDaemonProgram(*exe, daemon);
    }
    // Another user's daemon hides its exe link; its command line is open, and only an absolute
    // path there can name the installed program.
    view_.daemonChecks.push_back(folder + "cmdline");
    auto raw = root.readWholePidFile(pid, "cmdline", 4096);
    if (!raw) {
        return false;
    }
    std::string program = raw->substr(0, raw->find('\0'));
    return program.starts_with('/') && isOomDaemonProgram(program, daemon);
}

OomKiller MachineForecaster::configure(const ProcRoot& root, OomDaemon daemon, pid_t pid) const {
    OomKiller killer;
    killer.daemon = daemon;
    killer.pid = pid;
    if (daemon == OomDaemon::systemdOomd) {
        for (const std::string& file : oomdConfigFiles(configRoot_)) {
            if (auto text = readSmallFile(file)) {
                applyOomdConfig(*text, killer.oomd);
                killer.configFiles.push_back(file);
            }
        }
        return killer;
    }
    // The running command line is what earlyoom was told; the defaults file only when the
    // command line cannot be read.
    if (auto raw = root.readWholePidFile(pid, "cmdline", 4096); raw && !raw->empty()) {
        std::vector<std::string> args = splitNulSeparated(*raw);
        if (!args.empty()) {
            args.erase(args.begin());
        }
        applyEarlyoomArgs(args, killer.earlyoom);
        killer.configFiles.push_back(root.path() + "/" + std::to_string(pid) + "/cmdline");
        return killer;
    }
    std::string file = underRoot(configRoot_, "/etc/default/earlyoom");
    if (auto text = readSmallFile(file)) {
        if (auto args = earlyoomArgsOf(*text)) {
            applyEarlyoomArgs(*args, killer.earlyoom);
        }
        killer.configFiles.push_back(file);
    }
    return killer;
}

} // namespace velmora
