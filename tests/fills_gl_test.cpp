// The active-FIR fills drawn from triangles against the way they were drawn
// before, each polygon twice through the stencil buffer: the same pixels in
// every view, but for a few on the outlines themselves, over every FIR of
// the shipped boundary file and over made-up outlines with holes, notches,
// the 180th meridian and a pole inside.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <QApplication>
#include <QOpenGLWidget>
#include <cmath>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "base/line_reader.h"
#include "base/number_text.h"
#include "geo/globe_coords.h"
#include "gl_suite_widget.h"
#include "render/gl_scene.h"
#include "render/outline_tessellator.h"

namespace netglobe {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr double kFillOffset = 0.00001;  // where the active-FIR layer puts its points

using Ring = std::vector<GlobePoint>;

// A point as a display list holds it.
GlobePoint onshell(double lat, double lon) {
  const GlobePoint p = getxyz(lat, lon, kFillOffset);
  return {float(p.x), float(p.y), float(p.z)};
}

Ring ring(std::initializer_list<std::pair<double, double>> latlons) {
  Ring out;
  for (const auto& [lat, lon] : latlons) out.push_back(onshell(lat, lon));
  return out;
}

// Every block of fir1.dat that the active-FIR layer would fill.
std::vector<Ring> shippedoutlines() {
  LineReader file(std::string(NETGLOBE_DATA_DIR) + "/fir1.dat");
  std::vector<Ring> rings;
  std::string line;
  Ring current;
  const auto close = [&] {
    if (!current.empty() && current.size() <= 500) rings.push_back(current);
    current.clear();
  };
  while (file.next(line)) {
    if (line.empty()) continue;
    if (line[0] == '!') {
      close();
      continue;
    }
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    current.push_back(onshell(leadingnumber(line.substr(0, colon)), leadingnumber(line.substr(colon + 1))));
  }
  close();
  return rings;
}

// Outlines the shipped file may lack: a square with a square hole (the ring
// runs around the hole through a cut, both ways along it), a comb of deep
// notches, a star, one across the 180th meridian, one around the north
// pole, a large oceanic one, and a bow tie that crosses itself.
std::vector<Ring> madeupoutlines() {
  std::vector<Ring> rings;
  rings.push_back(ring({{40, 0}, {40, 20}, {55, 20}, {55, 0}, {47, 0}, {47, 6}, {51, 6}, {51, 14},
                        {44, 14}, {44, 6}, {47, 6}, {47, 0}}));
  Ring comb;
  for (int tooth = 0; tooth < 6; ++tooth) {
    comb.push_back(onshell(20, 30 + 4 * tooth));
    comb.push_back(onshell(35, 30 + 4 * tooth + 1));
    comb.push_back(onshell(21, 30 + 4 * tooth + 2));
  }
  comb.push_back(onshell(15, 54));
  comb.push_back(onshell(15, 30));
  rings.push_back(comb);
  Ring star;
  for (int k = 0; k < 14; ++k) {
    const double r = k % 2 ? 3 : 12;
    star.push_back(onshell(10 + r * std::cos(k * 0.448799), -20 + r * std::sin(k * 0.448799)));
  }
  rings.push_back(star);
  rings.push_back(ring({{30, 170}, {45, 175}, {50, -170}, {40, -160}, {38, -175}, {33, 179.5}}));
  Ring polar;
  for (int lon = -180; lon < 180; lon += 15) polar.push_back(onshell(lon % 30 ? 72 : 78, lon));
  rings.push_back(polar);
  rings.push_back(ring({{-5, -40}, {-5, -10}, {-45, -10}, {-45, -25}, {-20, -25}, {-20, -40}}));
  rings.push_back(ring({{0, 60}, {10, 75}, {0, 75}, {10, 60}}));
  return rings;
}

const Rgba kFill{1, 0, 0.5f, 0.2f};  // a centre station's fill

class FillsGl : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { widget = shownglwidget(kWidth, kHeight); }
  static void TearDownTestSuite() { widget.reset(); }
  void SetUp() override {
    widget->makeCurrent();
    ASSERT_EQ(gl.open(), "");
    gl.setstartstate();
    gl.resize(widget->width(), widget->height());
    scene.globestyle = 3;  // no globe list is built: the fills over the background
  }
  void TearDown() override {
    gl.release();
    widget->doneCurrent();
  }

