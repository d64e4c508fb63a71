// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/DurationText.h"

#include <cmath>

namespace velmora {
namespace {

// "3 h" or "3 h 20 min".
std::string hoursAndMinutes(long long hours, long long minutes) {
    std::string text = std::to_string(hours);
    text.append(" h");
    if (minutes > 0) {
        text.append(" ").append(std::to_string(minutes)).append(" min");
    }
    return text;
}

} // namespace

std::string durationText(double seconds) {
    if (!std::isfinite(seconds) || seconds < 60) {
        return "under a minute";
    }
    auto minutes = static_cast<long long>(seconds / 60.0);
    if (minutes < 60) {
        return "about " + std::to_string(minutes) + " min";
    }
    long long hours = minutes / 60;
    if (hours >= 48) {
        return "about " + std::to_string(hours / 24) + " days";
    }
    return "about " + hoursAndMinutes(hours, minutes % 60);
}

std::string spanText(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0) {
        seconds = 0;
    }
    if (seconds < 60) {
        return std::to_string(static_cast<long long>(std::lround(seconds))) + " s";
    }
    auto minutes = static_cast<long long>(std::lround(seconds / 60.0));
    if (minutes < 60) {
        return std::to_string(minutes) + " min";
    }
    return hoursAndMinutes(minutes / 60, minutes % 60);
}

} // namespace velmora
