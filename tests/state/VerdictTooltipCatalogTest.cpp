// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/VerdictTooltipCatalog.h"

#include "tests/support/TemporaryDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace velmora {
namespace {

std::string section(const std::string& id, const std::string& title = "T") {
    return "[" + id + "]\ntitle = " + title + "\nmeaning = M\nwrong = W\nposture = P\n";
}

TEST(VerdictTooltipCatalogParse, ReadsCompleteSectionsIntoTooltips) {
    const auto catalog = VerdictTooltipCatalog::parse(
        "[watch]\ntitle = Watch\nmeaning = Climbing\nwrong = Caches\nposture = Wait\n");
    ASSERT_EQ(catalog.tooltips.size(), 1u);
    EXPECT_EQ(catalog.tooltips.at("watch"),
              (VerdictTooltip{"watch", "Watch", "Climbing", "Caches", "Wait"}));
}

TEST(VerdictTooltipCatalogParse, SplitsKeyFromValueAtTheFirstEqualsSignOnly) {
    for (const char* line : {"meaning = a = b", "meaning=a = b", "meaning  =  a = b  "}) {
        const auto catalog = VerdictTooltipCatalog::parse(
            std::string("[watch]\ntitle=T\nwrong=W\nposture=P\n") + line + "\n");
        ASSERT_TRUE(catalog.find("watch")) << line;
        EXPECT_EQ(catalog.find("watch")->meaning, "a = b") << line;
    }
}

TEST(VerdictTooltipCatalogParse, DropsIncompleteOrMisspelledSectionsAndKeepsTheRest) {
    const auto catalog = VerdictTooltipCatalog::parse(
        "[watch]\nTitle = T\nmeaning = M\nwrong = W\nposture = P\n" // key case matters
        "[suspect]\ntitle = T\nmeaning = M\nwrong = W\n"            // no posture
        "[]\n" +
        section("probable"));
    EXPECT_FALSE(catalog.find("watch"));
    EXPECT_FALSE(catalog.find("suspect"));
    ASSERT_EQ(catalog.tooltips.size(), 1u);
    EXPECT_TRUE(catalog.find("probable"));
}

TEST(VerdictTooltipCatalogParse, LaterSectionsAndLaterKeysReplaceEarlierOnes) {
    const auto catalog = VerdictTooltipCatalog::parse(
        section("watch", "first") + section("watch", "second") + "title = third\n");
    EXPECT_EQ(catalog.find("watch")->title, "third");
}

TEST(VerdictTooltipCatalogParse, IgnoresFieldsBeforeTheFirstHeaderAndCommentLines) {
    const auto catalog = VerdictTooltipCatalog::parse(
        "title = stray\nmeaning = M\nwrong = W\nposture = P\nA comment line\n[watch]\n"
        "a comment\ntitle = T\nmeaning = M\nwrong = W\nposture = P\n");
    ASSERT_EQ(catalog.tooltips.size(), 1u);
    EXPECT_EQ(catalog.find("watch")->title, "T");
}

TEST(VerdictTooltipCatalogParse, HeaderIdIsTakenUnchangedButTheLineIsTrimmed) {
    const auto catalog = VerdictTooltipCatalog::parse(
        "  [ odd id ]\t\ntitle = T\nmeaning = M\nwrong = W\nposture = P\n[]\ntitle = E\n"
        "meaning = M\nwrong = W\nposture = P\n");
    EXPECT_TRUE(catalog.find(" odd id "));
    ASSERT_TRUE(catalog.find(""));
    EXPECT_EQ(catalog.find("")->title, "E");
}

TEST(VerdictTooltipCatalogParse, SplitsAtEveryKindOfLineBreak) {
    for (const std::string separator :
         {"\n", "\r", "\r\n", "\xC2\x85", "\xE2\x80\xA8", "\xE2\x80\xA9", "\n\r\n\r"}) {
        const std::string text = "[watch]" + separator + "title = T" + separator + "meaning = M" +
                                 separator + "wrong = W" + separator + "posture = P";
        const auto catalog = VerdictTooltipCatalog::parse(text);
        ASSERT_TRUE(catalog.find("watch")) << "separator of " << separator.size() << " bytes";
        EXPECT_EQ(catalog.find("watch")->posture, "P");
    }
}

TEST(VerdictTooltipCatalogParse, TrimsUnicodeSpacesAroundLinesKeysAndValues) {
    const std::string nbsp = "\xC2\xA0", ideographic = "\xE3\x80\x80", thin = "\xE2\x80\x89";
    const auto catalog = VerdictTooltipCatalog::parse(
        ideographic + "[watch]" + nbsp + "\n" + "title" + thin + "=" + nbsp + "Caf\xC3\xA9" +
        ideographic + "\n\tmeaning\t=\tM\t\nwrong = W\nposture = P\n");
    ASSERT_TRUE(catalog.find("watch"));
    EXPECT_EQ(catalog.find("watch")->title, "Caf\xC3\xA9");
    EXPECT_EQ(catalog.find("watch")->meaning, "M");
}

TEST(VerdictTooltipCatalogParse, EmptyValuesAndInnerSpacesAreKept) {
    const auto catalog =
        VerdictTooltipCatalog::parse("[watch]\ntitle =\nmeaning = two  words\nwrong=\nposture=P\n");
    ASSERT_TRUE(catalog.find("watch"));
    EXPECT_EQ(catalog.find("watch")->title, "");
    EXPECT_EQ(catalog.find("watch")->meaning, "two  words");
}

TEST(VerdictTooltipCatalogOrder, ListsTheFourVerdictsInOrderAndSkipsOthers) {
    const auto catalog = VerdictTooltipCatalog::parse(
        section("criticalRunaway") + section("extra") + section("watch") + section("probable"));
    std::vector<std::string> ids;
    for (const auto& tooltip : catalog.orderedTooltips()) {
        ids.push_back(tooltip.id);
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"watch", "probable", "criticalRunaway"}));
    EXPECT_TRUE(catalog.find("extra"));
}

