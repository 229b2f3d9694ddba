// SPDX-License-Identifier: MIT
#include "res/format_printf.h"
#include "res/string_table.h"
#include "scoped_environment.h"
#include <array>
#include <cstdlib>

#include <gtest/gtest.h>
#include <set>
#include <utility>

using namespace kelvane;

TEST(StringTableTest, BothLanguagesHoldTheSameIdsOnce) {
    std::set<unsigned> ids[2];
    for (int language = 0; language < 2; ++language)
        for (const StringEntry& entry : language == 0 ? EnglishStrings() : JapaneseStrings())
            EXPECT_TRUE(ids[language].insert(entry.id).second) << entry.id;
    EXPECT_EQ(ids[0], ids[1]);
}

TEST(StringTableTest, LanguageFollowsTheLocaleVariables) {
    // LC_ALL, LC_MESSAGES, LANG, first set and not empty wins; nullptr unsets.
    const std::pair<std::array<const char*, 3>, ResourceLanguage> cases[] = {
        {{"C", nullptr, "ja_JP.UTF-8"}, ResourceLanguage::English},
        {{nullptr, "ja", "en_US"}, ResourceLanguage::Japanese},
        {{"", "", "ja_JP.eucJP"}, ResourceLanguage::Japanese},
        {{nullptr, nullptr, "jam"}, ResourceLanguage::English},
        {{nullptr, nullptr, nullptr}, ResourceLanguage::English}};
    const char* const names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    for (size_t i = 0; i < std::size(cases); ++i) {
        for (int v = 0; v < 3; ++v)
            if (const char* value = cases[i].first[v])
                test::SetVariable(names[v], value);
            else
                test::UnsetVariable(names[v]);
        EXPECT_EQ(LanguageFromEnvironment(), cases[i].second) << "case " << i;
    }
}

TEST(FormatPrintfTest, FormatsLikePrintfAndCopiesWhatItCannotFill) {
    EXPECT_EQ(FormatPrintf("[%5d|%-5d|%05d] %%", {42, 42, -7}), "[   42|42   |-0007] %");
    EXPECT_EQ(FormatPrintf("%x %X %u", {0xABCu, 0xABCu, 0xFFFFFFFFu}), "abc ABC 4294967295");
    // Mismatched, unknown and unfinished directives are copied as written.
    EXPECT_EQ(FormatPrintf("%d then %s %q end %05", {"text", "next"}), "%d then next %q end %05");
    EXPECT_EQ(FormatPrintf("%999999999d", {1}).size(), 255u); // a width no text needs is cut
    EXPECT_EQ(FormatText("%s, %s%", {"x"}), "x, %s%");
}
