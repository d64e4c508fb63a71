#include "views/MenuBarLabel.h"

#include "views/DropUrgencyIcon.h"
#include "views/MotionAnimator.h"
#include "views/SurfacePainter.h"
#include "views/TrayGlyphIconEngine.h"
#include "views/VelmoraPalette.h"
#include "views/VelmoraSymbols.h"
#include "views/VelmoraType.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace velmora {

namespace {

constexpr QSizeF pillSize(48, 26);
constexpr double paddingX = 11;
constexpr double paddingY = 4;

// The tray glyph, in points of a 22-point square (see trayGlyphLayout).
constexpr double traySide = 22;
constexpr QRectF trayPill(1, 1, 20, 20);
constexpr double trayPillRadius = 6;
constexpr double trayRingWidth = 1.25;
constexpr double trayKnockout = 1;
constexpr double trayBadgeFaceHeight = 9;
constexpr double trayBadgePadding = 2;
constexpr double trayDropOutline = 1.6;
constexpr double trayDropSideAlone = 13;
constexpr double trayDropSideBeside = 10.5;
constexpr QPointF trayDropCentreAlone(11, 11.5);
constexpr QPointF trayDropCentreBeside(6.75, 13.75);
// A middle lightness: at least 3:1 against a #1e1e1e and a #f0f0f0 panel, and 4.5:1 under
// white digits.
constexpr double trayBadgeLuminance = 0.17;

struct PillLook {
    double fill, border;
};

PillLook pillLook(SnapshotTone tone) {
    switch (tone) {
    case SnapshotTone::allClear:
        return {0.08, 0.22};
    case SnapshotTone::watch:
        return {0.12, 0.28};
    case SnapshotTone::suspect:
        return {0.17, 0.36};
    case SnapshotTone::critical:
        return {0.2, 0.42};
    }
    return {0.08, 0.22};
}

double severityWeight(FindingSeverity severity) {
    switch (severity) {
    case FindingSeverity::allClear:
        return 0;
    case FindingSeverity::watch:
        return 0.35;
    case FindingSeverity::suspect:
        return 1.0;
    case FindingSeverity::critical:
        return 2.0;
    }
    return 0;
}

double toneFloor(SnapshotTone tone) {
    switch (tone) {
    case SnapshotTone::allClear:
        return 0;
    case SnapshotTone::watch:
        return 0.28;
    case SnapshotTone::suspect:
        return 0.68;
    case SnapshotTone::critical:
        return 0.96;
    }
    return 0;
}

// The "!" that stands in the badge's place while the monitor is not watching.
const QString notWatchingMark = QStringLiteral("!");

// How far the badge is shown (0 to 1): the "!" always, a count while it fades in or out, and
// nothing while the monitor is starting.
double badgeShown(const MenuBarLabelLook& look) {
    if (look.notWatching) {
        return 1.0;
    }
    if (look.starting) {
        return 0.0;
    }
    return look.count >= 1 ? std::clamp(look.badge, 0.0, 1.0) : 0.0;
}

// The drop with nothing in it: only its outline, drawn inside its edge `outlineWidth` wide (or
// the symbol's own outline for 0).
void paintHollowDrop(QPainter& painter, const QRectF& square, const QColor& colour,
                     double outlineWidth) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (outlineWidth > 0) {
        const QPainterPath drop = symbolPath("drop.fill", square);
        painter.setClipPath(drop);
        painter.strokePath(drop, QPen(colour, 2 * outlineWidth));
    } else {
        painter.fillPath(symbolPath("drop", square), colour);
    }
    painter.restore();
}

void paintBadge(QPainter& painter, const MenuBarLabelLook& look, const QPointF& topRight) {
    const double shown = badgeShown(look);
    if (shown <= 0) {
        return;
    }
    const auto& palette = VelmoraPalette::current();
    const QColor colour = look.notWatching ? trayNotWatchingBadgeColor()
                          : look.tone == SnapshotTone::allClear
                              ? palette.color(PaletteColor::mutedText)
                              : palette.toneTint(look.tone);
    QFont font = velmoraRoundedFont(!look.notWatching && look.count > 9 ? 8 : 9, QFont::Black);
    font.setStyleHint(QFont::SansSerif);
    const QString text = look.notWatching ? notWatchingMark : badgeText(look.count);
    const QFontMetricsF metrics(font);
    const double width = std::max(14.0, metrics.horizontalAdvance(text) + 8);
    const QRectF badge(topRight.x() + 3 - width, topRight.y() - 2, width, 14);

    painter.save();
    painter.setOpacity(shown);
    const double scale = mix(0.88, 1.0, shown);
    painter.translate(badge.topRight());
    painter.scale(scale, scale);
    painter.translate(-badge.topRight());
    QColor shadow = colour;
    shadow.setAlphaF(0.32f);
    paintShadow(painter, capsuleShape(badge), shadow, 6);
    paintSurface(painter, badge, 7, colour, QColor::fromRgbF(1, 1, 1, 0.38f), 0.8);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(badge, Qt::AlignCenter, text);
    painter.restore();
}

} // namespace

