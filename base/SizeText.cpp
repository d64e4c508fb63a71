// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/SizeText.h"

#include <cstdio>

namespace velmora {

std::string formatKiB(double kib) {
    static const char* units[] = {"KB", "MB", "GB", "TB", "PB"};
    double value = kib < 0 ? 0 : kib;
    int unit = 0;
    while (value >= 1024.0 && unit < 4) {
        value /= 1024.0;
        ++unit;
    }
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.1f %s", value, units[unit]);
    return buf;
}

std::string formatKiB(uint64_t kib) {
    return formatKiB(static_cast<double>(kib));
}

std::string byteSizeText(uint64_t bytes) {
    constexpr uint64_t kMiB = 1024ull * 1024ull;
    constexpr uint64_t kGiB = 1024ull * kMiB;
    char text[32];
    if (bytes >= kGiB) {
        std::snprintf(text, sizeof text, "%.1f GB", static_cast<double>(bytes) / kGiB);
    } else if (bytes >= kMiB) {
        std::snprintf(text, sizeof text, "%llu MB", static_cast<unsigned long long>(bytes / kMiB));
    } else {
        std::snprintf(text, sizeof text, "%llu KB", static_cast<unsigned long long>(bytes / 1024));
    }
    return text;
}

std::string rateText(double mibPerMinute) {
    char text[48];
    std::snprintf(text, sizeof text, "%+.1f MB/min", mibPerMinute);
    return text;
}

} // namespace velmora
