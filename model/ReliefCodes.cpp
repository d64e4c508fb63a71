// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ReliefCodes.h"

#include "model/Codec.h"

namespace velmora {

ReliefCodes decodeRecord(const Json& json, std::type_identity<ReliefCodes>) {
    const ObjectReader in(json);
    return {
        .headline = in.optional<OpenCode<ReliefHeadlineCode>>("headline"),
        .exhaustionSeconds = in.optional<double>("exhaustionSeconds"),
        .advice = in.optional<OpenCode<ReliefAdviceCode>>("advice"),
        .firstVictim = in.optional<Coded<VictimCode>>("firstVictim"),
        .killer = in.optional<KillerCodes>("killer"),
        .machineKills = in.optional<int64_t>("machineKills"),
        .pressure = in.optional<OpenCode<PressureCode>>("pressure"),
        .target = in.optional<OpenCode<ReliefTargetCode>>("target"),
        .targetFraction = in.optional<double>("targetFraction"),
        .freeKiB = in.optional<double>("freeKiB"),
        .reclaimKiB = in.optional<double>("reclaimKiB"),
    };
}

Json encodeRecord(const ReliefCodes& value) {
    return ObjectWriter()
        .field("headline", value.headline)
        .field("exhaustionSeconds", value.exhaustionSeconds)
        .field("advice", value.advice)
        .field("firstVictim", value.firstVictim)
        .field("killer", value.killer)
        .field("machineKills", value.machineKills)
        .field("pressure", value.pressure)
        .field("target", value.target)
        .field("targetFraction", value.targetFraction)
        .field("freeKiB", value.freeKiB)
        .field("reclaimKiB", value.reclaimKiB)
        .done();
}

ReliefCandidateCodes decodeRecord(const Json& json, std::type_identity<ReliefCandidateCodes>) {
    const ObjectReader in(json);
    return {
        .footprintKiB = in.optional<double>("footprintKiB"),
        .reason = in.optional<OpenCode<ReliefCandidateCode>>("reason"),
        .verdict = in.optional<OpenCode<FindingVerdict>>("verdict"),
        .rateKiBPerSecond = in.optional<double>("rateKiBPerSecond"),
        .endedFirst = in.optional<bool>("endedFirst"),
    };
}

Json encodeRecord(const ReliefCandidateCodes& value) {
    return ObjectWriter()
        .field("footprintKiB", value.footprintKiB)
        .field("reason", value.reason)
        .field("verdict", value.verdict)
        .field("rateKiBPerSecond", value.rateKiBPerSecond)
        .field("endedFirst", value.endedFirst)
        .done();
}

} // namespace velmora
