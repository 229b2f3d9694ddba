// SPDX-License-Identifier: MIT
#include "platform/process/dynamic_library.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {
namespace {

using namespace std::string_literals;

constexpr size_t kRecordSize = 1806;
constexpr size_t kLabelOffset = 522;
constexpr size_t kNameOffset = 778;

using Record = std::vector<unsigned char>;

// The record a device should give, built from UTF-16 the compiler encoded.
Record Expected(std::u16string_view name, std::u16string_view label) {
    Record record(kRecordSize, 0);
    const auto put = [&](size_t offset, std::u16string_view text) {
        for (const char16_t unit : text) {
            record.at(offset++) = static_cast<unsigned char>(unit & 0xFF);
            record.at(offset++) = static_cast<unsigned char>(unit >> 8);
        }
    };
    put(kLabelOffset, label);
    put(kNameOffset, name);
    return record;
}

std::string FirstDifference(const Record& got, const Record& expected) {
    for (size_t i = 0; i < kRecordSize; ++i)
        if (got[i] != expected[i])
            return "first difference at byte " + std::to_string(i);
    return "no difference";
}

// Sets or unsets KELVANE_USB_DEVICES for one test.
class DevicesVariable {
public:
    DevicesVariable() {
        if (const char* old = std::getenv(kName))
            m_saved = old;
    }
    ~DevicesVariable() {
        if (m_saved)
            setenv(kName, m_saved->c_str(), 1);
        else
            unsetenv(kName);
    }
    void Set(const std::string& value) { setenv(kName, value.c_str(), 1); }

private:
    static constexpr const char* kName = "KELVANE_USB_DEVICES";
    std::optional<std::string> m_saved;
};

class TvxUsbTest : public ::testing::Test {
protected:
    void SetUp() override { Load(std::string(KELVANE_PROGRAM_DIR) + "/tvxUSB.so"); }

    void Load(const std::string& path) {
        ASSERT_TRUE(library.Load(path)) << library.Error();
        list = reinterpret_cast<uint32_t (*)()>(library.Symbol("USB_GetDeviceList"));
        info = reinterpret_cast<int32_t (*)(uint32_t, void*)>(library.Symbol("USB_GetDeviceInfo"));
        ASSERT_NE(list, nullptr);
        ASSERT_NE(info, nullptr);
    }

    // Lists the devices of a file holding `content`.
    uint32_t ListFile(const std::string& content) {
        test::WriteBytes(devicesFile, content);
        variable.Set(devicesFile);
        return list();
    }

    // Device `index`, read into a record full of stale bytes, is `expected`
    // to the byte.
    void ExpectDevice(uint32_t index, const Record& expected) {
        Record record(kRecordSize, 0xA5);
        EXPECT_NE(info(index, record.data()), 0) << index;
        EXPECT_TRUE(record == expected)
            << "device " << index << ": " << FirstDifference(record, expected);
    }

    // An index the library must refuse, writing nothing.
    void ExpectRefused(uint32_t index) {
        Record record(kRecordSize, 0xA5);
        EXPECT_EQ(info(index, record.data()), 0) << index;
        EXPECT_EQ(record, Record(kRecordSize, 0xA5)) << index;
    }

