// SPDX-License-Identifier: GPL-3.0-or-later
// The advanced-history query over 90 days of one-minute footprints for 200 families, and the
// database's size per family-day. The fixture database is built once (a few minutes) under
// $TMPDIR/velmora-history-bench and reused by later runs. Also the stored-baseline lookup.

#include "monitor/history/AdvancedHistory.h"
#include "monitor/history/HistoryStore.h"
#include "monitor/live/StoredBaselines.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>

using namespace velmora;

namespace {

constexpr int kFamilies = 200;
constexpr int kDays = 90;
constexpr int64_t kStartMs = 1'772'236'800'000; // 2026-02-28 00:00 UTC
constexpr int64_t kNowMs = kStartMs + kDays * kDayMs;

std::filesystem::path fixtureDir() {
    return std::filesystem::temp_directory_path() / "velmora-history-bench" / "v2";
}

HistoryStoreOptions optionsFor(const std::filesystem::path& file) {
    HistoryStoreOptions options;
    options.file = file;
    options.clock = [] { return kNowMs; };
    return options;
}

// Family f leaks for 20 minutes every (f % 9 + 2) days, at its own hour; every fifth one of
// those goes critical. Every other minute is calm.
FamilyMinute minuteOf(int family, int64_t minute) {
    int64_t day = minute / 1440;
    int64_t minuteOfDay = minute % 1440;
    int64_t startMinute = (family % 24) * 60;
    bool leaking =
        day % (family % 9 + 2) == 0 && minuteOfDay >= startMinute && minuteOfDay < startMinute + 20;
    bool critical = leaking && day % 5 == 0 && minuteOfDay == startMinute + 19;
    auto bytes = static_cast<uint64_t>(80 + family % 50 + (leaking ? minuteOfDay - startMinute : 0))
                 << 20;
    FindingVerdict verdict = critical  ? FindingVerdict::criticalRunaway
                             : leaking ? FindingVerdict::probable
                                       : FindingVerdict::normal;
    return FamilyMinute{"app.family" + std::to_string(family),
                        "Family " + std::to_string(family),
                        kStartMs + minute * kMinuteMs,
                        bytes,
                        static_cast<uint32_t>(leaking ? 60 + minuteOfDay - startMinute : 8),
                        verdict,
                        leaking ? 4.0 : 0.0};
}

std::filesystem::path buildFixture() {
    auto dir = fixtureDir();
    auto file = dir / "history.sqlite3";
    auto done = dir / "complete";
    if (std::filesystem::exists(done)) {
        return file;
    }
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    {
        HistoryStore store(optionsFor(file));
        for (int64_t minute = 0; minute < kDays * 1440; ++minute) {
            for (int family = 0; family < kFamilies; ++family) {
                store.record(minuteOf(family, minute));
            }
            if (minute % 60 == 59) {
                store.flush();
            }
        }
        for (int family = 0; family < kFamilies; family += 3) {
            std::string key = "app.family" + std::to_string(family);
            store.recordAction(ActionRecord{key, "Family", "restart", "Restarted.", true,
                                            kNowMs - family * kHourMs});
            ArtifactRecord artifact;
            artifact.familyKey = key;
            artifact.path = (dir / ("evidence-" + key + ".json")).string();
            artifact.createdMs = kNowMs - family * kHourMs;
            store.recordArtifact(artifact);
        }
        store.flush();
        store.compact();
    }
    std::FILE* marker = std::fopen(done.c_str(), "w");
    if (marker) {
        std::fclose(marker);
    }
    return file;
}

HistoryStore& fixtureStore() {
    static HistoryStore store(optionsFor(buildFixture()));
    return store;
}

void BM_AdvancedHistoryOffenders(benchmark::State& state) {
    AdvancedHistory history(fixtureStore());
    std::size_t offenders = 0;
    for (auto _ : state) {
        auto snapshot = history.snapshot(std::nullopt, {"app.family7"});
        offenders = snapshot.value().offenders.size();
        benchmark::DoNotOptimize(snapshot);
    }
    state.counters["offenders"] = static_cast<double>(offenders);
    auto bytes = std::filesystem::file_size(fixtureStore().file());
    state.counters["db_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
    state.counters["bytes_per_family_day"] = static_cast<double>(bytes) / (kFamilies * kDays);
}
BENCHMARK(BM_AdvancedHistoryOffenders)->Unit(benchmark::kMillisecond);

void BM_AdvancedHistoryWithSelectedDetail(benchmark::State& state) {
    AdvancedHistory history(fixtureStore());
    for (auto _ : state) {
        auto snapshot = history.snapshot(std::string("app.family42"), {});
        benchmark::DoNotOptimize(snapshot);
    }
}
BENCHMARK(BM_AdvancedHistoryWithSelectedDetail)->Unit(benchmark::kMillisecond);

void BM_HistoryLine(benchmark::State& state) {
    AdvancedHistory history(fixtureStore());
    for (auto _ : state) {
        auto line = history.historyFor("app.family42");
        benchmark::DoNotOptimize(line);
    }
}
BENCHMARK(BM_HistoryLine)->Unit(benchmark::kMicrosecond);

// A family's stored baseline: the median of its daily means over the last 7 days (day rollups
// of the 90-day database), what the sampler looks up for at most a few families per pass.
void BM_StoredBaselineLookup(benchmark::State& state) {
    int family = 0;
    for (auto _ : state) {
        StoredBaselines baselines(fixtureStore(), [] { return kNowMs; });
        auto kib = baselines.baselineKiB("app.family" + std::to_string(family++ % kFamilies));
        benchmark::DoNotOptimize(kib);
    }
}
BENCHMARK(BM_StoredBaselineLookup)->Unit(benchmark::kMicrosecond);

// The monitor's per-minute write: one minute of 200 families in one transaction, into the
// 90-day database (a copy, so the fixture stays as built).
void BM_FlushOneMinuteOf200Families(benchmark::State& state) {
    auto copy = fixtureDir().parent_path() / "flush-copy.sqlite3";
    std::filesystem::copy_file(buildFixture(), copy,
                               std::filesystem::copy_options::overwrite_existing);
    {
        HistoryStore store(optionsFor(copy));
        int64_t minute = kDays * 1440;
        for (auto _ : state) {
            for (int family = 0; family < kFamilies; ++family) {
                store.record(minuteOf(family, minute));
            }
            store.flush();
            ++minute;
        }
    }
    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::filesystem::remove(copy.string() + suffix);
    }
}
BENCHMARK(BM_FlushOneMinuteOf200Families)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
