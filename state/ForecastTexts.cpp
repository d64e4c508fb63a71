// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/ForecastTexts.h"

#include "base/NumberFormat.h"
#include "base/Translate.h"
#include "state/LocalFigures.h"

#include <cmath>

namespace velmora {
namespace {

// A daemon's threshold in percent: "60%", "92.5%".
std::string thresholdPercent(double fraction) {
    const double percent = fraction * 100.0;
    const int decimals = std::abs(percent - std::round(percent)) < 0.05 ? 0 : 1;
    return withArguments(translate("velmora::LocalFigures", "%1%"),
                         {decimalText(percent, decimals)});
}

// A threshold given as a share or as a size; none when neither is sent.
std::optional<std::string> threshold(const std::optional<double>& fraction,
                                     const std::optional<double>& kib) {
    if (kib) {
        return localSize(*kib);
    }
    if (fraction) {
        return thresholdPercent(*fraction);
    }
    return std::nullopt;
}

std::optional<std::string> oomdText(const KillerCodes& k) {
    if (!k.pressureFraction || !k.seconds) {
        return std::nullopt;
    }
    const std::string pressure = thresholdPercent(*k.pressureFraction);
    const std::string span = localSpan(*k.seconds);
    if (k.swapFraction) {
        //: The out-of-memory daemon's threshold: %1 is a share of memory pressure, %2 for how
        //: long, as in "30 s", %3 a share of the swap space in use.
        return withArguments(translate("ForecastTexts", "systemd-oomd acts above %1 memory "
                                                        "pressure for %2 or %3 swap used"),
                             {pressure, span, thresholdPercent(*k.swapFraction)});
    }
    //: The out-of-memory daemon's threshold: %1 is a share of memory pressure, %2 for how long.
    return withArguments(
        translate("ForecastTexts", "systemd-oomd acts above %1 memory pressure for %2"),
        {pressure, span});
}

std::optional<std::string> earlyoomText(const KillerCodes& k) {
    const auto memory = threshold(k.memoryFraction, k.memoryKiB);
    if (!memory) {
        return std::nullopt;
    }
    if (const auto swap = threshold(k.swapFraction, k.swapKiB)) {
        //: The out-of-memory daemon's threshold: %1 and %2 are a share ("10%") or a size.
        return withArguments(translate("ForecastTexts", "earlyoom ends the largest process below "
                                                        "%1 available memory and %2 free swap"),
                             {*memory, *swap});
    }
    //: The out-of-memory daemon's threshold: %1 is a share ("10%") or a size.
    return withArguments(
        translate("ForecastTexts", "earlyoom ends the largest process below %1 available memory"),
        {*memory});
}

} // namespace

std::optional<std::string> firstVictimText(const Coded<VictimCode>& victim) {
    const CodeFigures& f = victim.figures;
    if (victim.code.known == VictimCode::ourApp && f.name && f.footprintKiB) {
        //: %1 is an application's name, %2 its memory, as in "3.2 GB".
        return withArguments(translate("ForecastTexts", "First to be ended if memory runs out: "
                                                        "%1, %2"),
                             {*f.name, localSize(*f.footprintKiB)});
    }
    if (victim.code.known == VictimCode::anotherUser && (f.name || f.pid)) {
        const std::string who =
            f.name ? *f.name
                   //: A process known only by its number.
                   : withArguments(translate("ForecastTexts", "PID %1"), {std::to_string(*f.pid)});
        //: %1 is a process's name, or "PID 4242".
        return withArguments(translate("ForecastTexts", "First to be ended if memory runs out: "
                                                        "%1, another user's process"),
                             {who});
    }
    return std::nullopt;
}

std::optional<std::string> firstVictimLine(const MemoryForecastSnapshot& forecast) {
    if (forecast.firstVictim) {
        if (auto text = firstVictimText(*forecast.firstVictim)) {
            return text;
        }
    }
    return forecast.firstVictimText;
}

std::string runsOutText(double seconds) {
    //: %1 is an estimate, as in "about 40 min".
    return withArguments(translate("ForecastTexts", "Memory runs out in %1 at this rate"),
                         {localEstimate(seconds)});
}

std::string runsOutPhrase(double seconds) {
    //: Within a sentence, after other figures; %1 is an estimate, as in "about 40 min".
    return withArguments(translate("ForecastTexts", "memory runs out in %1 at this rate"),
                         {localEstimate(seconds)});
}

std::optional<std::string> exhaustionLine(const MemoryForecastSnapshot& forecast) {
    if (forecast.exhaustionSeconds && forecast.exhaustionText) {
        return runsOutText(static_cast<double>(*forecast.exhaustionSeconds));
    }
    return forecast.exhaustionText;
}

std::optional<std::string> killerText(const KillerCodes& killer) {
    if (!killer.code.known) {
        return std::nullopt;
    }
    switch (*killer.code.known) {
    case KillerCode::systemdOomd:
        return oomdText(killer);
    case KillerCode::earlyoom:
        return earlyoomText(killer);
    }
    return std::nullopt;
}

std::optional<std::string> killerLine(const MemoryForecastSnapshot& forecast) {
    if (forecast.killer && forecast.killerText) {
        if (auto text = killerText(*forecast.killer)) {
            return text;
        }
    }
    return forecast.killerText;
}

} // namespace velmora
