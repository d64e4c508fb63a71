// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// One file the monitor keeps in the data folder on a family's behalf (an evidence capture).
struct ArtifactRecord {
    int64_t id = 0;
    std::string familyKey; // empty when the family's history is gone
    std::string familyTitle;
    std::string path;
    std::string kind = "evidence";
    uint64_t sizeBytes = 0;
    int64_t createdMs = 0;

    // "48 KB", "1.2 GB": the size as the footer writes sizes.
    std::string sizeLabel() const;
    // "Evidence JSON".
    std::string typeLabel() const;
    // The facts for the detail's artifact boundary: path, size and type, one line each.
    std::vector<std::string> metaLines() const;

    bool operator==(const ArtifactRecord&) const = default;
};

} // namespace velmora
