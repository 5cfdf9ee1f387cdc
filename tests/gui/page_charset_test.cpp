// A page in a legacy charset in the running program: the chooser, the property panel and the code
// page show its text readable, and what the user types goes back into the page in its charset.

#include "components/code_box/code_box.h"
#include "components/property_grid/property_grid.h"
#include "support/editor_session.h"
#include "support/grid_driver.h"
#include "support/modal_answer.h"
#include "ui/map_chooser_dialog.h"
#include "ui/property_panel.h"

#include <QInputMethodEvent>
#include <QListWidget>
#include <QTest>

using namespace karvex;
using test::Session;

namespace {

// "Map", "Seoul" and "Hello" in EUC-KR, and as the program shows them.
constexpr const char* kMapEucKr = "\xC1\xF6\xB5\xB5";
constexpr const char* kSeoulEucKr = "\xBC\xAD\xBF\xEF";
constexpr const char* kHelloEucKr = "\xBE\xC8\xB3\xE7\xC7\xCF\xBC\xBC\xBF\xE4";
const QString kMap = QString::fromUtf8("\xEC\xA7\x80\xEB\x8F\x84");
const QString kSeoul = QString::fromUtf8("\xEC\x84\x9C\xEC\x9A\xB8");
const QString kHello
    = QString::fromUtf8("\xEC\x95\x88\xEB\x85\x95\xED\x95\x98\xEC\x84\xB8\xEC\x9A\x94");

const std::string kPage = std::string("<html><head><meta charset=\"EUC-KR\"></head><body>\n")
    + "<img src=\"pic.png\" usemap=\"#m\" alt=\"" + kMapEucKr + "\">\n"
    + "<map name=\"m\">\n<area shape=rect coords=\"10,10,90,90\" href=\"seoul.html\" alt=\""
    + kSeoulEucKr + "\">\n</map>\n" + "<img src=\"pic.png\" usemap=\"#n\" alt=\"" + kSeoulEucKr
    + "\">\n" + "<map name=\"n\"><area shape=circle coords=\"50,50,20\" href=\"n.html\"></map>\n"
    + "<p>" + kHelloEucKr + "</p></body></html>\n";

} // namespace

class PageCharsetTest : public QObject
{
    Q_OBJECT

private slots:
    void eucKrPageIsReadableAndKeepsItsBytes()
    {
        Session app;
        app.Picture("pic.png", 200, 150);
        const std::string page = app.Home.File("page.html");
        WriteWholeFile(page, kPage);

        QStringList captions;
        test::AnswerModal<MapChooserDialog>([&captions](MapChooserDialog& dialog) {
            for (int row = 0; row < dialog.List().count(); ++row)
                captions << dialog.List().item(row)->text();
            dialog.List().setCurrentRow(0);
            dialog.accept();
        });
        QVERIFY(app.Docs().OpenDocument(page, false));
        QVERIFY(QTest::qWaitForWindowExposed(app.Window.get()));
        QCOMPARE(captions, QStringList({ kMap, kSeoul }));
        QCOMPARE(app.Current().Charset, std::string("EUC-KR"));

        PropertyPanel& panel = app.Window->Panel();
        QCOMPARE(panel.MapGrid().Value("AltText"), kMap);
        app.Docs().ActiveWindow()->SelectHotspot(1);
        QCOMPARE(panel.HotspotGrid().Value("Alt"), kSeoul);

        // The code page, as the user opens it.
        app.ShowPage("Code");
        CodeBox& code = app.Code();
        QVERIFY(code.RegionText("IMAGE_TAG").contains("alt=\"" + kMap + "\""));
        QVERIFY(code.RegionText("Rectangle1").contains("alt=\"" + kSeoul + "\""));

        // Korean typed into the panel is stored, and saved, as EUC-KR; no other byte changes.
        // Hangul comes from an input method, which commits whole syllables.
        const test::GridDriver alt(panel.HotspotGrid());
        QVERIFY(alt.Open("Alt"));
        alt.Editor()->selectAll();
        QInputMethodEvent composed;
        composed.setCommitString(kHello);
        QApplication::sendEvent(alt.Editor(), &composed);
        QVERIFY(alt.Type({}));
        QCOMPARE(panel.HotspotGrid().Value("Alt"), kHello);
        QVERIFY(code.RegionText("Rectangle1").contains("alt=\"" + kHello + "\""));
        QVERIFY(app.Docs().SaveDocument(true, app.State.CurrentDocument));
        std::string expected = kPage;
        const std::string oldAlt = std::string("alt=\"") + kSeoulEucKr + "\">\n</map>";
        expected.replace(expected.find(oldAlt), oldAlt.size(),
            std::string("alt=\"") + kHelloEucKr + "\">\n</map>");
        QCOMPARE(ApiReadFile(page), expected);
    }
};

QTEST_MAIN(PageCharsetTest)
#include "page_charset_test.moc"
