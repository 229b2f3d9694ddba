#include "convert/conversion_commands.h"

#include "res/string_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace kelvane {
namespace {

std::vector<uint32_t> EnabledCommands(const ProjectSettings& settings) {
    std::vector<uint32_t> enabled;
    for (const ConversionCommand& command : ConversionCommands())
        if (IsConversionEnabled(command, settings))
            enabled.push_back(command.commandId);
    return enabled;
}

ProjectSettings LoadedProject(uint32_t model, const std::vector<uint32_t>& supported) {
    ProjectSettings settings;
    settings.m_bProjectLoaded = true;
    settings.m_nIceModel = model;
    std::copy(supported.begin(), supported.end(), settings.m_abConvertSupported);
    settings.m_szConvertModule[0] = 'm';
    return settings;
}

const std::vector<uint32_t> kAllDirections(10, 1);
const std::vector<uint32_t> kWithoutInfo = {1, 1, 0, 0, 0, 0, 0, 0, 0, 0};

TEST(ConversionCommandsTest, RowsInMenuOrderWithTheirDirectionsAndModels) {
    struct Row {
        uint32_t id;
        int32_t direction;
        IceModel from, to;
        char key;
    };
    const Row expected[] = {
        {2000, 0, ICE_TALVEX_NOVA, ICE_TALVEX_BANTAM, '0'},
        {2001, 3, ICE_TALVEX_NOVA, ICE_TALVEX_MAX, '1'},
        {2002, 1, ICE_TALVEX_BANTAM, ICE_TALVEX_NOVA, '2'},
        {2003, 4, ICE_TALVEX_BANTAM, ICE_TALVEX_MAX, '3'},
        {2004, 2, ICE_TALVEX_MAX, ICE_TALVEX_NOVA, '4'},
        {2005, 5, ICE_TALVEX_MAX, ICE_TALVEX_BANTAM, '5'},
        {32781, 6, ICE_TALVEX_MAX, ICE_TALVEX_VEGA, '6'},
        {32782, 7, ICE_TALVEX_VEGA, ICE_TALVEX_MAX, '7'},
        {32784, 8, ICE_TALVEX_VEGA, ICE_TALVEX_VEGA_II, '8'},
        {32785, 9, ICE_TALVEX_VEGA_II, ICE_TALVEX_VEGA, '9'},
    };
    const auto commands = ConversionCommands();
    ASSERT_EQ(commands.size(), std::size(expected));
    for (size_t i = 0; i < commands.size(); ++i) {
        EXPECT_EQ(commands[i].commandId, expected[i].id) << i;
        EXPECT_EQ(commands[i].direction, expected[i].direction) << i;
        EXPECT_EQ(commands[i].from, expected[i].from) << i;
        EXPECT_EQ(commands[i].to, expected[i].to) << i;
        EXPECT_EQ(commands[i].acceleratorKey, expected[i].key) << i;
        EXPECT_EQ(FindConversionDirection(expected[i].direction), &commands[i]);
        EXPECT_EQ(FindConversionCommand(expected[i].id), &commands[i]);
        EXPECT_EQ(FindConversionBetween(expected[i].from, expected[i].to), &commands[i]);
    }
    EXPECT_EQ(FindConversionDirection(10), nullptr);
    EXPECT_EQ(FindConversionDirection(-1), nullptr);
    EXPECT_EQ(FindConversionBetween(ICE_TALVEX_NOVA, ICE_TALVEX_VEGA), nullptr);
    EXPECT_EQ(FindConversionCommand(2006), nullptr);

    SetResourceLanguage(ResourceLanguage::English);
    EXPECT_EQ(ConversionMenuText(commands[8]), "VEGA -> VEGA II(&8)\tShift+Ctrl+8");
    SetResourceLanguage(ResourceLanguage::Japanese);
    EXPECT_EQ(ConversionMenuText(commands[0]), "NOVA\xE2\x86\x92"
                                               "BANTAM(&0)\tShift+Ctrl+0");
    EXPECT_EQ(ConversionMenuText(commands[9]), "VEGA II\xE2\x86\x92VEGA(&9)\tShift+Ctrl+9");
    SetResourceLanguage(ResourceLanguage::English);
}

TEST(ConversionCommandsTest, EnabledOnlyForTheProjectsModelAndWhatTheModuleSupports) {
    EXPECT_TRUE(EnabledCommands(ProjectSettings{}).empty());

    ProjectSettings notLoaded = LoadedProject(ICE_TALVEX_NOVA, kAllDirections);
    notLoaded.m_bProjectLoaded = false;
    EXPECT_TRUE(EnabledCommands(notLoaded).empty());

    EXPECT_EQ(EnabledCommands(LoadedProject(ICE_TALVEX_NOVA, kAllDirections)),
              (std::vector<uint32_t>{2000, 2001}));
    EXPECT_EQ(EnabledCommands(LoadedProject(ICE_TALVEX_MAX, kAllDirections)),
              (std::vector<uint32_t>{2004, 2005, 32781}));
    EXPECT_EQ(EnabledCommands(LoadedProject(ICE_TALVEX_VEGA_II, kAllDirections)),
              (std::vector<uint32_t>{32785}));
    // A module without DLL_Info_Get serves directions 0 and 1 only.
    EXPECT_TRUE(EnabledCommands(LoadedProject(ICE_TALVEX_MAX, kWithoutInfo)).empty());
    EXPECT_EQ(EnabledCommands(LoadedProject(ICE_TALVEX_BANTAM, kWithoutInfo)),
              (std::vector<uint32_t>{2002}));
    EXPECT_EQ(EnabledCommands(LoadedProject(ICE_TALVEX_NOVA, kWithoutInfo)),
              (std::vector<uint32_t>{2000}));

    ProjectSettings noModule = LoadedProject(ICE_TALVEX_NOVA, kAllDirections);
    noModule.m_szConvertModule[0] = '\0';
    EXPECT_TRUE(EnabledCommands(noModule).empty());
}

} // namespace
} // namespace kelvane
