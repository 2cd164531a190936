#include "render/label_layers.h"

#include <cmath>

namespace netglobe {
namespace {

// GL's bitmaps snap their corner with this tolerance: a pen a hair left of
// a pixel's edge draws from that pixel.
constexpr GLfloat kSnapTolerance = 0.0001f;
constexpr int kFloatsPerCorner = 5;

int ifloor(GLfloat v) { return static_cast<int>(std::floor(v)); }

bool samecolour(const Rgba& a, const Rgba& b) {
  return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

}  // namespace

void LabelLayers::open() { atlas_.build(); }

LabelLayers::Text LabelLayers::totext(const DrawList& ops) {
  Text text;
  for (const DrawOp& op : ops.ops()) {
    switch (op.kind) {
      case DrawOp::Kind::Color:
        text.colours.push_back(op.rgba());
        text.lastcolour = static_cast<int>(text.colours.size()) - 1;
        break;
      case DrawOp::Kind::RasterPos: {
        const GlobePoint p = op.point();
        text.labels.push_back({{static_cast<GLfloat>(p.x), static_cast<GLfloat>(p.y),
                                static_cast<GLfloat>(p.z)},
                               text.lastcolour,
                               static_cast<std::uint32_t>(text.glyphs.size()),
                               0});
        break;
      }
      case DrawOp::Kind::Glyph:
        // Glyphs before the first raster position have no place of their own.
        if (text.labels.empty()) break;
        text.glyphs.push_back(op.glyph());
        ++text.labels.back().count;
        break;
      default: break;
    }
  }
  return text;
}

void LabelLayers::compile(const Layer& layer) {
  if (!holds(layer.list)) return;
  texts_[std::size_t(layer.list - kCtrLabelList)] = totext(layer.ops);
}

void LabelLayers::discard(int list) {
  if (holds(list)) texts_[std::size_t(list - kCtrLabelList)] = Text{};
}

void LabelLayers::addglyphs(const Text& text, const Label& label, const GLfloat rasterpos[4],
                            Rgba colour) const {
  if (runs_.empty() || !samecolour(runs_.back().colour, colour)) {
    runs_.push_back({colour, static_cast<GLint>(vertices_.size() / kFloatsPerCorner), 0});
  }
  // The bitmap's depth, as GL gives it to the bitmap's fragments.
  const GLfloat z = rasterpos[2] * 2.0f - 1.0f;
  GLfloat pen = rasterpos[0];
  for (std::uint32_t i = 0; i < label.count; ++i) {
    const GlyphAtlas::Cell& cell = atlas_.cell(text.glyphs[label.first + i]);
    if (!cell.blank()) {
      const int left = ifloor(pen + kSnapTolerance - cell.xorig);
      const int bottom = ifloor(rasterpos[1] + kSnapTolerance - cell.yorig);
      const auto x0 = GLfloat(left + cell.x0), x1 = GLfloat(left + cell.x1);
      const auto y0 = GLfloat(bottom + cell.y0), y1 = GLfloat(bottom + cell.y1);
      vertices_.insert(vertices_.end(), {cell.s0, cell.t0, x0, y0, z,  //
                                         cell.s1, cell.t0, x1, y0, z,  //
                                         cell.s1, cell.t1, x1, y1, z,  //
                                         cell.s0, cell.t1, x0, y1, z});
      runs_.back().count += 4;
    }
    pen += cell.advance;
  }
}

void LabelLayers::draw(int list) const {
  if (!holds(list)) return;
  const Text& text = texts_[std::size_t(list - kCtrLabelList)];
  GLint mode = GL_RENDER;
  glGetIntegerv(GL_RENDER_MODE, &mode);
  const bool rendering = mode == GL_RENDER;
  GLfloat gl[4] = {1, 1, 1, 1};
  glGetFloatv(GL_CURRENT_COLOR, gl);
  const Rgba current{gl[0], gl[1], gl[2], gl[3]};
  vertices_.clear();
  runs_.clear();

  // The colour is set before each raster position, as the lists did: GL
  // latches it there, and the list leaves its last colour current.
  int colourset = -1;
  const auto setcolour = [&](int colour) {
    if (colour < 0 || colour == colourset) return;
    const Rgba& c = text.colours[std::size_t(colour)];
    glColor4f(c.r, c.g, c.b, c.a);
    colourset = colour;
  };
  for (const Label& label : text.labels) {
    setcolour(label.colour);
    // An empty label draws nothing; in a selection pass its raster position
    // still makes a hit.
    if (rendering && label.count == 0) continue;
    glRasterPos3fv(label.at);
    if (!rendering) continue;
    GLint valid = GL_FALSE;
    glGetIntegerv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (!valid) continue;
    GLfloat rasterpos[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, rasterpos);
    addglyphs(text, label, rasterpos, label.colour < 0 ? current : text.colours[std::size_t(label.colour)]);
  }
  setcolour(text.lastcolour);
  if (!vertices_.empty()) drawquads();
}

void LabelLayers::drawquads() const {
  GLint viewport[4] = {0, 0, 0, 0};
  glGetIntegerv(GL_VIEWPORT, viewport);
  if (viewport[2] <= 0 || viewport[3] <= 0) return;  // no pixel to draw
  glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT | GL_TRANSFORM_BIT |
               GL_CURRENT_BIT);
  glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
  // A bitmap is clipped only through its raster position, never pixel by
  // pixel; the quads are given in window coordinates.
  GLint planes = 6;
  glGetIntegerv(GL_MAX_CLIP_PLANES, &planes);
  for (GLint i = 0; i < planes; ++i) glDisable(static_cast<GLenum>(GL_CLIP_PLANE0 + i));
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, atlas_.texture());
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  // Where a bitmap has no bit set it makes no fragment at all.
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.0f);
  // Window pixels, and z passed through unchanged: far and near swapped
  // give the depth row of the identity.
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(viewport[0], viewport[0] + viewport[2], viewport[1], viewport[1] + viewport[3], 1.0, -1.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glInterleavedArrays(GL_T2F_V3F, 0, vertices_.data());
  const std::size_t quads = vertices_.size() / (4 * kFloatsPerCorner);
  for (GLuint q = GLuint(indices_.size() / 6); q < quads; ++q) {
    indices_.insert(indices_.end(), {4 * q, 4 * q + 1, 4 * q + 2, 4 * q, 4 * q + 2, 4 * q + 3});
  }
  for (const Run& run : runs_) {
    if (run.count == 0) continue;
    glColor4f(run.colour.r, run.colour.g, run.colour.b, run.colour.a);
    glDrawElements(GL_TRIANGLES, run.count / 4 * 6, GL_UNSIGNED_INT,
                   indices_.data() + run.first / 4 * 6);
  }
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glPopClientAttrib();
  glPopAttrib();
}

void LabelLayers::release() {
  atlas_.release();
  for (Text& text : texts_) text = Text{};
}

}  // namespace netglobe
