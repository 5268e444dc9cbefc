// "Beispiele" and the primer ("Einführung") in the real window: an example chosen by keyboard
// and loaded after the save questions, and "Ausprobieren" after the save question.
#include <QAbstractItemModel>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QToolButton>
#include <memory>

#include "MainForm.h"
#include "data_grid.h"
#include "files/built_in_examples.h"
#include "hilfe.h"
#include "modal_driver.h"
#include "program_editor.h"
#include "qt_text.h"
#include "screen/primer_text.h"
#include "session/workbench.h"

using namespace quarzel;

namespace {

// A file of examples/ as the editor shows it; empty when there is none.
QString exampleFile(const QString& name) {
    QFile file(QStringLiteral(QUARZEL_EXAMPLES_DIR "/") + name);
    return file.open(QIODevice::ReadOnly)
               ? toQString(file.readAll().toStdString()).replace(QStringLiteral("\r\n"), "\n")
               : QString();
}

// A save there fails with a box ("Datei ... kann nicht erstellt werden.").
const QString kUnwritable = QStringLiteral("/sys/quarzel-kann-hier-nicht-schreiben.prg");

}  // namespace

class TeachingTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        m_form = std::make_unique<TfrmMainForm>();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        m_form->resize(800, 600);
        m_form->programEditor()->setPlainText(QStringLiteral("LAD 1\nSTP"));
        QAbstractItemModel* model = m_form->dataGrid()->model();
        QVERIFY(model->setData(model->index(4, 1), QStringLiteral("77")));
    }
    void cleanup() { m_form.reset(); }

    void examplesButtonCaptionFitsItsWidth();
    void choosingAnExample_data();
    void choosingAnExample();
    void primerTryProgram_data();
    void primerTryProgram();

  private:
    QString program() const { return m_form->programEditor()->toPlainText(); }
    QString cell(int number) const {
        return m_form->dataGrid()->model()->index(number - 1, 1).data().toString();
    }
    // "Ja" saves into a file that cannot be written: the box of the failed save follows.
    static void answer(ModalDriver& driver, bool save, int declined) {
        if (save) {
            driver.box(QMessageBox::Yes);
            driver.file(kUnwritable);
            driver.box(QMessageBox::Ok);
        }
        for (int i = 0; !save && i < declined; ++i) {
            driver.box(QMessageBox::No);
        }
    }

    std::unique_ptr<TfrmMainForm> m_form;
};

void TeachingTest::examplesButtonCaptionFitsItsWidth() {
    auto* button = m_form->findChild<QToolButton*>(QStringLiteral("btExamples"));
    // At 800 x 600 narrower than the other command buttons: the caption on two lines.
    const std::pair<QSize, QString> rows[] = {{QSize(800, 600), "&Bei-\nspiele"},
                                              {QSize(1200, 800), "&Beispiele"}};
    for (const auto& [size, caption] : rows) {
        m_form->resize(size);
        QTRY_COMPARE(button->text(), caption);
        QCOMPARE(button->accessibleName(), QStringLiteral("Beispiele"));
        for (const QString& line : QString(caption).remove('&').split('\n')) {
            QVERIFY2(QFontMetrics(button->font()).horizontalAdvance(line) <= button->width() - 4,
                     qPrintable(line));
        }
    }
}

void TeachingTest::choosingAnExample_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("save");
    QTest::newRow("with its data file") << "summe" << false;
    QTest::newRow("without a data file") << "maximum" << false;
    QTest::newRow("save failed") << "countdown" << true;
}

