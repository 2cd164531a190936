// How long the window's thread is kept busy: the longest stretch between two
// chances to handle events in one refresh (everything after the download:
// the session's steps with their GL compiles and frames), and how long after
// a key press during a slow download its frame is drawn. Needs an X display:
// run it under xvfb-run (see the README).
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QOpenGLWidget>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <vector>

#include "bench_support.h"
#include "render/gl_probe.h"
#include "render/gl_scene.h"
#include "session/session.h"
#include "shell/stage.h"
#include "snapshot.h"

namespace {

using Clock = std::chrono::steady_clock;

// A folder with the shipped reference data beside the program.
std::string datafolder(const std::string& name) {
  const std::string folder = netbench::scratchfolder() + "/" + name;
  std::filesystem::create_directories(folder);
  for (const auto& entry :
       std::filesystem::directory_iterator(QCoreApplication::applicationDirPath().toStdString())) {
    const auto ext = entry.path().extension();
    if (ext == ".dat" || ext == ".jpg") {
      std::filesystem::copy(entry.path(), folder, std::filesystem::copy_options::overwrite_existing);
    }
  }
  return folder;
}

// The GL side of the window at its design size.
struct GlWindow {
  QOpenGLWidget widget;
  netglobe::GlScene gl;
  GlWindow() {
    widget.resize(986, 932);
    widget.show();
    while (!widget.isValid()) QCoreApplication::processEvents();
    widget.makeCurrent();
    gl.open();
    const qreal scale = widget.devicePixelRatioF();
    gl.resize(int(widget.width() * scale), int(widget.height() * scale));
  }
  // The window's share of one batch of steps: GL work, compiles, a frame.
  void apply(const netglobe::Effects& e, netglobe::Session& session) {
    if (e.gl == netglobe::GlWork::StartState) gl.setstartstate();
    if (e.gl == netglobe::GlWork::BuildGlobes) gl.buildglobes();
    if (e.gl == netglobe::GlWork::PrepareFrame) gl.prepareframe(session.scene(), session.view());
    if (e.gl == netglobe::GlWork::LoadTexture) {
      const auto texture = gl.loadglobetexture(session.globeimagefile());
      session.textureloaded(texture.ok, texture.reason);
    }
    for (const netglobe::Layer& layer : e.layers) gl.compile(layer);
    if (e.render) gl.drawframe(session.scene(), session.view());
    glFinish();
  }
  double frameseconds(const netglobe::Session& session) {
    const Clock::time_point start = Clock::now();
    gl.drawframe(session.scene(), session.view());
    glFinish();
    return std::chrono::duration<double>(Clock::now() - start).count();
  }
  // The median of several frames of the same scene: one frame alone is at
  // the mercy of whatever else the machine does.
  double medianframeseconds(const netglobe::Session& session) {
    std::vector<double> frames(7);
    for (double& seconds : frames) seconds = frameseconds(session);
    std::nth_element(frames.begin(), frames.begin() + 3, frames.end());
    return frames[3];
  }
};

netglobe::FetchResult good(std::string body) {
  netglobe::FetchResult result;
  result.ok = true;
  result.body = std::move(body);
  return result;
}

// The longest batches of a sequence in seconds: of all, and of those that
// draw no frame (the work a sequence adds to what any repaint costs).
struct Stretches {
  double longest = 0;
  double withoutframe = 0;
  std::size_t keptlists = 0;  // of the last frame, drawn from kept images
};

// Runs a sequence to its end.
Stretches runsequence(netglobe::Effects e, netglobe::Session& session, GlWindow& window,
                      Clock::time_point start) {
  Stretches out;
  for (;;) {
    window.apply(e, session);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    out.longest = std::max(out.longest, seconds);
    if (!e.render) out.withoutframe = std::max(out.withoutframe, seconds);
    if (e.render) out.keptlists = window.gl.lastkeptlists();
    if (!e.more) return out;
    start = Clock::now();
    e = session.next();
  }
}

// One refresh after its download at 600, 3000 and 10000 places, in the state
// after startup (pilot labels in mode 5, shown).
void BM_refresh_longest_stretch(benchmark::State& state) {
  const int places = static_cast<int>(state.range(0));
  static GlWindow& window = *new GlWindow;  // kept to the end: it goes with the display
  // A minute later each time, as a live network moves: each answer is new to
  // the history store too.
  int minute = 0;
  const auto answer = [&] {
    return good(netsim::snapshot(netbench::network(places), netbench::kTime + 60 * minute++));
  };
  netglobe::Session session(netglobe::ServerAddress{},
                            netglobe::onefolder(datafolder("window" + std::to_string(places))));
  runsequence(session.startup(), session, window, Clock::now());
  runsequence(session.downloaded(answer()), session, window, Clock::now());
  // Each tick of the start zoom draws its frame, as in the window.
  while (session.scene().pilotlabelmode != 4) {
    runsequence(session.tick(netglobe::TimerId::StartZoom), session, window, Clock::now());
  }
  runsequence(session.tick(netglobe::TimerId::LabelSwitch), session, window, Clock::now());

  double longest = 0, withoutframe = 0, whole = 0, frame = 0, worker = 0, kept = 0;
  for (auto _ : state) {
    session.tick(netglobe::TimerId::Refresh);
    // The download's worker stores, parses, keeps and indexes the answer
    // before the window's thread sees it: timed apart.
    const Clock::time_point job = Clock::now();
    netglobe::TakenAnswer next = session.answerjob()(answer());
    worker += std::chrono::duration<double>(Clock::now() - job).count();
    const Clock::time_point start = Clock::now();
    const Stretches stretch = runsequence(session.downloaded(std::move(next)), session, window, start);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(stretch.longest);
    longest = std::max(longest, stretch.longest);
    withoutframe = std::max(withoutframe, stretch.withoutframe);
    whole += seconds;
    kept += double(stretch.keptlists);
    // One more frame of what the refresh left on screen: the floor of any
    // stretch that ends with a frame.
    frame += window.frameseconds(session);
  }
  // The share of the active-FIR fills in that frame, from frames drawn back
  // to back: key c draws the outlines alone.
  const double withfills = window.medianframeseconds(session);
  window.gl.keepframes(false);  // as after a view change: every list drawn
  const double wholewithfills = window.medianframeseconds(session);
  runsequence(session.key('c'), session, window, Clock::now());
  const double wholewithoutfills = window.medianframeseconds(session);
  window.gl.keepframes(true);
  const double withoutfills = window.medianframeseconds(session);
  runsequence(session.key('c'), session, window, Clock::now());
  state.counters["whole_frame_ms"] = wholewithfills * 1000;
  state.counters["whole_frame_without_fir_fills_ms"] = wholewithoutfills * 1000;
  state.counters["whole_fills_on_over_off"] = wholewithfills / wholewithoutfills;
  state.counters["frame_median_ms"] = withfills * 1000;
  state.counters["frame_without_fir_fills_ms"] = withoutfills * 1000;
  state.counters["fills_on_over_off"] = withfills / withoutfills;
  state.counters["longest_ms"] = longest * 1000;
  state.counters["longest_without_frame_ms"] = withoutframe * 1000;
  state.counters["whole_refresh_ms"] = whole * 1000 / double(state.iterations());
  state.counters["answer_job_on_worker_ms"] = worker * 1000 / double(state.iterations());
  state.counters["frame_ms"] = frame * 1000 / double(state.iterations());
  // How many lists the refresh's own frame took from kept images, on average.
  state.counters["refresh_frame_kept_lists"] = kept / double(state.iterations());
}
BENCHMARK(BM_refresh_longest_stretch)->Arg(600)->Arg(3000)->Arg(10000)->Iterations(5)
    ->UseManualTime()->Unit(benchmark::kMillisecond);

// A step of replay at 3000 places: a kept refresh read back and everything
// rebuilt from it (side lists, traffic, labels, a frame), against a whole
// live refresh after its download in the same run.
void BM_replay_step(benchmark::State& state) {
  static GlWindow& window = *new GlWindow;
  const netsim::Network& network = netbench::network(3000);
  netglobe::Session session(netglobe::ServerAddress{}, netglobe::onefolder(datafolder("replay")));
  const auto answer = [&](int minute) {
    return good(netsim::snapshot(network, netbench::kTime + 60 * minute));
  };
  runsequence(session.startup(), session, window, Clock::now());
  runsequence(session.downloaded(answer(0)), session, window, Clock::now());
  double live = 0;
  for (int minute = 1; minute <= 10; ++minute) {
    session.tick(netglobe::TimerId::Refresh);
    netglobe::TakenAnswer next = session.answerjob()(answer(minute));
    const Clock::time_point start = Clock::now();
    runsequence(session.downloaded(std::move(next)), session, window, start);
    live += std::chrono::duration<double>(Clock::now() - start).count();
  }
  int key = ',';
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    runsequence(session.key(key), session, window, start);
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    // Back and forth over the kept refreshes, never live.
    if (session.replaying() == std::optional<std::size_t>(0)) key = '.';
    if (session.replaying() == std::optional<std::size_t>(session.keptrefreshes() - 2)) key = ',';
  }
  state.counters["live_refresh_ms"] = live * 100;
}
BENCHMARK(BM_replay_step)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

