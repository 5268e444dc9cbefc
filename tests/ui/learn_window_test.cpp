// "Was geschah", the window "Protokoll" and "Verlauf" in the real window: the line after a
// step, after "Zurück" and after a failed check; the protocol's rows growing and shrinking and
// their export; the slider back and forward through an INP; where the new controls lie.
#include <QAbstractItemModelTester>
#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QStandardPaths>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "MainForm.h"
#include "data_grid.h"
#include "modal_driver.h"
#include "program_editor.h"
#include "protocol_window.h"
#include "qt_text.h"
#include "run_report.h"
#include "screen/learn_layout.h"
#include "screen/main_layout.h"
#include "sentence_line.h"
#include "session/workbench.h"
#include "session/workbench_internals.h"
#include "trace_delegate.h"
#include "trace_model.h"

using namespace quarzel;

namespace {

// What a step leaves that the slider's replay must bring back exactly.
struct Seen {
    QStringList registers;
    QStringList cells;
    QString steps;
    bool operator==(const Seen& o) const {
        return registers == o.registers && cells == o.cells && steps == o.steps;
    }
};

}  // namespace

class LearnWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        m_form = std::make_unique<TfrmMainForm>();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        m_form->resize(800, 600);
    }
    void cleanup() { m_form.reset(); }

    void sentenceFollowsStepsAndZurueck();
    void failedCheckGivesTheHint();
    void protocolGrowsShrinksAndExports();
    void protocolFollowsADirectRun();
    void reportComesAtItsPaceInATimedRun();
    void protocolOfAStepTakenAnew();
    void protocolHoldsTheJournalsLastSteps();
    void protocolMinimisedCatchesUp();
    void protocolKeepsTheLearnersPlace();
    void protocolExportedAsHtml();
    void protocolCellsDrawnAsTheStyleDrawsThem();
    void sentenceLineDrawnAsALabel();
    void sliderBackAndForwardThroughInput();
    void backToBreakpoint();
    void newControlsLieInFreeSpace_data();
    void newControlsLieInFreeSpace();

  private:
    template <typename T>
    T* child(const char* name) const {
        return m_form->findChild<T*>(QLatin1String(name));
    }
    Workbench& wb() { return m_form->workbench(); }
    void type(const QString& program) { m_form->programEditor()->setPlainText(program); }
    void setCell(int cell, const QString& value) {
        QAbstractItemModel* model = m_form->dataGrid()->model();
        QVERIFY(model->setData(model->index(cell - 1, 1), value));
    }
    void click(const char* button) {
        auto* b = child<QAbstractButton>(button);
        QVERIFY2(b != nullptr, button);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void checkAndStart() {
        ModalDriver driver;
        click("btCheck");
        click("btRun");
        QCOMPARE(driver.unexpected, QStringList());
        QVERIFY(wb().machine().VM_Running);
    }
    // The line as drawn once the frame after the core's change has come.
    QString drawnSentence() {
        if (!QTest::qWaitFor([this] { return !m_form->runReport()->due(); })) {
            return QStringLiteral("(nie gezeichnet)");
        }
        return m_form->sentenceLine()->sentence();
    }
    Seen seen() const {
        Seen s;
        for (const char* name : {"ebAccu", "ebWindow", "ebIndex", "ebIP", "ebSP"}) {
            s.registers << child<QLineEdit>(name)->text();
        }
        for (int row = 0; row < 4; ++row) {
            s.cells << m_form->dataGrid()->model()->index(row, 1).data().toString();
        }
        s.steps = child<QLabel>("lbSteps")->text();
        return s;
    }
    // Each row of the table against the core's texts of its step (rows `from` to the end).
    void compareRows(QAbstractItemModel* model, int from = 0) {
        const StepSpan span = wb().traceSpan();
        QCOMPARE(static_cast<std::uint64_t>(model->rowCount()), span.last - span.first + 1);
        for (int r = from; r < model->rowCount(); ++r) {
            const TraceTexts texts = wb().traceRow(span.first + static_cast<std::uint64_t>(r));
            for (int c = 0; c < model->columnCount(); ++c) {
                QCOMPARE(model->index(r, c).data().toString(),
                         toQString(texts[static_cast<std::size_t>(c)]));
            }
        }
    }
    // Ticks of the fastest timer, given here rather than by its timer.
    void directTicks(int count) {
        for (int i = 0; i < count; ++i) {
            wb().timerTick(RunTimer::Direct);
        }
    }
    void runDirectWithoutTimer() {
        wb().speedClick(Speed::Direct);
        WorkbenchInternals(wb()).views.runPanel.setTimerEnabled(RunTimer::Direct, false);
    }
    // The table's rows and grid as its own delegate draws them, against the style's drawing of
    // the same texts in the table's own grid: a kept layout of a text no longer shown, one placed
    // otherwise, or a grid line off by a pixel or in another colour, differs.
    void verifyDrawnAsTheStyle(QTableView* table) {
        auto* own = qobject_cast<TraceCellDelegate*>(table->itemDelegate());
        QVERIFY(own != nullptr);
        QVERIFY(!table->showGrid());
        const QImage drawn = table->viewport()->grab().toImage();
        QStyledItemDelegate styled;
        table->setItemDelegate(&styled);
        table->setShowGrid(true);
        const QImage reference = table->viewport()->grab().toImage();
        table->setShowGrid(false);
        table->setItemDelegate(own);
        QVERIFY(own->keptTexts() > 0);
        QVERIFY(drawn == reference);
    }
    // What the screen shows of the table (its window's backing store) against the table drawn
    // anew: rows moved up on the screen instead of drawn again must show what they show now.
    void verifyScreenShowsTheTable(QTableView* table) {
        QCoreApplication::processEvents();  // the updates waiting are painted
        QWidget* area = table->viewport();
        const QPoint at = area->mapTo(area->window(), QPoint(0, 0));
        const QImage shown =
            area->screen()
                ->grabWindow(area->window()->winId(), at.x(), at.y(), area->width(), area->height())
                .toImage();
        const QImage anew = area->grab().toImage();
        QCOMPARE(shown.size(), anew.size());
        QVERIFY(shown.convertToFormat(anew.format()) == anew);
    }
    TfrmProtocol* openProtocol() {
        TfrmProtocol* protocol = m_form->frmProtocol();
        click("btProtocol");
        return QTest::qWaitForWindowExposed(protocol) ? protocol : nullptr;
    }

    std::unique_ptr<TfrmMainForm> m_form;
};

