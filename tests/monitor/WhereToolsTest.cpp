// SPDX-License-Identifier: GPL-3.0-or-later
// `velmora where` against the real heaptrack, gdb and heaptrack_print, on where_leaker: a
// program built with symbols that leaks from leakyCacheInsert() and churns in
// churnScratchBuffers(). Skipped where the tools are missing or ptrace is limited.

#include "MonitorProcess.h"
#include "WhereTestSupport.h"
#include "model/Codec.h"
#include "monitor/where/HeapTools.h"
#include "monitor/where/HeaptrackPrint.h"
#include "monitor/where/LeakReport.h"
#include "monitor/where/ToolProcess.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sstream>
#include <unistd.h>

namespace velmora {
namespace {

using testing::Spawned;
using testing::TempHome;

#define SKIP_WITHOUT_HEAP_TRACKING()                                                               \
    if (auto why = testing::heapTrackingUnavailable()) {                                           \
        GTEST_SKIP() << "heap tracking cannot run here: " << *why;                                 \
    }

std::vector<std::string> homeEnvironment(const TempHome& home) {
    return {"HOME=" + home.path, "XDG_DATA_HOME=" + home.path + "/.local/share",
            "XDG_CONFIG_HOME=" + home.path + "/.config"};
}

// Runs `velmora where ARGS` to its end; its standard output and exit status.
int where(const TempHome& home, std::vector<std::string> arguments, std::string& output,
          std::vector<std::string> environment = {}, std::optional<uid_t> asUser = {}) {
    arguments.insert(arguments.begin(), "where");
    auto variables = homeEnvironment(home);
    variables.insert(variables.end(), environment.begin(), environment.end());
    Spawned velmora(VELMORA_MONITOR_BIN, arguments, variables, asUser);
    return velmora.finish(120, output);
}

// The one JSON object `--json` prints.
template <class T> T decodeLast(const std::string& output, const char* member = nullptr) {
    std::size_t start = output.rfind("\n{", output.size() - 2);
    start = start == std::string::npos ? 0 : start + 1;
    auto json = parseJsonText(output.substr(start));
    EXPECT_TRUE(json.ok()) << output;
    if (!json) {
        return {};
    }
    auto decoded = decode<T>(member ? json.value()[member] : json.value());
    EXPECT_TRUE(decoded.ok()) << (decoded ? "" : decoded.error().text()) << "\n" << output;
    return decoded ? decoded.value() : T{};
}

// Tracks `pid` with `velmora where PID ARGS --json`, which must succeed; its report.
WhereReport trackedReport(const TempHome& home, pid_t pid, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), std::to_string(pid));
    arguments.push_back("--json");
    std::string output;
    EXPECT_EQ(where(home, arguments, output), 0) << output;
    return decodeLast<WhereReport>(output);
}

const StackFrame& siteOf(const LeakSite& site) {
    static const StackFrame none;
    return site.site() != nullptr ? *site.site() : none;
}

void expectLeakFirstAndNoChurn(const WhereReport& report) {
    ASSERT_FALSE(report.sites.empty()) << "no site grew";
    const StackFrame& first = siteOf(report.sites.front());
    EXPECT_NE(first.function.find("leakyCacheInsert"), std::string::npos) << first.function;
    EXPECT_EQ(std::filesystem::path(first.file).filename(), "where_leaker.cpp");
    EXPECT_EQ(static_cast<int>(first.line), testing::leakerLine("std::malloc(bytes)"));
    EXPECT_GE(report.sites.front().calls, 10u);
    for (const LeakSite& site : report.sites) {
        EXPECT_EQ(siteOf(site).function.find("churnScratchBuffers"), std::string::npos)
            << "churn listed as growth: " << siteOf(site).function;
    }
}

