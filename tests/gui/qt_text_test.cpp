// The Qt side of text and dialog filters.

#include "core/util/text_codec.h"
#include "ui/qt_prompt.h"
#include "ui/qt_text.h"

#include <QStringDecoder>
#include <QTest>

using namespace karvex;

class QtTextTest : public QObject
{
    Q_OBJECT

private slots:
    void ownCodePageTableAgreesWithQt()
    {
        QStringDecoder decoder("windows-1252");
        QVERIFY(decoder.isValid());
        for (int byte = 0x20; byte < 0x100; ++byte) {
            // The five unassigned bytes are mapped differently by different libraries.
            if (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D)
                continue;
            const std::string single(1, static_cast<char>(byte));
            const QString fromQt = decoder.decode(QByteArray::fromStdString(single));
            QCOMPARE(ToDisplay(single), fromQt);
        }
    }

    void filtersKeepCaptionsAndOrder()
    {
        QString selected;
        const QString filter = ToQtFilter("KVX Project Files (*.kvp)|*.kvp|HTML Files (*.html)|"
                                          "*.html|All Picture Files|*.jpg;*.gif;*.bmp",
            2, &selected);
        QCOMPARE(filter,
            QString("KVX Project Files (*.kvp);;HTML Files (*.html);;"
                    "All Picture Files (*.jpg *.gif *.bmp)"));
        QCOMPARE(selected, QString("HTML Files (*.html)"));

        // A caption naming other patterns than its entry keeps them and gets the real ones.
        selected.clear();
        QCOMPARE(
            ToQtFilter("Pages (*.htm)|*.html", 5, &selected), QString("Pages (*.htm) (*.html)"));
        QVERIFY(selected.isEmpty());
        QCOMPARE(ToQtFilter("", 1, nullptr), QString());
    }
};

QTEST_MAIN(QtTextTest)
#include "qt_text_test.moc"
