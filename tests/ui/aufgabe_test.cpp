// The task window and the aids while practising, in the real main window on the offscreen
// platform: the worked example's task loaded, right and wrong programs tested, a case taken
// over, a refused task file; line numbers and the current line; an endless loop at "Direkt".
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>
#include <memory>

#include "MainForm.h"
#include "aufgabe.h"
#include "files/program_file.h"
#include "modal_driver.h"
#include "program_editor.h"
#include "qt_text.h"
#include "session/workbench.h"
#include "session/workbench_internals.h"

using namespace quarzel;

namespace {

const QString kTasks = QStringLiteral(QUARZEL_EXAMPLES_DIR "/aufgaben");

}  // namespace

class AufgabeTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void buttonShowsAndHidesTheWindow();
    void testingGradesTheEditorsProgram_data();
    void testingGradesTheEditorsProgram();
    void takingOverACaseFillsTheTable();
    void aRefusedTaskFileSaysWhy();
    void gutterCountsLinesAndMarksTheCurrentOne();
    void endlessLoopAtDirectPausesWithABox();

  private:
    TfrmAufgabe* window() const { return m_form->frmAufgabe(); }
    Workbench& wb() { return m_form->workbench(); }
    // The workbench's parts, to set up a state the test starts from.
    WorkbenchInternals in() { return WorkbenchInternals(m_form->workbench()); }
    void click(const char* name) {
        QTest::mouseClick(m_form->findChild<QAbstractButton*>(QLatin1String(name)), Qt::LeftButton);
    }
    // "Laden…" with the worked example's task chosen in the file dialog.
    void loadSumme() {
        window()->show();
        ModalDriver driver;
        QStringList filters;
        driver.file(kTasks + QStringLiteral("/summe.toml"), nullptr, &filters);
        QTest::mouseClick(window()->btLoad(), Qt::LeftButton);
        QTRY_VERIFY(driver.done());
        QCOMPARE(driver.unexpected, QStringList());
        QCOMPARE(filters, QStringList{QStringLiteral("Quarzel-Aufgabe (*.toml)")});
        QCOMPARE(window()->lbTitle()->text(), QStringLiteral("Summe der Zellen 1 bis 10"));
        QStringList rows;
        for (int row = 0; row < window()->twCases()->rowCount(); ++row) {
            for (int column :
                 {TfrmAufgabe::ColName, TfrmAufgabe::ColPoints, TfrmAufgabe::ColInputs}) {
                rows << window()->twCases()->item(row, column)->text();
            }
        }
        QCOMPARE(rows.join(QLatin1Char('|')),
                 QStringLiteral("Beispieldaten|2|keine|Negative Zahlen|1|keine|Überlauf|1|keine"));
    }

    std::unique_ptr<TfrmMainForm> m_form;
};

void AufgabeTest::init() {
    m_form = std::make_unique<TfrmMainForm>();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->resize(800, 600);
}

void AufgabeTest::cleanup() {
    m_form.reset();
}

void AufgabeTest::buttonShowsAndHidesTheWindow() {
    auto* button = m_form->findChild<QPushButton*>(QStringLiteral("btAufgabe"));
    QCOMPARE(button->text(), QStringLiteral("A&ufgabe"));
    click("btAufgabe");
    QVERIFY(window()->isVisible() && !window()->isModal());
    QCOMPARE(window()->windowTitle(), QStringLiteral("Aufgabe"));
    for (QWidget* control : std::initializer_list<QWidget*>{
             button, window()->lbTitle(), window()->twCases(), window()->lbPoints(),
             window()->lbInputs(), window()->btLoad(), window()->btTest(),
             window()->btTakeOver()}) {
        QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
    }
    QVERIFY(!window()->btTest()->isEnabled() && !window()->btTakeOver()->isEnabled());
    click("btAufgabe");
    QVERIFY(!window()->isVisible());
}

void AufgabeTest::testingGradesTheEditorsProgram_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("results");
    QTest::addColumn<QString>("points");
    QTest::newRow("right") << "richtig.prg"
                           << "bestanden|bestanden|bestanden"
                           << "4 von 4 Punkten";
    QTest::newRow("one off") << "eins_daneben.prg"
                             << "Fenster 45 statt 55, Zelle 11 \"45\" statt \"55\"|"
                                "Fenster -6 statt -5, Zelle 11 \"-6\" statt \"-5\"|bestanden"
                             << "1 von 4 Punkten";
    QTest::newRow("endless") << "endlosschleife.prg"
                             << "Endlosschleife ab Zeile 2|Endlosschleife ab Zeile 2|"
                                "Endlosschleife ab Zeile 2"
                             << "0 von 4 Punkten";
}