TEST(WhereCommand, NamesTheLeakingFunctionAndLineFirstAndNeverTheChurn) {
    SKIP_WITHOUT_HEAP_TRACKING();
    TempHome home;
    Spawned leaker(VELMORA_WHERE_LEAKER, {"--exit-after", "60"});
    std::string output;
    ASSERT_EQ(where(home, {std::to_string(leaker.pid()), "--seconds", "3", "--json"}, output), 0)
        << output;
    WhereReport report = decodeLast<WhereReport>(output);
    expectLeakFirstAndNoChurn(report);
    EXPECT_EQ(report.pid, leaker.pid());
    EXPECT_EQ(report.program, "where_leaker");
    EXPECT_FALSE(report.processEnded);
    EXPECT_FALSE(report.stoppedEarly);
    EXPECT_NEAR(report.trackedSeconds, 3.0, 1.0);
    // The recording is kept with the evidence, where the storage budget counts it.
    EXPECT_EQ(std::filesystem::path(report.recording).parent_path(),
              std::filesystem::path(home.path) / ".local/share/velmora/artifacts");
    EXPECT_TRUE(std::filesystem::exists(report.recording));
    EXPECT_EQ(std::filesystem::file_size(report.recording), report.recordingBytes);
    // The process goes on, no longer tracked.
    EXPECT_EQ(::kill(leaker.pid(), 0), 0);
}

TEST(WhereCommand, AProgramThatAllocatesFlatOutIsDetachedAndGoesOnWorking) {
    SKIP_WITHOUT_HEAP_TRACKING();
    TempHome home;
    // Its one thread is nearly always inside heaptrack or the allocator when gdb stops it;
    // heaptrack's stop call made from there would wait for that thread's own lock forever.
    Spawned leaker(VELMORA_WHERE_LEAKER, {"--work", "--exit-after", "60"});
    ASSERT_TRUE(leaker.readLine(10));
    WhereReport report = trackedReport(home, leaker.pid(), {"--seconds", "2"});
    ASSERT_FALSE(report.sites.empty());
    EXPECT_NE(siteOf(report.sites.front()).function.find("leakyCacheInsert"), std::string::npos)
        << encodeRecord(report).dump();
    // Detached, it goes on working: its count of work units still rises.
    auto before = leaker.readLine(10);
    std::optional<std::string> after;
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (std::chrono::steady_clock::now() < end) {
        if (auto line = leaker.readLine(0.5)) {
            after = line;
        }
    }
    ASSERT_TRUE(before && after);
    EXPECT_GT(std::stoull(*after), std::stoull(*before));
}

TEST(WhereCommand, AProcessThatEndsDuringTrackingKeepsWhatWasRecordedAndSaysSo) {
    SKIP_WITHOUT_HEAP_TRACKING();
    TempHome home;
    // It ends 2.5 s into tracking, however long attaching takes on a busy machine.
    Spawned leaker(VELMORA_WHERE_LEAKER, {"--exit-after", "60", "--exit-after-tracked", "2.5"});
    std::string output;
    ASSERT_EQ(where(home, {std::to_string(leaker.pid()), "--seconds", "30"}, output), 0) << output;
    EXPECT_NE(output.find("until it ended"), std::string::npos) << output;
    EXPECT_NE(output.find("It ended during tracking; the sites are what was recorded until "
                          "then."),
              std::string::npos);
    std::string first =
        "1. where_leaker.cpp:" + std::to_string(testing::leakerLine("std::malloc(bytes)")) +
        " in leakyCacheInsert() kept ";
    EXPECT_NE(output.find(first), std::string::npos) << output;
    EXPECT_EQ(output.find("churnScratchBuffers"), std::string::npos);
}

