// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/VelmoraPalette.h"

#include <QWidget>

namespace velmora {

// A thin determinate progress bar: a capsule track with a capsule fill from the leading edge,
// `value` from 0 to 1. Its accessible value is the percentage.
class ProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit ProgressBar(QWidget* parent = nullptr);

    void setValue(double value);
    double value() const { return value_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double value_ = 0;
};

} // namespace velmora
