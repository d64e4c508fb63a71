// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/StdioVelmoraBackend.h"
#include "tests/link/support/FixtureRun.h"

#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace velmora {
namespace {

using namespace std::chrono_literals;
using namespace velmora::testing;

TEST(StdioExchange, EveryRequestIsOneCompactLineWithExactlyTheFieldsOfItsKind) {
    EchoFixture run;
    std::vector<HistoryResult> results;
    {
        StdioVelmoraBackend backend(run.options);
        backend.dispatch("restart", "com.google.Chrome");
        backend.dispatch(ShellCommand::quit);
        backend.fetchAdvancedHistory(std::nullopt, [&](HistoryResult r) { results.push_back(r); });
        backend.fetchAdvancedHistory("com.google.Chrome",
                                     [&](HistoryResult r) { results.push_back(r); });
        backend.updateRefreshInterval(2.5);
        backend.updateStorageMode(SettingsStorageMode::deepInvestigation);
        backend.updateEvidenceCaptureEnabled(false);
        backend.waitForIdle();
        EXPECT_EQ(backend.currentSnapshot().summaryText, "CAPTURE false");
        EXPECT_FALSE(backend.currentSnapshot().settings.evidenceCaptureEnabled);
        EXPECT_EQ(backend.currentSnapshot().settings.storageMode,
                  SettingsStorageMode::deepInvestigation);
        EXPECT_TRUE(backend.backendRunning()); // "quit" is an ordinary request
    }
    EXPECT_EQ(run.requests(),
              "{\"kind\":\"getSnapshot\"}\n"
              "{\"kind\":\"dispatchAction\",\"actionId\":\"restart\","
              "\"targetKey\":\"com.google.Chrome\"}\n"
              "{\"kind\":\"dispatchCommand\",\"commandId\":\"quit\"}\n"
              "{\"kind\":\"getAdvancedHistory\"}\n"
              "{\"kind\":\"getAdvancedHistory\",\"selectedKey\":\"com.google.Chrome\"}\n"
              "{\"kind\":\"updateRefreshInterval\",\"refreshIntervalSeconds\":2.5}\n"
              "{\"kind\":\"updateStorageMode\",\"storageMode\":\"deep_investigation\"}\n"
              "{\"kind\":\"updateEvidenceCapture\",\"enabled\":false}\n");
    ASSERT_EQ(results.size(), 2u);
    ASSERT_TRUE(std::holds_alternative<AdvancedHistorySnapshot>(results[0]));
    EXPECT_FALSE(std::get<AdvancedHistorySnapshot>(results[0]).selectedDetail.has_value());
    ASSERT_TRUE(std::holds_alternative<AdvancedHistorySnapshot>(results[1]));
    EXPECT_EQ(std::get<AdvancedHistorySnapshot>(results[1]).selectedDetail->key,
              "com.google.Chrome");
}

TEST(StdioExchange, SnapshotsArePublishedInRequestOrder) {
    EchoFixture run;
    StdioVelmoraBackend backend(run.options);
    SnapshotRecorder recorder(backend);
    backend.dispatch("select_detail", "a");
    backend.dispatch(ShellCommand::exportReport);
    backend.waitForIdle();
    std::vector<std::string> summaries;
    for (const auto& snapshot : recorder.snapshots()) {
        summaries.push_back(snapshot.summaryText);
    }
    // The placeholder first (or the first answer when it was quicker than the subscription).
    ASSERT_GE(summaries.size(), 3u);
    EXPECT_EQ(summaries.back(), "COMMAND export_report");
    EXPECT_EQ(summaries[summaries.size() - 2], "ACTION select_detail a");
    EXPECT_EQ(summaries[summaries.size() - 3], "POLL 1");
}

TEST(StdioExchange, ChildGetsOneArgumentTheMergedEnvironmentAndNoOtherDescriptor) {
    EchoFixture run;
    const auto startLog = run.dir() / "start.log";
    ::setenv("VELMORA_TEST_INHERITED", "passed through", 1);
    ::setenv("HOME", "/home/inherited", 1);
    const int leaked = ::fcntl(STDERR_FILENO, F_DUPFD, 200); // not close-on-exec
    run.options.launchEnvironment["HOME"] = "/tmp/self-check-home";
    run.options.launchEnvironment["VELMORA_FIXTURE_START_LOG"] = startLog.string();
    {
        StdioVelmoraBackend backend(run.options);
        backend.waitForIdle();
    }
    ::close(leaked);
    const auto log = readFile(startLog);
    EXPECT_NE(log.find("arg: ui-backend\n"), std::string::npos);
    EXPECT_EQ(log.find("arg: ", log.find("arg: ") + 1), std::string::npos) << log;
    EXPECT_NE(log.find("env: HOME=/tmp/self-check-home\n"), std::string::npos);
    EXPECT_EQ(log.find("env: HOME=/home/inherited"), std::string::npos);
    EXPECT_NE(log.find("env: VELMORA_TEST_INHERITED=passed through\n"), std::string::npos);
    EXPECT_EQ(log.find("fd: " + std::to_string(leaked) + "\n"), std::string::npos) << log;
    // 0, 1, 2, the start log and the directory listing itself.
    std::size_t descriptors = 0;
    for (auto at = log.find("\nfd: "); at != std::string::npos; at = log.find("\nfd: ", at + 1)) {
        ++descriptors;
    }
    EXPECT_EQ(descriptors, 5u) << log;
}

TEST(StdioExchange, WithoutLaunchEnvironmentTheChildInheritsTheEnvironmentUnchanged) {
    EchoFixture run;
    const auto startLog = run.dir() / "start.log";
    ::setenv("VELMORA_FIXTURE_START_LOG", startLog.c_str(), 1);
    ::setenv("VELMORA_FIXTURE_LOG", run.requestLog().c_str(), 1);
    run.options.launchEnvironment.clear();
    {
        StdioVelmoraBackend backend(run.options);
        backend.waitForIdle();
    }
    ::unsetenv("VELMORA_FIXTURE_START_LOG");
    ::unsetenv("VELMORA_FIXTURE_LOG");
    EXPECT_NE(readFile(startLog).find("env: VELMORA_FIXTURE_START_LOG=" + startLog.string()),
              std::string::npos);
    EXPECT_EQ(run.requests(), "{\"kind\":\"getSnapshot\"}\n");
}

TEST(StdioExchange, ThePlaceholderIsAnEmptySnapshotMarkedStartingUntilTheBackendAnswers) {
    ScriptedFixture run({"@silent"});
    StdioVelmoraBackend backend(run.options);
    EXPECT_EQ(backend.currentSnapshot(), PopoverSnapshot{});
    EXPECT_EQ(backend.currentMonitorLink().cause, MonitorLinkCause::starting);
    EXPECT_FALSE(backend.currentMonitorLink().hasData());
    SnapshotRecorder recorder(backend);
    ASSERT_EQ(recorder.count(), 1u);
    EXPECT_EQ(recorder.snapshots()[0], PopoverSnapshot{});
}

TEST(StdioExchange, ThePollingPeriodFollowsTheBackendsRefreshInterval) {
    EchoFixture run; // answers with refreshIntervalMs 10000 until told otherwise
    StdioVelmoraBackend backend(run.options);
    EXPECT_EQ(backend.pollingIntervalSeconds(), 1.0);
    backend.waitForIdle();
    EXPECT_EQ(backend.pollingIntervalSeconds(), 10.0);
    const std::vector<std::pair<double, double>> steps{{0.2, 0.5},  {60.0, 10.0}, {1.0, 1.0},
                                                       {1.02, 1.0}, {1.05, 1.05}, {1.08, 1.05}};
    for (const auto& [requested, period] : steps) {
        backend.updateRefreshInterval(requested);
        backend.waitForIdle();
        EXPECT_DOUBLE_EQ(backend.pollingIntervalSeconds(), period) << requested;
    }
}

TEST(StdioExchange, PollsOnItsOwnAtTheClampedPeriod) {
    EchoFixture run(Environment{{"VELMORA_FIXTURE_REFRESH_MS", "200"}});
    run.options.polling = true;
    const auto start = std::chrono::steady_clock::now();
    StdioVelmoraBackend backend(run.options);
    SnapshotRecorder recorder(backend);
    // The first answer asks for 200 ms, which clamps to 0.5 s: POLL 3 comes after two
    // periods of 0.5 s, well before two periods of the initial 1.0 s.
    ASSERT_TRUE(recorder.waitForSummary("POLL 3", 4s));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, 900ms);
    EXPECT_LT(elapsed, 1900ms);
    EXPECT_DOUBLE_EQ(backend.pollingIntervalSeconds(), 0.5);
}

