// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/DetailBuilder.h"

#include "monitor/common/Formatting.h"
#include "monitor/compose/FamilyTexts.h"
#include "monitor/compose/ForecastTexts.h"
#include "monitor/compose/IncidentBuilder.h"
#include "monitor/compose/MemorySeriesSection.h"
#include "monitor/compose/WhereSection.h"

#include <algorithm>

namespace velmora {

std::vector<NextCommandDescriptor> nextCommandsOf(const FamilyView& family) {
    std::vector<NextCommandDescriptor> commands;
    if (family.members.empty()) {
        return commands;
    }
    const MemberView* grower = growingMemberOf(family);
    std::string pid = std::to_string((grower ? *grower : family.members.front()).identity.pid);
    commands.push_back(
        {"cat /proc/" + pid + "/smaps_rollup",
         grower ? "Anonymous, swapped and shared memory of the growing process right now."
                : "Anonymous, swapped and shared memory of the largest process right now.",
         makeAction(ActionId::copyCommand1, "Copy", ActionStyle::secondary, family.key)});
    commands.push_back(
        {"sort -k2 -n -r <(awk '/^[0-9a-f]/{m=$0} /^Anonymous:/{print m, $2}' "
         "/proc/" +
             pid + "/smaps) | head",
         "Its largest anonymous mappings, to see which allocation keeps growing.",
         makeAction(ActionId::copyCommand2, "Copy", ActionStyle::secondary, family.key)});
    return commands;
}

DetailSnapshot buildDetail(const ComposeContext& context, const std::string& key) {
    DetailSnapshot detail;
    detail.key = key;
    const FamilyView* family = context.family(key);
    if (family == nullptr) {
        detail.title = "No longer running";
        detail.verdictBlock = {
            "Ended", "Not sampled",
            "This family has no running processes now; nothing is left to act on."};
        detail.whyBlock.reasons = {"Its processes exited or were quit since the row was shown."};
        detail.whyBlock.reasonCodes = {{ReasonCode::exited, {}}};
        detail.whereItGrows = whereSection(context, key);
        return detail;
    }
    const FamilyAssessment& a = family->assessment;
    detail.title = family->title;
    ComposedExplanation explanation = composedExplanationOf(*family);
    detail.verdictBlock = {verdictLabel(a.verdict), confidenceLabel(a), std::move(explanation.text),
                           std::move(explanation.code)};
    for (ComposedReason& reason : composedReasonsOf(*family)) {
        detail.whyBlock.reasons.push_back(std::move(reason.text));
        detail.whyBlock.reasonCodes.push_back(std::move(reason.code));
    }
    std::optional<std::string> firstVictim = firstVictimLineFor(*context.view, key);
    if (firstVictim) {
        auto runsOut = statedExhaustion(*context.view);
        detail.whyBlock.reasons.push_back(
            (runsOut ? exhaustionSentence(*runsOut) + "; then" : "If memory runs out,") +
            std::string(" the kernel ends one of this app's processes first."));
        detail.whyBlock.reasonCodes.push_back({ReasonCode::endedFirst, {.seconds = runsOut}});
    }
    bool hasArtifact = context.hasArtifact(key);
    for (auto& action : actionsFor(*family, hasArtifact)) {
        if (actionIdOf(action) != ActionId::selectDetail) {
            detail.actBlock.actions.push_back(std::move(action));
        }
    }
    if (offersWhere(*family, context.where)) {
        // Beside the evidence: right after its capture, or first once evidence was captured.
        auto evidence =
            std::find_if(detail.actBlock.actions.begin(), detail.actBlock.actions.end(),
                         [](const ActionDescriptor& action) {
                             return actionIdOf(action) == ActionId::captureStrongerEvidence;
                         });
        // The next proof step once the evidence is there, so it leads then.
        bool captured = evidence == detail.actBlock.actions.end();
        detail.actBlock.actions.insert(
            captured ? detail.actBlock.actions.begin() : evidence + 1,
            makeAction(ActionId::findWhereItLeaks, "Find where it leaks",
                       captured ? ActionStyle::primary : ActionStyle::secondary, key));
    }
    detail.actBlock.nextCommands = nextCommandsOf(*family);
    detail.actBlock.requiresDestructiveConfirmation = !family->isProtected;
    ComposedTimeline timeline = composedTimelineOf(context, *family);
    detail.timeline = std::move(timeline.items);
    detail.timelineCodes = std::move(timeline.codes);

    for (std::size_t i = 0; i < family->members.size(); ++i) {
        const MemberView& member = family->members[i];
        if (i >= 8 && !member.growing) {
            continue; // the eight largest, and the growing member wherever it ranks
        }
        detail.diagnosticsBlock.identityLines.push_back(
            "PID " + std::to_string(member.identity.pid) + " \u00B7 " + member.name + " \u00B7 " +
            formatKiB(member.footprintKiB) + (member.growing ? " \u00B7 growing" : "") +
            (member.isProtected ? " \u00B7 protected" : "") +
            (member.cmdline.empty() ? "" : " \u00B7 " + member.cmdline.substr(0, 200)));
    }
    detail.diagnosticsBlock.evidenceLines.push_back(
        "Footprint = anonymous resident memory (statm resident - shared) + swap (status VmSwap, "
        "smaps_rollup Swap for suspects) + shared memory (status RssShmem at the process's "
        "share of it, smaps_rollup Pss_Shmem; memfd and /dev/shm files held open but not "
        "mapped).");
    detail.diagnosticsBlock.evidenceLines.push_back(
        std::to_string(a.hasRate ? context.tuning.rateWindowBuckets : 0) +
        " bucket medians in the rate window.");
    if (firstVictim) {
        detail.diagnosticsBlock.evidenceLines.push_back(*firstVictim);
    }
    detail.diagnosticsBlock.metrics = metricsOf(*family);

    if (hasArtifact) {
        const CapturedArtifact& artifact = context.interaction.artifacts.at(key);
        ArtifactBoundaryBlock block;
        block.title = "Evidence artifact";
        const std::string processes = artifact.processCount > 0
                                          ? std::to_string(artifact.processCount) + " processes"
                                          : "the family's processes";
        block.body =
            "smaps_rollup, status, the largest anonymous mappings and the command line of " +
            processes + ", kept on this machine.";
        block.reason = "Captured " + formatMoment(artifact.wallTime, context.wallNow) + " for " +
                       family->title;
        block.metaLines = {context.paths.display(artifact.path),
                           formatKiB(artifact.bytes / 1024.0)};
        block.actions = {
            makeAction(ActionId::openArtifactExternal, "Open", ActionStyle::secondary, key),
            makeAction(ActionId::revealArtifact, "Show in Folder", ActionStyle::secondary, key),
            makeAction(ActionId::copyArtifactPath, "Copy Path", ActionStyle::secondary, key),
            makeAction(ActionId::exportReport, "Export Report", ActionStyle::secondary, key),
        };
        detail.artifactBoundary = std::move(block);
    }
    detail.whereItGrows = whereSection(context, key);
    detail.memorySeries = memorySeriesOf(context, *family);
    return detail;
}

} // namespace velmora
