// The real main window on the offscreen platform: start-up state, the run panel with its
// modal boxes, runs by step button and by the fastest timer, the number dialog, the checker's
// marked line, the two data views, the layout and closing with and without changes.
#include <QAbstractButton>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>
#include <deque>
#include <functional>
#include <memory>

#include "Input.h"
#include "MainForm.h"
#include "data_grid.h"
#include "data_table_model.h"
#include "hilfe.h"
#include "memory_view.h"
#include "modal_driver.h"
#include "program_editor.h"
#include "qt_text.h"
#include "screen/layout_fields.h"
#include "session/workbench.h"

using namespace quarzel;

class MainFormTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startUpCaptions_data();
    void startUpCaptions();
    void startUpState();
    void layoutAt800x600_data();
    void layoutAt800x600();
    void everyLayoutFieldIsPlaced();
    void smallWindowScrollsToEveryControl_data();
    void smallWindowScrollsToEveryControl();
    void threePressesOfStart();
    void checkerErrorSelectsItsLine();
    void stepRun();
    void runtimeErrorEndsTheRun();
    void fastestTimerRun();
    void speedButtonsSwitchTheTimers();
    void inputThroughTheNumberDialog();
    void viewSwapsTableAndPicture();
    void helpButtonToggles();
    void cellEditReachesCommands();
    void closeWithoutChangesAsksNothing();
    void closeWithChangesAsks();
    void closeSavesData();
    void closeDuringARunStopsIt();
    void failedSaveKeepsTheWindowOpen();
    void htmlExportCarriesTodaysDate();
    void stepBackRestoresTheFirstStep();
    void stepBackResumesAnEndedRun_data();
    void stepBackResumesAnEndedRun();
    void breakpointSwitchesADirectRunToStep();
    void cellEditBackToTheOldTextStillCounts();
    void questionBoxAndFileDialogAreGerman();
    void saveDuringAPausedRunKeepsTheRunningLines();
    void declinedLoadKeepsZurueck();
    void aPasteOverTheEditorsLimitIsRefused();
    void charactersTheFilesCannotHoldAreRefused();

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
    QString cell(int number) const {
        return m_form->dataGrid()->model()->index(number - 1, 1).data().toString();
    }
    QString field(const char* name) const { return child<QLineEdit>(name)->text(); }
    QString stepCount() const { return child<QLabel>("lbSteps")->text(); }
    bool backEnabled() const { return child<QPushButton>("btBack")->isEnabled(); }
    void click(const char* button) {
        QAbstractButton* b = child<QAbstractButton>(button);
        QVERIFY2(b != nullptr, button);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // "Prüfen" with a correct program and valid data shows nothing, then "Start" starts.
    void checkAndStart() {
        ModalDriver driver;
        click("btCheck");
        click("btRun");
        QCOMPARE(driver.unexpected, QStringList());
        QVERIFY(wb().machine().VM_Running);
    }

    std::unique_ptr<TfrmMainForm> m_form;
    QTemporaryDir m_dir;
};

void MainFormTest::initTestCase() {
    // The file dialog keeps its last folder in Qt's own settings file: the tests keep theirs
    // apart from the user's.
    QStandardPaths::setTestModeEnabled(true);
}

void MainFormTest::init() {
    // Every test's dialogs start where a first start's would.
    QSettings(QSettings::UserScope, QStringLiteral("QtProject"))
        .remove(QStringLiteral("FileDialog"));
    m_form = std::make_unique<TfrmMainForm>();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->resize(800, 600);
}

void MainFormTest::cleanup() {
    // Destroying the window asks nothing; a test that closes it has closed it already.
    m_form.reset();
}

void MainFormTest::startUpCaptions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const char* const rows[][2] = {
        {"btCheck", "Prüfen"},
        {"btRun", "Start"},
        {"btStep", "Schritt"},
        {"btBack", "Zu&rück"},
        {"rbStep", "Schritt"},
        {"rbSlow", "Langsam"},
        {"rbFast", "Schnell"},
        {"rbDirect", "Direkt"},
        {"btNew", "&Neu"},
        {"btLoad", "&Laden"},
        {"btSave", "&Speichern"},
        {"btHelp", "&Hilfe"},
        {"btExit", "&Ende"},
        {"btView", "&Ansicht"},
        {"btHTML", ".HTML E&xport"},
        {"gbProgram", "Programm"},
        {"gbData", "Daten"},
        {"gbDataGraphical", "Daten"},
        {"gbVMInspector", "VM"},
        {"gbVMAccu", "Akku"},
        {"gbVMWindow", "Fenster"},
        {"gbVMIndex", "Index"},
        {"gbVMIP", "Anweisung"},
        {"gbVMSP", "Stack"},
        {"gbFlowControl", "Ablauf"},
        {"gbSpeed", "Geschwindigkeit"},
        {"gbFile", ""},
    };
    for (const auto& row : rows) {
        QTest::newRow(row[0]) << QString::fromUtf8(row[0]) << QString::fromUtf8(row[1]);
    }
}

void MainFormTest::startUpCaptions() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QWidget* w = m_form->findChild<QWidget*>(name);
    QVERIFY(w != nullptr);
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        QCOMPARE(button->text(), caption);
    } else {
        QCOMPARE(qobject_cast<QGroupBox*>(w)->title(), caption);
    }
    if (auto* tool = qobject_cast<QToolButton*>(w)) {
        QCOMPARE(tool->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        QVERIFY(!tool->icon().isNull());
    }
    QVERIFY(w->isVisibleTo(m_form.get()) == (name != "gbDataGraphical"));
}

