// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/common/Formatting.h"

#include "base/AgoText.h"

#include <cmath>
#include <cstdio>
#include <ctime>

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

std::string formatRate(double kibPerSecond) {
    return rateText(kibPerSecond * 60.0 / 1024.0);
}

std::string formatDuration(double seconds) {
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
    long long rest = minutes % 60;
    return "about " + hoursAndMinutes(hours, rest);
}

std::string formatSpan(double seconds) {
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

std::string formatAgo(double seconds) {
    return agoText(static_cast<int64_t>(seconds), kFindingAgo);
}

std::string formatClock(double unixSeconds) {
    auto t = static_cast<std::time_t>(unixSeconds);
    std::tm local{};
    localtime_r(&t, &local);
    char buf[16];
    std::strftime(buf, sizeof buf, "%H:%M", &local);
    return buf;
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
