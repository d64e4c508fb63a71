// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryTestSupport.h"
#include "tests/support/ChildProgram.h"

#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora {
namespace {

constexpr int64_t kBaseMs = 1'779'999'960'000;

// Runs the writer from `firstMinute`, kills it with SIGKILL after `checkpoints` committed
// minutes (mid-write, since it writes without pause), and returns the last minute it reported
// as committed.
int64_t runAndKill(const std::filesystem::path& dir, int64_t firstMinute, int checkpoints) {
    testing::ChildProgram::Options options;
    options.pipeOutput = true;
    testing::ChildProgram writer(VELMORA_CRASH_WRITER,
                                 {VELMORA_CRASH_WRITER, dir.string(), std::to_string(firstMinute)},
                                 options);
    EXPECT_EQ(writer.startError(), 0);

    FILE* reports = ::fdopen(::dup(writer.output()), "r");
    long long minute = -1;
    long long last = firstMinute - 1;
    for (int seen = 0; seen < checkpoints && std::fscanf(reports, "%lld", &minute) == 1; ++seen) {
        last = minute;
    }
    ::kill(writer.pid(), SIGKILL);
    while (std::fscanf(reports, "%lld", &minute) == 1) { // reported before the kill landed
        last = minute;
    }
    std::fclose(reports);
    const int status = writer.waitFor(std::chrono::seconds(10)).value_or(0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        << "the writer ended by itself before the kill, status " << status;
    return last;
}

TEST(CrashSafety, AKilledWriterLosesNothingItCommittedAndTheStoreStartsAgain) {
    testing::TemporaryDirectory dir;
    test::ManualClock clock;
    clock.nowMs = kBaseMs + 2 * kDayMs;
    std::mt19937 random(std::random_device{}());
    int64_t next = 0;
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        int64_t committed =
            runAndKill(dir.path(), next, std::uniform_int_distribution(7, 30)(random));
        ASSERT_GE(committed, next) << "no checkpoint was reported";

        std::vector<std::string> diagnostics;
        auto store = test::openStore(dir.path(), clock, &diagnostics);
        ASSERT_FALSE(store->unavailableReason()) << *store->unavailableReason();
        EXPECT_TRUE(diagnostics.empty()) << diagnostics.front();
        EXPECT_EQ(store->integrityCheck().value(), "ok");
        for (int family : {0, 99, 199}) {
            auto samples = store->footprints("app." + std::to_string(family), kBaseMs).value();
            ASSERT_GE(samples.size(), static_cast<std::size_t>(committed + 1));
            for (int64_t minute = 0; minute <= committed; ++minute) {
                ASSERT_EQ(samples[static_cast<std::size_t>(minute)].minuteMs,
                          kBaseMs + minute * kMinuteMs);
            }
        }
        // Seven minutes in, every family has had a suspect minute, hence an incident.
        auto offenders = store->offenders(HistoryWindow::endingAt(clock.nowMs));
        ASSERT_TRUE(offenders.ok());
        EXPECT_EQ(offenders.value().size(), 200u);
        next = committed + 1;
    }
}

} // namespace
} // namespace velmora
