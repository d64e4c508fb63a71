// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/ActionCapsuleButton.h"

#include "state/ActionTexts.h"
#include "views/kit/ProgressSpinner.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace velmora {

namespace {

constexpr int spinnerSide = static_cast<int>(ProgressSpinner::ControlSize::mini);
constexpr int spacing = 5;

} // namespace

ActionCapsuleButton::Metrics ActionCapsuleButton::card() {
    return Metrics{};
}

ActionCapsuleButton::Metrics ActionCapsuleButton::relief() {
    Metrics metrics;
    metrics.paddingX = 10;
    metrics.paddingY = 5;
    return metrics;
}

ActionCapsuleButton::Metrics ActionCapsuleButton::chip() {
    Metrics metrics;
    metrics.paddingX = 10;
    metrics.paddingY = 6;
    metrics.weight = std::nullopt;
    metrics.pendingOpacity = 0.92;
    metrics.spinnerScale = 0.65;
    metrics.workingWhilePending = true;
    metrics.labelMode = LabelMode::raw;
    return metrics;
}

ColorRef ActionCapsuleButton::textColor(ActionStyle style) {
    switch (style) {
    case ActionStyle::primary:
        return ColorRef::fixedColor(Qt::white);
    case ActionStyle::warning:
        return {PaletteColor::suspectText, 1.0, {}};
    case ActionStyle::destructive:
        return {PaletteColor::criticalText, 1.0, {}};
    case ActionStyle::secondary:
        return {PaletteColor::mutedText, 1.0, {}};
    }
    return {PaletteColor::mutedText, 1.0, {}};
}

ColorRef ActionCapsuleButton::fillColor(ActionStyle style) {
    switch (style) {
    case ActionStyle::primary:
        return {PaletteColor::primaryActionFill, 1.0, {}};
    case ActionStyle::warning:
        return {PaletteColor::suspectText, 0.16, {}};
    case ActionStyle::destructive:
        return {PaletteColor::criticalText, 0.14, {}};
    case ActionStyle::secondary:
        return {PaletteColor::inset, 1.0, {}};
    }
    return {PaletteColor::inset, 1.0, {}};
}

ActionCapsuleButton::ActionCapsuleButton(Metrics metrics, QWidget* parent)
    : SpinningButton(parent), metrics_(metrics) {
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    setContentsMargins(metrics_.paddingX, metrics_.paddingY, metrics_.paddingX, metrics_.paddingY);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (!pending_ && onTap_) {
            onTap_();
        }
    });
    repaintOnAppearanceChange(this);
}

void ActionCapsuleButton::setAction(const ActionDescriptor& action) {
    if (action == action_) {
        return;
    }
    const QString before = labelText();
    action_ = action;
    refresh(labelText() != before);
}

void ActionCapsuleButton::setPending(bool pending) {
    if (pending == pending_) {
        return;
    }
    pending_ = pending;
    setEnabled(!pending);
    setSpinning(pending_);
    refresh(true);
}

void ActionCapsuleButton::setColorOverride(std::optional<std::pair<ColorRef, ColorRef>> colors) {
    if (colors == override_) {
        return;
    }
    override_ = colors;
    update();
}

QString ActionCapsuleButton::labelText() const {
    if (pending_ && metrics_.workingWhilePending) {
        return tr("Working");
    }
    if (metrics_.labelMode == LabelMode::raw) {
        return QString::fromStdString(actionLabelShown(action_));
    }
    // An action without a short caption shows its whole label, composed from its code.
    return QString::fromStdString(actionShortLabel(action_).value_or(actionLabelShown(action_)));
}

void ActionCapsuleButton::refresh(bool geometry) {
    setText(labelText());
    setAccessibleName(labelText());
    setAccessibleDescription(pending_ ? tr("Working") : QString());
    if (geometry) {
        updateGeometry();
    }
    update();
}

QFont ActionCapsuleButton::labelFont() const {
    return velmoraFont(metrics_.role, metrics_.weight);
}

QSize ActionCapsuleButton::sizeHint() const {
    const QFontMetricsF metrics(labelFont());
    double width = metrics.horizontalAdvance(labelText()) + 2 * metrics_.paddingX;
    if (pending_) {
        width += spinnerSide + spacing;
    }
    const double height =
        std::max<double>(metrics.height(), pending_ ? spinnerSide : 0) + 2 * metrics_.paddingY;
    return {static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(height))};
}

// As narrow as a first letter and an ellipsis (or the whole label when that is shorter).
QSize ActionCapsuleButton::minimumSizeHint() const {
    const QFontMetricsF metrics(labelFont());
    const QString label = labelText();
    const double text =
        std::min(metrics.horizontalAdvance(label), metrics.horizontalAdvance(label.left(1) + "…"));
    const QSize hint = sizeHint();
    const double width = text + 2 * metrics_.paddingX + (pending_ ? spinnerSide + spacing : 0);
    return {std::min(hint.width(), static_cast<int>(std::ceil(width))), hint.height()};
}

ActionCapsuleButton::LabelPlacement ActionCapsuleButton::placeLabel() const {
    const QFontMetricsF metrics(labelFont());
    const QString label = labelText();
    const double spinner = pending_ ? spinnerSide + spacing : 0;
    const double available = width() - 2 * metrics_.paddingX - spinner;
    LabelPlacement placement;
    placement.text = label;
    if (metrics.horizontalAdvance(label) > available + 0.01) {
        placement.text = metrics.elidedText(label, Qt::ElideRight, std::max(0.0, available));
        placement.elided = true;
    }
    const double content = metrics.horizontalAdvance(placement.text) + spinner;
    placement.spinnerX = (width() - content) / 2;
    placement.textX = placement.spinnerX + spinner;
    return placement;
}

QString ActionCapsuleButton::shownLabel() const {
    return placeLabel().text;
}

std::vector<DrawnText> ActionCapsuleButton::drawnTexts() const {
    const LabelPlacement placement = placeLabel();
    if (placement.text.isEmpty()) {
        return {};
    }
    const QFont font = labelFont();
    const double top = (height() - QFontMetricsF(font).height()) / 2;
    return {DrawnText{placement.text, font, QPointF(placement.textX, top), 1.0, placement.elided}};
}

void ActionCapsuleButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (pending_) {
        painter.setOpacity(metrics_.pendingOpacity);
    }
    const ColorRef text = override_ ? override_->first : textColor(action_.style);
    const ColorRef fill = override_ ? override_->second : fillColor(action_.style);
    const QRectF bounds = QRectF(rect());
    QPainterPath capsule;
    capsule.addRoundedRect(bounds, bounds.height() / 2, bounds.height() / 2);
    painter.fillPath(capsule, fill.resolve());
    paintPressedShade(painter, capsule, 24);

    const QColor textColour = text.resolve();
    if (pending_) {
        const double side = spinnerSide * metrics_.spinnerScale;
        const QRectF slot(placeLabel().spinnerX, (bounds.height() - spinnerSide) / 2, spinnerSide,
                          spinnerSide);
        paintSpinnerAt(painter, slot.center(), side, textColour);
    }
    painter.setPen(textColour);
    for (const DrawnText& line : drawnTexts()) {
        painter.setFont(line.font);
        painter.drawText(line.origin + QPointF(0, QFontMetricsF(line.font).ascent()), line.text);
    }
    if (hasFocus()) {
        painter.setPen(QPen(textColour, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(bounds.adjusted(1, 1, -1, -1), bounds.height() / 2 - 1,
                                bounds.height() / 2 - 1);
    }
}

} // namespace velmora
