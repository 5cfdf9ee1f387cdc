// Undo and redo in the running program: every edit, from the surface, the property panel or the
// code edit dialog, is one step of its document's history, and the commands follow that history
// across pages, documents and saves.

#include "components/code_box/code_box.h"
#include "components/command_bars/command_bars.h"
#include "components/property_grid/property_grid.h"
#include "support/editor_session.h"
#include "support/grid_driver.h"
#include "ui/code_edit_dialog.h"
#include "ui/document_model.h"
#include "ui/property_panel.h"

#include <QPushButton>
#include <QTest>

using namespace karvex;
using test::Session;

namespace {

struct HistorySession : Session
{
    bool CanUndo() { return Bars().IsEnabled("Undo") && Bars().IsEnabled("t_Undo"); }
    bool CanRedo() { return Bars().IsEnabled("Redo") && Bars().IsEnabled("t_Redo"); }
};

} // namespace

class EditHistoryTest : public QObject
{
    Q_OBJECT

private slots:
    void undoFollowsTheDocumentAcrossPagesAndWindows()
    {
        HistorySession app;
        app.NewDocument(app.Picture("a.png"));
        QVERIFY(QTest::qWaitForWindowExposed(app.Window.get()));
        QVERIFY(!app.CanUndo());
        QCOMPARE(app.DrawRectangle({ 10, 10 }, { 60, 40 }), 1);
        QVERIFY(app.CanUndo());

        // The preview allows no editing; back in design the drawing can be undone.
        app.ShowPage("Preview");
        QCOMPARE(app.Current().PageMode, DocumentPage::Preview);
        QVERIFY(!app.CanUndo());
        app.ShowPage("Design");
        QVERIFY(app.CanUndo());
        app.ShowPage("Code");
        QVERIFY(app.CanUndo());
        app.ShowPage("Design");
        app.Window->RunCommand("Undo");
        QVERIFY(!app.Spot(1).Active);
        QVERIFY(!app.CanUndo());
        QVERIFY(app.CanRedo());

        // Another document has a history of its own; the first one's comes back with it.
        app.NewDocument(app.Picture("b.png"));
        QVERIFY(!app.CanUndo());
        QVERIFY(!app.CanRedo());
        app.Docs().ActivateDocument(1);
        QVERIFY(app.CanRedo());
        app.Window->RunCommand("t_Redo");
        QVERIFY(app.Spot(1).Active);
        QCOMPARE(app.Surface().SelectedFigureId(), 1);
        QCOMPARE(app.Code().RegionText("Rectangle1"),
            QString("<AREA SHAPE=\"RECT\" COORDS=\"10,10,60,40\">"));
    }

    void everyPanelEditIsOneStepThatUndoesEverywhere()
    {
        HistorySession app;
        app.NewDocument(app.Picture("a.png"));
        QVERIFY(QTest::qWaitForWindowExposed(app.Window.get()));
        const int slot = app.DrawRectangle({ 10, 10 }, { 60, 40 });
        const test::GridDriver grid = app.SpotsDriver();

        // Each edit, undone once, gives back the hotspot as it was: record, panel, code page,
        // figure and names; redone, the edit again.
        struct Edit
        {
            const char* Name;
            std::function<void()> Make;
        };
        const std::vector<Edit> edits = {
            { "href", [&] { grid.Replace("Href", "a.html"); } },
            { "rename", [&] { grid.Replace("Name", "Door"); } },
            { "shape", [&] { grid.Pick("Type", "Circle"); } },
            { "coordinate", [&] { grid.Replace("X1", "5"); } },
            { "lock", [&] { grid.Pick("Locked", "True"); } },
            { "lock command", [&] { app.Window->RunCommand("t_Lock"); } },
        };
        for (const Edit& edit : edits) {
            const Hotspot before = app.Spot(slot);
            const std::string coordsBefore = app.Surface().SelectedCoords();
            edit.Make();
            const Hotspot after = app.Spot(slot);
            QVERIFY2(!(after == before), edit.Name);

            app.Window->RunCommand("UNDO");
            QVERIFY2(app.Spot(slot) == before, edit.Name);
            QVERIFY2(app.Surface().SelectedCoords() == coordsBefore, edit.Name);
            QVERIFY2(app.Panel().HotspotGrid().Value("Name") == QString::fromStdString(before.Name),
                edit.Name);
            QVERIFY2(
                app.Panel().HotspotGrid().Value("Locked") == (before.Locked ? "True" : "False"),
                edit.Name);
            QVERIFY2(
                app.Panel().HotspotGrid().Value("X1") == QString::number(before.X1), edit.Name);
            QVERIFY2(app.Code().RegionText(QString::fromStdString(before.Name))
                    == QString::fromStdString(before.AreaTag),
                edit.Name);
            QVERIFY2(app.State.HotspotNames.Find(before.Name) == slot, edit.Name);
            QVERIFY2(app.Bars().IsTicked("t_Lock") == before.Locked, edit.Name);

            app.Window->RunCommand("REDO");
            QVERIFY2(app.Spot(slot) == after, edit.Name);
            QVERIFY2(app.Panel().HotspotGrid().Value("Name") == QString::fromStdString(after.Name),
                edit.Name);
            QVERIFY2(app.Code().RegionText(QString::fromStdString(after.Name))
                    == QString::fromStdString(after.AreaTag),
                edit.Name);
        }
        QCOMPARE(app.ChooserItems(), (QStringList { "[Map Properties]", "Door" }));

        // A map value: the IMG tag, the map grid and the code page go back together.
        app.Docs().ActiveWindow()->SelectMap();
        const std::string imgTag = app.Current().ImgTag;
        QCOMPARE(app.MapDriver().Replace("AltText", "Harbour"), QString("Harbour"));
        QVERIFY(app.Current().ImgTag != imgTag);
        app.Window->RunCommand("Undo");
        QCOMPARE(app.Current().ImgTag, imgTag);
        QCOMPARE(app.Panel().MapGrid().Value("AltText"), QString());
        QCOMPARE(app.Code().RegionText("IMAGE_TAG"), QString::fromStdString(imgTag));
    }

