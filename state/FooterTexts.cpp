// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/FooterTexts.h"

#include "base/Translate.h"
#include "state/AgoTexts.h"
#include "state/LocalFigures.h"

namespace velmora {

std::optional<std::string> storageText(const FooterCodes& codes) {
    if (!codes.storageBytes) {
        return std::nullopt;
    }
    //: The footer chip with the size of Velmora's data folder: "Storage 381 MB".
    return withArguments(translate("FooterTexts", "Storage %1"),
                         {localByteSize(*codes.storageBytes)});
}

std::optional<std::string> pruneText(const FooterCodes& codes) {
    const auto prune = knownCode(codes.prune);
    if (!prune) {
        return std::nullopt;
    }
    switch (*prune) {
    case PruneCode::pending:
        //: The footer chip before the history has dropped its old records for the first time.
        return translate("FooterTexts", "Prune pending");
    case PruneCode::done:
        if (!codes.pruneAgoSeconds) {
            return std::nullopt;
        }
        //: The footer chip: when the history last dropped its old records; %1 is "2h ago".
        return withArguments(translate("FooterTexts", "Last prune %1"),
                             {translatedAgo(*codes.pruneAgoSeconds, kHistoryAgo)});
    }
    return std::nullopt;
}

std::string storageChipText(const FooterTelemetrySnapshot& footer) {
    auto composed = footer.codes ? storageText(*footer.codes) : std::nullopt;
    return composed ? *composed : footer.storageText;
}

std::string pruneChipText(const FooterTelemetrySnapshot& footer) {
    auto composed = footer.codes ? pruneText(*footer.codes) : std::nullopt;
    return composed ? *composed : footer.pruneText;
}

} // namespace velmora
