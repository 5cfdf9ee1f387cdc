// The property grid driven with real clicks and keys on its rows and in-place editors,
// asserting on the values it shows and on the events it raises.

#include "components/property_grid/property_grid.h"
#include "components/property_grid/property_tree.h"
#include "components/property_grid/value_editor.h"
#include "support/grid_driver.h"
#include "support/modal_answer.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QTest>
#include <QToolButton>

using namespace karvex;
using karvex::grid::PropertyTree;
using karvex::grid::ValueEditor;

namespace {

struct GridHolder
{
    PropertyGrid Grid;
};

// A shown grid with one entry of each kind, recording every ValueChanged as "key=value".
struct Fixture : GridHolder, test::GridDriver
{
    PropertyTree* Tree = nullptr;
    QStringList Changes;

    Fixture()
        : test::GridDriver(Grid)
        , Tree(View())
    {
        Grid.SetUpdating(true);
        Grid.AddItem("Standard", "Standard", PropertyKind::Heading, "", "");
        Grid.AddItem("Name", "Name", PropertyKind::Text, "", "This is the name of the hotspot.");
        Grid.AddItem("X1", "X1", PropertyKind::Number, "10", "Specifies the left coordinate.");
        Grid.AddItem("Color", "Color", PropertyKind::Colour, "#453322", "Used in design-mode.");
        Grid.AddItem("Picture", "Picture", PropertyKind::File, "", "The picture file.");
        Grid.AddItem("Type", "Type", PropertyKind::Choice, "Rectangle", "Which hotspot type.");
        Grid.AddItem("Coordinates", "Coordinates", PropertyKind::Heading, "", "");
        Grid.AddItem("X2", "X2", PropertyKind::Number, "", "Specifies the right coordinate.");
        Grid.SetUpdating(false);
        QObject::connect(&Grid, &PropertyGrid::ValueChanged,
            [this](QString& value, const QString& key) { Changes << key + "=" + value; });
        Grid.resize(360, 420);
        Grid.show();
        Grid.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Grid));
    }

    QString Description() const
    {
        return Grid.findChild<QLabel*>("DescriptionCaption")->text() + ": "
            + Grid.findChild<QLabel*>("DescriptionText")->text();
    }
};

} // namespace

class PropertyGridTest : public QObject
{
    Q_OBJECT

private slots:
    void enterCommitsOnceEscapeAndCancelEditDoNot()
    {
        Fixture f;
        QVERIFY(f.Edit("Name", "Rectangle1"));
        QVERIFY(f.Edit("Name", "")); // the same text again is no change
        QVERIFY(f.Edit("Name", "After", Qt::Key_Escape));
        QVERIFY(f.Open("Name"));
        QTest::keyClicks(f.Editor(), "Other");
        f.Grid.CancelEdit();
        QVERIFY(f.Closed());
        QCOMPARE(f.Grid.Value("Name"), QString("Rectangle1"));
        QCOMPARE(f.Changes, QStringList { "Name=Rectangle1" });
    }

    void programWritesAndBusyEditsAreNotReported()
    {
        Fixture f;
        f.Grid.SetValue("Name", "Written");
        f.Grid.SetBusy(true);
        QVERIFY(f.Grid.IsBusy());
        f.Grid.SetValue("X1", "5");
        QVERIFY(f.Edit("Name", "Typed")); // shown but held back
        QCOMPARE(f.Grid.Value("Name"), QString("Typed"));
        QCOMPARE(f.Grid.Value("X1"), QString("5"));
        QVERIFY(f.Changes.isEmpty());
        f.Grid.SetBusy(false);
        QVERIFY(f.Open("Name"));
        QTest::keyClick(f.Editor(), Qt::Key_End);
        QVERIFY(f.Type("2"));
        QCOMPARE(f.Changes, QStringList { "Name=Typed2" });
    }