TEST(WhereCommand, ReportsItsPhasesAndAnInterruptEndsTrackingWithWhatWasRecorded) {
    SKIP_WITHOUT_HEAP_TRACKING();
    TempHome home;
    Spawned leaker(VELMORA_WHERE_LEAKER, {"--exit-after", "60"});
    Spawned velmora(VELMORA_MONITOR_BIN,
                    {"where", std::to_string(leaker.pid()), "--seconds", "60", "--progress"},
                    homeEnvironment(home));
    std::vector<std::string> phases;
    while (auto line = velmora.readLine(60)) {
        auto json = parseJsonText(*line);
        ASSERT_TRUE(json.ok()) << *line;
        phases.push_back(json.value().value("phase", ""));
        if (phases.back() == "tracking") {
            EXPECT_EQ(json.value().value("seconds", 0.0), 60.0);
            break;
        }
    }
    ASSERT_EQ(phases, (std::vector<std::string>{"attaching", "tracking"}));
    ::poll(nullptr, 0, 2000); // a couple of seconds of leaking to record
    ::kill(velmora.pid(), SIGINT);
    std::string output;
    EXPECT_EQ(velmora.finish(60, output), 0) << output;
    EXPECT_NE(output.find("{\"phase\":\"stopping\"}\n{\"phase\":\"analysing\"}\n"),
              std::string::npos)
        << output;
    WhereReport report = decodeLast<WhereReport>(output);
    EXPECT_TRUE(report.stoppedEarly);
    EXPECT_LT(report.trackedSeconds, 30);
    expectLeakFirstAndNoChurn(report);
}

TEST(WhereCommand, ARefusedAttachSaysSoAndOffersWhatWouldWork) {
    SKIP_WITHOUT_HEAP_TRACKING();
    TempHome home;
    // This test is the leaker's tracer, so the kernel refuses every other.
    Spawned leaker(VELMORA_WHERE_LEAKER, {"--traced", "--exit-after", "60"});
    ::poll(nullptr, 0, 200);
    std::string output;
    std::string pid = std::to_string(leaker.pid());
    ASSERT_EQ(where(home, {pid, "--seconds", "3", "--json"}, output), 1) << output;
    WhereFailure failure = decodeLast<WhereFailure>(output, "error");
    EXPECT_EQ(failure.reason, "attachRefused");
    EXPECT_EQ(failure.message, testing::refusedAttachMessage(leaker.pid()));
    ASSERT_EQ(failure.commands.size(), 1u);
    EXPECT_EQ(failure.commands[0].command, "sudo heaptrack -p " + pid);
    EXPECT_TRUE(failure.restartHelps);
    // Nothing of the attempt is left behind: no recording, no pipe.
    EXPECT_FALSE(std::filesystem::exists(home.path + "/.local/share/velmora/artifacts") &&
                 !std::filesystem::is_empty(home.path + "/.local/share/velmora/artifacts"));
    EXPECT_FALSE(std::filesystem::exists("/tmp/heaptrack_fifo" + pid));
}

TEST(WhereCommand, NeverAttachesToAProcessThatDisabledTracing) {
    SKIP_WITHOUT_HEAP_TRACKING();
    TempHome home;
    // Root may trace anything, so as root both sides run as nobody, as a person would.
    std::optional<uid_t> user;
    if (::geteuid() == 0) {
        user = 65534;
        std::filesystem::permissions(home.path, std::filesystem::perms::all);
    }
    Spawned leaker(VELMORA_WHERE_LEAKER, {"--not-dumpable", "--exit-after", "60"}, {}, user);
    ::poll(nullptr, 0, 200);
    std::string output;
    std::string pid = std::to_string(leaker.pid());
    int status = where(home, {pid, "--json"}, output, {}, user);
    if (status == 126) {
        GTEST_SKIP() << "cannot run as another user here";
    }
    ASSERT_EQ(status, 1) << output;
    WhereFailure failure = decodeLast<WhereFailure>(output, "error");
    EXPECT_EQ(failure.reason, "notDumpable");
    EXPECT_EQ(failure.message, "where_leaker (PID " + pid +
                                   ") has disabled tracing of itself (it is not dumpable); "
                                   "Velmora never attaches to it.");
    EXPECT_FALSE(failure.restartHelps);
}

