// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/EvidenceWriter.h"

#include "base/AtomicFile.h"
#include "base/Utf8.h"
#include "model/Json.h"
#include "monitor/history/FreshPath.h"
#include "monitor/history/HistoryStore.h"
#include "monitor/history/UtcStamp.h"

namespace velmora {

namespace {

Json mappingJson(const AnonymousMapping& mapping) {
    return Json{{"range", mapping.range},
                {"permissions", mapping.permissions},
                {"name", mapping.name},
                {"anonymousBytes", mapping.anonymousBytes},
                {"residentBytes", mapping.residentBytes}};
}

Json processJson(const ProcessEvidence& process) {
    Json mappings = Json::array();
    for (const auto& mapping : process.largestAnonymousMappings) {
        mappings.push_back(mappingJson(mapping));
    }
    return Json{{"pid", process.pid},
                {"commandLine", process.commandLine},
                {"smapsRollup", process.smapsRollup},
                {"status", process.status},
                {"largestAnonymousMappings", std::move(mappings)}};
}

} // namespace

Outcome<ArtifactRecord> EvidenceWriter::write(const EvidenceRequest& request) {
    if (!folder_.ensureExists()) {
        return Failure{"Could not create the artifacts folder " + folder_.artifacts().string()};
    }
    int64_t now = store_.now();
    Json processes = Json::array();
    for (const auto& process : request.processes) {
        processes.push_back(processJson(process));
    }
    Json document{{"kind", "velmora.evidence"},
                  {"version", 1},
                  {"familyKey", utf8::withInvalidReplaced(request.familyKey)},
                  {"familyTitle", utf8::withInvalidReplaced(request.familyTitle)},
                  {"reason", utf8::withInvalidReplaced(request.reason)},
                  {"capturedAtMs", now},
                  {"capturedAt", utcIsoTime(now)},
                  {"processes", std::move(processes)}};
    auto path = freshJsonPath(folder_.artifacts(),
                              "evidence-" + fileSlug(request.familyKey) + "-" + utcStamp(now));
    const std::string text = document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
    if (auto failed = writeFileAtomically(path, text, 0600, now)) {
        return Failure{failed->message};
    }
    ArtifactRecord artifact;
    artifact.familyKey = request.familyKey;
    artifact.familyTitle = request.familyTitle;
    artifact.path = path.string();
    artifact.kind = "evidence";
    artifact.sizeBytes = text.size();
    artifact.createdMs = now;
    if (auto id = store_.recordArtifact(artifact)) {
        artifact.id = id.value();
    }
    return artifact;
}

} // namespace velmora
