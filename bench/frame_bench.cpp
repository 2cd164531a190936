// One frame of the scene as the window draws it, through the GL scene alone:
// the static layers that startup builds from the shipped data, and the
// traffic and label layers of a network of N places (the benchmark's
// argument: 600, 3000, 10000). Needs an X display: run it under xvfb-run
// (see the README).
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <QApplication>
#include <QOpenGLWidget>
#include <map>
#include <memory>
#include <vector>

#include "bench_support.h"
#include "base/reference_files.h"
#include "feed/status_parser.h"
#include "layers/static_layers.h"
#include "refdata/directories.h"
#include "render/gl_probe.h"
#include "render/gl_scene.h"
#include "session/traffic_plan.h"

namespace {

using netglobe::Layer;

// The window's size at start.
constexpr int kWidth = 986;
constexpr int kHeight = 932;

// The GL scene in a bare GL widget whose context stays current for the
// whole run, with the globe, coastlines and FIR outlines built.
struct Frame {
  QOpenGLWidget widget;
  netglobe::GlScene gl;
  netglobe::SceneState scene;
  netglobe::ViewState view;  // the whole globe, as after startup
  std::vector<Layer> statics;
};
Frame* frame = nullptr;

std::string programfolder() { return QCoreApplication::applicationDirPath().toStdString(); }

void drawframes(benchmark::State& state) {
  for (auto _ : state) {
    frame->gl.drawframe(frame->scene, frame->view);
    glFinish();  // the frame is drawn, not only queued
  }
}

// Compiling draws each display list once as well, as the window's builds
// do; label layers are drawn by the frames alone.
void compile(const std::vector<Layer>& layers) {
  for (const Layer& layer : layers) frame->gl.compile(layer);
  glFinish();
}

void discard(const std::vector<Layer>& layers) {
  for (const Layer& layer : layers) frame->gl.discard(layer.list);
}

struct Network {
  std::vector<Layer> traffic;  // the six traffic layers of a refresh
  std::vector<Layer> labels;   // the four label layers, pilot labels in their richest mode
  Layer outlinesonly;          // the active FIRs with their fills off (key c)
};

// The layers of a refresh at this many places, built from the shipped
// reference data beside the program.
const Network& network(int places) {
  static std::map<int, Network> networks;
  auto found = networks.find(places);
  if (found != networks.end()) return found->second;
  netglobe::StatusLists lists;
  const std::string path = netbench::storedsnapshot(places);
  netglobe::what2array(path, lists);
  netglobe::RefDirectories refs(programfolder());
  refs.refresh();
  Network& n = networks[places];
  // The plan every refresh follows, its sizes included.
  const netglobe::FriendIds friends;
  const netglobe::TrafficSources sources{lists, refs, friends, path, 1, 5};
  for (const netglobe::PlannedLayer& planned : netglobe::refreshplan()) {
    const bool label = planned.layer >= netglobe::TrafficLayer::CtrLabels;
    (label ? n.labels : n.traffic).push_back(netglobe::buildtraffic(planned.layer, planned.size, sources));
    if (planned.layer == netglobe::TrafficLayer::ActiveFir) {
      netglobe::TrafficSources off = sources;
      off.actfirmode = -1;
      n.outlinesonly = netglobe::buildtraffic(planned.layer, planned.size, off);
    }
  }
  return n;
}

const Network& argnetwork(const benchmark::State& state) { return network(int(state.range(0))); }

void BM_frame_traffic_compile(benchmark::State& state) {
  const Network& n = argnetwork(state);
  for (auto _ : state) compile(n.traffic);
  discard(n.traffic);
}

// The static layers and the six traffic layers, no labels.
void BM_frame_globe_coast_firs_traffic(benchmark::State& state) {
  const Network& n = argnetwork(state);
  compile(n.traffic);
  drawframes(state);
  discard(n.traffic);
}

// The same with the active FIRs outlined only (key c).
void BM_frame_globe_coast_firs_traffic_nofills(benchmark::State& state) {
  const Network& n = argnetwork(state);
  compile(n.traffic);
  frame->gl.compile(n.outlinesonly);
  drawframes(state);
  discard(n.traffic);
}

void BM_frame_labels_compile(benchmark::State& state) {
  const Network& n = argnetwork(state);
  for (auto _ : state) compile(n.labels);
  discard(n.labels);
  const auto glyphs = [&n](std::size_t i) {
    return static_cast<double>(n.labels[i].ops.countof(netglobe::DrawOp::Kind::Glyph));
  };
  state.counters["station_glyphs"] = glyphs(0) + glyphs(1) + glyphs(2);
  state.counters["pilot_glyphs"] = glyphs(3);
}

// The static layers with the pilot labels, as the view shows them after the
// start zoom.
void BM_frame_globe_coast_firs_pilotlabels(benchmark::State& state) {
  const Network& n = argnetwork(state);
  compile(n.labels);
  frame->scene.pilotlabels = 1;
  drawframes(state);
  frame->scene.pilotlabels = -1;
  discard(n.labels);
}

// Station labels switched on as well (key n).
void BM_frame_globe_coast_firs_all_labels(benchmark::State& state) {
  const Network& n = argnetwork(state);
  compile(n.labels);
  frame->scene.stationlabels = 1;
  frame->scene.pilotlabels = 1;
  drawframes(state);
  frame->scene.stationlabels = -1;
  frame->scene.pilotlabels = -1;
  discard(n.labels);
}

// The static frame draws no places; it runs beside each size all the same,
// so that every size has its own reference in the same run.
void BM_frame_globe_coast_firs(benchmark::State& state) { drawframes(state); }

void BM_frame_globe_coast(benchmark::State& state) {
  frame->gl.discard(netglobe::kFirList);
  drawframes(state);
  compile(frame->statics);
}

void BM_frame_globe_only(benchmark::State& state) {
  discard(frame->statics);
  drawframes(state);
  compile(frame->statics);
}

// Grouped by size, so that the frames compared with the static one run
// close to it in time.
void registerbenchmarks() {
  const auto add = [](const char* name, void (*fn)(benchmark::State&)) {
    return benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->UseRealTime();
  };
  for (const int places : {600, 3000, 10000}) {
    add("BM_frame_globe_coast_firs", BM_frame_globe_coast_firs)->Arg(places);
    add("BM_frame_globe_coast_firs_pilotlabels", BM_frame_globe_coast_firs_pilotlabels)->Arg(places);
    add("BM_frame_globe_coast_firs_all_labels", BM_frame_globe_coast_firs_all_labels)->Arg(places);
    add("BM_frame_labels_compile", BM_frame_labels_compile)->Arg(places);
    add("BM_frame_globe_coast_firs_traffic", BM_frame_globe_coast_firs_traffic)->Arg(places);
    add("BM_frame_globe_coast_firs_traffic_nofills", BM_frame_globe_coast_firs_traffic_nofills)
        ->Arg(places);
    add("BM_frame_traffic_compile", BM_frame_traffic_compile)->Arg(places);
  }
  add("BM_frame_globe_coast", BM_frame_globe_coast);
  add("BM_frame_globe_only", BM_frame_globe_only);
}

// The scene as startup leaves it: textured globe, coastlines, FIR outlines.
bool openscene(Frame& f) {
  f.widget.resize(kWidth, kHeight);
  f.widget.show();
  while (!f.widget.isValid()) QCoreApplication::processEvents();
  f.widget.makeCurrent();
  if (!f.gl.open().empty()) return false;
  f.gl.setstartstate();
  const netglobe::ReferenceFiles files = netglobe::referencefilesin(programfolder());
  if (!f.gl.loadglobetexture(files.globeimage).ok) return false;
  f.gl.buildglobes();
  // Each frame as after a view change: every list drawn.
  f.gl.keepframes(false);
  f.gl.resize(kWidth, kHeight);
  f.statics = {netglobe::drawcoast(files.coastline), netglobe::drawfirs(files.fir1)};
  compile(f.statics);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  netglobe::requestsurfaceformat();
  QApplication app(argc, argv);
  auto scene = std::make_unique<Frame>();
  frame = scene.get();
  if (!openscene(*frame)) return 1;

  registerbenchmarks();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  frame->gl.release();
  frame->widget.doneCurrent();
  return 0;
}
