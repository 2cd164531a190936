#include <gtest/gtest.h>

#include <GL/gl.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QInputMethodEvent>
#include <QWheelEvent>
#include <atomic>
#include <filesystem>

#include "geo/globe_coords.h"
#include "base/fields.h"
#include "base/line_reader.h"
#include "base/number_text.h"
#include "loopback_server.h"
#include "render/gl_probe.h"
#include "shell/stage.h"
#include "temp_folder.h"

namespace netglobe {
namespace {

const QColor kNightBlue(0, 0, 26);

bool waitfor(const std::function<bool()>& condition, int ms = 60000) {
  QElapsedTimer clock;
  clock.start();
  while (!condition() && clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return condition();
}

struct StartedStage {
  TempFolder folder;
  std::unique_ptr<Stage> stage;
  explicit StartedStage(std::optional<ServerAddress> server = std::nullopt,
                        const std::string& datafolder = {}, int refreshseconds = 30) {
    if (!datafolder.empty()) {
      for (const auto& entry : std::filesystem::directory_iterator(datafolder)) {
        std::filesystem::copy(entry.path(), folder.path());
      }
    }
    stage = std::make_unique<Stage>(server, folder.path(), refreshseconds);
    stage->show();
  }
  bool start() { return waitfor([this] { return stage->started(); }); }
  // Shows the default view now and returns the frame, before any timer tick
  // moves the camera again.
  QImage frameat(const ViewState& view) {
    stage->view() = view;
    stage->Render();
    return stage->grabFramebuffer();
  }
};

int countcolour(const QImage& image, QColor colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == colour;
  }
  return n;
}

TEST(Stage, FrameBeforeStartupShowsOnlyTheBackground) {
  StartedStage s;
  ASSERT_TRUE(waitfor([&] { return s.stage->isVisible(); }));
  s.stage->Render();  // the startup has not run yet: it is queued behind this test
  const QImage frame = s.stage->grabFramebuffer();
  EXPECT_EQ(countcolour(frame, kNightBlue), frame.width() * frame.height());
  EXPECT_EQ(s.stage->controls().Text1->text().toStdString(), " 12 /  51 /  11.5");
  // No window manager activates the window here; the focus widget is set all the same.
  EXPECT_EQ(s.stage->focusWidget(), s.stage->controls().Text1);
}

TEST(Stage, StartupWithoutServerKeepsGoingAndSaysWhy) {
  StartedStage s;
  ASSERT_TRUE(s.start());
  EXPECT_EQ(s.stage->windowTitle().toStdString(),
            " CTR=0 APP=0 TWR=0 PIL=0 CLI=0 TOP=1 (update failed: no status server)");  // a new day starts at 1
  const std::string& log = s.stage->startuplog();
  EXPECT_EQ(log.rfind("Enable OpenGL\r\nLoad Texture\r\n", 0), 0u);
  EXPECT_NE(log.find(" Seconds Startup\r\nUse Keys q,w,e,a,s\r\nUse Keys d,y,x,1,2\r\n"
                     "Click here to Hide\r\n"),
            std::string::npos);
  EXPECT_FALSE(s.stage->controls().Text2->isVisible());
  // No globe image in the folder: the plain globe with graticule instead.
  EXPECT_NE(log.find("velmar.jpg"), std::string::npos);
  EXPECT_EQ(s.stage->scene().globestyle, 2);
  EXPECT_TRUE(s.stage->ready()[kGradeList]);
  EXPECT_TRUE(s.stage->ready()[kCoastList]);  // missing file: an empty layer, still built
}

TEST(Stage, StatusServerCountsReachTheTitle) {
  LoopbackServer server([](const httplib::Request&, httplib::Response& res) {
    res.set_content("!GENERAL\n1\n2\n3\n4\n5\n!CLIENTS\n"
                    "DLH1:100001:Jane:PILOT::52.1:13.2:35000:450:A320:450:EDDB:FL350:EDDT:\n"
                    "EDWW_CTR:100002:Tom:ATC:123.1:53:9:0:0:\n!SERVERS\n",
                    "text/plain");
  });
  StartedStage s(server.address());
  ASSERT_TRUE(s.start());
  EXPECT_EQ(s.stage->windowTitle().toStdString(), " CTR=1 APP=0 TWR=0 PIL=1 CLI=2 TOP=2");
  EXPECT_EQ(s.folder.read("whazzup.txt").substr(0, 10), "!GENERAL\r\n");
}

TEST(Stage, CursorOnAPilotNamesItAndKeysOfTheTableAct) {
  LoopbackServer server([](const httplib::Request&, httplib::Response& res) {
    res.set_content("!GENERAL\n1\n2\n3\n4\n5\n!CLIENTS\n"
                    "DLH1:100001:Jane Doe:PILOT::51:12:35000:450:A320:450:EDDB:FL350:EDDT:\n"
                    "!SERVERS\n",
                    "text/plain");
  });
  StartedStage s(server.address(), NETGLOBE_DATA_DIR);
  ASSERT_TRUE(s.start());
  ASSERT_TRUE(waitfor([&] { return s.stage->scene().pilotlabelmode == 4; }));
  QLineEdit* summary = s.stage->controls().Text4;
  // The zoom has ended on the default centre, where the pilot is.
  const QPoint centre(s.stage->width() / 2, s.stage->height() / 2);
  QTest::mouseMove(s.stage.get(), centre);
  ASSERT_TRUE(waitfor([&] { return summary->text().contains("DLH1"); }, 5000))
      << summary->text().toStdString();
  EXPECT_EQ(summary->text().toStdString(), "DLH1 EDDT   Jane Doe");
  EXPECT_TRUE(s.stage->controls().Text3->toPlainText().contains("DLH1"));

  // A wheel notch towards the user moves the camera away, as a drag upwards.
  const double before = s.stage->view().viewdist;
  QWheelEvent away(QPointF(centre), QPointF(s.stage->mapToGlobal(centre)), QPoint(), QPoint(0, -120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(s.stage.get(), &away);
  EXPECT_GT(s.stage->view().viewdist, before);

  // Keys typed into the status line: a letter, an umlaut, a dead key.
  QLineEdit* line = s.stage->controls().Text1;
  QTest::keyClick(line, Qt::Key_X, Qt::NoModifier);
  EXPECT_EQ(s.stage->scene().globestyle, 2);
  QTest::keyClick(line, Qt::Key_X, Qt::ShiftModifier);  // upper case: nothing
  QTest::keyClick(line, Qt::Key_Y);
  EXPECT_EQ(s.stage->scene().globestyle, 1);
  QTest::sendKeyEvent(QTest::Click, line, Qt::Key_Adiaeresis, QString::fromUtf8("\xC3\xA4"), {});
  EXPECT_TRUE(s.stage->controls().Listbox5->isVisible());
  QInputMethodEvent acute;
  acute.setCommitString(QString::fromUtf8("\xC2\xB4"));
  QCoreApplication::sendEvent(line, &acute);
  EXPECT_EQ(s.stage->view().viewdist, 11.5);  // the start view
}

// An observer's line: rating 1 at position 17, the observer text at 36.
std::string observer(const std::string& callsign, const std::string& name) {
  std::vector<std::string> f(37);
  f[1] = callsign, f[2] = "100003", f[3] = name, f[4] = "ATC", f[6] = "52", f[7] = "13";
  f[17] = "1", f[36] = "ZELV Observer";
  std::string line;
  for (int i = 1; i <= 36; ++i) line += f[std::size_t(i)] + ":";
  return line + "\n";
}

TEST(Stage, SideListsStackByTheirRowsAndPilotLabelsStartAtTheirPoint) {
  // Two observers, one inbound pilot, nothing else; the pilot's label point
  // (0.01 degree south, 0.1 east of it) is the centre of the start view.
  LoopbackServer server([](const httplib::Request&, httplib::Response& res) {
    res.set_content("!GENERAL\n1\n2\n3\n4\n5\n!CLIENTS\n" + observer("EDDB_OBS", "Ann") +
                        observer("LOWW_OBS", "Bob") +
                        "DLH1:100001:Jane Doe:PILOT::51.01:11.9:35000:450:A320:450:EDDF:FL350:EDDT:\n"
                        "!SERVERS\n",
                    "text/plain");
  });
  StartedStage s(server.address(), NETGLOBE_DATA_DIR);
  ASSERT_TRUE(s.start());
  const auto boxes = s.stage->controls().listboxes();
  std::vector<std::pair<int, int>> places;  // top, height
  for (QListWidget* box : boxes) places.emplace_back(box->y(), box->height());
  // Listbox2 (observers) 2 rows, Listbox5 (inbound) 1 row, the rest empty.
  EXPECT_EQ(places, (std::vector<std::pair<int, int>>{{0, 0}, {5, 32}, {42, 0}, {47, 0}, {52, 16}, {73, 0}}));
  EXPECT_EQ(boxes[4]->item(0)->text().toStdString(), "DLH1 in> EDDT Jane Doe");
  EXPECT_EQ(boxes[4]->palette().color(QPalette::Base), QColor(255, 255, 255));

  ASSERT_TRUE(waitfor([&] { return s.stage->scene().pilotlabelmode == 5; }));
  s.stage->scene().globestyle = 3;  // plain globe: the yellow text stands out
  s.stage->discard(kAircraftList);
  s.stage->discard(kDirList);
  ViewState view;
  view.viewdist = 2.9;
  const QImage frame = s.frameat(view);
  int left = frame.width(), bottom = 0, count = 0;
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      const QColor c = frame.pixelColor(x, y);
      if (c == QColor(255, 255, 0)) {  // the labels' yellow, not the coastlines' (204, 204, 0)
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

TEST(Stage, EveryRefreshRebuildsTheTrafficFromTheNewFile) {
  // The first answer has DLH1 at the centre of the view. Every later one
  // puts another pilot first, far away, and DLH2 second at the centre: only
  // a rebuilt aircraft layer names the second entry there.
  std::atomic<int> answers = 0;
  LoopbackServer server([&answers](const httplib::Request&, httplib::Response& res) {
    const std::string tail = ":100001:Jane Doe:PILOT::51:12:35000:450:A320:450:EDDB:FL350:EDDT:\n";
    const std::string clients = answers++ == 0
        ? "DLH1" + tail
        : "UAL9:100002:Far Away:PILOT::-30:-140:0:0:B744:0:KSFO::NZAA:\nDLH2" + tail;
    res.set_content("!GENERAL\n1\n2\n3\n4\n5\n!CLIENTS\n" + clients + "!SERVERS\n", "text/plain");
  });
  StartedStage s(server.address(), NETGLOBE_DATA_DIR, 1);
  ASSERT_TRUE(s.start());
  ASSERT_TRUE(waitfor([&] { return s.stage->scene().pilotlabelmode == 4; }));
  const QPoint centre(s.stage->width() / 2, s.stage->height() / 2);
  QLineEdit* summary = s.stage->controls().Text4;
  ASSERT_TRUE(waitfor([&] {
    QTest::mouseMove(s.stage.get(), centre + QPoint(answers % 2, 0));
    return summary->text().startsWith("DLH2");
  })) << summary->text().toStdString();
  EXPECT_GE(answers, 2);
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

TEST(Stage, DefaultViewCentresLatitude51Longitude12AndClipsTheFarSide) {
  StartedStage s;
  ASSERT_TRUE(s.start());
  const QColor red(255, 0, 0);
  s.stage->compile({kAircraftList, marker(51, 12)});
  QImage frame = s.frameat(ViewState{});
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
  s.stage->compile({kAircraftList, marker(51 - 80, 12)});
  EXPECT_EQ(countcolour(s.frameat(ViewState{}), red), 0);
  s.stage->compile({kAircraftList, marker(51 - 70, 12)});
  EXPECT_GT(countcolour(s.frameat(ViewState{}), red), 0);
}

TEST(Stage, StartZoomEndsAtItsDistanceThenSwitchesThePilotLabels) {
  StartedStage s;
  ASSERT_TRUE(s.start());
  EXPECT_EQ(s.stage->scene().pilotlabels, -1);  // hidden until the zoom ends
  ASSERT_TRUE(waitfor([&] { return s.stage->scene().pilotlabelmode == 4; }, 60000));
  EXPECT_EQ(s.stage->view().viewdist, 2.9);
  EXPECT_EQ(s.stage->scene().pilotlabels, 1);
  EXPECT_EQ(s.stage->controls().Text1->text().toStdString(), " 12 /  51 /  2.9");
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(waitfor([&] { return s.stage->scene().pilotlabelmode == 5; }, 60000));
  EXPECT_GE(clock.elapsed(), 900);  // one second after the zoom
}

TEST(Stage, LogAndDetailBoxesHideOnClickAndDoubleClickShowsTheDetails) {
  StartedStage s;
  ASSERT_TRUE(s.start());
  QPlainTextEdit* log = s.stage->controls().Text2;
  QPlainTextEdit* details = s.stage->controls().Text3;
  EXPECT_FALSE(details->isVisible());
  QTest::mouseDClick(s.stage.get(), Qt::LeftButton, {}, QPoint(500, 500));
  EXPECT_TRUE(details->isVisible());
  EXPECT_EQ(details->toPlainText(), "Text3");
  QTest::mouseClick(details->viewport(), Qt::LeftButton);
  EXPECT_FALSE(details->isVisible());
  log->show();
  QTest::mouseClick(log->viewport(), Qt::LeftButton);
  EXPECT_FALSE(log->isVisible());
}

TEST(Stage, SideListsHangOverTheRightEdge) {
  StartedStage s;
  ASSERT_TRUE(s.start());
  s.stage->resize(800, 700);
  ASSERT_TRUE(waitfor([&] { return s.stage->width() == 800; }));
  const int expected = s.stage->frameGeometry().width() - 273 + 24;
  for (QListWidget* list : s.stage->controls().listboxes()) {
    EXPECT_EQ(list->x(), expected);
    EXPECT_FALSE(list->isVisible());
  }
}

TEST(Stage, AlwaysOnTopUnlessMaximized) {
  StartedStage s;
  ASSERT_TRUE(s.start());
  EXPECT_TRUE(s.stage->alwaysontop());
  s.stage->showMaximized();
  ASSERT_TRUE(waitfor([&] { return !s.stage->alwaysontop(); }, 60000));
  s.stage->showNormal();
  s.stage->resize(900, 800);
  EXPECT_TRUE(waitfor([&] { return s.stage->alwaysontop(); }, 60000));
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

TEST(Stage, CoastlinesLieOnTheLandSeaEdgeOfTheGlobeImage) {
  StartedStage s(std::nullopt, NETGLOBE_DATA_DIR);
  ASSERT_TRUE(s.start());
  ASSERT_EQ(s.stage->scene().globestyle, 1) << s.stage->startuplog();
  s.stage->discard(kCoastList);  // judge the image alone
  s.stage->discard(kFirList);

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
    const QImage frame = s.frameat(view);
    const QPoint centre(frame.width() / 2, frame.height() / 2);
    const QPoint step(place.seadx * 60, place.seady * 60);  // some 0.6 degrees
    EXPECT_TRUE(issea(frame.pixelColor(centre + step))) << place.name;
    EXPECT_FALSE(issea(frame.pixelColor(centre - step))) << place.name;
  }
}

}  // namespace
}  // namespace netglobe