void LearnWindowTest::sentenceFollowsStepsAndZurueck() {
    type(QStringLiteral("LAD 1\nADD 2\nSTO 3\nSTP"));
    setCell(1, QStringLiteral("5"));
    setCell(2, QStringLiteral("7"));
    checkAndStart();
    QCOMPARE(drawnSentence(), QString());  // nothing executed yet

    // Each action, and the line the sentence then speaks of (the step now last).
    const std::pair<const char*, int> actions[] = {
        {"btStep", 1}, {"btStep", 2}, {"btStep", 3}, {"btBack", 2}, {"btBack", 1}, {"btStep", 2},
    };
    for (const auto& [button, line] : actions) {
        click(button);
        const QString sentence = drawnSentence();
        const QString expected = toQString(wb().stepSentence());
        QCOMPARE(sentence, expected);
        QVERIFY2(sentence.startsWith(QStringLiteral("Zeile %1: ").arg(line)), qPrintable(sentence));
        QCOMPARE(m_form->sentenceLine()->accessibleName(), sentence);
        QCOMPARE(m_form->sentenceLine()->toolTip(), sentence);
    }
    // "—" and ":=" are drawn as the characters they are, not as markup or Windows-1252 bytes.
    QVERIFY(m_form->sentenceLine()->shownText().contains(QChar(0x2014)));
}

void LearnWindowTest::failedCheckGivesTheHint() {
    type(QStringLiteral("LAD 1\nADD\nSTP"));
    ModalDriver driver;
    driver.box(QMessageBox::Ok);
    click("btCheck");
    QTRY_VERIFY(driver.done());
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(driver.boxes.size(), 1);
    const QString sentence = drawnSentence();
    QVERIFY2(sentence.startsWith(QStringLiteral("Tipp: ")), qPrintable(sentence));
    QCOMPARE(sentence, toQString(wb().stepSentence()));
    QCOMPARE(m_form->sentenceLine()->accessibleName(), sentence);
    // The box says what it always said; the hint is the line's, not the box's.
    QVERIFY(!driver.boxes[0].text.contains(QStringLiteral("Tipp")));

    // Mended, the check passes and the hint goes.
    type(QStringLiteral("LAD 1\nADD 2\nSTP"));
    checkAndStart();
    QCOMPARE(drawnSentence(), QString());
}

