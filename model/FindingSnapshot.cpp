// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/FindingSnapshot.h"

#include "model/Codec.h"
#include "model/SurfaceText.h"

namespace velmora {

FindingSnapshot decodeRecord(const Json& json, std::type_identity<FindingSnapshot>) {
    static const FindingSnapshot defaults;
    const ObjectReader in(json);
    FindingSnapshot out{
        .key = in.required<std::string>("key"),
        .title = in.required<std::string>("title"),
        .rate = in.defaulted<std::string>("rate", defaults.rate),
        .sparklineSamples =
            in.defaulted<std::vector<uint16_t>>("sparklineSamples", defaults.sparklineSamples),
        .confidencePillLabel =
            in.defaulted<std::string>("confidencePillLabel", defaults.confidencePillLabel),
        .explanation = in.defaulted<std::string>("explanation", defaults.explanation),
        .orderedActions =
            in.defaulted<std::vector<ActionDescriptor>>("orderedActions", defaults.orderedActions),
        .verdict = defaults.verdict,
        .severity = in.defaulted<FindingSeverity>("severity", defaults.severity),
        .exhaustionEstimate = in.optional<std::string>("exhaustionEstimate"),
        .curvatureLabel = in.optional<std::string>("curvatureLabel"),
        .footprintLabel = in.optional<std::string>("footprintLabel"),
        .growthSpanLabel = in.optional<std::string>("growthSpanLabel"),
        .codes = in.optional<FindingCodes>("codes"),
    };
    // A missing verdict follows from the severity and texts decoded above.
    out.verdict = in.defaulted<FindingVerdict>("verdict", [&] {
        return fallbackVerdict(out.severity, out.confidencePillLabel, out.explanation);
    });
    return out;
}

Json encodeRecord(const FindingSnapshot& value) {
    return ObjectWriter()
        .field("key", value.key)
        .field("title", value.title)
        .field("rate", value.rate)
        .field("sparklineSamples", value.sparklineSamples)
        .field("confidencePillLabel", value.confidencePillLabel)
        .field("explanation", value.explanation)
        .field("orderedActions", value.orderedActions)
        .field("verdict", value.verdict)
        .field("severity", value.severity)
        .field("exhaustionEstimate", value.exhaustionEstimate)
        .field("curvatureLabel", value.curvatureLabel)
        .field("footprintLabel", value.footprintLabel)
        .field("growthSpanLabel", value.growthSpanLabel)
        .field("codes", value.codes)
        .done();
}

RecentFindingSnapshot decodeRecord(const Json& json, std::type_identity<RecentFindingSnapshot>) {
    const ObjectReader in(json);
    return {
        .key = in.required<std::string>("key"),
        .title = in.required<std::string>("title"),
        .statusLabel = in.required<std::string>("statusLabel"),
        .explanation = in.required<std::string>("explanation"),
        .lastSeenText = in.required<std::string>("lastSeenText"),
        .severity = in.required<FindingSeverity>("severity"),
        .codes = in.optional<RecentFindingCodes>("codes"),
        .explanationCode = in.optional<RecentExplanationCodes>("explanationCode"),
    };
}

Json encodeRecord(const RecentFindingSnapshot& value) {
    return ObjectWriter()
        .field("key", value.key)
        .field("title", value.title)
        .field("statusLabel", value.statusLabel)
        .field("explanation", value.explanation)
        .field("lastSeenText", value.lastSeenText)
        .field("severity", value.severity)
        .field("codes", value.codes)
        .field("explanationCode", value.explanationCode)
        .done();
}

FindingVerdict fallbackVerdict(FindingSeverity severity, std::string_view confidence,
                               std::string_view explanation) {
    switch (severity) {
    case FindingSeverity::allClear:
        return FindingVerdict::normal;
    case FindingSeverity::watch:
        return FindingVerdict::watch;
    case FindingSeverity::suspect: {
        std::string text(confidence);
        text += ' ';
        text += explanation;
        return lowercased(text).find("probable") != std::string::npos ? FindingVerdict::probable
                                                                      : FindingVerdict::suspect;
    }
    case FindingSeverity::critical:
        return FindingVerdict::criticalRunaway;
    }
    return FindingVerdict::watch;
}

std::string identity(const FindingSnapshot& row) {
    return row.key;
}

std::string identity(const RecentFindingSnapshot& finding) {
    return finding.key;
}

} // namespace velmora
