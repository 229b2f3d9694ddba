#include "platform/dynamic_library.h"

#include "platform/executable_path.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <filesystem>

namespace kelvane {
namespace {

const std::string kModuleDir = KELVANE_TEST_MODULE_DIR;
const std::string kHighBit = kModuleDir + "/kelvane_test_high_bit.so";
const std::string kAll = kModuleDir + "/kelvane_test_all.so";

bool IsInProcess(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr)
        dlclose(handle);
    return handle != nullptr;
}

TEST(DynamicLibraryTest, OneLibraryAtATimeUntilTheObjectGoes) {
    {
        DynamicLibrary library;
        ASSERT_TRUE(library.Load(kHighBit)) << library.Error();
        EXPECT_TRUE(IsInProcess(kHighBit));
        EXPECT_NE(library.Symbol("DLL_Info_Get"), nullptr);
        EXPECT_EQ(library.Symbol("DLL_Not_There"), nullptr);
        ASSERT_TRUE(library.Load(kAll)) << library.Error();
        EXPECT_FALSE(IsInProcess(kHighBit));
        library.Unload();
        EXPECT_FALSE(IsInProcess(kAll));
        EXPECT_EQ(library.Symbol("DLL_Info_Get"), nullptr);
        ASSERT_TRUE(library.Load(kAll));
    }
    EXPECT_FALSE(IsInProcess(kAll));
}

// Bare names come from beside the program (the test modules are on no search
// path), else from the system.
TEST(DynamicLibraryTest, BareNamesAreTakenFromBesideTheProgramThenFromTheSystem) {
    DynamicLibrary library;
    ASSERT_TRUE(library.Load("kelvane_test_all.so")) << library.Error();
    EXPECT_NE(library.Symbol("DLL_MPV_Convert"), nullptr);
    ASSERT_TRUE(library.Load("libm.so.6")) << library.Error();
    EXPECT_NE(library.Symbol("cos"), nullptr);
}

// A failed load still lets go of the library before; an empty name is never
// taken for the program itself.
TEST(DynamicLibraryTest, LoadFailuresLeaveNothingLoaded) {
    test::TempFolder folder;
    test::WriteBytes(folder.File("text.so"), "not a library\n");
    DynamicLibrary library;
    for (const std::string& name :
         {std::string(), folder.File("absent.so"), folder.File("text.so")}) {
        ASSERT_TRUE(library.Load(kAll)) << library.Error();
        EXPECT_FALSE(library.Load(name)) << name;
        EXPECT_FALSE(IsInProcess(kAll)) << name;
    }
}

TEST(ExecutablePathTest, ProgramFilesSitBesideTheRunningExecutable) {
    EXPECT_EQ(std::filesystem::path(ExecutablePath()).filename(), "kelvane_core_tests");
    EXPECT_TRUE(std::filesystem::equivalent(ExecutableFolder(), kModuleDir));
    EXPECT_EQ(ProgramFilePath("ini"), ExecutableFolder() + "/kelvane.ini");
}

} // namespace
} // namespace kelvane
