// The hotspot wizard driven as a user drives it: its real buttons, number boxes, attribute list
// and property grid, from the Mapping command to the grid in the document.

#include "components/code_box/code_box.h"
#include "components/command_bars/command_bars.h"
#include "components/property_grid/property_grid.h"
#include "core/util/file_io.h"
#include "support/editor_session.h"
#include "support/grid_driver.h"
#include "support/modal_answer.h"
#include "ui/document_model.h"
#include "ui/wizard_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <functional>

using namespace karvex;
using test::Session;

namespace {

struct WizardSession : Session
{
    WizardSession() { NewDocument(Picture("grid.png", 400, 300)); }

    std::string Settings() { return ReadWholeFile(Home.File("kvx.ini")).Bytes; }

    // Opens the wizard with the Mapping command and runs steps in it; a wizard the steps left
    // open is cancelled, so that a failed check cannot hold the test in the dialog.
    void RunWizard(const std::function<void(WizardDialog&)>& steps)
    {
        bool ran = false;
        test::AnswerModal<WizardDialog>([&](WizardDialog& wizard) {
            ran = true;
            steps(wizard);
            if (wizard.isVisible())
                wizard.reject();
        });
        Window->RunCommand("Wizard");
        QVERIFY(ran);
    }
};

template <class T> T& Child(QWidget& parent, const char* name)
{
    T* child = parent.findChild<T*>(name);
    if (!child)
        qFatal("no %s", name);
    return *child;
}

void Press(WizardDialog& wizard, const char* button)
{
    QTest::mouseClick(&Child<QPushButton>(wizard, button), Qt::LeftButton);
}

// Types text over a number box's contents (an empty text leaves it empty).
void Enter(WizardDialog& wizard, const char* box, const QString& text)
{
    QLineEdit& edit = Child<QLineEdit>(wizard, box);
    edit.setFocus();
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClicks(&edit, text);
}

int Page(WizardDialog& wizard) { return Child<QStackedWidget>(wizard, "Pages").currentIndex() + 1; }

void MoveIn(WizardDialog& wizard, const QString& name)
{
    QListWidget& list = Child<QListWidget>(wizard, "List1");
    const auto found = list.findItems(name, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(found[0]).center());
    Press(wizard, "MoveInButton");
}

QStringList ListItems(WizardDialog& wizard)
{
    QStringList items;
    QListWidget& list = Child<QListWidget>(wizard, "List1");
    for (int i = 0; i < list.count(); ++i)
        items << list.item(i)->text();
    return items;
}

} // namespace

class WizardTest : public QObject
{
    Q_OBJECT

private slots:
    // The worked example: a 40 x 20 rectangle at 10, 10 with spacing 3, three by three.
    void nineRectanglesFromTheDocumentsRectangle()
    {
        WizardSession app;
        const int first = app.DrawRectangle({ 30, 40 }, { 70, 60 });
        QCOMPARE(app.Spot(first).Coords, std::string("30,40,70,60"));
        app.RunWizard([](WizardDialog& wizard) {
            QVERIFY(Child<QRadioButton>(wizard, "FromDocument").isChecked());
            QCOMPARE(Child<QComboBox>(wizard, "Combo1").currentText(), QString("Rectangle1"));
            QVERIFY(!Child<QLabel>(wizard, "NoteLabel").isVisible());
            Press(wizard, "NextButton");
            QCOMPARE(
                Child<QLabel>(wizard, "StepLabel").text(), QString("You are now on step 2 of 4"));
            for (const char* box : { "Text1", "Text2" })
                Enter(wizard, box, "10");
            for (const char* box : { "Text3", "Text4" })
                Enter(wizard, box, "3");
            for (const char* box : { "Text5", "Text6" })
                Enter(wizard, box, "3");
            Enter(wizard, "Text7", "1");
            // Only digits go in.
            QTest::keyClicks(&Child<QLineEdit>(wizard, "Text7"), "-x ");
            QCOMPARE(Child<QLineEdit>(wizard, "Text7").text(), QString("1"));
            Press(wizard, "NextButton");

            MoveIn(wizard, "Href");
            test::GridDriver grid(Child<PropertyGrid>(wizard, "ZQPropList1"));
            QVERIFY(grid.Edit("HREF", "page%INDEX%.htm"));
            QCOMPARE(Child<QPlainTextEdit>(wizard, "RichTextBox1").toPlainText(),
                QString("<AREA SHAPE=\"RECT\" COORDS=%COORDS% Href=\"page%INDEX%.htm\">"));
            Press(wizard, "NextButton");
            QCOMPARE(Page(wizard), 4);
            Press(wizard, "CompleteButton");
            QVERIFY(!wizard.isVisible());
        });

        const char* expected[] = { "10,10,50,30", "53,10,93,30", "96,10,136,30", "10,33,50,53",
            "53,33,93,53", "96,33,136,53", "10,56,50,76", "53,56,93,76", "96,56,136,76" };
        QCOMPARE(app.State.HotspotNames.Count(), std::size_t { 10 });
        for (int i = 0; i < 9; ++i) {
            const Hotspot& spot = app.Spot(first + 1 + i);
            QCOMPARE(spot.Name, "myHotspot" + std::to_string(i + 1));
            QCOMPARE(spot.Coords, std::string(expected[i]));
        }
        QVERIFY(app.Spot(first + 5).AreaTag.find("Href=\"page5.htm\"") != std::string::npos);
        app.Surface().SelectFigure(first + 9);
        QCOMPARE(app.Surface().SelectedCoords(), std::string("96,56,136,76"));
        QCOMPARE(app.Code().RegionText("myHotspot9"),
            QString::fromStdString(app.Spot(first + 9).AreaTag));
        const std::string settings = app.Settings();
        QVERIFY(settings.find("ini_StartIndex=1") != std::string::npos);
        QVERIFY(settings.find("ini_HorizontalHotspots=3") != std::string::npos);

        // The grid is one step; the drawing before it is no longer in the history.
        app.Window->RunCommand("Undo");
        QCOMPARE(app.State.HotspotNames.Count(), std::size_t { 1 });
        QVERIFY(!app.Bars().IsEnabled("Undo"));
        QVERIFY(app.Current().Changed);
    }

