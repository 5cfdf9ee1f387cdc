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

// "key group text" of each region in order, looked up by the key in upper case.
QStringList Regions(const CodeBox& box)
{
    QStringList regions;
    for (const QString& key : box.RegionKeys())
        regions << key + ' ' + box.RegionGroup(key.toUpper()) + ' ' + box.RegionText(key.toUpper());
    return regions;
}

QWidget* Viewport(CodeBox& box) { return box.findChild<QAbstractScrollArea*>()->viewport(); }

QPoint LineCentre(CodeBox& box, const QString& key) { return box.RegionRect(key).center(); }

struct PaintCounter : QObject
{
    int Count = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        Count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

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
        QVERIFY(QTest::qWaitForWindowExposed(&Box));
    }
};

} // namespace

class CodeBoxTest : public QObject
{
    Q_OBJECT

private slots:
    // Spans cover the text in order; a comment line (kind 2) is one comment span.
    void tokenizerSpans()
    {
        const std::pair<QString, QString> cases[] = {
            { "<AREA SHAPE=\"RECT\" COORDS=\"1,2,3,4\" HREF=\"a.html\">",
                "E:<AREA|T: |N:SHAPE|T:=|V:\"RECT\"|T: |N:COORDS|T:=|V:\"1,2,3,4\"|T: "
                "|N:HREF|T:=|V:\"a.html\"|E:>" },
            { "<IMG SRC=pic.gif BORDER=0 ISMAP>",
                "E:<IMG|T: |N:SRC|T:=|V:pic.gif|T: |N:BORDER|T:=|V:0|T: |N:ISMAP|E:>" },
            { "</MAP>", "E:</MAP>" },
            { "<BR/>", "E:<BR/>" },
            { "<!-- Visit us -->", "C:<!-- Visit us -->" },
            { "a <!-- x --> <B>", "T:a |C:<!-- x -->|T: |E:<B>" },
            { "<!-- open <A>", "C:<!-- open <A>" }, // unterminated comment
            { "<A HREF=\"x y>", "E:<A|T: |N:HREF|T:=|V:\"x y>" }, // unterminated quote
            { "<A ALT=\"a>b\">", "E:<A|T: |N:ALT|T:=|V:\"a>b\"|E:>" },
            { "<A HREF = 'q'>", "E:<A|T: |N:HREF|T: = |V:'q'|E:>" },
            { "", "" },
            { "just text", "T:just text" },
        };
        for (const auto& [text, spans] : cases) {
            QCOMPARE(Spans(text, TokenizeTag(text)), spans);
            QCOMPARE(Spans(text, TokenizeRegion(text, 0)), spans);
            QCOMPARE(Spans(text, TokenizeRegion(text, 2)), text.isEmpty() ? "" : "C:" + text);
        }
    }

    void regionsAreFoundByKeyInAnyLetterCase()
    {
        Fixture f(3);
        f.Box.UpdateRegionText("K1", "<AREA HREF=\"new.html\">");
        f.Box.RenameRegion("K2", "Circle7");
        f.Box.UpdateRegionText("missing", "x");
        f.Box.RenameRegion("missing", "other");
        f.Box.RemoveRegion("missing");
        QCOMPARE(Regions(f.Box),
            QStringList(
                { "k0 Map_Area <AREA HREF=\"0.html\">", "k1 Map_Area <AREA HREF=\"new.html\">",
                    "Circle7 Map_Area <AREA HREF=\"2.html\">" }));
        QCOMPARE(f.Box.RegionText("k2"), QString());
        f.Box.RemoveRegion("K0");
        QCOMPARE(f.Box.RegionKeys(), QStringList({ "k1", "Circle7" }));
        f.Box.SelectRegion("k1");
        f.Box.Clear();
        QCOMPARE(f.Box.RegionCount(), 0);
        QCOMPARE(f.Box.SelectedKey(), QString());

        // Blank comment lines share the empty key; each removal takes one.
        f.Box.AddRegion("", "", "StartComment", QIcon(), 2);
        f.Box.AddRegion("", "", "StartComment", QIcon(), 2);
        f.Box.AddRegion("<!-- c -->", "<!-- c -->", "StartComment", QIcon(), 2);
        f.Box.RemoveRegion("");
        QCOMPARE(f.Box.RegionKeys(), QStringList({ "", "<!-- c -->" }));
        f.Box.RemoveRegion("");
        QCOMPARE(f.Box.RegionKeys(), QStringList({ "<!-- c -->" }));
    }

