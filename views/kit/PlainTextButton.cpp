// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/PlainTextButton.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace velmora {

PlainTextButton::PlainTextButton(QWidget* parent)
    : QAbstractButton(parent), font_(velmoraFont(TypeRole::caption)) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (onTap_) {
            onTap_();
        }
    });
    repaintOnAppearanceChange(this);
}

void PlainTextButton::setLabel(const QString& label) {
    if (label == text()) {
        return;
    }
    setText(label);
    setAccessibleName(label);
    updateGeometry();
    update();
}

void PlainTextButton::setLabelFont(const QFont& font) {
    if (font == font_) {
        return;
    }
    font_ = font;
    updateGeometry();
    update();
}

void PlainTextButton::setColor(ColorRef color) {
    if (color == color_) {
        return;
    }
    color_ = color;
    update();
}

QSize PlainTextButton::sizeHint() const {
    const QFontMetricsF metrics(font_);
    return {static_cast<int>(std::ceil(metrics.horizontalAdvance(text()))) + 2,
            static_cast<int>(std::ceil(metrics.height())) + 2};
}

// The label one pixel in from the leading edge, centred vertically.
std::vector<DrawnText> PlainTextButton::drawnTexts() const {
    if (text().isEmpty()) {
        return {};
    }
    const QFontMetricsF metrics(font_);
    const double available = width() - 2;
    DrawnText line{text(), font_, QPointF(1, (height() - metrics.height()) / 2), 1.0, false};
    if (metrics.horizontalAdvance(line.text) > available + 0.01) {
        line.text = metrics.elidedText(line.text, Qt::ElideRight, std::max(0.0, available));
        line.elided = true;
    }
    return {line};
}

void PlainTextButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (isDown()) {
        painter.setOpacity(0.6);
    }
    painter.setFont(font_);
    painter.setPen(color_.resolve());
    const QFontMetricsF metrics(font_);
    for (const DrawnText& line : drawnTexts()) {
        painter.drawText(line.origin + QPointF(0, metrics.ascent()), line.text);
    }
    if (hasFocus()) {
        painter.setPen(QPen(color_.resolve(), 1, Qt::DotLine));
        painter.drawLine(QPointF(1, height() - 1), QPointF(width() - 1, height() - 1));
    }
}

} // namespace velmora