void AufgabeTest::testingGradesTheEditorsProgram() {
    QFETCH(QString, program);
    QFETCH(QString, results);
    QFETCH(QString, points);
    loadSumme();
    const QString path = kTasks + QStringLiteral("/abgaben/") + program;
    m_form->programEditor()->setText(readProgramFile(path.toUtf8().toStdString()));
    // A run of another program in progress and modified data: testing leaves them alone.
    in().machine.InstructionList = {{static_cast<std::int32_t>(Mnemonic::INC), 0, true},
                                    {static_cast<std::int32_t>(Mnemonic::STP), 0, true}};
    in().flags.ProgramChecked = in().flags.DataChecked = true;
    wb().btRunClick();
    wb().btStepClick();
    in().table.setValue(0, "17");
    const auto mainWindow = [this] {
        const MachineState& m = in().machine;
        return QStringLiteral("%1 %2 %3 %4 %5 %6 %7 ")
                   .arg(m.VM_Running)
                   .arg(m.VM_IP)
                   .arg(m.VM_Accu)
                   .arg(m.StepCount)
                   .arg(m.InstructionList.size())
                   .arg(in().flags.ProgramChecked)
                   .arg(in().flags.DataModified) +
               toQString(in().table.value(0) + wb().programText());
    };
    const QString before = mainWindow();

    ModalDriver driver;
    QTest::mouseClick(window()->btTest(), Qt::LeftButton);
    QCOMPARE(driver.unexpected, QStringList());
    QStringList shown;
    for (int row = 0; row < window()->twCases()->rowCount(); ++row) {
        shown << window()->twCases()->item(row, TfrmAufgabe::ColResult)->text();
    }
    QCOMPARE(shown.join(QLatin1Char('|')), results);
    QCOMPARE(window()->lbPoints()->text(), points);
    QCOMPARE(mainWindow(), before);
}

void AufgabeTest::takingOverACaseFillsTheTable() {
    loadSumme();
    in().table.setValue(0, "17");
    in().flags.DataModified = true;
    ModalDriver driver;
    driver.box(QMessageBox::No);  // "Daten speichern?"
    QTableWidget* cases = window()->twCases();
    const QRect row = cases->visualItemRect(cases->item(1, TfrmAufgabe::ColName));
    QTest::mouseClick(cases->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(cases->viewport(), Qt::LeftButton, {}, row.center());
    QTRY_VERIFY(driver.done());
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(driver.boxes[0].text, QStringLiteral("Daten speichern?"));
    // negativ.dta begins "1:-3:Summand".
    QCOMPARE(in().table.value(0) + "|" + in().table.comment(0), std::string("-3|Summand"));
    QVERIFY(!in().machine.VM_Running && !in().flags.DataModified && !in().flags.DataChecked);
    QCOMPARE(window()->lbInputs()->text(),
             QStringLiteral("Übernommen: „Negative Zahlen“ – Eingaben: keine"));
}

void AufgabeTest::aRefusedTaskFileSaysWhy() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kaputt.toml"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("titel = \"Kaputt\"\n[[fall]]\nname = \"A\"\npunkte = \"viele\"\n");
    file.close();
    loadSumme();
    ModalDriver driver;
    driver.box(QMessageBox::Ok);
    QVERIFY(!window()->loadTask(path.toUtf8().toStdString()));
    QTRY_VERIFY(driver.done());
    QCOMPARE(driver.boxes[0].caption, QStringLiteral("Aufgabe"));
    QCOMPARE(driver.boxes[0].icon, QMessageBox::Critical);
    QCOMPARE(driver.boxes[0].text,
             path + QStringLiteral(", Zeile 4, Schlüssel \"fall.punkte\": ganze Zahl erwartet"));
    // The task shown before stays.
    QCOMPARE(window()->lbTitle()->text(), QStringLiteral("Summe der Zellen 1 bis 10"));
}

void AufgabeTest::gutterCountsLinesAndMarksTheCurrentOne() {
    ProgramEditor* editor = m_form->programEditor();
    editor->setPlainText(QStringLiteral("CLA\nINC\nSTP"));
    QWidget* gutter = editor->gutter();
    // Inside the editor's rectangle, left of the text.
    QVERIFY(gutter->width() > 0 && editor->rect().contains(gutter->geometry()));
    QVERIFY(editor->viewport()->geometry().left() >= gutter->geometry().right());
    QCOMPARE(editor->currentLine(), -1);
    ModalDriver driver;
    click("btCheck");
    click("btRun");
    QCOMPARE(editor->currentLine(), 0);
    click("btStep");
    QCOMPARE(editor->currentLine(), 1);
    QCOMPARE(driver.unexpected, QStringList());
    QVERIFY2(!editor->textCursor().hasSelection(), "the current line is not selected");
    // A click beside the second line marks it, as F9 there would.
    const QRect second = editor->cursorRect(QTextCursor(editor->document()->findBlockByNumber(1)));
    QTest::mouseClick(gutter, Qt::LeftButton, {}, QPoint(gutter->width() / 2, second.center().y()));
    QVERIFY(editor->hasBreakpoint(1));
}

void AufgabeTest::endlessLoopAtDirectPausesWithABox() {
    m_form->programEditor()->setPlainText(QStringLiteral("CLA\nMRK OBEN\nINC\nDEC\nJMP OBEN\nSTP"));
    ModalDriver driver;
    click("btCheck");
    click("btRun");
    driver.box(QMessageBox::Ok);
    m_form->findChild<QRadioButton*>(QStringLiteral("rbDirect"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(driver.done(), 10000);
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(driver.boxes[0].caption + QLatin1Char('|') + driver.boxes[0].text,
             QStringLiteral("Quarzel 3|Endlosschleife ab Zeile 2 erkannt."));
    QCOMPARE(driver.boxes[0].icon, QMessageBox::Information);
    QVERIFY(m_form->findChild<QRadioButton*>(QStringLiteral("rbStep"))->isChecked());
    QVERIFY(in().machine.VM_Running);
}

QTEST_MAIN(AufgabeTest)
#include "aufgabe_test.moc"
