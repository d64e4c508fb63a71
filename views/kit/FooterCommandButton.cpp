// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/FooterCommandButton.h"

#include "views/kit/AccessibleValue.h"
#include "views/kit/MotionAnimator.h"
#include "views/kit/SurfacePainter.h"
#include "views/kit/VelmoraSymbols.h"

#include <QPainter>

namespace velmora {

FooterCommandButton::FooterCommandButton(QWidget* parent) : SpinningButton(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (!pending_ && onTap_) {
            onTap_();
        }
    });
    repaintOnAppearanceChange(this);
    connect(&PaletteNotifier::instance(), &PaletteNotifier::changed, this,
            [this] { syncShadow(); });
    syncValue();
}

void FooterCommandButton::setSymbol(const std::string& iconName) {
    if (iconName == symbol_) {
        return;
    }
    symbol_ = iconName;
    update();
}

void FooterCommandButton::setLabel(const QString& accessibilityLabel, const QString& helpText) {
    if (accessibleName() != accessibilityLabel) {
        setAccessibleName(accessibilityLabel);
    }
    if (toolTip() != helpText) {
        setToolTip(helpText);
    }
}

void FooterCommandButton::setTint(PaletteColor tint) {
    if (tint == tint_) {
        return;
    }
    tint_ = tint;
    syncShadow();
    update();
}

void FooterCommandButton::setPending(bool pending) {
    if (pending == pending_) {
        return;
    }
    pending_ = pending;
    setEnabled(!pending);
    syncValue();
    setSpinning(pending_);
    update();
}

void FooterCommandButton::setActive(bool active) {
    if (active == active_) {
        return;
    }
    active_ = active;
    syncValue();
    if (animator_) {
        animator_->stop();
    }
    const double from = activeLevel_;
    const double to = active ? 1.0 : 0.0;
    if (!isVisible()) { // nothing on screen to animate from
        activeLevel_ = to;
        syncShadow();
        update();
        return;
    }
    animator_ = MotionAnimator::run(
        motion(MotionName::settings),
        [this, from, to](double progress) {
            activeLevel_ = std::clamp(mix(from, to, progress), 0.0, 1.0);
            syncShadow();
            update();
        },
        this);
}

void FooterCommandButton::syncValue() {
    setAccessibleValue(this, pending_ ? tr("Working") : active_ ? tr("Active") : tr("Ready"));
}

void FooterCommandButton::syncShadow() {
    const QColor shadow = VelmoraPalette::current().color(tint_, 0.22 * activeLevel_);
    setWidgetShadow(this, shadow, activeLevel_ > 0 ? 10 : 0, QPointF(0, 4));
}

void FooterCommandButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto& palette = VelmoraPalette::current();
    const QRectF bounds = QRectF(rect());
    if (pending_) {
        painter.setOpacity(0.88);
        painter.translate(bounds.center());
        painter.scale(0.985, 0.985);
        painter.translate(-bounds.center());
    }
    const double t = activeLevel_;
    const QColor fill = mixColor(palette.color(PaletteColor::utilityChip), palette.color(tint_), t);
    const QColor border = mixColor(palette.color(PaletteColor::utilityChipStroke, 0.88),
                                   palette.color(tint_, 0.92), t);
    paintSurface(painter, bounds, 9, fill, border);
    paintPressedShade(painter, roundedShape(bounds, 9), 20);
    if (pending_) {
        paintSpinnerAt(painter, bounds.center(), 16 * 0.58, palette.color(tint_));
        return;
    }
    const QColor glyph =
        mixColor(palette.color(tint_), palette.color(PaletteColor::accentFillForeground), t);
    const double side = 15;
    const QRectF box(bounds.center().x() - side / 2, bounds.center().y() - side / 2, side, side);
    paintSymbol(painter, symbol_, box, glyph);
}

} // namespace velmora
