// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ReliefPlanSnapshot.h"

#include "model/Codec.h"

namespace velmora {

ReliefCandidateSnapshot decodeRecord(const Json& json,
                                     std::type_identity<ReliefCandidateSnapshot>) {
    const ObjectReader in(json);
    return {
        .key = in.required<std::string>("key"),
        .title = in.required<std::string>("title"),
        .footprintLabel = in.required<std::string>("footprintLabel"),
        .detail = in.required<std::string>("detail"),
        .recommended = in.required<bool>("recommended"),
        .action = in.required<ActionDescriptor>("action"),
        .codes = in.optional<ReliefCandidateCodes>("codes"),
    };
}

Json encodeRecord(const ReliefCandidateSnapshot& value) {
    return ObjectWriter()
        .field("key", value.key)
        .field("title", value.title)
        .field("footprintLabel", value.footprintLabel)
        .field("detail", value.detail)
        .field("recommended", value.recommended)
        .field("action", value.action)
        .field("codes", value.codes)
        .done();
}

ReliefPlanSnapshot decodeRecord(const Json& json, std::type_identity<ReliefPlanSnapshot>) {
    const ObjectReader in(json);
    return {
        .urgency = in.required<ReliefUrgencyTone>("urgency"),
        .headline = in.required<std::string>("headline"),
        .summary = in.required<std::string>("summary"),
        .pressureLabel = in.required<std::string>("pressureLabel"),
        .targetFreeLabel = in.required<std::string>("targetFreeLabel"),
        .projectedReclaimLabel = in.required<std::string>("projectedReclaimLabel"),
        .recommendedCount = in.required<int64_t>("recommendedCount"),
        .candidates = in.required<std::vector<ReliefCandidateSnapshot>>("candidates"),
        .codes = in.optional<ReliefCodes>("codes"),
    };
}

Json encodeRecord(const ReliefPlanSnapshot& value) {
    return ObjectWriter()
        .field("urgency", value.urgency)
        .field("headline", value.headline)
        .field("summary", value.summary)
        .field("pressureLabel", value.pressureLabel)
        .field("targetFreeLabel", value.targetFreeLabel)
        .field("projectedReclaimLabel", value.projectedReclaimLabel)
        .field("recommendedCount", value.recommendedCount)
        .field("candidates", value.candidates)
        .field("codes", value.codes)
        .done();
}

std::string identity(const ReliefCandidateSnapshot& candidate) {
    return candidate.key;
}

} // namespace velmora
