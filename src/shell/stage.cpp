#include "shell/stage.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QLabel>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QWindow>
#include <cstdio>

#include "lists/side_list_layout.h"
#include "shell/details_panel_widget.h"
#include "shell/fatal.h"
#include "shell/options.h"
#include "shell/record_text.h"

namespace netglobe {
namespace {

constexpr int kDesignWidth = 986;
constexpr int kDesignHeight = 932;
constexpr int kListOverhang = 24;  // the side lists reach this far past the right edge

}  // namespace

Stage::Stage(std::optional<FeedSource> source, const std::string& folder, int refreshseconds,
             QWidget* parent)
    : Stage(std::move(source), onefolder(folder), refreshseconds,
            HistoryRetention::hours(kDefaultHistoryHours), parent) {}

Stage::Stage(std::optional<FeedSource> source, const ProgramFolders& folders, int refreshseconds,
             HistoryRetention history, QWidget* parent)
    : QWidget(parent),
      session_(std::move(source), folders, history, SessionSetup{refreshseconds, {}, {}}),
      driver_(session_, [this](Effects e) { apply(std::move(e)); }) {
  globeimage_ = std::async(std::launch::async,
                           [file = session_.globeimagefile()] { return readglobeimage(file); });
  setWindowTitle(QString::fromLatin1(kProductTitle));
  QPalette background = palette();
  background.setColor(QPalette::Window, QColor(192, 192, 192));
  setPalette(background);
  resize(kDesignWidth, kDesignHeight);
  // Beside the simulator the globe stays on top from the start.
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  alwaysontop_ = true;

  surface_ = new GlobeSurface(this, {[this] { Render(); }, [this](int w, int h) { surfaceresized(w, h); }});
  surfacebox_ = QWidget::createWindowContainer(surface_, this);
  surfacebox_->setFocusPolicy(Qt::NoFocus);
  surfacebox_->setGeometry(rect());

  controls_ = buildcontrols(this);
  controls_.Text2->viewport()->installEventFilter(this);
  controls_.Text3->viewport()->installEventFilter(this);
  // Every key reaches the handler through the status line, which has the
  // focus; dead keys come as input-method commits.
  controls_.Text1->installEventFilter(this);
  // A move without a button names what lies under the cursor too.
  setMouseTracking(true);

  maketimers();
  connectsearch();
  connectfilter();
  connectdetails();
  raisecontrols();

  Effects loaded;
  loaded.logtext = session_.startuplog();
  apply(std::move(loaded));
  QCoreApplication::processEvents();
}

Stage::~Stage() { shutdown(); }

void Stage::maketimers() {
  for (TimerId id : Session::timers()) {
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(session_.periodms(id));
    // Coarse timers may fire up to 5 % late: the refresh would drift by
    // more than a second each time.
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer.get(), &QTimer::timeout, this, [this, id] { apply(session_.tick(id)); });
    timers_[id] = std::move(timer);
  }
}

// ---- GL context -----------------------------------------------------------

void Stage::opengl() {
  if (gl_.isopen() || !glfailure_.empty()) return;
  glfailure_ = surface_->open();
  if (!glfailure_.empty()) return;
  glfailure_ = incontext([this] { return gl_.open(); });
  const QSize pixels = surface_->pixelsize();
  surfaceresized(pixels.width(), pixels.height());
}

void Stage::surfaceresized(int w, int h) {
  // A zero-height window has no aspect ratio; keep the old projection.
  if (gl_.isopen()) incontext([&] { gl_.resize(w, h); });
}

void Stage::raisecontrols() {
  for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child == surfacebox_) continue;
    child->setAttribute(Qt::WA_NativeWindow);
    child->raise();
  }
}