    void handlerRewritesTheShownValue()
    {
        Fixture f;
        QObject::connect(
            &f.Grid, &PropertyGrid::ValueChanged, [&f](QString& value, const QString& key) {
                value.remove(u'"');
                // A refused value: the program writes the old one back itself.
                if (key == "X1" && value == "999")
                    f.Grid.SetValue("x1", "10");
            });
        QVERIFY(f.Edit("Name", "a\"b\""));
        QVERIFY(f.Edit("X1", "999"));
        QCOMPARE(f.Grid.Value("Name"), QString("ab"));
        QCOMPARE(f.Grid.Value("X1"), QString("10"));
        QCOMPARE(f.Changes, QStringList({ "Name=a\"b\"", "X1=999" }));
    }

    void keysOpenEditorsCommitAndMoveOn()
    {
        Fixture f;
        f.Grid.SetValue("Name", "Old");
        f.Click("Standard", true);
        QCOMPARE(f.Tree->currentItem(), f.Tree->ItemByKey("Standard"));
        QVERIFY(!f.Editor());
        QTest::keyClick(f.Tree, Qt::Key_Down);
        QCOMPARE(f.Tree->currentItem(), f.Tree->ItemByKey("Name"));
        QCOMPARE(f.Description(), QString("Name: This is the name of the hotspot."));

        // The typed character replaces the value; '-' is not taken as "collapse".
        QTest::keyClick(f.Tree, Qt::Key_Minus);
        QTRY_VERIFY(f.Editor());
        QCOMPARE(f.Editor()->text(), QString("-"));
        QTest::keyClicks(f.Editor(), "Z");
        QTest::keyClick(f.Editor(), Qt::Key_Tab);
        QTRY_COMPARE(f.Tree->currentItem(), f.Tree->ItemByKey("X1"));
        QTRY_VERIFY(f.Editor());
        QCOMPARE(f.Editor()->text(), QString("10"));
        // Focus leaving the grid commits the open edit.
        QTest::keyClick(f.Editor(), Qt::Key_End);
        QTest::keyClicks(f.Editor(), "5");
        QLineEdit outside(&f.Grid);
        outside.show();
        outside.setFocus();
        QTRY_COMPARE(f.Changes, QStringList({ "Name=-Z", "X1=105" }));

        // F2 on a heading opens nothing; Enter on a heading folds it.
        f.Tree->setFocus();
        f.Tree->setCurrentItem(f.Tree->ItemByKey("Coordinates"));
        QTest::keyClick(f.Tree, Qt::Key_F2);
        QVERIFY(!f.Editor());
        QTest::keyClick(f.Tree, Qt::Key_Return);
        QVERIFY(!f.Tree->ItemByKey("Coordinates")->isExpanded());
    }

    void numberAndColourEditorsFilterWhatIsTyped()
    {
        Fixture f;
        QVERIFY(f.Open("X1"));
        QTest::keyClicks(f.Editor(), "-1x2.3");
        QCOMPARE(f.Editor()->text(), QString("-123"));
        QVERIFY(f.Type(""));
        QVERIFY(f.Open("Color"));
        QTest::keyClicks(f.Editor(), "ff00g00");
        QCOMPARE(f.Editor()->text(), QString("ff0000"));
        QVERIFY(f.Type(""));
        QCOMPARE(f.Grid.Value("X1"), QString("-123"));
        QCOMPARE(f.Grid.Value("Color"), QString("#FF0000"));
        QCOMPARE(f.Changes, QStringList({ "X1=-123", "Color=#FF0000" }));
    }

