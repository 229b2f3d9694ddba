// SPDX-License-Identifier: MIT
#include "platform/text/code_page.h"
#include "platform/text/code_page_detection.h"

#include "scoped_environment.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using test::ScopedEnvironment;

// A project file's first lines with one value of the given bytes.
std::string ProjectWith(const std::string& value) {
    return "[Settings]\r\nMODEL_NAME=SH7058F\r\nDEFFILE=C:\\" + value +
           "\\demo.mpd\r\nPORT=1f90\r\n";
}

TEST(CodePageDetectionTest, Utf8IsStrictAboutWhatItTakes) {
    EXPECT_TRUE(IsValidUtf8("plain ASCII"));
    EXPECT_TRUE(IsValidUtf8("テスト é \xF0\x9F\x98\x80"));
    for (const char* bad : {"\xC0\x80", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                            "\xF5\x80\x80\x80", "ab\xE3\x83", "\x83\x65", "\xFF"})
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;

    EXPECT_TRUE(DecodesEveryByte("\x83\x65\x83\x58\x83\x67", "CP932"));
    EXPECT_FALSE(DecodesEveryByte("Caf\xE9.mpd", "CP932")); // a lead byte before '.'
    EXPECT_TRUE(DecodesEveryByte("Caf\xE9.mpd", "CP1252"));
    if (!test::kOnWindows) { // Windows reads 0x81 as the control U+0081
        EXPECT_FALSE(DecodesEveryByte("a\x81z", "CP1252"));
    }
    EXPECT_FALSE(DecodesEveryByte("abc", "NO-SUCH-CODE-PAGE"));
}

TEST(CodePageDetectionTest, TheCodePageComesFromTheBytesAndTheLocale) {
    KELVANE_SKIP_ON_WINDOWS("the locale variables name no code page on Windows");
    const ScopedEnvironment western("LC_ALL", "en_US.UTF-8");
    EXPECT_EQ(LocaleWindowsCodePage(), "CP1252");
    // Valid UTF-8 and ASCII are the locale's own.
    EXPECT_EQ(DetectProjectCodePage(ProjectWith("作業")), LocaleCharset());
    EXPECT_EQ(DetectProjectCodePage(ProjectWith("work")), LocaleCharset());
    // Japanese from Windows: CP932 first.
    EXPECT_EQ(DetectProjectCodePage(ProjectWith("\x8D\xEC\x8B\xC6\\\x83\x65\x83\x58\x83\x67")),
              "CP932");
    // Latin text that CP932 cannot read.
    EXPECT_EQ(DetectProjectCodePage(ProjectWith("Caf\xE9\\\xE9t\xE9")), "CP1252");
    // Latin text that CP932 reads as katakana and kanji: the detector tells.
    EXPECT_EQ(DetectProjectCodePage(ProjectWith("Cr\xE8me br\xFBl\xE9"
                                                "e\\\xDC"
                                                "bung")),
              "CP1252");
    // Short Japanese the detector takes for Latin: its kana lead bytes decide.
    EXPECT_EQ(DetectProjectCodePage("[Settings]\r\nCOMMENT=\x83\x5C\x83\x74\x83\x67\r\n"), "CP932");
    // Bytes no candidate reads are left to the locale's charset.
    EXPECT_EQ(DetectProjectCodePage(ProjectWith("\x81\xFF")), LocaleCharset());

    const ScopedEnvironment russian("LC_ALL", "ru_RU.UTF-8");
    EXPECT_EQ(LocaleWindowsCodePage(), "CP1251");
    // Cyrillic in CP1251 mostly reads as CP932 too; the detector knows better.
    EXPECT_EQ(DetectProjectCodePage(ProjectWith("\xCF\xF0\xEE\xE5\xEA\xF2\\\xF2\xE5\xF1\xF2")),
              "CP1251");

    const ScopedEnvironment japanese("LC_ALL", "ja_JP.UTF-8");
    EXPECT_EQ(LocaleWindowsCodePage(), "CP932");
    const ScopedEnvironment chinese("LC_ALL", "zh_TW.UTF-8");
    EXPECT_EQ(LocaleWindowsCodePage(), "CP950");
}

TEST(CodePageDetectionTest, DetectorNamesMapToWindowsCodePages) {
    EXPECT_EQ(WindowsCodePageOf("SHIFT_JIS"), "CP932");
    EXPECT_EQ(WindowsCodePageOf("iso-8859-5"), "CP1251");
    EXPECT_EQ(WindowsCodePageOf("WINDOWS-1252"), "CP1252");
    EXPECT_EQ(WindowsCodePageOf("EUC-JP"), "EUC-JP");
}

} // namespace
} // namespace kelvane
