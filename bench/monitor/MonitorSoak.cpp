// SPDX-License-Identifier: GPL-3.0-or-later
// The monitor's soak: the real sampler over a fake /proc tree that churns the way a busy
// desktop does, at an accelerated clock. Processes appear and vanish every pass and by the
// thousand in bursts, families come and go under new names, running processes rename
// themselves, some families belong to systemd app scopes whose ids keep changing (each scope a
// memory cgroup, removed once empty), and now and then the out-of-memory killer ends one (the
// machine's oom_kill counter and its cgroup's rise). The first
// simulated day is the warm-up (every family series has filled its rings by then); the
// program then prints its own anonymous and resident memory at regular points of the
// measured span, the least-squares slope and PASS or FAIL against "less than 1 MB of change".
//
// The request side runs too, on the same simulated clock: every pass goes through the SQLite
// history (a minute written whenever one closes, pruning when due), an answer is composed and
// encoded as the stdio loop does, and every 30 passes the advanced history is read with the
// lead family selected.
//
//   monitor_soak [--processes 2000] [--seconds-per-pass 20] [--warmup-hours 24]
//                [--measure-hours 24] [--tree DIR]
#include "model/Codec.h"
#include "monitor/compose/SnapshotComposer.h"
#include "monitor/live/HistoryService.h"
#include "monitor/live/Sampler.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace fs = std::filesystem;
using namespace velmora;

namespace {

long fieldKiB(const char* path, const char* name) {
    std::ifstream in(path);
    std::string line;
    const std::size_t length = std::strlen(name);
    while (std::getline(in, line)) {
        if (line.compare(0, length, name) == 0) {
            return std::strtol(line.c_str() + length, nullptr, 10);
        }
    }
    return -1;
}

struct Memory {
    long anonymousKiB;
    long residentKiB;
};

Memory memoryNow() {
    return {fieldKiB("/proc/self/smaps_rollup", "Anonymous:"),
            fieldKiB("/proc/self/status", "VmRSS:")};
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path) << text;
}

// One fake process: where it lives in the tree and what it calls itself.
struct FakeProcess {
    int parent = 1;
    std::string name;
    std::string exe;
    std::string cgroup;
    uint64_t startTicks = 0;
    uint64_t residentPages = 0;
};

class FakeProc {
public:
    explicit FakeProc(fs::path root)
        : root_(std::move(root)), cgroupRoot_(root_.string() + "-cgroup") {
        fs::remove_all(root_);
        fs::remove_all(cgroupRoot_);
        fs::create_directories(root_ / "pressure");
        writeFile(root_ / "pressure/memory", "some avg10=0.00 avg60=0.00 avg300=0.00 total=0\n"
                                             "full avg10=0.00 avg60=0.00 avg300=0.00 total=0\n");
        setMachine(8000000);
        writeVmStat();
    }
    ~FakeProc() {
        fs::remove_all(root_);
        fs::remove_all(cgroupRoot_);
    }

    const fs::path& root() const { return root_; }
    const fs::path& cgroupRoot() const { return cgroupRoot_; }

    void setMachine(uint64_t availableKiB) {
        writeFile(root_ / "meminfo", "MemTotal: 16000000 kB\nMemFree: 1000 kB\nMemAvailable: " +
                                         std::to_string(availableKiB) +
                                         " kB\nSwapTotal: 0 kB\nSwapFree: 0 kB\n");
    }

    void spawn(int pid, FakeProcess process) {
        const fs::path dir = root_ / std::to_string(pid);
        fs::create_directories(dir);
        writeFile(dir / "cmdline", process.exe + '\0' + "--instance" + '\0' + std::to_string(pid));
        writeFile(dir / "cgroup", process.cgroup);
        fs::create_symlink(process.exe, dir / "exe");
        writeFile(dir / "oom_score", std::to_string(pid % 1000) + "\n");
        if (Cgroup& cgroup = cgroups_[cgroupOf(process)]; cgroup.members++ == 0) {
            writeKills(cgroupOf(process), cgroup.kills);
        }
        processes_[pid] = std::move(process);
        writeStat(pid);
        writeMemory(pid);
    }

    // The process leaves; its cgroup is removed once empty, as systemd removes a scope.
    void vanish(int pid) {
        fs::remove_all(root_ / std::to_string(pid));
        const std::string cgroup = cgroupOf(processes_[pid]);
        if (--cgroups_[cgroup].members == 0) {
            fs::remove_all(cgroupRoot_ / cgroup);
            cgroups_.erase(cgroup);
        }
        processes_.erase(pid);
    }