class VerdictTooltipCatalogFile : public ::testing::Test {
protected:
    std::filesystem::path write(const std::string& bytes) {
        const auto file = directory_ / "VerdictTooltips.txt";
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

    const testing::TemporaryDirectory scratch_;
    const std::filesystem::path& directory_ = scratch_.path();
};

TEST_F(VerdictTooltipCatalogFile, MissingDirectoryOrInvalidUtf8GiveAnEmptyCatalog) {
    EXPECT_TRUE(VerdictTooltipCatalog::load(directory_ / "absent.txt").tooltips.empty());
    EXPECT_TRUE(VerdictTooltipCatalog::load(directory_).tooltips.empty());
    for (const std::string bad :
         {"\xFF", "\xC0\xAF", "\xED\xA0\x80", "\xE2\x80", "\xF4\x90\x80\x80"}) {
        EXPECT_TRUE(VerdictTooltipCatalog::load(write(section("watch") + bad)).tooltips.empty());
    }
}

TEST_F(VerdictTooltipCatalogFile, ReadsAValidFileAndIgnoresAByteOrderMark) {
    EXPECT_TRUE(
        VerdictTooltipCatalog::load(write("\xEF\xBB\xBF" + section("watch"))).find("watch"));
    EXPECT_TRUE(VerdictTooltipCatalog::load(write("")).tooltips.empty());
}

TEST(VerdictTooltipCatalogResource, ShippedFileExplainsEveryListedVerdict) {
    const auto catalog = VerdictTooltipCatalog::load(std::filesystem::path(VELMORA_SOURCE_DIR) /
                                                     "resources" / "VerdictTooltips.txt");
    const auto ordered = catalog.orderedTooltips();
    ASSERT_EQ(ordered.size(), 4u);
    for (const auto& tooltip : ordered) {
        EXPECT_FALSE(tooltip.title.empty() || tooltip.meaning.empty() || tooltip.wrong.empty() ||
                     tooltip.posture.empty())
            << tooltip.id;
    }
    EXPECT_EQ(catalog.find("watch")->title, "Watch: memory is climbing slowly");
}

TEST(VerdictTooltipCatalogResource, BundledCatalogIsLoadedOnceFromTheResourcesDirectory) {
    const auto resources = std::filesystem::path(VELMORA_SOURCE_DIR) / "resources";
    ::setenv("VELMORA_RESOURCES_DIR", resources.c_str(), 1);
    std::vector<const VerdictTooltipCatalog*> seen(4);
    std::vector<std::thread> threads;
    for (auto& slot : seen) {
        threads.emplace_back([&slot] { slot = &VerdictTooltipCatalog::bundled(); });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (const auto* catalog : seen) {
        EXPECT_EQ(catalog, &VerdictTooltipCatalog::bundled());
    }
    EXPECT_EQ(VerdictTooltipCatalog::bundled(),
              VerdictTooltipCatalog::load(resources / "VerdictTooltips.txt"));
    EXPECT_EQ(VerdictTooltipCatalog::bundled().orderedTooltips().size(), 4u);
}

} // namespace
} // namespace velmora
