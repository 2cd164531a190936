// What the toolkit costs to put a GL frame on screen, apart from drawing it.
// Three make-ups: a top-level GL widget with child widgets over it (the
// status line and six side lists), whose every frame the toolkit puts
// together with the widgets into the window; a GL window of its own that
// swaps its buffer; and that GL window inside a widget window under native
// child widgets, as the program's window is made. Each frame only clears,
// so the time is the showing. Needs an X display: run it under
// tests/with-display.sh.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QOpenGLWindow>

#include "render/gl_probe.h"

namespace {

constexpr int kWidth = 1260;
constexpr int kHeight = 960;

void clearto(int frame) {
  glClearColor(0, 0, float(frame % 2) * 0.5f, 1);
  glClear(GL_COLOR_BUFFER_BIT);
}

struct Widget : QOpenGLWidget {
  int painted = 0;
  void paintGL() override { clearto(painted++); }
};

struct Window : QOpenGLWindow {
  int painted = 0;
  void paintGL() override { clearto(painted++); }
  void frame() {
    makeCurrent();
    paintGL();
    context()->swapBuffers(this);
    glFinish();
  }
};

void settle() {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 500) QCoreApplication::processEvents();
}

// The status line and six side lists over the globe; native, each is an X
// window of its own.
void addcontrols(QWidget* parent, bool native) {
  auto* line = new QLineEdit(parent);
  line->setGeometry(0, 940, 129, 19);
  line->setAttribute(Qt::WA_NativeWindow, native);
  for (int i = 0; i < 6; ++i) {
    auto* list = new QListWidget(parent);
    list->setGeometry(1032, i * 150, 220, 140);
    list->setAttribute(Qt::WA_NativeWindow, native);
    for (int row = 0; row < 30; ++row) list->addItem(QString("row %1").arg(row));
  }
}

void BM_present_top_level_gl_widget(benchmark::State& state) {
  Widget widget;
  widget.resize(kWidth, kHeight);
  addcontrols(&widget, false);
  widget.show();
  settle();
  const int before = widget.painted;
  for (auto _ : state) {
    widget.update();
    QCoreApplication::processEvents();
  }
  state.counters["frames_painted_per_iteration"] = double(widget.painted - before) / double(state.iterations());
}
BENCHMARK(BM_present_top_level_gl_widget)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_present_gl_window(benchmark::State& state) {
  Window window;
  window.resize(kWidth, kHeight);
  window.show();
  settle();
  for (auto _ : state) {
    window.frame();
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_present_gl_window)->Unit(benchmark::kMillisecond)->UseRealTime();

// The window's make-up: the widgets over the GL window are native windows
// of their own, or the GL window would cover them.
void BM_present_gl_window_in_widget(benchmark::State& state) {
  QWidget top;
  top.resize(kWidth, kHeight);
  auto* window = new Window;
  QWidget* container = QWidget::createWindowContainer(window, &top);
  container->setGeometry(0, 0, kWidth, kHeight);
  addcontrols(&top, true);
  top.show();
  settle();
  for (auto _ : state) {
    window->frame();
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_present_gl_window_in_widget)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  netglobe::requestsurfaceformat();
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