void LearnWindowTest::protocolGrowsShrinksAndExports() {
    type(QStringLiteral("LAD 1\nADD 2\nSTO 3\nSTP"));
    setCell(1, QStringLiteral("5"));
    setCell(2, QStringLiteral("7"));
    TfrmProtocol* protocol = openProtocol();
    QVERIFY(protocol != nullptr);
    QCOMPARE(protocol->windowTitle(), QStringLiteral("Protokoll"));
    QVERIFY(!protocol->isModal());
    QAbstractItemModel* model = protocol->table()->model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QStringList headers;
    for (int c = 0; c < model->columnCount(); ++c) {
        headers << model->headerData(c, Qt::Horizontal).toString();
    }
    QCOMPARE(
        headers.join(';'),
        QStringLiteral("Schritt;Zeile;Befehl;Akku;Fenster;Index;Anweisung;Stack;Zelle;Zugriff"));

    checkAndStart();
    // Each action and the rows the table then has: steps, "Zurück", steps again.
    const std::pair<const char*, int> actions[] = {
        {"btStep", 1}, {"btStep", 2}, {"btStep", 3}, {"btBack", 2},
        {"btBack", 1}, {"btStep", 2}, {"btStep", 3},
    };
    for (const auto& [button, rows] : actions) {
        click(button);
        QTRY_COMPARE(model->rowCount(), rows);
        const StepSpan span = wb().traceSpan();
        QCOMPARE(span.last - span.first + 1, static_cast<std::uint64_t>(rows));
        for (int r = 0; r < rows; ++r) {
            const TraceTexts texts = wb().traceRow(span.first + static_cast<std::uint64_t>(r));
            for (int c = 0; c < model->columnCount(); ++c) {
                QCOMPARE(model->index(r, c).data().toString(),
                         toQString(texts[static_cast<std::size_t>(c)]));
            }
        }
    }
    QCOMPARE(model->index(2, 0).data().toString(), QStringLiteral("3"));
    QCOMPARE(model->index(2, 2).data().toString(), QStringLiteral("STO 3"));
    QCOMPARE(model->index(2, 9).data().toString(), QStringLiteral("schreiben"));
    // The newest row is in view.
    const QRect last = protocol->table()->visualRect(model->index(2, 0));
    QVERIFY(protocol->table()->viewport()->rect().intersects(last));

    // "Exportieren" as CSV: the file holds the table's rows as they are shown.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lauf.csv"));
    ModalDriver driver;
    QStringList filters;
    driver.file(path, nullptr, &filters);
    protocol->exportMenu()->actions().at(0)->trigger();
    QTRY_VERIFY(driver.done());
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(filters, QStringList{QStringLiteral("CSV-Dateien (*.csv)")});
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines =
        QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1 + model->rowCount());
    QCOMPARE(lines[0], headers.join(';'));
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList shown;
        for (int c = 0; c < model->columnCount(); ++c) {
            shown << model->index(r, c).data().toString();
        }
        QCOMPARE(lines[r + 1], shown.join(';'));
    }

    // A new run takes every row; the table starts again from the new run's steps.
    click("btStep");  // STP
    QVERIFY(!wb().machine().VM_Running);
    checkAndStart();
    QTRY_COMPARE(model->rowCount(), 0);
    click("btStep");
    QTRY_COMPARE(model->rowCount(), 1);
    QCOMPARE(model->index(0, 2).data().toString(), QStringLiteral("LAD 1"));
}

// At "Direkt" the rows come in once a frame, several steps at a time; paused, the table and the
// line show where the run stands.
void LearnWindowTest::protocolFollowsADirectRun() {
    type(QStringLiteral("MRK L\nLAD 1\nINC\nSTO 1\nJMP L\nSTP"));
    TfrmProtocol* protocol = openProtocol();
    QVERIFY(protocol != nullptr);
    QAbstractItemModel* model = protocol->table()->model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    checkAndStart();
    click("rbDirect");
    QTRY_VERIFY(model->rowCount() >= 12);
    click("rbStep");
    const StepSpan span = wb().traceSpan();
    QTRY_COMPARE(model->rowCount(), static_cast<int>(span.last - span.first + 1));
    QCOMPARE(model->index(model->rowCount() - 1, 0).data().toString(), QString::number(span.last));
    QCOMPARE(drawnSentence(), toQString(wb().stepSentence()));
    QVERIFY(protocol->history()->isEnabled());
    QCOMPARE(protocol->history()->value(), protocol->history()->maximum());
}