    void nameClashStopsOnTheAttributePage()
    {
        WizardSession app;
        const int taken = app.DrawRectangle({ 10, 10 }, { 30, 30 });
        QCOMPARE(app.Docs().ActiveWindow()->Model().Rename(taken, "MYHOTSPOT4"), RenameCheck::Ok);
        const Document before = app.Current();
        const std::string settings = app.Settings();
        app.RunWizard([&](WizardDialog& wizard) {
            for (int i = 0; i < 3; ++i)
                Press(wizard, "NextButton");
            Press(wizard, "CompleteButton");
            QCOMPARE(app.Prompt.Messages.size(), std::size_t { 1 });
            QCOMPARE(app.Prompt.Messages.back().Text,
                std::string("One of the generated hotspots name already exist in the document. "
                            "Please select another name."));
            QCOMPARE(app.Prompt.Messages.back().Icon, PromptIcon::Critical);
            QVERIFY(wizard.isVisible());
            QCOMPARE(Page(wizard), 3);
            QCOMPARE(wizard.Step(), 3);
            QVERIFY(app.Current().Hotspots == before.Hotspots);
            QCOMPARE(app.Settings(), settings);

            // Another name, and the same wizard goes through.
            test::GridDriver grid(Child<PropertyGrid>(wizard, "ZQPropList1"));
            QCOMPARE(grid.Replace("Name", "Seat"), QString("Seat"));
            Press(wizard, "NextButton");
            Press(wizard, "CompleteButton");
            QVERIFY(!wizard.isVisible());
        });
        QCOMPARE(app.State.HotspotNames.Count(), std::size_t { 10 });
        // The first index of a settings file without it is 3.
        QVERIFY(app.State.HotspotNames.Contains("Seat3"));
        QVERIFY(app.State.HotspotNames.Contains("Seat11"));
    }

    void attributesBoxesAndCancel()
    {
        WizardSession app;
        app.DrawRectangle({ 10, 10 }, { 30, 30 });
        const std::string settings = app.Settings();
        app.RunWizard([&](WizardDialog& wizard) {
            Press(wizard, "NextButton");
            Enter(wizard, "Text5", "9");
            Press(wizard, "NextButton");
            QVERIFY(!Child<QPushButton>(wizard, "MoveInButton").isEnabled());
            QVERIFY(!Child<QPushButton>(wizard, "MoveOutButton").isEnabled());

            MoveIn(wizard, "Href");
            MoveIn(wizard, "Alt");
            QVERIFY(!ListItems(wizard).contains("Alt"));
            test::GridDriver grid(Child<PropertyGrid>(wizard, "ZQPropList1"));
            QVERIFY(grid.Edit("HREF", "index.htm"));
            QCOMPARE(Child<QPlainTextEdit>(wizard, "RichTextBox1").toPlainText(),
                QString("<AREA SHAPE=\"RECT\" COORDS=%COORDS% Href=\"index.htm\" Alt=\"\">"));

            // The add button refuses a name already active in any letter case.
            app.Prompt.Inputs.push_back("ALT");
            Press(wizard, "AddAttributeButton");
            QCOMPARE(app.Prompt.Messages.back().Text,
                std::string("This Attribute already exist in the collection."));
            QCOMPARE(app.Prompt.Messages.back().Icon, PromptIcon::Critical);
            // Back with "<<", then the add button takes it, and "Alt" is offered again.
            grid.Click("ALT", true);
            QVERIFY(Child<QPushButton>(wizard, "MoveOutButton").isEnabled());
            Press(wizard, "MoveOutButton");
            QCOMPARE(ListItems(wizard).back(), QString("Alt"));
            app.Prompt.Inputs.push_back("ALT");
            Press(wizard, "AddAttributeButton");
            QVERIFY(grid.Edit("ALT", "Seat"));
            QCOMPARE(Child<QPlainTextEdit>(wizard, "RichTextBox1").toPlainText(),
                QString("<AREA SHAPE=\"RECT\" COORDS=%COORDS% Href=\"index.htm\" ALT=\"Seat\">"));
            QVERIFY(ListItems(wizard).contains("Alt"));
            // A name that would break the tag is refused with its own message.
            app.Prompt.Inputs.push_back("on click");
            Press(wizard, "AddAttributeButton");
            QVERIFY(app.Prompt.Messages.back().Text.starts_with("An attribute name may hold only"));
            QVERIFY(!Child<PropertyGrid>(wizard, "ZQPropList1").HasItem("on click"));

            Press(wizard, "CancelButton");
        });
        QCOMPARE(app.State.HotspotNames.Count(), std::size_t { 1 });
        QCOMPARE(app.Settings(), settings);
    }

