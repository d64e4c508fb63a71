// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/CardTexts.h"

#include "base/SizeText.h"
#include "base/Translate.h"
#include "state/IncidentTexts.h"
#include "state/LocalFigures.h"
#include "state/SystemStateTexts.h"

#include <algorithm>
#include <array>
#include <ctime>

namespace velmora {
namespace {

// "3 processes"; one has a text of its own, so English reads right without a catalogue.
std::string processCountText(int64_t count) {
    if (count == 1) {
        //: How many processes an app runs, as in "1 process in the app scope …".
        return translate("CardTexts", "1 process");
    }
    //: How many processes an app runs, as in "3 processes in the app scope …".
    return translate("CardTexts", "%n processes", nullptr, pluralCount(count));
}

// "12 families", "1 family", as processCountText counts processes.
std::string familyCountText(int64_t count) {
    if (count == 1) {
        //: Apps (groups of processes), as counted in "Watching 48 processes in 1 family".
        return translate("CardTexts", "1 family");
    }
    //: Apps (groups of processes), as counted in "Watching 48 processes in 12 families".
    return translate("CardTexts", "%n families", nullptr, pluralCount(count));
}

//: Short month names, in the moment evidence was captured on another day ("5 Dec 14:05").
constexpr std::array kMonths{
    VELMORA_TRANSLATE_NOOP("CardTexts", "Jan"), VELMORA_TRANSLATE_NOOP("CardTexts", "Feb"),
    VELMORA_TRANSLATE_NOOP("CardTexts", "Mar"), VELMORA_TRANSLATE_NOOP("CardTexts", "Apr"),
    VELMORA_TRANSLATE_NOOP("CardTexts", "May"), VELMORA_TRANSLATE_NOOP("CardTexts", "Jun"),
    VELMORA_TRANSLATE_NOOP("CardTexts", "Jul"), VELMORA_TRANSLATE_NOOP("CardTexts", "Aug"),
    VELMORA_TRANSLATE_NOOP("CardTexts", "Sep"), VELMORA_TRANSLATE_NOOP("CardTexts", "Oct"),
    VELMORA_TRANSLATE_NOOP("CardTexts", "Nov"), VELMORA_TRANSLATE_NOOP("CardTexts", "Dec"),
};

// The time of day when it was today ("14:05"), else with the date ("5 Dec 14:05").
std::string momentText(double unixSeconds, bool today) {
    auto t = static_cast<std::time_t>(unixSeconds);
    std::tm local{};
    localtime_r(&t, &local);
    char clock[16];
    std::strftime(clock, sizeof clock, "%H:%M", &local);
    if (today) {
        return clock;
    }
    //: A moment on another day: %1 the day of the month, %2 the month's short name, %3 the
    //: time of day, as in "5 Dec 14:05".
    return withArguments(
        translate("CardTexts", "%1 %2 %3"),
        {std::to_string(local.tm_mday),
         translate("CardTexts", kMonths.at(static_cast<std::size_t>(local.tm_mon))), clock});
}

std::string percentText(int64_t value) {
    return std::to_string(value);
}

} // namespace

std::string calmHeadlineText() {
    //: The incident card's headline when nothing grows.
    return translate("CardTexts", "No active memory incident");
}

std::vector<std::string> calmWhyTexts() {
    return {
        //: Why the card is calm.
        translate("CardTexts", "No ranked process family is showing sustained leak-like growth."),
        translate("CardTexts",
                  "Local monitoring stays passive until you explicitly capture evidence or act."),
    };
}

std::optional<std::string> attributionText(const CardCoded<AttributionCode>& attribution) {
    if (!attribution.code.known) {
        return std::nullopt;
    }
    const CardFigures& f = attribution.figures;
    switch (*attribution.code.known) {
    case AttributionCode::waiting:
        //: The calm card before the first look at the processes.
        return translate("CardTexts", "Waiting for the next local sampling pass");
    case AttributionCode::watching:
        if (!f.count || !f.familyCount) {
            return std::nullopt;
        }
        //: The calm card: %1 is "48 processes", %2 is "12 families".
        return withArguments(translate("CardTexts", "Watching %1 in %2"),
                             {processCountText(*f.count), familyCountText(*f.familyCount)});
    case AttributionCode::processes:
        return f.count ? std::optional(processCountText(*f.count)) : std::nullopt;
    case AttributionCode::appScope:
        if (!f.count || !f.name) {
            return std::nullopt;
        }
        //: %1 is "3 processes", %2 the app's scope as the desktop names it.
        return withArguments(translate("CardTexts", "%1 in the app scope %2"),
                             {processCountText(*f.count), *f.name});
    case AttributionCode::workspace:
        if (!f.count || !f.name) {
            return std::nullopt;
        }
        //: %1 is "3 processes", %2 the folder they work in.
        return withArguments(translate("CardTexts", "%1 working in %2"),
                             {processCountText(*f.count), *f.name});
    case AttributionCode::underPid:
        if (!f.count || !f.pid) {
            return std::nullopt;
        }
        //: %1 is "3 processes", %2 the process ID of the first of them.
        return withArguments(translate("CardTexts", "%1 under PID %2"),
                             {processCountText(*f.count), std::to_string(*f.pid)});
    }
    return std::nullopt;
}

std::optional<std::string> evidenceText(const CardCoded<EvidenceCode>& evidence) {
    if (!evidence.code.known) {
        return std::nullopt;
    }
    const CardFigures& f = evidence.figures;
    switch (*evidence.code.known) {
    case EvidenceCode::notNeeded:
        //: The calm card's evidence line.
        return translate("CardTexts", "No stronger evidence needed right now");
    case EvidenceCode::notYet:
        return translate("CardTexts", "No evidence captured yet");
    case EvidenceCode::captured:
        if (!f.capturedAt) {
            return std::nullopt;
        }
        //: %1 is a time of day ("14:05") or a day and time ("5 Dec 14:05").
        return withArguments(translate("CardTexts", "Evidence captured %1"),
                             {momentText(*f.capturedAt, f.today.value_or(false))});
    }
    return std::nullopt;
}

std::optional<std::string> cardConfidenceText(const CardCoded<CardConfidenceCode>& confidence) {
    if (!confidence.code.known) {
        return std::nullopt;
    }
    switch (*confidence.code.known) {
    case CardConfidenceCode::passive:
        //: How sure the calm card is: Velmora only watches.
        return translate("CardTexts", "Local passive monitor");
    case CardConfidenceCode::scored: {
        const auto score = confidence.figures.score;
        if (!score) {
            return std::nullopt;
        }
        const std::string n = std::to_string(*score);
        //: How sure Velmora is of a suspect, from its score (0 to 100).
        return withArguments(*score >= 85
                                 ? translate("CardTexts", "Very high confidence · score %1")
                             : *score >= 65 ? translate("CardTexts", "High confidence · score %1")
                             : *score >= 50 ? translate("CardTexts", "Medium confidence · score %1")
                                            : translate("CardTexts", "Low confidence · score %1"),
                             {n});
    }
    }
    return std::nullopt;
}

std::optional<IncidentConfidenceStep> ladderStep(const CardCoded<LadderStepCode>& step,
                                                 IncidentConfidenceTone tone) {
    if (!step.code.known) {
        return std::nullopt;
    }
    const CardFigures& f = step.figures;
    switch (*step.code.known) {
    case LadderStepCode::growth:
        //: A rung of the confidence ladder: how fast memory grows.
        return IncidentConfidenceStep{translate("CardTexts", "Growth"),
                                      f.rateKiBPerSecond ? localRate(*f.rateKiBPerSecond)
                                                         //: No growth rate measured yet.
                                                         : translate("CardTexts", "N/A"),
                                      tone};
    case LadderStepCode::steadiness:
        if (!f.fraction) {
            return std::nullopt;
        }
        //: A rung of the confidence ladder: the share of steps on which memory rose.
        return IncidentConfidenceStep{
            translate("CardTexts", "Steadiness"),
            //: %1 is a share, as in "83%".
            withArguments(translate("CardTexts", "%1 rising"), {localPercent(*f.fraction)}), tone};
    case LadderStepCode::trend:
        if (!f.trend) {
            return std::nullopt;
        }
        //: A rung of the confidence ladder: how strong the upward trend is.
        return IncidentConfidenceStep{
            translate("CardTexts", "Trend"),
            //: A trend strength out of 100, as in "71/100".
            withArguments(translate("CardTexts", "%1/100"), {percentText(*f.trend)}), tone};
    case LadderStepCode::evidence:
        //: A rung of the confidence ladder, once evidence was captured.
        return IncidentConfidenceStep{translate("CardTexts", "Evidence"),
                                      translate("CardTexts", "Captured"), tone};
    }
    return std::nullopt;
}

std::optional<DiagnosticMetric> cardMetric(const CardCoded<CardMetricCode>& metric) {
    if (!metric.code.known) {
        return std::nullopt;
    }
    const CardFigures& f = metric.figures;
    switch (*metric.code.known) {
    case CardMetricCode::footprint:
        if (!f.footprintKiB) {
            return std::nullopt;
        }
        //: The card's figures: the memory the app holds.
        return DiagnosticMetric{translate("CardTexts", "Footprint"), localSize(*f.footprintKiB)};
    case CardMetricCode::growth:
        //: The card's figures: how fast memory grows.
        return DiagnosticMetric{translate("CardTexts", "Growth"),
                                f.rateKiBPerSecond ? localRate(*f.rateKiBPerSecond)
                                                   : translate("CardTexts", "N/A")};
    case CardMetricCode::typical:
        if (!f.typicalKiB) {
            return std::nullopt;
        }
        //: The card's figures: the app's usual size.
        return DiagnosticMetric{translate("CardTexts", "Typical"), localSize(*f.typicalKiB)};
    case CardMetricCode::score:
        if (!f.score) {
            return std::nullopt;
        }
        //: The card's figures: the suspicion score; %1 is 0 to 100, as in "72 / 100".
        return DiagnosticMetric{
            translate("CardTexts", "Score"),
            withArguments(translate("CardTexts", "%1 / 100"), {std::to_string(*f.score)})};
    case CardMetricCode::headroom: {
        //: The calm card's figures: how much memory the machine has left.
        const std::string label = translate("CardTexts", "Headroom");
        if (!f.availableKiB && !f.totalKiB) {
            //: The machine's memory totals could not be read.
            return DiagnosticMetric{label, translate("CardTexts", "Headroom unavailable")};
        }
        SystemStateCodes totals;
        totals.availableKiB = f.availableKiB;
        totals.totalKiB = f.totalKiB;
        auto value = headroomText(totals);
        return value ? std::optional(DiagnosticMetric{label, *value}) : std::nullopt;
    }
    case CardMetricCode::unavailable: {
        //: The card's figures before the first look at the machine.
        std::string value = translate("CardTexts", "Memory totals unavailable");
        return DiagnosticMetric{translate("IncidentSnapshot", "Metrics"), std::move(value)};
    }
    }
    return std::nullopt;
}

std::optional<std::string> largestProcessText(const CardFigures& largest) {
    if (!largest.pid || !largest.footprintKiB) {
        return std::nullopt;
    }
    //: The family's largest process: %1 its process ID, %2 its size, as in "PID 4242 · 1.9 GB".
    return withArguments(translate("CardTexts", "PID %1 · %2"),
                         {std::to_string(*largest.pid), localSize(*largest.footprintKiB)});
}

std::optional<std::string> samplingText(const CardFigures& sampling) {
    if (!sampling.name || !sampling.seconds) {
        return std::nullopt;
    }
    //: %1 is the folder the kernel describes processes in ("/proc"), %2 a span ("2 s").
    return withArguments(translate("CardTexts", "Sampled from %1 every %2"),
                         {*sampling.name, localSpan(*sampling.seconds)});
}

namespace {

template <class Code, class Compose>
void replaceWith(std::string& text, const std::optional<Code>& code, Compose compose) {
    if (code) {
        if (auto composed = compose(*code)) {
            text = std::move(*composed);
        }
    }
}

void composeSteps(IncidentSnapshot& incident, const CardCodes& codes) {
    if (codes.steps.size() != incident.confidenceSteps.size()) {
        return;
    }
    for (std::size_t i = 0; i < codes.steps.size(); ++i) {
        IncidentConfidenceStep& step = incident.confidenceSteps[i];
        if (auto composed = ladderStep(codes.steps[i], step.tone)) {
            step = std::move(*composed);
        }
    }
}

void composeMetrics(IncidentSnapshot& incident, const CardCodes& codes) {
    if (codes.metrics.size() != incident.primaryMetrics.size()) {
        return;
    }
    for (std::size_t i = 0; i < codes.metrics.size(); ++i) {
        if (auto composed = cardMetric(codes.metrics[i])) {
            incident.primaryMetrics[i] = std::move(*composed);
        }
    }
}

// The family first, with the attribution line as its detail, then its largest process.
void composeFacts(IncidentSnapshot& incident, const CardCodes& codes) {
    auto& facts = incident.attributionFacts;
    if (facts.size() != (codes.largest ? 2u : 1u) || !codes.attribution) {
        return;
    }
    if (auto line = attributionText(*codes.attribution)) {
        //: The facts behind the card's attribution: the app the processes belong to.
        facts[0].label = translate("CardTexts", "Family");
        facts[0].detail = std::move(line);
    }
    if (codes.largest) {
        if (auto detail = largestProcessText(*codes.largest)) {
            //: The facts behind the card's attribution: the app's largest process.
            facts[1].label = translate("CardTexts", "Largest");
            facts[1].detail = std::move(detail);
        }
    }
}

} // namespace

IncidentSnapshot withCardTexts(const IncidentSnapshot& incident) {
    if (!incident.cardCodes) {
        return incident;
    }
    const CardCodes& codes = *incident.cardCodes;
    IncidentSnapshot shown = incident;
    if (knownCode(codes.kind) == CardKindCode::calm) {
        shown.stageLabel = stageText(incident.stage);
        shown.headline = calmHeadlineText();
        shown.whyLines = calmWhyTexts();
    }
    replaceWith(shown.attributionLine, codes.attribution, attributionText);
    replaceWith(shown.evidenceLabel, codes.evidence, evidenceText);
    replaceWith(shown.confidenceLabel, codes.confidence, cardConfidenceText);
    composeSteps(shown, codes);
    composeMetrics(shown, codes);
    composeFacts(shown, codes);
    if (codes.sampling && incident.contextLines.size() == 1) {
        replaceWith(shown.contextLines.front(), codes.sampling, samplingText);
    }
    return shown;
}

} // namespace velmora
