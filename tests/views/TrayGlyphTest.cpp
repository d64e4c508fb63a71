// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/tray/TrayGlyph.h"

#include "support/ViewTestSupport.h"
#include "views/kit/VelmoraPalette.h"
#include "views/kit/VelmoraSymbols.h"
#include "views/tray/Contrast.h"
#include "views/tray/DropUrgencyIcon.h"
#include "views/tray/TrayGlyphIconEngine.h"
#include "views/tray/TrayIconAnimation.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>

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

// The drop's fill band stays within the drop and never thins to a hairline.
TEST(TrayGlyphTest, DropFillBandIsClampedAndNeverAHairline) {
    EXPECT_DOUBLE_EQ(fillBandHeight(14, 0.01), 1.5);
    EXPECT_DOUBLE_EQ(fillBandHeight(14, 0), 0);
    EXPECT_DOUBLE_EQ(fillBandHeight(14, 0.5), 7);
    EXPECT_DOUBLE_EQ(fillBandHeight(14, 3), 14);
    EXPECT_DOUBLE_EQ(fillBandHeight(14, -1), 0);
}

const QColor darkPanel(0x1e, 0x1e, 0x1e);
const QColor lightPanel(0xf0, 0xf0, 0xf0);
constexpr int trayCounts[] = {0, 1, 3, 9, 12};

// The snapshot of `count` suspect rows (the first one critical under a critical tone).
PopoverSnapshot suspects(SnapshotTone tone, int count) {
    std::vector<S> rows(static_cast<std::size_t>(count), S::suspect);
    if (tone == SnapshotTone::critical && count > 0) {
        rows.front() = S::critical;
    }
    return snapshot(tone, rows);
}

// The glyph as a tray draws it onto an opaque panel.
QImage onPanel(const QImage& glyph, const QColor& panel) {
    QImage out(glyph.size(), QImage::Format_RGB32);
    out.setDevicePixelRatio(glyph.devicePixelRatio());
    out.fill(panel);
    QPainter painter(&out);
    painter.drawImage(QPointF(0, 0), glyph);
    return out;
}

// The colours of the pixels of `picture` that `shape` (in logical pixels) covers at least `share`
// of.
std::vector<QColor> pixelsInside(const QImage& picture, const QPainterPath& shape,
                                 double share = 1.0) {
    QImage mask(picture.size(), QImage::Format_Grayscale8);
    mask.fill(0);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(picture.devicePixelRatio(), picture.devicePixelRatio());
        painter.fillPath(shape, Qt::white);
    }
    std::vector<QColor> colours;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            if (qGray(mask.pixel(x, y)) >= std::lround(share * 255)) {
                colours.push_back(picture.pixelColor(x, y));
            }
        }
    }
    return colours;
}

QColor mostCommon(const std::vector<QColor>& colours) {
    std::map<QRgb, int> counts;
    for (const auto& colour : colours) {
        ++counts[colour.rgb()];
    }
    const auto best = std::max_element(counts.begin(), counts.end(),
                                       [](auto& a, auto& b) { return a.second < b.second; });
    return best == counts.end() ? QColor() : QColor::fromRgb(best->first);
}

double medianContrast(const std::vector<QColor>& colours, const QColor& against) {
    std::vector<double> ratios;
    for (const auto& colour : colours) {
        ratios.push_back(contrastRatio(colour, against));
    }
    if (ratios.empty()) {
        return 0;
    }
    std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
    return ratios[ratios.size() / 2];
}

double maxContrast(const std::vector<QColor>& colours, const QColor& against) {
    double best = 0;
    for (const auto& colour : colours) {
        best = std::max(best, contrastRatio(colour, against));
    }
    return best;
}

QPainterPath ringOf(const QRectF& pill, double width) {
    QPainterPath outer;
    outer.addRoundedRect(pill, 6, 6);
    QPainterPath inner;
    inner.addRoundedRect(pill.adjusted(width, width, -width, -width), 6 - width, 6 - width);
    return outer.subtracted(inner);
}

QPainterPath capsule(const QRectF& rect) {
    QPainterPath path;
    const double r = std::min(rect.width(), rect.height()) / 2;
    path.addRoundedRect(rect, r, r);
    return path;
}

QPainterPath rectangle(const QRectF& rect) {
    QPainterPath path;
    path.addRect(rect);
    return path;
}

