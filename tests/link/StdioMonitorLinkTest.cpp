// SPDX-License-Identifier: GPL-3.0-or-later
// The stdio client watching its backend: exits, kills, hangs, failed starts and stray output,
// with real child processes and a hand-driven clock for every deadline and restart delay.

#include "demo/ScenarioLibrary.h"
#include "link/StdioVelmoraBackend.h"
#include "tests/link/support/FixtureRun.h"
#include "tests/link/support/ManualBackendClock.h"

#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

using namespace std::chrono_literals;
using namespace velmora::testing;

// The state letter of a process ("T" stopped, "S" sleeping), empty when it does not exist.
std::string processState(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    std::getline(stat, text);
    const auto close = text.rfind(')');
    return close == std::string::npos || close + 2 >= text.size() ? "" : text.substr(close + 2, 1);
}

// Reaped, not left as a zombie: the process id no longer exists at all.
bool gone(pid_t pid) {
    return ::kill(pid, 0) == -1 && errno == ESRCH;
}

class StdioMonitorLink : public ::testing::Test {
protected:
    template <class Run> void watch(Run& run) { run.options.clock = clock; }

    MonitorLinkState link(const StdioVelmoraBackend& backend) const {
        return backend.currentMonitorLink();
    }
    std::optional<BackendClock::Duration> nextTryIn(const StdioVelmoraBackend& backend) const {
        return nextAttemptIn(backend.currentMonitorLink(), clock->now());
    }

    // Lets the next try fall due and waits until the client has made it.
    void reachNextTry(StdioVelmoraBackend& backend, BackendClock::Duration delay) {
        clock->advance(delay);
        backend.waitForIdle();
    }

    std::shared_ptr<ManualBackendClock> clock = std::make_shared<ManualBackendClock>();
};

TEST_F(StdioMonitorLink, ABackendThatKeepsExitingIsRestartedAfterOneTwoThenFourSeconds) {
    ScriptedFixture run({snapshotLine("ONE"), "@exit 3"}); // every start: one answer, then exit 3
    watch(run);
    CapturedOutput stderrCapture(STDERR_FILENO);
    StdioVelmoraBackend backend(run.options);
    backend.waitForIdle();
    EXPECT_TRUE(link(backend).watching());
    auto answeredAt = clock->now();

    std::size_t starts = 1;
    for (const auto delay : {1s, 2s, 4s}) {
        std::optional<HistoryResult> result;
        backend.fetchAdvancedHistory(std::nullopt, [&](HistoryResult r) { result = r; });
        backend.waitForIdle();
        ASSERT_TRUE(result && std::holds_alternative<BackendRequestError>(*result));
        EXPECT_EQ(std::get<BackendRequestError>(*result).message,
                  "The Velmora monitor stopped before it answered.");
        const MonitorLinkState state = link(backend);
        EXPECT_EQ(state.cause, MonitorLinkCause::exited);
        EXPECT_EQ(state.code, 3);
        EXPECT_EQ(notWatchingReason(state), "stopped with status 3");
        EXPECT_EQ(state.recovery, MonitorRecovery::scheduled);
        EXPECT_EQ(nextTryIn(backend), delay);
        EXPECT_EQ(state.lastGoodAnswerAt, answeredAt); // the rows are as old as the last answer
        EXPECT_FALSE(backend.backendRunning());        // reaped
        EXPECT_EQ(backend.currentSnapshot().summaryText, "ONE");

        reachNextTry(backend, delay - 1ms);
        EXPECT_EQ(run.starts(), starts) << "started before its delay of " << delay.count() << " s";
        reachNextTry(backend, 1ms);
        answeredAt = clock->now();
        EXPECT_EQ(run.starts(), ++starts);
        EXPECT_TRUE(link(backend).watching()); // cleared by the first good answer
    }
    EXPECT_EQ(stderrCapture.linesStartingWith("velmora-ui: monitor stopped with status 3; "),
              (std::vector<std::string>{
                  "velmora-ui: monitor stopped with status 3; next try in 1 s",
                  "velmora-ui: monitor stopped with status 3; next try in 2 s",
                  "velmora-ui: monitor stopped with status 3; next try in 4 s",
              }));
    const auto restarts = stderrCapture.linesStartingWith("velmora-ui: monitor restarted as pid ");
    ASSERT_EQ(restarts.size(), 3u) << stderrCapture.text();
    EXPECT_NE(restarts[0].find("(it was stopped with status 3)"), std::string::npos);
}

