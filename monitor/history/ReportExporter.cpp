// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/ReportExporter.h"

#include "base/AtomicFile.h"
#include "model/Codec.h"
#include "monitor/history/AdvancedHistory.h"
#include "monitor/history/FreshPath.h"
#include "monitor/history/HistoryStore.h"
#include "monitor/history/UtcStamp.h"

namespace velmora {

Outcome<std::filesystem::path> ReportExporter::exportReport(const Json& liveRows,
                                                            const std::set<std::string>& liveKeys) {
    if (!folder_.ensureExists()) {
        return Failure{"Could not create the reports folder " + folder_.reports().string()};
    }
    int64_t now = store_.now();
    Json document{{"kind", "velmora.report"},
                  {"version", 1},
                  {"generatedAtMs", now},
                  {"generatedAt", utcIsoTime(now)},
                  {"live", liveRows}};
    auto history = AdvancedHistory(store_).snapshot(std::nullopt, liveKeys);
    if (history) {
        document["history"] = encode(history.value());
    } else {
        document["historyError"] = history.error().message;
    }
    auto path = freshJsonPath(folder_.reports(), "report-" + utcStamp(now));
    if (auto failed = writeFileAtomically(
            path, document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n", 0600, now)) {
        return Failure{failed->message};
    }
    return path;
}

} // namespace velmora