void Stage::resizeEvent(QResizeEvent* event) {
  if (windowState() & Qt::WindowMinimized) return;
  QWidget::resizeEvent(event);
  surfacebox_->setGeometry(rect());
  surfaceresized(int(width() * devicePixelRatioF()), int(height() * devicePixelRatioF()));
  if (gl_.isopen()) {
    QCoreApplication::processEvents();
    Render();
  }
  updatealwaysontop();
  const int left = frameGeometry().width() - controls_.Listbox1->width() + kListOverhang;
  for (QListWidget* list : controls_.listboxes()) list->move(left, list->y());
  placedetails();
}

void Stage::connectdetails() {
  details_ = new DetailsPanelWidget(this);
  connect(details_, &DetailsPanelWidget::closerequested, this, [this] { apply(session_.closedetails()); });
  connect(details_, &DetailsPanelWidget::linechosen, this,
          [this](int line) { apply(session_.choosedetailsline(static_cast<std::size_t>(line))); });
  placedetails();
}

void Stage::placedetails() {
  // The panel ends left of the side lists, wherever they stand.
  details_->place(width(), height(), controls_.Listbox1->x());
}

void Stage::updatealwaysontop() {
  // Beside the simulator the globe stays on top; maximised, it is the
  // user's main window and behaves like any other.
  const bool ontop = !(windowState() & Qt::WindowMaximized);
  // Until the window is on screen the hint stays as the constructor set
  // it: changed then, it makes the toolkit create the window anew, and
  // the native windows of the globe and the controls in it are lost.
  if (windowHandle() && windowHandle()->isVisible() && ontop != alwaysontop_) {
    windowHandle()->setFlag(Qt::WindowStaysOnTopHint, ontop);
    alwaysontop_ = ontop;
  }
}

void Stage::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // Without a window manager a state change may come without a resize.
  if (event->type() == QEvent::WindowStateChange && !(windowState() & Qt::WindowMinimized)) {
    updatealwaysontop();
  }
}

void Stage::drawscene() {
  gl_.drawframe(session_.scene(), session_.view());
  showviewstatus();
}

void Stage::showviewstatus() {
  controls_.Text1->setText(QString::fromStdString(viewstatusline(session_.view())));
}

void Stage::Render() {
  if (!gl_.isopen() || closed_) return;
  // A frame the screen cannot show is not drawn: the surface draws one
  // as soon as it is exposed (first shown, restored, uncovered).
  if (!surface_->isExposed()) {
    showviewstatus();
    return;
  }
  incontext([this] {
    drawscene();
    surface_->present();
  });
}

QImage Stage::grabFramebuffer() {
  if (!gl_.isopen() || closed_) return {};
  const QSize pixels = surface_->pixelsize();
  return incontext([&] {
    drawscene();
    return gl_.readframe(pixels.width(), pixels.height());
  });
}

// ---- startup and shutdown -------------------------------------------------

void Stage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (startupqueued_) return;
  startupqueued_ = true;
  // Nothing is downloaded or kept by a program that cannot draw.
  if (glprobe_.valid()) {
    if (const std::string problem = glprobe_.get(); !problem.empty()) failnocontext(problem);
  }
  // The startup's download runs while the window opens and draws the globe.
  driver_.prefetch();
  opengl();
  controls_.Text1->setFocus();
  // The window runs its startup once, right after it first shows.
  QTimer::singleShot(0, this, &Stage::startup);
}

void Stage::startup() {
  if (!gl_.isopen()) failnocontext(glfailure_.empty() ? "no OpenGL context" : glfailure_);
  apply(session_.startup());
}

void Stage::shutdown() {
  if (closed_) return;
  // A download in flight is cancelled and its thread joined before the
  // session writes the peak: the stored copy stays the last good one.
  // The peak is written after the GL context is gone: that write needs
  // nothing of it.
  driver_.stop();
  if (gl_.isopen()) incontext([this] { gl_.release(); });
  apply(session_.shutdown());
  closed_ = true;
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
  if (watched == controls_.Search && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    apply(session_.closesearch());
    return true;
  }
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
  return QWidget::eventFilter(watched, event);
}

}  // namespace netglobe
