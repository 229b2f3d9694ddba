// SPDX-License-Identifier: MIT
#include "res/failure_reason.h"

#include "platform/files/file_reader.h"
#include "platform/text/code_page.h"
#include "res/string_ids.h"
#include "res/string_table.h"

#include <cstring>

namespace kelvane {

std::string FailureReason(int error) {
    if (error == FileReader::kNotRegularFile)
        return LoadResourceString(IDS_NOT_REGULAR_FILE);
    // The system's text is in the locale's charset.
    return LocaleToProject(std::strerror(error));
}

std::string WithReasonText(std::string_view message, std::string_view reason,
                           std::string_view path) {
    std::string text(message);
    // A message that ends a sentence is followed by a space, any other by a colon.
    const std::string fullStop = Utf8ToProject("\xE3\x80\x82"); // Japanese
    const bool sentence = text.ends_with('.') || text.ends_with(':') || text.ends_with(fullStop);
    if (!text.empty())
        text += sentence ? " " : ": ";
    text.append(reason).append(": ").append(path);
    return text;
}

std::string WithFailureReason(std::string_view message, int error, std::string_view path) {
    return WithReasonText(message, FailureReason(error), path);
}

} // namespace kelvane
