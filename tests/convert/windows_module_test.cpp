// SPDX-License-Identifier: MIT
// Windows conversion modules, run in the 32-bit host under Wine, against the
// same modules built natively.
#include "app/app_with_fakes.h"
#include "app/refused_conversion.h"
#include "convert/module_discovery.h"
#include "convert/module_host_client.h"
#include "platform/process/child_process.h"
#include "scoped_environment.h"
#include "store/fixed_text.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace kelvane {
namespace {

namespace fs = std::filesystem;
using test::WriteBytes;

const char* const kPrefixes[] = {"KB", "KV", "KM", "KG", "KH"}; // by model number
const char* const kKinds[] = {".fsp", ".fsr", ".uer", ".sbu", ".mcr"};

#define SKIP_WITHOUT_WINE()                                                                        \
    do {                                                                                           \
        if (!WindowsModulesBuilt())                                                                \
            GTEST_SKIP() << "skipped: built without KELVANE_WINDOWS_MODULES";                      \
        if (!ProgramOnPath("wine"))                                                                \
            GTEST_SKIP() << "skipped: wine not installed";                                         \
        if (!RunsThirtyTwoBitPrograms())                                                           \
            GTEST_SKIP() << "skipped: this machine's kernel runs no 32-bit programs";              \
    } while (false)

// Debian's 32-bit Wine loader cannot start where the kernel has no 32-bit
// support: the exec fails with ENOEXEC, and so would every module call.
bool RunsThirtyTwoBitPrograms() {
    const char* loader = "/usr/lib/wine/wine";
    if (!fs::exists(loader))
        return true;
    char* const argv[] = {const_cast<char*>(loader), const_cast<char*>("--version"), nullptr};
    pid_t child = 0;
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    const int error = posix_spawn(&child, loader, &quiet, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (error != 0)
        return error != ENOEXEC;
    int status = 0;
    waitpid(child, &status, 0);
    return true;
}

bool WindowsModulesBuilt() {
#ifdef KELVANE_WINDOWS_MODULES
    return true;
#else
    return false;
#endif
}

// Opens a copy of the demo in `folder`, makes it a project of `from` (the MPU
// file named for that model), converts it in `direction` with the module of
// the table line `module` and saves it as converted/demo.fsp; the saved
// files' bytes.
std::string ConvertAndSave(const test::TempFolder& folder, const std::string& module,
                           int32_t direction, uint32_t from) {
    fs::remove_all(folder.File("converted"));
    for (const char* kind : kKinds)
        fs::copy_file(std::string(KELVANE_DEMO_DIR) + "/demo" + kind,
                      folder.File(std::string("demo") + kind),
                      fs::copy_options::overwrite_existing);
    std::string table;
    for (const char* prefix : kPrefixes)
        table += std::string(prefix) + ", " + module + "\n";
    WriteBytes(folder.File("kelvane.ini"), table);
    test::AppWithFakes<> f(folder.File("kelvane.ini"));
    f.app.OpenProjectPath(folder.File("demo.fsp"));
    EXPECT_TRUE(f.app.Settings().m_bProjectLoaded);
    ProjectSettings& settings = f.app.Settings();
    settings.m_nIceModel = from;
    std::string mpdFile(FieldText(settings.m_szMpdFile));
    const size_t name = mpdFile.find("KV4021");
    EXPECT_NE(name, std::string::npos) << mpdFile;
    mpdFile.replace(name, 2, kPrefixes[from]);
    CopyToField(settings.m_szMpdFile, mpdFile);
    f.app.FindConversionModule();
    f.messageBoxes.answers = {IDYES, IDOK};
    EXPECT_TRUE(f.app.ConvertProject(direction)) << module << " " << direction;
    settings.m_strUsbDevice = "ICE00001AB"; // a talvexBANTAM project is saved only with one
    fs::create_directory(folder.File("converted"));
    EXPECT_TRUE(f.app.SaveProject(folder.File("converted/demo.fsp")));
    std::string bytes;
    for (const char* kind : kKinds)
        bytes += test::ReadBytes(folder.File(std::string("converted/demo") + kind)) + '|';
    return bytes;
}

TEST(WindowsModuleTest, TheSampleAsADllConvertsEveryDirectionAsTheNativeModuleDoes) {
    SKIP_WITHOUT_WINE();
    test::TempFolder folder; // one place for both: the FSR file records it
    for (const ConversionCommand& command : ConversionCommands()) {
        SCOPED_TRACE(command.direction);
        const std::string native =
            ConvertAndSave(folder, "kelvane_sample_converter", command.direction, command.from);
        const std::string windows = ConvertAndSave(folder, "kelvane_sample_converter_win32",
                                                   command.direction, command.from);
        EXPECT_NE(native.find(std::string(kPrefixes[command.to]) + "4021"), std::string::npos);
        EXPECT_TRUE(native == windows);
    }
}

// The failure rows through Wine: a Windows exception, exit, a hang, a write
// past the block, garbage; the project stays as it was.
TEST(WindowsModuleTest, AMisbehavingDllLeavesTheProjectAsItWas) {
    SKIP_WITHOUT_WINE();
    // A new prefix takes seconds to make: not within the short limit below.
    const ModuleLocation sample = LocateModule("kelvane_sample_converter_win32");
    ASSERT_EQ(CallModuleHost(sample, ModuleHostCall::Probe, 0, {}, SilentWaitIndicator()).failure,
              ModuleHostFailure::None);
    test::ScopedEnvironment timeout("KELVANE_MODULE_TIMEOUT", "5");
    const std::string named = "Conversion failed|48|The conversion module " +
                              std::string(KELVANE_PROGRAM_DIR) + "/kelvane_test_";
    const std::string notChanged = ".\nThe project was not changed.";
    const struct {
        const char* module;
        std::string message;
    } cases[] = {
        {"crash", named + "crash_win32.dll crashed (exception 0xC0000005)" + notChanged},
        {"exit",
         named + "exit_win32.dll ended its process (exit status 3) without an answer" + notChanged},
        {"hang", named +
                     "hang_win32.dll gave no answer within 5 seconds and was stopped "
                     "(KELVANE_MODULE_TIMEOUT sets the limit)" +
                     notChanged},
        {"write_past",
         named + "write_past_win32.dll wrote outside the conversion block" + notChanged},
        {"garbage", "Conversion failed|48|" + std::string(512, 'g')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.module);
        // An ordinary failure keeps the module's other changes.
        test::ExpectConversionRefused(std::string("kelvane_test_") + c.module + "_win32", c.message,
                                      c.module != std::string("garbage"));
    }

    // A crash while asked what it supports disables the commands and says so.
    ProjectSettings settings;
    CopyToField(settings.m_szConvertModule, "kelvane_test_probe_crash_win32");
    std::string problem;
    ProbeConversionModule(settings, SilentWaitIndicator(), &problem);
    EXPECT_EQ(FieldText(settings.m_szConvertModule), "");
    EXPECT_NE(problem.find("crashed (exception 0xC0000005)"), std::string::npos) << problem;

    // A probe that never returns is stopped at its own limit.
    test::ScopedEnvironment probeLimit("KELVANE_PROBE_TIMEOUT", "3");
    CopyToField(settings.m_szConvertModule, "kelvane_test_probe_hang_win32");
    ProbeConversionModule(settings, SilentWaitIndicator(), &problem);
    EXPECT_EQ(FieldText(settings.m_szConvertModule), "");
    EXPECT_NE(problem.find("did not say within 3 seconds"), std::string::npos) << problem;

    // 2 MiB of output never holds the host up: the answer comes in time.
    const ModuleLocation flood = LocateModule("kelvane_test_flood_win32");
    const ModuleHostOutcome flooded =
        CallModuleHost(flood, ModuleHostCall::Convert, 0, {}, SilentWaitIndicator());
    EXPECT_EQ(flooded.failure, ModuleHostFailure::None) << flooded.detail;
    EXPECT_EQ(flooded.answer.result, 0);
}

} // namespace
} // namespace kelvane
