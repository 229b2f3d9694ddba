// SPDX-License-Identifier: MIT
#include "convert/module_host_launch.h"
#include "convert/usb_host_client.h"
#include "scoped_environment.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kelvane {
namespace {

namespace fs = std::filesystem;

// Enough of a PE file for its machine to be read.
std::string PeFile(uint16_t machine) {
    std::string bytes(0x40, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    bytes[0x3C] = 0x40;
    bytes += std::string("PE\0\0", 4);
    bytes.push_back(static_cast<char>(machine & 0xFF));
    bytes.push_back(static_cast<char>(machine >> 8));
    return bytes;
}

// The substitute beside the program wins; else a DLL beside it, in any
// case, else the one in the debugger's folder of the Wine prefix; a 64-bit
// DLL goes to the 64-bit host, every other to the 32-bit one.
TEST(ModuleHostLaunchTest, TheUsbLibraryIsTheSubstituteElseADllBesideElseTheInstalledOne) {
    test::TempFolder program, prefix;
    fs::create_directories(prefix.File("drive_c/KVX/ferroSCOPE"));
    fs::create_directories(prefix.File("dosdevices"));
    fs::create_directory_symlink("../drive_c", prefix.File("dosdevices/c:"));
    const test::ScopedEnvironment wine("WINEPREFIX", prefix.Path().c_str());
    const std::string installed =
        fs::canonical(prefix.File("drive_c/KVX/ferroSCOPE")).string() + "/tvxUSB.dll";

    // Nothing anywhere: the system's library search.
    UsbLibraryPlace place = LocateUsbLibrary("tvxUSB.so", program.Path());
    EXPECT_FALSE(place.host);
    EXPECT_EQ(place.library, "tvxUSB.so");

    test::WriteBytes(installed, PeFile(0x14C));
    place = LocateUsbLibrary("tvxUSB.so", program.Path());
    ASSERT_TRUE(place.host);
    EXPECT_EQ(place.host->kind, ModuleKind::Windows);
    EXPECT_EQ(place.host->file, installed);
    EXPECT_EQ(place.host->hostPath.substr(0, 3), "Z:\\");
    EXPECT_EQ(place.host->hostPath.back(), 'l');
    // A path names its own file: nothing of the prefix.
    EXPECT_FALSE(LocateUsbLibrary(program.File("tvxUSB.so"), program.Path()).host);

    test::WriteBytes(program.File("TVXUSB.DLL"), PeFile(0x8664));
    place = LocateUsbLibrary("tvxUSB.so", program.Path());
    ASSERT_TRUE(place.host);
    EXPECT_EQ(place.host->kind, ModuleKind::Windows64);
    EXPECT_EQ(place.host->file, program.File("TVXUSB.DLL"));
    EXPECT_EQ(HostProgramName(place.host->kind), std::string("kelvane-module-host64.exe"));

    test::WriteBytes(program.File("tvxUSB.so"), "");
    place = LocateUsbLibrary("tvxUSB.so", program.Path());
    EXPECT_FALSE(place.host);
    // A DLL asked for by name is the DLL, the substitute beside it or not.
    place = LocateUsbLibrary("tvxUSB.dll", program.Path());
    ASSERT_TRUE(place.host);
    EXPECT_EQ(place.host->file, program.File("TVXUSB.DLL"));

    // A file that is no PE file goes to the 32-bit host, which says why.
    test::WriteBytes(program.File("other.dll"), "MZ");
    place = LocateUsbLibrary(program.File("other.dll"), "/nowhere");
    ASSERT_TRUE(place.host);
    EXPECT_EQ(place.host->kind, ModuleKind::Windows);
}

} // namespace
} // namespace kelvane
