// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/NumberFormat.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

namespace velmora {
namespace {

std::atomic<NumberFormatter> installedFormatter{nullptr};

} // namespace

std::string decimalText(double value, int decimals) {
    decimals = std::clamp(decimals, 0, 9);
    if (const NumberFormatter formatter = installedFormatter.load(std::memory_order_acquire)) {
        return formatter(value, decimals);
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

void setNumberFormatter(NumberFormatter formatter) {
    installedFormatter.store(formatter, std::memory_order_release);
}

} // namespace velmora
