// SPDX-License-Identifier: GPL-3.0-or-later
#include "ViewModelTestSupport.h"

namespace velmora::testing {
namespace {

VerdictTooltipCatalog fourTooltips() {
    std::string text;
    for (const char* id : {"watch", "suspect", "probable", "criticalRunaway"}) {
        text +=
            std::string("[") + id + "]\ntitle = " + id + "\nmeaning = M\nwrong = W\nposture = P\n";
    }
    return VerdictTooltipCatalog::parse(text);
}

FindingSnapshot verdictRow(std::string key, FindingVerdict verdict) {
    return row(std::move(key), FindingSeverity::watch, verdict);
}

class ViewModelTooltips : public ViewModelTest {
protected:
    void SetUp() override { catalog = fourTooltips(); }

    std::optional<std::string> activeID() const {
        const auto& tooltip = viewModel->activeVerdictTooltip();
        return tooltip ? std::optional(tooltip->id) : std::nullopt;
    }
};

TEST_F(ViewModelTooltips, FirstUndismissedVerdictOnScreenIsShownAtStart) {
    dismissals->dismiss("suspect");
    start(snapshotWith({verdictRow("A", FindingVerdict::normal),
                        verdictRow("B", FindingVerdict::suspect),
                        verdictRow("C", FindingVerdict::watch)}));
    EXPECT_EQ(activeID(), "watch");
    EXPECT_TRUE(changes.empty()) << "set at construction, not announced";
}

TEST_F(ViewModelTooltips, TooltipAppearsWithTheFirstSnapshotThatNeedsIt) {
    start(snapshotWith({verdictRow("A", FindingVerdict::normal)}));
    EXPECT_EQ(activeID(), std::nullopt);
    publish(snapshotWith({verdictRow("A", FindingVerdict::criticalRunaway)}));
    EXPECT_EQ(activeID(), "criticalRunaway");
    auto shown = take(ViewModelField::activeVerdictTooltip);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(motionOf(shown[0]), MotionName::overlay);
}

TEST_F(ViewModelTooltips, DismissingShowsTheNextUndismissedVerdictAtOnce) {
    start(snapshotWith(
        {verdictRow("A", FindingVerdict::watch), verdictRow("B", FindingVerdict::probable)}));
    viewModel->dismissActiveVerdictTooltip();
    EXPECT_TRUE(dismissals->isDismissed("watch"));
    EXPECT_EQ(activeID(), "probable");
    viewModel->dismissActiveVerdictTooltip();
    EXPECT_EQ(activeID(), std::nullopt);
    viewModel->dismissActiveVerdictTooltip();
    EXPECT_EQ(dismissals->dismissedIDs(), (std::set<std::string>{"probable", "watch"}));
}

TEST_F(ViewModelTooltips, TooltipStaysAfterItsRowHasGone) {
    start(snapshotWith({verdictRow("A", FindingVerdict::watch)}));
    publish(snapshotWith({verdictRow("B", FindingVerdict::suspect)}));
    EXPECT_EQ(activeID(), "watch");
}

TEST_F(ViewModelTooltips, VerdictsMissingFromTheCatalogAreSkipped) {
    catalog = VerdictTooltipCatalog::parse("[probable]\ntitle=T\nmeaning=M\nwrong=W\nposture=P\n");
    start(snapshotWith(
        {verdictRow("A", FindingVerdict::watch), verdictRow("B", FindingVerdict::probable)}));
    EXPECT_EQ(activeID(), "probable");
}

TEST_F(ViewModelTooltips, PersistentStoreRemembersDismissalsAcrossViewModels) {
    auto defaults = std::make_shared<MemoryKeyValueStore>();
    auto store =
        std::make_shared<StoredVerdictTooltipDismissals>(std::make_shared<AppSettings>(defaults));
    auto backend = std::make_shared<FakeVelmoraBackend>(snapshotWith(
        {verdictRow("A", FindingVerdict::suspect), verdictRow("B", FindingVerdict::watch)}));
    auto first = PopoverViewModel::create(backend, scheduler, catalog, store, 10s, 4s);
    first->dismissActiveVerdictTooltip();
    first->dismissActiveVerdictTooltip();
    EXPECT_EQ(defaults->value(std::string(settingsKeys::dismissedVerdictTooltips.key)),
              StoredValue(std::vector<std::string>{"suspect", "watch"}));
    auto second = PopoverViewModel::create(backend, scheduler, catalog, store, 10s, 4s);
    EXPECT_FALSE(second->activeVerdictTooltip());
}

} // namespace
} // namespace velmora::testing
