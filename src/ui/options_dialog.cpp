#include "ui/options_dialog.h"

#include "components/code_box/code_box.h"
#include "components/color_selector/color_selector.h"
#include "core/model/app_state.h"
#include "core/util/prompt.h"
#include "ui/qt_text.h"
#include "ui/wait_cursor.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace karvex {

namespace {

// The system colour of window backgrounds (text fields).
constexpr std::int32_t kWindowColorIndex = 5;

constexpr char kRestartMessage[] = "Some changes in Options require a restart of the program.";
constexpr char kResetQuestion[] = "Are you sure you want to continue ?";

// The sample's lines: an opening comment, the credit line, an IMG and an AREA tag, so that
// every code colour shows.
constexpr std::array<const char*, 4> kSampleLines = {
    "<!-- Karvex -->",
    "<!-- Brindlemoor Entertainment -->",
    "<IMG SRC=\"graphic/image1.gif\" Width=\"100\" Height=\"100\">",
    "<AREA SHAPE=\"CIRCLE\" Coords=\"10,10,10\" Alt=\"Test\">",
};

QVBoxLayout* PageLayout(QWidget* page)
{
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    return layout;
}

QRadioButton* AddRadio(const QString& caption, const char* name, QLayout* layout)
{
    auto* radio = new QRadioButton(caption);
    radio->setObjectName(name);
    layout->addWidget(radio);
    return radio;
}

QCheckBox* AddCheck(const QString& caption, const char* name, QLayout* layout)
{
    auto* check = new QCheckBox(caption);
    check->setObjectName(name);
    layout->addWidget(check);
    return check;
}

} // namespace

OptionsDialog::OptionsDialog(AppState& state, Prompt& prompt, QWidget* parent)
    : QDialog(parent)
    , m_state(state)
    , m_prompt(prompt)
{
    setObjectName("FRM_Options");
    setWindowTitle("Options");

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName("Tabs");
    m_tabs->addTab(BuildGeneralTab(), "General");
    m_tabs->addTab(BuildLookTab(), "Look");
    m_tabs->addTab(BuildInternalPreviewTab(), "Int.Preview");
    m_tabs->addTab(BuildExternalPreviewTab(), "Ext.Preview");
    m_tabs->addTab(BuildColorTab(), "Design Color");
    m_tabs->addTab(BuildResetTab(), "Reset");

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("OK");
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    cancel->setObjectName("Cancel");
    m_help = buttons->addButton("Help", QDialogButtonBox::HelpRole);
    m_help->setObjectName("Help");
    connect(ok, &QPushButton::clicked, this, &OptionsDialog::OnOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_help, &QPushButton::clicked, this, [this] {
        const int topic = kHelpTopics[static_cast<std::size_t>(m_tabs->currentIndex())];
        if (topic != 0)
            emit HelpRequested(topic);
    });
    connect(m_tabs, &QTabWidget::currentChanged, this, &OptionsDialog::OnTabChanged);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);

    // Loading: the test action starts at "don't save" until the settings say otherwise.
    m_testDontSave->setChecked(true);
    m_tabs->setCurrentIndex(GeneralTab);
    OnTabChanged(GeneralTab);
    LoadingSampleTxt();
    Fill(OptionValuesFrom(state.Settings));
}

QWidget* OptionsDialog::BuildGeneralTab()
{
    auto* page = new QWidget;
    auto* group = new QGroupBox("HTML file", page);
    auto* box = new QVBoxLayout(group);
    m_welcome = AddCheck("Show Welcome screen at startup", "WelcomeScreen", box);
    m_mapNameCheck = AddCheck("Should fool-prop Usemap be activated?", "MapNameCheck", box);
    m_search
        = AddCheck("Search for both images and map element when opening a new file", "Search", box);
    QVBoxLayout* layout = PageLayout(page);
    layout->addWidget(group);
    layout->addStretch(1);
    return page;
}