    void selectRegionScrollsIntoView()
    {
        Fixture f(500);
        f.Box.SelectRegion("K450");
        QCOMPARE(f.Box.SelectedKey(), "k450");
        QVERIFY(Viewport(f.Box)->rect().contains(f.Box.RegionRect("k450")));
        QVERIFY(!Viewport(f.Box)->rect().intersects(f.Box.RegionRect("k0")));
        f.Box.SelectRegion("nothing");
        QCOMPARE(f.Box.SelectedKey(), "k450");
        f.Box.RemoveRegion("k450");
        QCOMPARE(f.Box.SelectedKey(), QString());
    }

    void mouseAndKeysSelectAndReportRegions()
    {
        Fixture f(3);
        f.Box.AddRegion("</MAP>", "MAP_AREA_END", "MAP_END", QIcon(), 0);
        QSignalSpy clicked(&f.Box, &CodeBox::RegionClicked);
        QSignalSpy doubled(&f.Box, &CodeBox::RegionDoubleClicked);
        QSignalSpy released(&f.Box, &CodeBox::RegionMouseUp);
        QWidget* viewport = Viewport(f.Box);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, LineCentre(f.Box, "k1"));
        QCOMPARE(clicked, QList<QVariantList>({ { "k1", "Map_Area" } }));
        QCOMPARE(f.Box.SelectedKey(), "k1");
        QCOMPARE(released.last(), QVariantList({ 1, 0, "k1", "Map_Area" }));
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, LineCentre(f.Box, "MAP_AREA_END"));
        QCOMPARE(doubled, QList<QVariantList>({ { "MAP_AREA_END", "MAP_END" } }));
        QCOMPARE(f.Box.SelectedKey(), "MAP_AREA_END");
        QTest::mouseClick(viewport, Qt::RightButton, Qt::ShiftModifier, LineCentre(f.Box, "k2"));
        QCOMPARE(clicked.last(), QVariantList({ "k2", "Map_Area" }));
        QCOMPARE(released.last(), QVariantList({ 2, 1, "k2", "Map_Area" }));
        // Below the last line there is no region.
        QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(100, viewport->height() - 3));
        QCOMPARE(clicked.count(), 2);
        QCOMPARE(released.last(), QVariantList({ 1, 0, QString(), QString() }));
        QCOMPARE(f.Box.SelectedKey(), "k2");

        // The arrow keys move the selection, reporting it as clicked; Ctrl+C copies its line.
        QWidget* view = f.Box.findChild<QAbstractScrollArea*>();
        const std::pair<Qt::Key, const char*> steps[] = { { Qt::Key_Down, "MAP_AREA_END" },
            { Qt::Key_Down, "MAP_AREA_END" }, { Qt::Key_Up, "k2" }, { Qt::Key_Up, "k1" } };
        for (const auto& [key, selected] : steps) {
            QTest::keyClick(view, key);
            QCOMPARE(f.Box.SelectedKey(), selected);
        }
        QCOMPARE(clicked.count(), 6);
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
        QVERIFY(f.Box.IsRegionLocked("LOCKED1"));
        QVERIFY(!f.Box.IsRegionLocked("k1"));
        f.Box.SetRegionLocked("K1", true);
        f.Box.SetRegionLocked("locked1", false);
        QVERIFY(f.Box.IsRegionLocked("k1"));
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
        PaintCounter paints;
        Viewport(f.Box)->installEventFilter(&paints);
        f.Box.CodeRedraw(false);
        for (int i = 0; i < 2000; ++i)
            f.Box.AddRegion(QString("<AREA ALT=\"%1\">").arg(i), QString("Hot%1").arg(i),
                "Map_Area", QIcon(), 0);
        for (int i = 0; i < 2000; i += 2)
            f.Box.RemoveRegion(QString("HOT%1").arg(i));
        QCoreApplication::processEvents();
        QCOMPARE(paints.Count, 0);
        f.Box.CodeRedraw(true);
        QTRY_VERIFY(paints.Count > 0);
        QCOMPARE(f.Box.RegionCount(), 1000);
        QCOMPARE(f.Box.RegionKeys().first(), "Hot1");
        QCOMPARE(f.Box.RegionKeys().last(), "Hot1999");
        QCOMPARE(f.Box.RegionText("hot999"), "<AREA ALT=\"999\">");
    }

    void documentIsPaintedInTheSettingsColours()
    {
        CodeBox box;
        box.resize(620, 260);
        // Colours other than a fresh box's own, red in the low byte.
        box.SetSelectedBackground(0xE0F0D0);
        box.SetAttributeNameColor(0x0000C8);
        box.SetAttributeValueColor(0x008000);
        box.SetElementNameColor(0xC80000);
        box.SetCommentColor(0x606060);
        box.SetFontColor(-2147483632);
        box.SetGutterColor(-2147483633);
        box.SetXpLook(true);
        box.CodeRedraw(false);
        const QString end = "<!-- End of Imagemap code -->";
        box.AddRegion("<MAP NAME=\"harbour\">", "MAP_AREA_START", "MAP_START", QIcon(), 0);
        box.AddRegion("<AREA SHAPE=\"RECT\" COORDS=\"12,20,140,96\" HREF=\"boats.html\">",
            "Rectangle1", "Map_Area", QIcon(), 0);
        box.AddRegion("<AREA SHAPE=\"CIRCLE\" COORDS=\"300,200,45\" HREF=\"lighthouse.html\">",
            "Circle1", "Map_Area", QIcon(), 0);
        box.AddRegion("</MAP>", "MAP_AREA_END", "MAP_END", QIcon(), 0);
        box.AddRegion(end, end, "EndComment", QIcon(), 2);
        box.SetRegionLocked("Circle1", true, 0);
        box.SelectRegion("Rectangle1");
        box.CodeRedraw(true);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));

        // Glyph cores carry the exact colours: count them per line.
        const QImage shot = box.grab().toImage();
        const auto countIn = [&](const QString& key, QColor color) {
            const QRect line = box.RegionRect(key).translated(Viewport(box)->mapTo(&box, QPoint()));
            int count = 0;
            for (int y = line.top(); y <= line.bottom(); ++y)
                for (int x = line.left(); x <= line.right(); ++x)
                    count += shot.pixelColor(x, y) == color ? 1 : 0;
            return count;
        };
        const QColor attributeName(200, 0, 0);
        const QColor selected(208, 240, 224);
        QVERIFY(countIn("Circle1", attributeName) > 0);
        QVERIFY(countIn("Circle1", QColor(0, 0, 200)) > 0); // element name
        QVERIFY(countIn("Circle1", QColor(0, 128, 0)) > 0); // attribute value
        QVERIFY(countIn(end, QColor(96, 96, 96)) > 0); // comment
        QCOMPARE(countIn(end, attributeName), 0);
        QCOMPARE(countIn("MAP_AREA_END", attributeName), 0);
        QVERIFY(countIn("Rectangle1", selected) > 1000);
        QCOMPARE(countIn("Circle1", selected), 0);
    }
};

QTEST_MAIN(CodeBoxTest)
#include "code_box_test.moc"