// The real window against a server that answers after 6 s, at 3000 places,
// after its start zoom: a key typed while a refresh's download waits is
// handled and its frame drawn this long after the press.
void BM_key_during_download(benchmark::State& state) {
  netsim::ServeOptions options{{}, {}, netbench::kTime};
  options.faults.delayms = 6000;
  netsim::SimServer server(netbench::network(3000), options);
  const int port = server.bind(0);
  std::thread serving([&] { server.run(); });
  {
    netglobe::Stage stage(netglobe::ServerAddress{"127.0.0.1", port}, datafolder("key"), 1);
    stage.show();
    const auto waitfor = [](const std::function<bool()>& condition) {
      QElapsedTimer clock;
      clock.start();
      while (!condition() && clock.elapsed() < 120000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      return condition();
    };
    if (!waitfor([&] { return stage.session().scene().pilotlabelmode == 5; })) {
      state.SkipWithError("no startup");
    }
    QLineEdit* line = stage.controls().Text1;
    char key = 'x';
    double drawn = 0;  // from the press until its handling returns
    for (auto _ : state) {
      // Well inside a download: it began, and a second of its six has passed.
      // A download already under way may be about to end: wait for the next.
      waitfor([&] { return stage.windowTitle() != "Loading..."; });
      waitfor([&] { return stage.windowTitle() == "Loading..."; });
      QElapsedTimer wait;
      wait.start();
      while (wait.elapsed() < 1000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      const Clock::time_point pressed = Clock::now();
      QTest::keyClick(line, key);
      const Clock::time_point handled = Clock::now();
      QCoreApplication::processEvents();  // the frame reaches the screen
      drawn += std::chrono::duration<double>(handled - pressed).count();
      stage.makeCurrent();
      glFinish();
      stage.doneCurrent();
      state.SetIterationTime(std::chrono::duration<double>(Clock::now() - pressed).count());
      if (stage.windowTitle() != "Loading...") state.SkipWithError("the download ended first");
      key = key == 'x' ? 'y' : 'x';
      waitfor([&] { return stage.windowTitle() != "Loading..."; });
    }
    // The window draws and swaps the key's frame within its handling; the
    // rest, until the frame is on screen, is the event loop and the GL
    // work still queued.
    state.counters["frame_drawn_ms"] = drawn * 1000 / double(state.iterations());
  }
  server.stop();
  serving.join();
}
BENCHMARK(BM_key_during_download)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  netglobe::requestsurfaceformat();
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
