// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/RecentFindingTexts.h"

#include "base/ClockText.h"
#include "base/Translate.h"
#include "state/AgoTexts.h"
#include "state/LocalFigures.h"
#include "state/ReasonTexts.h"

namespace velmora {

std::optional<std::string> recentStatusText(const RecentFindingCodes& codes) {
    const auto status = knownCode(codes.status);
    if (!status) {
        return std::nullopt;
    }
    switch (*status) {
    case RecentStatusCode::outOfMemory:
        //: A recent finding's status: the kernel ended the app when memory ran out.
        return translate("RecentFindingTexts", "Ended: out of memory");
    case RecentStatusCode::processEnded:
        //: A recent finding's status: the app's processes exited.
        return translate("RecentFindingTexts", "Process ended");
    case RecentStatusCode::growthStopped:
        //: A recent finding's status: the app's memory stopped growing.
        return translate("RecentFindingTexts", "Growth stopped");
    }
    return std::nullopt;
}

std::optional<std::string> recentAgeText(const RecentFindingCodes& codes) {
    if (!codes.agoSeconds) {
        return std::nullopt;
    }
    return translatedAgo(*codes.agoSeconds, kFindingAgo);
}

std::optional<std::string> recentExplanationText(const RecentExplanationCodes& codes) {
    if (!codes.code.known) {
        return std::nullopt;
    }
    switch (*codes.code.known) {
    case RecentExplanationCode::outOfMemoryKill:
        if (!codes.wallSeconds || !codes.footprintKiB) {
            return std::nullopt;
        }
        //: %1 is a time of day, as in "14:02", %2 the app's memory then, as in "3.2 GB".
        return withArguments(
            translate("RecentFindingTexts", "Ended by the out-of-memory killer at %1 with %2."),
            {clockText(*codes.wallSeconds), localSize(*codes.footprintKiB)});
    case RecentExplanationCode::departed:
        if (!knownCode(codes.verdict)) {
            return std::nullopt;
        }
        //: %1 is the verdict the app reached, as in "Probable leak".
        return withArguments(
            translate("RecentFindingTexts", "%1 earlier; no longer in the live rows."),
            {verdictText(*codes.verdict->known)});
    }
    return std::nullopt;
}

std::string recentStatusLabel(const RecentFindingSnapshot& finding) {
    auto composed = finding.codes ? recentStatusText(*finding.codes) : std::nullopt;
    return composed ? *composed : finding.statusLabel;
}

std::string recentLastSeenText(const RecentFindingSnapshot& finding) {
    auto composed = finding.codes ? recentAgeText(*finding.codes) : std::nullopt;
    return composed ? *composed : finding.lastSeenText;
}

std::string recentExplanation(const RecentFindingSnapshot& finding) {
    auto composed =
        finding.explanationCode ? recentExplanationText(*finding.explanationCode) : std::nullopt;
    return composed ? *composed : finding.explanation;
}

} // namespace velmora
