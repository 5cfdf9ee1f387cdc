#pragma once

// A prompt for tests: records every question it is asked and answers from a queue.

#include "core/util/prompt.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace karvex::test {

class ScriptedPrompt : public Prompt
{
public:
    std::vector<PromptMessage> Messages;
    std::vector<FileRequest> FileRequests;
    std::deque<PromptAnswer> Answers;
    std::deque<std::optional<std::string>> Files;
    std::deque<std::optional<std::int32_t>> Colors;
    std::deque<std::optional<std::string>> Inputs;

    PromptAnswer Ask(const PromptMessage& message) override
    {
        Messages.push_back(message);
        if (Answers.empty())
            return message.Default;
        const auto answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    std::optional<std::string> ChooseOpenFile(const FileRequest& request) override
    {
        return NextFile(request);
    }

    std::optional<std::string> ChooseSaveFile(const FileRequest& request) override
    {
        return NextFile(request);
    }

    std::optional<std::int32_t> ChooseColor(std::int32_t) override { return Pop(Colors); }

    std::optional<std::string> InputText(
        const std::string& text, const std::string& title, const std::string&) override
    {
        Messages.push_back(
            { text, title, PromptIcon::None, PromptButtons::OkCancel, PromptAnswer::Ok });
        return Pop(Inputs);
    }

private:
    std::optional<std::string> NextFile(const FileRequest& request)
    {
        FileRequests.push_back(request);
        return Pop(Files);
    }

    template <typename T> static T Pop(std::deque<T>& queue)
    {
        if (queue.empty())
            return T {};
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

} // namespace karvex::test
