// SPDX-License-Identifier: MIT
#pragma once

#include "app/app_with_fakes.h"
#include "store/fixed_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace kelvane::test {

// Converts a talvexNOVA project (MPU file /opt/mpv/KV4021) with `module`,
// answering Yes: the conversion must fail with `message` ("caption|style|
// text") as the one box after the question, the MPU file name must be as
// before, and with `wholeBlockKept` every byte of the block too.
inline void ExpectConversionRefused(const std::string& module, const std::string& message,
                                    bool wholeBlockKept) {
    AppWithFakes<> f;
    ProjectSettings& settings = f.app.Settings();
    settings.m_nIceModel = ICE_TALVEX_NOVA;
    settings.m_nCommDevice = COMM_ETHERNET;
    settings.m_wPurgeMask = 0x0001;
    CopyToField(settings.m_szMpdFile, "/opt/mpv/KV4021");
    CopyToField(settings.m_szConvertModule, module);
    const ConversionBlock before = settings.Block();
    f.messageBoxes.answers = {IDYES};
    EXPECT_FALSE(f.app.ConvertProject(0));
    ASSERT_EQ(f.messageBoxes.shown.size(), 2u);
    const auto& box = f.messageBoxes.shown.back();
    EXPECT_EQ(box.caption + "|" + std::to_string(box.style) + "|" + box.text, message);
    EXPECT_EQ(FieldText(settings.m_szMpdFile), "/opt/mpv/KV4021");
    EXPECT_EQ(settings.m_pszConvertError, 0u);
    if (wholeBlockKept) {
        EXPECT_EQ(std::memcmp(&settings.Block(), &before, sizeof before), 0);
        EXPECT_EQ(f.repaint.count, 0);
    }
}

} // namespace kelvane::test
