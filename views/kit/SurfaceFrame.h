// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/VelmoraPalette.h"

#include <QWidget>

namespace velmora {

// A container painted as a rounded rectangle with a flat fill and a 1-pixel inner border, both
// palette colours; its layout holds the content.
class SurfaceFrame : public QWidget {
    Q_OBJECT
public:
    explicit SurfaceFrame(QWidget* parent = nullptr);

    void setRadius(double radius);
    void setFill(ColorRef fill);
    void setBorder(ColorRef border, double width = 1.0);
    ColorRef fill() const { return fill_; }
    ColorRef border() const { return border_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double radius_ = 12;
    ColorRef fill_{PaletteColor::inset, 1.0, {}};
    ColorRef border_{PaletteColor::insetStroke, 1.0, {}};
    double borderWidth_ = 1.0;
};

// A filled circle of `diameter` pixels, optionally pushed down by `topPadding`.
class DotView : public QWidget {
    Q_OBJECT
public:
    DotView(double diameter, ColorRef color, double topPadding = 0, QWidget* parent = nullptr);

    void setColor(ColorRef color);
    ColorRef color() const { return color_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double diameter_;
    ColorRef color_;
    double topPadding_;
};

} // namespace velmora
