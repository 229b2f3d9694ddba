// SPDX-License-Identifier: MIT
#include "usb_id_list.h"

#include "text_file.h"

#include <optional>

namespace tvx_usb {
namespace {

// More pairs than any list of ICE models needs.
constexpr size_t kMaxIds = 1024;

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// One to four hex digits.
std::optional<uint16_t> HexId(std::string_view text) {
    if (text.empty() || text.size() > 4)
        return std::nullopt;
    uint16_t value = 0;
    for (const char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = static_cast<uint16_t>(value * 16 + digit);
    }
    return value;
}

} // namespace

std::vector<UsbId> ParseUsbIds(std::string_view text) {
    std::vector<UsbId> ids;
    text = WithoutBom(text);
    std::string_view line;
    while (ids.size() < kMaxIds && NextLine(text, line)) {
        const std::string_view pair = Trimmed(line.substr(0, line.find('#')));
        const size_t colon = pair.find(':');
        if (colon == std::string_view::npos)
            continue;
        const auto vendor = HexId(pair.substr(0, colon));
        const auto product = HexId(pair.substr(colon + 1));
        if (vendor && product)
            ids.push_back({*vendor, *product});
    }
    return ids;
}

} // namespace tvx_usb