void LearnWindowTest::sliderBackAndForwardThroughInput() {
    type(QStringLiteral("INP\nADD 1\nSTO 2\nOUT\nSTP"));
    setCell(1, QStringLiteral("5"));
    checkAndStart();
    TfrmProtocol* protocol = openProtocol();
    QVERIFY(protocol != nullptr);
    QSlider* slider = protocol->history();
    QTRY_VERIFY(!m_form->runReport()->due());
    QVERIFY(!slider->isEnabled());  // nothing to move between yet

    std::vector<Seen> states{seen()};
    {
        ModalDriver driver;
        driver.number(QStringLiteral("7"));
        click("btStep");
        QTRY_VERIFY(driver.done());
        QCOMPARE(driver.unexpected, QStringList());
    }
    states.push_back(seen());
    for (int i = 0; i < 3; ++i) {
        click("btStep");
        states.push_back(seen());
    }
    QCOMPARE(states.back().cells[1], QStringLiteral("12"));
    QTRY_VERIFY(!m_form->runReport()->due());
    QVERIFY(slider->isEnabled());
    QCOMPARE(slider->maximum() - slider->minimum(), 4);
    QCOMPARE(slider->value(), slider->maximum());

    // Back to the start, forward over the INP (no dialog may open), to the middle, to the end.
    ModalDriver none;
    const int moves[] = {0, 2, 1, 4, 0, 4};
    for (const int to : moves) {
        slider->setValue(slider->minimum() + to);
        QTRY_VERIFY(!m_form->runReport()->due());
        QCOMPARE(slider->value(), slider->minimum() + to);  // the core's position, not fed back
        const Seen now = seen();
        QVERIFY2(now == states[static_cast<std::size_t>(to)],
                 qPrintable(QStringLiteral("at %1: ").arg(to) + now.registers.join(',') + " / " +
                            states[static_cast<std::size_t>(to)].registers.join(',')));
        QCOMPARE(wb().machine().StepCount, static_cast<std::uint64_t>(to));
    }
    QTest::qWait(30);
    QCOMPARE(none.unexpected, QStringList());
    QVERIFY(!m_form->frmData()->isVisible());

    // At a timed speed the slider cannot be moved.
    click("rbSlow");
    QTRY_VERIFY(!slider->isEnabled());
    QVERIFY(!protocol->backToBreakpoint()->isEnabled());
}

void LearnWindowTest::backToBreakpoint() {
    type(QStringLiteral("LAD 1\nADD 1\nADD 1\nSTO 2\nSTP"));
    setCell(1, QStringLiteral("3"));
    checkAndStart();
    m_form->programEditor()->setBreakpoint(2, true);
    TfrmProtocol* protocol = openProtocol();
    QVERIFY(protocol != nullptr);
    QPushButton* back = protocol->backToBreakpoint();
    QTRY_VERIFY(!m_form->runReport()->due());
    QVERIFY(!back->isEnabled());  // nothing to go back to
    for (int i = 0; i < 4; ++i) {
        click("btStep");
    }
    QTRY_VERIFY(!m_form->runReport()->due());
    QVERIFY(back->isEnabled());
    protocol->activateWindow();
    QTRY_VERIFY(protocol->isActiveWindow());
    // Its access key, free in the main window whose keys reach this window too; the button
    // clicks after its short animation.
    QTest::keyClick(protocol, Qt::Key_Z, Qt::AltModifier);
    // The run stood before line 3 (index 2) after two steps.
    QTRY_COMPARE(wb().machine().StepCount, std::uint64_t{2});
    QCOMPARE(child<QLineEdit>("ebIP")->text(), QStringLiteral("2"));
    QTRY_COMPARE(protocol->history()->value(), protocol->history()->minimum() + 2);
}

