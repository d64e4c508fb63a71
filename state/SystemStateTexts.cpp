// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/SystemStateTexts.h"

#include "base/Translate.h"
#include "state/LocalFigures.h"

namespace velmora {
namespace {

std::string orSent(const std::optional<std::string>& composed, const std::string& sent) {
    return composed ? *composed : sent;
}

int countOf(int64_t count) {
    return static_cast<int>(count);
}

// The forecast as short as the header's narrow line takes it.
std::string runsOutShort(double seconds) {
    if (seconds < 60) {
        //: The line under the pressure pill: memory runs out in less than a minute at this rate.
        return translate("SystemStateTexts", "Runs out in < 1 min");
    }
    //: The line under the pressure pill: when memory runs out at this rate; %1 is a duration,
    //: as in "40 min" or "1 h".
    return withArguments(translate("SystemStateTexts", "Runs out in ~%1"), {localSpan(seconds)});
}

// The pill and the headroom line say their placeholders; their own codes win where present.
bool memoryUnread(const SystemStateCodes& codes) {
    return knownCode(codes.memoryState) == MemoryStateCode::unread;
}

} // namespace

std::optional<std::string> summaryText(const SummaryCodes& summary) {
    if (!summary.code.known) {
        return std::nullopt;
    }
    const int64_t count = summary.count.value_or(0);
    switch (*summary.code.known) {
    case SummaryCode::allClear:
        //: The summary line, in capitals, when nothing grows.
        return translate("SystemStateTexts", "ALL CLEAR");
    case SummaryCode::familiesToWatch:
        // English has no catalogue: the one form stands apart from the plural.
        if (count == 1) {
            //: The summary line, in capitals, over one app that grows.
            return translate("SystemStateTexts", "1 FAMILY TO WATCH");
        }
        //: The summary line, in capitals, over the apps that grow.
        return translate("SystemStateTexts", "%n FAMILIES TO WATCH", nullptr, countOf(count));
    case SummaryCode::suspectedLeaks:
        // An older monitor sends a count of 0 under high pressure alone, which it words so.
        if (count <= 1) {
            //: The summary line, in capitals, over one app suspected of leaking memory.
            return translate("SystemStateTexts", "1 SUSPECTED LEAK");
        }
        //: The summary line, in capitals, over the apps suspected of leaking memory.
        return translate("SystemStateTexts", "%n SUSPECTED LEAKS", nullptr, countOf(count));
    case SummaryCode::criticalRunaway:
        //: The summary line, in capitals, when an app's memory grows out of control.
        return translate("SystemStateTexts", "CRITICAL RUNAWAY");
    case SummaryCode::criticalPressure:
        //: The summary line, in capitals, when the machine is about to run out of memory.
        return translate("SystemStateTexts", "CRITICAL PRESSURE");
    case SummaryCode::highPressure:
        //: The summary line, in capitals, when the machine runs short of memory but no app is
        //: suspected of leaking.
        return translate("SystemStateTexts", "HIGH PRESSURE");
    }
    return std::nullopt;
}

std::optional<std::string> pressureText(const SystemStateCodes& codes) {
    const auto pressure = knownCode(codes.pressure);
    if (!pressure) {
        //: The pressure pill (shown in capitals) before the machine's memory has been read.
        return memoryUnread(codes)
                   ? std::optional(translate("SystemStateTexts", "Memory state unavailable"))
                   : std::nullopt;
    }
    switch (*pressure) {
    case PressureCode::normal:
        //: The pressure pill (shown in capitals): how hard the machine presses on its memory.
        return translate("SystemStateTexts", "Normal pressure");
    case PressureCode::elevated:
        //: The pressure pill (shown in capitals): how hard the machine presses on its memory.
        return translate("SystemStateTexts", "Elevated pressure");
    case PressureCode::high:
        //: The pressure pill (shown in capitals): how hard the machine presses on its memory.
        return translate("SystemStateTexts", "High pressure");
    case PressureCode::critical:
        //: The pressure pill (shown in capitals): how hard the machine presses on its memory.
        return translate("SystemStateTexts", "Critical pressure");
    }
    return std::nullopt;
}

std::optional<std::string> headroomText(const SystemStateCodes& codes) {
    if (!codes.availableKiB || !codes.totalKiB) {
        //: The line under "System state" before the machine's memory has been read.
        return memoryUnread(codes)
                   ? std::optional(translate("SystemStateTexts", "Headroom unavailable"))
                   : std::nullopt;
    }
    //: The memory still available and all the machine has: "20.1 GB available of 23.4 GB".
    return withArguments(translate("SystemStateTexts", "%1 available of %2"),
                         {localSize(*codes.availableKiB), localSize(*codes.totalKiB)});
}

std::optional<std::string> scopeText(const SystemStateCodes& codes) {
    const auto scope = knownCode(codes.scope);
    if (!scope) {
        return std::nullopt;
    }
    switch (*scope) {
    case ScopeCode::scanRunning:
        //: The line under the pressure pill until the processes have been looked at once.
        return translate("SystemStateTexts", "First process scan running");
    case ScopeCode::watching:
        if (!codes.processCount || !codes.familyCount) {
            return std::nullopt;
        }
        //: What Velmora watches: %1 is "48 same-user processes", %2 is "12 families".
        return withArguments(
            translate("SystemStateTexts", "%1 in %2"),
            {//: Processes of the person's own user account, as counted in "%1 in %2".
             translate("SystemStateTexts", "%n same-user processes", nullptr,
                       countOf(*codes.processCount)),
             //: Apps (groups of processes), as counted in "%1 in %2".
             translate("SystemStateTexts", "%n families", nullptr, countOf(*codes.familyCount))});
    case ScopeCode::runsOut:
        return codes.exhaustionSeconds ? std::optional(runsOutShort(*codes.exhaustionSeconds))
                                       : std::nullopt;
    case ScopeCode::forecastUnavailable:
        //: The line under the pressure pill while the machine's memory figures cannot be read.
        return translate("SystemStateTexts", "Memory forecast unavailable");
    }
    return std::nullopt;
}

std::string summaryStripText(const PopoverSnapshot& snapshot) {
    return snapshot.summaryCode ? orSent(summaryText(*snapshot.summaryCode), snapshot.summaryText)
                                : snapshot.summaryText;
}

std::string pressurePillText(const SystemStateSnapshot& state) {
    return state.codes ? orSent(pressureText(*state.codes), state.pressureLabel)
                       : state.pressureLabel;
}

std::string headroomLineText(const SystemStateSnapshot& state) {
    return state.codes ? orSent(headroomText(*state.codes), state.headroomLabel)
                       : state.headroomLabel;
}

std::string scopeLineText(const SystemStateSnapshot& state) {
    return state.codes ? orSent(scopeText(*state.codes), state.scopeLabel) : state.scopeLabel;
}

} // namespace velmora
