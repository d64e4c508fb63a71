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

} // namespace velmora
