#include "shell/stage.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPlainTextEdit>
#include <QTime>
#include <QWindow>
#include <cstdio>

#include "feed/text_encoding.h"
#include "render/globe_texture.h"
#include "render/glyph_font.h"
#include "render/gl_probe.h"
#include "render/scene_renderer.h"
#include "shell/fatal.h"
#include "shell/options.h"
#include "shell/start_zoom.h"
#include "shell/startup_log.h"

namespace netglobe {
namespace {

constexpr int kDesignWidth = 986;
constexpr int kDesignHeight = 932;
constexpr int kListOverhang = 24;  // the side lists reach this far past the right edge
constexpr const char* kGlobeImageName = "velmar.jpg";

QString fromrecord(const std::string& text) { return QString::fromUtf8(cp1252toutf8(text)); }

}  // namespace

Stage::Stage(std::optional<ServerAddress> server, std::string folder, QWidget* parent)
    : QOpenGLWidget(parent) {
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

  Timer1.setInterval(30000);
  Timer2.setInterval(5);
  Timer3.setInterval(5);
  Timer4.setInterval(1000);
  Timer2.setTimerType(Qt::PreciseTimer);
  Timer3.setTimerType(Qt::PreciseTimer);
  connect(&Timer1, &QTimer::timeout, this, &Stage::refreshtick);
  connect(&Timer3, &QTimer::timeout, this, &Stage::zoomtick);
  connect(&Timer4, &QTimer::timeout, this, &Stage::labelswitchtick);

  feed_.server = std::move(server);
  feed_.folder = std::move(folder);

  // Load sequence; the context itself comes with the first show.
  logline("Enable OpenGL");
  QCoreApplication::processEvents();
}

Stage::~Stage() { shutdown(); }

// ---- GL context -----------------------------------------------------------

void Stage::initializeGL() {
  GLint stencilbits = 0;
  glGetIntegerv(GL_STENCIL_BITS, &stencilbits);
  if (!context() || !context()->isValid()) {
    glfailure_ = "no OpenGL context";
    return;
  }
  if (stencilbits < kRequiredStencilBits) {
    glfailure_ = "fewer than 8 stencil bits";
    return;
  }
  buildglyphlists();
  // A frame drawn before startup (the first resize) shows the night-blue
  // background rather than black.
  glClearColor(0.0f, 0.0f, 0.1f, 0.0f);
  glready_ = true;
}

void Stage::resizeGL(int w, int h) {
  // A zero-height window has no aspect ratio; keep the old projection.
  setprojection(w, h);
}

void Stage::resizeEvent(QResizeEvent* event) {
  if (windowState() & Qt::WindowMinimized) return;
  QOpenGLWidget::resizeEvent(event);
  if (glready_) {
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
  drawframe(scene_, view_, texids_[0]);
  controls_.Text1->setText(QString::fromStdString(viewstatusline(view_)));
}

void Stage::Render() {
  if (!glready_) return;
  makeCurrent();
  drawscene();
  doneCurrent();
  if (!scene_.selecting) {
    framewaiting_ = true;
    update();
  }
}

void Stage::paintGL() {
  if (framewaiting_) {
    framewaiting_ = false;  // the framebuffer already holds the frame
    return;
  }
  if (glready_) drawscene();
}

void Stage::compile(int number, const DrawList& list) {
  makeCurrent();
  compilelist(number, list, quadrics_);
  doneCurrent();
}

void Stage::buildstatic(const StaticLayer& layer) {
  if (layer.pointsize > 0) {
    makeCurrent();
    glPointSize(layer.pointsize);
    doneCurrent();
  }
  compile(layer.list, layer.ops);
  scene_.*layer.readyflag = 1;
}

// ---- startup and shutdown -------------------------------------------------

void Stage::logline(const std::string& line) {
  appendlogline(log_, line);
  QString shown = QString::fromUtf8(cp1252toutf8(log_));
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
  if (!glready_) failnocontext(glfailure_.empty() ? "no OpenGL context" : glfailure_);
  const int startsec = QTime::currentTime().second();

  makeCurrent();
  glListBase(kGlyphListBase);
  glClearColor(0.0f, 0.0f, 0.1f, 0.0f);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  doneCurrent();

  logline("Load Texture");
  QCoreApplication::processEvents();
  makeCurrent();
  glGenTextures(1, texids_);
  glBindTexture(GL_TEXTURE_2D, texids_[0]);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  const TextureLoad texture = loadtex(feed_.folder + "/" + kGlobeImageName);
  if (!texture.ok) {
    // Without the image the plain globe with its graticule still shows
    // everything else; say why instead of vanishing.
    logline(texture.reason);
    std::fprintf(stderr, "netglobe: %s\n", texture.reason.c_str());
    scene_.globestyle = 2;
  }
  quadrics_.textured = gluNewQuadric();
  gluQuadricTexture(quadrics_.textured, GL_TRUE);
  doneCurrent();

  logline("Create Globe");
  QCoreApplication::processEvents();
  DrawList texglobe;
  texglobe.sphere(kGlobeRadius, kGlobeSlices, true);
  compile(kTexGlobeList, texglobe);
  scene_.texglobeready = 1;

  makeCurrent();
  quadrics_.plain = gluNewQuadric();
  gluQuadricTexture(quadrics_.plain, GL_FALSE);
  doneCurrent();
  DrawList plainglobe;
  plainglobe.color(0.0f, 0.0f, 0.15f);
  plainglobe.sphere(kGlobeRadius, kGlobeSlices, false);
  compile(kPlainGlobeList, plainglobe);
  scene_.plainglobeready = 1;
  Render();

  logline("10 Degrees");
  QCoreApplication::processEvents();
  buildstatic(drawgrade());
  Render();

  logline("Show Coastlines");
  QCoreApplication::processEvents();
  buildstatic(drawcoast(feed_.folder));
  Render();

  logline("Show Fir's");
  QCoreApplication::processEvents();
  buildstatic(drawfirs(feed_.folder));
  Render();

  logline("Get Whazzup");
  QCoreApplication::processEvents();
  getwhazz(feed_, *this);

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
  if (glready_) {
    makeCurrent();
    if (quadrics_.textured) gluDeleteQuadric(quadrics_.textured);
    if (quadrics_.plain) gluDeleteQuadric(quadrics_.plain);
    quadrics_ = {};
    doneCurrent();
  }
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
  getwhazz(feed_, *this);
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
