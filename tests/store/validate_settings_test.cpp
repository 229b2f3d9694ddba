#include "store/validate_settings.h"

#include "res/string_table.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kelvane {
namespace {

class ValidateSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetResourceLanguage(ResourceLanguage::English);
        settings.m_nCommDevice = COMM_ETHERNET;
        settings.m_strIpAddress = "192.168.0.20";
        settings.m_strPort = "1f90";
        std::strcpy(settings.m_szMpdFile, "KV4021");
    }

    // The message of a refused check.
    std::string Refusal() {
        EXPECT_FALSE(ValidateSettings(settings));
        return settings.m_strLastError;
    }

    ProjectSettings settings;
};

TEST_F(ValidateSettingsTest, EthernetRulesInOrder) {
    settings.m_strLastError = "left over";
    EXPECT_TRUE(ValidateSettings(settings));
    EXPECT_EQ(settings.m_strLastError, "");

    settings.m_strPort.clear();
    EXPECT_EQ(Refusal(), "ICE connection (COM port undefined.)");
    settings.m_strIpAddress.clear();
    EXPECT_EQ(Refusal(), "ICE connection (IP address undefined.)");

    // Blanks are a value; only the length counts.
    settings.m_strIpAddress = " ";
    settings.m_strPort = " ";
    EXPECT_TRUE(ValidateSettings(settings));
}

TEST_F(ValidateSettingsTest, EveryOtherDeviceIsCheckedAsUsb) {
    for (uint32_t device : {1u, 2u, 3u, 4u, 77u}) {
        SCOPED_TRACE(device);
        settings.m_nCommDevice = device;
        settings.m_strUsbDevice.clear();
        EXPECT_EQ(Refusal(), "ICE connection (USB device undefined.)");
        settings.m_strUsbDevice = "ABC12345DE";
        EXPECT_TRUE(ValidateSettings(settings));
    }
    for (const char* bad :
         {"aBC12345DE", "ABC1234XDE", "ABC12345D", "ABC12345DEF", "AB312345DE", "ABC12345D1",
          "ABC12345\xC4"
          "E",
          "ABC 2345DE"}) {
        SCOPED_TRACE(bad);
        settings.m_strUsbDevice = bad;
        EXPECT_EQ(Refusal(), "ICE connection (USB device setting invalid.)");
    }
}

TEST_F(ValidateSettingsTest, MultiCoreServerAndMpvFileComeLast) {
    settings.m_bUseMcs = 0;
    EXPECT_TRUE(ValidateSettings(settings)); // empty server address and port accepted

    settings.m_bUseMcs = 1;
    EXPECT_EQ(Refusal(), "Multi-Core Server connection (IP address undefined.)");
    settings.m_strIpAddressMcs = "127.0.0.1";
    EXPECT_EQ(Refusal(), "Multi-Core Server connection (COM port undefined.)");
    settings.m_strPortMcs = "1b5f";
    EXPECT_TRUE(ValidateSettings(settings));

    settings.m_szMpdFile[0] = '\0';
    EXPECT_EQ(Refusal(), "MPV file location undefined.");
    // A connection fault is reported before the missing MPV file.
    settings.m_strIpAddress.clear();
    EXPECT_EQ(Refusal(), "ICE connection (IP address undefined.)");
}

} // namespace
} // namespace kelvane
