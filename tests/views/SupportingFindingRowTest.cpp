// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/findings/SupportingFindingRow.h"

#include "tests/views/support/ViewTestSupport.h"
#include "views/findings/RecentFindingsSection.h"
#include "views/findings/SparklineGeometry.h"
#include "views/findings/SparklineView.h"
#include "views/findings/SupportingActionPill.h"
#include "views/findings/SupportingActions.h"
#include "views/findings/SupportingFindingsSummary.h"
#include "views/kit/VelmoraSymbols.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QImage>
#include <gtest/gtest.h>
#include <numeric>

namespace velmora {
namespace {

ActionDescriptor action(std::string id, std::string label = "Act", std::string target = "row") {
    return ActionDescriptor{std::move(id), std::move(label), ActionStyle::secondary,
                            std::move(target)};
}

std::vector<std::string> ids(const std::vector<ActionDescriptor>& actions) {
    std::vector<std::string> out;
    for (const auto& a : actions) {
        out.push_back(a.id + "@" + a.targetKey);
    }
    return out;
}

TEST(PreferredSupportingActions, PrefersTheListedIdsInTheirOwnOrder) {
    FindingSnapshot finding;
    finding.orderedActions = {action("restart"), action("ignore"), action("quit")};
    EXPECT_EQ(ids(preferredSupportingActions(finding)),
              (std::vector<std::string>{"ignore@row", "restart@row"}));
}

TEST(PreferredSupportingActions, LabelsMatchWithUnderscoresReadAsSpaces) {
    FindingSnapshot finding;
    finding.orderedActions = {action("a", "Open"), action("custom_watch", "WATCH Closely")};
    const auto chosen = preferredSupportingActions(finding);
    ASSERT_EQ(chosen.size(), 2u);
    EXPECT_EQ(chosen[0].id, "custom_watch");
    EXPECT_EQ(chosen[1].id, "a");
}

TEST(PreferredSupportingActions, FallsBackToTheFirstActionsInOrder) {
    FindingSnapshot finding;
    finding.orderedActions = {action("b"), action("a"), action("c")};
    EXPECT_EQ(ids(preferredSupportingActions(finding)),
              (std::vector<std::string>{"b@row", "a@row"}));
    finding.orderedActions = {action("only")};
    EXPECT_EQ(ids(preferredSupportingActions(finding)), (std::vector<std::string>{"only@row"}));
    finding.orderedActions.clear();
    EXPECT_TRUE(preferredSupportingActions(finding).empty());
}

TEST(PreferredSupportingActions, SameIdForTwoTargetsAppearsTwice) {
    const std::vector<ActionDescriptor> actions{action("x", "X", "one"), action("x", "X", "two"),
                                                action("x", "X", "one")};
    EXPECT_EQ(ids(preferredActions(actions, {"x"}, 3)),
              (std::vector<std::string>{"x@one", "x@two"}));
}

TEST(PreferredSupportingActions, NeverReturnsMoreThanTheCount) {
    const std::vector<ActionDescriptor> actions{action("select_detail"), action("inspect"),
                                                action("ignore")};
    EXPECT_EQ(ids(preferredActions(actions, {"select_detail", "inspect", "ignore"}, 2)),
              (std::vector<std::string>{"select_detail@row", "inspect@row"}));
}

TEST(SparklineGeometry, OneHundredSamplesAreDrawnFromSixIndices) {
    std::vector<double> values(100);
    std::iota(values.begin(), values.end(), 0.0);
    EXPECT_EQ(simplifiedSamples(values, 6), (std::vector<double>{0, 20, 40, 59, 79, 99}));
    EXPECT_EQ(simplifiedSamples({1, 2, 3}, 6), (std::vector<double>{1, 2, 3}));
}

TEST(SparklineGeometry, NormalisationClampsIntoTheInsetBand) {
    EXPECT_EQ(simplifiedNormalized({}), (std::vector<double>{0.08}));
    EXPECT_EQ(simplifiedNormalized({7, 7, 7}), (std::vector<double>{0.08, 0.08, 0.08}));
    EXPECT_EQ(simplifiedNormalized({0, 1000}), (std::vector<double>{0.08, 0.92}));
    // A range of one counts as one: 3 and 4 are a full step apart.
    EXPECT_EQ(simplifiedNormalized({3, 4}), (std::vector<double>{0.08, 0.92}));
    const auto middle = simplifiedNormalized({0, 500, 1000});
    EXPECT_DOUBLE_EQ(middle[1], 0.5);
}

TEST(SparklineGeometry, PointsSpanTheBoxWithATwoPointInset) {
    const auto points = sparklinePoints({0.08, 0.92}, 64, 18);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_DOUBLE_EQ(points[0].x, 0);
    EXPECT_DOUBLE_EQ(points[0].y, 18 - 14 * 0.08 - 2);
    EXPECT_DOUBLE_EQ(points[1].x, 64);
    EXPECT_DOUBLE_EQ(points[1].y, 18 - 14 * 0.92 - 2);
    const auto flat = sparklinePoints(simplifiedNormalized({}), 64, 18);
    ASSERT_EQ(flat.size(), 2u);
    EXPECT_DOUBLE_EQ(flat[1].x, 64);
    EXPECT_DOUBLE_EQ(flat[0].y, flat[1].y);
    EXPECT_EQ(sparklinePoints(simplifiedNormalized(std::vector<uint16_t>(300, 9)), 64, 18).size(),
              6u);
}

FindingSnapshot finding(std::string key, FindingSeverity severity = FindingSeverity::suspect) {
    FindingSnapshot row;
    row.key = key;
    row.title = "Title " + key;
    row.severity = severity;
    row.confidencePillLabel = "Probable";
    row.orderedActions = {action("restart", "Restart", key), action("ignore", "Ignore", key),
                          action("quit", "Quit", key)};
    return row;
}

QString textOf(const QWidget& parent, const char* name) {
    const auto* text = parent.findChild<VelmoraText*>(name);
    return text != nullptr ? text->displayText() : QStringLiteral("<missing %1>").arg(name);
}

TEST(SupportingFindingRow, ShowsTheRowWithItsPreferredActions) {
    SupportingFindingRow row;
    auto watch = finding("a", FindingSeverity::watch);
    watch.curvatureLabel = "Accelerating since launch";
    row.setFinding(watch);
    EXPECT_EQ(row.objectName(), "supportingFindingRow:a");
    EXPECT_EQ(textOf(row, "title"), "Title a");
    EXPECT_EQ(row.findChild<CapsuleLabel*>("verdictPill")->displayText(), "watch");
    EXPECT_FALSE(row.findChild<QWidget*>("curvatureChip")->isHidden());
    EXPECT_EQ(textOf(row, "curvatureLabel"), "Accelerating since launch");
    const auto pills = row.actionPills();
    ASSERT_EQ(pills.size(), 2u);
    EXPECT_EQ(pills[0]->labelText(), "Ignore");
    EXPECT_EQ(pills[1]->labelText(), "Restart");

    auto suspect = finding("a");
    suspect.confidencePillLabel = "PROBABLE Leak";
    row.setFinding(suspect);
    EXPECT_EQ(row.findChild<CapsuleLabel*>("verdictPill")->displayText(), "probable leak");
    EXPECT_TRUE(row.findChild<QWidget*>("curvatureChip")->isHidden());
}

// Whether growth speeds up is read from the curvature's code; the label's words count only
// when a monitor sends no code, so a label in any language keeps its arrow.
TEST(SupportingFindingRow, TheCurvatureArrowFollowsTheCode) {
    SupportingFindingRow row;
    const auto symbol = [&row] { return row.findChild<SymbolView*>("curvatureSymbol")->symbol(); };
    auto growing = finding("a");
    growing.curvatureLabel = "Accelerating since launch";
    row.setFinding(growing);
    EXPECT_EQ(symbol(), "velmora-growth-accelerating");

    growing.curvatureLabel = "Beschleunigt seit dem Start";
    growing.codes = FindingCodes{};
    growing.codes->curvature = CurvatureCode::accelerating;
    row.setFinding(growing);
    EXPECT_EQ(symbol(), "velmora-growth-accelerating");

    growing.curvatureLabel = "Accelerating words, slowing code";
    growing.codes->curvature = CurvatureCode::decelerating;
    row.setFinding(growing);
    EXPECT_EQ(symbol(), "velmora-growth-slowing");
}

const DrawnText& firstLine(const std::vector<DrawnText>& lines) {
    static const DrawnText none;
    return lines.empty() ? none : lines.front();
}

// At the popover's width the rate and the verdict pill give up width before the name: the rate
// shrinks, then truncates, then the pill truncates; the name truncates only when nothing else is
// left to give, and keeps its first characters. The two lines of the explanation fit the row.
TEST(SupportingFindingRow, TheNameIsTheLastToGiveWay) {
    SupportingFindingRow row;
    auto adapter = finding("adapter");
    adapter.title = "adapter-os";
    adapter.rate = "+4.1 MB/min";
    adapter.confidencePillLabel = "baseline anomaly";
    adapter.explanation = "Leak suspect. Footprint stays above healthy baseline while the "
                          "machine sits idle, and it climbs again after every sync.";
    row.setFinding(adapter);
    const int cardWidth = 448 - 2 * 14 - 2 * 16;
    row.resize(cardWidth, row.heightForWidth(cardWidth));
    row.show();
    testing::settle();
    const auto* title = row.findChild<VelmoraText*>("title");
    const auto* rate = row.findChild<VelmoraText*>("rate");
    const auto* explanation = row.findChild<VelmoraText*>("explanation");
    EXPECT_EQ(firstLine(title->drawnTexts()).text, "adapter-os");
    EXPECT_FALSE(firstLine(title->drawnTexts()).elided);
    EXPECT_LT(rate->width(), rate->sizeHint().width()); // the rate gave way
    const auto lines = explanation->drawnTexts();
    ASSERT_EQ(lines.size(), 2u);
    const QFontMetricsF metrics(lines.back().font);
    EXPECT_LE(lines.back().origin.y() + metrics.height(), explanation->height() + 0.5);

    auto longName = adapter;
    longName.title = "Visual Studio Code Helper (Renderer) for the remote workspace";
    row.setFinding(longName);
    row.resize(cardWidth, row.heightForWidth(cardWidth));
    testing::settle();
    const DrawnText name = firstLine(title->drawnTexts());
    EXPECT_TRUE(name.elided);
    EXPECT_TRUE(name.text.startsWith(QStringLiteral("Visual Studio"))) << name.text.toStdString();
    EXPECT_EQ(rate->width(), rate->truncatedWidth(5)); // down to its number
    const auto* pill = row.findChild<CapsuleLabel*>("verdictPill");
    EXPECT_TRUE(firstLine(pill->label()->drawnTexts()).text.startsWith(QStringLiteral("bas")));
}

TEST(SupportingFindingRow, PillsKeepTheirWidgetsAndReportPendingAndTaps) {
    SupportingFindingRow row;
    std::vector<ActionDescriptor> sent;
    std::string pendingID;
    row.setOnDispatchAction([&](const ActionDescriptor& a) { sent.push_back(a); });
    row.setIsActionPending([&](const ActionDescriptor& a) { return a.id == pendingID; });
    int opened = 0;
    row.setOnOpenDetail([&] { ++opened; });
    row.setFinding(finding("a"));
    auto* ignore = row.findChild<SupportingActionPill*>("actionPill:ignore");
    ASSERT_NE(ignore, nullptr);

    auto reordered = finding("a");
    std::swap(reordered.orderedActions[0], reordered.orderedActions[1]);
    reordered.title = "Renamed";
    row.setFinding(reordered);
    EXPECT_EQ(row.findChild<SupportingActionPill*>("actionPill:ignore"), ignore);

    pendingID = "ignore";
    row.refreshPending();
    EXPECT_TRUE(ignore->isPending());
    EXPECT_FALSE(ignore->isEnabled());
    ignore->click();
    EXPECT_TRUE(sent.empty());

    pendingID.clear();
    row.refreshPending();
    ignore->click();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].id, "ignore");
    EXPECT_EQ(sent[0].targetKey, "a");
    EXPECT_EQ(opened, 0);
    row.resize(row.sizeHint().expandedTo(QSize(400, 0)));
    row.click();
    EXPECT_EQ(opened, 1);
}

