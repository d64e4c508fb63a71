// SPDX-License-Identifier: GPL-3.0-or-later
// The last texts that reached the app as English alone now travel with codes and figures: an
// action's entry in a family's timeline, the card's line from the history store and a
// self-check row's fixed sentence. The app composes, from the codes alone (through the wire and
// back), the very texts the monitor wrote; an entry without codes, or with a code this build
// does not know, shows the monitor's text.
#include "ComposeFixture.h"
#include "SentOverWire.h"
#include "base/ClockText.h"
#include "model/SurfaceText.h"
#include "monitor/compose/ActionWording.h"
#include "state/IncidentTexts.h"
#include "state/SummaryTexts.h"
#include "state/TimelineTexts.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// A December afternoon, as Unix seconds.
constexpr double kAfternoon = 1'765'200'000;

// The detail of `family` with `events` recorded for it, as the app receives it.
DetailSnapshot detailWith(const std::vector<IncidentTimelineItem>& events) {
    ComposeFixture composer;
    composer.wallNow = kAfternoon;
    const FamilyView family = leakingFamily();
    composer.view.families.push_back(family);
    composer.interaction.events[family.key] = events;
    return sent(composer.detail(family.key));
}

TEST(TimelineCodes, EveryActionEntryReadsAsTheMonitorWroteIt) {
    std::vector<IncidentTimelineItem> events;
    for (TimelineEventCode code : allCases<TimelineEventCode>()) {
        for (double seconds : {45.0, 300.0}) {
            events.push_back(timelineEvent(kAfternoon + seconds, code, everyFigure(seconds),
                                           TimelineTone::action));
        }
    }
    const DetailSnapshot detail = detailWith(events);
    ASSERT_EQ(detail.timeline.size(), events.size() + 2) << "seen and now come first";
    ASSERT_EQ(detail.timelineCodes.size(), detail.timeline.size());
    const std::vector<IncidentTimelineItem> shown = timelineShown(detail);
    for (std::size_t i = 0; i < events.size(); ++i) {
        const IncidentTimelineItem& entry = detail.timeline[i + 2];
        EXPECT_EQ(detail.timelineCodes[i + 2].code.known, TimelineCode::event);
        ASSERT_TRUE(entry.codes) << entry.title;
        EXPECT_EQ(entry.codes->figures.atSeconds, kAfternoon + (i % 2 == 0 ? 45 : 300));
        EXPECT_EQ(entry.detail.find('%'), std::string::npos) << entry.detail;
        EXPECT_EQ(identity(shown[i + 2]), identity(entry)) << entry.codes->code.wire;
        EXPECT_EQ(shown[i + 2].label, clockText(*entry.codes->figures.atSeconds));
    }
    // The outcomes say what the banner said of them.
    const ActionFigures quit{.name = "Firefox", .footprintKiB = 1992294};
    EXPECT_EQ(
        timelineEvent(kAfternoon, TimelineEventCode::recovered, quit, TimelineTone::outcome).detail,
        codedFeedback(ActionFeedbackKind::success, FeedbackCode::recoveryCompleted, quit).message);
    EXPECT_EQ(timelineEvent(kAfternoon, TimelineEventCode::trackingAttached,
                            {.process = "worker", .pid = 4242, .seconds = 300},
                            TimelineTone::evidence)
                  .detail,
              "heaptrack attached to worker (PID 4242) for 5 min");
}

TEST(TimelineCodes, EntriesWithoutCodesOrWithUnknownOnesShowTheMonitorsText) {
    IncidentTimelineItem older{"12:04", "Flagged", "as an older monitor recorded it",
                               TimelineTone::watch};
    IncidentTimelineItem newer =
        timelineEvent(kAfternoon, TimelineEventCode::restarted, {.name = "Firefox", .pid = 4242},
                      TimelineTone::outcome);
    newer.codes->code = OpenCode<TimelineEventCode>::unknown("rebooted");
    newer.title = "Rebooted";
    IncidentTimelineItem missing = timelineEvent(kAfternoon, TimelineEventCode::restarted,
                                                 {.name = "Firefox"}, TimelineTone::outcome);
    missing.detail = "Firefox started again.";
    const DetailSnapshot detail = detailWith({older, newer, missing});
    const std::vector<IncidentTimelineItem> shown = timelineShown(detail);
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(identity(shown[2]), identity(older));
    EXPECT_EQ(shown[3].title, "Rebooted");
    EXPECT_EQ(shown[4].detail, "Firefox started again.") << "the pid its sentence needs is missing";
    // A code of the wrong type fails with its path.
    Json json = encode(detail);
    json["timeline"][3]["codes"]["atSeconds"] = "noon";
    const auto broken = decode<DetailSnapshot>(json);
    ASSERT_FALSE(broken.ok());
    EXPECT_NE(broken.error().text().find("timeline"), std::string::npos) << broken.error().text();
}

// The card's line from the history store, composed from its figures, reads as the store's
// line without the lead-in the card's label already says.
TEST(TimelineCodes, TheHistoryLineTravelsWithItsFigures) {
    ComposeFixture composer;
    composer.wallNow = kAfternoon;
    FamilyView family = leakingFamily();
    family.assessment.baselineKiB = 700 * kMiBInKiB;
    composer.view.families.push_back(family);
    for (const HistoryLine& stored :
         {HistoryLine{}, HistoryLine{.incidentCount30d = 1, .peakScore30d = 70},
          HistoryLine{.incidentCount30d = 3, .criticalIncidentCount30d = 1, .peakScore30d = 92}}) {
        ComposeContext context = composer.context();
        context.historyLine = [&stored](const std::string&) { return stored; };
        const IncidentSnapshot incident = sent(buildIncident(context, &family));
        ASSERT_TRUE(incident.memoryLine);
        EXPECT_EQ(*incident.memoryLine, stored.text());
        ASSERT_TRUE(incident.codes && incident.codes->history);
        EXPECT_EQ(*incident.codes->history, stored.code());
        EXPECT_EQ(historyText(*incident.codes->history),
                  primarySurfaceLine(*incident.memoryLine, {"History:"}));
    }
    // Without a stored line the session's typical size stands in, with its own code.
    const IncidentSnapshot session = sent(composer.incident(&family));
    EXPECT_EQ(session.codes->history->code.known, HistoryCode::typicalThisSession);
}

TEST(TimelineCodes, ASelfCheckRowSaysItsFixedSentenceFromItsCode) {
    ComposeFixture composer;
    FamilyView target = leakingFamily();
    target.key = "self-check:recovery";
    target.smokeRole = SmokeRole::recovery;
    composer.view.families.push_back(target);
    const FindingSnapshot row = sent(composer.row(target));
    EXPECT_EQ(row.explanation, "Controlled self-check target named in VELMORA_SELF_CHECK_TARGETS.");
    ASSERT_TRUE(row.codes && row.codes->explanation);
    EXPECT_EQ(row.codes->explanation->code.known, ReasonCode::selfCheckTarget);
    EXPECT_FALSE(row.codes->confidence) << "a self-check target is not judged";
    EXPECT_EQ(summaryShown(row), row.explanation);
    const DetailSnapshot detail = sent(composer.detail(target.key));
    EXPECT_EQ(summaryShown(detail.verdictBlock), detail.verdictBlock.explanation);
}

} // namespace
} // namespace velmora
