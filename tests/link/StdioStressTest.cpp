// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/StdioVelmoraBackend.h"
#include "tests/link/support/FixtureRun.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace velmora {
namespace {

using namespace velmora::testing;

// Thousands of exchanges while other threads dispatch, fetch, subscribe and unsubscribe, with
// polling running at its fastest period. Run under ThreadSanitizer as well.
TEST(StdioStress, ConcurrentRequestsAndSubscriptionsStayOrderedAndClean) {
    EchoFixture run(Environment{{"VELMORA_FIXTURE_REFRESH_MS", "500"}});
    run.options.polling = true;
    constexpr int dispatches = 3000;
    std::atomic<int> histories{0};
    std::atomic<int> outOfOrder{0};
    {
        StdioVelmoraBackend backend(run.options);
        std::atomic<bool> stop{false};
        std::thread subscriber([&] {
            while (!stop) {
                long long last = -1;
                auto token = backend.subscribe([&](const PopoverSnapshot& snapshot) {
                    const auto& text = snapshot.footerTelemetry.storageText;
                    const long long exchange =
                        text.rfind("exchange ", 0) == 0 ? std::stoll(text.substr(9)) : 0;
                    if (exchange < last) {
                        ++outOfOrder;
                    }
                    last = exchange;
                });
                (void)backend.currentSnapshot();
            }
        });
        std::thread dispatcher([&] {
            for (int i = 0; i < dispatches; ++i) {
                backend.dispatch("restart", "row-" + std::to_string(i));
                if (i % 100 == 0) {
                    backend.fetchAdvancedHistory(std::nullopt, [&](HistoryResult result) {
                        if (std::holds_alternative<AdvancedHistorySnapshot>(result)) {
                            ++histories;
                        }
                    });
                }
            }
        });
        dispatcher.join();
        backend.waitForIdle();
        stop = true;
        subscriber.join();
        // The last dispatch, unless a polling tick came after it.
        const auto summary = backend.currentSnapshot().summaryText;
        EXPECT_TRUE(summary == "ACTION restart row-" + std::to_string(dispatches - 1) ||
                    summary.rfind("POLL ", 0) == 0)
            << summary;
    }
    EXPECT_EQ(histories.load(), dispatches / 100);
    EXPECT_EQ(outOfOrder.load(), 0);
    // Every request arrived as one whole line (polls may add a few).
    const auto requests = run.requests();
    EXPECT_GE(run.requestCount(), std::size_t(1 + dispatches + dispatches / 100));
    EXPECT_EQ(requests.back(), '\n');
}

} // namespace
} // namespace velmora
