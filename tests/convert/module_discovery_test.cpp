// SPDX-License-Identifier: MIT
#include "convert/module_discovery.h"

#include "store/fixed_text.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

namespace kelvane {
namespace {

using test::TempFolder;
using test::WriteBytes;

constexpr uint32_t kAll = 0x3FF;
constexpr uint32_t kPattern = 0x24D;

TEST(ModuleTableTest, FirstEntryWhoseKeyOccursInTheNameGivesTheModule) {
    TempFolder folder;
    const std::string table = folder.File("kelvane.ini");
    // Reads take 511 characters: this line's first 511 end with the Z and
    // form an entry of their own, though the whole line has two commas.
    std::string longLine = "x,first";
    longLine.resize(510, ' ');
    const struct {
        std::string content, name;
        std::optional<std::string> module;
    } cases[] = {
        {"ABC123 , conv_a # old\n", "xABC123y", "conv_a"},
        {" A BC\t12 3\v,\fcon v_a\r\n", "xABC123y", "conv_a"},
        {"abc,one.dll\nABC,two.dll\n", "ABC", "two.dll"},
        {"a,first.dll\na,second.dll\n", "a", "first.dll"},
        {"x,y,z\nxyz\nq , found\n", "xyzq", "found"},
        {"k;,early\nk*,early\nk,late", "k", "late"},
        {"zzz,other\n,any.dll\n", "M16C", "any.dll"},
        {"a,C:/mods/m.dll\n", "a", "C:"},
        {"a,\n", "a", ""},
        // Bytes above 127 are not blanks, whatever a locale says.
        {"\xE4\xB8\xAD \xA0\x85,m\n", "\xE4\xB8\xAD\xA0\x85", "m"},
        {"abc,one.dll\n", "ab", std::nullopt},
        {longLine + "Z,second\n", "x", "firstZ"},
        // A zero byte ends the line as read; a table of many reads is read to its end.
        {std::string("a,one\0b,two\nb,three\n", 20), "b", "three"},
        {std::string(9000, '#') + "\n" + std::string(5000, ' ') + "\nlast,found", "last", "found"},
    };
    for (const auto& c : cases) {
        WriteBytes(table, c.content);
        EXPECT_EQ(LookUpModuleTable(table, c.name), c.module) << c.content.substr(0, 40);
    }
}

// Not a file: a folder gives no module, and a FIFO does so at once instead of
// waiting for a writer (run apart, so that a regression cannot hang).
TEST(ModuleTableTest, AFolderOrAFifoInTheTablesPlaceGivesNoModule) {
    TempFolder folder;
    EXPECT_EQ(LookUpModuleTable(folder.Path(), "a"), std::nullopt);
    const std::string fifo = test::NotARegularFile(folder.File("kelvane.ini"));
    const std::optional<std::string> outcome =
        test::RunWithin(10, [&] { return LookUpModuleTable(fifo, "a").value_or("(none)"); });
    EXPECT_EQ(outcome, "(none)");
}

TEST(ModuleFileNameTest, AnyThreeCharacterExtensionBecomesThePlatformSuffix) {
    EXPECT_EQ(ModuleFileName("conv"), "conv.so");
    EXPECT_EQ(ModuleFileName("conv.xyz"), "conv.so");
    EXPECT_EQ(ModuleFileName("conv.dl"), "conv.dl.so");
    EXPECT_EQ(ModuleFileName("conv.so"), "conv.so");
    EXPECT_EQ(ModuleFileName("D:\\mods\\conv.dll"), "D:\\mods\\conv.so");
}

// The path limit applies to the name as it is loaded: 128 characters with
// ".dll" are 127 with ".so" and fit; one more does not, though that module
// exists. Without a usable module the path is emptied and the flags stay.
TEST(FindConversionModuleTest, LooksUpTheBareMpuFileNameAndProbesWhatItFinds) {
    const std::string longest = KELVANE_TEST_LONG_MODULE_127;
    ASSERT_EQ(longest.size() + 3, sizeof(ProjectSettings::m_szConvertModule) - 1);
    ASSERT_TRUE(
        std::filesystem::exists(KELVANE_TEST_MODULE_DIR "/" KELVANE_TEST_LONG_MODULE_128 ".so"));
    const std::string twoModules = "mpv,kelvane_test_high_bit\nABC123 , kelvane_test_all # old\n";
    TempFolder folder;
    const std::string table = folder.File("kelvane.ini");
    const struct {
        std::string content, mpdFile, module;
        uint32_t flags;
    } cases[] = {
        {twoModules, "C:\\mpv\\xABC123y", "kelvane_test_all.so", kAll},
        {twoModules, "/data/mpv/xABC123y", "kelvane_test_all.so", kAll},
        // Without DLL_Info_Get NOVA <-> BANTAM only; bits above the ten
        // directions enable nothing.
        {"x,kelvane_test_no_info\n", "x", "kelvane_test_no_info.so", 0x003},
        {"x,kelvane_test_mixed.dll\n", "x", "kelvane_test_mixed.so", 0x005},
        {"x," + longest + ".dll\n", "x", longest + ".so", kAll},
        {"x," KELVANE_TEST_LONG_MODULE_128 "\n", "x", "", kPattern},
        {"", "x", "", kPattern}, // no table at all
        {"x,kelvane_test_absent\n", "x", "", kPattern},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content + c.mpdFile);
        WriteBytes(table, c.content);
        // Flags set beforehand show which ones were left alone.
        ProjectSettings settings;
        for (uint32_t d = 0; d < 10; ++d)
            settings.m_abConvertSupported[d] = (kPattern >> d) & 1u;
        CopyToField(settings.m_szMpdFile, c.mpdFile);
        CopyToField(settings.m_szConvertModule, "kelvane_test_all.so");
        FindConversionModule(settings, c.content.empty() ? folder.File("none.ini") : table);
        EXPECT_EQ(FieldText(settings.m_szConvertModule), c.module);
        uint32_t flags = 0;
        for (uint32_t d = 0; d < 10; ++d)
            flags |= settings.m_abConvertSupported[d] << d;
        EXPECT_EQ(flags, c.flags);
    }
}

// A table written on Windows names the module in upper case: the module
// found beside the program in its own case is probed through the host.
TEST(FindConversionModuleTest, AModuleNameInAnotherCaseFindsTheModule) {
    TempFolder folder;
    const std::string table = folder.File("kelvane.ini");
    WriteBytes(table, "x,KELVANE_TEST_ALL.DLL\n");
    ProjectSettings settings;
    CopyToField(settings.m_szMpdFile, "x");
    FindConversionModule(settings, table);
    EXPECT_EQ(FieldText(settings.m_szConvertModule), "KELVANE_TEST_ALL.so");
    uint32_t flags = 0;
    for (uint32_t d = 0; d < 10; ++d)
        flags |= settings.m_abConvertSupported[d] << d;
    EXPECT_EQ(flags, kAll);
}

uint32_t SupportedFlags(const ProjectSettings& settings) {
    uint32_t flags = 0;
    for (uint32_t d = 0; d < 10; ++d)
        flags |= settings.m_abConvertSupported[d] << d;
    return flags;
}

// The answer is kept while the module file keeps its size and time: a
// module replaced by another of the same size and time is not asked again,
// one with a new time is. A module that crashes while asked is named.
TEST(ProbeConversionModuleTest, KeepsTheAnswerPerFileAndNamesAModuleThatCrashed) {
    TempFolder folder;
    const std::string module = folder.File("probed.so");
    const auto Install = [&](const char* source, long seconds) {
        std::filesystem::copy_file(std::string(KELVANE_TEST_MODULE_DIR) + "/" + source, module,
                                   std::filesystem::copy_options::overwrite_existing);
        const timespec times[2] = {{seconds, 0}, {seconds, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, module.c_str(), times, 0), 0);
    };
    ASSERT_EQ(std::filesystem::file_size(KELVANE_TEST_MODULE_DIR "/kelvane_test_all.so"),
              std::filesystem::file_size(KELVANE_TEST_MODULE_DIR "/kelvane_test_high_bit.so"));
    ProjectSettings settings;
    const auto Probe = [&] {
        CopyToField(settings.m_szConvertModule, module);
        std::string problem;
        ProbeConversionModule(settings, SilentWaitIndicator(), &problem);
        EXPECT_EQ(problem, "");
        return SupportedFlags(settings);
    };
    Install("kelvane_test_all.so", 1700000000);
    EXPECT_EQ(Probe(), kAll);
    Install("kelvane_test_high_bit.so", 1700000000);
    EXPECT_EQ(Probe(), kAll); // kept
    Install("kelvane_test_high_bit.so", 1700000001);
    EXPECT_EQ(Probe(), 0u);
    ForgetModuleProbes();
    Install("kelvane_test_all.so", 1700000001);
    EXPECT_EQ(Probe(), kAll);

    CopyToField(settings.m_szConvertModule, "kelvane_test_probe_crash");
    std::string problem;
    ProbeConversionModule(settings, SilentWaitIndicator(), &problem);
    EXPECT_EQ(FieldText(settings.m_szConvertModule), "");
    EXPECT_EQ(SupportedFlags(settings), kAll); // left as they were
    EXPECT_EQ(problem, "The conversion module " KELVANE_TEST_MODULE_DIR
                       "/kelvane_test_probe_crash.so crashed (SIGSEGV, Segmentation "
                       "fault).\nThe project was not changed.");
}

} // namespace
} // namespace kelvane
