// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/AdvancedHistorySnapshot.h"

#include "model/Codec.h"

namespace velmora {

HistoricalOffenderSummarySnapshot
decodeRecord(const Json& json, std::type_identity<HistoricalOffenderSummarySnapshot>) {
    const ObjectReader in(json);
    return {
        .key = in.required<std::string>("key"),
        .title = in.required<std::string>("title"),
        .liveNow = in.required<bool>("liveNow"),
        .lastSeenMs = in.required<int64_t>("lastSeenMs"),
        .lastSeenText = in.required<std::string>("lastSeenText"),
        .incidentCount7d = in.required<uint32_t>("incidentCount7d"),
        .incidentCount30d = in.required<uint32_t>("incidentCount30d"),
        .criticalIncidentCount30d = in.required<uint32_t>("criticalIncidentCount30d"),
        .peakScore30d = in.required<uint32_t>("peakScore30d"),
        .riskLabel = in.required<std::string>("riskLabel"),
        .typicalityLabel = in.required<std::string>("typicalityLabel"),
        .evidenceTags = in.required<std::vector<std::string>>("evidenceTags"),
        .interpretation = in.required<std::string>("interpretation"),
        .codes = in.optional<OffenderCodes>("codes"),
    };
}

Json encodeRecord(const HistoricalOffenderSummarySnapshot& value) {
    return ObjectWriter()
        .field("key", value.key)
        .field("title", value.title)
        .field("liveNow", value.liveNow)
        .field("lastSeenMs", value.lastSeenMs)
        .field("lastSeenText", value.lastSeenText)
        .field("incidentCount7d", value.incidentCount7d)
        .field("incidentCount30d", value.incidentCount30d)
        .field("criticalIncidentCount30d", value.criticalIncidentCount30d)
        .field("peakScore30d", value.peakScore30d)
        .field("riskLabel", value.riskLabel)
        .field("typicalityLabel", value.typicalityLabel)
        .field("evidenceTags", value.evidenceTags)
        .field("interpretation", value.interpretation)
        .field("codes", value.codes)
        .done();
}

HistoryMetric decodeRecord(const Json& json, std::type_identity<HistoryMetric>) {
    const ObjectReader in(json);
    return {.label = in.required<std::string>("label"), .value = in.required<std::string>("value")};
}

Json encodeRecord(const HistoryMetric& value) {
    return ObjectWriter().field("label", value.label).field("value", value.value).done();
}

HistoricalOffenderDetailSnapshot
decodeRecord(const Json& json, std::type_identity<HistoricalOffenderDetailSnapshot>) {
    const ObjectReader in(json);
    return {
        .key = in.required<std::string>("key"),
        .title = in.required<std::string>("title"),
        .riskLabel = in.required<std::string>("riskLabel"),
        .typicalityLabel = in.required<std::string>("typicalityLabel"),
        .lastSeenText = in.required<std::string>("lastSeenText"),
        .evidenceTags = in.required<std::vector<std::string>>("evidenceTags"),
        .interpretation = in.required<std::string>("interpretation"),
        .metrics = in.required<std::vector<HistoryMetric>>("metrics"),
        .insightLines = in.required<std::vector<std::string>>("insightLines"),
        .memorySeries = in.optional<MemorySeries>("memorySeries"),
        .codes = in.optional<OffenderCodes>("codes"),
    };
}

Json encodeRecord(const HistoricalOffenderDetailSnapshot& value) {
    return ObjectWriter()
        .field("key", value.key)
        .field("title", value.title)
        .field("riskLabel", value.riskLabel)
        .field("typicalityLabel", value.typicalityLabel)
        .field("lastSeenText", value.lastSeenText)
        .field("evidenceTags", value.evidenceTags)
        .field("interpretation", value.interpretation)
        .field("metrics", value.metrics)
        .field("insightLines", value.insightLines)
        .field("memorySeries", value.memorySeries)
        .field("codes", value.codes)
        .done();
}

AdvancedHistorySnapshot decodeRecord(const Json& json,
                                     std::type_identity<AdvancedHistorySnapshot>) {
    const ObjectReader in(json);
    return {
        .generatedAtMs = in.required<int64_t>("generatedAtMs"),
        .offenders = in.required<std::vector<HistoricalOffenderSummarySnapshot>>("offenders"),
        .selectedDetail = in.optional<HistoricalOffenderDetailSnapshot>("selectedDetail"),
    };
}

Json encodeRecord(const AdvancedHistorySnapshot& value) {
    return ObjectWriter()
        .field("generatedAtMs", value.generatedAtMs)
        .field("offenders", value.offenders)
        .field("selectedDetail", value.selectedDetail)
        .done();
}

std::string identity(const HistoricalOffenderSummarySnapshot& offender) {
    return offender.key;
}

std::string identity(const HistoryMetric& metric) {
    return metric.label;
}

} // namespace velmora
