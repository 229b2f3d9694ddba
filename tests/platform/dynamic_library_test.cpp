#include "platform/dynamic_library.h"

#include "platform/executable_path.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdint>
#include <filesystem>

namespace kelvane {
namespace {

const std::string kModuleDir = KELVANE_TEST_MODULE_DIR;

bool IsInProcess(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr)
        dlclose(handle);
    return handle != nullptr;
}

using InfoGet = int32_t (*)(uint32_t*);

TEST(DynamicLibraryTest, SymbolsAreFoundWhileLoadedAndTheLibraryGoesWithTheObject) {
    const std::string highBit = kModuleDir + "/kelvane_test_high_bit.so";
    const std::string all = kModuleDir + "/kelvane_test_all.so";
    {
        DynamicLibrary library;
        ASSERT_TRUE(library.Load(highBit)) << library.Error();
        EXPECT_TRUE(IsInProcess(highBit));
        auto infoGet = reinterpret_cast<InfoGet>(library.Symbol("DLL_Info_Get"));
        ASSERT_NE(infoGet, nullptr);
        uint32_t mask = 0;
        infoGet(&mask);
        EXPECT_EQ(mask, 0x400u);
        EXPECT_EQ(library.Symbol("DLL_Not_There"), nullptr);
        EXPECT_NE(library.Error().find("DLL_Not_There"), std::string::npos) << library.Error();

        // Loading another library lets go of the first.
        ASSERT_TRUE(library.Load(all)) << library.Error();
        EXPECT_FALSE(IsInProcess(highBit));
        EXPECT_TRUE(IsInProcess(all));

        library.Unload();
        EXPECT_FALSE(library.IsLoaded());
        EXPECT_FALSE(IsInProcess(all));
        EXPECT_EQ(library.Symbol("DLL_Info_Get"), nullptr);

        ASSERT_TRUE(library.Load(all));
    }
    EXPECT_FALSE(IsInProcess(all));
}

TEST(DynamicLibraryTest, BareNamesAreTakenFromBesideTheProgramThenFromTheSystem) {
    DynamicLibrary library;
    // The test modules are on no search path; only the program's folder has them.
    ASSERT_TRUE(library.Load("kelvane_test_all.so")) << library.Error();
    EXPECT_NE(library.Symbol("DLL_MPV_Convert"), nullptr);

    ASSERT_TRUE(library.Load("libm.so.6")) << library.Error();
    EXPECT_NE(library.Symbol("cos"), nullptr);
}

TEST(DynamicLibraryTest, LoadFailuresAreReported) {
    test::TempFolder folder;
    test::WriteBytes(folder.File("text.so"), "not a library\n");
    DynamicLibrary library;
    for (const std::string& name : {std::string(), folder.File("absent.so"), folder.File("text.so"),
                                    std::string("kelvane_test_absent.so")}) {
        ASSERT_TRUE(library.Load(kModuleDir + "/kelvane_test_all.so"));
        library.Symbol("DLL_Not_There");
        EXPECT_FALSE(library.Load(name)) << name;
        EXPECT_FALSE(library.IsLoaded()) << name;
        EXPECT_FALSE(library.Error().empty()) << name;
        EXPECT_EQ(library.Error().find("DLL_Not_There"), std::string::npos) << library.Error();
    }
}

TEST(ExecutablePathTest, ProgramFilesSitBesideTheRunningExecutable) {
    const std::filesystem::path executable = ExecutablePath();
    EXPECT_TRUE(executable.is_absolute()) << executable;
    EXPECT_EQ(executable.filename(), "kelvane_core_tests");
    EXPECT_TRUE(std::filesystem::equivalent(ExecutableFolder(), kModuleDir));
    EXPECT_EQ(ProgramFilePath("ini"), ExecutableFolder() + "/kelvane.ini");
    EXPECT_EQ(ProgramFilePath("qch"), ExecutableFolder() + "/kelvane.qch");
}

} // namespace
} // namespace kelvane
