// SPDX-License-Identifier: MIT
#include "convert/module_host_client.h"

#include "scoped_environment.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <sys/stat.h>
#include <thread>

namespace kelvane {
namespace {

using test::ScopedEnvironment;
using test::WriteBytes;

const std::string kProgramDir = KELVANE_PROGRAM_DIR;

// The native .so wins over a .dll of the same name; a .dll alone runs under
// Wine, named to it on the Z: drive; a Windows path names a file of the
// prefix; with neither file, the system's library search gets the .so name.
TEST(LocateModuleTest, PrefersTheNativeModuleAndFallsBackToTheWindowsOne) {
    test::TempFolder folder;
    WriteBytes(folder.File("both.so"), "");
    WriteBytes(folder.File("both.dll"), "");
    WriteBytes(folder.File("windows.dll"), "");

    const ModuleLocation both = LocateModule(folder.File("both.xyz"));
    EXPECT_EQ(both.kind, ModuleKind::Native);
    EXPECT_EQ(both.fieldName, folder.File("both.so"));

    const ModuleLocation windows = LocateModule(folder.File("windows.so"));
    EXPECT_EQ(windows.kind, ModuleKind::Windows);
    EXPECT_EQ(windows.fieldName, folder.File("windows.dll"));
    std::string zDrive = "Z:" + folder.File("windows.dll");
    for (char& c : zDrive)
        if (c == '/')
            c = '\\';
    EXPECT_EQ(windows.hostPath, zDrive);

    const ModuleLocation none = LocateModule(folder.File("none.dll"));
    EXPECT_EQ(none.kind, ModuleKind::Native);
    EXPECT_EQ(none.fieldName, folder.File("none.so"));

    // Bare names are looked for beside the program.
    EXPECT_EQ(LocateModule("kelvane_sample_converter.dll").kind, ModuleKind::Native);
    const ModuleLocation sample = LocateModule("kelvane_sample_converter_win32");
#ifdef KELVANE_WINDOWS_MODULES
    EXPECT_EQ(sample.kind, ModuleKind::Windows);
    EXPECT_EQ(sample.file, kProgramDir + "/kelvane_sample_converter_win32.dll");
#else
    EXPECT_EQ(sample.kind, ModuleKind::Native);
#endif

    ScopedEnvironment prefix("WINEPREFIX", "/home/u/.wine");
    const ModuleLocation installed = LocateModule("C:\\KVX\\ferroSCOPE\\conv.xyz");
    EXPECT_EQ(installed.kind, ModuleKind::Windows);
    EXPECT_EQ(installed.fieldName, "C:\\KVX\\ferroSCOPE\\conv.dll");
    EXPECT_EQ(installed.hostPath, "C:\\KVX\\ferroSCOPE\\conv.dll");
    EXPECT_EQ(installed.file, "/home/u/.wine/dosdevices/c:/KVX/ferroSCOPE/conv.dll");
}

// A module named in another letter case than its file (a table written on
// Windows) is the file that is there, and the host is given that file; with
// two such files neither is taken. m_szConvertModule keeps the name as the
// table wrote it.
TEST(LocateModuleTest, AModuleNamedInAnotherCaseIsTheFileThatIsThere) {
    test::TempFolder folder;
    WriteBytes(folder.File("conv.so"), "");
    WriteBytes(folder.File("win.dll"), "");
    WriteBytes(folder.File("Twin.so"), "");
    WriteBytes(folder.File("TWIN.so"), "");

    const ModuleLocation native = LocateModule(folder.File("CONV.DLL"));
    EXPECT_EQ(native.kind, ModuleKind::Native);
    EXPECT_EQ(native.fieldName, folder.File("CONV.so"));
    EXPECT_EQ(native.file, folder.File("conv.so"));
    EXPECT_EQ(native.hostPath, folder.File("conv.so"));

    const ModuleLocation windows = LocateModule(folder.File("Win"));
    EXPECT_EQ(windows.kind, ModuleKind::Windows);
    EXPECT_EQ(windows.fieldName, folder.File("Win.dll"));
    EXPECT_EQ(windows.file, folder.File("win.dll"));
    std::string zDrive = "Z:" + folder.File("win.dll");
    for (char& c : zDrive)
        if (c == '/')
            c = '\\';
    EXPECT_EQ(windows.hostPath, zDrive);

    const ModuleLocation twin = LocateModule(folder.File("twin"));
    EXPECT_EQ(twin.kind, ModuleKind::Native);
    EXPECT_EQ(twin.file, folder.File("twin.so"));
    EXPECT_EQ(twin.hostPath, folder.File("twin.so"));

    // A bare name beside the program.
    const ModuleLocation sample = LocateModule("KELVANE_Sample_Converter");
    EXPECT_EQ(sample.fieldName, "KELVANE_Sample_Converter.so");
    EXPECT_EQ(sample.file, kProgramDir + "/kelvane_sample_converter.so");
}

// A host that answers nonsense, too much, nothing, or dies: each is a
// failure with its own message naming the module, never an answer.
TEST(CallModuleHostTest, AnAnswerThatCannotBeTrustedIsAFailureThatSaysWhy) {
    test::TempFolder folder;
    const auto Script = [&](const std::string& name, const std::string& body) {
        const std::string path = folder.File(name);
        WriteBytes(path, "#!/bin/sh\ncat >/dev/null\n" + body + "\n");
        chmod(path.c_str(), 0755);
        return path;
    };
    const struct {
        std::string host;
        ModuleHostFailure failure;
        std::string detail;
    } cases[] = {
        {Script("garbage", "printf garbage"), ModuleHostFailure::BadAnswer,
         "not a module host answer, 7 bytes"},
        {Script("flood", "head -c 100000 /dev/zero"), ModuleHostFailure::BadAnswer,
         "more than " + std::to_string(kModuleAnswerLimit) + " bytes"},
        {Script("short", "printf 'KLVA\\001\\000\\000\\000'"), ModuleHostFailure::BadAnswer,
         "an answer of the wrong size, 8 bytes"},
        {Script("exits", "exit 4"), ModuleHostFailure::Exited, "4"},
        {Script("quiet", "exit 0"), ModuleHostFailure::Exited, "0"},
        {Script("killed", "kill -SEGV $$"), ModuleHostFailure::Crashed,
         "SIGSEGV, Segmentation fault"},
        {folder.File("missing-host"), ModuleHostFailure::CannotStart, "No such file or directory"},
    };
    const ModuleLocation module = LocateModule("kelvane_sample_converter");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.host);
        SetModuleHostProgramsForTesting(c.host, "");
        const ModuleHostOutcome outcome =
            CallModuleHost(module, ModuleHostCall::Probe, 0, {}, SilentWaitIndicator());
        EXPECT_EQ(outcome.failure, c.failure);
        EXPECT_EQ(outcome.detail, c.detail);
        EXPECT_NE(ModuleHostFailureMessage(outcome, module).find(module.file), std::string::npos);
    }
    SetModuleHostProgramsForTesting("", "");
    const ModuleHostOutcome outcome =
        CallModuleHost(module, ModuleHostCall::Probe, 0, {}, SilentWaitIndicator());
    EXPECT_EQ(outcome.failure, ModuleHostFailure::None);
    EXPECT_EQ(outcome.answer.mask, 0x3FFu);
    EXPECT_EQ(ModuleHostFailureMessage(outcome, module), "");
}

