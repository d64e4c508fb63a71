// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/ChartScale.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

double niceStep(double rough) {
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    const double fraction = rough / power;
    const double nice = fraction <= 1 ? 1 : fraction <= 2 ? 2 : fraction <= 5 ? 5 : 10;
    return nice * power;
}

} // namespace

AxisTicks niceTicks(double low, double high, int wanted, double unit) {
    if (!std::isfinite(low) || !std::isfinite(high)) {
        low = 0;
        high = 1;
    }
    if (high < low) {
        std::swap(low, high);
    }
    unit = unit > 0 && std::isfinite(unit) ? unit : 1;
    if (high - low < unit * 1e-9) {
        const double pad = std::max(std::abs(high) * 0.05, unit);
        low -= pad;
        high += pad;
    }
    AxisTicks axis;
    axis.step = niceStep((high - low) / unit / std::max(wanted - 1, 1)) * unit;
    axis.low = std::floor(low / axis.step) * axis.step;
    axis.high = std::ceil(high / axis.step) * axis.step;
    const int count = static_cast<int>(std::lround((axis.high - axis.low) / axis.step));
    for (int i = 0; i <= count && i <= 64; ++i) {
        axis.ticks.push_back(axis.low + axis.step * i);
    }
    return axis;
}

SizeUnit sizeUnitFor(double highKiB) {
    return highKiB >= kiBPerGB ? SizeUnit::gigabytes : SizeUnit::megabytes;
}

int tickDecimals(SizeUnit unit, double stepKiB) {
    const double step = stepKiB / (unit == SizeUnit::gigabytes ? kiBPerGB : kiBPerMB);
    return step >= 1 ? 0 : step >= 0.1 ? 1 : 2;
}

double inUnit(double kib, SizeUnit unit) {
    return kib / (unit == SizeUnit::gigabytes ? kiBPerGB : kiBPerMB);
}

TimeUnit timeUnitFor(double spanSeconds) {
    if (spanSeconds <= 3 * 3600) {
        return TimeUnit::minutes;
    }
    return spanSeconds <= 3 * 86400 ? TimeUnit::hours : TimeUnit::days;
}

double secondsPer(TimeUnit unit) {
    switch (unit) {
    case TimeUnit::minutes:
        return 60;
    case TimeUnit::hours:
        return 3600;
    case TimeUnit::days:
        return 86400;
    }
    return 60;
}

std::vector<double> timeAxisTicks(double latestAgo, double oldestAgo, int wanted,
                                  std::optional<double> clockSecondsOfDay) {
    static const double steps[] = {60,    120,       300,       600,       900,   1200,
                                   1800,  3600,      7200,      10800,     21600, 43200,
                                   86400, 2 * 86400, 7 * 86400, 14 * 86400};
    if (!std::isfinite(latestAgo) || !std::isfinite(oldestAgo) || oldestAgo <= latestAgo) {
        return {0};
    }
    const double span = oldestAgo - latestAgo;
    double step = steps[std::size(steps) - 1];
    for (double candidate : steps) {
        if (span / candidate <= std::max(wanted, 1)) {
            step = candidate;
            break;
        }
    }
    // Counted from now, or from the last whole clock step before now.
    double phase = 0;
    if (clockSecondsOfDay && std::isfinite(*clockSecondsOfDay)) {
        phase = std::fmod(std::max(0.0, *clockSecondsOfDay), std::min(step, 86400.0));
    }
    std::vector<double> ticks;
    for (double tick = std::floor((oldestAgo - phase) / step) * step + phase;
         tick >= latestAgo - 1e-6; tick -= step) {
        ticks.push_back(tick);
        if (ticks.size() > 64) {
            break;
        }
    }
    return ticks;
}

double unitsAway(double agoSeconds, TimeUnit unit) {
    return std::round(std::abs(agoSeconds) / secondsPer(unit));
}

} // namespace velmora
