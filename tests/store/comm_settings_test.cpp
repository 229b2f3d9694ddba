#include "res/string_table.h"
#include "store/project_file_fixture.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kelvane {
namespace {

using test::ProjectFileText;

class CommSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { SetResourceLanguage(ResourceLanguage::English); }

    // Reads the file and model groups, then the communication group alone.
    bool Open(const ProjectFileText& text) {
        EXPECT_TRUE(project.Load(text.Bytes()) &&
                    project.definitions.ReadFileSettings(project.path) &&
                    project.definitions.ReadModelSettings());
        project.settings.m_strLastError.clear();
        return project.definitions.ReadCommSettings();
    }
    bool Write() { return project.definitions.WriteCommSettings(); }
    std::string Written(const std::string& key) {
        std::string value;
        return project.definitions.GetValue(value, key) ? value : "(none)";
    }

    test::ProjectFixture project;
    ProjectSettings& settings = project.settings;
};

TEST_F(CommSettingsTest, ModelComesFromTargetAndModelName) {
    // kIceModelCount: no model, which fails with no message of its own.
    const std::tuple<std::string, const char*, uint32_t> cases[] = {
        {"talvexBANTAM", "KV1", ICE_TALVEX_BANTAM}, {"talvexNOVA", "KV1", ICE_TALVEX_NOVA},
        {"talvexMAX", "KV1", ICE_TALVEX_MAX},       {"talvexVEGA", "KV1H2", ICE_TALVEX_VEGA},
        {"talvexVEGA", "H2A7", ICE_TALVEX_VEGA_II}, {"talvexVEGA II", "KV1", kIceModelCount},
        {"talvexmax", "KV1", kIceModelCount}};
    for (const auto& [target, modelName, model] : cases) {
        SCOPED_TRACE(target);
        const bool known = model < kIceModelCount;
        ProjectFileText text;
        EXPECT_EQ(Open(text.Set("TARGET_NAME", target).Set("MODEL_NAME", modelName)), known);
        EXPECT_EQ(settings.m_strLastError, "");
        if (known) {
            EXPECT_EQ(settings.m_nIceModel, model);
            EXPECT_TRUE(Write());
            EXPECT_EQ(Written("TARGET_NAME"), model == ICE_TALVEX_VEGA_II ? "talvexVEGA" : target);
        }
    }
}

TEST_F(CommSettingsTest, ValuesAreWrittenBackNormalised) {
    // Ports are held in hexadecimal and written as 32-bit signed decimals; the
    // timeout is clamped; only an exact FALSE turns the server off; a device
    // name must match exactly (nullptr: the write fails).
    const std::tuple<std::string, std::string, const char*> cases[] = {
        {"PORT", "8080", "8080"},       {"PORT", "none", "0"},
        {"PORT", "4294967295", "-1"},   {"PORT_MCS", "99999999999", "-1"},
        {"TIMEOUT", "9", "10"},         {"TIMEOUT", "65535", "65535"},
        {"TIMEOUT", "65536", "65535"},  {"TIMEOUT", "-5", "65535"},
        {"USE_MCS", "FALSE", "FALSE"},  {"USE_MCS", "false", "TRUE"},
        {"DEVICE", "GP-IB", "GP-IB"},   {"DEVICE", "RS232C", "RS232C"},
        {"DEVICE", "ethernet", nullptr}};
    for (const auto& [key, read, written] : cases) {
        ASSERT_TRUE(Open(ProjectFileText().Set(key, read)));
        EXPECT_EQ(Write(), written != nullptr) << key << "=" << read;
        EXPECT_EQ(Written(key), written != nullptr ? written : read) << key << "=" << read;
        if (key == "TIMEOUT") { // the clamped value is kept
            EXPECT_EQ(settings.m_strTimeout, written);
        }
    }
    EXPECT_EQ(settings.m_strPort, "1f90");
    EXPECT_EQ(settings.m_strPortMcs, "1b59");
}

TEST_F(CommSettingsTest, UsbDeviceTakesThePortValue) {
    ASSERT_TRUE(Open(ProjectFileText().Set("DEVICE", "USB").Set("PORT", "KV-0012345")));
    EXPECT_EQ(settings.m_strUsbDevice, "KV-0012345");
    EXPECT_EQ(settings.m_strPort, "2000");
    ASSERT_TRUE(Write());
    EXPECT_EQ(Written("PORT") + "|" + Written("IP_ADDRESS"), "KV-0012345|");
    // Switched to Ethernet later, the held port and address are written.
    settings.m_nCommDevice = COMM_ETHERNET;
    ASSERT_TRUE(Write());
    EXPECT_EQ(Written("PORT") + "|" + Written("IP_ADDRESS"), "8192|10.0.0.5");
}

TEST_F(CommSettingsTest, MissingKeyStopsReadAndWriteWithoutCreatingIt) {
    ASSERT_TRUE(Open(ProjectFileText()));
    EXPECT_FALSE(Open(ProjectFileText().Remove("TIMEOUT").Set("IP_ADDRESS", "1.2.3.4")));
    EXPECT_EQ(settings.m_strLastError, "Data definition line TIMEOUT not found.");
    EXPECT_EQ(settings.m_strIpAddress, "1.2.3.4"); // read before the miss
    EXPECT_EQ(settings.m_strTimeout, "30");        // kept from before
    settings.m_bUseMcs = 1;
    EXPECT_FALSE(Write());
    EXPECT_EQ(Written("TIMEOUT"), "(none)");
    EXPECT_EQ(Written("USE_MCS"), "FALSE"); // keys after the miss keep their values
}

} // namespace
} // namespace kelvane
