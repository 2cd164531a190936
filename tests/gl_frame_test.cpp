// The frame as the window draws it, at the window's design size: where the
// default view looks, what the clip plane hides, how text and the globe
// image line up with the data.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <QApplication>
#include <QImage>
#include <QOpenGLWidget>
#include <cmath>

#include "base/fields.h"
#include "base/line_reader.h"
#include "base/number_text.h"
#include "feed/status_parser.h"
#include "geo/globe_coords.h"
#include "gl_suite_widget.h"
#include "layers/destination_line.h"
#include "lists/pilot_labels.h"
#include "refdata/directories.h"
#include "render/gl_scene.h"

namespace netglobe {
namespace {

const QColor kNightBlue(0, 0, 26);

class GlFrameTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { widget = shownglwidget(986, 932); }
  static void TearDownTestSuite() { widget.reset(); }
  void SetUp() override {
    widget->makeCurrent();
    ASSERT_EQ(gl.open(), "");
    gl.setstartstate();
    const qreal scale = widget->devicePixelRatioF();
    gl.resize(int(widget->width() * scale), int(widget->height() * scale));
    gl.buildglobes();
    scene.globestyle = 3;  // the plain globe: coloured marks stand out
  }
  void TearDown() override {
    gl.release();
    widget->doneCurrent();
  }
  // One frame of what is compiled, read back top row first.
  QImage frameat(const ViewState& view) {
    gl.drawframe(scene, view);
    return framebuffer();
  }
  QImage framebuffer() {
    const qreal scale = widget->devicePixelRatioF();
    const int w = int(widget->width() * scale), h = int(widget->height() * scale);
    QImage image(w, h, QImage::Format_RGBA8888);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
    return image.mirrored().convertToFormat(QImage::Format_RGB32);
  }

  static inline std::unique_ptr<QOpenGLWidget> widget;
  GlScene gl;
  SceneState scene;
};

int countcolour(const QImage& image, QColor colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == colour;
  }
  return n;
}

// A red point at a place, in the aircraft list.
DrawList marker(double lat, double lon) {
  DrawList list;
  list.color(1, 0, 0);
  list.begin(Prim::Points);
  list.vertex(getxyz(lat, lon, 0));
  list.end();
  return list;
}

TEST_F(GlFrameTest, DefaultViewCentresLatitude51Longitude12AndClipsTheFarSide) {
  const QColor red(255, 0, 0);
  gl.compile({kAircraftList, marker(51, 12)});
  QImage frame = frameat(ViewState{});
  const QPoint centre(frame.width() / 2, frame.height() / 2);
  ASSERT_GT(countcolour(frame, red), 0);
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      if (frame.pixelColor(x, y) == red) {
        EXPECT_LE(std::abs(x - centre.x()), 3);
        EXPECT_LE(std::abs(y - centre.y()), 3);
      }
    }
  }

  // 70 degrees of arc from the centre of the view is inside the clip plane's
  // cap, 80 degrees is outside it though still on the near hemisphere.
  gl.compile({kAircraftList, marker(51 - 80, 12)});
  EXPECT_EQ(countcolour(frameat(ViewState{}), red), 0);
  gl.compile({kAircraftList, marker(51 - 70, 12)});
  EXPECT_GT(countcolour(frameat(ViewState{}), red), 0);
}

TEST_F(GlFrameTest, TheLineToTheDestinationEndsAtTheDestinationsPlace) {
  const QColor red(255, 0, 0);
  const QColor cyan(102, 255, 255);  // the line's colour
  const double destlat = 52.5597, destlon = 13.2877;
  gl.compile({kAircraftList, marker(destlat, destlon)});
  QImage frame = frameat(ViewState{});
  QPointF dest;
  int reds = 0;
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      if (frame.pixelColor(x, y) == red) dest += QPointF(x, y), ++reds;
    }
  }
  ASSERT_GT(reds, 0);
  dest /= reds;

  gl.compile(drawpanelflight(PanelFlight{"DLH1", "1", 48.0, 2.0, destlat, destlon}, {}, 0));
  scene.details = 1;
  frame = frameat(ViewState{});
  std::vector<QPoint> line;
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      if (frame.pixelColor(x, y) == cyan) line.push_back({x, y});
    }
  }
  ASSERT_GT(line.size(), 100u);
  const auto farthest = [&](QPointF from) {
    QPoint best = line.front();
    for (const QPoint& p : line) {
      if (QLineF(from, p).length() > QLineF(from, best).length()) best = p;
    }
    return best;
  };
  // The far end from the destination is the aircraft's; the far end from
  // that lies on the destination's point.
  const QPoint aircraft = farthest(dest);
  EXPECT_GT(QLineF(aircraft, dest).length(), 50);
  EXPECT_LE(QLineF(farthest(aircraft), dest).length(), 3.0);
  // Closed: nothing of it is drawn.
  scene.details = -1;
  EXPECT_EQ(countcolour(frameat(ViewState{}), cyan), 0);
}

