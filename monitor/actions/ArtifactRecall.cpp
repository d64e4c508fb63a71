// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/actions/ArtifactRecall.h"

#include <sys/stat.h>

namespace velmora {
namespace {

constexpr std::size_t kRecalledKeysKept = 4096;

} // namespace

void recallArtifacts(HistoryService& history, const LiveView& view, InteractionState& interaction) {
    if (interaction.artifactsRecalled.size() > kRecalledKeysKept) {
        interaction.artifactsRecalled.clear(); // a long day of short-lived families
    }
    for (const FamilyView& family : view.families) {
        if (family.smokeRole != SmokeRole::none ||
            !interaction.artifactsRecalled.insert(family.key).second ||
            interaction.artifacts.count(family.key) != 0) {
            continue;
        }
        auto stored = history.latestArtifact(family.key);
        struct stat info {};
        if (!stored || ::stat(stored->path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            continue;
        }
        CapturedArtifact artifact;
        artifact.path = stored->path;
        artifact.wallTime = static_cast<double>(stored->createdMs) / 1000.0;
        artifact.bytes = static_cast<uint64_t>(info.st_size);
        interaction.artifacts[family.key] = std::move(artifact);
    }
}

} // namespace velmora
