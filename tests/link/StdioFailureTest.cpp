// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/StdioVelmoraBackend.h"
#include "tests/link/support/FixtureRun.h"
#include "tests/link/support/ManualBackendClock.h"

#include <cmath>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

using namespace std::chrono_literals;
using namespace velmora::testing;

TEST(StdioFailure, ABackendThatExitsAtOnceIsNotWatchingAndItsRequestsAreDropped) {
    FixtureRun run("fake_backend_exit_now", {});
    run.options.clock = std::make_shared<ManualBackendClock>();
    CapturedOutput stderrCapture(STDERR_FILENO);
    StdioVelmoraBackend backend(run.options);
    backend.waitForIdle();
    EXPECT_FALSE(backend.backendRunning());
    EXPECT_EQ(notWatchingReason(backend.currentMonitorLink()), "stopped with status 3");
    std::optional<HistoryResult> result;
    backend.dispatch("restart", "x");
    backend.fetchAdvancedHistory(std::nullopt, [&](HistoryResult r) { result = std::move(r); });
    backend.waitForIdle();
    // Nothing is written to a backend that is not running; a history request fails at once.
    ASSERT_TRUE(result && std::holds_alternative<BackendRequestError>(*result));
    EXPECT_EQ(std::get<BackendRequestError>(*result).message,
              "The Velmora monitor is not running.");
    EXPECT_EQ(backend.currentSnapshot(), PopoverSnapshot{});
    EXPECT_EQ(stderrCapture.text(), "velmora-ui: monitor stopped with status 3; next try in 1 s\n");
}

TEST(StdioFailure, InASelfCheckABackendThatExitsKeepsTheLastSnapshotAndIsNotRestarted) {
    ScriptedFixture run({snapshotLine("ONE"), snapshotLine("TWO")});
    run.options.restarts = false;
    CapturedOutput stderrCapture(STDERR_FILENO);
    StdioVelmoraBackend backend(run.options);
    SnapshotRecorder recorder(backend);
    backend.dispatch("restart", "x");
    backend.waitForIdle();
    EXPECT_EQ(backend.currentSnapshot().summaryText, "TWO");
    const auto published = recorder.count();
    for (int i = 0; i < 3; ++i) {
        backend.dispatch("restart", "x");
        backend.updateStorageMode(SettingsStorageMode::low);
    }
    backend.waitForIdle();
    EXPECT_EQ(recorder.count(), published);
    EXPECT_EQ(backend.currentSnapshot().summaryText, "TWO");
    EXPECT_EQ(run.requestCount(), 2u); // it had gone after its second answer
    EXPECT_FALSE(backend.backendRunning());
    EXPECT_EQ(run.starts(), 1u);
    EXPECT_EQ(stderrCapture.text(),
              "velmora-ui: monitor stopped with status 0; not restarted during a self-check\n");
}

TEST(StdioFailure, AHistoryRequestTheBackendEndsOnFailsInsteadOfWaitingForever) {
    ScriptedFixture run({snapshotLine("ONE"), "@exit"});
    run.options.clock = std::make_shared<ManualBackendClock>();
    CapturedOutput stderrCapture(STDERR_FILENO);
    StdioVelmoraBackend backend(run.options);
    backend.waitForIdle();
    std::optional<HistoryResult> result;
    backend.fetchAdvancedHistory(std::nullopt, [&](HistoryResult r) { result = std::move(r); });
    backend.waitForIdle();
    ASSERT_TRUE(result);
    ASSERT_TRUE(std::holds_alternative<BackendRequestError>(*result));
    EXPECT_EQ(std::get<BackendRequestError>(*result).message,
              "The Velmora monitor stopped before it answered.");
    EXPECT_EQ(backend.currentSnapshot().summaryText, "ONE");
    // The end of the stream is no transport error; the exit is logged once.
    EXPECT_EQ(stderrCapture.text(), "velmora-ui: monitor stopped with status 0; next try in 1 s\n");
}

