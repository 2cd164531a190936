// One frame of the scene as the window draws it, with the static layers that
// startup builds from the shipped data. Needs an X display: run it under
// xvfb-run (see the README).
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <QApplication>
#include <QElapsedTimer>
#include <memory>

#include "render/gl_probe.h"
#include "shell/stage.h"

namespace {

netglobe::Stage* stage = nullptr;

void drawframes(benchmark::State& state) {
  for (auto _ : state) {
    stage->Render();
    stage->makeCurrent();
    glFinish();  // the frame is drawn, not only queued
    stage->doneCurrent();
  }
}

// The layers are taken away one by one, so the benchmarks run in this order.
void BM_frame_globe_coast_firs(benchmark::State& state) { drawframes(state); }
void BM_frame_globe_coast(benchmark::State& state) {
  stage->discard(netglobe::kFirList);
  drawframes(state);
}
void BM_frame_globe_only(benchmark::State& state) {
  stage->discard(netglobe::kCoastList);
  drawframes(state);
}

BENCHMARK(BM_frame_globe_coast_firs)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_frame_globe_coast)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_frame_globe_only)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  netglobe::requestsurfaceformat();
  QApplication app(argc, argv);
  // The program's own folder: the data the build copied beside the programs.
  auto window = std::make_unique<netglobe::Stage>(std::nullopt,
                                                  QCoreApplication::applicationDirPath().toStdString());
  stage = window.get();
  stage->show();
  QElapsedTimer clock;
  clock.start();
  while (!stage->started() && clock.elapsed() < 30000) QCoreApplication::processEvents();
  if (!stage->started()) return 1;
  stage->view() = netglobe::ViewState{};  // the whole globe, as after startup

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