    // The kernel's out-of-memory killer ends `pid`: the machine's kill counter and its cgroup's
    // rise as the process goes.
    void killOutOfMemory(int pid) {
        ++oomKills_;
        writeVmStat();
        const std::string cgroup = cgroupOf(processes_[pid]);
        writeKills(cgroup, ++cgroups_[cgroup].kills);
        vanish(pid);
    }

    void rename(int pid, const std::string& name) {
        processes_[pid].name = name;
        writeStat(pid);
    }

    void grow(int pid, uint64_t pages) {
        processes_[pid].residentPages = pages;
        writeMemory(pid);
    }

    std::vector<int> pids() const {
        std::vector<int> all;
        all.reserve(processes_.size());
        for (const auto& [pid, process] : processes_) {
            all.push_back(pid);
        }
        return all;
    }
    bool has(int pid) const { return processes_.count(pid) != 0; }
    std::size_t size() const { return processes_.size(); }

private:
    struct Cgroup {
        std::size_t members = 0;
        uint64_t kills = 0;
    };

    // "user.slice/app.scope" of "0::/user.slice/app.scope\n".
    static std::string cgroupOf(const FakeProcess& process) {
        std::string path = process.cgroup.substr(4);
        while (!path.empty() && path.back() == '\n') {
            path.pop_back();
        }
        return path;
    }
    void writeKills(const std::string& cgroup, uint64_t kills) {
        fs::create_directories(cgroupRoot_ / cgroup);
        writeFile(cgroupRoot_ / cgroup / "memory.events",
                  "low 0\nhigh 0\nmax 0\noom 0\noom_kill " + std::to_string(kills) + "\n");
    }
    void writeVmStat() {
        writeFile(root_ / "vmstat", "pgfault 1000\noom_kill " + std::to_string(oomKills_) + "\n");
    }
    void writeStat(int pid) {
        const auto& p = processes_[pid];
        writeFile(root_ / std::to_string(pid) / "stat",
                  std::to_string(pid) + " (" + p.name + ") S " + std::to_string(p.parent) +
                      " 1 1 0 -1 0 0 0 0 0 100 20 0 0 20 0 1 0 " + std::to_string(p.startTicks) +
                      " 1000000 500 0\n");
        writeFile(root_ / std::to_string(pid) / "comm", p.name + "\n");
    }
    void writeMemory(int pid) {
        const auto& p = processes_[pid];
        const fs::path dir = root_ / std::to_string(pid);
        writeFile(dir / "statm",
                  "90000 " + std::to_string(p.residentPages) + " 3000 10 0 9000 0\n");
        writeFile(dir / "status", "Name:\t" + p.name + "\nUid:\t" + std::to_string(::getuid()) +
                                      "\t0\t0\t0\nVmSwap:\t   0 kB\n");
        writeFile(dir / "smaps_rollup",
                  "Rss: " + std::to_string(p.residentPages * 4) + " kB\nAnonymous: " +
                      std::to_string(p.residentPages * 3) + " kB\nSwap: 0 kB\n");
    }

    fs::path root_;
    fs::path cgroupRoot_;
    std::unordered_map<int, FakeProcess> processes_;
    std::unordered_map<std::string, Cgroup> cgroups_;
    uint64_t oomKills_ = 0;
};

struct Options {
    int processes = 2000;
    double secondsPerPass = 20;
    double warmupHours = 24;
    double measureHours = 24;
    std::string tree;
};

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--processes") {
            options.processes = std::atoi(value);
        } else if (name == "--seconds-per-pass") {
            options.secondsPerPass = std::atof(value);
        } else if (name == "--warmup-hours") {
            options.warmupHours = std::atof(value);
        } else if (name == "--measure-hours") {
            options.measureHours = std::atof(value);
        } else if (name == "--tree") {
            options.tree = value;
        } else {
            std::fprintf(stderr, "unknown option %s\n", name.c_str());
            std::exit(64);
        }
    }
    return options;
}

// The churning desktop: a population of processes grouped under a parent per family, some
// in systemd app scopes, whose names and app ids move on with `generation`.
class Desktop {
public:
    Desktop(FakeProc& proc, int population) : proc_(proc), population_(population) {}

    void fill(uint64_t ticks) {
        while (static_cast<int>(proc_.size()) < population_) {
            spawnOne(ticks);
        }
    }