TEST_F(GlFrameTest, PilotLabelsStartAtTheirPoint) {
  // The label point of a pilot at 51.01 N 11.9 E (0.01 degree south, 0.1
  // east of it) is the centre of the start view.
  StatusLists lists;
  what2array(LineReader::fromtext("!GENERAL\n1\n2\n3\n4\n5\n!CLIENTS\n"
                                  "DLH1:100001:Jane Doe:PILOT::51.01:11.9:35000:450:A320:450:EDDF:FL350:EDDT:\n"),
             lists);
  RefDirectories refs(NETGLOBE_DATA_DIR);
  refs.refresh();
  gl.compile(showpilotname(lists, refs.airports, 5));
  scene.pilotlabels = 1;
  ViewState view;
  view.viewdist = 2.9;
  const QImage frame = frameat(view);
  int left = frame.width(), bottom = 0, count = 0;
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      if (frame.pixelColor(x, y) == QColor(255, 255, 0)) {  // the labels' yellow
        left = std::min(left, x);
        bottom = std::max(bottom, y);
        ++count;
      }
    }
  }
  ASSERT_GT(count, 20);
  // The first glyph begins at the label point; the text's descenders reach
  // two pixels below it.
  EXPECT_NEAR(left, frame.width() / 2, 2);
  EXPECT_NEAR(bottom, frame.height() / 2 + 2, 3);
}

// The coastline.dat point nearest to a place.
std::pair<double, double> nearestcoastpoint(double lat, double lon) {
  LineReader file(std::string(NETGLOBE_DATA_DIR) + "/coastline.dat");
  FieldBuf buf;
  std::string line;
  std::pair<double, double> best{1000, 1000};
  double bestdistance = 1e9;
  while (file.next(line)) {
    if (!getfields2(line, buf)) continue;
    const double la = leadingnumber(buf(1));
    const double lo = leadingnumber(buf(2));
    const double d = std::hypot(la - lat, (lo - lon) * std::cos(lat * kDegToRad));
    if (d < bestdistance) bestdistance = d, best = {la, lo};
  }
  return best;
}

bool issea(QColor c) { return c.blue() > c.red() + 20 && c.blue() > c.green(); }

TEST_F(GlFrameTest, CoastlinesLieOnTheLandSeaEdgeOfTheGlobeImage) {
  // The image alone, without the coastlines drawn over it.
  const TextureLoad texture = gl.loadglobetexture(std::string(NETGLOBE_DATA_DIR) + "/velmar.jpg");
  ASSERT_TRUE(texture.ok) << texture.reason;
  scene.globestyle = 1;

  struct Place {
    const char* name;
    double lat, lon;
    int seadx, seady;  // screen direction towards the sea
  };
  // A mirrored or shifted image puts land where these expect sea.
  const Place places[] = {{"Lima", -12.05, -77.15, -1, 0},
                          {"Sydney", -33.85, 151.3, 1, 0},
                          {"Recife", -8.05, -34.87, 1, 0},
                          {"Antofagasta", -23.65, -70.41, -1, 0},
                          {"Algiers", 36.77, 3.06, 0, -1}};
  for (const Place& place : places) {
    const auto [lat, lon] = nearestcoastpoint(place.lat, place.lon);
    ASSERT_LT(std::hypot(lat - place.lat, lon - place.lon), 0.5) << place.name;
    ViewState view;
    view.viewlon = float(lon);
    view.viewtilt = float(90 - lat);
    view.viewdist = 2.9;  // about 100 pixels a degree
    const QImage frame = frameat(view);
    const QPoint centre(frame.width() / 2, frame.height() / 2);
    const QPoint step(place.seadx * 60, place.seady * 60);  // some 0.6 degrees
    EXPECT_TRUE(issea(frame.pixelColor(centre + step))) << place.name;
    EXPECT_FALSE(issea(frame.pixelColor(centre - step))) << place.name;
  }
}

