// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the monitor recorded, as codes and figures sent beside its texts: the out-of-memory
// daemon that runs and when it acts, why a recent finding left the live rows, and what the
// history store says of a recurring offender. The app composes its texts from these; a code
// this build does not know decodes as unknown and the monitor's text is shown instead.

#include "model/Enums.h"
#include "model/JsonReader.h"
#include "model/OpenCode.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The out-of-memory daemon the forecast names.
enum class KillerCode { systemdOomd, earlyoom };

// Why a recent finding is no longer among the live rows.
enum class RecentExplanationCode { outOfMemoryKill, departed };

// How much an offender's history weighs: "Historical critical", "Historical suspect",
// "Historical watch", or in its detail "No incidents on record".
enum class OffenderRiskCode { critical, suspect, watch, noIncidents };

// How typical its incidents are.
enum class TypicalityCode { tooNew, recurring, occasionalSpikes, usuallyHealthy };

// When it was last seen: "Live now", "Not seen in 30d", or `seconds` ago.
enum class LastSeenCode { liveNow, notSeen, ago };

// One evidence tag, with its `count`.
enum class OffenderTagCode {
    critical,
    outOfMemoryKills,
    artifacts,
    restarted,
    recovered,
    forceQuit
};

// The offender's interpretation sentence.
enum class InterpretationCode {
    killedWithoutIncident, // count (kills)
    noIncidents,
    wentCritical,     // count (critical incidents)
    recurring,        // count (days with an incident), days (watched)
    severalIncidents, // count, score
    oneIncident       // score
};

// One metric of the detail, its label by the code, its value by the figures (none: "None", or
// "Not enough data" for a footprint).
enum class HistoryMetricCode {
    incidents30d,     // count
    incidents7d,      // count
    critical30d,      // count
    peakScore,        // score
    peakRate,         // rateKiBPerSecond
    typicalFootprint, // bytes
    peakFootprint,    // bytes
    lastAction        // action, seconds (ago)
};

// One line of the detail's insights.
enum class InsightCode {
    noIncidents,
    longestIncident,  // seconds
    incidentDays,     // count
    peakMultiple,     // multiple
    outOfMemoryKills, // count, seconds (since the latest)
    lastAction,       // action, seconds (ago), succeeded, outcome (as recorded)
    artifacts,        // count, seconds (since the newest)
    watchedSince      // seconds (ago)
};

// An action as the history names it.
enum class HistoryActionCode {
    restart,
    recover,
    forceQuit,
    evidenceCapture,
    ignore,
    outOfMemoryKill
};

template <> struct EnumTable<OffenderRiskCode> {
    static constexpr std::array entries{
        std::pair{OffenderRiskCode::critical, std::string_view{"critical"}},
        std::pair{OffenderRiskCode::suspect, std::string_view{"suspect"}},
        std::pair{OffenderRiskCode::watch, std::string_view{"watch"}},
        std::pair{OffenderRiskCode::noIncidents, std::string_view{"noIncidents"}},
    };
};

template <> struct EnumTable<TypicalityCode> {
    static constexpr std::array entries{
        std::pair{TypicalityCode::tooNew, std::string_view{"tooNew"}},
        std::pair{TypicalityCode::recurring, std::string_view{"recurring"}},
        std::pair{TypicalityCode::occasionalSpikes, std::string_view{"occasionalSpikes"}},
        std::pair{TypicalityCode::usuallyHealthy, std::string_view{"usuallyHealthy"}},
    };
};

template <> struct EnumTable<LastSeenCode> {
    static constexpr std::array entries{
        std::pair{LastSeenCode::liveNow, std::string_view{"liveNow"}},
        std::pair{LastSeenCode::notSeen, std::string_view{"notSeen"}},
        std::pair{LastSeenCode::ago, std::string_view{"ago"}},
    };
};

