// The options dialog driven through its real controls: what OK writes to kvx.ini and in which
// order, that Cancel and a refused reset write nothing, the enabling rules between the
// options, the live sample, and the command that opens it.

#include "components/code_box/code_box.h"
#include "components/color_selector/color_selector.h"
#include "components/command_bars/command_bars.h"
#include "core/model/app_state.h"
#include "core/settings/recent_files.h"
#include "core/util/file_io.h"
#include "support/editor_session.h"
#include "support/modal_answer.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"
#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <filesystem>

using namespace karvex;

namespace {

constexpr char kRestart[] = "Some changes in Options require a restart of the program.";

struct OptionsFixture
{
    test::TempDir Home;
    test::ScriptedPrompt Prompt;
    AppState State;

    explicit OptionsFixture(const std::string& settingsText)
    {
        State.AppTitle = "Karvex 3";
        State.SettingsPath = Home.File("kvx.ini");
        WriteWholeFile(State.SettingsPath, settingsText);
        LoadAllSettings(State.SettingsPath, State.Settings);
    }

    std::string Stored() const { return ReadWholeFile(State.SettingsPath).Bytes; }
};

template <class T> T* Find(const QWidget& dialog, const char* name)
{
    T* widget = dialog.findChild<T*>(name);
    if (!widget)
        qFatal("no %s in the options dialog", name);
    return widget;
}

void Click(const QWidget& dialog, const char* name)
{
    auto* button = Find<QAbstractButton>(dialog, name);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

void ShowTab(const QWidget& dialog, int tab)
{
    Find<QTabWidget>(dialog, "Tabs")->setCurrentIndex(tab);
}

// Chooses a palette cell of the selector's popup with the mouse, as a user does.
void PickCell(ColorSelector& selector, int cell)
{
    QTest::mouseClick(&selector, Qt::LeftButton, {}, selector.rect().center());
    QWidget* popup = selector.Popup();
    QVERIFY(popup && popup->isVisible());
    const QPoint at = selector.CellRect(cell).center();
    QTest::mousePress(popup, Qt::LeftButton, {}, at);
    QTest::mouseRelease(popup, Qt::LeftButton, {}, at);
    QVERIFY(!selector.IsPopupVisible());
}

QColor GutterPixel(CodeBox& sample)
{
    return sample.grab().toImage().pixelColor(4, sample.height() / 2);
}

} // namespace

class OptionsDialogTest : public QObject
{
    Q_OBJECT

private slots:
    // From a file holding one key, the edited options are written after it in the order the
    // dialog writes them, sections added as they are first needed; the settings reload.
    void okWritesEveryKeyInOrder()
    {
        OptionsFixture f("[General]\r\nini_ErrorLog=0\r\n");
        OptionsDialog dialog(f.State, f.Prompt);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        Click(dialog, "Search");
        ShowTab(dialog, OptionsDialog::LookTab);
        Click(dialog, "StandardLook");
        Click(dialog, "CoolCursor");
        ShowTab(dialog, OptionsDialog::ExternalPreviewTab);
        Click(dialog, "WholeDocument");
        auto* name = Find<QLineEdit>(dialog, "TempFileName");
        name->selectAll();
        QTest::keyClicks(name, "preview copy.html");
        Click(dialog, "TestSave");
        ShowTab(dialog, OptionsDialog::ColorTab);
        auto* items = Find<QListWidget>(dialog, "DisplayItems");
        QTest::mouseClick(items->viewport(), Qt::LeftButton, {},
            items->visualItemRect(items->item(3)).center()); // "HTML Comment"
        PickCell(*Find<ColorSelector>(dialog, "ItemColor"), 19); // pure red, &H0000FF
        Click(dialog, "OK");

        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(f.Stored(),
            std::string("[General]\r\nini_ErrorLog=0\r\nini_Search=0\r\nini_MapNameCheck=1\r\n"
                        "ini_WelcomeScreen=1\r\n"
                        "[Interface]\r\nini_Look=1\r\nini_Ruler=-2147483633\r\n"
                        "ini_Property=-2147483633\r\nCoolCursor=0\r\nini_CodeBox=-2147483633\r\n"
                        "[InternalPreview]\r\nini_ResetZoom=1\r\nini_StartExternal=1\r\n"
                        "ini_Tooltip=0\r\n"
                        "[ExternalPreview]\r\nini_DocExisting=1\r\nini_DocTmpFile=1\r\n"
                        "ini_DocFilename=preview copy.html\r\nini_TestAction=0\r\n"
                        "[Colors]\r\nini_Shape=0\r\nini_Border=0\r\nini_AttributeName=255\r\n"
                        "ini_AttributeValue=16711680\r\nini_ElementName=65280\r\n"
                        "ini_FontColor=0\r\nini_Comment=255\r\nini_SelectedBG=14800078\r\n"));
        QVERIFY(!f.State.Settings.ini_Search);
        QVERIFY(f.State.Settings.ini_Look);
        QCOMPARE(f.State.Settings.ini_DocFilename, std::string("preview copy.html"));
        QCOMPARE(f.State.Settings.ini_TestAction, 1);
        QCOMPARE(f.State.Settings.ini_Comment, 255);
        QCOMPARE(f.Prompt.Messages.size(), std::size_t { 1 });
        QCOMPARE(f.Prompt.Messages[0].Text, std::string(kRestart));
        QCOMPARE(f.Prompt.Messages[0].Icon, PromptIcon::Information);
        QCOMPARE(f.Prompt.Messages[0].Title, std::string("Karvex 3"));
    }

