// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/AgoTexts.h"

#include "base/Translate.h"

namespace velmora {
namespace {

std::string spaced(AgoUnit unit, int n) {
    switch (unit) {
    case AgoUnit::seconds:
        //: How long ago, in seconds.
        return translate("AgoTexts", "%n s ago", nullptr, n);
    case AgoUnit::minutes:
        //: How long ago, in minutes.
        return translate("AgoTexts", "%n min ago", nullptr, n);
    case AgoUnit::hours:
        //: How long ago, in hours.
        return translate("AgoTexts", "%n h ago", nullptr, n);
    case AgoUnit::days:
        //: How long ago, in days.
        return translate("AgoTexts", "%n d ago", nullptr, n);
    }
    return {};
}

// The short forms, where room is short (the footer's chips).
std::string compact(AgoUnit unit, int n) {
    switch (unit) {
    case AgoUnit::seconds:
        //: How long ago, in seconds, as short as it goes.
        return translate("AgoTexts", "%ns ago", nullptr, n);
    case AgoUnit::minutes:
        //: How long ago, in minutes, as short as it goes.
        return translate("AgoTexts", "%nm ago", nullptr, n);
    case AgoUnit::hours:
        //: How long ago, in hours, as short as it goes.
        return translate("AgoTexts", "%nh ago", nullptr, n);
    case AgoUnit::days:
        //: How long ago, in days, as short as it goes.
        return translate("AgoTexts", "%nd ago", nullptr, n);
    }
    return {};
}

} // namespace

std::string translatedAgo(double elapsedSeconds, AgoStyle style) {
    const AgoParts parts = agoParts(static_cast<int64_t>(elapsedSeconds), style);
    if (parts.count == 0) {
        //: Something that happened less than a minute ago.
        return translate("AgoTexts", "just now");
    }
    const int n = static_cast<int>(parts.count);
    return style.compact ? compact(parts.unit, n) : spaced(parts.unit, n);
}

} // namespace velmora
