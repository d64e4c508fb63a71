// SPDX-License-Identifier: GPL-3.0-or-later
// Where a sampling pass over the real /proc spends its time, phase by phase: the sampler as
// the app's backend runs it (the current user's processes, 1 s tick) or, with --all-users, as
// `velmora serve --all-users` does (every user's, 10 s tick by default). Passes run on the real
// clock, `--interval` apart, after `--warmup` passes that discover the processes; prints the
// mean CPU time of each phase per pass and per watched process, and the files read per pass.
// real-cost.py's "split" mode starts real idle processes first.
//
//   monitor_pass_split [--passes 20] [--warmup 3] [--interval 1] [--all-users]
#include "monitor/live/Sampler.h"
#include "monitor/serve/ServeOptions.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace velmora;

namespace {

double monotonicSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Sums {
    PassCost cost;
    PassStatistics reads;
    double watched = 0;
    int passes = 0;

    void add(const LiveView& view) {
        const PassCost& c = view.stats.cost;
        const std::pair<double*, double> phases[] = {
            {&cost.listing, c.listing},     {&cost.memory, c.memory},
            {&cost.discovery, c.discovery}, {&cost.background, c.background},
            {&cost.details, c.details},     {&cost.machine, c.machine},
            {&cost.forecast, c.forecast},   {&cost.series, c.series},
            {&cost.scoring, c.scoring},     {&cost.publishing, c.publishing}};
        for (const auto& [sum, value] : phases) {
            *sum += value;
        }
        const PassStatistics& s = view.stats;
        reads.statm += s.statm;
        reads.stat += s.stat;
        reads.status += s.status;
        reads.smapsRollup += s.smapsRollup;
        reads.cmdline += s.cmdline;
        reads.cgroup += s.cgroup;
        reads.oomScore += s.oomScore;
        reads.descriptorScans += s.descriptorScans;
        reads.heldSharedFiles += s.heldSharedFiles;
        reads.discovered += s.discovered;
        reads.listed += s.listed;
        watched += static_cast<double>(view.watchedProcesses);
        ++passes;
    }
};

void print(const Sums& sums) {
    const double n = sums.passes;
    const double processes = sums.watched / n;
    std::printf("%d passes, %.0f processes listed, %.0f watched\n", sums.passes,
                static_cast<double>(sums.reads.listed) / n, processes);
    std::printf("%-12s %12s %16s\n", "phase", "ms per pass", "us per process");
    const std::pair<const char*, double> phases[] = {
        {"listing", sums.cost.listing},     {"memory", sums.cost.memory},
        {"discovery", sums.cost.discovery}, {"background", sums.cost.background},
        {"details", sums.cost.details},     {"machine", sums.cost.machine},
        {"forecast", sums.cost.forecast},   {"series", sums.cost.series},
        {"scoring", sums.cost.scoring},     {"publishing", sums.cost.publishing},
        {"total", sums.cost.total()}};
    for (const auto& [name, seconds] : phases) {
        std::printf("%-12s %12.3f %16.3f\n", name, seconds / n * 1000,
                    seconds / n / processes * 1e6);
    }
    const PassStatistics& r = sums.reads;
    std::printf("files per pass: statm %.1f, stat %.1f, status %.1f, smaps_rollup %.1f, "
                "cmdline %.1f, cgroup %.1f, oom_score %.1f, descriptor listings %.1f, held "
                "files %.1f; discovered %.1f\n",
                static_cast<double>(r.statm) / n, static_cast<double>(r.stat) / n,
                static_cast<double>(r.status) / n, static_cast<double>(r.smapsRollup) / n,
                static_cast<double>(r.cmdline) / n, static_cast<double>(r.cgroup) / n,
                static_cast<double>(r.oomScore) / n, static_cast<double>(r.descriptorScans) / n,
                static_cast<double>(r.heldSharedFiles) / n, static_cast<double>(r.discovered) / n);
}

} // namespace

int main(int argc, char** argv) {
    int passes = 20;
    int warmup = 3;
    double interval = 1;
    bool allUsers = false;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--all-users") == 0) {
            allUsers = true;
        } else if (std::strcmp(argv[i], "--passes") == 0 && hasValue) {
            passes = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--warmup") == 0 && hasValue) {
            warmup = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--interval") == 0 && hasValue) {
            interval = std::atof(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: monitor_pass_split [--passes N] [--warmup N] "
                                 "[--interval SECONDS] [--all-users]\n");
            return 2;
        }
    }
    SamplerOptions options;
    options.uid = ::getuid();
    options.self = ::getpid();
    if (allUsers) {
        options.allUsers = true;
        options.sampling = headlessSampling(SamplingTuning{}, interval);
        options.rankedFamilies = 200;
        options.forecastVictims = false;
    } else {
        options.sampling.sampleIntervalSeconds = interval;
    }
    Sampler sampler(options);
    Sums sums;
    double next = monotonicSeconds();
    for (int pass = 0; pass < warmup + passes; ++pass) {
        auto view = sampler.pass(monotonicSeconds(), 0);
        if (pass >= warmup) {
            sums.add(*view);
        }
        next += interval;
        std::this_thread::sleep_for(std::chrono::duration<double>(next - monotonicSeconds()));
    }
    print(sums);
    return 0;
}
