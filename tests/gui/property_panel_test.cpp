// The property panel in the running program: values typed into its grids reach the model, the
// tag texts, the drawing surface, the code page and the saved file.

#include "components/code_box/code_box.h"
#include "components/command_bars/command_bars.h"
#include "components/property_grid/property_grid.h"
#include "core/operations/panel_edits.h"
#include "core/util/file_io.h"
#include "support/editor_session.h"
#include "support/grid_driver.h"
#include "ui/document_model.h"
#include "ui/property_panel.h"

#include <QSignalSpy>
#include <QTest>

using namespace karvex;
using test::Session;

namespace {

struct PanelSession : Session
{
    PropertyGrid& Spots() { return Panel().HotspotGrid(); }
    PropertyGrid& Map() { return Panel().MapGrid(); }

    // Chooses an entry of the hotspot chooser above the grids, with the mouse.
    bool Choose(int index)
    {
        return QTest::qWaitForWindowExposed(Window.get())
            && test::PickFromCombo(Panel().Chooser(), index);
    }

    std::size_t CountMessages(const std::string& text) const
    {
        std::size_t n = 0;
        for (const PromptMessage& message : Prompt.Messages)
            n += message.Text == text ? 1 : 0;
        return n;
    }
};

} // namespace

class PropertyPanelTest : public QObject
{
    Q_OBJECT

private slots:
    void valuesReachTagCodeAndSavedPage()
    {
        PanelSession app;
        app.NewDocument(app.Picture("photo.png"));
        QVERIFY(QTest::qWaitForWindowExposed(app.Window.get()));
        const int slot = app.DrawRectangle({ 10, 10 }, { 60, 50 });
        QCOMPARE(slot, 1);
        QCOMPARE(&app.Panel().GridInFront(), &app.Spots());
        QCOMPARE(app.Spots().Value("Name"), QString("Rectangle1"));
        QCOMPARE(app.Spots().Value("Type"), QString("Rectangle"));
        QCOMPARE(app.Spots().Value("X2"), QString::number(app.Spot(slot).X2));

        QCOMPARE(app.SpotsDriver().Replace("Href", "page.html"), QString("page.html"));

        const std::string area
            = "<AREA SHAPE=\"RECT\" COORDS=\"" + app.Spot(slot).Coords + "\" HREF=\"page.html\">";
        QCOMPARE(app.Spot(slot).AreaTag, area);
        QCOMPARE(app.Code().RegionText("Rectangle1"), QString::fromStdString(area));

        // A double quote is removed with one warning; a script keeps its angle brackets safe.
        QCOMPARE(app.SpotsDriver().Replace("Alt", "the \"door\""), QString("the door"));
        QCOMPARE(app.CountMessages(kBadSymbolsMessage), std::size_t { 1 });
        app.SpotsDriver().Replace("onMouseOver", "if (a>1) show()");
        QVERIFY(app.Spot(slot).AreaTag.find("ALT=\"the door\"") != std::string::npos);
        QVERIFY(
            app.Spot(slot).AreaTag.find("onMouseOver=\"if (a&gt;1) show()\"") != std::string::npos);
        QVERIFY(app.Spot(slot).Attributes.empty());

        // The colour's last six characters give the colour; 255 is pure red.
        QCOMPARE(app.SpotsDriver().Replace("Color", "#FF0000"), QString("#FF0000"));
        QCOMPARE(app.Spot(slot).Color, std::string("255"));

        const std::string page = app.Home.File("saved.html");
        app.Prompt.Files.push_back(page);
        QVERIFY(app.Docs().SaveDocument(false, app.State.CurrentDocument));
        const std::string saved = ApiReadFile(page);
        QVERIFY(saved.find("HREF=\"page.html\"") != std::string::npos);
        QVERIFY(saved.find("ALT=\"the door\"") != std::string::npos);
    }

