// The files a user meets first: Save As onto a page, the backup of a page, the document a New or
// Open shows, the reasons in load and save messages, pictures of every kind and dropped files,
// the window title and the close question, and where the file dialogs start.

#include "components/code_box/code_box.h"
#include "components/command_bars/command_bars.h"
#include "components/property_grid/property_grid.h"
#include "core/settings/settings.h"
#include "core/util/file_io.h"
#include "core/util/strings.h"
#include "support/editor_session.h"
#include "ui/property_panel.h"

#include <QComboBox>
#include <QDropEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <unistd.h>

using namespace karvex;
using test::Session;

namespace {

namespace fs = std::filesystem;

constexpr const char* kCanceled = "There has been an error while trying to open the file. "
                                  "Loading has been canceled.\r\n\r\nFile : ";

// A file's bytes as a QString, so that a failed comparison shows them.
QString Read(const std::string& path) { return QString::fromStdString(ApiReadFile(path)); }
QString Text(const std::string& text) { return QString::fromStdString(text); }

} // namespace

class FileHandlingTest : public QObject
{
    Q_OBJECT

private slots:
    void saveAsOntoAPageOffersToPutTheMapIntoIt()
    {
        Session app;
        app.Picture("pic.png", 320, 240);
        const std::string page = app.Home.File("page.html");
        WriteWholeFile(page, test::kNavPage);
        QVERIFY(app.Docs().OpenDocument(page, false));
        app.AddRectangle("100,100,150,150");
        const int slot = app.State.CurrentDocument;

        // Another page with a map of the same name: only that map is replaced.
        const std::string site = app.Home.File("site.html");
        const std::string siteText = "<!DOCTYPE html>\n<title>Site</title>\n"
                                     "<img src=\"pic.png\" usemap=\"#nav\">\n"
                                     "<map name=\"nav\">\n  <area shape=\"rect\" "
                                     "coords=\"1,1,5,5\" href=\"old.html\">\n</map>\n<p>Kept</p>\n";
        WriteWholeFile(site, siteText);
        app.Prompt.Files.push_back(site);
        app.Prompt.Answers.push_back(PromptAnswer::Yes);
        QVERIFY(app.Docs().SaveDocument(false, slot));
        const PromptMessage& question = app.Prompt.Messages.back();
        QCOMPARE(question.Buttons, PromptButtons::YesNoCancel);
        QCOMPARE(question.YesCaption, std::string("Put Into Page"));
        QCOMPARE(question.NoCaption, std::string("Replace File"));
        QVERIFY(question.Text.find(site) != std::string::npos);
        // The IMG tag that uses the map is the document's own now, as in its page.
        std::string expected
            = ReplaceAll(siteText, "usemap=\"#nav\">", "usemap=\"#nav\" alt=\"Site\">");
        expected
            = ReplaceAll(expected, "  <area shape=\"rect\" coords=\"1,1,5,5\" href=\"old.html\">\n",
                "  <area shape=\"rect\" coords=\"10,10,60,50\" href=\"a.html\">\n"
                "  <AREA SHAPE=\"RECT\" COORDS=\"100,100,150,150\">\n");
        QCOMPARE(Read(site), Text(expected));
        QCOMPARE(ApiReadFile(site + "~"), siteText);
        QCOMPARE(app.Current().FilePath, site);
        QVERIFY(!app.Current().Changed);

        // A page without the picture gets the IMG tag and the map before its closing BODY tag.
        const std::string other = app.Home.File("other.html");
        const std::string otherText = "<html>\n<body>\n<p>Text</p>\n  </body>\n</html>\n";
        WriteWholeFile(other, otherText);
        app.Prompt.Files.push_back(other);
        app.Prompt.Answers.push_back(PromptAnswer::Yes);
        QVERIFY(app.Docs().SaveDocument(false, slot));
        QCOMPARE(Read(other),
            Text(
                "<html>\n<body>\n<p>Text</p>\n<img src=\"pic.png\" usemap=\"#nav\" alt=\"Site\">\n"
                "<map name=\"nav\">\n<area shape=\"rect\" coords=\"10,10,60,50\" href=\"a.html\">\n"
                "<AREA SHAPE=\"RECT\" COORDS=\"100,100,150,150\">\n</MAP>\n  </body>\n</html>\n"));
        QCOMPARE(ApiReadFile(other + "~"), otherText);

        // Cancel leaves the page alone; Replace File writes the fragment over it.
        const std::string third = app.Home.File("third.html");
        WriteWholeFile(third, otherText);
        app.Prompt.Files.push_back(third);
        app.Prompt.Answers.push_back(PromptAnswer::Cancel);
        QVERIFY(!app.Docs().SaveDocument(false, slot));
        QCOMPARE(ApiReadFile(third), otherText);
        app.Prompt.Files.push_back(third);
        app.Prompt.Answers.push_back(PromptAnswer::No);
        QVERIFY(app.Docs().SaveDocument(false, slot));
        QVERIFY(ApiReadFile(third).find("<!-- End of Imagemap code -->") != std::string::npos);
        QCOMPARE(ApiReadFile(third + "~"), otherText);
    }

