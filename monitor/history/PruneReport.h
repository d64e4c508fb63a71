// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// What one prune removed, and whether every budget holds afterwards.
struct PruneReport {
    int64_t historyRowsRemoved = 0;
    std::vector<std::filesystem::path> artifactsRemoved;
    std::vector<std::filesystem::path> reportsRemoved;
    std::vector<std::filesystem::path> logsRemoved;
    std::vector<std::filesystem::path> setAsideRemoved; // damaged databases moved aside earlier
    uint64_t bytesBefore = 0;
    uint64_t bytesAfter = 0;
    // False when the folder is still over a budget with nothing left that may go (the last
    // day of history is always kept).
    bool budgetsHeld = true;
    // Set when the history database could not be pruned.
    std::optional<std::string> historyError;
};

} // namespace velmora
