// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/RowTexts.h"

#include "base/Translate.h"
#include "state/LocalFigures.h"

namespace velmora {
namespace {

// One whole pattern a level, so that a language may put the score wherever it wants it.
const char* confidencePattern(ConfidenceLevel level) {
    switch (level) {
    case ConfidenceLevel::low:
        //: How sure a verdict is, with its score out of 100 (a row's pill, the detail's verdict).
        return VELMORA_TRANSLATE_NOOP("RowTexts", "Low confidence · score %1");
    case ConfidenceLevel::medium:
        //: How sure a verdict is, with its score out of 100 (a row's pill, the detail's verdict).
        return VELMORA_TRANSLATE_NOOP("RowTexts", "Medium confidence · score %1");
    case ConfidenceLevel::high:
        //: How sure a verdict is, with its score out of 100 (a row's pill, the detail's verdict).
        return VELMORA_TRANSLATE_NOOP("RowTexts", "High confidence · score %1");
    case ConfidenceLevel::veryHigh:
        //: How sure a verdict is, with its score out of 100 (a row's pill, the detail's verdict).
        return VELMORA_TRANSLATE_NOOP("RowTexts", "Very high confidence · score %1");
    }
    return nullptr;
}

// What `compose` says of the row's codes, or none when the row has no codes.
std::optional<std::string> fromCodes(const FindingSnapshot& row,
                                     std::optional<std::string> (*compose)(const FindingCodes&)) {
    return row.codes ? compose(*row.codes) : std::nullopt;
}

} // namespace

std::string rateOrNotMeasured(std::optional<double> kibPerSecond) {
    if (kibPerSecond) {
        return localRate(*kibPerSecond);
    }
    //: A growth rate before there are samples enough to measure it: not available.
    return translate("RowTexts", "N/A");
}

bool saysRate(const FindingCodes& codes) {
    // An older monitor sent a self-check row's rate as text alone.
    return codes.rateKiBPerSecond || codes.confidence || codes.rateMeasured;
}

std::optional<std::string> rowRateText(const FindingCodes& codes) {
    if (!saysRate(codes)) {
        return std::nullopt;
    }
    return rateOrNotMeasured(codes.rateKiBPerSecond);
}

std::string confidenceText(ConfidenceLevel level, int64_t score) {
    return withArguments(translate("RowTexts", confidencePattern(level)), {std::to_string(score)});
}

std::optional<std::string> confidenceText(const FindingCodes& codes) {
    const auto level = knownCode(codes.confidence);
    if (!level || !codes.score) {
        return std::nullopt;
    }
    return confidenceText(*level, *codes.score);
}

std::optional<std::string> curvatureText(const FindingCodes& codes) {
    const auto curvature = knownCode(codes.curvature);
    if (!curvature) {
        return std::nullopt;
    }
    switch (*curvature) {
    case CurvatureCode::accelerating:
        //: The chip of a row whose memory grows faster and faster.
        return translate("RowTexts", "Accelerating growth");
    case CurvatureCode::decelerating:
        //: The chip of a row whose memory still grows, but more and more slowly.
        return translate("RowTexts", "Decelerating growth");
    case CurvatureCode::steady:
        //: The chip of a row whose memory grows at an even pace.
        return translate("RowTexts", "Steady growth");
    }
    return std::nullopt;
}

std::string rowRateShown(const FindingSnapshot& row) {
    return fromCodes(row, rowRateText).value_or(row.rate);
}

std::string confidencePillShown(const FindingSnapshot& row) {
    return fromCodes(row, confidenceText).value_or(row.confidencePillLabel);
}

std::optional<std::string> curvatureShown(const FindingSnapshot& row) {
    // The chip shows only while the monitor says the growth bends at all.
    if (!row.curvatureLabel) {
        return std::nullopt;
    }
    return fromCodes(row, curvatureText).value_or(*row.curvatureLabel);
}

} // namespace velmora
