#pragma once

#include <GL/gl.h>

#include <vector>

namespace netglobe {

// The label font in one texture, drawn texel for texel: each glyph's image
// at a place of its own, ink opaque, the rest transparent.
class GlyphAtlas {
 public:
  // One glyph: its ink box in pixels from the lower-left corner of its
  // image, where that box lies in the texture, and how the pen places the
  // image and moves on.
  struct Cell {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // x1 and y1 exclusive
    float s0 = 0, t0 = 0, s1 = 0, t1 = 0;
    float xorig = 0, yorig = 0, advance = 0;
    bool blank() const { return x1 <= x0 || y1 <= y0; }
  };

  // Rasterises the font and uploads it; needs a current context.
  void build();
  // Frees the texture; the context must be current.
  void release();
  GLuint texture() const { return texture_; }
  // Byte 255 has no glyph: it is blank and does not advance.
  const Cell& cell(unsigned char code) const { return cells_[code]; }

 private:
  GLuint texture_ = 0;
  std::vector<Cell> cells_ = std::vector<Cell>(256);
};

}  // namespace netglobe
