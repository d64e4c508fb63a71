// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/DetailTexts.h"

#include "base/Translate.h"
#include "state/LocalFigures.h"
#include "state/ReasonTexts.h"
#include "state/RowTexts.h"
#include "state/ShownLines.h"

#include <ctime>

namespace velmora {
namespace {

using Text = std::optional<std::string>;

bool ended(const VerdictBlock& verdict) {
    return verdict.codes && verdict.codes->ended;
}

std::string joinedByDots(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : " \u00B7 ") + part;
    }
    return text;
}

Text identityText(const MemberIdentityCodes& member) {
    //: A process's number in the diagnostics: "PID 4242".
    std::vector<std::string> parts{
        withArguments(translate("DetailTexts", "PID %1"), {std::to_string(member.pid)}),
        member.name, localSize(member.footprintKiB)};
    if (member.growing) {
        //: A tag of a process in the diagnostics: its memory grows.
        parts.push_back(translate("DetailTexts", "growing"));
    }
    if (member.isProtected) {
        //: A tag of a process in the diagnostics: Velmora never ends it.
        parts.push_back(translate("DetailTexts", "protected"));
    }
    if (!member.cmdline.empty()) {
        parts.push_back(member.cmdline);
    }
    return joinedByDots(parts);
}

Text evidenceText(const Coded<DiagnosticEvidenceCode>& evidence) {
    const auto code = evidence.code.known;
    const CodeFigures& f = evidence.figures;
    if (code == DiagnosticEvidenceCode::footprintFormula) {
        //: How Velmora measures a process's memory; the names in brackets are the kernel's
        //: own files and fields and stay as they are.
        return translate("DetailTexts",
                         "Footprint = anonymous resident memory (statm resident - shared) + swap "
                         "(status VmSwap, smaps_rollup Swap for suspects) + shared memory (status "
                         "RssShmem at the process's share of it, smaps_rollup Pss_Shmem; memfd "
                         "and /dev/shm files held open but not mapped).");
    }
    if (code == DiagnosticEvidenceCode::rateWindow && f.count) {
        const int buckets = static_cast<int>(*f.count);
        //: How many medians of equal stretches of time the growth rate is measured from.
        return translate("DetailTexts", "%n bucket medians in the rate window.", nullptr, buckets);
    }
    if (code == DiagnosticEvidenceCode::highestOomScore && f.pid && f.score) {
        //: %1 is a process ("PID 4242 (editor)"), %2 its oom_score, the kernel's own figure.
        return withArguments(translate("DetailTexts", "%1 has the highest oom_score on this "
                                                      "machine (%2): the kernel ends it first if "
                                                      "memory runs out."),
                             {processText(*f.pid, f.name.value_or("")), std::to_string(*f.score)});
    }
    return std::nullopt;
}

Text metricValue(MetricCode code, const CodeFigures& f) {
    switch (code) {
    case MetricCode::footprint:
        return f.footprintKiB ? Text(localSize(*f.footprintKiB)) : std::nullopt;
    case MetricCode::growth:
        return rateOrNotMeasured(f.rateKiBPerSecond);
    case MetricCode::typical:
        return f.typicalKiB ? Text(localSize(*f.typicalKiB)) : std::nullopt;
    case MetricCode::score:
        if (!f.score) {
            return std::nullopt;
        }
        //: A score out of 100: "72 / 100".
        return withArguments(translate("DetailTexts", "%1 / 100"), {std::to_string(*f.score)});
    }
    return std::nullopt;
}

std::optional<DiagnosticMetric> metricText(const Coded<MetricCode>& metric) {
    const auto code = metric.code.known;
    const Text value = code ? metricValue(*code, metric.figures) : std::nullopt;
    if (!value) {
        return std::nullopt;
    }
    switch (*code) {
    case MetricCode::footprint:
        //: A figure's label in the diagnostics: the memory the app holds now.
        return DiagnosticMetric{translate("DetailTexts", "Footprint"), *value};
    case MetricCode::growth:
        //: A figure's label in the diagnostics: how fast its memory grows.
        return DiagnosticMetric{translate("DetailTexts", "Growth"), *value};
    case MetricCode::typical:
        //: A figure's label in the diagnostics: the app's usual size.
        return DiagnosticMetric{translate("DetailTexts", "Typical"), *value};
    case MetricCode::score:
        //: A figure's label in the diagnostics: how strongly it looks like a leak.
        return DiagnosticMetric{translate("DetailTexts", "Score"), *value};
    }
    return std::nullopt;
}

} // namespace

std::string detailTitleShown(const DetailSnapshot& detail) {
    //: The detail's title once the app's processes have all exited.
    return ended(detail.verdictBlock) ? translate("DetailTexts", "No longer running")
                                      : detail.title;
}

std::string verdictLabelShown(const VerdictBlock& verdict) {
    if (ended(verdict)) {
        //: The verdict of an app whose processes have all exited.
        return translate("DetailTexts", "Ended");
    }
    const auto code = verdict.codes ? knownCode(verdict.codes->verdict) : std::nullopt;
    return code ? verdictText(*code) : verdict.verdictLabel;
}

std::string verdictConfidenceShown(const VerdictBlock& verdict) {
    if (ended(verdict)) {
        //: In place of the confidence, for an app whose processes have all exited.
        return translate("DetailTexts", "Not sampled");
    }
    const auto level = verdict.codes ? knownCode(verdict.codes->confidence) : std::nullopt;
    if (!level || !verdict.codes->score) {
        return verdict.confidenceLabel;
    }
    return confidenceText(*level, *verdict.codes->score);
}

