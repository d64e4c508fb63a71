// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionDescriptor.h"
#include "model/WhereCodes.h"
#include "model/WireEnum.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

struct NextCommandDescriptor;

// Where heap tracking of a finding stands: under way, finished with its sites, or not possible
// (with the reason and what would work instead).
enum class WhereStage { running, done, blocked };

template <> struct EnumTable<WhereStage> {
    static constexpr std::array entries{
        std::pair{WhereStage::running, std::string_view{"running"}},
        std::pair{WhereStage::done, std::string_view{"done"}},
        std::pair{WhereStage::blocked, std::string_view{"blocked"}},
    };
};

// One allocation site that kept memory while it was tracked: the plain-words line ("cache.cpp:5
// in leakyCacheInsert() kept 19.1 MB over 73 calls") and its call stack from the site outwards,
// one frame a line. Both keys are required.
struct WhereSiteSnapshot {
    std::string headline;
    std::vector<std::string> stack;

    bool operator==(const WhereSiteSnapshot&) const = default;
};

// The "Where it grows" section of a detail. `stage` and `status` are required, the rest
// defaulted: `progress` (0 to 1) only while tracking runs, the sites once done, notes on what
// happened on the way, commands a person can run themselves, and the section's actions (stop,
// copy the report, open the recording, restart under tracking). `codes` carries the status and
// notes as codes and figures, from which the app composes them.
struct WhereItGrowsBlock {
    WhereStage stage = WhereStage::running;
    std::string status;
    std::optional<double> progress;
    std::vector<WhereSiteSnapshot> sites;
    std::vector<std::string> notes;
    std::vector<NextCommandDescriptor> commands;
    std::vector<ActionDescriptor> actions;
    std::optional<WhereCodes> codes = std::nullopt;

    bool operator==(const WhereItGrowsBlock&) const;
};

} // namespace velmora
