// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Decoding and encoding of every record:
//
//   Decoded<PopoverSnapshot> snapshot = decode<PopoverSnapshot>(json);
//   Json json = encode(snapshot);
//   Decoded<AdvancedHistorySnapshot> history = decodeText<AdvancedHistorySnapshot>(line);

#include "model/AdvancedHistorySnapshot.h"
#include "model/Decoded.h"
#include "model/DetailSnapshot.h"
#include "model/IncidentSnapshot.h"
#include "model/Json.h"
#include "model/JsonReader.h"
#include "model/JsonText.h"
#include "model/MemoryOutlookSnapshot.h"
#include "model/MemorySeries.h"
#include "model/PopoverSnapshot.h"
#include "model/ReliefPlanSnapshot.h"
#include "model/SettingsSnapshot.h"
#include "model/TrustAccessSnapshot.h"

#include <string_view>
#include <type_traits>

namespace velmora {

template <class T> Decoded<T> decode(const Json& json) {
    try {
        return Codec<T>::decode(json);
    } catch (const DecodeFailure& failure) {
        return failure.error();
    }
}

template <class T> Json encode(const T& value) {
    return Codec<T>::encode(value);
}

// Parses and decodes; a parse error is a DecodeError with an empty path.
template <class T> Decoded<T> decodeText(std::string_view text) {
    auto parsed = parseJsonText(text);
    if (!parsed) {
        return parsed.error();
    }
    return decode<T>(parsed.value());
}

// The record codecs, one pair per record, defined beside each record. They throw
// DecodeFailure; call decode<T>/encode above instead.
#define VELMORA_RECORD_CODEC(Record)                                                               \
    Record decodeRecord(const Json& json, std::type_identity<Record>);                             \
    Json encodeRecord(const Record& value)

VELMORA_RECORD_CODEC(ActionDescriptor);
VELMORA_RECORD_CODEC(IncidentConfidenceStep);
VELMORA_RECORD_CODEC(IncidentAttributionFact);
VELMORA_RECORD_CODEC(IncidentTimelineItem);
VELMORA_RECORD_CODEC(DiagnosticMetric);
VELMORA_RECORD_CODEC(IncidentSnapshot);
VELMORA_RECORD_CODEC(VerdictBlock);
VELMORA_RECORD_CODEC(WhyBlock);
VELMORA_RECORD_CODEC(NextCommandDescriptor);
VELMORA_RECORD_CODEC(ActBlock);
VELMORA_RECORD_CODEC(DiagnosticsBlock);
VELMORA_RECORD_CODEC(ArtifactBoundaryBlock);
VELMORA_RECORD_CODEC(WhereSiteSnapshot);
VELMORA_RECORD_CODEC(WhereItGrowsBlock);
VELMORA_RECORD_CODEC(MemoryTrendLine);
VELMORA_RECORD_CODEC(VerdictMark);
VELMORA_RECORD_CODEC(RunsOutLevel);
VELMORA_RECORD_CODEC(MemorySeries);
VELMORA_RECORD_CODEC(DetailSnapshot);
VELMORA_RECORD_CODEC(FindingSnapshot);
VELMORA_RECORD_CODEC(RecentFindingSnapshot);
VELMORA_RECORD_CODEC(MemoryForecastSnapshot);
VELMORA_RECORD_CODEC(OutOfMemoryKillSnapshot);
VELMORA_RECORD_CODEC(SettingsSnapshot);
VELMORA_RECORD_CODEC(TrustAccessSnapshot);
VELMORA_RECORD_CODEC(ReliefCandidateSnapshot);
VELMORA_RECORD_CODEC(ReliefPlanSnapshot);
VELMORA_RECORD_CODEC(SystemStateSnapshot);
VELMORA_RECORD_CODEC(FooterTelemetrySnapshot);
VELMORA_RECORD_CODEC(BootstrapScanSnapshot);
VELMORA_RECORD_CODEC(ActionFeedbackSnapshot);
VELMORA_RECORD_CODEC(DestructiveConfirmationSnapshot);
VELMORA_RECORD_CODEC(PopoverSnapshot);
VELMORA_RECORD_CODEC(HistoricalOffenderSummarySnapshot);
VELMORA_RECORD_CODEC(HistoryMetric);
VELMORA_RECORD_CODEC(HistoricalOffenderDetailSnapshot);
VELMORA_RECORD_CODEC(AdvancedHistorySnapshot);

} // namespace velmora
