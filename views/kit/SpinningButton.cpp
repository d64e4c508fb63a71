// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/SpinningButton.h"

#include "views/kit/ProgressSpinner.h"

#include <QPainter>
#include <QPainterPath>
#include <QTimerEvent>

namespace velmora {
namespace {

constexpr int spokeMilliseconds = 83; // the spinner advances one spoke this often

} // namespace

void SpinningButton::setSpinning(bool spinning) {
    spinning_ = spinning;
    syncTimer();
}

void SpinningButton::syncTimer() {
    if (spinning_ && isVisible()) {
        spinTimer_.start(spokeMilliseconds, this);
    } else {
        spinTimer_.stop();
    }
}

void SpinningButton::timerEvent(QTimerEvent* event) {
    if (event->timerId() == spinTimer_.timerId()) {
        update();
        return;
    }
    QAbstractButton::timerEvent(event);
}

void SpinningButton::showEvent(QShowEvent* event) {
    syncTimer();
    QAbstractButton::showEvent(event);
}

void SpinningButton::hideEvent(QHideEvent* event) {
    spinTimer_.stop();
    QAbstractButton::hideEvent(event);
}

void SpinningButton::paintPressedShade(QPainter& painter, const QPainterPath& shape,
                                       int alpha) const {
    if (isDown()) {
        painter.fillPath(shape, QColor(0, 0, 0, alpha));
    }
}

void SpinningButton::paintSpinnerAt(QPainter& painter, QPointF centre, double side,
                                    const QColor& colour) {
    const QRectF box(centre.x() - side / 2, centre.y() - side / 2, side, side);
    ProgressSpinner::paint(painter, box, ProgressSpinner::currentPhase(), colour);
}

} // namespace velmora
