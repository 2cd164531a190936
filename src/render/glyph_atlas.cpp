#include "render/glyph_atlas.h"

#include <algorithm>
#include <cstdint>

#include "render/glyph_font.h"

namespace netglobe {
namespace {

constexpr int kAtlasWidth = 256;
constexpr int kGap = 1;  // texels between neighbouring glyphs

int powerof2atleast(int n) {
  int p = 1;
  while (p < n) p *= 2;
  return p;
}

// The ink box of a glyph image; empty when it has no ink.
GlyphAtlas::Cell inkbox(const GlyphImage& glyph) {
  GlyphAtlas::Cell cell;
  cell.x0 = glyph.width;
  cell.y0 = glyph.height;
  for (int y = 0; y < glyph.height; ++y) {
    for (int x = 0; x < glyph.width; ++x) {
      if (!glyph.ink(x, y)) continue;
      cell.x0 = std::min(cell.x0, x);
      cell.y0 = std::min(cell.y0, y);
      cell.x1 = std::max(cell.x1, x + 1);
      cell.y1 = std::max(cell.y1, y + 1);
    }
  }
  if (cell.blank()) cell.x0 = cell.y0 = cell.x1 = cell.y1 = 0;
  cell.xorig = glyph.xorig;
  cell.yorig = glyph.yorig;
  cell.advance = glyph.advance;
  return cell;
}

}  // namespace

void GlyphAtlas::build() {
  const std::vector<GlyphImage> glyphs = labelglyphs();

  // Glyphs side by side in rows as high as the font; each keeps its whole
  // image, so that a texel's place in it is its pixel's place in the bitmap.
  struct Place {
    int x, y;
  };
  std::vector<Place> places(glyphs.size());
  int x = 0, y = 0, rowheight = 0;
  for (std::size_t code = 0; code < glyphs.size(); ++code) {
    const GlyphImage& glyph = glyphs[code];
    if (x + glyph.width > kAtlasWidth) {
      x = 0;
      y += rowheight + kGap;
      rowheight = 0;
    }
    places[code] = {x, y};
    x += glyph.width + kGap;
    rowheight = std::max(rowheight, glyph.height);
  }
  const int height = powerof2atleast(y + rowheight);

  std::vector<std::uint8_t> alpha(static_cast<std::size_t>(kAtlasWidth * height), 0);
  cells_.assign(256, Cell{});
  for (std::size_t code = 0; code < glyphs.size(); ++code) {
    const GlyphImage& glyph = glyphs[code];
    const Place at = places[code];
    for (int gy = 0; gy < glyph.height; ++gy) {
      for (int gx = 0; gx < glyph.width; ++gx) {
        if (glyph.ink(gx, gy)) alpha[static_cast<std::size_t>((at.y + gy) * kAtlasWidth + at.x + gx)] = 255;
      }
    }
    Cell cell = inkbox(glyph);
    cell.s0 = static_cast<float>(at.x + cell.x0) / kAtlasWidth;
    cell.s1 = static_cast<float>(at.x + cell.x1) / kAtlasWidth;
    cell.t0 = static_cast<float>(at.y + cell.y0) / static_cast<float>(height);
    cell.t1 = static_cast<float>(at.y + cell.y1) / static_cast<float>(height);
    cells_[code] = cell;
  }

  GLint oldtexture = 0, oldalignment = 4;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &oldtexture);
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &oldalignment);
  if (texture_ == 0) glGenTextures(1, &texture_);
  glBindTexture(GL_TEXTURE_2D, texture_);
  // Texel for pixel: no filtering, no mipmaps.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA8, kAtlasWidth, height, 0, GL_ALPHA, GL_UNSIGNED_BYTE,
               alpha.data());
  glPixelStorei(GL_UNPACK_ALIGNMENT, oldalignment);
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(oldtexture));
}

void GlyphAtlas::release() {
  if (texture_ != 0) glDeleteTextures(1, &texture_);
  texture_ = 0;
  cells_.assign(256, Cell{});
}

}  // namespace netglobe