ColorSelector* OptionsDialog::NewColorSelector(const QString& caption, QLabel** label)
{
    auto* selector = new ColorSelector;
    selector->setAccessibleName(QString(caption).remove(':'));
    // The options offer the palette and any colour through the colour dialog; a setting
    // cannot be transparent, so a cancelled dialog keeps the colour, and the other rows are
    // left out to keep the popup plain.
    selector->SetShowTransparent(false);
    selector->SetShowNormalColor(false);
    selector->SetShowCustomColor(false);
    selector->SetShowMoreColor(true);
    selector->SetKeepColorOnCancel(true);
    // The face follows the desktop's colours, light or dark, as the other fields do.
    selector->SetBackColor(kSystemColorBase + kWindowColorIndex);
    *label = new QLabel(caption);
    (*label)->setBuddy(selector);
    return selector;
}

QWidget* OptionsDialog::BuildLookTab()
{
    auto* page = new QWidget;
    auto* group = new QGroupBox("Interface", page);
    auto* grid = new QGridLayout(group);
    auto* looks = new QVBoxLayout;
    m_standardLook = AddRadio("Use Standard look and feel", "StandardLook", looks);
    m_xpLook = AddRadio("Use Windows XP look and feel", "XpLook", looks);
    grid->addLayout(looks, 0, 0, 1, 2);
    m_ruler = NewColorSelector("Ruler Color", &m_rulerLabel);
    m_ruler->setObjectName("RulerColor");
    m_property = NewColorSelector("Property Color", &m_propertyLabel);
    m_property->setObjectName("PropertyColor");
    grid->addWidget(m_rulerLabel, 1, 0);
    grid->addWidget(m_ruler, 1, 1);
    grid->addWidget(m_propertyLabel, 2, 0);
    grid->addWidget(m_property, 2, 1);
    auto* cursor = new QHBoxLayout;
    m_coolCursor = AddCheck("Use Cool Cursor when drawing hotspots", "CoolCursor", cursor);
    grid->addLayout(cursor, 3, 0, 1, 2);
    grid->setColumnStretch(2, 1);
    for (QRadioButton* look : { m_standardLook, m_xpLook }) {
        connect(look, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                State_AppLook();
        });
    }
    QVBoxLayout* layout = PageLayout(page);
    layout->addWidget(group);
    layout->addStretch(1);
    return page;
}

QWidget* OptionsDialog::BuildInternalPreviewTab()
{
    auto* page = new QWidget;
    auto* group = new QGroupBox("Internal Preview", page);
    auto* box = new QVBoxLayout(group);
    m_resetZoom
        = AddCheck("When starts preview, should zoom level be set to 100%", "ResetZoom", box);
    m_startExternal = AddCheck(
        "Should external browser be started when clicking an hotspot?", "StartExternal", box);
    box->addSpacing(6);
    m_standardTooltip = AddRadio("Use Standard Tooltip for mouseover", "StandardTooltip", box);
    m_balloonTooltip = AddRadio("Use Balloon tooltip for mouseover", "BalloonTooltip", box);
    QVBoxLayout* layout = PageLayout(page);
    layout->addWidget(group);
    layout->addStretch(1);
    return page;
}

QWidget* OptionsDialog::BuildExternalPreviewTab()
{
    auto* page = new QWidget;
    auto* group = new QGroupBox("External Preview", page);
    auto* box = new QVBoxLayout(group);
    m_workingMap = AddRadio("Show only the working imagemap when previewing", "WorkingMap", box);
    m_wholeDocument
        = AddRadio("Show the whole html document when previewing", "WholeDocument", box);
    auto* scope = new QButtonGroup(page);
    scope->addButton(m_workingMap);
    scope->addButton(m_wholeDocument);

    auto* fileOptions = new QGridLayout;
    fileOptions->setContentsMargins(20, 0, 0, 0);
    m_saveOver = new QRadioButton("Save over the existing html document");
    m_saveOver->setObjectName("SaveOver");
    m_tempFile = new QRadioButton("Save it in an temporary file :");
    m_tempFile->setObjectName("TempFile");
    m_tempFileName = new QLineEdit;
    m_tempFileName->setObjectName("TempFileName");
    m_tempFileName->setAccessibleName("Temporary file name");
    fileOptions->addWidget(m_saveOver, 0, 0, 1, 2);
    fileOptions->addWidget(m_tempFile, 1, 0);
    fileOptions->addWidget(m_tempFileName, 1, 1);
    auto* htmlFile = new QButtonGroup(page);
    htmlFile->addButton(m_saveOver);
    htmlFile->addButton(m_tempFile);
    box->addLayout(fileOptions);

    auto* testing = new QGroupBox("When Testing an imagemap", page);
    auto* testBox = new QVBoxLayout(testing);
    m_testSave = AddRadio("Save changes in current document", "TestSave", testBox);
    m_testPrompt = AddRadio("Prompt for changes in current document", "TestPrompt", testBox);
    m_testDontSave = AddRadio("Don't save changes in current document", "TestDontSave", testBox);
    m_testActions = new QButtonGroup(page);
    m_testActions->addButton(m_testSave, static_cast<int>(TestAction::Save));
    m_testActions->addButton(m_testPrompt, static_cast<int>(TestAction::Prompt));
    m_testActions->addButton(m_testDontSave, static_cast<int>(TestAction::DontSave));

    connect(scope, &QButtonGroup::buttonToggled, this, [this](QAbstractButton*, bool on) {
        if (on)
            State_ExternalPreview();
    });
    connect(htmlFile, &QButtonGroup::buttonToggled, this, [this](QAbstractButton*, bool on) {
        if (on)
            State_TestingMAP();
    });

    QVBoxLayout* layout = PageLayout(page);
    layout->addWidget(group);
    layout->addWidget(testing);
    layout->addStretch(1);
    return page;
}

