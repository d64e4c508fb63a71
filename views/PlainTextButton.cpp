#include "views/PlainTextButton.h"

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

void PlainTextButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (isDown()) {
        painter.setOpacity(0.6);
    }
    painter.setFont(font_);
    painter.setPen(color_.resolve());
    const QFontMetricsF metrics(font_);
    painter.drawText(QPointF(1, (height() - metrics.height()) / 2 + metrics.ascent()), text());
    if (hasFocus()) {
        painter.setPen(QPen(color_.resolve(), 1, Qt::DotLine));
        painter.drawLine(QPointF(1, height() - 1), QPointF(width() - 1, height() - 1));
    }
}

} // namespace velmora
