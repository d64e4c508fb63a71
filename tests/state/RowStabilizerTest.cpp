// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/RowStabilizer.h"

#include "ViewModelTestSupport.h"

namespace velmora::testing {
namespace {

Keys keysOf(const std::vector<FindingSnapshot>& list) {
    Keys keys;
    for (const auto& finding : list) {
        keys.push_back(finding.key);
    }
    return keys;
}

TEST(RowStabilizer, KeepsOnScreenOrderDropsGoneRowsAndAppendsNewOnes) {
    auto incoming = rows({"D", "C", "A", "E"});
    incoming[2].rate = "fresh";
    const auto stable = stabilizedRows(rows({"A", "B", "C"}), incoming);
    EXPECT_EQ(keysOf(stable), (Keys{"A", "C", "D", "E"}));
    EXPECT_EQ(stable[0].rate, "fresh");
    EXPECT_EQ(keysOf(stabilizedRows({}, incoming)), keysOf(incoming));
}

TEST(RowStabilizer, HoldsOnlyWhenTheOnScreenTopIsStillSentUnderAnotherTop) {
    EXPECT_TRUE(shouldDelayFocusFlip(rows({"A", "B"}), rows({"B", "A"})));
    EXPECT_FALSE(shouldDelayFocusFlip(rows({"A", "B"}), rows({"A", "C"})));
    EXPECT_FALSE(shouldDelayFocusFlip(rows({"A", "B"}), rows({"B", "C"})));
    EXPECT_FALSE(shouldDelayFocusFlip({}, rows({"B"})));
    EXPECT_FALSE(shouldDelayFocusFlip(rows({"A"}), {}));
}

TEST(RowStabilizer, FirstRowOfEachKeyKeepsOrderAndTheFirstContent) {
    auto list = rows({"A", "B", "A", "B", "C"});
    list[0].rate = "kept";
    const auto unique = firstRowOfEachKey(list);
    EXPECT_EQ(keysOf(unique), (Keys{"A", "B", "C"}));
    EXPECT_EQ(unique[0].rate, "kept");
}

} // namespace
} // namespace velmora::testing
