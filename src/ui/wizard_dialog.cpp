#include "ui/wizard_dialog.h"

#include "components/property_grid/property_grid.h"
#include "core/model/app_state.h"
#include "core/settings/settings.h"
#include "core/util/prompt.h"
#include "core/util/strings.h"
#include "ui/document_model.h"
#include "ui/document_window.h"
#include "ui/property_panel.h"
#include "ui/qt_text.h"
#include "ui/wait_cursor.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <algorithm>
#include <optional>

namespace karvex {

namespace {

constexpr const char* kPredefinedAttributes[] = { "Alt", "Href", "Target", "OnFocus", "OnBlur",
    "OnClick", "OnDblClick", "OnMouseDown", "OnMouseUp", "OnMouseOver", "OnMouseMove", "OnMouseOut",
    "OnKeyPress", "OnKeyDown", "OnKeyUp" };

// Keys the grid's own rows and the AREA code already use: no extra attribute may take them.
constexpr const char* kReservedKeys[]
    = { "NAME", "LOCKED", "COLOR", "HEADER1", "HEADER2", "SHAPE", "COORDS" };

// Letters, digits and "-", "_", ":", ".": what an attribute name written bare into a tag holds.
bool IsAttributeName(const std::string& name)
{
    return !name.empty() && std::ranges::all_of(name, [](char ch) {
        return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')
            || ch == '-' || ch == '_' || ch == ':' || ch == '.';
    });
}

} // namespace

WizardDialog::WizardDialog(AppState& state, Prompt& prompt, DocumentWindow& window,
    const Hotspot* clipboardTemplate, QWidget* parent)
    : QDialog(parent)
    , m_state(state)
    , m_prompt(prompt)
    , m_window(window)
    , m_clipboardTemplate(clipboardTemplate)
{
    setObjectName("FRM_Wizard");
    setWindowTitle("Hotspot Wizard");
    BuildLayout();

    m_grid->SetUpdating(true);
    AddFixedRows();
    m_grid->SetUpdating(false);
    for (const char* name : kPredefinedAttributes)
        m_predefined->addItem(name);
    PopulateCombo();
    CheckClipboard();
    m_moveIn->setEnabled(false);
    m_moveOut->setEnabled(false);
    m_noSource = !m_fromDocument->isChecked() && !m_fromClipboard->isChecked();
    m_note->setVisible(m_noSource);
    m_fromDocument->setEnabled(m_hotspotList->count() > 0);
    m_fromClipboard->setEnabled(m_clipboardTemplate != nullptr);
    m_hotspotList->setEnabled(m_fromDocument->isChecked());
    SetupProperties();
    UpdatePreview();
    // Sized with every button of the bottom row shown, so that the last page does not widen it.
    m_complete->show();
    resize(std::max(500, sizeHint().width()), std::max(400, sizeHint().height()));
    RefreshSteps();

    connect(m_fromDocument, &QRadioButton::toggled, m_hotspotList, &QComboBox::setEnabled);
    connect(m_back, &QPushButton::clicked, this, &WizardDialog::OnBack);
    connect(m_next, &QPushButton::clicked, this, &WizardDialog::OnNext);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_complete, &QPushButton::clicked, this, &WizardDialog::StartCompile);
    connect(m_predefined, &QListWidget::currentItemChanged, this,
        [this](QListWidgetItem* item) { m_moveIn->setEnabled(item != nullptr); });
    connect(m_moveIn, &QPushButton::clicked, this, &WizardDialog::OnMoveIn);
    connect(m_moveOut, &QPushButton::clicked, this, &WizardDialog::OnMoveOut);
    connect(m_grid, &PropertyGrid::ValueChanged, this, &WizardDialog::OnGridValue);
    connect(m_grid, &PropertyGrid::SelectionChanged, this, &WizardDialog::OnGridSelection);
    connect(
        m_grid, &PropertyGrid::ChoicesWanted, this, [](QStringList& choices, const QString& key) {
            if (key.toUpper() == "LOCKED")
                choices = { "True", "False" };
        });
}

