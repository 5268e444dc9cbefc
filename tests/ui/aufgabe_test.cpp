// The task window and the aids while practising, in the real main window on the offscreen
// platform: clicks reach the task session and the window shows what it reports, a task's texts
// as plain text and readable by a screen reader (the session's rules are core tests); line
// numbers and the current line; an endless loop at "Direkt".
#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>
#include <memory>

#include "MainForm.h"
#include "aufgabe.h"
#include "files/program_file.h"
#include "modal_driver.h"
#include "program_editor.h"
#include "qt_text.h"
#include "session/workbench.h"

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
    void clicksReachTheSessionAndTheWindowShowsItsReports();
    void taskTextsShowAsPlainTextAndAreRead();
    void gutterCountsLinesAndMarksTheCurrentOne();
    void endlessLoopAtDirectPausesWithABox();

  private:
    TfrmAufgabe* window() const { return m_form->frmAufgabe(); }
    Workbench& wb() { return m_form->workbench(); }
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

void AufgabeTest::clicksReachTheSessionAndTheWindowShowsItsReports() {
    loadSumme();
    QTableWidget* cases = window()->twCases();
    QCOMPARE(cases->selectedItems().constFirst()->row(), 0);
    QVERIFY(window()->btTest()->isEnabled() && window()->btTakeOver()->isEnabled());

    const QString path = kTasks + QStringLiteral("/abgaben/eins_daneben.prg");
    m_form->programEditor()->setText(readProgramFile(path.toUtf8().toStdString()));
    ModalDriver driver;
    QTest::mouseClick(window()->btTest(), Qt::LeftButton);
    QCOMPARE(driver.unexpected, QStringList());
    QStringList shown;
    for (int row = 0; row < cases->rowCount(); ++row) {
        const QTableWidgetItem* item = cases->item(row, TfrmAufgabe::ColResult);
        shown << item->text() + QLatin1Char('/') + item->background().color().name();
    }
    QCOMPARE(shown.join(QLatin1Char('|')),
             QStringLiteral("Fenster 45 statt 55, Zelle 11 \"45\" statt \"55\"/#ffd2d2|"
                            "Fenster -6 statt -5, Zelle 11 \"-6\" statt \"-5\"/#ffd2d2|"
                            "bestanden/#cef0ce"));
    QCOMPARE(window()->lbPoints()->text(), QStringLiteral("1 von 4 Punkten"));

    // A click on no case leaves nothing to take over; a double click on the second takes it.
    cases->clearSelection();
    QVERIFY(!window()->btTakeOver()->isEnabled());
    const QRect second = cases->visualItemRect(cases->item(1, TfrmAufgabe::ColName));
    QTest::mouseClick(cases->viewport(), Qt::LeftButton, {}, second.center());
    QVERIFY(window()->btTakeOver()->isEnabled());
    QTest::mouseDClick(cases->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(driver.unexpected, QStringList());
    // negativ.dta begins "1:-3:Summand".
    QCOMPARE(wb().table().value(0) + "|" + wb().table().comment(0), std::string("-3|Summand"));
    QCOMPARE(window()->lbInputs()->text(),
             QStringLiteral("Übernommen: „Negative Zahlen“ – Eingaben: keine"));
}

void AufgabeTest::taskTextsShowAsPlainTextAndAreRead() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("markup.toml"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        "titel = \"<b>x</b> <img src=x>\"\n[[fall]]\nname = \"<i>f</i>\"\n"
        "eingaben = [\"<u>1</u>\"]\n[fall.erwartet]\nende = \"<b>STP</b>\"\n");
    file.close();
    window()->show();
    QVERIFY(window()->session().load(path.toUtf8().toStdString()));
    m_form->programEditor()->setPlainText(QStringLiteral("STP"));
    QTest::mouseClick(window()->btTest(), Qt::LeftButton);
    QTest::mouseClick(window()->btTakeOver(), Qt::LeftButton);

    const QTableWidget* cases = window()->twCases();
    QCOMPARE(cases->item(0, TfrmAufgabe::ColName)->text(), QStringLiteral("<i>f</i>"));
    QCOMPARE(cases->item(0, TfrmAufgabe::ColInputs)->text(), QStringLiteral("<u>1</u>"));
    const QTableWidgetItem* result = cases->item(0, TfrmAufgabe::ColResult);
    QCOMPARE(result->text(), QStringLiteral("endet mit \"STP\" statt \"<b>STP</b>\""));
    QTextDocument tip;
    tip.setHtml(result->toolTip());
    QCOMPARE(tip.toPlainText(), result->text());

    const struct {
        QLabel* label;
        QString text;
        QString name;
    } labels[] = {
        {window()->lbTitle(), QStringLiteral("<b>x</b> <img src=x>"),
         QStringLiteral("Titel der Aufgabe: <b>x</b> <img src=x>")},
        {window()->lbPoints(), QStringLiteral("0 von 1 Punkten"),
         QStringLiteral("Punkte: 0 von 1 Punkten")},
        {window()->lbInputs(), QStringLiteral("Übernommen: „<i>f</i>“ – Eingaben: <u>1</u>"),
         QStringLiteral("Eingaben des übernommenen Falls: Übernommen: „<i>f</i>“ – Eingaben: "
                        "<u>1</u>")},
    };
    for (const auto& l : labels) {
        QCOMPARE(l.label->text(), l.text);
        QCOMPARE(l.label->textFormat(), Qt::PlainText);
        QAccessibleInterface* read = QAccessible::queryAccessibleInterface(l.label);
        QVERIFY(read != nullptr);
        QCOMPARE(read->text(QAccessible::Name), l.name);
    }
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
    QVERIFY(wb().machine().VM_Running);
}

QTEST_MAIN(AufgabeTest)
#include "aufgabe_test.moc"
