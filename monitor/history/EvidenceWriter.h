// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/history/ArtifactRecord.h"
#include "monitor/history/DataFolder.h"
#include "monitor/history/Outcome.h"
#include "monitor/history/ProcessEvidence.h"

#include <string>
#include <vector>

namespace velmora {

class HistoryStore;

// What one evidence capture holds: the family and the evidence of each of its processes
// (readProcessEvidence gives it for a live PID).
struct EvidenceRequest {
    std::string familyKey;
    std::string familyTitle;
    std::string reason; // why it was captured ("Captured on request.")
    std::vector<ProcessEvidence> processes;
};

// Writes an evidence capture as one JSON file under artifacts/ (atomically) and registers it
// in the history. The returned record gives the detail's artifact boundary its facts: the
// path, the size label and the type.
class EvidenceWriter {
public:
    EvidenceWriter(HistoryStore& store, DataFolder folder)
        : store_(store), folder_(std::move(folder)) {}

    // Fails only when the file could not be written; a file whose registration failed is still
    // returned (with id 0): the evidence is the file, retention finds it by its age.
    Outcome<ArtifactRecord> write(const EvidenceRequest& request);

private:
    HistoryStore& store_;
    DataFolder folder_;
};

} // namespace velmora
