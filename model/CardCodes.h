// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The incident card's own texts as codes and figures, sent beside them: the calm card, who the
// card is about, its evidence line, its confidence and ladder, its figures and how it samples.
// The app composes its texts from these; a code this build does not know decodes as unknown
// and the monitor's text is shown instead.

#include "model/JsonReader.h"
#include "model/OpenCode.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// What kind of card it is: the calm card says its stage, headline and why-lines by this alone.
enum class CardKindCode { calm };

// Who the card is about, in its attribution line.
enum class AttributionCode { waiting, watching, processes, appScope, workspace, underPid };

// The evidence line at the card's top.
enum class EvidenceCode { notNeeded, notYet, captured };

// How sure the card is: passively watching, or a scored suspect.
enum class CardConfidenceCode { passive, scored };

// One rung of the confidence ladder.
enum class LadderStepCode { growth, steadiness, trend, evidence };

// One of the card's figures.
enum class CardMetricCode { footprint, growth, typical, score, headroom, unavailable };

template <> struct EnumTable<CardKindCode> {
    static constexpr std::array entries{
        std::pair{CardKindCode::calm, std::string_view{"calm"}},
    };
};

template <> struct EnumTable<AttributionCode> {
    static constexpr std::array entries{
        std::pair{AttributionCode::waiting, std::string_view{"waiting"}},
        std::pair{AttributionCode::watching, std::string_view{"watching"}},
        std::pair{AttributionCode::processes, std::string_view{"processes"}},
        std::pair{AttributionCode::appScope, std::string_view{"appScope"}},
        std::pair{AttributionCode::workspace, std::string_view{"workspace"}},
        std::pair{AttributionCode::underPid, std::string_view{"underPid"}},
    };
};

template <> struct EnumTable<EvidenceCode> {
    static constexpr std::array entries{
        std::pair{EvidenceCode::notNeeded, std::string_view{"notNeeded"}},
        std::pair{EvidenceCode::notYet, std::string_view{"notYet"}},
        std::pair{EvidenceCode::captured, std::string_view{"captured"}},
    };
};

template <> struct EnumTable<CardConfidenceCode> {
    static constexpr std::array entries{
        std::pair{CardConfidenceCode::passive, std::string_view{"passive"}},
        std::pair{CardConfidenceCode::scored, std::string_view{"scored"}},
    };
};

template <> struct EnumTable<LadderStepCode> {
    static constexpr std::array entries{
        std::pair{LadderStepCode::growth, std::string_view{"growth"}},
        std::pair{LadderStepCode::steadiness, std::string_view{"steadiness"}},
        std::pair{LadderStepCode::trend, std::string_view{"trend"}},
        std::pair{LadderStepCode::evidence, std::string_view{"evidence"}},
    };
};

template <> struct EnumTable<CardMetricCode> {
    static constexpr std::array entries{
        std::pair{CardMetricCode::footprint, std::string_view{"footprint"}},
        std::pair{CardMetricCode::growth, std::string_view{"growth"}},
        std::pair{CardMetricCode::typical, std::string_view{"typical"}},
        std::pair{CardMetricCode::score, std::string_view{"score"}},
        std::pair{CardMetricCode::headroom, std::string_view{"headroom"}},
        std::pair{CardMetricCode::unavailable, std::string_view{"unavailable"}},
    };
};

// The figures a card code carries; each code uses the few it needs. Sizes in KiB, rates in KiB
// per second, spans in seconds, shares as fractions of one, moments in seconds since 1970.
struct CardFigures {
    std::optional<int64_t> count{};       // processes
    std::optional<int64_t> familyCount{}; // with watching
    std::optional<int64_t> pid{};
    std::optional<std::string> name{}; // an app scope, a folder or a path, as the system names it
    std::optional<int64_t> score{};    // 0 to 100
    std::optional<int64_t> trend{};    // trend strength, 0 to 100
    std::optional<double> rateKiBPerSecond{};
    std::optional<double> fraction{};
    std::optional<double> footprintKiB{};
    std::optional<double> typicalKiB{};
    std::optional<double> availableKiB{};
    std::optional<double> totalKiB{};
    std::optional<double> seconds{};
    std::optional<double> capturedAt{};
    std::optional<bool> today{}; // with capturedAt: the moment fell on the day of the answer

    bool operator==(const CardFigures&) const = default;
};

// A card code with its figures: {"code": "footprint", "footprintKiB": 1992294}.
template <WireEnum E> struct CardCoded {
    OpenCode<E> code;
    CardFigures figures;

    bool operator==(const CardCoded&) const = default;
};

// The card's texts as codes: each present one stands for its text.
struct CardCodes {
    std::optional<OpenCode<CardKindCode>> kind;              // stage, headline, why-lines
    std::optional<CardCoded<AttributionCode>> attribution;   // attributionLine
    std::optional<CardCoded<EvidenceCode>> evidence;         // evidenceLabel
    std::optional<CardCoded<CardConfidenceCode>> confidence; // confidenceLabel
    std::vector<CardCoded<LadderStepCode>> steps;            // confidenceSteps, one for one
    std::vector<CardCoded<CardMetricCode>> metrics;          // primaryMetrics, one for one
    std::optional<CardFigures> largest;                      // pid and footprintKiB
    std::optional<CardFigures> sampling;                     // name (the path) and seconds

    bool operator==(const CardCodes&) const = default;
};

CardFigures readCardFigures(const ObjectReader& in);
ObjectWriter& writeCardFigures(ObjectWriter& out, const CardFigures& figures);

template <WireEnum E> struct Codec<CardCoded<E>> {
    static CardCoded<E> decode(const Json& json) {
        const ObjectReader in(json);
        return {.code = in.required<OpenCode<E>>("code"), .figures = readCardFigures(in)};
    }
    static Json encode(const CardCoded<E>& value) {
        ObjectWriter out;
        out.field("code", value.code);
        return writeCardFigures(out, value.figures).done();
    }
};

template <> struct Codec<CardFigures> {
    static CardFigures decode(const Json& json) { return readCardFigures(ObjectReader(json)); }
    static Json encode(const CardFigures& value) {
        ObjectWriter out;
        return writeCardFigures(out, value).done();
    }
};

CardCodes decodeRecord(const Json& json, std::type_identity<CardCodes>);
Json encodeRecord(const CardCodes& value);

// The calm card's codes: waiting for the first pass, passive, no figures yet.
CardCodes calmCardCodes();

} // namespace velmora