    // Cancel leaves the file's bytes alone, though the sample showed the new gutter at once.
    void cancelWritesNothingAfterALiveSample()
    {
        OptionsFixture f(DefaultSettingsText());
        const std::string before = f.Stored();
        OptionsDialog dialog(f.State, f.Prompt);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        ShowTab(dialog, OptionsDialog::ColorTab);
        auto* sample = Find<CodeBox>(dialog, "Sample");
        QCOMPARE(sample->RegionKeys(), QStringList({ "LINE1", "LINE2", "LINE3", "LINE4" }));
        const QColor gutter = GutterPixel(*sample);
        Find<QListWidget>(dialog, "DisplayItems")->setCurrentRow(5); // "Gutter Color"
        PickCell(*Find<ColorSelector>(dialog, "ItemColor"), 22); // &H00FF00, green
        QCOMPARE_NE(GutterPixel(*sample), gutter);
        QCOMPARE(GutterPixel(*sample), QColor(0, 255, 0));
        Click(dialog, "Search");
        Click(dialog, "Cancel");

        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(f.Stored(), before);
        QCOMPARE(f.State.Settings.ini_CodeBox, kSystemColorButtonFace);
        QVERIFY(f.Prompt.Messages.empty());
    }

    // Reset asks with No as the default; No changes nothing, Yes writes the default file and
    // so also empties the recent-files list and the wizard's numbers.
    void resetAsksThenWritesTheDefaultFile()
    {
        OptionsFixture f("[Recentfiles]\r\nFile1=/tmp/a.html\r\n[General]\r\nini_Search=0\r\n"
                         "[HotspotWizard]\r\nini_StartIndex=40\r\n");
        const std::string before = f.Stored();
        OptionsDialog dialog(f.State, f.Prompt);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        ShowTab(dialog, OptionsDialog::ResetTab);
        QVERIFY(!Find<QPushButton>(dialog, "Help")->isEnabled());

        f.Prompt.Answers.push_back(PromptAnswer::No);
        Click(dialog, "Reset");
        QCOMPARE(f.Prompt.Messages.size(), std::size_t { 1 });
        const PromptMessage& question = f.Prompt.Messages[0];
        QCOMPARE(question.Text, std::string("Are you sure you want to continue ?"));
        QCOMPARE(question.Icon, PromptIcon::Critical);
        QCOMPARE(question.Buttons, PromptButtons::YesNo);
        QCOMPARE(question.Default, PromptAnswer::No);
        QVERIFY(dialog.isVisible());
        QCOMPARE(f.Stored(), before);

        f.Prompt.Answers.push_back(PromptAnswer::Yes);
        Click(dialog, "Reset");
        QCOMPARE(f.Stored(), DefaultSettingsText());
        QVERIFY(f.State.Settings.ini_Search);
        QVERIFY(dialog.WasReset());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(f.Prompt.Messages.back().Text, std::string(kRestart));
    }

