// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/CardWording.h"

#include "monitor/common/Formatting.h"
#include "monitor/compose/FamilyTexts.h"

#include <cmath>

namespace velmora {
namespace {

CardCodes& cardCodesOf(IncidentSnapshot& incident) {
    if (!incident.cardCodes) {
        incident.cardCodes.emplace();
    }
    return *incident.cardCodes;
}

int64_t countOf(std::size_t count) {
    return static_cast<int64_t>(count);
}

int64_t percentOf(double fraction) {
    return std::lround(fraction * 100);
}

IncidentConfidenceTone toneOfScore(double fraction) {
    return fraction >= 0.8   ? IncidentConfidenceTone::strong
           : fraction >= 0.5 ? IncidentConfidenceTone::watch
                             : IncidentConfidenceTone::neutral;
}

Worded<std::string, CardCoded<AttributionCode>> attributionOf(const FamilyView& family) {
    const std::size_t count = family.members.size();
    CardCoded<AttributionCode> code{AttributionCode::processes, {.count = countOf(count)}};
    std::string line = formatCount(countOf(count), "process", "processes");
    if (!family.appId.empty()) {
        line += " in the app scope " + family.appId;
        code.code = AttributionCode::appScope;
        code.figures.name = family.appId;
    } else if (!family.workspace.empty()) {
        line += " working in " + family.workspace;
        code.code = AttributionCode::workspace;
        code.figures.name = family.workspace;
    } else if (!family.members.empty()) {
        const int64_t pid = family.members.front().identity.pid;
        line += " under PID " + std::to_string(pid);
        code.code = AttributionCode::underPid;
        code.figures.pid = pid;
    }
    return {std::move(line), std::move(code)};
}

} // namespace

void setCalmFigures(IncidentSnapshot& calm, const LiveView& view) {
    CardCodes& codes = cardCodesOf(calm);
    calm.attributionLine = "Watching " +
                           formatCount(countOf(view.watchedProcesses), "process", "processes") +
                           " in " + formatCount(countOf(view.familyCount), "family", "families");
    codes.attribution = {
        AttributionCode::watching,
        {.count = countOf(view.watchedProcesses), .familyCount = countOf(view.familyCount)}};
    calm.metricLine = headroomLabel(view.machine);
    calm.primaryMetrics = {{"Headroom", calm.metricLine}};
    CardCoded<CardMetricCode> headroom{CardMetricCode::headroom, {}};
    if (view.machine.valid) {
        headroom.figures.availableKiB = static_cast<double>(view.machine.memory.availableKiB);
        headroom.figures.totalKiB = static_cast<double>(view.machine.memory.totalKiB);
    }
    codes.metrics = {std::move(headroom)};
}

void setAttribution(IncidentSnapshot& incident, const FamilyView& family) {
    auto [line, code] = attributionOf(family);
    incident.attributionLine = line;
    cardCodesOf(incident).attribution = std::move(code);
    incident.attributionFacts.push_back(
        {"Family", family.title, std::move(line), IncidentConfidenceTone::neutral});
    if (!family.members.empty()) {
        const MemberView& largest = family.members.front();
        incident.attributionFacts.push_back({"Largest", largest.name,
                                             "PID " + std::to_string(largest.identity.pid) +
                                                 " \u00B7 " + formatKiB(largest.footprintKiB),
                                             IncidentConfidenceTone::neutral});
        cardCodesOf(incident).largest = CardFigures{
            .pid = largest.identity.pid, .footprintKiB = static_cast<double>(largest.footprintKiB)};
    }
}

void setEvidence(IncidentSnapshot& incident, std::optional<double> capturedAt, double wallNow) {
    CardCodes& codes = cardCodesOf(incident);
    if (!capturedAt) {
        incident.evidenceLabel = "No evidence captured yet";
        codes.evidence = {EvidenceCode::notYet, {}};
        return;
    }
    incident.evidenceLabel = "Evidence captured " + formatMoment(*capturedAt, wallNow);
    codes.evidence = {EvidenceCode::captured,
                      {.capturedAt = *capturedAt, .today = sameLocalDay(*capturedAt, wallNow)}};
}

void setConfidence(IncidentSnapshot& incident, const FamilyAssessment& a, bool captured) {
    CardCodes& codes = cardCodesOf(incident);
    incident.confidenceLabel = confidenceLabel(a);
    codes.confidence = {CardConfidenceCode::scored, {.score = a.score}};
    CardFigures growth;
    if (a.hasRate) {
        growth.rateKiBPerSecond = a.rateKiBPerSecond;
    }
    const int64_t steadiness = percentOf(a.steadiness);
    const int64_t trend = percentOf(a.tau);
    incident.confidenceSteps = {
        {"Growth", rateText(a),
         a.rateKiBPerSecond > 0 ? IncidentConfidenceTone::watch : IncidentConfidenceTone::neutral},
        {"Steadiness", std::to_string(steadiness) + "% rising", toneOfScore(a.steadiness)},
        {"Trend", std::to_string(trend) + "/100", toneOfScore(a.tau)},
    };
    codes.steps = {
        {LadderStepCode::growth, growth},
        {LadderStepCode::steadiness, {.fraction = a.steadiness}},
        {LadderStepCode::trend, {.trend = trend}},
    };
    if (captured) {
        incident.confidenceSteps.push_back(
            {"Evidence", "Captured", IncidentConfidenceTone::evidence});
        codes.steps.push_back({LadderStepCode::evidence, {}});
    }
}

void setSampling(IncidentSnapshot& incident, const std::string& procPath, double seconds) {
    incident.contextLines = {"Sampled from " + procPath + " every " + formatSpan(seconds)};
    cardCodesOf(incident).sampling = CardFigures{.name = procPath, .seconds = seconds};
}

std::vector<Worded<DiagnosticMetric, CardCoded<CardMetricCode>>>
wordedMetricsOf(const FamilyView& family) {
    const FamilyAssessment& a = family.assessment;
    const auto footprint = static_cast<double>(family.footprintKiB);
    CardFigures growth;
    if (a.hasRate) {
        growth.rateKiBPerSecond = a.rateKiBPerSecond;
    }
    std::vector<Worded<DiagnosticMetric, CardCoded<CardMetricCode>>> metrics{
        {{"Footprint", formatKiB(family.footprintKiB)},
         {CardMetricCode::footprint, {.footprintKiB = footprint}}},
        {{"Growth", rateText(a)}, {CardMetricCode::growth, growth}},
    };
    if (a.baselineKiB > 0) {
        metrics.push_back(
            {{"Typical", formatKiB(a.baselineKiB)},
             {CardMetricCode::typical, {.typicalKiB = static_cast<double>(a.baselineKiB)}}});
    }
    metrics.push_back({{"Score", std::to_string(a.score) + " / 100"},
                       {CardMetricCode::score, {.score = a.score}}});
    return metrics;
}

} // namespace velmora