// Every history request ends: an answer that holds no history ends it with an error.
TEST(StdioFailure, AHistoryRequestAnsweredWithoutAHistoryEndsWithAnError) {
    ScriptedFixture run({snapshotLine("ONE"), snapshotLine("TWO"), R"({"kind":"ok"})",
                         R"({"kind":"error","message":"history store is locked"})", "@silent"});
    run.options.clock = std::make_shared<ManualBackendClock>();
    CapturedOutput stderrCapture(STDERR_FILENO);
    StdioVelmoraBackend backend(run.options);
    backend.waitForIdle();
    std::vector<HistoryResult> results;
    for (int i = 0; i < 3; ++i) {
        backend.fetchAdvancedHistory(std::nullopt, [&](HistoryResult r) { results.push_back(r); });
    }
    backend.waitForIdle();
    ASSERT_EQ(results.size(), 3u);
    std::vector<std::string> messages;
    for (const auto& result : results) {
        ASSERT_TRUE(std::holds_alternative<BackendRequestError>(result));
        messages.push_back(std::get<BackendRequestError>(result).message);
    }
    EXPECT_EQ(messages, (std::vector<std::string>{"The Velmora monitor answered without a history.",
                                                  "The Velmora monitor answered without a history.",
                                                  "history store is locked"}));
    EXPECT_EQ(backend.currentSnapshot().summaryText, "TWO"); // a snapshot is still a snapshot
    EXPECT_TRUE(backend.currentMonitorLink().watching());
}

TEST(StdioFailure, ABackendThatStoppedReadingIsEndedWithoutSigpipe) {
    ScriptedFixture run({"@deaf " + snapshotLine("DEAF")});
    run.options.clock = std::make_shared<ManualBackendClock>();
    CapturedOutput stderrCapture(STDERR_FILENO);
    StdioVelmoraBackend backend(run.options);
    backend.waitForIdle();
    EXPECT_EQ(backend.currentSnapshot().summaryText, "DEAF");
    const pid_t deaf = run.pid();
    for (int i = 0; i < 5; ++i) {
        backend.dispatch("restart", "x"); // EPIPE, never SIGPIPE
    }
    backend.waitForIdle();
    EXPECT_FALSE(backend.backendRunning());
    EXPECT_EQ(::kill(deaf, 0), -1); // ended and reaped
    EXPECT_EQ(notWatchingReason(backend.currentMonitorLink()), "not answering");
    EXPECT_EQ(backend.currentSnapshot().summaryText, "DEAF");
    EXPECT_EQ(stderrCapture.text(), "velmora-ui: monitor not answering (its streams closed; "
                                    "ended); next try in 1 s\n");
}

TEST(StdioFailure, APartialLineBeforeExitIsDecodedAsTheResponse) {
    ScriptedFixture run({"@partial " + snapshotLine("PARTIAL")});
    StdioVelmoraBackend backend(run.options);
    backend.waitForIdle();
    EXPECT_EQ(backend.currentSnapshot().summaryText, "PARTIAL");
}

TEST(StdioFailure, GarbageIsATransportErrorAndLeavesTheSnapshotUnchanged) {
    ScriptedFixture run({snapshotLine("GOOD"), "this is not json",
                         R"({"kind":"snapshot","snapshot":{"globalTone":"warning"}})", "",
                         "@silent"});
    CapturedOutput stderrCapture(STDERR_FILENO);
    StdioVelmoraBackend backend(run.options);
    SnapshotRecorder recorder(backend);
    backend.waitForIdle();
    const auto published = recorder.count();
    backend.dispatch("a", "b");
    backend.dispatch("a", "b");
    backend.dispatch("a", "b"); // an empty line
    backend.waitForIdle();
    EXPECT_EQ(backend.currentSnapshot().summaryText, "GOOD");
    EXPECT_EQ(recorder.count(), published);
    const auto lines = stderrCapture.linesStartingWith("velmora-ui: transport error: ");
    ASSERT_EQ(lines.size(), 3u) << stderrCapture.text();
    EXPECT_NE(lines[1].find("globalTone"), std::string::npos) << lines[1];
    // Three in a row, and the monitor is not kept (StdioMonitorLinkTest follows that through).
    EXPECT_EQ(stderrCapture.linesStartingWith("velmora-ui:").size(), 4u);
    EXPECT_EQ(notWatchingReason(backend.currentMonitorLink()),
              "ended: its answers could not be read");
}

TEST(StdioFailure, AnOverlongLineIsDiscardedAndTheNextAnswerStillArrives) {
    ScriptedFixture run({"@long 3000000", snapshotLine("AFTER"), "@silent"});
    run.options.maxLineBytes = 1 << 20;
    CapturedOutput stderrCapture(STDERR_FILENO);
    StdioVelmoraBackend backend(run.options);
    std::optional<HistoryResult> result;
    backend.waitForIdle();
    EXPECT_EQ(backend.currentSnapshot(), PopoverSnapshot{});
    backend.dispatch("a", "b");
    backend.waitForIdle();
    EXPECT_EQ(backend.currentSnapshot().summaryText, "AFTER");
    const auto lines = stderrCapture.linesStartingWith("velmora-ui: transport error: ");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("exceeds 1048576 bytes"), std::string::npos) << lines[0];
}

