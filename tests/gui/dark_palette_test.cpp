// The program on a dark palette: colours from the settings, made for a light look, and the
// toolbar icons must still stand out from what they are drawn on.

#include "app/color_scheme.h"
#include "components/code_box/code_box.h"
#include "components/common/color.h"
#include "components/common/program_icons.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <algorithm>

using namespace karvex;

namespace {

// The strongest contrast between any pixel of the area and the colour behind it.
double BestContrast(const QImage& image, const QRect& area, const QColor& background)
{
    double best = 1.0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            best = std::max(best, ContrastRatio(image.pixelColor(x, y), background));
    }
    return best;
}

} // namespace

class DarkPaletteTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setPalette(DarkPalette()); }

    void codeColoursForALightLookStayReadable()
    {
        CodeBox box;
        // The colours of a settings file that lacks them: black text, a button-face comment.
        box.SetFontColor(0);
        box.SetCommentColor(static_cast<std::int32_t>(0x8000000F));
        box.SetAttributeValueColor(16711680);
        box.AddRegion("<!-- comment -->", "c", "MAP_COMMENT", {}, 2);
        box.AddRegion("plain text line", "t", "MAP_TEXT", {}, 0);
        box.AddRegion("<area href=\"a.html\">", "a", "MAP_AREA", {}, 0);
        box.SelectRegion("a");
        box.resize(500, 200);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));

        auto* view = box.findChild<QAbstractScrollArea*>();
        const QImage shot = view->viewport()->grab().toImage();
        for (const char* key : { "c", "t", "a" }) {
            // The line from its text to its end; its last pixel shows the background.
            QRect line = box.RegionRect(key).intersected(shot.rect());
            line.setLeft(line.left() + 40);
            line.setRight(line.left() + 120);
            const QColor background = shot.pixelColor(shot.width() - 2, line.center().y());
            QVERIFY2(BestContrast(shot, line, background) >= 2.9, key);
        }
    }

    void everyIconStandsOutFromADarkWindow()
    {
        const QColor window = QApplication::palette().color(QPalette::Window);
        (void)ProgramIcon("pic_New"); // makes sure the icon set is loaded
        QDirIterator all(":/icons/16", { "pic_*.png" });
        int checked = 0;
        while (all.hasNext()) {
            const QString key = QFileInfo(all.next()).baseName();
            QImage shown(24, 24, QImage::Format_RGB32);
            shown.fill(window);
            QPainter painter(&shown);
            ProgramIcon(key).paint(&painter, shown.rect());
            painter.end();
            QVERIFY2(BestContrast(shown, shown.rect(), window) >= 3.0, qPrintable(key));
            ++checked;
        }
        QVERIFY(checked >= 20);
    }
};

QTEST_MAIN(DarkPaletteTest)
#include "dark_palette_test.moc"