// Runs `check` for both appearances, every tone and every count, and the look while the
// monitor is not watching, at the real size and at device pixel ratio 2, restoring the
// appearance afterwards.
template <class Check> void forEveryTrayGlyph(Check check) {
    const bool wasDark = VelmoraPalette::current().isDark();
    for (const bool dark : {false, true}) {
        VelmoraPalette::setDark(dark);
        for (const qreal dpr : {1.0, 2.0}) {
            for (const SnapshotTone tone : allCases<SnapshotTone>()) {
                for (const int count : trayCounts) {
                    const TrayIconLook look = trayIconLook(suspects(tone, count));
                    SCOPED_TRACE(::testing::Message()
                                 << (dark ? "dark" : "light") << " appearance, tone "
                                 << toWire(tone) << ", " << count << " suspects, dpr " << dpr);
                    check(look, renderTrayGlyph(look, dpr));
                }
            }
            const TrayIconLook look = trayIconLook(suspects(SnapshotTone::critical, 3), false);
            SCOPED_TRACE(::testing::Message()
                         << (dark ? "dark" : "light") << " appearance, not watching, dpr " << dpr);
            check(look, renderTrayGlyph(look, dpr));
        }
    }
    VelmoraPalette::setDark(wasDark);
}

TEST(TrayGlyphTest, TrayGlyphStandsOffDarkAndLightPanelsAlike) {
    constexpr double ring = 1.25;
    forEveryTrayGlyph([&](const TrayIconLook& look, const QImage& glyph) {
        const TrayGlyphLayout layout = trayGlyphLayout(look);
        QPainterPath body;
        body.addRoundedRect(layout.pill.adjusted(ring + 0.5, ring + 0.5, -ring - 0.5, -ring - 0.5),
                            4, 4);
        body = body.subtracted(rectangle(layout.drop)).subtracted(rectangle(layout.badge));
        const QPainterPath drop = symbolPath("velmora-drop-filled", layout.drop);
        QPainterPathStroker stroker;
        stroker.setWidth(2 * 1.6);
        QPainterPath outline = drop.intersected(stroker.createStroke(drop));
        outline = outline.subtracted(capsule(layout.badge));

        for (const QColor& panel : {darkPanel, lightPanel}) {
            SCOPED_TRACE(panel.name().toStdString());
            const QImage picture = onPanel(glyph, panel);
            const QColor fill = mostCommon(pixelsInside(picture, body));
            const auto ringPixels = pixelsInside(picture, ringOf(layout.pill, ring));
            ASSERT_FALSE(ringPixels.empty());
            // The pill stands off the panel by its ring or by its body.
            EXPECT_GE(std::max(medianContrast(ringPixels, panel), contrastRatio(fill, panel)), 3.0);
            // The drop's outline stands off the pill around it.
            // (At 22 pixels a 1.6-pixel outline covers few pixels whole: take the mostly covered.)
            const auto dropPixels = pixelsInside(picture, outline, 0.7);
            ASSERT_GE(dropPixels.size(), 12u);
            EXPECT_GE(medianContrast(dropPixels, fill), 3.0);
            if (layout.badge.isEmpty()) {
                continue;
            }
            // The badge reads against the panel, the pill and under its digits.
            const auto facePixels =
                pixelsInside(picture, capsule(layout.badgeFace.adjusted(0.5, 0.5, -0.5, -0.5)));
            const QColor face = mostCommon(facePixels);
            EXPECT_GE(contrastRatio(face, panel), 3.0);
            EXPECT_GE(contrastRatio(face, fill), 3.0);
            EXPECT_GE(maxContrast(facePixels, face), 4.5);
        }
    });
}