TEST(StdioFailure, ARequestThatCannotBeEncodedIsATransportError) {
    EchoFixture run;
    CapturedOutput stderrCapture(STDERR_FILENO);
    StdioVelmoraBackend backend(run.options);
    backend.updateRefreshInterval(std::nan(""));
    backend.waitForIdle();
    EXPECT_EQ(stderrCapture.linesStartingWith("velmora-ui: transport error: ").size(), 1u);
    EXPECT_EQ(run.requestCount(), 1u); // only the initial poll reached the backend
}

TEST(StdioFailure, ANonExecutableBackendBinWithoutABundledCopyResolvesToNothing) {
    TemporaryDirectory dir;
    writeFile(dir / "velmora", "#!/bin/sh\n");
    ::chmod((dir / "velmora").c_str(), 0644);
    ::setenv("VELMORA_BACKEND_BIN", (dir / "velmora").c_str(), 1);
    ::setenv("VELMORA_RESOURCES_DIR", (dir / "no-resources").c_str(), 1);
    CapturedOutput stderrCapture(STDERR_FILENO);
    {
        StdioBackendOptions options; // resolves through the environment
        options.clock = std::make_shared<ManualBackendClock>();
        StdioVelmoraBackend backend(options);
        backend.dispatch("restart", "x");
        backend.waitForIdle();
        EXPECT_EQ(backend.currentSnapshot(), PopoverSnapshot{});
        EXPECT_FALSE(backend.backendRunning());
        // Not a silent all clear: the placeholder is shown as not watching.
        EXPECT_EQ(notWatchingReason(backend.currentMonitorLink()), "could not be started");
    }
    ::unsetenv("VELMORA_BACKEND_BIN");
    ::unsetenv("VELMORA_RESOURCES_DIR");
    EXPECT_EQ(stderrCapture.text(), "velmora-ui: failed to resolve backend executable\n"
                                    "velmora-ui: monitor could not be started; next try in 1 s\n");
}

TEST(StdioFailure, ABackendBinNamingAFixtureIsStarted) {
    EchoFixture run;
    ::setenv("VELMORA_BACKEND_BIN", fixture("fake_backend_echo").c_str(), 1);
    run.options.executable.reset();
    StdioVelmoraBackend backend(run.options);
    ::unsetenv("VELMORA_BACKEND_BIN");
    backend.waitForIdle();
    EXPECT_EQ(backend.currentSnapshot().summaryText, "POLL 1");
}

TEST(StdioFailure, ALaunchErrorIsReportedWithItsDescription) {
    TemporaryDirectory dir;
    writeFile(dir / "velmora", "not a program");
    ::chmod((dir / "velmora").c_str(), 0644);
    StdioBackendOptions options;
    options.executable = dir / "velmora";
    options.polling = false;
    options.restarts = false;
    CapturedOutput stderrCapture(STDERR_FILENO);
    {
        StdioVelmoraBackend backend(options);
        backend.waitForIdle();
    }
    EXPECT_EQ(stderrCapture.text(),
              "velmora-ui: failed to start backend: Permission denied\n"
              "velmora-ui: monitor could not be started; not restarted during a self-check\n");
}

TEST(StdioFailure, ShutdownEndsPromptlyWhileAnExchangeWaitsOnASilentBackend) {
    for (const char* silence : {"@silent", "@stubborn"}) {
        ScriptedFixture run({snapshotLine("ONE"), silence});
        auto backend = std::make_unique<StdioVelmoraBackend>(run.options);
        backend->waitForIdle();
        bool completed = false;
        // Blocked in its exchange when the client goes: it is not completed during shutdown.
        backend->fetchAdvancedHistory(std::nullopt, [&](HistoryResult) { completed = true; });
        ASSERT_TRUE(eventually([&] { return run.requestCount() == 2 && run.pid() > 0; }));
        std::this_thread::sleep_for(20ms); // let the backend reach its silence
        const pid_t pid = run.pid();
        const auto start = std::chrono::steady_clock::now();
        backend.reset();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 1s) << silence;
        EXPECT_FALSE(completed);
        // Reaped, not left as a zombie: the process id no longer exists at all.
        EXPECT_EQ(::kill(pid, 0), -1) << silence;
        EXPECT_EQ(errno, ESRCH) << silence;
    }
}

} // namespace
} // namespace velmora
