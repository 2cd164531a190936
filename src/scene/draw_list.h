#pragma once

#include <cstdint>
#include <vector>

#include "geo/globe_coords.h"

namespace netglobe {

// A layer as plain data: the commands its numbered display list records, in
// order. Builders fill one; the render module compiles it into the list.
// The enum values are the GL constants (the render module checks this when
// it is compiled), so compiling is a cast; EvenOddFill alone is no GL
// primitive.
enum class Prim : std::uint32_t {
  Points = 0x0000,
  Lines = 0x0001,
  LineLoop = 0x0002,
  LineStrip = 0x0003,
  Triangles = 0x0004,
  TriangleFan = 0x0006,
  Quads = 0x0007,
  Polygon = 0x0009,
  // The interior of the closed ring of its vertices by the even-odd rule:
  // what a point is inside when a ray from it crosses the ring an odd number
  // of times. The render module fills it from triangles it makes once per
  // ring.
  EvenOddFill = 0x10000,
};

enum class Cap : std::uint32_t {
  LineStipple = 0x0B24,
  DepthTest = 0x0B71,
  Blend = 0x0BE2,
  Texture2D = 0x0DE1,
};

// A colour, alpha included.
struct Rgba {
  float r, g, b, a;
};

// One command. Its operands mean different things for different kinds, so
// they are read through the accessor that names them; each accessor is
// meaningful only for the kinds given beside it.
class DrawOp {
 public:
  enum class Kind : std::uint8_t {
    Begin,         // prim()
    End,
    Vertex,        // point()
    Color,         // rgba() (alpha 1 unless given)
    LineWidth,     // width()
    PointSize,     // size()
    LoadName,      // name()
    PushName,      // name(): one more name for what follows, until the PopName
    PopName,
    Enable,        // cap()
    Disable,       // cap()
    RasterPos,     // point()
    Glyph,         // glyph(): a windows-1252 byte drawn at the raster position
    Sphere,        // radius(), slices() (as many stacks); with texture coordinates
  };
  Kind kind;

  Prim prim() const { return static_cast<Prim>(u_); }
  GlobePoint point() const { return {f_[0], f_[1], f_[2]}; }
  Rgba rgba() const { return {f_[0], f_[1], f_[2], f_[3]}; }
  float width() const { return f_[0]; }
  float size() const { return f_[0]; }
  std::uint32_t name() const { return u_; }
  Cap cap() const { return static_cast<Cap>(u_); }
  unsigned char glyph() const { return static_cast<unsigned char>(u_); }
  float radius() const { return f_[0]; }
  int slices() const { return static_cast<int>(u_); }
  // Whether every number the command carries is finite.
  bool finite() const;
  bool operator==(const DrawOp&) const = default;

 private:
  friend class DrawList;
  DrawOp(Kind k, std::uint32_t u, float a, float b, float c, float d)
      : kind(k), u_(u), f_{a, b, c, d} {}
  std::uint32_t u_ = 0;
  float f_[4] = {0, 0, 0, 0};
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
  // A pick then reports what is drawn in between under every name on the
  // stack. A layer pops what it pushes.
  void pushname(std::uint32_t name) { push(DrawOp::Kind::PushName, name); }
  void popname() { push(DrawOp::Kind::PopName); }
  void enable(Cap c) { push(DrawOp::Kind::Enable, static_cast<std::uint32_t>(c)); }
  void disable(Cap c) { push(DrawOp::Kind::Disable, static_cast<std::uint32_t>(c)); }
  void rasterpos(const GlobePoint& p) {
    push(DrawOp::Kind::RasterPos, 0, float(p.x), float(p.y), float(p.z));
  }
  void glyph(unsigned char c) { push(DrawOp::Kind::Glyph, c); }
  void sphere(double radius, std::uint32_t slicesstacks) {
    push(DrawOp::Kind::Sphere, slicesstacks, float(radius));
  }
  // One command as it stands, copied from another list.
  void append(const DrawOp& op) { ops_.push_back(op); }

  // How many commands of one kind the list holds.
  std::size_t countof(DrawOp::Kind kind) const;

 private:
  void push(DrawOp::Kind kind, std::uint32_t u = 0, float a = 0, float b = 0, float c = 0,
            float d = 0) {
    ops_.push_back(DrawOp(kind, u, a, b, c, d));
  }
  std::vector<DrawOp> ops_;
};

}  // namespace netglobe
