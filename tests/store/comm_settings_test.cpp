// SPDX-License-Identifier: MIT
#include "res/string_table.h"
#include "store/project_file_fixture.h"

#include <gtest/gtest.h>
#include <tuple>
#include <utility>

namespace kelvane {
namespace {

using test::ProjectFileText;

class CommSettingsTest : public ::testing::Test {
protected:
    // Reads the file and model groups, then the communication group alone.
    bool Open(const ProjectFileText& text) {
        EXPECT_TRUE(project.Load(text.Bytes()) && defs.ReadFileSettings(project.path) &&
                    defs.ReadModelSettings());
        settings.m_strLastError.clear();
        return defs.ReadCommSettings();
    }
    bool Write() { return defs.WriteCommSettings(); }
    std::string Written(const std::string& key) {
        std::string value;
        return defs.GetValue(value, key) ? value : "(none)";
    }

    test::ProjectFixture project;
    ProjectSettings& settings = project.settings;
    DefinitionFile& defs = project.definitions;
};

TEST_F(CommSettingsTest, VegaWithModelNameStartingH2IsTheFifthModel) {
    const std::string vega = "talvexVEGA";
    const std::pair<const char*, uint32_t> cases[] = {{"KV1H2", ICE_TALVEX_VEGA},
                                                      {"H2A7", ICE_TALVEX_VEGA_II}};
    for (const auto& [name, model] : cases) {
        ASSERT_TRUE(Open(ProjectFileText().Set("MODEL_NAME", name).Set("TARGET_NAME", vega)));
        EXPECT_EQ(settings.m_nIceModel, model);
        EXPECT_TRUE(Write() && Written("TARGET_NAME") == vega);
    }
}

TEST_F(CommSettingsTest, ValuesAreWrittenBackNormalised) {
    // Ports become signed 32-bit; the timeout is clamped; nullptr: the write fails.
    const std::tuple<std::string, std::string, const char*> cases[] = {
        {"PORT", "4294967295", "-1"},  {"PORT_MCS", "99999999999", "-1"},
        {"TIMEOUT", "9", "10"},        {"TIMEOUT", "65535", "65535"},
        {"TIMEOUT", "65536", "65535"}, {"USE_MCS", "FALSE", "FALSE"},
        {"USE_MCS", "false", "TRUE"},  {"DEVICE", "ethernet", nullptr}};
    for (const auto& [key, read, written] : cases) {
        ASSERT_TRUE(Open(ProjectFileText().Set(key, read)));
        EXPECT_EQ(Write(), written != nullptr) << key << "=" << read;
        EXPECT_EQ(Written(key), written != nullptr ? written : read) << key << "=" << read;
    }
}

TEST_F(CommSettingsTest, UsbDeviceTakesThePortValue) {
    ASSERT_TRUE(Open(ProjectFileText().Set("DEVICE", "USB").Set("PORT", "KV-0012345")));
    ASSERT_TRUE(Write());
    EXPECT_EQ(Written("PORT") + "|" + Written("IP_ADDRESS"), "KV-0012345|");
    settings.m_nCommDevice = COMM_ETHERNET; // then the held port and address are written
    ASSERT_TRUE(Write());
    EXPECT_EQ(Written("PORT") + "|" + Written("IP_ADDRESS"), "8192|10.0.0.5");
}

TEST_F(CommSettingsTest, UnknownModelOrMissingKeyStops) {
    // An unknown model name is named, and no reason an earlier step left
    // (the miss of the optional MACRO_FILE) stands in for it.
    SetResourceLanguage(ResourceLanguage::English);
    ASSERT_TRUE(
        project.Load(
            ProjectFileText().Remove("MACRO_FILE").Set("TARGET_NAME", "talvexVEGA II").Bytes()) &&
        defs.ReadFileSettings(project.path) && defs.ReadModelSettings());
    ASSERT_NE(settings.m_strLastError, "");
    EXPECT_FALSE(defs.ReadCommSettings());
    EXPECT_EQ(settings.m_strLastError, "TARGET_NAME talvexVEGA II is not a known ICE model.");
    // A missing key is not created.
    EXPECT_FALSE(Open(ProjectFileText().Remove("TIMEOUT")) || Write());
    EXPECT_EQ(Written("TIMEOUT"), "(none)");
}

} // namespace
} // namespace kelvane
