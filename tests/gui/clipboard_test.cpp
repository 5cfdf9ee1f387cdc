// Copy, cut and paste of hotspots with the keys a user presses, and AREA tags and maps through
// the desktop's clipboard.

#include "components/command_bars/command_bars.h"
#include "core/formats/html_import.h"
#include "core/formats/tag_reader.h"
#include "core/operations/hotspot_clipboard.h"
#include "support/editor_session.h"
#include "ui/document_model.h"
#include "ui/system_clipboard.h"

#include <QTest>
#include <QUndoStack>

using namespace karvex;

namespace {

class FakeClipboard : public SystemClipboard
{
public:
    QString Held;
    QString Text() const override { return Held; }
    void SetMarkup(const QString& markup) override { Held = markup; }
};

struct App : test::Session
{
    FakeClipboard Clipboard;

    bool Start()
    {
        Docs().SetSystemClipboard(Clipboard);
        Window->show();
        Window->activateWindow();
        return QTest::qWaitForWindowActive(Window.get());
    }
    // The keys pressed on the picture, where a user's Ctrl+C means the hotspot.
    void Keys(const char* keys)
    {
        Surface().findChild<QWidget*>("Canvas")->setFocus();
        QTest::keySequence(Window.get(), QKeySequence(keys));
    }
    DocumentModel& Model() { return Docs().ActiveWindow()->Model(); }
    std::vector<const Hotspot*> Live()
    {
        std::vector<const Hotspot*> live;
        for (const Hotspot& spot : Current().Hotspots) {
            if (spot.Active)
                live.push_back(&spot);
        }
        return live;
    }
    std::string Href(const Hotspot& spot)
    {
        return GetAttribute(ParseTag(spot.AreaTag), "HREF", "");
    }
};

} // namespace

class ClipboardTest : public QObject
{
    Q_OBJECT

private slots:
    void copyCutAndPasteWithTheKeysAcrossDocuments()
    {
        App app;
        QVERIFY(app.Start());
        const int first = app.NewDocument(app.Picture("a.png"));
        QVERIFY(!app.Bars().IsEnabled("Paste")); // nothing copied yet
        const int slot = app.AddRectangle("20,20,60,50");
        app.Model().SetAttribute(slot, "HREF", "x.html");
        app.Model().SetColor(slot, 255);
        app.Docs().ActiveWindow()->SelectHotspot(slot);

        app.Keys("Ctrl+C");
        QVERIFY(app.Bars().IsEnabled("Paste"));
        app.Keys("Ctrl+V");
        app.Keys("Ctrl+V");
        auto live = app.Live();
        QCOMPARE(live.size(), size_t(3));
        QCOMPARE(live[1]->Name, std::string("Rectangle2"));
        QCOMPARE(live[2]->Name, std::string("Rectangle3"));
        QCOMPARE(app.Href(*live[2]), std::string("x.html"));
        QCOMPARE(live[2]->Color, std::string("255"));
        // Each paste lands in view, one step away from the one before.
        QCOMPARE(live[1]->Coords, std::string("30,30,70,60"));
        QCOMPARE(live[2]->Coords, std::string("40,40,80,70"));
        QCOMPARE(app.State.CurrentHotspot, live[2]->Id);
        QCOMPARE(app.Surface().SelectedFigureId(), live[2]->Id);
        app.Keys("Ctrl+Z");
        QCOMPARE(app.Live().size(), size_t(2));

        // A locked hotspot is cut only when the user says so.
        app.Model().SetLocked(slot, true);
        app.Docs().ActiveWindow()->SelectHotspot(slot);
        const std::size_t held = app.State.HotspotClipboard.size();
        app.Prompt.Answers.push_back(PromptAnswer::No);
        app.Keys("Ctrl+X");
        QCOMPARE(app.State.HotspotClipboard.size(), held);
        QVERIFY(app.Current().Hotspots[static_cast<size_t>(slot)].Active);
        app.Prompt.Answers.push_back(PromptAnswer::Yes);
        app.Keys("Ctrl+X");
        QCOMPARE(app.State.HotspotClipboard.size(), held + 1);
        QVERIFY(!app.Current().Hotspots[static_cast<size_t>(slot)].Active);
        QCOMPARE(app.Prompt.Messages.size(), size_t(2));

        // Into another document, locked as it was cut.
        const int second = app.NewDocument(app.Picture("b.png", 200, 150));
        QVERIFY(second != first);
        app.Keys("Ctrl+V");
        live = app.Live();
        QCOMPARE(live.size(), size_t(1));
        QVERIFY(live[0]->Locked);
        QCOMPARE(app.Href(*live[0]), std::string("x.html"));
    }

