// The GL owner against a real context: the commands that the traffic layers
// record must do in GL what their names say.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <QApplication>
#include <QOpenGLWidget>
#include <set>
#include <vector>

#include "feed/status_parser.h"
#include "geo/globe_coords.h"
#include "gl_suite_widget.h"
#include "layers/aircraft_layers.h"
#include "layers/fir_layers.h"
#include "lists/pick_decode.h"
#include "population.h"
#include "render/gl_probe.h"
#include "render/gl_scene.h"
#include "render/pick_pass.h"
#include "scene/pick_names.h"
#include "snapshot.h"
#include "temp_folder.h"
#include "world.h"

namespace netglobe {
namespace {

const std::vector<unsigned char> kBackground = {0, 0, 26};  // the clear colour, night blue
const std::vector<unsigned char> kRed = {255, 0, 0};

class GlSceneTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { widget = shownglwidget(100, 100); }
  static void TearDownTestSuite() { widget.reset(); }
  void SetUp() override {
    widget->makeCurrent();
    ASSERT_EQ(gl.open(), "");
    gl.setstartstate();
    // Model space is clip space here: (-1,-1) to (1,1) fills the window.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  }
  void TearDown() override {
    gl.release();
    widget->doneCurrent();
  }
  // The colour at a point given in clip coordinates.
  static std::vector<unsigned char> pixel(double x, double y) {
    std::vector<unsigned char> rgba(4);
    glReadPixels(int((x + 1) * 50), int((y + 1) * 50), 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return {rgba[0], rgba[1], rgba[2]};
  }

  static inline std::unique_ptr<QOpenGLWidget> widget;
  GlScene gl;
};

void polygon(DrawList& out, const std::vector<std::pair<double, double>>& points) {
  out.begin(Prim::Polygon);
  for (const auto& [x, y] : points) out.vertex({x, y, 0});
  out.end();
}

std::vector<unsigned char> framebuffer() {
  std::vector<unsigned char> rgba(100 * 100 * 4);
  glReadPixels(0, 0, 100, 100, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  return rgba;
}

TEST_F(GlSceneTest, EvenOddFillsLeaveTheNotchOfAnLAndTheWingsOfABowTieCrossingEmpty) {
  // An L whose first corner is at the notch, filled from triangles, and a
  // bow tie that crosses itself, which the tessellator refuses: filled
  // through the stencil buffer, which starts stale. Both lie in a plane
  // facing the viewer, as a small FIR on the globe does.
  const std::vector<std::pair<double, double>> ell = {
      {0.8, 0.0}, {0.0, 0.0}, {0.0, 0.8}, {-0.8, 0.8}, {-0.8, -0.8}, {0.8, -0.8}};
  const std::vector<std::pair<double, double>> bowtie = {{0.1, 0.1}, {0.9, 0.9}, {0.9, 0.1}, {0.1, 0.9}};
  Layer fill{kActFirList, {}};
  DrawList& out = fill.ops;
  out.disable(Cap::DepthTest);
  out.color(1, 0, 0, 1);
  for (const auto* ring : {&ell, &bowtie}) {
    out.begin(Prim::EvenOddFill);
    for (const auto& [x, y] : *ring) out.vertex({x, y, 0.5});
    out.end();
  }
  glClearStencil(1);
  glClear(GL_STENCIL_BUFFER_BIT);
  glClearStencil(0);
  const std::vector<unsigned char> before = framebuffer();
  gl.compile(fill);
  // Recording draws nothing, but the list's switch takes effect at once.
  EXPECT_EQ(framebuffer(), before);
  EXPECT_TRUE(gl.ready()[kActFirList]);
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));

  glCallList(kActFirList);
  EXPECT_EQ(pixel(-0.5, -0.5), kRed);
  EXPECT_EQ(pixel(-0.5, 0.5), kRed);
  EXPECT_EQ(pixel(0.5, -0.5), kRed);
  EXPECT_EQ(pixel(0.9, 0.95), kBackground);
  EXPECT_EQ(pixel(0.3, 0.5), kRed);  // the bow tie's left and right wings
  EXPECT_EQ(pixel(0.7, 0.5), kRed);
  EXPECT_EQ(pixel(0.5, 0.3), kBackground);  // below and above its crossing
  EXPECT_EQ(pixel(0.5, 0.7), kBackground);
  EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
}

TEST_F(GlSceneTest, ActiveFirFillsConcaveOutlinesExactlyAndOverlapsBlendEachFir) {
  // An L-shaped FIR with its notch to the north-east, an overlapping square
  // FSS region, and the L staffed twice.
  TempFolder folder;
  folder.write("firs.dat", "ELLL::L:::0:0\nESQR::S:::0:0\n");
  folder.write("fir1.dat", "!ELLL\n0:4\n0:0\n4:0\n4:-4\n-4:-4\n-4:4\n!\n"
                           "!ESQR\n-2:-2\n-2:6\n2:6\n2:-2\n!\n");
  RefDirectories refs(folder.path());
  refs.refresh();
  StatusLists lists;
  for (const char* line : {"ELLL_CTR:1:n:ATC:", "ESQR_FSS:1:n:ATC:", "ELLL_CTR:1:n:ATC:"}) {
    appendline(lists.ctrlines, lists.ctrcount, line);
  }
  const Layer once = drawactfir(lists, refs.firs, refs.outlines, 1);
  ASSERT_EQ(once.failure, "");

  // Looking at 0 N 0 E from outside: x east, y north, about 5.7 degrees to
  // the window's edge.
  glMatrixMode(GL_PROJECTION);
  glOrtho(-0.2, 0.2, -0.2, 0.2, -10, 10);
  glMatrixMode(GL_MODELVIEW);
  glRotated(-90, 1, 0, 0);
  const auto at = [](double lat, double lon) {
    const GlobePoint p = getxyz(lat, lon, 0);
    return pixel(p.x / 0.2, p.z / 0.2);
  };
  gl.compile(once);
  glClear(GL_COLOR_BUFFER_BIT);
  glCallList(kActFirList);
  EXPECT_EQ(at(3, 1), kBackground);  // the notch, north of the square
  EXPECT_EQ(at(3, 3), kBackground);
  EXPECT_EQ(at(-5, 0), kBackground);  // outside both
  const std::vector<unsigned char> ell = at(-3, -3), both = at(-1, -1), square = at(-1, 5);
  EXPECT_NE(ell, kBackground);
  EXPECT_EQ(at(3, -3), ell);
  EXPECT_EQ(at(-3, 3), ell);
  EXPECT_NE(square, kBackground);
  EXPECT_EQ(at(1, 3), square);  // the square over the notch
  EXPECT_NE(both, ell);
  EXPECT_NE(both, square);
}

TEST_F(GlSceneTest, AFirStaffedSeveralTimesLooksAsItsBlendsDidAndAPickNamesEveryStation) {
  // The L staffed four times by centres and a square south of it twice by
  // flight service stations, between them a station of no known FIR.
  TempFolder folder;
  folder.write("firs.dat", "ELLL::L:::0:0\nESQR::S:::0:0\n");
  folder.write("fir1.dat", "!ELLL\n0:4\n0:0\n4:0\n4:-4\n-4:-4\n-4:4\n!\n"
                           "!ESQR\n-5.5:-5\n-5.5:5\n-4.5:5\n-4.5:-5\n!\n");
  RefDirectories refs(folder.path());
  refs.refresh();
  StatusLists lists;
  for (const char* line : {"ELLL_CTR:1:Ann:ATC:", "ESQR_FSS:1:Sam:ATC:", "ELLL_CTR:1:Ben:ATC:",
                           "EXXX_CTR:1:Xav:ATC:", "ELLL_CTR:1:Cat:ATC:", "ESQR_FSS:1:Sue:ATC:",
                           "ELLL_CTR:1:Dan:ATC:"}) {
    appendline(lists.ctrlines, lists.ctrcount, line);
  }
  glMatrixMode(GL_PROJECTION);
  glOrtho(-0.2, 0.2, -0.2, 0.2, -10, 10);  // 0 N 0 E in the middle, as above
  glMatrixMode(GL_MODELVIEW);
  glRotated(-90, 1, 0, 0);

  // The outlines alone: a blend over an outline was undone by the next
  // station's outline, so only the pixels off them must stay as they were.
  glClear(GL_COLOR_BUFFER_BIT);
  gl.compile(drawactfir(lists, refs.firs, refs.outlines, 0));
  glCallList(kActFirList);
  const std::vector<unsigned char> outlines = framebuffer();
  const auto background = [](const std::vector<unsigned char>& rgba, std::size_t i) {
    return std::equal(kBackground.begin(), kBackground.end(), rgba.begin() + std::ptrdiff_t(i));
  };

  // As the stations were drawn one by one: each FIR blended once a station.
  glClear(GL_COLOR_BUFFER_BIT);
  for (int i = 1; i <= lists.ctrcount; ++i) {
    StatusLists one;
    appendline(one.ctrlines, one.ctrcount, lists.ctrlines[std::size_t(i)]);
    gl.compile(drawactfir(one, refs.firs, refs.outlines, 1));
    glCallList(kActFirList);
  }
  const std::vector<unsigned char> blends = framebuffer();
  glClear(GL_COLOR_BUFFER_BIT);
  const Layer layer = drawactfir(lists, refs.firs, refs.outlines, 1);
  EXPECT_EQ(layer.ops.countof(DrawOp::Kind::Begin), 4u);  // one outline and one fill a FIR
  gl.compile(layer);
  glCallList(kActFirList);
  const std::vector<unsigned char> once = framebuffer();
  int filled = 0;
  for (std::size_t i = 0; i < once.size(); i += 4) {
    if (!background(outlines, i)) continue;
    for (std::size_t c = i; c < i + 3; ++c) ASSERT_NEAR(once[c], blends[c], 1) << "pixel " << i / 4;
    filled += !background(once, i);
  }
  EXPECT_GT(filled, 100 * 100 / 3);  // the L and the square: some 40 % of the view

  // A pick as the frame runs it, in this view: the layer, the name dropped
  // after it, then something nameless over the same spot. The layer leaves
  // the name stack as it found it, so that last record carries no name.
  const auto pickat = [&](double lat, double lon) {
    const GlobePoint p = getxyz(lat, lon, 0);
    const float x = float((p.x / 0.2 + 1) * 50), y = float((1 - p.z / 0.2) * 50);
    const PickHits hits = pickpass(x, y, [x, y, p] {
      GLint viewport[4];
      glGetIntegerv(GL_VIEWPORT, viewport);
      glMatrixMode(GL_PROJECTION);
      glLoadIdentity();
      gluPickMatrix(x, viewport[3] - y, 2.0, 2.0, viewport);
      glOrtho(-0.2, 0.2, -0.2, 0.2, -10, 10);
      glMatrixMode(GL_MODELVIEW);
      glCallList(kActFirList);
      glPopName();
      glBegin(GL_POINTS);
      glVertex3d(p.x, p.y, p.z);
      glEnd();
    });
    const std::vector<HitRecord> records = hitrecords(hits.hits, hits.selbuf);
    EXPECT_EQ(records.size(), 2u);
    EXPECT_FALSE(records.empty() || records.back().named());
    return decodehits(hits.hits, hits.selbuf, 0, lists);
  };
  PickOutcome picked = pickat(-3, -3);
  EXPECT_EQ(picked.lines, (std::vector<std::string>{"ELLL_CTR Ann", "ELLL_CTR Ben", "ELLL_CTR Cat",
                                                    "ELLL_CTR Dan"}));
  EXPECT_EQ(picked.summary, "ELLL_CTR  Ann");
  picked = pickat(-5, 0);
  EXPECT_EQ(picked.lines, (std::vector<std::string>{"ESQR_FSS Sam", "ESQR_FSS Sue"}));
  EXPECT_EQ(picked.summary, "ESQR_FSS  Sam");
}

TEST_F(GlSceneTest, LoadedNamesReachTheSelectionBuffer) {
  Layer named{kAppList, {}};
  named.ops.loadname(7);
  polygon(named.ops, {{-0.9, -0.9}, {-0.1, -0.9}, {-0.1, -0.1}});
  named.ops.loadname(3001);
  polygon(named.ops, {{0.1, 0.1}, {0.9, 0.1}, {0.9, 0.9}});
  named.ops.loadname(12);
  polygon(named.ops, {{5, 5}, {6, 5}, {6, 6}});  // off screen: no hit
  gl.compile(named);

  GLuint buffer[64] = {};
  glSelectBuffer(64, buffer);
  glRenderMode(GL_SELECT);
  glInitNames();
  glPushName(0);
  glCallList(kAppList);
  const GLint hits = glRenderMode(GL_RENDER);
  ASSERT_EQ(hits, 2);
  // Records of one name each: count, zmin, zmax, name.
  EXPECT_EQ(buffer[0], 1u);
  EXPECT_EQ(buffer[3], 7u);
  EXPECT_EQ(buffer[4], 1u);
  EXPECT_EQ(buffer[7], 3001u);
}

TEST_F(GlSceneTest, EveryAircraftOfABusyNetworkIsPickedUnderItsOwnName) {
  // netsim's network of 3438 places at this time lists 2500 pilots.
  const netsim::Network net(netsim::loadworld(NETGLOBE_DATA_DIR), 1, 3438);
  StatusLists lists;
  what2array(LineReader::fromtext(netsim::snapshot(net, 1765100000)), lists);
  ASSERT_NE(countstitle(lists).find(" PIL=2500 "), std::string::npos) << countstitle(lists);
  gl.compile(drawaircraft(lists, FriendIds(), 0.05));

  // The whole globe shrunk into the pick region, the far side unclipped:
  // every disc drawn is hit, more than the pass's first buffer holds.
  const PickHits picked = pickpass(50, 50, [] {
    glDisable(GL_CLIP_PLANE0);
    glPushMatrix();
    glLoadIdentity();
    glTranslated(0, 0, -50);
    glScaled(0.001, 0.001, 0.001);
    glCallList(kAircraftList);
    glPopMatrix();
  });
  ASSERT_EQ(picked.hits, 2500);
  std::set<int> pilots;
  for (const HitRecord& hit : hitrecords(picked.hits, picked.selbuf)) {
    ASSERT_EQ(hit.names.size(), 1u);
    const PickTarget target = decodepick(hit.name());
    ASSERT_EQ(target.kind, PickKind::Aircraft) << hit.name();
    pilots.insert(target.index);
  }
  EXPECT_EQ(pilots.size(), 2500u);
  EXPECT_EQ(*pilots.begin(), 1);
  EXPECT_EQ(*pilots.rbegin(), 2500);
}

TEST_F(GlSceneTest, DiscardedAndReleasedListsAreNoLongerDrawn) {
  Layer square{kCoastList, {}};
  square.ops.color(0, 1, 0);
  polygon(square.ops, {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}});
  gl.compile(square);
  EXPECT_TRUE(gl.ready()[kCoastList]);
  gl.discard(kCoastList);
  EXPECT_FALSE(gl.ready()[kCoastList]);
  glClear(GL_COLOR_BUFFER_BIT);
  glCallList(kCoastList);  // a deleted list draws nothing
  EXPECT_EQ(pixel(0, 0), kBackground);
}

}  // namespace
}  // namespace netglobe
