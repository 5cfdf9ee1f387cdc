// The property grid driven with real clicks and keys on its rows and in-place editors,
// asserting on the values it shows and on the events it raises.

#include "components/property_grid/property_grid.h"
#include "components/property_grid/property_tree.h"
#include "components/property_grid/value_editor.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

using namespace karvex;
using karvex::grid::PropertyTree;
using karvex::grid::ValueEditor;

namespace {

struct Change
{
    QString Value;
    QString Key;
};

// A shown grid with one entry of each kind, recording every ValueChanged.
struct Fixture
{
    PropertyGrid Grid;
    PropertyTree* Tree = nullptr;
    std::vector<Change> Changes;

    Fixture()
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
        QObject::connect(
            &Grid, &PropertyGrid::ValueChanged, [this](QString& value, const QString& key) {
                Changes.push_back({ value, key });
            });
        Grid.resize(360, 420);
        Grid.show();
        Grid.activateWindow();
        Tree = Grid.findChild<PropertyTree*>("PropertyTree");
    }

    QPoint ValuePoint(const QString& key) const
    {
        const QRect row = Tree->visualItemRect(Tree->ItemByKey(key));
        return { Tree->header()->sectionPosition(1) + 30, row.center().y() };
    }

    QPoint CaptionPoint(const QString& key) const
    {
        const QRect row = Tree->visualItemRect(Tree->ItemByKey(key));
        return { 40, row.center().y() };
    }

    void ClickValue(const QString& key)
    {
        QTest::mouseClick(Tree->viewport(), Qt::LeftButton, {}, ValuePoint(key));
    }

    ValueEditor* LineEditor() const
    {
        for (auto* editor : Tree->findChildren<ValueEditor*>()) {
            if (editor->isVisible())
                return editor;
        }
        return nullptr;
    }
};

} // namespace

class PropertyGridTest : public QObject
{
    Q_OBJECT

private slots:
    void TypingAndEnterRaisesValueChangedOnce();
    void HandlerRewritesTheShownValue();
    void EscapeCancelsWithoutEvent();
    void ProgramWritesNeverRaiseValueChanged();
    void TypeToEditAndTabMovesToNextEntry();
    void NumberAndColourEditorsShapeTheirValues();
    void ColourButtonPicksAndCommitsHtmlForm();
    void ChoiceListComesFromChoicesWantedAndCommits();
    void BrowseButtonRaisesBrowseClickedAndCommits();
    void GreyedEntriesCannotBeEdited();
    void KeysIgnoreCaseAndEntriesCanBeRemoved();
    void ResetItemsEmptiesValuesAndDescriptionFollowsSelection();
    void Screenshot();
};

void PropertyGridTest::TypingAndEnterRaisesValueChangedOnce()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.Grid));
    f.ClickValue("Name");
    QTRY_VERIFY(f.LineEditor() != nullptr);
    QTest::keyClicks(f.LineEditor(), "Rectangle1");
    QTest::keyClick(f.LineEditor(), Qt::Key_Return);
    QTRY_VERIFY(f.LineEditor() == nullptr);
    QCOMPARE(f.Changes.size(), 1u);
    QCOMPARE(f.Changes[0].Key, QString("Name"));
    QCOMPARE(f.Changes[0].Value, QString("Rectangle1"));
    QCOMPARE(f.Grid.Value("Name"), QString("Rectangle1"));

    // Committing the same text again is no change.
    f.ClickValue("Name");
    QTRY_VERIFY(f.LineEditor() != nullptr);
    QTest::keyClick(f.LineEditor(), Qt::Key_Return);
    QTRY_VERIFY(f.LineEditor() == nullptr);
    QCOMPARE(f.Changes.size(), 1u);
}

