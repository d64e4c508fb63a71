// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Utf8.h"

#include <gtest/gtest.h>
#include <string>

namespace velmora {
namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";

TEST(Utf8, ReplacesEveryKindOfInvalidSequenceAndKeepsTheRest) {
    using utf8::withInvalidReplaced;
    EXPECT_EQ(withInvalidReplaced("plain\nline\ttab"), "plain\nline\ttab");
    EXPECT_EQ(withInvalidReplaced("caf\xC3\xA9 \xF0\x9F\x98\x80"), "caf\xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_EQ(withInvalidReplaced("a\x80z"), "a\xEF\xBF\xBDz");             // stray continuation
    EXPECT_EQ(withInvalidReplaced("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD"); // overlong
    EXPECT_EQ(withInvalidReplaced("\xED\xA0\x80"),
              "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");                               // surrogate
    EXPECT_EQ(withInvalidReplaced("\xF4\x90\x80\x80").substr(0, 3), "\xEF\xBF\xBD"); // > U+10FFFF
    EXPECT_EQ(withInvalidReplaced("end\xE2\x82"), "end\xEF\xBF\xBD\xEF\xBF\xBD");    // truncated
}

TEST(Utf8, EveryIllFormedSequenceIsInvalidByteByByteAndEveryWellFormedOneDecodes) {
    for (const std::string bad :
         {"\x80", "\xBF", "\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xE0\x9F\xBF", "\xED\xA0\x80",
          "\xED\xBF\xBF", "\xF0\x80\x80\x80", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80",
          "\xF5\x80\x80\x80", "\xFF", "\xE2\x82", "\xF0\x9F\x98"}) {
        EXPECT_FALSE(utf8::isValid(bad)) << ::testing::PrintToString(bad);
        const auto unit = utf8::decodeAt(bad, 0);
        EXPECT_EQ(unit.codePoint, utf8::kInvalid);
        EXPECT_EQ(unit.length, 1u);
        EXPECT_EQ(utf8::withInvalidReplaced(bad).find_first_not_of(kReplacement),
                  std::string::npos);
    }
    for (const char32_t codePoint : {U'\0', U'A', char32_t{0x7F}, char32_t{0x80}, char32_t{0x7FF},
                                     char32_t{0x800}, char32_t{0xD7FF}, char32_t{0xE000},
                                     char32_t{0xFFFF}, char32_t{0x10000}, char32_t{0x10FFFF}}) {
        std::string text;
        utf8::append(text, codePoint);
        EXPECT_TRUE(utf8::isValid(text)) << static_cast<uint32_t>(codePoint);
        const auto unit = utf8::decodeAt(text, 0);
        EXPECT_EQ(unit.codePoint, codePoint);
        EXPECT_EQ(unit.length, text.size());
    }
}

TEST(Utf8, ACutEndsOnACodePointBoundary) {
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"; // a é € 😀
    EXPECT_EQ(utf8::boundaryAtOrBefore(text, 0), 0u);
    EXPECT_EQ(utf8::boundaryAtOrBefore(text, 2), 1u);
    EXPECT_EQ(utf8::boundaryAtOrBefore(text, 3), 3u);
    EXPECT_EQ(utf8::boundaryAtOrBefore(text, 9), 6u);
    EXPECT_EQ(utf8::boundaryAtOrBefore(text, 10), 10u);
    EXPECT_EQ(utf8::boundaryAtOrBefore(text, 99), 10u);
    EXPECT_EQ(utf8::boundaryAtOrBefore("\xFF\xFE", 1), 1u) << "an invalid byte stands alone";
}

} // namespace
} // namespace velmora
