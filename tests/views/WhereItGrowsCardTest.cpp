// SPDX-License-Identifier: GPL-3.0-or-later
// The detail's "Where it grows" block at the popover's card width: the countdown with its bar and
// Stop while heap tracking runs, the sites and their stacks once done, the refusal with what to
// run; updated in place from one snapshot to the next, every press sent back as its action.

#include "views/detail/WhereItGrowsCard.h"

#include "demo/ScenarioLibrary.h"
#include "tests/views/support/ViewTestSupport.h"
#include "views/detail/DetailActionChip.h"
#include "views/detail/DetailActionList.h"
#include "views/detail/DetailView.h"
#include "views/detail/NextCommandRow.h"
#include "views/kit/AccessibleValue.h"
#include "views/kit/ProgressBar.h"

#include <QTest>
#include <gtest/gtest.h>

namespace velmora {
namespace {

namespace S = ScenarioLibrary;

// The detail's width inside the popover at 448 px: the popover's and the card's margins.
constexpr int kDetailWidth = 448 - 2 * 14 - 2 * 16;

QString textOf(const QWidget& parent, const QString& name) {
    const auto* text = parent.findChild<VelmoraText*>(name);
    return text != nullptr ? text->displayText() : QStringLiteral("<missing %1>").arg(name);
}

WhereItGrowsBlock blockOf(const PopoverSnapshot& snapshot) {
    return *snapshot.selectedDetail->whereItGrows;
}

struct Shown {
    DetailView view;
    WhereItGrowsCard* card = nullptr;
    std::vector<std::string> sent;

    explicit Shown(const DetailSnapshot& detail) {
        view.setOnDispatchAction([this](const ActionDescriptor& action) {
            sent.push_back(action.id + "::" + action.targetKey);
        });
        show(detail);
    }
    void show(const DetailSnapshot& detail) {
        view.setDetail(detail);
        view.resize(kDetailWidth, view.heightForWidth(kDetailWidth));
        view.show();
        testing::settle();
        card = view.findChild<WhereItGrowsCard*>("whereItGrowsCard");
    }
    DetailActionChip* chip(const char* id) const {
        return card->findChild<DetailActionChip*>(QStringLiteral("actionChip:%1").arg(id));
    }
};

TEST(WhereItGrowsCard, WhileTrackingItCountsDownWithABarAndAStop) {
    Shown shown(*S::whereTracking().selectedDetail);
    ASSERT_NE(shown.card, nullptr);
    EXPECT_FALSE(shown.card->isHidden());
    EXPECT_EQ(textOf(*shown.card, "blockTitle"), "WHERE IT GROWS");
    EXPECT_EQ(shown.card->accessibleName(), "Where it grows");
    EXPECT_EQ(textOf(*shown.card, "whereStatus"), "Tracking chrome (PID 48213) \u00B7 42 s left");
    auto* bar = shown.card->findChild<ProgressBar*>("whereProgress");
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->isHidden());
    EXPECT_DOUBLE_EQ(bar->value(), 0.3);
    EXPECT_EQ(accessibleValue(bar), "30 %");
    // The bar is filled from its leading edge to 30 % of its width, and not beyond.
    const QImage image = testing::renderToImage(*bar, 2);
    const QColor filled = testing::pixelAt(image, QPointF(bar->width() * 0.15, 3));
    const QColor empty = testing::pixelAt(image, QPointF(bar->width() * 0.6, 3));
    EXPECT_FALSE(testing::colorsClose(filled, empty, 20))
        << filled.name().toStdString() << " " << empty.name().toStdString();
    EXPECT_EQ(shown.card->findChild<QWidget*>("whereSite:0"), nullptr);

    DetailActionChip* stop = shown.chip("stop_where_tracking");
    ASSERT_NE(stop, nullptr);
    EXPECT_EQ(stop->labelText(), "Stop");
    stop->click();
    EXPECT_EQ(shown.sent, std::vector<std::string>{"stop_where_tracking::com.google.Chrome"});

