// SPDX-License-Identifier: MIT
#include "platform/files/atomic_file.h"
#include "platform/files/file_reader.h"
#include "platform/text/code_page.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "scoped_environment.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kelvane {
namespace {

using test::ScopedEnvironment;

// テスト in CP932.
constexpr const char* kTestCp932 = "\x83\x65\x83\x58\x83\x67";

TEST(CodePageTest, Cp932AndUtf8ConvertBothWays) {
    ScopedEnvironment codePage("KELVANE_CODEPAGE", "CP932");
    EXPECT_EQ(ProjectToUtf8(kTestCp932), "テスト");
    EXPECT_EQ(Utf8ToProject("テスト"), kTestCp932);
    // 表 ends in '\', and CP932's wave dash is U+FF5E, not Shift-JIS's U+301C.
    EXPECT_EQ(ProjectToUtf8("C:\\\x95\x5C\\a\x81\x60"), "C:\\表\\a～");
    EXPECT_EQ(Utf8ToProject("C:\\表\\a～"), "C:\\\x95\x5C\\a\x81\x60");
    // One-byte kana take three bytes in UTF-8: the output outgrows its first guess.
    const std::string kana(300, '\xB1');
    std::string kanaUtf8;
    for (int i = 0; i < 300; ++i)
        kanaUtf8 += "ｱ";
    EXPECT_EQ(ProjectToUtf8(kana), kanaUtf8);
    EXPECT_EQ(Utf8ToProject(kanaUtf8), kana);
    EXPECT_EQ(ConvertText("\x93\xfa\x96\x7b", "CP932", "UTF-16LE"),
              std::string("\xE5\x65\x2C\x67", 4));

    // The string tables are UTF-8 source; the core gets them in the code page.
    const ResourceLanguage language = CurrentResourceLanguage();
    SetResourceLanguage(ResourceLanguage::Japanese);
    EXPECT_EQ(LoadResourceString(IDS_CAPTION_CONFIRM), "\x8A\x6D\x94\x46"); // 確認
    const std::string question = FormatResourceString(IDS_OVERWRITE_QUESTION, {"\x95\x5C.fsp"});
    EXPECT_EQ(ProjectToUtf8(question), "表.fsp を上書きしてよろしいですか?");
    SetResourceLanguage(language);
}

TEST(CodePageTest, WhatDoesNotConvertIsReplacedAndTheRestKept) {
    // An invalid trail byte, an undefined byte, a character cut by the end.
    const std::string broken = std::string("A\x83 B\xFD") + "C\x83\x65\x83";
    EXPECT_EQ(ConvertText(broken, "CP932", "UTF-8"),
              std::string("A\xEF\xBF\xBD B\xEF\xBF\xBD") + "Cテ\xEF\xBF\xBD");
    // One '?' for each character the target lacks; invalid UTF-8 byte by byte.
    EXPECT_EQ(ConvertText("é テ\xFF!", "UTF-8", "CP932"), "? \x83\x65?!");
    EXPECT_EQ(ConvertText(kTestCp932, "CP932", "ISO-8859-1"), "???");
    // A stateful target goes back to ASCII before the '?'.
    // Wine converts no stateful code page.
    if (!test::kOnWindows) {
        EXPECT_EQ(ConvertText("aテéb", "UTF-8", "ISO-2022-JP"), "a\x1B$B%F\x1B(B?b");
    }
    EXPECT_EQ(ConvertText("", "CP932", "UTF-8"), "");
}

TEST(CodePageTest, Utf8CodePageIsTheIdentity) {
    // Bytes pass as they are, valid or not, in any spelling of the name.
    const std::string bytes = "a\xFF\x83\x65\xC3";
    for (const char* name : {"UTF-8", "utf8"}) {
        ScopedEnvironment codePage("KELVANE_CODEPAGE", name);
        EXPECT_EQ(ProjectToUtf8(bytes), bytes) << name;
        EXPECT_EQ(Utf8ToProject(bytes), bytes) << name;
    }
    EXPECT_EQ(ConvertText(bytes, "CP932", "cp932"), bytes);
}

TEST(CodePageTest, CodePageIsKelvaneCodepageElseTheLocalesCharset) {
    {
        ScopedEnvironment codePage("KELVANE_CODEPAGE", "CP932");
        EXPECT_EQ(ProjectCodePage(), "CP932");
    }
    {
        ScopedEnvironment codePage("KELVANE_CODEPAGE", "");
        EXPECT_EQ(ProjectCodePage(), LocaleCharset());
    }
    KELVANE_SKIP_ON_WINDOWS("Windows's charset is its ANSI code page, whatever the locale says");
    // LC_ALL, LC_CTYPE, LANG: the first set and not empty decides.
    struct Case {
        const char* all;
        const char* ctype;
        const char* lang;
        const char* charset;
    };
    const Case cases[] = {
        {"ja_JP.UTF-8", nullptr, nullptr, "UTF-8"},
        {nullptr, "xx_XX.ISO-8859-15@euro", "yy_YY.UTF-8", "ISO-8859-15"},
        {"", nullptr, "xx_XX.EUC-JP", "EUC-JP"},
        {nullptr, nullptr, "xx_XX", "ANSI_X3.4-1968"},
        {"C", "xx_XX.UTF-8", nullptr, "ANSI_X3.4-1968"}, // installed: its own codeset
        {nullptr, nullptr, nullptr, "ANSI_X3.4-1968"}};
    for (const Case& c : cases) {
        ScopedEnvironment all("LC_ALL", c.all);
        ScopedEnvironment ctype("LC_CTYPE", c.ctype);
        ScopedEnvironment lang("LANG", c.lang);
        EXPECT_EQ(LocaleCharsetFromEnvironment(), c.charset)
            << (c.all ? c.all : "-") << " " << (c.ctype ? c.ctype : "-") << " "
            << (c.lang ? c.lang : "-");
    }
}

TEST(CodePageTest, UnknownCodePageIsWarnedAboutOnceAndTakenAsUtf8) {
    ScopedEnvironment codePage("KELVANE_CODEPAGE", "KELVANE-NO-SUCH-PAGE");
    testing::internal::CaptureStderr();
    EXPECT_EQ(ProjectToUtf8("テスト"), "テスト");
    EXPECT_EQ(Utf8ToProject("テスト"), "テスト");
    // The other side still converts.
    EXPECT_EQ(ConvertText(kTestCp932, "CP932", "KELVANE-NO-SUCH-PAGE"), "テスト");
    const std::string warnings = testing::internal::GetCapturedStderr();
    const std::string warning = "kelvane: unknown code page KELVANE-NO-SUCH-PAGE;";
    const size_t first = warnings.find(warning);
    ASSERT_NE(first, std::string::npos) << warnings;
    EXPECT_EQ(warnings.find(warning, first + 1), std::string::npos) << warnings;
}

TEST(CodePageTest, PathsReachTheFileSystemByTheirLocaleNames) {
    KELVANE_SKIP_ON_WINDOWS("Windows takes paths in UTF-16");
    ASSERT_EQ(LocaleCharset(), "UTF-8") << "the tests run under a UTF-8 locale";
    ScopedEnvironment codePage("KELVANE_CODEPAGE", "CP932");
    EXPECT_EQ(LocaleToProject("/home/テスト"), std::string("/home/") + kTestCp932);
    EXPECT_EQ(ProjectToLocale("a\xFD"), "a\xEF\xBF\xBD");
    // A path keeps the bytes that do not convert: never a replacement that
    // could name another file.
    EXPECT_EQ(NativePath("a\xFD\x83 \x83\x65"), "a\xFD\x83 テ");

    test::TempFolder folder;
    const std::string project = folder.Path() + "/" + kTestCp932 + ".fsp";
    const std::string odd = folder.Path() + "/a\xFD.fsp";
    int error = 0;
    ASSERT_TRUE(WriteFileAtomically(project, "one", error)) << error;
    ASSERT_TRUE(WriteFileAtomically(odd, "two", error)) << error;
    EXPECT_EQ(test::ReadBytes(folder.File("テスト.fsp")), "one");
    EXPECT_EQ(test::ReadBytes(folder.File("a\xFD.fsp")), "two");
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(project, bytes, error)) << error;
    EXPECT_EQ(bytes, "one");
    FileReader reader;
    ASSERT_TRUE(reader.Open(odd));
    EXPECT_EQ(reader.Size(), 3u);
}

