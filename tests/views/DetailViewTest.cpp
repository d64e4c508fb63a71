// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/detail/DetailView.h"

#include "demo/ScenarioLibrary.h"
#include "tests/views/support/ViewTestSupport.h"
#include "views/detail/ArtifactBoundaryCard.h"
#include "views/detail/DetailActionChip.h"
#include "views/detail/NextCommandRow.h"
#include "views/kit/VelmoraSymbols.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <set>

namespace velmora {
namespace {

QString textOf(const QWidget& parent, const char* name) {
    const auto* text = parent.findChild<VelmoraText*>(name);
    return text != nullptr ? text->displayText() : QStringLiteral("<missing %1>").arg(name);
}

bool shown(const QWidget& parent, const char* name) {
    const auto* child = parent.findChild<QWidget*>(name);
    return child != nullptr && !child->isHidden();
}

ActionDescriptor action(std::string id, std::string label, ActionStyle style) {
    return ActionDescriptor{std::move(id), std::move(label), style, "k"};
}

DetailSnapshot fullDetail() {
    DetailSnapshot detail;
    detail.key = "k";
    detail.title = "Browser Helper";
    detail.whyBlock.reasons = {"Grew for 40 minutes", "No plateau"};
    detail.timeline = {{"Seen", "First growth", "10:02", TimelineTone::watch}};
    detail.actBlock.actions = {
        action("restart", "Restart helper", ActionStyle::warning),
        action("request_force_quit", "Force quit", ActionStyle::destructive)};
    detail.actBlock.nextCommands = {{"ps -o rss= -p 42", "Resident size now",
                                     action("copy_rss", "Copy", ActionStyle::secondary)}};
    detail.artifactBoundary = ArtifactBoundaryBlock{
        "Heap snapshot kept",
        "A capture of the helper",
        "Captured at peak",
        {"12 MB", "~/cap.heap"},
        {action("show_artifact", "Show in Folder", ActionStyle::destructive)}};
    detail.diagnosticsBlock.metrics = {{"RSS", "2.1 GB"}};
    return detail;
}

TEST(DetailView, AnEmptyDetailShowsThePlaceholderBlocks) {
    DetailView view;
    view.setDetail(DetailSnapshot{});
    EXPECT_TRUE(shown(view, "verdictBlock"));
    EXPECT_TRUE(shown(view, "whyBlock"));
    EXPECT_FALSE(shown(view, "timelineBlock"));
    EXPECT_TRUE(shown(view, "actBlock"));
    EXPECT_TRUE(view.actionChips().empty());
    EXPECT_FALSE(shown(view, "artifactBoundaryCard"));
    EXPECT_TRUE(shown(view, "diagnostics"));
    EXPECT_FALSE(view.isDiagnosticsExpanded());
    EXPECT_FALSE(shown(view, "diagnosticsContent"));
}

TEST(DetailView, ShowsEverySectionInOrderWhenPresent) {
    DetailView view;
    view.setDetail(fullDetail());
    view.resize(420, 1200);
    view.show();
    testing::settle();
    EXPECT_EQ(textOf(*view.findChild<QWidget*>("verdictBlock"), "blockTitle"), "Browser Helper");
    EXPECT_EQ(textOf(view, "reason:1"), "No plateau");
    EXPECT_TRUE(shown(view, "timelineBlock"));
    EXPECT_TRUE(shown(view, "artifactBoundaryCard"));
    QStringList order;
    for (const char* name : {"verdictBlock", "whyBlock", "timelineBlock", "actBlock",
                             "artifactBoundaryCard", "diagnostics"}) {
        order << QString::number(view.findChild<QWidget*>(name)->y()).rightJustified(5, '0');
    }
    QStringList sorted = order;
    sorted.sort();
    EXPECT_EQ(order, sorted);
    const auto chips = view.actionChips();
    ASSERT_EQ(chips.size(), 2u);
    EXPECT_EQ(chips[0]->labelText(), "Restart helper");
    const auto* chevron = view.findChild<SymbolView*>("diagnosticsChevron");
    ASSERT_TRUE(chevron);
    EXPECT_EQ(chevron->symbol(), "go-next");
    view.setDiagnosticsExpanded(true);
    EXPECT_TRUE(shown(view, "diagnosticsContent"));
    EXPECT_EQ(chevron->symbol(), "go-down");
    EXPECT_EQ(textOf(*view.findChild<QWidget*>("diagnosticMetric:RSS"), "metricValue"), "2.1 GB");
}

TEST(DetailView, PendingChipsShowWorkingAndReturnToTheirLabel) {
    DetailView view;
    std::vector<std::string> sent;
    std::set<std::string> pending{"request_force_quit"};
    view.setOnDispatchAction([&](const ActionDescriptor& a) { sent.push_back(a.id); });
    view.setIsActionPending([&](const ActionDescriptor& a) { return pending.count(a.id) > 0; });
    view.setDetail(fullDetail());
    auto* chip = view.findChild<DetailActionChip*>("actionChip:request_force_quit");
    ASSERT_NE(chip, nullptr);
    EXPECT_EQ(chip->labelText(), "Working");
    EXPECT_FALSE(chip->isEnabled());
    chip->click();
    EXPECT_TRUE(sent.empty());

    pending.clear();
    view.refreshPending();
    EXPECT_EQ(chip->labelText(), "Force quit");
    chip->click();

    auto* row = view.findChild<NextCommandRow*>("nextCommand:copy_rss");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(textOf(*row, "command"), "ps -o rss= -p 42");
    EXPECT_EQ(row->chip()->labelText(), "Copy");
    row->chip()->click();
    auto* artifact = view.findChild<ArtifactBoundaryCard*>("artifactBoundaryCard");
    ASSERT_EQ(artifact->actionButtons().size(), 1u);
    ArtifactActionButton* show = artifact->actionButtons()[0];
    EXPECT_EQ(show->labelText(), "Show in Folder");
    show->click();
    EXPECT_EQ(sent, (std::vector<std::string>{"request_force_quit", "copy_rss", "show_artifact"}));

    // The artifact's destructive action is muted, not red.
    show->resize(show->sizeHint());
    const QImage image = testing::renderToImage(*show);
    const QColor fill = testing::pixelAt(image, QPointF(show->width() / 2.0, 2.5));
    EXPECT_LT(std::abs(fill.red() - fill.green()), 40) << fill.name().toStdString();
}

TEST(DetailView, EscapeAndTheBackButtonLeaveTheDetail) {
    DetailView view;
    int back = 0;
    view.setOnBack([&] { ++back; });
    view.setDetail(fullDetail());
    view.show();
    testing::settle();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&view, &escape);
    EXPECT_EQ(back, 1);
    auto* button = view.findChild<QAbstractButton*>("backButton");
    button->click();
    EXPECT_EQ(back, 2);
    EXPECT_EQ(button->accessibleName(), "Back to Suspects");
}

TEST(DetailView, EscapeLeavesTheDetailWhereverTheFocusIsInItsWindow) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* field = new QLineEdit(&window); // a sibling that does not take Escape itself
    auto* view = new DetailView(&window);
    layout->addWidget(field);
    layout->addWidget(view);
    int back = 0;
    view->setOnBack([&] { ++back; });
    view->setDetail(fullDetail());
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(back, 1);
}