    // Pressed, it waits for the answer like every action of the detail.
    shown.view.setIsActionPending(
        [](const ActionDescriptor& action) { return action.id == "stop_where_tracking"; });
    EXPECT_TRUE(shown.chip("stop_where_tracking")->isPending());
    EXPECT_FALSE(shown.chip("stop_where_tracking")->isEnabled());
}

TEST(WhereItGrowsCard, OnceDoneItListsTheSitesWithTheirStacksInPlace) {
    Shown shown(*S::whereTracking().selectedDetail);
    WhereItGrowsCard* card = shown.card;
    const int widgets = testing::widgetCount(card);
    shown.show(*S::whereItGrows().selectedDetail);
    ASSERT_EQ(shown.card, card) << "the block is updated in place";
    EXPECT_TRUE(card->findChild<ProgressBar*>("whereProgress")->isHidden());
    EXPECT_EQ(textOf(*card, "whereStatus"),
              "Tracked chrome (PID 48213) for 60 s; 193.6 MB allocated meanwhile was not freed.");

    const WhereItGrowsBlock block = blockOf(S::whereItGrows());
    auto order =
        testing::visibleChildrenByY(card->findChild<QWidget*>("whereSite:0")->parentWidget());
    ASSERT_EQ(order.size(), block.sites.size());
    for (std::size_t i = 0; i < block.sites.size(); ++i) {
        EXPECT_EQ(order[i]->objectName(), QStringLiteral("whereSite:%1").arg(i));
        EXPECT_EQ(textOf(*order[i], "siteHeadline").toStdString(), block.sites[i].headline);
        for (std::size_t f = 0; f < block.sites[i].stack.size(); ++f) {
            EXPECT_EQ(textOf(*order[i], QStringLiteral("frame:%1").arg(f)).toStdString(),
                      block.sites[i].stack[f]);
        }
    }
    // Every site and frame is whole inside the card, wrapped rather than cut.
    for (auto* text : card->findChildren<VelmoraText*>()) {
        if (text->isVisibleTo(card)) {
            const QRect inCard(text->mapTo(card, QPoint(0, 0)), text->size());
            EXPECT_TRUE(card->rect().contains(inCard)) << text->text().toStdString();
            for (const auto& drawn : text->drawnTexts()) {
                EXPECT_FALSE(drawn.elided) << text->text().toStdString();
            }
        }
    }
    EXPECT_EQ(textOf(*card, "whereNote:0").left(26), "Recording: ~/.local/share/");
    ASSERT_NE(shown.chip("copy_where_report"), nullptr);
    ASSERT_NE(shown.chip("open_where_recording"), nullptr);
    EXPECT_EQ(shown.chip("stop_where_tracking"), nullptr);
    shown.chip("copy_where_report")->click();
    shown.chip("open_where_recording")->click();
    EXPECT_EQ(shown.sent, (std::vector<std::string>{"copy_where_report::com.google.Chrome",
                                                    "open_where_recording::com.google.Chrome"}));

    // The same snapshot again changes nothing; a detail without the block hides it.
    const int shownWidgets = testing::widgetCount(card);
    shown.show(*S::whereItGrows().selectedDetail);
    EXPECT_EQ(testing::widgetCount(card), shownWidgets);
    EXPECT_GT(shownWidgets, widgets);
    shown.show(*S::detailOpened().selectedDetail);
    EXPECT_TRUE(card->isHidden());
}

TEST(WhereItGrowsCard, ARefusalSaysWhyWhatToRunAndOffersTheRestart) {
    Shown shown(*S::whereRefused().selectedDetail);
    WhereItGrowsCard* card = shown.card;
    const WhereItGrowsBlock block = blockOf(S::whereRefused());
    EXPECT_EQ(textOf(*card, "whereStatus").toStdString(), block.status);
    EXPECT_TRUE(card->findChild<ProgressBar*>("whereProgress")->isHidden());
    EXPECT_EQ(card->findChild<VelmoraText*>("whereStatus")->color().name,
              PaletteColor::suspectText);
    const auto rows = card->actions()->commandRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(textOf(*rows[1], "command"), "heaptrack -p 48213");
    rows[2]->chip()->click();
    ASSERT_NE(shown.chip("restart_with_tracking"), nullptr);
    EXPECT_EQ(shown.chip("restart_with_tracking")->labelText(), "Restart with Tracking");
    shown.chip("restart_with_tracking")->click();
    EXPECT_EQ(shown.sent, (std::vector<std::string>{"copy_where_command_3::com.google.Chrome",
                                                    "restart_with_tracking::com.google.Chrome"}));
    // The detail's own chips are not the block's.
    EXPECT_EQ(shown.view.actionChips().size(),
              S::whereRefused().selectedDetail->actBlock.actions.size());
}

} // namespace
} // namespace velmora