QWidget* OptionsDialog::BuildColorTab()
{
    auto* page = new QWidget;
    auto* hotspots = new QGroupBox("Hotspot Color", page);
    auto* hotspotGrid = new QGridLayout(hotspots);
    QLabel* shapeLabel = nullptr;
    QLabel* borderLabel = nullptr;
    m_shapeColor = NewColorSelector("Shape Color", &shapeLabel);
    m_shapeColor->setObjectName("ShapeColor");
    m_borderColor = NewColorSelector("Border Color", &borderLabel);
    m_borderColor->setObjectName("BorderColor");
    hotspotGrid->addWidget(shapeLabel, 0, 0);
    hotspotGrid->addWidget(m_shapeColor, 0, 1);
    hotspotGrid->addWidget(borderLabel, 0, 3);
    hotspotGrid->addWidget(m_borderColor, 0, 4);
    hotspotGrid->setColumnMinimumWidth(2, 16);
    hotspotGrid->setColumnStretch(5, 1);
    connect(m_shapeColor, &ColorSelector::ColorChanged, this,
        [this](std::int32_t color) { m_shape = color; });
    connect(m_borderColor, &ColorSelector::ColorChanged, this,
        [this](std::int32_t color) { m_border = color; });

    auto* code = new QGroupBox("Code Text", page);
    auto* codeGrid = new QGridLayout(code);
    auto* itemsLabel = new QLabel("Display Items:");
    m_displayItems = new QListWidget;
    m_displayItems->setObjectName("DisplayItems");
    for (const CodeColorItem& item : kCodeColorItems)
        m_displayItems->addItem(item.Caption);
    m_displayItems->setMaximumHeight(m_displayItems->sizeHintForRow(0) * 7 + 8);
    itemsLabel->setBuddy(m_displayItems);
    QLabel* itemColorLabel = nullptr;
    m_itemColor = NewColorSelector("Item Color:", &itemColorLabel);
    m_itemColor->setObjectName("ItemColor");
    auto* sampleLabel = new QLabel("Sample:");
    m_sample = new CodeBox;
    m_sample->setObjectName("Sample");
    // Room for the four sample lines and a scroll bar, no more.
    m_sample->setFixedHeight(8 * QFontMetrics(m_sample->font()).lineSpacing());
    sampleLabel->setBuddy(m_sample);
    codeGrid->addWidget(itemsLabel, 0, 0);
    codeGrid->addWidget(m_displayItems, 1, 0, 3, 1);
    codeGrid->addWidget(itemColorLabel, 0, 1);
    codeGrid->addWidget(m_itemColor, 1, 1, Qt::AlignTop);
    codeGrid->addWidget(sampleLabel, 4, 0, 1, 2);
    codeGrid->addWidget(m_sample, 5, 0, 1, 2);
    codeGrid->setColumnStretch(0, 1);
    connect(m_displayItems, &QListWidget::currentRowChanged, this,
        &OptionsDialog::OnDisplayItemClicked);
    connect(m_itemColor, &ColorSelector::ColorChanged, this, &OptionsDialog::OnItemColorChanged);

    QVBoxLayout* layout = PageLayout(page);
    layout->addWidget(hotspots);
    layout->addWidget(code);
    layout->addStretch(1);
    return page;
}

