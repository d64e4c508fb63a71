// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MessageLanguages.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using Languages = std::vector<std::string>;

TEST(MessageLanguagesTest, TheLocaleOfMessagesChoosesAsGettextDoes) {
    EXPECT_EQ(messageLanguages({{"LANG", "de_DE.UTF-8"}}), (Languages{"de_DE", "de"}));
    EXPECT_EQ(messageLanguages({{"LANG", "de_AT.UTF-8@euro"}}), (Languages{"de_AT", "de"}));
    EXPECT_EQ(messageLanguages({{"LANG", "de"}}), (Languages{"de"}));
    // LC_MESSAGES overrides LANG, LC_ALL overrides both.
    EXPECT_EQ(messageLanguages({{"LANG", "fr_FR.UTF-8"}, {"LC_MESSAGES", "de_CH.UTF-8"}}),
              (Languages{"de_CH", "de"}));
    EXPECT_EQ(messageLanguages(
                  {{"LANG", "fr_FR.UTF-8"}, {"LC_MESSAGES", "de_CH.UTF-8"}, {"LC_ALL", "it_IT"}}),
              (Languages{"it_IT", "it"}));
    // An empty variable counts as unset.
    EXPECT_EQ(messageLanguages({{"LANG", "de_DE.UTF-8"}, {"LC_ALL", ""}}),
              (Languages{"de_DE", "de"}));
}

TEST(MessageLanguagesTest, LanguageListsThePreferencesFirst) {
    EXPECT_EQ(messageLanguages({{"LANG", "fr_FR.UTF-8"}, {"LANGUAGE", "de_AT:de:fr"}}),
              (Languages{"de_AT", "de", "fr", "fr_FR"}));
    // Empty entries are skipped; the list ends at English, the language of the texts as
    // written, so a German catalogue never stands in for a preferred English.
    EXPECT_EQ(messageLanguages({{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", ":en_GB:de"}}), Languages{});
    EXPECT_EQ(messageLanguages({{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "pseudo"}}),
              (Languages{"pseudo"}));
}

TEST(MessageLanguagesTest, TheCLocaleAndEnglishKeepTheTextsAsWritten) {
    EXPECT_EQ(messageLanguages({}), Languages{});
    EXPECT_EQ(messageLanguages({{"LANG", "C"}}), Languages{});
    EXPECT_EQ(messageLanguages({{"LANG", "C.UTF-8"}}), Languages{});
    EXPECT_EQ(messageLanguages({{"LANG", "POSIX"}}), Languages{});
    EXPECT_EQ(messageLanguages({{"LANG", "en_US.UTF-8"}}), Languages{});
    // Under the C locale gettext ignores LANGUAGE, and so does the app.
    EXPECT_EQ(messageLanguages({{"LANG", "C.UTF-8"}, {"LANGUAGE", "de"}}), Languages{});
    EXPECT_EQ(messageLanguages({{"LANG", "de_DE.UTF-8"}, {"LC_ALL", "C"}}), Languages{});
}

} // namespace
} // namespace velmora
