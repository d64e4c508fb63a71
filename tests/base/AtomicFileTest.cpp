#include "base/AtomicFile.h"

#include "base/FileTimes.h"
#include "tests/support/FileText.h"
#include "tests/support/TemporaryDirectory.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

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

} // namespace
} // namespace velmora
