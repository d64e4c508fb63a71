// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/Pruner.h"

#include "HistoryTestSupport.h"
#include "base/FileTimes.h"
#include "model/Enums.h"
#include "monitor/history/ByteText.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::ManualClock;
using test::openStore;
using testing::TemporaryDirectory;

constexpr std::array kModes{SettingsStorageMode::low, SettingsStorageMode::balanced,
                            SettingsStorageMode::deepInvestigation};

class PrunerTest : public ::testing::Test {
protected:
    int64_t daysAgo(double days) { return clock.nowMs - static_cast<int64_t>(days * kDayMs); }

    std::filesystem::path place(const std::filesystem::path& directory, const std::string& name,
                                std::size_t bytes, int64_t modifiedMs) {
        std::filesystem::create_directories(directory);
        auto path = directory / name;
        std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
        setModificationTimeMs(path, modifiedMs);
        return path;
    }

    // Two families with a footprint every six hours over the last 100 days, and an incident
    // every ten days.
    void seedHistory() {
        for (int64_t at = daysAgo(100); at <= clock.nowMs; at += 6 * kHourMs) {
            bool suspect = (at - daysAgo(100)) % (10 * kDayMs) == 0;
            for (const char* key : {"app.a", "app.b"}) {
                store->record(
                    test::minuteOf(key, at / kMinuteMs * kMinuteMs, suspect ? 60 : 5,
                                   suspect ? FindingVerdict::suspect : FindingVerdict::normal));
            }
        }
        ASSERT_TRUE(store->flush().ok());
    }

    // `count` files of `bytes` each, one a day apart ending today, named so that "f000" is the
    // oldest; artifacts are registered like the evidence writer does.
    std::vector<std::filesystem::path> seedFiles(const std::filesystem::path& directory, int count,
                                                 std::size_t bytes, double spacingDays = 1.0) {
        std::vector<std::filesystem::path> files;
        for (int i = 0; i < count; ++i) {
            char name[24];
            std::snprintf(name, sizeof name, "f%03d.json", i);
            int64_t at = daysAgo((count - 1 - i) * spacingDays + 0.01);
            files.push_back(place(directory, name, bytes, at));
            if (directory == folder.artifacts()) {
                ArtifactRecord record;
                record.familyKey = "app.a";
                record.path = files.back().string();
                record.sizeBytes = bytes;
                record.createdMs = at;
                store->recordArtifact(record);
            }
        }
        return files;
    }

    static std::vector<std::filesystem::path>
    remaining(const std::vector<std::filesystem::path>& all) {
        std::vector<std::filesystem::path> left;
        std::copy_if(all.begin(), all.end(), std::back_inserter(left),
                     [](const auto& path) { return std::filesystem::exists(path); });
        return left;
    }

    // True when the files still there are the newest ones (a suffix of `all`).
    static bool oldestWentFirst(const std::vector<std::filesystem::path>& all) {
        auto left = remaining(all);
        return std::equal(left.begin(), left.end(), all.end() - static_cast<long>(left.size()));
    }

    TemporaryDirectory dir;
    ManualClock clock;
    DataFolder folder{dir.path()};
    std::unique_ptr<HistoryStore> store = openStore(dir.path(), clock);
};

TEST(StoragePolicyFigures, EachModeReadsItsFiguresInMillisecondsAndBytes) {
    const StoragePolicy low{7 * kDayMs, 3 * kDayMs, 3 * kDayMs, 30 * kMinuteMs,
                            128 * kMiB, 64 * kMiB,  24 * kMiB};
    const StoragePolicy balanced{30 * kDayMs, 14 * kDayMs, 7 * kDayMs, kHourMs,
                                 512 * kMiB,  384 * kMiB,  48 * kMiB};
    const StoragePolicy deep{90 * kDayMs, 30 * kDayMs, 14 * kDayMs, 2 * kHourMs,
                             2 * kGiB,    1536 * kMiB, 192 * kMiB};
    EXPECT_EQ(StoragePolicy::forMode(SettingsStorageMode::low), low);
    EXPECT_EQ(StoragePolicy::forMode(SettingsStorageMode::balanced), balanced);
    EXPECT_EQ(StoragePolicy::forMode(SettingsStorageMode::deepInvestigation), deep);
}

TEST_F(PrunerTest, EachModeKeepsHistoryArtifactsAndLogsWithinItsAges) {
    for (auto mode : kModes) {
        SCOPED_TRACE(std::string(toWire(mode)));
        TemporaryDirectory modeDir;
        folder = DataFolder{modeDir.path()};
        store = openStore(modeDir.path(), clock);
        seedHistory();
        auto artifacts = seedFiles(folder.artifacts(), 40, 100);
        auto logs = seedFiles(folder.logs(), 20, 100);
        auto reports = seedFiles(folder.reports(), 5, 100, 30.0);
        place(folder.root, "history.sqlite3.corrupt-20260101T000000Z", 100, daysAgo(95));

        auto policy = StoragePolicy::forMode(mode);
        Pruner pruner(*store, folder);
        auto report = pruner.prune(mode, clock.nowMs);
        EXPECT_TRUE(report.budgetsHeld);
        EXPECT_FALSE(report.historyError);

        int64_t historyCutoff = clock.nowMs - policy.historyRetentionMs;
        EXPECT_GE(store->oldestHistoryMs().value().value(), historyCutoff / kDayMs * kDayMs);
        EXPECT_GT(report.historyRowsRemoved, 0);
        auto keptDays = [&](int64_t retentionMs) {
            return static_cast<std::size_t>(retentionMs / kDayMs);
        };
        EXPECT_EQ(remaining(artifacts).size(), keptDays(policy.artifactRetentionMs));
        EXPECT_EQ(remaining(logs).size(), keptDays(policy.logRetentionMs));
        EXPECT_TRUE(oldestWentFirst(artifacts));
        EXPECT_TRUE(oldestWentFirst(logs));
        EXPECT_EQ(remaining(reports).size(), 5u); // reports have a budget, not an age
        EXPECT_EQ(report.setAsideRemoved.size(), 1u);
        EXPECT_EQ(store->artifacts().value().size(), remaining(artifacts).size());
    }
}

