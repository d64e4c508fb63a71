// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace velmora {

// Figures in the person's format ("1.5" in English, "1,5" in German), for code without Qt.
// The app installs a formatter from the desktop's locale; without one (the monitor, the core's
// own tests) figures read as C's printf writes them, which is how the English texts read.

// `value` with exactly `decimals` digits after the separator and no group separators.
std::string decimalText(double value, int decimals);

// What the app installs: the same arguments, the figure as UTF-8.
using NumberFormatter = std::string (*)(double value, int decimals);
// nullptr puts C's format back. Called before any thread that formats starts.
void setNumberFormatter(NumberFormatter formatter);

} // namespace velmora
