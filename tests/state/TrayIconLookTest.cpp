// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/TrayIconLook.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

using S = FindingSeverity;

PopoverSnapshot snapshot(SnapshotTone tone, const std::vector<FindingSeverity>& severities) {
    PopoverSnapshot value;
    value.globalTone = tone;
    for (const auto severity : severities) {
        FindingSnapshot row;
        row.key = std::to_string(value.rows.size());
        row.severity = severity;
        value.rows.push_back(row);
    }
    return value;
}

} // namespace

TEST(TrayIconLook, FillAndBadgeFollowTheRowsAndTheTone) {
    const auto calm = trayIconLook(snapshot(SnapshotTone::allClear, {}));
    EXPECT_DOUBLE_EQ(calm.fill, 0.0);
    EXPECT_EQ(calm.count, 0);
    EXPECT_DOUBLE_EQ(badgeShown(calm), 0.0);

    // The tone raises the fill even without rows; watch rows fill but never count.
    EXPECT_DOUBLE_EQ(urgencyFill(snapshot(SnapshotTone::critical, {})), 0.96);
    const auto watches =
        trayIconLook(snapshot(SnapshotTone::watch, {S::watch, S::watch, S::watch}));
    EXPECT_DOUBLE_EQ(watches.fill, 0.28);
    EXPECT_EQ(watches.count, 0);

    // Suspects and criticals count; the fill is capped.
    const auto mixed =
        trayIconLook(snapshot(SnapshotTone::allClear, {S::critical, S::critical, S::suspect}));
    EXPECT_DOUBLE_EQ(mixed.fill, 1.0);
    EXPECT_EQ(mixed.count, 3);
    EXPECT_DOUBLE_EQ(badgeShown(mixed), 1.0);
    EXPECT_EQ(badgeText(highlightedCount(
                  snapshot(SnapshotTone::suspect, std::vector<S>(10, S::suspect)))),
              "9+");
    EXPECT_EQ(badgeText(9), "9");
}

TEST(TrayIconLook, NotWatchingAndStartingShowNothingOfTheSnapshot) {
    const auto busy = snapshot(SnapshotTone::critical, std::vector<S>(12, S::critical));
    const auto notWatching = trayIconLook(busy, false);
    EXPECT_TRUE(notWatching.showsNoSnapshot());
    EXPECT_EQ(notWatching.tone, SnapshotTone::allClear);
    EXPECT_EQ(notWatching.count, 0);
    EXPECT_DOUBLE_EQ(notWatching.fill, 0.0);
    EXPECT_DOUBLE_EQ(badgeShown(notWatching), 1.0); // the "!" mark

    const auto starting = startingTrayIconLook();
    EXPECT_TRUE(starting.showsNoSnapshot());
    EXPECT_DOUBLE_EQ(badgeShown(starting), 0.0);
}
