// Settings reloaded while a document is open: Editor::ApplySettings brings the open window and
// the property panel in line at once, and the look switches back and forth without a restart.

#include "components/code_box/code_box.h"
#include "components/command_bars/command_bars.h"
#include "components/drawing_surface/rulers.h"
#include "components/drawing_surface/tip_balloon.h"
#include "components/property_grid/property_grid.h"
#include "core/util/file_io.h"
#include "support/editor_session.h"
#include "ui/property_panel.h"

#include <QFrame>
#include <QTest>
#include <QTreeWidget>
#include <cstdint>
#include <cstdlib>
#include <functional>

using namespace karvex;
using test::Session;

namespace {

constexpr const char* kPage = "<html><body>\n<img src=\"pic.png\" usemap=\"#nav\">\n"
                              "<map name=\"nav\">\n<area shape=\"rect\" coords=\"10,10,110,110\" "
                              "href=\"a.html\" alt=\"Door\">\n</map>\n</body></html>\n";

// A colour no default and no picture of these tests uses, as a colour number and as seen.
constexpr std::int32_t kProbe = 200 + 256 * 120 + 65536 * 20;
const QColor kProbeSeen(200, 120, 20);

void OpenPage(Session& app)
{
    app.Picture("pic.png");
    const std::string page = app.Home.File("site.html");
    QVERIFY(WriteWholeFile(page, kPage));
    QVERIFY(app.Docs().OpenDocument(page, false));
}

// Changes the settings as a reload of kvx.ini would, then applies them.
void Reload(Session& app, const std::function<void(GlobalSettings&)>& change)
{
    change(app.State.Settings);
    app.Docs().ApplySettings();
}

int CountOf(const QImage& shot, const QColor& color, const QRect& within = {})
{
    const QRect area = within.isNull() ? shot.rect() : within.intersected(shot.rect());
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += shot.pixel(x, y) == color.rgb() ? 1 : 0;
    return count;
}

// Text is antialiased: its pixels come near the colour rather than on it.
int CountNear(const QImage& shot, const QColor& color)
{
    int count = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor seen = shot.pixelColor(x, y);
            count += std::abs(seen.red() - color.red()) <= 40
                    && std::abs(seen.green() - color.green()) <= 40
                    && std::abs(seen.blue() - color.blue()) <= 40
                ? 1
                : 0;
        }
    }
    return count;
}

QWidget* Canvas(Session& app) { return app.Surface().findChild<QWidget*>("Canvas"); }

QWidget* GridLines(Session& app)
{
    return app.Window->Panel().MapGrid().findChild<QTreeWidget*>()->viewport();
}

QFrame* CodeFrame(Session& app) { return app.Docs().ActiveWindow()->Code().findChild<QFrame*>(); }

} // namespace

class ApplySettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void figuresAndCursorsFollowAReload()
    {
        Session app;
        OpenPage(app);
        app.Docs().ActiveWindow()->SelectHotspot(1);
        const QPoint inside(60, 60);
        const QRect handle(6, 6, 9, 9); // around the corner at 10,10

        const QImage before = Canvas(app)->grab().toImage();
        QCOMPARE(CountOf(before, kProbeSeen, handle), 0);
        // The existing figure's tint and its handles take the new colours.
        Reload(app, [](GlobalSettings& s) {
            s.ini_Shape = 255; // red
            s.ini_Border = kProbe;
        });
        const QImage after = Canvas(app)->grab().toImage();
        QVERIFY2(after.pixelColor(inside).red() > before.pixelColor(inside).red() + 20,
            qPrintable(after.pixelColor(inside).name() + " " + before.pixelColor(inside).name()));
        QVERIFY(CountOf(after, kProbeSeen, handle) > 4);

        // The drawing cursor: the tool's own picture with CoolCursor, else a plain cross.
        app.Window->RunCommand("T_RECTANGLE");
        for (const bool cool : { false, true, false }) {
            Reload(app, [cool](GlobalSettings& s) { s.CoolCursor = cool; });
            QCOMPARE(Canvas(app)->cursor().shape(), cool ? Qt::BitmapCursor : Qt::CrossCursor);
        }
    }

    void codeColoursFollowAReload()
    {
        Session app;
        OpenPage(app);
        app.Docs().ActiveWindow()->SelectHotspot(1); // its line shows the selected background
        app.Surface().SelectPage(2);
        CodeBox& box = app.Docs().ActiveWindow()->Code();
        const GlobalSettings loaded = app.State.Settings;

        const struct
        {
            const char* Key;
            std::int32_t GlobalSettings::*Setting;
            int AtLeast; // pixels of the colour in the code box once it is set
        } colours[] = {
            { "ini_AttributeName", &GlobalSettings::ini_AttributeName, 20 },
            { "ini_AttributeValue", &GlobalSettings::ini_AttributeValue, 20 },
            { "ini_ElementName", &GlobalSettings::ini_ElementName, 20 },
            { "ini_Comment", &GlobalSettings::ini_Comment, 20 },
            { "ini_FontColor", &GlobalSettings::ini_FontColor, 5 },
            { "ini_SelectedBG", &GlobalSettings::ini_SelectedBG, 1000 },
            { "ini_CodeBox", &GlobalSettings::ini_CodeBox, 1000 }, // the gutter
        };
        for (const auto& c : colours) {
            Reload(app, [&](GlobalSettings& s) { s = loaded; });
            QVERIFY2(CountNear(box.grab().toImage(), kProbeSeen) == 0, c.Key);
            Reload(app, [&](GlobalSettings& s) { s.*c.Setting = kProbe; });
            const int seen = CountNear(box.grab().toImage(), kProbeSeen);
            QVERIFY2(seen >= c.AtLeast, qPrintable(QString("%1: %2").arg(c.Key).arg(seen)));
        }
    }

    // The XP look colours the rulers and the grid lines and flattens the code box's frame; the
    // standard look brings back exactly what it showed before.
    void lookSwitchesBothWays()
    {
        Session app;
        OpenPage(app);
        app.Surface().SelectPage(2);
        app.Surface().SelectPage(1);
        const auto rulers = app.Surface().findChildren<surface::Ruler*>();
        QCOMPARE(rulers.size(), 2);
        const auto shots = [&] {
            return std::vector<QImage> { rulers[0]->grab().toImage(), rulers[1]->grab().toImage(),
                GridLines(app)->grab().toImage() };
        };

        Reload(app, [](GlobalSettings& s) {
            s.ini_Look = true;
            s.ini_Ruler = kProbe;
            s.ini_Property = kProbe;
        });
        const std::vector<QImage> standard = shots();
        QCOMPARE(CodeFrame(app)->frameShadow(), QFrame::Sunken);
        for (const QImage& shot : standard)
            QCOMPARE(CountOf(shot, kProbeSeen), 0);

        Reload(app, [](GlobalSettings& s) { s.ini_Look = false; });
        const std::vector<QImage> xp = shots();
        // The rulers: the colour over the picture, a darker shade beyond it.
        for (const QImage& ruler : { xp[0], xp[1] }) {
            QVERIFY(CountOf(ruler, kProbeSeen) > 0);
            const int shaded = CountOf(ruler, kProbeSeen) + CountOf(ruler, kProbeSeen.darker(112));
            QVERIFY2(shaded > ruler.width() * ruler.height() * 2 / 3,
                qPrintable(
                    QString("%1 of %2x%3").arg(shaded).arg(ruler.width()).arg(ruler.height())));
        }
        QVERIFY(CountOf(xp[2], kProbeSeen) > 50); // the lines between the grid's rows
        QCOMPARE(CodeFrame(app)->frameShadow(), QFrame::Plain);

        Reload(app, [](GlobalSettings& s) { s.ini_Look = true; });
        const std::vector<QImage> back = shots();
        for (std::size_t i = 0; i < back.size(); ++i)
            QVERIFY2(back[i] == standard[i], qPrintable(QString("shot %1").arg(i)));
        QCOMPARE(CodeFrame(app)->frameShadow(), QFrame::Sunken);
    }

    // One window throughout: the preview follows the zoom and tip settings of the latest reload.
    void previewFollowsAReload()
    {
        Session app;
        OpenPage(app);
        for (const bool reset : { false, true }) {
            Reload(app, [reset](GlobalSettings& s) {
                s.ini_ResetZoom = reset;
                s.ini_Tooltip = reset; // the standard tip with the second reload
            });
            app.Surface().SelectPage(1);
            app.Window->RunCommand("Zoom5");
            app.Surface().SelectPage(3);
            QCOMPARE(app.Surface().ZoomPercent(), reset ? 100 : 200);

            app.Mouse(QEvent::MouseMove, QPoint(50, 50), Qt::NoButton, Qt::NoButton);
            auto* balloon = app.Surface().findChild<surface::TipBalloon*>();
            QCOMPARE(balloon && balloon->isVisible(), !reset);
            app.Mouse(QEvent::MouseMove, QPoint(200, 200), Qt::NoButton, Qt::NoButton);
        }
    }

    // Read each time they are used: opening a page without a map, a click in the preview; and
    // the view switches, which a reset of the file changes.
    void choicesReadWhenUsedFollowAReload()
    {
        Session app;
        OpenPage(app);
        std::vector<std::string> urls;
        app.Docs().SetUrlOpener([&urls](const std::string& url) { urls.push_back(url); });
        app.Surface().SelectPage(3);
        for (const bool external : { false, true }) {
            Reload(app, [external](GlobalSettings& s) { s.ini_StartExternal = external; });
            app.Click(QPoint(50, 50));
            QCOMPARE(urls.size(), std::size_t { external ? 1u : 0u });
        }
        QCOMPARE(urls.back(), std::string("a.html"));

        // The view switches too: a reset of the file brings the toolbar back.
        for (const bool shown : { false, true }) {
            Reload(app, [shown](GlobalSettings& s) { s.Toolbar = shown; });
            QCOMPARE(app.Bars().IsBarVisible("Standard"), shown);
            QCOMPARE(app.Bars().IsTicked("ViewToolbar"), shown);
        }

        const std::string bare = app.Home.File("bare.html");
        QVERIFY(WriteWholeFile(bare, "<p><img src=\"pic.png\"></p>"));
        for (const bool search : { false, true }) {
            Reload(app, [search](GlobalSettings& s) { s.ini_Search = search; });
            QCOMPARE(app.Docs().OpenDocument(bare, false), search);
        }
    }
};

QTEST_MAIN(ApplySettingsTest)
#include "apply_settings_test.moc"
