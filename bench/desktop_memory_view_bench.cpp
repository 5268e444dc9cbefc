// Painting the memory picture: the whole view (background, one frame, 512 squares) is drawn
// on every memory access, up to every 25 ms during a run at the fastest speed.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <string>

#include "memory_view.h"
#include "model/data_table.h"
#include "model/machine_state.h"

using namespace quarzel;

namespace {

// Every other cell holds a number, the last access is a write in the middle of the picture.
struct Scene {
    DataTable table;
    MachineState machine;
    MemoryView view{table, machine};
    QImage target;

    Scene(int width, int height) : target(width, height, QImage::Format_ARGB32_Premultiplied) {
        for (int row = 0; row < DataTable::kRowCount; row += 2) {
            table.setValue(row, std::to_string(row * 7 - 1000));
        }
        machine.LastAccessCell = 200;
        machine.LastAccessWrite = true;
        view.resize(width, height);
    }
};

void paintWholeView(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        scene.machine.LastAccessCell = scene.machine.LastAccessCell % 512 + 1;
        scene.view.render(&scene.target);
        benchmark::DoNotOptimize(scene.target.constBits());
    }
}
// The drawing area of an 800 x 600 window, and one large enough to show all 512 cells.
BENCHMARK(paintWholeView)->Args({338, 429})->Args({1000, 700})->Unit(benchmark::kMicrosecond);

void hoverOverCells(benchmark::State& state) {
    Scene scene(338, 429);
    int x = 0;
    for (auto _ : state) {
        x = (x + 7) % 338;
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 200), QPointF(x, 200), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&scene.view, &move);
    }
}
BENCHMARK(hoverOverCells)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