    test::TempFolder folder;
    std::string devicesFile = folder.File("devices.txt");
    DevicesVariable variable;
    DynamicLibrary library;
    uint32_t (*list)() = nullptr;
    int32_t (*info)(uint32_t, void*) = nullptr;
};

TEST_F(TvxUsbTest, ExportsAllTwelveNames) {
    for (const char* name : {"USB_GetDeviceList", "USB_GetDeviceInfo", "USB_Check",
                             "USB_DeviceOpen", "USB_DeviceClose", "USB_SetReadWriteCondition",
                             "USB_GetReadWriteCondition", "USB_BlkDataWrite", "USB_BlkDataRead",
                             "USB_GetErrorInfo", "USB_PurgeDevice", "USB_GetPipeAddress"})
        EXPECT_NE(library.Symbol(name), nullptr) << name;
}

TEST_F(TvxUsbTest, FillsEachRecordFromItsLineOfTheDevicesFile) {
    ExpectRefused(0); // nothing listed yet

    const std::string longName = std::string(512, 'n') + "\xF0\x9F\x98\x80";
    const std::string longLabel = std::string(126, 'l') + "\xF0\x9F\x98\x80";
    const std::string content =
        "\xEF\xBB\xBF# bench units\r\n"
        "\r\n"
        "ICE unit 1\tBench unit, left\r\n"
        " \t \n"
        "SN-0002\t\xE3\x83\xA9\xE3\x83\x99\xE3\x83\xAB \xF0\x9F\x98\x80\n"
        "bare-name\n"
        "\tlabel without a name\n" +
        longName + "\t" + longLabel + "\n" + std::string(513, 'm') + "\t" + std::string(127, 'k') +
        "\n" + std::string(100000, 'x') + "\tafter a long name\n" +
        "bad\xFFutf\xE2\x82"
        "8\0nul\t"
        // A surrogate, overlong forms, beyond U+10FFFF,
        // and the first and last of their ranges.
        "\xED\xA0\x80\xC0\x80\xE0\x9F\xBF\xE0\xA0\x80\xF4\x90\x80\x80\xF4\x8F\xBF\xBF\n"s +
        "last line\twithout an end";
    ASSERT_EQ(ListFile(content), 8u);

    const std::vector<Record> expected = {
        Expected(u"ICE unit 1", u"Bench unit, left"),
        Expected(u"SN-0002", u"ラベル 😀"),
        Expected(u"bare-name", u""),
        // Cut before the pair that would leave no room for the terminator.
        Expected(std::u16string(512, u'n'), std::u16string(126, u'l')),
        Expected(std::u16string(513, u'm'), std::u16string(127, u'k')),
        Expected(std::u16string(513, u'x'), u"after a long name"),
        Expected(u"bad\uFFFDutf\uFFFD8\uFFFDnul",
                 u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\u0800\uFFFD\uFFFD\uFFFD\uFFFD"
                 u"\U0010FFFF"),
        Expected(u"last line", u"without an end"),
    };
    for (uint32_t i = 0; i < expected.size(); ++i)
        ExpectDevice(i, expected[i]);
    ExpectRefused(8);
    ExpectRefused(UINT32_MAX);
    EXPECT_EQ(info(0, nullptr), 0);
}

TEST_F(TvxUsbTest, ListsTheFileAsItIsAtEachCall) {
    variable.Set(folder.File("none.txt"));
    EXPECT_EQ(list(), 0u);
    variable.Set(folder.Path()); // a folder, not a file
    EXPECT_EQ(list(), 0u);

    ASSERT_EQ(ListFile("first\nsecond\tB\n"), 2u);
    test::WriteBytes(devicesFile, "third\tC\n");
    // Records come from the last list until the next one is taken.
    ExpectDevice(1, Expected(u"second", u"B"));
    ASSERT_EQ(list(), 1u);
    ExpectDevice(0, Expected(u"third", u"C"));
    ExpectRefused(1);
    std::filesystem::remove(devicesFile);
    EXPECT_EQ(list(), 0u);
    ExpectRefused(0);

    // Runaway input: the first 4096 devices, and of a file beyond 16 MiB only
    // its whole lines within them.
    std::string many;
    for (int i = 0; i < 5000; ++i)
        many += "unit " + std::to_string(i) + "\n";
    ASSERT_EQ(ListFile(many), 4096u);
    ExpectDevice(4095, Expected(u"unit 4095", u""));
    ExpectRefused(4096);
    EXPECT_EQ(ListFile("kept\tK\n" + std::string(17 << 20, 'y')), 1u);
    ExpectDevice(0, Expected(u"kept", u"K"));
}

// Without the variable, the devices file is the one beside the library, even
// when the library was loaded by a relative path and the current folder has
// changed since.
TEST_F(TvxUsbTest, ReadsTheDevicesFileBesideTheLibrary) {
    test::TempFolder besideFolder;
    std::filesystem::copy_file(std::string(KELVANE_PROGRAM_DIR) + "/tvxUSB.so",
                               besideFolder.File("tvxUSB.so"));
    test::WriteBytes(besideFolder.File("tvxUSB.devices"), "beside\tthe library\n");
    // Ids no device has: the bus is scanned and the file's devices stay.
    test::WriteBytes(besideFolder.File("tvxUSB.conf"), "# units\nffff:fffe  # none\nnot ids\n");

    const std::filesystem::path current = std::filesystem::current_path();
    std::filesystem::current_path(besideFolder.Path());
    Load("./tvxUSB.so");
    std::filesystem::current_path(current);
    if (HasFatalFailure())
        return;

    variable.Set("");
    ASSERT_EQ(list(), 1u);
    ExpectDevice(0, Expected(u"beside", u"the library"));
    // The variable names another file, which wins.
    EXPECT_EQ(ListFile("named\n"), 1u);
    ExpectDevice(0, Expected(u"named", u""));
}

} // namespace
} // namespace kelvane
