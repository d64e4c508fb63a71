// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/help/VerdictHelpView.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

QString textOf(const QWidget& parent, const char* name) {
    const auto* text = parent.findChild<VelmoraText*>(name);
    return text != nullptr ? text->displayText() : QStringLiteral("<missing %1>").arg(name);
}

VerdictTooltipCatalog catalogOf(std::vector<std::string> ids) {
    VerdictTooltipCatalog catalog;
    for (const auto& id : ids) {
        catalog.tooltips[id] =
            VerdictTooltip{id, "Title " + id, "Means " + id, "Wrong " + id, "Posture " + id};
    }
    return catalog;
}

TEST(VerdictHelpView, ListsTheCatalogInItsOrderUnderTheHeading) {
    VerdictHelpView view;
    view.setCatalog(VerdictTooltipCatalog{});
    EXPECT_EQ(textOf(view, "helpHeading"), "What do the verdicts mean?");
    EXPECT_TRUE(view.blocks().empty());

    view.setCatalog(catalogOf({"criticalRunaway", "watch", "suspect", "extra"}));
    const auto blocks = view.blocks();
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0]->objectName(), "verdictHelp:watch");
    EXPECT_EQ(blocks[1]->objectName(), "verdictHelp:suspect");
    EXPECT_EQ(blocks[2]->objectName(), "verdictHelp:criticalRunaway");
    const QWidget& watch = *blocks[0];
    EXPECT_EQ(textOf(watch, "helpTitle"), "Title watch");
    EXPECT_EQ(textOf(*watch.findChild<QWidget*>("means"), "helpLabel"), "MEANS");
    EXPECT_EQ(textOf(*watch.findChild<QWidget*>("falsePositive"), "helpLabel"), "FALSE POSITIVE");
    EXPECT_EQ(textOf(*watch.findChild<QWidget*>("posture"), "helpLabel"), "POSTURE");
    EXPECT_EQ(textOf(*watch.findChild<QWidget*>("posture"), "helpText"), "Posture watch");
}

TEST(VerdictHelpView, ALongPostureWrapsInsteadOfBeingCut) {
    VerdictHelpView view;
    auto catalog = catalogOf({"watch"});
    std::string posture;
    for (int i = 0; i < 40; ++i) {
        posture += "keep watching the helper process ";
    }
    catalog.tooltips["watch"].posture = posture;
    view.setCatalog(catalog);
    auto* text =
        view.blocks()[0]->findChild<QWidget*>("posture")->findChild<VelmoraText*>("helpText");
    EXPECT_EQ(text->lineLimit(), 0);
    EXPECT_GT(text->heightForWidth(300), 5 * text->heightForWidth(100000));
}

} // namespace
} // namespace velmora