    // The options that depend on others follow them, both as the dialog opens and on a click.
    void enablingFollowsTheOptions()
    {
        OptionsFixture f("[Interface]\r\nini_Look=1\r\n[ExternalPreview]\r\nini_DocExisting=1\r\n"
                         "ini_DocTmpFile=0\r\nini_TestAction=0\r\n");
        OptionsDialog dialog(f.State, f.Prompt);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        ShowTab(dialog, OptionsDialog::LookTab);
        QVERIFY(Find<QRadioButton>(dialog, "StandardLook")->isChecked());
        QVERIFY(!Find<ColorSelector>(dialog, "RulerColor")->isEnabled());
        QVERIFY(!Find<ColorSelector>(dialog, "PropertyColor")->isEnabled());
        Click(dialog, "XpLook");
        QVERIFY(Find<ColorSelector>(dialog, "RulerColor")->isEnabled());

        // The whole page written over itself: the changes are saved anyway.
        ShowTab(dialog, OptionsDialog::ExternalPreviewTab);
        QVERIFY(Find<QRadioButton>(dialog, "SaveOver")->isChecked());
        QVERIFY(Find<QRadioButton>(dialog, "TestSave")->isChecked());
        QVERIFY(!Find<QRadioButton>(dialog, "TestPrompt")->isEnabled());
        QVERIFY(!Find<QRadioButton>(dialog, "TestDontSave")->isEnabled());
        Click(dialog, "TempFile");
        QVERIFY(Find<QRadioButton>(dialog, "TestDontSave")->isEnabled());
        Click(dialog, "WorkingMap");
        for (const char* name : { "SaveOver", "TempFile", "TempFileName" })
            QVERIFY2(!Find<QWidget>(dialog, name)->isEnabled(), name);
        QVERIFY(Find<QRadioButton>(dialog, "TestPrompt")->isEnabled());

        // Help follows the tab in front.
        QSignalSpy help(&dialog, &OptionsDialog::HelpRequested);
        for (int tab = OptionsDialog::GeneralTab; tab < OptionsDialog::ResetTab; ++tab) {
            ShowTab(dialog, tab);
            Click(dialog, "Help");
        }
        QList<int> topics;
        for (const QList<QVariant>& call : help)
            topics << call.at(0).toInt();
        QCOMPARE(topics, QList<int>({ 1002, 1005, 1003, 1001, 1006 }));
    }

    // Colour numbers no palette holds, or text, open the dialog with a colour shown; the
    // dialog writes back the numbers it was given.
    void oddColourNumbersOpen()
    {
        OptionsFixture f("[Interface]\r\nini_Ruler=abc\r\nini_Property=-5\r\n"
                         "[Colors]\r\nini_Shape=99999999999\r\nini_Border=-2147483624\r\n");
        OptionsDialog dialog(f.State, f.Prompt);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        ShowTab(dialog, OptionsDialog::ColorTab);
        QCOMPARE(Find<ColorSelector>(dialog, "ShapeColor")->SelectedColor(), 0);
        QCOMPARE(Find<ColorSelector>(dialog, "BorderColor")->SelectedColor(), -2147483624);
        ShowTab(dialog, OptionsDialog::LookTab);
        QCOMPARE(
            Find<ColorSelector>(dialog, "RulerColor")->SelectedColor(), kSystemColorButtonFace);
        Click(dialog, "OK");
        QCOMPARE(
            SettingValue(f.State.SettingsPath, "Interface", "ini_Property", SettingMode::Read, ""),
            std::string("-5"));
    }

    // A settings file that cannot be written: OK says so, and the dialog stays open with the
    // edits, so that nothing is lost silently.
    void okOnAReadOnlyFileSaysSo()
    {
        OptionsFixture f(DefaultSettingsText());
        std::filesystem::permissions(f.State.SettingsPath, std::filesystem::perms::owner_read);
        OptionsDialog dialog(f.State, f.Prompt);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        Click(dialog, "Search");
        Click(dialog, "OK");
        QVERIFY(dialog.isVisible());
        QVERIFY(!dialog.SettingsChanged());
        QCOMPARE(f.Stored(), DefaultSettingsText());
        QCOMPARE(f.Prompt.Messages.size(), std::size_t { 1 });
        const std::string& text = f.Prompt.Messages[0].Text;
        QVERIFY2(
            text.rfind("The options could not be saved in " + f.State.SettingsPath + ": ", 0) == 0,
            text.c_str());
        QCOMPARE(f.Prompt.Messages[0].Icon, PromptIcon::Critical);
        QVERIFY(f.State.Settings.ini_Search);
    }

    // File > Option opens the dialog with no document open; OK there applies the settings.
    void optionCommandWorksWithoutADocument()
    {
        test::Session session;
        QVERIFY(session.Bars().IsEnabled("Option"));
        test::AnswerModal<OptionsDialog>([](OptionsDialog& dialog) {
            dialog.findChild<QCheckBox*>("WelcomeScreen")->setChecked(true);
            dialog.findChild<QPushButton*>("OK")->click();
        });
        session.Window->RunCommand("Option");
        QVERIFY(session.State.Settings.ini_WelcomeScreen);
        QCOMPARE(session.Prompt.Messages.back().Text, std::string(kRestart));
    }
};

QTEST_MAIN(OptionsDialogTest)
#include "options_dialog_test.moc"