// On Windows a path reaches the system in UTF-16; one with a byte the
// project code page does not know names no file rather than another one.
TEST(CodePageTest, PathsReachWindowsInUtf16AndAnUnknownByteNamesNoFile) {
    if (!test::kOnWindows)
        GTEST_SKIP() << "POSIX paths are bytes";
    ScopedEnvironment codePage("KELVANE_CODEPAGE", "CP932");
    test::TempFolder folder;
    const std::string project = folder.File(std::string(kTestCp932) + ".fsp");
    int error = 0;
    ASSERT_TRUE(WriteFileAtomically(project, "one", error)) << error;
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::u8path(folder.File("テスト.fsp"))));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(project, bytes, error)) << error;
    EXPECT_EQ(bytes, "one");
    EXPECT_FALSE(WriteFileAtomically(folder.File("a\xFD.fsp"), "two", error));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(CodePageTest, Utf16NamesConvertWithTheirSurrogatePairs) {
    const std::u16string name = u"A\U0001F600テ";
    {
        ScopedEnvironment codePage("KELVANE_CODEPAGE", "UTF-8");
        EXPECT_EQ(Utf16ToProject(name), "A\xF0\x9F\x98\x80テ");
        // A lone surrogate is one replacement, the rest still converts.
        EXPECT_EQ(Utf16ToProject(u"x\xD800y\xDC00"), "x\xEF\xBF\xBDy\xEF\xBF\xBD");
    }
    ScopedEnvironment codePage("KELVANE_CODEPAGE", "CP932");
    EXPECT_EQ(Utf16ToProject(name), "A?\x83\x65");
    EXPECT_EQ(Utf16ToProject(u"x\xD800y"), "x?y");
    EXPECT_EQ(Utf16ToProject(u""), "");
}

} // namespace
} // namespace kelvane
