// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/PopoverSnapshot.h"

#include <optional>
#include <string>

namespace velmora {

// The footer's storage and prune chips composed from the monitor's figures, in English word for
// word as the monitor writes them. The composers give none for missing figures or an unknown
// code; the chips then show the monitor's own text.

// "Storage 381 MB".
std::optional<std::string> storageText(const FooterCodes& codes);
// "Last prune 2h ago", "Prune pending".
std::optional<std::string> pruneText(const FooterCodes& codes);

// What the chips show: the composed text, else the monitor's.
std::string storageChipText(const FooterTelemetrySnapshot& footer);
std::string pruneChipText(const FooterTelemetrySnapshot& footer);

} // namespace velmora