void WizardDialog::AddFixedRows()
{
    m_grid->AddItem("Header1", "Standard", PropertyKind::Heading, {}, {});
    m_grid->AddItem("Name", "Name", PropertyKind::Text, ToDisplay(m_nameTemplate),
        "This is the name of the hotspot. Every name must be unique");
    m_grid->AddItem("Locked", "Locked", PropertyKind::Choice, "False",
        "Specifies if the hotspot should be locked in design mode.");
    m_grid->AddItem("Color", "Color", PropertyKind::Colour, m_colorText,
        "Used in design-mode to get an better view over the different hotspots.");
    m_grid->AddItem("Header2", "Tags", PropertyKind::Heading, {}, {});
}

// The grid looks as the property panel's grids do.
void WizardDialog::SetupProperties()
{
    m_grid->SetUpdating(true);
    PropertyPanel::StyleGrid(*m_grid, m_state.Settings);
    m_grid->SetUpdating(false);
}

void WizardDialog::PopulateCombo()
{
    m_hotspotList->clear();
    const int slot = m_state.CurrentDocument;
    if (slot <= 0 || static_cast<std::size_t>(slot) >= m_state.Documents.size())
        return;
    const Document& doc = m_state.Documents[static_cast<std::size_t>(slot)];
    QStringList names;
    // The selected hotspot is the template the user most likely means.
    int selected = 0;
    for (const Hotspot& spot : doc.Hotspots) {
        if (!spot.Active)
            continue;
        if (spot.Id == m_state.CurrentHotspot)
            selected = static_cast<int>(names.size());
        names.push_back(ToDisplay(spot.Name, doc.Charset));
    }
    if (names.isEmpty())
        return;
    m_hotspotList->addItems(names);
    m_hotspotList->setCurrentIndex(selected);
    m_fromDocument->setChecked(true);
}

void WizardDialog::CheckClipboard()
{
    if (m_clipboardTemplate && !m_fromDocument->isChecked())
        m_fromClipboard->setChecked(true);
}

void WizardDialog::RefreshSteps()
{
    m_pages->setCurrentIndex(m_step - 1);
    m_back->setEnabled(m_step > 1 && !m_noSource);
    m_next->setEnabled(m_step < kPageCount && !m_noSource);
    m_complete->setVisible(m_step == kPageCount);
    m_complete->setEnabled(true);
    (m_step == kPageCount ? m_complete : m_next)->setDefault(true);
    m_stepText->setText(QString("You are now on step %1 of %2").arg(m_step).arg(kPageCount));
}

void WizardDialog::UpdatePreview()
{
    m_codeTemplate = GridCodeTemplate(m_template.Shape, ActiveAttributes());
    m_preview->setPlainText(ToDisplay(m_codeTemplate));
}

bool WizardDialog::TakeTemplate()
{
    if (m_fromDocument->isChecked()) {
        const std::string name = FromDisplay(m_hotspotList->currentText(),
            m_state.Documents[static_cast<std::size_t>(m_state.CurrentDocument)].Charset);
        const std::optional<std::int32_t> slot = m_state.HotspotNames.Find(name);
        const Hotspot* spot = slot ? m_window.Model().LiveHotspot(*slot) : nullptr;
        if (!spot)
            return false;
        m_template = karvex::TakeTemplate(*spot, spot->X1, spot->Y1);
        return true;
    }
    if (m_fromClipboard->isChecked() && m_clipboardTemplate) {
        m_template = karvex::TakeTemplate(*m_clipboardTemplate, 0, 0);
        return true;
    }
    return false;
}

// An emptied box counts as 0.
GridNumbers WizardDialog::Numbers() const
{
    const auto number = [this](std::size_t box) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(
            ParseLeadingInt(FromDisplay(m_numbers[box]->text())), 0, kGridNumberLimit));
    };
    return { number(0), number(1), number(2), number(3), number(4), number(5), number(6) };
}

