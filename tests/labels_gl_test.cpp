// Labels drawn from the font texture against the way they were drawn
// before, one bitmap per glyph at a raster position: the same pixels in
// every view, and the same hits in a selection pass.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <QApplication>
#include <QOpenGLWidget>
#include <string>
#include <vector>

#include "geo/globe_coords.h"
#include "gl_suite_widget.h"
#include "lists/label_glyphs.h"
#include "render/gl_scene.h"
#include "render/glyph_font.h"
#include "render/label_layers.h"
#include "render/pick_pass.h"
#include "render/scene_renderer.h"

namespace netglobe {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr GLuint kBitmapBase = 1000;  // the oracle's glyph lists

// The oracle: one bitmap list per glyph, replayed glyph by glyph.
void buildbitmaplists() {
  const std::vector<GlyphImage> glyphs = labelglyphs();
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (std::size_t code = 0; code < glyphs.size(); ++code) {
    const GlyphImage& g = glyphs[code];
    glNewList(kBitmapBase + GLuint(code), GL_COMPILE);
    glBitmap(g.width, g.height, g.xorig, g.yorig, g.advance, 0.0f, g.bits.data());
    glEndList();
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

void drawbitmaps(const DrawList& list) {
  for (const DrawOp& op : list.ops()) {
    if (op.kind == DrawOp::Kind::Color) {
      const Rgba c = op.rgba();
      glColor4f(c.r, c.g, c.b, c.a);
    } else if (op.kind == DrawOp::Kind::RasterPos) {
      const GlobePoint p = op.point();
      glRasterPos3f(float(p.x), float(p.y), float(p.z));
    } else if (op.kind == DrawOp::Kind::Glyph) {
      glCallList(kBitmapBase + op.glyph());  // byte 255 has no list: nothing
    }
  }
}

// Labels on a grid over the whole globe, so that every view has some
// behind it and some at its edge, and denser around the centres of the two
// close views below, so that many cross the window's edges; between them
// they use every byte, the blank control codes and the glyphless 255
// included, and list 16 changes colour part way.
std::vector<Layer> labellayers() {
  const float colours[4][4] = {{1, 0.7f, 1, 1}, {0, 1, 0, 1}, {0, 1, 1, 1}, {1, 1, 0, 1}};
  std::vector<Layer> layers;
  for (int list = kCtrLabelList; list <= kPilotLabelList; ++list) {
    Layer layer{list};
    const float* c = colours[list - kCtrLabelList];
    layer.ops.color(c[0], c[1], c[2], c[3]);
    layers.push_back(layer);
  }
  int n = 0;
  const auto grid = [&](double lat0, double lat1, double dlat, double lon0, double lon1, double dlon) {
    for (double lat = lat0; lat <= lat1; lat += dlat) {
      for (double lon = lon0; lon < lon1; lon += dlon, ++n) {
        std::string text;
        const int length = n % 23 == 0 ? 0 : 4 + n % 19;  // some empty, as most pilots in mode 5
        for (int i = 0; i < length; ++i) text += char(1 + (n * 13 + i * 7) % 255);
        DrawList& out = layers[std::size_t(n % 4)].ops;
        if (n == 1200) out.color(1, 0.5f, 0, 1);
        drawlabel(out, getxyz(lat + 0.37 * dlat * (n % 3), lon, 0), text);
      }
    }
  };
  grid(-86, 86, 4.3, -180, 180, 6.7);
  grid(45, 57, 0.45, 2, 22, 0.9);
  grid(76.2, 79.2, 0.11, 74, 82, 0.33);
  return layers;
}

class LabelsGl : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { widget = shownglwidget(kWidth, kHeight); }
  static void TearDownTestSuite() { widget.reset(); }
  void SetUp() override {
    widget->makeCurrent();
    ASSERT_EQ(gl.open(), "");
    gl.setstartstate();
    gl.resize(widget->width(), widget->height());
    gl.buildglobes();
    buildbitmaplists();
    layers = labellayers();
    scene.globestyle = 3;  // the plain globe, whose depth hides the text behind its bulge
  }
  void TearDown() override {
    glDeleteLists(kBitmapBase, kGlyphCount);
    gl.release();
    widget->doneCurrent();
  }

  std::vector<unsigned char> framebuffer() const {
    std::vector<unsigned char> rgba(std::size_t(widget->width() * widget->height() * 4));
    glReadPixels(0, 0, widget->width(), widget->height(), GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
  }
  // The frame with the label layers compiled and switched on.
  std::vector<unsigned char> withtexture(const ViewState& view) {
    for (const Layer& layer : layers) gl.compile(layer);
    scene.stationlabels = scene.pilotlabels = 1;
    gl.drawframe(scene, view);
    return framebuffer();
  }
  // The frame without them, then the same labels as bitmaps on top: the
  // modelview is still the view's.
  std::vector<unsigned char> withbitmaps(const ViewState& view) {
    for (const Layer& layer : layers) gl.discard(layer.list);
    gl.drawframe(scene, view);
    for (const Layer& layer : layers) drawbitmaps(layer.ops);
    return framebuffer();
  }
  static int differing(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    int n = 0;
    for (std::size_t i = 0; i < a.size(); i += 4) {
      n += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
    }
    return n;
  }

  static inline std::unique_ptr<QOpenGLWidget> widget;
  GlScene gl;
  SceneState scene;
  std::vector<Layer> layers;
};

ViewState view(float lon, float tilt, double dist) {
  ViewState v;
  v.viewlon = lon;
  v.viewtilt = tilt;
  v.viewdist = dist;
  return v;
}

// The whole globe, its edge seen from the side and from below, close views
// where most labels lie outside the window, and the closest zoom.
const std::vector<ViewState> kViews = {view(12, 39, 11.5), view(-100, 95, 6.5), view(200, 160, 4),
                                       view(12, 39, 2.9),  view(77.7f, 12.3f, 2.18)};

TEST_F(LabelsGl, TextureDrawsTheBitmapsPixelsInEveryView) {
  for (const bool depthtest : {true, false}) {
    // The frame leaves depth testing on until a layer turns it off, as the
    // approach symbols do.
    if (!depthtest) gl.compile(Layer{kAppList});
    for (const ViewState& v : kViews) {
      const std::vector<unsigned char> texture = withtexture(v);
      const std::vector<unsigned char> bitmaps = withbitmaps(v);
      EXPECT_EQ(differing(texture, bitmaps), 0)
          << "view " << v.viewlon << " " << v.viewtilt << " " << v.viewdist << " depth test " << depthtest;
      // Labels were drawn at all.
      gl.drawframe(SceneState{.globestyle = 3}, v);
      EXPECT_GT(differing(texture, framebuffer()), 2000);
    }
  }
}

TEST_F(LabelsGl, ByteWithoutGlyphDrawsNothingAndTheEuroSignHasItsOwn) {
  const auto frame = [&](const std::vector<unsigned char>& bytes) {
    Layer layer{kPilotLabelList};
    layer.ops.color(1, 1, 1);
    layer.ops.rasterpos(getxyz(51, 12, 0));
    for (const unsigned char c : bytes) layer.ops.glyph(c);
    layers = {layer};
    return withtexture(ViewState{});
  };
  const std::vector<unsigned char> w = frame({'W'});
  EXPECT_NE(w, frame({}));
  EXPECT_EQ(frame({255, 'W'}), w);  // no glyph, no advance
  const std::vector<unsigned char> euro = frame({0x80});
  EXPECT_NE(euro, w);
  EXPECT_EQ(differing(euro, withbitmaps(ViewState{})), 0);
}

TEST_F(LabelsGl, PensAHairFromAPixelEdgeSnapAsTheBitmapsDid) {
  // Window pixels as model space: each label's raster position is its point.
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, kWidth, 0, kHeight, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  Layer layer{kPilotLabelList};
  layer.ops.color(1, 1, 1);
  const double fractions[] = {0, 0.5, 0.99995, 0.9999, 0.99985, 0.9998, 0.99999, 0.00001};
  int row = 0;
  for (const double f : fractions) {
    // Across x = 256 and 512 the pen's float steps grow coarser.
    for (const double x : {40.0, 250.0, 505.0}) {
      drawlabel(layer.ops, {x + f, 20.0 + 14 * row + f, 0}, "Wj|.,' W8g Wy@\x80");
    }
    ++row;
  }
  LabelLayers labels;
  labels.open();
  labels.compile(layer);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  labels.draw(kPilotLabelList);  // with the current matrices
  const std::vector<unsigned char> texture = framebuffer();
  labels.release();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  drawbitmaps(layer.ops);
  EXPECT_EQ(differing(texture, framebuffer()), 0);
}

// Where GL puts the raster position of a point, in pixels from the top.
bool cursorat(const GlobePoint& p, float& x, float& y) {
  glRasterPos3f(float(p.x), float(p.y), float(p.z));
  GLint valid = GL_FALSE;
  glGetIntegerv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
  GLfloat at[4];
  glGetFloatv(GL_CURRENT_RASTER_POSITION, at);
  x = at[0];
  y = float(kHeight) - at[1];
  return valid;
}

TEST_F(LabelsGl, SelectionPassHitsWhereTheBitmapsDid) {
  for (const Layer& layer : layers) gl.compile(layer);
  scene.stationlabels = scene.pilotlabels = 1;
  SceneState unlabelled = scene;
  unlabelled.stationlabels = unlabelled.pilotlabels = -1;
  for (const ViewState& v : kViews) {
    // The cursor on the points of the first pilot labels the view shows,
    // and beside them.
    gl.drawframe(unlabelled, v);
    std::vector<std::pair<float, float>> cursors;
    for (const DrawOp& op : layers[3].ops.ops()) {
      float x = 0, y = 0;
      if (op.kind != DrawOp::Kind::RasterPos || !cursorat(op.point(), x, y)) continue;
      cursors.insert(cursors.end(), {{x, y}, {x + 3, y}});
      if (cursors.size() >= 30) break;
    }
    int onlabel = 0;
    for (const auto& [x, y] : cursors) {
      const PickHits texture = gl.pick(x, y, scene, v);
      const PickHits bitmaps = pickpass(x, y, [&] {
        SceneState selecting = unlabelled;
        selecting.selecting = true;
        gl.drawframe(selecting, v);
        for (const Layer& layer : layers) drawbitmaps(layer.ops);
      });
      EXPECT_EQ(texture.hits, bitmaps.hits) << x << ", " << y;
      EXPECT_EQ(texture.selbuf, bitmaps.selbuf) << x << ", " << y;
      onlabel += texture.hits > gl.pick(x, y, unlabelled, v).hits;
    }
    EXPECT_GT(onlabel, 0) << "view " << v.viewlon << " " << v.viewtilt << " " << v.viewdist;
  }
}

}  // namespace
}  // namespace netglobe
