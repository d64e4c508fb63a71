// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Enums.h"

#include <QColor>
#include <QPointer>
#include <QWidget>
#include <vector>

class QPainter;

namespace velmora {

class MotionAnimator;

// The colour stops of the drop's fill, from the bottom of the drop upwards.
std::vector<QColor> fillGradientColors(SnapshotTone tone);
// The height of the fill band in a drop of `side` pixels: side × fraction (clamped to 0..1),
// never less than 1.5 pixels when the fraction is above 0.
double fillBandHeight(double side, double fillFraction);

// How much finery the drop carries. At popover sizes it has its halo, its tone shadow and tilt
// and the symbol's hairline outline; in the tray, a dozen pixels tall, those would only blur
// it, so without effects the drop leaves them out and draws its outline opaque (and, with an
// outline width, firmer).
struct DropIconDetail {
    bool effects = true;
    double outlineWidth = 0; // pixels, drawn inside the drop's edge; 0 keeps the symbol's own
};

// Paints the drop-urgency icon into `square`: halo, empty drop, fill band, glosses, outline,
// transformed and shadowed by tone.
void paintDropUrgencyIcon(QPainter& painter, const QRectF& square, SnapshotTone tone,
                          double fillFraction, int leakCount, const DropIconDetail& detail = {});

// The icon as a widget; changes of the fill animate with the `menuBarFill` motion.
class DropUrgencyIcon : public QWidget {
    Q_OBJECT
public:
    explicit DropUrgencyIcon(QWidget* parent = nullptr);

    void setContent(SnapshotTone tone, double fillFraction, int leakCount);
    double displayedFill() const { return shownFill_; }

    QSize sizeHint() const override { return {14, 14}; }

signals:
    void frameChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SnapshotTone tone_ = SnapshotTone::allClear;
    double fill_ = 0;
    double shownFill_ = 0;
    int leakCount_ = 0;
    bool hasContent_ = false;
    QPointer<MotionAnimator> animator_;
};

} // namespace velmora
