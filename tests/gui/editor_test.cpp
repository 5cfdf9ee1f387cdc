// The editor on the offscreen platform: documents from pictures, drawing with the mouse,
// editing commands, zoom, saving and closing, through the real main window and widgets.

#include "components/code_box/code_box.h"
#include "components/command_bars/command_bars.h"
#include "support/editor_session.h"
#include "ui/code_edit_dialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace karvex;
using test::Session;

class EditorTest : public QObject
{
    Q_OBJECT

private slots:
    void newDocumentFromPicture()
    {
        Session app;
        const std::string picture = app.Picture("photo.jpg", 320, 240);
        const int slot = app.NewDocument(picture);

        QCOMPARE(slot, 1);
        QCOMPARE(app.Prompt.FileRequests.size(), std::size_t { 1 });
        QCOMPARE(app.Prompt.FileRequests[0].Title, std::string("Select Picture to open"));
        const Document& doc = app.Current();
        QCOMPARE(doc.Title, std::string("Untitled1"));
        QCOMPARE(doc.ImgTag,
            "<IMG SRC=\"" + picture + "\" Width=\"320\" Height=\"240\" UseMap=\"#photo.jpg\">");
        QCOMPARE(doc.Images[1].MapTag, std::string("<MAP NAME=\"photo.jpg\">"));
        QVERIFY(doc.Changed);
        QCOMPARE(app.Docs().ActiveWindow()->windowTitle(), QString("Untitled1*"));
        QCOMPARE(app.Bars().PanelText("status_ImageSize"), QString("320x240"));
        QCOMPARE(app.Bars().PanelText("status_ZoomLevel"), QString("100%"));
        QVERIFY(app.Bars().IsEnabled("t_Save"));
        QVERIFY(app.Bars().IsEnabled("Mapping"));

        // A BMP, which the header probe does not read, still gets its real size.
        app.NewDocument(app.Picture("scan.bmp", 64, 48));
        QCOMPARE(app.Current().Title, std::string("Untitled2"));
        QCOMPARE(app.Current().Images[1].Width, 64);
        QVERIFY(app.Current().ImgTag.find("Width=\"64\" Height=\"48\"") != std::string::npos);
    }

    void brokenPictureIsRefusedWithoutADocument()
    {
        Session app;
        const std::string path = app.Home.File("broken.gif");
        QVERIFY(WriteWholeFile(path, std::string("GIF89a\x10\x00", 8)));
        app.NewDocument(path);
        QCOMPARE(app.State.Documents.size(), std::size_t { 1 });
        QCOMPARE(app.Prompt.Messages.size(), std::size_t { 1 });
        QVERIFY(app.Prompt.Messages[0].Text.find("There was an error while trying to load the "
                                                 "picture.")
            != std::string::npos);
    }

    void commandKeysIgnoreCaseAndNeedADocumentWhereSaid()
    {
        Session app;
        // Without a document: rotate does nothing at all, the pointer is still ticked.
        app.Window->RunCommand("T_RECTANGLE");
        QVERIFY(app.Bars().IsTicked("t_Mouse"));
        app.Window->RunCommand("t_rotate");
        QVERIFY(!app.Bars().IsTicked("t_Rotate"));
        QCOMPARE(app.Docs().CurrentTool(), Tool::Pointer);
        app.Window->RunCommand("T_MOUSE");
        QVERIFY(app.Bars().IsTicked("t_Mouse"));
        QVERIFY(app.Bars().IsTicked("Pointer"));
        app.Window->RunCommand("no such command");

        app.NewDocument(app.Picture("a.png"));
        app.Window->RunCommand("t_Polygon");
        QCOMPARE(app.Docs().CurrentTool(), Tool::Polygon);
        QVERIFY(app.Bars().IsTicked("Polygon"));
        QVERIFY(!app.Bars().IsTicked("t_Mouse"));
        app.Window->RunCommand("T_MOUSE");
        QCOMPARE(app.Docs().CurrentTool(), Tool::Pointer);
    }

