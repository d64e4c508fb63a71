// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/common/Formatting.h"

#include "base/AgoText.h"
#include "base/ClockText.h"
#include "base/DurationText.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace velmora {

std::string formatRate(double kibPerSecond) {
    return rateText(kibPerSecond * 60.0 / 1024.0);
}

std::string formatDuration(double seconds) {
    return durationText(seconds);
}

std::string formatSpan(double seconds) {
    return spanText(seconds);
}

std::string formatAgo(double seconds) {
    return agoText(static_cast<int64_t>(seconds), kFindingAgo);
}

std::string formatClock(double unixSeconds) {
    return clockText(unixSeconds);
}

std::string formatMoment(double unixSeconds, double nowUnixSeconds) {
    auto then = static_cast<std::time_t>(unixSeconds);
    auto now = static_cast<std::time_t>(nowUnixSeconds);
    std::tm thenLocal{};
    std::tm nowLocal{};
    localtime_r(&then, &thenLocal);
    localtime_r(&now, &nowLocal);
    if (thenLocal.tm_year == nowLocal.tm_year && thenLocal.tm_yday == nowLocal.tm_yday) {
        return formatClock(unixSeconds);
    }
    static constexpr const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return std::to_string(thenLocal.tm_mday) + " " + months[thenLocal.tm_mon] + " " +
           formatClock(unixSeconds);
}

} // namespace velmora
