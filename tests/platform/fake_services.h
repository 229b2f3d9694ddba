// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/file_dialog.h"
#include "platform/desktop/repaint.h"
#include "platform/registry/profile.h"

#include <map>
#include <string>
#include <vector>

namespace kelvane::test {

// Keeps the profile in memory.
class MemoryProfile : public Profile {
public:
    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view fallback) override {
        const auto found = values.find(Key(section, entry));
        return found == values.end() ? std::string(fallback) : found->second;
    }
    bool WriteProfileString(std::string_view section, std::string_view entry,
                            std::string_view value) override {
        values[Key(section, entry)] = value;
        return true;
    }
    static std::string Key(std::string_view section, std::string_view entry) {
        return std::string(section) + "/" + std::string(entry);
    }

    std::map<std::string, std::string> values;
};

// Records the requests and answers with `answer`, or cancels when it is empty.
class ScriptedFileDialogs : public FileDialogService {
public:
    bool ShowFileDialog(const FileDialogRequest& request, std::string& chosenPath) override {
        requests.push_back(request);
        if (answer.empty())
            return false;
        chosenPath = answer;
        return true;
    }

    std::string answer;
    std::vector<FileDialogRequest> requests;
};

class RepaintCounter : public RepaintService {
public:
    void Repaint() override { ++count; }
    int count = 0;
};

} // namespace kelvane::test
