// The preview page in a real browser: headless Chromium, driven by
// scripts/check_converted_maps.sh, must hit every AREA of the previewed map where the map says
// it lies. Built only where Chromium is installed.

#include "core/util/file_io.h"
#include "support/editor_session.h"

#include <QProcess>
#include <QTest>
#include <QUrl>
#include <filesystem>

using namespace karvex;
using test::Session;

namespace {

namespace fs = std::filesystem;

struct Previewing : Session
{
    std::string Opened;

    Previewing()
    {
        Docs().SetUrlOpener([this](const std::string& url) {
            Opened = QUrl(QString::fromStdString(url)).toLocalFile().toStdString();
        });
    }
    // One hotspot of each shape beside those the map has.
    void AddShapes()
    {
        AddRectangle("20,340,120,400");
        Figure circle;
        circle.Kind = ShapeCircle;
        circle.Coordinates = "600,380,30";
        emit Surface().FigureCreated(circle);
        Figure polygon;
        polygon.Kind = ShapePolygon;
        polygon.Coordinates = "300,350,380,340,400,410,320,415";
        emit Surface().FigureCreated(polygon);
    }
};

// The browser's verdict on a page: the script's output, and the PASS lines counted.
struct Verdict
{
    int ExitCode = -1;
    QString Output;
    int Passed = 0;
};

Verdict CheckInBrowser(const std::string& page)
{
    QProcess check;
    check.setProcessChannelMode(QProcess::MergedChannels);
    check.start("bash",
        { KARVEX_SOURCE_DIR "/scripts/check_converted_maps.sh", QString::fromStdString(page) });
    Verdict verdict;
    // The script probes every pixel of the picture for every area: slow on a busy machine.
    if (!check.waitForFinished(300000))
        return verdict;
    verdict.ExitCode = check.exitCode();
    verdict.Output = QString::fromUtf8(check.readAll());
    verdict.Passed = static_cast<int>(verdict.Output.count(QStringLiteral("\nPASS ")));
    return verdict;
}

} // namespace

class PreviewBrowserTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qputenv("CHROMIUM", KARVEX_CHROMIUM); }

    void EveryAreaOfThePreviewIsHitInTheBrowser_data()
    {
        QTest::addColumn<int>("docExisting");
        QTest::addColumn<bool>("newMap");
        QTest::newRow("new map, generated page in the program folder") << 1 << true;
        QTest::newRow("page, generated page beside it") << 1 << false;
        QTest::newRow("page, copy of the whole page") << 2 << false;
    }

    void EveryAreaOfThePreviewIsHitInTheBrowser()
    {
        QFETCH(int, docExisting);
        QFETCH(bool, newMap);
        Previewing app;
        fs::create_directory(app.Home.Path() / "site");
        for (const char* file : { "sample.html", "welcome.jpg" })
            fs::copy_file(
                fs::path(KARVEX_SOURCE_DIR "/samples") / file, app.Home.Path() / "site" / file);
        if (newMap)
            app.NewDocument(app.Home.File("site/welcome.jpg"));
        else
            QVERIFY(app.Docs().OpenDocument(app.Home.File("site/sample.html"), false));
        app.AddShapes();
        app.State.Settings.ini_DocExisting = docExisting;
        app.State.Settings.ini_DocTmpFile = false;
        app.State.Settings.ini_DocFilename = "kvxtmpfile.html";
        app.Window->RunCommand("T_PREVIEW");
        QVERIFY(!app.Opened.empty());

        const Verdict verdict = CheckInBrowser(app.Opened);
        const int areas = newMap ? 3 : 7;
        QVERIFY2(verdict.ExitCode == 0, qPrintable(verdict.Output));
        // Every area, and the picture where no area lies.
        QVERIFY2(verdict.Passed == areas + 1, qPrintable(verdict.Output));
    }
};

QTEST_MAIN(PreviewBrowserTest)
#include "preview_browser_test.moc"
