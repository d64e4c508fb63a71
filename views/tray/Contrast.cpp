// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/tray/Contrast.h"

#include "views/kit/SurfacePainter.h"

#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

double channelLuminance(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

} // namespace

double relativeLuminance(const QColor& color) {
    const QColor rgb = color.toRgb();
    return 0.2126 * channelLuminance(rgb.redF()) + 0.7152 * channelLuminance(rgb.greenF()) +
           0.0722 * channelLuminance(rgb.blueF());
}

double contrastRatio(const QColor& first, const QColor& second) {
    const double a = relativeLuminance(first);
    const double b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor mixToLuminance(const QColor& darker, const QColor& lighter, double luminance) {
    double low = 0;
    double high = 1;
    for (int step = 0; step < 24; ++step) {
        const double t = (low + high) / 2;
        (relativeLuminance(mixColor(darker, lighter, t)) < luminance ? low : high) = t;
    }
    return mixColor(darker, lighter, (low + high) / 2);
}

} // namespace velmora
