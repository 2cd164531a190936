#pragma once

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <vector>

#include "render/glyph_atlas.h"
#include "scene/layer.h"
#include "scene/scene_state.h"

namespace netglobe {

// The label layers (lists 13 to 16), kept as text rather than GL display
// lists: a label anchored at a globe point lands on a different pixel in
// every view, so it is placed anew at every frame. GL itself says where:
// the raster position is set at the label's point, exactly as for a
// bitmap, and read back with its validity; the glyphs are then drawn from
// the font texture at the pixels GL's bitmaps would cover, all labels of a
// colour in one draw call.
class LabelLayers {
 public:
  static bool holds(int list) { return list >= kCtrLabelList && list <= kPilotLabelList; }

  // Builds the font texture; needs a current context.
  void open();
  // Replaces one layer with the text of `layer`: its colours, raster
  // positions and glyphs (label layers hold nothing else). Unlike a display
  // list it is not drawn here: where its text lands depends on the view,
  // and the frame that shows it draws it.
  void compile(const Layer& layer);
  void discard(int list);
  // Draws one layer with the current matrices, viewport, clip planes and
  // colour, as replaying its list of bitmaps did. A selection pass only
  // sets the raster positions: bitmaps add no hits of their own there.
  void draw(int list) const;
  // Frees the texture; the context must be current.
  void release();

 private:
  struct Label {
    GLfloat at[3];
    int colour;  // into Text::colours; -1: GL's current colour
    std::uint32_t first, count;  // into Text::glyphs
  };
  struct Text {
    std::vector<Label> labels;
    std::vector<Rgba> colours;
    std::vector<unsigned char> glyphs;
    int lastcolour = -1;  // the colour the list leaves current
  };
  struct Run {
    Rgba colour;
    GLint first;
    GLsizei count;
  };

  static Text totext(const DrawList& ops);
  void addglyphs(const Text& text, const Label& label, const GLfloat rasterpos[4], Rgba colour) const;
  void drawquads() const;

  GlyphAtlas atlas_;
  std::array<Text, kPilotLabelList - kCtrLabelList + 1> texts_;
  // The quads of one layer in one view: s, t, x, y, z per corner; kept from
  // frame to frame to spare the allocations.
  mutable std::vector<GLfloat> vertices_;
  mutable std::vector<Run> runs_;
  // Two triangles for each quad: the renderer takes them faster than quads.
  mutable std::vector<GLuint> indices_;
};

}  // namespace netglobe
