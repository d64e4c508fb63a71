#include "monitor/actions/ProcessLauncher.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <signal.h>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace velmora {
namespace {

class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/velmora-launcher-XXXXXX";
        path = ::mkdtemp(pattern);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string file(const std::string& name) const { return path + "/" + name; }
    std::string path;
};

std::string contents(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

bool waitFor(const std::function<bool()>& done) {
    for (int attempt = 0; attempt < 300; ++attempt) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(RunWithInput, DeliversTheInputAndReportsTheExitStatus) {
    TempDir dir;
    std::string text(200 * 1024, 'x'); // more than a pipe holds at once
    EXPECT_TRUE(runWithInput("sh", {"sh", "-c", "cat > " + dir.file("out")}, text, 5));
    EXPECT_EQ(contents(dir.file("out")), text);
    EXPECT_FALSE(runWithInput("sh", {"sh", "-c", "cat >/dev/null; exit 3"}, "text", 5));
    EXPECT_FALSE(runWithInput("velmora-no-such-tool", {"velmora-no-such-tool"}, "text", 5));
    // A tool that ends without reading: the write fails quietly, no SIGPIPE ends this process.
    EXPECT_FALSE(runWithInput("sh", {"sh", "-c", "exit 0"}, std::string(1 << 20, 'x'), 5));
}

TEST(RunWithInput, AToolThatNeverReadsCannotHoldUsAndIsReapedWhenItEnds) {
    TempDir dir;
    std::string pidFile = dir.file("pid");
    auto started = std::chrono::steady_clock::now();
    // Never reads its input, which is far more than the pipe buffer.
    bool ok = runWithInput("sh", {"sh", "-c", "echo $$ > " + pidFile + "; exec sleep 30"},
                           std::string(4 << 20, 'x'), 0.3);
    EXPECT_FALSE(ok); // it did not take the input
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    ASSERT_TRUE(waitFor([&] { return !contents(pidFile).empty(); }));
    pid_t pid = std::stoi(contents(pidFile));
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

    TempDir dir;
    auto started = launchDetached("sh", {"sh", "-c", "pwd > out"}, {}, dir.path);
    ASSERT_TRUE(started.ok) << started.error;
    EXPECT_GT(started.pid, 0);
    EXPECT_TRUE(waitFor([&] { return contents(dir.file("out")) == dir.path + "\n"; }));
}

} // namespace
} // namespace velmora
