// SPDX-License-Identifier: GPL-3.0-or-later
// A kill's notification says its body from the time and size the kill travels with: through the
// wire and back it reads word for word as the kill's message the monitor wrote; an older
// monitor's kill without them, or a newer code, shows the message as sent.
#include "SentOverWire.h"
#include "model/Codec.h"
#include "monitor/compose/RecentFindings.h"
#include "state/NotificationText.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

constexpr uint64_t kGiB = 1024 * 1024;

TEST(KillNotificationCodes, TheBodyReadsAsTheMonitorWritesIt) {
    LiveView view;
    view.monotonicTime = 10'000;
    // Both sides of a minute and of the hour, in sizes either side of a gigabyte.
    view.outOfMemoryKills.push_back(
        {"oom-1-1", "app:editor", "editor", 1, 6 * kGiB, 6 * kGiB + 512, 9'000, 1.7e9});
    view.outOfMemoryKills.push_back(
        {"oom-2-1", "app:chat", "chat", 2, 900 << 10, 1000 << 10, 9'500, 1.7e9 + 3599});
    const auto kills = outOfMemoryKillsOf(view);
    ASSERT_EQ(kills.size(), 2u);
    for (const OutOfMemoryKillSnapshot& kill : kills) {
        const OutOfMemoryKillSnapshot received = sent(kill);
        ASSERT_TRUE(received.messageCode) << kill.id;
        EXPECT_EQ(received.messageCode->code,
                  OpenCode<RecentExplanationCode>(RecentExplanationCode::outOfMemoryKill));
        EXPECT_EQ(killNotification(received).body, kill.message) << kill.id;
    }
    EXPECT_EQ(kills.back().messageCode->wallSeconds, 1.7e9);
    EXPECT_EQ(kills.back().messageCode->footprintKiB, 6 * kGiB + 512);
}

TEST(KillNotificationCodes, OlderAndNewerMonitorsKillsShowTheirMessage) {
    const auto body = [](const char* code) {
        const std::string json =
            std::string(R"({"id": "oom-1-1", "key": "app:editor", "title": "editor",
                "footprintLabel": "6.0 GB", "message": "Ended at noon")") +
            code + "}";
        auto decoded = decodeText<OutOfMemoryKillSnapshot>(json);
        EXPECT_TRUE(decoded.ok()) << decoded.error().text();
        return decoded.ok() ? killNotification(decoded.value()).body : std::string();
    };
    EXPECT_EQ(body(""), "Ended at noon");
    EXPECT_EQ(body(R"(, "messageCode": {"code": "outOfMemoryKill", "wallSeconds": 1.7e9})"),
              "Ended at noon"); // without its size
    EXPECT_EQ(body(R"(, "messageCode": {"code": "reaped", "wallSeconds": 1.7e9,
                     "footprintKiB": 4})"),
              "Ended at noon");

    auto wrong = decodeText<OutOfMemoryKillSnapshot>(R"({"id": "i", "key": "k", "title": "t",
        "footprintLabel": "f", "message": "m", "messageCode": {"code": "outOfMemoryKill",
        "wallSeconds": "noon"}})");
    ASSERT_FALSE(wrong.ok());
    EXPECT_EQ(wrong.error().text(), "messageCode.wallSeconds: expected number, got string");
}

} // namespace
} // namespace velmora