TEST_F(StdioMonitorLink, FiveFailuresWithinTenMinutesStopTheTriesUntilARestartIsAskedFor) {
    ScriptedFixture run({snapshotLine("ONE"), "@signal 9"});
    watch(run);
    CapturedOutput stderrCapture(STDERR_FILENO);
    StdioVelmoraBackend backend(run.options);
    backend.waitForIdle();
    for (const auto delay : {1s, 2s, 4s, 8s}) {
        backend.dispatch("a", "b");
        backend.waitForIdle();
        EXPECT_EQ(notWatchingReason(link(backend)), "killed by signal 9");
        EXPECT_EQ(nextTryIn(backend), delay);
        reachNextTry(backend, delay);
        ASSERT_TRUE(link(backend).watching());
    }
    backend.dispatch("a", "b"); // the fifth failure within 10 minutes
    backend.waitForIdle();
    EXPECT_EQ(link(backend).recovery, MonitorRecovery::gaveUp);
    EXPECT_EQ(nextTryIn(backend), std::nullopt);
    EXPECT_EQ(stderrCapture.linesStartingWith("velmora-ui: monitor killed by signal 9; ").back(),
              "velmora-ui: monitor killed by signal 9; gave up after 5 failures within 10 "
              "minutes");
    reachNextTry(backend, 30min);
    EXPECT_EQ(run.starts(), 5u);
    EXPECT_FALSE(link(backend).watching());

    backend.restartMonitor(); // the person asks: tried at once, with the delays from the start
    backend.waitForIdle();
    EXPECT_EQ(run.starts(), 6u);
    EXPECT_TRUE(link(backend).watching());
    backend.dispatch("a", "b");
    backend.waitForIdle();
    EXPECT_EQ(nextTryIn(backend), 1s);

    backend.restartMonitor(); // while a try is scheduled: at once as well
    backend.waitForIdle();
    EXPECT_EQ(run.starts(), 7u);
    backend.restartMonitor(); // while watching: nothing to do
    backend.waitForIdle();
    EXPECT_EQ(run.starts(), 7u);
    reachNextTry(backend, 1s); // the cancelled try does not start an eighth
    EXPECT_EQ(run.starts(), 7u);
}

TEST_F(StdioMonitorLink, FiveHealthyMinutesBringTheDelayBackToOneSecond) {
    ScriptedFixture run({snapshotLine("ONE"), snapshotLine("TWO"), "@exit 1"});
    watch(run);
    StdioVelmoraBackend backend(run.options);
    backend.waitForIdle();
    auto failNow = [&] {
        backend.dispatch("a", "b");
        backend.dispatch("a", "b");
        backend.waitForIdle();
    };
    failNow();
    reachNextTry(backend, 1s);
    failNow();
    reachNextTry(backend, 2s);
    // This one answers (at once, then after 4 min 59 s): not yet five healthy minutes.
    clock->advance(4min + 59s);
    failNow();
    EXPECT_EQ(nextTryIn(backend), 4s);
    reachNextTry(backend, 4s);
    clock->advance(5min);
    failNow(); // its second answer came five minutes after its first
    EXPECT_EQ(nextTryIn(backend), 1s);
    EXPECT_EQ(link(backend).recovery, MonitorRecovery::scheduled); // 2 failures in 10 minutes
}

TEST_F(StdioMonitorLink, ABackendThatStopsItselfIsEndedAtTheDeadlineAndRestarted) {
    for (const char* hang : {"@stop", "@stubborn"}) {
        SCOPED_TRACE(hang);
        ScriptedFixture run({snapshotLine("ONE"), hang});
        watch(run);
        CapturedOutput stderrCapture(STDERR_FILENO);
        StdioVelmoraBackend backend(run.options);
        backend.waitForIdle();
        const pid_t first = run.pid();
        std::optional<HistoryResult> result;
        backend.fetchAdvancedHistory(std::nullopt, [&](HistoryResult r) { result = r; });
        ASSERT_TRUE(eventually([&] {
            return run.requestCount() == 2 &&
                   (std::string(hang) != "@stop" || processState(first) == "T");
        }));
        clock->advance(StdioBackendOptions::defaultAnswerDeadline - 1ms);
        EXPECT_TRUE(link(backend).watching()); // a slow answer is still an answer
        EXPECT_FALSE(result);
        clock->advance(1ms);
        backend.waitForIdle(); // the worker is free again: nothing stays blocked
        ASSERT_TRUE(result && std::holds_alternative<BackendRequestError>(*result));
        EXPECT_TRUE(gone(first));
        const MonitorLinkState state = link(backend);
        EXPECT_EQ(notWatchingReason(state), "not answering");
        EXPECT_EQ(nextTryIn(backend), 1s);
        EXPECT_EQ(stderrCapture.linesStartingWith("velmora-ui: monitor not answering"),
                  std::vector<std::string>{"velmora-ui: monitor not answering (no answer within "
                                           "15 s; ended); next try in 1 s"});
        reachNextTry(backend, 1s);
        EXPECT_TRUE(link(backend).watching());
        EXPECT_NE(run.pid(), first);
        EXPECT_EQ(backend.currentSnapshot().summaryText, "ONE");
    }
}

