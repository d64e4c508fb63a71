// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/UtcStamp.h"

#include <ctime>

namespace velmora {

namespace {

std::string formatted(int64_t epochMs, const char* format) {
    std::time_t seconds = static_cast<std::time_t>(epochMs / 1000);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[40];
    std::size_t length = std::strftime(text, sizeof text, format, &parts);
    return std::string(text, length);
}

} // namespace

std::string utcStamp(int64_t epochMs) {
    return formatted(epochMs, "%Y%m%dT%H%M%SZ");
}

std::string utcIsoTime(int64_t epochMs) {
    return formatted(epochMs, "%Y-%m-%dT%H:%M:%SZ");
}

} // namespace velmora
