#pragma once

#include "platform/dialogs.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

// A dialog service that answers from a script and records every question,
// so that no window test ever waits on a real modal box. Toolkit-free: the
// Qt and the Win32 window tests share it.
class ScriptedDialogs : public platform::Dialogs {
public:
    struct Message {
        std::string text;    // CP932
        std::string caption; // CP932
        unsigned flags;
    };

    std::vector<Message> messages;
    std::deque<int> messageAnswers; // kIdOk when empty
    std::vector<std::string> inputCaptions;
    std::vector<std::string> inputPrompts;
    std::vector<std::string> inputDefaults;
    std::deque<std::string> inputAnswers; // the default text when empty
    std::vector<platform::OpenFileRequest> openRequests;
    std::deque<std::optional<platform::NamedPath>> openAnswers; // cancel when empty

    int messageBox(const std::string &text, const std::string &caption, unsigned flags) override
    {
        messages.push_back({text, caption, flags});
        return next(messageAnswers, platform::msgbox::kIdOk);
    }

    std::string inputBox(const std::string &caption, const std::string &prompt, const std::string &defaultText) override
    {
        inputCaptions.push_back(caption);
        inputPrompts.push_back(prompt);
        inputDefaults.push_back(defaultText);
        return next(inputAnswers, defaultText);
    }

    std::optional<platform::NamedPath> openFileName(const platform::OpenFileRequest &request) override
    {
        openRequests.push_back(request);
        return next(openAnswers, std::optional<platform::NamedPath>());
    }

private:
    template <typename T> static T next(std::deque<T> &answers, T whenEmpty)
    {
        if (answers.empty())
            return whenEmpty;
        T answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
};
