#include "res/string_ids.h"
#include "res/string_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace kelvane {
namespace {

TEST(StringTableTest, BothLanguagesHoldTheSameIds) {
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
}

TEST(StringTableTest, FormatsArgumentsInOrder) {
    EXPECT_EQ(FormatText("%s and %s", {"a", "b"}), "a and b");
    EXPECT_EQ(FormatText("%s, %s%", {"x"}), "x, %s%");
    EXPECT_EQ(FormatText("100%", {}), "100%");
}

TEST(StringTableTest, LanguageFollowsTheLocaleVariables) {
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        ResourceLanguage expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, "ja_JP.UTF-8", ResourceLanguage::Japanese},
        {nullptr, nullptr, "en_US.UTF-8", ResourceLanguage::English},
        {"C", nullptr, "ja_JP.UTF-8", ResourceLanguage::English},
        {nullptr, "ja", "en_US", ResourceLanguage::Japanese},
        {"", "", "ja_JP.eucJP", ResourceLanguage::Japanese},
        {nullptr, nullptr, "jam", ResourceLanguage::English},
        {nullptr, nullptr, nullptr, ResourceLanguage::English},
    };
    auto put = [](const char* name, const char* value) {
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    };
    for (const Case& one : cases) {
        put("LC_ALL", one.lcAll);
        put("LC_MESSAGES", one.lcMessages);
        put("LANG", one.lang);
        EXPECT_EQ(LanguageFromEnvironment(), one.expected) << (one.lang ? one.lang : "-");
    }
}

} // namespace
} // namespace kelvane