TEST_F(StdioMonitorLink, AStrayLineNeverShiftsTheAnswersThatFollow) {
    const std::string history =
        R"({"kind":"advancedHistory","advancedHistory":{"generatedAtMs":42,"offenders":[]}})";
    const std::string stray = snapshotLine("STRAY");
    ScriptedFixture run({snapshotLine("ONE"), snapshotLine("TWO") + "\\n" + stray, history,
                         snapshotLine("THREE") + "\\n" + stray + "\\n" + stray,
                         snapshotLine("FOUR"), "@silent"});
    watch(run);
    CapturedOutput stderrCapture(STDERR_FILENO);
    StdioVelmoraBackend backend(run.options);
    SnapshotRecorder recorder(backend);
    backend.dispatch("a", "b"); // TWO, and one line nobody asked for
    std::optional<HistoryResult> result;
    backend.fetchAdvancedHistory(std::nullopt, [&](HistoryResult r) { result = r; });
    backend.dispatch("a", "b"); // THREE, and two lines nobody asked for
    backend.dispatch("a", "b");
    backend.waitForIdle();
    ASSERT_TRUE(result && std::holds_alternative<AdvancedHistorySnapshot>(*result));
    EXPECT_EQ(std::get<AdvancedHistorySnapshot>(*result).generatedAtMs, 42);
    std::vector<std::string> summaries;
    for (const auto& snapshot : recorder.snapshots()) {
        if (snapshot.summaryText != "ALL CLEAR") { // the placeholder, when the recorder saw it
            summaries.push_back(snapshot.summaryText);
        }
    }
    EXPECT_EQ(summaries, (std::vector<std::string>{"ONE", "TWO", "THREE", "FOUR"}));
    const std::string one = std::to_string(stray.size() + 1);
    const std::string two = std::to_string(2 * (stray.size() + 1));
    EXPECT_EQ(stderrCapture.linesStartingWith("velmora-ui:"),
              (std::vector<std::string>{
                  "velmora-ui: discarded " + one + " bytes the backend wrote unasked",
                  "velmora-ui: discarded " + two + " bytes the backend wrote unasked",
              }));
    EXPECT_TRUE(link(backend).watching());
}

TEST_F(StdioMonitorLink, AMonitorWhoseSamplingStalledIsNotWatchingUntilItSamplesAgain) {
    const std::string stalled =
        R"({"kind":"snapshot","snapshot":{"summaryText":"OLD","samplingStalledMs":4500}})";
    ScriptedFixture run({snapshotLine("FRESH"), stalled, stalled, snapshotLine("AGAIN"), stalled,
                         snapshotLine("NEW")});
    watch(run);
    CapturedOutput stderrCapture(STDERR_FILENO);
    StdioVelmoraBackend backend(run.options);
    backend.dispatch("a", "b");
    backend.waitForIdle();
    MonitorLinkState state = link(backend);
    EXPECT_EQ(state.cause, MonitorLinkCause::notSampling);
    EXPECT_EQ(notWatchingReason(state), "not sampling");
    EXPECT_EQ(state.recovery, MonitorRecovery::none); // it answers: nothing to restart
    EXPECT_EQ(lastGoodAnswerAge(state, clock->now()), 4500ms);
    EXPECT_EQ(backend.currentSnapshot().summaryText, "OLD"); // shown, and marked as old
    clock->advance(1s);
    backend.dispatch("a", "b"); // still stalled: the same state, not published again
    backend.waitForIdle();
    EXPECT_EQ(link(backend), state);
    backend.dispatch("a", "b");
    backend.waitForIdle();
    EXPECT_TRUE(link(backend).watching());
    EXPECT_EQ(run.starts(), 1u);

    backend.dispatch("a", "b");
    backend.waitForIdle();
    ASSERT_EQ(link(backend).cause, MonitorLinkCause::notSampling);
    const pid_t stuck = run.pid();
    backend.restartMonitor(); // the person asks: this monitor is ended and a new one started
    backend.waitForIdle();
    EXPECT_TRUE(gone(stuck));
    EXPECT_EQ(run.starts(), 2u);
    EXPECT_TRUE(link(backend).watching());
    EXPECT_EQ(stderrCapture.linesStartingWith("velmora-ui: monitor answers, but").size(), 2u);
}

