// SPDX-License-Identifier: MIT
#include "cli/batch_report.h"

#include "platform/text/code_page.h"

#include <cstdio>

namespace kelvane {
namespace {

std::string JsonString(const std::string& utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

} // namespace

std::string BatchReportJson(const std::vector<BatchRecord>& records) {
    std::string json = "[\n";
    for (size_t i = 0; i < records.size(); ++i) {
        const BatchRecord& record = records[i];
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.3f", record.seconds);
        json += "  {\"path\": " + JsonString(ProjectToShownUtf8(record.path)) +
                ", \"result\": " + (record.succeeded ? "\"succeeded\"" : "\"failed\"") +
                ", \"target\": " + JsonString(ProjectToShownUtf8(record.target)) +
                ", \"seconds\": " + seconds + ", \"messages\": [";
        for (size_t m = 0; m < record.messages.size(); ++m)
            json += (m == 0 ? "" : ", ") +
                    JsonString(ProjectToShownUtf8(LocaleToProject(record.messages[m])));
        json += i + 1 < records.size() ? "]},\n" : "]}\n";
    }
    return json + "]\n";
}

} // namespace kelvane