    void renameIsRefusedForATakenNameInAnyCase()
    {
        PanelSession app;
        app.NewDocument(app.Picture("photo.png"));
        app.DrawRectangle({ 10, 10 }, { 60, 50 });
        const int second = app.DrawRectangle({ 100, 100 }, { 150, 140 });
        QCOMPARE(
            app.ChooserItems(), QStringList({ "[Map Properties]", "Rectangle1", "Rectangle2" }));

        QCOMPARE(app.SpotsDriver().Replace("Name", "RECTANGLE1"), QString("Rectangle2"));
        QCOMPARE(app.CountMessages(
                     "You already have a hotspot with this name. Please choose another name."),
            std::size_t { 1 });
        QCOMPARE(app.Spot(second).Name, std::string("Rectangle2"));
        QVERIFY(app.Code().RegionKeys().contains("Rectangle2"));
        QCOMPARE(app.ChooserItems().last(), QString("Rectangle2"));

        // Its own name in another case changes nothing and says nothing.
        QCOMPARE(app.SpotsDriver().Replace("Name", "rectangle2"), QString("Rectangle2"));
        QCOMPARE(app.Prompt.Messages.size(), std::size_t { 1 });

        QCOMPARE(app.SpotsDriver().Replace("Name", "Door"), QString("Door"));
        QCOMPARE(app.Spot(second).Name, std::string("Door"));
        QCOMPARE(app.ChooserItems().last(), QString("Door"));
        QVERIFY(app.Code().RegionKeys().contains("Door"));
        QVERIFY(!app.Code().RegionKeys().contains("Rectangle2"));
        QCOMPARE(app.State.HotspotNames.Find("door"), std::optional<int>(second));
    }

    void typeAndCoordinatesReshapeTheFigure()
    {
        PanelSession app;
        app.NewDocument(app.Picture("photo.png"));
        const int slot = app.DrawRectangle({ 10, 10 }, { 60, 50 });

        QCOMPARE(app.SpotsDriver().Pick("Type", "Polygon"), QString("Polygon"));
        QCOMPARE(app.Spot(slot).Shape, static_cast<std::int32_t>(ShapePolygon));
        QVERIFY(app.Spot(slot).AreaTag.find("SHAPE=\"POLY\"") != std::string::npos);
        QCOMPARE(app.Spots().ItemState("X2"), 1);
        QCOMPARE(app.Spots().ItemState("Y2"), 1);

        app.SpotsDriver().Pick("Type", "Rectangle");
        QCOMPARE(app.Spot(slot).Shape, static_cast<std::int32_t>(ShapeRectangle));
        QCOMPARE(app.Spots().ItemState("X2"), 0);
        QCOMPARE(app.Spots().ItemState("Y2"), 0);

        // X1 moves the left edge on the surface, and the change comes back into the record.
        app.SpotsDriver().Replace("X1", "20");
        QCOMPARE(app.Spot(slot).X1, 20);
        QCOMPARE(app.Surface().SelectedCoords().substr(0, 3), std::string("20,"));
        QVERIFY(app.Code().RegionText("Rectangle1").contains("COORDS=\"20,"));
        // An emptied number is refused and the old one shown again.
        QCOMPARE(app.SpotsDriver().Replace("Y1", ""), QString::number(app.Spot(slot).Y1));

        app.SpotsDriver().Pick("Locked", "True");
        QVERIFY(app.Spot(slot).Locked);
        QVERIFY(app.Bars().IsTicked("t_Lock"));
    }

    void customsFollowTheShownHotspot()
    {
        PanelSession app;
        app.NewDocument(app.Picture("photo.png"));
        const int first = app.DrawRectangle({ 10, 10 }, { 60, 50 });
        app.DrawRectangle({ 100, 100 }, { 150, 140 });
        const int base = app.Spots().ItemCount();
        app.Docs().ActiveWindow()->Model().SetAttribute(first, "data-role", "door");

        QVERIFY(app.Choose(1));
        QCOMPARE(app.State.CurrentHotspot, first);
        QCOMPARE(app.Surface().SelectedFigureId(), first);
        QCOMPARE(app.Code().SelectedKey(), QString("Rectangle1"));
        QVERIFY(app.Spots().HasItem("##Customs"));
        QCOMPARE(app.Spots().Value("data-role"), QString("door"));
        QCOMPARE(app.Spots().ItemCount(), base + 2);

        app.SpotsDriver().Replace("data-role", "exit");
        QCOMPARE(app.Spot(first).Attributes[0].Value, std::string("exit"));
        QVERIFY(app.Spot(first).AreaTag.find("data-role=\"exit\"") != std::string::npos);

        QVERIFY(app.Choose(2));
        QVERIFY(!app.Spots().HasItem("##Customs"));
        QVERIFY(!app.Spots().HasItem("data-role"));
        QCOMPARE(app.Spots().ItemCount(), base);

        QVERIFY(app.Choose(0));
        QCOMPARE(&app.Panel().GridInFront(), &app.Map());
        QCOMPARE(app.Surface().SelectedFigureId(), 0);
        QCOMPARE(app.Code().SelectedKey(), QString("IMAGE_TAG"));

        // Deleting a hotspot takes it out of the chooser.
        QVERIFY(app.Choose(1));
        app.Docs().DeleteHotspot(true);
        QCOMPARE(app.ChooserItems(), QStringList({ "[Map Properties]", "Rectangle2" }));
        QCOMPARE(&app.Panel().GridInFront(), &app.Map());
    }

