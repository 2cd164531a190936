#include <gtest/gtest.h>

#include <GL/gl.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <QWindow>
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
  bool start() { return waitfor([this] { return stage->session().started(); }); }
  const SceneState& scene() const { return stage->session().scene(); }
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
  const std::string& log = s.stage->session().startuplog();
  EXPECT_EQ(log.rfind("Enable OpenGL\r\nLoad Texture\r\n", 0), 0u);
  EXPECT_NE(log.find(" Seconds Startup\r\nUse Keys q,w,e,a,s\r\nUse Keys d,y,x,1,2\r\n"
                     "Click here to Hide\r\n"),
            std::string::npos);
  EXPECT_FALSE(s.stage->controls().Text2->isVisible());
  // No globe image in the folder: the plain globe with graticule instead.
  EXPECT_NE(log.find("velmar.jpg"), std::string::npos);
  EXPECT_EQ(s.scene().globestyle, 2);
}

TEST(Stage, TheStartupsDownloadBegunAsTheWindowOpensIsShownInItsTurn) {
  std::atomic<int> requests{0};
  LoopbackServer server([&requests](const httplib::Request&, httplib::Response& res) {
    ++requests;
    res.set_content("!GENERAL\n1\n2\n3\n4\n5\n!CLIENTS\n"
                    "DLH1:100001:Jane:PILOT::52.1:13.2:35000:450:A320:450:EDDB:FL350:EDDT:\n"
                    "EDWW_CTR:100002:Tom:ATC:123.1:53:9:0:0:\n!SERVERS\n",
                    "text/plain");
  });
  TempFolder folder;
  // Each title with whether the log had reached the download by then.
  std::vector<std::pair<std::string, bool>> titles;
  Stage stage(server.address(), folder.path(), 30);
  QObject::connect(&stage, &QWidget::windowTitleChanged, [&](const QString& title) {
    titles.emplace_back(title.toStdString(),
                        stage.session().startuplog().find("Get Whazzup") != std::string::npos);
  });
  // The download begins as the window shows, before the startup's steps.
  stage.show();
  ASSERT_TRUE(waitfor([&] { return stage.session().started(); }));
  // It is the startup's one download, and shown only once the log says so.
  EXPECT_EQ(requests.load(), 1);
  const std::string counts = " CTR=1 APP=0 TWR=0 PIL=1 CLI=2 TOP=2";
  EXPECT_EQ(titles, (std::vector<std::pair<std::string, bool>>{{"Loading...", true}, {counts, true}}));
  EXPECT_EQ(stage.windowTitle().toStdString(), counts);
  EXPECT_EQ(folder.read("whazzup.txt").substr(0, 10), "!GENERAL\r\n");
}

