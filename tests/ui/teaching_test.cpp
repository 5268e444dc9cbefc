// "Beispiele" and the primer ("Einführung") in the real window: the list under the button,
// an example loaded after the save questions with clean flags, the primer's page beside the
// command list and "Ausprobieren" after the save question.
#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
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

// A file of examples/ as the editor shows it: Windows-1252 read as such, lines joined by "\n".
QString exampleFile(const QString& name) {
    QFile file(QStringLiteral(QUARZEL_EXAMPLES_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("<%1 fehlt>").arg(name);
    }
    return toQString(file.readAll().toStdString()).replace(QStringLiteral("\r\n"), "\n");
}

// Where a save cannot be written: the save fails with its box.
const QString kUnwritable = QStringLiteral("/sys/quarzel-kann-hier-nicht-schreiben.prg");

int exampleIndex(const std::string& name) {
    const std::vector<BuiltInExample>& examples = builtInExamples();
    for (std::size_t i = 0; i < examples.size(); ++i) {
        if (examples[i].name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

class TeachingTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        QSettings(QSettings::UserScope, QStringLiteral("QtProject"))
            .remove(QStringLiteral("FileDialog"));
        m_form = std::make_unique<TfrmMainForm>();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        m_form->resize(800, 600);
    }
    void cleanup() { m_form.reset(); }

    void examplesButtonNamedForScreenReaders();
    void altBOpensTheListOfEveryExample();
    void choosingAnExample_data();
    void choosingAnExample();
    void primerPageBesideTheCommandList();
    void tryProgram_data();
    void tryProgram();

  private:
    Workbench& wb() { return m_form->workbench(); }
    QString program() const { return m_form->programEditor()->toPlainText(); }
    QString cell(int number) const {
        return m_form->dataGrid()->model()->index(number - 1, 1).data().toString();
    }
    void setCell(int number, const QString& value) {
        QAbstractItemModel* model = m_form->dataGrid()->model();
        QVERIFY(model->setData(model->index(number - 1, 1), value));
    }
    // Opens the list with its access key and chooses entry `index` with the arrow keys.
    void chooseByKeyboard(int index) {
        QTest::keyClick(m_form.get(), Qt::Key_B, Qt::AltModifier);
        QMenu* menu = m_form->examplesMenu();
        QTRY_VERIFY(menu->isVisible());
        for (int i = 0; i < index; ++i) {
            QTest::keyClick(menu, Qt::Key_Down);
        }
        QCOMPARE(menu->activeAction(), menu->actions().at(index));
        QTest::keyClick(menu, Qt::Key_Return);
    }

    // Answers the boxes and the save dialog in the order of `script`.
    void play(ModalDriver& driver, const QStringList& script) {
        for (const QString& step : script) {
            if (step == "Nein") {
                driver.box(QMessageBox::No);
            } else if (step == "Ja") {
                driver.box(QMessageBox::Yes);
            } else if (step == "OK") {
                driver.box(QMessageBox::Ok);
            } else {
                driver.file(step.startsWith('/') ? step : m_dir.filePath(step));
            }
        }
    }

    std::unique_ptr<TfrmMainForm> m_form;
    QTemporaryDir m_dir;
};

void TeachingTest::examplesButtonNamedForScreenReaders() {
    auto* examples = m_form->findChild<QToolButton*>(QStringLiteral("btExamples"));
    QVERIFY(examples != nullptr);
    // Narrower than the other command buttons at 800 x 600: the caption on two lines.
    const std::pair<QSize, QString> rows[] = {{QSize(800, 600), QStringLiteral("&Bei-\nspiele")},
                                              {QSize(1200, 800), QStringLiteral("&Beispiele")},
                                              {QSize(800, 600), QStringLiteral("&Bei-\nspiele")}};
    for (const auto& [size, caption] : rows) {
        m_form->resize(size);
        QTRY_COMPARE(m_form->size(), size);
        QCOMPARE(examples->text(), caption);
        QCOMPARE(examples->accessibleName(), QStringLiteral("Beispiele"));
        QVERIFY(examples->isVisible());
        // Each line of the caption fits the button: nothing of it is cut off.
        const QFontMetrics metrics(examples->font());
        for (const QString& line : QString(caption).remove('&').split('\n')) {
            QVERIFY2(metrics.horizontalAdvance(line) <= examples->width() - 4, qPrintable(line));
        }
    }
}

void TeachingTest::altBOpensTheListOfEveryExample() {
    QTest::keyClick(m_form.get(), Qt::Key_B, Qt::AltModifier);
    QMenu* menu = m_form->examplesMenu();
    QTRY_VERIFY(menu->isVisible());
    const QList<QAction*> entries = menu->actions();
    const std::vector<BuiltInExample>& examples = builtInExamples();
    QCOMPARE(entries.size(), static_cast<int>(examples.size()));
    QVERIFY(entries.size() >= 6);
    for (int i = 0; i < entries.size(); ++i) {
        // Each entry names its example and says what it shows, in German as the list has it.
        const QString text = entries[i]->text();
        QVERIFY2(text.startsWith(QString::fromStdString(examples[i].name) + " "), qPrintable(text));
        QVERIFY2(text.endsWith(QString::fromStdString(examples[i].line)), qPrintable(text));
    }
    QCOMPARE(menu->accessibleName(), QStringLiteral("Beispielprogramme"));
    QTest::keyClick(menu, Qt::Key_Escape);
    QTRY_VERIFY(!menu->isVisible());
    QVERIFY(program().isEmpty());
}

void TeachingTest::choosingAnExample_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("dataEdited");
    QTest::addColumn<QStringList>("script");  // "Nein", "Ja" (then a file name), "OK"
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<bool>("loaded");
    QTest::newRow("with data, both declined")
        << "summe" << false << QStringList{"Nein", "Nein"}
        << QStringList{"Programm speichern?", "Daten speichern?"} << true;
    QTest::newRow("without data, data edited")
        << "maximum" << true << QStringList{"Nein", "Nein"}
        << QStringList{"Programm speichern?", "Daten speichern?"} << true;
    QTest::newRow("program saved first")
        << "fakultaet" << false << QStringList{"Ja", "mein.prg", "Nein"}
        << QStringList{"Programm speichern?", "Daten speichern?"} << true;
    // The save failed: its box, and nothing is replaced.
    QTest::newRow("save failed") << "countdown" << true << QStringList{"Ja", kUnwritable, "OK"}
                                 << QStringList{"Programm speichern?", "Datei"} << false;
}

void TeachingTest::choosingAnExample() {
    QFETCH(QString, name);
    QFETCH(bool, dataEdited);
    QFETCH(QStringList, script);
    QFETCH(QStringList, questions);
    QFETCH(bool, loaded);
    const QString mine = QStringLiteral("LAD 1\nSTP");
    m_form->programEditor()->setPlainText(mine);
    if (dataEdited) {
        setCell(5, QStringLiteral("77"));
    }
    QVERIFY(wb().flags().ProgramModified);

    ModalDriver driver;
    play(driver, script);
    const int index = exampleIndex(name.toStdString());
    QVERIFY(index >= 0);
    chooseByKeyboard(index);
    QTRY_VERIFY(driver.done());
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(driver.boxes.size(), questions.size());
    for (int i = 0; i < questions.size(); ++i) {
        QVERIFY2(driver.boxes[i].text.startsWith(questions[i]), qPrintable(driver.boxes[i].text));
    }
    if (script.contains(QStringLiteral("mein.prg"))) {
        QFile saved(m_dir.filePath(QStringLiteral("mein.prg")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("LAD 1\r\nSTP"));
    }

    if (!loaded) {
        QCOMPARE(program(), mine);
        QVERIFY(wb().flags().ProgramModified);
        QCOMPARE(cell(5), dataEdited ? QStringLiteral("77") : QStringLiteral("0"));
        return;
    }
    QCOMPARE(program(), exampleFile(name + ".prg"));
    const QString data = exampleFile(name + ".dta");
    if (QFile::exists(QStringLiteral(QUARZEL_EXAMPLES_DIR "/") + name + ".dta")) {
        for (const QString& line : data.split('\n', Qt::SkipEmptyParts)) {
            const QStringList parts = line.split(':');
            QCOMPARE(cell(parts[0].toInt()), parts[1]);
        }
    } else {
        // Without a data file the example runs on the empty table.
        for (const int number : {1, 5, 512}) {
            QCOMPARE(cell(number), QStringLiteral("0"));
        }
    }
    const StateFlags& flags = wb().flags();
    QVERIFY(!flags.ProgramModified && !flags.DataModified);
    QVERIFY(!flags.ProgramChecked && !flags.DataChecked);
}

void TeachingTest::primerPageBesideTheCommandList() {
    TfrmHilfe* help = m_form->frmHilfe();
    m_form->btHelpClick();
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QTabWidget* pages = help->pages();
    QCOMPARE(pages->count(), 2);
    QCOMPARE(pages->tabText(0), QStringLiteral("Befehlsliste"));
    QCOMPARE(pages->widget(0), static_cast<QWidget*>(help->memHilfe()));
    QCOMPARE(pages->tabText(1), QString::fromUtf8("Einf\xC3\xBChrung"));
    pages->setCurrentIndex(1);

    QStringList labels;
    for (const QLabel* label : help->primerPage()->findChildren<QLabel*>()) {
        QCOMPARE(label->textFormat(), Qt::PlainText);
        labels << label->text();
    }
    const std::vector<PrimerSection>& sections = primerSections();
    int programs = 0;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const QString title = QString::fromStdString(sections[i].title);
        QVERIFY2(labels.contains(title), qPrintable(title));
        for (const std::string& paragraph : sections[i].paragraphs) {
            QVERIFY(labels.contains(QString::fromStdString(paragraph)));
        }
        QPushButton* button = help->tryButton(static_cast<int>(i));
        QCOMPARE(button != nullptr, !sections[i].program.empty());
        if (button != nullptr) {
            ++programs;
            QCOMPARE(button->text(), QStringLiteral("Ausprobieren"));
            QCOMPARE(button->accessibleName(), QStringLiteral("Ausprobieren: ") + title);
        }
    }
    QCOMPARE(programs, 6);
}

void TeachingTest::tryProgram_data() {
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("declined") << QStringList{"Nein"} << true;
    QTest::newRow("save failed") << QStringList{"Ja", kUnwritable, "OK"} << false;
}

void TeachingTest::tryProgram() {
    QFETCH(QStringList, script);
    QFETCH(bool, replaced);
    const QString mine = QStringLiteral("* mein Programm\nSTP");
    m_form->programEditor()->setPlainText(mine);
    setCell(3, QStringLiteral("12"));
    TfrmHilfe* help = m_form->frmHilfe();
    m_form->btHelpClick();
    QVERIFY(QTest::qWaitForWindowExposed(help));
    help->pages()->setCurrentIndex(1);

    // The last section with a program.
    const std::vector<PrimerSection>& sections = primerSections();
    int section = static_cast<int>(sections.size()) - 1;
    while (sections[static_cast<std::size_t>(section)].program.empty()) {
        --section;
    }
    ModalDriver driver;
    play(driver, script);
    QTest::mouseClick(help->tryButton(section), Qt::LeftButton);
    QTRY_VERIFY(driver.done());
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(driver.boxes.size(), replaced ? 1 : 2);
    QCOMPARE(driver.boxes[0].text, QStringLiteral("Programm speichern?"));

    if (replaced) {
        QString expected = toQString(sections[static_cast<std::size_t>(section)].program);
        expected.replace(QStringLiteral("\r\n"), "\n");
        QCOMPARE(program(), expected);
        QVERIFY(!wb().flags().ProgramModified && !wb().flags().ProgramChecked);
    } else {
        QCOMPARE(program(), mine);
        QVERIFY(wb().flags().ProgramModified);
    }
    // The table is the learner's either way.
    QCOMPARE(cell(3), QStringLiteral("12"));
    QVERIFY(wb().flags().DataModified);
}

QTEST_MAIN(TeachingTest)
#include "teaching_test.moc"
