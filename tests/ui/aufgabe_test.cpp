// The task window and the aids while practising, in the real main window on the offscreen
// platform: the worked example's task loaded, a right and a wrong program tested, a case taken
// over, a refused task file; line numbers and the current line; an endless loop at "Direkt".
#include <QFile>
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
#include "session/workbench.h"

using namespace quarzel;

namespace {

const QString kTasks = QStringLiteral(QUARZEL_EXAMPLES_DIR "/aufgaben");

std::string submission(const char* name) {
    return readProgramFile(
        (kTasks + QStringLiteral("/abgaben/") + QLatin1String(name)).toUtf8().toStdString());
}

}  // namespace

class AufgabeTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void buttonShowsAndHidesTheWindow();
    void loadShowsTitleAndCases();
    void testingGradesTheEditorsProgram_data();
    void testingGradesTheEditorsProgram();
    void takingOverACaseFillsTheTable();
    void aRefusedTaskFileSaysWhy();
    void gutterCountsLinesAndMarksTheCurrentOne();
    void endlessLoopAtDirectPausesWithABox();

  private:
    TfrmAufgabe* window() const { return m_form->frmAufgabe(); }
    Workbench& wb() { return m_form->workbench(); }
    QString result(int row) const {
        return window()->twCases()->item(row, TfrmAufgabe::ColResult)->text();
    }
    void loadSumme() {
        ModalDriver driver;
        QStringList filters;
        driver.file(kTasks + QStringLiteral("/summe.toml"), nullptr, &filters);
        QTest::mouseClick(window()->btLoad(), Qt::LeftButton);
        QTRY_VERIFY(driver.done());
        QCOMPARE(filters, QStringList{QStringLiteral("Quarzel-Aufgabe (*.toml)")});
        QCOMPARE(driver.unexpected, QStringList());
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
    QVERIFY(button != nullptr);
    QCOMPARE(button->text(), QStringLiteral("A&ufgabe"));
    QCOMPARE(button->accessibleName(), QStringLiteral("Aufgabe"));
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(window()->isVisible());
    QVERIFY(!window()->isModal());
    QCOMPARE(window()->windowTitle(), QStringLiteral("Aufgabe"));
    for (QWidget* control : std::initializer_list<QWidget*>{
             window()->lbTitle(), window()->twCases(), window()->lbPoints(), window()->lbInputs(),
             window()->btLoad(), window()->btTest(), window()->btTakeOver()}) {
        QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
    }
    QVERIFY(!window()->btTest()->isEnabled());
    QVERIFY(!window()->btTakeOver()->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!window()->isVisible());
}

void AufgabeTest::loadShowsTitleAndCases() {
    window()->show();
    loadSumme();
    QCOMPARE(window()->lbTitle()->text(), QStringLiteral("Summe der Zellen 1 bis 10"));
    QTableWidget* cases = window()->twCases();
    QCOMPARE(cases->rowCount(), 3);
    const char* const rows[][3] = {
        {"Beispieldaten", "2", "keine"},
        {"Negative Zahlen", "1", "keine"},
        {"Überlauf", "1", "keine"},
    };
    for (int row = 0; row < 3; ++row) {
        QCOMPARE(cases->item(row, TfrmAufgabe::ColName)->text(), QString::fromUtf8(rows[row][0]));
        QCOMPARE(cases->item(row, TfrmAufgabe::ColPoints)->text(), QLatin1String(rows[row][1]));
        QCOMPARE(cases->item(row, TfrmAufgabe::ColInputs)->text(), QLatin1String(rows[row][2]));
    }
    QVERIFY(window()->btTest()->isEnabled());
    QVERIFY(window()->btTakeOver()->isEnabled());
}

void AufgabeTest::testingGradesTheEditorsProgram_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<QString>("points");
    QTest::newRow("right") << "richtig.prg" << QStringList{"bestanden", "bestanden", "bestanden"}
                           << "4 von 4 Punkten";
    QTest::newRow("one off") << "eins_daneben.prg"
                             << QStringList{"Fenster 45 statt 55, Zelle 11 \"45\" statt \"55\"",
                                            "Fenster -6 statt -5, Zelle 11 \"-6\" statt \"-5\"",
                                            "bestanden"}
                             << "1 von 4 Punkten";
    QTest::newRow("endless") << "endlosschleife.prg"
                             << QStringList{"Endlosschleife ab Zeile 2",
                                            "Endlosschleife ab Zeile 2",
                                            "Endlosschleife ab Zeile 2"}
                             << "0 von 4 Punkten";
}

void AufgabeTest::testingGradesTheEditorsProgram() {
    QFETCH(QString, program);
    QFETCH(QStringList, results);
    QFETCH(QString, points);
    window()->show();
    loadSumme();
    m_form->programEditor()->setText(submission(program.toUtf8().constData()));
    // A run in progress of another program, modified data: testing leaves all of it alone.
    wb().machine.InstructionList = {{static_cast<std::int32_t>(Mnemonic::INC), 0, true},
                                    {static_cast<std::int32_t>(Mnemonic::STP), 0, true}};
    wb().flags.ProgramChecked = wb().flags.DataChecked = true;
    wb().btRunClick();
    wb().btStepClick();
    wb().table.setValue(0, "17");
    const MachineState before = wb().machine;
    const StateFlags flags = wb().flags;
    const std::string text = wb().views.editor.text();

    ModalDriver driver;
    QTest::mouseClick(window()->btTest(), Qt::LeftButton);
    QCOMPARE(driver.unexpected, QStringList());
    for (int row = 0; row < 3; ++row) {
        QCOMPARE(result(row), results[row]);
    }
    QCOMPARE(window()->lbPoints()->text(), points);
    QVERIFY(wb().machine.VM_Running);
    QCOMPARE(wb().machine.VM_IP, before.VM_IP);
    QCOMPARE(wb().machine.VM_Accu, before.VM_Accu);
    QCOMPARE(wb().machine.StepCount, before.StepCount);
    QCOMPARE(wb().machine.InstructionList.size(), before.InstructionList.size());
    QCOMPARE(wb().table.value(0), std::string("17"));
    QCOMPARE(wb().flags.ProgramChecked, flags.ProgramChecked);
    QCOMPARE(wb().flags.DataModified, flags.DataModified);
    QCOMPARE(wb().views.editor.text(), text);
}

