#include "lists/label_glyphs.h"

#include "scene/scene_state.h"

namespace netglobe {

void drawlabel(DrawList& out, const GlobePoint& at, std::string_view text) {
  out.rasterpos(at);
  for (const char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (code < kGlyphCount) out.glyph(code);
  }
}

}  // namespace netglobe