QWidget* OptionsDialog::BuildResetTab()
{
    auto* page = new QWidget;
    auto* text = new QLabel("Click the button to reset all your settings.\nWARNING : All values "
                            "will be erased, and replaced with standard settings.");
    text->setWordWrap(true);
    auto* reset = new QPushButton("Reset");
    reset->setObjectName("Reset");
    connect(reset, &QPushButton::clicked, this, &OptionsDialog::OnReset);
    QVBoxLayout* layout = PageLayout(page);
    layout->addWidget(text);
    layout->addWidget(reset, 0, Qt::AlignLeft);
    layout->addStretch(1);
    return page;
}

void OptionsDialog::LoadingSampleTxt()
{
    m_sample->CodeRedraw(false);
    m_sample->Clear();
    for (std::size_t i = 0; i < kSampleLines.size(); ++i)
        m_sample->AddRegion(kSampleLines[i], "LINE" + QString::number(i + 1), "Text", {}, 0);
    // The last line stands selected so that the selected background shows as well.
    m_sample->SelectRegion("LINE4");
    m_sample->CodeRedraw(true);
}

void OptionsDialog::Fill(const OptionValues& values)
{
    m_welcome->setChecked(values.WelcomeScreen);
    m_mapNameCheck->setChecked(values.MapNameCheck);
    m_search->setChecked(values.Search);
    m_coolCursor->setChecked(values.CoolCursor);
    (values.StandardLook ? m_standardLook : m_xpLook)->setChecked(true);
    m_ruler->SetSelectedColor(values.Ruler);
    m_property->SetSelectedColor(values.Property);
    m_resetZoom->setChecked(values.ResetZoom);
    m_startExternal->setChecked(values.StartExternal);
    (values.StandardTooltip ? m_standardTooltip : m_balloonTooltip)->setChecked(true);
    m_shape = values.Shape;
    m_border = values.Border;
    m_codeColors = values.CodeColors;
    m_shapeColor->SetSelectedColor(m_shape);
    m_borderColor->SetSelectedColor(m_border);
    SetTestAction(values.Testing);
    (values.WholeDocument ? m_wholeDocument : m_workingMap)->setChecked(true);
    m_tempFileName->setText(ToDisplay(values.TempFileName));
    (values.SaveOverDocument ? m_saveOver : m_tempFile)->setChecked(true);
    // The enabling follows the options even where a choice was already made and nothing
    // toggled; that can change the test action, and the settings' choice stands.
    State_ExternalPreview();
    State_AppLook();
    SetTestAction(values.Testing);
    m_displayItems->setCurrentRow(0);
    UpdColorCodeBox();
}

void OptionsDialog::SetTestAction(TestAction action)
{
    if (QAbstractButton* button = m_testActions->button(static_cast<int>(action))) {
        button->setChecked(true);
        return;
    }
    m_testActions->setExclusive(false);
    for (QAbstractButton* button : m_testActions->buttons())
        button->setChecked(false);
    m_testActions->setExclusive(true);
}

OptionValues OptionsDialog::Values() const
{
    OptionValues values;
    values.WelcomeScreen = m_welcome->isChecked();
    values.MapNameCheck = m_mapNameCheck->isChecked();
    values.Search = m_search->isChecked();
    values.StandardLook = m_standardLook->isChecked();
    values.Ruler = m_ruler->SelectedColor();
    values.Property = m_property->SelectedColor();
    values.CoolCursor = m_coolCursor->isChecked();
    values.ResetZoom = m_resetZoom->isChecked();
    values.StartExternal = m_startExternal->isChecked();
    values.StandardTooltip = m_standardTooltip->isChecked();
    values.WholeDocument = !m_workingMap->isChecked();
    values.SaveOverDocument = m_saveOver->isChecked();
    values.TempFileName = FromDisplay(m_tempFileName->text());
    const int checked = m_testActions->checkedId();
    values.Testing = checked > 0 ? static_cast<TestAction>(checked) : TestAction::None;
    values.Shape = m_shape;
    values.Border = m_border;
    values.CodeColors = m_codeColors;
    return values;
}

