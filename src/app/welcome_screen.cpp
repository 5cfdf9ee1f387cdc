#include "app/welcome_screen.h"

#include "app/editor.h"
#include "components/command_bars/command_bars.h"
#include "core/model/app_state.h"
#include "core/settings/settings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace karvex {

namespace {

// A caption with a rule after it, above a group of choices.
QWidget* Separator(const QString& caption, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 8, 0, 0);
    auto* label = new QLabel(caption, row);
    label->setStyleSheet("font-weight: bold");
    auto* line = new QFrame(row);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(label);
    layout->addWidget(line, 1);
    return row;
}

QPushButton* Choice(const char* name, const QString& caption, const QString& tip, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setMinimumHeight(button->sizeHint().height() * 3 / 2);
    return button;
}

} // namespace

WelcomeScreen::WelcomeScreen(Editor& editor, const CommandBars& bars,
    std::function<void(const QString& key)> runCommand, QWidget* parent)
    : QDialog(parent)
    , m_editor(editor)
    , m_runCommand(std::move(runCommand))
{
    setObjectName("FRM_Welcome");
    setWindowTitle("Welcome");
    setModal(true);
    auto* layout = new QVBoxLayout(this);

    layout->addWidget(Separator("Quickstart", this));
    QPushButton* startNew = Choice(
        "ChoiceButton1", "Start a New imagemap", "Choose a picture and draw hotspots on it.", this);
    QPushButton* open = Choice("ChoiceButton2", "Open an Existing imagemap",
        "Open a page, a project or a map file.", this);
    layout->addWidget(startNew);
    layout->addWidget(open);

    layout->addWidget(Separator("Help and Support", this));
    QPushButton* help = Choice("ChoiceButton3", "Help", "Read the help pages.", this);
    if (!bars.IsEnabled("Help1")) {
        help->setEnabled(false);
        help->setToolTip("The help pages are not part of this version yet.");
    }
    QPushButton* site = Choice("ChoiceButton4", "Visit Brindlemoor Entertainment on the web",
        "Opens the maker's web site in your web browser.", this);
    layout->addWidget(help);
    layout->addWidget(site);

    m_dontShow = new QCheckBox("Don't show this dialog in the future", this);
    m_dontShow->setObjectName("Check1");
    m_dontShow->setChecked(!editor.State().Settings.ini_WelcomeScreen);
    layout->addSpacing(8);
    layout->addWidget(m_dontShow);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("Command1");
    ok->setDefault(true);
    layout->addWidget(buttons);

    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(startNew, &QPushButton::clicked, this, &WelcomeScreen::StartNew);
    connect(open, &QPushButton::clicked, this, &WelcomeScreen::OpenExisting);
    connect(help, &QPushButton::clicked, this, [this] { m_runCommand("Help1"); });
    connect(site, &QPushButton::clicked, this, [this] { m_runCommand("Webpage3"); });
    connect(m_dontShow, &QCheckBox::clicked, this, &WelcomeScreen::WriteShowSetting);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(&m_editor, &Editor::welcomeScreenDone, this, &QDialog::accept);
}

void WelcomeScreen::StartNew()
{
    setEnabled(false);
    m_editor.SetStartedFromWelcome(true);
    m_editor.NewDocumentFromPicture({});
    // No document was made (the picture dialog was cancelled): the choice is offered again.
    m_editor.SetStartedFromWelcome(false);
    setEnabled(true);
}

void WelcomeScreen::OpenExisting()
{
    setEnabled(false);
    const bool opened = m_editor.OpenDocument({}, true);
    setEnabled(true);
    if (opened)
        accept();
}

void WelcomeScreen::WriteShowSetting(bool dontShow)
{
    AppState& state = m_editor.State();
    state.Settings.ini_WelcomeScreen = !dontShow;
    if (!state.SettingsPath.empty()) {
        SettingValue(state.SettingsPath, "General", "ini_WelcomeScreen", SettingMode::Write,
            SettingText(!dontShow));
    }
}

} // namespace karvex
