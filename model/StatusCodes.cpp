// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/StatusCodes.h"

#include "model/Codec.h"

namespace velmora {

SummaryCodes decodeRecord(const Json& json, std::type_identity<SummaryCodes>) {
    const ObjectReader in(json);
    return {.code = in.required<OpenCode<SummaryCode>>("code"),
            .count = in.optional<int64_t>("count")};
}

Json encodeRecord(const SummaryCodes& value) {
    return ObjectWriter().field("code", value.code).field("count", value.count).done();
}

SystemStateCodes decodeRecord(const Json& json, std::type_identity<SystemStateCodes>) {
    const ObjectReader in(json);
    return {
        .pressure = in.optional<OpenCode<PressureCode>>("pressure"),
        .availableKiB = in.optional<double>("availableKiB"),
        .totalKiB = in.optional<double>("totalKiB"),
        .scope = in.optional<OpenCode<ScopeCode>>("scope"),
        .processCount = in.optional<int64_t>("processCount"),
        .familyCount = in.optional<int64_t>("familyCount"),
        .exhaustionSeconds = in.optional<double>("exhaustionSeconds"),
        .memoryState = in.optional<OpenCode<MemoryStateCode>>("memoryState"),
    };
}

Json encodeRecord(const SystemStateCodes& value) {
    return ObjectWriter()
        .field("pressure", value.pressure)
        .field("availableKiB", value.availableKiB)
        .field("totalKiB", value.totalKiB)
        .field("scope", value.scope)
        .field("processCount", value.processCount)
        .field("familyCount", value.familyCount)
        .field("exhaustionSeconds", value.exhaustionSeconds)
        .field("memoryState", value.memoryState)
        .done();
}

RecentFindingCodes decodeRecord(const Json& json, std::type_identity<RecentFindingCodes>) {
    const ObjectReader in(json);
    return {.status = in.optional<OpenCode<RecentStatusCode>>("status"),
            .agoSeconds = in.optional<double>("agoSeconds")};
}

Json encodeRecord(const RecentFindingCodes& value) {
    return ObjectWriter()
        .field("status", value.status)
        .field("agoSeconds", value.agoSeconds)
        .done();
}

FooterCodes decodeRecord(const Json& json, std::type_identity<FooterCodes>) {
    const ObjectReader in(json);
    return {.storageBytes = in.optional<uint64_t>("storageBytes"),
            .prune = in.optional<OpenCode<PruneCode>>("prune"),
            .pruneAgoSeconds = in.optional<double>("pruneAgoSeconds")};
}

Json encodeRecord(const FooterCodes& value) {
    return ObjectWriter()
        .field("storageBytes", value.storageBytes)
        .field("prune", value.prune)
        .field("pruneAgoSeconds", value.pruneAgoSeconds)
        .done();
}

} // namespace velmora
