// SPDX-License-Identifier: MIT
// The USB access library as a Windows DLL, listed in the module host: on
// Windows every library, on Linux a DLL under Wine (the 64-bit host, and the
// 32-bit one where this machine runs 32-bit programs).
#include "app/app_with_fakes.h"
#include "convert/module_host_launch.h"
#include "dialogs/usb_access.h"
#include "res/dialog_ids.h"
#include "scoped_environment.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace kelvane {
namespace {

// The 64-bit build of a test library: on Windows the tests' own, on Linux
// the one cross-built for Wine.
std::string Library64(const std::string& name) {
    return test::kOnWindows ? std::string(KELVANE_TEST_MODULE_DIR) + "/" + name + ".dll"
                            : std::string(KELVANE_PROGRAM_DIR) + "/" + name + "_win64.dll";
}

std::string Library32(const std::string& name) {
    return std::string(KELVANE_PROGRAM_DIR) + "/" + name + "_win32.dll";
}

bool WindowsModulesBuiltForUsb() {
#ifdef KELVANE_WINDOWS_MODULES
    return true;
#else
    return false;
#endif
}

bool Host64Built() {
#if defined(_WIN32) || defined(KELVANE_WINDOWS64_HOST)
    return true;
#else
    return false;
#endif
}

bool CanStartHost(ModuleKind kind) {
    ModuleLocation location;
    location.kind = kind;
    ModuleHostFailure failure = ModuleHostFailure::None;
    std::string note;
    return HostCanStart(location, failure, note);
}

// Where the kernel has no 32-bit support (or Wine no 32-bit loader), the
// 32-bit host cannot start at all; started on nothing, it says so by exit
// status 2.
bool ThirtyTwoBitHostRuns() {
    ModuleLocation location;
    location.kind = ModuleKind::Windows;
    if (!CanStartHost(location.kind))
        return false;
    ChildProcessRun run = HostCommand(location);
    run.outputLimit = 1024;
    run.timeoutSeconds = 120; // a new Wine prefix takes its time
    run.collectErrors = true; // what it says of the empty request is not shown
    const ChildProcessOutcome ran = RunChildProcess(run, SilentWaitIndicator());
    return ran.exited && ran.exitCode == 2;
}

// Wine makes or updates its prefix on the first start, which can take
// longer than a listing may: once, with time enough, before the tests.
void PrepareWine() {
    static const bool prepared = [] {
        const test::ScopedEnvironment timeout("KELVANE_USB_TIMEOUT", "120");
        CUsbAccess(Library64("kelvane_test_usb_none")).Refresh();
        return true;
    }();
    static_cast<void>(prepared);
}

#define SKIP_WITHOUT_HOST64()                                                                      \
    do {                                                                                           \
        if (!Host64Built())                                                                        \
            GTEST_SKIP() << "skipped: built without the 64-bit Windows host";                      \
        if (!CanStartHost(test::kOnWindows ? ModuleKind::Native : ModuleKind::Windows64))          \
            GTEST_SKIP() << "skipped: Wine's 64-bit loader is not installed";                      \
        PrepareWine();                                                                             \
    } while (false)

std::vector<std::string> Listed(CUsbAccess& usb) {
    std::vector<std::string> texts;
    for (uint32_t i = 0; i < usb.Count(); ++i)
        texts.push_back(usb.Text(i));
    return texts;
}

// Every answer a well-behaved DLL can give, each Refresh a host of its own.
TEST(UsbAccessTest, ADllListsItsDevicesThroughTheHostAsTheSubstituteDoes) {
    SKIP_WITHOUT_HOST64();
    CUsbAccess two(Library64("kelvane_test_usb_two"));
    EXPECT_EQ(two.Unusable(), "");
    two.Refresh();
    EXPECT_EQ(two.Unusable(), "");
    EXPECT_EQ(Listed(two), (std::vector<std::string>{"ABC12345DE unit-1", "XYZ67890QR unit-2"}));
    two.Refresh();
    EXPECT_EQ(two.Count(), 2u);

    CUsbAccess fails(Library64("kelvane_test_usb_fails"));
    fails.Refresh();
    EXPECT_EQ(Listed(fails), (std::vector<std::string>{"ABC12345DE unit-1", ""}));

    CUsbAccess none(Library64("kelvane_test_usb_none"));
    none.Refresh();
    EXPECT_EQ(none.Count(), 0u);
    EXPECT_EQ(none.Unusable(), "");

    // 200 reported: the first 128 are asked for and listed.
    CUsbAccess many(Library64("kelvane_test_usb_many"));
    many.Refresh();
    ASSERT_EQ(many.Count(), kMaxUsbDevices);
    EXPECT_EQ(many.Text(2), "DEV002 more");
    EXPECT_EQ(many.Text(127), "DEV127 more");
}

#ifndef _WIN32
// The first listing in a prefix that does not exist yet: Wine makes it, with
// time enough, before the host starts; the listing keeps its own short
// limit, which making a prefix far exceeds, and the prefix is whole.
TEST(UsbAccessTest, TheFirstListingInAMissingPrefixHasItMadeFirst) {
    SKIP_WITHOUT_HOST64();
    test::TempFolder folder;
    const std::string prefix = folder.File("new-prefix");
    const test::ScopedEnvironment where("WINEPREFIX", prefix.c_str());
    {
        const test::ScopedEnvironment timeout("KELVANE_USB_TIMEOUT", "8");
        CUsbAccess two(Library64("kelvane_test_usb_two"));
        two.Refresh();
        EXPECT_EQ(two.Unusable(), "");
        EXPECT_EQ(Listed(two),
                  (std::vector<std::string>{"ABC12345DE unit-1", "XYZ67890QR unit-2"}));
    }
    EXPECT_TRUE(std::filesystem::is_directory(prefix + "/drive_c/windows/system32"));
    // Its server goes before its folder does.
    ChildProcessRun stop;
    ModuleLocation windows64;
    windows64.kind = ModuleKind::Windows64;
    const std::string loader = HostCommand(windows64).command.at(0);
    const std::string server = std::filesystem::path(loader).parent_path() / "wineserver";
    stop.command = {ProgramOnPath(server) ? server : std::string("wineserver"), "-k"};
    stop.outputLimit = 1 << 16;
    stop.timeoutSeconds = 60;
    RunChildProcess(stop, SilentWaitIndicator());
}
#endif

// A DLL that lacks a call, is missing, crashes or hangs lists nothing and
// says why; the program goes on, and the next listing works.
TEST(UsbAccessTest, ADllThatLacksACallCrashesOrHangsListsNothingAndSaysWhy) {
    SKIP_WITHOUT_HOST64();
    const struct {
        const char* library;
        std::string unusable;
    } cases[] = {
        {"kelvane_test_usb_no_info", " has no USB_GetDeviceInfo"},
        {"kelvane_test_usb_no_list", " has no USB_GetDeviceList"},
        {"kelvane_test_usb_crash", " crashed (exception 0xC0000005)"},
        {"kelvane_test_usb_hang",
         " gave no answer within 2 seconds and was stopped (KELVANE_USB_TIMEOUT sets the limit)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.library);
        // Only the hang waits for the short limit: a Wine that starts slowly
        // on a cold machine is no hang.
        std::optional<test::ScopedEnvironment> timeout;
        if (c.unusable.find("no answer") != std::string::npos)
            timeout.emplace("KELVANE_USB_TIMEOUT", "2");
        CUsbAccess usb(Library64(c.library));
        usb.Refresh();
        EXPECT_EQ(usb.Count(), 0u);
        EXPECT_EQ(usb.Unusable(), Library64(c.library) + c.unusable);
    }
    CUsbAccess missing(Library64("kelvane_test_usb_missing"));
    missing.Refresh();
    EXPECT_EQ(missing.Count(), 0u);
    EXPECT_NE(missing.Unusable().find(Library64("kelvane_test_usb_missing")), std::string::npos)
        << missing.Unusable();

    CUsbAccess two(Library64("kelvane_test_usb_two"));
    two.Refresh();
    EXPECT_EQ(two.Count(), 2u);
}

// The Detect button over a DLL: the chosen name reaches the field; a DLL
// that crashes shows nothing, keeps the field and the table, and leaves
// the dialog working.
TEST(UsbAccessTest, DetectOverADllFillsTheFieldAndSurvivesOneThatCrashes) {
    SKIP_WITHOUT_HOST64();
    test::AppWithFakes<> f;
    f.OpenEthernetProject();
    f.app.Settings().m_nCommDevice = COMM_USB;
    f.app.Settings().m_strUsbDevice = "OLD0000001";
    const auto detect = [&f](const std::string& library, bool choose) {
        f.app.SetUsbLibrary(library);
        f.dialogs.SetScript(IDD_USB_DEVICE_LIST,
                            [choose](CDialog& dialog, MemoryDialogControls& controls) {
                                EXPECT_EQ(controls.GetCount(IDC_USB_DEVICE_LIST), 2);
                                if (choose)
                                    controls.Select(dialog, IDC_USB_DEVICE_LIST, 1);
                                controls.Click(dialog, IDOK);
                            });
        f.dialogs.SetScript(IDD_COMM_SETTING, [](CDialog& dialog, MemoryDialogControls& controls) {
            EXPECT_TRUE(controls.Click(dialog, IDC_DETECT));
            EXPECT_TRUE(controls.Click(dialog, IDOK));
        });
        f.app.OnCommand(32771);
    };
    detect(Library64("kelvane_test_usb_two"), true);
    EXPECT_EQ(f.app.Settings().m_strUsbDevice, "XYZ67890QR");
    EXPECT_EQ(f.app.UsbDevices().m_astrUsbDevices[1], "XYZ67890QR unit-2");

    detect(Library64("kelvane_test_usb_crash"), true);
    EXPECT_EQ(f.app.Settings().m_strUsbDevice, "XYZ67890QR");
    EXPECT_EQ(f.app.UsbDevices().m_nUsbDeviceCount, 0);
    EXPECT_EQ(f.app.UsbDevices().m_astrUsbDevices[1], "XYZ67890QR unit-2");
    EXPECT_EQ(f.dialogs.RunCount(IDD_USB_DEVICE_LIST), 1);
    EXPECT_TRUE(f.messageBoxes.shown.empty());

    detect(Library64("kelvane_test_usb_two"), false);
    EXPECT_EQ(f.app.Settings().m_strUsbDevice, "ABC12345DE");
}

// The kind of DLL users own: 32-bit, in the 32-bit host.
TEST(UsbAccessTest, AThirtyTwoBitDllListsThroughTheThirtyTwoBitHost) {
    if (!WindowsModulesBuiltForUsb())
        GTEST_SKIP() << "skipped: built without KELVANE_WINDOWS_MODULES";
    if (!ThirtyTwoBitHostRuns())
        GTEST_SKIP() << "skipped: this machine runs no 32-bit Windows programs";
    CUsbAccess two(Library32("kelvane_test_usb_two"));
    two.Refresh();
    EXPECT_EQ(two.Unusable(), "");
    EXPECT_EQ(Listed(two), (std::vector<std::string>{"ABC12345DE unit-1", "XYZ67890QR unit-2"}));
    CUsbAccess crash(Library32("kelvane_test_usb_crash"));
    crash.Refresh();
    EXPECT_EQ(crash.Count(), 0u);
    EXPECT_EQ(crash.Unusable(),
              Library32("kelvane_test_usb_crash") + " crashed (exception 0xC0000005)");
}

} // namespace
} // namespace kelvane
