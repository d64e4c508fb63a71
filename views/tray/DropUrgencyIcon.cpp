// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/tray/DropUrgencyIcon.h"

#include "views/kit/MotionAnimator.h"
#include "views/kit/SurfacePainter.h"
#include "views/kit/VelmoraPalette.h"
#include "views/kit/VelmoraSymbols.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

struct ToneLook {
    double haloScale, haloBlur, haloOpacity;
    double upperGloss, sideGloss, sideShift;
    double outlineOpacity;
    double scale, offsetY, rotation, shadowOpacity, shadowRadius;
};

ToneLook lookOf(SnapshotTone tone) {
    switch (tone) {
    case SnapshotTone::allClear:
        return {0.92, 0, 0, 0.2, 0, 0.24, 0.84, 1.0, 0, 0, 0, 0};
    case SnapshotTone::watch:
        return {0.94, 1, 0.95 * 0.08, 0.24, 0.18, 0.16, 0.92, 1.0, 0, 0, 0.95 * 0.09, 2};
    case SnapshotTone::suspect:
        return {0.98, 2, 0.12, 0.28, 0.22, 0.12, 0.96, 1.02, -0.15, -0.8, 0.13, 3};
    case SnapshotTone::critical:
        return {1.02, 2, 0.15, 0.32, 0.26, 0.08, 0.98, 1.04, -0.25, -1.2, 0.18, 4};
    }
    return lookOf(SnapshotTone::allClear);
}

QColor white(double opacity) {
    return QColor::fromRgbF(1, 1, 1, static_cast<float>(opacity));
}

} // namespace

std::vector<QColor> fillGradientColors(SnapshotTone tone) {
    const auto& palette = VelmoraPalette::current();
    switch (tone) {
    case SnapshotTone::allClear:
        return {palette.color(PaletteColor::allClearText, 0.68),
                palette.color(PaletteColor::allClearText, 0.88)};
    case SnapshotTone::watch:
        return {white(0.16), palette.color(PaletteColor::watchText, 0.78),
                palette.color(PaletteColor::watchText, 0.96)};
    case SnapshotTone::suspect:
        return {QColor::fromRgbF(0.961f, 0.816f, 0.514f, 0.34f),
                palette.color(PaletteColor::suspectText, 0.84),
                palette.color(PaletteColor::suspectText)};
    case SnapshotTone::critical:
        return {QColor::fromRgbF(0.973f, 0.71f, 0.588f, 0.36f),
                palette.color(PaletteColor::criticalText, 0.86),
                palette.color(PaletteColor::criticalText)};
    }
    return {};
}

double fillBandHeight(double side, double fillFraction) {
    if (!std::isfinite(fillFraction) || fillFraction <= 0) {
        return 0;
    }
    return std::max(1.5, side * std::min(fillFraction, 1.0));
}

