#pragma once

#include <cstdint>
#include <vector>

namespace netglobe {

// One glyph of the label font as a 1-bit image: the pen stands xorig
// pixels right of the image's left edge and yorig above its bottom row, and
// moves on by advance after the glyph.
struct GlyphImage {
  int width = 0;
  int height = 0;
  float xorig = 0;
  float yorig = 0;
  float advance = 0;
  // Rows from the bottom up, leftmost pixel in the highest bit, each row
  // padded to whole bytes: the layout GL's bitmaps take.
  std::vector<std::uint8_t> bits;

  bool ink(int x, int y) const {
    const int rowbytes = (width + 7) / 8;
    return (bits[static_cast<std::size_t>(y * rowbytes + x / 8)] & (0x80 >> (x % 8))) != 0;
  }
};

// The label font (Arial, bold, 10 pixels, no antialiasing) for
// windows-1252 bytes 0 to 254, indexed by byte; control codes are empty
// and do not advance. Needs a Qt GUI application.
std::vector<GlyphImage> labelglyphs();

}  // namespace netglobe