    void churn(uint64_t pass, uint64_t ticks) {
        // Every pass: a few percent leave, as many arrive.
        auto pids = proc_.pids();
        std::shuffle(pids.begin(), pids.end(), random_);
        const std::size_t steady = pids.size() / 40;
        // Every 100 passes: a burst, half the population replaced at once.
        const std::size_t leaving = pass % 100 == 99 ? pids.size() / 2 : steady;
        for (std::size_t i = 0; i < leaving && i < pids.size(); ++i) {
            // Now and then the out-of-memory killer ends one, so kills are recorded too.
            if (i == 0 && pass % 7 == 3) {
                proc_.killOutOfMemory(pids[i]);
            } else {
                proc_.vanish(pids[i]);
            }
        }
        if (pass % 50 == 0) {
            ++generation_;
        }
        fill(ticks);
        // Running processes rename themselves and their memory moves.
        pids = proc_.pids();
        for (std::size_t i = 0; i < pids.size(); i += 17) {
            const int pid = pids[i];
            if ((pass + i) % 5 == 0) {
                proc_.rename(pid, "worker-" + std::to_string(pass % 97) + "-" + std::to_string(i));
            }
            proc_.grow(pid, 10000 + (pass * 37 + i * 11) % 40000);
        }
        proc_.setMachine(6000000 + (pass * 7919) % 4000000);
    }

private:
    void spawnOne(uint64_t ticks) {
        const int pid = nextPid_++;
        if (nextPid_ > 4000000) {
            nextPid_ = 1000; // PIDs wrap around, as they do
        }
        if (proc_.has(pid)) {
            return;
        }
        const int family = static_cast<int>(random_() % 300);
        const auto app = "app" + std::to_string(family + 300 * (generation_ % 11));
        FakeProcess process;
        process.name = app.substr(0, 15);
        process.exe = "/usr/bin/" + app;
        process.startTicks = ticks + static_cast<uint64_t>(pid);
        process.residentPages = 10000 + random_() % 40000;
        if (family % 4 == 0) {
            process.cgroup = "0::/user.slice/user-1000.slice/user@1000.service/app.slice/"
                             "app-gnome-org.soak." +
                             app + "-" + std::to_string(generation_) + ".scope\n";
        } else {
            process.cgroup = "0::/user.slice\n";
        }
        // A third of the processes are children of an earlier process of the same family.
        if (auto parent = lastOf_.find(app);
            parent != lastOf_.end() && proc_.has(parent->second) && random_() % 3 != 0) {
            process.parent = parent->second;
        }
        lastOf_[app] = pid;
        proc_.spawn(pid, std::move(process));
    }

    FakeProc& proc_;
    int population_;
    int nextPid_ = 1000;
    uint64_t generation_ = 0;
    std::mt19937_64 random_{20260101};
    std::unordered_map<std::string, int> lastOf_;
};

// What the request thread does for each poll, on the soak's clock: the history's footer and
// lines, a composed answer encoded to its line, and now and then the advanced history.
class RequestSide {
public:
    RequestSide(const fs::path& root, const double& now)
        : config_((root / "config.json").string()),
          history_(DataFolder{root / "data"}, SettingsStorageMode::balanced,
                   [&now] { return kSoakEpochMs + static_cast<int64_t>(now * 1000); }) {
        paths_.home = root.string();
        paths_.configDir = root.string();
        paths_.configFile = config_.path();
        paths_.dataDir = (root / "data").string();
        paths_.artifactsDir = (root / "data" / "artifacts").string();
        paths_.reportsDir = (root / "data" / "reports").string();
        paths_.logsDir = (root / "data" / "logs").string();
    }

    // Returns the bytes of the answer's line, so the work cannot be optimised away.
    std::size_t afterPass(const LiveView& view, uint64_t pass, double now) {
        history_.afterPass(view);
        ComposeContext compose{&view, config_, interaction_, paths_};
        compose.monotonicNow = now;
        compose.wallNow = now;
        compose.footer = history_.footer();
        compose.historyLine = [this](const std::string& key) { return history_.historyLine(key); };
        const PopoverSnapshot snapshot = composeSnapshot(compose);
        mostKillsListed_ = std::max(mostKillsListed_, snapshot.outOfMemoryKills.size());
        std::size_t bytes =
            dumpJsonText(Json{{"kind", "snapshot"}, {"snapshot", encode(snapshot)}}).size();
        if (pass % 30 == 0) {
            std::set<std::string> live;
            for (const auto& row : snapshot.rows) {
                live.insert(row.key);
            }
            std::optional<std::string> selected;
            if (!snapshot.rows.empty()) {
                selected = snapshot.rows.front().key;
            }
            if (auto history = history_.snapshot(selected, live)) {
                bytes += dumpJsonText(encode(history.value())).size();
            }
        }
        return bytes;
    }