void AufgabeTest::takingOverACaseFillsTheTable() {
    window()->show();
    loadSumme();
    wb().table.setValue(0, "17");
    wb().flags.DataModified = true;
    ModalDriver driver;
    driver.box(QMessageBox::No);  // "Daten speichern?"
    QTableWidget* cases = window()->twCases();
    const QRect row = cases->visualItemRect(cases->item(1, TfrmAufgabe::ColName));
    QTest::mouseClick(cases->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(cases->viewport(), Qt::LeftButton, {}, row.center());
    QTRY_VERIFY(driver.done());
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(driver.boxes.size(), 1);
    QCOMPARE(driver.boxes[0].text, QStringLiteral("Daten speichern?"));
    // negativ.dta begins "1:-3:Summand", "2:7:Summand".
    QCOMPARE(wb().table.value(0), std::string("-3"));
    QCOMPARE(wb().table.comment(0), std::string("Summand"));
    QCOMPARE(wb().table.value(1), std::string("7"));
    QVERIFY(!wb().machine.VM_Running);
    QVERIFY(!wb().flags.DataModified);
    QVERIFY(!wb().flags.DataChecked);
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
    window()->show();
    loadSumme();
    ModalDriver driver;
    driver.box(QMessageBox::Ok);
    QVERIFY(!window()->loadTask(path.toUtf8().toStdString()));
    QTRY_VERIFY(driver.done());
    QCOMPARE(driver.boxes.size(), 1);
    QCOMPARE(driver.boxes[0].caption, QStringLiteral("Aufgabe"));
    QCOMPARE(driver.boxes[0].icon, QMessageBox::Critical);
    // The task loader's refusal: the file, the line, the key.
    QCOMPARE(driver.boxes[0].text,
             path + QStringLiteral(", Zeile 4, Schlüssel \"fall.punkte\": ganze Zahl erwartet"));
    // The task shown before stays.
    QCOMPARE(window()->lbTitle()->text(), QStringLiteral("Summe der Zellen 1 bis 10"));
}

void AufgabeTest::gutterCountsLinesAndMarksTheCurrentOne() {
    ProgramEditor* editor = m_form->programEditor();
    editor->setPlainText(QStringLiteral("CLA\nINC\nSTP"));
    QWidget* gutter = editor->gutter();
    QCOMPARE(gutter->accessibleName(), QStringLiteral("Zeilennummern"));
    QVERIFY(gutter->width() > 0);
    // Inside the editor's rectangle, left of the text.
    QVERIFY(editor->viewport()->geometry().left() >= gutter->geometry().right());
    QVERIFY(editor->rect().contains(gutter->geometry()));
    QCOMPARE(editor->currentLine(), -1);
    ModalDriver driver;
    QTest::mouseClick(m_form->findChild<QPushButton*>(QStringLiteral("btCheck")), Qt::LeftButton);
    QTest::mouseClick(m_form->findChild<QPushButton*>(QStringLiteral("btRun")), Qt::LeftButton);
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(editor->currentLine(), 0);
    QTest::mouseClick(m_form->findChild<QPushButton*>(QStringLiteral("btStep")), Qt::LeftButton);
    QCOMPARE(editor->currentLine(), 1);
    QVERIFY2(!editor->textCursor().hasSelection(), "the current line is not selected");
    // A click beside the second line marks it, as F9 there would.
    const QRect second = editor->cursorRect(QTextCursor(editor->document()->findBlockByNumber(1)));
    QTest::mouseClick(gutter, Qt::LeftButton, {}, QPoint(gutter->width() / 2, second.center().y()));
    QVERIFY(editor->hasBreakpoint(1));
}

void AufgabeTest::endlessLoopAtDirectPausesWithABox() {
    m_form->programEditor()->setPlainText(QStringLiteral("CLA\nMRK OBEN\nINC\nDEC\nJMP OBEN\nSTP"));
    ModalDriver driver;
    QTest::mouseClick(m_form->findChild<QPushButton*>(QStringLiteral("btCheck")), Qt::LeftButton);
    QTest::mouseClick(m_form->findChild<QPushButton*>(QStringLiteral("btRun")), Qt::LeftButton);
    QVERIFY(wb().machine.VM_Running);
    driver.box(QMessageBox::Ok);
    m_form->findChild<QRadioButton*>(QStringLiteral("rbDirect"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(driver.done(), 10000);
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(driver.boxes[0].caption, QStringLiteral("Quarzel 3"));
    QCOMPARE(driver.boxes[0].text, QStringLiteral("Endlosschleife ab Zeile 2 erkannt."));
    QCOMPARE(driver.boxes[0].icon, QMessageBox::Information);
    QVERIFY(m_form->findChild<QRadioButton*>(QStringLiteral("rbStep"))->isChecked());
    QVERIFY(wb().machine.VM_Running);
    QVERIFY(m_form->findChild<QPushButton*>(QStringLiteral("btStep"))->isEnabled());
}

QTEST_MAIN(AufgabeTest)
#include "aufgabe_test.moc"