TEST(TrayGlyphTest, TrayBadgeStaysInsideThePictureAndOffTheDrop) {
    EXPECT_EQ(trayGlyphSize(), QSize(22, 22));
    const QRectF canvas(QPointF(0, 0), QSizeF(trayGlyphSize()));
    forEveryTrayGlyph([&](const TrayIconLook& look, const QImage& glyph) {
        EXPECT_EQ(glyph.size(), trayGlyphSize() * glyph.devicePixelRatio());
        // Nothing reaches the picture's edge, so nothing is cut there.
        int touched = 0;
        for (int i = 0; i < glyph.width(); ++i) {
            for (const QPoint p : {QPoint(i, 0), QPoint(i, glyph.height() - 1), QPoint(0, i),
                                   QPoint(glyph.width() - 1, i)}) {
                touched += qAlpha(glyph.pixel(p)) > 0 ? 1 : 0;
            }
        }
        EXPECT_EQ(touched, 0);

        const TrayGlyphLayout layout = trayGlyphLayout(look);
        EXPECT_TRUE(canvas.adjusted(0.5, 0.5, -0.5, -0.5).contains(layout.pill));
        EXPECT_EQ(layout.badge.isEmpty(), look.count == 0 && !look.notWatching);
        if (layout.badge.isEmpty()) {
            return;
        }
        EXPECT_TRUE(layout.pill.contains(layout.badge));
        EXPECT_TRUE(layout.badge.contains(layout.badgeFace));
        // The badge hides at most a small share of the drop.
        const QPainterPath drop = symbolPath("velmora-drop-filled", layout.drop);
        QImage dropOnly(glyph.size() * 2, QImage::Format_ARGB32_Premultiplied);
        dropOnly.setDevicePixelRatio(glyph.devicePixelRatio() * 2);
        dropOnly.fill(Qt::transparent);
        const auto whole = pixelsInside(dropOnly, drop).size();
        const auto hidden = pixelsInside(dropOnly, drop.intersected(capsule(layout.badge))).size();
        ASSERT_GT(whole, 0u);
        EXPECT_LE(double(hidden) / double(whole), 0.08);
        // The digits fit their face.
        EXPECT_GE(layout.badgeFace.height(), 9.0);
        EXPECT_GE(layout.badgeFace.width(), layout.badgeFace.height());
    });
}

// While the monitor is not watching the icon shows nothing of the snapshot: a grey ring and a
// hollow grey drop (no tone, no fill), and a "!" badge where a count would be. It must not be
// taken for any state of the snapshot, on either panel.
TEST(TrayGlyphTest, NotWatchingIsAHollowGreyDropWithAMarkNoTintedStateLooksLike) {
    constexpr double ring = 1.25;
    const bool wasDark = VelmoraPalette::current().isDark();
    for (const bool dark : {false, true}) {
        VelmoraPalette::setDark(dark);
        const auto& palette = VelmoraPalette::current();
        SCOPED_TRACE(dark ? "dark appearance" : "light appearance");
        // Whatever the snapshot says, the look is the same.
        const TrayIconLook look = trayIconLook(suspects(SnapshotTone::critical, 12), false);
        EXPECT_TRUE(look.notWatching);
        EXPECT_EQ(look.count, 0);
        EXPECT_DOUBLE_EQ(look.fill, 0.0);
        const QImage glyph = renderTrayGlyph(look, 2);
        EXPECT_EQ(glyph,
                  renderTrayGlyph(trayIconLook(suspects(SnapshotTone::allClear, 0), false), 2));
        const TrayGlyphLayout layout = trayGlyphLayout(look);
        ASSERT_FALSE(layout.badge.isEmpty());

        for (const QColor& panel : {darkPanel, lightPanel}) {
            SCOPED_TRACE(panel.name().toStdString());
            const QImage picture = onPanel(glyph, panel);
            // The ring is grey: the muted text colour, not a tone's tint.
            const QColor ringColour = mostCommon(pixelsInside(picture, ringOf(layout.pill, ring)));
            EXPECT_TRUE(testing::colorsClose(ringColour, palette.color(PaletteColor::mutedText), 8))
                << ringColour.name().toStdString();
            for (const SnapshotTone tone : allCases<SnapshotTone>()) {
                EXPECT_FALSE(testing::colorsClose(ringColour, palette.toneTint(tone), 24))
                    << toWire(tone);
            }
            // The drop is hollow: inside its outline there is only the pill's body.
            QPainterPath body;
            body.addRoundedRect(layout.pill.adjusted(3, 3, -3, -3), 4, 4);
            const QColor fill = mostCommon(pixelsInside(
                picture,
                body.subtracted(rectangle(layout.drop)).subtracted(rectangle(layout.badge))));
            const QPainterPath drop = symbolPath("velmora-drop-filled", layout.drop);
            QPainterPathStroker stroker;
            stroker.setWidth(2 * (1.6 + 0.75));
            const QPainterPath hollow = drop.subtracted(stroker.createStroke(drop));
            const auto inside = pixelsInside(picture, hollow);
            ASSERT_FALSE(inside.empty());
            for (const QColor& pixel : inside) {
                EXPECT_TRUE(testing::colorsClose(pixel, fill, 3)) << pixel.name().toStdString();
            }
            // The mark's face: the warning colour, off both panels and the pill.
            const QColor face = mostCommon(
                pixelsInside(picture, capsule(layout.badgeFace.adjusted(0.5, 0.5, -0.5, -0.5))));
            EXPECT_TRUE(testing::colorsClose(face, trayNotWatchingBadgeColor(), 3));
            EXPECT_GE(contrastRatio(face, panel), 3.0);
            EXPECT_GE(contrastRatio(face, fill), 3.0);
        }
    }
    VelmoraPalette::setDark(wasDark);
}

