// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/CardCodes.h"

#include "model/Codec.h"

namespace velmora {

CardFigures readCardFigures(const ObjectReader& in) {
    return {
        .count = in.optional<int64_t>("count"),
        .familyCount = in.optional<int64_t>("familyCount"),
        .pid = in.optional<int64_t>("pid"),
        .name = in.optional<std::string>("name"),
        .score = in.optional<int64_t>("score"),
        .trend = in.optional<int64_t>("trend"),
        .rateKiBPerSecond = in.optional<double>("rateKiBPerSecond"),
        .fraction = in.optional<double>("fraction"),
        .footprintKiB = in.optional<double>("footprintKiB"),
        .typicalKiB = in.optional<double>("typicalKiB"),
        .availableKiB = in.optional<double>("availableKiB"),
        .totalKiB = in.optional<double>("totalKiB"),
        .seconds = in.optional<double>("seconds"),
        .capturedAt = in.optional<double>("capturedAt"),
        .today = in.optional<bool>("today"),
    };
}

ObjectWriter& writeCardFigures(ObjectWriter& out, const CardFigures& figures) {
    return out.field("count", figures.count)
        .field("familyCount", figures.familyCount)
        .field("pid", figures.pid)
        .field("name", figures.name)
        .field("score", figures.score)
        .field("trend", figures.trend)
        .field("rateKiBPerSecond", figures.rateKiBPerSecond)
        .field("fraction", figures.fraction)
        .field("footprintKiB", figures.footprintKiB)
        .field("typicalKiB", figures.typicalKiB)
        .field("availableKiB", figures.availableKiB)
        .field("totalKiB", figures.totalKiB)
        .field("seconds", figures.seconds)
        .field("capturedAt", figures.capturedAt)
        .field("today", figures.today);
}

CardCodes decodeRecord(const Json& json, std::type_identity<CardCodes>) {
    const ObjectReader in(json);
    return {
        .kind = in.optional<OpenCode<CardKindCode>>("kind"),
        .attribution = in.optional<CardCoded<AttributionCode>>("attribution"),
        .evidence = in.optional<CardCoded<EvidenceCode>>("evidence"),
        .confidence = in.optional<CardCoded<CardConfidenceCode>>("confidence"),
        .steps = in.defaulted<std::vector<CardCoded<LadderStepCode>>>(
            "steps", std::vector<CardCoded<LadderStepCode>>{}),
        .metrics = in.defaulted<std::vector<CardCoded<CardMetricCode>>>(
            "metrics", std::vector<CardCoded<CardMetricCode>>{}),
        .largest = in.optional<CardFigures>("largest"),
        .sampling = in.optional<CardFigures>("sampling"),
    };
}

Json encodeRecord(const CardCodes& value) {
    ObjectWriter out;
    out.field("kind", value.kind)
        .field("attribution", value.attribution)
        .field("evidence", value.evidence)
        .field("confidence", value.confidence);
    if (!value.steps.empty()) {
        out.field("steps", value.steps);
    }
    if (!value.metrics.empty()) {
        out.field("metrics", value.metrics);
    }
    return out.field("largest", value.largest).field("sampling", value.sampling).done();
}

CardCodes calmCardCodes() {
    return {
        .kind = CardKindCode::calm,
        .attribution = CardCoded<AttributionCode>{AttributionCode::waiting, {}},
        .evidence = CardCoded<EvidenceCode>{EvidenceCode::notNeeded, {}},
        .confidence = CardCoded<CardConfidenceCode>{CardConfidenceCode::passive, {}},
        .steps = {},
        .metrics = {CardCoded<CardMetricCode>{CardMetricCode::unavailable, {}}},
        .largest = std::nullopt,
        .sampling = std::nullopt,
    };
}

} // namespace velmora
