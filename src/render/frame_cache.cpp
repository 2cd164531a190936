#include "render/frame_cache.h"

#include <algorithm>

namespace netglobe {
namespace {

// The two kept images: what changes with the view alone, then what a
// refresh changes too. A call of neither ends what can be kept.
int levelof(int list) {
  switch (list) {
    case kTexGlobeList:
    case kPlainGlobeList:
    case kGradeList:
    case kFirList:
    case kCoastList: return 1;
    case kActFirList:
    case kChiefList: return 2;
    default: return 0;
  }
}

}  // namespace

ListTail ListTail::of(const DrawList& list) {
  ListTail tail;
  for (const DrawOp& op : list.ops()) {
    switch (op.kind) {
      case DrawOp::Kind::Color: tail.color = op.rgba(); break;
      case DrawOp::Kind::LineWidth: tail.linewidth = op.width(); break;
      case DrawOp::Kind::PointSize: tail.pointsize = op.size(); break;
      case DrawOp::Kind::Enable:
      case DrawOp::Kind::Disable: {
        const bool on = op.kind == DrawOp::Kind::Enable;
        const auto same = std::find_if(tail.caps.begin(), tail.caps.end(),
                                       [&](const auto& c) { return c.first == op.cap(); });
        if (same == tail.caps.end()) {
          tail.caps.emplace_back(op.cap(), on);
        } else {
          same->second = on;
        }
        break;
      }
      default: break;
    }
  }
  return tail;
}

void ListTail::apply() const {
  if (color) glColor4f(color->r, color->g, color->b, color->a);
  if (linewidth) glLineWidth(*linewidth);
  if (pointsize) glPointSize(*pointsize);
  for (const auto& [cap, on] : caps) {
    if (on) {
      glEnable(static_cast<GLenum>(cap));
    } else {
      glDisable(static_cast<GLenum>(cap));
    }
  }
}

bool FrameCache::keeps(int list) { return levelof(list) != 0; }

void FrameCache::resize(int w, int h) {
  if (w == w_ && h == h_) return;
  w_ = w;
  h_ = h;
  for (Image& image : images_) image.stamp.reset();
}

FrameCache::Stamp FrameCache::stampof(std::span<const ListCall> calls, const ViewState& view,
                                      const ListGenerations& builds) const {
  Stamp stamp{view.viewlon, view.viewtilt, view.viewdist, w_, h_, {}};
  for (const ListCall& call : calls) {
    stamp.calls.push_back({call.list, call.setup, builds[std::size_t(call.list)]});
  }
  return stamp;
}

// The leading calls of the first level, then those of the second right
// after them.
std::array<std::size_t, 2> FrameCache::endsof(std::span<const ListCall> calls) {
  std::array<std::size_t, 2> ends{0, 0};
  for (int level = 1; level <= 2; ++level) {
    std::size_t end = level == 1 ? 0 : ends[0];
    while (end < calls.size() && levelof(calls[end].list) == level) ++end;
    ends[std::size_t(level - 1)] = end;
  }
  return ends;
}

bool FrameCache::usable() const { return w_ > 0 && h_ > 0 && !glIsEnabled(GL_DEPTH_TEST); }

bool FrameCache::canprepare(std::span<const ListCall> calls, const ViewState& view,
                            const ListGenerations& builds) const {
  const std::array<std::size_t, 2> ends = endsof(calls);
  if (!usable() || ends[0] == 0 || ends[1] == ends[0]) return false;
  return images_[0].stamp == stampof(calls.first(ends[0]), view, builds) &&
         images_[1].stamp != stampof(calls.first(ends[1]), view, builds);
}

void FrameCache::prepare(std::span<const ListCall> calls, const ViewState& view,
                         const ListGenerations& builds, const CallFn& draw, const CallFn& skip,
                         const std::function<void()>& begin, const std::function<void()>& end) {
  if (!canprepare(calls, view, builds)) return;
  keep(screen_, Stamp{});
  begin();
  this->draw(calls.first(endsof(calls)[1]), view, builds, draw, skip);
  end();
  show(screen_);
}

void FrameCache::draw(std::span<const ListCall> calls, const ViewState& view,
                      const ListGenerations& builds, const CallFn& draw, const CallFn& skip) {
  lastskipped_ = 0;
  const std::array<std::size_t, 2> ends = endsof(calls);
  const bool canuse = usable();
  std::array<std::optional<Stamp>, 2> stamps;
  for (std::size_t i = 0; i < images_.size(); ++i) {
    const bool ownpart = ends[i] > (i == 0 ? 0 : ends[0]);
    if (canuse && ownpart) stamps[i] = stampof(calls.first(ends[i]), view, builds);
  }

  std::size_t start = 0;
  for (std::size_t i = images_.size(); i-- > 0;) {
    if (stamps[i] && images_[i].stamp == stamps[i]) {
      show(images_[i]);
      for (std::size_t c = 0; c < ends[i]; ++c) skip(calls[c]);
      start = lastskipped_ = ends[i];
      break;
    }
  }
  for (std::size_t c = start; c < calls.size(); ++c) {
    draw(calls[c]);
    for (std::size_t i = 0; i < images_.size(); ++i) {
      if (stamps[i] && c + 1 == ends[i] && images_[i].stamp != stamps[i]) keep(images_[i], *stamps[i]);
    }
  }
}

void FrameCache::keep(Image& image, Stamp stamp) {
  glPushAttrib(GL_TEXTURE_BIT);
  if (image.texture == 0) glGenTextures(1, &image.texture);
  glBindTexture(GL_TEXTURE_2D, image.texture);
  if (image.w != w_ || image.h != h_) {
    // Nearest texels: the image goes back pixel for pixel.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w_, h_, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    image.w = w_;
    image.h = h_;
  }
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, w_, h_);
  glPopAttrib();
  image.stamp = std::move(stamp);
}

// The image over the whole viewport, texel for pixel, alpha included:
// nothing blended, clipped or tested.
void FrameCache::show(const Image& image) const {
  glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT);
  glDisable(GL_BLEND);
  glDisable(GL_CLIP_PLANE0);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_STENCIL_TEST);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, image.texture);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(-1, -1);
  glTexCoord2f(1, 0);
  glVertex2f(1, -1);
  glTexCoord2f(1, 1);
  glVertex2f(1, 1);
  glTexCoord2f(0, 1);
  glVertex2f(-1, 1);
  glEnd();
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopAttrib();
}

void FrameCache::release() {
  for (Image* image : {&images_[0], &images_[1], &screen_}) {
    if (image->texture != 0) glDeleteTextures(1, &image->texture);
    *image = Image{};
  }
  lastskipped_ = 0;
}

}  // namespace netglobe
