// SPDX-License-Identifier: MIT
#include "platform/files/file_name_case.h"

#include "platform/text/code_page.h"
#include "scoped_environment.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kelvane {
namespace {

using test::ScopedEnvironment;
using test::TempFolder;
using test::WriteBytes;

// Only ASCII letters fold: a byte above 0x7F, and the second byte of a
// two-byte character even where it looks like a letter, must be equal.
TEST(EqualIgnoringAsciiCaseTest, FoldsAsciiLettersOnly) {
    EXPECT_TRUE(EqualIgnoringAsciiCase("/Work/DEMO.Sbu", "/work/demo.sBU"));
    EXPECT_FALSE(EqualIgnoringAsciiCase("demo.sbu", "demo.sbu "));
    EXPECT_FALSE(EqualIgnoringAsciiCase("demo[.sbu", "demo{.sbu"));     // 0x5B, 0x7B
    EXPECT_FALSE(EqualIgnoringAsciiCase("caf\xC3\xA9", "CAF\xC3\x89")); // é, É
    ScopedEnvironment codePage("KELVANE_CODEPAGE", "CP932");
    EXPECT_FALSE(EqualIgnoringAsciiCase("\x83\x41.sbu", "\x83\x61.sbu")); // ア, ヂ
    EXPECT_TRUE(EqualIgnoringAsciiCase("\x83\x41x.SBU", "\x83\x41X.sbu"));
}

// The exact name wins; else the one entry in another case is taken; two or
// more, or none, give nothing; a missing folder holds nothing. A save writes
// the file found only while nothing has the exact name it was asked for.
TEST(FindFileIgnoringCaseTest, TakesTheOneEntryInAnotherCase) {
    KELVANE_SKIP_ON_WINDOWS("Windows file names are one name in any letter case");
    TempFolder folder;
    WriteBytes(folder.File("demo.sbu"), "lower");
    WriteBytes(folder.File("DEMO.MCR"), "upper");
    WriteBytes(folder.File("Twin.uer"), "");
    WriteBytes(folder.File("TWIN.UER"), "");

    const FoundFile exact = FindFileIgnoringCase(folder.File("demo.sbu"));
    EXPECT_EQ(exact.match, NameMatch::Exact);
    EXPECT_EQ(exact.path, folder.File("demo.sbu"));
    const FoundFile other = FindFileIgnoringCase(folder.File("DEMO.SBU"));
    EXPECT_EQ(other.match, NameMatch::OtherCase);
    EXPECT_EQ(other.path, folder.File("demo.sbu"));
    EXPECT_EQ(FindFileIgnoringCase(folder.File("demo.mcr")).path, folder.File("DEMO.MCR"));
    const FoundFile several = FindFileIgnoringCase(folder.File("twin.uer"));
    EXPECT_EQ(several.match, NameMatch::Several);
    EXPECT_EQ(several.path, folder.File("twin.uer"));
    EXPECT_EQ(FindFileIgnoringCase(folder.File("demo.fsr")).match, NameMatch::None);
    EXPECT_EQ(FindFileIgnoringCase(folder.File("none/DEMO.SBU")).match, NameMatch::None);
    // A name without a folder is looked for in the working folder.
    const std::filesystem::path working = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    const FoundFile bare = FindFileIgnoringCase("Demo.Sbu");
    std::filesystem::current_path(working);
    EXPECT_EQ(bare.match, NameMatch::OtherCase);
    EXPECT_EQ(bare.path, "demo.sbu");

    EXPECT_EQ(SaveTargetKeepingCase(folder.File("demo.mcr"), folder.File("DEMO.MCR")),
              folder.File("DEMO.MCR"));
    // Something has the exact name: that is the file asked for.
    EXPECT_EQ(SaveTargetKeepingCase(folder.File("demo.sbu"), folder.File("DEMO.SBU")),
              folder.File("demo.sbu"));
    // Another name (Save As) is written as asked.
    EXPECT_EQ(SaveTargetKeepingCase(folder.File("next.mcr"), folder.File("DEMO.MCR")),
              folder.File("next.mcr"));
    EXPECT_EQ(SaveTargetKeepingCase(folder.File("demo.mcr"), ""), folder.File("demo.mcr"));
}

// A CP932 project on a UTF-8 system: the name found comes back in CP932,
// and a second byte that looks like a letter is not folded.
TEST(FindFileIgnoringCaseTest, NamesInTheProjectCodePage) {
    if (LocaleCharset() != "UTF-8")
        GTEST_SKIP() << "needs a UTF-8 locale";
    ScopedEnvironment codePage("KELVANE_CODEPAGE", "CP932");
    TempFolder folder;
    WriteBytes(folder.Path() + "/\xE3\x82\xA2x.sbu", "a"); // アx.sbu
    const FoundFile found = FindFileIgnoringCase(folder.File("\x83\x41X.SBU"));
    EXPECT_EQ(found.match, NameMatch::OtherCase);
    EXPECT_EQ(found.path, folder.File("\x83\x41x.sbu"));
    EXPECT_EQ(FindFileIgnoringCase(folder.File("\x83\x61x.sbu")).match, NameMatch::None);
}

} // namespace
} // namespace kelvane
