#include "views/MenuBarLabel.h"

#include "views/DropUrgencyIcon.h"
#include "views/MotionAnimator.h"
#include "views/SurfacePainter.h"
#include "views/VelmoraPalette.h"
#include "views/VelmoraType.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <functional>

namespace velmora {

namespace {

constexpr QSizeF pillSize(48, 26);
constexpr double paddingX = 11;
constexpr double paddingY = 4;
// The tray's square: the pill as wide as it is high, with room for the badge across its
// top-right corner (3 points right, 2 up).
constexpr double trayPillSide = 26;
constexpr double trayPadding = 2;

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

void paintBadge(QPainter& painter, const MenuBarLabelLook& look, const QPointF& topRight) {
    if (look.count < 1 || look.badge <= 0) {
        return;
    }
    const auto& palette = VelmoraPalette::current();
    const QColor colour = look.tone == SnapshotTone::allClear
                              ? palette.color(PaletteColor::mutedText)
                              : palette.toneTint(look.tone);
    QFont font = velmoraRoundedFont(look.count > 9 ? 8 : 9, QFont::Black);
    font.setStyleHint(QFont::SansSerif);
    const QString text = badgeText(look.count);
    const QFontMetricsF metrics(font);
    const double width = std::max(14.0, metrics.horizontalAdvance(text) + 8);
    const QRectF badge(topRight.x() + 3 - width, topRight.y() - 2, width, 14);

    painter.save();
    painter.setOpacity(std::clamp(look.badge, 0.0, 1.0));
    const double scale = mix(0.88, 1.0, look.badge);
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

MenuBarLabelLook menuBarLabelLook(const PopoverSnapshot& snapshot) {
    const int count = highlightedCount(snapshot);
    return {snapshot.globalTone, urgencyFill(snapshot), count, count >= 1 ? 1.0 : 0.0};
}

QSize menuBarLabelSize() {
    return QSizeF(pillSize.width() + 2 * paddingX, pillSize.height() + 2 * paddingY).toSize();
}

namespace {

void paintPill(QPainter& painter, const MenuBarLabelLook& look, const QRectF& pill) {
    const auto& palette = VelmoraPalette::current();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const PillLook tones = pillLook(look.tone);
    paintSurface(painter, pill, 9, palette.toneTint(look.tone, tones.fill),
                 palette.toneTint(look.tone, tones.border));
    const QRectF icon(pill.center().x() - 7, pill.center().y() - 7, 14, 14);
    paintDropUrgencyIcon(painter, icon, look.tone, look.fill, look.count);
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

QSize trayGlyphSize() {
    const double side = trayPillSide + 2 * trayPadding;
    return QSizeF(side, side).toSize();
}

QImage renderTrayGlyph(const PopoverSnapshot& snapshot, qreal dpr) {
    const MenuBarLabelLook look = menuBarLabelLook(snapshot);
    return renderPicture(trayGlyphSize(), dpr, [&](QPainter& painter) {
        const QRectF pill(trayPadding - 1, trayPadding + 1, trayPillSide, trayPillSide);
        paintPill(painter, look, pill);
    });
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
    repaintOnAppearanceChange(this);
}

void MenuBarLabel::setSnapshot(const PopoverSnapshot& snapshot) {
    const MenuBarLabelLook next = menuBarLabelLook(snapshot);
    if (hasSnapshot_ && next.tone == target_.tone && next.fill == target_.fill &&
        next.count == target_.count) {
        return;
    }
    const MenuBarLabelLook previous = target_;
    target_ = next;
    shown_.tone = next.tone;
    shown_.count = next.count > 0 ? next.count : shown_.count; // the leaving badge keeps its text
    setAccessibleName(next.count > 0 ? tr("Velmora, %1 suspected").arg(badgeText(next.count))
                                     : tr("Velmora"));
    if (!hasSnapshot_) {
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
