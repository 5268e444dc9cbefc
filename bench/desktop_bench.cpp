// The desktop program's speed and size: one VM_Step with the window shown (table view and
// memory picture), one press of "Zurück" with the picture shown, a tick at "Direkt" with and
// without the loop watch, with the work kept and with the sentence line and the protocol drawn,
// "Testen" in the task window, building and showing the main window, and the cost of a start
// (time from process start to the first shown window, resident memory afterwards).
//
//   QT_QPA_PLATFORM=offscreen build-ui-bench/bench/desktop_bench
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QWindow>
#include <chrono>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "MainForm.h"
#include "aufgabe.h"
#include "files/program_file.h"
#include "program_editor.h"
#include "protocol_window.h"
#include "run_report.h"
#include "session/workbench.h"
#include "session/workbench_internals.h"
#include "trace_model.h"
#include "work_keeper.h"

using quarzel::TfrmMainForm;

namespace {

using Clock = std::chrono::steady_clock;

// A loop that reads and writes cell 1 on every pass; it never ends by itself.
const char* const kLoop = "MRK L\nLAD 1\nINC\nSTO 1\nJMP L\nSTP";

void waitUntilExposed(QWidget& window) {
    while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QCoreApplication::processEvents();
}

double residentMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            std::istringstream fields(line.substr(6));
            double kilobytes = 0;
            fields >> kilobytes;
            return kilobytes / 1024.0;
        }
    }
    return -1;
}

// Seconds since this process was started by the kernel (10 ms resolution).
double secondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // Field 22 (starttime, in clock ticks since boot) counts from after the command name.
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i) {
        fields >> field;
    }
    std::ifstream uptimeFile("/proc/uptime");
    double uptime = 0;
    uptimeFile >> uptime;
    return uptime - std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

struct StartFigures {
    double fromProcessStartMs = 0;
    double fromMainMs = 0;
    double residentMb = 0;
};
StartFigures g_start;

// A shown window with the loop checked and running; it keeps its work in `keptWorkFolder`
// unless that is empty.
std::unique_ptr<TfrmMainForm> runningWindow(bool picture, const QString& keptWorkFolder = {}) {
    auto window = std::make_unique<TfrmMainForm>();
    if (!keptWorkFolder.isEmpty()) {
        window->keepWorkIn(keptWorkFolder.toStdString());
    }
    window->resize(1004, 718);
    window->show();
    waitUntilExposed(*window);
    if (picture) {
        window->findChild<QAbstractButton*>(QStringLiteral("btView"))->click();
    }
    window->programEditor()->setPlainText(QString::fromLatin1(kLoop));
    quarzel::WorkbenchInternals wb(window->workbench());
    wb.runControl.btCheckClick();
    wb.runControl.btRunClick();
    if (!wb.machine.VM_Running) {
        return nullptr;
    }
    QCoreApplication::processEvents();
    return window;
}

// One instruction as a press of the step button makes it, followed by the event processing
// that puts its display updates on the screen.
void stepWithWindowShown(benchmark::State& state, bool picture) {
    auto window = runningWindow(picture);
    if (!window) {
        state.SkipWithError("the loop did not start");
        return;
    }
    quarzel::WorkbenchInternals wb(window->workbench());
    for (auto _ : state) {
        wb.runControl.btStepClick();
        QCoreApplication::processEvents();
    }
    if (!wb.machine.VM_Running) {
        state.SkipWithError("the run ended");
    }
    wb.flags.ProgramModified = false;
    wb.flags.DataModified = false;
}

// One press of "Zurück" (the button, as the learner presses it) taking back "STO 1", a step
// that wrote cell 1, with the picture repainting; the step before it is not timed.
void BM_StepBackPictureShown(benchmark::State& state) {
    auto window = runningWindow(true);
    if (!window) {
        state.SkipWithError("the loop did not start");
        return;
    }
    quarzel::WorkbenchInternals wb(window->workbench());
    auto* back = window->findChild<QAbstractButton*>(QStringLiteral("btBack"));
    for (int i = 0; i < 3; ++i) {  // MRK L, LAD 1, INC: "STO 1" is next
        wb.runControl.btStepClick();
    }
    for (auto _ : state) {
        state.PauseTiming();
        wb.runControl.btStepClick();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        back->click();
        QCoreApplication::processEvents();
    }
    if (!wb.machine.VM_Running || wb.machine.StepCount != 3 || wb.machine.VM_IP != 3) {
        state.SkipWithError("the step was not taken back");
    }
    wb.flags.ProgramModified = false;
    wb.flags.DataModified = false;
}

