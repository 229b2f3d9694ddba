// SPDX-License-Identifier: MIT
#include "cli/batch_end_mark.h"

#include <algorithm>
#include <charconv>

namespace kelvane {
namespace {

constexpr char kRecordSeparator = '\x1e';
constexpr char kUnitSeparator = '\x1f';
constexpr int kStatusOfABadMark = 1;

} // namespace

std::string ProjectEndMark(std::string_view token, int status,
                           const std::vector<std::string>& files) {
    std::string mark(1, kRecordSeparator);
    mark.append(token).append(" ").append(std::to_string(status));
    for (const std::string& file : files)
        mark.append(1, kUnitSeparator).append(file);
    mark.append(1, kRecordSeparator).append("\n");
    return mark;
}

std::optional<ProjectEnd> FindProjectEnd(std::string_view output, std::string_view token) {
    const std::string start = std::string(1, kRecordSeparator) + std::string(token) + " ";
    const size_t at = output.find(start);
    if (at == std::string_view::npos)
        return std::nullopt;
    const size_t close = output.find(std::string_view("\x1e\n"), at + start.size());
    if (close == std::string_view::npos)
        return std::nullopt;
    std::string_view body = output.substr(at + start.size(), close - at - start.size());
    ProjectEnd end;
    end.at = at;
    end.length = close + 2 - at;
    const size_t statusEnd = std::min(body.find(kUnitSeparator), body.size());
    const auto [rest, error] = std::from_chars(body.data(), body.data() + statusEnd, end.status);
    if (error != std::errc() || rest != body.data() + statusEnd)
        end.status = kStatusOfABadMark;
    body.remove_prefix(statusEnd);
    while (!body.empty()) {
        body.remove_prefix(1);
        const size_t next = std::min(body.find(kUnitSeparator), body.size());
        end.files.emplace_back(body.substr(0, next));
        body.remove_prefix(next);
    }
    return end;
}

} // namespace kelvane