    void codeEditsAndAddedGridsAreOneStepAndTheSavedStateIsClean()
    {
        HistorySession app;
        app.NewDocument(app.Picture("a.png", 320, 240));
        QVERIFY(QTest::qWaitForWindowExposed(app.Window.get()));
        const int slot = app.DrawRectangle({ 10, 10 }, { 60, 40 });
        const Hotspot drawn = app.Spot(slot);

        // The code edit dialog: shape, coordinates and link in one step.
        app.Docs().SetCodeDialogRunner([](CodeEditDialog& dialog) {
            dialog.SetCode("<AREA SHAPE=\"CIRCLE\" COORDS=\"50,40,20\" HREF=\"b.html\">");
            dialog.findChild<QPushButton*>("OkButton")->click();
            return dialog.result() == QDialog::Accepted;
        });
        app.Window->RunCommand("Edit_Fig");
        QCOMPARE(app.Spot(slot).Shape, static_cast<std::int32_t>(ShapeCircle));
        app.Window->RunCommand("Undo");
        QVERIFY(app.Spot(slot) == drawn);
        QCOMPARE(app.Surface().SelectedCoords(), std::string("10,10,60,40"));
        QCOMPARE(app.Code().RegionText("Rectangle1"), QString::fromStdString(drawn.AreaTag));
        app.Window->RunCommand("Redo");
        QCOMPARE(app.Surface().SelectedCoords(), std::string("50,40,20"));
        QCOMPARE(app.Panel().HotspotGrid().Value("Href"), QString("b.html"));

        // A grid of hotspots added at once (a paste, the wizard) goes in one step, and the
        // steps before it stay.
        std::vector<Figure> figures;
        for (int i = 0; i < 100; ++i) {
            Figure figure;
            figure.Kind = ShapeRectangle;
            figure.Coordinates
                = std::to_string(i * 3) + ",100," + std::to_string(i * 3 + 2) + ",110";
            figures.push_back(figure);
        }
        const QList<int> grid = app.Docs().ActiveWindow()->AddHotspots(figures);
        QCOMPARE(app.State.HotspotNames.Count(), std::size_t { 101 });
        app.Window->RunCommand("Undo");
        QCOMPARE(app.State.HotspotNames.Count(), std::size_t { 1 });
        QCOMPARE(app.ChooserItems(), (QStringList { "[Map Properties]", "Rectangle1" }));
        app.Surface().SelectFigure(grid.back());
        QCOMPARE(app.Surface().SelectedFigureId(), 0);
        QVERIFY(
            app.Code().RegionText(QString::fromStdString(app.Spot(grid.back()).Name)).isEmpty());
        app.Window->RunCommand("Redo");
        QCOMPARE(app.State.HotspotNames.Count(), std::size_t { 101 });
        QCOMPARE(app.Panel().Chooser().count(), 102);
        app.Surface().SelectFigure(grid.back());
        QCOMPARE(app.Surface().SelectedFigureId(), grid.back());

        // Undoing back to the saved state clears the changed mark; a step beyond it sets it.
        app.Prompt.Files.push_back(app.Home.File("map.html"));
        app.Window->RunCommand("Save");
        QCOMPARE(app.Docs().ActiveWindow()->windowTitle(), QString("map.html"));
        app.Docs().ActiveWindow()->SelectHotspot(slot);
        app.SpotsDriver().Replace("Href", "c.html");
        QCOMPARE(app.Docs().ActiveWindow()->windowTitle(), QString("map.html*"));
        app.Window->RunCommand("Undo");
        QVERIFY(!app.Current().Changed);
        QCOMPARE(app.Docs().ActiveWindow()->windowTitle(), QString("map.html"));
        app.Window->RunCommand("Undo");
        QVERIFY(app.Current().Changed);

        // Nothing left to undo: the command is off, and the document new from its picture is
        // still unsaved.
        while (app.CanUndo())
            app.Window->RunCommand("Undo");
        QCOMPARE(app.State.HotspotNames.Count(), std::size_t { 0 });
        QVERIFY(!app.Bars().IsEnabled("Undo"));
        QVERIFY(app.Current().Changed);
    }
};

QTEST_MAIN(EditHistoryTest)
#include "edit_history_test.moc"