void PropertyGridTest::HandlerRewritesTheShownValue()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.Grid));
    QObject::connect(
        &f.Grid, &PropertyGrid::ValueChanged, &f.Grid,
        [&f](QString& value, const QString& key) {
            value.remove(u'"');
            // A refused value: the program writes the old one back itself.
            if (key == "X1" && value == "999")
                f.Grid.SetValue("x1", "10");
        },
        Qt::DirectConnection);
    f.ClickValue("Name");
    QTRY_VERIFY(f.LineEditor() != nullptr);
    QTest::keyClicks(f.LineEditor(), "a\"b\"");
    QTest::keyClick(f.LineEditor(), Qt::Key_Return);
    QTRY_VERIFY(f.LineEditor() == nullptr);
    QCOMPARE(f.Grid.Value("Name"), QString("ab"));

    f.ClickValue("X1");
    QTRY_VERIFY(f.LineEditor() != nullptr);
    QTest::keyClicks(f.LineEditor(), "999");
    QTest::keyClick(f.LineEditor(), Qt::Key_Return);
    QTRY_VERIFY(f.LineEditor() == nullptr);
    QCOMPARE(f.Grid.Value("X1"), QString("10"));
    QCOMPARE(f.Changes.size(), 2u);
}

void PropertyGridTest::EscapeCancelsWithoutEvent()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.Grid));
    f.Grid.SetValue("Name", "Before");
    f.ClickValue("Name");
    QTRY_VERIFY(f.LineEditor() != nullptr);
    QTest::keyClicks(f.LineEditor(), "After");
    QTest::keyClick(f.LineEditor(), Qt::Key_Escape);
    QTRY_VERIFY(f.LineEditor() == nullptr);
    QCOMPARE(f.Grid.Value("Name"), QString("Before"));

    // CancelEdit from the program ends an edit the same way.
    f.ClickValue("Name");
    QTRY_VERIFY(f.LineEditor() != nullptr);
    QTest::keyClicks(f.LineEditor(), "Other");
    f.Grid.CancelEdit();
    QTRY_VERIFY(f.LineEditor() == nullptr);
    QCOMPARE(f.Grid.Value("Name"), QString("Before"));
    QVERIFY(f.Changes.empty());
}

void PropertyGridTest::ProgramWritesNeverRaiseValueChanged()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.Grid));
    f.Grid.SetValue("Name", "Written");
    f.Grid.SetBusy(true);
    QVERIFY(f.Grid.IsBusy());
    f.Grid.SetValue("X1", "5");
    QCOMPARE(f.Grid.Value("X1"), QString("5"));

    // A user edit while busy is shown but held back.
    f.ClickValue("Name");
    QTRY_VERIFY(f.LineEditor() != nullptr);
    QTest::keyClicks(f.LineEditor(), "Typed");
    QTest::keyClick(f.LineEditor(), Qt::Key_Return);
    QTRY_VERIFY(f.LineEditor() == nullptr);
    QCOMPARE(f.Grid.Value("Name"), QString("Typed"));
    QVERIFY(f.Changes.empty());

    f.Grid.SetBusy(false);
    f.ClickValue("Name");
    QTRY_VERIFY(f.LineEditor() != nullptr);
    QTest::keyClick(f.LineEditor(), Qt::Key_End);
    QTest::keyClicks(f.LineEditor(), "2");
    QTest::keyClick(f.LineEditor(), Qt::Key_Return);
    QTRY_COMPARE(f.Changes.size(), 1u);
    QCOMPARE(f.Changes[0].Value, QString("Typed2"));
}

