// The window keeps the learner's work through a crash: killed after typing, its work is offered
// at the next start and restored; "Nein" removes it; a clean end leaves nothing; a damaged
// record gives a note and an empty window; a run is kept before it starts and at most once a
// second while it goes on.
#include <QAbstractButton>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <memory>
#include <set>

#include "MainForm.h"
#include "data_grid.h"
#include "modal_driver.h"
#include "program_editor.h"
#include "qt_text.h"
#include "session/workbench.h"
#include "work_keeper.h"

using namespace quarzel;

namespace {

const QString kProgram = QStringLiteral("* Zähler\nLAD 5\nSTP");

std::unique_ptr<TfrmMainForm> startIn(const QString& folder) {
    auto window = std::make_unique<TfrmMainForm>();
    window->keepWorkIn(pathFromQString(folder));
    window->show();
    QCoreApplication::processEvents();  // the offer comes once the window is shown
    return window;
}

void typeWork(TfrmMainForm& window) {
    window.programEditor()->setPlainText(kProgram);
    QAbstractItemModel* model = window.dataGrid()->model();
    model->setData(model->index(4, 1), QStringLiteral("-17"));
    model->setData(model->index(4, 2), QStringLiteral("Äpfel"));
}

// A window of its own process that types, waits until its work is kept and then waits to be
// killed, as a teacher's tool or a switched-off PC ends it.
int typeAndWaitForTheKill(const QString& folder) {
    const auto window = startIn(folder);
    typeWork(*window);
    while (QDir(folder).entryList({QStringLiteral("*.qrzl")}).isEmpty()) {
        QTest::qWait(20);  // kept once typing has paused
    }
    std::puts("kept");
    std::fflush(stdout);
    return QApplication::exec();
}

}  // namespace

class WorkKeeperTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void cleanup() { m_form.reset(); }

    void aKilledWindowsWorkIsOfferedAndRestored();
    void neinRemovesTheRecord();
    void aCleanEndLeavesNothing();
    void aDamagedRecordGivesANoteAndAnEmptyWindow();
    void keptBeforeARunAndAtMostOnceASecondDuringIt();

  private:
    QStringList files(const QString& pattern = QStringLiteral("*")) const {
        return QDir(m_dir->path()).entryList({pattern}, QDir::Files);
    }
    QByteArray record() const {
        QFile file(m_dir->filePath(files(QStringLiteral("*.qrzl")).value(0)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // A window in this process that typed, had its work kept and was dropped unclosed.
    void leaveWork() {
        const auto window = startIn(m_dir->path());
        typeWork(*window);
        window->workKeeper()->keepNow();
        window->workKeeper()->waitUntilWritten();
    }
    void verifyEmpty() {
        QCOMPARE(m_form->programEditor()->toPlainText(), QString());
        QCOMPARE(m_form->dataGrid()->model()->index(4, 1).data().toString(), QStringLiteral("0"));
        QVERIFY(!m_form->workbench().hasUnsavedWork());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TfrmMainForm> m_form;
};

void WorkKeeperTest::aKilledWindowsWorkIsOfferedAndRestored() {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUARZEL_KEEP_CHILD"), m_dir->path());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForReadyRead(30000));
    QCOMPARE(child.readAllStandardOutput(), QByteArray("kept\n"));
    child.kill();
    QVERIFY(child.waitForFinished());
    QCOMPARE(files(QStringLiteral("*.qrzl")).size(), 1);

    ModalDriver driver;
    driver.box(QMessageBox::Yes);
    m_form = startIn(m_dir->path());
    QTRY_VERIFY(driver.done());
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(driver.boxes.size(), 1);
    QCOMPARE(driver.boxes[0].caption, QStringLiteral("QRZL"));
    QCOMPARE(driver.boxes[0].text,
             QStringLiteral("Programm und Daten der letzten Sitzung wiederherstellen?"));
    QCOMPARE(driver.boxes[0].icon, QMessageBox::Question);

    QCOMPARE(m_form->programEditor()->toPlainText(), kProgram);
    QAbstractItemModel* model = m_form->dataGrid()->model();
    QCOMPARE(model->index(4, 1).data().toString(), QStringLiteral("-17"));
    QCOMPARE(model->index(4, 2).data().toString(), QStringLiteral("Äpfel"));
    QVERIFY(m_form->workbench().hasUnsavedWork());
    // The work lives on in this window's own record; the killed window's is gone.
    m_form->workKeeper()->waitUntilWritten();
    QCOMPARE(files(QStringLiteral("*.qrzl")).size(), 1);
    QCOMPARE(record(), QByteArray::fromStdString(m_form->workbench().keptWork()));
}

void WorkKeeperTest::neinRemovesTheRecord() {
    leaveWork();
    {
        ModalDriver driver;
        driver.box(QMessageBox::No);
        m_form = startIn(m_dir->path());
        QTRY_VERIFY(driver.done());
    }
    verifyEmpty();
    QCOMPARE(files(), QStringList());
    m_form.reset();
    ModalDriver quiet;
    m_form = startIn(m_dir->path());
    QTest::qWait(50);
    QVERIFY(quiet.boxes.isEmpty() && quiet.unexpected.isEmpty());
}

void WorkKeeperTest::aCleanEndLeavesNothing() {
    m_form = startIn(m_dir->path());
    // Changed and changed back: nothing to keep.
    m_form->programEditor()->setPlainText(QStringLiteral("X"));
    m_form->programEditor()->setPlainText(QString());
    m_form->workKeeper()->keepNow();
    m_form->workKeeper()->waitUntilWritten();
    QCOMPARE(files(), QStringList());

    typeWork(*m_form);
    m_form->workKeeper()->keepNow();
    m_form->workKeeper()->waitUntilWritten();
    {
        // A save that fails keeps the window open, and its record with it.
        ModalDriver driver;
        driver.box(QMessageBox::Yes);
        driver.file(QStringLiteral("/sys/quarzel-kann-hier-nicht-schreiben.prg"));
        driver.box(QMessageBox::Ok);
        QVERIFY(!m_form->close());
        QVERIFY(driver.done());
    }
    QCOMPARE(files(QStringLiteral("*.qrzl")).size(), 1);
    ModalDriver driver;
    driver.box(QMessageBox::No);
    driver.box(QMessageBox::No);
    QVERIFY(m_form->close());
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(files(), QStringList());
}

void WorkKeeperTest::aDamagedRecordGivesANoteAndAnEmptyWindow() {
    leaveWork();
    const QString path = m_dir->filePath(files(QStringLiteral("*.qrzl")).value(0));
    QVERIFY(QFile::resize(path, QFileInfo(path).size() / 2));

    ModalDriver driver;
    driver.box(QMessageBox::Ok);
    m_form = startIn(m_dir->path());
    QTRY_VERIFY(driver.done());
    QCOMPARE(driver.unexpected, QStringList());
    QCOMPARE(driver.boxes.size(), 1);
    QCOMPARE(driver.boxes[0].caption, QStringLiteral("Hinweis"));
    QCOMPARE(driver.boxes[0].icon, QMessageBox::Information);
    QCOMPARE(driver.boxes[0].text,
             QStringLiteral("Die zwischengespeicherte Arbeit der letzten Sitzung ist beschädigt "
                            "(unvollständig) und wurde nicht geladen; sie bleibt gesondert "
                            "aufbewahrt."));
    verifyEmpty();
    QCOMPARE(files(QStringLiteral("*.beschaedigt")).size(), 1);
    QCOMPARE(files(QStringLiteral("*.qrzl")), QStringList());
}

void WorkKeeperTest::keptBeforeARunAndAtMostOnceASecondDuringIt() {
    m_form = startIn(m_dir->path());
    m_form->programEditor()->setPlainText(QStringLiteral("MRK L\nLAD 1\nINC\nSTO 1\nJMP L\nSTP"));
    m_form->findChild<QAbstractButton*>(QStringLiteral("rbDirect"))->click();
    m_form->findChild<QAbstractButton*>(QStringLiteral("btCheck"))->click();
    m_form->findChild<QAbstractButton*>(QStringLiteral("btRun"))->click();
    QVERIFY(m_form->workbench().machine().VM_Running);
    m_form->workKeeper()->waitUntilWritten();
    QVERIFY2(record().contains("\r\n1:0:\r\n"), "the table before the run");

    std::set<QByteArray> seen{record()};
    QElapsedTimer watch;
    watch.start();
    while (watch.elapsed() < 2500) {
        QTest::qWait(20);
        seen.insert(record());
    }
    QVERIFY2(seen.size() >= 2, "kept during the run");
    QVERIFY2(seen.size() <= 4, qPrintable(QString::number(seen.size())));
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString childFolder = qEnvironmentVariable("QUARZEL_KEEP_CHILD");
    if (!childFolder.isEmpty()) {
        return typeAndWaitForTheKill(childFolder);
    }
    WorkKeeperTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "work_keeper_test.moc"
