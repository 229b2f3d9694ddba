// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/message_box.h"

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

    // Answers from `answers` too, as a button index; the default button once
    // it runs out.
    size_t AskQuestion(const std::string& text, const std::string& caption, unsigned style,
                       const std::vector<std::string>& buttons, size_t defaultButton,
                       size_t escapeButton) override {
        shown.push_back({text, caption, style});
        questions.push_back({buttons, defaultButton, escapeButton});
        if (answers.empty())
            return defaultButton;
        const int answer = answers.front();
        answers.pop_front();
        return static_cast<size_t>(answer);
    }

    struct Question {
        std::vector<std::string> buttons;
        size_t defaultButton, escapeButton;
    };

    std::vector<Shown> shown;
    std::vector<Question> questions;
    std::deque<int> answers;
};

} // namespace kelvane::test
