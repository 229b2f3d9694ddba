#include "res/string_ids.h"
#include "res/string_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace kelvane {
namespace {

TEST(StringTableTest, BothLanguagesHoldTheSameIdsOnce) {
    std::set<unsigned> english, japanese;
    for (const StringEntry& entry : EnglishStrings())
        EXPECT_TRUE(english.insert(entry.id).second) << entry.id;
    for (const StringEntry& entry : JapaneseStrings())
        EXPECT_TRUE(japanese.insert(entry.id).second) << entry.id;
    EXPECT_EQ(english, japanese);

    SetResourceLanguage(ResourceLanguage::Japanese);
    EXPECT_EQ(LoadResourceString(IDS_WRITE_FAILED), "書き込みに失敗しました");
    SetResourceLanguage(ResourceLanguage::English);
    EXPECT_EQ(LoadResourceString(IDS_WRITE_FAILED), "Write failed");
    EXPECT_EQ(LoadResourceString(1), "");

    EXPECT_EQ(FormatText("%s and %s", {"a", "b"}), "a and b");
    EXPECT_EQ(FormatText("%s, %s%", {"x"}), "x, %s%");
}

TEST(StringTableTest, LanguageFollowsTheLocaleVariables) {
    // LC_ALL, LC_MESSAGES, LANG; nullptr unsets.
    const struct {
        const char* values[3];
        ResourceLanguage expected;
    } cases[] = {
        {{nullptr, nullptr, "ja_JP.UTF-8"}, ResourceLanguage::Japanese},
        {{nullptr, nullptr, "en_US.UTF-8"}, ResourceLanguage::English},
        {{"C", nullptr, "ja_JP.UTF-8"}, ResourceLanguage::English},
        {{nullptr, "ja", "en_US"}, ResourceLanguage::Japanese},
        {{"", "", "ja_JP.eucJP"}, ResourceLanguage::Japanese},
        {{nullptr, nullptr, "jam"}, ResourceLanguage::English},
        {{nullptr, nullptr, nullptr}, ResourceLanguage::English},
    };
    const char* const names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    for (size_t i = 0; i < std::size(cases); ++i) {
        for (int v = 0; v < 3; ++v)
            if (cases[i].values[v] != nullptr)
                setenv(names[v], cases[i].values[v], 1);
            else
                unsetenv(names[v]);
        EXPECT_EQ(LanguageFromEnvironment(), cases[i].expected) << "case " << i;
    }
}

} // namespace
} // namespace kelvane