// At "Direkt" the timer ticks 40 times a second, and a window that keeps its work writes its
// record at most once a second while the run changes the table.
constexpr int kDirectTicksPerSecond = 40;

// What the window draws of a tick besides its own widgets: nothing but what its frame timer
// draws when it comes (every 16 ms of the loop's own pace), or after every tick the frame that
// the real pace gives it (40 ticks and 60 frames a second: each tick is drawn), with the line
// "Was geschah" alone or with the window "Protokoll" open as well (its newest row in view, the
// slider's range). The run report's clock goes on by a tick's 25 ms at every tick, as at the
// real pace, so that what it draws only every so many milliseconds comes as often as there.
enum class Report { Frame, Sentence, Protocol };

// One tick of the fastest timer with the table shown: through the session, which watches a
// timed run for an endless loop (the loop here never repeats a state), against the bare step
// without the session's watch and breakpoint look, through the session in a window that keeps
// its work, and through the session with the sentence line, and the open protocol, drawn
// after every tick. Here the ticks follow each other without waiting, so the keeper's own timer
// would keep far more rarely than once in 40 ticks; every 40th tick is therefore followed by the
// keep that its timer makes at the real pace (the record built and handed to the writer's thread,
// which writes it to a temporary folder meanwhile).
void directTick(benchmark::State& state, bool watched, bool keep = false,
                Report report = Report::Frame,
                std::int64_t msPerTick = 1000 / kDirectTicksPerSecond) {
    QTemporaryDir folder;
    auto window = runningWindow(false, keep ? folder.path() : QString());
    if (!window) {
        state.SkipWithError("the loop did not start");
        return;
    }
    quarzel::WorkbenchInternals wb(window->workbench());
    window->workbench().speedClick(quarzel::Speed::Direct);
    wb.views.runPanel.setTimerEnabled(quarzel::RunTimer::Direct, false);  // ticks come from here
    if (report == Report::Protocol) {
        window->btProtocolClick();
        waitUntilExposed(*window->frmProtocol());
    }
    auto clockMs = std::make_shared<std::int64_t>(0);
    window->runReport()->setClock([clockMs] { return *clockMs; });
    int tick = 0;
    for (auto _ : state) {
        *clockMs += msPerTick;
        if (watched) {
            window->workbench().timerTick(quarzel::RunTimer::Direct);
        } else {
            wb.runControl.tDirectTimer();
        }
        if (report != Report::Frame) {
            window->runReport()->drawNow();
        }
        QCoreApplication::processEvents();
        if (keep && ++tick == kDirectTicksPerSecond) {
            tick = 0;
            window->workKeeper()->keepNow();
        }
    }
    if (!wb.machine.VM_Running || wb.machine.RunMode != quarzel::Speed::Direct) {
        state.SkipWithError("the run ended or paused");
    }
    if (report == Report::Protocol && window->frmProtocol()->model()->rowCount() == 0) {
        state.SkipWithError("the protocol showed no rows");
    }
    if (keep && state.iterations() >= kDirectTicksPerSecond) {
        window->workKeeper()->waitUntilWritten();
        if (QDir(folder.path()).entryList({QStringLiteral("*.qrzl")}).size() != 1) {
            state.SkipWithError("no record was kept");
        }
    }
    wb.flags.ProgramModified = false;
    wb.flags.DataModified = false;
}
void BM_DirectTickLoopWatch(benchmark::State& state) {
    directTick(state, true);
}
void BM_DirectTickBare(benchmark::State& state) {
    directTick(state, false);
}
void BM_DirectTickKeepingWork(benchmark::State& state) {
    directTick(state, true, true);
}
void BM_DirectTickSentenceLine(benchmark::State& state) {
    directTick(state, true, false, Report::Sentence);
}
void BM_DirectTickProtocolOpen(benchmark::State& state) {
    directTick(state, true, false, Report::Protocol);
}
// The same with a second passing at every tick: the protocol is drawn at every tick, the cost
// of one of its draws (with the tick's own).
void BM_DirectTickProtocolEveryTick(benchmark::State& state) {
    directTick(state, true, false, Report::Protocol, 1000);
}

