// SPDX-License-Identifier: GPL-3.0-or-later
// The view model over the real stdio client: a backend child that exits is shown as not
// watching, with the last rows kept, until the first good answer of the next one.

#include "link/StdioVelmoraBackend.h"
#include "state/ManualScheduler.h"
#include "state/PopoverViewModel.h"
#include "tests/link/support/FixtureRun.h"
#include "tests/link/support/ManualBackendClock.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace velmora::testing {
namespace {

using namespace std::chrono_literals;

TEST(MonitorLinkIntake, AnExitedMonitorIsNotWatchingUntilTheFirstGoodAnswerAfterItsRestart) {
    const std::string rowSnapshot =
        R"({"kind":"snapshot","snapshot":{"summaryText":"1 SUSPECTED LEAK","refreshIntervalMs":)"
        R"(10000,"rows":[{"key":"org.example.editor","title":"Editor","severity":"suspect"}]}})";
    ScriptedFixture run({rowSnapshot, "@exit 3"});
    auto clock = std::make_shared<ManualBackendClock>();
    run.options.clock = clock;
    CapturedOutput stderrCapture(STDERR_FILENO); // the client's diagnostics stay out of the log
    auto backend = std::make_shared<StdioVelmoraBackend>(run.options);
    backend->waitForIdle();
    auto scheduler = std::make_shared<ManualScheduler>();
    auto viewModel =
        PopoverViewModel::create(backend, scheduler, VerdictTooltipCatalog{},
                                 std::make_shared<MemoryVerdictTooltipDismissalStore>(), 10s, 4s);
    std::vector<ViewModelChange> changes;
    auto observation =
        viewModel->observe([&](const ViewModelChange& change) { changes.push_back(change); });
    scheduler->runPending();
    ASSERT_EQ(viewModel->snapshot().rows.size(), 1u);
    ASSERT_TRUE(viewModel->monitorLink().watching());

    viewModel->updateStorageMode(SettingsStorageMode::low); // the backend exits on it
    backend->waitForIdle();
    scheduler->advance(7s);
    const MonitorLinkState& link = viewModel->monitorLink();
    EXPECT_EQ(notWatchingReason(link), "stopped with status 3");
    EXPECT_EQ(viewModel->nextMonitorAttemptIn(), 0s); // 1 s on the client's clock, passed here
    EXPECT_EQ(viewModel->lastGoodSnapshotAge(), 7s);
    EXPECT_EQ(viewModel->snapshot().rows.size(), 1u); // the last rows stay on screen
    EXPECT_EQ(viewModel->snapshot().summaryText, "1 SUSPECTED LEAK");
    const auto notWatching = std::count_if(changes.begin(), changes.end(), [](const auto& c) {
        return c.has(ViewModelField::monitorLink);
    });
    EXPECT_EQ(notWatching, 1);

    clock->advance(1s); // the new monitor starts and answers
    backend->waitForIdle();
    scheduler->runPending();
    EXPECT_TRUE(viewModel->monitorLink().watching());
    EXPECT_EQ(viewModel->lastGoodSnapshotAge(), std::nullopt);
    EXPECT_EQ(run.starts(), 2u);
}

} // namespace
} // namespace velmora::testing