double urgencyFill(const PopoverSnapshot& snapshot) {
    double sum = 0;
    for (const auto& row : snapshot.rows) {
        sum += severityWeight(row.severity);
    }
    return std::max(std::min(sum / 5.0, 1.0), toneFloor(snapshot.globalTone));
}

int highlightedCount(const PopoverSnapshot& snapshot) {
    return static_cast<int>(
        std::count_if(snapshot.rows.begin(), snapshot.rows.end(), [](const auto& row) {
            return row.severity == FindingSeverity::suspect ||
                   row.severity == FindingSeverity::critical;
        }));
}

QString badgeText(int count) {
    return count <= 9 ? QString::number(count) : QStringLiteral("9+");
}

MenuBarLabelLook menuBarLabelLook(const PopoverSnapshot& snapshot, bool watching) {
    if (!watching) {
        return {SnapshotTone::allClear, 0, 0, 0, true, false};
    }
    const int count = highlightedCount(snapshot);
    return {
        snapshot.globalTone, urgencyFill(snapshot), count, count >= 1 ? 1.0 : 0.0, false, false};
}

MenuBarLabelLook startingMenuBarLabelLook() {
    MenuBarLabelLook look;
    look.starting = true;
    return look;
}

QSize menuBarLabelSize() {
    return QSizeF(pillSize.width() + 2 * paddingX, pillSize.height() + 2 * paddingY).toSize();
}

