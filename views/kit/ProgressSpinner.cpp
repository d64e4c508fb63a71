// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/ProgressSpinner.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QTimerEvent>
#include <cmath>

namespace velmora {

namespace {

constexpr int spokes = 12;
constexpr int frameMs = 83;

} // namespace

ProgressSpinner::ProgressSpinner(ControlSize size, QWidget* parent) : QWidget(parent), size_(size) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(tr("In progress"));
    repaintOnAppearanceChange(this);
}

void ProgressSpinner::setControlSize(ControlSize size) {
    if (size == size_) {
        return;
    }
    size_ = size;
    updateGeometry();
    update();
}

void ProgressSpinner::setScale(double scale) {
    if (scale == scale_) {
        return;
    }
    scale_ = scale;
    update();
}

void ProgressSpinner::setColor(ColorRef color) {
    if (color == color_) {
        return;
    }
    color_ = color;
    update();
}

QSize ProgressSpinner::sizeHint() const {
    const int side = static_cast<int>(size_);
    return {side, side};
}

int ProgressSpinner::currentPhase() {
    static QElapsedTimer clock;
    if (!clock.isValid()) {
        clock.start();
    }
    return static_cast<int>((clock.elapsed() / frameMs) % spokes);
}

void ProgressSpinner::paint(QPainter& painter, const QRectF& box, int phase, const QColor& color) {
    const double side = std::min(box.width(), box.height());
    if (side <= 0) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.center());
    const double outer = side / 2;
    const double inner = outer * 0.45;
    const double thickness = std::max(1.0, side * 0.09);
    for (int i = 0; i < spokes; ++i) {
        // The leading spoke is fully opaque; the ones behind it fade out.
        const int age = (phase - i + spokes) % spokes;
        QColor spoke = color;
        spoke.setAlphaF(static_cast<float>(color.alphaF() * (1.0 - age * 0.07)));
        painter.setPen(QPen(spoke, thickness, Qt::SolidLine, Qt::RoundCap));
        painter.save();
        painter.rotate(i * 360.0 / spokes);
        painter.drawLine(QPointF(0, -inner), QPointF(0, -outer + thickness / 2));
        painter.restore();
    }
    painter.restore();
}

void ProgressSpinner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const double side = static_cast<int>(size_) * scale_;
    const QRectF box((width() - side) / 2, (height() - side) / 2, side, side);
    paint(painter, box, currentPhase(), color_.resolve());
}

void ProgressSpinner::timerEvent(QTimerEvent* event) {
    if (event->timerId() == timer_.timerId()) {
        update();
        return;
    }
    QWidget::timerEvent(event);
}

void ProgressSpinner::showEvent(QShowEvent* event) {
    timer_.start(frameMs, this);
    QWidget::showEvent(event);
}

void ProgressSpinner::hideEvent(QHideEvent* event) {
    timer_.stop();
    QWidget::hideEvent(event);
}

} // namespace velmora