void PropertyGridTest::TypeToEditAndTabMovesToNextEntry()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.Grid));
    f.Grid.SetValue("Name", "Old");
    QTest::mouseClick(
        f.Tree->viewport(), Qt::LeftButton, {}, f.CaptionPoint("Standard") + QPoint(0, 0));
    QCOMPARE(f.Tree->currentItem(), f.Tree->ItemByKey("Standard"));
    QVERIFY(f.LineEditor() == nullptr);
    QTest::keyClick(f.Tree, Qt::Key_Down);
    QCOMPARE(f.Tree->currentItem(), f.Tree->ItemByKey("Name"));

    // The typed character replaces the value; '-' is not taken as "collapse".
    QTest::keyClick(f.Tree, Qt::Key_Minus);
    QTRY_VERIFY(f.LineEditor() != nullptr);
    QCOMPARE(f.LineEditor()->text(), QString("-"));
    QTest::keyClicks(f.LineEditor(), "Z");
    QTest::keyClick(f.LineEditor(), Qt::Key_Tab);
    QTRY_COMPARE(f.Changes.size(), 1u);
    QCOMPARE(f.Changes[0].Value, QString("-Z"));
    QTRY_COMPARE(f.Tree->currentItem(), f.Tree->ItemByKey("X1"));
    QTRY_VERIFY(f.LineEditor() != nullptr);
    QCOMPARE(f.LineEditor()->text(), QString("10"));

    // Focus leaving the grid commits the open edit.
    QTest::keyClick(f.LineEditor(), Qt::Key_End);
    QTest::keyClicks(f.LineEditor(), "5");
    QLineEdit outside(&f.Grid);
    outside.show();
    outside.setFocus();
    QTRY_COMPARE(f.Changes.size(), 2u);
    QCOMPARE(f.Changes[1].Key, QString("X1"));
    QCOMPARE(f.Changes[1].Value, QString("105"));

    // F2 on a heading opens nothing; Enter on a heading folds it.
    f.Tree->setFocus();
    f.Tree->setCurrentItem(f.Tree->ItemByKey("Coordinates"));
    QTest::keyClick(f.Tree, Qt::Key_F2);
    QVERIFY(f.LineEditor() == nullptr);
    QTest::keyClick(f.Tree, Qt::Key_Return);
    QVERIFY(!f.Tree->ItemByKey("Coordinates")->isExpanded());
}

void PropertyGridTest::NumberAndColourEditorsShapeTheirValues()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.Grid));
    f.ClickValue("X1");
    QTRY_VERIFY(f.LineEditor() != nullptr);
    QTest::keyClicks(f.LineEditor(), "-1x2.3");
    QCOMPARE(f.LineEditor()->text(), QString("-123"));
    QTest::keyClick(f.LineEditor(), Qt::Key_Return);
    QTRY_VERIFY(f.LineEditor() == nullptr);
    QCOMPARE(f.Grid.Value("X1"), QString("-123"));

    f.ClickValue("Color");
    QTRY_VERIFY(f.LineEditor() != nullptr);
    QVERIFY(f.LineEditor()->findChild<QToolButton*>("BrowseButton") != nullptr);
    QTest::keyClicks(f.LineEditor(), "ff00g00");
    QCOMPARE(f.LineEditor()->text(), QString("ff0000"));
    QTest::keyClick(f.LineEditor(), Qt::Key_Return);
    QTRY_VERIFY(f.LineEditor() == nullptr);
    QCOMPARE(f.Grid.Value("Color"), QString("#FF0000"));
    QCOMPARE(f.Changes.size(), 2u);
    QCOMPARE(f.Changes[1].Value, QString("#FF0000"));
}

void PropertyGridTest::ColourButtonPicksAndCommitsHtmlForm()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.Grid));
    f.ClickValue("Color");
    QTRY_VERIFY(f.LineEditor() != nullptr);
    QToolButton* button = f.LineEditor()->findChild<QToolButton*>("BrowseButton");
    QVERIFY(button != nullptr);
    // The colour dialog is modal: answer it once it is up. Its focus must not end the edit.
    QColor offered;
    QTimer::singleShot(0, [&offered] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        offered = dialog->currentColor();
        dialog->setCurrentColor(QColor(0x12, 0xAB, 0xEF));
        dialog->accept();
    });
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(offered, QColor(0x45, 0x33, 0x22));
    QCOMPARE(f.Changes.size(), 1u);
    QCOMPARE(f.Changes[0].Key, QString("Color"));
    QCOMPARE(f.Changes[0].Value, QString("#12ABEF"));
    QCOMPARE(f.Grid.Value("Color"), QString("#12ABEF"));
    QTRY_VERIFY(f.LineEditor() == nullptr);
    QCOMPARE(f.Changes.size(), 1u);

    // A cancelled dialog leaves the edit open with what was typed, uncommitted.
    f.ClickValue("Color");
    QTRY_VERIFY(f.LineEditor() != nullptr);
    QTest::keyClicks(f.LineEditor(), "00FF00");
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        dialog->reject();
    });
    QTest::mouseClick(f.LineEditor()->findChild<QToolButton*>("BrowseButton"), Qt::LeftButton);
    QVERIFY(f.LineEditor() != nullptr);
    QCOMPARE(f.LineEditor()->text(), QString("00FF00"));
    QCOMPARE(f.Changes.size(), 1u);
    QTest::keyClick(f.LineEditor(), Qt::Key_Return);
    QTRY_COMPARE(f.Changes.size(), 2u);
    QCOMPARE(f.Changes[1].Value, QString("#00FF00"));
}