void OptionsDialog::UpdColorCodeBox()
{
    const auto color = [this](const char* key) { return m_codeColors.at(CodeColorIndex(key)); };
    m_sample->CodeRedraw(false);
    m_sample->SetAttributeNameColor(color("ini_AttributeName"));
    m_sample->SetAttributeValueColor(color("ini_AttributeValue"));
    m_sample->SetElementNameColor(color("ini_ElementName"));
    m_sample->SetCommentColor(color("ini_Comment"));
    m_sample->SetSelectedBackground(color("ini_SelectedBG"));
    m_sample->SetGutterColor(color("ini_CodeBox"));
    m_sample->SetFontColor(color("ini_FontColor"));
    m_sample->SetXpLook(m_xpLook->isChecked());
    m_sample->CodeRedraw(true);
}

void OptionsDialog::State_AppLook()
{
    // The ruler and property colours belong to the XP look; the standard look has its own.
    const bool xp = m_xpLook->isChecked();
    for (QWidget* control :
        std::initializer_list<QWidget*> { m_rulerLabel, m_ruler, m_propertyLabel, m_property })
        control->setEnabled(xp);
    UpdColorCodeBox();
}

void OptionsDialog::State_ExternalPreview()
{
    const bool whole = m_wholeDocument->isChecked();
    for (QWidget* control :
        std::initializer_list<QWidget*> { m_saveOver, m_tempFile, m_tempFileName })
        control->setEnabled(whole);
    State_TestingMAP();
}

void OptionsDialog::State_TestingMAP()
{
    // Writing the preview over the page saves the changes anyway: only "save" is left.
    const bool savesAnyway = m_saveOver->isEnabled() && m_saveOver->isChecked();
    m_testPrompt->setEnabled(!savesAnyway);
    m_testDontSave->setEnabled(!savesAnyway);
    if (savesAnyway)
        m_testSave->setChecked(true);
}

void OptionsDialog::OnTabChanged(int index) { m_help->setEnabled(index != ResetTab); }

void OptionsDialog::OnDisplayItemClicked()
{
    const int row = m_displayItems->currentRow();
    if (row < 0 || row >= static_cast<int>(kCodeColorCount))
        return;
    m_displayItem = row;
    m_itemColor->SetSelectedColor(m_codeColors[static_cast<std::size_t>(row)]);
}

void OptionsDialog::OnItemColorChanged(std::int32_t color)
{
    m_codeColors[static_cast<std::size_t>(m_displayItem)] = color;
    UpdColorCodeBox();
}

void OptionsDialog::OnOk()
{
    const WriteResult written = WriteSettingEntries(m_state.SettingsPath, OptionEntries(Values()));
    if (!written) {
        m_prompt.Tell("The options could not be saved in " + m_state.SettingsPath + ": "
                + written.Reason + ". Nothing was changed.",
            m_state.AppTitle, PromptIcon::Critical);
        return;
    }
    LoadAllSettings(m_state.SettingsPath, m_state.Settings);
    m_settingsChanged = true;
    EndMessage();
    accept();
}

void OptionsDialog::OnReset()
{
    const PromptAnswer answer = m_prompt.Ask({ kResetQuestion, m_state.AppTitle,
        PromptIcon::Critical, PromptButtons::YesNo, PromptAnswer::No });
    if (answer != PromptAnswer::Yes)
        return;
    WriteResult written;
    {
        const WaitCursor busy;
        written = WriteWholeFile(m_state.SettingsPath, DefaultSettingsText());
    }
    if (!written) {
        m_prompt.Tell("The settings file " + m_state.SettingsPath
                + " could not be reset: " + written.Reason + ". Nothing was changed.",
            m_state.AppTitle, PromptIcon::Critical);
        return;
    }
    LoadAllSettings(m_state.SettingsPath, m_state.Settings);
    m_settingsChanged = true;
    m_wasReset = true;
    EndMessage();
    accept();
}

void OptionsDialog::EndMessage()
{
    m_prompt.Tell(kRestartMessage, m_state.AppTitle, PromptIcon::Information);
}

} // namespace karvex
