// SPDX-License-Identifier: GPL-3.0-or-later
// The header's pill and headroom line before the machine's memory has been read travel with a
// code of their own: the app composes, through the wire and back, the placeholders the monitor
// wrote, while the pill's level (which the relief plan shares) stays absent; an older monitor's
// header without the code, or a newer code, is shown as sent.
#include "SentOverWire.h"
#include "model/Codec.h"
#include "monitor/compose/SnapshotComposer.h"
#include "monitor/compose/StatusWording.h"
#include "state/SystemStateTexts.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

PopoverSnapshot composedFor(const LiveView* view) {
    const ConfigStore config("/nonexistent/velmora/config.json");
    InteractionState interaction;
    const MonitorPaths paths;
    ComposeContext context{view, config, interaction, paths};
    return sent(composeSnapshot(context));
}

void expectPlaceholdersComposed(const SystemStateSnapshot& header) {
    EXPECT_EQ(header.pressureLabel, "Memory state unavailable");
    EXPECT_EQ(header.headroomLabel, "Headroom unavailable");
    ASSERT_TRUE(header.codes);
    EXPECT_EQ(header.codes->memoryState, OpenCode<MemoryStateCode>(MemoryStateCode::unread));
    EXPECT_FALSE(header.codes->pressure) << "no level is claimed for memory not read";
    EXPECT_FALSE(header.codes->availableKiB);
    ASSERT_TRUE(pressureText(*header.codes));
    ASSERT_TRUE(headroomText(*header.codes));
    EXPECT_EQ(pressurePillText(header), header.pressureLabel);
    EXPECT_EQ(headroomLineText(header), header.headroomLabel);
}

// The first answer, while the first scan runs, and a pass that could not read the machine's
// memory both say the placeholders with their code; once memory is read the code leaves.
TEST(MemoryUnreadCodes, ThePlaceholdersReadAsTheMonitorWritesThem) {
    const PopoverSnapshot first = composedFor(nullptr);
    expectPlaceholdersComposed(first.systemState);
    EXPECT_EQ(first.systemState.codes->scope, OpenCode<ScopeCode>(ScopeCode::scanRunning));

    LiveView view;
    view.monotonicTime = 10'000;
    view.watchedProcesses = 214;
    view.familyCount = 61;
    expectPlaceholdersComposed(composedFor(&view).systemState);

    view.machine.valid = true;
    view.machine.level = PressureLevel::elevated;
    view.machine.memory.totalKiB = 16 << 20;
    view.machine.memory.availableKiB = 4 << 20;
    const SystemStateSnapshot read = composedFor(&view).systemState;
    ASSERT_TRUE(read.codes);
    EXPECT_FALSE(read.codes->memoryState);
    EXPECT_EQ(pressurePillText(read), "Elevated pressure");
    EXPECT_EQ(headroomLineText(read), "4.0 GB available of 16.0 GB");
}

TEST(MemoryUnreadCodes, OlderAndNewerMonitorsPlaceholdersAreShownAsSent) {
    const auto header = [](const char* codes) {
        const std::string json = std::string(R"({"pressureLabel": "Memory state unavailable",
            "headroomLabel": "Headroom unavailable", "scopeLabel": "First process scan running",
            "usedMemoryFraction": 0, "codes": )") +
                                 codes + "}";
        auto decoded = decodeText<SystemStateSnapshot>(json);
        EXPECT_TRUE(decoded.ok()) << decoded.error().text();
        return decoded.ok() ? decoded.value() : SystemStateSnapshot{};
    };
    for (const char* codes : {R"({"scope": "scanRunning"})", R"({"memoryState": "misread"})"}) {
        const SystemStateSnapshot shown = header(codes);
        ASSERT_TRUE(shown.codes) << codes;
        EXPECT_FALSE(pressureText(*shown.codes)) << codes;
        EXPECT_FALSE(headroomText(*shown.codes)) << codes;
        EXPECT_EQ(pressurePillText(shown), "Memory state unavailable") << codes;
        EXPECT_EQ(headroomLineText(shown), "Headroom unavailable") << codes;
    }
    // A level or figures beside the code are what the pill and the line say.
    const SystemStateSnapshot both =
        header(R"({"memoryState": "unread", "pressure": "high", "availableKiB": 1048576,
                   "totalKiB": 16777216})");
    EXPECT_EQ(pressurePillText(both), "High pressure");
    EXPECT_EQ(headroomLineText(both), "1.0 GB available of 16.0 GB");

    auto wrong = decodeText<SystemStateSnapshot>(R"({"pressureLabel": "p", "headroomLabel": "h",
        "scopeLabel": "s", "usedMemoryFraction": 0, "codes": {"memoryState": 1}})");
    ASSERT_FALSE(wrong.ok());
    EXPECT_EQ(wrong.error().text(), "codes.memoryState: expected string, got number");
}

} // namespace
} // namespace velmora
