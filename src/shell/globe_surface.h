#pragma once

#include <QWindow>
#include <functional>
#include <memory>
#include <string>

class QOpenGLContext;
class QWidget;

namespace netglobe {

// The globe's GL surface: a native window of its own under the window's
// controls, drawn into and swapped directly. A GL widget's frame is put
// together with the controls' image by the toolkit on every frame; on the
// software renderers our users meet that costs about 15 ms a frame, more
// than most frames take to draw.
//
// It keeps no state of the program: what it is shown, resized to, and the
// mouse that moves over it go to its owner.
class GlobeSurface : public QWindow {
 public:
  struct Hooks {
    std::function<void()> exposed;          // draw and show the frame
    std::function<void(int, int)> resized;  // framebuffer pixels
  };

  // The mouse and wheel over the surface go to input, in the same
  // coordinates: the surface covers it from its top left corner.
  GlobeSurface(QWidget* input, Hooks hooks);
  ~GlobeSurface() override;

  // Makes the GL context of the surface's format; "" or why there is none.
  std::string open();
  bool makecurrent();
  void donecurrent();
  // Shows the frame drawn so far. A surface not on screen shows nothing:
  // its owner draws again when it is exposed.
  void present();
  QSize pixelsize() const;

 protected:
  void exposeEvent(QExposeEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool event(QEvent* event) override;

 private:
  QWidget* input_;
  Hooks hooks_;
  std::unique_ptr<QOpenGLContext> context_;
};

}  // namespace netglobe
