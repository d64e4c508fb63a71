// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/FindingCodes.h"

namespace velmora {

bool CodeFigures::operator==(const CodeFigures& other) const {
    return rateKiBPerSecond == other.rateKiBPerSecond && seconds == other.seconds &&
           stoppedSeconds == other.stoppedSeconds && fraction == other.fraction &&
           trend == other.trend && count == other.count && criticalCount == other.criticalCount &&
           score == other.score && pid == other.pid && name == other.name &&
           footprintKiB == other.footprintKiB && familyKiB == other.familyKiB &&
           typicalKiB == other.typicalKiB && sharedKiB == other.sharedKiB &&
           growthKiB == other.growthKiB && multiple == other.multiple && verdict == other.verdict &&
           idle == other.idle && parts == other.parts;
}

CodeFigures readFigures(const ObjectReader& in) {
    return {
        .rateKiBPerSecond = in.optional<double>("rateKiBPerSecond"),
        .seconds = in.optional<double>("seconds"),
        .stoppedSeconds = in.optional<double>("stoppedSeconds"),
        .fraction = in.optional<double>("fraction"),
        .trend = in.optional<int64_t>("trend"),
        .count = in.optional<int64_t>("count"),
        .criticalCount = in.optional<int64_t>("criticalCount"),
        .score = in.optional<int64_t>("score"),
        .pid = in.optional<int64_t>("pid"),
        .name = in.optional<std::string>("name"),
        .footprintKiB = in.optional<double>("footprintKiB"),
        .familyKiB = in.optional<double>("familyKiB"),
        .typicalKiB = in.optional<double>("typicalKiB"),
        .sharedKiB = in.optional<double>("sharedKiB"),
        .growthKiB = in.optional<double>("growthKiB"),
        .multiple = in.optional<double>("multiple"),
        .verdict = in.optional<OpenCode<FindingVerdict>>("verdict"),
        .idle = in.optional<bool>("idle"),
        .parts =
            in.defaulted<std::vector<Coded<ReasonCode>>>("parts", std::vector<Coded<ReasonCode>>{}),
    };
}

ObjectWriter& writeFigures(ObjectWriter& out, const CodeFigures& figures) {
    out.field("rateKiBPerSecond", figures.rateKiBPerSecond)
        .field("seconds", figures.seconds)
        .field("stoppedSeconds", figures.stoppedSeconds)
        .field("fraction", figures.fraction)
        .field("trend", figures.trend)
        .field("count", figures.count)
        .field("criticalCount", figures.criticalCount)
        .field("score", figures.score)
        .field("pid", figures.pid)
        .field("name", figures.name)
        .field("footprintKiB", figures.footprintKiB)
        .field("familyKiB", figures.familyKiB)
        .field("typicalKiB", figures.typicalKiB)
        .field("sharedKiB", figures.sharedKiB)
        .field("growthKiB", figures.growthKiB)
        .field("multiple", figures.multiple)
        .field("verdict", figures.verdict)
        .field("idle", figures.idle);
    if (!figures.parts.empty()) {
        out.field("parts", figures.parts);
    }
    return out;
}

IncidentCodes decodeRecord(const Json& json, std::type_identity<IncidentCodes>) {
    const ObjectReader in(json);
    return {
        .decision = in.optional<CodeFigures>("decision"),
        .cause = in.optional<OpenCode<CauseCode>>("cause"),
        .history = in.optional<Coded<HistoryCode>>("history"),
        .change = in.optional<CodeFigures>("change"),
        .nextStep = in.optional<OpenCode<NextStepCode>>("nextStep"),
        .outcome = in.optional<std::string>("outcome"),
        .reasons = in.defaulted<std::vector<Coded<ReasonCode>>>("reasons",
                                                                std::vector<Coded<ReasonCode>>{}),
        .headline = in.optional<OpenCode<HeadlineCode>>("headline"),
        .impact = in.optional<CodeFigures>("impact"),
    };
}

Json encodeRecord(const IncidentCodes& value) {
    return ObjectWriter()
        .field("decision", value.decision)
        .field("cause", value.cause)
        .field("history", value.history)
        .field("change", value.change)
        .field("nextStep", value.nextStep)
        .field("outcome", value.outcome)
        .field("reasons", value.reasons)
        .field("headline", value.headline)
        .field("impact", value.impact)
        .done();
}

FindingCodes decodeRecord(const Json& json, std::type_identity<FindingCodes>) {
    const ObjectReader in(json);
    return {
        .confidence = in.optional<OpenCode<ConfidenceLevel>>("confidence"),
        .score = in.optional<int64_t>("score"),
        .rateKiBPerSecond = in.optional<double>("rateKiBPerSecond"),
        .footprintKiB = in.optional<double>("footprintKiB"),
        .exhaustionSeconds = in.optional<double>("exhaustionSeconds"),
        .growthSeconds = in.optional<double>("growthSeconds"),
        .curvature = in.optional<OpenCode<CurvatureCode>>("curvature"),
        .explanation = in.optional<Coded<ReasonCode>>("explanation"),
        .rateMeasured = in.optional<bool>("rateMeasured"),
    };
}

Json encodeRecord(const FindingCodes& value) {
    return ObjectWriter()
        .field("confidence", value.confidence)
        .field("score", value.score)
        .field("rateKiBPerSecond", value.rateKiBPerSecond)
        .field("footprintKiB", value.footprintKiB)
        .field("exhaustionSeconds", value.exhaustionSeconds)
        .field("growthSeconds", value.growthSeconds)
        .field("curvature", value.curvature)
        .field("explanation", value.explanation)
        .field("rateMeasured", value.rateMeasured)
        .done();
}

} // namespace velmora
