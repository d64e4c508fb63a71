// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/AppSettings.h"

#include "state/VerdictTooltipDismissalStore.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using Ids = std::vector<std::string>;

struct Stored {
    std::shared_ptr<MemoryKeyValueStore> store = std::make_shared<MemoryKeyValueStore>();
    std::shared_ptr<AppSettings> settings = std::make_shared<AppSettings>(store);

    std::optional<StoredValue> raw(std::string_view key) const {
        return store->value(std::string(key));
    }
};

// Stored by name under the key earlier versions used; a missing value, an unknown name or a
// value of another type is the default.
TEST(AppSettings, AChoiceIsStoredByNameAndAnythingElseReadsAsTheDefault) {
    Stored s;
    const auto& level = settingsKeys::notificationLevel;
    EXPECT_EQ(level.key, "Velmora.notificationLevel");
    EXPECT_EQ(s.settings->get(level), NotificationLevel::probableAndUp);
    s.settings->set(level, NotificationLevel::criticalOnly);
    EXPECT_EQ(s.raw(level.key), StoredValue(std::string("critical")));
    EXPECT_EQ(s.settings->get(level), NotificationLevel::criticalOnly);
    for (const StoredValue& junk :
         {StoredValue(std::string("loud")), StoredValue(true), StoredValue(Ids{"off"})}) {
        s.store->setValue(std::string(level.key), junk);
        EXPECT_EQ(s.settings->get(level), NotificationLevel::probableAndUp);
    }
}

// Distinct ids in code-point order, read afresh every time; a value of the wrong type is empty
// and replaced by the next dismissal; an overlong list is held to its bound.
TEST(AppSettings, DismissedTooltipsAreASortedBoundedSetReadAfreshEveryTime) {
    Stored s;
    const auto& key = settingsKeys::dismissedVerdictTooltips.key;
    EXPECT_EQ(key, "Velmora.dismissedVerdictTooltips");
    StoredVerdictTooltipDismissals dismissals(s.settings);
    EXPECT_FALSE(dismissals.isDismissed("watch"));
    dismissals.dismiss("watch");
    dismissals.dismiss("suspect");
    dismissals.dismiss("watch");
    dismissals.dismiss("\xC3\xA9t\xC3\xA9"); // non-ASCII ids sort after ASCII, by code point
    EXPECT_EQ(s.raw(key), StoredValue(Ids{"suspect", "watch", "\xC3\xA9t\xC3\xA9"}));
    EXPECT_TRUE(dismissals.isDismissed("suspect"));
    EXPECT_FALSE(dismissals.isDismissed("probable"));

    s.store->setValue(std::string(key), Ids{});
    EXPECT_FALSE(dismissals.isDismissed("watch")); // no copy kept

    for (const StoredValue& wrong : {StoredValue(std::string("watch")), StoredValue(true)}) {
        s.store->setValue(std::string(key), wrong);
        EXPECT_FALSE(dismissals.isDismissed("watch"));
        dismissals.dismiss("suspect");
        EXPECT_EQ(s.raw(key), StoredValue(Ids{"suspect"}));
    }

    Ids many;
    for (int i = 0; i < 100; ++i) {
        many.push_back(std::to_string(1000 + i));
    }
    s.store->setValue(std::string(key), many);
    EXPECT_EQ(s.settings->get(settingsKeys::dismissedVerdictTooltips).size(), 64u);
    dismissals.dismiss("a");
    EXPECT_EQ(std::get<Ids>(*s.raw(key)).size(), 64u);
    EXPECT_TRUE(dismissals.isDismissed("a"));
}

} // namespace
} // namespace velmora
