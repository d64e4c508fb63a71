// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/common/ProcessLauncher.h"

#include "tests/support/Eventually.h"
#include "tests/support/FileText.h"
#include "tests/support/TemporaryDirectory.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

namespace velmora {
namespace {

using testing::eventually;
using testing::readFile;
using testing::TemporaryDirectory;

// Up to three seconds for what a child process does.
bool waitFor(const std::function<bool()>& done) {
    return eventually(done, std::chrono::seconds(3));
}

TEST(RunWithInput, DeliversTheInputAndReportsTheExitStatus) {
    TemporaryDirectory dir;
    std::string text(200 * 1024, 'x'); // more than a pipe holds at once
    EXPECT_TRUE(runWithInput("sh", {"sh", "-c", "cat > " + (dir / "out").string()}, text, 5));
    EXPECT_EQ(readFile((dir / "out").string()), text);
    EXPECT_FALSE(runWithInput("sh", {"sh", "-c", "cat >/dev/null; exit 3"}, "text", 5));
    EXPECT_FALSE(runWithInput("velmora-no-such-tool", {"velmora-no-such-tool"}, "text", 5));
    // A tool that ends without reading: the write fails quietly, no SIGPIPE ends this process.
    EXPECT_FALSE(runWithInput("sh", {"sh", "-c", "exit 0"}, std::string(1 << 20, 'x'), 5));
}

TEST(RunWithInput, AToolThatNeverReadsCannotHoldUsAndIsReapedWhenItEnds) {
    TemporaryDirectory dir;
    std::string pidFile = (dir / "pid").string();
    auto started = std::chrono::steady_clock::now();
    // Never reads its input, which is far more than the pipe buffer.
    bool ok = runWithInput("sh", {"sh", "-c", "echo $$ > " + pidFile + "; exec sleep 30"},
                           std::string(4 << 20, 'x'), 0.3);
    EXPECT_FALSE(ok); // it did not take the input
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    ASSERT_TRUE(waitFor([&] { return !readFile(pidFile).empty(); }));
    pid_t pid = std::stoi(readFile(pidFile));
    std::string proc = "/proc/" + std::to_string(pid);
    ASSERT_TRUE(std::filesystem::exists(proc));
    ::kill(pid, SIGKILL);
    // A zombie keeps its /proc entry until it is reaped.
    EXPECT_TRUE(waitFor([&] {
        reapLingeringChildren();
        return !std::filesystem::exists(proc);
    }));
}

TEST(LaunchDetached, ReportsAProgramThatCannotRunAndStartsInTheGivenDirectory) {
    auto missing = launchDetached("/nonexistent/velmora-tool", {"velmora-tool"});
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, "Could not run /nonexistent/velmora-tool: No such file or directory.");

    TemporaryDirectory dir;
    auto started = launchDetached("sh", {"sh", "-c", "pwd > out"}, {}, dir.path().string());
    ASSERT_TRUE(started.ok) << started.error;
    EXPECT_GT(started.pid, 0);
    EXPECT_TRUE(
        waitFor([&] { return readFile((dir / "out").string()) == dir.path().string() + "\n"; }));
}

} // namespace
} // namespace velmora