void MainFormTest::startUpState() {
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Quarzel 3.1"));

    struct Register {
        const char* field;
        const char* text;
        const char* group;
    };
    for (const Register& r : {Register{"ebAccu", "0", "Akku"}, Register{"ebWindow", "0", "Fenster"},
                              Register{"ebIndex", "0", "Index"}, Register{"ebIP", "0", "Anweisung"},
                              Register{"ebSP", "512", "Stack"}}) {
        auto* edit = child<QLineEdit>(r.field);
        QVERIFY2(edit != nullptr, r.field);
        QCOMPARE(edit->text(), QString::fromLatin1(r.text));
        QVERIFY(!edit->isEnabled());
        QVERIFY(edit->font().bold());
        QCOMPARE(edit->font().pixelSize(), 13);
        QCOMPARE(edit->accessibleName(), QString::fromLatin1(r.group));
    }
    for (const char* name : {"enumber", "evalue", "ecomment"}) {
        auto* edit = child<QLineEdit>(name);
        QVERIFY(edit->isReadOnly() && !edit->isEnabled() && !edit->hasFrame());
        QCOMPARE(edit->accessibleName(), edit->toolTip());
    }
    QCOMPARE(child<QLineEdit>("enumber")->toolTip(), QStringLiteral("Nummer:"));
    QCOMPARE(child<QLineEdit>("evalue")->toolTip(), QStringLiteral("Inhalt:"));
    QCOMPARE(child<QLineEdit>("ecomment")->toolTip(), QStringLiteral("Kommentar:"));

    // The program and the table use a fixed-pitch font even where Courier New is missing.
    for (QWidget* w : {static_cast<QWidget*>(m_form->programEditor()),
                       static_cast<QWidget*>(m_form->dataGrid())}) {
        QVERIFY(QFontInfo(w->font()).fixedPitch());
        QCOMPARE(w->font().pixelSize(), 15);
    }
    QCOMPARE(m_form->font().pixelSize(), 11);
    QCOMPARE(m_form->programEditor()->accessibleName(), QStringLiteral("Programm"));
    QCOMPARE(m_form->dataGrid()->accessibleName(), QStringLiteral("Daten"));
    QVERIFY(!m_form->programEditor()->tabChangesFocus());
    QCOMPARE(m_form->programEditor()->lineWrapMode(), QPlainTextEdit::NoWrap);

    QAbstractItemModel* model = m_form->dataGrid()->model();
    QCOMPARE(model->rowCount(), 512);
    QCOMPARE(model->columnCount(), 3);
    for (int row : {0, 1, 255, 511}) {
        QCOMPARE(model->index(row, 0).data().toString(), QString::number(row + 1));
        QCOMPARE(model->index(row, 1).data().toString(), QStringLiteral("0"));
        QCOMPARE(model->index(row, 2).data().toString(), QString());
    }

    const StateFlags& flags = wb().flags();
    QVERIFY(!flags.ProgramChecked && !flags.DataChecked);
    QVERIFY(!flags.ProgramModified && !flags.DataModified);
    QVERIFY(!wb().machine().VM_Running);
    QVERIFY(wb().machine().RunMode == Speed::Step);
    QVERIFY(wb().machine().InstructionList.empty());
    QCOMPARE(wb().machine().LastAccessCell, 0);
    QVERIFY(!m_form->GraphicalView());
    QVERIFY(child<QRadioButton>("rbStep")->isChecked());
    QVERIFY(child<QPushButton>("btStep")->isEnabled());
    QVERIFY(!backEnabled());
    QCOMPARE(stepCount(), QStringLiteral("Schritte: 0"));
    QCOMPARE(child<QPushButton>("btBack")->accessibleName(), QStringLiteral("Zurück"));
    QCOMPARE(child<QGroupBox>("gbVMWindow")->accessibleName(), QStringLiteral("Fenster"));

    const std::pair<const char*, int> timers[] = {{"tSlow", 1500}, {"tFast", 500}, {"tDirect", 25}};
    for (const auto& [name, interval] : timers) {
        auto* t = child<QTimer>(name);
        QVERIFY2(t != nullptr, name);
        QCOMPARE(t->interval(), interval);
        QVERIFY(!t->isActive());
    }
    QVERIFY(m_form->frmHilfe() != nullptr && !m_form->frmHilfe()->isVisible());
    QVERIFY(m_form->frmData() != nullptr && !m_form->frmData()->isVisible());
}

void MainFormTest::layoutAt800x600_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("expected");
    const std::pair<const char*, QRect> rows[] = {
        {"gbProgram", {5, 5, 310, 473}},
        {"meProgram", {5, 15, 300, 453}},
        {"gbData", {320, 5, 348, 473}},
        {"sgData", {5, 15, 338, 453}},
        {"gbDataGraphical", {320, 5, 348, 473}},
        {"pbMemory", {5, 15, 338, 429}},
        {"enumber", {10, 444, 41, 19}},
        {"evalue", {56, 444, 65, 19}},
        {"ecomment", {126, 444, 207, 19}},
        {"gbVMInspector", {673, 5, 116, 292}},
        {"gbVMAccu", {5, 15, 106, 54}},
        {"ebAccu", {5, 15, 96, 24}},
        {"gbVMSP", {5, 231, 106, 54}},
        {"gbFlowControl", {673, 302, 116, 292}},
        {"btRun", {5, 42, 106, 25}},
        {"gbSpeed", {5, 69, 106, 89}},
        {"btStep", {5, 160, 106, 25}},
        {"gbFile", {5, 483, 663, 112}},
        {"btNew", {15, 15, 80, 82}},
        {"btExit", {540, 15, 80, 82}},
    };
    for (const auto& [name, rect] : rows) {
        QTest::newRow(name) << QString::fromLatin1(name) << rect;
    }
}