TEST_F(PrunerTest, EachModesBudgetsHoldWithTheOldestFilesRemovedFirst) {
    for (auto mode : kModes) {
        SCOPED_TRACE(std::string(toWire(mode)));
        TemporaryDirectory modeDir;
        folder = DataFolder{modeDir.path()};
        store = openStore(modeDir.path(), clock);
        seedHistory();
        // The real budgets scaled down 1024 times: low is 128 KB / 64 KB / 24 KB.
        auto scaled = [](SettingsStorageMode m) {
            auto policy = StoragePolicy::forMode(m);
            policy.totalBudgetBytes /= 1024;
            policy.artifactBudgetBytes /= 1024;
            policy.exportBudgetBytes /= 1024;
            return policy;
        };
        auto policy = scaled(mode);
        constexpr std::size_t kFile = 4096;
        auto artifacts =
            seedFiles(folder.artifacts(),
                      static_cast<int>(policy.artifactBudgetBytes * 3 / 2 / kFile), kFile, 0.01);
        auto reports =
            seedFiles(folder.reports(), static_cast<int>(policy.exportBudgetBytes * 3 / 2 / kFile),
                      kFile, 0.01);

        auto report = Pruner(*store, folder, scaled).prune(mode, clock.nowMs);
        EXPECT_TRUE(report.budgetsHeld);
        EXPECT_LE(folder.totalBytes(), policy.totalBudgetBytes);
        EXPECT_LE(totalBytes(DataFolder::filesIn(folder.artifacts())), policy.artifactBudgetBytes);
        EXPECT_LE(totalBytes(DataFolder::filesIn(folder.reports())), policy.exportBudgetBytes);
        EXPECT_FALSE(remaining(artifacts).empty());
        EXPECT_TRUE(oldestWentFirst(artifacts));
        EXPECT_TRUE(oldestWentFirst(reports));
        EXPECT_EQ(report.artifactsRemoved.size() + remaining(artifacts).size(), artifacts.size());
    }
}

TEST_F(PrunerTest, TheTotalBudgetTakesTheOldestDataOfAnyKindAndAlwaysKeepsTheLastDay) {
    seedHistory();
    auto artifacts = seedFiles(folder.artifacts(), 6, 20'000, 2.0);
    auto logs = seedFiles(folder.logs(), 6, 20'000, 2.0);
    StoragePolicy policy = StoragePolicy::forMode(SettingsStorageMode::deepInvestigation);
    policy.totalBudgetBytes = 1;
    auto report = Pruner(*store, folder, [&](SettingsStorageMode) {
                      return policy;
                  }).prune(SettingsStorageMode::deepInvestigation, clock.nowMs);
    EXPECT_FALSE(report.budgetsHeld);
    EXPECT_TRUE(remaining(artifacts).empty());
    EXPECT_TRUE(remaining(logs).empty());
    auto oldest = store->oldestHistoryMs().value();
    ASSERT_TRUE(oldest);
    EXPECT_GE(*oldest, (clock.nowMs - kDayMs) / kDayMs * kDayMs);
    EXPECT_FALSE(store->footprints("app.a", clock.nowMs - kDayMs).value().empty());
    EXPECT_LT(report.bytesAfter, report.bytesBefore);
}

TEST_F(PrunerTest, PrunesOnLaunchAndThenAtTheModesInterval) {
    const std::array<int64_t, 3> intervals{30 * kMinuteMs, kHourMs, 2 * kHourMs};
    for (std::size_t i = 0; i < kModes.size(); ++i) {
        Pruner pruner(*store, folder);
        EXPECT_TRUE(pruner.shouldPrune(kModes[i], clock.nowMs)); // on launch
        pruner.prune(kModes[i], clock.nowMs);
        EXPECT_FALSE(pruner.shouldPrune(kModes[i], clock.nowMs + intervals[i] - 1));
        EXPECT_TRUE(pruner.shouldPrune(kModes[i], clock.nowMs + intervals[i]));
    }
}

TEST_F(PrunerTest, TheFooterShowsTheFolderSizeAndTheLastPrune) {
    {
        Pruner pruner(*store, folder);
        EXPECT_EQ(pruner.footer(clock.nowMs).pruneText, "Prune pending");
        pruner.prune(SettingsStorageMode::balanced, clock.nowMs);
        EXPECT_EQ(pruner.footer(clock.nowMs + 30'000).pruneText, "Last prune just now");
    }
    place(folder.reports(), "big.json", 3 * 1024 * 1024, clock.nowMs);
    Pruner relaunched(*store, folder); // the last prune survives a restart
    auto footer = relaunched.footer(clock.nowMs + 2 * kHourMs + 5 * kMinuteMs);
    EXPECT_EQ(footer.pruneText, "Last prune 2h ago");
    EXPECT_EQ(footer.storageText, "Storage 3 MB");

    EXPECT_EQ(byteSizeText(420 * 1024), "420 KB");
    EXPECT_EQ(byteSizeText(381 * kMiB + 900 * 1024), "381 MB");
    EXPECT_EQ(byteSizeText(kGiB - 1), "1023 MB");
    EXPECT_EQ(byteSizeText(kGiB + kGiB / 5), "1.2 GB");
}

} // namespace
} // namespace velmora
