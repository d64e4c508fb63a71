// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The popover's own status texts as codes and figures, sent beside the texts: the summary
// strip, the memory-state header, a recent finding's status and age, and the footer's storage
// and prune chips. The app composes its texts from these; a code this build does not know
// decodes as unknown and the monitor's text is shown instead.

#include "model/JsonReader.h"
#include "model/OpenCode.h"

#include <cstdint>
#include <optional>

namespace velmora {

// What the summary strip says over the rows.
enum class SummaryCode {
    allClear,
    familiesToWatch,
    suspectedLeaks,
    criticalRunaway,
    criticalPressure,
    highPressure // high memory pressure alone, with no suspect under it
};

// How hard the machine presses on its memory, as the pressure pill says it.
enum class PressureCode { normal, elevated, high, critical };

// What the scope line under the pill says. While a forecast is stated the line carries it
// instead ("Runs out in ~40 min"), and says so when the machine's memory could not be read.
enum class ScopeCode { scanRunning, watching, runsOut, forecastUnavailable };

// The header's pill and headroom line before the machine's memory has been read (the first
// answer while the scan runs, or a pass that could not read it): they stand as placeholders.
enum class MemoryStateCode { unread };

// Why a finding left the live rows.
enum class RecentStatusCode { outOfMemory, processEnded, growthStopped };

// Whether the history store has pruned yet.
enum class PruneCode { pending, done };

template <> struct EnumTable<SummaryCode> {
    static constexpr std::array entries{
        std::pair{SummaryCode::allClear, std::string_view{"allClear"}},
        std::pair{SummaryCode::familiesToWatch, std::string_view{"familiesToWatch"}},
        std::pair{SummaryCode::suspectedLeaks, std::string_view{"suspectedLeaks"}},
        std::pair{SummaryCode::criticalRunaway, std::string_view{"criticalRunaway"}},
        std::pair{SummaryCode::criticalPressure, std::string_view{"criticalPressure"}},
        std::pair{SummaryCode::highPressure, std::string_view{"highPressure"}},
    };
};

template <> struct EnumTable<PressureCode> {
    static constexpr std::array entries{
        std::pair{PressureCode::normal, std::string_view{"normal"}},
        std::pair{PressureCode::elevated, std::string_view{"elevated"}},
        std::pair{PressureCode::high, std::string_view{"high"}},
        std::pair{PressureCode::critical, std::string_view{"critical"}},
    };
};

template <> struct EnumTable<ScopeCode> {
    static constexpr std::array entries{
        std::pair{ScopeCode::scanRunning, std::string_view{"scanRunning"}},
        std::pair{ScopeCode::watching, std::string_view{"watching"}},
        std::pair{ScopeCode::runsOut, std::string_view{"runsOut"}},
        std::pair{ScopeCode::forecastUnavailable, std::string_view{"forecastUnavailable"}},
    };
};

template <> struct EnumTable<MemoryStateCode> {
    static constexpr std::array entries{
        std::pair{MemoryStateCode::unread, std::string_view{"unread"}},
    };
};

template <> struct EnumTable<RecentStatusCode> {
    static constexpr std::array entries{
        std::pair{RecentStatusCode::outOfMemory, std::string_view{"outOfMemory"}},
        std::pair{RecentStatusCode::processEnded, std::string_view{"processEnded"}},
        std::pair{RecentStatusCode::growthStopped, std::string_view{"growthStopped"}},
    };
};

template <> struct EnumTable<PruneCode> {
    static constexpr std::array entries{
        std::pair{PruneCode::pending, std::string_view{"pending"}},
        std::pair{PruneCode::done, std::string_view{"done"}},
    };
};

// The summary strip: {"code": "familiesToWatch", "count": 2}. The count is of the rows at the
// strip's level and above.
struct SummaryCodes {
    OpenCode<SummaryCode> code;
    std::optional<int64_t> count;

    bool operator==(const SummaryCodes&) const = default;
};

// The header's pill, headroom and scope lines; each part stands for its line when present.
struct SystemStateCodes {
    std::optional<OpenCode<PressureCode>> pressure;
    std::optional<double> availableKiB; // the headroom line, with totalKiB
    std::optional<double> totalKiB;
    std::optional<OpenCode<ScopeCode>> scope;
    std::optional<int64_t> processCount; // watching: same-user processes and their families
    std::optional<int64_t> familyCount;
    std::optional<double> exhaustionSeconds; // runsOut: until memory runs out at this rate
    // Apart from the pill's level, which the relief plan shares: the pill and the headroom
    // line say their placeholders while the memory is unread.
    std::optional<OpenCode<MemoryStateCode>> memoryState;

    bool operator==(const SystemStateCodes&) const = default;
};

// A recent finding's status and how long ago it left the rows.
struct RecentFindingCodes {
    std::optional<OpenCode<RecentStatusCode>> status;
    std::optional<double> agoSeconds;

    bool operator==(const RecentFindingCodes&) const = default;
};

// The footer's chips: the data folder's size and when the store last pruned.
struct FooterCodes {
    std::optional<uint64_t> storageBytes;
    std::optional<OpenCode<PruneCode>> prune;
    std::optional<double> pruneAgoSeconds; // with prune "done"

    bool operator==(const FooterCodes&) const = default;
};

SummaryCodes decodeRecord(const Json& json, std::type_identity<SummaryCodes>);
Json encodeRecord(const SummaryCodes& value);
SystemStateCodes decodeRecord(const Json& json, std::type_identity<SystemStateCodes>);
Json encodeRecord(const SystemStateCodes& value);
RecentFindingCodes decodeRecord(const Json& json, std::type_identity<RecentFindingCodes>);
Json encodeRecord(const RecentFindingCodes& value);
FooterCodes decodeRecord(const Json& json, std::type_identity<FooterCodes>);
Json encodeRecord(const FooterCodes& value);

} // namespace velmora