    void drawingWithTheMouseMakesHotspots()
    {
        Session app;
        app.NewDocument(app.Picture("a.png", 300, 200));
        const Document& doc = app.Current();

        app.Window->RunCommand("t_Rectangle");
        app.Drag({ 10, 20 }, { 60, 50 });
        app.Window->RunCommand("T_CIRCLE");
        app.Drag({ 150, 100 }, { 170, 100 });
        app.Window->RunCommand("Polygon");
        app.Click({ 200, 20 });
        app.Click({ 260, 20 });
        app.Click({ 230, 70 });
        app.Click({ 230, 70 }, Qt::RightButton);

        QCOMPARE(doc.Hotspots.size(), std::size_t { 4 });
        QCOMPARE(doc.Hotspots[1].Name, std::string("Rectangle1"));
        QCOMPARE(
            doc.Hotspots[1].AreaTag, std::string("<AREA SHAPE=\"RECT\" COORDS=\"10,20,60,50\">"));
        QCOMPARE(doc.Hotspots[2].Name, std::string("Circle1"));
        QCOMPARE(
            doc.Hotspots[2].AreaTag, std::string("<AREA SHAPE=\"CIRCLE\" COORDS=\"150,100,20\">"));
        // The number counts from the live hotspots, so the third one is Polygon2.
        QCOMPARE(doc.Hotspots[3].Name, std::string("Polygon2"));
        QCOMPARE(doc.Hotspots[3].AreaTag,
            std::string("<AREA SHAPE=\"POLY\" COORDS=\"200,20,260,20,230,70\">"));
        QCOMPARE(app.State.HotspotNames.Count(), std::size_t { 3 });
        QVERIFY(app.Bars().IsTicked("t_Mouse"));
        QVERIFY(app.Bars().IsEnabled("t_Undo"));

        // Undo takes the polygon out of the model; redo brings it back under its name.
        app.Window->RunCommand("UNDO");
        QVERIFY(!doc.Hotspots[3].Active);
        QVERIFY(!app.State.HotspotNames.Contains("Polygon2"));
        QVERIFY(app.Bars().IsEnabled("Redo"));
        app.Window->RunCommand("t_redo");
        QVERIFY(doc.Hotspots[3].Active);
        QCOMPARE(app.State.HotspotNames.Find("Polygon2"), 3);

        // Moving the rectangle rewrites its COORDS in place.
        app.Drag({ 30, 30 }, { 40, 35 });
        QCOMPARE(
            doc.Hotspots[1].AreaTag, std::string("<AREA SHAPE=\"RECT\" COORDS=\"20,25,70,55\">"));
        QCOMPARE(doc.Hotspots[1].X1, 20);
        QCOMPARE(app.State.CurrentHotspot, 1);
        QVERIFY(app.Bars().IsEnabled("t_Rotate"));
    }

    // Renaming is driven through the property panel in its own suite; here the shape command.
    void shapeChangesTakeOnlyKnownShapes()
    {
        Session app;
        app.NewDocument(app.Picture("a.png"));
        const int slot = app.AddRectangle("10,10,60,40");
        app.Surface().SelectFigure(slot);
        QVERIFY(app.Docs().ChangeShape("Circle", true));
        const Hotspot& changed = app.Spot(slot);
        QCOMPARE(changed.Shape, static_cast<std::int32_t>(ShapeCircle));
        QVERIFY(changed.AreaTag.find("SHAPE=\"CIRCLE\"") != std::string::npos);
        QVERIFY(!app.Docs().ChangeShape("Oval", true));
        QCOMPARE(changed.Shape, static_cast<std::int32_t>(ShapeCircle));
    }

    void codePageFollowsHotspotsRegionByRegion()
    {
        Session app;
        app.NewDocument(app.Picture("a.png", 100, 80));
        CodeBox& code = app.Code();
        const auto areaKeys = [&code] {
            QStringList keys;
            for (const QString& key : code.RegionKeys()) {
                if (code.RegionGroup(key) == "Map_Area")
                    keys << key;
            }
            return keys;
        };
        QCOMPARE(areaKeys(), QStringList { "NoCode" });
        QCOMPARE(code.RegionText("IMAGE_TAG"), QString::fromStdString(app.Current().ImgTag));

        app.Window->RunCommand("T_RECTANGLE");
        app.Drag({ 10, 10 }, { 60, 40 });
        app.Window->RunCommand("T_RECTANGLE");
        app.Drag({ 70, 10 }, { 90, 40 });
        const int first = 1;
        QCOMPARE(areaKeys(), (QStringList { "Rectangle1", "Rectangle2" }));
        QCOMPARE(code.RegionKeys().last(), QString("<!-- End of Imagemap code -->"));
        QCOMPARE(code.RegionKeys().at(code.RegionKeys().size() - 2), QString("MAP_AREA_END"));

        // A change rewrites only that hotspot's line.
        const QString other = code.RegionText("Rectangle2");
        app.Surface().SelectFigure(first);
        app.State.CurrentHotspot = first;
        app.Surface().SetSelectedCoordinate(1, 20);
        QCOMPARE(
            code.RegionText("Rectangle1"), QString("<AREA SHAPE=\"RECT\" COORDS=\"20,10,60,40\">"));
        QCOMPARE(code.RegionText("Rectangle2"), other);

        app.Window->RunCommand("Delete");
        app.Surface().SelectFigure(2);
        app.State.CurrentHotspot = 2;
        app.Window->RunCommand("Delete");
        QCOMPARE(areaKeys(), QStringList { "NoCode" });
    }