  static std::vector<unsigned char> framebuffer() {
    std::vector<unsigned char> rgba(std::size_t(kWidth * kHeight * 4));
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
  }
  // The active-FIR layer's fills as the program draws them.
  std::vector<unsigned char> triangles(const std::vector<Ring>& rings, const ViewState& v) {
    Layer layer{kActFirList};
    for (const Ring& r : rings) {
      layer.ops.disable(Cap::DepthTest);
      layer.ops.color(kFill.r, kFill.g, kFill.b, kFill.a);
      layer.ops.begin(Prim::EvenOddFill);
      for (const GlobePoint& p : r) layer.ops.vertex(p);
      layer.ops.end();
    }
    gl.compile(layer);
    gl.drawframe(scene, v);
    return framebuffer();
  }
  // The frame without them, then every ring filled through the stencil
  // buffer on top: the modelview is still the view's.
  std::vector<unsigned char> stencil(const std::vector<Ring>& rings, const ViewState& v) {
    gl.discard(kActFirList);
    gl.drawframe(scene, v);
    const auto polygon = [](const Ring& r) {
      glBegin(GL_POLYGON);
      for (const GlobePoint& p : r) glVertex3f(float(p.x), float(p.y), float(p.z));
      glEnd();
    };
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_STENCIL_TEST);
    glClear(GL_STENCIL_BUFFER_BIT);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INVERT);
    for (const Ring& r : rings) {
      glStencilFunc(GL_ALWAYS, 0, 1);
      glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
      polygon(r);
      glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
      glStencilFunc(GL_EQUAL, 1, 1);
      glColor4f(kFill.r, kFill.g, kFill.b, kFill.a);
      polygon(r);
    }
    glDisable(GL_STENCIL_TEST);
    return framebuffer();
  }
  // The pixels within a pixel of an outline: its segments drawn 3 pixels wide.
  std::vector<unsigned char> outlineedges(const std::vector<Ring>& rings, const ViewState& v) {
    gl.discard(kActFirList);
    gl.drawframe(scene, v);
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    glLineWidth(3);
    for (const Ring& r : rings) {
      glBegin(GL_LINE_LOOP);
      for (const GlobePoint& p : r) glVertex3f(float(p.x), float(p.y), float(p.z));
      glEnd();
    }
    glLineWidth(1);
    glEnable(GL_BLEND);
    return framebuffer();
  }

  static inline std::unique_ptr<QOpenGLWidget> widget;
  GlScene gl;
  SceneState scene;
};

ViewState view(float lon, float tilt, double dist) {
  ViewState v;
  v.viewlon = lon;
  v.viewtilt = tilt;
  v.viewdist = dist;
  return v;
}

bool samepixel(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b, std::size_t i) {
  return a[i] == b[i] && a[i + 1] == b[i + 1] && a[i + 2] == b[i + 2];
}

TEST_F(FillsGl, TrianglesFillTheStencilsPixelsInEveryView) {
  const std::vector<std::pair<std::string, std::vector<Ring>>> sets = {
      {"shipped", shippedoutlines()}, {"made up", madeupoutlines()}};
  ASSERT_GT(sets[0].second.size(), 200u);
  // Views from close by over Europe, the Middle East, West Africa, the 180th
  // meridian, the north pole, the South Atlantic and the Indian Ocean, and the
  // closest zoom. Each keeps the edge of the visible globe out of the window:
  // there both ways cut their flat pieces, which lie below the sphere by
  // different depths, where the clip plane meets them.
  const std::vector<ViewState> views = {view(12, 39, 2.9),   view(40, 65, 4),   view(-20, 80, 4),
                                        view(180, 50, 3.5),  view(0, 0, 4),     view(-25, 115, 4),
                                        view(67, 85, 3.5),   view(77.7f, 12.3f, 2.18)};
  for (const auto& [name, rings] : sets) {
    std::size_t allfilled = 0;
    for (const ViewState& v : views) {
      const std::vector<unsigned char> drawn = triangles(rings, v);
      const std::vector<unsigned char> expected = stencil(rings, v);
      const std::vector<unsigned char> edges = outlineedges(rings, v);
      gl.discard(kActFirList);
      gl.drawframe(scene, v);
      const std::vector<unsigned char> empty = framebuffer();
      std::size_t filled = 0, differing = 0, offedge = 0;
      for (std::size_t i = 0; i < expected.size(); i += 4) {
        filled += !samepixel(expected, empty, i);
        if (samepixel(drawn, expected, i)) continue;
        ++differing;
        offedge += samepixel(edges, empty, i);
      }
      std::printf("%s outlines, view %g %g %g: %zu filled pixels, %zu differ, %zu of them off the outlines\n",
                  name.c_str(), double(v.viewlon), double(v.viewtilt), v.viewdist, filled, differing,
                  offedge);
      allfilled += filled;
      EXPECT_LE(differing * 1000, filled);
      // Off the outlines: a few pixels of one FIR where the window's edge
      // cuts its triangles.
      EXPECT_LE(offedge * 10000, filled);
    }
    EXPECT_GT(allfilled, views.size() * 20000);
  }
}

TEST_F(FillsGl, TessellatorRefusesOnlyRingsItCannotLayFlat) {
  // The bow tie crosses itself; a ring around the equator holds no side to
  // lay it flat from.
  const std::vector<Ring> madeup = madeupoutlines();
  for (std::size_t i = 0; i < madeup.size(); ++i) {
    EXPECT_EQ(filltriangles(madeup[i]).has_value(), i + 1 < madeup.size()) << "made-up ring " << i;
  }
  Ring equator;
  for (int lon = -180; lon < 180; lon += 20) equator.push_back(onshell(lon % 40 ? 1 : -1, lon));
  EXPECT_FALSE(filltriangles(equator));
  // A ring of no area is no refusal: it fills nothing either way.
  const auto flat = filltriangles(ring({{10, 10}, {11, 11}, {10, 10}, {11, 11}}));
  ASSERT_TRUE(flat);
  EXPECT_TRUE(flat->empty());

  std::size_t refused = 0;
  for (const Ring& r : shippedoutlines()) refused += !filltriangles(r);
  std::printf("shipped outlines the tessellator refuses: %zu\n", refused);
  EXPECT_EQ(refused, 0u);
}

}  // namespace
}  // namespace netglobe