// The window's own share of one keep: the record of program and table built, compared with the
// last one and handed to the writer's thread (which writes the records meanwhile, each newer one
// replacing the one still waiting).
void BM_KeepOnce(benchmark::State& state) {
    QTemporaryDir folder;
    auto window = runningWindow(false, folder.path());
    if (!window) {
        state.SkipWithError("the loop did not start");
        return;
    }
    quarzel::WorkbenchInternals wb(window->workbench());
    quarzel::WorkKeeper& keeper = *window->workKeeper();
    int value = 0;
    for (auto _ : state) {
        wb.table.setValue(0, std::to_string(++value));  // as the machine writes a cell
        keeper.keepNow();
    }
    keeper.waitUntilWritten();
    wb.flags.ProgramModified = false;
    wb.flags.DataModified = false;
}

// "Testen" in the task window on a program of examples/aufgaben/abgaben.
void testTask(benchmark::State& state, const QString& taskPath, const char* program,
              const QString& expectedPoints) {
    TfrmMainForm window;
    quarzel::TfrmAufgabe* task = window.frmAufgabe();
    if (!task->session().load(taskPath.toStdString())) {
        state.SkipWithError("the task was refused");
        return;
    }
    window.programEditor()->setText(
        quarzel::readProgramFile(QUARZEL_EXAMPLES_DIR "/aufgaben/abgaben/" + std::string(program)));
    for (auto _ : state) {
        task->session().test();
    }
    if (task->lbPoints()->text() != expectedPoints) {
        state.SkipWithError(qPrintable(QStringLiteral("graded: ") + task->lbPoints()->text()));
    }
    quarzel::WorkbenchInternals(window.workbench()).flags.ProgramModified = false;
}
void BM_TestWorkedExample(benchmark::State& state) {
    testTask(state, QStringLiteral(QUARZEL_EXAMPLES_DIR "/aufgaben/summe.toml"), "richtig.prg",
             QStringLiteral("4 von 4 Punkten"));
}
// 30 cases of a sum task given by `anfang`. In every third, cell 13 is 1 and the program's
// last check "LAD 13 / JNE ANFANG" sends it back to its start: its state repeats, an endless
// loop.
void BM_TestThirtyCases(benchmark::State& state) {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("dreissig.toml")));
    if (!file.open(QIODevice::WriteOnly)) {
        state.SkipWithError("no task file");
        return;
    }
    std::string toml = "titel = \"Dreißig Fälle\"\n";
    for (int c = 1; c <= 30; ++c) {
        toml += "[[fall]]\nname = \"Fall " + std::to_string(c) + "\"\nanfang = { ";
        for (int cell = 1; cell <= 10; ++cell) {
            toml += std::to_string(cell) + " = " + std::to_string(cell * c) + ", ";
        }
        toml += "12 = 11, 13 = " + std::to_string(c % 3 == 0 ? 1 : 0) + " }\n";
        toml += "[fall.erwartet]\nfenster = " + std::to_string(55 * c) + "\n";
    }
    file.write(toml.data(), static_cast<qint64>(toml.size()));
    file.close();
    TfrmMainForm window;
    quarzel::TfrmAufgabe* task = window.frmAufgabe();
    if (!task->session().load(file.fileName().toStdString())) {
        state.SkipWithError("the task was refused");
        return;
    }
    window.programEditor()->setPlainText(QStringLiteral(
        "MRK ANFANG\nCLA\nSTO 11\nINC\nTAX\nMRK S\nLAD 11\nADD [X]\nSTO 11\nTXA\nINC\n"
        "TAX\nSUB 12\nJNE S\nLAD 13\nJNE ANFANG\nLAD 11\nOUT\nSTP"));
    for (auto _ : state) {
        task->session().test();
    }
    if (task->lbPoints()->text() != QStringLiteral("20 von 30 Punkten")) {
        state.SkipWithError(qPrintable(QStringLiteral("graded: ") + task->lbPoints()->text()));
    }
    quarzel::WorkbenchInternals(window.workbench()).flags.ProgramModified = false;
}

