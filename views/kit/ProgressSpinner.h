// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/VelmoraPalette.h"

#include <QBasicTimer>
#include <QWidget>

class QPainter;

namespace velmora {

// An indeterminate progress indicator: twelve spokes fading around a circle. It keeps the
// layout size of its control size and draws scaled about its centre.
class ProgressSpinner : public QWidget {
    Q_OBJECT
public:
    enum class ControlSize { mini = 10, small = 16, regular = 32 };

    explicit ProgressSpinner(ControlSize size = ControlSize::mini, QWidget* parent = nullptr);

    void setControlSize(ControlSize size);
    void setScale(double scale);
    double scale() const { return scale_; }
    void setColor(ColorRef color);

    QSize sizeHint() const override;

    // Draws one frame of the spinner centred in `box`; `phase` counts spokes (0 to 11).
    static void paint(QPainter& painter, const QRectF& box, int phase, const QColor& color);
    // The spoke that leads the animation now (it advances every 83 ms).
    static int currentPhase();

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    ControlSize size_;
    double scale_ = 1.0;
    ColorRef color_{PaletteColor::mutedText, 1.0, {}};
    QBasicTimer timer_;
};

} // namespace velmora
