// The Qt adapters the core talks to: the program editor's lines and text, the table model
// over the memory table, and the grid's refusal of the number column.
#include <QAbstractItemModelTester>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QtTest>
#include <sstream>

#include "common/system_error.h"
#include "common/win1252.h"
#include "data_grid.h"
#include "data_table_model.h"
#include "grading/headless_views.h"
#include "model/data_table.h"
#include "program_editor.h"
#include "qt_prompts.h"
#include "qt_text.h"
#include "session/workbench.h"
#include "session/workbench_internals.h"

using namespace quarzel;

namespace {

// A workbench whose table the model shows, with the real grid as its grid; the other views
// are the headless ones.
struct GridBench {
    TextEditor editor;
    DataGrid grid;
    headless::SilentPicture picture;
    headless::SilentRegisters registers;
    headless::SilentRunPanel runPanel;
    std::ostringstream boxes;
    headless::LinePrompts prompts{boxes};
    headless::ScriptedNumberInput numberInput{{}};
    Workbench wb{Views{editor, grid, picture, registers, runPanel, prompts, numberInput}};
    WorkbenchInternals in{wb};
    DataTableModel model{wb};

    GridBench() { grid.setTableModel(&model); }
};

// The editor's text as the core sees it, in UTF-8 for readable comparisons.
QString coreText(const ProgramEditor& editor) {
    return toQString(editor.text());
}

}  // namespace

class AdaptersTest : public QObject {
    Q_OBJECT

  private slots:
    void lineCount_data();
    void lineCount();
    void deleteLine_data();
    void deleteLine();
    void textKeepsEveryCharacter();
    void lineBreaksOnTheWayIn_data();
    void lineBreaksOnTheWayIn();
    void outOfRangeLinesRaiseTheListError();
    void appendScrollsTheCaretIntoView();
    void everyAppendScrollsOnceTheViewIsFull();
    void selectLineMarksTheLineWithoutItsBreak();
    void everyChangeIsReported();
    void modelFollowsTheTable();
    void userEditSetsTheFlags();
    void numberColumnIsNeverCurrent();
    void inputDisabledKeepsTheTableScrollable();
    void fileFilter();
};

void AdaptersTest::lineCount_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lines");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("one line") << "STP" << 1;
    QTest::newRow("final break") << "LAD 1\nSTP\n" << 2;
    QTest::newRow("two final breaks") << "STP\n\n" << 2;
    QTest::newRow("only a break") << "\n" << 1;
    QTest::newRow("tab line") << "\t" << 1;
}

void AdaptersTest::lineCount() {
    QFETCH(QString, text);
    QFETCH(int, lines);
    ProgramEditor editor;
    editor.setPlainText(text);
    QCOMPARE(editor.lineCount(), lines);
}

void AdaptersTest::deleteLine_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first") << "A\nB\nC" << 0 << "B\r\nC";
    QTest::newRow("middle empty") << "A\n\nC" << 1 << "A\r\nC";
    QTest::newRow("last without break keeps the break before it") << "A\nB" << 1 << "A\r\n";
    QTest::newRow("last with final break") << "A\nB\n" << 1 << "A\r\n";
    QTest::newRow("only line") << "A" << 0 << "";
}

void AdaptersTest::deleteLine() {
    QFETCH(QString, text);
    QFETCH(int, line);
    QFETCH(QString, expected);
    ProgramEditor editor;
    editor.setPlainText(text);
    editor.deleteLine(line);
    QCOMPARE(coreText(editor), expected);
}

void AdaptersTest::textKeepsEveryCharacter() {
    ProgramEditor editor;
    // Umlauts, a tab, a non-breaking space and a euro sign all survive the round trip.
    const std::string text = fromUtf8("* Zähler\tü\u00a0€\r\nLAD 1\r\n\r\nSTP\r\n");
    editor.setText(text);
    QCOMPARE(editor.text(), text);
    QCOMPARE(editor.lineCount(), 4);
    QCOMPARE(editor.lineText(0), fromUtf8("* Zähler\tü\u00a0€"));
    QCOMPARE(editor.lineText(2), std::string());
    // A character Windows-1252 cannot hold becomes "?" at the boundary.
    editor.setPlainText(QStringLiteral("LAD 1 * \u4e00"));
    QCOMPARE(editor.lineText(0), std::string("LAD 1 * ?"));
}

void AdaptersTest::lineBreaksOnTheWayIn_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("lines");
    QTest::newRow("CR LF") << QByteArray("A\r\nB\r\nC") << 3;
    QTest::newRow("lone LF") << QByteArray("A\nB\nC") << 3;
    QTest::newRow("lone CR") << QByteArray("A\rB\rC") << 3;
    QTest::newRow("empty lines") << QByteArray("A\r\n\r\n\r\nB") << 4;
}

