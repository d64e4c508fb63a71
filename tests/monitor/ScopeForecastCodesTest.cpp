// SPDX-License-Identifier: GPL-3.0-or-later
// The header's scope line while it carries the forecast travels with its code and seconds: the
// app composes, through the wire and back, the very line the monitor wrote, at every step of
// its rounding; an older monitor's line without seconds, or a newer code, is shown as sent.
#include "SentOverWire.h"
#include "model/Codec.h"
#include "monitor/compose/ForecastTexts.h"
#include "monitor/compose/SnapshotComposer.h"
#include "monitor/compose/StatusWording.h"
#include "state/SystemStateTexts.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(ScopeForecastCodes, RunsOutReadsAsTheMonitorWritesIt) {
    // Both sides of the minute, of each rounding to whole minutes and of the hour.
    for (double seconds :
         {0.0, 0.4, 59.4, 59.99, 60.0, 89.4, 90.0, 1499.7, 2400.0, 3569.9, 3570.0, 3599.9}) {
        SystemStateSnapshot state;
        setRunsOut(state, seconds);
        const SystemStateSnapshot received = sent(state);
        ASSERT_TRUE(received.codes) << seconds;
        EXPECT_EQ(received.codes->scope, OpenCode<ScopeCode>(ScopeCode::runsOut));
        EXPECT_EQ(received.codes->exhaustionSeconds, seconds);
        ASSERT_TRUE(scopeText(*received.codes)) << seconds;
        EXPECT_EQ(scopeLineText(received), state.scopeLabel) << seconds;
    }
    SystemStateSnapshot state;
    setRunsOut(state, 20);
    EXPECT_EQ(state.scopeLabel, "Runs out in < 1 min");
    setRunsOut(state, 2400);
    EXPECT_EQ(state.scopeLabel, "Runs out in ~40 min");

    setForecastUnavailable(state);
    EXPECT_EQ(sent(state).codes->scope, OpenCode<ScopeCode>(ScopeCode::forecastUnavailable));
    EXPECT_EQ(scopeText(*sent(state).codes), "Memory forecast unavailable");
}

PopoverSnapshot composedFor(const LiveView& view) {
    const ConfigStore config("/nonexistent/velmora/config.json");
    InteractionState interaction;
    const MonitorPaths paths;
    ComposeContext context{&view, config, interaction, paths};
    context.monotonicNow = view.monotonicTime;
    return sent(composeSnapshot(context));
}

// The whole answer: the forecast takes the scope's place while it is stated, and the machine
// figures keep their own codes beside it.
TEST(ScopeForecastCodes, TheAnswerCodesTheLineThatStandsUnderThePill) {
    LiveView view;
    view.monotonicTime = 10'000;
    view.watchedProcesses = 214;
    view.familyCount = 61;
    view.machine.valid = true;
    view.machine.level = PressureLevel::high;
    view.machine.memory.totalKiB = 16 << 20;
    view.machine.memory.availableKiB = 900 << 10;
    view.forecast.exhaustionSeconds = 1499.7;
    const PopoverSnapshot forecast = composedFor(view);
    const SystemStateSnapshot& header = forecast.systemState;
    EXPECT_EQ(header.scopeLabel, "Runs out in ~25 min");
    ASSERT_TRUE(header.codes);
    EXPECT_EQ(header.codes->scope, OpenCode<ScopeCode>(ScopeCode::runsOut));
    EXPECT_EQ(header.codes->pressure, OpenCode<PressureCode>(PressureCode::high));
    EXPECT_FALSE(header.codes->processCount) << "the scope's figures leave with its line";
    EXPECT_EQ(scopeLineText(header), header.scopeLabel);

    view.forecast.exhaustionSeconds = kStatedForecastSeconds; // too far to be stated
    const SystemStateSnapshot scope = composedFor(view).systemState;
    EXPECT_EQ(scope.codes->scope, OpenCode<ScopeCode>(ScopeCode::watching));
    EXPECT_FALSE(scope.codes->exhaustionSeconds);

    view.machine.valid = false; // memory not read: no forecast, and the line says so
    const SystemStateSnapshot unread = composedFor(view).systemState;
    ASSERT_TRUE(unread.codes);
    EXPECT_EQ(unread.codes->scope, OpenCode<ScopeCode>(ScopeCode::forecastUnavailable));
    EXPECT_FALSE(unread.codes->pressure) << "the pill keeps its placeholder";
    EXPECT_EQ(scopeLineText(unread), "Memory forecast unavailable");
    EXPECT_EQ(pressurePillText(unread), "Memory state unavailable");
}

TEST(ScopeForecastCodes, OlderAndNewerMonitorsLinesAreShownAsSent) {
    const auto header = [](const char* codes) {
        const std::string json = std::string(R"({"pressureLabel": "High pressure",
            "headroomLabel": "900.0 MB available of 16.0 GB", "scopeLabel": "Runs out in ~25 min",
            "usedMemoryFraction": 0.9, "codes": )") +
                                 codes + "}";
        auto decoded = decodeText<SystemStateSnapshot>(json);
        EXPECT_TRUE(decoded.ok()) << decoded.error().text();
        return decoded.ok() ? scopeLineText(decoded.value()) : std::string();
    };
    EXPECT_EQ(header(R"({"pressure": "high"})"), "Runs out in ~25 min"); // before the code
    EXPECT_EQ(header(R"({"scope": "runsOut"})"), "Runs out in ~25 min"); // without its seconds
    EXPECT_EQ(header(R"({"scope": "runsOutSoon", "exhaustionSeconds": 1500})"),
              "Runs out in ~25 min");
    EXPECT_EQ(header(R"({"scope": "runsOut", "exhaustionSeconds": 1500})"), "Runs out in ~25 min");

    auto wrong = decodeText<SystemStateSnapshot>(R"({"pressureLabel": "p", "headroomLabel": "h",
        "scopeLabel": "s", "usedMemoryFraction": 0,
        "codes": {"scope": "runsOut", "exhaustionSeconds": "25 min"}})");
    ASSERT_FALSE(wrong.ok());
    EXPECT_EQ(wrong.error().text(), "codes.exhaustionSeconds: expected number, got string");
}

} // namespace
} // namespace velmora
