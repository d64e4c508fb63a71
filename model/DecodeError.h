// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace velmora {

// Why a JSON value could not be turned into a record, and where: `path` is the JSON path of
// the offending value ("rows[2].severity", empty for the document itself).
struct DecodeError {
    std::string path;
    std::string reason;

    // "rows[2].severity: unknown value \"warning\"", or just the reason when the path is empty.
    std::string text() const;

    bool operator==(const DecodeError&) const = default;
};

} // namespace velmora