void paintDropUrgencyIcon(QPainter& painter, const QRectF& square, SnapshotTone tone,
                          double fillFraction, int leakCount, const DropIconDetail& detail) {
    const auto& palette = VelmoraPalette::current();
    ToneLook look = lookOf(tone);
    if (!detail.effects) {
        look.haloOpacity = 0;
        look.shadowOpacity = 0;
        look.scale = 1;
        look.offsetY = 0;
        look.rotation = 0;
        look.outlineOpacity = 1;
    }
    const double s = std::min(square.width(), square.height());
    const QPainterPath drop = symbolPath("velmora-drop-filled", square);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = square.center();
    painter.translate(centre + QPointF(0, look.offsetY));
    painter.rotate(look.rotation);
    painter.scale(look.scale, look.scale);
    painter.translate(-centre);

    if (look.shadowOpacity > 0) {
        paintShadow(painter, drop, palette.toneTint(tone, look.shadowOpacity), look.shadowRadius);
    }
    if (look.haloOpacity > 0 && (tone != SnapshotTone::allClear || leakCount >= 1)) {
        const double d = s * look.haloScale;
        QPainterPath halo;
        halo.addEllipse(centre, d / 2, d / 2);
        const QColor haloColour = palette.toneTint(tone, look.haloOpacity);
        if (look.haloBlur > 0) {
            paintShadow(painter, halo, haloColour, look.haloBlur);
        } else {
            painter.fillPath(halo, haloColour);
        }
    }
    painter.fillPath(drop, palette.color(PaletteColor::neutralText, 0.08));

    painter.save();
    painter.setClipPath(drop);
    const double band = fillBandHeight(s, fillFraction);
    if (band > 0) {
        const QRectF bandRect(square.left(), square.bottom() - band, square.width(), band);
        QLinearGradient gradient(QPointF(0, square.bottom()), QPointF(0, square.bottom() - band));
        const auto stops = fillGradientColors(tone);
        for (std::size_t i = 0; i < stops.size(); ++i) {
            gradient.setColorAt(stops.size() == 1 ? 0 : double(i) / double(stops.size() - 1),
                                stops[i]);
        }
        painter.fillRect(bandRect, gradient);
    }
    // Upper gloss, screened over the fill; then the side gloss.
    const QRectF upper(square.left() + square.width() * 0.09, square.top() - 0.12 * s,
                       square.width() * 0.82, square.height() * 0.64);
    QLinearGradient upperGradient(upper.topLeft(),
                                  upper.bottomLeft() + QPointF(upper.width() / 2, 0));
    upperGradient.setColorAt(0, white(look.upperGloss));
    upperGradient.setColorAt(1, white(0));
    painter.setCompositionMode(QPainter::CompositionMode_Screen);
    painter.fillRect(upper, upperGradient);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (look.sideGloss > 0) {
        const double w = square.width() * 0.34;
        const double h = square.height() * 0.9;
        const QRectF side(centre.x() - w / 2 - look.sideShift * square.width(), centre.y() - h / 2,
                          w, h);
        QLinearGradient sideGradient(side.topLeft(), side.topRight());
        sideGradient.setColorAt(0, white(look.sideGloss));
        sideGradient.setColorAt(1, white(0));
        painter.fillRect(side, sideGradient);
    }
    painter.restore();

    const QColor outline = palette.toneTint(tone, look.outlineOpacity);
    if (detail.outlineWidth > 0) {
        // A pen twice as wide, clipped to the drop, leaves the outline inside its edge.
        painter.save();
        painter.setClipPath(drop);
        painter.strokePath(drop, QPen(outline, 2 * detail.outlineWidth));
        painter.restore();
    } else {
        painter.fillPath(symbolPath("velmora-drop", square), outline);
    }
    painter.restore();
}

DropUrgencyIcon::DropUrgencyIcon(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("dropUrgencyIcon"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    repaintOnAppearanceChange(this);
}

void DropUrgencyIcon::setContent(SnapshotTone tone, double fillFraction, int leakCount) {
    const double fill = std::clamp(std::isfinite(fillFraction) ? fillFraction : 0.0, 0.0, 1.0);
    if (hasContent_ && tone == tone_ && fill == fill_ && leakCount == leakCount_) {
        return;
    }
    tone_ = tone;
    leakCount_ = leakCount;
    const bool animate = hasContent_ && fill != fill_;
    fill_ = fill;
    hasContent_ = true;
    if (!animate) {
        shownFill_ = fill;
        update();
        emit frameChanged();
        return;
    }
    if (animator_) {
        animator_->stop();
    }
    const double from = shownFill_;
    animator_ = MotionAnimator::run(
        motion(MotionName::menuBarFill),
        [this, from](double progress) {
            shownFill_ = mix(from, fill_, progress);
            update();
            emit frameChanged();
        },
        this);
}

void DropUrgencyIcon::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const double side = std::min(width(), height());
    paintDropUrgencyIcon(painter, QRectF((width() - side) / 2, (height() - side) / 2, side, side),
                         tone_, shownFill_, leakCount_);
}

} // namespace velmora
