#include "res/string_table.h"
#include "store/project_file_fixture.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using test::ProjectFileText;
using test::ProjectFixture;

class CommSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { SetResourceLanguage(ResourceLanguage::English); }

    // Reads the file, model and communication groups of `text`.
    bool Open(const ProjectFileText& text) {
        return project.Load(text.Bytes()) && project.ReadAllGroups();
    }

    std::string Written(const std::string& key) {
        std::string value;
        EXPECT_TRUE(project.definitions.GetValue(value, key)) << key;
        return value;
    }

    ProjectFixture project;
};

TEST_F(CommSettingsTest, RecognisesTheModelFromTargetAndModelName) {
    struct Case {
        const char* target;
        const char* modelName; // nullptr: no MODEL_NAME key
        uint32_t model;
    };
    const Case cases[] = {
        {"talvexBANTAM", "KV1", ICE_TALVEX_BANTAM}, {"talvexNOVA", "KV1", ICE_TALVEX_NOVA},
        {"talvexMAX", "KV1", ICE_TALVEX_MAX},       {"talvexVEGA", "KV1H2", ICE_TALVEX_VEGA},
        {"talvexVEGA", nullptr, ICE_TALVEX_VEGA},   {"talvexVEGA", "H2A7", ICE_TALVEX_VEGA_II},
    };
    for (const Case& one : cases) {
        ProjectFileText text;
        text.Set("TARGET_NAME", one.target);
        if (one.modelName != nullptr)
            text.Set("MODEL_NAME", one.modelName);
        else
            text.Remove("MODEL_NAME");
        ASSERT_TRUE(Open(text)) << one.target;
        EXPECT_EQ(project.settings.m_nIceModel, one.model) << one.target;
        ASSERT_TRUE(project.definitions.WriteCommSettings());
        EXPECT_EQ(Written("TARGET_NAME"), IceModelName(one.model == 4 ? 3 : one.model));
    }
}

TEST_F(CommSettingsTest, UnknownTargetFailsWithoutMessageOfItsOwn) {
    for (const char* target : {"talvexVEGA II", "talvexmax", ""}) {
        ASSERT_TRUE(project.Load(ProjectFileText().Set("TARGET_NAME", target).Bytes()));
        ASSERT_TRUE(project.definitions.ReadFileSettings(project.path));
        ASSERT_TRUE(project.definitions.ReadModelSettings());
        project.settings.m_strLastError = "earlier";
        EXPECT_FALSE(project.definitions.ReadCommSettings()) << target;
        EXPECT_EQ(project.settings.m_strLastError, "earlier");
    }
}

TEST_F(CommSettingsTest, PortsAreHeldInHexadecimalAndWrittenInDecimal) {
    struct Case {
        const char* port;
        const char* held;
        const char* written;
    };
    const Case cases[] = {{"8080", "1f90", "8080"},
                          {"none", "0", "0"},
                          {"4294967295", "ffffffff", "-1"},
                          {"99999999999", "ffffffff", "-1"}};
    for (const Case& one : cases) {
        ASSERT_TRUE(Open(ProjectFileText().Set("PORT", one.port).Set("PORT_MCS", one.port)));
        EXPECT_EQ(project.settings.m_strPort, one.held);
        EXPECT_EQ(project.settings.m_strPortMcs, one.held);
        EXPECT_TRUE(project.settings.m_strUsbDevice.empty());
        ASSERT_TRUE(project.definitions.WriteCommSettings());
        EXPECT_EQ(Written("PORT"), one.written);
        EXPECT_EQ(Written("PORT_MCS"), one.written);
        EXPECT_EQ(Written("IP_ADDRESS"), "10.0.0.5");
    }
}