void MainFormTest::layoutAt800x600() {
    QFETCH(QString, name);
    QFETCH(QRect, expected);
    QCOMPARE(m_form->size(), QSize(800, 600));
    QWidget* w = m_form->findChild<QWidget*>(name);
    QVERIFY(w != nullptr);
    QCOMPARE(w->geometry(), expected);
    if (name == "sgData") {
        DataGrid* grid = m_form->dataGrid();
        QCOMPARE(grid->columnWidth(0), 40);
        QCOMPARE(grid->columnWidth(1), 80);
        QCOMPARE(grid->columnWidth(2), grid->viewport()->width() - 40 - 80 - 2);
        QVERIFY(grid->columnWidth(2) > 100);
    }
}

// Every field of the layout table has a control of its own in this window (not the task
// window's of the same name), where the layout puts it.
void MainFormTest::everyLayoutFieldIsPlaced() {
    const MainLayout l = computeMainLayout(m_form->width(), m_form->height());
    QSet<QWidget*> seen;
    for (const LayoutField& field : kLayoutFields) {
        QWidget* w = m_form->layoutControl(field.name);
        QVERIFY2(w != nullptr, field.name);
        QVERIFY2(!seen.contains(w) && w->window() == m_form.get(), field.name);
        seen.insert(w);
        const LayoutRect& r = l.*field.rect;
        QCOMPARE(w->geometry(), QRect(r.left, r.top, r.width, r.height));
    }
}

void MainFormTest::smallWindowScrollsToEveryControl_data() {
    QTest::addColumn<QSize>("client");
    QTest::addColumn<bool>("scrolls");
    // A 910 x 512 screen (1366 x 768 at 150 %) gives the window 890 x 492; then a window that
    // is too narrow, and two that are large enough.
    QTest::newRow("890 x 492") << QSize(890, 492) << true;
    QTest::newRow("640 x 480") << QSize(640, 480) << true;
    QTest::newRow("800 x 600") << QSize(800, 600) << false;
    QTest::newRow("1000 x 700") << QSize(1000, 700) << false;
}

// Below 800 x 600 the controls keep the layout of at least that size and the window scrolls to
// each of them: whole in view, the register captions above their fields. From 800 x 600 on
// there is nothing to scroll and the controls lie where the layout of the client size says.
void MainFormTest::smallWindowScrollsToEveryControl() {
    QFETCH(QSize, client);
    QFETCH(bool, scrolls);
    m_form->resize(client);
    auto* area = m_form->findChild<QScrollArea*>();
    QVERIFY(area != nullptr);
    QWidget* surface = area->widget();
    QCOMPARE(area->geometry(), m_form->rect());
    QVERIFY(surface->width() >= 800 && surface->height() >= 600);
    // The scroll bars come and go once the window has handled its events.
    QTRY_COMPARE(area->verticalScrollBar()->isVisible() || area->horizontalScrollBar()->isVisible(),
                 scrolls);
    if (!scrolls) {
        QCOMPARE(area->viewport()->size(), client);
        QCOMPARE(surface->size(), client);
    }
    const MainLayout l = computeMainLayout(surface->width(), surface->height());
    for (const LayoutField& field : kLayoutFields) {
        QWidget* w = m_form->layoutControl(field.name);
        const LayoutRect& r = l.*field.rect;
        QCOMPARE(w->geometry(), QRect(r.left, r.top, r.width, r.height));
        if (!w->isVisibleTo(m_form.get())) {
            continue;  // the picture's box, shown instead of the table
        }
        area->ensureWidgetVisible(w, 0, 0);
        const QRect shown(w->mapTo(area->viewport(), QPoint(0, 0)), w->size());
        // Whole, or as much of it as the window can show.
        const QRect view = area->viewport()->rect();
        QVERIFY2((shown & view).size() == w->size().boundedTo(view.size()), field.name);
    }
    for (const char* name : {"ebAccu", "ebWindow", "ebIndex", "ebIP", "ebSP"}) {
        QWidget* registerField = m_form->layoutControl(name);
        const int captionBottom = registerField->parentWidget()->fontMetrics().height();
        QVERIFY2(registerField->y() >= captionBottom, name);
    }
}

