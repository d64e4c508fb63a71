// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

namespace velmora {

// WCAG 2 relative luminance of a colour (alpha ignored), 0 for black to 1 for white.
double relativeLuminance(const QColor& color);
// The contrast ratio of two colours, 1 (the same luminance) to 21 (black on white).
double contrastRatio(const QColor& first, const QColor& second);
// The colour on the way from `darker` to `lighter` whose relative luminance is `luminance`
// (the nearer end when the luminance lies outside the way).
QColor mixToLuminance(const QColor& darker, const QColor& lighter, double luminance);

} // namespace velmora
