// SPDX-License-Identifier: GPL-3.0-or-later
// Sampling pass CPU time (real /proc and a synthetic tree), answer time with 12 rows, the
// memory of 24 hours of series and the time to judge one family.

#include "model/Codec.h"
#include "monitor/compose/SnapshotComposer.h"
#include "monitor/live/MachineForecast.h"
#include "monitor/live/Sampler.h"
#include "monitor/scoring/FamilyScorer.h"

#include <benchmark/benchmark.h>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora {
namespace {

void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path) << text;
}

// A fake /proc with `count` processes in families of `familySize` (each a parent and its
// children of the same executable), plus meminfo and PSI.
std::string makeSyntheticTree(int count, int familySize = 5) {
    std::string root = "/tmp/velmora-bench-proc-" + std::to_string(::getpid()) + "-" +
                       std::to_string(count) + "-" + std::to_string(familySize);
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root + "/pressure");
    writeFile(root + "/meminfo", "MemTotal: 16000000 kB\nMemFree: 1000 kB\nMemAvailable: "
                                 "8000000 kB\nSwapTotal: 0 kB\nSwapFree: 0 kB\n");
    writeFile(root + "/pressure/memory", "some avg10=0.00 avg60=0.00 avg300=0.00 total=0\n"
                                         "full avg10=0.00 avg60=0.00 avg300=0.00 total=0\n");
    for (int i = 0; i < count; ++i) {
        int pid = 1000 + i;
        int parent = i % familySize == 0 ? 1 : pid - (i % familySize);
        std::string app = "app" + std::to_string(i / familySize);
        auto dir = std::filesystem::path(root) / std::to_string(pid);
        std::filesystem::create_directories(dir);
        writeFile(dir / "stat", std::to_string(pid) + " (" + app + ") S " + std::to_string(parent) +
                                    " 1 1 0 -1 0 0 0 0 0 100 20 0 0 20 0 1 0 " +
                                    std::to_string(5000 + i) + " 1000000 500 0\n");
        writeFile(dir / "statm", "50000 " + std::to_string(20000 + i) + " 3000 10 0 9000 0\n");
        writeFile(dir / "status", "Name:\tapp\nUid:\t0\t0\t0\t0\nVmSwap:\t   0 kB\n");
        writeFile(dir / "smaps_rollup", "Rss: 80000 kB\nAnonymous: 60000 kB\nSwap: 0 kB\n");
        writeFile(dir / "cmdline", "/usr/bin/" + app + '\0');
        writeFile(dir / "cgroup", "0::/user.slice\n");
        writeFile(dir / "oom_score", std::to_string(600 + i % 50) + "\n");
        writeFile(dir / "comm", app + "\n");
        std::filesystem::create_symlink("/usr/bin/" + app, dir / "exe");
    }
    return root;
}

void runPasses(benchmark::State& state, const std::string& procPath, int warmPasses = 3) {
    SamplerOptions options;
    options.procPath = procPath;
    options.uid = ::getuid();
    options.self = ::getpid();
    Sampler sampler(options);
    double now = 0;
    for (int warm = 0; warm < warmPasses; ++warm) {
        sampler.pass(now += 1.0, 0);
    }
    std::size_t processes = 0;
    for (auto _ : state) {
        auto view = sampler.pass(now += 1.0, 0);
        processes = view->watchedProcesses;
        benchmark::DoNotOptimize(view);
    }
    state.counters["processes"] = static_cast<double>(processes);
}

void BM_PassRealProc(benchmark::State& state) {
    runPasses(state, "/proc");
}
BENCHMARK(BM_PassRealProc)->Unit(benchmark::kMillisecond);

void BM_PassSyntheticTree(benchmark::State& state) {
    std::string root = makeSyntheticTree(static_cast<int>(state.range(0)));
    runPasses(state, root);
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_PassSyntheticTree)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

