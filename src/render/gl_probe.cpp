#include "render/gl_probe.h"

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
  if (context.format().stencilBufferSize() < kRequiredStencilBits) return "fewer than 8 stencil bits";
  return {};
}

}  // namespace netglobe
