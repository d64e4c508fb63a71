// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/popover/SystemStateHeader.h"

#include "support/ViewTestSupport.h"
#include "views/kit/MotionAnimator.h"
#include "views/kit/VelmoraPalette.h"
#include "views/kit/VelmoraText.h"
#include "views/popover/SummaryStrip.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace velmora {
namespace {

using testing::findByObjectName;

SystemStateSnapshot state(double fraction, std::string pressure = "Normal pressure") {
    SystemStateSnapshot value;
    value.pressureLabel = std::move(pressure);
    value.headroomLabel = "8.0 GB available of 32.0 GB";
    value.scopeLabel = "3 process families";
    value.usedMemoryFraction = fraction;
    return value;
}

TEST(UsedMemoryBarTest, FractionIsClampedIntoTheBar) {
    EXPECT_DOUBLE_EQ(UsedMemoryBar::clampedFraction(0.5), 0.5);
    EXPECT_DOUBLE_EQ(UsedMemoryBar::clampedFraction(1.7), 1.0);
    EXPECT_DOUBLE_EQ(UsedMemoryBar::clampedFraction(-0.2), 0.0);
    EXPECT_DOUBLE_EQ(UsedMemoryBar::clampedFraction(0.0), 0.0);
    EXPECT_DOUBLE_EQ(UsedMemoryBar::clampedFraction(std::nan("")), 0.0);
    EXPECT_DOUBLE_EQ(UsedMemoryBar::clampedFraction(std::numeric_limits<double>::infinity()), 0.0);

    SystemStateHeader header;
    header.resize(400, 60);
    header.setState(state(0.5), SnapshotTone::watch);
    testing::settle();
    auto* bar = findByObjectName<UsedMemoryBar>(&header, "usedMemoryBar");
    ASSERT_NE(bar, nullptr);
    EXPECT_DOUBLE_EQ(bar->filledWidth(), bar->width() * 0.5);
    header.setState(state(1.7), SnapshotTone::watch);
    EXPECT_DOUBLE_EQ(bar->filledWidth(), bar->width());
}

TEST(SystemStateHeaderTest, PillIsUpperCaseAndFilledWithTheToneTint) {
    SystemStateHeader header;
    header.resize(400, 60);
    header.setState(state(0.5, "Elevated pressure"), SnapshotTone::suspect);
    testing::settle();
    auto* pill = findByObjectName<PressurePill>(&header, "pressurePill");
    EXPECT_EQ(pill->displayText(), "ELEVATED PRESSURE");

    // Inside the capsule, right of the text, the fill is the tint at 0.1 (the pill itself is
    // transparent around it).
    pill->resize(pill->sizeHint());
    const QImage image = testing::renderToImage(*pill, 2);
    const QColor seen = testing::pixelAt(image, QPointF(pill->width() - 9, pill->height() / 2.0));
    const QColor tint = VelmoraPalette::current().toneTint(SnapshotTone::suspect);
    EXPECT_NEAR(seen.alphaF(), 0.1, 0.03);
    EXPECT_TRUE(testing::colorsClose(QColor(seen.red(), seen.green(), seen.blue()), tint, 16))
        << seen.name(QColor::HexArgb).toStdString() << " vs " << tint.name().toStdString();
}

TEST(SystemStateHeaderTest, LongHeadroomShrinksBeforeItTruncatesAndScopeLosesItsMiddle) {
    VelmoraText headroom(QStringLiteral("8.0 GB available of 32.0 GB with room to spare"),
                         TypeRole::caption, {});
    headroom.setLineLimit(1);
    headroom.setMinimumScaleFactor(0.84);
    const double natural = headroom.sizeHint().width();
    const auto slight = headroom.fitSingleLine(natural * 0.9);
    EXPECT_FALSE(slight.truncated);
    EXPECT_NEAR(slight.scale, 0.9, 0.01);
    const auto far = headroom.fitSingleLine(natural * 0.5);
    EXPECT_TRUE(far.truncated);
    EXPECT_DOUBLE_EQ(far.scale, 0.84);
    EXPECT_TRUE(far.shown.endsWith(QChar(0x2026)));

    VelmoraText scope(QStringLiteral("Watching 412 processes across 37 families right now"),
                      TypeRole::caption, {});
    scope.setLineLimit(1);
    scope.setTruncation(VelmoraText::Truncation::middle);
    const auto middle = scope.fitSingleLine(scope.sizeHint().width() * 0.5);
    EXPECT_TRUE(middle.truncated);
    EXPECT_TRUE(middle.shown.startsWith("Watching"));
    EXPECT_TRUE(middle.shown.endsWith("now"));
    EXPECT_TRUE(middle.shown.contains(QChar(0x2026)));
}

TEST(SystemStateHeaderTest, AttentionBrightensWhenTheToneBecomesCriticalAndDropsWhenItLeaves) {
    SystemStateHeader header;
    header.setState(state(0.5), SnapshotTone::suspect);
    header.show();
    EXPECT_DOUBLE_EQ(header.attention(), 0.0);
    header.setState(state(0.5), SnapshotTone::critical);
    EXPECT_DOUBLE_EQ(header.attention(), 1.0);
    header.setState(state(0.6), SnapshotTone::critical); // stays critical: stays bright
    EXPECT_DOUBLE_EQ(header.attention(), 1.0);
    header.setState(state(0.6), SnapshotTone::watch);
    EXPECT_DOUBLE_EQ(header.attention(), 0.0);
    auto* pill = findByObjectName<PressurePill>(&header, "pressurePill");
    EXPECT_EQ(pill->graphicsEffect(), nullptr); // no shadow outside critical
}

TEST(SummaryStripTest, GlowsOnceWhenCriticalAndKeepsItsText) {
    SummaryStrip strip;
    strip.setContent(QStringLiteral("2 SUSPECTS"), SnapshotTone::suspect);
    strip.show();
    EXPECT_DOUBLE_EQ(strip.glow(), 0.0);
    EXPECT_EQ(strip.graphicsEffect(), nullptr);
    strip.setContent(QStringLiteral("RUNAWAY"), SnapshotTone::critical);
    EXPECT_DOUBLE_EQ(strip.glow(), 1.0);
    EXPECT_NE(strip.graphicsEffect(), nullptr);
    EXPECT_EQ(findByObjectName<VelmoraText>(&strip, "summaryText")->text(), "RUNAWAY");
    strip.setContent(QStringLiteral("WATCH"), SnapshotTone::watch);
    EXPECT_DOUBLE_EQ(strip.glow(), 0.0);
    EXPECT_EQ(strip.graphicsEffect(), nullptr);
}

TEST(VelmoraTextTest, UnchangedSettersRepaintNothing) {
    VelmoraText text(QStringLiteral("Hello"), TypeRole::body, {});
    text.resize(100, 20);
    text.show();
    testing::settle();
    testing::PaintCounter paints(&text);
    text.setText(QStringLiteral("Hello"));
    text.setColor({});
    text.setTracking(0);
    text.setLineLimit(text.lineLimit());
    testing::settle();
    EXPECT_EQ(paints.count(), 0);
    text.setUppercase(true);
    EXPECT_EQ(text.displayText(), "HELLO");
    EXPECT_EQ(text.accessibleName(), "HELLO");
}

// At its brightest the critical pill is scaled by 1.04 about its centre and lifted: its rounded
// ends and its edges are still painted inside the widget, with clear pixels around them.
TEST(SystemStateHeaderTest, CriticalPillKeepsBothRoundedEndsAtItsLargestScale) {
    PressurePill pill;
    pill.setContent(QStringLiteral("Critical pressure"), SnapshotTone::critical);
    pill.setAttention(1.0);
    pill.resize(pill.sizeHint());
    const QRectF painted = pill.capsuleTransform().mapRect(pill.capsuleRect());
    EXPECT_GT(pill.capsuleRect().width(), 150); // a long label: 4 % of it is several pixels
    EXPECT_NEAR(painted.width(), pill.capsuleRect().width() * 1.04, 0.01);
    EXPECT_GE(painted.left(), 0.5);
    EXPECT_LE(painted.right(), pill.width() - 0.5);
    EXPECT_GE(painted.top(), 0.5);
    EXPECT_LE(painted.bottom(), pill.height() - 0.5);

    // Along the middle row the paint starts and ends inside the image: nothing is cut.
    pill.setGraphicsEffect(nullptr); // the glow around it is drawn by the parent, not clipped
    const QImage image = testing::renderToImage(pill, 2);
    const int row = static_cast<int>(painted.center().y() * 2);
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, row).alpha() > 0) {
            first = first < 0 ? x : first;
            last = x;
        }
    }
    EXPECT_GT(first, 0);
    EXPECT_LT(last, image.width() - 1);
    EXPECT_NEAR((last - first + 1) / 2.0, painted.width(), 2.0);
    // The label is painted at the same scale, inside the capsule.
    const DrawnText label = pill.drawnTexts().front();
    EXPECT_DOUBLE_EQ(label.scale, 1.04);
    EXPECT_GT(label.origin.x(), painted.left());
}

} // namespace
} // namespace velmora
