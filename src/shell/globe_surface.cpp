#include "shell/globe_surface.h"

#include <QCoreApplication>
#include <QOpenGLContext>
#include <QWidget>

namespace netglobe {

GlobeSurface::GlobeSurface(QWidget* input, Hooks hooks) : input_(input), hooks_(std::move(hooks)) {
  setSurfaceType(QSurface::OpenGLSurface);
  setFormat(QSurfaceFormat::defaultFormat());
  // The keys belong to the window's status line; a click on the globe
  // must not take them away.
  setFlag(Qt::WindowDoesNotAcceptFocus, true);
}

GlobeSurface::~GlobeSurface() = default;

std::string GlobeSurface::open() {
  if (context_) return "";
  if (!handle()) create();
  auto context = std::make_unique<QOpenGLContext>();
  context->setFormat(requestedFormat());
  if (!context->create() || !context->isValid()) return "no OpenGL context";
  if (!context->makeCurrent(this)) return "the OpenGL context cannot draw into the window";
  context->doneCurrent();
  context_ = std::move(context);
  return "";
}

bool GlobeSurface::makecurrent() { return context_ && context_->makeCurrent(this); }

void GlobeSurface::donecurrent() {
  if (context_) context_->doneCurrent();
}

void GlobeSurface::present() {
  if (context_ && isExposed()) context_->swapBuffers(this);
}

QSize GlobeSurface::pixelsize() const { return size() * devicePixelRatio(); }

void GlobeSurface::exposeEvent(QExposeEvent*) {
  if (isExposed() && context_ && hooks_.exposed) hooks_.exposed();
}

void GlobeSurface::resizeEvent(QResizeEvent*) {
  if (context_ && hooks_.resized) hooks_.resized(pixelsize().width(), pixelsize().height());
}

bool GlobeSurface::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
      QCoreApplication::sendEvent(input_, event);
      return true;
    default: return QWindow::event(event);
  }
}

}  // namespace netglobe