TEST_F(StdioMonitorLink, ABackendThatCannotBeStartedIsNotWatchingAndIsTriedAgain) {
    TemporaryDirectory dir;
    writeFile(dir / "velmora", "not a program");
    ::chmod((dir / "velmora").c_str(), 0644);
    StdioBackendOptions options;
    options.executable = dir / "velmora";
    options.polling = false;
    options.clock = clock;
    CapturedOutput stderrCapture(STDERR_FILENO);
    StdioVelmoraBackend backend(options);
    backend.waitForIdle();
    EXPECT_EQ(notWatchingReason(link(backend)), "could not be started");
    EXPECT_EQ(nextTryIn(backend), 1s);
    EXPECT_EQ(link(backend).lastGoodAnswerAt, std::nullopt); // there never was good data
    reachNextTry(backend, 1s);
    EXPECT_EQ(nextTryIn(backend), 2s);
    EXPECT_EQ(stderrCapture.text(), "velmora-ui: failed to start backend: Permission denied\n"
                                    "velmora-ui: monitor could not be started; next try in 1 s\n"
                                    "velmora-ui: failed to start backend: Permission denied\n"
                                    "velmora-ui: monitor could not be started; next try in 2 s\n");
}

TEST_F(StdioMonitorLink, WithRestartsOffAFailedBackendStaysFailed) {
    ScriptedFixture run({snapshotLine("ONE"), "@exit 3"});
    watch(run);
    run.options.restarts = false;
    CapturedOutput stderrCapture(STDERR_FILENO);
    StdioVelmoraBackend backend(run.options);
    backend.dispatch("a", "b");
    backend.waitForIdle();
    EXPECT_EQ(link(backend).recovery, MonitorRecovery::gaveUp);
    EXPECT_EQ(clock->pendingAlarms(), 0u);
    reachNextTry(backend, 1h);
    EXPECT_EQ(run.starts(), 1u);
    EXPECT_EQ(stderrCapture.text(),
              "velmora-ui: monitor stopped with status 3; not restarted during a self-check\n");
}

TEST_F(StdioMonitorLink, UntilItsFirstAnswerTheMonitorIsStartingAndNothingIsMadeUp) {
    ScriptedFixture run({"@silent"}); // started, but it never answers
    watch(run);
    CapturedOutput stderrCapture(STDERR_FILENO);
    StdioVelmoraBackend backend(run.options);
    ASSERT_TRUE(eventually([&] { return run.requestCount() == 1; }));
    MonitorLinkState state = link(backend);
    EXPECT_FALSE(state.watching());
    EXPECT_EQ(state.lastGoodAnswerAt, std::nullopt); // there is no data to show
    // No figures of any kind: not the demo's all clear, nor any rows.
    EXPECT_NE(backend.currentSnapshot(), ScenarioLibrary::allClear());
    EXPECT_EQ(backend.currentSnapshot(), PopoverSnapshot{});

    // The first answer does not come: starting becomes not watching, still without data.
    clock->advance(StdioBackendOptions::defaultAnswerDeadline);
    backend.waitForIdle();
    state = link(backend);
    EXPECT_EQ(notWatchingReason(state), "not answering");
    EXPECT_EQ(state.recovery, MonitorRecovery::scheduled);
    EXPECT_EQ(state.lastGoodAnswerAt, std::nullopt);
    EXPECT_EQ(backend.currentSnapshot(), PopoverSnapshot{});
}

