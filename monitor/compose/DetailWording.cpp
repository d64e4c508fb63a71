// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/DetailWording.h"

#include "monitor/common/Formatting.h"
#include "monitor/compose/ActionWording.h"
#include "monitor/compose/FamilyTexts.h"
#include "monitor/compose/ForecastTexts.h"

namespace velmora {
namespace {

std::string commandExplanation(CommandCode code) {
    switch (code) {
    case CommandCode::growingProcessMemory:
        return "Anonymous, swapped and shared memory of the growing process right now.";
    case CommandCode::largestProcessMemory:
        return "Anonymous, swapped and shared memory of the largest process right now.";
    case CommandCode::largestMappings:
        return "Its largest anonymous mappings, to see which allocation keeps growing.";
    }
    return {};
}

std::string evidenceLine(const Coded<DiagnosticEvidenceCode>& evidence) {
    const CodeFigures& f = evidence.figures;
    switch (*evidence.code.known) {
    case DiagnosticEvidenceCode::footprintFormula:
        return "Footprint = anonymous resident memory (statm resident - shared) + swap (status "
               "VmSwap, smaps_rollup Swap for suspects) + shared memory (status RssShmem at the "
               "process's share of it, smaps_rollup Pss_Shmem; memfd and /dev/shm files held "
               "open but not mapped).";
    case DiagnosticEvidenceCode::rateWindow:
        return std::to_string(f.count.value_or(0)) + " bucket medians in the rate window.";
    case DiagnosticEvidenceCode::highestOomScore:
        break;
    }
    return {};
}

} // namespace

VerdictBlock verdictBlockOf(const FamilyView& family) {
    const FamilyAssessment& a = family.assessment;
    ComposedExplanation explanation = composedExplanationOf(family);
    return {verdictLabel(a.verdict), confidenceLabel(a), std::move(explanation.text),
            std::move(explanation.code),
            VerdictCodes{
                .verdict = a.verdict, .confidence = confidenceLevelOf(a.score), .score = a.score}};
}

VerdictBlock endedVerdictBlock() {
    return {"Ended", "Not sampled",
            "This family has no running processes now; nothing is left to act on.", std::nullopt,
            VerdictCodes{.ended = true}};
}

NextCommandDescriptor nextCommand(std::string command, CommandCode explanation,
                                  ActionDescriptor action) {
    return {std::move(command), commandExplanation(explanation), std::move(action), explanation};
}

std::string identityLine(const MemberIdentityCodes& member) {
    return "PID " + std::to_string(member.pid) + " \u00B7 " + member.name + " \u00B7 " +
           formatKiB(member.footprintKiB) + (member.growing ? " \u00B7 growing" : "") +
           (member.isProtected ? " \u00B7 protected" : "") +
           (member.cmdline.empty() ? "" : " \u00B7 " + member.cmdline);
}

MemberIdentityCodes identityOf(const MemberView& member) {
    return {.pid = member.identity.pid,
            .name = member.name,
            .footprintKiB = static_cast<double>(member.footprintKiB),
            .growing = member.growing,
            .isProtected = member.isProtected,
            .cmdline = member.cmdline.substr(0, 200)};
}

void setEvidence(DiagnosticsBlock& block, const ComposeContext& context, const FamilyView& family) {
    DiagnosticsCodes& codes = block.codes ? *block.codes : block.codes.emplace();
    const int64_t buckets = family.assessment.hasRate ? context.tuning.rateWindowBuckets : 0;
    for (Coded<DiagnosticEvidenceCode> evidence :
         {Coded<DiagnosticEvidenceCode>{DiagnosticEvidenceCode::footprintFormula, {}},
          Coded<DiagnosticEvidenceCode>{DiagnosticEvidenceCode::rateWindow, {.count = buckets}}}) {
        block.evidenceLines.push_back(evidenceLine(evidence));
        codes.evidence.push_back(std::move(evidence));
    }
    if (auto victimLine = firstVictimLineFor(*context.view, family.key)) {
        const OomVictimView& victim = *context.view->forecast.firstVictim;
        block.evidenceLines.push_back(std::move(*victimLine));
        codes.evidence.push_back(
            {DiagnosticEvidenceCode::highestOomScore,
             {.score = victim.oomScore, .pid = victim.pid, .name = victim.name}});
    }
}

std::vector<Coded<MetricCode>> metricCodesOf(const FamilyView& family) {
    const FamilyAssessment& a = family.assessment;
    std::vector<Coded<MetricCode>> codes{
        {MetricCode::footprint, {.footprintKiB = static_cast<double>(family.footprintKiB)}},
        {MetricCode::growth,
         {.rateKiBPerSecond = a.hasRate ? std::optional(a.rateKiBPerSecond) : std::nullopt}}};
    if (a.baselineKiB > 0) {
        codes.push_back({MetricCode::typical, {.typicalKiB = static_cast<double>(a.baselineKiB)}});
    }
    codes.push_back({MetricCode::score, {.score = a.score}});
    return codes;
}

ArtifactBoundaryBlock artifactBlockOf(const ComposeContext& context, const FamilyView& family,
                                      const CapturedArtifact& artifact) {
    const std::string& key = family.key;
    ArtifactBoundaryBlock block;
    block.title = "Evidence artifact";
    const std::string processes = artifact.processCount > 0
                                      ? std::to_string(artifact.processCount) + " processes"
                                      : "the family's processes";
    block.body = "smaps_rollup, status, the largest anonymous mappings and the command line of " +
                 processes + ", kept on this machine.";
    block.reason =
        "Captured " + formatMoment(artifact.wallTime, context.wallNow) + " for " + family.title;
    const std::string path = context.paths.display(artifact.path);
    block.metaLines = {path, formatKiB(artifact.bytes / 1024.0)};
    block.actions = {
        codedAction(ActionId::openArtifactExternal, ActionLabel::open, ActionStyle::secondary, key),
        codedAction(ActionId::revealArtifact, ActionLabel::showInFolder, ActionStyle::secondary,
                    key),
        codedAction(ActionId::copyArtifactPath, ActionLabel::copyPath, ActionStyle::secondary, key),
        codedAction(ActionId::exportReport, ActionLabel::exportReport, ActionStyle::secondary, key),
    };
    block.codes = ArtifactCodes{.processCount =
                                    artifact.processCount > 0
                                        ? std::optional(static_cast<int64_t>(artifact.processCount))
                                        : std::nullopt,
                                .capturedAt = artifact.wallTime,
                                .path = path,
                                .bytes = static_cast<double>(artifact.bytes)};
    return block;
}

} // namespace velmora
