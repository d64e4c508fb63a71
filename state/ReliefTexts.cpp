// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/ReliefTexts.h"

#include "base/Translate.h"
#include "state/ForecastTexts.h"
#include "state/LocalFigures.h"
#include "state/ReasonTexts.h"
#include "state/SystemStateTexts.h"

namespace velmora {
namespace {

// One sentence of the summary, with the language's full stop.
std::string sentence(const std::string& words) {
    //: One sentence of the relief plan's summary: %1 is its words, followed by the full stop.
    return withArguments(translate("ReliefTexts", "%1."), {words});
}

// Two sentences of the summary, one after the other.
std::string followedBy(const std::string& first, const std::string& next) {
    //: Two sentences of the relief plan's summary, one after the other.
    return withArguments(translate("ReliefTexts", "%1 %2"), {first, next});
}

std::optional<std::string> adviceText(const std::optional<OpenCode<ReliefAdviceCode>>& advice) {
    const auto known = knownCode(advice);
    if (!known) {
        return std::nullopt;
    }
    switch (*known) {
    case ReliefAdviceCode::quitRecommended:
        //: The relief plan's advice when it names apps to quit.
        return translate("ReliefTexts",
                         "Quitting the recommended apps gracefully gives their memory back.");
    case ReliefAdviceCode::nothingToQuit:
        //: The relief plan's advice when none of the person's apps is large enough to help.
        return translate("ReliefTexts",
                         "No app of yours holds enough memory to make a difference.");
    }
    return std::nullopt;
}

std::string machineKillsText(int64_t kills) {
    // English has no catalogue: the one form stands apart from the plural.
    if (kills == 1) {
        //: Kills by the kernel's out-of-memory killer, of any user's processes.
        return translate("ReliefTexts", "1 out-of-memory kill on this machine since boot");
    }
    //: Kills by the kernel's out-of-memory killer, of any user's processes.
    return translate("ReliefTexts", "%n out-of-memory kills on this machine since boot", nullptr,
                     pluralCount(kills));
}

// The sentences after the advice, each composed or none at all.
std::optional<std::string> withAftermath(std::string summary, const ReliefCodes& codes) {
    if (codes.firstVictim) {
        auto victim = firstVictimText(*codes.firstVictim);
        if (!victim) {
            return std::nullopt;
        }
        summary = followedBy(summary, sentence(*victim));
    }
    if (codes.killer) {
        auto killer = killerText(*codes.killer);
        if (!killer) {
            return std::nullopt;
        }
        summary = followedBy(summary, sentence(*killer));
    }
    if (codes.machineKills) {
        summary = followedBy(summary, sentence(machineKillsText(*codes.machineKills)));
    }
    return summary;
}

std::optional<std::string> suspectText(const ReliefCandidateCodes& codes) {
    const auto verdict = knownCode(codes.verdict);
    if (!verdict) {
        return std::nullopt;
    }
    const std::string rate = codes.rateKiBPerSecond ? localRate(*codes.rateKiBPerSecond)
                                                    //: No growth rate measured yet.
                                                    : translate("ReliefTexts", "N/A");
    //: A relief candidate that leaks: %1 is its verdict ("Probable leak"), %2 how fast it grows
    //: ("+8.2 MB/min").
    return withArguments(translate("ReliefTexts", "%1 at %2"), {verdictText(*verdict), rate});
}

template <class Codes, class Compose>
void replaceWith(std::string& text, const Codes& codes, Compose compose) {
    if (auto composed = compose(codes)) {
        text = std::move(*composed);
    }
}

} // namespace

std::optional<std::string> reliefHeadlineText(const ReliefCodes& codes) {
    const auto headline = knownCode(codes.headline);
    if (!headline) {
        return std::nullopt;
    }
    switch (*headline) {
    case ReliefHeadlineCode::runsOut:
        if (!codes.exhaustionSeconds) {
            return std::nullopt;
        }
        if (*codes.exhaustionSeconds < 60) {
            //: The relief plan's headline when memory runs out within the minute.
            return translate("ReliefTexts", "Memory runs out in under a minute");
        }
        //: The relief plan's headline: %1 is a span, as in "40 min".
        return withArguments(translate("ReliefTexts", "Memory runs out in ~%1"),
                             {localSpan(*codes.exhaustionSeconds)});
    case ReliefHeadlineCode::gettingTight:
        //: The relief plan's headline while it only advises.
        return translate("ReliefTexts", "Memory is getting tight");
    case ReliefHeadlineCode::freeNow:
        //: The relief plan's headline under high or critical memory pressure.
        return translate("ReliefTexts", "Free memory now");
    }
    return std::nullopt;
}

std::optional<std::string> reliefSummaryText(const ReliefCodes& codes) {
    auto advice = adviceText(codes.advice);
    if (!advice) {
        return std::nullopt;
    }
    if (codes.exhaustionSeconds) {
        advice = followedBy(sentence(runsOutText(*codes.exhaustionSeconds)), *advice);
    }
    return withAftermath(std::move(*advice), codes);
}

std::optional<std::string> reliefPressureText(const ReliefCodes& codes) {
    SystemStateCodes pressure;
    pressure.pressure = codes.pressure;
    return pressureText(pressure);
}

std::optional<std::string> reliefTargetText(const ReliefCodes& codes) {
    if (!codes.targetFraction) {
        return std::nullopt;
    }
    const std::string percent = localPercent(*codes.targetFraction);
    const auto target = knownCode(codes.target);
    if (!target) {
        return std::nullopt;
    }
    switch (*target) {
    case ReliefTargetCode::freeToTarget:
        if (!codes.freeKiB) {
            return std::nullopt;
        }
        //: How much memory the relief plan aims to free: %1 is a size ("1.5 GB"), %2 the share
        //: of memory it wants available again ("20%").
        return withArguments(translate("ReliefTexts", "Free %1 to get back to %2 headroom"),
                             {localSize(*codes.freeKiB), percent});
    case ReliefTargetCode::backAboveTarget:
        //: The relief plan's aim is met: %1 is the share of memory available again ("20%").
        return withArguments(translate("ReliefTexts", "Headroom is back above %1"), {percent});
    }
    return std::nullopt;
}

std::optional<std::string> reliefReclaimText(const ReliefCodes& codes) {
    if (!codes.reclaimKiB) {
        return std::nullopt;
    }
    //: What quitting the recommended apps gives back: %1 is a size ("2.6 GB").
    return withArguments(translate("ReliefTexts", "About %1 back"), {localSize(*codes.reclaimKiB)});
}

std::optional<std::string> candidateFootprintText(const ReliefCandidateCodes& codes) {
    return codes.footprintKiB ? std::optional(localSize(*codes.footprintKiB)) : std::nullopt;
}

std::optional<std::string> candidateDetailText(const ReliefCandidateCodes& codes) {
    std::optional<std::string> why;
    const auto reason = knownCode(codes.reason);
    if (!reason) {
        return std::nullopt;
    }
    switch (*reason) {
    case ReliefCandidateCode::suspect:
        why = suspectText(codes);
        break;
    case ReliefCandidateCode::largest:
        //: A relief candidate that does not leak but holds the most memory.
        why = translate("ReliefTexts", "Largest footprint, not growing");
        break;
    }
    if (why && codes.endedFirst.value_or(false)) {
        //: A relief candidate the kernel would end first: %1 is why it is on the plan.
        return withArguments(translate("ReliefTexts", "%1 · first to be ended if memory runs out"),
                             {*why});
    }
    return why;
}

ReliefPlanSnapshot withReliefTexts(const ReliefPlanSnapshot& plan) {
    ReliefPlanSnapshot shown = plan;
    if (plan.codes) {
        const ReliefCodes& codes = *plan.codes;
        replaceWith(shown.headline, codes, reliefHeadlineText);
        replaceWith(shown.summary, codes, reliefSummaryText);
        replaceWith(shown.pressureLabel, codes, reliefPressureText);
        replaceWith(shown.targetFreeLabel, codes, reliefTargetText);
        replaceWith(shown.projectedReclaimLabel, codes, reliefReclaimText);
    }
    for (ReliefCandidateSnapshot& candidate : shown.candidates) {
        if (candidate.codes) {
            replaceWith(candidate.footprintLabel, *candidate.codes, candidateFootprintText);
            replaceWith(candidate.detail, *candidate.codes, candidateDetailText);
        }
    }
    return shown;
}

} // namespace velmora
