// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/StorageFooter.h"

#include "monitor/history/ByteText.h"
#include "monitor/history/RelativeTime.h"

namespace velmora {

FooterTelemetrySnapshot storageFooter(uint64_t folderBytes, std::optional<int64_t> lastPruneMs,
                                      int64_t nowMs) {
    FooterTelemetrySnapshot footer;
    footer.storageText = "Storage " + byteSizeText(folderBytes);
    footer.pruneText =
        lastPruneMs ? "Last prune " + agoText(nowMs - *lastPruneMs) : "Prune pending";
    footer.codes.emplace();
    footer.codes->storageBytes = folderBytes;
    footer.codes->prune = lastPruneMs ? PruneCode::done : PruneCode::pending;
    if (lastPruneMs) {
        footer.codes->pruneAgoSeconds = static_cast<double>(nowMs - *lastPruneMs) / 1000.0;
    }
    return footer;
}

} // namespace velmora