std::string commandExplanationShown(const NextCommandDescriptor& command) {
    const auto code = knownCode(command.explanationCode);
    if (!code) {
        return command.explanation;
    }
    switch (*code) {
    case CommandCode::growingProcessMemory:
        //: Under a command to copy: what it shows.
        return translate("DetailTexts", "Anonymous, swapped and shared memory of the growing "
                                        "process right now.");
    case CommandCode::largestProcessMemory:
        //: Under a command to copy: what it shows.
        return translate("DetailTexts", "Anonymous, swapped and shared memory of the largest "
                                        "process right now.");
    case CommandCode::largestMappings:
        //: Under a command to copy: what it shows.
        return translate("DetailTexts", "Its largest anonymous mappings, to see which "
                                        "allocation keeps growing.");
    }
    return command.explanation;
}

std::string artifactTitleShown(const ArtifactBoundaryBlock& block) {
    //: The heading of the evidence Velmora captured and keeps for an app.
    return block.codes ? translate("DetailTexts", "Evidence artifact") : block.title;
}

std::string artifactBodyShown(const ArtifactBoundaryBlock& block) {
    if (!block.codes) {
        return block.body;
    }
    if (!block.codes->processCount) {
        //: What the captured evidence holds; the first three are the kernel's own files.
        return translate("DetailTexts", "smaps_rollup, status, the largest anonymous mappings and "
                                        "the command line of the family's processes, kept on "
                                        "this machine.");
    }
    const int processes = static_cast<int>(*block.codes->processCount);
    //: What the captured evidence holds; the first three are the kernel's own files.
    return translate("DetailTexts",
                     "smaps_rollup, status, the largest anonymous mappings and the command line "
                     "of %n processes, kept on this machine.",
                     nullptr, processes);
}

std::string artifactReasonShown(const ArtifactBoundaryBlock& block, const std::string& family,
                                double nowSeconds) {
    if (!block.codes || !block.codes->capturedAt) {
        return block.reason;
    }
    //: When the evidence was captured and for which app: "Captured 14:05 for Firefox".
    return withArguments(translate("DetailTexts", "Captured %1 for %2"),
                         {momentText(*block.codes->capturedAt, nowSeconds), family});
}

std::vector<std::string> artifactMetaLinesShown(const ArtifactBoundaryBlock& block) {
    if (!block.codes || !block.codes->path || !block.codes->bytes) {
        return block.metaLines;
    }
    return {*block.codes->path, localSize(*block.codes->bytes / 1024.0)};
}

std::string momentText(double unixSeconds, double nowSeconds) {
    static const char* const months[] = {
        //: A month's short name, as in "3 Mar 14:05".
        VELMORA_TRANSLATE_NOOP("DetailTexts", "Jan"), VELMORA_TRANSLATE_NOOP("DetailTexts", "Feb"),
        VELMORA_TRANSLATE_NOOP("DetailTexts", "Mar"), VELMORA_TRANSLATE_NOOP("DetailTexts", "Apr"),
        VELMORA_TRANSLATE_NOOP("DetailTexts", "May"), VELMORA_TRANSLATE_NOOP("DetailTexts", "Jun"),
        VELMORA_TRANSLATE_NOOP("DetailTexts", "Jul"), VELMORA_TRANSLATE_NOOP("DetailTexts", "Aug"),
        VELMORA_TRANSLATE_NOOP("DetailTexts", "Sep"), VELMORA_TRANSLATE_NOOP("DetailTexts", "Oct"),
        VELMORA_TRANSLATE_NOOP("DetailTexts", "Nov"), VELMORA_TRANSLATE_NOOP("DetailTexts", "Dec")};
    const auto then = static_cast<std::time_t>(unixSeconds);
    const auto now = static_cast<std::time_t>(nowSeconds);
    std::tm thenLocal{};
    std::tm nowLocal{};
    localtime_r(&then, &thenLocal);
    localtime_r(&now, &nowLocal);
    char clock[16];
    std::strftime(clock, sizeof clock, "%H:%M", &thenLocal);
    if (thenLocal.tm_year == nowLocal.tm_year && thenLocal.tm_yday == nowLocal.tm_yday) {
        return clock;
    }
    //: A moment on another day: %1 is the day of the month, %2 the month, %3 the time.
    return withArguments(translate("DetailTexts", "%1 %2 %3"),
                         {std::to_string(thenLocal.tm_mday),
                          translate("DetailTexts", months[thenLocal.tm_mon]), clock});
}

std::vector<std::string> identityLinesShown(const DiagnosticsBlock& block) {
    return block.codes ? linesShown(block.codes->identities, block.identityLines, identityText)
                       : block.identityLines;
}

std::vector<std::string> evidenceLinesShown(const DiagnosticsBlock& block) {
    return block.codes ? linesShown(block.codes->evidence, block.evidenceLines, evidenceText)
                       : block.evidenceLines;
}

std::vector<DiagnosticMetric> metricsShown(const DiagnosticsBlock& block) {
    if (!block.codes || block.codes->metrics.size() != block.metrics.size()) {
        return block.metrics;
    }
    std::vector<DiagnosticMetric> metrics;
    for (std::size_t i = 0; i < block.metrics.size(); ++i) {
        metrics.push_back(metricText(block.codes->metrics[i]).value_or(block.metrics[i]));
    }
    return metrics;
}

} // namespace velmora
