#pragma once

// The whole program on the offscreen platform, started in a fresh program folder with a
// scripted prompt: what the GUI suites drive through menus, widgets and the mouse.

#include "app/editor.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "components/code_box/code_box.h"
#include "components/drawing_surface/drawing_surface.h"
#include "core/model/app_state.h"
#include "core/model/figure.h"
#include "core/util/file_io.h"
#include "support/grid_driver.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"
#include "ui/document_window.h"
#include "ui/property_panel.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QMouseEvent>
#include <QTabBar>
#include <QTest>
#include <cmath>
#include <memory>

namespace karvex::test {

// A page with text around one picture and its one-AREA map; its picture is "pic.png".
inline constexpr const char* kNavPage = "<html><body>\n<p>Before</p>\n"
                                        "<img src=\"pic.png\" usemap=\"#nav\" alt=\"Site\">\n"
                                        "<map name=\"nav\">\n"
                                        "<area shape=\"rect\" coords=\"10,10,60,50\" "
                                        "href=\"a.html\">\n"
                                        "</map>\n<p>After</p>\n</body></html>\n";

struct Session
{
    TempDir Home;
    AppState State;
    ScriptedPrompt Prompt;
    std::unique_ptr<MainWindow> Window;

    Session()
    {
        // No welcome screen: the suites drive the main window.
        WriteWholeFile(
            Home.File("kvx.ini"), "[General]\r\nini_ErrorLog=0\r\nini_WelcomeScreen=0\r\n");
        Window = StartProgram(State, Prompt, QString::fromStdString(Home.Path().string()), {});
    }

    Editor& Docs() { return Window->DocumentEditor(); }
    CommandBars& Bars() { return Window->Bars(); }

    std::string Picture(const char* name, int width = 320, int height = 240)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(90, 140, 200));
        std::string path = Home.File(name);
        image.save(QString::fromStdString(path));
        return path;
    }

    int NewDocument(const std::string& picture)
    {
        Prompt.Files.push_back(picture);
        Window->RunCommand("new");
        return State.CurrentDocument;
    }

    Document& Current() { return State.Documents[static_cast<std::size_t>(State.CurrentDocument)]; }
    Hotspot& Spot(int slot) { return Current().Hotspots[static_cast<std::size_t>(slot)]; }
    DrawingSurface& Surface() { return Docs().ActiveWindow()->Surface(); }
    CodeBox& Code() { return Docs().ActiveWindow()->Code(); }
    PropertyPanel& Panel() { return Window->Panel(); }

    // The panel's grids as a user types into them and picks from their lists.
    GridDriver SpotsDriver() { return GridDriver(Panel().HotspotGrid()); }
    GridDriver MapDriver() { return GridDriver(Panel().MapGrid()); }

    // The entries of the hotspot chooser above the grids.
    QStringList ChooserItems()
    {
        QStringList items;
        for (int i = 0; i < Panel().Chooser().count(); ++i)
            items << Panel().Chooser().itemText(i);
        return items;
    }

    // Clicks the document window's page tab with that caption.
    void ShowPage(const QString& caption)
    {
        auto* tabs = Surface().findChild<QTabBar*>();
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->tabText(i) == caption)
                QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(i).center());
        }
    }

    // Mouse input on the canvas at picture pixels, for the present zoom.
    void Mouse(QEvent::Type type, QPoint picture, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QWidget* canvas = Surface().findChild<QWidget*>("Canvas");
        const double scale = Surface().ZoomPercent() / 100.0;
        const QPointF at(
            std::floor((picture.x() + 0.5) * scale), std::floor((picture.y() + 0.5) * scale));
        QMouseEvent event(type, at, canvas->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(canvas, &event);
    }
    void Drag(QPoint from, QPoint to)
    {
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        Mouse(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
        Mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        Mouse(QEvent::MouseButtonPress, at, button, button);
        Mouse(QEvent::MouseButtonRelease, at, button, Qt::NoButton);
    }

    // Draws a rectangle with the Rectangle command and the mouse; returns its slot.
    int DrawRectangle(QPoint from, QPoint to)
    {
        Window->RunCommand("T_RECTANGLE");
        Drag(from, to);
        return State.CurrentHotspot;
    }

    int AddRectangle(const std::string& coords)
    {
        const int slot = static_cast<int>(Current().Hotspots.size());
        Figure figure;
        figure.Kind = ShapeRectangle;
        figure.Coordinates = coords;
        emit Surface().FigureCreated(figure);
        return slot;
    }
};

} // namespace karvex::test
