// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionCodes.h"

#include <vector>

namespace velmora {

// One English pattern of a code table and the figures its place markers stand for.
struct PatternEntry {
    const char* text;
    std::vector<ActionFigure> figures;
};

// The pattern of `code` in `table`, which holds one entry per case in the order of its
// enumeration; its text is marked for the catalogue under `context`.
template <WireEnum E>
ActionPattern patternIn(const char* context, const std::vector<PatternEntry>& table, E code) {
    const PatternEntry& entry = table.at(static_cast<std::size_t>(code));
    return {context, entry.text, entry.figures};
}

} // namespace velmora