void MainFormTest::threePressesOfStart() {
    type(QStringLiteral("LAD 1\nSTP"));
    ModalDriver driver;
    driver.box(QMessageBox::Ok);
    click("btRun");
    QVERIFY(wb().flags().ProgramChecked);
    QVERIFY(!wb().flags().DataChecked);
    driver.box(QMessageBox::Ok);
    click("btRun");
    QVERIFY(wb().flags().DataChecked);
    QVERIFY(!wb().machine().VM_Running);
    click("btRun");
    QVERIFY(driver.done());
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(driver.boxes.size(), 2);
    QCOMPARE(driver.boxes[0].text, QStringLiteral("Programm wird geprüft"));
    QCOMPARE(driver.boxes[1].text, QStringLiteral("Daten werden geprüft"));
    for (const SeenBox& b : driver.boxes) {
        QCOMPARE(b.caption, QStringLiteral("Hinweis"));
        QCOMPARE(b.icon, QMessageBox::Information);
    }

    QVERIFY(wb().machine().VM_Running);
    QCOMPARE(child<QPushButton>("btRun")->text(), QStringLiteral("Stop"));
    QVERIFY(m_form->programEditor()->isReadOnly());
    QCOMPARE(m_form->dataGrid()->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(field("ebSP"), QStringLiteral("512"));

    // A fourth press stops the run, and editor and table take input again.
    click("btRun");
    QVERIFY(!wb().machine().VM_Running);
    QCOMPARE(child<QPushButton>("btRun")->text(), QStringLiteral("Start"));
    QVERIFY(!m_form->programEditor()->isReadOnly());
    QVERIFY(m_form->dataGrid()->editTriggers() != QAbstractItemView::NoEditTriggers);
}

void MainFormTest::checkerErrorSelectsItsLine() {
    type(QStringLiteral("LAD 1\nFOO 2\nSTP"));
    setCell(3, QStringLiteral("abc"));
    ModalDriver driver;
    driver.box(QMessageBox::Ok);
    driver.box(QMessageBox::Ok);
    click("btCheck");
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(driver.boxes.size(), 2);
    QCOMPARE(driver.boxes[0].caption, QStringLiteral("Programmfehler"));
    QCOMPARE(driver.boxes[0].text,
             QStringLiteral("Fehler in Zeile 2: FOO ist kein gültiger Befehl"));
    QCOMPARE(driver.boxes[0].icon, QMessageBox::Critical);
    // The data check runs after a failed program check.
    QCOMPARE(driver.boxes[1].caption, QStringLiteral("Datenfehler"));
    QCOMPARE(driver.boxes[1].text, QStringLiteral("Fehler in Zeile 3: abc ist keine Zahl!"));

    const QTextCursor cursor = m_form->programEditor()->textCursor();
    QCOMPARE(cursor.selectedText(), QStringLiteral("FOO 2"));
    QCOMPARE(cursor.block().blockNumber(), 1);
    QVERIFY(!wb().flags().ProgramChecked && !wb().flags().DataChecked);
}

void MainFormTest::stepRun() {
    // Adds cells 1 and 2 into cell 3, with the window showing the sum.
    type(QStringLiteral("LAD 1\nADD 2\nSTO 3\nOUT\nSTP"));
    setCell(1, QStringLiteral("5"));
    setCell(2, QStringLiteral("7"));
    checkAndStart();

    struct Expected {
        const char* accu;
        const char* window;
        int ip;
        const char* cell3;
    };
    const Expected after[] = {
        {"5", "0", 1, "0"}, {"12", "0", 2, "0"}, {"12", "0", 3, "12"}, {"12", "12", 4, "12"}};
    ProgramEditor* editor = m_form->programEditor();
    for (const Expected& e : after) {
        click("btStep");
        QCOMPARE(field("ebAccu"), QString::fromLatin1(e.accu));
        QCOMPARE(field("ebWindow"), QString::fromLatin1(e.window));
        QCOMPARE(field("ebIP"), QString::number(e.ip));
        QCOMPARE(cell(3), QString::fromLatin1(e.cell3));
        // The current line is the first line the editor shows.
        QCOMPARE(editor->firstVisibleLine(), e.ip);
        QCOMPARE(editor->verticalScrollBar()->value(), e.ip);
    }
    QVERIFY(wb().machine().VM_Running);
    click("btStep");  // STP
    QVERIFY(!wb().machine().VM_Running);
    QCOMPARE(child<QPushButton>("btRun")->text(), QStringLiteral("Start"));
    QCOMPARE(field("ebIP"), QStringLiteral("4"));
    QVERIFY(wb().flags().DataModified);
    QVERIFY(wb().flags().DataChecked);  // machine writes leave the check standing
    click("btStep");                    // no run: nothing happens
    QCOMPARE(field("ebIP"), QStringLiteral("4"));
}

void MainFormTest::runtimeErrorEndsTheRun() {
    type(QStringLiteral("LAD 1\nDIV 2\nSTP"));
    checkAndStart();
    ModalDriver driver;
    bool runningWhileShown = true;
    driver.box(QMessageBox::Ok, [&] { runningWhileShown = wb().machine().VM_Running; });
    click("btStep");
    click("btStep");
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(driver.boxes.size(), 1);
    QCOMPARE(driver.boxes[0].caption, QStringLiteral("Laufzeitfehler"));
    QCOMPARE(driver.boxes[0].text, QStringLiteral("Division durch Null"));
    QVERIFY(!runningWhileShown);
    QVERIFY(!wb().machine().VM_Running);
    QCOMPARE(child<QPushButton>("btRun")->text(), QStringLiteral("Start"));
    QVERIFY(!m_form->programEditor()->isReadOnly());
}

void MainFormTest::fastestTimerRun() {
    // Counts cell 1 down to 0; every pass reads and writes memory.
    type(QStringLiteral("MRK LOOP\nLAD 1\nDEC\nSTO 1\nJGT LOOP\nSTP"));
    setCell(1, QStringLiteral("6"));
    click("rbDirect");
    QVERIFY(child<QTimer>("tDirect")->isActive());
    QVERIFY(!child<QPushButton>("btStep")->isEnabled());
    checkAndStart();
    QTRY_VERIFY_WITH_TIMEOUT(!wb().machine().VM_Running, 10000);
    QCOMPARE(cell(1), QStringLiteral("0"));
    QCOMPARE(field("ebAccu"), QStringLiteral("0"));
    QCOMPARE(field("ebIP"), QStringLiteral("5"));
    QCOMPARE(wb().machine().LastAccessCell, 1);
    QVERIFY(wb().machine().LastAccessWrite);
    QCOMPARE(m_form->programEditor()->firstVisibleLine(), 5);
    QCOMPARE(m_form->dataGrid()->rowAt(0), 0);      // the table follows the accessed cell
    QVERIFY(child<QTimer>("tDirect")->isActive());  // the speed's timer keeps running
}

void MainFormTest::speedButtonsSwitchTheTimers() {
    struct Case {
        const char* radio;
        const char* timer;  // nullptr: none
    };
    const Case cases[] = {
        {"rbSlow", "tSlow"}, {"rbFast", "tFast"}, {"rbDirect", "tDirect"}, {"rbStep", nullptr}};
    for (const Case& c : cases) {
        click(c.radio);
        for (const char* t : {"tSlow", "tFast", "tDirect"}) {
            QCOMPARE(child<QTimer>(t)->isActive(), c.timer != nullptr && qstrcmp(t, c.timer) == 0);
        }
        QCOMPARE(child<QPushButton>("btStep")->isEnabled(), c.timer == nullptr);
    }
}

void MainFormTest::inputThroughTheNumberDialog() {
    type(QStringLiteral("INP\nOUT\nSTP"));
    checkAndStart();
    ModalDriver driver;
    driver.number(QStringLiteral("12a"));  // refused: the dialog stays open
    driver.box(QMessageBox::Ok);
    driver.number(QStringLiteral("$1F"));
    click("btStep");
    QTRY_VERIFY(driver.done());
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(driver.boxes.size(), 1);
    QCOMPARE(driver.boxes[0].caption, QStringLiteral("Quarzel 3"));
    QCOMPARE(driver.boxes[0].text, QStringLiteral("'12a' ist kein gültiger Integerwert."));
    QCOMPARE(field("ebAccu"), QStringLiteral("31"));
    QVERIFY(wb().machine().VM_Running);
    QVERIFY(!m_form->frmData()->isVisible());
    click("btStep");
    QCOMPARE(field("ebWindow"), QStringLiteral("31"));
}

void MainFormTest::viewSwapsTableAndPicture() {
    auto* table = child<QGroupBox>("gbData");
    auto* picture = child<QGroupBox>("gbDataGraphical");
    click("btView");
    QVERIFY(m_form->GraphicalView());
    QVERIFY(!table->isVisible() && picture->isVisible());

    // The hover fields show the cell under the pointer: (45, 30) is cell 19.
    setCell(19, QStringLiteral("-3"));
    QAbstractItemModel* model = m_form->dataGrid()->model();
    model->setData(model->index(18, 2), QStringLiteral("Zähler"));
    QTest::mouseMove(m_form->memoryView(), QPoint(45, 30));
    QTRY_COMPARE(field("enumber"), QStringLiteral("19"));
    QCOMPARE(field("evalue"), QStringLiteral("-3"));
    QCOMPARE(field("ecomment"), QStringLiteral("Zähler"));

    click("btView");
    QVERIFY(!m_form->GraphicalView());
    QVERIFY(table->isVisible() && !picture->isVisible());
}

void MainFormTest::helpButtonToggles() {
    TfrmHilfe* help = m_form->frmHilfe();
    for (bool visible : {true, false, true}) {
        click("btHelp");
        QCOMPARE(help->isVisible(), visible);
    }
    help->close();  // its own close button hides it
    click("btHelp");
    QVERIFY(help->isVisible());
}

// A value still in the cell editor when a command button is pressed is part of the table the
// command sees.
void MainFormTest::cellEditReachesCommands() {
    type(QStringLiteral("LAD 1\nSTP"));
    DataGrid* grid = m_form->dataGrid();
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, 1));
    QTest::keyClick(grid, Qt::Key_X);
    QVERIFY(grid->indexWidget(grid->currentIndex()) != nullptr);
    ModalDriver driver;
    driver.box(QMessageBox::Ok);
    click("btCheck");
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(driver.boxes.size(), 1);
    QCOMPARE(driver.boxes[0].text, QStringLiteral("Fehler in Zeile 1: x ist keine Zahl!"));
    QVERIFY(wb().flags().DataModified);
}

