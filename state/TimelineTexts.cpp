// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/TimelineTexts.h"

#include "base/ClockText.h"
#include "base/Translate.h"
#include "state/ActionTexts.h"
#include "state/LocalFigures.h"
#include "state/ReasonTexts.h"
#include "state/SummaryTexts.h"

namespace velmora {
namespace {

IncidentTimelineItem seen(const IncidentTimelineItem& sent, const CodeFigures& f) {
    if (!f.seconds || !f.footprintKiB) {
        return sent;
    }
    //: A timeline entry's label: when the family was first seen.
    return {translate("TimelineTexts", "Seen"), translate("TimelineTexts", "Family first sampled"),
            //: %1 is when ("5 min ago"), %2 the family's memory now ("1.9 GB").
            withArguments(translate("TimelineTexts", "%1 · %2 now"),
                          {localAgo(static_cast<int64_t>(*f.seconds), kFindingAgo),
                           localSize(*f.footprintKiB)}),
            sent.tone};
}

IncidentTimelineItem now(const IncidentTimelineItem& sent, const CodeFigures& f) {
    if (!f.verdict || !f.verdict->known) {
        return sent;
    }
    const std::string summary =
        f.parts.empty() ? sent.detail : summaryText(f.parts.front()).value_or(sent.detail);
    //: A timeline entry's label: the verdict as it stands now.
    return {translate("TimelineTexts", "Now"), verdictText(*f.verdict->known), summary, sent.tone};
}

// An action's entry, from the codes recorded with it: when, what was done, how it ended.
IncidentTimelineItem event(const IncidentTimelineItem& sent) {
    if (!sent.codes || !sent.codes->code.known || !sent.codes->figures.atSeconds) {
        return sent;
    }
    const TimelineEventCode code = *sent.codes->code.known;
    const ActionFigures& figures = sent.codes->figures;
    auto title = patternText(timelineEventTitlePattern(code), figures);
    auto detail = patternText(timelineEventDetailPattern(code), figures);
    if (!title || !detail) {
        return sent;
    }
    return {clockText(*figures.atSeconds), *title, *detail, sent.tone, sent.codes};
}

} // namespace

std::vector<IncidentTimelineItem> timelineShown(const DetailSnapshot& detail) {
    const auto& codes = detail.timelineCodes;
    if (codes.size() != detail.timeline.size()) {
        return detail.timeline;
    }
    std::vector<IncidentTimelineItem> items;
    items.reserve(codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const IncidentTimelineItem& sent = detail.timeline[i];
        const auto& code = codes[i].code.known;
        items.push_back(code == TimelineCode::seen    ? seen(sent, codes[i].figures)
                        : code == TimelineCode::now   ? now(sent, codes[i].figures)
                        : code == TimelineCode::event ? event(sent)
                                                      : sent);
    }
    return items;
}

} // namespace velmora
