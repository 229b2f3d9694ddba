#include "cli/console_message_boxes.h"

#include <cstdio>

namespace kelvane {

int ConsoleMessageBoxes::MessageBox(const std::string& text, const std::string& caption,
                                    unsigned style) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return (style & 0x0F) == MB_YESNO ? IDYES : IDOK;
}

} // namespace kelvane
