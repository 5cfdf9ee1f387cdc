#pragma once

// The hotspot wizard: four pages that take a template hotspot (from the document or the
// program's hotspot clipboard), the grid's start, spacing, counts and first index, the name
// pattern, colour, lock and extra AREA attributes with a preview of the AREA code, and then
// generate the grid into the document in one batch.

#include "core/model/records.h"
#include "core/operations/hotspot_grid.h"

#include <QDialog>
#include <QString>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace karvex {

struct AppState;
class DocumentWindow;
class PropertyGrid;
class Prompt;

class WizardDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kPageCount = 4;
    // A grid of more hotspots than this asks before it is made. More than the limit is refused:
    // each hotspot takes about 10 kB in the document, its history, the surface and the code
    // page, so a quarter of a million is already some 2.5 GB.
    static constexpr long long kAskAbove = 100000;
    static constexpr long long kGridLimit = 250000;

    // clipboardTemplate: the hotspot last copied or cut inside the program (its coordinates
    // relative to its own corner), nullptr when there is none.
    WizardDialog(AppState& state, Prompt& prompt, DocumentWindow& window,
        const Hotspot* clipboardTemplate, QWidget* parent = nullptr);

    int Step() const { return m_step; }

signals:
    void HelpRequested(int topic);

private:
    // An extra attribute; removed ones stay in the list inactive, so entries never move.
    struct WizardAttribute
    {
        std::string Key; // upper case: the grid row's key
        std::string Name;
        std::string Value;
        bool Active = false;
    };

    // Pages and their controls (wizard_pages.cpp).
    void BuildLayout();
    QWidget* BuildTemplatePage();
    QWidget* BuildNumbersPage();
    QWidget* BuildAttributesPage();
    QWidget* BuildFinishPage();
    QLineEdit* NumberBox(const char* objectName, std::int32_t value);

    void AddFixedRows();
    void SetupProperties();
    void PopulateCombo();
    void CheckClipboard();
    void RefreshSteps();
    void UpdatePreview();
    bool TakeTemplate();
    GridNumbers Numbers() const;
    void OnNext();
    void OnBack();
    void StartCompile();
    // The generation itself, after the checks; false after a name clash.
    bool Generate(const GridNumbers& numbers, long long count);

    void OnGridValue(QString& value, const QString& key);
    void OnGridSelection(const QString& key);
    void OnMoveIn();
    void OnMoveOut();
    void OnAddAttributeClicked();
    void AddAttribute(const std::string& name);
    bool ValidateNewKey(const std::string& name) const;
    void MessageKeyExist();
    WizardAttribute* ActiveAttribute(const std::string& key);
    std::vector<AttributePair> ActiveAttributes() const;

    AppState& m_state;
    Prompt& m_prompt;
    DocumentWindow& m_window;
    const Hotspot* m_clipboardTemplate;

    int m_step = 1;
    bool m_noSource = false;
    GridTemplate m_template;
    std::string m_nameTemplate = "myHotspot%INDEX%";
    std::int32_t m_hotspotColor = 0;
    bool m_hotspotLocked = false;
    QString m_colorText = "#000000";
    QString m_selectedKey;
    std::vector<WizardAttribute> m_attributes;
    std::string m_codeTemplate;

    QStackedWidget* m_pages = nullptr;
    QLabel* m_stepText = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_complete = nullptr;
    QPushButton* m_cancel = nullptr;
    QRadioButton* m_fromDocument = nullptr;
    QRadioButton* m_fromClipboard = nullptr;
    QComboBox* m_hotspotList = nullptr;
    QLabel* m_note = nullptr;
    std::vector<QLineEdit*> m_numbers; // Text1 to Text7
    QListWidget* m_predefined = nullptr;
    PropertyGrid* m_grid = nullptr;
    QPushButton* m_moveIn = nullptr;
    QPushButton* m_moveOut = nullptr;
    QPlainTextEdit* m_preview = nullptr;
    QProgressBar* m_progress = nullptr;
};

} // namespace karvex
