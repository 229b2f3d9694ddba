#include "convert/kelvane_module.h"
#include "platform/dynamic_library.h"
#include "platform/low_address_buffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace kelvane {
namespace {

struct SampleModule {
    SampleModule() {
        EXPECT_TRUE(library.Load(std::string(KELVANE_PROGRAM_DIR) + "/kelvane_sample_converter.so"))
            << library.Error();
        info = reinterpret_cast<KelvaneInfoGetFunction>(library.Symbol(KELVANE_INFO_GET_NAME));
        convert = reinterpret_cast<KelvaneConvertFunction>(library.Symbol(KELVANE_CONVERT_NAME));
    }

    // Calls the module on a fresh block; the error text is kept in `error`.
    int32_t Convert(int32_t direction, uint32_t model, const char* name,
                    KelvaneConversionBlock& block) {
        LowAddressBuffer text(KELVANE_CONVERT_ERROR_SIZE);
        EXPECT_TRUE(text.IsValid());
        block.m_nIceModel = model;
        std::strncpy(block.m_szMpdFile, name, sizeof block.m_szMpdFile - 1);
        block.m_pszConvertError = text.Address();
        const int32_t result = convert(direction, &block);
        error.assign(text.Data(), strnlen(text.Data(), text.Size()));
        block.m_pszConvertError = 0;
        return result;
    }

    DynamicLibrary library;
    KelvaneInfoGetFunction info = nullptr;
    KelvaneConvertFunction convert = nullptr;
    std::string error;
};

TEST(SampleConverterTest, RenamesForTheTargetModelAndPurgesTheSourceModelsItems) {
    SampleModule module;
    ASSERT_NE(module.info, nullptr);
    ASSERT_NE(module.convert, nullptr);
    uint32_t mask = 0;
    module.info(&mask);
    EXPECT_EQ(mask, 0x3FFu);

    struct Case {
        int32_t direction;
        uint32_t from;
        const char* before;
        const char* after;
    };
    for (const Case& c : {Case{0, 1, "KV4021", "KB4021"}, Case{1, 0, "KB0001", "KV0001"},
                          Case{2, 2, "KM1234", "KV1234"}, Case{3, 1, "KV4021", "KM4021"},
                          Case{4, 0, "KB9999", "KM9999"}, Case{5, 2, "KM4021", "KB4021"},
                          Case{6, 2, "KM4021", "KG4021"}, Case{7, 3, "KG4021", "KM4021"},
                          Case{8, 3, "KG4021", "KH4021"}, Case{9, 4, "KH4021", "KG4021"}}) {
        KelvaneConversionBlock block{};
        block.m_nMaxPage = 2;
        block.m_anMpCount[2][5] = 9;
        ASSERT_EQ(module.Convert(c.direction, c.from, c.before, block), 0) << module.error;
        EXPECT_STREQ(block.m_szMpdFile, c.after) << c.direction;
        EXPECT_EQ(block.m_wPurgeMask, 1u << c.from) << c.direction;
        EXPECT_EQ(block.m_nMaxPage, 2) << c.direction;
        EXPECT_EQ(block.m_anMpCount[2][5], 9);
    }
}

TEST(SampleConverterTest, RefusesWhatItDoesNotKnowWithAReason) {
    SampleModule module;
    ASSERT_NE(module.convert, nullptr);
    for (const char* name : {"KV402", "KV40211", "KM4021", "KV40a1", "kv4021", ""}) {
        KelvaneConversionBlock block{};
        block.m_wPurgeMask = 0xFFFF;
        EXPECT_NE(module.Convert(3, 1, name, block), 0) << name;
        EXPECT_NE(module.error.find("does not know the MPU information file"), std::string::npos)
            << module.error;
        EXPECT_STREQ(block.m_szMpdFile, name);
        EXPECT_EQ(block.m_wPurgeMask, 0u);
    }
    KelvaneConversionBlock block{};
    EXPECT_NE(module.Convert(3, 2, "KV4021", block), 0);
    EXPECT_EQ(module.error,
              "This direction converts talvexNOVA projects; the project is a talvexMAX project.");
    EXPECT_NE(module.Convert(10, 1, "KV4021", block), 0);
    EXPECT_FALSE(module.error.empty());
}

TEST(SampleConverterTest, BantamKeepsEightPagesAndNoCountIsLost) {
    SampleModule module;
    ASSERT_NE(module.convert, nullptr);
    KelvaneConversionBlock empty{};
    empty.m_nMaxPage = 11;
    empty.m_anMpCount[7][15] = 4;
    ASSERT_EQ(module.Convert(0, 1, "KV4021", empty), 0) << module.error;
    EXPECT_EQ(empty.m_nMaxPage, 7);
    EXPECT_EQ(empty.m_anMpCount[7][15], 4);

    KelvaneConversionBlock used{};
    used.m_nMaxPage = 11;
    used.m_anMpCount[11][0] = 1;
    EXPECT_NE(module.Convert(5, 2, "KM4021", used), 0);
    EXPECT_NE(module.error.find("page 11"), std::string::npos) << module.error;
    EXPECT_EQ(used.m_nMaxPage, 11);
    EXPECT_STREQ(used.m_szMpdFile, "KM4021");

    // Counts beyond MAXPAGE are not part of the project.
    KelvaneConversionBlock beyond{};
    beyond.m_nMaxPage = 8;
    beyond.m_anMpCount[9][0] = 1;
    EXPECT_EQ(module.Convert(5, 2, "KM4021", beyond), 0) << module.error;
    EXPECT_EQ(beyond.m_nMaxPage, 7);
}

} // namespace
} // namespace kelvane
