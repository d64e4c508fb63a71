// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/AgoText.h"

namespace velmora {

AgoParts agoParts(int64_t elapsedSeconds, AgoStyle style) {
    const int64_t s = elapsedSeconds;
    if (s < 1 || (!style.seconds && s < 60)) {
        return {AgoUnit::seconds, 0};
    }
    if (s < 60) {
        return {AgoUnit::seconds, s};
    }
    if (s < 3600) {
        return {AgoUnit::minutes, s / 60};
    }
    if (s < 86400 || !style.days) {
        return {AgoUnit::hours, s / 3600};
    }
    return {AgoUnit::days, s / 86400};
}

std::string agoText(int64_t elapsedSeconds, AgoStyle style) {
    const AgoParts parts = agoParts(elapsedSeconds, style);
    if (parts.count == 0) {
        return "just now";
    }
    static constexpr const char* spaced[] = {" s", " min", " h", " d"};
    static constexpr const char* compact[] = {"s", "m", "h", "d"};
    const auto unit = static_cast<std::size_t>(parts.unit);
    return std::to_string(parts.count) + (style.compact ? compact[unit] : spaced[unit]) + " ago";
}

} // namespace velmora
