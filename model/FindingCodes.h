// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the monitor found, as codes and figures, sent beside the texts it composes from them.
// The app composes its own texts from these; an older app ignores them, and a code this build
// does not know decodes as unknown, so the monitor's text is shown instead.

#include "model/Enums.h"
#include "model/JsonReader.h"
#include "model/OpenCode.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// Why a leak is suspected, in the incident's cause line.
enum class CauseCode { idleGrowth, steadyGrowth };

// The safe next step the incident proposes.
enum class NextStepCode { captureEvidence, restartGracefully, protectedSession };

// How sure the score is.
enum class ConfidenceLevel { low, medium, high, veryHigh };

// How the growth bends over the last minutes.
enum class CurvatureCode { accelerating, decelerating, steady };

// What the incident's history line says.
enum class HistoryCode { unavailable, noIncidents, incidents, typicalThisSession };

// What the incident's headline says of the suspect.
enum class HeadlineCode { keepsGrowing, runningAway };

// One entry of a timeline: when the family was first seen, its verdict now, or an event of its
// own (an action taken), which is shown as sent.
enum class TimelineCode { seen, now, event };

// Who the kernel would end first if memory ran out.
enum class VictimCode { ourApp, anotherUser };

// One reason behind a verdict; the figures each one carries are listed in docs/wire-codes.md.
enum class ReasonCode {
    notEnoughSamples,
    growingMember,
    stairs,
    sawtoothFloor,
    floorSteadiness,
    medianRate,
    medianSteadiness,
    sharedGrowth,
    sharedPart,
    growthStopped,
    young,
    revisited,
    decelerating,
    oneStep,
    allocateAndFree,
    hourRate,
    sixHourRate,
    baseline,
    idle,
    exhaustion,
    familyAsWhole,
    endedFirst,
    exited,
    // The one-sentence summaries of a row and of the detail's verdict.
    collectingSamples,
    growthSummary,
    memberGrowthSummary,
    selfCheckTarget, // a controlled target the self-check names; its sentence is fixed
};

template <> struct EnumTable<CauseCode> {
    static constexpr std::array entries{
        std::pair{CauseCode::idleGrowth, std::string_view{"idleGrowth"}},
        std::pair{CauseCode::steadyGrowth, std::string_view{"steadyGrowth"}},
    };
};

template <> struct EnumTable<NextStepCode> {
    static constexpr std::array entries{
        std::pair{NextStepCode::captureEvidence, std::string_view{"captureEvidence"}},
        std::pair{NextStepCode::restartGracefully, std::string_view{"restartGracefully"}},
        std::pair{NextStepCode::protectedSession, std::string_view{"protectedSession"}},
    };
};

template <> struct EnumTable<ConfidenceLevel> {
    static constexpr std::array entries{
        std::pair{ConfidenceLevel::low, std::string_view{"low"}},
        std::pair{ConfidenceLevel::medium, std::string_view{"medium"}},
        std::pair{ConfidenceLevel::high, std::string_view{"high"}},
        std::pair{ConfidenceLevel::veryHigh, std::string_view{"veryHigh"}},
    };
};

template <> struct EnumTable<CurvatureCode> {
    static constexpr std::array entries{
        std::pair{CurvatureCode::accelerating, std::string_view{"accelerating"}},
        std::pair{CurvatureCode::decelerating, std::string_view{"decelerating"}},
        std::pair{CurvatureCode::steady, std::string_view{"steady"}},
    };
};

template <> struct EnumTable<HistoryCode> {
    static constexpr std::array entries{
        std::pair{HistoryCode::unavailable, std::string_view{"unavailable"}},
        std::pair{HistoryCode::noIncidents, std::string_view{"noIncidents"}},
        std::pair{HistoryCode::incidents, std::string_view{"incidents"}},
        std::pair{HistoryCode::typicalThisSession, std::string_view{"typicalThisSession"}},
    };
};

template <> struct EnumTable<HeadlineCode> {
    static constexpr std::array entries{
        std::pair{HeadlineCode::keepsGrowing, std::string_view{"keepsGrowing"}},
        std::pair{HeadlineCode::runningAway, std::string_view{"runningAway"}},
    };
};

template <> struct EnumTable<TimelineCode> {
    static constexpr std::array entries{
        std::pair{TimelineCode::seen, std::string_view{"seen"}},
        std::pair{TimelineCode::now, std::string_view{"now"}},
        std::pair{TimelineCode::event, std::string_view{"event"}},
    };
};

template <> struct EnumTable<VictimCode> {
    static constexpr std::array entries{
        std::pair{VictimCode::ourApp, std::string_view{"ourApp"}},
        std::pair{VictimCode::anotherUser, std::string_view{"anotherUser"}},
    };
};