void WizardDialog::OnNext()
{
    if (m_step == 1) {
        if (!TakeTemplate())
            return;
    } else {
        UpdatePreview();
    }
    if (m_step < kPageCount)
        ++m_step;
    RefreshSteps();
}

void WizardDialog::OnBack()
{
    if (m_step > 1)
        --m_step;
    RefreshSteps();
}

void WizardDialog::StartCompile()
{
    m_complete->setEnabled(false);
    UpdatePreview();
    const GridNumbers numbers = Numbers();
    const long long count = static_cast<long long>(numbers.Columns) * numbers.Rows;
    const QString countText = QLocale(QLocale::English).toString(count);
    if (count > kGridLimit) {
        m_prompt.Tell("This grid would make " + FromDisplay(countText)
                + " hotspots; the wizard makes at most 250,000 at a time. Please enter fewer "
                  "hotspots.",
            "Hotspot Wizard", PromptIcon::Critical);
        m_complete->setEnabled(true);
        return;
    }
    if (count > kAskAbove) {
        const PromptAnswer answer = m_prompt.Ask({ "This grid makes " + FromDisplay(countText)
                + " hotspots, which can take a while. Do you want to continue?",
            "Hotspot Wizard", PromptIcon::Question, PromptButtons::YesNo, PromptAnswer::No });
        if (answer != PromptAnswer::Yes) {
            m_complete->setEnabled(true);
            return;
        }
    }
    if (Generate(numbers, count))
        accept();
}

bool WizardDialog::Generate(const GridNumbers& numbers, long long count)
{
    std::optional<WaitCursor> wait(std::in_place);
    m_progress->setRange(0, static_cast<int>(std::max(count, 1LL)));
    m_progress->setValue(0);
    GridRequest request;
    request.Template = m_template;
    request.CodeTemplate = m_codeTemplate;
    request.NameTemplate = m_nameTemplate;
    request.Color = m_hotspotColor;
    request.Locked = m_hotspotLocked;
    request.Numbers = numbers;
    const GridCode grid = GenerateGridCode(request);
    if (GridNamesClash(m_state.HotspotNames, grid.Names)) {
        wait.reset();
        m_prompt.Tell("One of the generated hotspots name already exist in the document. Please "
                      "select another name.",
            m_state.AppTitle, PromptIcon::Critical);
        m_step = 3;
        RefreshSteps();
        return false;
    }

    std::vector<Hotspot> spots = ReadGridHotspots(grid.Code);
    if (!spots.empty()) {
        // The earlier steps go; the grid itself stays one step that can be undone.
        m_window.Model().ForgetHistory();
        // The bar is repainted at once, about a hundred times in all, while the figures go in.
        const int stride = std::max(1, static_cast<int>(spots.size() / 100));
        m_window.AddHotspotRecords(
            std::move(spots), "Hotspot Wizard", true, [this, stride](int done) {
                if (done % stride == 0 || done == m_progress->maximum()) {
                    m_progress->setValue(done);
                    m_progress->repaint();
                }
            });
        m_window.SelectMap();
    }
    if (!m_state.SettingsPath.empty())
        SaveGridNumbers(m_state.SettingsPath, numbers);
    return true;
}

void WizardDialog::OnGridValue(QString& value, const QString& key)
{
    const QString upper = key.toUpper();
    if (upper == "COLOR") {
        // "#RRGGBB": red, green and blue from the last six hex digits.
        const std::string text = FromDisplay(value.right(6));
        const std::vector<std::string> parts = Split(HtmlToColor(text, ","), ",");
        if (parts.size() != 3) {
            value = m_colorText;
            return;
        }
        m_hotspotColor = static_cast<std::int32_t>(ParseLeadingInt(parts[0])
            + 256 * ParseLeadingInt(parts[1]) + 65536 * ParseLeadingInt(parts[2]));
        m_colorText = value;
    } else if (upper == "LOCKED") {
        m_hotspotLocked = ParseSettingBool(FromDisplay(value)).value_or(false);
    } else if (upper == "NAME") {
        m_nameTemplate = FromDisplay(value);
    } else if (WizardAttribute* attribute = ActiveAttribute(FromDisplay(upper))) {
        attribute->Value = FromDisplay(value);
        UpdatePreview();
    }
}