TEST(SupportingFindingRow, AnUnchangedFindingBuildsNothingAndSameIdTargetsBothShow) {
    SupportingFindingRow row;
    auto twin = finding("a");
    twin.orderedActions = {action("restart", "Restart", "a"), action("restart", "Restart", "b")};
    row.setFinding(twin);
    testing::settle();
    ASSERT_EQ(row.actionPills().size(), 2u);
    EXPECT_EQ(row.actionPills()[1]->action().targetKey, "b");
    const int widgets = testing::widgetCount(&row);
    row.setFinding(twin);
    EXPECT_EQ(testing::widgetCount(&row), widgets);
}

TEST(SupportingFindingRow, CriticalRowsBrightenAfterTheUpdateAndFollowEscalation) {
    SupportingFindingRow row;
    row.setFinding(finding("a", FindingSeverity::critical));
    EXPECT_FALSE(row.animateCriticalAttention());
    QCoreApplication::processEvents();
    EXPECT_TRUE(row.animateCriticalAttention());

    // A refresh that leaves severity and escalation alone keeps the bright state.
    auto same = finding("a", FindingSeverity::critical);
    same.rate = "+9 MB/min";
    row.setFinding(same);
    EXPECT_TRUE(row.animateCriticalAttention());

    row.setEscalated(true);
    EXPECT_FALSE(row.animateCriticalAttention());
    EXPECT_EQ(row.criticalAttentionProgress(), 0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(row.animateCriticalAttention());

    row.setFinding(finding("a", FindingSeverity::suspect));
    QCoreApplication::processEvents();
    EXPECT_FALSE(row.animateCriticalAttention());
    EXPECT_EQ(row.dotScale(), 1.0);
}

TEST(SupportingFindingRow, EscalatedCriticalCardHasTheStrongCriticalBorder) {
    SupportingFindingRow row;
    row.setFinding(finding("a", FindingSeverity::critical));
    row.setEscalated(true);
    const PanelStyle style = row.cardStyle();
    ASSERT_TRUE(style.stroke.has_value());
    EXPECT_EQ(style.stroke->name, PaletteColor::criticalText);

    // Rendered inside a parent, as the popover draws it (its shadow is a graphics effect).
    QWidget holder;
    holder.resize(440, 140);
    auto* shown = new SupportingFindingRow(&holder);
    shown->setFinding(finding("a", FindingSeverity::critical));
    shown->setEscalated(true);
    shown->setGeometry(10, 10, 420, 120);
    const QImage image = testing::renderToImage(holder);
    const QColor edge = testing::pixelAt(image, QPointF(10.5, 70));
    EXPECT_GT(edge.red() - edge.blue(), 60) << edge.name().toStdString();
    EXPECT_GT(edge.red() - edge.green(), 60) << edge.name().toStdString();

    row.setEscalated(false);
    EXPECT_LT(row.cardStyle().stroke->opacity, style.stroke->opacity);
    row.setFinding(finding("a", FindingSeverity::watch));
    EXPECT_EQ(row.cardStyle().stroke->name, PaletteColor::coolStroke);
    EXPECT_FALSE(row.cardStyle().fillEnd.has_value());
}

TEST(SupportingFindingsSummary, CountsAndNamesTheOtherSuspects) {
    std::vector<FindingSnapshot> findings{finding("A"), finding("B"), finding("C")};
    findings[0].title = "A";
    findings[1].title = "B";
    findings[2].title = "C";
    EXPECT_EQ(supportingSummaryTitle(findings), "3 other suspects");
    EXPECT_EQ(supportingSummaryDetail(findings), "A, B +1");
    findings.pop_back();
    EXPECT_EQ(supportingSummaryTitle(findings), "2 other suspects");
    EXPECT_EQ(supportingSummaryDetail(findings), "A, B");
    findings.pop_back();
    EXPECT_EQ(supportingSummaryTitle(findings), "1 other suspect");

    SupportingFindingsSummary summary;
    std::vector<std::string> opened;
    summary.setOnOpenDetail([&](const FindingSnapshot& f) { opened.push_back(f.key); });
    summary.setFindings({});
    EXPECT_TRUE(summary.isHidden());
    summary.setFindings({finding("x"), finding("y")});
    EXPECT_FALSE(summary.isHidden());
    EXPECT_EQ(textOf(summary, "summaryTitle"), "2 other suspects");
    EXPECT_EQ(textOf(summary, "summaryDetail"), "Title x, Title y");
    EXPECT_EQ(summary.accessibleName(), "2 other suspects");
    EXPECT_EQ(summary.toolTip(), "Inspect supporting suspect");
    summary.resize(summary.sizeHint());
    summary.click();
    EXPECT_EQ(opened, (std::vector<std::string>{"x"}));
}

TEST(RecentFindingsSection, KeepsOneCardPerKeyAcrossAReorder) {
    RecentFindingsSection section;
    RecentFindingSnapshot a{
        "a", "Alpha", "Cooling Down", "Quiet now", "2m ago", FindingSeverity::watch, {}};
    RecentFindingSnapshot b{"b", "Beta", "Resolved", "Gone", "5m ago", FindingSeverity::suspect,
                            {}};
    section.setRecentFindings({a, b});
    auto cards = section.cards();
    ASSERT_EQ(cards.size(), 2u);
    RecentFindingCard* beta = cards[1];
    EXPECT_EQ(textOf(*beta, "status"), "resolved");
    section.setRecentFindings({b, a});
    cards = section.cards();
    EXPECT_EQ(cards[0], beta);
    EXPECT_EQ(textOf(*cards[0], "title"), "Beta");
}

} // namespace
} // namespace velmora
