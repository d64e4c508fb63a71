// SPDX-License-Identifier: GPL-3.0-or-later
// Writes family minutes through the history store forever, 200 families per minute, one flush
// per minute, and prints each committed minute index on standard output. The crash-safety
// test kills it at a random moment.
//
//   history_crash_writer <data dir> <first minute index>

#include "monitor/history/HistoryStore.h"

#include <cstdio>
#include <string>

using namespace velmora;

constexpr int64_t kBaseMs = 1'779'999'960'000;
constexpr int kFamilies = 200;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: history_crash_writer <data dir> <first minute index>\n");
        return 2;
    }
    HistoryStoreOptions options;
    options.file = std::filesystem::path(argv[1]) / "history.sqlite3";
    options.clock = [] { return kBaseMs; };
    HistoryStore store(std::move(options));
    for (int64_t minute = std::stoll(argv[2]); minute < 1'000'000; ++minute) {
        for (int family = 0; family < kFamilies; ++family) {
            bool suspect = (minute + family) % 7 < 3;
            store.record(
                FamilyMinute{"app." + std::to_string(family), "App", kBaseMs + minute * kMinuteMs,
                             static_cast<uint64_t>(100 + minute) << 20, suspect ? 60u : 5u,
                             suspect ? FindingVerdict::suspect : FindingVerdict::normal, 1.5});
        }
        auto flushed = store.flush();
        if (!flushed) {
            std::fprintf(stderr, "flush failed: %s\n", flushed.error().message.c_str());
            return 1;
        }
        std::printf("%lld\n", static_cast<long long>(minute));
        std::fflush(stdout);
    }
    return 0;
}
