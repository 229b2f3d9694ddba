// SPDX-License-Identifier: MIT
#include "convert/conversion_commands.h"

#include "convert/kelvane_module.h"
#include "res/string_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace kelvane {
namespace {

TEST(ConversionCommandsTest, EveryRowIsFoundByItsIdDirectionAndModels) {
    ASSERT_EQ(ConversionCommands().size(), size_t(KELVANE_DIRECTION_COUNT));
    for (int32_t direction = 0; direction < KELVANE_DIRECTION_COUNT; ++direction)
        EXPECT_NE(FindConversionDirection(direction), nullptr) << direction;
    for (const ConversionCommand& command : ConversionCommands()) {
        EXPECT_EQ(FindConversionDirection(command.direction), &command);
        EXPECT_EQ(FindConversionBetween(command.from, command.to), &command);
        EXPECT_EQ(FindConversionCommand(command.commandId), &command);
    }
    EXPECT_EQ(FindConversionDirection(10), nullptr);
    EXPECT_EQ(FindConversionDirection(-1), nullptr);
    EXPECT_EQ(FindConversionBetween(ICE_TALVEX_NOVA, ICE_TALVEX_VEGA), nullptr);
    EXPECT_EQ(FindConversionCommand(2006), nullptr);

    SetResourceLanguage(ResourceLanguage::Japanese);
    EXPECT_EQ(ConversionMenuText(*FindConversionDirection(9)),
              "VEGA II\xE2\x86\x92VEGA(&9)\tShift+Ctrl+9");
    SetResourceLanguage(ResourceLanguage::English);
    EXPECT_EQ(ConversionMenuText(*FindConversionDirection(9)), "VEGA II -> VEGA(&9)\tShift+Ctrl+9");
}

TEST(ConversionCommandsTest, EnabledOnlyForTheProjectsModelAndWhatTheModuleSupports) {
    const std::vector<uint32_t> all(10, 1), withoutInfo = {1, 1, 0, 0, 0, 0, 0, 0, 0, 0};
    auto enabled = [](uint32_t model, const std::vector<uint32_t>& supported, bool loaded = true,
                      char module = 'm') {
        ProjectSettings settings;
        settings.m_bProjectLoaded = loaded;
        settings.m_nIceModel = model;
        std::copy(supported.begin(), supported.end(), settings.m_abConvertSupported);
        settings.m_szConvertModule[0] = module;
        std::vector<int32_t> directions;
        for (const ConversionCommand& command : ConversionCommands())
            if (IsConversionEnabled(command, settings))
                directions.push_back(command.direction);
        return directions;
    };
    using Directions = std::vector<int32_t>;
    // Every model with a module that serves all ten: the directions from it.
    EXPECT_EQ(enabled(ICE_TALVEX_NOVA, all), (Directions{0, 3}));
    EXPECT_EQ(enabled(ICE_TALVEX_BANTAM, all), (Directions{1, 4}));
    EXPECT_EQ(enabled(ICE_TALVEX_MAX, all), (Directions{2, 5, 6}));
    EXPECT_EQ(enabled(ICE_TALVEX_VEGA, all), (Directions{7, 8}));
    EXPECT_EQ(enabled(ICE_TALVEX_VEGA_II, all), (Directions{9}));
    EXPECT_EQ(enabled(ICE_TALVEX_BANTAM, withoutInfo), (Directions{1}));
    EXPECT_TRUE(enabled(ICE_TALVEX_MAX, withoutInfo).empty());
    EXPECT_TRUE(enabled(ICE_TALVEX_NOVA, all, false).empty());
    EXPECT_TRUE(enabled(ICE_TALVEX_NOVA, all, true, '\0').empty());
}

} // namespace
} // namespace kelvane
