// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/findings/SparklineView.h"

#include <QPainter>
#include <QPainterPath>

namespace velmora {

SparklineView::SparklineView(QWidget* parent) : QWidget(parent), levels_(simplifiedNormalized({})) {
    setFixedSize(sizeHint());
    setAttribute(Qt::WA_TransparentForMouseEvents);
    repaintOnAppearanceChange(this);
}

void SparklineView::setSamples(const std::vector<uint16_t>& samples) {
    if (samples == samples_) {
        return;
    }
    samples_ = samples;
    auto levels = simplifiedNormalized(samples_);
    if (levels != levels_) {
        levels_ = std::move(levels);
        update();
    }
}

void SparklineView::setTint(ColorRef tint) {
    if (tint == tint_) {
        return;
    }
    tint_ = tint;
    update();
}

std::vector<SparklinePoint> SparklineView::points() const {
    return sparklinePoints(levels_, width(), height());
}

void SparklineView::paintEvent(QPaintEvent*) {
    const auto line = points();
    if (line.empty()) {
        return;
    }
    QPainterPath path(QPointF(line.front().x, line.front().y));
    for (std::size_t i = 1; i < line.size(); ++i) {
        path.lineTo(line[i].x, line[i].y);
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(tint_.resolve(), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

} // namespace velmora
