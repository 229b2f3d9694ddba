// SPDX-License-Identifier: MIT
#pragma once

#include "store/project_settings.h"

#include <string>
#include <vector>

namespace kelvane {

struct TextColour {
    uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const TextColour&) const = default;
};

inline constexpr TextColour kTextBlack{0, 0, 0};
inline constexpr TextColour kSyncBlue{0, 0, 255};
inline constexpr TextColour kNotSyncGreen{0, 255, 0};

// One text of the summary, drawn with its top-left corner at (x, y) pixels.
struct SummaryText {
    int x = 0;
    int y = 0;
    std::string text;
    TextColour colour = kTextBlack;
};

// What the summary view draws for the settings, in drawing order; nothing
// while no project is loaded.
std::vector<SummaryText> SummaryDrawing(const ProjectSettings& settings);

// The drawing as text lines, top to bottom, texts of a row joined from left
// to right: the headless front prints this.
std::vector<std::string> SummaryLines(const std::vector<SummaryText>& drawing);

} // namespace kelvane