void MainFormTest::closeWithoutChangesAsksNothing() {
    ModalDriver driver;
    click("btExit");
    QVERIFY(!m_form->isVisible());
    QVERIFY(driver.boxes.isEmpty() && driver.unexpected.isEmpty());
}

void MainFormTest::closeWithChangesAsks() {
    type(QStringLiteral("STP"));
    setCell(1, QStringLiteral("4"));
    ModalDriver driver;
    driver.box(QMessageBox::No);
    driver.box(QMessageBox::No);
    QVERIFY(m_form->close());
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(driver.boxes.size(), 2);
    QCOMPARE(driver.boxes[0].caption, QStringLiteral("Frage"));
    QCOMPARE(driver.boxes[0].text, QStringLiteral("Programm speichern?"));
    QCOMPARE(driver.boxes[0].icon, QMessageBox::Question);
    QCOMPARE(driver.boxes[1].caption, QStringLiteral("QRZL"));
    QCOMPARE(driver.boxes[1].text, QStringLiteral("Daten speichern?"));
    QVERIFY(!m_form->isVisible());
    QVERIFY(wb().machine().InstructionList.empty());
}

void MainFormTest::closeSavesData() {
    QVERIFY(m_dir.isValid());
    setCell(2, QStringLiteral("-17"));
    m_form->dataGrid()->model()->setData(m_form->dataGrid()->model()->index(1, 2),
                                         QStringLiteral("a:b"));
    ModalDriver driver;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    QStringList filters;
    QString suffix;
    driver.box(QMessageBox::Yes);
    driver.file(m_dir.filePath(QStringLiteral("werte")), &mode, &filters, &suffix);
    QVERIFY(m_form->close());
    QCOMPARE(driver.unexpected, QStringList());
    QVERIFY(driver.done());
    QCOMPARE(mode, QFileDialog::AcceptSave);
    QCOMPARE(filters, QStringList{QStringLiteral("QRZL Daten (*.dta)")});
    QCOMPARE(suffix, QStringLiteral("dta"));

    QFile file(m_dir.filePath(QStringLiteral("werte.dta")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), 513);  // 512 lines, each ending with CR LF
    QCOMPARE(lines[0], QByteArray("1:0:\r"));
    QCOMPARE(lines[1], QByteArray("2:-17:a:b\r"));
    QVERIFY(!wb().flags().DataModified);
}

