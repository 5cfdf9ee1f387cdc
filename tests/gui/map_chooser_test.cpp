// The map chooser: one item per picture of the page, and the key each way of closing returns.

#include "support/modal_answer.h"
#include "support/temp_dir.h"
#include "ui/map_chooser_dialog.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace karvex;

namespace {

MapCandidate Candidate(const std::string& imgTag) { return { "", imgTag, 0, false, "" }; }

// Pictures in a folder below the page; the page itself need not exist.
struct Page
{
    test::TempDir Dir;
    std::string File = Dir.File("page.html");
    std::vector<MapCandidate> Candidates;

    Page()
    {
        std::filesystem::create_directory(Dir.Path() / "pics");
        QImage wide(200, 100, QImage::Format_RGB32);
        wide.fill(Qt::red);
        wide.save(QString::fromStdString(Dir.File("pics/wide.png")));
        QImage tall(60, 120, QImage::Format_RGB32);
        tall.fill(Qt::blue);
        tall.save(QString::fromStdString(Dir.File("pics/tall.jpg")));
        Candidates = {
            Candidate("<IMG SRC=\"pics/wide.png\" ALT=\"Wide banner\" USEMAP=\"#nav\">"),
            Candidate("<img src='pics/tall.jpg' usemap=\"#side\">"),
            Candidate("<IMG ALT=\"No source\" USEMAP=\"#lost\">"),
            Candidate("<IMG USEMAP=\"#nav\" ALT=\"Same map\" SRC=\"pics/wide.png\">"),
            Candidate("<IMG SRC=\"pics/missing.gif\" ALT=\"Gone\">"),
        };
    }
};

enum Close { ClickOk, ClickCancel, PressEscape, DoubleClick };

void ClickRow(MapChooserDialog& dialog, int row)
{
    QListWidget& list = dialog.List();
    const QRect rect = list.visualItemRect(list.item(row));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace

Q_DECLARE_METATYPE(Close)

class MapChooserTest : public QObject
{
    Q_OBJECT

private slots:
    void listsPicturesWithCaptionsAndKeys()
    {
        Page page;
        MapChooserDialog dialog;
        dialog.Fill(page.Candidates, page.File);
        QListWidget& list = dialog.List();
        QCOMPARE(list.count(), 4);
        const QStringList captions { "Wide banner", "No Image Description Available", "Same map",
            "Gone" };
        const std::vector<std::string> keys { "#nav", "#side", "#nav", "pics/missing.gif" };
        for (int row = 0; row < list.count(); ++row) {
            QCOMPARE(list.item(row)->text(), captions[row]);
            QCOMPARE(MapChooserDialog::ItemKey(*list.item(row)), keys[static_cast<size_t>(row)]);
        }

        // The wide picture is letterboxed, not stretched; the missing one gets a placeholder.
        const QImage wide = list.item(0)->icon().pixmap(112, 112).toImage();
        const QPoint middle(wide.width() / 2, wide.height() / 2);
        QCOMPARE(wide.pixelColor(middle), QColor(Qt::red));
        QCOMPARE(wide.pixelColor(middle.x(), 2).alpha(), 0);
        const QColor tall = list.item(1)->icon().pixmap(112, 112).toImage().pixelColor(middle);
        QVERIFY(tall.blue() > 200 && tall.red() < 40); // JPEG is lossy
        const QImage missing = list.item(3)->icon().pixmap(112, 112).toImage();
        QVERIFY(!missing.isNull());
        QVERIFY(missing.pixelColor(middle).alpha() > 0);
        QVERIFY(missing.pixelColor(middle) != QColor(Qt::red));
    }

    void closingReturnsTheChoice_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<Close>("close");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<int>("result");
        QTest::newRow("ok") << 1 << ClickOk << QByteArray("#side") << int(QDialog::Accepted);
        QTest::newRow("ok unloadable")
            << 3 << ClickOk << QByteArray("pics/missing.gif") << int(QDialog::Accepted);
        QTest::newRow("ok without choice")
            << -1 << ClickOk << QByteArray() << int(QDialog::Accepted);
        QTest::newRow("cancel") << 0 << ClickCancel << QByteArray() << int(QDialog::Rejected);
        QTest::newRow("escape") << 2 << PressEscape << QByteArray() << int(QDialog::Rejected);
        QTest::newRow("double-click")
            << 2 << DoubleClick << QByteArray("#nav") << int(QDialog::Accepted);
    }

    void closingReturnsTheChoice()
    {
        QFETCH(int, row);
        QFETCH(Close, close);
        QFETCH(QByteArray, key);
        QFETCH(int, result);
        Page page;
        MapChooserDialog dialog;
        dialog.Fill(page.Candidates, page.File);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.ChosenKey(), std::string());
        if (row >= 0) {
            ClickRow(dialog, row);
            QCOMPARE(dialog.ChosenKey(), MapChooserDialog::ItemKey(*dialog.List().item(row)));
        }
        switch (close) {
        case ClickOk:
            QTest::mouseClick(&dialog.OkButton(), Qt::LeftButton);
            break;
        case ClickCancel:
            QTest::mouseClick(&dialog.CancelButton(), Qt::LeftButton);
            break;
        case PressEscape:
            QTest::keyClick(&dialog.List(), Qt::Key_Escape);
            break;
        case DoubleClick:
            // A real double-click: a click, then the double-click event.
            QTest::mouseDClick(dialog.List().viewport(), Qt::LeftButton, {},
                dialog.List().visualItemRect(dialog.List().item(row)).center());
            break;
        }
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), result);
        QCOMPARE(dialog.ChosenKey(), key.toStdString());
    }

    void helpAsksForItsTopicAndStaysOpen()
    {
        MapChooserDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QSignalSpy help(&dialog, &MapChooserDialog::HelpRequested);
        QTest::mouseClick(&dialog.HelpButton(), Qt::LeftButton);
        QCOMPARE(help.count(), 1);
        QCOMPARE(help.first().first().toInt(), 2006);
        QVERIFY(dialog.isVisible());
    }

    void chooseRunsModallyAndRestoresThePointer()
    {
        Page page;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        Qt::CursorShape shapeWhileOpen = Qt::WaitCursor;
        test::AnswerModal<MapChooserDialog>([&](MapChooserDialog& dialog) {
            if (const QCursor* cursor = QApplication::overrideCursor())
                shapeWhileOpen = cursor->shape();
            ClickRow(dialog, 1);
            QTest::mouseClick(&dialog.OkButton(), Qt::LeftButton);
        });
        QCOMPARE(ChooseMapCandidate(page.Candidates, page.File, nullptr), std::string("#side"));
        QCOMPARE(shapeWhileOpen, Qt::ArrowCursor);
        QVERIFY(!QApplication::overrideCursor());
    }
};

QTEST_MAIN(MapChooserTest)
#include "map_chooser_test.moc"
