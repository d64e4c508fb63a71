// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/IncidentBuilder.h"

#include "monitor/common/Formatting.h"
#include "monitor/compose/ActionWording.h"
#include "monitor/compose/CardWording.h"
#include "monitor/compose/FamilyTexts.h"
#include "monitor/compose/FindingCodes.h"

#include <cmath>

namespace velmora {
namespace {

IncidentStage stageOf(const ComposeContext& context, const FamilyView& family) {
    if (context.interaction.outcomes.count(family.key) != 0) {
        return IncidentStage::actionTaken;
    }
    if (context.hasArtifact(family.key)) {
        return IncidentStage::evidenceCaptured;
    }
    switch (family.assessment.verdict) {
    case FindingVerdict::normal:
        return IncidentStage::normal;
    case FindingVerdict::watch:
        return IncidentStage::watch;
    case FindingVerdict::suspect:
        return IncidentStage::suspicious;
    case FindingVerdict::probable:
    case FindingVerdict::criticalRunaway:
        return IncidentStage::strongSignal;
    }
    return IncidentStage::watch;
}

std::string stageLabelOf(IncidentStage stage) {
    switch (stage) {
    case IncidentStage::normal:
        return "Normal";
    case IncidentStage::watch:
        return "Watch";
    case IncidentStage::suspicious:
        return "Suspicious";
    case IncidentStage::strongSignal:
        return "Strong signal";
    case IncidentStage::evidenceRunning:
        return "Capturing evidence";
    case IncidentStage::evidenceCaptured:
        return "Evidence captured";
    case IncidentStage::actionTaken:
        return "Action taken";
    }
    return "Normal";
}

} // namespace

std::vector<DiagnosticMetric> metricsOf(const FamilyView& family) {
    std::vector<DiagnosticMetric> metrics;
    for (auto& metric : wordedMetricsOf(family)) {
        metrics.push_back(std::move(metric.text));
    }
    return metrics;
}

ComposedTimeline composedTimelineOf(const ComposeContext& context, const FamilyView& family) {
    ComposedTimeline timeline;
    double age = context.view ? context.view->monotonicTime - family.firstSeen : 0;
    const auto footprint = static_cast<double>(family.footprintKiB);
    timeline.items.push_back({"Seen", "Family first sampled",
                              formatAgo(age) + " \u00B7 " + formatKiB(family.footprintKiB) + " now",
                              TimelineTone::neutral});
    timeline.codes.push_back({TimelineCode::seen, {.seconds = age, .footprintKiB = footprint}});
    const FindingVerdict verdict = family.assessment.verdict;
    if (static_cast<int>(verdict) >= static_cast<int>(FindingVerdict::watch)) {
        ComposedExplanation summary = composedExplanationOf(family);
        timeline.items.push_back(
            {"Now", verdictLabel(verdict), std::move(summary.text),
             verdict == FindingVerdict::watch ? TimelineTone::watch : TimelineTone::evidence});
        CodeFigures now{.verdict = verdict};
        if (summary.code) {
            now.parts.push_back(std::move(*summary.code));
        }
        timeline.codes.push_back({TimelineCode::now, std::move(now)});
    }
    auto events = context.interaction.events.find(family.key);
    if (events != context.interaction.events.end()) {
        for (const IncidentTimelineItem& event : events->second) {
            timeline.items.push_back(event);
            timeline.codes.push_back({TimelineCode::event, {}});
        }
    }
    return timeline;
}

std::vector<IncidentTimelineItem> timelineOf(const ComposeContext& context,
                                             const FamilyView& family) {
    return composedTimelineOf(context, family).items;
}

IncidentSnapshot buildIncident(const ComposeContext& context, const FamilyView* lead) {
    if (lead == nullptr) {
        IncidentSnapshot calm = IncidentSnapshot::fallback();
        if (context.view != nullptr) {
            setCalmFigures(calm, *context.view);
        }
        return calm;
    }
    const FamilyAssessment& a = lead->assessment;
    IncidentSnapshot incident;
    IncidentCodes codes;
    incident.key = lead->key;
    incident.stage = stageOf(context, *lead);
    incident.stageLabel = stageLabelOf(incident.stage);
    incident.suspectTitle = lead->title;
    const bool runaway = a.verdict == FindingVerdict::criticalRunaway;
    incident.headline = lead->title + (runaway ? " is running away with memory" : " keeps growing");
    codes.headline = runaway ? HeadlineCode::runningAway : HeadlineCode::keepsGrowing;
    incident.decisionLine = "Decision: " + verdictLabel(a.verdict) + " at " + rateText(a);
    codes.decision = decisionCodeOf(a);
    incident.impactLine =
        "Holds " + formatKiB(lead->footprintKiB) + " of anonymous memory and swap";
    codes.impact = CodeFigures{.footprintKiB = static_cast<double>(lead->footprintKiB)};
    if (auto exhaustion = exhaustionText(a)) {
        incident.impactLine = *incident.impactLine + "; " + *exhaustion;
        codes.impact->seconds = a.exhaustionSeconds;
    }
    incident.causeLine = a.idle ? "Cause: memory rises while the app is idle, typical of a leak"
                                : "Cause: steady growth that is not released again";
    codes.cause = a.idle ? CauseCode::idleGrowth : CauseCode::steadyGrowth;
    const bool captured = context.hasArtifact(lead->key);
    setEvidence(incident,
                captured ? std::optional(context.interaction.artifacts.at(lead->key).wallTime)
                         : std::nullopt,
                context.wallNow);
    setConfidence(incident, a, captured);
    setAttribution(incident, *lead);
    incident.timeline = timelineOf(context, *lead);
    incident.metricLine = formatKiB(lead->footprintKiB) + " \u00B7 " + rateText(a);
    incident.primaryMetrics.clear();
    for (auto& metric : wordedMetricsOf(*lead)) {
        incident.primaryMetrics.push_back(std::move(metric.text));
        incident.cardCodes->metrics.push_back(std::move(metric.code));
    }
    codes.change = changeCodeOf(a);
    incident.changeLine = "Changed: " + formatKiB(*codes.change->growthKiB) + " more over " +
                          formatSpan(*codes.change->seconds);
    std::optional<HistoryLine> stored =
        context.historyLine ? context.historyLine(lead->key) : std::nullopt;
    if (stored) {
        incident.memoryLine = stored->text();
        codes.history = stored->code();
    } else if (a.baselineKiB > 0) {
        incident.memoryLine =
            "History: typical footprint " + formatKiB(a.baselineKiB) + " this session";
        codes.history = Coded<HistoryCode>{HistoryCode::typicalThisSession,
                                           {.typicalKiB = static_cast<double>(a.baselineKiB)}};
    }
    for (ComposedReason& reason : composedReasonsOf(*lead)) {
        incident.whyLines.push_back(std::move(reason.text));
        codes.reasons.push_back(std::move(reason.code));
    }
    auto outcome = context.interaction.outcomes.find(lead->key);
    if (outcome != context.interaction.outcomes.end()) {
        incident.outcomeLine = "Last action: " + outcome->second;
        codes.outcome = outcome->second;
    }
    if (!captured) {
        incident.nextAction =
            codedAction(ActionId::captureStrongerEvidence, ActionLabel::captureEvidence,
                        ActionStyle::primary, lead->key);
        incident.actionRationale = "Next proof step: capture smaps_rollup, status and the largest "
                                   "anonymous mappings before acting";
        codes.nextStep = NextStepCode::captureEvidence;
    } else if (!lead->isProtected) {
        incident.nextAction =
            codedAction(ActionId::restart, ActionLabel::restart, ActionStyle::warning, lead->key);
        incident.actionRationale = "Safe next move: restart it gracefully to give the memory back";
        codes.nextStep = NextStepCode::restartGracefully;
    } else {
        incident.actionRationale = "Safe next move: this belongs to the desktop session; "
                                   "Velmora will not signal it";
        codes.nextStep = NextStepCode::protectedSession;
    }
    setSampling(incident, context.view->procPath, context.tuning.sampleIntervalSeconds);
    incident.codes = std::move(codes);
    return incident;
}

} // namespace velmora