void MainFormTest::closeDuringARunStopsIt() {
    type(QStringLiteral("MRK L\nLAD 1\nINC\nSTO 1\nJMP L\nSTP"));
    click("rbDirect");
    checkAndStart();
    QTRY_VERIFY_WITH_TIMEOUT(cell(1).toInt() > 2, 5000);

    ModalDriver driver;
    std::uint64_t stepsWhileAsking = 0;
    // The run goes on stepping while the questions are open; it ends only with the window.
    driver.box(QMessageBox::No, [&] {
        const std::uint64_t before = wb().machine().StepCount;
        QTRY_VERIFY_WITH_TIMEOUT(wb().machine().StepCount > before + 2, 5000);
        stepsWhileAsking = wb().machine().StepCount - before;
    });
    driver.box(QMessageBox::No);
    QVERIFY(m_form->close());
    QCOMPARE(driver.unexpected, QStringList());
    QVERIFY(stepsWhileAsking > 2);
    QVERIFY(!wb().machine().VM_Running);
    for (const char* t : {"tSlow", "tFast", "tDirect"}) {
        QVERIFY(!child<QTimer>(t)->isActive());
    }
    QVERIFY(wb().machine().InstructionList.empty());
    const QString after = cell(1);
    QTest::qWait(100);
    QCOMPARE(cell(1), after);
}

// Closing would lose the program when its file cannot be written: the error is shown and the
// window stays, with the run going on at its speed.
void MainFormTest::failedSaveKeepsTheWindowOpen() {
    type(QStringLiteral("MRK L\nJMP L\nSTP"));
    click("rbFast");
    checkAndStart();
    {
        ModalDriver driver;
        driver.box(QMessageBox::Yes);
        driver.file(QStringLiteral("/sys/quarzel-kann-hier-nicht-schreiben.prg"));
        driver.box(QMessageBox::Ok);
        QVERIFY(!m_form->close());
        QVERIFY(driver.done());
        QCOMPARE(driver.unexpected, QStringList());
        QCOMPARE(driver.boxes.size(), 2);
        QCOMPARE(driver.boxes[1].caption, QStringLiteral("Quarzel 3"));
        QVERIFY2(driver.boxes[1].text.startsWith(QStringLiteral(
                     "Datei \"/sys/quarzel-kann-hier-nicht-schreiben.prg\" kann nicht "
                     "erstellt werden.")),
                 qPrintable(driver.boxes[1].text));
        QVERIFY(m_form->isVisible());
        QVERIFY(wb().flags().ProgramModified);
        QVERIFY(child<QTimer>("tFast")->isActive());
        QVERIFY(wb().machine().VM_Running);  // the run goes on
    }

    // The next close asks again, and No lets it go.
    ModalDriver again;
    again.box(QMessageBox::No);
    QVERIFY(m_form->close());
    QCOMPARE(again.boxes.size(), 1);
}

