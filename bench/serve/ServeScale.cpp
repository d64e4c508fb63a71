// SPDX-License-Identifier: GPL-3.0-or-later
// The headless monitor at scale: "velmora serve"'s work at its default 10 s tick over a fake
// /proc of 10,000 processes (2,000 families of five, twenty of them leaking 20 MB/min), on a
// simulated clock. Each tick is what the real one does: the sampling pass, the suspects' quick
// reads between ticks (one a second), the history, the export and the textfile. After 15
// simulated minutes of warm-up it measures 10 minutes: the CPU time per tick as a share of one
// core, the resident memory of the whole program, and the latency of 200 scrapes of the real
// HTTP endpoint. Prints the figures and PASS or FAIL against 1 % of a core, 40 MB and 50 ms.
//
//   serve_scale [--processes 10000] [--interval 10] [--tree DIR]
#include "FakeProcTree.h"
#include "ServeHarness.h"
#include "monitor/config/MonitorPaths.h"
#include "monitor/live/HistoryService.h"
#include "monitor/live/Sampler.h"
#include "monitor/serve/FamilyExport.h"
#include "monitor/serve/MetricsEndpoint.h"
#include "monitor/serve/ProcessMetrics.h"
#include "monitor/serve/ServeOptions.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <time.h>
#include <unistd.h>
#include <vector>

using namespace velmora;

namespace {

double cpuSeconds() {
    timespec ts{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

double residentMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atof(line.c_str() + 6) / 1024.0;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    int processes = 10000;
    double interval = 10;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--processes") == 0) {
            processes = std::atoi(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--interval") == 0) {
            interval = std::atof(argv[i + 1]);
        }
    }
    constexpr int kFamilySize = 5;
    constexpr int kLeakers = 20;
    const int families = processes / kFamilySize;

    test::FakeProcTree proc;
    proc.write("vmstat", "oom_kill 0\n");
    std::printf("building a fake /proc of %d processes in %s...\n", processes, proc.root.c_str());
    for (int i = 0; i < processes; ++i) {
        int family = i / kFamilySize;
        int first = 1000 + family * kFamilySize;
        proc.addProcess(1000 + i, i % kFamilySize == 0 ? 1 : first, "app" + std::to_string(family),
                        5000 + static_cast<uint64_t>(i % 97) * 50);
    }

    char dataDir[] = "/tmp/velmora-serve-scale-XXXXXX";
    if (::mkdtemp(dataDir) == nullptr) {
        std::perror("serve_scale: cannot make a data folder in /tmp");
        return 1;
    }
    SamplerOptions options;
    options.procPath = proc.root;
    options.uid = ::getuid();
    options.self = ::getpid();
    options.sampling = headlessSampling(SamplingTuning{}, interval);
    options.rankedFamilies = 200;
    Sampler sampler(options);
    HistoryService history(DataFolder{dataDir}, SettingsStorageMode::balanced);
    FamilyExport exporter(FamilyExportOptions{200, 600, false, "bench", nullptr, nullptr});
    const std::string textfile = std::string(dataDir) + "/velmora.prom";
    sampler.setBaselineSource(
        [&](const std::string& key) { return history.storedBaselineKiB(key); });
    int port = testing::freePort();
    MetricsEndpoint endpoint("127.0.0.1:" + std::to_string(port), [&exporter] {
        auto all = *exporter.metrics();
        for (auto& metric : processMetrics()) {
            all.push_back(std::move(metric));
        }
        return all;
    });

    const int quickPerTick = static_cast<int>(interval / options.sampling.suspectSampleSeconds) - 1;
    const int warmupTicks = static_cast<int>(15 * 60 / interval);
    const int measuredTicks = static_cast<int>(10 * 60 / interval);
    double now = 1000;
    double measuredCpu = 0;
    double worstTickCpu = 0;
    std::size_t suspects = 0;
    for (int tick = 0; tick < warmupTicks + measuredTicks; ++tick) {
        // The leakers' first process grows 20 MB/min, a step at every tick.
        for (int f = 0; f < kLeakers; ++f) {
            int pid = 1000 + f * (families / kLeakers) * kFamilySize;
            proc.setResident(pid, 5000 + static_cast<uint64_t>(tick * interval / 60 * 20 * 256));
        }
        double start = cpuSeconds();
        for (int q = 0; q < quickPerTick; ++q) {
            sampler.quickPass();
        }
        now += interval;
        auto view = sampler.pass(now, 1.8e9 + now);
        history.afterPass(*view);
        exporter.update(*view);
        std::string error;
        saveFile(textfile, textExposition(*exporter.metrics()), error, 0644);
        double used = cpuSeconds() - start;
        if (tick >= warmupTicks) {
            measuredCpu += used;
            worstTickCpu = std::max(worstTickCpu, used);
            suspects = static_cast<std::size_t>(
                std::count_if(view->ranked.begin(), view->ranked.end(), [](const RankedFamily& f) {
                    return f.assessment.verdict >= FindingVerdict::watch;
                }));
        }
    }
    const double cpuShare = measuredCpu / (measuredTicks * interval);
    const double rss = residentMiB();

    std::vector<double> latencies;
    std::size_t bytes = 0;
    const double scrapeCpuStart = cpuSeconds();
    for (int i = 0; i < 200; ++i) {
        auto start = std::chrono::steady_clock::now();
        bytes = testing::httpGet(port, "/metrics").body.size();
        latencies.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    // Both ends of each scrape run in this process: the server's work and a plain client's.
    const double scrapeCpuMs = (cpuSeconds() - scrapeCpuStart) / 200 * 1000;
    std::sort(latencies.begin(), latencies.end());
    const double median = latencies[latencies.size() / 2];
    const double p99 = latencies[latencies.size() * 99 / 100];
    const double worst = latencies.back();

    std::printf("processes %d, families %d, tick %.0f s, %d quick reads per tick, "
                "%zu families flagged\n",
                processes, families, interval, quickPerTick, suspects);
    std::printf("CPU: %.1f ms per tick on average (worst %.1f ms) = %.3f %% of one core\n",
                measuredCpu / measuredTicks * 1000, worstTickCpu * 1000, cpuShare * 100);
    std::printf("resident memory: %.1f MiB\n", rss);
    std::printf("scrape (%zu bytes): median %.2f ms, p99 %.2f ms, worst %.2f ms; %.2f ms of CPU "
                "each\n",
                bytes, median, p99, worst, scrapeCpuMs);
    const bool pass = cpuShare <= 0.01 && rss <= 40 && worst < 50;
    std::printf("%s (at most 1 %% of a core, 40 MB, 50 ms)\n", pass ? "PASS" : "FAIL");
    std::filesystem::remove_all(dataDir);
    return pass ? 0 : 1;
}
