// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/screen_point.h"

#include <cstdint>
#include <string>

namespace kelvane {

// A colour in the 0x00BBGGRR layout the help requests carry.
constexpr uint32_t HelpColor(uint8_t red, uint8_t green, uint8_t blue) {
    return uint32_t{red} | uint32_t{green} << 8 | uint32_t{blue} << 16;
}

// A small text popup: topic `topicId` of the text-popup file `popupFile`
// (a file inside the loaded help file), shown with its top left corner at
// `position` in screen coordinates.
struct HelpPopupRequest {
    std::string popupFile;
    uint32_t topicId = 0;
    ScreenPoint position;
    uint32_t textColor = 0;
    uint32_t backgroundColor = 0;
    // Pixels; -1 leaves the viewer's own margin.
    int marginLeft = -1;
    int marginTop = -1;
    int marginRight = -1;
    int marginBottom = -1;
};

// The help engine and its windows. Every Show call returns false when it
// showed nothing.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // Opens the compiled help file; false when it cannot be used. Called at
    // most once per run: a failure is final.
    virtual bool Load(const std::string& helpFile) = 0;
    // Shows the topic registered under the context id, in the resource
    // language; false when the help file has no such topic.
    virtual bool ShowTopic(uint32_t contextId) = 0;
    virtual bool ShowPopup(const HelpPopupRequest& request) = 0;
    virtual bool ShowContents() = 0;
    virtual bool ShowIndex() = 0;
    virtual bool ShowSearch() = 0;
};

} // namespace kelvane
