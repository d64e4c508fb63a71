// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/ForecastTexts.h"

#include "base/Translate.h"
#include "state/LocalFigures.h"

namespace velmora {

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

} // namespace velmora