bool ProcessGone(pid_t pid) {
    // A child the module left is reparented; it may linger as a zombie.
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    std::getline(stat, text);
    const size_t close = text.rfind(')');
    return !stat || (close != std::string::npos && text.substr(close + 2, 1) == "Z");
}

// A module that never returns is stopped at the limit, with the process it
// started; the limit comes from KELVANE_MODULE_TIMEOUT.
TEST(CallModuleHostTest, AHungModuleIsKilledWithItsChildrenAtTheLimit) {
    test::TempFolder folder;
    ScopedEnvironment timeout("KELVANE_MODULE_TIMEOUT", "1.5");
    ScopedEnvironment pidFile("KELVANE_TEST_PID_FILE", folder.File("child.pid").c_str());
    EXPECT_EQ(ModuleCallTimeoutSeconds(), 1.5);
    const ModuleLocation module = LocateModule("kelvane_test_hang");
    const ModuleHostOutcome outcome =
        CallModuleHost(module, ModuleHostCall::Convert, 0, {}, SilentWaitIndicator());
    EXPECT_EQ(outcome.failure, ModuleHostFailure::TimedOut);
    EXPECT_EQ(ModuleHostFailureMessage(outcome, module),
              "The conversion module " + kProgramDir +
                  "/kelvane_test_hang.so gave no answer within 1.5 seconds and was stopped "
                  "(KELVANE_MODULE_TIMEOUT sets the limit).\nThe project was not changed.");
    std::ifstream pidText(folder.File("child.pid"));
    pid_t child = 0;
    ASSERT_TRUE(pidText >> child);
    for (int i = 0; i < 100 && !ProcessGone(child); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(ProcessGone(child));

    for (const char* invalid : {"", "0", "-3", "soon", "1e999"}) {
        ScopedEnvironment other("KELVANE_MODULE_TIMEOUT", invalid);
        EXPECT_EQ(ModuleCallTimeoutSeconds(), 120) << invalid;
    }
}

TEST(CallModuleHostTest, AWindowsModuleWithoutWineSaysWhatIsMissing) {
    test::TempFolder folder;
    WriteBytes(folder.File("conv.dll"), "");
    ScopedEnvironment path("PATH", folder.Path().c_str());
    const ModuleLocation module = LocateModule(folder.File("conv"));
    ASSERT_EQ(module.kind, ModuleKind::Windows);
    const ModuleHostOutcome outcome =
        CallModuleHost(module, ModuleHostCall::Probe, 0, {}, SilentWaitIndicator());
    EXPECT_EQ(outcome.failure, ModuleHostFailure::WineMissing);
    EXPECT_EQ(ModuleHostFailureMessage(outcome, module),
              "The conversion module " + folder.File("conv.dll") +
                  " is a Windows library. Wine is needed to run it, and the command wine was "
                  "not found.\nInstall Wine (Debian: wine and wine32).\nA conversion process is "
                  "stopped.");
}

} // namespace
} // namespace kelvane