void MainFormTest::htmlExportCarriesTodaysDate() {
    QVERIFY(m_dir.isValid());
    type(QStringLiteral("* Zähler\nSTP"));
    setCell(5, QStringLiteral("42"));
    ModalDriver driver;
    QStringList filters;
    QString suffix;
    driver.file(m_dir.filePath(QStringLiteral("seite")), nullptr, &filters, &suffix);
    click("btHTML");
    QCOMPARE(driver.unexpected, QStringList());
    QVERIFY(driver.done());
    QCOMPARE(suffix, QStringLiteral("html"));
    QCOMPARE(filters.size(), 1);

    QFile file(m_dir.filePath(QStringLiteral("seite.html")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray page = file.readAll();
    const QString today = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    QVERIFY2(page.contains(today.toLatin1()), page.constData());
    QVERIFY(page.contains("42"));
    QVERIFY(page.contains(QByteArray("Z\xe4hler")) || page.contains(QByteArray("Z&auml;hler")));
}

// Three steps forward, two back: registers, the written cell, the count and the picture are
// what they were after the first step.
void MainFormTest::stepBackRestoresTheFirstStep() {
    type(QStringLiteral("LAD 1\nADD 2\nSTO 3\nOUT\nSTP"));
    setCell(1, QStringLiteral("5"));
    click("btView");
    checkAndStart();
    const auto registers = [this] {
        return QStringList{field("ebAccu"), field("ebWindow"), field("ebIndex"), field("ebIP"),
                           field("ebSP")};
    };
    click("btStep");
    const QStringList afterFirst = registers();
    const QImage pictureAfterFirst = m_form->memoryView()->grab().toImage();
    click("btStep");
    click("btStep");  // STO 3 writes 5
    QCOMPARE(stepCount(), QStringLiteral("Schritte: 3"));
    click("btBack");
    click("btBack");
    QCOMPARE(registers(), afterFirst);
    QCOMPARE(cell(3), QStringLiteral("0"));
    QCOMPARE(stepCount(), QStringLiteral("Schritte: 1"));
    QCOMPARE(wb().machine().LastAccessCell, 1);
    QCOMPARE(m_form->memoryView()->grab().toImage(), pictureAfterFirst);
    QCOMPARE(m_form->programEditor()->firstVisibleLine(), 1);
    QVERIFY(backEnabled());
}

void MainFormTest::stepBackResumesAnEndedRun_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<int>("boxes");
    QTest::newRow("STP") << QStringLiteral("LAD 1\nSTP") << 0;
    QTest::newRow("Laufzeitfehler") << QStringLiteral("LAD 1\nDIV 2\nSTP") << 1;
}

// The ended run's last step is taken back on its own: in progress again, paused there.
void MainFormTest::stepBackResumesAnEndedRun() {
    QFETCH(QString, program);
    QFETCH(int, boxes);
    type(program);
    checkAndStart();
    ModalDriver driver;
    for (int i = 0; i < boxes; ++i) {
        driver.box(QMessageBox::Ok);
    }
    click("btStep");
    click("btStep");
    QVERIFY(!wb().machine().VM_Running);
    click("btBack");
    QVERIFY(wb().machine().VM_Running);
    QCOMPARE(child<QPushButton>("btRun")->text(), QStringLiteral("Stop"));
    QVERIFY(m_form->programEditor()->isReadOnly());
    QCOMPARE(stepCount(), QStringLiteral("Schritte: 1"));
    QCOMPARE(field("ebIP"), QStringLiteral("1"));
    QCOMPARE(driver.unexpected, QStringList());

    click("btRun");  // stopped by hand: still allowed until the program is edited
    QVERIFY(backEnabled());
    m_form->programEditor()->appendPlainText(QStringLiteral("* neu"));
    QVERIFY(!backEnabled());
}

// At "Direkt" the run switches to "Schritt" before a marked line (not before a marked
// comment); the mark moved down with its line; "Direkt" again passes it.
void MainFormTest::breakpointSwitchesADirectRunToStep() {
    type(QStringLiteral("LAD 1\nINC\n* Zähler\nSTO 1\nOUT\nSTP"));
    ProgramEditor* editor = m_form->programEditor();
    editor->setFocus();
    for (int line : {2, 4}) {
        editor->setTextCursor(QTextCursor(editor->document()->findBlockByNumber(line)));
        QTest::keyClick(editor, Qt::Key_F9);
    }
    QTextCursor(editor->document()->findBlockByNumber(4)).insertText(QStringLiteral("INC\n"));
    QVERIFY(editor->hasBreakpoint(5) && !editor->hasBreakpoint(4));
    // Only the marked line is painted light red.
    const QImage shown = editor->viewport()->grab().toImage();
    const auto background = [&](int line) {
        const QTextCursor at(editor->document()->findBlockByNumber(line));
        return shown.pixelColor(editor->viewport()->width() - 3,
                                editor->cursorRect(at).center().y());
    };
    QCOMPARE(background(5), QColor(255, 196, 196));
    QVERIFY(background(4) != background(5));

    click("rbDirect");
    checkAndStart();
    QTRY_VERIFY_WITH_TIMEOUT(child<QRadioButton>("rbStep")->isChecked(), 10000);
    QVERIFY(wb().machine().VM_Running);
    QCOMPARE(field("ebIP"), QStringLiteral("5"));
    QCOMPARE(field("ebWindow"), QStringLiteral("0"));
    QVERIFY(!child<QTimer>("tDirect")->isActive());
    QVERIFY(backEnabled());
    click("rbDirect");
    QTRY_VERIFY_WITH_TIMEOUT(!wb().machine().VM_Running, 10000);
    QCOMPARE(field("ebWindow"), QStringLiteral("2"));
}

// Typing "5" and correcting it back to "0" is an edit of the table all the same.
void MainFormTest::cellEditBackToTheOldTextStillCounts() {
    type(QStringLiteral("STP"));
    click("btCheck");
    QVERIFY(wb().flags().DataChecked);
    DataGrid* grid = m_form->dataGrid();
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, 1));
    QTest::keyClick(grid, Qt::Key_5);
    QWidget* editor = grid->indexWidget(grid->currentIndex());
    QVERIFY(editor != nullptr);
    QTest::keyClicks(editor, QStringLiteral("\b0\r"));
    QCOMPARE(cell(1), QStringLiteral("0"));
    QVERIFY(wb().flags().DataModified && !wb().flags().DataChecked);
}

// The buttons and labels of a question box and of a file dialog are German.
void MainFormTest::questionBoxAndFileDialogAreGerman() {
    const auto texts = [](const QList<QAbstractButton*>& buttons) {
        QStringList all;
        for (QAbstractButton* b : buttons) {
            all << b->text().remove(QLatin1Char('&'));
        }
        all.sort();
        return all;
    };
    ModalDriver driver;
    QStringList question;
    QStringList dialog;
    driver.box(QMessageBox::Yes, [&] {
        question = texts(qobject_cast<QMessageBox*>(QApplication::activeModalWidget())->buttons());
    });
    driver.inspect([&](QWidget* w) {
        dialog = texts(w->findChild<QDialogButtonBox*>()->buttons());
        for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
            dialog << w->findChild<QLabel*>(QLatin1String(name))->text();
        }
    });
    driver.box(QMessageBox::No);
    click("btLoad");
    QVERIFY(driver.done());
    QCOMPARE(question, (QStringList{QStringLiteral("Ja"), QStringLiteral("Nein")}));
    QCOMPARE(dialog, (QStringList{QStringLiteral("Abbrechen"), QStringLiteral("Öffnen"),
                                  QStringLiteral("Suchen in:"), QStringLiteral("Dateiname:"),
                                  QStringLiteral("Dateityp:")}));
}