void PropertyGridTest::ChoiceListComesFromChoicesWantedAndCommits()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.Grid));
    QStringList askedFor;
    QObject::connect(
        &f.Grid, &PropertyGrid::ChoicesWanted, &f.Grid,
        [&askedFor](QStringList& choices, const QString& key) {
            askedFor << key;
            if (key.toUpper() == "TYPE")
                choices << "Rectangle"
                        << "Circle"
                        << "Polygon";
        },
        Qt::DirectConnection);
    f.ClickValue("Type");
    QTRY_VERIFY(f.Tree->findChild<QComboBox*>("ChoiceEditor") != nullptr);
    auto* combo = f.Tree->findChild<QComboBox*>("ChoiceEditor");
    QCOMPARE(askedFor, QStringList { "Type" });
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->currentText(), QString("Rectangle"));
    QTRY_VERIFY(combo->view()->isVisible());
    QAbstractItemView* list = combo->view();
    const QRect polygon = list->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, polygon.center());
    QTRY_COMPARE(f.Changes.size(), 1u);
    QCOMPARE(f.Changes[0].Key, QString("Type"));
    QCOMPARE(f.Changes[0].Value, QString("Polygon"));
    QCOMPARE(f.Grid.Value("type"), QString("Polygon"));
}

void PropertyGridTest::BrowseButtonRaisesBrowseClickedAndCommits()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.Grid));
    std::vector<Change> browsed;
    QString answer; // what the handler's file dialog "chose"; empty = cancelled
    QObject::connect(
        &f.Grid, &PropertyGrid::BrowseClicked, &f.Grid,
        [&](QString& value, const QString& key) {
            browsed.push_back({ value, key });
            // A native file dialog takes the focus out of the program's windows.
            if (QWidget* focused = QApplication::focusWidget())
                focused->clearFocus();
            if (!answer.isEmpty())
                value = answer;
        },
        Qt::DirectConnection);

    f.Grid.SetValue("Picture", "old.gif");
    f.ClickValue("Picture");
    QTRY_VERIFY(f.LineEditor() != nullptr);
    QToolButton* button = f.LineEditor()->findChild<QToolButton*>("BrowseButton");
    QVERIFY(button != nullptr);
    QTest::keyClick(f.LineEditor(), Qt::Key_End);
    QTest::keyClicks(f.LineEditor(), "x");
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(browsed.size(), 1u);
    QCOMPARE(browsed[0].Key, QString("Picture"));
    QCOMPARE(browsed[0].Value, QString("old.gifx"));
    // Cancelled: the edit goes on with the typed text, nothing is reported.
    QVERIFY(f.LineEditor() != nullptr);
    QVERIFY(f.LineEditor()->hasFocus());
    QCOMPARE(f.LineEditor()->text(), QString("old.gifx"));
    QVERIFY(f.Changes.empty());

    answer = "C:/pictures/new.gif";
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(browsed.size(), 2u);
    QCOMPARE(f.Changes.size(), 1u);
    QCOMPARE(f.Changes[0].Key, QString("Picture"));
    QCOMPARE(f.Changes[0].Value, answer);
    QCOMPARE(f.Grid.Value("Picture"), answer);
    QTRY_VERIFY(f.LineEditor() == nullptr);
    QCOMPARE(f.Changes.size(), 1u);

    // A handler that writes the entry itself ends the edit; the old text is not committed.
    answer.clear();
    QObject::connect(
        &f.Grid, &PropertyGrid::BrowseClicked, &f.Grid,
        [&](QString&, const QString& key) { f.Grid.SetValue(key, "written.gif"); },
        Qt::DirectConnection);
    f.ClickValue("Picture");
    QTRY_VERIFY(f.LineEditor() != nullptr);
    QTest::mouseClick(f.LineEditor()->findChild<QToolButton*>("BrowseButton"), Qt::LeftButton);
    QTRY_VERIFY(f.LineEditor() == nullptr);
    QCOMPARE(f.Grid.Value("Picture"), QString("written.gif"));
    QCOMPARE(f.Changes.size(), 1u);
}

