#include "convert/module_discovery.h"

#include "store/fixed_text.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

namespace kelvane {
namespace {

using test::TempFolder;
using test::WriteBytes;

const std::string kModuleDir = KELVANE_TEST_MODULE_DIR;

std::vector<uint32_t> Flags(const ProjectSettings& settings) {
    return {std::begin(settings.m_abConvertSupported), std::end(settings.m_abConvertSupported)};
}

void SetFlags(ProjectSettings& settings, const std::vector<uint32_t>& flags) {
    std::copy(flags.begin(), flags.end(), settings.m_abConvertSupported);
}

bool IsInProcess(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr)
        dlclose(handle);
    return handle != nullptr;
}

const std::vector<uint32_t> kNone(10, 0);
const std::vector<uint32_t> kAll(10, 1);
const std::vector<uint32_t> kPattern = {1, 0, 1, 1, 0, 0, 1, 0, 0, 1};

TEST(ModuleTableLineTest, CommentsAreCutAndBlanksLeftOut) {
    for (const auto& [line, kept] : std::vector<std::pair<std::string, std::string>>{
             {"a,b#c", "a,b"},
             {"a,b*c", "a,b"},
             {"a,C:/mods/m.dll", "a,C:"},
             {"a,b;c#d", "a,b"},
             {"#a,b", ""},
             {"a , b\n", "a , b\n"},
         }) {
        std::string cut = line;
        CutAtComment(cut);
        EXPECT_EQ(cut, kept) << line;
    }

    EXPECT_EQ(CopyWithoutBlanks(" A B\t1 ,\r x", ','), "AB1");
    EXPECT_EQ(CopyWithoutBlanks(",x", ','), "");
    EXPECT_EQ(CopyWithoutBlanks(" \t\n\v\fa\r, b\n", '\0'), "a,b");
    EXPECT_EQ(CopyWithoutBlanks(std::string_view("ab\0cd", 5), '\0'), "ab");
    EXPECT_EQ(CopyWithoutBlanks("\xE4\xB8\xAD \xA0\x85", '\0'), "\xE4\xB8\xAD\xA0\x85");
}

TEST(ModuleTableTest, FirstEntryWhoseKeyOccursInTheNameGivesTheModule) {
    TempFolder folder;
    const std::string table = folder.File("kelvane.ini");
    auto lookUp = [&](const std::string& content, std::string_view name) {
        WriteBytes(table, content);
        return LookUpModuleTable(table, name);
    };

    EXPECT_EQ(lookUp("ABC123 , conv_a # old\n", "xABC123y"), "conv_a");
    EXPECT_EQ(lookUp("A BC\t12 3,con v_a\r\n", "xABC123y"), "conv_a");
    EXPECT_EQ(lookUp("abc,one.dll\nABC,two.dll\n", "ABC"), "two.dll");
    EXPECT_EQ(lookUp("a,first.dll\na,second.dll\n", "a"), "first.dll");
    EXPECT_EQ(lookUp("x,y,z\nxyz\nq , found\n", "xyzq"), "found");
    EXPECT_EQ(lookUp("k;,early\nk,late", "k"), "late");
    EXPECT_EQ(lookUp("zzz,other\n,any.dll\n", "M16C"), "any.dll");
    EXPECT_EQ(lookUp(",any.dll\n", ""), "any.dll");
    EXPECT_EQ(lookUp("a,C:/mods/m.dll\n", "a"), "C:");
    EXPECT_EQ(lookUp("a,\n", "a"), "");
    EXPECT_EQ(lookUp("abc,one.dll\nx,y,z\n", "ab"), std::nullopt);
    EXPECT_EQ(LookUpModuleTable(folder.File("absent.ini"), "a"), std::nullopt);
}

// Reads take 511 characters: the line below holds two commas, but its first
// 511 characters end with the Z and form an entry of their own.
TEST(ModuleTableTest, LongLinesAreReadAsSeveralLines) {
    std::string line = "x,first";
    line.resize(510, ' ');
    line += "Z,second\n";
    ASSERT_EQ(line.find(','), 1u);
    ASSERT_EQ(line.rfind(','), 511u);

    TempFolder folder;
    WriteBytes(folder.File("kelvane.ini"), line);
    EXPECT_EQ(LookUpModuleTable(folder.File("kelvane.ini"), "x"), "firstZ");
}

TEST(ModuleFileNameTest, AnyThreeCharacterExtensionBecomesThePlatformSuffix) {
    EXPECT_EQ(ModuleFileName("conv"), "conv.so");
    EXPECT_EQ(ModuleFileName("conv.dll"), "conv.so");
    EXPECT_EQ(ModuleFileName("conv.DLL"), "conv.so");
    EXPECT_EQ(ModuleFileName("conv.xyz"), "conv.so");
    EXPECT_EQ(ModuleFileName("conv.dl"), "conv.dl.so");
    EXPECT_EQ(ModuleFileName("conv.so"), "conv.so");
    EXPECT_EQ(ModuleFileName("C:"), "C:.so");
    EXPECT_EQ(ModuleFileName("dll"), "dll.so");
    EXPECT_EQ(ModuleFileName("D:\\mods\\conv.dll"), "D:\\mods\\conv.so");
}

TEST(ProbeConversionModuleTest, DirectionsComeFromTheModulesMask) {
    struct Case {
        std::string module;
        std::vector<uint32_t> before;
        std::vector<uint32_t> after;
    };
    for (const auto& [module, before, after] : std::vector<Case>{
             {"kelvane_test_no_info", kAll, {1, 1, 0, 0, 0, 0, 0, 0, 0, 0}},
             {"kelvane_test_all", kNone, kAll},
             {"kelvane_test_high_bit", kAll, kNone},
             {"kelvane_test_mixed", kNone, {1, 0, 1, 0, 0, 0, 0, 0, 0, 0}},
         }) {
        ProjectSettings settings;
        SetFlags(settings, before);
        const std::string path = kModuleDir + "/" + module + ".so";
        ASSERT_TRUE(CopyToField(settings.m_szConvertModule, kModuleDir + "/" + module + ".dll"));

        ProbeConversionModule(settings);

        EXPECT_EQ(Flags(settings), after) << module;
        EXPECT_EQ(FieldText(settings.m_szConvertModule), path);
        EXPECT_FALSE(IsInProcess(path)) << module << " was left loaded";
    }
}

TEST(ProbeConversionModuleTest, ModuleThatCannotBeLoadedKeepsTheFlags) {
    TempFolder folder;
    WriteBytes(folder.File("text.so"), "not a library\n");
    for (const std::string& path : {folder.File("absent.so"), folder.File("text.so")}) {
        ProjectSettings settings;
        SetFlags(settings, kPattern);
        ASSERT_TRUE(CopyToField(settings.m_szConvertModule, path));

        ProbeConversionModule(settings);

        EXPECT_EQ(FieldText(settings.m_szConvertModule), "") << path;
        EXPECT_EQ(Flags(settings), kPattern) << path;
    }
}

TEST(FindConversionModuleTest, BareMpuFileNameSelectsAModuleBesideTheProgram) {
    TempFolder folder;
    const std::string table = folder.File("kelvane.ini");
    WriteBytes(table, "mpv,kelvane_test_high_bit\nABC123 , kelvane_test_all # old\n");
    for (const char* mpdFile : {"C:\\mpv\\xABC123y", "/data/mpv/xABC123y", "xABC123y"}) {
        ProjectSettings settings;
        std::strcpy(settings.m_szMpdFile, mpdFile);

        FindConversionModule(settings, table);

        EXPECT_EQ(FieldText(settings.m_szConvertModule), "kelvane_test_all.so") << mpdFile;
        EXPECT_EQ(Flags(settings), kAll) << mpdFile;
    }
}

TEST(FindConversionModuleTest, NoUsableModuleEmptiesThePathAndKeepsTheFlags) {
    const std::string tooLong = KELVANE_TEST_LONG_MODULE_128;
    ASSERT_TRUE(std::filesystem::exists(kModuleDir + "/" + tooLong + ".so"));
    TempFolder folder;
    const std::string table = folder.File("kelvane.ini");
    for (const std::string& content :
         {std::string(), std::string("zzz,kelvane_test_all\n"),
          std::string("x,kelvane_test_absent\n"), "x," + tooLong + "\n"}) {
        WriteBytes(table, content);
        ProjectSettings settings;
        std::strcpy(settings.m_szMpdFile, "x");
        std::strcpy(settings.m_szConvertModule, "kelvane_test_all.so");
        SetFlags(settings, kPattern);

        FindConversionModule(settings, table);

        EXPECT_EQ(FieldText(settings.m_szConvertModule), "") << content;
        EXPECT_EQ(Flags(settings), kPattern) << content;
    }

    ProjectSettings settings;
    std::strcpy(settings.m_szConvertModule, "kelvane_test_all.so");
    SetFlags(settings, kPattern);
    FindConversionModule(settings, folder.File("absent.ini"));
    EXPECT_EQ(FieldText(settings.m_szConvertModule), "");
    EXPECT_EQ(Flags(settings), kPattern);
}

// The limit applies to the name as it is loaded: 128 characters with ".dll"
// are 127 with ".so" and fit.
TEST(FindConversionModuleTest, ModulePathMustFitItsFieldAfterTheSuffixIsSet) {
    const std::string longest = KELVANE_TEST_LONG_MODULE_127;
    ASSERT_EQ(longest.size() + 3, sizeof(ProjectSettings::m_szConvertModule) - 1);
    TempFolder folder;
    const std::string table = folder.File("kelvane.ini");
    WriteBytes(table, "x," + longest + ".dll\n");
    ProjectSettings settings;
    std::strcpy(settings.m_szMpdFile, "x");

    FindConversionModule(settings, table);

    EXPECT_EQ(FieldText(settings.m_szConvertModule), longest + ".so");
    EXPECT_EQ(Flags(settings), kAll);
}

} // namespace
} // namespace kelvane
