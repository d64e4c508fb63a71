// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/DetailBuilder.h"

#include "monitor/common/Formatting.h"
#include "monitor/compose/ActionWording.h"
#include "monitor/compose/DetailWording.h"
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
        nextCommand("cat /proc/" + pid + "/smaps_rollup",
                    grower ? CommandCode::growingProcessMemory : CommandCode::largestProcessMemory,
                    codedAction(ActionId::copyCommand1, ActionLabel::copy, ActionStyle::secondary,
                                family.key)));
    commands.push_back(
        nextCommand("sort -k2 -n -r <(awk '/^[0-9a-f]/{m=$0} /^Anonymous:/{print m, $2}' /proc/" +
                        pid + "/smaps) | head",
                    CommandCode::largestMappings,
                    codedAction(ActionId::copyCommand2, ActionLabel::copy, ActionStyle::secondary,
                                family.key)));
    return commands;
}

DetailSnapshot buildDetail(const ComposeContext& context, const std::string& key) {
    DetailSnapshot detail;
    detail.key = key;
    const FamilyView* family = context.family(key);
    if (family == nullptr) {
        detail.title = "No longer running";
        detail.verdictBlock = endedVerdictBlock();
        detail.whyBlock.reasons = {"Its processes exited or were quit since the row was shown."};
        detail.whyBlock.reasonCodes = {{ReasonCode::exited, {}}};
        detail.whereItGrows = whereSection(context, key);
        return detail;
    }
    detail.title = family->title;
    detail.verdictBlock = verdictBlockOf(*family);
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
            codedAction(ActionId::findWhereItLeaks, ActionLabel::findWhereItLeaks,
                        captured ? ActionStyle::primary : ActionStyle::secondary, key));
    }
    detail.actBlock.nextCommands = nextCommandsOf(*family);
    detail.actBlock.requiresDestructiveConfirmation = !family->isProtected;
    ComposedTimeline timeline = composedTimelineOf(context, *family);
    detail.timeline = std::move(timeline.items);
    detail.timelineCodes = std::move(timeline.codes);

    DiagnosticsCodes& codes = detail.diagnosticsBlock.codes.emplace();
    for (std::size_t i = 0; i < family->members.size(); ++i) {
        const MemberView& member = family->members[i];
        if (i >= 8 && !member.growing) {
            continue; // the eight largest, and the growing member wherever it ranks
        }
        codes.identities.push_back(identityOf(member));
        detail.diagnosticsBlock.identityLines.push_back(identityLine(codes.identities.back()));
    }
    setEvidence(detail.diagnosticsBlock, context, *family);
    detail.diagnosticsBlock.metrics = metricsOf(*family);
    detail.diagnosticsBlock.codes->metrics = metricCodesOf(*family);

    if (hasArtifact) {
        detail.artifactBoundary =
            artifactBlockOf(context, *family, context.interaction.artifacts.at(key));
    }
    detail.whereItGrows = whereSection(context, key);
    detail.memorySeries = memorySeriesOf(context, *family);
    return detail;
}

} // namespace velmora