void AdaptersTest::lineBreaksOnTheWayIn() {
    QFETCH(QByteArray, text);
    QFETCH(int, lines);
    ProgramEditor editor;
    editor.setText(text.toStdString());
    QCOMPARE(editor.lineCount(), lines);
    QCOMPARE(editor.document()->blockCount(), lines);
    QVERIFY(!QString::fromStdString(editor.text()).contains(QRegularExpression("\r(?!\n)")));
}

void AdaptersTest::outOfRangeLinesRaiseTheListError() {
    ProgramEditor editor;
    editor.setPlainText(QStringLiteral("A\nB\n"));
    for (int line : {-1, 2, 3}) {
        QVERIFY_THROWS_EXCEPTION(SystemError, editor.lineText(line));
        QVERIFY_THROWS_EXCEPTION(SystemError, editor.deleteLine(line));
    }
    QCOMPARE(coreText(editor), QStringLiteral("A\r\nB\r\n"));
}

void AdaptersTest::appendScrollsTheCaretIntoView() {
    ProgramEditor editor;
    editor.resize(300, 200);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.setPlainText(QStringLiteral("LAD 1\nSTP"));
    for (int i = 0; i < 40; ++i) {
        editor.appendEmptyLine();
    }
    QCOMPARE(editor.lineCount(), 2 + 39);  // the last appended line is empty: not counted
    QCOMPARE(editor.textCursor().blockNumber(), 41);
    QVERIFY(editor.firstVisibleLine() > 0);
    // One scroll step is one line, in both directions, and stops at the top.
    const int first = editor.firstVisibleLine();
    editor.scrollLines(-3);
    QCOMPARE(editor.firstVisibleLine(), first - 3);
    editor.scrollLines(-1000);
    QCOMPARE(editor.firstVisibleLine(), 0);
    editor.scrollLines(5);
    QCOMPARE(editor.firstVisibleLine(), 5);
}

// The checker grows a program with empty lines until its last line can be the first visible
// one, and relies on each append scrolling by one line once the view is full, whatever
// fraction of a line the editor's height leaves over.
void AdaptersTest::everyAppendScrollsOnceTheViewIsFull() {
    for (int height = 120; height <= 260; height += 7) {
        ProgramEditor editor;
        editor.setFont(QFont(QStringLiteral("Liberation Mono")));
        editor.resize(300, height);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        editor.setPlainText(QStringLiteral("LAD 1\nSTP"));
        int first = 0;
        bool scrolling = false;
        for (int i = 0; i < 40; ++i) {
            editor.appendEmptyLine();
            const int now = editor.firstVisibleLine();
            if (scrolling) {
                QVERIFY2(now == first + 1,
                         qPrintable(QStringLiteral("height %1, append %2").arg(height).arg(i)));
            }
            scrolling = scrolling || now > first;
            first = now;
        }
        QVERIFY(scrolling);
        // The last line is at the bottom: nothing further to scroll.
        editor.scrollLines(1);
        QCOMPARE(editor.firstVisibleLine(), first);
    }
}

void AdaptersTest::selectLineMarksTheLineWithoutItsBreak() {
    ProgramEditor editor;
    editor.setPlainText(QStringLiteral("LAD 1\n\tFOO 2\nSTP"));
    editor.selectLine(1);
    QCOMPARE(editor.textCursor().selectedText(), QStringLiteral("\tFOO 2"));
    // Without focus the selection keeps its colour.
    const QPalette p = editor.palette();
    QCOMPARE(p.color(QPalette::Inactive, QPalette::Highlight),
             p.color(QPalette::Active, QPalette::Highlight));
}

void AdaptersTest::everyChangeIsReported() {
    ProgramEditor editor;
    StateFlags flags;
    int changes = 0;
    QObject::connect(&editor, &QPlainTextEdit::textChanged, [&] {
        ++changes;
        flags.meProgramChange();
    });
    editor.setText("LAD 1\r\nSTP");
    editor.appendEmptyLine();
    editor.deleteLine(1);
    editor.clear();
    QCOMPARE(changes, 4);
    QVERIFY(flags.ProgramModified);
    // Read-only, selections and scrolling change nothing.
    changes = 0;
    editor.setReadOnly(true);
    editor.setText("STP");
    editor.selectLine(0);
    editor.setReadOnly(false);
    QCOMPARE(changes, 1);
}

void AdaptersTest::modelFollowsTheTable() {
    GridBench b;
    QAbstractItemModelTester tester(&b.model,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    const DataTableModel& model = b.model;
    QCOMPARE(model.rowCount(), 512);
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("1"));
    QCOMPARE(model.index(511, 0).data().toString(), QStringLiteral("512"));
    QCOMPARE(model.index(511, 1).data().toString(), QStringLiteral("0"));
    QCOMPARE(model.index(511, 2).data().toString(), QString());

    // A write of the system reaches the screen through the grid, and sets no flag.
    QSignalSpy spy(&b.model, &QAbstractItemModel::dataChanged);
    b.in.table.setComment(6, fromUtf8("Zähler"));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toModelIndex().row(), 6);
    QCOMPARE(model.index(6, 2).data().toString(), QStringLiteral("Zähler"));
    QVERIFY(!b.wb.flags().DataModified);
}