void BM_StepTableShown(benchmark::State& state) {
    stepWithWindowShown(state, false);
}
void BM_StepPictureShown(benchmark::State& state) {
    stepWithWindowShown(state, true);
}

// Building the main window (with its reference window and number dialog) and showing it, in a
// process whose QApplication already exists.
void BM_MainWindowCreateAndShow(benchmark::State& state) {
    for (auto _ : state) {
        auto window = std::make_unique<TfrmMainForm>();
        window->show();
        waitUntilExposed(*window);
        state.PauseTiming();
        window.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

// The figures of this process's own start, measured once before the other benchmarks ran.
void BM_ProcessStart(benchmark::State& state) {
    for (auto _ : state) {
        state.SetIterationTime(g_start.fromProcessStartMs / 1000.0);
    }
    state.counters["from_exec_ms"] = g_start.fromProcessStartMs;
    state.counters["from_main_ms"] = g_start.fromMainMs;
    state.counters["rss_after_show_MB"] = g_start.residentMb;
}

}  // namespace

int main(int argc, char** argv) {
    const auto mainEntered = Clock::now();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quarzel 3"));
    {
        TfrmMainForm first;
        first.show();
        waitUntilExposed(first);
        g_start.fromProcessStartMs = secondsSinceProcessStart() * 1000.0;
        g_start.fromMainMs =
            std::chrono::duration<double, std::milli>(Clock::now() - mainEntered).count();
        g_start.residentMb = residentMegabytes();
    }

    benchmark::RegisterBenchmark("BM_ProcessStart", BM_ProcessStart)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_StepTableShown", BM_StepTableShown)
        ->Unit(benchmark::kMicrosecond)
        ->Repetitions(9)
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("BM_StepPictureShown", BM_StepPictureShown)
        ->Unit(benchmark::kMicrosecond)
        ->Repetitions(9)
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("BM_StepBackPictureShown", BM_StepBackPictureShown)
        ->Unit(benchmark::kMicrosecond)
        ->Repetitions(9)
        ->ReportAggregatesOnly(true);
    for (const auto& [name, bench] :
         {std::pair{"BM_DirectTickLoopWatch", BM_DirectTickLoopWatch},
          std::pair{"BM_DirectTickSentenceLine", BM_DirectTickSentenceLine},
          std::pair{"BM_DirectTickProtocolOpen", BM_DirectTickProtocolOpen},
          std::pair{"BM_DirectTickProtocolEveryTick", BM_DirectTickProtocolEveryTick},
          std::pair{"BM_DirectTickBare", BM_DirectTickBare},
          std::pair{"BM_DirectTickKeepingWork", BM_DirectTickKeepingWork}}) {
        benchmark::RegisterBenchmark(name, bench)
            ->Unit(benchmark::kMicrosecond)
            ->Repetitions(9)
            ->ReportAggregatesOnly(true);
    }
    benchmark::RegisterBenchmark("BM_KeepOnce", BM_KeepOnce)
        ->Unit(benchmark::kMicrosecond)
        ->Repetitions(9)
        ->ReportAggregatesOnly(true);
    for (const auto& [name, bench] : {std::pair{"BM_TestWorkedExample", BM_TestWorkedExample},
                                      std::pair{"BM_TestThirtyCases", BM_TestThirtyCases}}) {
        benchmark::RegisterBenchmark(name, bench)->Unit(benchmark::kMillisecond)->UseRealTime();
    }
    benchmark::RegisterBenchmark("BM_MainWindowCreateAndShow", BM_MainWindowCreateAndShow)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(9)
        ->ReportAggregatesOnly(true);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