void LearnWindowTest::newControlsLieInFreeSpace_data() {
    QTest::addColumn<QSize>("client");
    QTest::newRow("800 x 600") << QSize(800, 600);
    QTest::newRow("1000 x 700") << QSize(1000, 700);
    QTest::newRow("1600 x 1000") << QSize(1600, 1000);
}

// Each new control inside its box, clear of the box's frame, and on top of no other control of
// that box; the line wide and high enough for its font. The main layout's own rectangles are
// the main window test's.
void LearnWindowTest::newControlsLieInFreeSpace() {
    QFETCH(QSize, client);
    m_form->resize(client);
    QTRY_COMPARE(m_form->sentenceLine()->parentWidget()->parentWidget()->size(), client);
    const MainLayout main = computeMainLayout(client.width(), client.height());
    const LearnLayout learn = computeLearnLayout(main);
    for (const LearnLayoutField& field : kLearnLayoutFields) {
        QWidget* w = m_form->layoutControl(field.name);
        QVERIFY2(w != nullptr, field.name);
        const LayoutRect& r = learn.*field.rect;
        QCOMPARE(w->geometry(), QRect(r.left, r.top, r.width, r.height));
        QWidget* box = w->parentWidget();
        const LayoutRect& b = main.*field.box;
        QCOMPARE(box->geometry(), QRect(b.left, b.top, b.width, b.height));
        QVERIFY2(
            r.left >= 2 && r.top >= 2 && r.right() <= b.width - 2 && r.bottom() <= b.height - 2,
            field.name);
        for (QWidget* other : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other != w && !other->isWindow()) {
                QVERIFY2(
                    !other->geometry().intersects(w->geometry()),
                    qPrintable(QString::fromLatin1(field.name) + " on " + other->objectName()));
            }
        }
    }
    QVERIFY(m_form->sentenceLine()->height() >= m_form->sentenceLine()->fontMetrics().height());
    QVERIFY(m_form->sentenceLine()->width() >= 400);
    auto* button = child<QPushButton>("btProtocol");
    QCOMPARE(button->accessibleName(), QStringLiteral("Protokoll"));
    QVERIFY(button->fontMetrics().horizontalAdvance(QStringLiteral("Protokoll")) < button->width());
}

// While a timed run goes on, the protocol and the sentence come a few times a second (the
// report's clock set here); paused, everything at once.
void LearnWindowTest::reportComesAtItsPaceInATimedRun() {
    type(QStringLiteral("MRK L\nLAD 1\nINC\nSTO 1\nJMP L\nSTP"));
    TfrmProtocol* protocol = openProtocol();
    QVERIFY(protocol != nullptr);
    QAbstractItemModel* model = protocol->table()->model();
    RunReport* report = m_form->runReport();
    auto clockMs = std::make_shared<std::int64_t>(100000);
    report->setClock([clockMs] { return *clockMs; });
    checkAndStart();
    runDirectWithoutTimer();
    directTicks(3);
    report->drawNow();
    compareRows(model);  // the first rows of a run come at once

    // Milliseconds since the rows were drawn, and whether the next draw brings them.
    const std::pair<std::int64_t, bool> frames[] = {{25, false}, {200, false}, {249, false},
                                                    {250, true}, {10, false},  {260, true}};
    std::int64_t since = 0;
    for (const auto& [at, drawn] : frames) {
        directTicks(2);
        *clockMs += at - since;
        since = drawn ? 0 : at;
        const int before = model->rowCount();
        const QString sentenceBefore = m_form->sentenceLine()->sentence();
        report->drawNow();
        const QString sentence = m_form->sentenceLine()->sentence();
        if (drawn) {
            compareRows(model);
            QCOMPARE(sentence, toQString(wb().stepSentence()));
            verifyScreenShowsTheTable(protocol->table());
        } else {
            QCOMPARE(sentence, sentenceBefore);
            QVERIFY(sentence != toQString(wb().stepSentence()));
            QCOMPARE(model->rowCount(), before);
            QVERIFY(wb().traceSpan().last - wb().traceSpan().first + 1 >
                    static_cast<std::uint64_t>(before));
            QVERIFY(report->due());
        }
    }
    directTicks(2);
    *clockMs += 1;
    wb().speedClick(Speed::Step);
    report->drawNow();
    QVERIFY(!report->due());
    compareRows(model);
    QCOMPARE(m_form->sentenceLine()->sentence(), toQString(wb().stepSentence()));

    // At the window's own size every caption and every cell in sight ("schreiben" among them)
    // fits its column (the style's size for the cell and a pixel of grid line), and nothing
    // needs scrolling sideways.
    QTableView* table = protocol->table();
    QVERIFY(!table->horizontalScrollBar()->isVisible());
    QStyleOptionViewItem option;
    option.initFrom(table->viewport());
    option.widget = table;
    const int first = table->rowAt(0);
    QVERIFY(first >= 0);
    for (int c = 0; c < model->columnCount(); ++c) {
        QVERIFY(table->horizontalHeader()->sectionSizeHint(c) <= table->columnWidth(c));
        for (int r = first; r < model->rowCount(); ++r) {
            const QSize size = table->itemDelegate()->sizeHint(option, model->index(r, c));
            QVERIFY2(size.width() + 1 <= table->columnWidth(c),
                     qPrintable(model->index(r, c).data().toString()));
        }
    }
}

