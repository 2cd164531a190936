#pragma once

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "scene/draw_list.h"
#include "scene/scene_state.h"
#include "scene/view_status.h"

namespace netglobe {

// What replaying a list leaves behind in GL state besides its pixels: the
// last colour, line width and point size it sets and the last state of
// each capability it switches. A frame that takes a list's pixels from the
// frame cache sets these instead, so the lists after it draw as they would.
struct ListTail {
  std::optional<Rgba> color;
  std::optional<float> linewidth;
  std::optional<float> pointsize;
  std::vector<std::pair<Cap, bool>> caps;

  static ListTail of(const DrawList& list);
  void apply() const;
};

// A list's build: each compile or discard gives its list a new generation,
// so a kept image drawn from an older one is never shown again.
using ListGenerations = std::array<std::uint64_t, kLastSceneList + 1>;

// The frame's leading layers kept as images of the window. The globe, its
// graticule, the coastlines and the FIR outlines change only with the view;
// the active FIRs and the chiefs only with a refresh as well. Redrawing them
// is most of a frame on the software renderer, and most frames (a key, a
// label switch, a side list's click, a refresh's other layers) show them
// unchanged: such a frame copies the kept image instead and draws only what
// follows. Two images, so that a refresh's new active FIRs are drawn over
// the kept globe rather than with it.
//
// Images are used only while depth testing is off, as it is from the first
// refresh on: then what the leading layers leave in the depth buffer cannot
// change anything drawn after them. A selection pass never uses them.
class FrameCache {
 public:
  using CallFn = std::function<void(const ListCall&)>;

  // Whether a list can be part of a kept image.
  static bool keeps(int list);

  // The framebuffer's size in pixels; a new size drops the images.
  void resize(int w, int h);

  // Draws `calls` in order through `draw`, starting after the deepest kept
  // image that shows the same leading calls (same lists, setups and builds)
  // from the same view: that image is copied in, and `skip` runs for each
  // call it stands for. Keeps an image of each leading part it drew anew.
  void draw(std::span<const ListCall> calls, const ViewState& view, const ListGenerations& builds,
            const CallFn& draw, const CallFn& skip);

  // Whether the second image is out of date while the first still shows
  // these calls from this view: then preparing the second pays.
  bool canprepare(std::span<const ListCall> calls, const ViewState& view,
                  const ListGenerations& builds) const;
  // Draws and keeps the second image out of sight: what the framebuffer
  // holds is kept aside, the leading calls drawn from the first image, and
  // the framebuffer put back as it was, pixel for pixel. `begin` starts a
  // frame (clear, view); `end` closes it.
  void prepare(std::span<const ListCall> calls, const ViewState& view, const ListGenerations& builds,
               const CallFn& draw, const CallFn& skip, const std::function<void()>& begin,
               const std::function<void()>& end);

  // How many of the last frame's calls came from a kept image.
  std::size_t lastskipped() const { return lastskipped_; }

  // Frees the images; the context must be current.
  void release();

 private:
  struct CallStamp {
    int list = 0;
    ListSetup setup = ListSetup::None;
    std::uint64_t build = 0;
    bool operator==(const CallStamp&) const = default;
  };
  struct Stamp {
    float lon = 0, tilt = 0;
    double dist = 0;
    int w = 0, h = 0;
    std::vector<CallStamp> calls;
    bool operator==(const Stamp&) const = default;
  };
  struct Image {
    GLuint texture = 0;
    int w = 0, h = 0;  // the texture's size
    std::optional<Stamp> stamp;  // what it shows; none: nothing yet
  };

  Stamp stampof(std::span<const ListCall> calls, const ViewState& view,
                const ListGenerations& builds) const;
  // Where each image's part of the calls ends.
  static std::array<std::size_t, 2> endsof(std::span<const ListCall> calls);
  bool usable() const;
  void keep(Image& image, Stamp stamp);
  void show(const Image& image) const;

  int w_ = 0, h_ = 0;
  std::array<Image, 2> images_;
  Image screen_;  // what the framebuffer held while an image is prepared
  std::size_t lastskipped_ = 0;
};

}  // namespace netglobe
