// Opening pages, projects and map files in the running program, and saving them back: the
// document window, its figures, code page and panel, the map chooser and the messages.

#include "components/code_box/code_box.h"
#include "core/util/file_io.h"
#include "core/util/strings.h"
#include "support/editor_session.h"
#include "support/modal_answer.h"
#include "ui/map_chooser_dialog.h"
#include "ui/property_panel.h"

#include <QComboBox>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QTest>

using namespace karvex;
using test::Session;

namespace {

constexpr const char* kPage = "<html><body>\n<p>Before</p>\n"
                              "<img src=\"pic.png\" usemap=\"#nav\" alt=\"Site\">\n"
                              "<map name=\"nav\">\n"
                              "<area shape=\"rect\" coords=\"10,10,60,50\" href=\"a.html\">\n"
                              "<area shape=\"circle\" coords=\"100,100,20\" href=\"b.html\">\n"
                              "</map>\n<p>After</p>\n</body></html>\n";

// Answers the next modal map chooser from inside its event loop.
void AnswerChooser(int row, bool ok)
{
    test::AnswerModal<MapChooserDialog>([row, ok](MapChooserDialog& dialog) {
        if (row >= 0)
            dialog.List().setCurrentRow(row);
        (ok ? dialog.OkButton() : dialog.CancelButton()).click();
    });
}

} // namespace

class OpenFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void pageOpensWithItsMapAndSavesBackInPlace()
    {
        Session app;
        app.Picture("pic.png", 320, 240);
        const std::string page = app.Home.File("page.html");
        WriteWholeFile(page, kPage);

        QVERIFY(app.Docs().OpenDocument(page, false));
        QVERIFY(app.Prompt.Messages.empty());
        const Document& doc = app.Current();
        QCOMPARE(doc.Title, page);
        QCOMPARE(doc.Hotspots.size(), std::size_t { 3 });
        QVERIFY(!doc.Changed);
        QCOMPARE(app.Docs().ActiveWindow()->windowTitle(), QString("page.html"));
        QCOMPARE(app.Docs().ActiveWindow()->Code().RegionKeys().size(), 9);
        QCOMPARE(app.Window->Panel().Chooser().count(), 3);
        app.Docs().ActiveWindow()->SelectHotspot(2);
        QCOMPARE(app.Surface().SelectedCoords(), std::string("100,100,20"));

        // Opening it again brings the same window forward; nothing is read.
        QVERIFY(app.Docs().OpenDocument(page, false));
        QCOMPARE(app.State.Documents.size(), std::size_t { 2 });

        app.Docs().DeleteHotspot(false);
        QVERIFY(app.Docs().SaveDocument(true, app.State.CurrentDocument));
        QCOMPARE(QString::fromStdString(ApiReadFile(page)),
            QString::fromStdString(ReplaceAll(
                kPage, "<area shape=\"circle\" coords=\"100,100,20\" href=\"b.html\">\n", "")));
    }

    void severalMapsAskAndCancelSaysNothing()
    {
        Session app;
        app.Picture("pic.png", 320, 240);
        app.Picture("other.png", 100, 80);
        const std::string page = app.Home.File("two.html");
        WriteWholeFile(page,
            std::string(kPage)
                + "<img src=\"other.png\" usemap=\"#second\">\n<map name=\"second\">"
                  "<area shape=rect coords=\"1,1,9,9\" href=c.html></map>");

        AnswerChooser(-1, false);
        QVERIFY(!app.Docs().OpenDocument(page, false));
        QVERIFY(app.Prompt.Messages.empty());
        QCOMPARE(app.State.Documents.size(), std::size_t { 1 });

        AnswerChooser(1, true);
        QVERIFY(app.Docs().OpenDocument(page, false));
        QCOMPARE(app.Current().Images[1].MapName, std::string("second"));
        QCOMPARE(app.Current().Hotspots.size(), std::size_t { 2 });
    }

    void projectsAndMapFilesRoundTrip()
    {
        Session app;
        const std::string picture = app.Picture("pic.png", 320, 240);
        const std::string page = app.Home.File("page.html");
        WriteWholeFile(page, kPage);
        QVERIFY(app.Docs().OpenDocument(page, false));
        app.Current().Hotspots[1].Locked = true;
        app.Current().Hotspots[2].Name = "Sun";
        app.State.HotspotNames.Remove("Circle1");
        app.State.HotspotNames.Add("Sun", 2);

        const std::string project = app.Home.File("copy.kvp");
        app.Prompt.Files.push_back(project);
        QVERIFY(app.Docs().SaveDocument(false, app.State.CurrentDocument));
        const std::string map = app.Home.File("copy.map");
        app.Prompt.Files.push_back(map);
        QVERIFY(app.Docs().SaveDocument(false, app.State.CurrentDocument));
        app.Docs().CloseAllDocuments();

        QVERIFY(app.Docs().OpenDocument(project, false));
        QCOMPARE(app.Current().Hotspots[2].Name, std::string("Sun"));
        QVERIFY(app.Current().Hotspots[1].Locked);
        QCOMPARE(app.Current().Hotspots[1].AreaTag.find("##"), std::string::npos);

        QVERIFY(app.Docs().OpenDocument(map, false));
        QCOMPARE(app.Current().Images[1].Src, picture);
        QCOMPARE(app.Current().Hotspots[2].Coords, std::string("100,100,20"));
        QVERIFY(app.Prompt.Messages.empty());
    }

    void mapChangedOnDiskIsNeitherOverwrittenNorReportedSaved()
    {
        Session app;
        app.Picture("pic.png", 320, 240);
        const std::string page = app.Home.File("page.html");
        WriteWholeFile(page, kPage);
        QVERIFY(app.Docs().OpenDocument(page, false));
        app.Docs().ActiveWindow()->SelectHotspot(2);
        app.Docs().DeleteHotspot(false);
        QVERIFY(app.Current().Changed);
        // Another program edits the map meanwhile.
        const std::string edited = ReplaceAll(kPage, "b.html", "elsewhere.html");
        WriteWholeFile(page, edited);

        app.Prompt.Answers.push_back(PromptAnswer::Cancel);
        QVERIFY(!app.Docs().SaveDocument(true, app.State.CurrentDocument));
        QCOMPARE(app.Prompt.Messages.back().Buttons, PromptButtons::YesNoCancel);
        QCOMPARE(app.Prompt.Messages.back().YesCaption, std::string("Replace Map"));
        QVERIFY(app.Prompt.Messages.back().Text.find(page) != std::string::npos);
        QCOMPARE(ApiReadFile(page), edited);
        QVERIFY(app.Current().Changed);
        QCOMPARE(app.Docs().ActiveWindow()->windowTitle(), QString("page.html*"));

        app.Prompt.Answers.push_back(PromptAnswer::Yes);
        QVERIFY(app.Docs().SaveDocument(true, app.State.CurrentDocument));
        QVERIFY(!app.Current().Changed);
        const std::string saved = ApiReadFile(page);
        QVERIFY(saved.find("elsewhere.html") == std::string::npos);
        QCOMPARE(saved,
            ReplaceAll(edited,
                "<area shape=\"circle\" coords=\"100,100,20\" "
                "href=\"elsewhere.html\">\n",
                ""));
    }

    void mapFilesOfAnyEndingOpenByWhatTheyHoldAndSaveBack()
    {
        Session app;
        app.Picture("site.png", 320, 240);
        // A server's map file names no picture: the one with its name is taken.
        const std::string cern = app.Home.File("site.cern-map");
        WriteWholeFile(cern, "rectangle (10,10) (60,50) a.html\ncirc (100,100) 20 b.html\n");
        QVERIFY(app.Docs().OpenDocument(cern, true));
        QVERIFY(app.Prompt.Messages.empty());
        QCOMPARE(app.Current().Hotspots.size(), std::size_t { 3 });
        QCOMPARE(app.Current().Hotspots[2].Coords, std::string("100,100,20"));
        QCOMPARE(app.Current().ServerType, 1);

        // Saved back to its own file, it stays a CERN map file; what a map file has no room for
        // is told.
        app.Docs().ActiveWindow()->SelectHotspot(1);
        app.Docs().DeleteHotspot(false);
        app.Docs().ActiveWindow()->SelectHotspot(2);
        app.Current().Hotspots[2].AreaTag
            = "<AREA SHAPE=\"CIRCLE\" COORDS=\"100,100,20\" HREF=\"b.html\" TARGET=\"_top\">";
        QVERIFY(app.Docs().SaveDocument(true, app.State.CurrentDocument));
        QVERIFY(ApiReadFile(cern).find("\r\ncircle (100,100) 20 b.html \r\n") != std::string::npos);
        QVERIFY(ApiReadFile(cern).find("a.html") == std::string::npos);
        QCOMPARE(app.Prompt.Messages.size(), std::size_t { 1 });
        QCOMPARE(app.Prompt.Messages.back().Text,
            std::string("ALT, TARGET and areas without links do not exist in map files, so this "
                        "map file leaves out the TARGET of 1 hotspot."));
        QVERIFY(app.Prompt.Messages.back().Icon == PromptIcon::Information);

        // Lines no server reads are named after the open; the document opens all the same.
        const std::string notes = app.Home.File("notes.txt");
        WriteWholeFile(
            notes, "# <IMG Src=\"site.png\">\nrect a.html 1,1 9,9\noval b.html 1,1 5,5\n");
        app.Prompt.Files.push_back(notes);
        app.Window->RunCommand("open");
        const std::string& filter = app.Prompt.FileRequests.back().Filter;
        QVERIFY2(filter.size() > 12 && filter.substr(filter.size() - 12) == "|All Files|*",
            filter.c_str());
        QCOMPARE(app.Current().Title, notes);
        QCOMPARE(app.Current().Hotspots.size(), std::size_t { 2 });
        QCOMPARE(app.Prompt.Messages.back().Text,
            notes
                + " was opened, but:\r\n\r\nLine 3 was skipped because no server reads an area "
                  "from it: oval b.html 1,1 5,5");
        QVERIFY(app.Prompt.Messages.back().Icon == PromptIcon::Exclamation);

        // A file of another ending that holds none of the kinds is still refused.
        const std::string prose = app.Home.File("prose.txt");
        WriteWholeFile(prose, "Nothing to see here.\n");
        QVERIFY(!app.Docs().OpenDocument(prose, true));
        QCOMPARE(app.Prompt.Messages.back().Text,
            std::string("You try to open an file type that Karvex not support. Loading has been "
                        "canceled"));
        QCOMPARE(app.State.Documents.size(), std::size_t { 3 });
    }

    void badFilesGiveTheirMessagesAndNoDocument()
    {
        Session app;
        const std::string empty = app.Home.File("empty.html");
        WriteWholeFile(empty, "<html><p>No pictures here</p></html>");
        QVERIFY(!app.Docs().OpenDocument(empty, false));
        const std::string kCanceled = "There has been an error while trying to open the file. "
                                      "Loading has been canceled.\r\n\r\nFile : ";
        QCOMPARE(app.Prompt.Messages.back().Text,
            kCanceled + empty + "\r\nReason : There has not been found any images in the file.");

        const std::string project = app.Home.File("bad.kvp");
        WriteWholeFile(project, "<KVX Ver=3>\r\n<MAP NAME=\"m\">\r\n");
        QVERIFY(!app.Docs().OpenDocument(project, false));
        QCOMPARE(app.Prompt.Messages.back().Text,
            kCanceled + project
                + "\r\nReason : No line of the file is an IMG tag, so it is not a Karvex project.");

        // A picture that exists but cannot be decoded: the decoder says why.
        const std::string picture = app.Home.File("pic.png");
        WriteWholeFile(picture, "not a picture");
        const std::string page = app.Home.File("page.html");
        WriteWholeFile(page, kPage);
        QVERIFY(!app.Docs().OpenDocument(page, false));
        QCOMPARE(app.Prompt.Messages.back().Text,
            kCanceled + picture
                + "\r\nReason : There was an error while trying to load the picture. Unsupported "
                  "image format.");
        QCOMPARE(app.State.Documents.size(), std::size_t { 1 });
    }
};

QTEST_MAIN(OpenFilesTest)
#include "open_files_test.moc"
