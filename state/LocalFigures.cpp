// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/LocalFigures.h"

#include "base/NumberFormat.h"
#include "base/Translate.h"

#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

std::string whole(long long value) {
    return std::to_string(value);
}

// "3 h" or "3 h 20 min", the part both kinds of duration share.
std::string hoursAndMinutes(long long hours, long long minutes) {
    if (minutes > 0) {
        //: Hours and minutes, as in "3 h 20 min".
        return withArguments(translate("velmora::LocalFigures", "%1 h %2 min"),
                             {whole(hours), whole(minutes)});
    }
    //: Hours, as in "3 h".
    return withArguments(translate("velmora::LocalFigures", "%1 h"), {whole(hours)});
}

} // namespace

// The units and the ago texts share their catalogue entries with views/kit/LocalizedText.
std::string localSize(double kib) {
    static const char* const units[] = {VELMORA_TRANSLATE_NOOP("velmora::LocalizedText", "%1 KB"),
                                        VELMORA_TRANSLATE_NOOP("velmora::LocalizedText", "%1 MB"),
                                        VELMORA_TRANSLATE_NOOP("velmora::LocalizedText", "%1 GB"),
                                        VELMORA_TRANSLATE_NOOP("velmora::LocalizedText", "%1 TB"),
                                        VELMORA_TRANSLATE_NOOP("velmora::LocalizedText", "%1 PB")};
    double value = kib < 0 ? 0 : kib;
    int unit = 0;
    while (value >= 1024.0 && unit < 4) {
        value /= 1024.0;
        ++unit;
    }
    return withArguments(translate("velmora::LocalizedText", units[unit]), {decimalText(value, 1)});
}

std::string localByteSize(uint64_t bytes) {
    constexpr uint64_t kMiB = 1024ull * 1024ull;
    constexpr uint64_t kGiB = 1024ull * kMiB;
    if (bytes >= kGiB) {
        return localSize(static_cast<double>(bytes) / 1024.0);
    }
    // Whole units below a gigabyte, cut rather than rounded.
    const bool megabytes = bytes >= kMiB;
    const auto units = static_cast<double>(megabytes ? bytes / kMiB : bytes / 1024);
    return withArguments(translate("velmora::LocalizedText", megabytes ? "%1 MB" : "%1 KB"),
                         {decimalText(units, 0)});
}

std::string localRate(double kibPerSecond) {
    const double mibPerMinute = kibPerSecond * 60.0 / 1024.0;
    const std::string sign = std::signbit(mibPerMinute) ? "-" : "+";
    //: A growth rate in megabytes per minute, with its sign: "+8.2 MB/min".
    return withArguments(translate("velmora::LocalizedText", "%1 MB/min"),
                         {sign + decimalText(std::fabs(mibPerMinute), 1)});
}

std::string localEstimate(double seconds) {
    if (!std::isfinite(seconds) || seconds < 60) {
        //: How long until something happens, after "in" as in "Memory runs out in under a minute".
        return translate("velmora::LocalFigures", "under a minute");
    }
    const auto minutes = static_cast<long long>(seconds / 60.0);
    if (minutes < 60) {
        const int n = pluralCount(minutes);
        //: An estimate in minutes, after "in".
        return translate("velmora::LocalFigures", "about %n min", nullptr, n);
    }
    const long long hours = minutes / 60;
    if (hours >= 48) {
        const int n = pluralCount(hours / 24);
        //: An estimate in days, after "in".
        return translate("velmora::LocalFigures", "about %n days", nullptr, n);
    }
    //: An estimate, after "in": %1 is hours and minutes, as in "3 h 20 min".
    return withArguments(translate("velmora::LocalFigures", "about %1"),
                         {hoursAndMinutes(hours, minutes % 60)});
}

std::string localSpan(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0) {
        seconds = 0;
    }
    if (seconds < 60) {
        //: A span of seconds, as in "45 s".
        return withArguments(translate("velmora::LocalFigures", "%1 s"),
                             {whole(std::lround(seconds))});
    }
    const long long minutes = std::lround(seconds / 60.0);
    if (minutes < 60) {
        //: A span of minutes, as in "15 min".
        return withArguments(translate("velmora::LocalFigures", "%1 min"), {whole(minutes)});
    }
    return hoursAndMinutes(minutes / 60, minutes % 60);
}

// The catalogue's text is picked by the count, so each branch names its own.
int pluralCount(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, 0, 1 << 30));
}

std::string localAgo(int64_t seconds, AgoStyle style) {
    if (seconds < 1 || (!style.seconds && seconds < 60)) {
        return translate("velmora::LocalizedText", "just now");
    }
    if (seconds < 60) {
        const int n = pluralCount(seconds);
        return style.compact ? translate("velmora::LocalizedText", "%ns ago", nullptr, n)
                             : translate("velmora::LocalizedText", "%n s ago", nullptr, n);
    }
    if (seconds < 3600) {
        const int n = pluralCount(seconds / 60);
        return style.compact ? translate("velmora::LocalizedText", "%nm ago", nullptr, n)
                             : translate("velmora::LocalizedText", "%n min ago", nullptr, n);
    }
    if (seconds < 86400 || !style.days) {
        const int n = pluralCount(seconds / 3600);
        return style.compact ? translate("velmora::LocalizedText", "%nh ago", nullptr, n)
                             : translate("velmora::LocalizedText", "%n h ago", nullptr, n);
    }
    const int n = pluralCount(seconds / 86400);
    return style.compact ? translate("velmora::LocalizedText", "%nd ago", nullptr, n)
                         : translate("velmora::LocalizedText", "%n d ago", nullptr, n);
}

std::string localPercent(double fraction) {
    const long long value = std::lround(std::clamp(fraction, 0.0, 1.0) * 100);
    //: A share in percent, as in "83%".
    return withArguments(translate("velmora::LocalFigures", "%1%"), {whole(value)});
}

std::string localMultiple(double value) {
    //: How many times larger, as in "2.7×".
    return withArguments(translate("velmora::LocalFigures", "%1×"), {decimalText(value, 1)});
}

} // namespace velmora
