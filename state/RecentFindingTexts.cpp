// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/RecentFindingTexts.h"

#include "base/Translate.h"
#include "state/AgoTexts.h"

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

std::string recentStatusLabel(const RecentFindingSnapshot& finding) {
    auto composed = finding.codes ? recentStatusText(*finding.codes) : std::nullopt;
    return composed ? *composed : finding.statusLabel;
}

std::string recentLastSeenText(const RecentFindingSnapshot& finding) {
    auto composed = finding.codes ? recentAgeText(*finding.codes) : std::nullopt;
    return composed ? *composed : finding.lastSeenText;
}

} // namespace velmora
