#include "shell/stage.h"

#include <QCloseEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPlainTextEdit>
#include <QTime>
#include <QWindow>
#include <cstdio>

#include "base/text_encoding.h"
#include "shell/record_text.h"
#include "layers/aircraft_layers.h"
#include "layers/fir_layers.h"
#include "layers/static_layers.h"
#include "layers/station_layers.h"
#include "scene/flight.h"
#include "shell/fatal.h"
#include "shell/options.h"
#include "scene/start_zoom.h"
#include "shell/startup_log.h"

namespace netglobe {
namespace {

constexpr int kDesignWidth = 986;
constexpr int kDesignHeight = 932;
constexpr int kListOverhang = 24;  // the side lists reach this far past the right edge

}  // namespace

Stage::Stage(std::optional<FeedSource> source, const std::string& folder, int refreshseconds,
             QWidget* parent)
    : Stage(std::move(source), onefolder(folder), refreshseconds, parent) {}

Stage::Stage(std::optional<FeedSource> source, const ProgramFolders& folders, int refreshseconds,
             QWidget* parent)
    : QOpenGLWidget(parent),
      files_(folders.files),
      refs_(folders.files),
      friends_(folders.folder),
      peak_(folders.folder) {
  // Frames are drawn outside paintGL as well; Qt must not clear them away.
  setUpdateBehavior(QOpenGLWidget::PartialUpdate);
  setWindowTitle(QString::fromLatin1(kProductTitle));
  QPalette background = palette();
  background.setColor(QPalette::Window, QColor(192, 192, 192));
  setPalette(background);
  resize(kDesignWidth, kDesignHeight);

  controls_ = buildcontrols(this);
  controls_.Text2->viewport()->installEventFilter(this);
  controls_.Text3->viewport()->installEventFilter(this);
  // Every key reaches the handler through the status line, which has the
  // focus; dead keys come as input-method commits.
  controls_.Text1->installEventFilter(this);
  // A move without a button names what lies under the cursor too.
  setMouseTracking(true);

  // Coarse timers may fire up to 5 % late: the refresh would drift by more
  // than a second each time.
  Timer1.setInterval(refreshseconds * 1000);
  Timer2.setInterval(kFlightTickMs);
  Timer3.setInterval(5);
  Timer4.setInterval(1000);
  Timer1.setTimerType(Qt::PreciseTimer);
  Timer2.setTimerType(Qt::PreciseTimer);
  Timer3.setTimerType(Qt::PreciseTimer);
  Timer4.setTimerType(Qt::PreciseTimer);
  connect(&Timer1, &QTimer::timeout, this, &Stage::refreshtick);
  connect(&Timer2, &QTimer::timeout, this, &Stage::flighttick);
  connect(&Timer3, &QTimer::timeout, this, &Stage::zoomtick);
  connect(&Timer4, &QTimer::timeout, this, &Stage::labelswitchtick);

  feed_.source = std::move(source);
  feed_.folder = folders.folder;

  // Load sequence; the context itself comes with the first show.
  logline("Enable OpenGL");
  QCoreApplication::processEvents();
  feed_.lists.topcount = peak_.laden();
}

Stage::~Stage() { shutdown(); }

// ---- GL context -----------------------------------------------------------

void Stage::initializeGL() {
  if (!context() || !context()->isValid()) {
    glfailure_ = "no OpenGL context";
    return;
  }
  glfailure_ = gl_.open();
}

void Stage::resizeGL(int w, int h) {
  // A zero-height window has no aspect ratio; keep the old projection.
  gl_.resize(w, h);
}

void Stage::resizeEvent(QResizeEvent* event) {
  if (windowState() & Qt::WindowMinimized) return;
  QOpenGLWidget::resizeEvent(event);
  if (gl_.isopen()) {
    QCoreApplication::processEvents();
    Render();
  }
  updatealwaysontop();
  const int left = frameGeometry().width() - controls_.Listbox1->width() + kListOverhang;
  for (QListWidget* list : controls_.listboxes()) list->move(left, list->y());
}

void Stage::updatealwaysontop() {
  // Beside the simulator the globe stays on top; maximised, it is the
  // user's main window and behaves like any other.
  const bool ontop = !(windowState() & Qt::WindowMaximized);
  if (windowHandle() && ontop != alwaysontop_) {
    windowHandle()->setFlag(Qt::WindowStaysOnTopHint, ontop);
    alwaysontop_ = ontop;
  }
}

void Stage::changeEvent(QEvent* event) {
  QOpenGLWidget::changeEvent(event);
  // Without a window manager a state change may come without a resize.
  if (event->type() == QEvent::WindowStateChange && !(windowState() & Qt::WindowMinimized)) {
    updatealwaysontop();
  }
}

void Stage::drawscene() {
  gl_.drawframe(scene_, view_);
  controls_.Text1->setText(QString::fromStdString(viewstatusline(view_)));
}

void Stage::Render() {
  if (!gl_.isopen()) return;
  incontext([this] { drawscene(); });
  framewaiting_ = true;
  update();
}

void Stage::paintGL() {
  if (framewaiting_) {
    framewaiting_ = false;  // the framebuffer already holds the frame
    return;
  }
  if (gl_.isopen()) drawscene();
}

void Stage::compile(const Layer& layer) {
  incontext([&] { gl_.compile(layer); });
  say("list " + std::to_string(layer.list), layer.failure);
}

void Stage::buildaircraft(double rad) { compile(drawaircraft(feed_.lists, friends_.ids(), rad)); }

void Stage::buildapp(double rad) { compile(drawapp(feed_.lists, refs_.airports, rad)); }

void Stage::buildactfir() {
  compile(drawactfir(feed_.lists, refs_.firs, refs_.outlines, scene_.actfirmode));
}

void Stage::buildtraffic(double towersize) {
  buildaircraft(0.05);
  compile(drawaircraftdir(feed_.lists, refs_.airports));
  buildactfir();
  compile(drawchiefs(statusfilepath(feed_.folder), refs_.outlines));
  buildapp(0.8);
  compile(drawtwr(feed_.lists, refs_.airports, towersize));
}

void Stage::discard(int list) {
  incontext([&] { gl_.discard(list); });
}

// ---- startup and shutdown -------------------------------------------------

void Stage::logline(const std::string& line) {
  appendlogline(log_, line);
  QString shown = QString::fromUtf8(log_);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  controls_.Text2->setPlainText(shown);
}

void Stage::showEvent(QShowEvent* event) {
  QOpenGLWidget::showEvent(event);
  if (startupqueued_) return;
  startupqueued_ = true;
  controls_.Text1->setFocus();
  // The window runs its startup once, right after it first shows.
  QTimer::singleShot(0, this, &Stage::startup);
}

void Stage::startup() {
  if (!gl_.isopen()) failnocontext(glfailure_.empty() ? "no OpenGL context" : glfailure_);
  const int startsec = QTime::currentTime().second();

  incontext([this] { gl_.setstartstate(); });

  logline("Load Texture");
  QCoreApplication::processEvents();
  const TextureLoad texture =
      incontext([this] { return gl_.loadglobetexture(files_.globeimage); });
  if (!texture.ok) {
    // Without the image the plain globe with its graticule still shows
    // everything else; say why instead of vanishing.
    logline(texture.reason);
    std::fprintf(stderr, "netglobe: %s\n", texture.reason.c_str());
    scene_.globestyle = 2;
  }
  globeimage_ = texture.ok;

  logline("Create Globe");
  QCoreApplication::processEvents();
  incontext([this] { gl_.buildglobes(); });
  Render();

  logline("10 Degrees");
  QCoreApplication::processEvents();
  compile(drawgrade());
  Render();

  logline("Show Coastlines");
  QCoreApplication::processEvents();
  compile(drawcoast(files_.coastline));
  Render();

  logline("Show Fir's");
  QCoreApplication::processEvents();
  compile(drawfirs(files_.fir1));
  Render();

  logline("Get Whazzup");
  QCoreApplication::processEvents();
  refreshreferences();
  getwhazz(feed_, *this);
  peak_.keep(feed_.lists.topcount);

  logline("Show ACT-Fir's");
  QCoreApplication::processEvents();
  buildactfir();
  Render();

  logline("Show Chiefs");
  QCoreApplication::processEvents();
  compile(drawchiefs(statusfilepath(feed_.folder), refs_.outlines));
  Render();

  logline("Show APP's");
  QCoreApplication::processEvents();
  buildapp(0.8);
  Render();

  logline("Show TWR's");
  QCoreApplication::processEvents();
  compile(drawtwr(feed_.lists, refs_.airports, 0.1));
  Render();

  buildstationlabels();
  showpilotname();

  logline("Show Aircrafts");
  QCoreApplication::processEvents();
  buildaircraft(0.05);
  compile(drawaircraftdir(feed_.lists, refs_.airports));
  Render();

  Timer1.start();
  Timer3.start();

  const int seconds = startupseconds(startsec, QTime::currentTime().second());
  logline(std::to_string(seconds) + " Seconds Startup");
  logline("Use Keys q,w,e,a,s");
  logline("Use Keys d,y,x,1,2");
  logline("Click here to Hide");
  controls_.Text2->hide();
  started_ = true;
  emit startupfinished();
}

void Stage::shutdown() {
  if (shutdowndone_) return;
  shutdowndone_ = true;
  Timer1.stop();
  Timer2.stop();
  Timer3.stop();
  Timer4.stop();
  if (gl_.isopen()) incontext([this] { gl_.release(); });
  peak_.speichern(feed_.lists.topcount);
}

void Stage::closeEvent(QCloseEvent* event) {
  shutdown();
  event->accept();
}

// ---- small handlers -------------------------------------------------------

void Stage::mouseDoubleClickEvent(QMouseEvent* event) {
  controls_.Text3->show();
  event->accept();
}

bool Stage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == controls_.Text1) {
    // The character still reaches the status line afterwards.
    if (event->type() == QEvent::KeyPress) typed(static_cast<QKeyEvent*>(event)->text());
    if (event->type() == QEvent::InputMethod) {
      typed(static_cast<QInputMethodEvent*>(event)->commitString());
    }
  }
  if (event->type() == QEvent::MouseButtonPress) {
    if (watched == controls_.Text2->viewport()) controls_.Text2->hide();
    if (watched == controls_.Text3->viewport()) controls_.Text3->hide();
  }
  return QOpenGLWidget::eventFilter(watched, event);
}

void Stage::settitle(const std::string& title) { setWindowTitle(fromrecord(title)); }

// ---- timers ---------------------------------------------------------------

void Stage::refreshtick() {
  // A refresh that lets the window handle events must not start another one
  // inside itself when it takes longer than the interval.
  if (refreshing_) return;
  refreshing_ = true;
  controls_.Text2->hide();
  refreshreferences();
  getwhazz(feed_, *this);
  peak_.keep(feed_.lists.topcount);
  // The approach and tower symbols come back at their refresh sizes, even
  // after key p enlarged them.
  buildtraffic(0.08);
  buildstationlabels();
  showpilotname();
  Render();
  refreshing_ = false;
}

void Stage::zoomtick() {
  if (startzoomtick(view_.viewdist)) {
    Timer3.stop();
    Timer4.start();
    scene_.pilotlabelmode = 4;
    showpilotname();
    scene_.pilotlabels = 1;
  }
  Render();
}

void Stage::labelswitchtick() {
  Timer4.stop();
  scene_.pilotlabelmode = 5;
  showpilotname();
  scene_.pilotlabels = 1;
  Render();
}

}  // namespace netglobe
