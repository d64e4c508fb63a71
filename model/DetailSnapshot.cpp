// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DetailSnapshot.h"

#include "model/Codec.h"

namespace velmora {

VerdictBlock decodeRecord(const Json& json, std::type_identity<VerdictBlock>) {
    const ObjectReader in(json);
    return {
        .verdictLabel = in.required<std::string>("verdictLabel"),
        .confidenceLabel = in.required<std::string>("confidenceLabel"),
        .explanation = in.required<std::string>("explanation"),
        .explanationCode = in.optional<Coded<ReasonCode>>("explanationCode"),
        .codes = in.optional<VerdictCodes>("codes"),
    };
}

Json encodeRecord(const VerdictBlock& value) {
    return ObjectWriter()
        .field("verdictLabel", value.verdictLabel)
        .field("confidenceLabel", value.confidenceLabel)
        .field("explanation", value.explanation)
        .field("explanationCode", value.explanationCode)
        .field("codes", value.codes)
        .done();
}

WhyBlock decodeRecord(const Json& json, std::type_identity<WhyBlock>) {
    const ObjectReader in(json);
    return {.reasons = in.required<std::vector<std::string>>("reasons"),
            .reasonCodes = in.defaulted<std::vector<Coded<ReasonCode>>>(
                "reasonCodes", std::vector<Coded<ReasonCode>>{})};
}

Json encodeRecord(const WhyBlock& value) {
    ObjectWriter out;
    out.field("reasons", value.reasons);
    if (!value.reasonCodes.empty()) {
        out.field("reasonCodes", value.reasonCodes);
    }
    return out.done();
}

NextCommandDescriptor decodeRecord(const Json& json, std::type_identity<NextCommandDescriptor>) {
    const ObjectReader in(json);
    return {
        .command = in.required<std::string>("command"),
        .explanation = in.required<std::string>("explanation"),
        .action = in.required<ActionDescriptor>("action"),
        .explanationCode = in.optional<OpenCode<CommandCode>>("explanationCode"),
    };
}

Json encodeRecord(const NextCommandDescriptor& value) {
    return ObjectWriter()
        .field("command", value.command)
        .field("explanation", value.explanation)
        .field("action", value.action)
        .field("explanationCode", value.explanationCode)
        .done();
}

ActBlock decodeRecord(const Json& json, std::type_identity<ActBlock>) {
    const ObjectReader in(json);
    return {
        .actions =
            in.defaulted<std::vector<ActionDescriptor>>("actions", std::vector<ActionDescriptor>{}),
        .nextCommands = in.defaulted<std::vector<NextCommandDescriptor>>(
            "nextCommands", std::vector<NextCommandDescriptor>{}),
        .requiresDestructiveConfirmation =
            in.defaulted<bool>("requiresDestructiveConfirmation", false),
    };
}

Json encodeRecord(const ActBlock& value) {
    return ObjectWriter()
        .field("actions", value.actions)
        .field("nextCommands", value.nextCommands)
        .field("requiresDestructiveConfirmation", value.requiresDestructiveConfirmation)
        .done();
}

DiagnosticsBlock decodeRecord(const Json& json, std::type_identity<DiagnosticsBlock>) {
    const ObjectReader in(json);
    return {
        .identityLines = in.required<std::vector<std::string>>("identityLines"),
        .evidenceLines = in.required<std::vector<std::string>>("evidenceLines"),
        .metrics = in.required<std::vector<DiagnosticMetric>>("metrics"),
        .codes = in.optional<DiagnosticsCodes>("codes"),
    };
}

Json encodeRecord(const DiagnosticsBlock& value) {
    return ObjectWriter()
        .field("identityLines", value.identityLines)
        .field("evidenceLines", value.evidenceLines)
        .field("metrics", value.metrics)
        .field("codes", value.codes)
        .done();
}

ArtifactBoundaryBlock decodeRecord(const Json& json, std::type_identity<ArtifactBoundaryBlock>) {
    const ObjectReader in(json);
    return {
        .title = in.required<std::string>("title"),
        .body = in.required<std::string>("body"),
        .reason = in.required<std::string>("reason"),
        .metaLines = in.required<std::vector<std::string>>("metaLines"),
        .actions = in.required<std::vector<ActionDescriptor>>("actions"),
        .codes = in.optional<ArtifactCodes>("codes"),
    };
}

Json encodeRecord(const ArtifactBoundaryBlock& value) {
    return ObjectWriter()
        .field("title", value.title)
        .field("body", value.body)
        .field("reason", value.reason)
        .field("metaLines", value.metaLines)
        .field("actions", value.actions)
        .field("codes", value.codes)
        .done();
}

DetailSnapshot decodeRecord(const Json& json, std::type_identity<DetailSnapshot>) {
    static const DetailSnapshot defaults;
    const ObjectReader in(json);
    return {
        .key = in.defaulted<std::string>("key", defaults.key),
        .title = in.defaulted<std::string>("title", defaults.title),
        .verdictBlock = in.defaulted<VerdictBlock>("verdictBlock", defaults.verdictBlock),
        .whyBlock = in.defaulted<WhyBlock>("whyBlock", defaults.whyBlock),
        .actBlock = in.defaulted<ActBlock>("actBlock", defaults.actBlock),
        .timeline = in.defaulted<std::vector<IncidentTimelineItem>>("timeline", defaults.timeline),
        .timelineCodes = in.defaulted<std::vector<Coded<TimelineCode>>>(
            "timelineCodes", std::vector<Coded<TimelineCode>>{}),
        .diagnosticsBlock =
            in.defaulted<DiagnosticsBlock>("diagnosticsBlock", defaults.diagnosticsBlock),
        .artifactBoundary = in.optional<ArtifactBoundaryBlock>("artifactBoundary"),
        .whereItGrows = in.optional<WhereItGrowsBlock>("whereItGrows"),
        .memorySeries = in.optional<MemorySeries>("memorySeries"),
    };
}

Json encodeRecord(const DetailSnapshot& value) {
    ObjectWriter out;
    out.field("key", value.key)
        .field("title", value.title)
        .field("verdictBlock", value.verdictBlock)
        .field("whyBlock", value.whyBlock)
        .field("actBlock", value.actBlock)
        .field("timeline", value.timeline);
    if (!value.timelineCodes.empty()) {
        out.field("timelineCodes", value.timelineCodes);
    }
    return out.field("diagnosticsBlock", value.diagnosticsBlock)
        .field("artifactBoundary", value.artifactBoundary)
        .field("whereItGrows", value.whereItGrows)
        .field("memorySeries", value.memorySeries)
        .done();
}

std::string identity(const NextCommandDescriptor& command) {
    return command.action.id;
}

} // namespace velmora
