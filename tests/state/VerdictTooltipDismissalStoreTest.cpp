#include "state/VerdictTooltipDismissalStore.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using Ids = std::vector<std::string>;

TEST(KeyValueVerdictTooltipDismissalStore, StoresSortedDistinctIdsUnderTheFixedKey) {
    auto defaults = std::make_shared<MemoryKeyValueStore>();
    KeyValueVerdictTooltipDismissalStore store(defaults);
    EXPECT_EQ(store.key(), "Velmora.dismissedVerdictTooltips");
    EXPECT_FALSE(store.isDismissed("watch"));

    store.dismiss("watch");
    store.dismiss("suspect");
    store.dismiss("watch");
    EXPECT_EQ(defaults->value(store.key()), StoredValue(Ids{"suspect", "watch"}));
    EXPECT_TRUE(store.isDismissed("watch"));
    EXPECT_TRUE(store.isDismissed("suspect"));
    EXPECT_FALSE(store.isDismissed("probable"));

    store.dismiss("criticalRunaway");
    EXPECT_EQ(defaults->value(store.key()),
              StoredValue(Ids{"criticalRunaway", "suspect", "watch"}));
}

TEST(KeyValueVerdictTooltipDismissalStore, KeepsNoCopyOfTheStoredValue) {
    auto defaults = std::make_shared<MemoryKeyValueStore>();
    KeyValueVerdictTooltipDismissalStore store(defaults);
    store.dismiss("watch");
    defaults->setValue(std::string(KeyValueVerdictTooltipDismissalStore::defaultKey), Ids{});
    EXPECT_FALSE(store.isDismissed("watch"));
}

TEST(KeyValueVerdictTooltipDismissalStore, ValueOfTheWrongTypeCountsAsEmptyAndIsReplaced) {
    for (const StoredValue& wrong :
         {StoredValue(std::string("watch")), StoredValue(true), StoredValue(std::int64_t{3})}) {
        auto defaults = std::make_shared<MemoryKeyValueStore>();
        defaults->setValue("Velmora.dismissedVerdictTooltips", wrong);
        KeyValueVerdictTooltipDismissalStore store(defaults);
        EXPECT_FALSE(store.isDismissed("watch"));
        store.dismiss("suspect");
        EXPECT_EQ(defaults->value(store.key()), StoredValue(Ids{"suspect"}));
    }
}

TEST(KeyValueVerdictTooltipDismissalStore, TidiesAnUnsortedStoredListOnTheNextDismissal) {
    auto defaults = std::make_shared<MemoryKeyValueStore>();
    defaults->setValue("Velmora.dismissedVerdictTooltips", Ids{"watch", "probable", "watch"});
    KeyValueVerdictTooltipDismissalStore store(defaults);
    EXPECT_TRUE(store.isDismissed("probable"));
    store.dismiss("\xC3\xA9t\xC3\xA9"); // non-ASCII ids sort after ASCII, by code point
    EXPECT_EQ(defaults->value(store.key()),
              StoredValue(Ids{"probable", "watch", "\xC3\xA9t\xC3\xA9"}));
}

TEST(MemoryVerdictTooltipDismissalStore, RemembersDismissalsInMemory) {
    MemoryVerdictTooltipDismissalStore store;
    EXPECT_FALSE(store.isDismissed("watch"));
    store.dismiss("watch");
    EXPECT_TRUE(store.isDismissed("watch"));
    EXPECT_EQ(store.dismissedIDs(), (std::set<std::string>{"watch"}));
}

} // namespace
} // namespace velmora
