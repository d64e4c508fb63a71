// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/common/Formatting.h"

#include "base/AgoText.h"
#include "base/ClockText.h"
#include "base/DurationText.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace velmora {

std::string formatCount(int64_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

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

bool sameLocalDay(double unixSeconds, double otherUnixSeconds) {
    auto one = static_cast<std::time_t>(unixSeconds);
    auto other = static_cast<std::time_t>(otherUnixSeconds);
    std::tm oneLocal{};
    std::tm otherLocal{};
    localtime_r(&one, &oneLocal);
    localtime_r(&other, &otherLocal);
    return oneLocal.tm_year == otherLocal.tm_year && oneLocal.tm_yday == otherLocal.tm_yday;
}

std::string formatMoment(double unixSeconds, double nowUnixSeconds) {
    if (sameLocalDay(unixSeconds, nowUnixSeconds)) {
        return formatClock(unixSeconds);
    }
    auto then = static_cast<std::time_t>(unixSeconds);
    std::tm thenLocal{};
    localtime_r(&then, &thenLocal);
    static constexpr const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return std::to_string(thenLocal.tm_mday) + " " + months[thenLocal.tm_mon] + " " +
           formatClock(unixSeconds);
}

} // namespace velmora