    void mapPropertiesEditTheImgTag()
    {
        PanelSession app;
        const std::string picture = app.Picture("photo.png", 320, 240);
        app.NewDocument(picture);
        Document& doc = app.Current();
        QCOMPARE(&app.Panel().GridInFront(), &app.Map());
        QCOMPARE(app.Map().Value("Picture"), QString::fromStdString(picture));
        QCOMPARE(app.Map().Value("Width"), QString("320"));
        QCOMPARE(app.Map().Value("BorderSize"), QString("0"));
        QCOMPARE(app.Map().Value("RelativePath"), QString("Current Path"));
        QCOMPARE(app.Map().Value("ServerType"), QString("NCSA"));

        app.MapDriver().Replace("AltText", "Sunset");
        QCOMPARE(doc.Images[1].AltText, std::string("Sunset"));
        QVERIFY(doc.ImgTag.find("ALT=\"Sunset\"") != std::string::npos);
        QVERIFY(app.Code().RegionText("IMAGE_TAG").contains("ALT=\"Sunset\""));

        app.MapDriver().Replace("Width", "400");
        QCOMPARE(doc.Images[1].Width, 400);
        QVERIFY(doc.ImgTag.find("Width=\"400\"") != std::string::npos);
        QCOMPARE(app.MapDriver().Replace("Height", "0"), QString("240"));

        app.MapDriver().Pick("ServerType", "CERN");
        QCOMPARE(doc.ServerType, 1);
        app.MapDriver().Pick("Align", "Center");
        QVERIFY(doc.ImgTag.find("Align=\"Center\"") != std::string::npos);
        app.Docs().ActiveWindow()->Model().ApplyMapValue("data-zoom", "2", false);
        QCOMPARE(doc.ImgAttributes.size(), std::size_t { 1 });
        QVERIFY(app.Map().HasItem("##Customs"));

        // A map name the page already uses is refused, with the message.
        app.State.Settings.ini_MapNameCheck = true;
        WriteWholeFile(app.Home.File("page.html"), "<map name=\"nav\"></map>");
        doc.FilePath = app.Home.File("page.html");
        QCOMPARE(app.MapDriver().Replace("Usemap", "Nav"), QString("#photo.png"));
        QCOMPARE(app.CountMessages(kUsemapTakenMessage), std::size_t { 1 });
        app.State.Settings.ini_MapNameCheck = false; // the check off: the name is taken as given
        QCOMPARE(app.MapDriver().Replace("Usemap", "Nav"), QString("#Nav"));
        QCOMPARE(app.CountMessages(kUsemapTakenMessage), std::size_t { 1 });
        QCOMPARE(app.MapDriver().Replace("Usemap", "#main"), QString("#main"));
        QCOMPARE(doc.Images[1].MapTag, std::string("<MAP NAME=\"main\">"));
        QCOMPARE(app.Code().RegionText("MAP_AREA_START"), QString("<MAP NAME=\"main\">"));
    }

