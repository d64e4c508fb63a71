#include "views/MenuBarLabel.h"

#include "support/ViewTestSupport.h"
#include "views/DropUrgencyIcon.h"
#include "views/VelmoraPalette.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

PopoverSnapshot snapshot(SnapshotTone tone, std::vector<FindingSeverity> severities) {
    PopoverSnapshot value;
    value.globalTone = tone;
    int i = 0;
    for (const auto severity : severities) {
        FindingSnapshot row;
        row.key = std::string(1, 'k').append(std::to_string(i++));
        row.title.assign(1, 't');
        row.severity = severity;
        value.rows.push_back(row);
    }
    return value;
}

using S = FindingSeverity;

TEST(MenuBarLabelTest, FillAndBadgeFollowTheRows) {
    const auto calm = snapshot(SnapshotTone::allClear, {});
    EXPECT_DOUBLE_EQ(urgencyFill(calm), 0.0);
    EXPECT_EQ(highlightedCount(calm), 0);

    const auto critical = snapshot(SnapshotTone::critical, {});
    EXPECT_DOUBLE_EQ(urgencyFill(critical), 0.96);
    EXPECT_EQ(highlightedCount(critical), 0);

    const auto ten = snapshot(SnapshotTone::suspect, std::vector<S>(10, S::suspect));
    EXPECT_DOUBLE_EQ(urgencyFill(ten), 1.0);
    EXPECT_EQ(badgeText(highlightedCount(ten)), "9+");
    EXPECT_EQ(badgeText(9), "9");

    const auto watches = snapshot(SnapshotTone::watch, {S::watch, S::watch, S::watch});
    EXPECT_DOUBLE_EQ(urgencyFill(watches), 0.28);
    EXPECT_EQ(highlightedCount(watches), 0);

    const auto mixed = snapshot(SnapshotTone::allClear, {S::critical, S::critical, S::suspect});
    EXPECT_DOUBLE_EQ(urgencyFill(mixed), 1.0);
    EXPECT_EQ(highlightedCount(mixed), 3);
}

TEST(MenuBarLabelTest, FillBandNeverThinnerThanOneAndAHalfPoints) {
    EXPECT_DOUBLE_EQ(fillBandHeight(14, 0.01), 1.5);
    EXPECT_DOUBLE_EQ(fillBandHeight(14, 0), 0);
    EXPECT_DOUBLE_EQ(fillBandHeight(14, 0.5), 7);
    EXPECT_DOUBLE_EQ(fillBandHeight(14, 3), 14);
    EXPECT_DOUBLE_EQ(fillBandHeight(14, -1), 0);
}

TEST(MenuBarLabelTest, TrayImageIsTheLabelAtDoubleResolutionWithBadgeOnlyForSuspects) {
    const QImage calm = renderMenuBarLabel(snapshot(SnapshotTone::allClear, {}), 2);
    EXPECT_EQ(calm.size(), QSize(140, 68));
    EXPECT_EQ(menuBarLabelSize(), QSize(70, 34));
    // The badge sits across the pill's top-right corner; without suspects that spot is clear.
    const QPointF badgeSpot(57, 4);
    EXPECT_EQ(testing::pixelAt(calm, badgeSpot).alpha(), 0);
    const QImage busy =
        renderMenuBarLabel(snapshot(SnapshotTone::suspect, {S::suspect, S::suspect}), 2);
    const QColor badge = testing::pixelAt(busy, QPointF(50, 9));
    EXPECT_GT(badge.alpha(), 200);
    EXPECT_TRUE(
        testing::colorsClose(badge, VelmoraPalette::current().toneTint(SnapshotTone::suspect), 40));
    // The pill is tinted: inside it, at its left, the tone tint shows at low opacity.
    const QColor pill = testing::pixelAt(busy, QPointF(15, 17));
    EXPECT_NEAR(pill.alphaF(), 0.17, 0.05);
}

TEST(MenuBarLabelTest, TrayGlyphIsASquarePillWithTheBadgeInsideItsPicture) {
    EXPECT_EQ(trayGlyphSize(), QSize(30, 30));
    const QImage calm = renderTrayGlyph(snapshot(SnapshotTone::allClear, {}), 2);
    const QImage busy =
        renderTrayGlyph(snapshot(SnapshotTone::suspect, {S::suspect, S::suspect}), 2);
    EXPECT_EQ(calm.size(), QSize(60, 60));
    EXPECT_EQ(busy.size(), calm.size()); // a badge never changes the icon's scale
    // The square pill is tinted near its bottom-left corner.
    EXPECT_NEAR(testing::pixelAt(busy, QPointF(5, 25)).alphaF(), 0.17, 0.05);
    // The badge sits across the pill's top-right corner, within the picture.
    EXPECT_EQ(testing::pixelAt(calm, QPointF(27, 4)).alpha(), 0);
    const QColor badge = testing::pixelAt(busy, QPointF(18.5, 8)); // beside the digit
    EXPECT_GT(badge.alpha(), 200);
    EXPECT_TRUE(
        testing::colorsClose(badge, VelmoraPalette::current().toneTint(SnapshotTone::suspect), 40));
}

TEST(MenuBarLabelTest, WidgetReportsFramesAndKeepsAnUnchangedSnapshotQuiet) {
    MenuBarLabel label;
    int frames = 0;
    QObject::connect(&label, &MenuBarLabel::frameChanged, [&] { ++frames; });
    const auto busy = snapshot(SnapshotTone::suspect, {S::suspect});
    label.setSnapshot(busy);
    EXPECT_EQ(frames, 1);
    label.setSnapshot(busy);
    EXPECT_EQ(frames, 1);
    label.setSnapshot(snapshot(SnapshotTone::allClear, {}));
    EXPECT_GT(frames, 1);
    EXPECT_DOUBLE_EQ(label.look().fill, 0.0);
    EXPECT_DOUBLE_EQ(label.look().badge, 0.0);
}

} // namespace
} // namespace velmora