    void areaTagsAndMapsPassThroughTheDesktopClipboard()
    {
        App app;
        QVERIFY(app.Start());
        app.NewDocument(app.Picture("a.png"));
        const int slot = app.AddRectangle("5,5,50,40");
        app.Model().SetAttribute(slot, "HREF", "a.html");
        app.Docs().ActiveWindow()->SelectHotspot(slot);

        app.Keys("Ctrl+Shift+C");
        QCOMPARE(app.Clipboard.Held,
            QString::fromStdString(app.Current().Hotspots[static_cast<size_t>(slot)].AreaTag));
        const std::string source = app.Current().SourceMapCode;
        app.Window->RunCommand("Exp_CopyMap");
        QVERIFY(app.Clipboard.Held.contains("<!-- Visit us at"));
        QVERIFY(app.Clipboard.Held.contains("HREF=\"a.html\""));
        QCOMPARE(app.Current().SourceMapCode, source); // what a save searches for stays

        app.Clipboard.Held
            = "\n<area shape=\"circle\" coords=\"100,100,20\" href=\"w.html\" ##NAME=\"Web\">\n";
        app.Keys("Ctrl+Shift+V");
        auto live = app.Live();
        QCOMPARE(live.size(), size_t(2));
        QCOMPARE(live[1]->Name, std::string("Web"));
        QCOMPARE(live[1]->Coords, std::string("100,100,20"));
        QCOMPARE(app.State.CurrentHotspot, live[1]->Id);

        app.Clipboard.Held = "<area shape=\"poly\" coords=\"1,2,3,4,5\">";
        app.Keys("Ctrl+Shift+V");
        QCOMPARE(app.Live().size(), size_t(2));
        QCOMPARE(app.Prompt.Messages.back().Text, std::string(kClipboardImportError));
    }

    void aPastedHotspotIsSavedIntoThePage()
    {
        App app;
        QVERIFY(app.Start());
        app.Picture("pic.png");
        const std::string page = app.Home.File("page.html");
        const std::string before = "<p>Intro</p>\n<img src=\"pic.png\" usemap=\"#m\">\n";
        WriteWholeFile(page,
            before
                + "<map name=\"m\"><area shape=rect coords=\"10,10,40,40\" "
                  "href=\"go.html\"></map>\n<p>End</p>\n");
        QVERIFY(app.Docs().OpenDocument(page, false));
        app.Docs().ActiveWindow()->SelectHotspot(1);
        app.Keys("Ctrl+C");
        app.Keys("Ctrl+V");
        app.Keys("Ctrl+S");
        const std::string saved = ApiReadFile(page);
        QVERIFY2(saved.rfind(before, 0) == 0, saved.c_str());
        QVERIFY2(saved.find("coords=\"20,20,50,50\" href=\"go.html\">") != std::string::npos,
            saved.c_str());
        QCOMPARE(FindMapCandidates(saved, false).front().AreaCount, size_t(2));
        QVERIFY(saved.find("<p>End</p>\n") != std::string::npos);
    }
};

QTEST_MAIN(ClipboardTest)
#include "clipboard_test.moc"
