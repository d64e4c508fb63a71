// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DetailCodes.h"

#include "model/Codec.h"

namespace velmora {

VerdictCodes decodeRecord(const Json& json, std::type_identity<VerdictCodes>) {
    const ObjectReader in(json);
    return {.verdict = in.optional<OpenCode<FindingVerdict>>("verdict"),
            .confidence = in.optional<OpenCode<ConfidenceLevel>>("confidence"),
            .score = in.optional<int64_t>("score"),
            .ended = in.defaulted<bool>("ended", false)};
}

Json encodeRecord(const VerdictCodes& value) {
    ObjectWriter out;
    out.field("verdict", value.verdict)
        .field("confidence", value.confidence)
        .field("score", value.score);
    if (value.ended) {
        out.field("ended", true);
    }
    return out.done();
}

ArtifactCodes decodeRecord(const Json& json, std::type_identity<ArtifactCodes>) {
    const ObjectReader in(json);
    return {.processCount = in.optional<int64_t>("processCount"),
            .capturedAt = in.optional<double>("capturedAt"),
            .path = in.optional<std::string>("path"),
            .bytes = in.optional<double>("bytes")};
}

Json encodeRecord(const ArtifactCodes& value) {
    return ObjectWriter()
        .field("processCount", value.processCount)
        .field("capturedAt", value.capturedAt)
        .field("path", value.path)
        .field("bytes", value.bytes)
        .done();
}

MemberIdentityCodes decodeRecord(const Json& json, std::type_identity<MemberIdentityCodes>) {
    const ObjectReader in(json);
    return {.pid = in.required<int64_t>("pid"),
            .name = in.defaulted<std::string>("name", ""),
            .footprintKiB = in.required<double>("footprintKiB"),
            .growing = in.defaulted<bool>("growing", false),
            .isProtected = in.defaulted<bool>("protected", false),
            .cmdline = in.defaulted<std::string>("cmdline", "")};
}

Json encodeRecord(const MemberIdentityCodes& value) {
    return ObjectWriter()
        .field("pid", value.pid)
        .field("name", value.name)
        .field("footprintKiB", value.footprintKiB)
        .field("growing", value.growing)
        .field("protected", value.isProtected)
        .field("cmdline", value.cmdline)
        .done();
}

DiagnosticsCodes decodeRecord(const Json& json, std::type_identity<DiagnosticsCodes>) {
    const ObjectReader in(json);
    return {.identities = in.defaulted<std::vector<MemberIdentityCodes>>(
                "identities", std::vector<MemberIdentityCodes>{}),
            .evidence = in.defaulted<std::vector<Coded<DiagnosticEvidenceCode>>>(
                "evidence", std::vector<Coded<DiagnosticEvidenceCode>>{}),
            .metrics = in.defaulted<std::vector<Coded<MetricCode>>>(
                "metrics", std::vector<Coded<MetricCode>>{})};
}

Json encodeRecord(const DiagnosticsCodes& value) {
    return ObjectWriter()
        .field("identities", value.identities)
        .field("evidence", value.evidence)
        .field("metrics", value.metrics)
        .done();
}

} // namespace velmora