    // The most out-of-memory kills one answer listed: shows the kill records were exercised.
    std::size_t mostKillsListed() const { return mostKillsListed_; }

private:
    std::size_t mostKillsListed_ = 0;
    static constexpr int64_t kSoakEpochMs = 1'796'000'000'000; // a Monday in 2026
    ConfigStore config_;
    InteractionState interaction_;
    MonitorPaths paths_;
    HistoryService history_;
};

} // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    const std::string tree =
        options.tree.empty()
            ? (fs::exists("/dev/shm") ? "/dev/shm/velmora-soak-proc-" : "/tmp/velmora-soak-proc-") +
                  std::to_string(::getpid())
            : options.tree;
    FakeProc proc(tree);
    Desktop desktop(proc, options.processes);
    desktop.fill(0);

    SamplerOptions samplerOptions;
    samplerOptions.procPath = proc.root().string();
    samplerOptions.cgroupPath = proc.cgroupRoot().string();
    samplerOptions.uid = ::getuid();
    samplerOptions.self = ::getpid();
    Sampler sampler(samplerOptions);
    double now = 0;
    const fs::path requestRoot = tree + "-data";
    fs::create_directories(requestRoot);
    struct RemovedAtExit {
        fs::path path;
        ~RemovedAtExit() { fs::remove_all(path); }
    } removed{requestRoot}; // outlives the history, which flushes when it ends
    RequestSide requests(requestRoot, now);

    const auto warmupPasses =
        static_cast<uint64_t>(options.warmupHours * 3600 / options.secondsPerPass);
    const auto measuredPasses =
        static_cast<uint64_t>(options.measureHours * 3600 / options.secondsPerPass);
    const uint64_t report = std::max<uint64_t>(1, measuredPasses / 12);
    std::printf("monitor soak: %d processes, %.0f s per pass, warm-up %llu passes (%.1f h), "
                "measured %llu passes (%.1f h)\n",
                options.processes, options.secondsPerPass,
                static_cast<unsigned long long>(warmupPasses), options.warmupHours,
                static_cast<unsigned long long>(measuredPasses), options.measureHours);
    std::fflush(stdout);

    std::vector<std::pair<double, long>> measured;
    std::size_t families = 0;
    std::size_t answered = 0;
    for (uint64_t pass = 0; pass < warmupPasses + measuredPasses; ++pass) {
        desktop.churn(pass, static_cast<uint64_t>(now * 100));
        now += options.secondsPerPass;
        const auto view = sampler.pass(now, now);
        families = view->familyCount;
        answered += requests.afterPass(*view, pass, now);
        const bool warm = pass + 1 == warmupPasses;
        const bool point = pass >= warmupPasses && (pass + 1 - warmupPasses) % report == 0;
        if (warm || point || pass % 500 == 0) {
            const Memory memory = memoryNow();
            const double hours = now / 3600;
            std::printf("pass %6llu  %6.2f h  anonymous %7ld kB  resident %7ld kB  families %5zu  "
                        "series %7zu kB%s\n",
                        static_cast<unsigned long long>(pass + 1), hours, memory.anonymousKiB,
                        memory.residentKiB, families, sampler.store().memoryBytes() / 1024,
                        warm ? "  (end of warm-up)" : "");
            std::fflush(stdout);
            if (warm || point) {
                measured.emplace_back(hours, memory.anonymousKiB);
            }
        }
    }

    if (measured.size() < 2) {
        std::printf("FAIL: too few measured points\n");
        return 1;
    }
    double mx = 0;
    double my = 0;
    for (const auto& [x, y] : measured) {
        mx += x;
        my += static_cast<double>(y);
    }
    mx /= static_cast<double>(measured.size());
    my /= static_cast<double>(measured.size());
    double sxx = 0;
    double sxy = 0;
    for (const auto& [x, y] : measured) {
        sxx += (x - mx) * (x - mx);
        sxy += (x - mx) * (static_cast<double>(y) - my);
    }
    const double slope = sxx > 0 ? sxy / sxx : 0; // kB per simulated hour
    const long change = measured.back().second - measured.front().second;
    std::printf("after warm-up: anonymous %ld kB -> %ld kB (change %+ld kB) over %.1f simulated "
                "hours; slope %+.1f kB/h\n",
                measured.front().second, measured.back().second, change,
                measured.back().first - measured.front().first, slope);
    std::printf("answers: %.1f MB of JSON lines composed, up to %zu out-of-memory kills listed\n",
                static_cast<double>(answered) / 1e6, requests.mostKillsListed());
    const bool passed = std::labs(change) < 1024;
    std::printf("%s: the monitor's anonymous memory must change by less than 1 MB\n",
                passed ? "PASS" : "FAIL");
    return passed ? 0 : 1;
}