// The globe's surface lies under the controls: what the screen shows is
// the frame where no control covers it, and the controls over it.
TEST(Stage, TheScreenShowsTheFrameWithTheControlsOverIt) {
  LoopbackServer server([](const httplib::Request&, httplib::Response& res) {
    res.set_content("!GENERAL\n1\n2\n3\n4\n5\n!CLIENTS\n!SERVERS\n", "text/plain");
  });
  StartedStage s(server.address(), NETGLOBE_DATA_DIR);
  ASSERT_TRUE(s.start());
  ASSERT_TRUE(waitfor([&] { return s.scene().pilotlabelmode == 4; }));  // the start zoom has ended
  waitfor([] { return false; }, 300);
  const QImage screen =
      QGuiApplication::primaryScreen()->grabWindow(s.stage->winId()).toImage().convertToFormat(QImage::Format_RGB32);
  const QImage frame = s.stage->grabFramebuffer();
  ASSERT_EQ(screen.size(), frame.size());
  int differ = 0;
  const QPoint centre(frame.width() / 2, frame.height() / 2);
  for (int y = centre.y() - 50; y < centre.y() + 50; ++y) {
    for (int x = centre.x() - 50; x < centre.x() + 50; ++x) differ += screen.pixel(x, y) != frame.pixel(x, y);
  }
  EXPECT_EQ(differ, 0);
  EXPECT_NE(frame.pixelColor(centre), QColor(192, 192, 192));
  const QLineEdit* summary = s.stage->controls().Text4;  // yellow, top left, over the globe
  EXPECT_EQ(screen.pixelColor(summary->geometry().right() - 2, summary->geometry().center().y()),
            QColor(255, 255, 0));
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
  ASSERT_TRUE(waitfor([&] { return s.scene().pilotlabelmode == 4; }));
  QLineEdit* summary = s.stage->controls().Text4;
  // The zoom has ended on the default centre, where the pilot is.
  const QPoint centre(s.stage->width() / 2, s.stage->height() / 2);
  QTest::mouseMove(s.stage.get(), centre);
  ASSERT_TRUE(waitfor([&] { return summary->text().contains("DLH1"); }, 5000))
      << summary->text().toStdString();
  EXPECT_EQ(summary->text().toStdString(), "DLH1 EDDT   Jane Doe");
  EXPECT_TRUE(s.stage->controls().Text3->toPlainText().contains("DLH1"));

  // A wheel notch towards the user moves the camera away, as a drag upwards.
  const double before = s.stage->session().view().viewdist;
  QWheelEvent away(QPointF(centre), QPointF(s.stage->mapToGlobal(centre)), QPoint(), QPoint(0, -120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(s.stage.get(), &away);
  EXPECT_GT(s.stage->session().view().viewdist, before);

  // Keys typed into the status line: a letter, an umlaut, a dead key.
  QLineEdit* line = s.stage->controls().Text1;
  QTest::keyClick(line, Qt::Key_X, Qt::NoModifier);
  EXPECT_EQ(s.scene().globestyle, 2);
  QTest::keyClick(line, Qt::Key_X, Qt::ShiftModifier);  // upper case: nothing
  QTest::keyClick(line, Qt::Key_Y);
  EXPECT_EQ(s.scene().globestyle, 1);
  QTest::sendKeyEvent(QTest::Click, line, Qt::Key_Adiaeresis, QString::fromUtf8("\xC3\xA4"), {});
  EXPECT_TRUE(s.stage->controls().Listbox5->isVisible());
  QInputMethodEvent acute;
  acute.setCommitString(QString::fromUtf8("\xC2\xB4"));
  QCoreApplication::sendEvent(line, &acute);
  EXPECT_EQ(s.stage->session().view().viewdist, 11.5);  // the start view
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

TEST(Stage, TheToggleBesideTheSearchFieldFiltersTheGlobe) {
  LoopbackServer server([](const httplib::Request&, httplib::Response& res) {
    res.set_content("!GENERAL\n1\n2\n3\n4\n5\n!CLIENTS\n"
                    "DLH1:100001:Jane Doe:PILOT::51:12:35000:450:A320:450:EDDB:FL350:EDDT:\n"
                    "BAW2:100002:John Roe:PILOT::51:0:35000:450:A320:450:EDDB:FL350:EGLL:\n"
                    "!SERVERS\n",
                    "text/plain");
  });
  StartedStage s(server.address(), NETGLOBE_DATA_DIR);
  ASSERT_TRUE(s.start());
  const StageControls& c = s.stage->controls();
  QTest::keyClick(c.Text1, Qt::Key_Slash);
  ASSERT_TRUE(c.Search->isVisible() && c.FilterToggle->isVisible());
  QTest::keyClicks(c.Search, "to:EDDT");
  QTest::mouseClick(c.FilterToggle, Qt::LeftButton);
  EXPECT_TRUE(waitfor([&] { return s.stage->windowTitle().endsWith(QStringLiteral(" FILTER \"to:EDDT\" 1/2")); }))
      << s.stage->windowTitle().toStdString();
  EXPECT_TRUE(c.FilterToggle->isChecked());
  // The field lists what is drawn, and stays open for more words.
  EXPECT_EQ(c.Matches->count(), 1);
  EXPECT_EQ(s.stage->focusWidget(), c.Search);
  QTest::mouseClick(c.FilterToggle, Qt::LeftButton);
  EXPECT_TRUE(waitfor([&] { return !s.stage->windowTitle().contains(QStringLiteral("FILTER")); }));
  EXPECT_FALSE(c.FilterToggle->isChecked());
  EXPECT_FALSE(s.stage->session().filter().on());
}

TEST(Stage, SideListsStackByTheirRows) {
  // Two observers, one inbound pilot, nothing else.
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
  // Without a window manager the frame is the window: 273-pixel lists whose
  // last 24 pixels lie past the right edge.
  for (QListWidget* list : s.stage->controls().listboxes()) {
    EXPECT_EQ(list->x(), 551);
    EXPECT_EQ(list->geometry().right() - (s.stage->width() - 1), 24);
    EXPECT_FALSE(list->isVisible());
  }
}

TEST(Stage, AlwaysOnTopUnlessMaximized) {
  StartedStage s;
  ASSERT_TRUE(s.start());
  // The hint the window system is given, not the window's own bookkeeping.
  const auto ontop = [&] {
    return s.stage->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
  };
  EXPECT_TRUE(ontop());
  s.stage->showMaximized();
  ASSERT_TRUE(waitfor([&] { return !ontop(); }, 60000));
  s.stage->showNormal();
  s.stage->resize(900, 800);
  EXPECT_TRUE(waitfor(ontop, 60000));
}

}  // namespace
}  // namespace netglobe
