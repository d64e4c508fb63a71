// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/AtomicFile.h"

#include "base/FileTimes.h"
#include "tests/support/FileText.h"
#include "tests/support/TemporaryDirectory.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velmora {
namespace {

namespace fs = std::filesystem;

class AtomicFile : public ::testing::Test {
protected:
    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }

    const testing::TemporaryDirectory scratch;
    const fs::path& dir = scratch.path();
};

TEST_F(AtomicFile, ReplacesAFileWholeWithItsTimeAndPermissionsAndLeavesNoTemporaryBehind) {
    const auto file = dir / "report.json";
    ASSERT_FALSE(writeFileAtomically(file, "first", 0600, 1'000'000));
    ASSERT_FALSE(writeFileAtomically(file, "second", 0600, 2'000'000));
    EXPECT_EQ(testing::readFile(file), "second");
    EXPECT_EQ(modificationTimeMs(file), 2'000'000);
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(entries(), 1u);

    const mode_t umask = ::umask(022);
    ASSERT_FALSE(writeFileAtomically(dir / "entry.desktop", "[Desktop Entry]\n", 0644));
    ::umask(umask);
    ASSERT_EQ(::stat((dir / "entry.desktop").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST_F(AtomicFile, AFailureNamesItsStepAndKeepsTheOldFileAndNoTemporary) {
    const auto missing = writeFileAtomically(dir / "missing" / "x.json", "x");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->message.rfind("Could not create " + (dir / "missing").string(), 0), 0u)
        << missing->message;
    EXPECT_EQ(missing->code, ENOENT);

    // A folder in the way of the rename: the temporary file is written, then removed.
    fs::create_directories(dir / "taken" / "inside");
    const auto taken = writeFileAtomically(dir / "taken", "new");
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->message.rfind("Could not replace " + (dir / "taken").string() + ": ", 0), 0u)
        << taken->message;
    EXPECT_TRUE(fs::is_directory(dir / "taken" / "inside"));
    EXPECT_EQ(entries(), 1u);
}

// In a folder others can write to (a shared textfile folder written by root), a link planted
// at any name the writer might use is neither followed nor truncated: the file written is a
// file of its own, and what the links point to keeps its content.
TEST_F(AtomicFile, ALinkPlantedBesideTheFileIsNeverFollowed) {
    const auto victim = dir / "victim";
    testing::writeFile(victim, "precious");
    const auto file = dir / "velmora.prom";
    const std::vector<std::string> guesses = {".tmp-" + std::to_string(::getpid()), ".tmp", ".new",
                                              "~"};
    for (const auto& suffix : guesses) {
        fs::create_symlink(victim, file.string() + suffix);
    }

    ASSERT_FALSE(writeFileAtomically(file, "metrics\n", 0644));
    EXPECT_EQ(testing::readFile(victim), "precious");
    EXPECT_FALSE(fs::is_symlink(file)) << "the file was put in place through a link";
    EXPECT_EQ(testing::readFile(file), "metrics\n");
    for (const auto& suffix : guesses) {
        EXPECT_TRUE(fs::is_symlink(file.string() + suffix)) << suffix;
    }
    EXPECT_EQ(entries(), 2u + guesses.size()) << "a temporary file was left behind";

    // The temporary name is new at every write: no pid, no counter to guess from.
    const auto first = writeFileAtomically(dir / "missing" / "x", "");
    const auto second = writeFileAtomically(dir / "missing" / "x", "");
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->message, second->message);
    EXPECT_EQ(first->message.find(".tmp-" + std::to_string(::getpid())), std::string::npos)
        << first->message;
}

} // namespace
} // namespace velmora
