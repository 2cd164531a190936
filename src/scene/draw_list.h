#pragma once

#include <cstdint>
#include <vector>

#include "geo/globe_coords.h"

namespace netglobe {

// A layer as plain data: the commands its numbered display list records, in
// order. Builders fill one; the render module compiles it into the list.
// The enum values are the GL constants (the render module checks this when
// it is compiled), so compiling is a cast.
enum class Prim : std::uint32_t {
  Points = 0x0000,
  Lines = 0x0001,
  LineLoop = 0x0002,
  LineStrip = 0x0003,
  Triangles = 0x0004,
  TriangleFan = 0x0006,
  Quads = 0x0007,
  Polygon = 0x0009,
};

enum class Cap : std::uint32_t {
  LineStipple = 0x0B24,
  DepthTest = 0x0B71,
  StencilTest = 0x0B90,
  Blend = 0x0BE2,
  Texture2D = 0x0DE1,
};

// Stencil test functions and actions of the even-odd fill.
enum class StencilFunc : std::uint32_t {
  Equal = 0x0202,
  Always = 0x0207,
};

enum class StencilAction : std::uint32_t {
  Keep = 0x1E00,
  Invert = 0x150A,
};

struct DrawOp {
  enum class Kind : std::uint8_t {
    Begin,       // u = Prim
    End,
    Vertex,      // f[0..2]
    Color,       // f[0..3] (alpha 1 unless given)
    LineWidth,   // f[0]
    PointSize,   // f[0]
    LoadName,    // u
    Enable,      // u = Cap
    Disable,     // u = Cap
    RasterPos,   // f[0..2]
    Glyph,       // u = character byte; drawn through the glyph lists
    Sphere,      // f[0] radius, u = slices and stacks; with texture coordinates
    StencilFunc, // u = StencilFunc, f[0] = ref, f[1] = mask
    StencilOp,   // u = fail, f[0] = zfail, f[1] = zpass (StencilAction values)
    ColorMask,   // u = 1 to write colour, 0 to mask it
    ClearStencil,  // clears the stencil buffer
  };
  Kind kind;
  std::uint32_t u = 0;
  float f[4] = {0, 0, 0, 0};
};

class DrawList {
 public:
  const std::vector<DrawOp>& ops() const { return ops_; }
  bool empty() const { return ops_.empty(); }

  void begin(Prim p) { push(DrawOp::Kind::Begin, static_cast<std::uint32_t>(p)); }
  void end() { push(DrawOp::Kind::End); }
  void vertex(const GlobePoint& p) {
    push(DrawOp::Kind::Vertex, 0, float(p.x), float(p.y), float(p.z));
  }
  void color(float r, float g, float b, float a = 1.0f) { push(DrawOp::Kind::Color, 0, r, g, b, a); }
  void linewidth(float w) { push(DrawOp::Kind::LineWidth, 0, w); }
  void pointsize(float s) { push(DrawOp::Kind::PointSize, 0, s); }
  void loadname(std::uint32_t name) { push(DrawOp::Kind::LoadName, name); }
  void enable(Cap c) { push(DrawOp::Kind::Enable, static_cast<std::uint32_t>(c)); }
  void disable(Cap c) { push(DrawOp::Kind::Disable, static_cast<std::uint32_t>(c)); }
  void rasterpos(const GlobePoint& p) {
    push(DrawOp::Kind::RasterPos, 0, float(p.x), float(p.y), float(p.z));
  }
  void glyph(unsigned char c) { push(DrawOp::Kind::Glyph, c); }
  void sphere(double radius, std::uint32_t slicesstacks) {
    push(DrawOp::Kind::Sphere, slicesstacks, float(radius));
  }
  void stencilfunc(StencilFunc func, int ref, std::uint32_t mask) {
    push(DrawOp::Kind::StencilFunc, static_cast<std::uint32_t>(func), float(ref), float(mask));
  }
  void stencilop(StencilAction fail, StencilAction zfail, StencilAction zpass) {
    push(DrawOp::Kind::StencilOp, static_cast<std::uint32_t>(fail),
         float(static_cast<std::uint32_t>(zfail)), float(static_cast<std::uint32_t>(zpass)));
  }
  void colormask(bool on) { push(DrawOp::Kind::ColorMask, on ? 1u : 0u); }
  void clearstencil() { push(DrawOp::Kind::ClearStencil); }
  // One command as it stands, copied from another list.
  void append(const DrawOp& op) { ops_.push_back(op); }

  // How many commands of one kind the list holds.
  std::size_t countof(DrawOp::Kind kind) const;

 private:
  void push(DrawOp::Kind kind, std::uint32_t u = 0, float a = 0, float b = 0, float c = 0,
            float d = 0) {
    DrawOp op{kind, u, {a, b, c, d}};
    ops_.push_back(op);
  }
  std::vector<DrawOp> ops_;
};

}  // namespace netglobe
