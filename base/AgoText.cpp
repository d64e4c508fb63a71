// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/AgoText.h"

namespace velmora {

std::string agoText(int64_t elapsedSeconds, AgoStyle style) {
    const int64_t s = elapsedSeconds;
    if (s < 1 || (!style.seconds && s < 60)) {
        return "just now";
    }
    auto text = [&style](int64_t count, const char* spaced, const char* compact) {
        return std::to_string(count) + (style.compact ? compact : spaced) + " ago";
    };
    if (s < 60) {
        return text(s, " s", "s");
    }
    if (s < 3600) {
        return text(s / 60, " min", "m");
    }
    if (s < 86400 || !style.days) {
        return text(s / 3600, " h", "h");
    }
    return text(s / 86400, " d", "d");
}

} // namespace velmora