TEST(WhereCommand, LaunchTracksWithoutPtraceThenStartsTheProgramAgain) {
    SKIP_WITHOUT_HEAP_TRACKING();
    TempHome home;
    std::string output;
    ASSERT_EQ(where(home,
                    {"--launch", "--seconds", "3", "--json", "--", VELMORA_WHERE_LEAKER,
                     "--exit-after", "30"},
                    output),
              0)
        << output;
    WhereReport report = decodeLast<WhereReport>(output);
    expectLeakFirstAndNoChurn(report);
    EXPECT_FALSE(report.processEnded);
    ASSERT_GT(report.relaunchedPid, 0);
    pid_t again = static_cast<pid_t>(report.relaunchedPid);
    auto exe = std::filesystem::read_symlink("/proc/" + std::to_string(again) + "/exe");
    EXPECT_EQ(exe, std::filesystem::canonical(VELMORA_WHERE_LEAKER));
    std::string maps;
    {
        std::ifstream in("/proc/" + std::to_string(again) + "/maps");
        maps.assign(std::istreambuf_iterator<char>(in), {});
    }
    EXPECT_EQ(maps.find("heaptrack"), std::string::npos) << "started again under tracking";
    ::kill(again, SIGKILL);
}

// Whether `pid` is alive: running, not a zombie waiting for us.
bool alive(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::size_t paren = text.rfind(')');
    return paren != std::string::npos && paren + 2 < text.size() && text[paren + 2] != 'Z';
}

std::string startTimeOf(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    }
    return field;
}

// The processes whose command line holds `marker`, this test's children's only.
std::vector<pid_t> processesWith(const std::string& marker) {
    std::vector<pid_t> found;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream file(entry.path() / "cmdline");
        std::string cmdline((std::istreambuf_iterator<char>(file)), {});
        std::replace(cmdline.begin(), cmdline.end(), '\0', ' ');
        pid_t pid = static_cast<pid_t>(std::atol(entry.path().filename().c_str()));
        if (pid > 0 && cmdline.rfind(VELMORA_WHERE_LEAKER, 0) == 0 &&
            cmdline.find(marker) != std::string::npos && alive(pid)) {
            found.push_back(pid);
        }
    }
    return found;
}

// The children of `pid` (its main thread's).
std::vector<pid_t> childrenOf(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) +
                       "/children");
    std::vector<pid_t> children;
    for (pid_t child; file >> child;) {
        children.push_back(child);
    }
    return children;
}

TEST(WhereCommand, AReportOfManyMegabytesFromDeepDistinctStacksStillNamesTheLeak) {
    SKIP_WITHOUT_HEAP_TRACKING();
    TempHome home;
    Spawned leaker(VELMORA_WHERE_LEAKER,
                   {"--deep-stacks", "--kib", "4", "--per-second", "400", "--exit-after", "60"});
    std::string output;
    ASSERT_EQ(where(home, {std::to_string(leaker.pid()), "--seconds", "3", "--json"}, output), 0)
        << output;
    WhereReport report = decodeLast<WhereReport>(output);
    ASSERT_FALSE(report.sites.empty()) << "a big report read as no leak site";
    EXPECT_NE(siteOf(report.sites.front()).function.find("leakyCacheInsert"), std::string::npos);
    EXPECT_GE(report.sites.front().stack.size(), 40u);
    EXPECT_GT(report.leakedBytes, 0u);
    // What heaptrack_print wrote for it runs past a megabyte.
    ToolOptions toFile;
    toFile.outputFile = home.path + "/printed.txt";
    runTool(HeapTools::find().heaptrackPrint, heaptrackPrintArguments(report.recording, 64), 120,
            toFile);
    EXPECT_GT(std::filesystem::file_size(toFile.outputFile), 1u << 20)
        << "the report is too small to prove anything";
}

