#include "views/kit/SpinningButton.h"

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

} // namespace velmora