    void browsingReplacesThePicture()
    {
        PanelSession app;
        app.NewDocument(app.Picture("photo.png", 320, 240));
        Document& doc = app.Current();
        const std::string other = app.Picture("wide.png", 500, 100);

        const test::GridDriver grid = app.MapDriver();
        app.Prompt.Files.push_back(other);
        QVERIFY(grid.Open("Picture"));
        QTest::mouseClick(grid.Button(), Qt::LeftButton);
        QVERIFY(grid.Closed());
        QCOMPARE(app.Prompt.FileRequests.back().Title, std::string("Open"));
        QCOMPARE(doc.Images[1].Src, other);
        QCOMPARE(doc.Images[1].Width, 500);
        QVERIFY(doc.ImgTag.find("SRC=\"" + other + "\"") != std::string::npos);
        QVERIFY(doc.ImgTag.find("Width=\"500\" Height=\"100\"") != std::string::npos);
        QCOMPARE(app.Map().Value("Picture"), QString::fromStdString(other));
        QCOMPARE(app.Bars().PanelText("status_ImageSize"), QString("500x100"));

        // Cancelling the LowSrc dialog keeps what was there; choosing a file sets it.
        app.Prompt.Files.push_back(std::nullopt);
        QVERIFY(grid.Open("LowSrc"));
        QTest::mouseClick(grid.Button(), Qt::LeftButton);
        QVERIFY(doc.ImgTag.find("LOWSRC") == std::string::npos);
        app.Prompt.Files.push_back(app.Home.File("small.gif"));
        QTest::mouseClick(grid.Button(), Qt::LeftButton);
        QVERIFY(grid.Closed());
        QCOMPARE(app.Map().Value("LowSrc"), QString::fromStdString(app.Home.File("small.gif")));

        // A picture that cannot be read changes nothing.
        WriteWholeFile(app.Home.File("broken.png"), "not a picture");
        app.MapDriver().Replace("Picture", QString::fromStdString(app.Home.File("broken.png")));
        QCOMPARE(doc.Images[1].Src, other);
        QCOMPARE(app.Map().Value("Picture"), QString::fromStdString(other));
    }

    void closingTheLastDocumentEmptiesThePanel()
    {
        PanelSession app;
        app.NewDocument(app.Picture("photo.png"));
        app.Current().Changed = false;
        QVERIFY(app.Panel().Chooser().isVisibleTo(&app.Panel()));
        app.Docs().CloseActiveDocument();
        QCOMPARE(app.Panel().Chooser().count(), 0);
        QVERIFY(!app.Panel().Chooser().isVisibleTo(&app.Panel()));
    }

    // A paste or a generated grid adds its hotspots with one notice: the code page takes them in
    // one batch, the chooser is filled once, and the caption gets its mark.
    void manyHotspotsAddedAtOnceAreOneNotice()
    {
        PanelSession app;
        app.NewDocument(app.Picture("photo.png"));
        app.Current().Changed = false;
        DocumentWindow& window = *app.Docs().ActiveWindow();
        const int regionsBefore = static_cast<int>(app.Code().RegionKeys().size());
        QSignalSpy added(&window.Model(), &DocumentModel::hotspotsAdded);
        QSignalSpy modified(&window.Model(), &DocumentModel::modifiedChanged);
        QAbstractItemModel* chooser = app.Panel().Chooser().model();
        QSignalSpy resets(chooser, &QAbstractItemModel::modelReset);
        QSignalSpy inserted(chooser, &QAbstractItemModel::rowsInserted);
        std::vector<Figure> figures(1000);
        for (std::size_t i = 0; i < figures.size(); ++i) {
            const int x = static_cast<int>(i % 40) * 8;
            const int y = static_cast<int>(i / 40) * 8;
            figures[i].Kind = ShapeRectangle;
            figures[i].Coordinates = std::to_string(x) + "," + std::to_string(y) + ","
                + std::to_string(x + 6) + "," + std::to_string(y + 6);
        }
        const QList<int> ids = window.AddHotspots(figures);
        QCOMPARE(ids.size(), 1000);
        QCOMPARE(added.count(), 1);
        QCOMPARE(modified.count(), 1);
        QCOMPARE(resets.count(), 1);
        QCOMPARE(inserted.count(), 0);
        QCOMPARE(app.Panel().Chooser().count(), 1001);
        // The placeholder line of an empty map gives way to the thousand AREA lines.
        QCOMPARE(static_cast<int>(app.Code().RegionKeys().size()), regionsBefore - 1 + 1000);
        QVERIFY(window.windowTitle().endsWith('*'));
        app.Surface().SelectFigure(ids.back());
        QCOMPARE(app.Surface().SelectedCoords(), std::string("312,192,318,198"));
    }
};

QTEST_MAIN(PropertyPanelTest)
#include "property_panel_test.moc"
