// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/IncidentFacts.h"

#include "base/Translate.h"
#include "model/SurfaceText.h"
#include "state/CardTexts.h"
#include "state/IncidentTexts.h"
#include "state/ReasonTexts.h"

#include <initializer_list>
#include <utility>

namespace velmora {
namespace {

// How many facts the first screen of the incident card shows.
constexpr int kPrimaryLimit = 3;

using Line = std::optional<std::string>;
using Prefixes = std::vector<std::string>;

// The lead-ins of lines sent without codes, each list tried in order.
const Prefixes kDecisionLeadIns{"Decision:"};
const Prefixes kCauseLeadIns{"Cause:", "Likely owner:"};
const Prefixes kHistoryLeadIns{"History:", "Changed:"};
const Prefixes kNextLeadIns{"Safe next move:", "Next proof step:", "Last action:"};

// One of the card's lines: composed from its code, or the monitor's line without its lead-in.
struct CardLine {
    Line composed;
    const Line& sent;
    const Prefixes& leadIns;

    bool present() const { return composed || sent; }
    Line text() const {
        if (composed) {
            return composed;
        }
        return sent ? primarySurfaceLine(*sent, leadIns) : std::nullopt;
    }
};

template <class Code, class Compose> Line composedFrom(const std::optional<Code>& code, Compose f) {
    return code ? f(*code) : std::nullopt;
}

const IncidentCodes& codesOf(const IncidentSnapshot& incident) {
    static const IncidentCodes none;
    return incident.codes ? *incident.codes : none;
}

CardLine decisionLine(const IncidentSnapshot& incident) {
    return {composedFrom(codesOf(incident).decision, decisionText), incident.decisionLine,
            kDecisionLeadIns};
}

CardLine causeLine(const IncidentSnapshot& incident) {
    return {composedFrom(codesOf(incident).cause, causeText), incident.causeLine, kCauseLeadIns};
}

CardLine ownerLine(const IncidentSnapshot& incident) {
    return {std::nullopt, incident.responsibilityLine, kCauseLeadIns};
}

CardLine historyLine(const IncidentSnapshot& incident) {
    return {composedFrom(codesOf(incident).history, historyText), incident.memoryLine,
            kHistoryLeadIns};
}

CardLine changeLine(const IncidentSnapshot& incident) {
    return {composedFrom(codesOf(incident).change, changeText), incident.changeLine,
            kHistoryLeadIns};
}

CardLine rationaleLine(const IncidentSnapshot& incident) {
    return {composedFrom(codesOf(incident).nextStep, nextStepText), incident.actionRationale,
            kNextLeadIns};
}

// The outcome in the action's own words needs no lead-in taken off.
CardLine outcomeLine(const IncidentSnapshot& incident) {
    const auto& outcome = codesOf(incident).outcome;
    return {outcome ? primarySurfaceLine(*outcome, {}) : std::nullopt, incident.outcomeLine,
            kNextLeadIns};
}

// The first present line with its label; the first label and no text when none is. The labels
// are marked for the catalogue where they are written.
LabeledText firstPresent(std::initializer_list<std::pair<const char*, CardLine>> choices) {
    for (const auto& [label, line] : choices) {
        if (line.present()) {
            return {translate("IncidentFacts", label), line.text()};
        }
    }
    return {translate("IncidentFacts", choices.begin()->first), std::nullopt};
}

//: The label of the incident card's next step.
const char* const kNext = VELMORA_TRANSLATE_NOOP("IncidentFacts", "Next");

} // namespace

std::string stageLabelText(const IncidentSnapshot& incident) {
    return incident.codes ? stageText(incident.stage) : withCardTexts(incident).stageLabel;
}

std::string headlineLine(const IncidentSnapshot& incident) {
    const auto& code = codesOf(incident).headline;
    Line composed = code ? headlineText(*code, incident.suspectTitle) : std::nullopt;
    return composed.value_or(withCardTexts(incident).headline);
}

std::string attributionLineText(const IncidentSnapshot& incident) {
    return withCardTexts(incident).attributionLine;
}

std::string evidenceLine(const IncidentSnapshot& incident) {
    return withCardTexts(incident).evidenceLabel;
}

std::vector<IncidentConfidenceStep> cardConfidenceSteps(const IncidentSnapshot& incident) {
    return primaryConfidenceSteps(withCardTexts(incident));
}

std::vector<DiagnosticMetric> cardMetrics(const IncidentSnapshot& incident) {
    return primarySurfaceMetrics(withCardTexts(incident));
}

std::optional<std::string> impactLine(const IncidentSnapshot& incident) {
    Line composed = composedFrom(codesOf(incident).impact, impactText);
    return composed ? composed : incident.impactLine;
}

std::vector<IncidentPrimarySurfaceFact> primarySurfaceFacts(const IncidentSnapshot& incident) {
    const LabeledText next =
        incident.nextAction
            ? LabeledText{translate("IncidentFacts", kNext), std::nullopt}
            : firstPresent(
                  {{kNext, rationaleLine(incident)},
                   //: The label of the last action's outcome on the incident card.
                   {VELMORA_TRANSLATE_NOOP("IncidentFacts", "Outcome"), outcomeLine(incident)}});
    const std::vector<LabeledText> pairs{
        //: The labels of the incident card's lines.
        {translate("IncidentFacts", "Decision"), decisionLine(incident).text()},
        firstPresent({{VELMORA_TRANSLATE_NOOP("IncidentFacts", "Cause"), causeLine(incident)},
                      {VELMORA_TRANSLATE_NOOP("IncidentFacts", "Owner"), ownerLine(incident)}}),
        firstPresent({{VELMORA_TRANSLATE_NOOP("IncidentFacts", "History"), historyLine(incident)},
                      {VELMORA_TRANSLATE_NOOP("IncidentFacts", "Change"), changeLine(incident)}}),
        next,
    };
    auto facts = compactedUniqueFacts(pairs, kPrimaryLimit);
    if (!facts.empty()) {
        return facts;
    }
    std::vector<LabeledText> why;
    const std::vector<std::string> whyLines = withCardTexts(incident).whyLines;
    for (const auto& line : reasonTexts(codesOf(incident).reasons, whyLines)) {
        //: The label of a reason behind the verdict, on the incident card.
        why.push_back({translate("IncidentFacts", "Why"), primarySurfaceLine(line, {})});
    }
    return compactedUniqueFacts(why, kPrimaryLimit);
}

std::optional<std::string> nextActionLine(const IncidentSnapshot& incident) {
    const CardLine rationale = rationaleLine(incident);
    return rationale.present() ? rationale.text() : outcomeLine(incident).text();
}

std::optional<std::string> actionStatusLine(const IncidentSnapshot& incident) {
    if (incident.nextAction) {
        return std::nullopt;
    }
    if (auto line = nextActionLine(incident)) {
        return line;
    }
    return incident.outcomeLine;
}

} // namespace velmora