void WizardDialog::OnGridSelection(const QString& key)
{
    m_selectedKey = key;
    m_moveOut->setEnabled(ActiveAttribute(FromDisplay(key.toUpper())) != nullptr);
}

void WizardDialog::OnMoveIn()
{
    const QListWidgetItem* item = m_predefined->currentItem();
    const std::string name = item ? FromDisplay(item->text()) : std::string();
    if (name.empty())
        return;
    if (!ValidateNewKey(name)) {
        MessageKeyExist();
        return;
    }
    AddAttribute(name);
    delete m_predefined->takeItem(m_predefined->currentRow());
    m_predefined->setCurrentItem(nullptr);
    m_moveIn->setEnabled(false);
}

void WizardDialog::OnMoveOut()
{
    const std::string key = FromDisplay(m_selectedKey.toUpper());
    WizardAttribute* attribute = ActiveAttribute(key);
    if (!attribute)
        return;
    m_grid->RemoveItem(m_selectedKey);
    attribute->Active = false;
    attribute->Value.clear();
    m_predefined->addItem(ToDisplay(attribute->Name));
    UpdatePreview();
    m_moveOut->setEnabled(false);
}

void WizardDialog::OnAddAttributeClicked()
{
    const std::optional<std::string> answer = m_prompt.InputText(
        "Here you may add your own attribute. Enter the attribute name, e.g. ALT",
        "Add new attribute", "");
    const std::string name = answer ? Trim(*answer) : std::string();
    if (name.empty())
        return;
    if (!ValidateNewKey(name)) {
        MessageKeyExist();
        return;
    }
    if (!IsAttributeName(name)) {
        m_prompt.Tell("An attribute name may hold only letters, digits and the characters - _ : "
                      "and . (for example ALT).",
            "Add new attribute", PromptIcon::Critical);
        return;
    }
    AddAttribute(name);
}

void WizardDialog::AddAttribute(const std::string& name)
{
    if (name.empty())
        return;
    m_attributes.push_back({ ToUpper(name), name, {}, true });
    m_grid->AddItem(ToDisplay(ToUpper(name)), ToDisplay(name), PropertyKind::Text, {}, {});
    m_grid->RedrawGrid();
    UpdatePreview();
}

bool WizardDialog::ValidateNewKey(const std::string& name) const
{
    const std::string upper = ToUpper(name);
    if (std::ranges::any_of(kReservedKeys, [&upper](const char* key) { return upper == key; }))
        return false;
    return std::ranges::none_of(m_attributes, [&upper](const WizardAttribute& attribute) {
        return attribute.Active && ToUpper(attribute.Name) == upper;
    });
}

void WizardDialog::MessageKeyExist()
{
    m_prompt.Tell(
        "This Attribute already exist in the collection.", m_state.AppTitle, PromptIcon::Critical);
}

WizardDialog::WizardAttribute* WizardDialog::ActiveAttribute(const std::string& key)
{
    const auto found = std::ranges::find_if(m_attributes, [&key](const WizardAttribute& attribute) {
        return attribute.Active && attribute.Key == key;
    });
    return found == m_attributes.end() ? nullptr : &*found;
}

std::vector<AttributePair> WizardDialog::ActiveAttributes() const
{
    std::vector<AttributePair> active;
    for (const WizardAttribute& attribute : m_attributes) {
        if (attribute.Active)
            active.push_back({ attribute.Name, attribute.Value });
    }
    return active;
}

} // namespace karvex