TEST(DetailView, ARefreshKeepsChipsAndRowsByIdentity) {
    DetailView view;
    view.setDetail(fullDetail());
    auto* restart = view.findChild<DetailActionChip*>("actionChip:restart");
    auto reordered = fullDetail();
    std::swap(reordered.actBlock.actions[0], reordered.actBlock.actions[1]);
    reordered.timeline.clear();
    view.setDetail(reordered);
    testing::settle();
    EXPECT_EQ(view.actionChips()[1], restart);
    EXPECT_FALSE(shown(view, "timelineBlock"));

    const int widgets = testing::widgetCount(&view);
    view.setDetail(reordered);
    EXPECT_EQ(testing::widgetCount(&view), widgets);
    auto fewer = reordered;
    fewer.actBlock.actions.pop_back();
    view.setDetail(fewer);
    testing::settle();
    EXPECT_EQ(view.actionChips().size(), 1u);
    EXPECT_EQ(view.findChild<DetailActionChip*>("actionChip:restart"), nullptr);
}

// At the popover's card width the artifact's four buttons do not fit one line: they continue on
// a second line, each at its whole width with its whole label, inside the card.
TEST(DetailView, ArtifactButtonsThatDoNotFitOneLineContinueOnTheNext) {
    DetailView view;
    view.setDetail(ScenarioLibrary::detail("com.google.Chrome", FindingSeverity::suspect));
    const int cardWidth = 448 - 2 * 14 - 2 * 16;
    view.resize(cardWidth, view.heightForWidth(cardWidth));
    view.show();
    testing::settle();
    const auto* card = view.findChild<ArtifactBoundaryCard*>("artifactBoundaryCard");
    ASSERT_NE(card, nullptr);
    const auto buttons = card->actionButtons();
    ASSERT_EQ(buttons.size(), 4u);
    std::set<int> lines;
    for (const auto* button : buttons) {
        const std::string name = button->objectName().toStdString();
        EXPECT_EQ(button->shownLabel(), button->labelText()) << name;
        EXPECT_EQ(button->width(), button->sizeHint().width()) << name;
        const QRect inCard(button->mapTo(card, QPoint(0, 0)), button->size());
        EXPECT_TRUE(card->rect().contains(inCard)) << name;
        lines.insert(button->y());
    }
    EXPECT_EQ(lines.size(), 2u);
}

} // namespace
} // namespace velmora
