// SPDX-License-Identifier: MIT
#include "store/validate_settings.h"

#include "res/string_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace kelvane {
namespace {

// Each step breaks or mends one setting; the first rule that fails is reported.
TEST(ValidateSettingsTest, RulesAreCheckedInOrder) {
    SetResourceLanguage(ResourceLanguage::English);
    ProjectSettings s;
    s.m_nCommDevice = COMM_ETHERNET;
    s.m_strIpAddress = " "; // blanks are a value
    s.m_strPort = " ";
    s.m_szMpdFile[0] = 'K';
    s.m_strLastError = "left over";
    const std::pair<std::function<void()>, std::string> steps[] = {
        {[] {}, ""},
        {[&] { s.m_bUseMcs = 1; }, "Multi-Core Server connection (IP address undefined.)"},
        {[&] { s.m_strIpAddressMcs = "127.0.0.1"; },
         "Multi-Core Server connection (COM port undefined.)"},
        {[&] { s.m_strPortMcs = "1b5f"; }, ""},
        {[&] { s.m_szMpdFile[0] = '\0'; }, "MPV file location undefined."},
        {[&] { s.m_strPort.clear(); }, "ICE connection (COM port undefined.)"},
        {[&] { s.m_strIpAddress.clear(); }, "ICE connection (IP address undefined.)"},
        // Every device but Ethernet is checked as USB.
        {[&] { s.m_nCommDevice = 77; }, "ICE connection (USB device undefined.)"},
        {[&] { s.m_strUsbDevice = "ABC1234XDE"; }, "ICE connection (USB device setting invalid.)"},
        {[&] { s.m_strUsbDevice = "ABC12345DE"; }, "MPV file location undefined."},
        {[&] { s.m_szMpdFile[0] = 'K'; }, ""},
    };
    for (const auto& [step, refusal] : steps) {
        step();
        EXPECT_EQ(ValidateSettings(s), refusal.empty());
        EXPECT_EQ(s.m_strLastError, refusal);
    }
    for (const uint32_t device : {1u, 2u, 3u, 4u}) {
        s.m_nCommDevice = device;
        EXPECT_TRUE(ValidateSettings(s)) << device;
    }
}

TEST(ValidateSettingsTest, UsbDeviceNamesAreThreeLettersFiveDigitsTwoLetters) {
    EXPECT_TRUE(IsValidUsbDeviceName("ABC12345DE"));
    for (const char* bad :
         {"aBC12345DE", "ABC1234XDE", "ABC12345D", "ABC12345DEF", "AB312345DE", "ABC12345D1",
          "ABC12345\xC4"
          "E",
          "ABC 2345DE", ""})
        EXPECT_FALSE(IsValidUsbDeviceName(bad)) << bad;
}

} // namespace
} // namespace kelvane
