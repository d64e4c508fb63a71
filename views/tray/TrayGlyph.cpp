// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/tray/TrayGlyph.h"

#include "views/kit/SurfacePainter.h"
#include "views/kit/VelmoraPalette.h"
#include "views/kit/VelmoraSymbols.h"
#include "views/kit/VelmoraType.h"
#include "views/tray/Contrast.h"
#include "views/tray/DropUrgencyIcon.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

namespace velmora {
namespace {

// In pixels of the 22-pixel square (see trayGlyphLayout).
constexpr double side = 22;
constexpr QRectF pillRect(1, 1, 20, 20);
constexpr double pillRadius = 6;
constexpr double ringWidth = 1.25;
constexpr double knockout = 1;
constexpr double badgeFaceHeight = 9;
constexpr double badgePadding = 2;
constexpr double dropOutline = 1.6;
constexpr double dropSideAlone = 13;
constexpr double dropSideBeside = 10.5;
constexpr QPointF dropCentreAlone(11, 11.5);
constexpr QPointF dropCentreBeside(6.75, 13.75);
// A middle lightness: at least 3:1 against a #1e1e1e and a #f0f0f0 panel, and 4.5:1 under
// white digits.
constexpr double badgeLuminance = 0.17;

// How much of the tone tint washes the pill's body.
double toneWash(SnapshotTone tone) {
    switch (tone) {
    case SnapshotTone::allClear:
        return 0.04;
    case SnapshotTone::watch:
        return 0.06;
    case SnapshotTone::suspect:
        return 0.085;
    case SnapshotTone::critical:
        return 0.1;
    }
    return 0.04;
}

// The drop with nothing in it: only its outline, drawn inside its edge `outlineWidth` wide.
void paintHollowDrop(QPainter& painter, const QRectF& square, const QColor& colour,
                     double outlineWidth) {
    painter.save();
    const QPainterPath drop = symbolPath("velmora-drop-filled", square);
    painter.setClipPath(drop);
    painter.strokePath(drop, QPen(colour, 2 * outlineWidth));
    painter.restore();
}

QFont badgeFont(int pixelSize) {
    QFont font = velmoraRoundedFont(pixelSize, QFont::Black);
    font.setStyleHint(QFont::SansSerif);
    // Digits a few pixels tall stay crisp only when their stems sit on whole pixels.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// The badge's text in runs of one font: the count, or "9" and a smaller "+" that keeps the
// badge narrow enough to leave the drop alone.
struct BadgeRun {
    QString text;
    QFont font;
    double width;
};

std::vector<BadgeRun> badgeRuns(const TrayIconLook& look) {
    std::vector<BadgeRun> runs;
    const auto add = [&](const QString& text, int pixelSize) {
        const QFont font = badgeFont(pixelSize);
        runs.push_back({text, font, QFontMetricsF(font).horizontalAdvance(text)});
    };
    if (look.notWatching) {
        add(QString::fromLatin1(notWatchingMark), 7);
    } else if (look.count > 9) {
        add(QStringLiteral("9"), 7);
        add(QStringLiteral("+"), 6);
    } else {
        add(QString::fromStdString(badgeText(look.count)), 7);
    }
    return runs;
}

double runsWidth(const std::vector<BadgeRun>& runs) {
    double width = 0;
    for (const auto& run : runs) {
        width += run.width;
    }
    return width;
}

// The pill's opaque body: the appearance's surface colour (taken deeper in the dark, so that
// the middle-lightness badge keeps 3:1 against it) washed with the tone; not washed at all
// while the monitor is not watching.
QColor pillFill(const TrayIconLook& look) {
    const auto& palette = VelmoraPalette::current();
    const QColor base = palette.isDark()
                            ? mixColor(palette.color(PaletteColor::shell), Qt::black, 0.45)
                            : palette.color(PaletteColor::inset);
    if (look.showsNoSnapshot()) {
        return base;
    }
    return mixColor(base, palette.toneTint(look.tone), toneWash(look.tone));
}

void paintBadge(QPainter& painter, const TrayIconLook& look, const TrayGlyphLayout& layout,
                const QColor& fill) {
    const double shown = badgeShown(look);
    painter.save();
    painter.setOpacity(shown);
    const double scale = mix(0.88, 1.0, shown);
    painter.translate(layout.badge.topRight());
    painter.scale(scale, scale);
    painter.translate(-layout.badge.topRight());
    painter.fillPath(capsuleShape(layout.badge), fill);
    painter.fillPath(capsuleShape(layout.badgeFace),
                     look.notWatching ? trayNotWatchingBadgeColor() : trayBadgeColor(look.tone));
    painter.setPen(Qt::white);
    const auto runs = badgeRuns(look);
    double x = layout.badgeFace.center().x() - runsWidth(runs) / 2;
    for (const auto& run : runs) {
        painter.setFont(run.font);
        painter.drawText(QRectF(x, layout.badgeFace.top(), run.width, layout.badgeFace.height()),
                         Qt::AlignCenter, run.text);
        x += run.width;
    }
    painter.restore();
}

} // namespace

QSize trayGlyphSize() {
    return QSizeF(side, side).toSize();
}

TrayGlyphLayout trayGlyphLayout(const TrayIconLook& look) {
    TrayGlyphLayout layout;
    layout.pill = pillRect;
    const double beside = badgeShown(look);
    const double dropSide = mix(dropSideAlone, dropSideBeside, beside);
    const QPointF centre(mix(dropCentreAlone.x(), dropCentreBeside.x(), beside),
                         mix(dropCentreAlone.y(), dropCentreBeside.y(), beside));
    layout.drop = QRectF(centre.x() - dropSide / 2, centre.y() - dropSide / 2, dropSide, dropSide);
    if (beside > 0) {
        const double faceWidth =
            std::max(badgeFaceHeight, std::ceil(runsWidth(badgeRuns(look))) + 2 * badgePadding);
        const double height = badgeFaceHeight + 2 * knockout;
        const double width = faceWidth + 2 * knockout;
        layout.badge = QRectF(pillRect.right() - width, pillRect.top(), width, height);
        layout.badgeFace = layout.badge.adjusted(knockout, knockout, -knockout, -knockout);
    }
    return layout;
}

QColor trayBadgeColor(SnapshotTone tone) {
    const PaletteColor name =
        tone == SnapshotTone::allClear ? PaletteColor::mutedText : toneColor(tone);
    // The light appearance's colour is the deeper one.
    return mixToLuminance(VelmoraPalette::light().color(name), VelmoraPalette::dark().color(name),
                          badgeLuminance);
}

QColor trayNotWatchingBadgeColor() {
    return trayBadgeColor(SnapshotTone::suspect);
}

void paintTrayGlyph(QPainter& painter, const TrayIconLook& look) {
    const auto& palette = VelmoraPalette::current();
    const TrayGlyphLayout layout = trayGlyphLayout(look);
    const QColor fill = pillFill(look);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (look.showsNoSnapshot()) {
        const QColor grey = palette.color(PaletteColor::mutedText);
        paintSurface(painter, layout.pill, pillRadius, fill, grey, ringWidth);
        paintHollowDrop(painter, layout.drop, grey, dropOutline);
    } else {
        paintSurface(painter, layout.pill, pillRadius, fill, palette.toneTint(look.tone),
                     ringWidth);
        paintDropUrgencyIcon(painter, layout.drop, look.tone, look.fill, look.count,
                             DropIconDetail{false, dropOutline});
    }
    if (!layout.badge.isEmpty()) {
        paintBadge(painter, look, layout, fill);
    }
    painter.restore();
}

QImage renderTrayGlyph(const TrayIconLook& look, qreal dpr) {
    QImage image(trayGlyphSize() * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintTrayGlyph(painter, look);
    return image;
}

QImage renderTrayGlyph(const PopoverSnapshot& snapshot, qreal dpr) {
    return renderTrayGlyph(trayIconLook(snapshot), dpr);
}

} // namespace velmora
