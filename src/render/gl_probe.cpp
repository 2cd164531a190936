#include "render/gl_probe.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QSurfaceFormat>

namespace netglobe {

void requestsurfaceformat() {
  QSurfaceFormat format;
  format.setRenderableType(QSurfaceFormat::OpenGL);
  format.setProfile(QSurfaceFormat::CompatibilityProfile);
  format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
  format.setDepthBufferSize(16);
  format.setStencilBufferSize(kRequiredStencilBits);
  QSurfaceFormat::setDefaultFormat(format);
}

std::string probeglcontext() {
  QOpenGLContext context;
  if (!context.create() || !context.isValid()) return "no OpenGL context";
  QOffscreenSurface surface;
  surface.setFormat(context.format());
  surface.create();
  if (!context.makeCurrent(&surface)) return "OpenGL context cannot be made current";
  context.doneCurrent();
  if (context.format().stencilBufferSize() < kRequiredStencilBits) return "fewer than 8 stencil bits";
  return {};
}

}  // namespace netglobe
