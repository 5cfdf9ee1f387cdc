#pragma once

// The options dialog: six tabs that edit the settings file's keys, a sample of the code box in
// the chosen colours, and a reset to the default file. OK writes every key at once and
// reloads the settings; Cancel writes nothing.

#include "core/settings/option_values.h"
#include "ui/help_topics.h"

#include <QDialog>
#include <array>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace karvex {

struct AppState;
class CodeBox;
class ColorSelector;
class Prompt;

class OptionsDialog : public QDialog
{
    Q_OBJECT

public:
    enum Tab { GeneralTab, LookTab, InternalPreviewTab, ExternalPreviewTab, ColorTab, ResetTab };
    // Help topics of the tabs in order; the reset tab has none.
    static constexpr std::array<int, 6> kHelpTopics = { kOptionsGeneralHelp, kOptionsLookHelp,
        kOptionsInternalPreviewHelp, kOptionsExternalPreviewHelp, kOptionsDesignColorHelp, 0 };

    OptionsDialog(AppState& state, Prompt& prompt, QWidget* parent = nullptr);

    // The values the controls hold now.
    OptionValues Values() const;
    // True once OK or Reset has written the settings file and reloaded the settings.
    bool SettingsChanged() const { return m_settingsChanged; }
    bool WasReset() const { return m_wasReset; }

signals:
    void HelpRequested(int topic);

private:
    QWidget* BuildGeneralTab();
    QWidget* BuildLookTab();
    QWidget* BuildInternalPreviewTab();
    QWidget* BuildExternalPreviewTab();
    QWidget* BuildColorTab();
    QWidget* BuildResetTab();
    ColorSelector* NewColorSelector(const QString& caption, QLabel** label);

    void LoadingSampleTxt();
    void Fill(const OptionValues& values);
    void SetTestAction(TestAction action);
    void UpdColorCodeBox();
    void State_AppLook();
    void State_ExternalPreview();
    void State_TestingMAP();
    void OnTabChanged(int index);
    void OnDisplayItemClicked();
    void OnItemColorChanged(std::int32_t color);
    void OnOk();
    void OnReset();
    void EndMessage();

    AppState& m_state;
    Prompt& m_prompt;
    bool m_settingsChanged = false;
    bool m_wasReset = false;

    // The nine colours the dialog edits, written back by OK.
    std::int32_t m_shape = 0;
    std::int32_t m_border = 0;
    std::array<std::int32_t, kCodeColorCount> m_codeColors {};
    int m_displayItem = 0;

    QTabWidget* m_tabs = nullptr;
    QPushButton* m_help = nullptr;
    QCheckBox* m_welcome = nullptr;
    QCheckBox* m_mapNameCheck = nullptr;
    QCheckBox* m_search = nullptr;
    QRadioButton* m_standardLook = nullptr;
    QRadioButton* m_xpLook = nullptr;
    QLabel* m_rulerLabel = nullptr;
    ColorSelector* m_ruler = nullptr;
    QLabel* m_propertyLabel = nullptr;
    ColorSelector* m_property = nullptr;
    QCheckBox* m_coolCursor = nullptr;
    QCheckBox* m_resetZoom = nullptr;
    QCheckBox* m_startExternal = nullptr;
    QRadioButton* m_standardTooltip = nullptr;
    QRadioButton* m_balloonTooltip = nullptr;
    QRadioButton* m_workingMap = nullptr;
    QRadioButton* m_wholeDocument = nullptr;
    QRadioButton* m_saveOver = nullptr;
    QRadioButton* m_tempFile = nullptr;
    QLineEdit* m_tempFileName = nullptr;
    QButtonGroup* m_testActions = nullptr;
    QRadioButton* m_testSave = nullptr;
    QRadioButton* m_testPrompt = nullptr;
    QRadioButton* m_testDontSave = nullptr;
    ColorSelector* m_shapeColor = nullptr;
    ColorSelector* m_borderColor = nullptr;
    QListWidget* m_displayItems = nullptr;
    ColorSelector* m_itemColor = nullptr;
    CodeBox* m_sample = nullptr;
};

} // namespace karvex