TEST_F(CommSettingsTest, UsbDeviceTakesThePortValue) {
    ASSERT_TRUE(Open(ProjectFileText().Set("DEVICE", "USB").Set("PORT", "KV-0012345")));
    EXPECT_EQ(project.settings.m_nCommDevice, COMM_USB);
    EXPECT_EQ(project.settings.m_strUsbDevice, "KV-0012345");
    EXPECT_EQ(project.settings.m_strPort, "2000");
    EXPECT_EQ(project.settings.m_strIpAddress, "10.0.0.5");
    ASSERT_TRUE(project.definitions.WriteCommSettings());
    EXPECT_EQ(Written("DEVICE"), "USB");
    EXPECT_EQ(Written("PORT"), "KV-0012345");
    EXPECT_EQ(Written("IP_ADDRESS"), "");
    EXPECT_EQ(project.settings.m_strIpAddress, "10.0.0.5");

    // Switched to Ethernet later, the held port is written as a number.
    project.settings.m_nCommDevice = COMM_ETHERNET;
    ASSERT_TRUE(project.definitions.WriteCommSettings());
    EXPECT_EQ(Written("PORT"), "8192");
    EXPECT_EQ(Written("IP_ADDRESS"), "10.0.0.5");
}

TEST_F(CommSettingsTest, DeviceNamesMatchExactly) {
    const std::pair<const char*, uint32_t> cases[] = {{"Ethernet", COMM_ETHERNET},
                                                      {"GP-IB", COMM_GPIB},
                                                      {"RS232C", COMM_RS232C},
                                                      {"ethernet", COMM_UNRECOGNISED},
                                                      {"", COMM_UNRECOGNISED}};
    for (const auto& [name, device] : cases) {
        ASSERT_TRUE(Open(ProjectFileText().Set("DEVICE", name)));
        EXPECT_EQ(project.settings.m_nCommDevice, device) << name;
    }
    // An unrecognised device has no name to write.
    EXPECT_FALSE(project.definitions.WriteCommSettings());
    EXPECT_EQ(Written("DEVICE"), "");
}

TEST_F(CommSettingsTest, TimeoutIsClampedWhenWritten) {
    const std::pair<const char*, const char*> cases[] = {
        {"5", "10"},   {"10", "10"},    {"65535", "65535"}, {"65536", "65535"},
        {"abc", "10"}, {"-5", "65535"}, {" 300 ms", "300"}};
    for (const auto& [timeout, written] : cases) {
        ASSERT_TRUE(Open(ProjectFileText().Set("TIMEOUT", timeout)));
        EXPECT_EQ(project.settings.m_strTimeout, timeout);
        ASSERT_TRUE(project.definitions.WriteCommSettings());
        EXPECT_EQ(Written("TIMEOUT"), written) << timeout;
        EXPECT_EQ(project.settings.m_strTimeout, written);
    }
}

TEST_F(CommSettingsTest, OnlyExactFalseTurnsTheServerOff) {
    const std::pair<const char*, uint32_t> cases[] = {
        {"FALSE", 0}, {"TRUE", 1}, {"false", 1}, {"true", 1}, {"", 1}};
    for (const auto& [useMcs, expected] : cases) {
        ASSERT_TRUE(Open(ProjectFileText().Set("USE_MCS", useMcs)));
        EXPECT_EQ(project.settings.m_bUseMcs, expected) << useMcs;
        ASSERT_TRUE(project.definitions.WriteCommSettings());
        EXPECT_EQ(Written("USE_MCS"), expected ? "TRUE" : "FALSE");
    }
}

TEST_F(CommSettingsTest, MissingKeyStopsReadAndWriteWithoutCreatingIt) {
    ASSERT_TRUE(Open(ProjectFileText()));
    project.settings.m_strIpAddress.clear();
    ASSERT_TRUE(
        project.Load(ProjectFileText().Remove("TIMEOUT").Set("IP_ADDRESS", "1.2.3.4").Bytes()));
    EXPECT_FALSE(project.definitions.ReadCommSettings());
    EXPECT_EQ(project.settings.m_strLastError, "Data definition line TIMEOUT not found.");
    EXPECT_EQ(project.settings.m_strIpAddress, "1.2.3.4"); // set before the miss
    EXPECT_EQ(project.settings.m_strTimeout, "30");        // kept from before

    project.settings.m_bUseMcs = 1;
    EXPECT_FALSE(project.definitions.WriteCommSettings());
    std::string value;
    EXPECT_FALSE(project.definitions.GetValue(value, "TIMEOUT"));
    EXPECT_EQ(Written("USE_MCS"), "FALSE"); // keys after the miss keep their values
}

} // namespace
} // namespace kelvane