// A save while a run is paused writes the file without the empty lines, but the editor keeps
// them until the run has ended: the lines shown are always those of the running program.
void MainFormTest::saveDuringAPausedRunKeepsTheRunningLines() {
    QVERIFY(m_dir.isValid());
    type(QStringLiteral("CLA\n\n\nINC\nINC\nOUT\nSTP"));
    ProgramEditor* editor = m_form->programEditor();
    editor->setFocus();
    editor->setTextCursor(QTextCursor(editor->document()->findBlockByNumber(5)));
    QTest::keyClick(editor, Qt::Key_F9);
    checkAndStart();
    click("btStep");
    const QString path = m_dir.filePath(QStringLiteral("lauf.prg"));
    {
        ModalDriver driver;
        driver.box(QMessageBox::Yes);
        driver.file(path);
        driver.box(QMessageBox::No);
        click("btSave");
        QVERIFY(driver.done());
        QCOMPARE(driver.unexpected, QStringList());
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("CLA\r\nINC\r\nINC\r\nOUT\r\nSTP\r\n"));
    QCOMPARE(editor->lineText(1), std::string());
    QVERIFY(editor->hasBreakpoint(5));
    QVERIFY(wb().machine().VM_Running);

    click("rbDirect");
    QTRY_VERIFY_WITH_TIMEOUT(child<QRadioButton>("rbStep")->isChecked(), 10000);
    QCOMPARE(field("ebIP"), QStringLiteral("5"));
    QCOMPARE(field("ebAccu"), QStringLiteral("2"));
    click("btStep");
    QCOMPARE(field("ebWindow"), QStringLiteral("2"));  // the line shown is the line executed
    click("btStep");
    QVERIFY(!wb().machine().VM_Running);
    QCOMPARE(editor->lineText(1), std::string("INC"));  // the run has ended: the lines go
    QVERIFY(!wb().flags().ProgramModified);
}

// "Laden" with every question declined changes nothing: "Zurück" stays, also for the steps
// taken afterwards.
void MainFormTest::declinedLoadKeepsZurueck() {
    type(QStringLiteral("INC\nINC\nINC\nSTP"));
    checkAndStart();
    click("btStep");
    click("btStep");
    {
        ModalDriver driver;
        for (int question = 0; question < 4; ++question) {
            driver.box(QMessageBox::No);
        }
        click("btLoad");
        QVERIFY(driver.done());
        QCOMPARE(driver.unexpected, QStringList());
    }
    QVERIFY(wb().machine().VM_Running);
    QVERIFY(backEnabled());
    click("btStep");
    for (int back = 0; back < 3; ++back) {
        QVERIFY(backEnabled());
        click("btBack");
    }
    QCOMPARE(field("ebAccu"), QStringLiteral("0"));
    QCOMPARE(stepCount(), QStringLiteral("Schritte: 0"));
    QVERIFY(!backEnabled());
}

// A paste the editor could not open again once saved never gets in, as a file of that size
// never loads; the text stays as it was.
void MainFormTest::aPasteOverTheEditorsLimitIsRefused() {
    type(QStringLiteral("STP"));
    m_form->programEditor()->moveCursor(QTextCursor::End);
    const QString huge = QStringLiteral("LAD 1\n").repeated(200000);  // 1.2 MB as a file holds it
    QApplication::clipboard()->setText(huge);
    ModalDriver driver;
    driver.box(QMessageBox::Ok);
    m_form->programEditor()->paste();
    QTRY_VERIFY(driver.done());
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(driver.boxes[0].caption, QStringLiteral("Quarzel 3"));
    QCOMPARE(driver.boxes[0].text, QStringLiteral("Text überschreitet Memo-Kapazität."));
    QCOMPARE(m_form->programEditor()->toPlainText(), QStringLiteral("STP"));
    // What fits still goes in.
    QApplication::clipboard()->setText(QStringLiteral("\nLAD 1"));
    m_form->programEditor()->paste();
    QCOMPARE(m_form->programEditor()->toPlainText(), QStringLiteral("STP\nLAD 1"));
}

// Typed, pasted or typed into a cell: a character Windows-1252 cannot hold stays out, and a
// note names it, instead of a "?" in the saved file.
void MainFormTest::charactersTheFilesCannotHoldAreRefused() {
    ProgramEditor* editor = m_form->programEditor();
    type(QStringLiteral("LAD 1"));
    editor->setFocus();
    editor->moveCursor(QTextCursor::End);
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("ğ"));
    QApplication::sendEvent(editor, &typed);
    QCOMPARE(editor->toPlainText(), QStringLiteral("LAD 1"));
    QVERIFY2(QToolTip::text().contains(QStringLiteral("„ğ“")), qPrintable(QToolTip::text()));
    QApplication::clipboard()->setText(QStringLiteral(" * a → b"));
    editor->paste();
    QCOMPARE(editor->toPlainText(), QStringLiteral("LAD 1"));
    QKeyEvent umlaut(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("ä"));
    QApplication::sendEvent(editor, &umlaut);
    QCOMPARE(editor->toPlainText(), QStringLiteral("LAD 1ä"));

    DataGrid* grid = m_form->dataGrid();
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, 2));
    QTest::keyClick(grid, Qt::Key_X);
    auto* field = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
    QVERIFY(field != nullptr);
    QKeyEvent arrow(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("ł"));
    QApplication::sendEvent(field, &arrow);
    QCOMPARE(field->text(), QStringLiteral("x"));
    QVERIFY2(QToolTip::text().contains(QStringLiteral("„ł“")), qPrintable(QToolTip::text()));
    grid->commitPendingEdit();
    QCOMPARE(toQString(wb().table().comment(0)), QStringLiteral("x"));
}

QTEST_MAIN(MainFormTest)
#include "mainform_test.moc"
