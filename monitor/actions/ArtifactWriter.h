// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Json.h"
#include "model/PopoverSnapshot.h"
#include "monitor/compose/InteractionState.h"
#include "monitor/live/LiveView.h"
#include "monitor/proc/ProcRoot.h"

#include <optional>
#include <string>

namespace velmora {

// Writes evidence artifacts (each process's smaps_rollup, status, largest anonymous mappings
// and command line) and exported reports as JSON files, atomically.
class ArtifactWriter {
public:
    ArtifactWriter(const ProcRoot& root, std::string artifactsDir, std::string reportsDir);

    std::optional<CapturedArtifact> captureEvidence(const FamilyView& family, double wallNow,
                                                    std::string& error) const;
    // `whereItGrows`: the heap-tracking reports to include (an array, left out when empty).
    std::optional<std::string> exportReport(const PopoverSnapshot& snapshot, double wallNow,
                                            std::string& error,
                                            const Json& whereItGrows = Json::array()) const;

private:
    const ProcRoot& root_;
    std::string artifactsDir_;
    std::string reportsDir_;
};

// A file-name-safe form of a family key.
std::string fileSafe(const std::string& text);

} // namespace velmora