TEST(WhereCommand, NeverAttachesToAPidThatNoLongerNamesTheProcessJudged) {
    SKIP_WITHOUT_HEAP_TRACKING();
    TempHome home;
    Spawned leaker(VELMORA_WHERE_LEAKER, {"--exit-after", "60"});
    std::string pid = std::to_string(leaker.pid());
    std::string otherStart = std::to_string(std::stoull(startTimeOf(leaker.pid())) + 1);
    std::string output;
    ASSERT_EQ(where(home, {pid, "--start-time", otherStart, "--json"}, output), 1) << output;
    WhereFailure failure = decodeLast<WhereFailure>(output, "error");
    EXPECT_EQ(failure.reason, "pidReused");
    EXPECT_EQ(failure.message, "The process Velmora judged (PID " + pid +
                                   ") has ended and its PID now belongs to where_leaker; Velmora "
                                   "did not attach to it.");
    std::ifstream maps("/proc/" + pid + "/maps");
    std::string mapped((std::istreambuf_iterator<char>(maps)), {});
    EXPECT_EQ(mapped.find("heaptrack"), std::string::npos) << "attached anyway";
    // Its own start time is accepted.
    ASSERT_EQ(where(home,
                    {pid, "--start-time", startTimeOf(leaker.pid()), "--seconds", "1", "--json"},
                    output),
              0)
        << output;
}

TEST(WhereCommand, AReaderThatDiesNeverEndsTheTrackedProcess) {
    SKIP_WITHOUT_HEAP_TRACKING();
    TempHome home;
    Spawned leaker(VELMORA_WHERE_LEAKER, {"--work", "--exit-after", "60"});
    ASSERT_TRUE(leaker.readLine(10));
    Spawned velmora(VELMORA_MONITOR_BIN,
                    {"where", std::to_string(leaker.pid()), "--seconds", "60", "--progress"},
                    homeEnvironment(home));
    while (auto line = velmora.readLine(60)) {
        if (line->find("tracking") != std::string::npos) {
            break;
        }
    }
    // heaptrack's interpreter, below the reader's shell, as a full disk or a crash would end it.
    pid_t interpreter = 0;
    for (pid_t shell : childrenOf(velmora.pid())) {
        for (pid_t child : childrenOf(shell)) {
            auto exe = std::filesystem::read_symlink("/proc/" + std::to_string(child) + "/exe");
            if (exe.filename() == "heaptrack_interpret") {
                interpreter = child;
            }
        }
    }
    ASSERT_GT(interpreter, 0);
    ::kill(interpreter, SIGKILL);
    std::string output;
    EXPECT_EQ(velmora.finish(90, output), 1) << output;
    WhereFailure failure = decodeLast<WhereFailure>(output, "error");
    EXPECT_EQ(failure.message, "heaptrack's reader ended while tracking where_leaker (PID " +
                                   std::to_string(leaker.pid()) +
                                   "), so nothing usable was recorded; heaptrack was stopped "
                                   "first and the process goes on.");
    // It goes on working, untracked: its count of work units still rises.
    auto before = leaker.readLine(10);
    std::optional<std::string> after;
    for (int i = 0; i < 4; ++i) {
        if (auto line = leaker.readLine(5)) {
            after = line;
        }
    }
    ASSERT_TRUE(before && after) << "the tracked process ended";
    EXPECT_GT(std::stoull(*after), std::stoull(*before));
    EXPECT_TRUE(alive(leaker.pid()));
    // heaptrack was stopped in it: its writer thread is gone, only the program's own is left.
    auto threads = std::distance(
        std::filesystem::directory_iterator("/proc/" + std::to_string(leaker.pid()) + "/task"),
        std::filesystem::directory_iterator());
    EXPECT_EQ(threads, 1) << "heaptrack still runs in the process";
}

TEST(WhereCommand, TrackingStopsAtTheRecordingCapAndSaysWhy) {
    SKIP_WITHOUT_HEAP_TRACKING();
    TempHome home;
    // Flat out, its recording grows by megabytes.
    Spawned leaker(VELMORA_WHERE_LEAKER, {"--work", "--exit-after", "60"});
    ASSERT_TRUE(leaker.readLine(10));
    WhereReport report =
        trackedReport(home, leaker.pid(), {"--seconds", "50", "--max-recording-bytes", "4096"});
    EXPECT_TRUE(report.stoppedEarly);
    EXPECT_LT(report.trackedSeconds, 40) << report.trackedSeconds;
    EXPECT_EQ(report.note, "Tracking stopped when the recording reached its cap of 4 KB.");
    EXPECT_TRUE(alive(leaker.pid()));
}

