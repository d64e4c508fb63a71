// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/findings/SparklineGeometry.h"
#include "views/kit/VelmoraPalette.h"

#include <QWidget>
#include <cstdint>
#include <vector>

namespace velmora {

// A small open polyline of a finding's recent samples, at most six points, stroked in the
// row's tint. It never animates: a new series is drawn at once.
class SparklineView : public QWidget {
    Q_OBJECT
public:
    explicit SparklineView(QWidget* parent = nullptr);

    void setSamples(const std::vector<uint16_t>& samples);
    void setTint(ColorRef tint);
    ColorRef tint() const { return tint_; }

    // The normalised levels drawn, and the points they make in the current size.
    const std::vector<double>& levels() const { return levels_; }
    std::vector<SparklinePoint> points() const;

    QSize sizeHint() const override { return {64, 18}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<uint16_t> samples_;
    std::vector<double> levels_;
    ColorRef tint_;
};

} // namespace velmora
