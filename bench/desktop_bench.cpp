// The desktop program's speed and size: one VM_Step with the window shown (table view and
// memory picture), one press of "Zurück" with the picture shown, building and showing the main
// window, and the cost of a start (time from process start to the first shown window, resident
// memory afterwards).
//
//   QT_QPA_PLATFORM=offscreen build-ui-bench/bench/desktop_bench
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QAbstractButton>
#include <QApplication>
#include <QWindow>
#include <chrono>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "MainForm.h"
#include "program_editor.h"
#include "session/workbench.h"

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

// A shown window with the loop checked and running.
std::unique_ptr<TfrmMainForm> runningWindow(bool picture) {
    auto window = std::make_unique<TfrmMainForm>();
    window->resize(1004, 718);
    window->show();
    waitUntilExposed(*window);
    if (picture) {
        window->findChild<QAbstractButton*>(QStringLiteral("btView"))->click();
    }
    window->programEditor()->setPlainText(QString::fromLatin1(kLoop));
    quarzel::Workbench& wb = window->workbench();
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
    quarzel::Workbench& wb = window->workbench();
    for (auto _ : state) {
        wb.runControl.btStepClick();
        QCoreApplication::processEvents();
    }
    if (!wb.machine.VM_Running) {
        state.SkipWithError("the run ended");
    }
    window->workbench().flags.ProgramModified = false;
    window->workbench().flags.DataModified = false;
}

// One press of "Zurück" (the button, as the learner presses it) taking back "STO 1", a step
// that wrote cell 1, with the picture repainting; the step before it is not timed.
void BM_StepBackPictureShown(benchmark::State& state) {
    auto window = runningWindow(true);
    if (!window) {
        state.SkipWithError("the loop did not start");
        return;
    }
    quarzel::Workbench& wb = window->workbench();
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
    window->workbench().flags.ProgramModified = false;
    window->workbench().flags.DataModified = false;
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
    benchmark::RegisterBenchmark("BM_MainWindowCreateAndShow", BM_MainWindowCreateAndShow)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(9)
        ->ReportAggregatesOnly(true);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