    void backupCanBeTurnedOffAndItsFailureIsTold()
    {
        Session app;
        app.Picture("pic.png", 320, 240);
        const std::string page = app.Home.File("page.html");
        WriteWholeFile(page, test::kNavPage);
        QVERIFY(app.Docs().OpenDocument(page, false));

        // A backup that cannot be written does not stop the save; the user hears of it.
        fs::create_directory(page + "~");
        app.AddRectangle("100,100,150,150");
        QVERIFY(app.Docs().SaveDocument(true, app.State.CurrentDocument));
        QVERIFY(ApiReadFile(page).find("100,100,150,150") != std::string::npos);
        QCOMPARE(app.Prompt.Messages.size(), std::size_t { 1 });
        QVERIFY(app.Prompt.Messages.back().Text.find("without a backup") != std::string::npos);
        QVERIFY(app.Prompt.Messages.back().Text.find(page + "~") != std::string::npos);
        fs::remove(page + "~");

        SettingValue(app.State.SettingsPath, "General", "ini_BackupPage", SettingMode::Write, "0");
        LoadAllSettings(app.State.SettingsPath, app.State.Settings);
        app.AddRectangle("200,100,250,150");
        QVERIFY(app.Docs().SaveDocument(true, app.State.CurrentDocument));
        QVERIFY(!fs::exists(page + "~"));
    }

    void newAndOpenedDocumentsBecomeTheActiveOne()
    {
        Session app;
        app.Window->show();
        app.Window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(app.Window.get()));
        const std::string first = app.Picture("first.png", 200, 100);
        app.NewDocument(first);
        app.NewDocument(app.Picture("second.png", 300, 150));
        QMdiArea& area = *app.Window->DocumentArea();

