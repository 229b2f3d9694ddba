// SPDX-License-Identifier: MIT
#pragma once

#include "platform/message_box.h"

#include <deque>
#include <string>
#include <vector>

namespace kelvane::test {

// Records every message box and answers from a script, IDOK once it runs out.
class MessageBoxRecorder : public MessageBoxService {
public:
    struct Shown {
        std::string text;
        std::string caption;
        unsigned style;
    };

    int MessageBox(const std::string& text, const std::string& caption, unsigned style) override {
        shown.push_back({text, caption, style});
        if (answers.empty())
            return IDOK;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<Shown> shown;
    std::deque<int> answers;
};

} // namespace kelvane::test
