// SPDX-License-Identifier: GPL-3.0-or-later
// A sampler stuck in a /proc read: the monitor keeps answering, and its answers say that
// sampling has stalled once no pass has completed for three ticks.

#include "model/Codec.h"
#include "monitor/live/LiveMonitor.h"
#include "monitor/session/RequestHandler.h"
#include "tests/support/TemporaryDirectory.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

using namespace std::chrono_literals;

// A fake /proc whose meminfo is a FIFO: opening it blocks, as a read of a file on a dead
// disk or a wedged /proc entry does, until the test lets one pass through.
class StuckProc {
public:
    StuckProc() {
        std::filesystem::create_directories(root + "/pressure");
        std::ofstream(root + "/pressure/memory") << "some avg10=0.00 avg60=0.00 avg300=0.00\n";
        ::mkfifo((root + "/meminfo").c_str(), 0600);
    }
    ~StuckProc() { releaseForGood(); }

    // Lets the one pass that is (or is about to be) waiting on meminfo through.
    void releaseOnce() const {
        const int fd = ::open((root + "/meminfo").c_str(), O_WRONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }

    // Every pass from now on reads a plain file; a pass waiting on the FIFO is let through.
    void releaseForGood() {
        if (released_) {
            return;
        }
        released_ = true;
        const std::string plain = root + "/meminfo.plain";
        std::ofstream(plain) << "MemTotal: 16777216 kB\nMemAvailable: 8388608 kB\n";
        // Opened for reading and writing, a FIFO never blocks and releases a blocked opener.
        const int fd = ::open((root + "/meminfo").c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        std::filesystem::rename(plain, root + "/meminfo");
        if (fd >= 0) {
            ::close(fd);
        }
    }

    testing::TemporaryDirectory directory;
    std::string root = directory.path().string();

private:
    bool released_ = false;
};

// The answers of a request handler whose sampling-stall source is a live monitor, as the
// session wires them.
class SamplingStall : public ::testing::Test {
protected:
    void SetUp() override {
        paths.home = home;
        paths.configDir = home + "/config";
        paths.configFile = paths.configDir + "/config.json";
        paths.dataDir = home + "/data";
        paths.artifactsDir = paths.dataDir + "/artifacts";
        paths.reportsDir = paths.dataDir + "/reports";
        paths.logsDir = paths.dataDir + "/logs";
        paths.smokeTargetsFile = paths.configDir + "/smoke-targets.json";
        SamplerOptions options;
        options.procPath = proc.root;
        options.uid = ::getuid();
        options.self = ::getpid();
        monitor = std::make_unique<LiveMonitor>(options, [this] { return now.load(); });
        monitor->setPassObserver([this](const LiveView&) {
            {
                std::lock_guard lock(mutex);
                ++passes;
            }
            passed.notify_all();
        });
        config = std::make_unique<ConfigStore>(paths.configFile);
        context = std::make_unique<MonitorContext>(paths, *config, ::getuid(), ::getpid());
        context->latestView = [this] { return monitor->latest(); };
        context->monotonicClock = [this] { return now.load(); };
        context->wallClock = [] { return 1.7e9; };
        handler = std::make_unique<RequestHandler>(*context);
        handler->setSamplingStall(
            [this] { return monitor->samplingStalledFor(monitor->clockNow()); });
    }

    void TearDown() override {
        proc.releaseForGood();
        monitor->stop();
    }

    // Waits (on the sampler thread's word, never on a timer) until `count` passes completed.
    bool passesCompleted(int count) {
        std::unique_lock lock(mutex);
        return passed.wait_for(lock, 10s, [&] { return passes >= count; });
    }

    PopoverSnapshot answer() {
        auto json = parseJsonText(handler->handle(R"({"kind":"getSnapshot"})"));
        EXPECT_TRUE(json.ok());
        auto snapshot = decode<PopoverSnapshot>(json.value()["snapshot"]);
        EXPECT_TRUE(snapshot.ok()) << (snapshot ? "" : snapshot.error().text());
        return snapshot ? snapshot.value() : PopoverSnapshot{};
    }

    StuckProc proc;
    testing::TemporaryDirectory homeDirectory;
    std::string home = homeDirectory.path().string();
    MonitorPaths paths;
    std::atomic<double> now{100.0};
    std::mutex mutex;
    std::condition_variable passed;
    int passes = 0;
    std::unique_ptr<LiveMonitor> monitor;
    std::unique_ptr<ConfigStore> config;
    std::unique_ptr<MonitorContext> context;
    std::unique_ptr<RequestHandler> handler;
};

TEST_F(SamplingStall, AnswersSayThatSamplingStalledAfterThreeTicksWithoutAPass) {
    EXPECT_EQ(answer().samplingStalledMs, std::nullopt); // not started: nothing to say yet
    monitor->start();                                    // its first pass blocks on meminfo
    now = 103.0; // three ticks: a slow pass, not yet a stalled one
    EXPECT_EQ(answer().samplingStalledMs, std::nullopt);
    now = 103.5;
    const PopoverSnapshot stuck = answer(); // answered at once: the request never waits
    EXPECT_EQ(stuck.samplingStalledMs, 3500u);
    EXPECT_TRUE(stuck.bootstrapScan.active); // no pass has ever completed

    proc.releaseOnce(); // the first pass completes; the next one blocks again
    ASSERT_TRUE(passesCompleted(1));
    EXPECT_EQ(answer().samplingStalledMs, std::nullopt);
    now = 106.5;
    EXPECT_EQ(answer().samplingStalledMs, std::nullopt);
    now = 107.25;
    EXPECT_EQ(answer().samplingStalledMs, 3750u); // stuck again in its second pass
}

TEST_F(SamplingStall, AnswersOfAMonitorThatKeepsSamplingSayNothing) {
    proc.releaseForGood();
    monitor->start();
    ASSERT_TRUE(passesCompleted(1));
    now = 102.9;
    const PopoverSnapshot fresh = answer();
    EXPECT_EQ(fresh.samplingStalledMs, std::nullopt);
    // The key is absent from the answer, so older front ends read it unchanged.
    EXPECT_EQ(handler->handle(R"({"kind":"getSnapshot"})").find("samplingStalledMs"),
              std::string::npos);
}

} // namespace
} // namespace velmora