    void codeEditDialogTypingRulesAndErrors()
    {
        CodeEditDialog dialog;
        dialog.SetCode("<AREA SHAPE=\"RECT\" COORDS=\"1,2,3,4\">");
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.windowTitle(), QString("Edit Window"));
        const QString before = dialog.Code();
        QTest::keyClick(&dialog.Editor(), Qt::Key_Less);
        QTest::keyClick(&dialog.Editor(), Qt::Key_Return);
        QCOMPARE(dialog.Code(), before);
        QTest::keyClick(&dialog.Editor(), Qt::Key_X);
        QCOMPARE(dialog.Code().size(), before.size() + 1);

        dialog.SetCode("<AREA SHAPE=\"RECT\" COORDS=\"1,2,3,4\" HREF=\"a.html>");
        dialog.findChild<QPushButton*>("OkButton")->click();
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.ErrorList().isVisible());
        // An opened quote never closed: error 8, then error 3, both at the value.
        QCOMPARE(dialog.ErrorList().count(), 2);
        const QString detail8 = "There exist an improperly quoted attribute value.";
        const QString detail3 = "Check the value for improperly quoted attribute.";
        for (int row = 0; row < 2; ++row) {
            const QListWidgetItem* item = dialog.ErrorList().item(row);
            QVERIFY(item->data(Qt::UserRole).toString().startsWith("Warning at character "));
            QCOMPARE(item->data(Qt::UserRole + 1).toString(), row == 0 ? detail8 : detail3);
        }
    }

    void handEditedHrefKeepsTheFigure()
    {
        Session app;
        app.NewDocument(app.Picture("a.png", 100, 80));
        app.Window->RunCommand("T_RECTANGLE");
        app.Drag({ 10, 10 }, { 60, 40 });
        const Hotspot& spot = app.Current().Hotspots[1];

        // A text with errors is never taken back.
        app.Docs().SetCodeDialogRunner([](CodeEditDialog& dialog) {
            dialog.SetCode("<AREA SHAPE=\"RECT\" COORDS=\"10,10,60,40\" HREF=\"b.html>");
            dialog.findChild<QPushButton*>("OkButton")->click();
            return dialog.result() == QDialog::Accepted;
        });
        app.Window->RunCommand("Edit_Fig");
        QCOMPARE(spot.AreaTag, std::string("<AREA SHAPE=\"RECT\" COORDS=\"10,10,60,40\">"));

        app.Docs().SetCodeDialogRunner([](CodeEditDialog& dialog) {
            dialog.SetCode(dialog.Code().replace(">", " HREF=\"b.html\">"));
            dialog.findChild<QPushButton*>("OkButton")->click();
            return dialog.result() == QDialog::Accepted;
        });
        app.Window->RunCommand("pop_edit_fig");
        QCOMPARE(spot.AreaTag,
            std::string("<AREA SHAPE=\"RECT\" COORDS=\"10,10,60,40\" HREF=\"b.html\">"));
        QCOMPARE(spot.Shape, static_cast<std::int32_t>(ShapeRectangle));
        QCOMPARE(app.Surface().SelectedCoords(), std::string("10,10,60,40"));
        QCOMPARE(app.Code().RegionText("Rectangle1"), QString::fromStdString(spot.AreaTag));
    }

    void deletingALockedHotspotAsksFirst()
    {
        Session app;
        app.NewDocument(app.Picture("a.png"));
        const int slot = app.AddRectangle("10,10,60,40");
        app.Surface().SelectFigure(slot);
        QCOMPARE(app.State.CurrentHotspot, slot);
        app.Window->RunCommand("LOCK");
        QVERIFY(app.Spot(slot).Locked);
        QVERIFY(app.Bars().IsTicked("t_Lock"));
        app.Current().Changed = false;

        app.Prompt.Answers.push_back(PromptAnswer::No);
        app.Window->RunCommand("pop_delete");
        QCOMPARE(app.Prompt.Messages.size(), std::size_t { 1 });
        const PromptMessage& question = app.Prompt.Messages[0];
        QCOMPARE(question.Text,
            std::string("This hotspot is locked. Are you sure you want to delete it?"));
        QCOMPARE(question.Title, std::string("Delete Hotspot"));
        QVERIFY(question.Icon == PromptIcon::Critical);
        QVERIFY(question.Buttons == PromptButtons::YesNo);
        QVERIFY(question.Default == PromptAnswer::No);
        QVERIFY(app.Spot(slot).Active);
        QVERIFY(!app.Current().Changed);

        app.Prompt.Answers.push_back(PromptAnswer::Yes);
        app.Window->RunCommand("DELETE");
        QVERIFY(!app.Spot(slot).Active);
        QVERIFY(!app.State.HotspotNames.Contains("Rectangle1"));
        QVERIFY(app.Current().Changed);
    }

    void documentsKeepTheirOwnZoomAndHideState()
    {
        Session app;
        const int first = app.NewDocument(app.Picture("a.png"));
        app.Window->RunCommand("Zoom5");
        app.Window->RunCommand("T_HIDE");
        QCOMPARE(app.Current().Zoom, 200);
        QVERIFY(app.Current().HideHotspots);
        QVERIFY(app.Bars().IsTicked("t_Hide"));

        const int second = app.NewDocument(app.Picture("b.png"));
        QCOMPARE(app.Current().Zoom, 100);
        QCOMPARE(app.Bars().PanelText("status_ZoomLevel"), QString("100%"));
        QVERIFY(!app.Bars().IsTicked("t_Hide"));
        QVERIFY(app.Bars().IsTicked("Zoom4"));

        app.Window->DocumentArea()->setActiveSubWindow(
            app.Window->DocumentArea()->subWindowList().at(0));
        QCOMPARE(app.State.CurrentDocument, first);
        QCOMPARE(app.Bars().PanelText("status_ZoomLevel"), QString("200%"));
        QVERIFY(app.Bars().IsTicked("Zoom5"));
        QVERIFY(app.Bars().IsTicked("t_Hide"));
        QCOMPARE(app.Docs().ActiveWindow()->Surface().ZoomPercent(), 200);

        app.Window->DocumentArea()->setActiveSubWindow(
            app.Window->DocumentArea()->subWindowList().at(1));
        QCOMPARE(app.State.CurrentDocument, second);
        QCOMPARE(app.Bars().PanelText("status_ZoomLevel"), QString("100%"));
        QVERIFY(!app.Bars().IsTicked("t_Hide"));
    }

    void savingWritesTheFragmentAndRenamesTheDocument()
    {
        Session app;
        app.NewDocument(app.Picture("a.png", 100, 80));
        app.AddRectangle("10,10,60,40");
        const std::string target = app.Home.File("page.html");
        app.Prompt.Files.push_back(target);
        app.Window->RunCommand("Save");

        QCOMPARE(app.Prompt.FileRequests.back().Title, std::string("Save Image map"));
        QCOMPARE(app.Prompt.FileRequests.back().FilterIndex, 2);
        const std::string written = ApiReadFile(target);
        QVERIFY(written.find("<MAP NAME=\"a.png\">\r\n<AREA SHAPE=\"RECT\" "
                             "COORDS=\"10,10,60,40\">\r\n</MAP>")
            != std::string::npos);
        QCOMPARE(app.Current().Title, target);
        QVERIFY(!app.Current().Changed);
        QCOMPARE(app.Docs().ActiveWindow()->windowTitle(), QString("page.html"));
    }

    void unknownEndingIsRefusedAndTheDocumentStaysChanged()
    {
        Session app;
        app.NewDocument(app.Picture("a.png"));
        app.Prompt.Files.push_back(app.Home.File("page.txt"));
        app.Window->RunCommand("SAVEAS");
        QVERIFY(app.Current().Changed);
        QVERIFY(!FileExists(app.Home.File("page.txt")));
        QCOMPARE(app.Prompt.Messages.size(), std::size_t { 1 });
        QVERIFY(app.Prompt.Messages[0].Icon == PromptIcon::Critical);
    }

    void quittingWithCancelKeepsTheProgramRunning()
    {
        Session app;
        app.NewDocument(app.Picture("a.png"));
        app.NewDocument(app.Picture("b.png"));
        app.Prompt.Answers = { PromptAnswer::No, PromptAnswer::Cancel };
        QVERIFY(!app.Window->close());
        QVERIFY(app.Window->isVisible());
        QCOMPARE(app.Prompt.Messages.size(), std::size_t { 2 });
        QTRY_COMPARE(app.Window->DocumentArea()->subWindowList().size(), 1);

        // Once the last document may close, the shutdown goes through.
        app.Prompt.Answers = { PromptAnswer::No };
        QVERIFY(app.Window->close());
        QVERIFY(!app.Window->isVisible());
    }
};

QTEST_MAIN(EditorTest)
#include "editor_test.moc"