    void colourButtonPicksAndCommitsHtmlForm()
    {
        Fixture f;
        QVERIFY(f.Open("Color"));
        // The colour dialog is modal: answer it once it is up. Its focus must not end the edit.
        QColor offered;
        test::AnswerModal<QColorDialog>([&offered](QColorDialog& dialog) {
            offered = dialog.currentColor();
            dialog.setCurrentColor(QColor(0x12, 0xAB, 0xEF));
            dialog.accept();
        });
        QTest::mouseClick(f.Button(), Qt::LeftButton);
        QCOMPARE(offered, QColor(0x45, 0x33, 0x22));
        QCOMPARE(f.Changes, QStringList { "Color=#12ABEF" });
        QCOMPARE(f.Grid.Value("Color"), QString("#12ABEF"));
        QVERIFY(f.Closed());

        // A cancelled dialog leaves the edit open with what was typed, uncommitted.
        QVERIFY(f.Open("Color"));
        QTest::keyClicks(f.Editor(), "00FF00");
        test::AnswerModal<QColorDialog>([](QColorDialog& dialog) {
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            dialog.reject();
        });
        QTest::mouseClick(f.Button(), Qt::LeftButton);
        QVERIFY(f.Editor());
        QCOMPARE(f.Editor()->text(), QString("00FF00"));
        QCOMPARE(f.Changes.size(), 1);
        QVERIFY(f.Type(""));
        QTRY_COMPARE(f.Changes, QStringList({ "Color=#12ABEF", "Color=#00FF00" }));
    }

    void choiceListComesFromChoicesWantedAndCommits()
    {
        Fixture f;
        QStringList askedFor;
        QObject::connect(&f.Grid, &PropertyGrid::ChoicesWanted,
            [&askedFor](QStringList& choices, const QString& key) {
                askedFor << key;
                if (key.toUpper() == "TYPE")
                    choices = QStringList({ "Rectangle", "Circle", "Polygon" });
            });
        f.Click("Type");
        QComboBox* combo = nullptr;
        QTRY_VERIFY((combo = f.Tree->findChild<QComboBox*>("ChoiceEditor")) != nullptr);
        QCOMPARE(askedFor, QStringList { "Type" });
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->currentText(), QString("Rectangle"));
        QAbstractItemView* list = combo->view();
        QTRY_VERIFY(list->isVisible());
        const QRect polygon = list->visualRect(list->model()->index(2, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, polygon.center());
        QTRY_COMPARE(f.Changes, QStringList { "Type=Polygon" });
        QCOMPARE(f.Grid.Value("type"), QString("Polygon"));
    }

    void browseButtonRaisesBrowseClickedAndCommits()
    {
        Fixture f;
        QStringList browsed;
        QString answer; // what the handler's file dialog "chose"; empty = cancelled
        QObject::connect(
            &f.Grid, &PropertyGrid::BrowseClicked, [&](QString& value, const QString& key) {
                browsed << key + "=" + value;
                // A native file dialog takes the focus out of the program's windows.
                if (QWidget* focused = QApplication::focusWidget())
                    focused->clearFocus();
                if (!answer.isEmpty())
                    value = answer;
            });
        f.Grid.SetValue("Picture", "old.gif");
        QVERIFY(f.Open("Picture"));
        QTest::keyClick(f.Editor(), Qt::Key_End);
        QTest::keyClicks(f.Editor(), "x");
        QTest::mouseClick(f.Button(), Qt::LeftButton);
        QCOMPARE(browsed, QStringList { "Picture=old.gifx" });
        // Cancelled: the edit goes on with the typed text, nothing is reported.
        QVERIFY(f.Editor() && f.Editor()->hasFocus());
        QCOMPARE(f.Editor()->text(), QString("old.gifx"));
        QVERIFY(f.Changes.isEmpty());

        answer = "C:/pictures/new.gif";
        QTest::mouseClick(f.Button(), Qt::LeftButton);
        QCOMPARE(browsed.size(), 2);
        QCOMPARE(f.Changes, QStringList { "Picture=" + answer });
        QCOMPARE(f.Grid.Value("Picture"), answer);
        QVERIFY(f.Closed());

        // A handler that writes the entry itself ends the edit; the old text is not committed.
        answer.clear();
        QObject::connect(&f.Grid, &PropertyGrid::BrowseClicked,
            [&f](QString&, const QString& key) { f.Grid.SetValue(key, "written.gif"); });
        QVERIFY(f.Open("Picture"));
        QTest::mouseClick(f.Button(), Qt::LeftButton);
        QVERIFY(f.Closed());
        QCOMPARE(f.Grid.Value("Picture"), QString("written.gif"));
        QCOMPARE(f.Changes.size(), 1);
    }