template <> struct EnumTable<OffenderTagCode> {
    static constexpr std::array entries{
        std::pair{OffenderTagCode::critical, std::string_view{"critical"}},
        std::pair{OffenderTagCode::outOfMemoryKills, std::string_view{"outOfMemoryKills"}},
        std::pair{OffenderTagCode::artifacts, std::string_view{"artifacts"}},
        std::pair{OffenderTagCode::restarted, std::string_view{"restarted"}},
        std::pair{OffenderTagCode::recovered, std::string_view{"recovered"}},
        std::pair{OffenderTagCode::forceQuit, std::string_view{"forceQuit"}},
    };
};

template <> struct EnumTable<InterpretationCode> {
    static constexpr std::array entries{
        std::pair{InterpretationCode::killedWithoutIncident,
                  std::string_view{"killedWithoutIncident"}},
        std::pair{InterpretationCode::noIncidents, std::string_view{"noIncidents"}},
        std::pair{InterpretationCode::wentCritical, std::string_view{"wentCritical"}},
        std::pair{InterpretationCode::recurring, std::string_view{"recurring"}},
        std::pair{InterpretationCode::severalIncidents, std::string_view{"severalIncidents"}},
        std::pair{InterpretationCode::oneIncident, std::string_view{"oneIncident"}},
    };
};

template <> struct EnumTable<HistoryMetricCode> {
    static constexpr std::array entries{
        std::pair{HistoryMetricCode::incidents30d, std::string_view{"incidents30d"}},
        std::pair{HistoryMetricCode::incidents7d, std::string_view{"incidents7d"}},
        std::pair{HistoryMetricCode::critical30d, std::string_view{"critical30d"}},
        std::pair{HistoryMetricCode::peakScore, std::string_view{"peakScore"}},
        std::pair{HistoryMetricCode::peakRate, std::string_view{"peakRate"}},
        std::pair{HistoryMetricCode::typicalFootprint, std::string_view{"typicalFootprint"}},
        std::pair{HistoryMetricCode::peakFootprint, std::string_view{"peakFootprint"}},
        std::pair{HistoryMetricCode::lastAction, std::string_view{"lastAction"}},
    };
};

template <> struct EnumTable<InsightCode> {
    static constexpr std::array entries{
        std::pair{InsightCode::noIncidents, std::string_view{"noIncidents"}},
        std::pair{InsightCode::longestIncident, std::string_view{"longestIncident"}},
        std::pair{InsightCode::incidentDays, std::string_view{"incidentDays"}},
        std::pair{InsightCode::peakMultiple, std::string_view{"peakMultiple"}},
        std::pair{InsightCode::outOfMemoryKills, std::string_view{"outOfMemoryKills"}},
        std::pair{InsightCode::lastAction, std::string_view{"lastAction"}},
        std::pair{InsightCode::artifacts, std::string_view{"artifacts"}},
        std::pair{InsightCode::watchedSince, std::string_view{"watchedSince"}},
    };
};

template <> struct EnumTable<HistoryActionCode> {
    static constexpr std::array entries{
        std::pair{HistoryActionCode::restart, std::string_view{"restart"}},
        std::pair{HistoryActionCode::recover, std::string_view{"recover"}},
        std::pair{HistoryActionCode::forceQuit, std::string_view{"forceQuit"}},
        std::pair{HistoryActionCode::evidenceCapture, std::string_view{"evidenceCapture"}},
        std::pair{HistoryActionCode::ignore, std::string_view{"ignore"}},
        std::pair{HistoryActionCode::outOfMemoryKill, std::string_view{"outOfMemoryKill"}},
    };
};

template <> struct EnumTable<KillerCode> {
    static constexpr std::array entries{
        std::pair{KillerCode::systemdOomd, std::string_view{"systemdOomd"}},
        std::pair{KillerCode::earlyoom, std::string_view{"earlyoom"}},
    };
};

template <> struct EnumTable<RecentExplanationCode> {
    static constexpr std::array entries{
        std::pair{RecentExplanationCode::outOfMemoryKill, std::string_view{"outOfMemoryKill"}},
        std::pair{RecentExplanationCode::departed, std::string_view{"departed"}},
    };
};