template <> struct EnumTable<ReasonCode> {
    static constexpr std::array entries{
        std::pair{ReasonCode::notEnoughSamples, std::string_view{"notEnoughSamples"}},
        std::pair{ReasonCode::growingMember, std::string_view{"growingMember"}},
        std::pair{ReasonCode::stairs, std::string_view{"stairs"}},
        std::pair{ReasonCode::sawtoothFloor, std::string_view{"sawtoothFloor"}},
        std::pair{ReasonCode::floorSteadiness, std::string_view{"floorSteadiness"}},
        std::pair{ReasonCode::medianRate, std::string_view{"medianRate"}},
        std::pair{ReasonCode::medianSteadiness, std::string_view{"medianSteadiness"}},
        std::pair{ReasonCode::sharedGrowth, std::string_view{"sharedGrowth"}},
        std::pair{ReasonCode::sharedPart, std::string_view{"sharedPart"}},
        std::pair{ReasonCode::growthStopped, std::string_view{"growthStopped"}},
        std::pair{ReasonCode::young, std::string_view{"young"}},
        std::pair{ReasonCode::revisited, std::string_view{"revisited"}},
        std::pair{ReasonCode::decelerating, std::string_view{"decelerating"}},
        std::pair{ReasonCode::oneStep, std::string_view{"oneStep"}},
        std::pair{ReasonCode::allocateAndFree, std::string_view{"allocateAndFree"}},
        std::pair{ReasonCode::hourRate, std::string_view{"hourRate"}},
        std::pair{ReasonCode::sixHourRate, std::string_view{"sixHourRate"}},
        std::pair{ReasonCode::baseline, std::string_view{"baseline"}},
        std::pair{ReasonCode::idle, std::string_view{"idle"}},
        std::pair{ReasonCode::exhaustion, std::string_view{"exhaustion"}},
        std::pair{ReasonCode::familyAsWhole, std::string_view{"familyAsWhole"}},
        std::pair{ReasonCode::endedFirst, std::string_view{"endedFirst"}},
        std::pair{ReasonCode::exited, std::string_view{"exited"}},
        std::pair{ReasonCode::collectingSamples, std::string_view{"collectingSamples"}},
        std::pair{ReasonCode::growthSummary, std::string_view{"growthSummary"}},
        std::pair{ReasonCode::memberGrowthSummary, std::string_view{"memberGrowthSummary"}},
        std::pair{ReasonCode::selfCheckTarget, std::string_view{"selfCheckTarget"}},
    };
};

template <WireEnum E> struct Coded;

// The named figures a code carries; each code uses the few it needs. Sizes in KiB, rates in
// KiB per second, spans in seconds, shares as fractions of one.
struct CodeFigures {
    std::optional<double> rateKiBPerSecond{};
    std::optional<double> seconds{};
    std::optional<double> stoppedSeconds{};
    std::optional<double> fraction{};
    std::optional<int64_t> trend{}; // trend strength, 0 to 100
    std::optional<int64_t> count{};
    std::optional<int64_t> criticalCount{};
    std::optional<int64_t> score{};
    std::optional<int64_t> pid{};
    std::optional<std::string> name{}; // a process name as the system reports it
    std::optional<double> footprintKiB{};
    std::optional<double> familyKiB{}; // the whole family's, beside one member's footprintKiB
    std::optional<double> typicalKiB{};
    std::optional<double> sharedKiB{};
    std::optional<double> growthKiB{};
    std::optional<double> multiple{};
    std::optional<OpenCode<FindingVerdict>> verdict{};
    std::optional<bool> idle{}; // memory rose while CPU time barely moved
    // A code that qualifies this one, such as the shape of a family's own growth.
    std::vector<Coded<ReasonCode>> parts{};

    bool operator==(const CodeFigures&) const;
};

// A code with its figures: {"code": "medianRate", "rateKiBPerSecond": 140.5}.
template <WireEnum E> struct Coded {
    OpenCode<E> code;
    CodeFigures figures;

    bool operator==(const Coded&) const = default;
};

// The incident's lines as codes: each present one stands for its text line.
struct IncidentCodes {
    std::optional<CodeFigures> decision; // verdict, and the rate when one is measured
    std::optional<OpenCode<CauseCode>> cause;
    std::optional<Coded<HistoryCode>> history;
    std::optional<CodeFigures> change; // growthKiB over seconds
    std::optional<OpenCode<NextStepCode>> nextStep;
    // The last action's outcome in the action's own words, without the lead-in of its line.
    std::optional<std::string> outcome;
    std::vector<Coded<ReasonCode>> reasons;           // one per why-line, in the same order
    std::optional<OpenCode<HeadlineCode>> headline{}; // of the incident's suspectTitle
    std::optional<CodeFigures> impact{}; // footprintKiB, and seconds until memory runs out

    bool operator==(const IncidentCodes&) const = default;
};

// A row's figures beside its texts.
struct FindingCodes {
    std::optional<OpenCode<ConfidenceLevel>> confidence;
    std::optional<int64_t> score;
    std::optional<double> rateKiBPerSecond;
    std::optional<double> footprintKiB;
    std::optional<double> exhaustionSeconds;
    std::optional<double> growthSeconds;
    std::optional<OpenCode<CurvatureCode>> curvature;
    std::optional<Coded<ReasonCode>> explanation{}; // the row's one-sentence summary
    // A row without a confidence (a self-check target's, which is not judged) says whether its
    // rate is measured yet: false while the row's rate reads "N/A".
    std::optional<bool> rateMeasured;

    bool operator==(const FindingCodes&) const = default;
};

// The figures are the fields of the object that holds them, beside its "code".
CodeFigures readFigures(const ObjectReader& in);
ObjectWriter& writeFigures(ObjectWriter& out, const CodeFigures& figures);

template <WireEnum E> struct Codec<Coded<E>> {
    static Coded<E> decode(const Json& json) {
        const ObjectReader in(json);
        return {.code = in.required<OpenCode<E>>("code"), .figures = readFigures(in)};
    }
    static Json encode(const Coded<E>& value) {
        ObjectWriter out;
        out.field("code", value.code);
        return writeFigures(out, value.figures).done();
    }
};

template <> struct Codec<CodeFigures> {
    static CodeFigures decode(const Json& json) { return readFigures(ObjectReader(json)); }
    static Json encode(const CodeFigures& value) {
        ObjectWriter out;
        return writeFigures(out, value).done();
    }
};

IncidentCodes decodeRecord(const Json& json, std::type_identity<IncidentCodes>);
Json encodeRecord(const IncidentCodes& value);
FindingCodes decodeRecord(const Json& json, std::type_identity<FindingCodes>);
Json encodeRecord(const FindingCodes& value);

} // namespace velmora