// Starting, the icon is the not-watching grey drop without its mark: no tone, no count, and
// not the all-clear icon either.
TEST(TrayGlyphTest, StartingIsTheGreyDropWithoutAMark) {
    const TrayIconLook look = startingTrayIconLook();
    EXPECT_TRUE(look.showsNoSnapshot());
    EXPECT_TRUE(trayGlyphLayout(look).badge.isEmpty());
    TrayIconLook notWatching;
    notWatching.notWatching = true;
    EXPECT_EQ(trayGlyphLayout(look).drop, trayGlyphLayout(trayIconLook(PopoverSnapshot{})).drop);
    const QImage starting = renderTrayGlyph(look, 2);
    EXPECT_NE(starting, renderTrayGlyph(notWatching, 2));
    EXPECT_NE(starting, renderTrayGlyph(PopoverSnapshot{}, 2));
    // The grey ring of the not-watching icon, without the mark's corner.
    const TrayGlyphLayout marked = trayGlyphLayout(notWatching);
    const QImage withMark = renderTrayGlyph(notWatching, 2);
    EXPECT_EQ(testing::pixelAt(starting, QPoint(2, 11)), testing::pixelAt(withMark, QPoint(2, 11)));
    EXPECT_FALSE(marked.badge.isEmpty());
}

// The icon's look over time: the first answer after starting, and every switch to or from not
// watching, show at once; an unchanged snapshot draws nothing.
TEST(TrayIconAnimationTest, SwitchesToAndFromNoSnapshotAtOnceAndKeepsAnUnchangedLookQuiet) {
    TrayIconAnimation icon;
    int frames = 0;
    QObject::connect(&icon, &TrayIconAnimation::frameChanged, [&] { ++frames; });
    icon.setLook(startingTrayIconLook());
    EXPECT_TRUE(icon.look().starting);
    const auto busy = snapshot(SnapshotTone::suspect, {S::suspect, S::suspect});
    icon.setLook(trayIconLook(busy)); // the first answer
    EXPECT_FALSE(icon.look().starting);
    EXPECT_EQ(icon.look().count, 2);
    EXPECT_DOUBLE_EQ(icon.look().badge, 1.0);

    const int before = frames;
    icon.setLook(trayIconLook(busy, false));
    EXPECT_EQ(frames, before + 1);
    EXPECT_TRUE(icon.look().notWatching);
    EXPECT_EQ(icon.look().count, 0);
    icon.setLook(trayIconLook(snapshot(SnapshotTone::allClear, {}), false)); // still not watching
    EXPECT_EQ(frames, before + 1);
    icon.setLook(trayIconLook(busy));
    EXPECT_FALSE(icon.look().notWatching);
    EXPECT_DOUBLE_EQ(icon.look().fill, urgencyFill(busy));
    icon.setLook(trayIconLook(busy));
    EXPECT_EQ(frames, before + 2);

    icon.setLook(trayIconLook(snapshot(SnapshotTone::allClear, {}))); // animations are off here
    EXPECT_DOUBLE_EQ(icon.look().fill, 0.0);
    EXPECT_DOUBLE_EQ(icon.look().badge, 0.0);
}

TEST(TrayIconAnimationTest, IsRedrawnWhenTheAppearanceFlips) {
    const bool wasDark = VelmoraPalette::current().isDark();
    VelmoraPalette::setDark(false);
    TrayIconAnimation icon;
    int frames = 0;
    QObject::connect(&icon, &TrayIconAnimation::frameChanged, [&] { ++frames; });
    icon.setLook(trayIconLook(snapshot(SnapshotTone::allClear, {})));
    const QPointF body(4, 11); // inside the pill, beside the drop
    EXPECT_GT(testing::pixelAt(renderTrayGlyph(icon.look(), 1), body).lightnessF(), 0.8);

    const int before = frames;
    VelmoraPalette::setDark(true);
    EXPECT_EQ(frames, before + 1); // a new picture without waiting for the next snapshot
    const QImage dark = trayGlyphIcon(icon.look()).pixmap(22, 22).toImage();
    EXPECT_LT(testing::pixelAt(dark, body).lightnessF(), 0.25);
    VelmoraPalette::setDark(true); // no flip, no frame
    EXPECT_EQ(frames, before + 1);
    VelmoraPalette::setDark(wasDark);
}

} // namespace
} // namespace velmora