void PropertyGridTest::GreyedEntriesCannotBeEdited()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.Grid));
    f.Grid.SetItemState("x2", 1);
    QCOMPARE(f.Grid.ItemState("X2"), 1);
    f.ClickValue("X2");
    QTest::keyClick(f.Tree, Qt::Key_Return);
    QTest::keyClick(f.Tree, Qt::Key_5);
    QTest::keyClick(f.Tree, Qt::Key_F2);
    QVERIFY(f.LineEditor() == nullptr);
    QCOMPARE(f.Grid.Value("X2"), QString());

    f.Grid.SetItemState("X2", 0);
    f.ClickValue("X2");
    QTRY_VERIFY(f.LineEditor() != nullptr);
    f.Grid.CancelEdit();

    // A disabled grid takes no input at all.
    f.Grid.SetGridEnabled(false);
    f.ClickValue("Name");
    QVERIFY(f.LineEditor() == nullptr);
    f.Grid.SetGridEnabled(true);
    f.ClickValue("Name");
    QTRY_VERIFY(f.LineEditor() != nullptr);
    QVERIFY(f.Changes.empty());
}

void PropertyGridTest::KeysIgnoreCaseAndEntriesCanBeRemoved()
{
    Fixture f;
    QCOMPARE(f.Grid.ItemCount(), 8);
    QVERIFY(f.Grid.HasItem("cOLOR"));
    QVERIFY(!f.Grid.HasItem("Colour"));
    QCOMPARE(f.Grid.Value("COLOR"), QString("#453322"));
    f.Grid.SetValue("name", "A");
    QCOMPARE(f.Grid.Value("NAME"), QString("A"));
    QCOMPARE(f.Grid.Value("Missing"), QString());
    f.Grid.SetValue("Missing", "ignored");
    QCOMPARE(f.Grid.ItemCount(), 8);

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
}

void PropertyGridTest::ResetItemsEmptiesValuesAndDescriptionFollowsSelection()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.Grid));
    f.Grid.SetValue("Name", "Rectangle1");
    f.Grid.ResetItems();
    for (const char* key : { "Name", "X1", "Color", "Picture", "Type", "X2" })
        QCOMPARE(f.Grid.Value(key), QString());
    QCOMPARE(f.Grid.ItemCount(), 8);
    QVERIFY(f.Changes.empty());

    QTest::mouseClick(f.Tree->viewport(), Qt::LeftButton, {}, f.CaptionPoint("X1"));
    QCOMPARE(f.Grid.findChild<QLabel*>("DescriptionCaption")->text(), QString("X1"));
    QCOMPARE(f.Grid.findChild<QLabel*>("DescriptionText")->text(),
        QString("Specifies the left coordinate."));
}

void PropertyGridTest::Screenshot()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.Grid));
    f.Grid.SetValue("Name", "Rectangle1");
    f.Grid.SetValue("Picture", "C:/maps/town.gif");
    f.Grid.SetValue("X2", "240");
    f.Grid.SetItemState("X2", 1);
    f.Tree->setCurrentItem(f.Tree->ItemByKey("Name"));
    const QString path = QDir::temp().filePath("property_grid.png");
    QVERIFY(f.Grid.grab().save(path));
    f.ClickValue("Color");
    QTRY_VERIFY(f.LineEditor() != nullptr);
    QVERIFY(f.Grid.grab().save(QDir::temp().filePath("property_grid_editing.png")));
    qInfo("screenshots: %s, property_grid_editing.png", qPrintable(path));
}

QTEST_MAIN(PropertyGridTest)
#include "property_grid_test.moc"