TEST_F(StdioMonitorLink, ThreeUnreadableAnswersInARowLoseTheMonitorAndOneAmongGoodOnesOnlyLogs) {
    const std::string error = R"({"kind":"error","message":"unknown action"})";
    ScriptedFixture run({snapshotLine("ONE"), "this is not json", snapshotLine("TWO"), error, error,
                         error, snapshotLine("THREE"), "@long 2000000", "",
                         R"({"kind":"snapshot","snapshot":{"globalTone":"purple"}})",
                         snapshotLine("NEVER")});
    watch(run);
    run.options.maxLineBytes = 1 << 20;
    CapturedOutput stderrCapture(STDERR_FILENO);
    StdioVelmoraBackend backend(run.options);
    backend.waitForIdle();
    const pid_t first = run.pid();
    // One bad line, then good ones (an error answer to an action is an answer): kept.
    for (int i = 0; i < 6; ++i) {
        backend.dispatch("a", "b");
    }
    backend.waitForIdle();
    EXPECT_TRUE(link(backend).watching());
    EXPECT_EQ(backend.currentSnapshot().summaryText, "THREE");
    EXPECT_TRUE(backend.backendRunning());

    // An over-long line, an empty one and one that does not decode, in a row: lost.
    for (int i = 0; i < 3; ++i) {
        backend.dispatch("a", "b");
    }
    backend.waitForIdle();
    const MonitorLinkState state = link(backend);
    EXPECT_EQ(notWatchingReason(state), "ended: its answers could not be read");
    EXPECT_EQ(state.recovery, MonitorRecovery::scheduled);
    EXPECT_EQ(nextTryIn(backend), 1s);
    EXPECT_FALSE(backend.backendRunning());
    EXPECT_TRUE(gone(first));
    EXPECT_EQ(backend.currentSnapshot().summaryText, "THREE"); // kept, as out of date
    EXPECT_EQ(stderrCapture.linesStartingWith("velmora-ui: transport error: ").size(), 4u);
    EXPECT_EQ(stderrCapture.linesStartingWith("velmora-ui: monitor "),
              std::vector<std::string>{
                  "velmora-ui: monitor ended: its answers could not be read; next try in 1 s"});

    reachNextTry(backend, 1s); // restarted with the usual backoff
    EXPECT_EQ(run.starts(), 2u);
    EXPECT_TRUE(link(backend).watching());
}

TEST_F(StdioMonitorLink, ErrorAnswersToItsPollsLoseTheMonitor) {
    const std::string error = R"({"kind":"error","message":"sampler failed"})";
    ScriptedFixture run({R"({"kind":"snapshot","snapshot":{"refreshIntervalMs":500}})", error,
                         error, error, "@silent"});
    watch(run);
    run.options.polling = true; // the polls are the monitor's only requests here
    CapturedOutput stderrCapture(STDERR_FILENO);
    StdioVelmoraBackend backend(run.options);
    ASSERT_TRUE(
        eventually([&] { return !link(backend).watching() && run.requestCount() >= 4; }, 10s));
    EXPECT_EQ(notWatchingReason(link(backend)), "ended: its answers could not be read");
    EXPECT_EQ(run.requestCount(), 4u);
    EXPECT_EQ(stderrCapture.linesStartingWith("velmora-ui: backend error: sampler failed").size(),
              3u);
}

TEST_F(StdioMonitorLink, AnActionMayWaitLongerThanAnyOtherRequest) {
    ScriptedFixture run({snapshotLine("ONE"), "@silent"}); // the action is still waiting
    watch(run);
    CapturedOutput stderrCapture(STDERR_FILENO);
    StdioVelmoraBackend backend(run.options);
    backend.waitForIdle();
    backend.dispatch("recover", "org.example.editor");
    ASSERT_TRUE(eventually([&] { return run.requestCount() == 2; }));
    clock->advance(StdioBackendOptions::defaultAnswerDeadline);
    EXPECT_TRUE(link(backend).watching()); // past the deadline of other requests: still waiting
    EXPECT_TRUE(backend.backendRunning());
    clock->advance(StdioBackendOptions::defaultActionAnswerDeadline -
                   StdioBackendOptions::defaultAnswerDeadline - 1ms);
    EXPECT_TRUE(link(backend).watching());
    clock->advance(1ms);
    backend.waitForIdle();
    EXPECT_EQ(notWatchingReason(link(backend)), "not answering");
    EXPECT_EQ(stderrCapture.linesStartingWith("velmora-ui: monitor not answering"),
              std::vector<std::string>{"velmora-ui: monitor not answering (no answer within "
                                       "45 s; ended); next try in 1 s"});
    static_assert(StdioBackendOptions::defaultActionAnswerDeadline > std::chrono::seconds(30 + 5),
                  "longer than the monitor's whole action: its 30 s wait and its own work");
}

} // namespace
} // namespace velmora