        const auto showsDocument = [&app, &area](int slot, const std::string& picture) {
            QCOMPARE(app.State.CurrentDocument, slot);
            QVERIFY(area.activeSubWindow() != nullptr);
            QCOMPARE(qobject_cast<DocumentWindow*>(area.activeSubWindow()->widget())->Slot(), slot);
            QCOMPARE(app.Docs().ActiveWindow()->Slot(), slot);
            QCOMPARE(
                app.Window->Panel().MapGrid().Value("Picture"), QString::fromStdString(picture));
        };
        // The user works in the code page of the first document, then picks a file in a dialog:
        // the main window is inactive meanwhile, and gets its focus back afterwards.
        QWidget dialog;
        const auto pickFileAnd = [&](auto command) {
            area.setActiveSubWindow(area.subWindowList().first());
            app.Surface().SelectPage(2);
            app.Docs().ActiveWindow()->Code().setFocus();
            dialog.show();
            dialog.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            command();
            dialog.hide();
            app.Window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(app.Window.get()));
            QTest::qWait(50);
        };
        const std::string third = app.Picture("third.png", 120, 90);
        pickFileAnd([&] { app.NewDocument(third); });
        showsDocument(3, third);

        const std::string page = app.Home.File("page.html");
        app.Picture("pic.png", 320, 240);
        WriteWholeFile(page, test::kNavPage);
        pickFileAnd([&] {
            app.Prompt.Files.push_back(page);
            app.Window->RunCommand("open");
        });
        showsDocument(4, "pic.png");
    }

    void loadAndSaveMessagesNameTheFileAndTheReason()
    {
        Session app;
        for (const char* name : { "missing.html", "missing.kvp", "missing.map", "missing.png" }) {
            const std::string path = app.Home.File(name);
            QVERIFY(!app.Docs().OpenDocument(path, true));
            const std::string& text = app.Prompt.Messages.back().Text;
            QVERIFY2(text.rfind(kCanceled + path + "\r\nReason : ", 0) == 0, text.c_str());
            QVERIFY2(text.find("No such file or directory") != std::string::npos, text.c_str());
        }

        const std::string page = app.Home.File("page.html");
        WriteWholeFile(page, test::kNavPage);
        if (geteuid() != 0) {
            fs::permissions(page, fs::perms::none);
            QVERIFY(!app.Docs().OpenDocument(page, false));
            QCOMPARE(app.Prompt.Messages.back().Text,
                kCanceled + page + "\r\nReason : Permission denied.");
            fs::permissions(page, fs::perms::owner_read | fs::perms::owner_write);
        }

        // The page's picture is missing and the user does not look for it.
        app.Prompt.Answers.push_back(PromptAnswer::No);
        QVERIFY(!app.Docs().OpenDocument(page, false));
        QCOMPARE(app.Prompt.Messages.back().Text,
            kCanceled + page
                + "\r\nReason : There was an error while trying to load the picture. The picture "
                + app.Home.File("pic.png") + " was not found.");
        QCOMPARE(app.State.Documents.size(), std::size_t { 1 });

        // A save into a folder that cannot be written says so, and the document stays changed.
        app.NewDocument(app.Picture("pic.png"));
        const fs::path locked = app.Home.Path() / "locked";
        fs::create_directory(locked);
        fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
        const std::string target = (locked / "map.html").string();
        app.Prompt.Files.push_back(target);
        QVERIFY(!app.Docs().SaveDocument(false, app.State.CurrentDocument));
        const std::string& text = app.Prompt.Messages.back().Text;
        QVERIFY2(text.rfind("The file could not be saved.\r\n\r\nThe file " + target
                         + " could not be written.\r\nReason : ",
                     0)
                == 0,
            text.c_str());
        QVERIFY(app.Current().Changed);
        fs::permissions(locked, fs::perms::owner_all);
    }

    void picturesOfEveryKindOpenAndDroppedFilesOpenEach()
    {
        Session app;
        app.Prompt.Files.push_back(std::nullopt);
        app.Window->RunCommand("new");
        const std::string& pictures = app.Prompt.FileRequests.back().Filter;
        QVERIFY(pictures.rfind("PNG Files (*.png)|*.png|JPEG Files", 0) == 0);
        for (const char* kind : { "*.gif", "*.bmp", "*.webp" })
            QVERIFY2(pictures.find(kind) != std::string::npos, kind);
        QCOMPARE(app.Prompt.FileRequests.back().FilterIndex,
            static_cast<int>(Split(pictures, "|").size() / 2));

        // Open takes a picture as well as the kinds of document.
        const std::string webp = app.Home.File("photo.webp");
        QImage(64, 48, QImage::Format_RGB32).save(QString::fromStdString(webp));
        app.Prompt.Files.push_back(webp);
        app.Window->RunCommand("open");
        QVERIFY(app.Prompt.FileRequests.back().Filter.find("*.webp") != std::string::npos);
        QCOMPARE(app.State.Documents.size(), std::size_t { 2 });
        QCOMPARE(app.Current().Images[1].MapName, std::string("photo.webp"));
        QCOMPARE(app.Current().Images[1].Width, 64);

        // Several dropped files open one after another.
        const std::string page = app.Home.File("page.html");
        app.Picture("pic.png", 320, 240);
        WriteWholeFile(page, test::kNavPage);
        const std::string bmp = app.Picture("drawing.bmp", 40, 30);
        QMimeData mime;
        mime.setUrls({ QUrl::fromLocalFile(QString::fromStdString(page)),
            QUrl::fromLocalFile(QString::fromStdString(bmp)) });
        QDragEnterEvent enter({ 10, 10 }, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(app.Window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop({ 10, 10 }, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(app.Window.get(), &drop);
        QCOMPARE(app.State.Documents.size(), std::size_t { 4 });
        QCOMPARE(Text(app.State.Documents[2].Title), Text(page));
        QCOMPARE(app.Current().Images[1].Src, bmp);
        QVERIFY(app.Prompt.Messages.empty());
    }

    void titleFollowsTheActiveDocumentAndCloseAsksSaveOrNot()
    {
        Session app;
        QCOMPARE(app.Window->windowTitle(), QString("Karvex 3"));
        app.Picture("pic.png", 320, 240);
        const std::string page = app.Home.File("page.html");
        WriteWholeFile(page, test::kNavPage);
        QVERIFY(app.Docs().OpenDocument(page, false));
        QVERIFY(app.Window->windowTitle().startsWith("page.html[*] "));
        QCOMPARE(app.Window->windowFilePath(), QString::fromStdString(page));
        QVERIFY(!app.Window->isWindowModified());
        app.AddRectangle("100,100,150,150");
        QVERIFY(app.Window->isWindowModified());

        const std::string picture = app.Picture("photo.png");
        app.NewDocument(picture);
        QVERIFY(app.Window->windowTitle().startsWith("Untitled2[*] "));
        QMdiArea& area = *app.Window->DocumentArea();
        area.setActiveSubWindow(area.subWindowList().first());
        QVERIFY(app.Window->windowTitle().startsWith("page.html[*] "));
        QVERIFY(app.Window->isWindowModified());

        app.Prompt.Answers.push_back(PromptAnswer::Cancel);
        app.Docs().CloseActiveDocument();
        const PromptMessage& question = app.Prompt.Messages.back();
        QCOMPARE(question.Text, "Do you want to save changes in " + page);
        QCOMPARE(question.Buttons, PromptButtons::YesNoCancel);
        QCOMPARE(question.Icon, PromptIcon::Question);
        QCOMPARE(question.YesCaption, std::string("Save"));
        QCOMPARE(question.NoCaption, std::string("Don't Save"));
        QCOMPARE(area.subWindowList().size(), 2);

        app.Prompt.Answers.assign({ PromptAnswer::No, PromptAnswer::No });
        QVERIFY(app.Docs().CloseAllDocuments());
        QCOMPARE(app.Window->windowTitle(), QString("Karvex 3"));
        QVERIFY(!app.Window->isWindowModified());
        QVERIFY(!app.State.OpenDocuments.Contains(page));
        for (const char* command : { "t_Save", "Mapping", "t_Rectangle" })
            QVERIFY2(!app.Bars().IsEnabled(command), command);
    }

    void fileDialogsStartInTheDocumentsFolder()
    {
        Session app;
        const fs::path pictures = app.Home.Path() / "pictures";
        fs::create_directory(pictures);
        QImage(50, 40, QImage::Format_RGB32)
            .save(QString::fromStdString((pictures / "photo.png").string()));
        app.NewDocument((pictures / "photo.png").string());

        // Save As offers the picture's name as a page beside it.
        app.Prompt.Files.push_back(std::nullopt);
        QVERIFY(!app.Docs().SaveDocument(false, app.State.CurrentDocument));
        QCOMPARE(app.Prompt.FileRequests.back().InitialDir, pictures.string());
        QCOMPARE(app.Prompt.FileRequests.back().FileName, std::string("photo.html"));

        const fs::path site = app.Home.Path() / "site";
        fs::create_directory(site);
        const std::string saved = (site / "map.html").string();
        app.Prompt.Files.push_back(saved);
        QVERIFY(app.Docs().SaveDocument(false, app.State.CurrentDocument));
        app.Prompt.Files.push_back(std::nullopt);
        app.Window->RunCommand("open");
        QCOMPARE(app.Prompt.FileRequests.back().InitialDir, site.string());
        app.Prompt.Files.push_back(std::nullopt);
        QVERIFY(!app.Docs().SaveDocument(false, app.State.CurrentDocument));
        QCOMPARE(app.Prompt.FileRequests.back().FileName, std::string("map.html"));

        // With no document open, the last folder a file was chosen in.
        app.Docs().CloseAllDocuments();
        app.Prompt.Files.push_back(std::nullopt);
        app.Window->RunCommand("new");
        QCOMPARE(app.Prompt.FileRequests.back().InitialDir, site.string());
    }

    void savingIntoAPageChangesOnlyTheMovedArea()
    {
        Session app;
        app.Picture("pic.png", 320, 240);
        const std::string page = app.Home.File("indented.html");
        const std::string text = "<!DOCTYPE html>\n<html>\n  <body>\n"
                                 "    <img src=\"pic.png\" usemap=\"#nav\" alt=\"Site\">\n"
                                 "    <map name=\"nav\">\n"
                                 "      <area shape=\"rect\" coords=\"10,10,60,50\" href=\"a\">\n"
                                 "      <area shape=\"circle\" coords=\"150,150,20\" href=\"b\">\n"
                                 "    </map>\n  </body>\n</html>\n";
        WriteWholeFile(page, text);
        QVERIFY(app.Docs().OpenDocument(page, false));
        app.Docs().ActiveWindow()->SelectHotspot(1);
        app.Drag({ 30, 30 }, { 40, 35 });
        const std::string moved = app.Current().Hotspots[1].Coords;
        QVERIFY(moved != "10,10,60,50");
        QVERIFY(app.Docs().SaveDocument(true, app.State.CurrentDocument));
        QCOMPARE(Read(page),
            Text(ReplaceAll(text, "coords=\"10,10,60,50\"", "coords=\"" + moved + "\"")));
    }
};

QTEST_MAIN(FileHandlingTest)
#include "file_handling_test.moc"
