// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/popover/FooterTelemetry.h"

#include "support/ViewTestSupport.h"
#include "views/kit/AccessibleValue.h"
#include "views/kit/FooterCommandButton.h"
#include "views/kit/VelmoraText.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

std::vector<FooterCommandRole> roles(const std::vector<FooterCommandItem>& items) {
    std::vector<FooterCommandRole> out;
    for (const auto& item : items) {
        out.push_back(item.role);
    }
    return out;
}

using R = FooterCommandRole;

TEST(FooterCommandItemsTest, FocusedLiveLayoutKeepsOnlyHistoryAndExport) {
    EXPECT_EQ(roles(footerCommandItems(true, false)),
              (std::vector{R::advancedHistory, R::exportReport}));
    EXPECT_EQ(roles(footerCommandItems(true, true)),
              (std::vector{R::advancedHistory, R::exportReport, R::openSettings, R::quit}));
    EXPECT_EQ(roles(footerCommandItems(false, false)),
              (std::vector{R::advancedHistory, R::exportReport, R::openSettings, R::quit}));
}

class FooterTelemetryTest : public ::testing::Test {
protected:
    FooterTelemetryTest() {
        footer.setCallbacks(
            {[this] { ++toggles; }, [this](ShellCommand c) { commands.push_back(c); }});
        footer.resize(388, 120);
        footer.show();
    }
    void show(bool history, bool focused, std::set<ShellCommand> pending = {}) {
        footer.setContent({}, history, focused,
                          [pending](ShellCommand c) { return pending.count(c) != 0; });
    }
    FooterTelemetry footer;
    int toggles = 0;
    std::vector<ShellCommand> commands;
};

TEST_F(FooterTelemetryTest, LayoutsDecideChipsRuleAndButtons) {
    show(false, true);
    EXPECT_EQ(footer.buttons().size(), 2u);
    EXPECT_FALSE(footer.findChild<QWidget*>("footerChips")->isVisibleTo(&footer));
    const double quietRule = footer.ruleOpacity();

    show(true, true);
    ASSERT_EQ(footer.buttons().size(), 4u);
    auto* history = footer.button(R::advancedHistory);
    EXPECT_TRUE(history->isActive());
    EXPECT_EQ(history->symbol(), "velmora-live");
    EXPECT_EQ(history->accessibleName(), "Return to live triage");
    EXPECT_EQ(accessibleValue(history), "Active");
    EXPECT_GT(footer.ruleOpacity(), quietRule);
    EXPECT_FALSE(footer.findChild<QWidget*>("footerChips")->isVisibleTo(&footer));

    show(false, false);
    EXPECT_EQ(footer.buttons().size(), 4u);
    EXPECT_TRUE(footer.findChild<QWidget*>("footerChips")->isVisibleTo(&footer));
    EXPECT_EQ(footer.button(R::advancedHistory), history); // kept by role
    EXPECT_EQ(accessibleValue(history), "Ready");
    EXPECT_EQ(history->toolTip(), "Open advanced history");
}

TEST_F(FooterTelemetryTest, PendingExportIsDisabledAndWorkingWhileOthersStayUsable) {
    show(false, false, {ShellCommand::exportReport});
    auto* exportButton = footer.button(R::exportReport);
    EXPECT_TRUE(exportButton->isPending());
    EXPECT_FALSE(exportButton->isEnabled());
    EXPECT_EQ(accessibleValue(exportButton), "Working");
    exportButton->click();
    EXPECT_TRUE(commands.empty());
    footer.button(R::openSettings)->click();
    footer.button(R::quit)->click();
    footer.button(R::advancedHistory)->click();
    EXPECT_EQ(commands, (std::vector{ShellCommand::openSettings, ShellCommand::quit}));
    EXPECT_EQ(toggles, 1);
    show(false, false);
    EXPECT_TRUE(exportButton->isEnabled());
    EXPECT_EQ(accessibleValue(exportButton), "Ready");
}

// The rule is the top pixel of the footer; whatever row comes first keeps the stack's 10 pixels
// below it, and the two chips split their row in equal halves whatever their texts.
TEST_F(FooterTelemetryTest, RowsKeepTheirDistanceFromTheRuleAndChipsShareTheRowEqually) {
    for (const bool focused : {false, true}) {
        show(false, focused);
        footer.setContent({"Storage 12 MB", "Prune scheduled after the first scan", {}}, false,
                          focused, {});
        footer.resize(388, footer.sizeHint().height());
        testing::settle();
        const auto shown = testing::visibleChildrenByY(&footer);
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.front()->y(), 1 + 10) << (focused ? "focused" : "list") << " layout";
    }
    show(false, false);
    footer.setContent({"Storage 12 MB", "Prune scheduled after the first scan", {}}, false, false,
                      {});
    testing::settle();
    const auto* storage = footer.findChild<QWidget*>("storageChip");
    const auto* retention = footer.findChild<QWidget*>("retentionChip");
    EXPECT_LE(std::abs(storage->width() - retention->width()), 1);
    EXPECT_EQ(storage->width() + 8 + retention->width(), 388);
    // The short value is whole; the long one is cut at its tail, with an ellipsis.
    const auto* storageValue = storage->findChildren<VelmoraText*>().back();
    const auto* retentionValue = retention->findChildren<VelmoraText*>().back();
    EXPECT_FALSE(storageValue->drawnTexts().front().elided);
    const DrawnText cut = retentionValue->drawnTexts().front();
    EXPECT_TRUE(cut.elided);
    EXPECT_TRUE(cut.text.endsWith(QChar(0x2026))) << cut.text.toStdString();
}

} // namespace
} // namespace velmora
