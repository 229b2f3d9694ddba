// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

namespace kelvane {

// A picture of src/res/icons drawn at one size when the program is built
// (kelvane_icon_rasterizer), so that a start parses and draws no SVG.
struct IconPicture {
    const char* name; // the SVG file's name without ".svg"
    int size;         // width and height in pixels
    // size * size premultiplied ARGB values (QImage::Format_ARGB32_Premultiplied),
    // row by row from the top.
    const uint32_t* pixels;
};

extern const IconPicture kIconPictures[];
extern const size_t kIconPictureCount;

} // namespace kelvane
