// Preview in the browser under each [ExternalPreview] setting, and the help window: F1, the
// topics of the dialogs' Help buttons, the links of every help page, a missing help folder or
// page, and the window closing with the program.

#include "app/help_window.h"
#include "app/html_help.h"
#include "components/command_bars/command_bars.h"
#include "core/util/file_io.h"
#include "support/editor_session.h"
#include "support/modal_answer.h"
#include "ui/code_edit_dialog.h"
#include "ui/map_chooser_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <sys/stat.h>

using namespace karvex;
using test::Session;

namespace {

namespace fs = std::filesystem;

// A session whose browser is a list of the addresses it was asked to open.
struct Previewing : Session
{
    std::vector<std::string> Opened;

    Previewing()
    {
        Docs().SetUrlOpener([this](const std::string& url) { Opened.push_back(url); });
    }
    // The page test::kNavPage in a folder of its own, opened, with a second hotspot drawn
    // (unsaved).
    std::string OpenChangedPage()
    {
        fs::create_directory(Home.Path() / "site");
        Picture("site/pic.png");
        std::string page = Home.File("site/page.html");
        WriteWholeFile(page, test::kNavPage);
        if (!Docs().OpenDocument(page, false))
            return {};
        AddRectangle("100,100,150,140");
        return page;
    }
    std::string OpenedFile() const
    {
        return Opened.empty()
            ? std::string()
            : QUrl(QString::fromStdString(Opened.back())).toLocalFile().toStdString();
    }
    std::string LastMessage() const
    {
        return Prompt.Messages.empty() ? std::string() : Prompt.Messages.back().Text;
    }
};

// A session whose help pages are those the build put in bin/help.
struct Helping : Session
{
    Helping() { State.HelpFile = KARVEX_HELP_DIR "/index.html"; }
    HelpWindow* Help() { return Window->Help() ? Window->Help()->Window() : nullptr; }
    QString Shown() { return Help() ? Help()->Browser().source().fileName() : QString(); }
};

// The hrefs of a help page.
QStringList Links(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(file.readAll());
    QStringList links;
    static const QRegularExpression href(R"re(href="([^"]+)")re");
    for (auto it = href.globalMatch(text); it.hasNext();)
        links << it.next().captured(1);
    return links;
}

bool PageHasId(const QString& path, const QString& id)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
        && QString::fromUtf8(file.readAll()).contains("id=\"" + id + "\"");
}

} // namespace

class PreviewHelpTest : public QObject
{
    Q_OBJECT

private slots:
    void PreviewOfANewMapIsGeneratedInTheProgramFolder()
    {
        Previewing app;
        app.NewDocument(app.Picture("pic.png"));
        QVERIFY(app.Bars().IsEnabled("t_Preview"));
        app.AddRectangle("10,10,60,50");
        app.Window->RunCommand("t_preview");

        QCOMPARE(app.OpenedFile(), app.Home.File("kvx30preview.html"));
        const std::string written = ApiReadFile(app.OpenedFile());
        QVERIFY(written.find(app.Current().ImgTag) != std::string::npos);
        QVERIFY(written.find("COORDS=\"10,10,60,50\"") != std::string::npos);
        // The document stays the unsaved map it was.
        QCOMPARE(app.Current().FilePath, std::string());
        QVERIFY(app.Current().Changed);
        QVERIFY(app.Prompt.Messages.empty());

        // Without USEMAP there is nothing a browser could connect: nothing is written.
        app.Opened.clear();
        app.Current().ImgTag = "<IMG SRC=\"pic.png\" Width=\"320\" Height=\"240\">";
        app.Window->RunCommand("T_PREVIEW");
        QVERIFY(app.Opened.empty());
        QCOMPARE(app.LastMessage(),
            std::string("You have to set an USEMAP value before you can preview this document."));
    }

    void PreviewBesideAPageAsksAndLeavesThePageAlone()
    {
        Previewing app;
        const std::string page = app.OpenChangedPage();
        QVERIFY(!page.empty());
        app.State.Settings.ini_TestAction = 2; // ask
        app.Prompt.Answers.push_back(PromptAnswer::No);
        app.Window->RunCommand("T_PREVIEW");

        QCOMPARE(app.Prompt.Messages.size(), std::size_t(1));
        QCOMPARE(app.Prompt.Messages[0].Text,
            std::string("Do you want to save changes in this file before testing?"));
        QCOMPARE(app.Prompt.Messages[0].Default, PromptAnswer::No);
        QCOMPARE(app.OpenedFile(), app.Home.File("site/kvx30preview.html"));
        QVERIFY(ApiReadFile(app.OpenedFile()).find("100,100,150,140") != std::string::npos);
        QCOMPARE(ApiReadFile(page), std::string(test::kNavPage));
        QVERIFY(app.Current().Changed);
        QVERIFY(!fs::exists(app.Home.File("site/kvx30preview.html~")));

        // Told to save first, the preview saves the page without asking.
        app.State.Settings.ini_TestAction = 1;
        app.Window->RunCommand("T_PREVIEW");
        QVERIFY(ApiReadFile(page).find("100,100,150,140") != std::string::npos);
        QVERIFY(!app.Current().Changed);
        QCOMPARE(app.Prompt.Messages.size(), std::size_t(1));
    }