// When the daemon acts. The swap figures are absent on a machine without swap.
struct KillerCodes {
    OpenCode<KillerCode> code;
    std::optional<double> pressureFraction; // systemdOomd: the memory pressure it acts above
    std::optional<double> seconds;          // systemdOomd: for how long
    std::optional<double> memoryFraction;   // earlyoom: the available memory it acts below,
    std::optional<double> memoryKiB;        // as a share of memory or as a size
    std::optional<double> swapFraction;     // swap used (systemdOomd) or free swap (earlyoom)
    std::optional<double> swapKiB;          // earlyoom: free swap as a size

    bool operator==(const KillerCodes&) const = default;
};

// A recent finding's sentence.
struct RecentExplanationCodes {
    OpenCode<RecentExplanationCode> code;
    std::optional<double> wallSeconds;               // outOfMemoryKill: when, as Unix time
    std::optional<double> footprintKiB;              // outOfMemoryKill: the family's, then
    std::optional<OpenCode<FindingVerdict>> verdict; // departed: the highest it reached

    bool operator==(const RecentExplanationCodes&) const = default;
};

// The figures of the history's codes; each code uses the few it needs. Spans and ages in
// seconds, sizes in bytes (as the footer's), rates in KiB per second.
struct HistoryFigures {
    std::optional<int64_t> count{};
    std::optional<int64_t> days{};
    std::optional<int64_t> score{};
    std::optional<double> seconds{};
    std::optional<double> rateKiBPerSecond{};
    std::optional<uint64_t> bytes{};
    std::optional<double> multiple{};
    // An action the history names, with its wire name; unknown: shown by that name.
    std::optional<OpenCode<HistoryActionCode>> action{};
    std::optional<bool> succeeded{};
    std::optional<std::string> outcome{}; // an action's outcome as it was recorded

    bool operator==(const HistoryFigures&) const = default;
};

// A code of the history with its figures: {"code": "incidentDays", "count": 4}.
template <WireEnum E> struct Recorded {
    OpenCode<E> code;
    HistoryFigures figures{};

    bool operator==(const Recorded&) const = default;
};

// An offender's texts as codes, each standing for its text; the lists one for one with theirs.
struct OffenderCodes {
    std::optional<OpenCode<OffenderRiskCode>> risk{};             // riskLabel
    std::optional<OpenCode<TypicalityCode>> typicality{};         // typicalityLabel
    std::optional<Recorded<LastSeenCode>> lastSeen{};             // lastSeenText
    std::vector<Recorded<OffenderTagCode>> tags{};                // evidenceTags
    std::optional<Recorded<InterpretationCode>> interpretation{}; // interpretation
    std::vector<Recorded<HistoryMetricCode>> metrics{};           // the detail's metrics
    std::vector<Recorded<InsightCode>> insights{};                // the detail's insightLines

    bool operator==(const OffenderCodes&) const = default;
};

HistoryFigures readHistoryFigures(const ObjectReader& in);
ObjectWriter& writeHistoryFigures(ObjectWriter& out, const HistoryFigures& figures);

template <WireEnum E> struct Codec<Recorded<E>> {
    static Recorded<E> decode(const Json& json) {
        const ObjectReader in(json);
        return {.code = in.required<OpenCode<E>>("code"), .figures = readHistoryFigures(in)};
    }
    static Json encode(const Recorded<E>& value) {
        ObjectWriter out;
        out.field("code", value.code);
        return writeHistoryFigures(out, value.figures).done();
    }
};

OffenderCodes decodeRecord(const Json& json, std::type_identity<OffenderCodes>);
Json encodeRecord(const OffenderCodes& value);
KillerCodes decodeRecord(const Json& json, std::type_identity<KillerCodes>);
Json encodeRecord(const KillerCodes& value);
RecentExplanationCodes decodeRecord(const Json& json, std::type_identity<RecentExplanationCodes>);
Json encodeRecord(const RecentExplanationCodes& value);

} // namespace velmora
