// SPDX-License-Identifier: MIT
#include "res/dialog_templates.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvane {
namespace {

// The Japanese twins differ only in their texts (and the about box's width,
// which brings its button in), so code that finds controls by id finds the
// same controls in both languages.
TEST(DialogTemplatesTest, EveryTemplateHasATwinWithTheSameControls) {
    const auto english = EnglishDialogTemplates();
    ASSERT_EQ(english.size(), JapaneseDialogTemplates().size());
    for (const DialogTemplate& dialog : english) {
        const DialogTemplate* twin = FindDialogTemplate(dialog.id, ResourceLanguage::Japanese);
        ASSERT_NE(twin, nullptr) << dialog.id;
        EXPECT_EQ(twin->contextHelpButton, dialog.contextHelpButton);
        ASSERT_EQ(twin->controls.size(), dialog.controls.size()) << dialog.id;
        for (size_t i = 0; i < dialog.controls.size(); ++i) {
            const DialogControl& a = dialog.controls[i];
            const DialogControl& b = twin->controls[i];
            EXPECT_EQ(a.id, b.id) << dialog.id << " control " << i;
            EXPECT_EQ(a.kind, b.kind) << dialog.id << " control " << i;
            EXPECT_EQ(a.style, b.style) << dialog.id << " control " << i;
            if (dialog.id != 101) {
                EXPECT_EQ(std::tie(a.x, a.y, a.w, a.h), std::tie(b.x, b.y, b.w, b.h))
                    << dialog.id << " control " << i;
            }
            // Every control lies inside its dialog; a combo box's height is
            // that of its open list.
            EXPECT_LE(b.x + b.w, twin->width) << dialog.id << " control " << i;
            if (b.kind != ControlKind::ComboBox) {
                EXPECT_LE(b.y + b.h, twin->height) << dialog.id << " control " << i;
            }
        }
    }
}

} // namespace
} // namespace kelvane