TEST(WhereCommand, LaunchKeepsTheProgramRunningWhateverBecomesOfTheTracking) {
    SKIP_WITHOUT_HEAP_TRACKING();
    TempHome home;
    // A recording folder with a space in its name.
    std::string folder = home.path + "/my evidence";
    std::string output;
    ASSERT_EQ(where(home,
                    {"--launch", "--seconds", "2", "--json", "--artifacts-dir", folder, "--",
                     VELMORA_WHERE_LEAKER, "--exit-after", "30.25"},
                    output),
              0)
        << output;
    WhereReport report = decodeLast<WhereReport>(output);
    expectLeakFirstAndNoChurn(report);
    EXPECT_EQ(std::filesystem::path(report.recording).parent_path(), folder);
    EXPECT_EQ(processesWith("30.25"), std::vector<pid_t>{static_cast<pid_t>(report.relaunchedPid)});
    ::kill(static_cast<pid_t>(report.relaunchedPid), SIGKILL);

    // A program that puts itself in the background goes on in its child: that one is left
    // running and no second copy is started.
    output.clear();
    EXPECT_EQ(where(home,
                    {"--launch", "--seconds", "2", "--json", "--", VELMORA_WHERE_LEAKER,
                     "--fork-and-exit", "--exit-after", "30.5"},
                    output),
              1);
    auto running = processesWith("30.5");
    ASSERT_EQ(running.size(), 1u) << output;
    EXPECT_NE(
        output.find("went on in PID " + std::to_string(running[0]) + ", which was left running"),
        std::string::npos)
        << output;
    ::kill(running[0], SIGKILL);

    // A program closed during tracking is not started again.
    output.clear();
    ASSERT_EQ(where(home,
                    {"--launch", "--seconds", "20", "--json", "--", VELMORA_WHERE_LEAKER,
                     "--exit-after", "1.75"},
                    output),
              0)
        << output;
    report = decodeLast<WhereReport>(output);
    EXPECT_TRUE(report.processEnded);
    EXPECT_EQ(report.relaunchedPid, 0);
    EXPECT_TRUE(processesWith("1.75").empty());

    // A program heaptrack cannot start is said so; what is missing cannot be started again.
    output.clear();
    EXPECT_EQ(
        where(home, {"--launch", "--seconds", "2", "--json", "--", home.path + "/missing"}, output),
        1);
    WhereFailure failure = decodeLast<WhereFailure>(output, "error");
    EXPECT_EQ(failure.message.rfind("heaptrack could not start missing: ", 0), 0u)
        << failure.message;
    EXPECT_NE(failure.message.find("Then starting missing again failed"), std::string::npos)
        << failure.message;
}

TEST(WhereCommand, MissingToolsAndBadArgumentsAreSaidPlainly) {
    TempHome home;
    std::string output;
    EXPECT_EQ(where(home, {"1", "--json"}, output, {"PATH=/nonexistent"}), 1);
    WhereFailure failure = decodeLast<WhereFailure>(output, "error");
    EXPECT_EQ(failure.reason, "notInstalled");
    EXPECT_EQ(failure.message,
              "Finding where memory grows needs heaptrack and gdb, which are not installed. "
              "Install the Debian packages: sudo apt install heaptrack gdb");
    for (std::vector<std::string> bad : {std::vector<std::string>{},
                                         {"abc"},
                                         {"1", "--seconds", "0"},
                                         {"1", "--seconds", "601"},
                                         {"1", "2"},
                                         {"--launch"},
                                         {"1", "--top", "2.5"},
                                         {"1", "--start-time", "soon"},
                                         {"1", "--max-recording-bytes", "0"},
                                         {"1", "--colour"}}) {
        std::string ignored;
        EXPECT_EQ(where(home, bad, ignored), 2) << ::testing::PrintToString(bad);
    }
}

} // namespace
} // namespace velmora
