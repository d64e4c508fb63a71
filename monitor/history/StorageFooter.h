// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/PopoverSnapshot.h"

#include <cstdint>
#include <optional>

namespace velmora {

// The footer chips: "Storage 381 MB" (the data folder's size) and "Last prune 2h ago",
// "Last prune just now" or "Prune pending" before the first prune.
FooterTelemetrySnapshot storageFooter(uint64_t folderBytes, std::optional<int64_t> lastPruneMs,
                                      int64_t nowMs);

} // namespace velmora
