// The hotspot wizard's pages: their controls, captions and layout.

#include "components/property_grid/property_grid.h"
#include "core/model/app_state.h"
#include "ui/help_topics.h"
#include "ui/wizard_dialog.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace karvex {

namespace {

QLabel* WrappedLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

// A box of two numbers side by side (or one), each after its caption; captions of one width
// line the boxes of all groups up in two columns.
QGroupBox* NumberGroup(const QString& title,
    const std::vector<std::pair<QString, QLineEdit*>>& rows, int captionWidth, QWidget* parent)
{
    auto* group = new QGroupBox(title, parent);
    auto* layout = new QHBoxLayout(group);
    for (const auto& [caption, box] : rows) {
        auto* label = new QLabel(caption, group);
        label->setBuddy(box);
        label->setFixedWidth(captionWidth);
        layout->addWidget(label);
        layout->addWidget(box);
        layout->addSpacing(24);
    }
    layout->addStretch(1);
    return group;
}

} // namespace

void WizardDialog::BuildLayout()
{
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName("Pages");
    m_pages->addWidget(BuildTemplatePage());
    m_pages->addWidget(BuildNumbersPage());
    m_pages->addWidget(BuildAttributesPage());
    m_pages->addWidget(BuildFinishPage());

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    m_stepText = new QLabel(this);
    m_stepText->setObjectName("StepLabel");
    m_back = new QPushButton("Back", this);
    m_back->setObjectName("BackButton");
    m_next = new QPushButton("Next", this);
    m_next->setObjectName("NextButton");
    m_complete = new QPushButton("Complete", this);
    m_complete->setObjectName("CompleteButton");
    m_cancel = new QPushButton("Cancel", this);
    m_cancel->setObjectName("CancelButton");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_stepText, 1);
    for (QPushButton* button : { m_back, m_next, m_complete, m_cancel })
        buttons->addWidget(button);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addWidget(rule);
    layout->addLayout(buttons);
}

QWidget* WizardDialog::BuildTemplatePage()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(WrappedLabel(
        "Welcome to the Hotspot Wizard. This Wizard is used to automatically generate "
        "structured, clickable hotspots. Please do your selection then click the Next Button.",
        page));

    auto* group = new QGroupBox("Please select which hotspot to use as a template", page);
    auto* grid = new QGridLayout(group);
    grid->setColumnMinimumWidth(0, 20);
    grid->setColumnStretch(2, 1);
    m_fromDocument = new QRadioButton("From Current document", group);
    m_fromDocument->setObjectName("FromDocument");
    m_hotspotList = new QComboBox(group);
    m_hotspotList->setObjectName("Combo1");
    m_hotspotList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_hotspotList->setMinimumContentsLength(16);
    auto* listCaption = new QLabel("Select Hotspot", group);
    listCaption->setBuddy(m_hotspotList);
    m_fromClipboard = new QRadioButton("From Clipboard", group);
    m_fromClipboard->setObjectName("FromClipboard");
    grid->addWidget(
        WrappedLabel("Select a hotspot from the active document as template", group), 0, 0, 1, 3);
    grid->addWidget(m_fromDocument, 1, 0, 1, 3);
    grid->addWidget(listCaption, 2, 1);
    grid->addWidget(m_hotspotList, 2, 2);
    grid->setRowMinimumHeight(3, 10);
    grid->addWidget(
        WrappedLabel("Use the hotspot in clipboard memory as template.", group), 4, 0, 1, 3);
    grid->addWidget(m_fromClipboard, 5, 0, 1, 3);
    layout->addWidget(group);

    m_note = WrappedLabel(
        "NOTE : No hotspot currently exists. Please either copy a hotspot to the clipboard from "
        "another document, or draw a hotspot in the active document to use as foundation for the "
        "wizard..",
        page);
    m_note->setObjectName("NoteLabel");
    m_note->setFrameShape(QFrame::StyledPanel);
    m_note->setMargin(6);
    m_note->hide();
    layout->addWidget(m_note);
    layout->addStretch(1);
    return page;
}

QLineEdit* WizardDialog::NumberBox(const char* objectName, std::int32_t value)
{
    auto* box = new QLineEdit(QString::number(value), this);
    box->setObjectName(objectName);
    // Digits only: a letter, sign or blank typed or pasted is not taken. Backspace may empty
    // the box, which counts as 0.
    box->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), box));
    box->setMaxLength(7);
    box->setAlignment(Qt::AlignRight);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance("0000000000") + 12);
    m_numbers.push_back(box);
    return box;
}

