// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding a realistic ~100 KB response line: 50 rows of 60 sparkline samples, a full incident,
// a detail with an artifact, a relief plan and recent findings. Compares the raw JSON parse with
// parse + record decode, and the record decode alone, so the cost of building records shows.
#include "SnapshotBuilders.h"
#include "link/BackendEnvelope.h"
#include "model/Codec.h"

#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

const std::string& responseLine() {
    static const std::string line = encodeBackendEnvelope(
        {"snapshot", scenarios::largeSnapshot(50, 60), std::nullopt, std::nullopt});
    return line;
}

void BM_RawParse(benchmark::State& state) {
    const auto& line = responseLine();
    for (auto _ : state) {
        benchmark::DoNotOptimize(Json::parse(line));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
    state.counters["lineBytes"] = static_cast<double>(line.size());
}

// The same parse through parseJsonText, whose nesting limit the envelope decoder uses.
void BM_RawParseDepthLimited(benchmark::State& state) {
    const auto& line = responseLine();
    for (auto _ : state) {
        benchmark::DoNotOptimize(parseJsonText(line));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
}

void BM_ParseAndDecode(benchmark::State& state) {
    const auto& line = responseLine();
    for (auto _ : state) {
        auto decoded = decodeBackendEnvelope(line);
        if (!decoded) {
            state.SkipWithError(decoded.error().text().c_str());
            break;
        }
        benchmark::DoNotOptimize(decoded);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
}

void BM_DecodeParsedJson(benchmark::State& state) {
    const auto& line = responseLine();
    const Json parsed = Json::parse(line);
    for (auto _ : state) {
        auto decoded = decode<BackendEnvelope>(parsed);
        benchmark::DoNotOptimize(decoded);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
}

} // namespace

BENCHMARK(BM_RawParse)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawParseDepthLimited)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParseAndDecode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeParsedJson)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
