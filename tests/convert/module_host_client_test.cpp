// SPDX-License-Identifier: MIT
#include "convert/module_host_client.h"

#include "scoped_environment.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <sched.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

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
        {Script("short", "printf 'KLVA\\002\\000\\000\\000'"), ModuleHostFailure::BadAnswer,
         "an answer of the wrong size, 8 bytes"},
        {Script("exits", "exit 4"), ModuleHostFailure::Exited, "4"},
        {Script("quiet", "exit 0"), ModuleHostFailure::Exited, "0"},
        {Script("killed", "kill -SEGV $$"), ModuleHostFailure::Crashed,
         "SIGSEGV, Segmentation fault"},
        {folder.File("missing-host"), ModuleHostFailure::CannotStart, "No such file or directory"},
    };
    const ModuleLocation module = LocateModule("kelvane_sample_converter");
    // The first process of a PID namespace ignores its own signals; the real
    // host runs its call below it, a script cannot.
    ScopedEnvironment noNamespace("KELVANE_NO_PID_NAMESPACE", "1");
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

// Whether this system lets a user make a PID namespace here.
bool PidNamespacesAllowed() {
    const pid_t child = fork();
    if (child == 0)
        _exit(unshare(CLONE_NEWUSER | CLONE_NEWPID) == 0 ? 0 : 1);
    int status = 1;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

pid_t PidIn(const std::string& file) {
    std::ifstream text(file);
    pid_t pid = 0;
    text >> pid;
    return pid;
}

// A module that leaves a process of its own session holding every stream
// open: the answer is taken at once and stands, with a warning that names
// what was stopped, and nothing is left running; in a PID namespace and
// without one.
TEST(CallModuleHostTest, AModuleThatLeavesADaemonIsAnsweredAtOnceAndLeavesNothingRunning) {
    test::TempFolder folder;
    ScopedEnvironment timeout("KELVANE_MODULE_TIMEOUT", "60");
    ScopedEnvironment pidFile("KELVANE_TEST_PID_FILE", folder.File("daemon.pid").c_str());
    const ModuleLocation module = LocateModule("kelvane_test_daemon");
    for (const char* noNamespace : {static_cast<const char*>(nullptr), "1"}) {
        SCOPED_TRACE(noNamespace == nullptr ? "namespace" : "no namespace");
        ScopedEnvironment mode("KELVANE_NO_PID_NAMESPACE", noNamespace);
        std::remove(folder.File("daemon.pid").c_str());
        const ModuleHostOutcome outcome =
            CallModuleHost(module, ModuleHostCall::Convert, 0, {}, SilentWaitIndicator());
        EXPECT_EQ(outcome.failure, ModuleHostFailure::None) << outcome.detail;
        EXPECT_EQ(outcome.answer.status, ModuleHostStatus::Called);
        EXPECT_EQ(ModuleHostFailureMessage(outcome, module), "");
        EXPECT_EQ(ModuleHostWarningMessage(outcome, module),
                  "The conversion module " + module.file +
                      " left processes running after its call (1); they were stopped.\nThe "
                      "conversion's result stands.");
        const pid_t daemon = PidIn(folder.File("daemon.pid"));
        ASSERT_GT(daemon, 0);
        for (int i = 0; i < 100 && !ProcessGone(daemon); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_TRUE(ProcessGone(daemon));
    }
    // A module that starts nothing is not warned about.
    const ModuleLocation sample = LocateModule("kelvane_sample_converter");
    const ModuleHostOutcome plain =
        CallModuleHost(sample, ModuleHostCall::Probe, 0, {}, SilentWaitIndicator());
    EXPECT_EQ(plain.answer.leftProcesses, 0u);
    EXPECT_EQ(ModuleHostWarningMessage(plain, sample), "");
}

// 1 MiB on each of the module's streams: the first 64 KiB reach the
// program's standard error, then one line tells how much more was left out,
// and the call is answered.
TEST(CallModuleHostTest, AModuleThatPrintsWithoutEndIsCutAfter64KiB) {
    test::TempFolder folder;
    const std::string captured = folder.File("stderr");
    const ModuleLocation module = LocateModule("kelvane_test_flood");
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    const int file = open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(file, 0);
    dup2(file, STDERR_FILENO);
    close(file);
    const ModuleHostOutcome outcome =
        CallModuleHost(module, ModuleHostCall::Convert, 0, {}, SilentWaitIndicator());
    dup2(saved, STDERR_FILENO);
    close(saved);
    EXPECT_EQ(outcome.failure, ModuleHostFailure::None);
    EXPECT_EQ(outcome.answer.result, 0);
    const std::string printed = test::ReadBytes(captured);
    const std::string note = "\nkelvane: the conversion module " + module.file +
                             " printed 2031616 more bytes; they were left out\n";
    EXPECT_EQ(printed.size(), 65536 + note.size());
    EXPECT_TRUE(printed.ends_with(note)) << printed.substr(printed.size() - 200);
    EXPECT_EQ(printed.substr(0, 3), "ooo");
}

// A module that kills the process that started its host kills nobody in a
// PID namespace: the call is answered. Where namespaces are refused (made so
// in a child of the test that leaves itself unmapped in a user namespace),
// the host starts the usual way without a word, and the same module then
// does kill its caller.
TEST(CallModuleHostTest, AModuleCannotKillTheProgramWhereNamespacesAreAllowed) {
    const ModuleLocation killer = LocateModule("kelvane_test_kill_parent");
    const ModuleLocation sample = LocateModule("kelvane_sample_converter");
    const auto Convert = [&] {
        const ModuleHostOutcome outcome =
            CallModuleHost(killer, ModuleHostCall::Convert, 0, {}, SilentWaitIndicator());
        return outcome.failure == ModuleHostFailure::None ? std::string("answered")
                                                          : outcome.detail;
    };
    if (PidNamespacesAllowed())
        EXPECT_EQ(test::RunWithin(30, Convert), "answered");
    else
        std::cout << "this system allows no PID namespace: only the fallback is tested\n";

    const auto Refused = [&](const std::function<std::string()>& body) {
        return [body] {
            // A user who is not mapped in its user namespace may make no
            // namespace below it; where none can be made at all, neither.
            unshare(CLONE_NEWUSER);
            return body();
        };
    };
    EXPECT_EQ(test::RunWithin(30, Refused([&] {
                                  const ModuleHostOutcome outcome = CallModuleHost(
                                      sample, ModuleHostCall::Probe, 0, {}, SilentWaitIndicator());
                                  return outcome.failure == ModuleHostFailure::None &&
                                                 outcome.answer.mask == 0x3FFu
                                             ? std::string("probed")
                                             : outcome.detail;
                              })),
              "probed");
    EXPECT_EQ(test::RunWithin(30, Refused(Convert)), std::nullopt);
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