// A row whose step was taken back and taken anew with another number typed shows the new
// step's texts, not the ones the table kept of the old.
void LearnWindowTest::protocolOfAStepTakenAnew() {
    type(QStringLiteral("INP\nSTO 1\nSTP"));
    TfrmProtocol* protocol = openProtocol();
    QVERIFY(protocol != nullptr);
    QAbstractItemModel* model = protocol->table()->model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    checkAndStart();
    for (const char* typed : {"7", "12", "7", "3000"}) {
        {
            ModalDriver driver;
            driver.number(QString::fromLatin1(typed));
            m_form->frmData()->setProperty("driven", false);  // asked again: a new question
            click("btStep");
            QTRY_VERIFY(driver.done());
            QCOMPARE(driver.unexpected, QStringList());
        }
        click("btStep");  // STO 1
        QTRY_VERIFY(!m_form->runReport()->due());
        compareRows(model);
        QCOMPARE(model->index(0, 3).data().toString(), QString::fromLatin1(typed));
        verifyDrawnAsTheStyle(protocol->table());
        verifyScreenShowsTheTable(protocol->table());
        click("btBack");
        QTRY_VERIFY(!m_form->runReport()->due());
        verifyScreenShowsTheTable(protocol->table());
        click("btBack");
        QTRY_VERIFY(!m_form->runReport()->due());
        QCOMPARE(model->rowCount(), 0);
    }
}

// With the journal full (100 000 steps), every further step drops the oldest row: the table
// keeps 100 000 rows, its first "Schritt" goes on, each row drawn is its step's row.
void LearnWindowTest::protocolHoldsTheJournalsLastSteps() {
    type(QStringLiteral("MRK L\nLAD 1\nINC\nSTO 1\nJMP L\nSTP"));
    TfrmProtocol* protocol = openProtocol();
    QVERIFY(protocol != nullptr);
    QAbstractItemModel* model = protocol->table()->model();
    checkAndStart();
    runDirectWithoutTimer();
    directTicks(100003);
    wb().speedClick(Speed::Step);
    QTRY_VERIFY(!m_form->runReport()->due());
    QCOMPARE(model->rowCount(), 100000);
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("4"));
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QTableView* table = protocol->table();
    for (std::uint64_t first = 5; first <= 8; ++first) {
        // The rows in sight are drawn (and their texts kept) before the step that shifts them.
        table->viewport()->repaint();
        click("btStep");
        QTRY_VERIFY(!m_form->runReport()->due());
        QCOMPARE(model->rowCount(), 100000);
        QCOMPARE(model->index(0, 0).data().toString(), QString::number(first));
        QCOMPARE(model->index(99999, 0).data().toString(), QString::number(first + 99999));
        compareRows(model, 99990);
        // The newest row is in view.
        QVERIFY(table->viewport()->rect().intersects(table->visualRect(model->index(99999, 0))));
        verifyScreenShowsTheTable(table);
    }
    compareRows(model);  // every row, once
}

