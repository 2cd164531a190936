// One frame of the scene as the window draws it, with the static layers that
// startup builds from the shipped data. Needs an X display: run it under
// xvfb-run (see the README).
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <QApplication>
#include <QOpenGLWidget>
#include <memory>

#include "bench_support.h"
#include "base/reference_files.h"
#include "feed/status_parser.h"
#include "layers/static_layers.h"
#include "refdata/directories.h"
#include "render/gl_probe.h"
#include "render/gl_scene.h"
#include "session/traffic_plan.h"

namespace {

// The window's GL side at its design size, with the scene after startup.
struct Stage {
  QOpenGLWidget widget;
  netglobe::GlScene gl;
  netglobe::SceneState scene;
  netglobe::ViewState view;  // the whole globe, as after startup

  void open(const std::string& folder) {
    widget.resize(986, 932);
    widget.show();
    while (!widget.isValid()) QCoreApplication::processEvents();
    widget.makeCurrent();
    gl.open();
    gl.setstartstate();
    const qreal scale = widget.devicePixelRatioF();
    gl.resize(int(widget.width() * scale), int(widget.height() * scale));
    const netglobe::ReferenceFiles files = netglobe::referencefilesin(folder);
    gl.loadglobetexture(files.globeimage);
    gl.buildglobes();
    gl.compile(netglobe::drawgrade());
    gl.compile(netglobe::drawcoast(files.coastline));
    gl.compile(netglobe::drawfirs(files.fir1));
  }
  void compile(const netglobe::Layer& layer) { gl.compile(layer); }
  void discard(int list) { gl.discard(list); }
};

Stage* stage = nullptr;

void drawframes(benchmark::State& state) {
  for (auto _ : state) {
    stage->gl.drawframe(stage->scene, stage->view);
    glFinish();  // the frame is drawn, not only queued
  }
}

// The layers of a refresh at 10000 places from the plan every refresh
// follows, built from the shipped data beside the program: the traffic, or
// the labels (pilot labels in their richest mode).
std::vector<netglobe::Layer> refreshlayers(bool labels) {
  netglobe::StatusLists lists;
  const std::string path = netbench::storedsnapshot(10000);
  netglobe::what2array(path, lists);
  netglobe::RefDirectories refs(QCoreApplication::applicationDirPath().toStdString());
  refs.refresh();
  const netglobe::FriendIds friends;
  const netglobe::TrafficSources sources{lists, refs, friends, path, 1, 5};
  std::vector<netglobe::Layer> layers;
  for (const netglobe::PlannedLayer& planned : netglobe::refreshplan()) {
    const bool label = planned.layer >= netglobe::TrafficLayer::CtrLabels;
    if (label == labels) layers.push_back(netglobe::buildtraffic(planned.layer, planned.size, sources));
  }
  return layers;
}

const std::vector<netglobe::Layer>& labellayers() {
  static const std::vector<netglobe::Layer> layers = refreshlayers(true);
  return layers;
}

const std::vector<netglobe::Layer>& trafficlayers() {
  static const std::vector<netglobe::Layer> layers = refreshlayers(false);
  return layers;
}

void compiletraffic() {
  for (const netglobe::Layer& layer : trafficlayers()) stage->compile(layer);
  glFinish();
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
  glFinish();
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
  stage->scene.pilotlabels = 1;
  drawframes(state);
}

// Station labels switched on as well; all label lists are taken away again
// for the frames after this one.
void BM_frame_globe_coast_firs_all_labels(benchmark::State& state) {
  compilelabels();
  stage->scene.stationlabels = 1;
  stage->scene.pilotlabels = 1;
  drawframes(state);
  stage->scene.stationlabels = -1;
  stage->scene.pilotlabels = -1;
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
  Stage window;
  window.open(QCoreApplication::applicationDirPath().toStdString());
  stage = &window;

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
