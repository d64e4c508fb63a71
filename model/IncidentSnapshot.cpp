// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/IncidentSnapshot.h"

#include "base/Translate.h"
#include "model/Codec.h"
#include "model/SurfaceText.h"

#include <algorithm>

namespace velmora {

IncidentConfidenceStep decodeRecord(const Json& json, std::type_identity<IncidentConfidenceStep>) {
    const ObjectReader in(json);
    return {
        .label = in.required<std::string>("label"),
        .value = in.required<std::string>("value"),
        .tone = in.required<IncidentConfidenceTone>("tone"),
    };
}

Json encodeRecord(const IncidentConfidenceStep& value) {
    return ObjectWriter()
        .field("label", value.label)
        .field("value", value.value)
        .field("tone", value.tone)
        .done();
}

IncidentAttributionFact decodeRecord(const Json& json,
                                     std::type_identity<IncidentAttributionFact>) {
    const ObjectReader in(json);
    return {
        .label = in.required<std::string>("label"),
        .value = in.required<std::string>("value"),
        .detail = in.optional<std::string>("detail"),
        .tone = in.required<IncidentConfidenceTone>("tone"),
    };
}

Json encodeRecord(const IncidentAttributionFact& value) {
    return ObjectWriter()
        .field("label", value.label)
        .field("value", value.value)
        .field("detail", value.detail)
        .field("tone", value.tone)
        .done();
}

IncidentTimelineItem decodeRecord(const Json& json, std::type_identity<IncidentTimelineItem>) {
    const ObjectReader in(json);
    return {
        .label = in.required<std::string>("label"),
        .title = in.required<std::string>("title"),
        .detail = in.required<std::string>("detail"),
        .tone = in.required<TimelineTone>("tone"),
        .codes = in.optional<TimelineEventCodes>("codes"),
    };
}

Json encodeRecord(const IncidentTimelineItem& value) {
    return ObjectWriter()
        .field("label", value.label)
        .field("title", value.title)
        .field("detail", value.detail)
        .field("tone", value.tone)
        .field("codes", value.codes)
        .done();
}

DiagnosticMetric decodeRecord(const Json& json, std::type_identity<DiagnosticMetric>) {
    const ObjectReader in(json);
    return {.label = in.required<std::string>("label"), .value = in.required<std::string>("value")};
}

Json encodeRecord(const DiagnosticMetric& value) {
    return ObjectWriter().field("label", value.label).field("value", value.value).done();
}

IncidentSnapshot decodeRecord(const Json& json, std::type_identity<IncidentSnapshot>) {
    static const IncidentSnapshot defaults;
    const ObjectReader in(json);
    IncidentSnapshot out{
        .key = in.optional<std::string>("key"),
        .stage = in.defaulted<IncidentStage>("stage", defaults.stage),
        .stageLabel = in.defaulted<std::string>("stageLabel", defaults.stageLabel),
        .headline = in.defaulted<std::string>("headline", defaults.headline),
        .suspectTitle = in.defaulted<std::string>("suspectTitle", defaults.suspectTitle),
        .attributionLine = in.defaulted<std::string>("attributionLine", defaults.attributionLine),
        .decisionLine = in.optional<std::string>("decisionLine"),
        .impactLine = in.optional<std::string>("impactLine"),
        .responseLine = in.optional<std::string>("responseLine"),
        .causeLine = in.optional<std::string>("causeLine"),
        .responsibilityLine = in.optional<std::string>("responsibilityLine"),
        .confidenceLabel = in.defaulted<std::string>("confidenceLabel", defaults.confidenceLabel),
        .evidenceLabel = in.defaulted<std::string>("evidenceLabel", defaults.evidenceLabel),
        .confidenceSteps = in.defaulted<std::vector<IncidentConfidenceStep>>(
            "confidenceSteps", defaults.confidenceSteps),
        .attributionFacts = in.defaulted<std::vector<IncidentAttributionFact>>(
            "attributionFacts", defaults.attributionFacts),
        .timeline = in.defaulted<std::vector<IncidentTimelineItem>>("timeline", defaults.timeline),
        .metricLine = in.defaulted<std::string>("metricLine", defaults.metricLine),
        .primaryMetrics = {},
        .changeLine = in.optional<std::string>("changeLine"),
        .memoryLine = in.optional<std::string>("memoryLine"),
        .contextLines =
            in.defaulted<std::vector<std::string>>("contextLines", defaults.contextLines),
        .whyLines = in.defaulted<std::vector<std::string>>("whyLines", defaults.whyLines),
        .nextAction = in.optional<ActionDescriptor>("nextAction"),
        .actionRationale = in.optional<std::string>("actionRationale"),
        .outcomeLine = in.optional<std::string>("outcomeLine"),
        .codes = in.optional<IncidentCodes>("codes"),
        .cardCodes = in.optional<CardCodes>("cardCodes"),
    };
    // The default metric carries this record's own metric line.
    out.primaryMetrics = in.defaulted<std::vector<DiagnosticMetric>>("primaryMetrics", [&] {
        return std::vector<DiagnosticMetric>{{"Metrics", out.metricLine}};
    });
    return out;
}

Json encodeRecord(const IncidentSnapshot& value) {
    return ObjectWriter()
        .field("key", value.key)
        .field("stage", value.stage)
        .field("stageLabel", value.stageLabel)
        .field("headline", value.headline)
        .field("suspectTitle", value.suspectTitle)
        .field("attributionLine", value.attributionLine)
        .field("decisionLine", value.decisionLine)
        .field("impactLine", value.impactLine)
        .field("responseLine", value.responseLine)
        .field("causeLine", value.causeLine)
        .field("responsibilityLine", value.responsibilityLine)
        .field("confidenceLabel", value.confidenceLabel)
        .field("evidenceLabel", value.evidenceLabel)
        .field("confidenceSteps", value.confidenceSteps)
        .field("attributionFacts", value.attributionFacts)
        .field("timeline", value.timeline)
        .field("metricLine", value.metricLine)
        .field("primaryMetrics", value.primaryMetrics)
        .field("changeLine", value.changeLine)
        .field("memoryLine", value.memoryLine)
        .field("contextLines", value.contextLines)
        .field("whyLines", value.whyLines)
        .field("nextAction", value.nextAction)
        .field("actionRationale", value.actionRationale)
        .field("outcomeLine", value.outcomeLine)
        .field("codes", value.codes)
        .field("cardCodes", value.cardCodes)
        .done();
}

IncidentSnapshot IncidentSnapshot::fallback() {
    IncidentSnapshot incident;
    incident.whyLines = {
        "No ranked process family is showing sustained leak-like growth.",
        "Local monitoring stays passive until you explicitly capture evidence or act.",
    };
    incident.cardCodes = calmCardCodes();
    return incident;
}

namespace {

// How many steps and metrics the first screen of the incident card shows.
constexpr int kPrimaryLimit = 3;

bool isFull(const auto& list) {
    return list.size() >= static_cast<std::size_t>(kPrimaryLimit);
}

bool hasText(std::string_view text) {
    return !trimmedWhitespace(text).empty();
}

} // namespace

std::vector<IncidentConfidenceStep> primaryConfidenceSteps(const IncidentSnapshot& incident) {
    std::vector<IncidentConfidenceStep> steps;
    for (const auto& step : incident.confidenceSteps) {
        if (isFull(steps)) {
            break;
        }
        if (hasText(step.label) && hasText(step.value)) {
            steps.push_back(step);
        }
    }
    return steps;
}

std::vector<DiagnosticMetric> primarySurfaceMetrics(const IncidentSnapshot& incident) {
    //: The label of the incident's figures when the monitor sends them as one line.
    const std::vector<DiagnosticMetric> metricLineOnly{
        {translate("IncidentSnapshot", "Metrics"), incident.metricLine}};
    const auto& source = incident.primaryMetrics.empty() ? metricLineOnly : incident.primaryMetrics;
    std::vector<DiagnosticMetric> result;
    if (primaryConfidenceSteps(incident).empty()) {
        //: The label of how sure Velmora is about the suspect.
        result.push_back({translate("IncidentSnapshot", "Confidence"), incident.confidenceLabel});
    }
    for (const auto& metric : source) {
        if (isFull(result)) {
            break;
        }
        if (!hasText(metric.value)) {
            continue;
        }
        const bool labelTaken =
            std::any_of(result.begin(), result.end(),
                        [&](const DiagnosticMetric& m) { return m.label == metric.label; });
        if (!labelTaken) {
            result.push_back(metric);
        }
    }
    return result;
}

std::string identity(const IncidentConfidenceStep& step) {
    return step.label + "|" + step.value + "|" + std::string(toWire(step.tone));
}

std::string identity(const IncidentAttributionFact& fact) {
    return fact.label + "|" + fact.value + "|" + fact.detail.value_or("") + "|" +
           std::string(toWire(fact.tone));
}

std::string identity(const IncidentTimelineItem& item) {
    return item.label + "|" + item.title + "|" + item.detail;
}

std::string identity(const DiagnosticMetric& metric) {
    return metric.label;
}

std::string identity(const IncidentPrimarySurfaceFact& fact) {
    return fact.label + "|" + fact.text;
}

} // namespace velmora