// `count` real processes forked from this one, each keeping 32 KiB in a mapped memfd and 32 KiB
// in a memfd held only by its descriptor, as desktop programs keep buffers: a pass over /proc
// then reads what it reads on a desktop of that many processes (plus the machine's own).
class SharedMemoryChildren {
public:
    explicit SharedMemoryChildren(int count) {
        for (int i = 0; i < count; ++i) {
            pid_t pid = ::fork();
            if (pid == 0) {
                holdAndWait();
            }
            if (pid > 0) {
                pids_.push_back(pid);
            }
        }
    }
    ~SharedMemoryChildren() {
        for (pid_t pid : pids_) {
            ::kill(pid, SIGKILL);
        }
        for (pid_t pid : pids_) {
            ::waitpid(pid, nullptr, 0);
        }
    }

private:
    [[noreturn]] static void holdAndWait() {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        constexpr std::size_t kBytes = 32 * 1024;
        int mapped = ::memfd_create("bench-mapped", MFD_CLOEXEC);
        if (mapped >= 0 && ::ftruncate(mapped, kBytes) == 0) {
            void* block = ::mmap(nullptr, kBytes, PROT_READ | PROT_WRITE, MAP_SHARED, mapped, 0);
            if (block != MAP_FAILED) {
                std::memset(block, 1, kBytes);
            }
            ::close(mapped);
        }
        int held = ::memfd_create("bench-held", MFD_CLOEXEC);
        static char page[kBytes] = {1};
        if (held >= 0 && ::write(held, page, kBytes) < 0) {
            ::_exit(1);
        }
        for (;;) {
            ::pause();
        }
    }

    std::vector<pid_t> pids_;
};

void BM_PassRealProcWithSharedMemoryChildren(benchmark::State& state) {
    SharedMemoryChildren children(static_cast<int>(state.range(0)));
    runPasses(state, "/proc");
}
BENCHMARK(BM_PassRealProcWithSharedMemoryChildren)
    ->Arg(300)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);
// Passes over large families: one family of 50 processes, and 20 of them (1,000 processes),
// after 16 minutes of passes, so that every window the judgement reads is full. A pass crosses
// a minute now and then, where each family is judged again.
void BM_PassFamiliesOf50(benchmark::State& state) {
    std::string root = makeSyntheticTree(static_cast<int>(state.range(0)), 50);
    runPasses(state, root, 16 * 60);
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_PassFamiliesOf50)->Arg(50)->Arg(1000)->Unit(benchmark::kMicrosecond);

// A view with 12 suspect families of 8 processes each, 60 sparkline points.
LiveView suspectView() {
    LiveView view;
    view.passCount = 100;
    view.monotonicTime = 3600;
    view.machine.valid = true;
    view.machine.memory = {32 * 1024 * 1024, 8 * 1024 * 1024, 0, 0};
    view.watchedProcesses = 300;
    view.familyCount = 120;
    for (int f = 0; f < 12; ++f) {
        FamilyView family;
        family.key = "proc:app" + std::to_string(f) + ":" + std::to_string(1000 + f) + ":5";
        family.title = "Application " + std::to_string(f);
        family.footprintKiB = 512 * 1024 + static_cast<uint64_t>(f) * 1024;
        family.assessment.hasRate = true;
        family.assessment.rateKiBPerSecond = 100;
        family.assessment.steadiness = 0.9;
        family.assessment.tau = 0.9;
        family.assessment.windowSeconds = 840;
        family.assessment.footprintKiB = family.footprintKiB;
        family.assessment.baselineKiB = 300 * 1024;
        family.assessment.score = 70 - f;
        family.assessment.verdict = FindingVerdict::probable;
        for (int i = 0; i < 60; ++i) {
            family.sparklineKiB.push_back(400000 + static_cast<uint32_t>(i) * 1000);
        }
        for (int m = 0; m < 8; ++m) {
            MemberView member;
            member.identity = {1000 + f * 10 + m, 5, 0, "/usr/bin/app"};
            member.name = "app";
            member.cmdline = "/usr/bin/app --flag value";
            member.footprintKiB = 64 * 1024;
            family.members.push_back(member);
        }
        view.families.push_back(std::move(family));
    }
    return view;
}

