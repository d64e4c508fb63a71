// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/HistoryCodes.h"

#include "model/Codec.h"

namespace velmora {

HistoryFigures readHistoryFigures(const ObjectReader& in) {
    return {
        .count = in.optional<int64_t>("count"),
        .days = in.optional<int64_t>("days"),
        .score = in.optional<int64_t>("score"),
        .seconds = in.optional<double>("seconds"),
        .rateKiBPerSecond = in.optional<double>("rateKiBPerSecond"),
        .bytes = in.optional<uint64_t>("bytes"),
        .multiple = in.optional<double>("multiple"),
        .action = in.optional<OpenCode<HistoryActionCode>>("action"),
        .succeeded = in.optional<bool>("succeeded"),
        .outcome = in.optional<std::string>("outcome"),
    };
}

ObjectWriter& writeHistoryFigures(ObjectWriter& out, const HistoryFigures& figures) {
    return out.field("count", figures.count)
        .field("days", figures.days)
        .field("score", figures.score)
        .field("seconds", figures.seconds)
        .field("rateKiBPerSecond", figures.rateKiBPerSecond)
        .field("bytes", figures.bytes)
        .field("multiple", figures.multiple)
        .field("action", figures.action)
        .field("succeeded", figures.succeeded)
        .field("outcome", figures.outcome);
}

OffenderCodes decodeRecord(const Json& json, std::type_identity<OffenderCodes>) {
    const ObjectReader in(json);
    return {
        .risk = in.optional<OpenCode<OffenderRiskCode>>("risk"),
        .typicality = in.optional<OpenCode<TypicalityCode>>("typicality"),
        .lastSeen = in.optional<Recorded<LastSeenCode>>("lastSeen"),
        .tags = in.defaulted<std::vector<Recorded<OffenderTagCode>>>(
            "tags", std::vector<Recorded<OffenderTagCode>>{}),
        .interpretation = in.optional<Recorded<InterpretationCode>>("interpretation"),
        .metrics = in.defaulted<std::vector<Recorded<HistoryMetricCode>>>(
            "metrics", std::vector<Recorded<HistoryMetricCode>>{}),
        .insights = in.defaulted<std::vector<Recorded<InsightCode>>>(
            "insights", std::vector<Recorded<InsightCode>>{}),
    };
}

Json encodeRecord(const OffenderCodes& value) {
    return ObjectWriter()
        .field("risk", value.risk)
        .field("typicality", value.typicality)
        .field("lastSeen", value.lastSeen)
        .field("tags", value.tags)
        .field("interpretation", value.interpretation)
        .field("metrics", value.metrics)
        .field("insights", value.insights)
        .done();
}

KillerCodes decodeRecord(const Json& json, std::type_identity<KillerCodes>) {
    const ObjectReader in(json);
    return {
        .code = in.required<OpenCode<KillerCode>>("code"),
        .pressureFraction = in.optional<double>("pressureFraction"),
        .seconds = in.optional<double>("seconds"),
        .memoryFraction = in.optional<double>("memoryFraction"),
        .memoryKiB = in.optional<double>("memoryKiB"),
        .swapFraction = in.optional<double>("swapFraction"),
        .swapKiB = in.optional<double>("swapKiB"),
    };
}

Json encodeRecord(const KillerCodes& value) {
    return ObjectWriter()
        .field("code", value.code)
        .field("pressureFraction", value.pressureFraction)
        .field("seconds", value.seconds)
        .field("memoryFraction", value.memoryFraction)
        .field("memoryKiB", value.memoryKiB)
        .field("swapFraction", value.swapFraction)
        .field("swapKiB", value.swapKiB)
        .done();
}

RecentExplanationCodes decodeRecord(const Json& json, std::type_identity<RecentExplanationCodes>) {
    const ObjectReader in(json);
    return {
        .code = in.required<OpenCode<RecentExplanationCode>>("code"),
        .wallSeconds = in.optional<double>("wallSeconds"),
        .footprintKiB = in.optional<double>("footprintKiB"),
        .verdict = in.optional<OpenCode<FindingVerdict>>("verdict"),
    };
}

Json encodeRecord(const RecentExplanationCodes& value) {
    return ObjectWriter()
        .field("code", value.code)
        .field("wallSeconds", value.wallSeconds)
        .field("footprintKiB", value.footprintKiB)
        .field("verdict", value.verdict)
        .done();
}

} // namespace velmora