    void WholePagePreviewGoesIntoACopyOrThePage()
    {
        Previewing app;
        const std::string page = app.OpenChangedPage();
        QVERIFY(!page.empty());
        app.State.Settings.ini_TestAction = 3; // never save
        app.State.Settings.ini_DocExisting = 2;
        app.State.Settings.ini_DocTmpFile = false;
        app.State.Settings.ini_DocFilename = "trial.html";
        app.Window->RunCommand("T_PREVIEW");

        QCOMPARE(app.OpenedFile(), app.Home.File("site/trial.html"));
        const std::string copy = ApiReadFile(app.OpenedFile());
        QVERIFY(copy.find("<p>Before</p>") != std::string::npos);
        QVERIFY(copy.find("<p>After</p>") != std::string::npos);
        QVERIFY(copy.find("100,100,150,140") != std::string::npos);
        QCOMPARE(ApiReadFile(page), std::string(test::kNavPage));
        QCOMPARE(app.Current().FilePath, page);

        // A second preview still finds the map it replaces in a fresh copy of the page.
        app.AddRectangle("200,20,230,60");
        app.Window->RunCommand("T_PREVIEW");
        QVERIFY(ApiReadFile(app.OpenedFile()).find("200,20,230,60") != std::string::npos);
        QCOMPARE(ApiReadFile(page), std::string(test::kNavPage));

        // A copy name leading out of the page's folder is refused; nothing is written or opened.
        app.Opened.clear();
        app.State.Settings.ini_DocFilename = "../trial.html";
        app.Window->RunCommand("T_PREVIEW");
        QVERIFY(app.Opened.empty());
        QVERIFY2(
            app.LastMessage().rfind("The preview's temporary file name \"../trial.html\"", 0) == 0,
            app.LastMessage().c_str());
        QVERIFY(!fs::exists(app.Home.File("trial.html")));
        app.Prompt.Messages.clear();

        // Over the page itself: a real save, which clears the changed mark.
        app.State.Settings.ini_DocTmpFile = true;
        app.Window->RunCommand("T_PREVIEW");
        QCOMPARE(app.OpenedFile(), page);
        QVERIFY(ApiReadFile(page).find("200,20,230,60") != std::string::npos);
        QVERIFY(!app.Current().Changed);
        QVERIFY(app.Prompt.Messages.empty());
    }

    void PreviewIntoAReadOnlyFolderSaysWhy()
    {
        Previewing app;
        const std::string page = app.OpenChangedPage();
        QVERIFY(!page.empty());
        ::chmod(app.Home.File("site").c_str(), 0555);
        app.Window->RunCommand("T_PREVIEW");
        ::chmod(app.Home.File("site").c_str(), 0755);

        QVERIFY(app.Opened.empty());
        const std::string message = app.LastMessage();
        QVERIFY2(message.rfind("The preview could not be written.", 0) == 0, message.c_str());
        QVERIFY2(message.find(app.Home.File("site/kvx30preview.html")) != std::string::npos,
            message.c_str());
        QCOMPARE(app.Prompt.Messages.back().Icon, PromptIcon::Critical);
        QCOMPARE(ApiReadFile(page), std::string(test::kNavPage));
    }

    void F1ShowsTheContentsAndEveryLinkLeadsToAPage()
    {
        Helping app;
        app.Window->show();
        app.Window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(app.Window.get()));
        QVERIFY(app.Bars().IsEnabled("Help1"));
        QTest::keyClick(app.Window.get(), Qt::Key_F1);
        QTRY_VERIFY(app.Help() && app.Help()->isVisible());
        QCOMPARE(app.Shown(), QString("index.html"));
        QVERIFY(app.Help()->Browser().toPlainText().contains("Drawing and editing hotspots"));