namespace {

void paintPill(QPainter& painter, const MenuBarLabelLook& look, const QRectF& pill) {
    const auto& palette = VelmoraPalette::current();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF icon(pill.center().x() - 7, pill.center().y() - 7, 14, 14);
    if (look.showsNoSnapshot()) {
        paintSurface(painter, pill, 9, palette.color(PaletteColor::mutedText, 0.1),
                     palette.color(PaletteColor::mutedText, 0.42));
        paintHollowDrop(painter, icon, palette.color(PaletteColor::mutedText), 0);
    } else {
        const PillLook tones = pillLook(look.tone);
        paintSurface(painter, pill, 9, palette.toneTint(look.tone, tones.fill),
                     palette.toneTint(look.tone, tones.border));
        paintDropUrgencyIcon(painter, icon, look.tone, look.fill, look.count);
    }
    paintBadge(painter, look, pill.topRight());
    painter.restore();
}

QImage renderPicture(QSizeF size, qreal dpr, const std::function<void(QPainter&)>& paint) {
    QImage image((size * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter);
    return image;
}

} // namespace

void paintMenuBarLabel(QPainter& painter, const MenuBarLabelLook& look) {
    paintPill(painter, look, QRectF(QPointF(paddingX, paddingY), pillSize));
}

namespace {

double channelLuminance(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

QFont trayBadgeFont(int pixelSize) {
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

std::vector<BadgeRun> trayBadgeRuns(const MenuBarLabelLook& look) {
    std::vector<BadgeRun> runs;
    const auto add = [&](const QString& text, int pixelSize) {
        const QFont font = trayBadgeFont(pixelSize);
        runs.push_back({text, font, QFontMetricsF(font).horizontalAdvance(text)});
    };
    const int count = look.count;
    if (look.notWatching) {
        add(notWatchingMark, 7);
    } else if (count > 9) {
        add(QStringLiteral("9"), 7);
        add(QStringLiteral("+"), 6);
    } else {
        add(badgeText(count), 7);
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

// The tray pill's opaque body: the appearance's surface colour (taken deeper in the dark, so
// that the middle-lightness badge keeps 3:1 against it) washed with the tone at half the
// label's opacity; not washed at all while the monitor is not watching.
QColor trayPillFill(const MenuBarLabelLook& look) {
    const auto& palette = VelmoraPalette::current();
    const QColor base = palette.isDark()
                            ? mixColor(palette.color(PaletteColor::shell), Qt::black, 0.45)
                            : palette.color(PaletteColor::inset);
    if (look.showsNoSnapshot()) {
        return base;
    }
    return mixColor(base, palette.toneTint(look.tone), pillLook(look.tone).fill / 2);
}

} // namespace

double relativeLuminance(const QColor& color) {
    const QColor rgb = color.toRgb();
    return 0.2126 * channelLuminance(rgb.redF()) + 0.7152 * channelLuminance(rgb.greenF()) +
           0.0722 * channelLuminance(rgb.blueF());
}

double contrastRatio(const QColor& first, const QColor& second) {
    const double a = relativeLuminance(first);
    const double b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QSize trayGlyphSize() {
    return QSizeF(traySide, traySide).toSize();
}

TrayGlyphLayout trayGlyphLayout(const MenuBarLabelLook& look) {
    TrayGlyphLayout layout;
    layout.pill = trayPill;
    const double beside = badgeShown(look);
    const bool badged = beside > 0;
    const double side = mix(trayDropSideAlone, trayDropSideBeside, beside);
    const QPointF centre(mix(trayDropCentreAlone.x(), trayDropCentreBeside.x(), beside),
                         mix(trayDropCentreAlone.y(), trayDropCentreBeside.y(), beside));
    layout.drop = QRectF(centre.x() - side / 2, centre.y() - side / 2, side, side);
    if (badged) {
        const double faceWidth = std::max(
            trayBadgeFaceHeight, std::ceil(runsWidth(trayBadgeRuns(look))) + 2 * trayBadgePadding);
        const double height = trayBadgeFaceHeight + 2 * trayKnockout;
        const double width = faceWidth + 2 * trayKnockout;
        layout.badge = QRectF(trayPill.right() - width, trayPill.top(), width, height);
        layout.badgeFace =
            layout.badge.adjusted(trayKnockout, trayKnockout, -trayKnockout, -trayKnockout);
    }
    return layout;
}

QColor trayBadgeColor(SnapshotTone tone) {
    const PaletteColor name =
        tone == SnapshotTone::allClear ? PaletteColor::mutedText : toneColor(tone);
    const QColor deep = VelmoraPalette::light().color(name);
    const QColor bright = VelmoraPalette::dark().color(name);
    // The light appearance's colour is the deeper one: search the mix between the two for the
    // middle lightness.
    double low = 0;
    double high = 1;
    for (int step = 0; step < 24; ++step) {
        const double t = (low + high) / 2;
        (relativeLuminance(mixColor(deep, bright, t)) < trayBadgeLuminance ? low : high) = t;
    }
    return mixColor(deep, bright, (low + high) / 2);
}

QColor trayNotWatchingBadgeColor() {
    return trayBadgeColor(SnapshotTone::suspect);
}

void paintTrayGlyph(QPainter& painter, const MenuBarLabelLook& look) {
    const auto& palette = VelmoraPalette::current();
    const TrayGlyphLayout layout = trayGlyphLayout(look);
    const QColor pillFill = trayPillFill(look);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (look.showsNoSnapshot()) {
        const QColor grey = palette.color(PaletteColor::mutedText);
        paintSurface(painter, layout.pill, trayPillRadius, pillFill, grey, trayRingWidth);
        paintHollowDrop(painter, layout.drop, grey, trayDropOutline);
    } else {
        paintSurface(painter, layout.pill, trayPillRadius, pillFill, palette.toneTint(look.tone),
                     trayRingWidth);
        paintDropUrgencyIcon(painter, layout.drop, look.tone, look.fill, look.count,
                             DropIconDetail{false, trayDropOutline});
    }
    if (!layout.badge.isEmpty()) {
        const double shown = badgeShown(look);
        painter.save();
        painter.setOpacity(shown);
        const double scale = mix(0.88, 1.0, shown);
        painter.translate(layout.badge.topRight());
        painter.scale(scale, scale);
        painter.translate(-layout.badge.topRight());
        painter.fillPath(capsuleShape(layout.badge), pillFill);
        painter.fillPath(capsuleShape(layout.badgeFace), look.notWatching
                                                             ? trayNotWatchingBadgeColor()
                                                             : trayBadgeColor(look.tone));
        painter.setPen(Qt::white);
        const auto runs = trayBadgeRuns(look);
        double x = layout.badgeFace.center().x() - runsWidth(runs) / 2;
        for (const auto& run : runs) {
            painter.setFont(run.font);
            painter.drawText(
                QRectF(x, layout.badgeFace.top(), run.width, layout.badgeFace.height()),
                Qt::AlignCenter, run.text);
            x += run.width;
        }
        painter.restore();
    }
    painter.restore();
}

QImage renderTrayGlyph(const MenuBarLabelLook& look, qreal dpr) {
    return renderPicture(trayGlyphSize(), dpr,
                         [&](QPainter& painter) { paintTrayGlyph(painter, look); });
}

QImage renderTrayGlyph(const PopoverSnapshot& snapshot, qreal dpr) {
    return renderTrayGlyph(menuBarLabelLook(snapshot), dpr);
}

QIcon trayGlyphIcon(const MenuBarLabelLook& look) {
    // An icon that paints itself at the size asked for: a pixmap icon would leave a scaled
    // copy in Qt's pixmap cache for every frame the tray has shown.
    return QIcon(new TrayGlyphIconEngine(look));
}

QImage renderMenuBarLabel(const MenuBarLabelLook& look, qreal dpr) {
    return renderPicture(menuBarLabelSize(), dpr,
                         [&](QPainter& painter) { paintMenuBarLabel(painter, look); });
}

QImage renderMenuBarLabel(const PopoverSnapshot& snapshot, qreal dpr) {
    return renderMenuBarLabel(menuBarLabelLook(snapshot), dpr);
}

MenuBarLabel::MenuBarLabel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("menuBarLabel"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(&PaletteNotifier::instance(), &PaletteNotifier::changed, this, [this] {
        update();
        if (hasSnapshot_) {
            emit frameChanged();
        }
    });
}

void MenuBarLabel::setState(const PopoverSnapshot& snapshot, bool watching) {
    setLook(menuBarLabelLook(snapshot, watching));
}

void MenuBarLabel::setLook(const MenuBarLabelLook& next) {
    if (hasSnapshot_ && next.tone == target_.tone && next.fill == target_.fill &&
        next.count == target_.count && next.notWatching == target_.notWatching &&
        next.starting == target_.starting) {
        return;
    }
    const MenuBarLabelLook previous = target_;
    target_ = next;
    shown_.tone = next.tone;
    shown_.count = next.count > 0 ? next.count : shown_.count; // the leaving badge keeps its text
    setAccessibleName(next.notWatching ? tr("Velmora is not watching")
                      : next.starting  ? tr("Velmora is starting its monitor")
                      : next.count > 0 ? tr("Velmora, %1 suspected").arg(badgeText(next.count))
                                       : tr("Velmora"));
    if (!hasSnapshot_ || next.showsNoSnapshot() || previous.showsNoSnapshot()) {
        // The first picture, and the switch to or from not watching, are shown at once.
        for (MotionAnimator* animator : {fillAnimator_.data(), badgeAnimator_.data()}) {
            if (animator != nullptr) {
                animator->stop();
            }
        }
        hasSnapshot_ = true;
        shown_ = next;
        update();
        emit frameChanged();
        return;
    }
    if (next.fill != previous.fill) {
        if (fillAnimator_) {
            fillAnimator_->stop();
        }
        const double from = shown_.fill;
        fillAnimator_ = MotionAnimator::run(
            motion(MotionName::menuBarFill),
            [this, from](double progress) {
                shown_.fill = mix(from, target_.fill, progress);
                update();
                emit frameChanged();
            },
            this);
    }
    if ((next.count > 0) != (previous.count > 0)) {
        if (badgeAnimator_) {
            badgeAnimator_->stop();
        }
        const double from = shown_.badge;
        badgeAnimator_ = MotionAnimator::run(
            motion(MotionName::overlay),
            [this, from](double progress) {
                shown_.badge = std::clamp(mix(from, target_.badge, progress), 0.0, 1.0);
                if (progress >= 1.0) {
                    shown_.count = target_.count;
                }
                update();
                emit frameChanged();
            },
            this);
    }
    update();
    emit frameChanged();
}

void MenuBarLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintMenuBarLabel(painter, shown_);
}

} // namespace velmora
