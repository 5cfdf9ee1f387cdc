// The code box driven through its operations and with real mouse and key events on its
// viewport, asserting on its regions and events; and the tag colouring it paints with.

#include "components/code_box/code_box.h"
#include "components/code_box/code_tokenizer.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

using namespace karvex;

namespace {

// Tokens as "kind:text" joined with "|": T text, E element name, N attribute name,
// V attribute value, C comment.
QString Spans(const QString& text, const std::vector<CodeToken>& tokens)
{
    static const char kLetters[] = { 'T', 'E', 'N', 'V', 'C' };
    QStringList parts;
    for (const CodeToken& token : tokens)
        parts << QString(QLatin1Char(kLetters[static_cast<int>(token.Kind)])) + ":"
                + text.mid(token.Start, token.Length);
    return parts.join('|');
}

QWidget* Viewport(CodeBox& box) { return box.findChild<QAbstractScrollArea*>()->viewport(); }

QPoint LineCentre(CodeBox& box, const QString& key) { return box.RegionRect(key).center(); }

// A shown code box with the regions "k0" .. "k<count-1>" in group "Map_Area".
struct Fixture
{
    CodeBox Box;

    explicit Fixture(int count)
    {
        Box.resize(500, 300);
        for (int i = 0; i < count; ++i)
            Box.AddRegion(QString("<AREA HREF=\"%1.html\">").arg(i), QString("k%1").arg(i),
                "Map_Area", QIcon(), 0);
        Box.show();
    }
};

} // namespace

class CodeBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void tokenizerSpans_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("spans");
        QTest::newRow("area with quoted values")
            << "<AREA SHAPE=\"RECT\" COORDS=\"1,2,3,4\" HREF=\"a.html\">"
            << "E:<AREA|T: |N:SHAPE|T:=|V:\"RECT\"|T: |N:COORDS|T:=|V:\"1,2,3,4\"|T: "
               "|N:HREF|T:=|V:\"a.html\"|E:>";
        QTest::newRow("unquoted values and a bare attribute")
            << "<IMG SRC=pic.gif BORDER=0 ISMAP>"
            << "E:<IMG|T: |N:SRC|T:=|V:pic.gif|T: |N:BORDER|T:=|V:0|T: |N:ISMAP|E:>";
        QTest::newRow("end tag") << "</MAP>"
                                 << "E:</MAP>";
        QTest::newRow("self closing") << "<BR/>"
                                      << "E:<BR/>";
        QTest::newRow("comment line") << "<!-- Visit us -->"
                                      << "C:<!-- Visit us -->";
        QTest::newRow("comment between text and tag") << "a <!-- x --> <B>"
                                                      << "T:a |C:<!-- x -->|T: |E:<B>";
        QTest::newRow("unterminated comment") << "<!-- open <A>"
                                              << "C:<!-- open <A>";
        QTest::newRow("unterminated quote") << "<A HREF=\"x y>"
                                            << "E:<A|T: |N:HREF|T:=|V:\"x y>";
        QTest::newRow("closing bracket inside quotes") << "<A ALT=\"a>b\">"
                                                       << "E:<A|T: |N:ALT|T:=|V:\"a>b\"|E:>";
        QTest::newRow("blanks around equals, single quotes") << "<A HREF = 'q'>"
                                                             << "E:<A|T: |N:HREF|T: = |V:'q'|E:>";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("plain text") << "just text"
                                    << "T:just text";
    }

    void tokenizerSpans()
    {
        QFETCH(QString, text);
        QFETCH(QString, spans);
        const std::vector<CodeToken> tokens = TokenizeTag(text);
        QCOMPARE(Spans(text, tokens), spans);
        int next = 0;
        for (const CodeToken& token : tokens) {
            QCOMPARE(token.Start, next);
            next += token.Length;
        }
        QCOMPARE(next, static_cast<int>(text.size()));
    }

    void commentLinesAreOneCommentSpan()
    {
        const QString text = "<AREA HREF=\"x\">";
        QCOMPARE(Spans(text, TokenizeRegion(text, 2)), "C:" + text);
        QCOMPARE(Spans(text, TokenizeRegion(text, 0)), Spans(text, TokenizeTag(text)));
        QVERIFY(TokenizeRegion("", 2).empty());
    }

    void regionsAreFoundByKeyInAnyLetterCase()
    {
        Fixture f(3);
        f.Box.UpdateRegionText("K1", "<AREA HREF=\"new.html\">");
        QCOMPARE(f.Box.RegionText("k1"), "<AREA HREF=\"new.html\">");
        QCOMPARE(f.Box.RegionText("k0"), "<AREA HREF=\"0.html\">");
        QCOMPARE(f.Box.RegionText("k2"), "<AREA HREF=\"2.html\">");
        QCOMPARE(f.Box.RegionKeys(), QStringList({ "k0", "k1", "k2" }));

        f.Box.RenameRegion("K2", "Circle7");
        QCOMPARE(f.Box.RegionKeys(), QStringList({ "k0", "k1", "Circle7" }));
        QCOMPARE(f.Box.RegionText("CIRCLE7"), "<AREA HREF=\"2.html\">");
        QCOMPARE(f.Box.RegionGroup("circle7"), "Map_Area");
        QCOMPARE(f.Box.RegionText("k2"), QString());

        f.Box.RemoveRegion("K0");
        QCOMPARE(f.Box.RegionKeys(), QStringList({ "k1", "Circle7" }));
        f.Box.RemoveRegion("missing");
        f.Box.UpdateRegionText("missing", "x");
        f.Box.RenameRegion("missing", "other");
        QCOMPARE(f.Box.RegionCount(), 2);
        f.Box.Clear();
        QCOMPARE(f.Box.RegionCount(), 0);
        QCOMPARE(f.Box.SelectedKey(), QString());
    }

    void repeatedEmptyKeysAreKeptApart()
    {
        CodeBox box;
        box.AddRegion("", "", "StartComment", QIcon(), 2);
        box.AddRegion("", "", "StartComment", QIcon(), 2);
        box.AddRegion("<!-- c -->", "<!-- c -->", "StartComment", QIcon(), 2);
        QCOMPARE(box.RegionCount(), 3);
        box.RemoveRegion("");
        QCOMPARE(box.RegionKeys(), QStringList({ "", "<!-- c -->" }));
        box.RemoveRegion("");
        QCOMPARE(box.RegionKeys(), QStringList({ "<!-- c -->" }));
    }

    void selectRegionScrollsIntoView()
    {
        Fixture f(500);
        QVERIFY(QTest::qWaitForWindowExposed(&f.Box));
        f.Box.SelectRegion("K450");
        QCOMPARE(f.Box.SelectedKey(), "k450");
        QVERIFY(Viewport(f.Box)->rect().contains(f.Box.RegionRect("k450")));
        QVERIFY(!Viewport(f.Box)->rect().intersects(f.Box.RegionRect("k0")));
        f.Box.SelectRegion("nothing");
        QCOMPARE(f.Box.SelectedKey(), "k450");
        f.Box.RemoveRegion("k450");
        QCOMPARE(f.Box.SelectedKey(), QString());
    }

    void mouseEventsCarryKeyAndGroup()
    {
        Fixture f(3);
        f.Box.AddRegion("</MAP>", "MAP_AREA_END", "MAP_END", QIcon(), 0);
        QVERIFY(QTest::qWaitForWindowExposed(&f.Box));
        QSignalSpy clicked(&f.Box, &CodeBox::RegionClicked);
        QSignalSpy doubled(&f.Box, &CodeBox::RegionDoubleClicked);
        QSignalSpy released(&f.Box, &CodeBox::RegionMouseUp);
        QWidget* viewport = Viewport(f.Box);

        QTest::mouseClick(viewport, Qt::LeftButton, {}, LineCentre(f.Box, "k1"));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.last(), QVariantList({ "k1", "Map_Area" }));
        QCOMPARE(f.Box.SelectedKey(), "k1");
        QCOMPARE(released.last(), QVariantList({ 1, 0, "k1", "Map_Area" }));

        QTest::mouseDClick(viewport, Qt::LeftButton, {}, LineCentre(f.Box, "MAP_AREA_END"));
        QCOMPARE(doubled.count(), 1);
        QCOMPARE(doubled.last(), QVariantList({ "MAP_AREA_END", "MAP_END" }));
        QCOMPARE(f.Box.SelectedKey(), "MAP_AREA_END");

        QTest::mouseClick(viewport, Qt::RightButton, Qt::ShiftModifier, LineCentre(f.Box, "k2"));
        QCOMPARE(clicked.last(), QVariantList({ "k2", "Map_Area" }));
        QCOMPARE(released.last(), QVariantList({ 2, 1, "k2", "Map_Area" }));

        // Below the last line there is no region.
        QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(100, viewport->height() - 3));
        QCOMPARE(clicked.count(), 2);
        QCOMPARE(released.last(), QVariantList({ 1, 0, QString(), QString() }));
        QCOMPARE(f.Box.SelectedKey(), "k2");
    }

    void arrowKeysMoveTheSelectionAndCtrlCCopiesIt()
    {
        Fixture f(3);
        QVERIFY(QTest::qWaitForWindowExposed(&f.Box));
        QSignalSpy clicked(&f.Box, &CodeBox::RegionClicked);
        f.Box.SelectRegion("k1");
        QWidget* view = f.Box.findChild<QAbstractScrollArea*>();
        QTest::keyClick(view, Qt::Key_Down);
        QCOMPARE(f.Box.SelectedKey(), "k2");
        QTest::keyClick(view, Qt::Key_Down);
        QCOMPARE(f.Box.SelectedKey(), "k2");
        QTest::keyClick(view, Qt::Key_Up);
        QCOMPARE(f.Box.SelectedKey(), "k1");
        QCOMPARE(clicked.count(), 3);
        QCOMPARE(clicked.last(), QVariantList({ "k1", "Map_Area" }));

        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), "<AREA HREF=\"1.html\">");
    }

    void lockMarkFollowsTheLockedState()
    {
        Fixture f(3);
        QPixmap lock(12, 12);
        lock.fill(Qt::black);
        f.Box.AddRegion("<AREA>", "Locked1", "Map_Area", QIcon(lock), 0);
        QVERIFY(QTest::qWaitForWindowExposed(&f.Box));
        QVERIFY(f.Box.IsRegionLocked("LOCKED1"));
        QVERIFY(!f.Box.IsRegionLocked("k1"));

        f.Box.SetRegionLocked("K1", true);
        QVERIFY(f.Box.IsRegionLocked("k1"));
        f.Box.SetRegionLocked("locked1", false);
        QVERIFY(!f.Box.IsRegionLocked("Locked1"));

        // The mark is painted in the gutter of the locked line only.
        const QImage shot = Viewport(f.Box)->grab().toImage();
        const auto mark = [&](const QString& key) {
            const QRect line = f.Box.RegionRect(key);
            return shot.copy(QRect(0, line.top(), 18, line.height()));
        };
        QVERIFY(mark("k1") != mark("k0"));
        QCOMPARE(mark("k2"), mark("k0"));
        QCOMPARE(mark("Locked1"), mark("k0"));
    }

    void batchRepaintsOnceWhenResumed()
    {
        Fixture f(0);
        QVERIFY(QTest::qWaitForWindowExposed(&f.Box));
        int paints = 0;
        QWidget* viewport = Viewport(f.Box);
        struct Counter : QObject
        {
            int* Count;
            explicit Counter(int* count)
                : Count(count)
            {
            }
            bool eventFilter(QObject*, QEvent* event) override
            {
                if (event->type() == QEvent::Paint)
                    ++*Count;
                return false;
            }
        } counter(&paints);
        viewport->installEventFilter(&counter);

        f.Box.CodeRedraw(false);
        for (int i = 0; i < 2000; ++i)
            f.Box.AddRegion(QString("<AREA ALT=\"%1\">").arg(i), QString("Hot%1").arg(i),
                "Map_Area", QIcon(), 0);
        for (int i = 0; i < 2000; i += 2)
            f.Box.RemoveRegion(QString("HOT%1").arg(i));
        QCoreApplication::processEvents();
        QCOMPARE(paints, 0);
        f.Box.CodeRedraw(true);
        QTRY_VERIFY(paints > 0);
        QCOMPARE(f.Box.RegionCount(), 1000);
        QCOMPARE(f.Box.RegionKeys().first(), "Hot1");
        QCOMPARE(f.Box.RegionKeys().last(), "Hot1999");
        QCOMPARE(f.Box.RegionText("hot999"), "<AREA ALT=\"999\">");
    }

    void documentIsPaintedInTheSettingsColours()
    {
        CodeBox box;
        box.resize(620, 260);
        box.SetSelectedBackground(14800078);
        box.SetAttributeNameColor(255);
        box.SetAttributeValueColor(8421376);
        box.SetElementNameColor(16744576);
        box.SetCommentColor(8421504);
        box.SetFontColor(-2147483632);
        box.SetGutterColor(-2147483633);
        box.SetXpLook(true);
        box.CodeRedraw(false);
        box.AddRegion("", "", "StartComment", QIcon(), 2);
        box.AddRegion("", "", "StartComment", QIcon(), 2);
        const QString visit = "<!-- Visit us at https://karvex.example -->";
        box.AddRegion(visit, visit, "StartComment", QIcon(), 2);
        box.AddRegion("<IMG SRC=\"harbour.jpg\" WIDTH=\"640\" HEIGHT=\"480\" USEMAP=\"#harbour\" "
                      "BORDER=\"0\">",
            "IMAGE_TAG", "Map_Image", QIcon(), 0);
        box.AddRegion("<MAP NAME=\"harbour\">", "MAP_AREA_START", "MAP_START", QIcon(), 0);
        box.AddRegion(
            "<AREA SHAPE=\"RECT\" COORDS=\"12,20,140,96\" HREF=\"boats.html\" ALT=\"Boats\">",
            "Rectangle1", "Map_Area", QIcon(), 0);
        box.AddRegion("<AREA SHAPE=\"CIRCLE\" COORDS=\"300,200,45\" HREF=\"lighthouse.html\">",
            "Circle1", "Map_Area", QIcon(), 0);
        box.AddRegion(
            "<AREA SHAPE=\"POLY\" COORDS=\"400,50,470,60,455,130,390,120\" HREF=pier.html>",
            "Polygon1", "Map_Area", QIcon(), 0);
        box.AddRegion("</MAP>", "MAP_AREA_END", "MAP_END", QIcon(), 0);
        const QString end = "<!-- End of Imagemap code -->";
        box.AddRegion(end, end, "EndComment", QIcon(), 2);
        box.SetRegionLocked("Circle1", true, 0);
        box.SelectRegion("Rectangle1");
        box.CodeRedraw(true);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));

        const QImage shot = box.grab().toImage();
        const QByteArray folder = qgetenv("KARVEX_SCREENSHOT_DIR");
        if (!folder.isEmpty())
            shot.save(QString::fromLocal8Bit(folder) + "/code_box.png");

        // Glyph cores carry the exact colours: count them per line.
        const auto countIn = [&](const QString& key, QColor color) {
            const QRect line = box.RegionRect(key).translated(Viewport(box)->mapTo(&box, QPoint()));
            int count = 0;
            for (int y = line.top(); y <= line.bottom(); ++y)
                for (int x = line.left(); x <= line.right(); ++x)
                    count += shot.pixelColor(x, y) == color ? 1 : 0;
            return count;
        };
        const QColor attributeName(255, 0, 0);
        const QColor elementName(128, 128, 255);
        const QColor attributeValue(0, 128, 128);
        const QColor comment(128, 128, 128);
        const QColor selected(206, 212, 225);
        QVERIFY(countIn("Circle1", attributeName) > 0);
        QVERIFY(countIn("Circle1", elementName) > 0);
        QVERIFY(countIn("Circle1", attributeValue) > 0);
        QVERIFY(countIn(end, comment) > 0);
        QCOMPARE(countIn(end, attributeName), 0);
        QCOMPARE(countIn("MAP_AREA_END", attributeName), 0);
        QVERIFY(countIn("Rectangle1", selected) > 1000);
        QCOMPARE(countIn("Circle1", selected), 0);
    }
};

QTEST_MAIN(CodeBoxTest)
#include "code_box_test.moc"