    void emptyAndHugeCounts()
    {
        WizardSession app;
        app.DrawRectangle({ 10, 10 }, { 30, 30 });
        app.RunWizard([&](WizardDialog& wizard) {
            Press(wizard, "NextButton");
            Enter(wizard, "Text5", "400");
            Enter(wizard, "Text6", "300");
            for (int i = 0; i < 2; ++i)
                Press(wizard, "NextButton");
            // 120,000 hotspots: asked first, and No changes nothing.
            app.Prompt.Answers.push_back(PromptAnswer::No);
            Press(wizard, "CompleteButton");
            QCOMPARE(app.Prompt.Messages.back().Buttons, PromptButtons::YesNo);
            QVERIFY(wizard.isVisible());
            QCOMPARE(app.State.HotspotNames.Count(), std::size_t { 1 });
            // A million is refused outright.
            for (int i = 0; i < 3; ++i)
                Press(wizard, "BackButton");
            Enter(wizard, "Text5", "1000");
            Enter(wizard, "Text6", "1000");
            for (int i = 0; i < 3; ++i)
                Press(wizard, "NextButton");
            Press(wizard, "CompleteButton");
            QCOMPARE(app.Prompt.Messages.back().Text,
                std::string("This grid would make 1,000,000 hotspots; the wizard makes at most "
                            "250,000 at a time. Please enter fewer hotspots."));
            QCOMPARE(app.Prompt.Messages.size(), std::size_t { 2 });
            QCOMPARE(app.State.HotspotNames.Count(), std::size_t { 1 });

            // An emptied box counts as 0: nothing is made, and the wizard closes.
            for (int i = 0; i < 3; ++i)
                Press(wizard, "BackButton");
            Enter(wizard, "Text6", "");
            for (int i = 0; i < 3; ++i)
                Press(wizard, "NextButton");
            Press(wizard, "CompleteButton");
            QVERIFY(!wizard.isVisible());
        });
        QCOMPARE(app.State.HotspotNames.Count(), std::size_t { 1 });
        QVERIFY(app.Settings().find("ini_VerticalHotspots=0") != std::string::npos);
        QVERIFY(app.Bars().IsEnabled("Undo")); // nothing made: the history stays
    }

    void templateFromTheClipboardOrNone()
    {
        WizardSession app;
        std::vector<int> help;
        app.Docs().SetHelpOpener([&help](int topic) { help.push_back(topic); });
        app.RunWizard([&](WizardDialog& wizard) {
            QVERIFY(Child<QLabel>(wizard, "NoteLabel").isVisible());
            QVERIFY(!Child<QPushButton>(wizard, "NextButton").isEnabled());
            QVERIFY(!Child<QPushButton>(wizard, "BackButton").isEnabled());
            Press(wizard, "CancelButton");
        });

        Hotspot copied;
        copied.Shape = ShapeCircle;
        copied.Coords = "15,15,15";
        copied.Name = "Circle1";
        app.State.HotspotClipboard.push_back(copied);
        app.RunWizard([&](WizardDialog& wizard) {
            QVERIFY(Child<QRadioButton>(wizard, "FromClipboard").isChecked());
            QVERIFY(!Child<QRadioButton>(wizard, "FromDocument").isEnabled());
            Press(wizard, "NextButton");
            Enter(wizard, "Text5", "2");
            Enter(wizard, "Text6", "1");
            Press(wizard, "NextButton");
            Press(wizard, "HelpButton");
            Press(wizard, "NextButton");
            Press(wizard, "CompleteButton");
        });
        QCOMPARE(help, std::vector<int> { 7001 });
        QCOMPARE(app.State.HotspotNames.Count(), std::size_t { 2 });
        QCOMPARE(app.Spot(1).Coords, std::string("25,25,15"));
        QCOMPARE(app.Spot(2).Coords, std::string("58,25,15"));
        QCOMPARE(app.Spot(2).Shape, static_cast<std::int32_t>(ShapeCircle));
    }
};

QTEST_MAIN(WizardTest)
#include "wizard_test.moc"