        const QDir folder(KARVEX_HELP_DIR);
        for (const HelpPage& page : HelpPages()) {
            QVERIFY2(app.Help()->ShowPage(page.File), page.File);
            QCOMPARE(app.Shown(), QString(page.File));
            for (const QString& link : Links(folder.filePath(page.File))) {
                const QString file = link.section('#', 0, 0);
                const QString id = link.section('#', 1);
                const QString target = folder.filePath(file.isEmpty() ? page.File : file);
                QVERIFY2(QFileInfo(target).isFile(), qPrintable(page.File + (" -> " + link)));
                QVERIFY2(
                    id.isEmpty() || PageHasId(target, id), qPrintable(page.File + (" -> " + link)));
            }
        }
        for (const int id : { 0, 1001, 1002, 1003, 1004, 1005, 1006, 2006, 3003, 7001 }) {
            const QString topic = HelpTopicPage(id);
            const QString target = folder.filePath(topic.section('#', 0, 0));
            QVERIFY2(QFileInfo(target).isFile(), qPrintable(topic));
            QVERIFY2(!topic.contains('#') || PageHasId(target, topic.section('#', 1)),
                qPrintable(topic));
        }
        // Back returns along the pages shown.
        app.Help()->Browser().backward();
        QCOMPARE(app.Shown(), QString(HelpPages()[HelpPages().size() - 2].File));
        QVERIFY(app.Prompt.Messages.empty());

        // The help window goes with the program.
        const QPointer<HelpWindow> window = app.Help();
        app.Window->close();
        QVERIFY(window.isNull());
    }

    void DialogHelpButtonsOpenTheirTopicsInFrontOfTheDialog()
    {
        Helping app;
        app.Window->show();
        app.NewDocument(app.Picture("pic.png"));
        app.AddRectangle("10,10,60,50");
        bool inFrontOfDialog = false;
        app.Docs().SetCodeDialogRunner([&](CodeEditDialog& dialog) {
            dialog.setModal(true);
            dialog.show();
            dialog.findChild<QPushButton*>("HelpButton")->click();
            inFrontOfDialog = app.Help() && app.Help()->parentWidget() == &dialog;
            dialog.reject();
            return false;
        });
        app.Window->RunCommand("Edit_Fig");
        QVERIFY(app.Help() && app.Help()->isVisible());
        QCOMPARE(app.Shown(), QString("code.html"));
        QCOMPARE(app.Help()->Browser().source().fragment(), QString("edit-dialog"));
        QVERIFY(inFrontOfDialog);
        // Back with the main window once the dialog has closed.
        QCOMPARE(app.Help()->parentWidget(), app.Window.get());
        QVERIFY(app.Help()->isVisible());

        const std::string page = app.Home.File("two.html");
        WriteWholeFile(page,
            "<img src=\"pic.png\" usemap=\"#a\"><map name=\"a\"></map>"
            "<img src=\"pic.png\" usemap=\"#b\"><map name=\"b\"></map>");
        QString chooserTopic;
        inFrontOfDialog = false;
        test::AnswerModal<MapChooserDialog>([&](MapChooserDialog& dialog) {
            dialog.findChild<QPushButton*>("HelpButton")->click();
            chooserTopic = app.Shown();
            inFrontOfDialog = app.Help() && app.Help()->parentWidget() == &dialog;
            dialog.reject();
        });
        app.Docs().OpenDocument(page, false);
        QCOMPARE(chooserTopic, QString("several-maps.html"));
        QVERIFY(inFrontOfDialog);
        QCOMPARE(app.Help()->parentWidget(), app.Window.get());
    }

    void MissingHelpIsNamedAndNeverABlankPage()
    {
        Helping app;
        const std::string folder = app.Home.File("help");
        app.State.HelpFile = folder + "/index.html";
        app.Window->RunCommand("HELP1");
        QVERIFY(!app.Help());
        QCOMPARE(app.Prompt.Messages.size(), std::size_t(1));
        QCOMPARE(app.Prompt.Messages[0].Text, "Help File '" + folder + "/index.html' not found.");
        QCOMPARE(app.Prompt.Messages[0].Icon, PromptIcon::Information);

        // A help folder that lacks one page: its link says so and the page shown stays.
        fs::copy(KARVEX_HELP_DIR, folder);
        fs::remove(folder + "/hotspots.html");
        app.Window->RunCommand("HELP1");
        QVERIFY(app.Help());
        app.Help()->Browser().setSource(QUrl("hotspots.html"));
        QCOMPARE(
            app.Prompt.Messages.back().Text, "Help File '" + folder + "/hotspots.html' not found.");
        QCOMPARE(app.Shown(), QString("index.html"));
        QVERIFY(!app.Help()->Browser().toPlainText().isEmpty());
    }
};

QTEST_MAIN(PreviewHelpTest)
#include "preview_help_test.moc"