void BM_AnswerGetSnapshot12Rows(benchmark::State& state) {
    LiveView view = suspectView();
    ConfigStore config("/nonexistent/config.json");
    InteractionState interaction;
    interaction.selectedKey = view.families[0].key;
    MonitorPaths paths = MonitorPaths::fromEnvironment();
    std::size_t bytes = 0;
    for (auto _ : state) {
        ComposeContext context{&view, config, interaction, paths};
        PopoverSnapshot snapshot = composeSnapshot(context);
        std::string line = dumpJsonText(Json{{"kind", "snapshot"}, {"snapshot", encode(snapshot)}});
        bytes = line.size();
        benchmark::DoNotOptimize(line);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_AnswerGetSnapshot12Rows)->Unit(benchmark::kMicrosecond);

double residentMiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / 1048576.0;
}

// 24 simulated hours at one sample a second for `families` families.
void BM_SeriesMemory24Hours(benchmark::State& state) {
    auto families = static_cast<int>(state.range(0));
    for (auto _ : state) {
        double before = residentMiB();
        ScoringTuning t;
        MemorySeriesStore store(static_cast<std::size_t>(t.fineSampleCount),
                                static_cast<std::size_t>(t.bucketCount), t.bucketSeconds);
        std::vector<std::string> keys;
        for (int f = 0; f < families; ++f) {
            keys.push_back("proc:family-" + std::to_string(f) + ":" + std::to_string(1000 + f) +
                           ":1");
        }
        for (int second = 0; second < 86400; ++second) {
            for (int f = 0; f < families; ++f) {
                store.record(keys[static_cast<std::size_t>(f)], second,
                             100000 + static_cast<uint64_t>(second % 600),
                             static_cast<uint64_t>(second));
            }
        }
        state.counters["residentMiB"] = residentMiB();
        state.counters["addedMiB"] = residentMiB() - before;
        state.counters["storeKiBPerFamily"] =
            static_cast<double>(store.memoryBytes()) / 1024.0 / families;
    }
}
BENCHMARK(BM_SeriesMemory24Hours)->Arg(12)->Arg(300)->Iterations(1)->Unit(benchmark::kMillisecond);

// One judgement of a family with a day of history under a collector's sawtooth whose floor
// rises: every window is full, the long windows are read and the floor is judged.
void BM_AssessFamilyWithADayOfHistory(benchmark::State& state) {
    ScoringTuning t;
    FamilySeries series(static_cast<std::size_t>(t.fineSampleCount),
                        static_cast<std::size_t>(t.bucketCount), t.bucketSeconds);
    for (int second = 0; second < 86400; ++second) {
        auto kib = 300000 + second / 10 + (second % 90) * 800;
        series.append(second, static_cast<uint64_t>(kib), static_cast<uint64_t>(second));
    }
    FamilyScorer scorer(t, 1.0, 100);
    for (auto _ : state) {
        benchmark::DoNotOptimize(scorer.assess(series, 8000000));
    }
}
BENCHMARK(BM_AssessFamilyWithADayOfHistory)->Unit(benchmark::kMicrosecond);

// The out-of-memory forecast's work: arg 0 is a plain pass (one trend sample, the victim's
// footprint looked up), arg 1 the oom_score sweep a pass makes every 10 s, arg 2 the comm scan
// for a daemon it makes every minute.
void BM_ForecastUpdate(benchmark::State& state) {
    std::string root = makeSyntheticTree(300);
    ProcRoot proc(root);
    ProcessTable table(proc, ::getuid());
    PassStatistics stats;
    table.refresh(
        0, 2, 10, [](const ProcessRecord&) { return false; }, stats);
    MachineState machine = readMachineState(proc, stats);
    double sweep = state.range(0) == 1 ? 0.0 : 1e9;
    double scan = state.range(0) == 2 ? 0.0 : 1e9;
    MachineForecaster forecaster("/nonexistent/etc", sweep, scan);
    double now = 0;
    forecaster.update(now, machine, proc, table, stats);
    for (auto _ : state) {
        forecaster.update(now += 1.0, machine, proc, table, stats);
        benchmark::DoNotOptimize(forecaster.view());
    }
    state.counters["trendBytes"] = static_cast<double>(forecaster.trend().memoryBytes());
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_ForecastUpdate)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace velmora

BENCHMARK_MAIN();
