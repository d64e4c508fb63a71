// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Translate.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

std::string shouting(const char*, const char* source, const char*, int n) {
    return std::string("[") + source + "|" + std::to_string(n) + "]";
}

TEST(TranslateTest, TextsStayEnglishUntilATranslatorIsInstalled) {
    EXPECT_EQ(translate("Context", "Probable leak in %1"), "Probable leak in %1");
    // A plural's number takes the place of every "%n".
    EXPECT_EQ(translate("Context", "%n more suspects (%n)", nullptr, 12), "12 more suspects (12)");
    EXPECT_EQ(translate("Context", "no number", nullptr, 3), "no number");

    setTranslator(&shouting);
    EXPECT_EQ(translate("Context", "Hello", nullptr, 2), "[Hello|2]");
    setTranslator(nullptr);
    EXPECT_EQ(translate("Context", "Hello"), "Hello");
}

TEST(TranslateTest, ArgumentsGoWhereTheTranslationPutsThem) {
    EXPECT_EQ(withArguments("%1 for %2", {"+18 MB/min", "12 min"}), "+18 MB/min for 12 min");
    // A language may turn the order round.
    EXPECT_EQ(withArguments("seit %2: %1", {"+18 MB/min", "12 min"}), "seit 12 min: +18 MB/min");
    // Arguments are put in as they are: a "%2" inside the first is not replaced again.
    EXPECT_EQ(withArguments("%1 and %2", {"50%2", "x"}), "50%2 and x");
    // A marker without an argument, a lone "%" and a "%" at the end stay as written.
    EXPECT_EQ(withArguments("%1 %3 100% %", {"a"}), "a %3 100% %");
    EXPECT_EQ(withArguments("", {"a"}), "");
}

} // namespace
} // namespace velmora
