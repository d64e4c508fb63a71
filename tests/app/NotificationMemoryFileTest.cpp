// SPDX-License-Identifier: GPL-3.0-or-later
// The notification memory's file: where it lives, what a save leaves on disk, and that no
// file, however it looks, stops the app.
#include "app/NotificationMemoryFile.h"

#include "state/ManualScheduler.h"
#include "tests/link/support/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

using namespace std::chrono_literals;
using testing::CapturedOutput;
using testing::TemporaryDirectory;
using testing::writeFile;

TEST(NotificationMemoryFile, LivesInTheStateHome) {
    EXPECT_EQ(NotificationMemoryFile::defaultPath({{"XDG_STATE_HOME", "/x/state"}, {"HOME", "/h"}}),
              "/x/state/velmora/notifications.json");
    EXPECT_EQ(NotificationMemoryFile::defaultPath({{"XDG_STATE_HOME", "relative"}, {"HOME", "/h"}}),
              "/h/.local/state/velmora/notifications.json");
    EXPECT_EQ(NotificationMemoryFile::defaultPath({{"HOME", "/h"}}),
              "/h/.local/state/velmora/notifications.json");
}

TEST(NotificationMemoryFile, SavesInAPrivateFolderAndReadsBackWithTheTimePassed) {
    TemporaryDirectory dir;
    int64_t now = 1'700'000'000'000;
    NotificationMemoryFile file(dir / "state/velmora/notifications.json", [&] { return now; });
    CapturedOutput errors(STDERR_FILENO);
    EXPECT_EQ(file.load(), std::nullopt); // never saved: a fresh start, said nowhere
    NotificationMemory memory;
    memory.incidents = {{"family:firefox", true, false, 0s, 7}, {"memory", false, true, 1min, 0}};
    memory.kills = {"k1"};
    memory.serverOwner = ":1.42";
    file.save(memory);
    file.flush();
    struct stat folder {};
    ASSERT_EQ(::stat((dir / "state/velmora").c_str(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "state/velmora"),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file is left beside the memory";

    now += 90'000;
    const auto loaded = file.load();
    ASSERT_TRUE(loaded.has_value());
    NotificationMemory expected = memory;
    expected.incidents[1].clearedAgo = 1min + 90s;
    expected.unobservedFor = 90s;
    EXPECT_EQ(*loaded, expected);
    EXPECT_EQ(errors.text(), "");
}

TEST(NotificationMemoryFile, AnyUnusableFileIsAFreshStartAndAFailedSaveOnlyLogs) {
    TemporaryDirectory dir;
    CapturedOutput errors(STDERR_FILENO);
    writeFile(dir / "big.json", std::string(NotificationMemoryFile::maxFileBytes + 1, ' '));
    EXPECT_EQ(NotificationMemoryFile(dir / "big.json").load(), std::nullopt);
    writeFile(dir / "garbage.json", "\x01\x02 not a memory");
    EXPECT_EQ(NotificationMemoryFile(dir / "garbage.json").load(), std::nullopt);
    std::filesystem::create_directory(dir / "folder.json");
    EXPECT_EQ(NotificationMemoryFile(dir / "folder.json").load(), std::nullopt);
    EXPECT_EQ(errors.linesStartingWith("velmora-ui: notification memory ").size(), 3u)
        << errors.text();

    // A state folder that cannot be created (a file is in the way).
    writeFile(dir / "blocked", "");
    NotificationMemoryFile blocked(dir / "blocked/velmora/notifications.json");
    blocked.save(NotificationMemory{});
    blocked.flush();
    const auto lines = errors.linesStartingWith("velmora-ui: notification memory not saved: ");
    EXPECT_EQ(lines.size(), 1u) << errors.text();
}

// Saving never waits for the disk: a burst of changes settles into one write of the latest
// memory, made off the caller's thread, and a change still settling when the app quits is
// written all the same.
TEST(NotificationMemoryFile, ABurstIsWrittenOnceWithTheLatestAndNothingIsLostAtQuit) {
    TemporaryDirectory dir;
    const auto path = dir / "state/velmora/notifications.json";
    auto scheduler = std::make_shared<ManualScheduler>();
    const auto killsOnDisk = [&] {
        const auto kept = NotificationMemoryFile(path).load();
        return kept ? kept->kills : std::vector<std::string>{};
    };
    NotificationMemory memory;
    {
        NotificationMemoryFile file(path, {}, scheduler);
        for (const char* kill : {"k1", "k2", "k3"}) {
            memory.kills.push_back(kill);
            file.save(memory);
            scheduler->advance(100ms);
        }
        EXPECT_FALSE(std::filesystem::exists(path)) << "written before the burst settled";
        scheduler->advance(NotificationMemoryFile::settleTime - 300ms);
        file.flush(); // the write is on its way: wait for it
        EXPECT_EQ(killsOnDisk(), memory.kills);

        memory.kills.push_back("k4"); // and the app quits right after
        file.save(memory);
        EXPECT_EQ(scheduler->scheduledTimerCount(), 1u);
    }
    EXPECT_EQ(killsOnDisk(), memory.kills);
    EXPECT_EQ(scheduler->scheduledTimerCount(), 0u);

    // Without a scheduler each save goes to the writer at once; the latest is what stays.
    NotificationMemoryFile direct(path);
    for (const char* kill : {"k5", "k6", "k7"}) {
        memory.kills.push_back(kill);
        direct.save(memory);
    }
    direct.flush();
    EXPECT_EQ(killsOnDisk(), memory.kills);
}

} // namespace
} // namespace velmora
