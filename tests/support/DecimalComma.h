// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>

namespace velmora::testing {

// A desktop's number format that writes a decimal comma ("1,5"), as a number formatter for
// base/NumberFormat, so that a test sees which figures follow the desktop's format.
inline std::string decimalComma(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string out = text;
    if (const auto at = out.find('.'); at != std::string::npos) {
        out[at] = ',';
    }
    return out;
}

} // namespace velmora::testing
