// SPDX-License-Identifier: MIT
#include "convert/conversion_commands.h"
#include "convert/kelvane_module.h"
#include "platform/process/dynamic_library.h"
#include "platform/process/low_address_buffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

namespace kelvane {
namespace {

const char* const kPrefixes[] = {"KB", "KV", "KM", "KG", "KH"}; // by model number

class SampleConverterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library.Load(std::string(KELVANE_PROGRAM_DIR) +
                                 "/kelvane_sample_converter" KELVANE_MODULE_SUFFIX))
            << library.Error();
        convert = reinterpret_cast<KelvaneConvertFunction>(library.Symbol(KELVANE_CONVERT_NAME));
        ASSERT_NE(convert, nullptr);
    }

    // Converts `block` as the program does, the error text left in `error`.
    int32_t Convert(int32_t direction, uint32_t model, const std::string& name) {
        LowAddressBuffer text(KELVANE_CONVERT_ERROR_SIZE);
        EXPECT_TRUE(text.IsValid());
        block.m_nIceModel = model;
        std::strncpy(block.m_szMpdFile, name.c_str(), sizeof block.m_szMpdFile - 1);
        block.m_pszConvertError = text.Address();
        const int32_t result = convert(direction, &block);
        error.assign(text.Data(), strnlen(text.Data(), text.Size()));
        block.m_pszConvertError = 0;
        return result;
    }

    DynamicLibrary library;
    KelvaneConvertFunction convert = nullptr;
    KelvaneConversionBlock block{};
    std::string error;
};

// Every direction of the program's table: the target model's prefix, the
// page table kept, the source model's FSR items purged.
TEST_F(SampleConverterTest, RenamesForTheTargetModelAndPurgesTheSourceModelsItems) {
    const auto info =
        reinterpret_cast<KelvaneInfoGetFunction>(library.Symbol(KELVANE_INFO_GET_NAME));
    ASSERT_NE(info, nullptr);
    uint32_t mask = 0;
    info(&mask);
    EXPECT_EQ(mask, 0x3FFu);
    for (const ConversionCommand& command : ConversionCommands()) {
        block = {};
        block.m_nMaxPage = 2;
        block.m_anMpCount[2][5] = 9;
        const std::string name = kPrefixes[command.from] + std::string("4021");
        ASSERT_EQ(Convert(command.direction, command.from, name), 0) << error;
        EXPECT_EQ(block.m_szMpdFile, kPrefixes[command.to] + name.substr(2));
        EXPECT_EQ(block.m_wPurgeMask, 1u << command.from) << command.direction;
        EXPECT_EQ(block.m_nMaxPage, 2) << command.direction;
        EXPECT_EQ(block.m_anMpCount[2][5], 9) << command.direction;
    }
    // talvexBANTAM has pages 0 to 7: MAXPAGE is lowered unless a page beyond
    // holds counts, which would be lost; counts beyond MAXPAGE are not the project's.
    for (const auto& [maxPage, usedPage, converted] :
         {std::tuple{8, 7, true}, std::tuple{8, 9, true}, std::tuple{11, 11, false}}) {
        block = {};
        block.m_nMaxPage = maxPage;
        block.m_anMpCount[usedPage][15] = 4;
        EXPECT_EQ(Convert(5, ICE_TALVEX_MAX, "KM4021") == 0, converted) << error;
        EXPECT_EQ(block.m_nMaxPage, converted ? 7 : maxPage);
        EXPECT_EQ(block.m_anMpCount[usedPage][15], 4);
        EXPECT_STREQ(block.m_szMpdFile, converted ? "KB4021" : "KM4021");
        EXPECT_EQ(error.find("page 11") != std::string::npos, !converted) << error;
    }
}

TEST_F(SampleConverterTest, RefusesWhatItDoesNotKnowWithAReason) {
    for (const char* name : {"KV402", "KV40211", "KM4021", "KV40a1"}) {
        block = {};
        block.m_wPurgeMask = 0xFFFF;
        EXPECT_NE(Convert(3, ICE_TALVEX_NOVA, name), 0) << name;
        EXPECT_NE(error.find("does not know the MPU information file"), std::string::npos) << error;
        EXPECT_STREQ(block.m_szMpdFile, name);
        EXPECT_EQ(block.m_wPurgeMask, 0u);
    }
    EXPECT_NE(Convert(3, ICE_TALVEX_MAX, "KV4021"), 0);
    EXPECT_EQ(error,
              "This direction converts talvexNOVA projects; the project is a talvexMAX project.");
}

} // namespace
} // namespace kelvane
