// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ClockText.h"

#include <ctime>

namespace velmora {

std::string clockText(double unixSeconds) {
    auto t = static_cast<std::time_t>(unixSeconds);
    std::tm local{};
    localtime_r(&t, &local);
    char buf[16];
    std::strftime(buf, sizeof buf, "%H:%M", &local);
    return buf;
}

} // namespace velmora
