// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/SummaryTexts.h"

#include "base/Translate.h"
#include "state/LocalFigures.h"
#include "state/ReasonTexts.h"

namespace velmora {
namespace {

using Text = std::optional<std::string>;

// "…; now 1.9 GB", with what the family's size is beside its typical one and whether it idled.
std::string familySummary(const std::string& shape, const CodeFigures& f) {
    const std::string now = localSize(*f.footprintKiB);
    const bool idle = f.idle.value_or(false);
    if (f.multiple) {
        const std::string multiple = localMultiple(*f.multiple);
        //: %1 is the growth's shape, %2 the footprint now, %3 how many times its typical size.
        return idle ? withArguments(translate("SummaryTexts", "%1; now %2 (%3 its typical size), "
                                                              "stayed elevated while idle."),
                                    {shape, now, multiple})
                    : withArguments(translate("SummaryTexts", "%1; now %2 (%3 its typical size)."),
                                    {shape, now, multiple});
    }
    //: %1 is the growth's shape, %2 the footprint now.
    return idle
               ? withArguments(translate("SummaryTexts", "%1; now %2, stayed elevated while idle."),
                               {shape, now})
               : withArguments(translate("SummaryTexts", "%1; now %2."), {shape, now});
}

} // namespace

std::optional<std::string> summaryText(const Coded<ReasonCode>& summary) {
    const CodeFigures& f = summary.figures;
    if (summary.code.known == ReasonCode::collectingSamples) {
        return translate("SummaryTexts", "Collecting samples before judging growth.");
    }
    if (summary.code.known == ReasonCode::selfCheckTarget) {
        //: A row the self-check asked for; VELMORA_SELF_CHECK_TARGETS is a setting's name, keep
        //: it as it is.
        return translate("SummaryTexts",
                         "Controlled self-check target named in VELMORA_SELF_CHECK_TARGETS.");
    }
    const bool growth = summary.code.known == ReasonCode::growthSummary;
    const bool member = summary.code.known == ReasonCode::memberGrowthSummary;
    if ((!growth && !member) || f.parts.empty() || !f.footprintKiB) {
        return std::nullopt;
    }
    const Text shape = growthShapeText(f.parts.front());
    if (!shape) {
        return std::nullopt;
    }
    if (growth) {
        return familySummary(*shape, f);
    }
    if (!f.pid || !f.familyKiB) {
        return std::nullopt;
    }
    //: %1 is a process ("PID 4242 (worker)"), %2 the shape of its growth, %3 its footprint now,
    //: %4 its family's.
    return withArguments(translate("SummaryTexts", "%1 grows on its own: %2; now %3 of the "
                                                   "family's %4."),
                         {processText(*f.pid, f.name.value_or("")), *shape,
                          localSize(*f.footprintKiB), localSize(*f.familyKiB)});
}

std::string summaryShown(const std::optional<Coded<ReasonCode>>& summary, const std::string& sent) {
    if (!summary) {
        return sent;
    }
    return summaryText(*summary).value_or(sent);
}

std::string summaryShown(const FindingSnapshot& row) {
    return summaryShown(row.codes ? row.codes->explanation : std::nullopt, row.explanation);
}

std::string summaryShown(const VerdictBlock& verdict) {
    if (verdict.codes && verdict.codes->ended) {
        //: The detail's explanation once the app's processes have all exited.
        return translate("SummaryTexts",
                         "This family has no running processes now; nothing is left to act on.");
    }
    return summaryShown(verdict.explanationCode, verdict.explanation);
}

} // namespace velmora
