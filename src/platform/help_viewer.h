#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvane {

struct ScreenPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

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

// What the context help asks of the desktop around it.
class HelpDesktop {
public:
    virtual ~HelpDesktop() = default;
    // Balanced pairs around the work of one help request.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // Leaves the What's This mode and ends mouse capture, open menus and
    // popups, so the help window gets the input that follows.
    virtual void CancelModes() = 0;
    virtual ScreenPoint CursorPosition() = 0;
    // The control ids of the windows holding the window under the mouse
    // cursor, nearest first, that window itself left out; 0 for a window
    // without an id. Empty when no window of the program is under the cursor.
    virtual std::vector<uint32_t> ParentControlIdsUnderCursor() = 0;
};

} // namespace kelvane
