// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Environment.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmora {
namespace {

TEST(Environment, LaunchValuesOverrideInheritedOnesAndEverythingElsePassesThrough) {
    const char* base[] = {"HOME=/home/user", "PATH=/usr/bin", "EMPTY=",    "HOME=/shadowed",
                          "WEIRD=a=b",       "BARE",          "BARE=late", nullptr};
    const auto merged = mergedEnvironment(base, {{"HOME", "/tmp/smoke-home"}, {"EXTRA", "yes"}});
    EXPECT_EQ(merged, (std::vector<std::string>{"HOME=/tmp/smoke-home", "PATH=/usr/bin",
                                                "EMPTY=", "WEIRD=a=b", "BARE", "EXTRA=yes"}));
    EXPECT_EQ(mergedEnvironment(base, {}).size(), 5u);
    EXPECT_TRUE(mergedEnvironment(nullptr, {}).empty());
}

TEST(Environment, ThisProcesssVariablesAreReadAsGetenvSeesThem) {
    ::setenv("VELMORA_BASE_PROBE", "a=b", 1);
    ::setenv("VELMORA_BASE_EMPTY", "", 1);
    const Environment environment = processEnvironment();
    EXPECT_EQ(environment.at("VELMORA_BASE_PROBE"), "a=b");
    EXPECT_EQ(environment.at("VELMORA_BASE_EMPTY"), "");
    for (const auto& [name, value] : environment) {
        ASSERT_NE(std::getenv(name.c_str()), nullptr) << name;
        EXPECT_EQ(value, std::getenv(name.c_str())) << name;
    }
    const auto child = childEnvironment({{"VELMORA_BASE_PROBE", "child"}});
    EXPECT_EQ(std::count(child.begin(), child.end(), "VELMORA_BASE_PROBE=child"), 1);
    EXPECT_GE(child.size(), environment.size());
    ::unsetenv("VELMORA_BASE_PROBE");
    ::unsetenv("VELMORA_BASE_EMPTY");
}

} // namespace
} // namespace velmora