TEST(StdioExchange, AnAnswerWithAnExtraLineDoesNotShiftTheAnswersAfterIt) {
    ScriptedFixture run({snapshotLine("FIRST") + "\\n" + snapshotLine("EXTRA"),
                         snapshotLine("SECOND"), snapshotLine("THIRD")});
    CapturedOutput stderrCapture(STDERR_FILENO);
    StdioVelmoraBackend backend(run.options);
    backend.waitForIdle();
    EXPECT_EQ(backend.currentSnapshot().summaryText, "FIRST");
    backend.dispatch("restart", "x"); // the extra line is discarded before this request
    backend.waitForIdle();
    EXPECT_EQ(backend.currentSnapshot().summaryText, "SECOND");
    backend.dispatch("restart", "y");
    backend.waitForIdle();
    EXPECT_EQ(backend.currentSnapshot().summaryText, "THIRD");
    EXPECT_EQ(stderrCapture.linesStartingWith("velmora-ui: discarded ").size(), 1u);
}

TEST(StdioExchange, RoutesByTheMemberThatIsPresent) {
    ScriptedFixture run({
        R"({"kind":"anything at all","snapshot":{"summaryText":"ARBITRARY KIND","refreshIntervalMs":10000}})",
        R"({"kind":"snapshot","snapshot":{"summaryText":"WITH MESSAGE"},"message":"not logged"})",
        R"({"kind":"snapshot","snapshot":{"summaryText":"HISTORY AS SNAPSHOT"}})",
        R"({"kind":"advancedHistory","advancedHistory":{"generatedAtMs":1,"offenders":[]}})",
        R"({"kind":"nothing"})",
        R"({"message":"no kind here"})",
        R"({"kind":"error","message":"history store is locked"})",
        R"({"kind":"advancedHistory","advancedHistory":{"generatedAtMs":7,"offenders":[]}})",
        "@silent",
    });
    CapturedOutput stderrCapture(STDERR_FILENO);
    std::vector<HistoryResult> results;
    auto collect = [&](HistoryResult r) { results.push_back(std::move(r)); };
    StdioVelmoraBackend backend(run.options);
    SnapshotRecorder recorder(backend);
    backend.waitForIdle();
    EXPECT_EQ(backend.currentSnapshot().summaryText, "ARBITRARY KIND");
    backend.dispatch("a", "b");
    backend.waitForIdle();
    EXPECT_EQ(backend.currentSnapshot().summaryText, "WITH MESSAGE");
    backend.fetchAdvancedHistory(std::nullopt, collect); // answered with a snapshot
    backend.waitForIdle();
    EXPECT_EQ(backend.currentSnapshot().summaryText, "HISTORY AS SNAPSHOT");
    ASSERT_EQ(results.size(), 1u); // and ended, without a history
    ASSERT_TRUE(std::holds_alternative<BackendRequestError>(results[0]));
    const auto published = recorder.count();
    backend.dispatch("a", "b"); // a history nobody waits for is dropped
    backend.dispatch("a", "b"); // an envelope with nothing in it does nothing
    backend.waitForIdle();
    EXPECT_EQ(recorder.count(), published);
    EXPECT_TRUE(stderrCapture.text().empty()) << stderrCapture.text();

    backend.fetchAdvancedHistory(std::nullopt, collect); // a message without kind
    backend.fetchAdvancedHistory(std::nullopt, collect); // a backend error
    backend.fetchAdvancedHistory("x", collect);
    backend.waitForIdle();
    ASSERT_EQ(results.size(), 4u);
    ASSERT_TRUE(std::holds_alternative<BackendRequestError>(results[1]));
    ASSERT_TRUE(std::holds_alternative<BackendRequestError>(results[2]));
    EXPECT_EQ(std::get<BackendRequestError>(results[2]).message, "history store is locked");
    ASSERT_TRUE(std::holds_alternative<AdvancedHistorySnapshot>(results[3]));
    EXPECT_EQ(std::get<AdvancedHistorySnapshot>(results[3]).generatedAtMs, 7);

    const auto transport = stderrCapture.linesStartingWith("velmora-ui: transport error: ");
    ASSERT_EQ(transport.size(), 1u);
    EXPECT_EQ(transport[0],
              "velmora-ui: transport error: " + std::get<BackendRequestError>(results[1]).message);
    EXPECT_EQ(stderrCapture.linesStartingWith("velmora-ui: backend error: "),
              std::vector<std::string>{"velmora-ui: backend error: history store is locked"});
    EXPECT_EQ(stderrCapture.linesStartingWith("velmora-ui:").size(), 2u);
    EXPECT_EQ(backend.currentSnapshot().summaryText, "HISTORY AS SNAPSHOT");
}

} // namespace
} // namespace velmora
