// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Json.h"
#include "monitor/history/DataFolder.h"
#include "monitor/history/Outcome.h"

#include <filesystem>
#include <set>
#include <string>

namespace velmora {

class HistoryStore;

// Writes a report under reports/ (atomically): the live rows the caller gives (already
// encoded, e.g. the snapshot's rows) and the advanced history of recurring offenders. A
// history that cannot be read is named in the report instead of failing the export.
class ReportExporter {
public:
    ReportExporter(HistoryStore& store, DataFolder folder)
        : store_(store), folder_(std::move(folder)) {}

    // The path of the written report.
    Outcome<std::filesystem::path> exportReport(const Json& liveRows,
                                                const std::set<std::string>& liveKeys);

private:
    HistoryStore& store_;
    DataFolder folder_;
};

} // namespace velmora
