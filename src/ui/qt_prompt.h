#pragma once

// The editor's prompts as Qt message boxes and dialogs.

#include "core/util/prompt.h"

#include <QString>

class QWidget;

namespace karvex {

// "GIF Files (*.gif)|*.gif|All|*.*" to Qt's "GIF Files (*.gif) (*.gif);;All (*.*)" form,
// keeping captions and order. selectedIndex (1-based) picks the filter shown first.
QString ToQtFilter(const std::string& filter, int selectedIndex, QString* selected);

class QtPrompt : public Prompt
{
public:
    explicit QtPrompt(QWidget* parent = nullptr);

    void SetParent(QWidget* parent) { m_parent = parent; }

    PromptAnswer Ask(const PromptMessage& message) override;
    std::optional<std::string> ChooseOpenFile(const FileRequest& request) override;
    std::optional<std::string> ChooseSaveFile(const FileRequest& request) override;
    std::optional<std::int32_t> ChooseColor(std::int32_t initial) override;
    std::optional<std::string> InputText(
        const std::string& text, const std::string& title, const std::string& initial) override;

private:
    QWidget* Parent() const;

    QWidget* m_parent;
};

} // namespace karvex
