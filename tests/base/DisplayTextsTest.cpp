// SPDX-License-Identifier: GPL-3.0-or-later
// The one formatter of each kind, in every form a surface shows.
#include "base/AgoText.h"
#include "base/SizeText.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(AgoText, EachSurfaceKeepsItsFormAtEveryBoundary) {
    EXPECT_EQ(agoText(0, kNoticeAgo), "just now");
    EXPECT_EQ(agoText(59, kNoticeAgo), "59 s ago");
    EXPECT_EQ(agoText(60, kNoticeAgo), "1 min ago");
    EXPECT_EQ(agoText(3599, kNoticeAgo), "59 min ago");
    EXPECT_EQ(agoText(2 * 3600 + 1800, kNoticeAgo), "2 h ago");
    EXPECT_EQ(agoText(49 * 3600, kNoticeAgo), "2 d ago");

    EXPECT_EQ(agoText(59, kFindingAgo), "just now");
    EXPECT_EQ(agoText(300, kFindingAgo), "5 min ago");
    EXPECT_EQ(agoText(30 * 3600, kFindingAgo), "30 h ago"); // findings never count days

    EXPECT_EQ(agoText(-5, kHistoryAgo), "just now"); // a clock that stepped back
    EXPECT_EQ(agoText(59, kHistoryAgo), "just now");
    EXPECT_EQ(agoText(300, kHistoryAgo), "5m ago");
    EXPECT_EQ(agoText(3 * 3600, kHistoryAgo), "3h ago");
    EXPECT_EQ(agoText(2 * 86400, kHistoryAgo), "2d ago");
}

TEST(SizeText, SizesAndRatesInTheirForms) {
    EXPECT_EQ(formatKiB(uint64_t{512}), "512.0 KB");
    EXPECT_EQ(formatKiB(uint64_t{8} * 1024 * 1024), "8.0 GB");
    EXPECT_EQ(byteSizeText(420 * 1024), "420 KB");
    EXPECT_EQ(byteSizeText(1024ull * 1024 * 1024 - 1), "1023 MB"); // never "1024 MB"
    EXPECT_EQ(byteSizeText(1288490189ull), "1.2 GB");
    EXPECT_EQ(rateText(8.24), "+8.2 MB/min");
    EXPECT_EQ(rateText(-0.4), "-0.4 MB/min");
}

} // namespace
} // namespace velmora