void AdaptersTest::userEditSetsTheFlags() {
    struct Case {
        int column;
        const char* text;
        bool accepted;
        bool flagged;
    };
    const Case cases[] = {
        {1, "17", true, true},  {2, "Zähler", true, true},
        {1, "abc", true, true}, {1, "0", true, false},  // unchanged text: nothing was edited
        {0, "9", false, false},                         // the number column is never written
    };
    for (const Case& c : cases) {
        GridBench b;
        b.in.flags.DataChecked = true;
        const QModelIndex index = b.model.index(4, c.column);
        QCOMPARE(b.model.setData(index, QString::fromUtf8(c.text)), c.accepted);
        QCOMPARE(b.wb.flags().DataModified, c.flagged);
        QCOMPARE(b.wb.flags().DataChecked, !c.flagged);
        if (c.accepted) {
            QCOMPARE(toQString(b.wb.table().text(c.column, 4)), QString::fromUtf8(c.text));
        } else {
            QCOMPARE(b.wb.table().text(c.column, 4), std::string("5"));
        }
    }
    // While a run is in progress nothing is editable.
    GridBench b;
    b.model.setEditable(false);
    QVERIFY(!(b.model.flags(b.model.index(0, 1)) & Qt::ItemIsEditable));
    QVERIFY(!b.model.setData(b.model.index(0, 1), QStringLiteral("3")));
    QCOMPARE(b.wb.table().value(0), std::string("0"));
}

void AdaptersTest::numberColumnIsNeverCurrent() {
    GridBench b;
    DataGrid& grid = b.grid;
    const DataTableModel& model = b.model;
    grid.resize(400, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QCOMPARE(grid.currentIndex(), model.index(0, 1));

    // Mouse and keyboard alike leave the current cell where it was.
    const QRect numberCell = grid.visualRect(model.index(3, 0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, numberCell.center());
    QCOMPARE(grid.currentIndex(), model.index(0, 1));
    QVERIFY(!grid.selectionModel()->isSelected(model.index(3, 0)));
    QTest::keyClick(&grid, Qt::Key_Left);
    QCOMPARE(grid.currentIndex(), model.index(0, 1));
    QTest::keyClick(&grid, Qt::Key_Right);
    QCOMPARE(grid.currentIndex(), model.index(0, 2));

    // Typing edits the current cell in place; the text reaches the table on Enter.
    grid.setCurrentIndex(model.index(2, 1));
    QTest::keyClick(&grid, Qt::Key_4);
    QWidget* editor = grid.indexWidget(grid.currentIndex());
    QVERIFY(editor != nullptr);
    QTest::keyClick(editor, Qt::Key_2);
    QCOMPARE(b.wb.table().value(2), std::string("0"));  // still in the cell editor
    grid.commitPendingEdit();
    QVERIFY(grid.indexWidget(grid.currentIndex()) == nullptr);
    QCOMPARE(b.wb.table().value(2), std::string("42"));
    QVERIFY(b.wb.flags().DataModified);
}

void AdaptersTest::inputDisabledKeepsTheTableScrollable() {
    GridBench b;
    DataGrid& grid = b.grid;
    grid.resize(400, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));

    grid.setInputEnabled(false);
    QVERIFY(grid.isEnabled());
    QCOMPARE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    QTest::keyClicks(&grid, QStringLiteral("7"));
    QCOMPARE(b.wb.table().value(0), std::string("0"));

    // The machine still scrolls it: the row goes to the top as far as the table can scroll.
    grid.showRowAtTop(100);
    QCOMPARE(grid.rowAt(0), 100);
    grid.showRowAtTop(511);
    QCOMPARE(grid.verticalScrollBar()->value(), grid.verticalScrollBar()->maximum());
    QCOMPARE(grid.rowAt(grid.viewport()->height() - 1), 511);
    grid.setInputEnabled(true);
    QVERIFY(grid.editTriggers() & QAbstractItemView::AnyKeyPressed);
}

void AdaptersTest::fileFilter() {
    QCOMPARE(nameFilter({"QRZL Programm (*.prg)", "*.prg"}),
             QStringLiteral("QRZL Programm (*.prg)"));
    QCOMPARE(nameFilter({"QRZL Daten", "*.dta"}), QStringLiteral("QRZL Daten (*.dta)"));
    QCOMPARE(nameFilter({fromUtf8("Webseite für Lehrer (*.html)"), "*.html"}),
             QStringLiteral("Webseite für Lehrer (*.html)"));
}

QTEST_MAIN(AdaptersTest)
#include "adapters_test.moc"
