#pragma once

// The one way core and window code ask the user something: message boxes, questions,
// file and colour dialogs. The editor plugs in Qt dialogs; tests plug in a script.

#include <cstdint>
#include <optional>
#include <string>

namespace karvex {

enum class PromptIcon { None, Critical, Question, Exclamation, Information };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

struct PromptMessage
{
    std::string Text;
    std::string Title;
    PromptIcon Icon = PromptIcon::None;
    PromptButtons Buttons = PromptButtons::Ok;
    PromptAnswer Default = PromptAnswer::Ok;
    // Captions for the Yes and No buttons where the plain words would not say what they do;
    // empty keeps "Yes" and "No".
    std::string YesCaption = {};
    std::string NoCaption = {};
};

// Filters keep the classic "Caption|*.a|Caption|*.b;*.c" form; the dialog converts them.
struct FileRequest
{
    std::string Title;
    std::string Filter;
    int FilterIndex = 1; // 1-based entry of Filter shown first
    std::string FileName;
    std::string InitialDir;
};

class Prompt
{
public:
    virtual ~Prompt() = default;

    virtual PromptAnswer Ask(const PromptMessage& message) = 0;
    // Empty when the user cancels the dialog.
    virtual std::optional<std::string> ChooseOpenFile(const FileRequest& request) = 0;
    virtual std::optional<std::string> ChooseSaveFile(const FileRequest& request) = 0;
    // Colours in the red + 256 * green + 65536 * blue form.
    virtual std::optional<std::int32_t> ChooseColor(std::int32_t initial) = 0;
    virtual std::optional<std::string> InputText(
        const std::string& text, const std::string& title, const std::string& initial)
        = 0;

    // A message with an OK button only.
    void Tell(const std::string& text, const std::string& title, PromptIcon icon = PromptIcon::None)
    {
        Ask({ text, title, icon, PromptButtons::Ok, PromptAnswer::Ok });
    }
};

} // namespace karvex