// Scrolled up to read, the protocol stays where the learner put it while steps come in;
// scrolled back to the newest row, it follows the run again.
void LearnWindowTest::protocolKeepsTheLearnersPlace() {
    type(QStringLiteral("MRK L\nLAD 1\nINC\nSTO 1\nJMP L\nSTP"));
    TfrmProtocol* protocol = openProtocol();
    QVERIFY(protocol != nullptr);
    QTableView* table = protocol->table();
    QAbstractItemModel* model = table->model();
    const auto newestInSight = [&] {
        const QModelIndex newest = model->index(model->rowCount() - 1, 0);
        return table->viewport()->rect().intersects(table->visualRect(newest));
    };
    checkAndStart();
    runDirectWithoutTimer();
    directTicks(200);
    wb().speedClick(Speed::Step);
    QTRY_VERIFY(!m_form->runReport()->due());
    QScrollBar* bar = table->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
    bar->setValue(3);
    for (int i = 0; i < 3; ++i) {
        click("btStep");
        QTRY_VERIFY(!m_form->runReport()->due());
        compareRows(model, model->rowCount() - 3);
        QCOMPARE(bar->value(), 3);
        QVERIFY(!newestInSight());
        verifyScreenShowsTheTable(table);
    }
    bar->setValue(bar->maximum());
    verifyScreenShowsTheTable(table);  // the rows that came in unseen, drawn when scrolled to
    click("btStep");
    QTRY_VERIFY(!m_form->runReport()->due());
    QCOMPARE(bar->value(), bar->maximum());
    QVERIFY(newestInSight());
    verifyScreenShowsTheTable(table);
}

// Minimised, the protocol does nothing; shown again, it has the run's rows.
void LearnWindowTest::protocolMinimisedCatchesUp() {
    type(QStringLiteral("LAD 1\nINC\nINC\nSTO 1\nSTP"));
    TfrmProtocol* protocol = openProtocol();
    QVERIFY(protocol != nullptr);
    QAbstractItemModel* model = protocol->table()->model();
    checkAndStart();
    click("btStep");
    QTRY_VERIFY(!m_form->runReport()->due());
    QCOMPARE(model->rowCount(), 1);
    protocol->setWindowState(Qt::WindowMinimized);
    QTRY_VERIFY(protocol->isMinimized());
    // Further steps and one taken back: the hidden table is not told.
    for (const char* button : {"btStep", "btStep", "btStep", "btBack"}) {
        click(button);
    }
    QTRY_VERIFY(!m_form->runReport()->due());
    QCOMPARE(model->rowCount(), 1);
    protocol->setWindowState(Qt::WindowNoState);
    QTRY_VERIFY(!protocol->isMinimized());
    QCOMPARE(model->rowCount(), 3);
    compareRows(model);
}

// "Exportieren" as HTML from the window: the texts escaped, the rows those of the table.
void LearnWindowTest::protocolExportedAsHtml() {
    type(QStringLiteral("* <b>Summe</b> & \"Rest\"\nLAD 1\nADD 2\nSTO 3\nSTP"));
    setCell(1, QStringLiteral("5"));
    setCell(2, QStringLiteral("-7"));
    TfrmProtocol* protocol = openProtocol();
    QVERIFY(protocol != nullptr);
    QAbstractItemModel* model = protocol->table()->model();
    checkAndStart();
    for (int i = 0; i < 4; ++i) {
        click("btStep");
    }
    QTRY_VERIFY(!m_form->runReport()->due());
    QCOMPARE(model->rowCount(), 4);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lauf.html"));
    ModalDriver driver;
    QStringList filters;
    driver.file(path, nullptr, &filters);
    protocol->exportMenu()->actions().at(1)->trigger();
    QTRY_VERIFY(driver.done());
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(filters, QStringList{QStringLiteral("HTML Dateien (*.html)")});
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(file.readAll());
    // The program's own text never becomes markup.
    QVERIFY(!page.contains(QStringLiteral("<b>")));
    QVERIFY(
        page.contains(QStringLiteral("* &lt;b&gt;Summe&lt;/b&gt; &amp; &quot;Rest&quot;</td>")));

    // The page's rows, unescaped, against the table's.
    QStringList rows;
    static const QRegularExpression rowPattern(QStringLiteral("<tr>(.*?)</tr>"));
    static const QRegularExpression cellPattern(QStringLiteral("<t([dh])[^>]*>(.*?)</t\\1>"));
    for (auto r = rowPattern.globalMatch(page); r.hasNext();) {
        QStringList cells;
        const QString row = r.next().captured(1);
        for (auto c = cellPattern.globalMatch(row); c.hasNext();) {
            QString text = c.next().captured(2);
            text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
                .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
                .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
                .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
            cells << text;
        }
        rows << cells.join(QLatin1Char('|'));
    }
    QStringList shown;
    QStringList header;
    for (int c = 0; c < model->columnCount(); ++c) {
        header << model->headerData(c, Qt::Horizontal).toString();
    }
    shown << header.join(QLatin1Char('|'));
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c) {
            cells << model->index(r, c).data().toString();
        }
        shown << cells.join(QLatin1Char('|'));
    }
    QCOMPARE(rows, shown);
}