QWidget* WizardDialog::BuildNumbersPage()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(WrappedLabel("Here you enter misc. positioning coordinates.", page));
    const GridNumbers numbers = ReadGridNumbers(m_state.SettingsPath);
    QLineEdit* text1 = NumberBox("Text1", numbers.HorizontalStart);
    QLineEdit* text2 = NumberBox("Text2", numbers.VerticalStart);
    QLineEdit* text3 = NumberBox("Text3", numbers.HorizontalSpace);
    QLineEdit* text4 = NumberBox("Text4", numbers.VerticalSpace);
    QLineEdit* text5 = NumberBox("Text5", numbers.Columns);
    QLineEdit* text6 = NumberBox("Text6", numbers.Rows);
    QLineEdit* text7 = NumberBox("Text7", numbers.FirstIndex);
    int captionWidth = 0;
    for (const char* caption : { "Horizontal Start (X)", "Vertical Start (Y)", "Horizontal Space",
             "Vertical Space", "Horizontal Hotspots", "Vertical Hotspots", "First Index" })
        captionWidth = std::max(captionWidth, fontMetrics().horizontalAdvance(caption) + 8);
    layout->addWidget(NumberGroup("Enter position of the first hotspot",
        { { "Horizontal Start (X)", text1 }, { "Vertical Start (Y)", text2 } }, captionWidth,
        page));
    layout->addWidget(NumberGroup("Here you enter the spacing between the hotspots",
        { { "Horizontal Space", text3 }, { "Vertical Space", text4 } }, captionWidth, page));
    layout->addWidget(NumberGroup("Enter the number of hotspots to be created by the wizard",
        { { "Horizontal Hotspots", text5 }, { "Vertical Hotspots", text6 } }, captionWidth, page));
    layout->addWidget(
        NumberGroup("If you are using the %INDEX% function. What should be the first number",
            { { "First Index", text7 } }, captionWidth, page));
    layout->addStretch(1);
    return page;
}

QWidget* WizardDialog::BuildAttributesPage()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(WrappedLabel("Here you enter the attributes of the parameters that you wish "
                                   "to use when generating the hotspots.",
        page));

    auto* predefinedGroup = new QGroupBox("Predefined Attribute", page);
    auto* predefinedLayout = new QVBoxLayout(predefinedGroup);
    m_predefined = new QListWidget(predefinedGroup);
    m_predefined->setObjectName("List1");
    predefinedLayout->addWidget(m_predefined);

    const int moveWidth = fontMetrics().horizontalAdvance(">>") + 24;
    m_moveIn = new QPushButton(">>", page);
    m_moveIn->setFixedWidth(moveWidth);
    m_moveIn->setObjectName("MoveInButton");
    m_moveIn->setToolTip("Move the selected attribute to the active attributes");
    m_moveOut = new QPushButton("<<", page);
    m_moveOut->setObjectName("MoveOutButton");
    m_moveOut->setToolTip("Move the selected active attribute back");
    m_moveOut->setFixedWidth(moveWidth);
    auto* moves = new QVBoxLayout;
    moves->addStretch(1);
    moves->addWidget(m_moveIn);
    moves->addWidget(m_moveOut);
    moves->addStretch(1);

    auto* activeGroup = new QGroupBox("Active Attributes", page);
    auto* activeLayout = new QVBoxLayout(activeGroup);
    m_grid = new PropertyGrid(activeGroup);
    m_grid->setObjectName("ZQPropList1");
    m_grid->SetTitle("Active Attributes");
    // Room for the fixed rows and a few attributes above the description.
    m_grid->setMinimumHeight(fontMetrics().height() * 16);
    activeLayout->addWidget(m_grid, 1);
    auto* add = new QPushButton("Add Attribute...", activeGroup);
    add->setObjectName("AddAttributeButton");
    auto* help = new QPushButton("Help", activeGroup);
    help->setObjectName("HelpButton");
    auto* gridButtons = new QHBoxLayout;
    gridButtons->addWidget(add);
    gridButtons->addStretch(1);
    gridButtons->addWidget(help);
    activeLayout->addLayout(gridButtons);
    connect(add, &QPushButton::clicked, this, &WizardDialog::OnAddAttributeClicked);
    connect(help, &QPushButton::clicked, this, [this] { emit HelpRequested(kWizardHelp); });

    auto* lists = new QHBoxLayout;
    lists->addWidget(predefinedGroup, 2);
    lists->addLayout(moves);
    lists->addWidget(activeGroup, 5);
    layout->addLayout(lists, 1);

    auto* previewGroup = new QGroupBox("HTML Preview", page);
    auto* previewLayout = new QVBoxLayout(previewGroup);
    m_preview = new QPlainTextEdit(previewGroup);
    m_preview->setObjectName("RichTextBox1");
    m_preview->setReadOnly(true);
    m_preview->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_preview->setFixedHeight(m_preview->fontMetrics().lineSpacing() * 3 + 12);
    previewLayout->addWidget(m_preview);
    layout->addWidget(previewGroup);
    return page;
}

QWidget* WizardDialog::BuildFinishPage()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(WrappedLabel(
        "The setup is complete. Click the Complete button below to generate the hotspots. "
        "Caution! All Undo/Redo history will be unavailable after this.",
        page));
    auto* group = new QGroupBox("Process", page);
    auto* groupLayout = new QVBoxLayout(group);
    m_progress = new QProgressBar(group);
    m_progress->setObjectName("ZQ_Progressbar1");
    m_progress->setValue(0);
    groupLayout->addWidget(m_progress);
    layout->addWidget(group);
    layout->addStretch(1);
    return page;
}

} // namespace karvex
