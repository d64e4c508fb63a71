// SPDX-License-Identifier: GPL-3.0-or-later
// How fast heaptrack_print's report is read as it arrives, in 64 KiB pieces as from its pipe:
// reports of a C++ program with deep stacks (40 frames of long names per entry), from about a
// megabyte to about a hundred, with the largest entry last.

#include "monitor/where/HeaptrackPrint.h"

#include <benchmark/benchmark.h>
#include <string>
#include <string_view>

namespace {

std::string report(int entries) {
    std::string frames;
    for (int level = 0; level < 40; ++level) {
        frames += "  application::layers::Layer" + std::to_string(level) +
                  "::descend(int, unsigned long, std::map<std::string, std::vector<int>>&)\n"
                  "    at /home/someone/src/application/layers/layer.cpp:" +
                  std::to_string(100 + level) + "\n    in /home/someone/src/application/app\n";
    }
    std::string text = "MEMORY LEAKS\n";
    for (int i = 0; i < entries; ++i) {
        text += std::to_string(i % 997 + 1) + ".00K leaked over 3 calls from\n  leak" +
                std::to_string(i) + "()\n    at /src/leak.cpp:" + std::to_string(i + 1) +
                "\n    in /src/app\n" + frames + "\n";
    }
    text += "5.37G leaked over 81920 calls from\n  leakyCacheInsert(unsigned long)\n" + frames +
            "\ntotal runtime: 60.00s.\ntotal memory leaked: 5.38G\n";
    return text;
}

void readReport(benchmark::State& state) {
    const std::string text = report(static_cast<int>(state.range(0)));
    std::size_t sites = 0;
    for (auto _ : state) {
        velmora::HeaptrackPrintReader reader;
        for (std::size_t at = 0; at < text.size(); at += 65536) {
            reader.feed(std::string_view(text).substr(at, 65536));
        }
        auto read = reader.finish();
        sites = read ? read.value().sites.size() : 0;
        benchmark::DoNotOptimize(sites);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["report_MB"] = static_cast<double>(text.size()) / 1e6;
    state.counters["sites_kept"] = static_cast<double>(sites);
}
BENCHMARK(readReport)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