// The protocol's cells keep their laid-out texts; drawn, they are what the style draws of the
// same texts: plain, cut with "…" where the column is too narrow, selected, in another font.
void LearnWindowTest::protocolCellsDrawnAsTheStyleDrawsThem() {
    type(
        QStringLiteral("* Z\u00e4hler \u2014 <b>&</b> \"x\"\nLAD 1\nINC\n"
                       "* ein Kommentar, der in der Spalte Befehl keinen Platz hat\n"
                       "STO 2\nLAD 2\nDEC\nSTO 3\nSTP"));
    setCell(1, QStringLiteral("-2147483647"));
    TfrmProtocol* protocol = openProtocol();
    QVERIFY(protocol != nullptr);
    QTableView* table = protocol->table();
    checkAndStart();
    for (int i = 0; i < 7; ++i) {
        click("btStep");
    }
    QTRY_VERIFY(!m_form->runReport()->due());
    QCOMPARE(table->model()->rowCount(), 7);
    const QString befehl = table->model()->index(3, 2).data().toString();
    QVERIFY(table->fontMetrics().horizontalAdvance(befehl) > table->columnWidth(2));

    const std::pair<const char*, std::function<void()>> states[] = {
        {"plain", [] {}},
        {"a row selected", [table] { table->selectRow(2); }},
        {"another font",
         [table] {
             QFont font = table->font();
             font.setPointSize(font.pointSize() + 3);
             table->setFont(font);
         }},
        {"a narrow column", [table] { table->setColumnWidth(3, 30); }},
    };
    for (const auto& [name, apply] : states) {
        apply();
        QCoreApplication::processEvents();
        verifyDrawnAsTheStyle(table);
        if (QTest::currentTestFailed()) {
            qWarning("drawn otherwise: %s", name);
            return;
        }
    }
}

// The line draws its sentence as a label draws the same text, cut to the line's width (again
// when the width changes); its accessible name and tooltip keep the whole sentence.
void LearnWindowTest::sentenceLineDrawnAsALabel() {
    SentenceLine* line = m_form->sentenceLine();
    const QString longSentence =
        QStringLiteral("Zeile 12: STO [12] \u2014 Zelle 12 enth\u00e4lt 40: Zelle 40 := 12, ") +
        QStringLiteral("und so weiter ").repeated(12);
    const QString sentences[] = {
        QStringLiteral("Zeile 5: ADD 11 \u2014 Akku 5 + Zelle 11 (7) = 12"),
        QStringLiteral("Zeile 2: * <b>&amp;</b> & \"Rest\" \u2014 keine Wirkung"),
        longSentence,
        QString(),
    };
    const int widths[] = {line->width(), line->width() / 2};
    for (const QString& sentence : sentences) {
        line->setSentence(sentence);
        for (const int width : widths) {  // the same sentence cut anew to the new width
            line->resize(width, line->height());
            const QString shown = line->shownText();
            QCOMPARE(line->accessibleName(), sentence);
            QCOMPARE(line->toolTip(), sentence);
            if (line->fontMetrics().horizontalAdvance(sentence) < width - 2) {
                QCOMPARE(shown, sentence);
            } else {
                QVERIFY2(shown.endsWith(QChar(0x2026)), qPrintable(shown));
                QVERIFY2(sentence.startsWith(shown.chopped(1)), qPrintable(shown));
                QVERIFY(line->fontMetrics().horizontalAdvance(shown) <= width);
            }
            QLabel label(line->parentWidget());
            label.setTextFormat(Qt::PlainText);
            label.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            label.setFont(line->font());
            label.setGeometry(line->geometry());
            label.setText(shown);
            QVERIFY2(line->grab().toImage() == label.grab().toImage(), qPrintable(shown));
        }
    }
}

QTEST_MAIN(LearnWindowTest)
#include "learn_window_test.moc"
