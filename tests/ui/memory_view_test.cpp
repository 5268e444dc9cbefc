// The memory picture: where the squares lie, which cell the pointer is over, and the pixels
// that are really painted (read back from a grabbed image).
#include <QImage>
#include <QSignalSpy>
#include <QtTest>

#include <initializer_list>
#include <string>

#include "common/win1252.h"
#include "memory_view.h"
#include "model/data_table.h"
#include "model/machine_state.h"
#include "screen/memory_geometry.h"

using namespace quarzel;

namespace {

const QString kBlack = QStringLiteral("#000000");
const QString kRed = QStringLiteral("#ff0000");
const QString kGreen = QStringLiteral("#00ff00");

// A picture over its own table and machine state, sized like a layout would size it.
struct Picture {
    DataTable table;
    MachineState machine;
    MemoryView view{table, machine};

    Picture(int width, int height) { view.resize(width, height); }

    QString background() const { return view.palette().color(QPalette::Window).name(); }

    QImage image() { return view.grab().toImage(); }

    void fillAll(const std::string& value) {
        for (int row = 0; row < DataTable::kRowCount; ++row) {
            table.setValue(row, value);
        }
    }
};

QString pixel(const QImage& image, int x, int y) {
    return image.pixelColor(x, y).name();
}

int countPixels(const QImage& image, const QString& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += pixel(image, x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

}  // namespace

class MemoryViewTest : public QObject {
    Q_OBJECT

  private slots:
    void zeroAndEmptyAreHollow_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("filled");
        QTest::newRow("0") << "0" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("5") << "5" << true;
        QTest::newRow("-3") << "-3" << true;
        QTest::newRow("00") << "00" << true;
        QTest::newRow("-0") << "-0" << true;
    }
    void zeroAndEmptyAreHollow() {
        QFETCH(QString, value);
        QFETCH(bool, filled);
        Picture picture(338, 429);
        picture.table.setValue(0, value.toStdString());
        const QImage image = picture.image();
        const QString background = picture.background();
        // The outline is pixels 5..19 in both directions whatever the value.
        for (const QPoint p : {QPoint(5, 5), QPoint(19, 5), QPoint(5, 19), QPoint(19, 19),
                               QPoint(12, 5), QPoint(5, 12), QPoint(19, 12), QPoint(12, 19)}) {
            QCOMPARE(pixel(image, p.x(), p.y()), kBlack);
        }
        for (const QPoint p : {QPoint(4, 12), QPoint(20, 12), QPoint(12, 4), QPoint(12, 20)}) {
            QCOMPARE(pixel(image, p.x(), p.y()), background);
        }
        const QString inside = filled ? kBlack : background;
        for (const QPoint p : {QPoint(6, 6), QPoint(12, 12), QPoint(18, 18)}) {
            QCOMPARE(pixel(image, p.x(), p.y()), inside);
        }
        // The neighbour keeps its "0" and stays hollow.
        QCOMPARE(pixel(image, 32, 12), background);
    }

    void frameAroundLastAccess_data() {
        QTest::addColumn<bool>("write");
        QTest::addColumn<QString>("colour");
        QTest::newRow("write is red") << true << kRed;
        QTest::newRow("read is green") << false << kGreen;
    }
    void frameAroundLastAccess() {
        QFETCH(bool, write);
        QFETCH(QString, colour);
        Picture picture(338, 429);
        // Cell 23: column 6, row 1, square (125, 25)-(140, 40), hollow.
        picture.machine.LastAccessCell = 23;
        picture.machine.LastAccessWrite = write;
        const QImage image = picture.image();
        const QString bg = picture.background();

        // Along the middle row: a 7-pixel pen centred on the outline's pixels 125 and 139
        // covers 122..128 and 136..142; the square's outline is drawn over it, and the frame's
        // own brush leaves 129..135 in the background colour.
        const struct {
            int from;
            int to;
            QString expected;
        } row[] = {{120, 121, bg},     {122, 124, colour}, {125, 125, kBlack},
                   {126, 128, colour}, {129, 135, bg},     {136, 138, colour},
                   {139, 139, kBlack}, {140, 142, colour}, {143, 144, bg}};
        for (const auto& span : row) {
            for (int x = span.from; x <= span.to; ++x) {
                QVERIFY2(pixel(image, x, 32) == span.expected,
                         qPrintable(QStringLiteral("x %1: %2").arg(x).arg(pixel(image, x, 32))));
                // The frame is square: the same along the middle column.
                QVERIFY2(
                    pixel(image, 132, x - 100) == span.expected,
                    qPrintable(
                        QStringLiteral("y %1: %2").arg(x - 100).arg(pixel(image, 132, x - 100))));
            }
        }
        // Nothing else is framed.
        const QString other = write ? kGreen : kRed;
        QCOMPARE(countPixels(image, other), 0);
    }

    void filledSquareLeavesABorder() {
        Picture picture(338, 429);
        picture.table.setValue(22, "9");
        picture.machine.LastAccessCell = 23;
        picture.machine.LastAccessWrite = true;
        const QImage image = picture.image();
        for (int x = 125; x <= 139; ++x) {
            QCOMPARE(pixel(image, x, 32), kBlack);
        }
        for (const int x : {122, 124, 140, 142}) {
            QCOMPARE(pixel(image, x, 32), kRed);
        }
    }

    void onlyTheLastAccessIsFramed() {
        Picture picture(338, 429);
        picture.machine.LastAccessCell = 7;
        picture.machine.LastAccessWrite = true;
        QVERIFY(countPixels(picture.image(), kRed) > 0);

        picture.machine.LastAccessCell = 9;
        picture.machine.LastAccessWrite = false;
        const QImage image = picture.image();
        QCOMPARE(countPixels(image, kRed), 0);
        QVERIFY(countPixels(image, kGreen) > 0);
        // Cell 7's square is (125, 5)-(140, 20): its frame columns are background again.
        QCOMPARE(pixel(image, 123, 12), picture.background());
        QCOMPARE(pixel(image, 141, 12), picture.background());
        // Cell 9's square is (165, 5)-(180, 20).
        QCOMPARE(pixel(image, 163, 12), kGreen);
        QCOMPARE(pixel(image, 181, 12), kGreen);
    }

    void noFrameBeforeTheFirstAccess() {
        Picture picture(338, 429);
        picture.machine.LastAccessCell = 0;
        picture.machine.LastAccessWrite = true;
        const QImage image = picture.image();
        QCOMPARE(countPixels(image, kRed), 0);
        QCOMPARE(countPixels(image, kGreen), 0);
    }

    void areaOfAnEightHundredBySixHundredWindow() {
        Picture picture(338, 429);
        picture.fillAll("5");
        const QImage image = picture.image();
        QCOMPARE(image.size(), QSize(338, 429));
        // Cells 1..336: the whole square is there, down to its last pixel.
        for (int cell = 1; cell <= 336; ++cell) {
            const CellRect r = *cellSquare(cell, 16);
            QVERIFY2(pixel(image, r.left, r.top) == kBlack &&
                         pixel(image, r.right - 1, r.bottom - 1) == kBlack,
                     qPrintable(QStringLiteral("cell %1").arg(cell)));
        }
        // Cells 337..352: only pixel rows 425..428 of their squares fit.
        for (int cell = 337; cell <= 352; ++cell) {
            const CellRect r = *cellSquare(cell, 16);
            QCOMPARE(r.top, 425);
            for (int y = 425; y <= 428; ++y) {
                QCOMPARE(pixel(image, r.left + 7, y), kBlack);
            }
            QCOMPARE(pixel(image, r.left + 7, 424), picture.background());
        }
        // The strip right of column 16 stays empty.
        for (int x = 320; x < 338; ++x) {
            QCOMPARE(pixel(image, x, 12), picture.background());
        }
    }

    void lastCellInATallArea() {
        Picture picture(338, 660);
        picture.table.setValue(511, "1");
        picture.machine.LastAccessCell = 512;
        picture.machine.LastAccessWrite = false;
        const QImage image = picture.image();
        QCOMPARE(pixel(image, 305, 625), kBlack);
        QCOMPARE(pixel(image, 319, 639), kBlack);
        QCOMPARE(pixel(image, 320, 632), kGreen);
        QCOMPARE(pixel(image, 312, 642), kGreen);
        QCOMPARE(pixel(image, 312, 643), picture.background());
    }

    void narrowAreaShowsOnlyTheBackground() {
        Picture picture(19, 200);
        picture.fillAll("5");
        picture.machine.LastAccessCell = 1;
        picture.machine.LastAccessWrite = true;
        const QImage image = picture.image();
        QCOMPARE(image.size(), QSize(19, 200));
        QCOMPARE(countPixels(image, picture.background()), 19 * 200);
    }

    void hoverTexts_data() {
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("cell 19") << QPoint(45, 30)
                                 << QStringList{"19", "-7", QString::fromUtf8("Zähler")};
        QTest::newRow("cell 1") << QPoint(0, 0) << QStringList{"1", "0", ""};
        QTest::newRow("cell 512") << QPoint(310, 630) << QStringList{"512", "", "Ende"};
        QTest::newRow("below cell 512") << QPoint(10, 650) << QStringList{"", "", ""};
        QTest::newRow("strip right of the columns") << QPoint(325, 30) << QStringList{"", "", ""};
    }
    void hoverTexts() {
        QFETCH(QPoint, position);
        QFETCH(QStringList, texts);
        Picture picture(338, 680);
        picture.table.setValue(18, "-7");
        picture.table.setComment(18, fromUtf8("Zähler"));
        picture.table.setValue(511, "");
        picture.table.setComment(511, "Ende");
        QSignalSpy spy(&picture.view, &MemoryView::hoverChanged);
        // Start from another cell so that every row sees a real change of position.
        QMouseEvent away(QEvent::MouseMove, QPointF(200, 200), QPointF(200, 200), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&picture.view, &away);
        QMouseEvent move(QEvent::MouseMove, QPointF(position), QPointF(position), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&picture.view, &move);
        QCOMPARE(spy.count(), 2);
        const QList<QVariant> last = spy.at(1);
        QCOMPARE((QStringList{last.at(0).toString(), last.at(1).toString(), last.at(2).toString()}),
                 texts);
    }

    void realPointerMovesReachTheHoverSignal() {
        Picture picture(338, 429);
        picture.table.setValue(18, "42");
        picture.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picture.view));
        QSignalSpy spy(&picture.view, &MemoryView::hoverChanged);
        QTest::mouseMove(&picture.view, QPoint(45, 30));
        QTRY_VERIFY(!spy.isEmpty());
        QCOMPARE(spy.last().at(0).toString(), QStringLiteral("19"));
        QCOMPARE(spy.last().at(1).toString(), QStringLiteral("42"));
    }

    void repaintNowPaintsBeforeReturning() {
        Picture picture(338, 429);
        picture.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picture.view));
        int paints = 0;
        struct Counter : QObject {
            int& count;
            explicit Counter(int& c) : count(c) {}
            bool eventFilter(QObject*, QEvent* e) override {
                count += e->type() == QEvent::Paint ? 1 : 0;
                return false;
            }
        } counter(paints);
        picture.view.installEventFilter(&counter);
        picture.view.repaintNow();
        QCOMPARE(paints, 1);
        picture.view.removeEventFilter(&counter);
    }
};

QTEST_MAIN(MemoryViewTest)
#include "memory_view_test.moc"
