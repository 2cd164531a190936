// One frame of the scene as the window draws it, with the static layers that
// startup builds from the shipped data. Needs an X display: run it under
// xvfb-run (see the README).
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <QApplication>
#include <QElapsedTimer>
#include <memory>

#include "bench_support.h"
#include "feed/status_parser.h"
#include "layers/aircraft_layers.h"
#include "layers/fir_layers.h"
#include "layers/station_layers.h"
#include "lists/pilot_labels.h"
#include "lists/station_labels.h"
#include "refdata/directories.h"
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

// The four label lists of a refresh at 10000 places (pilot labels in their
// richest mode), built from the shipped data beside the program.
const std::vector<netglobe::Layer>& labellayers() {
  static const std::vector<netglobe::Layer> layers = [] {
    netglobe::StatusLists lists;
    netglobe::what2array(netbench::storedsnapshot(10000), lists);
    netglobe::RefDirectories refs(QCoreApplication::applicationDirPath().toStdString());
    refs.refresh();
    return std::vector<netglobe::Layer>{
        netglobe::showctrname(lists, refs.firs),
        netglobe::showaprname(lists, refs.airports, refs.firs),
        netglobe::showtwrname(lists, refs.airports),
        netglobe::showpilotname(lists, refs.airports, 5)};
  }();
  return layers;
}

// The six traffic layers of a refresh at 10000 places.
const std::vector<netglobe::Layer>& trafficlayers() {
  static const std::vector<netglobe::Layer> layers = [] {
    netglobe::StatusLists lists;
    const std::string path = netbench::storedsnapshot(10000);
    netglobe::what2array(path, lists);
    netglobe::RefDirectories refs(QCoreApplication::applicationDirPath().toStdString());
    refs.refresh();
    return std::vector<netglobe::Layer>{
        netglobe::drawaircraft(lists, netglobe::FriendIds{}, 0.05),
        netglobe::drawaircraftdir(lists, refs.airports),
        netglobe::drawactfir(lists, refs.firs, refs.outlines, 1),
        netglobe::drawchiefs(path, refs.outlines),
        netglobe::drawapp(lists, refs.airports, 0.8),
        netglobe::drawtwr(lists, refs.airports, 0.08)};
  }();
  return layers;
}

void compiletraffic() {
  for (const netglobe::Layer& layer : trafficlayers()) stage->compile(layer);
  stage->makeCurrent();
  glFinish();
  stage->doneCurrent();
}

// Compiling draws each list once as well (compile and execute); glFinish
// included.
void BM_frame_traffic_compile(benchmark::State& state) {
  for (auto _ : state) compiletraffic();
}

// The static layers and the six traffic layers, no labels; the traffic is
// taken away again for the frames after this one.
void BM_frame_globe_coast_firs_traffic(benchmark::State& state) {
  compiletraffic();
  drawframes(state);
  for (const netglobe::Layer& layer : trafficlayers()) stage->discard(layer.list);
}

void compilelabels() {
  for (const netglobe::Layer& layer : labellayers()) stage->compile(layer);
  stage->makeCurrent();
  glFinish();
  stage->doneCurrent();
}

// Compiling draws the lists once as well (compile and execute).
void BM_frame_labels_compile(benchmark::State& state) {
  for (auto _ : state) compilelabels();
  const auto glyphs = [](int i) {
    return static_cast<double>(labellayers()[std::size_t(i)].ops.countof(netglobe::DrawOp::Kind::Glyph));
  };
  state.counters["station_glyphs"] = glyphs(0) + glyphs(1) + glyphs(2);
  state.counters["pilot_glyphs"] = glyphs(3);
}

// The static layers with the pilot labels, as the view shows them after the
// start zoom.
void BM_frame_globe_coast_firs_pilotlabels(benchmark::State& state) {
  compilelabels();
  stage->scene().pilotlabels = 1;
  drawframes(state);
}

// Station labels switched on as well; all label lists are taken away again
// for the frames after this one.
void BM_frame_globe_coast_firs_all_labels(benchmark::State& state) {
  compilelabels();
  stage->scene().stationlabels = 1;
  stage->scene().pilotlabels = 1;
  drawframes(state);
  stage->scene().stationlabels = -1;
  stage->scene().pilotlabels = -1;
  for (int list = netglobe::kCtrLabelList; list <= netglobe::kPilotLabelList; ++list) {
    stage->discard(list);
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

BENCHMARK(BM_frame_traffic_compile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_frame_globe_coast_firs_traffic)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_frame_labels_compile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_frame_globe_coast_firs_pilotlabels)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_frame_globe_coast_firs_all_labels)->Unit(benchmark::kMillisecond)->UseRealTime();
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
