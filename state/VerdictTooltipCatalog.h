// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/VerdictTooltip.h"

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The verdict explanations read from "VerdictTooltips.txt". The text is a list of sections:
//
//     [watch]
//     title = Watch: memory is climbing slowly
//     meaning = ...
//     wrong = ...
//     posture = ...
//
// A line is split at every kind of line break and trimmed; empty lines are skipped. "[id]"
// opens a section; "key = value" sets a field (only the first "=" separates, keys are
// case-sensitive, a repeated key replaces the earlier value); any other line is a comment.
// A section becomes a tooltip only with all four keys; a later section with the same id
// replaces an earlier one; fields before the first header are ignored.
struct VerdictTooltipCatalog {
    std::map<std::string, VerdictTooltip, std::less<>> tooltips;

    static VerdictTooltipCatalog parse(std::string_view text);

    // The catalog of a file; a missing or unreadable file, or one that is not UTF-8, gives an
    // empty catalog. A leading byte-order mark is ignored.
    static VerdictTooltipCatalog load(const std::filesystem::path& file);

    // The catalog of the installed "VerdictTooltips.txt", read on first use and kept for the
    // life of the process. Safe to call from any thread.
    static const VerdictTooltipCatalog& bundled();

    // The ids shown to the user, in the order they are listed.
    static const std::vector<std::string>& listedIDs();

    // The tooltips of listedIDs() that the catalog holds, in that order.
    std::vector<VerdictTooltip> orderedTooltips() const;

    const VerdictTooltip* find(std::string_view id) const;

    bool operator==(const VerdictTooltipCatalog&) const = default;
};

} // namespace velmora
