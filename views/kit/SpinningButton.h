// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QBasicTimer>
#include <QColor>
#include <QPointF>

class QPainterPath;

namespace velmora {

// A button that repaints on the spinner's cadence while it spins, and only while it is visible.
class SpinningButton : public QAbstractButton {
    Q_OBJECT
public:
    using QAbstractButton::QAbstractButton;

protected:
    void setSpinning(bool spinning);
    // Darkens `shape` by `alpha` while the button is held down.
    void paintPressedShade(QPainter& painter, const QPainterPath& shape, int alpha) const;
    // The progress spinner in a square of `side` centred on `centre`.
    static void paintSpinnerAt(QPainter& painter, QPointF centre, double side,
                               const QColor& colour);
    void timerEvent(QTimerEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void syncTimer();

    bool spinning_ = false;
    QBasicTimer spinTimer_;
};

} // namespace velmora