    void greyedEntriesAndADisabledGridTakeNoInput()
    {
        Fixture f;
        f.Grid.SetItemState("x2", 1);
        QCOMPARE(f.Grid.ItemState("X2"), 1);
        f.Click("X2");
        for (const Qt::Key key : { Qt::Key_Return, Qt::Key_5, Qt::Key_F2 })
            QTest::keyClick(f.Tree, key);
        QVERIFY(!f.Editor());
        QCOMPARE(f.Grid.Value("X2"), QString());
        f.Grid.SetItemState("X2", 0);
        QVERIFY(f.Open("X2"));
        f.Grid.CancelEdit();

        f.Grid.SetGridEnabled(false);
        f.Click("Name");
        QVERIFY(!f.Editor());
        f.Grid.SetGridEnabled(true);
        QVERIFY(f.Open("Name"));
        QVERIFY(f.Changes.isEmpty());
    }

    void keysIgnoreCaseAndEntriesComeAndGo()
    {
        Fixture f;
        QVERIFY(f.Grid.HasItem("cOLOR"));
        QVERIFY(!f.Grid.HasItem("Colour"));
        QCOMPARE(f.Grid.Value("COLOR"), QString("#453322"));
        f.Grid.SetValue("name", "A");
        QCOMPARE(f.Grid.Value("NAME"), QString("A"));
        QCOMPARE(f.Grid.Value("Missing"), QString());
        f.Grid.SetValue("Missing", "ignored");
        // A key already present is not added twice, in any case.
        f.Grid.AddItem("TYPE", "Other", PropertyKind::Text, "x", "");
        QCOMPARE(f.Grid.ItemCount(), 8);
        QCOMPARE(f.Grid.Value("Type"), QString("Rectangle"));

        // Extra entries under their own heading, removed again one by one (the panel's "Customs").
        f.Grid.AddItem("##Customs", "Customs", PropertyKind::Heading, "", "");
        f.Grid.AddItem("data-x", "data-x", PropertyKind::Text, "1", "");
        f.Grid.AddItem("data-y", "data-y", PropertyKind::Text, "2", "");
        QCOMPARE(f.Grid.ItemCount(), 11);
        QCOMPARE(f.Tree->ItemByKey("data-y")->parent(), f.Tree->ItemByKey("##CUSTOMS"));
        f.Grid.RemoveItem("DATA-X");
        QCOMPARE(f.Grid.ItemCount(), 10);
        QVERIFY(!f.Grid.HasItem("data-x"));
        // Removing a heading takes its entries with it; removing them afterwards is harmless.
        f.Grid.RemoveItem("##CUSTOMS");
        f.Grid.RemoveItem("data-y");
        QCOMPARE(f.Grid.ItemCount(), 8);
        QVERIFY(!f.Grid.HasItem("data-y"));
        // The next entry goes under the last heading that remains.
        f.Grid.AddItem("Y2", "Y2", PropertyKind::Number, "", "");
        QCOMPARE(f.Tree->ItemByKey("Y2")->parent(), f.Tree->ItemByKey("Coordinates"));

        // ResetItems empties every value; the entries and headings stay.
        f.Grid.ResetItems();
        for (const char* key : { "Name", "X1", "Color", "Picture", "Type", "X2" })
            QCOMPARE(f.Grid.Value(key), QString());
        QCOMPARE(f.Grid.ItemCount(), 9);
        QVERIFY(f.Changes.isEmpty());
    }
};

QTEST_MAIN(PropertyGridTest)
#include "property_grid_test.moc"
