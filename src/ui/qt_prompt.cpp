#include "ui/qt_prompt.h"

#include "core/util/strings.h"
#include "ui/qt_text.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace karvex {

namespace {

QMessageBox::Icon ToQtIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Critical:
        return QMessageBox::Critical;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::Exclamation:
        return QMessageBox::Warning;
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ToQtButton(PromptAnswer answer)
{
    switch (answer) {
    case PromptAnswer::Ok:
        return QMessageBox::Ok;
    case PromptAnswer::Cancel:
        return QMessageBox::Cancel;
    case PromptAnswer::Yes:
        return QMessageBox::Yes;
    case PromptAnswer::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

// The folder a dialog opens in, with the suggested file name in it when there is one.
QString StartFolder(const FileRequest& request)
{
    QString folder;
    // Old Windows defaults name a temp folder of their own; any temp folder serves.
    if (EqualsNoCase(request.InitialDir, "C:\\Temp\\"))
        folder = QDir::tempPath();
    else if (!request.InitialDir.empty())
        folder = ToDisplay(request.InitialDir);
    if (request.FileName.empty())
        return folder.isEmpty() ? QDir::homePath() : folder;
    QString name = ToDisplay(request.FileName);
    if (folder.isEmpty() || QDir::isAbsolutePath(name))
        return name;
    return QDir(folder).filePath(name);
}

} // namespace

QString ToQtFilter(const std::string& filter, int selectedIndex, QString* selected)
{
    const auto parts = Split(filter, "|");
    QStringList entries;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = ToDisplay(parts[i + 1]).replace(';', ' ');
        QString caption = ToDisplay(parts[i]);
        // Captions such as "HTML Files (*.html)" already show their patterns.
        const auto open = caption.lastIndexOf('(');
        if (caption.endsWith(')') && open >= 0
            && caption.mid(open + 1, caption.size() - open - 2).replace(';', ' ') == patterns)
            caption = caption.left(open).trimmed();
        entries << caption + " (" + patterns + ")";
    }
    if (selected && selectedIndex >= 1 && selectedIndex <= entries.size())
        *selected = entries[selectedIndex - 1];
    return entries.join(";;");
}

QtPrompt::QtPrompt(QWidget* parent)
    : m_parent(parent)
{
}

QWidget* QtPrompt::Parent() const { return m_parent ? m_parent : QApplication::activeWindow(); }

PromptAnswer QtPrompt::Ask(const PromptMessage& message)
{
    QMessageBox box(ToQtIcon(message.Icon), ToDisplay(message.Title), ToDisplay(message.Text),
        QMessageBox::NoButton, Parent());
    switch (message.Buttons) {
    case PromptButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case PromptButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case PromptButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case PromptButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    // A button that says what it does loses the Yes/No style's tick and cross.
    const auto caption = [&box](QMessageBox::StandardButton which, const std::string& text) {
        if (QAbstractButton* button = box.button(which); button && !text.empty()) {
            button->setText(ToDisplay(text));
            button->setIcon({});
        }
    };
    caption(QMessageBox::Yes, message.YesCaption);
    caption(QMessageBox::No, message.NoCaption);
    box.setDefaultButton(ToQtButton(message.Default));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Cancel:
        return PromptAnswer::Cancel;
    default:
        // Closing a Yes/No box with its close button counts as the safe answer.
        return message.Buttons == PromptButtons::YesNo ? PromptAnswer::No
            : message.Buttons == PromptButtons::Ok     ? PromptAnswer::Ok
                                                       : PromptAnswer::Cancel;
    }
}

std::optional<std::string> QtPrompt::ChooseOpenFile(const FileRequest& request)
{
    QString selected;
    const QString filter = ToQtFilter(request.Filter, request.FilterIndex, &selected);
    const QString path = QFileDialog::getOpenFileName(
        Parent(), ToDisplay(request.Title), StartFolder(request), filter, &selected);
    if (path.isEmpty())
        return std::nullopt;
    return FromDisplay(QDir::toNativeSeparators(path));
}

std::optional<std::string> QtPrompt::ChooseSaveFile(const FileRequest& request)
{
    QString selected;
    const QString filter = ToQtFilter(request.Filter, request.FilterIndex, &selected);
    // The caller checks for existing files and collisions itself.
    QString path = QFileDialog::getSaveFileName(Parent(), ToDisplay(request.Title),
        StartFolder(request), filter, &selected, QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty())
        return std::nullopt;
    // A name typed without an ending takes the one of the chosen file type.
    static const QRegularExpression kFirstPattern(R"(\*\.(\w+))");
    const auto match = kFirstPattern.match(selected);
    if (QFileInfo(path).suffix().isEmpty() && match.hasMatch())
        path += "." + match.captured(1);
    return FromDisplay(QDir::toNativeSeparators(path));
}

std::optional<std::int32_t> QtPrompt::ChooseColor(std::int32_t initial)
{
    const auto bits = static_cast<std::uint32_t>(initial);
    const QColor start(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
        static_cast<int>((bits >> 16) & 0xFF));
    const QColor color = QColorDialog::getColor(start, Parent());
    if (!color.isValid())
        return std::nullopt;
    return color.red() + 256 * color.green() + 65536 * color.blue();
}

std::optional<std::string> QtPrompt::InputText(
    const std::string& text, const std::string& title, const std::string& initial)
{
    bool ok = false;
    const QString value = QInputDialog::getText(
        Parent(), ToDisplay(title), ToDisplay(text), QLineEdit::Normal, ToDisplay(initial), &ok);
    if (!ok)
        return std::nullopt;
    return FromDisplay(value);
}

} // namespace karvex
