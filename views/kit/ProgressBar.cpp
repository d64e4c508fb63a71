// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/ProgressBar.h"

#include "views/kit/AccessibleValue.h"
#include "views/kit/SurfacePanel.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace velmora {

namespace {
constexpr int kHeight = 6;
}

ProgressBar::ProgressBar(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(kHeight);
    setValue(0);
}

void ProgressBar::setValue(double value) {
    value = std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0;
    setAccessibleValue(this, QString::number(static_cast<int>(std::lround(value * 100))) + " %");
    if (value == value_) {
        return;
    }
    value_ = value;
    update();
}

QSize ProgressBar::sizeHint() const {
    return {120, kHeight};
}

void ProgressBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF track(0, 0, width(), height());
    paintPanel(
        painter, track,
        PanelStyle{PanelStyle::capsule, paletteRef(PaletteColor::insetStroke, 0.6), {}, {}, 0});
    if (value_ > 0) {
        QRectF filled(0, 0, std::max<double>(height(), track.width() * value_), height());
        paintPanel(
            painter, filled,
            PanelStyle{
                PanelStyle::capsule, paletteRef(PaletteColor::primaryActionFill), {}, {}, 0});
    }
}

} // namespace velmora
