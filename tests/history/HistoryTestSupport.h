// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/history/Clock.h"
#include "monitor/history/FamilyMinute.h"
#include "monitor/history/HistoryStore.h"
#include "tests/support/TemporaryDirectory.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace velmora::test {

// A wall clock the test moves by hand.
struct ManualClock {
    int64_t nowMs = 1'779'999'960'000; // Thursday 28 May 2026, 20:26 UTC

    Clock clock() {
        return [this] { return nowMs; };
    }
};

inline FamilyMinute minuteOf(const std::string& key, int64_t minuteMs, uint32_t score,
                             FindingVerdict verdict, uint64_t bytes = 100 * 1024 * 1024,
                             double rate = 0.0) {
    return FamilyMinute{key, key + " title", minuteMs, bytes, score, verdict, rate};
}

// Records one incident of `minutes` suspect minutes for `key`, starting at `startMs`.
inline void recordIncident(HistoryStore& store, const std::string& key, int64_t startMs,
                           int minutes, uint32_t score, bool critical = false) {
    for (int i = 0; i < minutes; ++i) {
        store.record(
            minuteOf(key, startMs + i * kMinuteMs, score,
                     critical ? FindingVerdict::criticalRunaway : FindingVerdict::suspect));
    }
    store.flush();
}

// A store over `dir`/history.sqlite3 at the manual clock, collecting its diagnostic lines.
inline std::unique_ptr<HistoryStore> openStore(const std::filesystem::path& dir, ManualClock& clock,
                                               std::vector<std::string>* diagnostics = nullptr) {
    HistoryStoreOptions options;
    options.file = dir / "history.sqlite3";
    options.clock = clock.clock();
    options.diagnostics = [diagnostics](const std::string& line) {
        if (diagnostics) {
            diagnostics->push_back(line);
        }
    };
    return std::make_unique<HistoryStore>(std::move(options));
}

} // namespace velmora::test