// A ring of points around a place, `radius` degrees out.
void ring(DrawList& list, double lat, double lon, double radius) {
  for (int i = 0; i < 24; ++i) {
    const double a = i * 2 * M_PI / 24;
    list.vertex(getxyz(lat + radius * std::sin(a), lon + radius * std::cos(a), 0.00001));
  }
}

// Frames drawn again from the kept images of their leading layers show the
// same pixels, however the GL state was left in between, and never an
// image of a layer since rebuilt or of another view.
TEST_F(GlFrameTest, FramesFromKeptImagesMatchFramesDrawnWhole) {
  Layer coast{kCoastList};
  coast.ops.color(0, 1, 0);
  coast.ops.begin(Prim::Lines);
  coast.ops.vertex(getxyz(45, 0, 0.00001));
  coast.ops.vertex(getxyz(55, 20, 0.00001));
  coast.ops.end();
  const auto actfir = [](Rgba fill) {
    Layer layer{kActFirList};
    layer.ops.disable(Cap::DepthTest);
    layer.ops.color(fill.r, fill.g, fill.b, fill.a);
    layer.ops.begin(Prim::EvenOddFill);
    ring(layer.ops, 50, 10, 4);
    layer.ops.end();
    return layer;
  };
  // The chiefs leave a colour and a width that the direction list, which
  // sets neither, draws with.
  Layer chiefs{kChiefList};
  chiefs.ops.color(1, 1, 0);
  chiefs.ops.linewidth(5);
  chiefs.ops.begin(Prim::Lines);
  chiefs.ops.vertex(getxyz(40, 5, 0.00002));
  chiefs.ops.vertex(getxyz(40, 15, 0.00002));
  chiefs.ops.end();
  Layer dir{kDirList};
  dir.ops.begin(Prim::Lines);
  dir.ops.vertex(getxyz(58, 0, 0.00003));
  dir.ops.vertex(getxyz(58, 20, 0.00003));
  dir.ops.end();
  for (const Layer* layer : {&coast, &chiefs, &dir}) gl.compile(*layer);
  gl.compile(actfir({1, 0, 0.5f, 0.2f}));
  ViewState close;
  close.viewdist = 4;
  close.viewtilt = 40;
  close.viewlon = 10;

  const QImage whole = frameat(close);
  EXPECT_EQ(gl.lastkeptlists(), 0u);
  const auto scramble = [] {
    glColor4f(0, 0, 1, 1);
    glLineWidth(1);
    glEnable(GL_BLEND);
  };
  scramble();
  EXPECT_EQ(frameat(close), whole);
  EXPECT_EQ(gl.lastkeptlists(), 4u);  // plain globe, coastlines, active FIRs, chiefs
  EXPECT_GT(countcolour(whole, QColor(255, 255, 0)), 50);  // the width-5 direction line

  // A refresh's new active FIRs: drawn over the kept globe and coastlines.
  gl.compile(actfir({0, 0.2f, 0.3f, 0.7f}));
  scramble();
  const QImage refreshed = frameat(close);
  EXPECT_EQ(gl.lastkeptlists(), 2u);
  EXPECT_NE(refreshed, whole);
  scramble();
  EXPECT_EQ(frameat(close), refreshed);
  EXPECT_EQ(gl.lastkeptlists(), 4u);
  // The next refresh with the same stations changes nothing kept.
  gl.compile(actfir({0, 0.2f, 0.3f, 0.7f}));
  scramble();
  EXPECT_EQ(frameat(close), refreshed);
  EXPECT_EQ(gl.lastkeptlists(), 4u);

  // Prepared out of sight, the next active FIRs change nothing on screen
  // until the frame that shows them, which then draws them from the image.
  gl.compile(actfir({0, 0.5f, 0, 0.5f}));
  gl.prepareframe(scene, close);
  EXPECT_EQ(framebuffer(), refreshed);
  scramble();
  const QImage prepared = frameat(close);
  EXPECT_EQ(gl.lastkeptlists(), 4u);
  gl.keepframes(false);
  EXPECT_EQ(frameat(close), prepared);
  gl.keepframes(true);

  ViewState moved = close;
  moved.viewlon += 1;
  frameat(moved);
  EXPECT_EQ(gl.lastkeptlists(), 0u);
}

}  // namespace
}  // namespace netglobe
