// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/actions/ArtifactWriter.h"

#include "model/Codec.h"
#include "monitor/actions/SeriesCsv.h"
#include "monitor/common/DisplayText.h"
#include "monitor/config/MonitorPaths.h"
#include "monitor/proc/ProcParsers.h"

#include <algorithm>
#include <ctime>

namespace velmora {
namespace {

constexpr std::size_t kSmapsLimit = 32 * 1024 * 1024;

std::string stamp(double wallNow) {
    auto t = static_cast<std::time_t>(wallNow);
    std::tm utc{};
    gmtime_r(&t, &utc);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y%m%dT%H%M%SZ", &utc);
    return buf;
}

// The mappings of /proc/PID/smaps with the most anonymous memory, largest first.
Json largestAnonymousMappings(const std::string& smaps, std::size_t count) {
    std::vector<std::pair<uint64_t, std::string>> mappings;
    std::string header;
    std::size_t pos = 0;
    while (pos < smaps.size()) {
        std::size_t nl = smaps.find('\n', pos);
        std::string_view line(smaps.data() + pos,
                              (nl == std::string::npos ? smaps.size() : nl) - pos);
        if (!line.empty() && std::isxdigit(static_cast<unsigned char>(line[0])) &&
            line.find('-') != std::string_view::npos && line.find(':') > line.find(' ')) {
            header = std::string(line);
        } else if (line.rfind("Anonymous:", 0) == 0) {
            if (auto kib = parseKiBField(line, "Anonymous:"); kib && *kib > 0) {
                mappings.emplace_back(*kib, header);
            }
        }
        if (nl == std::string::npos) {
            break;
        }
        pos = nl + 1;
    }
    std::sort(mappings.begin(), mappings.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    Json out = Json::array();
    for (std::size_t i = 0; i < mappings.size() && i < count; ++i) {
        out.push_back({{"mapping", displayText(mappings[i].second, 512)},
                       {"anonymousKiB", mappings[i].first}});
    }
    return out;
}

} // namespace

std::string fileSafe(const std::string& text) {
    std::string out;
    for (char c : text) {
        bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '_' || c == '.';
        out.push_back(safe ? c : '_');
        if (out.size() >= 80) {
            break;
        }
    }
    return out.empty() ? "family" : out;
}

ArtifactWriter::ArtifactWriter(const ProcRoot& root, std::string artifactsDir,
                               std::string reportsDir)
    : root_(root), artifactsDir_(std::move(artifactsDir)), reportsDir_(std::move(reportsDir)) {}

std::optional<CapturedArtifact> ArtifactWriter::captureEvidence(const FamilyView& family,
                                                                double wallNow,
                                                                std::string& error) const {
    Json processes = Json::array();
    for (std::size_t i = 0; i < family.members.size() && i < 16; ++i) {
        const MemberView& member = family.members[i];
        pid_t pid = member.identity.pid;
        Json entry{{"pid", pid},
                   {"startTime", member.identity.startTime},
                   {"name", member.name},
                   {"commandLine", member.cmdline}};
        for (const char* file : {"smaps_rollup", "status"}) {
            if (auto text = root_.readWholePidFile(pid, file, 1 << 20)) {
                entry[file] = displayText(*text, 1 << 20);
            }
        }
        if (auto smaps = root_.readWholePidFile(pid, "smaps", kSmapsLimit)) {
            entry["largestAnonymousMappings"] = largestAnonymousMappings(*smaps, 10);
        }
        processes.push_back(std::move(entry));
    }
    Json document{{"family", family.key},
                  {"title", family.title},
                  {"capturedAt", stamp(wallNow)},
                  {"footprintKiB", family.footprintKiB},
                  {"score", family.assessment.score},
                  {"processes", std::move(processes)}};
    std::string path = artifactsDir_ + "/" + fileSafe(family.key) + "-" + stamp(wallNow) + ".json";
    std::string text = document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
    if (!saveFile(path, text, error)) {
        return std::nullopt;
    }
    return CapturedArtifact{path, wallNow, text.size(),
                            std::min<std::size_t>(family.members.size(), 16)};
}

std::optional<std::string> ArtifactWriter::exportReport(const PopoverSnapshot& snapshot,
                                                        double wallNow, std::string& error,
                                                        const Json& whereItGrows) const {
    Json document{{"generatedAt", stamp(wallNow)}, {"snapshot", encode(snapshot)}};
    if (!whereItGrows.empty()) {
        document["whereItGrows"] = whereItGrows;
    }
    const std::string base = reportsDir_ + "/velmora-report-" + stamp(wallNow);
    // The open detail's memory goes beside the report as CSV, so a bug report can carry the
    // curve.
    const auto& detail = snapshot.selectedDetail;
    if (detail && detail->memorySeries && !detail->memorySeries->footprintKiB.empty()) {
        const std::string csvPath = base + ".csv";
        if (!saveFile(csvPath, memorySeriesCsv(*detail->memorySeries), error)) {
            return std::nullopt;
        }
        document["memorySeriesCsv"] = csvPath;
    }
    std::string path = base + ".json";
    if (!saveFile(path, document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n",
                  error)) {
        return std::nullopt;
    }
    return path;
}

} // namespace velmora