void TeachingTest::choosingAnExample() {
    QFETCH(QString, name);
    QFETCH(bool, save);
    const std::vector<BuiltInExample>& examples = builtInExamples();
    int index = 0;
    while (index < static_cast<int>(examples.size()) &&
           QString::fromStdString(examples[static_cast<std::size_t>(index)].name) != name) {
        ++index;
    }
    ModalDriver driver;
    answer(driver, save, 2);
    // Alt+B opens the list; the arrow keys and Enter choose.
    QTest::keyClick(m_form.get(), Qt::Key_B, Qt::AltModifier);
    QMenu* menu = m_form->examplesMenu();
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->actions().size(), static_cast<int>(examples.size()));
    const QString entry = menu->actions().at(index)->text();
    QVERIFY2(entry.endsWith(QString::fromStdString(examples[index].line)), qPrintable(entry));
    for (int i = 0; i < index; ++i) {
        QTest::keyClick(menu, Qt::Key_Down);
    }
    QTest::keyClick(menu, Qt::Key_Return);
    QTRY_VERIFY(driver.done());
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(driver.boxes[0].text, QStringLiteral("Programm speichern?"));

    const StateFlags& flags = m_form->workbench().flags();
    if (save) {  // nothing replaced
        QCOMPARE(program(), QStringLiteral("LAD 1\nSTP"));
        QCOMPARE(cell(5), QStringLiteral("77"));
        QVERIFY(flags.ProgramModified && flags.DataModified);
        return;
    }
    QCOMPARE(driver.boxes[1].text, QStringLiteral("Daten speichern?"));
    QCOMPARE(program(), exampleFile(name + ".prg"));
    // Its data file, or the empty table it is run with.
    const QString data = exampleFile(name + ".dta");
    QCOMPARE(cell(5),
             data.isEmpty() ? QStringLiteral("0") : data.split('\n')[4].section(':', 1, 1));
    QVERIFY(!flags.ProgramModified && !flags.DataModified);
    QVERIFY(!flags.ProgramChecked && !flags.DataChecked);
}

void TeachingTest::primerTryProgram_data() {
    QTest::addColumn<bool>("save");
    QTest::newRow("declined") << false;
    QTest::newRow("save failed") << true;
}

void TeachingTest::primerTryProgram() {
    QFETCH(bool, save);
    TfrmHilfe* help = m_form->frmHilfe();
    m_form->btHelpClick();
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QCOMPARE(help->pages()->tabText(0), QStringLiteral("Befehlsliste"));
    QCOMPARE(help->pages()->widget(0), static_cast<QWidget*>(help->memHilfe()));
    QCOMPARE(help->pages()->tabText(1), QString::fromUtf8(kPrimerTitle));
    help->pages()->setCurrentIndex(1);

    // Every section's title and paragraphs as plain text; a button where it has a program.
    QStringList texts;
    for (const QLabel* label : help->primerPage()->findChildren<QLabel*>()) {
        QCOMPARE(label->textFormat(), Qt::PlainText);
        texts << label->text();
    }
    const std::vector<PrimerSection>& sections = primerSections();
    int last = -1;
    for (int i = 0; i < static_cast<int>(sections.size()); ++i) {
        const PrimerSection& section = sections[static_cast<std::size_t>(i)];
        QVERIFY(texts.contains(QString::fromStdString(section.title)));
        QVERIFY(texts.contains(QString::fromStdString(section.paragraphs.back())));
        QPushButton* button = help->tryButton(i);
        QCOMPARE(button != nullptr, !section.program.empty());
        if (button != nullptr) {
            QCOMPARE(button->accessibleName(),
                     QStringLiteral("Ausprobieren: ") + QString::fromStdString(section.title));
            last = i;
        }
    }

    ModalDriver driver;
    answer(driver, save, 1);
    QTest::mouseClick(help->tryButton(last), Qt::LeftButton);
    QTRY_VERIFY(driver.done());
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(driver.boxes[0].text, QStringLiteral("Programm speichern?"));
    const QString tried = toQString(sections[static_cast<std::size_t>(last)].program);
    QCOMPARE(program(), save ? QStringLiteral("LAD 1\nSTP") : QString(tried).replace("\r\n", "\n"));
    QCOMPARE(m_form->workbench().flags().ProgramModified, save);
    QCOMPARE(cell(5), QStringLiteral("77"));  // the table is the learner's either way
}

QTEST_MAIN(TeachingTest)
#include "teaching_test.moc"
