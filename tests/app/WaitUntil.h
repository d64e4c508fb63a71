// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace velmora::testing {

// Runs the event loop until `done` holds or `timeoutMs` pass; a timer wakes the loop so the
// deadline is noticed even when nothing arrives.
template <class Predicate> bool waitUntil(Predicate done, int timeoutMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    QTimer wake;
    wake.start(20);
    while (!done()) {
        if (clock.hasExpired(timeoutMs)) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace velmora::testing
