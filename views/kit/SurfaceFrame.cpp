// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/SurfaceFrame.h"

#include "views/kit/SurfacePainter.h"

#include <QPainter>
#include <cmath>

namespace velmora {

SurfaceFrame::SurfaceFrame(QWidget* parent) : QWidget(parent) {
    repaintOnAppearanceChange(this);
}

void SurfaceFrame::setRadius(double radius) {
    if (radius == radius_) {
        return;
    }
    radius_ = radius;
    update();
}

void SurfaceFrame::setFill(ColorRef fill) {
    if (fill == fill_) {
        return;
    }
    fill_ = fill;
    update();
}

void SurfaceFrame::setBorder(ColorRef border, double width) {
    if (border == border_ && width == borderWidth_) {
        return;
    }
    border_ = border;
    borderWidth_ = width;
    update();
}

void SurfaceFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintSurface(painter, QRectF(rect()), radius_, fill_.resolve(), border_.resolve(),
                 borderWidth_);
}

DotView::DotView(double diameter, ColorRef color, double topPadding, QWidget* parent)
    : QWidget(parent), diameter_(diameter), color_(color), topPadding_(topPadding) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    repaintOnAppearanceChange(this);
}

void DotView::setColor(ColorRef color) {
    if (color == color_) {
        return;
    }
    color_ = color;
    update();
}

QSize DotView::sizeHint() const {
    const int side = static_cast<int>(std::ceil(diameter_));
    return {side, static_cast<int>(std::ceil(diameter_ + topPadding_))};
}

void DotView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color_.resolve());
    const QRectF box((width() - diameter_) / 2,
                     topPadding_ + (height() - topPadding_ - diameter_) / 2, diameter_, diameter_);
    painter.drawEllipse(box);
}

} // namespace velmora
