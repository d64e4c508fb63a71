// SPDX-License-Identifier: GPL-3.0-or-later
// Trimming, prefix stripping and letter case on UTF-8 text.
#include "model/SurfaceText.h"

#include "model/DetailSnapshot.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(PrimarySurfaceLine, StripsOnePrefixIgnoringCaseThenTrimsAndCapitalises) {
    EXPECT_EQ(primarySurfaceLine("  cause: leaking timers \n", {"Cause:"}), "Leaking timers");
    EXPECT_EQ(primarySurfaceLine("CAUSE:x", {"Cause:"}), "X");
    EXPECT_EQ(primarySurfaceLine("Cause:", {"Cause:"}), std::nullopt);
    EXPECT_EQ(primarySurfaceLine(" \t\n ", {"Cause:"}), std::nullopt);
    EXPECT_EQ(primarySurfaceLine("", {}), std::nullopt);
    EXPECT_EQ(primarySurfaceLine("plain text", {"Cause:"}), "Plain text");
    // Only the first matching prefix is removed, once.
    EXPECT_EQ(primarySurfaceLine("Cause: Cause: twice", {"Cause:", "Cause: Cause:"}),
              "Cause: twice");
    EXPECT_EQ(primarySurfaceLine("Likely owner: cause: x", {"Cause:", "Likely owner:"}),
              "Cause: x");
}

TEST(PrimarySurfaceLine, HandlesMultiByteCharacters) {
    EXPECT_EQ(primarySurfaceLine("\u00e9tat stable", {}), "\u00c9tat stable"); // é -> É
    EXPECT_EQ(primarySurfaceLine("\u00dfe", {}), "SSe");                       // ß -> SS
    EXPECT_EQ(primarySurfaceLine("\u0444\u0430\u0439\u043b", {}),
              "\u0424\u0430\u0439\u043b");                               // файл
    EXPECT_EQ(primarySurfaceLine("\u65e5\u672c", {}), "\u65e5\u672c");   // no case
    EXPECT_EQ(primarySurfaceLine("\u00a0\u3000text\u2028", {}), "Text"); // Unicode spaces
    // The prefix match compares characters, not bytes, ignoring case beyond ASCII.
    EXPECT_EQ(primarySurfaceLine("\u00c9TAT: ok", {"\u00e9tat:"}), "Ok");
    // Invalid UTF-8 is carried through unchanged, never split or dropped.
    EXPECT_EQ(primarySurfaceLine("\xff abc", {}), "\xff abc");
    EXPECT_EQ(primarySurfaceLine("ab\xe2\x82", {}), "Ab\xe2\x82");
}

TEST(TextCase, LowercasesWholeStringsCodePointByCodePoint) {
    EXPECT_EQ(lowercased("ABC \u00c9\u00c7 \u0424"), "abc \u00e9\u00e7 \u0444");
    EXPECT_EQ(lowercased("\xc3"), "\xc3");
    EXPECT_EQ(trimmedWhitespace("  \u00e9  "), "\u00e9");
    EXPECT_EQ(capitalizedFirst(""), "");
}

TEST(CompactedUniqueFacts, SkipsAbsentBlankAndCaseInsensitiveDuplicates) {
    const std::vector<LabeledText> pairs{
        {"A", std::nullopt},    {"B", "  "},    {"C", "Same"},
        {"D", "SAME"},          {"E", " same"}, {"F", "\u00c9t\u00e9"},
        {"G", "\u00e9T\u00c9"}, {"H", "third"}, {"I", "fourth"}};
    const auto facts = compactedUniqueFacts(pairs, 3);
    ASSERT_EQ(facts.size(), 3u);
    // " same" is untrimmed when compared, so it is not a duplicate of "Same".
    EXPECT_EQ(facts[0], (IncidentPrimarySurfaceFact{"C", "Same", true}));
    EXPECT_EQ(facts[1], (IncidentPrimarySurfaceFact{"E", " same", false}));
    EXPECT_EQ(facts[2], (IncidentPrimarySurfaceFact{"F", "\u00c9t\u00e9", false}));
    EXPECT_TRUE(compactedUniqueFacts(pairs, 0).empty());
}

TEST(Identities, NextCommandIsItsActionId) {
    EXPECT_EQ(identity(NextCommandDescriptor{
                  "cmd", "why", {"copy_cmd", "Copy", ActionStyle::secondary, "k"}}),
              "copy_cmd");
}
